// Paint manager store: fonts, images, default attribute lists, colours, parent fall-back, HSL and plug-ins.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"
#include "support/ResourceScope.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <climits>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

using namespace Veneer;

// Found by LoadPlugin when the test program loads itself as a plug-in module.
extern "C" __declspec(dllexport) CControlUI* CreateControl(LPCWSTR pstrType)
{
    return wcscmp(pstrType, L"Probe") == 0 ? new VeneerTest::CProbeUI(L"plugged") : NULL;
}

namespace VeneerTest {

namespace {

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

// A PNG of the given size, every pixel opaque red.
std::string MakePng(int cx, int cy)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(cx * cy * 4), 0);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = 255;
        pixels[i + 3] = 255;
    }
    std::string png;
    stbi_write_png_to_func(AppendBytes, &png, cx, cy, 4, pixels.data(), cx * 4);
    return png;
}

int FontWeight(HFONT hFont)
{
    LOGFONTW lf = {};
    ::GetObjectW(hFont, sizeof(lf), &lf);
    return lf.lfWeight;
}

class ManagerImageTest : public ManagerTest
{
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        m_pScope = new CResourceScope;
        ASSERT_TRUE(m_folder.IsValid());
        ASSERT_TRUE(m_folder.WriteFile(L"a.png", MakePng(4, 3)));
        ASSERT_TRUE(m_folder.WriteFile(L"b.png", MakePng(2, 2)));
        CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    }

    void TearDown() override
    {
        ManagerTest::TearDown();
        delete m_pScope;
    }

    CResourceScope* m_pScope = NULL;
    CTempFolder m_folder;
};

} // namespace

TEST_F(ManagerTest, DefaultFontComesFromTheStockGuiFont)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    TFontInfo* pDefault = m_pm->GetDefaultFontInfo();
    ASSERT_TRUE(pDefault->hFont != NULL);
    EXPECT_STREQ(lf.lfFaceName, pDefault->sFontName.GetData());
    EXPECT_EQ(-lf.lfHeight, pDefault->iSize);
    EXPECT_GT(pDefault->tm.tmHeight, 0);

    // A process-wide face name applies to managers made afterwards.
    CPaintManagerUI::m_pStrDefaultFontName = L"Tahoma";
    CPaintManagerUI pm;
    CPaintManagerUI::m_pStrDefaultFontName.Empty();
    EXPECT_STREQ(L"Tahoma", pm.GetDefaultFontInfo()->sFontName.GetData());
    // Without a window there is no DC to measure with.
    EXPECT_EQ(0, pm.GetDefaultFontInfo()->tm.tmHeight);

    m_pm->SetDefaultFont(L"Arial", 20, true, false, true);
    pDefault = m_pm->GetDefaultFontInfo();
    EXPECT_STREQ(L"Arial", pDefault->sFontName.GetData());
    EXPECT_EQ(20, pDefault->iSize);
    EXPECT_TRUE(pDefault->bBold);
    EXPECT_TRUE(pDefault->bItalic);
    EXPECT_EQ(lf.lfWeight + FW_BOLD, FontWeight(pDefault->hFont));
}

TEST_F(ManagerTest, CustomFontsHaveIdsThatShiftOnRemoval)
{
    EXPECT_EQ(0, m_pm->GetCustomFontCount());
    HFONT h0 = m_pm->AddFont(L"Arial", 12, false, false, false);
    HFONT h1 = m_pm->AddFont(L"Arial", 12, false, false, false);
    HFONT h2 = m_pm->AddFont(L"Tahoma", 14, true, true, false);
    ASSERT_TRUE(h0 != NULL && h1 != NULL && h2 != NULL);
    EXPECT_NE(h0, h1);
    EXPECT_EQ(3, m_pm->GetCustomFontCount());

    // Identical attributes: two entries, the first one matches.
    EXPECT_EQ(0, m_pm->GetFontIndex(L"Arial", 12, false, false, false));
    EXPECT_EQ(h0, m_pm->GetFont(L"Arial", 12, false, false, false));
    EXPECT_EQ(2, m_pm->GetFontIndex(L"Tahoma", 14, true, true, false));
    EXPECT_EQ(-1, m_pm->GetFontIndex(L"Tahoma", 14, true, false, false));
    EXPECT_EQ(-1, m_pm->GetFontIndex(L"tahoma", 14, true, true, false));
    EXPECT_EQ(nullptr, m_pm->GetFont(L"Arial", 13, false, false, false));
    EXPECT_TRUE(m_pm->FindFont(h2));
    EXPECT_FALSE(m_pm->FindFont(L"Arial", 12, true, false, false));
    EXPECT_EQ(1, m_pm->GetFontIndex(h1));

    // Bold adds to the stock weight; underline is set as given.
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    EXPECT_EQ(lf.lfWeight + FW_BOLD, FontWeight(h2));
    EXPECT_TRUE(m_pm->GetFontInfo(2)->bUnderline);

    // Out-of-range ids give the default font.
    EXPECT_EQ(m_pm->GetDefaultFontInfo()->hFont, m_pm->GetFont(-1));
    EXPECT_EQ(m_pm->GetDefaultFontInfo()->hFont, m_pm->GetFont(3));
    EXPECT_EQ(m_pm->GetDefaultFontInfo(), m_pm->GetFontInfo(3));
    EXPECT_EQ(m_pm->GetDefaultFontInfo(), m_pm->GetFontInfo(reinterpret_cast<HFONT>(::GetStockObject(SYSTEM_FONT))));

    EXPECT_TRUE(m_pm->RemoveFontAt(0));
    EXPECT_EQ(h1, m_pm->GetFont(0));
    EXPECT_EQ(h2, m_pm->GetFont(1));
    EXPECT_EQ(0u, ::GetObjectType(h0));
    EXPECT_TRUE(m_pm->RemoveFont(h2));
    EXPECT_FALSE(m_pm->RemoveFont(h2));
    EXPECT_FALSE(m_pm->RemoveFontAt(5));
    EXPECT_EQ(1, m_pm->GetCustomFontCount());

    HFONT hFirst = m_pm->AddFontAt(0, L"Tahoma", 9, false, false, false);
    EXPECT_EQ(hFirst, m_pm->GetFont(0));
    EXPECT_EQ(h1, m_pm->GetFont(1));
    EXPECT_EQ(nullptr, m_pm->AddFontAt(7, L"Tahoma", 9, false, false, false));
    EXPECT_EQ(2, m_pm->GetCustomFontCount());

    m_pm->RemoveAllFonts();
    EXPECT_EQ(0, m_pm->GetCustomFontCount());
    EXPECT_EQ(0u, ::GetObjectType(h1));
}

TEST_F(ManagerTest, FontHeightsAreCutToTheLargestSize)
{
    // A skin's size 65535 once made glyphs so tall that drawing one label took seconds.
    const int sizes[] = { 15, -15, kMaxFontSize, 65535, -65535, INT_MAX, INT_MIN };
    for (int size : sizes) {
        HFONT hFont = m_pm->AddFont(L"Arial", size, false, false, false);
        LOGFONTW lf = {};
        ASSERT_EQ(static_cast<int>(sizeof(lf)), ::GetObjectW(hFont, sizeof(lf), &lf)) << size;
        EXPECT_EQ(-std::max(-kMaxFontSize, std::min(size, kMaxFontSize)), lf.lfHeight) << size;
        EXPECT_EQ(size, m_pm->GetFontInfo(hFont)->iSize) << size;
        EXPECT_EQ(hFont, m_pm->GetFont(L"Arial", size, false, false, false)) << size;
    }
}

TEST_F(ManagerTest, FontMetricsAreReadOnFirstRequest)
{
    CPaintManagerUI pm;
    pm.AddFont(L"Arial", 30, false, false, false);
    TFontInfo* pInfo = pm.GetFontInfo(0);
    EXPECT_EQ(0, pInfo->tm.tmHeight);

    pm.Init(MakeWindow());
    pInfo = pm.GetFontInfo(pm.GetFont(0));
    EXPECT_GE(pInfo->tm.tmHeight, 25);
    EXPECT_EQ(pm.GetFont(0), pInfo->hFont);

    // Added after Init: measured at once.
    HFONT hSmall = pm.AddFont(L"Arial", 10, false, false, false);
    EXPECT_GT(pm.GetFontInfo(1)->tm.tmHeight, 0);
    EXPECT_LT(pm.GetFontInfo(hSmall)->tm.tmHeight, pInfo->tm.tmHeight);
}

TEST_F(ManagerTest, ParentResourcesAreTheFallBack)
{
    CPaintManagerUI parent;
    parent.Init(MakeWindow());
    HFONT hParentFont = parent.AddFont(L"Arial", 16, false, false, false);
    parent.AddDefaultAttributeList(L"Button", L"width=\"10\"");
    parent.SetDefaultFontColor(0xFF112233);
    parent.SetDefaultSelectedBkColor(0xFF445566);
    m_pm->SetDefaultFontColor(0xFF999999);
    m_pm->AddDefaultAttributeList(L"Label", L"height=\"5\"");

    EXPECT_EQ(nullptr, m_pm->GetParentResource());
    EXPECT_EQ(0xFF999999u, m_pm->GetDefaultFontColor());
    ASSERT_TRUE(m_pm->UseParentResource(&parent));
    EXPECT_EQ(&parent, m_pm->GetParentResource());

    // Colours and the default font come from the parent alone.
    EXPECT_EQ(0xFF112233u, m_pm->GetDefaultFontColor());
    EXPECT_EQ(0xFF445566u, m_pm->GetDefaultSelectedBkColor());
    EXPECT_EQ(parent.GetDefaultFontInfo(), m_pm->GetDefaultFontInfo());
    EXPECT_EQ(parent.GetDefaultFontInfo()->hFont, m_pm->GetFont(0));

    // Lookups by attributes and handle ask the parent on a miss; ids and removal stay local.
    EXPECT_EQ(hParentFont, m_pm->GetFont(L"Arial", 16, false, false, false));
    EXPECT_TRUE(m_pm->FindFont(hParentFont));
    EXPECT_TRUE(m_pm->FindFont(L"Arial", 16, false, false, false));
    EXPECT_EQ(-1, m_pm->GetFontIndex(hParentFont));
    EXPECT_EQ(parent.GetFontInfo(0), m_pm->GetFontInfo(hParentFont));
    EXPECT_FALSE(m_pm->RemoveFont(hParentFont));
    EXPECT_TRUE(parent.FindFont(hParentFont));

    EXPECT_STREQ(L"width=\"10\"", m_pm->GetDefaultAttributeList(L"Button"));
    EXPECT_STREQ(L"height=\"5\"", m_pm->GetDefaultAttributeList(L"Label"));
    EXPECT_FALSE(m_pm->RemoveDefaultAttributeList(L"Button"));

    ASSERT_TRUE(m_pm->UseParentResource(NULL));
    EXPECT_EQ(0xFF999999u, m_pm->GetDefaultFontColor());
    EXPECT_EQ(nullptr, m_pm->GetDefaultAttributeList(L"Button"));
}

TEST_F(ManagerTest, ParentChainsRefuseCycles)
{
    CPaintManagerUI a;
    CPaintManagerUI b;
    EXPECT_FALSE(m_pm->UseParentResource(m_pm));
    ASSERT_TRUE(m_pm->UseParentResource(&a));
    ASSERT_TRUE(a.UseParentResource(&b));
    EXPECT_FALSE(b.UseParentResource(m_pm));
    EXPECT_FALSE(b.UseParentResource(&a));
    EXPECT_EQ(nullptr, b.GetParentResource());
    // With the refused link absent, the lookups still end.
    EXPECT_EQ(nullptr, m_pm->GetDefaultAttributeList(L"Nothing"));
    EXPECT_EQ(0xFF000000u, m_pm->GetDefaultFontColor());
}

TEST_F(ManagerTest, DefaultColoursAndAttributeLists)
{
    EXPECT_EQ(0xFFA7A6AAu, m_pm->GetDefaultDisabledColor());
    EXPECT_EQ(0xFF000000u, m_pm->GetDefaultFontColor());
    EXPECT_EQ(0xFF0000FFu, m_pm->GetDefaultLinkFontColor());
    EXPECT_EQ(0xFFD3215Fu, m_pm->GetDefaultLinkHoverFontColor());
    EXPECT_EQ(0xFFBAE4FFu, m_pm->GetDefaultSelectedBkColor());

    m_pm->AddDefaultAttributeList(L"Button", L"first");
    m_pm->AddDefaultAttributeList(L"Button", L"second");
    m_pm->AddDefaultAttributeList(L"Edit", L"edit");
    EXPECT_STREQ(L"first", m_pm->GetDefaultAttributeList(L"Button"));
    EXPECT_EQ(nullptr, m_pm->GetDefaultAttributeList(L"button"));
    EXPECT_EQ(2, m_pm->GetDefaultAttribultes().GetSize());
    EXPECT_TRUE(m_pm->RemoveDefaultAttributeList(L"Button"));
    EXPECT_FALSE(m_pm->RemoveDefaultAttributeList(L"Button"));
    m_pm->AddDefaultAttributeList(L"Button", L"again");
    EXPECT_STREQ(L"again", m_pm->GetDefaultAttributeList(L"Button"));
    m_pm->RemoveAllDefaultAttributeList();
    EXPECT_EQ(0, m_pm->GetDefaultAttribultes().GetSize());
    EXPECT_EQ(nullptr, m_pm->GetDefaultAttributeList(L"Edit"));
}

TEST_F(ManagerTest, HslIsClampedAndUnchangedValuesAreIgnored)
{
    short H = 0, S = 0, L = 0;
    CPaintManagerUI::GetHSL(&H, &S, &L);
    EXPECT_EQ(180, H);
    EXPECT_EQ(100, S);
    EXPECT_EQ(100, L);

    m_pm->AttachDialog(new CVerticalLayoutUI);
    CPaintManagerUI::SetHSL(true, 400, -5, 250);
    CPaintManagerUI::GetHSL(&H, &S, &L);
    EXPECT_EQ(360, H);
    EXPECT_EQ(0, S);
    EXPECT_EQ(200, L);
    CPaintManagerUI::SetHSL(false, 12, 34, 56);
    CPaintManagerUI::GetHSL(&H, &S, &L);
    EXPECT_EQ(12, H);
    EXPECT_EQ(34, S);
    EXPECT_EQ(56, L);
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
}

TEST_F(ManagerTest, PluginsNeedAModuleWithCreateControl)
{
    const int nBefore = CPaintManagerUI::GetPlugins()->GetSize();
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(NULL));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"no-such-plugin-module.dll"));
    EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"kernel32.dll"));
    EXPECT_EQ(nBefore, CPaintManagerUI::GetPlugins()->GetSize());

    wchar_t szSelf[MAX_PATH] = {};
    ::GetModuleFileNameW(NULL, szSelf, MAX_PATH);
    ASSERT_TRUE(CPaintManagerUI::LoadPlugin(szSelf));
    ASSERT_TRUE(CPaintManagerUI::LoadPlugin(szSelf));
    ASSERT_EQ(nBefore + 1, CPaintManagerUI::GetPlugins()->GetSize());
    LPCREATECONTROL pfnCreate = reinterpret_cast<LPCREATECONTROL>(CPaintManagerUI::GetPlugins()->GetAt(nBefore));
    CControlUI* pControl = pfnCreate(L"Probe");
    ASSERT_TRUE(pControl != NULL);
    EXPECT_STREQ(L"plugged", pControl->GetName().GetData());
    delete pControl;
    EXPECT_EQ(nullptr, pfnCreate(L"Other"));
}

TEST_F(ManagerImageTest, ImagesAreLoadedOnceAndCachedByName)
{
    TImageInfo* pImage = m_pm->AddImage(L"a.png");
    ASSERT_TRUE(pImage != NULL);
    EXPECT_EQ(4, pImage->nWidth);
    EXPECT_EQ(3, pImage->nHeight);
    EXPECT_TRUE(pImage->sResourceType.IsEmpty());
    EXPECT_EQ(pImage, m_pm->GetImage(L"a.png"));
    EXPECT_EQ(pImage, m_pm->GetImageEx(L"a.png"));

    // A second AddImage leaves the cached record alone.
    EXPECT_EQ(nullptr, m_pm->AddImage(L"a.png", NULL, 0x123));
    EXPECT_EQ(pImage, m_pm->GetImage(L"a.png"));
    EXPECT_EQ(0u, pImage->dwMaskColor);

    // GetImage only looks; GetImageEx loads on a miss.
    EXPECT_EQ(nullptr, m_pm->GetImage(L"b.png"));
    TImageInfo* pB = m_pm->GetImageEx(L"b.png", NULL, 0xFF00FF00);
    ASSERT_TRUE(pB != NULL);
    EXPECT_EQ(0xFF00FF00u, pB->dwMaskColor);
    EXPECT_EQ(nullptr, m_pm->GetImageEx(L"missing.png"));
    EXPECT_EQ(nullptr, m_pm->AddImage(L""));

    EXPECT_TRUE(m_pm->RemoveImage(L"a.png"));
    EXPECT_FALSE(m_pm->RemoveImage(L"a.png"));
    EXPECT_EQ(nullptr, m_pm->GetImage(L"a.png"));
    m_pm->RemoveAllImages();
    EXPECT_EQ(nullptr, m_pm->GetImage(L"b.png"));
}

TEST_F(ManagerImageTest, SkinsRebuiltIntoALivingManagerKeepOneShareWhenReleasedFirst)
{
    const wchar_t kSkin[] = L"<Window><Image name=\"a.png\"/><Font name=\"Arial\" size=\"20\"/>"
                            L"<Font name=\"Tahoma\" size=\"9\" default=\"true\"/>"
                            L"<Default name=\"Label\" value=\"font=&quot;0&quot;\"/><Label name=\"l\"/></Window>";
    auto rebuild = [&]() {
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(kSkin, NULL, NULL, m_pm);
        ASSERT_TRUE(pRoot != NULL);
        m_pm->AttachDialog(pRoot);
    };
    rebuild();
    const HFONT hFirst = m_pm->GetFont(0);
    // Fonts are addressed by index: the second build appends copies, and the indexes keep the first ones.
    rebuild();
    EXPECT_EQ(4, m_pm->GetCustomFontCount());
    EXPECT_EQ(hFirst, m_pm->GetFont(0));

    m_pm->ReleaseSkinResources();
    EXPECT_EQ(0, m_pm->GetCustomFontCount());
    EXPECT_EQ(0u, ::GetObjectType(hFirst));
    EXPECT_EQ(nullptr, m_pm->GetImage(L"a.png"));
    EXPECT_EQ(nullptr, m_pm->GetDefaultAttributeList(L"Label"));
    EXPECT_STREQ(L"Tahoma", m_pm->GetDefaultFontInfo()->sFontName.GetData()) << "the default font stays";
    for (int i = 0; i < 3; ++i) {
        rebuild();
        m_pm->ReleaseSkinResources();
    }
    rebuild();
    EXPECT_EQ(2, m_pm->GetCustomFontCount());
    EXPECT_EQ(20, m_pm->GetFontInfo(0)->iSize);
    EXPECT_TRUE(m_pm->GetImage(L"a.png") != NULL);
    EXPECT_STREQ(L"font=\"0\"", m_pm->GetDefaultAttributeList(L"Label"));
    EXPECT_EQ(0, static_cast<CLabelUI*>(m_pm->FindControl(L"l"))->GetFont());
}

TEST_F(ManagerImageTest, TypedImagesNeedANumericName)
{
    EXPECT_EQ(nullptr, m_pm->AddImage(L"a.png", L"PNG"));
    // Numbers that cannot be resource ids are refused rather than taken for a name pointer.
    EXPECT_EQ(nullptr, m_pm->AddImage(L"70000", L"PNG"));
    EXPECT_EQ(nullptr, m_pm->AddImage(L"99999999999999999999", L"PNG"));
    EXPECT_EQ(nullptr, m_pm->AddImage(L"0", L"PNG"));
    EXPECT_EQ(nullptr, m_pm->AddImage(L"12", L"NOSUCHTYPE"));
}

// Resource 12 of type PNG in this program: see ManagerResourcesTest.rc.
TEST_F(ManagerImageTest, TypedImagesAreModuleResourcesNamedByTheirLeadingDigits)
{
    // A loose file of the same name is not consulted.
    ASSERT_TRUE(m_folder.WriteFile(L"12", MakePng(9, 9)));
    TImageInfo* pImage = m_pm->AddImage(L"12", L"PNG", 0xFF0000FF);
    ASSERT_TRUE(pImage != NULL);
    EXPECT_EQ(3, pImage->nWidth);
    EXPECT_EQ(2, pImage->nHeight);
    EXPECT_STREQ(L"PNG", pImage->sResourceType.GetData());
    EXPECT_EQ(0xFF0000FFu, pImage->dwMaskColor);
    EXPECT_TRUE(pImage->bAlpha);
    TImageInfo* pSuffixed = m_pm->GetImageEx(L"12.png", L"PNG");
    ASSERT_TRUE(pSuffixed != NULL);
    EXPECT_NE(pImage, pSuffixed);
    EXPECT_EQ(3, pSuffixed->nWidth);

    // Reloading takes the resource again, with the record's type and mask.
    HBITMAP hOld = pImage->hBmp;
    m_pm->ReloadAllImages();
    EXPECT_EQ(pImage, m_pm->GetImage(L"12"));
    EXPECT_NE(hOld, pImage->hBmp);
    EXPECT_EQ(0u, ::GetObjectType(hOld));
    EXPECT_EQ(3, pImage->nWidth);
    EXPECT_STREQ(L"PNG", pImage->sResourceType.GetData());
    DIBSECTION section = {};
    ASSERT_EQ(static_cast<int>(sizeof(section)), ::GetObjectW(pImage->hBmp, sizeof(section), &section));
    EXPECT_EQ(0u, static_cast<const DWORD*>(section.dsBm.bmBits)[2]);
    EXPECT_EQ(0xFFFF0000u, static_cast<const DWORD*>(section.dsBm.bmBits)[0]);

    // Removal frees the bitmap with the record.
    HBITMAP hLast = pImage->hBmp;
    EXPECT_TRUE(m_pm->RemoveImage(L"12"));
    EXPECT_EQ(0u, ::GetObjectType(hLast));
}

TEST_F(ManagerImageTest, ReloadAndColourAdjustmentRepaintTheTree)
{
    m_pm->AttachDialog(new CControlUI);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    m_pm->GetRoot()->SetPos(CUIRect(0, 0, 400, 300));
    Pump();
    auto pending = [this]() {
        RECT rc = {};
        return ::GetUpdateRect(m_hWnd, &rc, FALSE) != FALSE;
    };
    ::ValidateRect(m_hWnd, NULL);
    ASSERT_FALSE(pending());

    // Nothing reloaded, nothing to repaint.
    m_pm->ReloadAllImages();
    EXPECT_FALSE(pending());
    ASSERT_TRUE(m_pm->AddImage(L"a.png") != NULL);
    m_pm->ReloadAllImages();
    EXPECT_TRUE(pending());
    ::ValidateRect(m_hWnd, NULL);

    CPaintManagerUI::SetHSL(true, 90, 100, 100);
    EXPECT_TRUE(pending());
    ::ValidateRect(m_hWnd, NULL);
    CPaintManagerUI::SetHSL(false, 90, 100, 100);
    EXPECT_FALSE(pending());
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
    ::ShowWindow(m_hWnd, SW_HIDE);
}

TEST_F(ManagerImageTest, ReadyBitmapsAndTheAlphaBackground)
{
    HBITMAP hBitmap = ::CreateCompatibleBitmap(m_pm->GetPaintDC(), 5, 6);
    TImageInfo* pImage = m_pm->AddImage(L"ready", hBitmap, 5, 6, true);
    ASSERT_TRUE(pImage != NULL);
    EXPECT_EQ(hBitmap, pImage->hBmp);
    EXPECT_TRUE(pImage->bAlpha);
    EXPECT_EQ(0u, pImage->dwMaskColor);

    // A taken name: the new bitmap is deleted, the old record stays.
    HBITMAP hSecond = ::CreateCompatibleBitmap(m_pm->GetPaintDC(), 2, 2);
    EXPECT_EQ(nullptr, m_pm->AddImage(L"ready", hSecond, 2, 2, false));
    EXPECT_EQ(0u, ::GetObjectType(hSecond));
    EXPECT_EQ(pImage, m_pm->GetImage(L"ready"));
    EXPECT_EQ(nullptr, m_pm->AddImage(L"bad", NULL, 2, 2, false));
    EXPECT_EQ(nullptr, m_pm->AddImage(L"bad", hBitmap, 0, 2, false));

    m_pm->SetBackgroundTransparent(true);
    TImageInfo* pA = m_pm->AddImage(L"a.png");
    ASSERT_TRUE(pA != NULL);
    EXPECT_TRUE(pA->bAlpha);

    m_pm->RemoveImage(L"ready");
    EXPECT_EQ(0u, ::GetObjectType(hBitmap));
}

TEST_F(ManagerImageTest, ImagesFallBackToTheParentButGetImageExDoesNot)
{
    CPaintManagerUI parent;
    TImageInfo* pParentImage = parent.AddImage(L"a.png");
    ASSERT_TRUE(pParentImage != NULL);
    m_pm->UseParentResource(&parent);
    EXPECT_EQ(pParentImage, m_pm->GetImage(L"a.png"));
    TImageInfo* pOwn = m_pm->GetImageEx(L"a.png");
    ASSERT_TRUE(pOwn != NULL);
    EXPECT_NE(pParentImage, pOwn);
    EXPECT_EQ(pOwn, m_pm->GetImage(L"a.png"));
    m_pm->UseParentResource(NULL);
}

TEST_F(ManagerImageTest, ReloadTakesTheNewPixelsIntoTheSameRecord)
{
    TImageInfo* pImage = m_pm->AddImage(L"a.png", NULL, 0x42);
    ASSERT_TRUE(pImage != NULL);
    HBITMAP hOld = pImage->hBmp;
    ASSERT_TRUE(m_folder.WriteFile(L"a.png", MakePng(7, 8)));

    CPaintManagerUI::ReloadSkin();
    EXPECT_EQ(pImage, m_pm->GetImage(L"a.png"));
    EXPECT_EQ(7, pImage->nWidth);
    EXPECT_EQ(8, pImage->nHeight);
    EXPECT_EQ(0x42u, pImage->dwMaskColor);
    EXPECT_NE(hOld, pImage->hBmp);

    // An image whose file is gone keeps its old pixels.
    ASSERT_TRUE(::DeleteFileW(m_folder.GetFile(L"a.png").c_str()));
    m_pm->ReloadAllImages();
    EXPECT_EQ(7, pImage->nWidth);
    EXPECT_NE(0u, ::GetObjectType(pImage->hBmp));
}

} // namespace VeneerTest
