// Layouts at display scales: a skin's rectangles at 100, 125, 150 and 200 %, the same skin laid out
// again when the window's DPI changes, hit testing at the scaled places, and a label's height.
#include "veneer/core/UISetup.h"
#include "control/SkinWindowFixture.h"

#include <algorithm>
#include <map>

using namespace Veneer;

namespace VeneerTest {

namespace {

// Insets, child paddings, fixed sizes, an adjustable child, paddings and a float child measured from
// the bottom right corner; the window's client is 400 x 300 pixels at every scale.
const wchar_t kSkin[] =
    L"<Window><VerticalLayout inset=\"4,6,4,6\" childpadding=\"3\">"
    L"<HorizontalLayout name=\"bar\" height=\"30\" childpadding=\"2\">"
    L"<Control name=\"a\" width=\"20\" /><Button name=\"b\" /><Control name=\"c\" width=\"40\" />"
    L"</HorizontalLayout>"
    L"<Control name=\"mid\" />"
    L"<Control name=\"foot\" height=\"25\" padding=\"5,4,5,4\" />"
    L"<Control name=\"pin\" float=\"true\" pos=\"-110,-60,-10,-10\" />"
    L"</VerticalLayout></Window>";

struct TScaledRects
{
    int dpi;
    std::map<std::wstring, RECT> rects;
};

// Worked out by hand from the box layout's rules, each length rounded to the nearest pixel.
const TScaledRects kExpected[] = {
    {96,
     {{L"bar", {4, 6, 396, 36}},
      {L"a", {4, 6, 24, 36}},
      {L"b", {26, 6, 354, 36}},
      {L"c", {356, 6, 396, 36}},
      {L"mid", {4, 39, 396, 258}},
      {L"foot", {9, 265, 391, 294}},
      {L"pin", {290, 240, 390, 290}}}},
    {120,
     {{L"bar", {5, 8, 395, 46}},
      {L"a", {5, 8, 30, 46}},
      {L"b", {33, 8, 342, 46}},
      {L"c", {345, 8, 395, 46}},
      {L"mid", {5, 50, 395, 247}},
      {L"foot", {11, 256, 389, 292}},
      {L"pin", {262, 224, 387, 287}}}},
    {144,
     {{L"bar", {6, 9, 394, 54}},
      {L"a", {6, 9, 36, 54}},
      {L"b", {39, 9, 331, 54}},
      {L"c", {334, 9, 394, 54}},
      {L"mid", {6, 59, 394, 236}},
      {L"foot", {14, 247, 386, 291}},
      {L"pin", {235, 210, 385, 285}}}},
    {192,
     {{L"bar", {8, 12, 392, 72}},
      {L"a", {8, 12, 48, 72}},
      {L"b", {52, 12, 308, 72}},
      {L"c", {312, 12, 392, 72}},
      {L"mid", {8, 78, 392, 216}},
      {L"foot", {18, 230, 382, 288}},
      {L"pin", {180, 180, 380, 280}}}},
};

class ScaledLayoutTest : public SkinWindowFixture
{
protected:
    void ExpectRects(const TScaledRects& expected)
    {
        SCOPED_TRACE(expected.dpi);
        for (const auto& entry : expected.rects) {
            CControlUI* pControl = m_pm->FindControl(entry.first.c_str());
            ASSERT_TRUE(pControl != NULL) << entry.first;
            const RECT& rc = pControl->GetPos();
            EXPECT_TRUE(::EqualRect(&rc, &entry.second))
                << entry.first << ": " << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom;
        }
    }
};

} // namespace

TEST_F(ScaledLayoutTest, RectanglesOfALaidOutSkinAtEachScale)
{
    for (const TScaledRects& expected : kExpected) {
        m_pm->SetDPI(expected.dpi);
        ASSERT_TRUE(Build(kSkin) != NULL);
        ExpectRects(expected);
        // The skin keeps its own units: a float child's place written back by the layout too.
        CControlUI* pPin = m_pm->FindControl(L"pin");
        EXPECT_EQ(-10, pPin->GetFixedXY().cx);
        EXPECT_EQ(100, pPin->GetFixedWidth());
        EXPECT_EQ(30, m_pm->FindControl(L"bar")->GetFixedHeight());
    }
    // Below 100 % too, laid out again and again.
    m_pm->SetDPI(48);
    ASSERT_TRUE(Build(L"<Window><VerticalLayout><Control name=\"dot\" float=\"true\" pos=\"3,3,6,6\" />"
                      L"</VerticalLayout></Window>") != NULL);
    CControlUI* pDot = m_pm->FindControl(L"dot");
    for (int i = 0; i < 3; ++i) {
        m_pm->GetRoot()->NeedUpdate();
        m_pm->UpdateLayout();
        EXPECT_EQ(3, pDot->GetFixedXY().cx);
        EXPECT_EQ(3, pDot->GetFixedWidth());
        EXPECT_EQ(2, pDot->GetPos().left);
    }
}

TEST_F(ScaledLayoutTest, ExtentLimitsAndTileWidthsAreSkinUnits)
{
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        auto S = [dpi](int v) { return (v * dpi + 48) / 96; };
        m_pm->SetDPI(dpi);
        ASSERT_TRUE(Build(L"<Window><VerticalLayout><HorizontalLayout height=\"20\">"
                          L"<Control name=\"lo\" maxwidth=\"50\" /><Control name=\"hi\" minwidth=\"300\" />"
                          L"</HorizontalLayout><TileLayout name=\"tiles\" itemsize=\"100,0\">"
                          L"<Control height=\"10\" /><Control height=\"10\" /><Control height=\"10\" />"
                          L"<Control height=\"10\" /><Control height=\"10\" /></TileLayout>"
                          L"</VerticalLayout></Window>") != NULL);
        // Two children share 400 pixels: the first is held to its maximum, the second raised to its minimum.
        const RECT& rcLo = m_pm->FindControl(L"lo")->GetPos();
        const RECT& rcHi = m_pm->FindControl(L"hi")->GetPos();
        EXPECT_EQ(S(50), rcLo.right - rcLo.left);
        EXPECT_EQ((std::max)(400 - S(50), S(300)), rcHi.right - rcHi.left);
        // As many 100-unit columns as fit in 400 pixels, each tile one scaled row high.
        CContainerUI* pTiles = static_cast<CContainerUI*>(m_pm->FindControl(L"tiles"));
        const int columns = 400 / S(100);
        const RECT& rcFirst = pTiles->GetItemAt(0)->GetPos();
        EXPECT_EQ(S(10), rcFirst.bottom - rcFirst.top);
        EXPECT_EQ(rcFirst.top, pTiles->GetItemAt(columns - 1)->GetPos().top);
        EXPECT_EQ(rcFirst.bottom, pTiles->GetItemAt(columns)->GetPos().top);
    }
}

TEST_F(ScaledLayoutTest, BordersAndRoundCornersArePaintedAtTheScale)
{
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        auto S = [dpi](int v) { return (v * dpi + 48) / 96; };
        m_pm->SetDPI(dpi);
        CControlUI box;
        box.ApplyAttributeList(L"bkcolor=\"#FFFFFFFF\" bordercolor=\"#FF0000FF\" bordersize=\"2\"");
        Place(box, 0, 0, 100, 60);
        CDibCanvas square(100, 60, 0xFF000000);
        Paint(box, square);
        EXPECT_EQ(0x0000FFu, square.Get(S(2) - 1, 30) & 0xFFFFFF);
        EXPECT_EQ(0xFFFFFFu, square.Get(S(2), 30) & 0xFFFFFF);
        EXPECT_EQ(0x0000FFu, square.Get(50, 60 - S(2)) & 0xFFFFFF);
        EXPECT_EQ(0xFFFFFFu, square.Get(50, 60 - S(2) - 1) & 0xFFFFFF);

        // A rounded box leaves its corners out as far as the scaled radius reaches.
        box.ApplyAttributeList(L"bordersize=\"0\" borderround=\"16,16\"");
        CDibCanvas round(100, 60, 0xFF000000);
        Paint(box, round);
        // On the diagonal the arc of radius r lies 0.29 r in from the corner.
        const int radius = S(8);
        EXPECT_EQ(0u, round.Get(radius / 5, radius / 5) & 0xFFFFFF);
        EXPECT_EQ(0xFFFFFFu, round.Get(radius / 2, radius / 2) & 0xFFFFFF);
        EXPECT_EQ(0xFFFFFFu, round.Get(50, 30) & 0xFFFFFF);
    }
}

TEST_F(ScaledLayoutTest, ADpiChangeLaysTheWindowOutAgainAndHitTestsFollow)
{
    ASSERT_TRUE(Build(kSkin) != NULL);
    ExpectRects(kExpected[0]);
    for (const TScaledRects& expected : kExpected) {
        // The window keeps its size: the system's suggestion for another monitor of the same pixels.
        RECT rcWindow = {};
        ::GetWindowRect(m_hWnd, &rcWindow);
        ::SendMessageW(m_hWnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(expected.dpi, expected.dpi),
                       reinterpret_cast<LPARAM>(&rcWindow));
        ASSERT_EQ(expected.dpi, m_pm->GetDPI());
        m_pm->UpdateLayout();
        ExpectRects(expected);

        // A click lands on the button where it now is, and not where it was at 100 %.
        const RECT& rcB = expected.rects.at(L"b");
        const POINT ptB = {rcB.left + 1, rcB.bottom - 1};
        EXPECT_EQ(m_pm->FindControl(L"b"), m_pm->FindControl(ptB));
        const RECT& rcMid = expected.rects.at(L"mid");
        const POINT ptMid = {rcMid.left + 1, rcMid.top};
        EXPECT_EQ(m_pm->FindControl(L"mid"), m_pm->FindControl(ptMid));
        m_notes.types.clear();
        Click(ptB.x, ptB.y);
        EXPECT_EQ(1, m_notes.Count(L"click"));
    }
}

TEST_F(ScaledLayoutTest, ALabelIsOneLineOfItsScaledFontHigh)
{
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        m_pm->SetDPI(dpi);
        ASSERT_TRUE(Build(L"<Window><Font name=\"Arial\" size=\"20\" /><VerticalLayout>"
                          L"<Label name=\"l\" font=\"0\" text=\"Ag\" textpadding=\"2,3,2,3\" /><Control />"
                          L"</VerticalLayout></Window>") != NULL);
        const TFontInfo* pFont = m_pm->GetFontInfo(0);
        LOGFONTW lf = {};
        ::GetObjectW(pFont->hFont, sizeof(lf), &lf);
        EXPECT_EQ(-(20 * dpi + 48) / 96, lf.lfHeight);
        // One line of the font plus a margin of 4 units.
        const RECT& rc = m_pm->FindControl(L"l")->GetPos();
        EXPECT_EQ(pFont->tm.tmHeight + (4 * dpi + 48) / 96, rc.bottom - rc.top);
    }
}

} // namespace VeneerTest
