// Paint manager window attributes: initial size, opacity, shadow geometry and the debugging helpers.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"

using namespace Veneer;

namespace VeneerTest {

namespace {

SIZE WindowSize(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    SIZE sz = { rc.right - rc.left, rc.bottom - rc.top };
    return sz;
}

bool SameRect(const RECT& rc, int l, int t, int r, int b)
{
    return rc.left == l && rc.top == t && rc.right == r && rc.bottom == b;
}

} // namespace

TEST_F(ManagerTest, InitSizeResizesOnlyAWindowWithoutTree)
{
    EXPECT_EQ(400, m_pm->GetClientSize().cx);
    EXPECT_EQ(300, m_pm->GetClientSize().cy);
    m_pm->SetInitSize(320, 200);
    EXPECT_EQ(320, WindowSize(m_hWnd).cx);
    EXPECT_EQ(200, WindowSize(m_hWnd).cy);
    EXPECT_EQ(320, m_pm->GetInitSize().cx);

    m_pm->AttachDialog(new CVerticalLayoutUI);
    m_pm->SetInitSize(500, 450);
    EXPECT_EQ(320, WindowSize(m_hWnd).cx);
    EXPECT_EQ(450, m_pm->GetInitSize().cy);

    // Without a window the size is only stored.
    CPaintManagerUI pm;
    pm.SetInitSize(10, 20);
    EXPECT_EQ(20, pm.GetInitSize().cy);
    EXPECT_EQ(0, pm.GetClientSize().cx);
}

TEST_F(ManagerTest, TransparencyIsClampedAndMakesTheWindowLayered)
{
    EXPECT_EQ(255, m_pm->GetTransparent());
    m_pm->SetTransparent(128);
    EXPECT_EQ(128, m_pm->GetTransparent());
    EXPECT_NE(0, ::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(m_hWnd, NULL, &alpha, &flags));
    EXPECT_EQ(128, alpha);
    EXPECT_NE(0u, flags & LWA_ALPHA);

    m_pm->SetTransparent(300);
    EXPECT_EQ(255, m_pm->GetTransparent());
    EXPECT_EQ(0, ::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    m_pm->SetTransparent(-4);
    EXPECT_EQ(0, m_pm->GetTransparent());
}

TEST_F(ManagerTest, ShadowPiecesFollowTheCorners)
{
    EXPECT_FALSE(m_pm->HasWindowShadow());
    m_pm->SetHasWindowShadow(true);
    m_pm->SetWindowShadowImage(L"shadow.png");
    EXPECT_STREQ(L"shadow.png", m_pm->GetWindowShadowImage());
    // Corners are 10 x 10 pieces of a 30 x 30 image.
    m_pm->SetTopleftShadowRect(0, 0, 10, 10);
    m_pm->SetToprightShadowRect(20, 0, 10, 10);
    m_pm->SetBottomleftShadowRect(0, 20, 10, 10);
    m_pm->SetBottomrightShadowRect(20, 20, 10, 10);
    m_pm->CalMiddleShadowRect();

    RECT rcClient = { 0, 0, 400, 300 };
    TWindowShadowInfo info = {};
    m_pm->CalRealShadowRect(rcClient, info);
    EXPECT_TRUE(SameRect(info.rcTopLeft, 0, 0, 10, 10));
    EXPECT_TRUE(SameRect(info.rcTopRight, 390, 0, 400, 10));
    EXPECT_TRUE(SameRect(info.rcBottomLeft, 0, 290, 10, 300));
    EXPECT_TRUE(SameRect(info.rcBottomRight, 390, 290, 400, 300));
    EXPECT_TRUE(SameRect(info.rcTop, 10, 0, 390, 10));
    EXPECT_TRUE(SameRect(info.rcBottom, 10, 290, 390, 300));
    EXPECT_TRUE(SameRect(info.rcLeft, 0, 10, 10, 290));
    EXPECT_TRUE(SameRect(info.rcRight, 390, 10, 400, 290));

    wchar_t szBuffer[512];
    RECT rcSource = { 10, 0, 20, 10 };
    m_pm->GenerateShadowRenderString(rcSource, info.rcTop, szBuffer, lengthof(szBuffer));
    EXPECT_STREQ(L"file='shadow.png' dest='10,0,390,10' source='10,0,20,10'", szBuffer);
    // A buffer too small gets an empty description, not a cut one.
    wchar_t szSmall[20];
    m_pm->GenerateShadowRenderString(rcSource, info.rcTop, szSmall, lengthof(szSmall));
    EXPECT_STREQ(L"", szSmall);
}

TEST(ManagerTrace, MessageNames)
{
    EXPECT_STREQ(L"WM_PAINT", UI__TraceMsg(WM_PAINT));
    EXPECT_STREQ(L"WM_GETTEXTLENGTH", UI__TraceMsg(WM_GETTEXTLENGTH));
    EXPECT_STREQ(L"0x1234", UI__TraceMsg(0x1234));
}

} // namespace VeneerTest
