// Paint manager at display scales: skin units to pixels, fonts made per DPI, native child windows given
// the new fonts, and WM_DPICHANGED taking the suggested rectangle and laying the tree out again.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"

using namespace Veneer;

namespace VeneerTest {

namespace {

// The height a font handle was made with.
LONG FontHeight(HFONT hFont)
{
    LOGFONTW lf = {};
    ::GetObjectW(hFont, sizeof(lf), &lf);
    return lf.lfHeight;
}

struct ScaleCase
{
    int dpi;
    int percent;
    int values[6];  // 0, 1, 15, -110, 27, 1034 scaled
};

const ScaleCase kScales[] = {
    {96, 100, {0, 1, 15, -110, 27, 1034}},
    {120, 125, {0, 1, 19, -138, 34, 1293}},
    {144, 150, {0, 2, 23, -165, 41, 1551}},
    {192, 200, {0, 2, 30, -220, 54, 2068}},
};
const int kSkinValues[6] = {0, 1, 15, -110, 27, 1034};

} // namespace

TEST_F(ManagerTest, SkinUnitsScaleToPixelsAndBackAtEachScale)
{
    for (const ScaleCase& c : kScales) {
        SCOPED_TRACE(c.dpi);
        m_pm->SetDPI(c.dpi);
        EXPECT_EQ(c.dpi, m_pm->GetDPI());
        EXPECT_EQ(c.percent, m_pm->GetScale());
        for (int i = 0; i < 6; i++) {
            EXPECT_EQ(c.values[i], m_pm->ScaleValue(kSkinValues[i]));
            // Back to skin units without drift: a layout that reads its own pixels keeps its values.
            EXPECT_EQ(kSkinValues[i], m_pm->UnscaleValue(m_pm->ScaleValue(kSkinValues[i])));
        }
        const RECT rc = {15, 27, 1034, -110};
        const RECT rcScaled = m_pm->ScaleRect(rc);
        EXPECT_EQ(c.values[2], rcScaled.left);
        EXPECT_EQ(c.values[4], rcScaled.top);
        EXPECT_EQ(c.values[5], rcScaled.right);
        EXPECT_EQ(c.values[3], rcScaled.bottom);
        const RECT rcBack = m_pm->UnscaleRect(rcScaled);
        EXPECT_TRUE(::EqualRect(&rc, &rcBack));
        const SIZE sz = m_pm->ScaleSize(SIZE{27, 15});
        EXPECT_EQ(c.values[4], sz.cx);
        EXPECT_EQ(c.values[2], sz.cy);
    }
}

TEST_F(ManagerTest, GivenDpisAreHeldWithinRangeAndZeroFollowsTheWindowAgain)
{
    m_pm->SetDPI(10);
    EXPECT_EQ(48, m_pm->GetDPI());
    EXPECT_TRUE(m_pm->IsDPIGiven());
    m_pm->SetDPI(100000);
    EXPECT_EQ(960, m_pm->GetDPI());
    m_pm->SetDPI(0);
    EXPECT_FALSE(m_pm->IsDPIGiven());
    EXPECT_EQ(CPaintManagerUI::GetWindowDPI(m_hWnd), m_pm->GetDPI());
    // Huge skin values saturate instead of wrapping.
    m_pm->SetDPI(960);
    EXPECT_EQ(INT_MAX, m_pm->ScaleValue(INT_MAX));
    EXPECT_EQ(INT_MIN, m_pm->ScaleValue(INT_MIN));
}

TEST_F(ManagerTest, FontsAreMadeForTheDpiAndKeepTheirIdsAndSkinSizes)
{
    const TFontInfo* pDefault = m_pm->GetDefaultFontInfo();
    const int nDefaultSize = pDefault->iSize;
    const HFONT hFont = m_pm->AddFont(L"Arial", 15, true, false, false);
    ASSERT_TRUE(hFont != NULL);
    for (const ScaleCase& c : kScales) {
        SCOPED_TRACE(c.dpi);
        m_pm->SetDPI(c.dpi);
        EXPECT_EQ(0, m_pm->GetFontIndex(L"Arial", 15, true, false, false));
        TFontInfo* pInfo = m_pm->GetFontInfo(0);
        EXPECT_EQ(15, pInfo->iSize);
        EXPECT_EQ(-c.values[2], FontHeight(pInfo->hFont));
        EXPECT_EQ(pInfo->hFont, m_pm->GetFont(0));
        // Metrics are read again for the new font: a 15-unit font is about 15 units tall.
        EXPECT_GE(pInfo->tm.tmHeight, c.values[2]);
        EXPECT_LE(pInfo->tm.tmHeight, c.values[2] * 3 / 2);
        EXPECT_EQ(nDefaultSize, m_pm->GetDefaultFontInfo()->iSize);
        EXPECT_EQ(-m_pm->ScaleValue(nDefaultSize), FontHeight(m_pm->GetDefaultFontInfo()->hFont));
    }
}

TEST_F(ManagerTest, NativeChildWindowsGetTheFontsMadeForTheNewDpi)
{
    const HFONT hFont = m_pm->AddFont(L"Arial", 12, false, false, false);
    HWND hEdit = ::CreateWindowExW(0, WC_EDITW, L"", WS_CHILD, 0, 0, 50, 20, m_hWnd, NULL, NULL, NULL);
    HWND hOther = ::CreateWindowExW(0, WC_EDITW, L"", WS_CHILD, 0, 0, 50, 20, m_hWnd, NULL, NULL, NULL);
    ::SendMessageW(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    HFONT hForeign = ::CreateFontW(-9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial");
    ::SendMessageW(hOther, WM_SETFONT, reinterpret_cast<WPARAM>(hForeign), FALSE);

    m_pm->SetDPI(144);
    const HFONT hScaled = m_pm->GetFont(0);
    EXPECT_EQ(-18, FontHeight(hScaled));
    EXPECT_EQ(reinterpret_cast<LRESULT>(hScaled), ::SendMessageW(hEdit, WM_GETFONT, 0, 0));
    // A font the manager does not own is left alone.
    EXPECT_EQ(reinterpret_cast<LRESULT>(hForeign), ::SendMessageW(hOther, WM_GETFONT, 0, 0));
    ::DestroyWindow(hEdit);
    ::DestroyWindow(hOther);
    ::DeleteObject(hForeign);
}

TEST_F(ManagerTest, DpiChangeTakesTheSuggestedRectangleAndLaysTheTreeOutAgain)
{
    Route(m_hWnd, m_pm);
    CProbeUI* pRoot = new CProbeUI(L"root");
    m_pm->AttachDialog(pRoot);
    m_pm->UpdateLayout();
    EXPECT_FALSE(pRoot->IsUpdateNeeded());
    const HFONT hBefore = m_pm->GetDefaultFontInfo()->hFont;

    RECT rcSuggested = {30, 40, 30 + 600, 40 + 450};
    ::SendMessageW(m_hWnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&rcSuggested));
    EXPECT_EQ(144, m_pm->GetDPI());
    RECT rcWindow = {};
    ::GetWindowRect(m_hWnd, &rcWindow);
    EXPECT_TRUE(::EqualRect(&rcSuggested, &rcWindow));
    EXPECT_NE(hBefore, m_pm->GetDefaultFontInfo()->hFont);
    EXPECT_TRUE(pRoot->IsUpdateNeeded());
    m_pm->UpdateLayout();
    const RECT rcRoot = pRoot->GetPos();
    EXPECT_EQ(600, rcRoot.right - rcRoot.left);
    EXPECT_EQ(450, rcRoot.bottom - rcRoot.top);

    // A DPI given to the manager outlasts a monitor change; the window still moves.
    m_pm->SetDPI(120);
    RECT rcNext = {0, 0, 500, 375};
    ::SendMessageW(m_hWnd, 0x02E0, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&rcNext));
    EXPECT_EQ(120, m_pm->GetDPI());
    ::GetWindowRect(m_hWnd, &rcWindow);
    EXPECT_TRUE(::EqualRect(&rcNext, &rcWindow));
}

TEST_F(ManagerTest, WindowAttributesStayInSkinUnitsAndApplyScaled)
{
    Route(m_hWnd, m_pm);
    m_pm->SetDPI(144);
    m_pm->SetMinInfo(200, 100);
    m_pm->SetMaxInfo(600, 0);
    EXPECT_EQ(200, m_pm->GetMinInfo().cx);
    MINMAXINFO mmi = {};
    mmi.ptMaxTrackSize.y = 777;
    ::SendMessageW(m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(300, mmi.ptMinTrackSize.x);
    EXPECT_EQ(150, mmi.ptMinTrackSize.y);
    EXPECT_EQ(900, mmi.ptMaxTrackSize.x);
    EXPECT_EQ(777, mmi.ptMaxTrackSize.y);

    // The skin's window size, taken before a tree is attached.
    m_pm->SetInitSize(400, 200);
    EXPECT_EQ(400, m_pm->GetInitSize().cx);
    RECT rcWindow = {};
    ::GetWindowRect(m_hWnd, &rcWindow);
    EXPECT_EQ(600, rcWindow.right - rcWindow.left);
    EXPECT_EQ(300, rcWindow.bottom - rcWindow.top);

    // Shadow corners of 10 x 12 units frame the content at the scale.
    m_pm->SetTopleftShadowRect(0, 0, 10, 12);
    m_pm->SetToprightShadowRect(30, 0, 10, 12);
    m_pm->SetBottomleftShadowRect(0, 30, 10, 12);
    m_pm->SetBottomrightShadowRect(30, 30, 10, 12);
    m_pm->CalMiddleShadowRect();
    TWindowShadowInfo info = {};
    const RECT rcClient = {0, 0, 600, 300};
    m_pm->CalRealShadowRect(rcClient, info);
    EXPECT_EQ(15, info.rcTopLeft.right);
    EXPECT_EQ(18, info.rcTopLeft.bottom);
    EXPECT_EQ(585, info.rcBottomRight.left);
    EXPECT_EQ(282, info.rcBottomRight.top);
}

} // namespace VeneerTest
