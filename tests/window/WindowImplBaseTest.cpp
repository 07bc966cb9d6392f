// Skinned window base: hit-test codes, maximising to the work area, message maps, default keys and the
// system buttons, on real windows built from skin text.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "support/ResourceScope.h"
#include "support/TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

// Handlers and probes log "name" or "name:detail".
std::vector<std::wstring> g_calls;

// A control that answers a chosen class name, so the hit test's class rule can be probed, and logs
// the keys it receives.
class CClassProbeUI : public CControlUI
{
public:
    explicit CClassProbeUI(LPCWSTR pstrClass) : m_sClass(pstrClass) {}
    LPCWSTR GetClass() const override { return m_sClass.c_str(); }
    void DoEvent(TEventUI& event) override
    {
        if (event.Type == EVENT_KEYDOWN) g_calls.push_back(L"key:" + std::to_wstring(event.chKey));
        CControlUI::DoEvent(event);
    }

private:
    std::wstring m_sClass;
};

// A base-class window whose skin is XML text; it records every WM_CLOSE code it gets.
class CSkinWindow : public WindowImplBase
{
public:
    explicit CSkinWindow(LPCWSTR pstrXml) : m_sXml(pstrXml) {}
    // The native window must not outlive the object its messages reach.
    ~CSkinWindow() override
    {
        if (::IsWindow(GetHWND())) ::DestroyWindow(GetHWND());
    }

    // Tags the skins below use for controls with the classes the hit test treats specially.
    CControlUI* CreateControl(LPCWSTR pstrClass) override
    {
        if (wcscmp(pstrClass, L"OptionProbe") == 0) return new CClassProbeUI(L"OptionUI");
        if (wcscmp(pstrClass, L"TextProbe") == 0) return new CClassProbeUI(L"textUI");
        if (wcscmp(pstrClass, L"PlainProbe") == 0) return new CClassProbeUI(L"ProbeUI");
        return NULL;
    }

    std::vector<WPARAM> closeCodes;
    bool initCalled = false;

protected:
    LPCWSTR GetWindowClass() const override { return L"VeneerImplBaseTestWnd"; }
    CUIString GetSkinDir() override { return CUIString(); }
    CUIString GetSkinXml() override { return m_sXml; }
    void InitWindow() override { initCalled = true; }
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override
    {
        closeCodes.push_back(wParam);
        return WindowImplBase::OnClose(uMsg, wParam, lParam, bHandled);
    }

private:
    CUIString m_sXml;
};

// A window whose skin file comes from the archive resource of the resource module.
class CArchiveSkinWindow : public CSkinWindow
{
public:
    CArchiveSkinWindow(LPCWSTR pstrFile, UINT nResourceId) : CSkinWindow(pstrFile), m_nResourceId(nResourceId) {}

    // Drops the archive copy every such window shares, so each test starts without one.
    static void ForgetArchiveBuffer()
    {
        CResourceScope::ClearArchive();
        if (m_bResourceZIPCopied) delete[] m_lpResourceZIPBuffer;
        m_lpResourceZIPBuffer = NULL;
        m_dwResourceZIPSize = 0;
        m_bResourceZIPCopied = false;
    }

    // Whether the shared archive is read from a copy rather than from the resource memory itself.
    static bool IsArchiveCopied() { return m_bResourceZIPCopied; }
    static const BYTE* GetArchiveBytes() { return m_lpResourceZIPBuffer; }

protected:
    UILIB_RESOURCETYPE GetResourceType() const override { return UILIB_FROM_ZIPRESOURCE; }
    UINT GetResourceID() const override { return m_nResourceId; }

private:
    UINT m_nResourceId;
};


// A window with its own map in front of the base's.
class CMapWindow : public CSkinWindow
{
public:
    CMapWindow() : CSkinWindow(L"<Window><VerticalLayout /></Window>") {}

    void OnFirstAnyClick(TNotifyUI&) { g_calls.push_back(L"anyclick1"); }
    void OnOkClick(TNotifyUI&) { g_calls.push_back(L"okclick"); }
    void OnLastAnyClick(TNotifyUI&) { g_calls.push_back(L"anyclick2"); }
    void OnSelect(TNotifyUI&) { g_calls.push_back(L"select"); }
    void OnTimer(WPARAM wParam, LPARAM lParam)
    {
        g_calls.push_back(L"timer:" + std::to_wstring(wParam) + L"," + std::to_wstring(lParam));
    }

    UI_DECLARE_MESSAGE_MAP()
};

// Rows for any control both before and after the row for "ok": that row must win by name, and of the
// rows for any control the last must count.
UI_BEGIN_MESSAGE_MAP(CMapWindow, WindowImplBase)
UI_ON_MSGTYPE(L"click", &CMapWindow::OnFirstAnyClick)
UI_ON_CLICK_CTRNAME(L"ok", &CMapWindow::OnOkClick)
UI_ON_MSGTYPE(L"click", &CMapWindow::OnLastAnyClick)
UI_ON_MSGTYPE(L"selectchanged", &CMapWindow::OnSelect)
UI_ON_PARAMS(L"timer", L"", &CMapWindow::OnTimer)
UI_END_MESSAGE_MAP()

// A window whose map has no "click" row: clicks fall through to the base's system buttons.
class CChainWindow : public CSkinWindow
{
public:
    CChainWindow() : CSkinWindow(L"<Window><VerticalLayout /></Window>") {}
    void OnSelect(TNotifyUI&) { g_calls.push_back(L"chainselect"); }

    UI_DECLARE_MESSAGE_MAP()
};

UI_BEGIN_MESSAGE_MAP(CChainWindow, WindowImplBase)
UI_ON_MSGTYPE(L"selectchanged", &CChainWindow::OnSelect)
UI_END_MESSAGE_MAP()

// A part of a window that takes the notifications addressed to it by name.
class CPanelPump : public CNotifyPump
{
public:
    void OnClick(TNotifyUI&) { g_calls.push_back(L"panelclick"); }

    UI_DECLARE_MESSAGE_MAP()
};

UI_BEGIN_MESSAGE_MAP(CPanelPump, CNotifyPump)
UI_ON_MSGTYPE(L"click", &CPanelPump::OnClick)
UI_END_MESSAGE_MAP()

class WindowImplBaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.clear();
        CArchiveSkinWindow::ForgetArchiveBuffer();
    }

    void TearDown() override
    {
        Pump();
        g_calls.clear();
        CArchiveSkinWindow::ForgetArchiveBuffer();
    }

    // Creates the window hidden, places its 400 x 300 client at (x, y) and lays the skin out.
    void Open(CSkinWindow* pWnd, int x = 120, int y = 80)
    {
        ASSERT_TRUE(pWnd->Create(NULL, L"implbase", WS_POPUP, 0, 0, 0, 400, 300) != NULL);
        ::SetWindowPos(pWnd->GetHWND(), NULL, x, y, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
        pWnd->GetPaintManager()->UpdateLayout();
    }

    // The hit-test code for a client point of the window.
    static LRESULT HitTest(CSkinWindow* pWnd, int x, int y)
    {
        POINT pt = {x, y};
        ::ClientToScreen(pWnd->GetHWND(), &pt);
        return ::SendMessageW(pWnd->GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }

    // A left click at a client point, as the mouse delivers it.
    static void Click(CSkinWindow* pWnd, int x, int y)
    {
        HWND hWnd = pWnd->GetHWND();
        ::SendMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    // Runs the framework's message loop steps until the queue is empty.
    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (CPaintManagerUI::TranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    static TNotifyUI Notification(LPCWSTR pstrType, CControlUI* pSender, LPCWSTR pstrVirtualWnd = L"")
    {
        TNotifyUI msg = {};
        msg.sType = pstrType;
        msg.sVirtualWnd = pstrVirtualWnd;
        msg.pSender = pSender;
        return msg;
    }

    CResourceScope m_scope;
};

const wchar_t kFramedSkin[] = L"<Window sizebox=\"4,4,4,4\" caption=\"0,0,0,30\"><VerticalLayout /></Window>";

} // namespace

TEST_F(WindowImplBaseTest, CreationBuildsTheSkinAndDropsTheNativeCaption)
{
    CSkinWindow wnd(kFramedSkin);
    Open(&wnd);
    EXPECT_TRUE(wnd.initCalled);
    ASSERT_TRUE(wnd.GetPaintManager()->GetRoot() != NULL);
    EXPECT_STREQ(L"VerticalLayoutUI", wnd.GetPaintManager()->GetRoot()->GetClass());

    const LONG style = ::GetWindowLongW(wnd.GetHWND(), GWL_STYLE);
    EXPECT_EQ(0, style & WS_CAPTION);
    EXPECT_EQ(WS_CLIPSIBLINGS | WS_CLIPCHILDREN, style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS), ::GetClassLongPtrW(wnd.GetHWND(), GCL_STYLE) & CS_DBLCLKS);
}

TEST_F(WindowImplBaseTest, SizingBorderGivesEdgeAndCornerCodes)
{
    CSkinWindow wnd(kFramedSkin);
    Open(&wnd);
    EXPECT_EQ(HTTOPLEFT, HitTest(&wnd, 2, 2));
    EXPECT_EQ(HTTOP, HitTest(&wnd, 200, 2));
    EXPECT_EQ(HTTOPRIGHT, HitTest(&wnd, 398, 2));
    EXPECT_EQ(HTLEFT, HitTest(&wnd, 2, 150));
    EXPECT_EQ(HTRIGHT, HitTest(&wnd, 398, 150));
    EXPECT_EQ(HTBOTTOMLEFT, HitTest(&wnd, 2, 298));
    EXPECT_EQ(HTBOTTOM, HitTest(&wnd, 200, 298));
    EXPECT_EQ(HTBOTTOMRIGHT, HitTest(&wnd, 398, 298));

    // The border is 4 pixels wide on every side; the fourth pixel from an edge is inside.
    EXPECT_EQ(HTTOP, HitTest(&wnd, 200, 3));
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 200, 4));
    EXPECT_EQ(HTLEFT, HitTest(&wnd, 3, 150));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 4, 150));
    EXPECT_EQ(HTRIGHT, HitTest(&wnd, 397, 150));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 396, 150));
    EXPECT_EQ(HTBOTTOM, HitTest(&wnd, 200, 297));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 200, 296));
}

TEST_F(WindowImplBaseTest, HitTestReadsSignedScreenCoordinates)
{
    // Left of and above the primary monitor the screen coordinates are negative.
    CSkinWindow wnd(kFramedSkin);
    Open(&wnd, -300, -200);
    EXPECT_EQ(HTTOPLEFT, HitTest(&wnd, 2, 2));
    EXPECT_EQ(HTRIGHT, HitTest(&wnd, 398, 250));
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 200, 10));
}

TEST_F(WindowImplBaseTest, CaptionDragsExceptOverButtonsOptionsAndText)
{
    CSkinWindow wnd(L"<Window caption=\"20,0,20,30\"><VerticalLayout>"
                    L"<Button name=\"b\" float=\"true\" pos=\"100,0,140,30\" />"
                    L"<OptionProbe float=\"true\" pos=\"150,0,190,30\" />"
                    L"<TextProbe float=\"true\" pos=\"200,0,240,30\" />"
                    L"<Label float=\"true\" pos=\"250,0,290,30\" />"
                    L"<PlainProbe float=\"true\" pos=\"300,0,340,30\" />"
                    L"</VerticalLayout></Window>");
    Open(&wnd);
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 50, 10));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 120, 10));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 170, 10));
    // The class comparison ignores case ("textUI").
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 220, 10));
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 270, 10));
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 320, 10));

    // Bottom edge exclusive; left and right are insets from the client edges.
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 50, 29));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 50, 30));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 19, 10));
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 20, 10));
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 379, 10));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 380, 10));
}

TEST_F(WindowImplBaseTest, EmptyCaptionSpaceOverNoControlIsClient)
{
    // The root is a fixed 100 x 100 box: the rest of the caption has no control under it.
    CSkinWindow wnd(L"<Window caption=\"0,0,0,30\"><VerticalLayout width=\"100\" height=\"100\" /></Window>");
    ASSERT_TRUE(wnd.Create(NULL, L"implbase", WS_POPUP, 0, 0, 0, 400, 300) != NULL);
    CControlUI* pRoot = wnd.GetPaintManager()->GetRoot();
    ASSERT_TRUE(pRoot != NULL);
    RECT rc = {0, 0, 100, 100};
    pRoot->SetPos(rc);
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 50, 10));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 200, 10));
}

TEST_F(WindowImplBaseTest, MaximisedWindowFillsTheWorkAreaAndHasNoSizingBorder)
{
    CSkinWindow wnd(L"<Window sizebox=\"4,4,4,4\" caption=\"0,0,0,30\" mininfo=\"200,120\"><VerticalLayout>"
                    L"<Button name=\"b\" float=\"true\" pos=\"0,0,40,30\" /></VerticalLayout></Window>");
    Open(&wnd);

    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(wnd.GetHWND(), MONITOR_DEFAULTTONEAREST), &mi));
    const RECT& work = mi.rcWork;

    MINMAXINFO mmi = {};
    mmi.ptMaxTrackSize.x = 99999;
    mmi.ptMaxTrackSize.y = 99999;
    ::SendMessageW(wnd.GetHWND(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(work.left - mi.rcMonitor.left, mmi.ptMaxPosition.x);
    EXPECT_EQ(work.top - mi.rcMonitor.top, mmi.ptMaxPosition.y);
    EXPECT_EQ(work.right - work.left, mmi.ptMaxTrackSize.x);
    EXPECT_EQ(work.bottom - work.top, mmi.ptMaxTrackSize.y);
    EXPECT_EQ(200, mmi.ptMinTrackSize.x);
    EXPECT_EQ(120, mmi.ptMinTrackSize.y);

    // Checked before any queued message runs: on a desktop without a window manager, the display's
    // own late geometry report may move the window again afterwards.
    ::ShowWindow(wnd.GetHWND(), SW_MAXIMIZE);
    ASSERT_TRUE(::IsZoomed(wnd.GetHWND()));
    RECT rcWnd = {};
    ::GetWindowRect(wnd.GetHWND(), &rcWnd);
    EXPECT_EQ(work.left, rcWnd.left);
    EXPECT_EQ(work.top, rcWnd.top);
    EXPECT_EQ(work.right, rcWnd.right);
    EXPECT_EQ(work.bottom, rcWnd.bottom);
    RECT rcClient = {};
    ::GetClientRect(wnd.GetHWND(), &rcClient);
    EXPECT_EQ(work.right - work.left, rcClient.right);
    EXPECT_EQ(work.bottom - work.top, rcClient.bottom);

    // No sizing border while maximised: the corner points answer by the caption rule.
    wnd.GetPaintManager()->UpdateLayout();
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 2, 2));
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, 200, 2));
    EXPECT_EQ(HTCAPTION, HitTest(&wnd, rcClient.right - 2, 10));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, 200, rcClient.bottom - 2));
    EXPECT_EQ(HTCLIENT, HitTest(&wnd, rcClient.right - 2, 150));
}

TEST_F(WindowImplBaseTest, MapRowForTheSenderWinsAndTheLastRowForAnyControlCounts)
{
    CMapWindow wnd;
    Open(&wnd);
    CControlUI ok, other, upper;
    ok.SetName(L"ok");
    other.SetName(L"cancel");
    upper.SetName(L"OK");

    TNotifyUI msg = Notification(L"click", &ok);
    EXPECT_TRUE(wnd.LoopDispatch(msg));
    msg = Notification(L"click", &other);
    EXPECT_TRUE(wnd.LoopDispatch(msg));
    // Names compare exactly.
    msg = Notification(L"click", &upper);
    EXPECT_TRUE(wnd.LoopDispatch(msg));
    // Without a sender only the rows for any control can match.
    msg = Notification(L"click", NULL);
    EXPECT_TRUE(wnd.LoopDispatch(msg));
    std::vector<std::wstring> expected = {L"okclick", L"anyclick2", L"anyclick2", L"anyclick2"};
    EXPECT_EQ(expected, g_calls);
    // The base's "click" row is behind this map's: closebtn semantics are not reached.
    msg = Notification(L"click", &other);
    other.SetName(L"closebtn");
    wnd.LoopDispatch(msg);
    Pump();
    EXPECT_TRUE(wnd.closeCodes.empty());
}

TEST_F(WindowImplBaseTest, ParamsRowsGetWordAndLongAndUnknownTypesAreDropped)
{
    CMapWindow wnd;
    Open(&wnd);
    CControlUI ctl;
    ctl.SetName(L"list");
    TNotifyUI msg = Notification(L"selectchanged", &ctl);
    EXPECT_TRUE(wnd.LoopDispatch(msg));

    msg = Notification(L"timer", &ctl);
    msg.wParam = 7;
    msg.lParam = -9;
    EXPECT_TRUE(wnd.LoopDispatch(msg));

    // Types compare exactly; a type no map knows is dropped.
    msg = Notification(L"Click", &ctl);
    EXPECT_FALSE(wnd.LoopDispatch(msg));
    msg = Notification(L"itemactivate", &ctl);
    EXPECT_FALSE(wnd.LoopDispatch(msg));

    std::vector<std::wstring> expected = {L"select", L"timer:7,-9"};
    EXPECT_EQ(expected, g_calls);
}

TEST_F(WindowImplBaseTest, TypesMissingFromAMapFallThroughToTheBaseMap)
{
    CChainWindow wnd;
    Open(&wnd);
    CControlUI closer;
    closer.SetName(L"closebtn");
    TNotifyUI msg = Notification(L"click", &closer);
    EXPECT_TRUE(wnd.LoopDispatch(msg));
    msg = Notification(L"selectchanged", &closer);
    EXPECT_TRUE(wnd.LoopDispatch(msg));
    Pump();
    EXPECT_EQ(std::vector<std::wstring>{L"chainselect"}, g_calls);
    EXPECT_EQ(std::vector<WPARAM>{1}, wnd.closeCodes);
    EXPECT_FALSE(::IsWindow(wnd.GetHWND()));
}

TEST_F(WindowImplBaseTest, VirtualWindowTakesItsNotificationsAndFallsBackToTheWindow)
{
    CMapWindow wnd;
    Open(&wnd);
    CPanelPump panel;
    EXPECT_TRUE(wnd.AddVirtualWnd(L"Panel", &panel));
    EXPECT_FALSE(wnd.AddVirtualWnd(L"Panel", &panel));
    CControlUI ctl;
    ctl.SetName(L"ok");

    // The virtual-window name matches ignoring case.
    TNotifyUI msg = Notification(L"click", &ctl, L"panel");
    wnd.NotifyPump(msg);
    // The panel has no row for this type: the window's own map takes it.
    msg = Notification(L"selectchanged", &ctl, L"panel");
    wnd.NotifyPump(msg);
    // A name no virtual window has goes to the window too.
    msg = Notification(L"click", &ctl, L"sidebar");
    wnd.NotifyPump(msg);

    EXPECT_TRUE(wnd.RemoveVirtualWnd(L"Panel"));
    EXPECT_FALSE(wnd.RemoveVirtualWnd(L"Panel"));
    msg = Notification(L"click", &ctl, L"panel");
    wnd.NotifyPump(msg);

    std::vector<std::wstring> expected = {L"panelclick", L"select", L"okclick", L"okclick"};
    EXPECT_EQ(expected, g_calls);
}

TEST_F(WindowImplBaseTest, EscapeClosesWithCodeOneAndReturnDoesNothing)
{
    CSkinWindow wnd(L"<Window><VerticalLayout><PlainProbe name=\"edit\" /></VerticalLayout></Window>");
    Open(&wnd);
    HWND hWnd = wnd.GetHWND();
    CControlUI* pEdit = wnd.GetPaintManager()->FindControl(L"edit");
    ASSERT_TRUE(pEdit != NULL);
    wnd.GetPaintManager()->SetFocus(pEdit);
    ASSERT_EQ(pEdit, wnd.GetPaintManager()->GetFocus());

    ::PostMessageW(hWnd, WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_TRUE(wnd.closeCodes.empty());
    EXPECT_TRUE(::IsWindow(hWnd));

    // Either way the key still reaches the focused control.
    ::PostMessageW(hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    std::vector<std::wstring> keys = {L"key:" + std::to_wstring(VK_RETURN), L"key:" + std::to_wstring(VK_ESCAPE)};
    EXPECT_EQ(keys, g_calls);
    EXPECT_EQ(std::vector<WPARAM>{1}, wnd.closeCodes);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_TRUE(wnd.GetHWND() == NULL);
}

TEST_F(WindowImplBaseTest, SystemButtonsActOnARealClick)
{
    CSkinWindow wnd(L"<Window><HorizontalLayout>"
                    L"<Button name=\"minbtn\" float=\"true\" pos=\"10,10,40,40\" />"
                    L"<Button name=\"maxbtn\" float=\"true\" pos=\"50,10,80,40\" />"
                    L"<Button name=\"restorebtn\" float=\"true\" pos=\"90,10,120,40\" />"
                    L"<Button name=\"helpbtn\" float=\"true\" pos=\"130,10,160,40\" />"
                    L"<Button name=\"closebtn\" float=\"true\" pos=\"170,10,200,40\" />"
                    L"</HorizontalLayout></Window>");
    Open(&wnd);
    HWND hWnd = wnd.GetHWND();
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    Pump();

    Click(&wnd, 25, 25);
    Pump();
    EXPECT_TRUE(::IsIconic(hWnd));
    ::ShowWindow(hWnd, SW_RESTORE);
    Pump();
    ASSERT_FALSE(::IsIconic(hWnd));

    wnd.GetPaintManager()->UpdateLayout();
    Click(&wnd, 65, 25);
    Pump();
    EXPECT_TRUE(::IsZoomed(hWnd));

    wnd.GetPaintManager()->UpdateLayout();
    Click(&wnd, 105, 25);
    Pump();
    EXPECT_FALSE(::IsZoomed(hWnd));
    EXPECT_FALSE(::IsIconic(hWnd));

    // A button of any other name does nothing in the base.
    wnd.GetPaintManager()->UpdateLayout();
    Click(&wnd, 145, 25);
    Pump();
    EXPECT_TRUE(::IsWindow(hWnd));
    EXPECT_TRUE(wnd.closeCodes.empty());

    Click(&wnd, 185, 25);
    Pump();
    EXPECT_EQ(std::vector<WPARAM>{1}, wnd.closeCodes);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST_F(WindowImplBaseTest, SystemCloseCommandClosesWithCodeZero)
{
    CSkinWindow wnd(L"<Window><VerticalLayout /></Window>");
    Open(&wnd);
    HWND hWnd = wnd.GetHWND();
    EXPECT_EQ(0, ::SendMessageW(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_EQ(std::vector<WPARAM>{0}, wnd.closeCodes);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST_F(WindowImplBaseTest, RoundCornersCutTheWindowRegionOnEverySize)
{
    CSkinWindow wnd(L"<Window roundcorner=\"20,20\"><VerticalLayout /></Window>");
    Open(&wnd);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(wnd.GetHWND(), hRgn));
    EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));
    EXPECT_FALSE(::PtInRegion(hRgn, 399, 299));
    EXPECT_TRUE(::PtInRegion(hRgn, 200, 150));
    EXPECT_TRUE(::PtInRegion(hRgn, 200, 0));

    // A new size gets a region of its own size.
    ::SetWindowPos(wnd.GetHWND(), NULL, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(ERROR, ::GetWindowRgn(wnd.GetHWND(), hRgn));
    EXPECT_TRUE(::PtInRegion(hRgn, 500, 400));
    EXPECT_TRUE(::PtInRegion(hRgn, 599, 250));
    EXPECT_FALSE(::PtInRegion(hRgn, 599, 499));
    ::DeleteObject(hRgn);
}

TEST_F(WindowImplBaseTest, SizingBorderCaptionCornersAndTrackSizesFollowTheDisplayScale)
{
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        CSkinWindow wnd(L"<Window sizebox=\"4,4,6,6\" caption=\"0,0,0,30\" roundcorner=\"20,20\" "
                        L"mininfo=\"200,120\"><VerticalLayout /></Window>");
        Open(&wnd);
        CPaintManagerUI* pm = wnd.GetPaintManager();
        // The monitor's DPI changes: the window takes the size the system suggests for it.
        auto S = [dpi](int v) { return (v * dpi + 48) / 96; };
        RECT rcSuggested = {120, 80, 120 + S(400), 80 + S(300)};
        ::SendMessageW(wnd.GetHWND(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&rcSuggested));
        ASSERT_EQ(dpi, pm->GetDPI());
        pm->UpdateLayout();
        const int cx = S(400);
        const int cy = S(300);
        EXPECT_EQ(HTLEFT, HitTest(&wnd, S(4) - 1, cy / 2));
        EXPECT_EQ(HTCAPTION, HitTest(&wnd, S(4), S(30) - 1));
        EXPECT_EQ(HTCLIENT, HitTest(&wnd, S(4), S(30)));
        EXPECT_EQ(HTRIGHT, HitTest(&wnd, cx - S(6) + 1, cy / 2));
        EXPECT_EQ(HTCLIENT, HitTest(&wnd, cx - S(6), cy / 2));
        EXPECT_EQ(HTTOPLEFT, HitTest(&wnd, S(4) - 1, S(4) - 1));
        EXPECT_EQ(HTBOTTOMRIGHT, HitTest(&wnd, cx - S(6) + 1, cy - S(6) + 1));
        EXPECT_EQ(HTBOTTOM, HitTest(&wnd, cx / 2, cy - S(6) + 1));
        EXPECT_EQ(HTCLIENT, HitTest(&wnd, cx / 2, cy - S(6)));

        MINMAXINFO mmi = {};
        ::SendMessageW(wnd.GetHWND(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        EXPECT_EQ(S(200), mmi.ptMinTrackSize.x);
        EXPECT_EQ(S(120), mmi.ptMinTrackSize.y);

        // The window region has corners of the scaled ellipse (within the window).
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        HRGN hExpected = ::CreateRoundRectRgn(0, 0, cx + 1, cy + 1, S(20), S(20));
        HRGN hWindow = ::CreateRectRgn(0, 0, cx, cy);
        ASSERT_NE(ERROR, ::GetWindowRgn(wnd.GetHWND(), hRgn));
        ::CombineRgn(hRgn, hRgn, hWindow, RGN_AND);
        ::CombineRgn(hExpected, hExpected, hWindow, RGN_AND);
        EXPECT_TRUE(::EqualRgn(hRgn, hExpected));
        ::DeleteObject(hRgn);
        ::DeleteObject(hExpected);
        ::DeleteObject(hWindow);
    }
}

TEST_F(WindowImplBaseTest, MissingSkinArchiveResourceLeavesAnEmptyWindow)
{
    // This program carries no archive resource of that id.
    CArchiveSkinWindow wnd(L"login.xml", 4321);
    Open(&wnd);
    EXPECT_TRUE(::IsWindow(wnd.GetHWND()));
    EXPECT_TRUE(wnd.GetPaintManager()->GetRoot() == NULL);
    EXPECT_FALSE(wnd.initCalled);
}

TEST_F(WindowImplBaseTest, LaterArchiveWindowsBuildFromTheCopyTheFirstOneMade)
{
    CTempFolder folder;
    ASSERT_TRUE(folder.IsValid());
    wchar_t szSelf[MAX_PATH] = {};
    ::GetModuleFileNameW(NULL, szSelf, MAX_PATH);
    const std::wstring module = folder.GetFile(L"skinres.exe");
    ASSERT_TRUE(::CopyFileW(szSelf, module.c_str(), FALSE));
    CZipWriter zip;
    zip.Add("first.xml", "<Window><VerticalLayout name=\"first\" /></Window>");
    zip.Add("second.xml", "<Window><HorizontalLayout name=\"second\" /></Window>");
    std::string bytes = zip.Build();
    HANDLE hUpdate = ::BeginUpdateResourceW(module.c_str(), FALSE);
    ASSERT_TRUE(hUpdate != NULL);
    const BOOL bAdded = ::UpdateResourceW(hUpdate, L"ZIPRES", MAKEINTRESOURCEW(101), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                          &bytes[0], static_cast<DWORD>(bytes.size()));
    ASSERT_TRUE(::EndUpdateResourceW(hUpdate, !bAdded) && bAdded);
    HMODULE hModule = ::LoadLibraryExW(module.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(hModule != NULL);

    CPaintManagerUI::SetResourceDll(hModule);
    CArchiveSkinWindow first(L"first.xml", 101);
    Open(&first);
    ASSERT_TRUE(first.GetPaintManager()->GetRoot() != NULL);
    EXPECT_EQ(CUIString(L"first"), first.GetPaintManager()->GetRoot()->GetName());

    EXPECT_TRUE(CArchiveSkinWindow::IsArchiveCopied());

    // With the module gone, only the copy the first window made can give the second its skin.
    CPaintManagerUI::SetResourceDll(::GetModuleHandleW(NULL));
    ::FreeLibrary(hModule);
    CArchiveSkinWindow second(L"second.xml", 101);
    Open(&second);
    ASSERT_TRUE(second.GetPaintManager()->GetRoot() != NULL);
    EXPECT_EQ(CUIString(L"second"), second.GetPaintManager()->GetRoot()->GetName());
    EXPECT_TRUE(second.initCalled);
}

TEST_F(WindowImplBaseTest, ArchiveOfTheProgramItselfIsReadInPlace)
{
    CArchiveSkinWindow wnd(L"inplace.xml", 102);
    Open(&wnd);
    ASSERT_TRUE(wnd.GetPaintManager()->GetRoot() != NULL);
    EXPECT_EQ(CUIString(L"inplace"), wnd.GetPaintManager()->GetRoot()->GetName());
    EXPECT_FALSE(CArchiveSkinWindow::IsArchiveCopied());
    const BYTE* pBase = reinterpret_cast<const BYTE*>(::GetModuleHandleW(NULL));
    const IMAGE_NT_HEADERS* pHeaders =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    EXPECT_TRUE(CArchiveSkinWindow::GetArchiveBytes() >= pBase &&
                CArchiveSkinWindow::GetArchiveBytes() < pBase + pHeaders->OptionalHeader.SizeOfImage);
}
