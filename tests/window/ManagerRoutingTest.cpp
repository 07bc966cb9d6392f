// Paint manager routing of real window messages: wheel, leave, hover and tooltips, keys, filters, timers, the loop.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"

#include <stdexcept>

using namespace Veneer;

namespace VeneerTest {

namespace {

// Sets or clears keys in this thread's keyboard state (what GetKeyState reads) for one scope.
class CKeyDown
{
public:
    explicit CKeyDown(int vk)
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        ::memcpy(state, m_saved, sizeof(state));
        state[vk] = 0x80;
        ::SetKeyboardState(state);
    }
    ~CKeyDown() { ::SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

// Logs the messages of chosen ids that reach a filter, and consumes one id with a fixed result.
class CFilterLog : public IMessageFilterUI
{
public:
    CFilterLog(LPCWSTR pstrTag, UINT uConsume = 0, LRESULT lResult = 0)
        : m_sTag(pstrTag), m_uConsume(uConsume), m_lResult(lResult)
    {
    }
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, bool& bHandled) override
    {
        if (uMsg == WM_TIMER) timers.push_back(wParam);
        if (uMsg >= WM_USER && uMsg < WM_APP) g_log.push_back(m_sTag + L":msg" + std::to_wstring(uMsg - WM_USER));
        if (uMsg == m_uConsume) {
            bHandled = true;
            return m_lResult;
        }
        return 0;
    }
    std::vector<WPARAM> timers;

private:
    std::wstring m_sTag;
    UINT m_uConsume;
    LRESULT m_lResult;
};

// Throws out of the window procedure on two message ids.
class CThrowingFilter : public IMessageFilterUI
{
public:
    LRESULT MessageHandler(UINT uMsg, WPARAM /*wParam*/, LPARAM /*lParam*/, bool& /*bHandled*/) override
    {
        if (uMsg == WM_USER + 20) throw std::runtime_error("handler failed");
        if (uMsg == WM_USER + 22) throw 7;
        return 0;
    }
};

// A window of the framework's own kind whose messages go to a paint manager: its window procedure is
// where the framework stops exceptions that a handler throws (no system code lies between them).
class CRoutedWindow : public CWindowWnd
{
public:
    LPCWSTR GetWindowClass() const override { return L"VeneerRoutedTestWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lRes = 0;
        if (m_manager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    CPaintManagerUI m_manager;
};

// Messages of interest that reach a subclassed tooltip window.
std::vector<std::pair<UINT, WPARAM>> g_tipLog;
WNDPROC g_pfnTipProc = NULL;

LRESULT CALLBACK TipLogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case TTM_ADDTOOLW:
    case TTM_SETTOOLINFOW:
    case TTM_TRACKACTIVATE:
    case TTM_SETMAXTIPWIDTH:
    case TTM_GETDELAYTIME:
        g_tipLog.push_back(std::make_pair(uMsg, wParam));
        break;
    default:
        break;
    }
    return ::CallWindowProcW(g_pfnTipProc, hWnd, uMsg, wParam, lParam);
}

// Queues two notifications from inside the control's own button-down handling.
bool QueueFromButtonDown(void* pParam)
{
    TEventUI* pEvent = static_cast<TEventUI*>(pParam);
    if (pEvent->Type == EVENT_BUTTONDOWN) {
        CPaintManagerUI* pm = pEvent->pSender->GetManager();
        pm->SendNotify(pEvent->pSender, L"first", 0, 0, true);
        pm->SendNotify(pEvent->pSender, L"second", 0, 0, true);
    }
    return true;
}

int CountEvents(const CProbeUI* pProbe, int type)
{
    int n = 0;
    for (const TEventUI& event : pProbe->events) {
        if (event.Type == type) n++;
    }
    return n;
}

// A routed window whose root (vertical) holds a (Tab stop, top 100 pixels), b (Tab stop, next 100)
// and c (no Tab stop, the rest).
class ManagerRoutingTest : public ManagerTest
{
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        Route(m_hWnd, m_pm);
        m_pRoot = new CVerticalLayoutUI;
        m_a = AddProbe(m_pRoot, L"a", UIFLAG_TABSTOP, 100);
        m_b = AddProbe(m_pRoot, L"b", UIFLAG_TABSTOP, 100);
        m_c = AddProbe(m_pRoot, L"c", 0, 0);
        ASSERT_TRUE(m_pm->AttachDialog(m_pRoot));
        m_pm->UpdateLayout();
        g_log.clear();
    }

    static CProbeUI* AddProbe(CContainerUI* pParent, LPCWSTR pstrName, UINT uFlags, int cy)
    {
        CProbeUI* pProbe = new CProbeUI(pstrName, uFlags);
        if (cy > 0) pProbe->SetFixedHeight(cy);
        pParent->Add(pProbe);
        return pProbe;
    }

    LRESULT Send(UINT uMsg, WPARAM wParam, int x, int y)
    {
        return ::SendMessageW(m_hWnd, uMsg, wParam, MAKELPARAM(x, y));
    }

    LPARAM ScreenPoint(int x, int y)
    {
        POINT pt = { x, y };
        ::ClientToScreen(m_hWnd, &pt);
        return MAKELPARAM(pt.x, pt.y);
    }

    bool Translate(HWND hWnd, UINT uMsg, WPARAM wParam)
    {
        MSG msg = {};
        msg.hwnd = hWnd;
        msg.message = uMsg;
        msg.wParam = wParam;
        return CPaintManagerUI::TranslateMessage(&msg);
    }

    CVerticalLayoutUI* m_pRoot = NULL;
    CProbeUI* m_a = NULL;
    CProbeUI* m_b = NULL;
    CProbeUI* m_c = NULL;
};

} // namespace

TEST_F(ManagerRoutingTest, WheelGoesToTheControlUnderThePointThenHoverFollows)
{
    const LPARAM lParam = ScreenPoint(20, 150);
    {
        CKeyDown ctrl(VK_CONTROL);
        ::SendMessageW(m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), lParam);
    }
    ASSERT_EQ(3u, m_b->events.size());
    const TEventUI& wheel = m_b->events[0];
    EXPECT_EQ(EVENT_SCROLLWHEEL, wheel.Type);
    EXPECT_EQ(m_b, wheel.pSender);
    EXPECT_EQ(static_cast<WPARAM>(SB_LINEDOWN), wheel.wParam);
    EXPECT_EQ(lParam, wheel.lParam);
    EXPECT_EQ(MK_CONTROL, wheel.wKeyState & MK_CONTROL);
    EXPECT_EQ(0, wheel.ptMouse.x);
    EXPECT_EQ(0, wheel.ptMouse.y);
    EXPECT_NE(0u, wheel.dwTimestamp);
    // The synthetic move that follows makes b the hovered control at the client point.
    EXPECT_EQ(EVENT_MOUSEENTER, m_b->events[1].Type);
    EXPECT_EQ(EVENT_MOUSEMOVE, m_b->events[2].Type);
    EXPECT_EQ(150, m_b->events[2].ptMouse.y);
    EXPECT_EQ(150, m_pm->GetMousePos().y);
    EXPECT_TRUE(m_a->events.empty());

    // Turning the wheel away from the user scrolls up, without Ctrl in the key state.
    ::SendMessageW(m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), ScreenPoint(20, 50));
    ASSERT_FALSE(m_a->events.empty());
    EXPECT_EQ(EVENT_SCROLLWHEEL, m_a->events[0].Type);
    EXPECT_EQ(static_cast<WPARAM>(SB_LINEUP), m_a->events[0].wParam);
    EXPECT_EQ(0, m_a->events[0].wKeyState & MK_CONTROL);

    // Outside every control nobody gets a wheel event.
    g_log.clear();
    ::SendMessageW(m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), ScreenPoint(500, 500));
    for (const std::wstring& entry : g_log) EXPECT_EQ(std::wstring::npos, entry.find(L":event18"));
}

TEST_F(ManagerRoutingTest, MouseLeaveClearsTheHoverThroughASyntheticMove)
{
    // Nothing is tracked yet: a leave changes nothing.
    Send(WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_TRUE(g_log.empty());

    Send(WM_MOUSEMOVE, 0, 20, 20);
    m_a->events.clear();
    Send(WM_MOUSELEAVE, 0, 0, 0);
    ASSERT_EQ(1u, m_a->events.size());
    EXPECT_EQ(EVENT_MOUSELEAVE, m_a->events[0].Type);
    EXPECT_EQ(-1, m_a->events[0].ptMouse.x);
    EXPECT_EQ(-1, m_a->events[0].ptMouse.y);
    EXPECT_EQ(-1, m_pm->GetMousePos().x);

    // Tracking ended with the leave, so a second one sends nothing.
    g_log.clear();
    Send(WM_MOUSELEAVE, 0, 0, 0);
    EXPECT_TRUE(g_log.empty());

    // The hover was cleared: coming back enters a again.
    Send(WM_MOUSEMOVE, 0, 20, 30);
    ASSERT_EQ(3u, m_a->events.size());
    EXPECT_EQ(EVENT_MOUSEENTER, m_a->events[1].Type);
}

TEST_F(ManagerRoutingTest, HoverWithoutTooltipTextMakesNoTooltipWindow)
{
    Send(WM_MOUSEMOVE, 0, 20, 20);
    m_a->events.clear();
    EXPECT_EQ(0, Send(WM_MOUSEHOVER, 0, 20, 20));
    ASSERT_EQ(1u, m_a->events.size());
    EXPECT_EQ(EVENT_MOUSEHOVER, m_a->events[0].Type);
    EXPECT_EQ(20, m_a->events[0].ptMouse.y);
    EXPECT_EQ(NULL, m_pm->GetTooltipWindow());

    // A hover reported where no control lies sends nothing, even with a hovered control.
    m_a->events.clear();
    Send(WM_MOUSEHOVER, 0, 500, 500);
    EXPECT_TRUE(m_a->events.empty());
    EXPECT_EQ(NULL, m_pm->GetTooltipWindow());
}

TEST_F(ManagerRoutingTest, TooltipShowsTheTextOfTheControlUnderTheHover)
{
    // Longer than a string keeps inline, so the text lives on the heap.
    const std::wstring sTip = L"Save the file under its current name, replacing what the folder holds now";
    m_b->SetToolTip(sTip.c_str());
    m_b->SetToolTipWidth(180);
    Send(WM_MOUSEMOVE, 0, 20, 150);
    Send(WM_MOUSEHOVER, 0, 20, 150);
    HWND hTip = m_pm->GetTooltipWindow();
    ASSERT_TRUE(hTip != NULL);
    wchar_t szClass[64] = {};
    ::GetClassNameW(hTip, szClass, 64);
    EXPECT_STREQ(L"tooltips_class32", szClass);
    EXPECT_EQ(m_hWnd, ::GetWindow(hTip, GW_OWNER));

    wchar_t szText[160] = {};
    TOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.hwnd = m_hWnd;
    ti.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    ti.lpszText = szText;
    ::SendMessageW(hTip, TTM_GETTEXTW, lengthof(szText), reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(sTip, std::wstring(szText));
    ASSERT_TRUE(::SendMessageW(hTip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(100, ti.rect.top);
    EXPECT_EQ(200, ti.rect.bottom);
    EXPECT_EQ(180, ::SendMessageW(hTip, TTM_GETMAXTIPWIDTH, 0, 0));

    g_tipLog.clear();
    g_pfnTipProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hTip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TipLogProc)));

    // The hover ended tracking: the next move starts it again with the tooltip's own delay, and
    // leaving b hides the tip.
    Send(WM_MOUSEMOVE, 0, 20, 20);
    std::vector<std::pair<UINT, WPARAM>> expected = { { TTM_GETDELAYTIME, TTDT_INITIAL },
                                                      { TTM_TRACKACTIVATE, FALSE } };
    EXPECT_EQ(expected, g_tipLog);

    // A second tip reuses the window: no new tool, just the width, the record and the show.
    g_tipLog.clear();
    Send(WM_MOUSEMOVE, 0, 20, 150);
    Send(WM_MOUSEHOVER, 0, 20, 150);
    expected = { { TTM_TRACKACTIVATE, FALSE },
                 { TTM_SETMAXTIPWIDTH, 0 },
                 { TTM_SETTOOLINFOW, 0 },
                 { TTM_TRACKACTIVATE, TRUE } };
    EXPECT_EQ(expected, g_tipLog);
    EXPECT_EQ(hTip, m_pm->GetTooltipWindow());

    g_tipLog.clear();
    Send(WM_MOUSELEAVE, 0, 0, 0);
    ASSERT_FALSE(g_tipLog.empty());
    EXPECT_EQ(std::make_pair(static_cast<UINT>(TTM_TRACKACTIVATE), static_cast<WPARAM>(FALSE)), g_tipLog[0]);
    ::SetWindowLongPtrW(hTip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnTipProc));
}

TEST_F(ManagerRoutingTest, TabAndShiftTabThroughTranslateMessage)
{
    // Other keys are left to the window.
    EXPECT_FALSE(Translate(m_hWnd, WM_KEYDOWN, 'A'));
    EXPECT_EQ(nullptr, m_pm->GetFocus());

    EXPECT_TRUE(Translate(m_hWnd, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(m_a, m_pm->GetFocus());
    EXPECT_TRUE(Translate(m_hWnd, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(m_b, m_pm->GetFocus());
    // c is no Tab stop: back to the first.
    EXPECT_TRUE(Translate(m_hWnd, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(m_a, m_pm->GetFocus());
    {
        CKeyDown shift(VK_SHIFT);
        EXPECT_TRUE(Translate(m_hWnd, WM_KEYDOWN, VK_TAB));
    }
    EXPECT_EQ(m_b, m_pm->GetFocus());
    // The Tab key itself never reached a control.
    EXPECT_EQ(0, CountEvents(m_a, EVENT_KEYDOWN));
    EXPECT_EQ(0, CountEvents(m_b, EVENT_KEYDOWN));

    // A window of no manager is not translated.
    HWND hOther = MakeWindow(50, 50);
    EXPECT_FALSE(Translate(hOther, WM_KEYDOWN, VK_TAB));
}

TEST_F(ManagerRoutingTest, TabInATreeWithoutTabStopsIsConsumedAndFocusesNothing)
{
    HWND hWnd = MakeWindow(100, 100);
    CPaintManagerUI pm;
    pm.Init(hWnd);
    Route(hWnd, &pm);
    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
    CProbeUI* pPlain = AddProbe(pRoot, L"plain", 0, 0);
    pm.AttachDialog(pRoot);
    pm.UpdateLayout();
    EXPECT_TRUE(Translate(hWnd, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(nullptr, pm.GetFocus());
    {
        CKeyDown shift(VK_SHIFT);
        EXPECT_TRUE(Translate(hWnd, WM_KEYDOWN, VK_TAB));
    }
    EXPECT_EQ(nullptr, pm.GetFocus());
    EXPECT_TRUE(pPlain->events.empty());
    Route(hWnd, NULL);
}

TEST_F(ManagerRoutingTest, MessageLoopRunsTabAndDispatchesTheRest)
{
    ::PostMessageW(m_hWnd, WM_KEYDOWN, VK_TAB, 0);
    ::PostMessageW(m_hWnd, WM_KEYDOWN, VK_TAB, 0);
    ::PostMessageW(m_hWnd, WM_KEYDOWN, 'Q', 0);
    ::PostQuitMessage(0);
    CPaintManagerUI::MessageLoop();
    EXPECT_EQ(m_b, m_pm->GetFocus());
    ASSERT_EQ(1, CountEvents(m_b, EVENT_KEYDOWN));
    EXPECT_EQ(0, CountEvents(m_a, EVENT_KEYDOWN));
    for (const TEventUI& event : m_b->events) {
        if (event.Type == EVENT_KEYDOWN) {
            EXPECT_EQ(L'Q', event.chKey);
        }
    }
}

TEST_F(ManagerRoutingTest, ShortcutsFocusAndActivateTheControlFoundInTheWalk)
{
    HWND hWnd = MakeWindow(300, 200);
    CPaintManagerUI pm;
    pm.Init(hWnd);
    Route(hWnd, &pm);
    CNotifyLog log(L"n");
    pm.AddNotifier(&log);
    // first, label (N), second, save (S), hidden (H), off (disabled, O); the walk goes from the last
    // child to the first.
    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
    CButtonUI* pFirst = new CButtonUI;
    CLabelUI* pLabel = new CLabelUI;
    CButtonUI* pSecond = new CButtonUI;
    CButtonUI* pSave = new CButtonUI;
    CButtonUI* pHidden = new CButtonUI;
    CButtonUI* pOff = new CButtonUI;
    pFirst->SetName(L"first");
    pSecond->SetName(L"second");
    pSave->SetName(L"save");
    pLabel->SetShortcut(L'N');
    pSave->SetShortcut(L'S');
    pHidden->SetShortcut(L'H');
    pHidden->SetVisible(false);
    pOff->SetShortcut(L'O');
    pOff->SetEnabled(false);
    CControlUI* controls[] = { pFirst, pLabel, pSecond, pSave, pHidden, pOff };
    for (CControlUI* pControl : controls) {
        pControl->SetFixedHeight(20);
        pRoot->Add(pControl);
    }
    pm.AttachDialog(pRoot);
    pm.UpdateLayout();
    log.received.clear();

    // Alt+s, lower case: the save button takes the focus and clicks.
    EXPECT_TRUE(Translate(hWnd, WM_SYSCHAR, L's'));
    EXPECT_EQ(pSave, pm.GetFocus());
    ASSERT_FALSE(log.received.empty());
    EXPECT_STREQ(L"click", log.received.back().sType.GetData());
    EXPECT_EQ(pSave, log.received.back().pSender);

    // A label passes its shortcut on to the control after it in the walk.
    log.received.clear();
    EXPECT_TRUE(Translate(hWnd, WM_SYSCHAR, L'n'));
    EXPECT_EQ(pFirst, pm.GetFocus());
    ASSERT_FALSE(log.received.empty());
    EXPECT_EQ(pFirst, log.received.back().pSender);

    // Hidden and disabled controls and unknown keys find nothing.
    EXPECT_FALSE(Translate(hWnd, WM_SYSCHAR, L'h'));
    EXPECT_FALSE(Translate(hWnd, WM_SYSCHAR, L'o'));
    EXPECT_FALSE(Translate(hWnd, WM_SYSCHAR, L'z'));
    EXPECT_EQ(pFirst, pm.GetFocus());
    Route(hWnd, NULL);
}

TEST_F(ManagerRoutingTest, SystemKeysReachTheFocusWithoutBeingConsumed)
{
    EXPECT_FALSE(Translate(m_hWnd, WM_SYSKEYDOWN, VK_F4));
    EXPECT_TRUE(g_log.empty());
    m_pm->SetFocus(m_b);
    m_b->events.clear();
    {
        CKeyDown alt(VK_MENU);
        EXPECT_FALSE(Translate(m_hWnd, WM_SYSKEYDOWN, VK_F4));
    }
    ASSERT_EQ(1u, m_b->events.size());
    EXPECT_EQ(EVENT_SYSKEY, m_b->events[0].Type);
    EXPECT_EQ(static_cast<wchar_t>(VK_F4), m_b->events[0].chKey);
    EXPECT_EQ(UIKEYSTATE_ALT, m_b->events[0].wKeyState & UIKEYSTATE_ALT);
    EXPECT_EQ(nullptr, m_b->events[0].pSender);
}

TEST_F(ManagerRoutingTest, NestedChildPaintWindowTranslatesOncePerManager)
{
    // m_hWnd > middle (plain child) > inner (child paint window with its own manager).
    HWND hMiddle = MakeWindow(300, 200, m_hWnd, 10, 10);
    HWND hInner = MakeWindow(200, 150, hMiddle, 5, 5);
    ASSERT_TRUE(hInner != NULL);
    CPaintManagerUI pm;
    pm.Init(hInner);
    Route(hInner, &pm);
    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
    CProbeUI* pX = AddProbe(pRoot, L"x", UIFLAG_TABSTOP, 30);
    AddProbe(pRoot, L"y", UIFLAG_TABSTOP, 30);
    AddProbe(pRoot, L"z", UIFLAG_TABSTOP, 30);
    pm.AttachDialog(pRoot);
    pm.UpdateLayout();

    // Both managers on the way up see the Tab once; the message still goes to the window.
    EXPECT_FALSE(Translate(hInner, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(pX, pm.GetFocus());
    EXPECT_EQ(m_a, m_pm->GetFocus());

    // A native child of a paint window: the accelerators of its manager may consume the message.
    struct Consume : ITranslateAccelerator
    {
        int calls = 0;
        LRESULT TranslateAccelerator(MSG* pMsg) override
        {
            calls++;
            return pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN ? S_OK : S_FALSE;
        }
    } accel;
    m_pm->AddTranslateAccelerator(&accel);
    EXPECT_TRUE(Translate(hMiddle, WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(1, accel.calls);
    EXPECT_FALSE(Translate(hMiddle, WM_KEYDOWN, 'A'));
    EXPECT_EQ(2, accel.calls);
    m_pm->RemoveTranslateAccelerator(&accel);
    Route(hInner, NULL);
}

TEST_F(ManagerRoutingTest, PreMessageFiltersComeFirstAndStopAtTheFirstTaker)
{
    CFilterLog first(L"first");
    CFilterLog taker(L"taker", WM_KEYDOWN);
    CFilterLog never(L"never", WM_KEYDOWN);
    m_pm->AddPreMessageFilter(&first);
    m_pm->AddPreMessageFilter(&taker);
    m_pm->AddPreMessageFilter(&never);
    EXPECT_TRUE(Translate(m_hWnd, WM_KEYDOWN, VK_TAB));
    // Taken by the filter: the Tab did not move the focus.
    EXPECT_EQ(nullptr, m_pm->GetFocus());

    EXPECT_FALSE(Translate(m_hWnd, WM_USER + 3, 0));
    std::vector<std::wstring> expected = { L"first:msg3", L"taker:msg3", L"never:msg3" };
    EXPECT_EQ(expected, g_log);

    m_pm->RemovePreMessageFilter(&taker);
    m_pm->RemovePreMessageFilter(&never);
    EXPECT_TRUE(Translate(m_hWnd, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(m_a, m_pm->GetFocus());
    m_pm->RemovePreMessageFilter(&first);
}

TEST_F(ManagerRoutingTest, MessageFilterResultBecomesTheMessageResult)
{
    CNotifyLog log(L"n");
    m_pm->AddNotifier(&log);
    CFilterLog pass(L"pass");
    CFilterLog taker(L"taker", WM_USER + 9, 42);
    m_pm->AddMessageFilter(&pass);
    m_pm->AddMessageFilter(&taker);

    // A notification queued earlier is delivered before the filters see the message.
    m_pm->SendNotify(m_a, L"queued", 0, 0, true);
    EXPECT_EQ(42, ::SendMessageW(m_hWnd, WM_USER + 9, 0, 0));
    std::vector<std::wstring> expected = { L"n:queued", L"pass:msg9", L"taker:msg9" };
    EXPECT_EQ(expected, g_log);

    // What no filter takes is routed as usual.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    Send(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(1, CountEvents(m_a, EVENT_BUTTONDOWN));
    m_pm->RemoveMessageFilter(&pass);
    m_pm->RemoveMessageFilter(&taker);
}

TEST_F(ManagerRoutingTest, AsyncNotificationsArriveBeforeTheMessageIsDone)
{
    CNotifyLog log(L"n");
    m_pm->AddNotifier(&log);
    m_a->EventHook += QueueFromButtonDown;

    m_pm->SendNotify(m_b, L"early", 0, 0, true);
    EXPECT_TRUE(log.received.empty());
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    // "early" went out before the message reached a; what a's handler queued followed before
    // SendMessage returned, in order (a taking the focus notifies in between).
    ASSERT_GE(g_log.size(), 4u);
    EXPECT_EQ(L"n:early", g_log[0]);
    std::vector<std::wstring> expected = { L"a:event13", L"n:first", L"n:second" };
    EXPECT_EQ(expected, std::vector<std::wstring>(g_log.end() - 3, g_log.end()));
    ASSERT_EQ(4u, log.received.size());
    EXPECT_EQ(m_a, log.received[2].pSender);
    EXPECT_EQ(20, log.received[2].ptMouse.y);
    Send(WM_LBUTTONUP, 0, 20, 20);
    m_a->EventHook -= QueueFromButtonDown;
}

TEST_F(ManagerRoutingTest, DelayedCleanupRunsFromThePostedMessage)
{
    bool bGone = false;
    CProbeUI* pLoose = new CProbeUI(L"loose", 0, &bGone);
    m_pm->AddDelayedCleanup(pLoose);
    EXPECT_FALSE(bGone);
    Pump();
    EXPECT_TRUE(bGone);

    // A child removed from its container goes the same way.
    bool bChildGone = false;
    CProbeUI* pChild = new CProbeUI(L"child", 0, &bChildGone);
    m_pRoot->Add(pChild);
    ASSERT_TRUE(m_pRoot->Remove(pChild));
    EXPECT_FALSE(bChildGone);
    Pump();
    EXPECT_TRUE(bChildGone);
}

TEST_F(ManagerRoutingTest, TimersReachTheirControlAndStopWhenItGoes)
{
    CFilterLog filter(L"f");
    m_pm->AddMessageFilter(&filter);
    ASSERT_TRUE(m_pm->SetTimer(m_c, 7, 10));
    ASSERT_TRUE(PumpUntil([this] { return CountEvents(m_c, EVENT_TIMER) >= 2; }));
    for (const TEventUI& event : m_c->events) {
        if (event.Type != EVENT_TIMER) continue;
        EXPECT_EQ(7u, event.wParam);
        EXPECT_EQ(m_c, event.pSender);
    }
    EXPECT_EQ(0, CountEvents(m_a, EVENT_TIMER));
    ASSERT_FALSE(filter.timers.empty());
    const WPARAM cTimer = filter.timers[0];

    // Once c is destroyed its native timer no longer fires; a's keeps going.
    ASSERT_TRUE(m_pm->SetTimer(m_a, 1, 10));
    ASSERT_TRUE(m_pRoot->Remove(m_c));
    m_c = NULL;
    Pump();
    filter.timers.clear();
    ASSERT_TRUE(PumpUntil([this] { return CountEvents(m_a, EVENT_TIMER) >= 3; }));
    for (WPARAM id : filter.timers) EXPECT_NE(cTimer, id);
    m_pm->RemoveMessageFilter(&filter);
}

TEST_F(ManagerRoutingTest, MessageLoopSurvivesThrowingHandlers)
{
    CRoutedWindow window;
    ASSERT_TRUE(window.Create(NULL, L"", WS_POPUP, 0, 0, 0, 100, 100) != NULL);
    window.m_manager.Init(window.GetHWND());
    CThrowingFilter thrower;
    CFilterLog log(L"log");
    window.m_manager.AddMessageFilter(&thrower);
    window.m_manager.AddMessageFilter(&log);
    ::PostMessageW(window.GetHWND(), WM_USER + 20, 0, 0);
    ::PostMessageW(window.GetHWND(), WM_USER + 21, 0, 0);
    ::PostMessageW(window.GetHWND(), WM_USER + 22, 0, 0);
    ::PostMessageW(window.GetHWND(), WM_USER + 23, 0, 0);
    ::PostQuitMessage(0);
    CPaintManagerUI::MessageLoop();
    std::vector<std::wstring> expected = { L"log:msg21", L"log:msg23" };
    EXPECT_EQ(expected, g_log);
    window.m_manager.RemoveMessageFilter(&thrower);
    window.m_manager.RemoveMessageFilter(&log);
    ::DestroyWindow(window.GetHWND());
}

TEST_F(ManagerRoutingTest, CloseEndsHoverAndClickAndClearsTheFocus)
{
    Send(WM_MOUSEMOVE, 0, 20, 150);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    ASSERT_EQ(m_a, m_pm->GetFocus());
    g_log.clear();
    Send(WM_CLOSE, 0, 0, 0);
    std::vector<std::wstring> expected = { L"b:event10", L"a:event14", L"a:event20" };
    EXPECT_EQ(expected, g_log);
    EXPECT_EQ(20, m_a->events[m_a->events.size() - 2].ptMouse.y);
    EXPECT_EQ(nullptr, m_pm->GetFocus());
    // Not handled: the default handling destroyed the window.
    EXPECT_FALSE(::IsWindow(m_hWnd));
}

TEST_F(ManagerRoutingTest, SetCursorGoesToAControlThatSetsItsOwnCursorUnlessCaptured)
{
    // The cursor is put on the screen and the window under it, with c's area beneath. Wine may report
    // the pointer's old place until the display has seen the move, so the place is read back until the
    // cursor is where the test needs it.
    POINT ptCursor = {};
    for (int i = 0; i < 20; ++i) {
        ::SetCursorPos(300, 400);
        ::SetWindowPos(m_hWnd, NULL, 280, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::Sleep(i * 10);
        ASSERT_TRUE(::GetCursorPos(&ptCursor));
        ::ScreenToClient(m_hWnd, &ptCursor);
        if (ptCursor.x == 20 && ptCursor.y == 250) break;
    }
    ASSERT_EQ(20, ptCursor.x);
    ASSERT_EQ(250, ptCursor.y);
    const LPARAM lParam = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    const WPARAM wParam = reinterpret_cast<WPARAM>(m_hWnd);

    // c does not set its cursor itself: nothing is sent.
    ::SendMessageW(m_hWnd, WM_SETCURSOR, wParam, lParam);
    EXPECT_EQ(0, CountEvents(m_c, EVENT_SETCURSOR));

    CProbeUI* pCursor = new CProbeUI(L"cursor", UIFLAG_SETCURSOR);
    m_pRoot->Add(pCursor);
    m_pRoot->Remove(m_c);
    m_c = NULL;
    m_pm->UpdateLayout();
    ::SendMessageW(m_hWnd, WM_SETCURSOR, wParam, lParam);
    ASSERT_EQ(1, CountEvents(pCursor, EVENT_SETCURSOR));
    const TEventUI& event = pCursor->events.back();
    EXPECT_EQ(20, event.ptMouse.x);
    EXPECT_EQ(250, event.ptMouse.y);
    EXPECT_EQ(wParam, event.wParam);
    EXPECT_EQ(lParam, event.lParam);
    EXPECT_EQ(nullptr, event.pSender);

    // Outside the client area, or while the mouse is captured, the control is not asked.
    ::SendMessageW(m_hWnd, WM_SETCURSOR, wParam, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    ASSERT_TRUE(m_pm->IsCaptured());
    ::SendMessageW(m_hWnd, WM_SETCURSOR, wParam, lParam);
    EXPECT_EQ(1, CountEvents(pCursor, EVENT_SETCURSOR));
    Send(WM_LBUTTONUP, 0, 20, 20);
}

TEST_F(ManagerRoutingTest, RightButtonContextMenuAndDoubleClickCarryTheirFields)
{
    const LPARAM lDown = MAKELPARAM(20, 150);
    ::SendMessageW(m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, lDown);
    EXPECT_EQ(m_b, m_pm->GetFocus());
    EXPECT_TRUE(m_pm->IsCaptured());
    ASSERT_EQ(EVENT_RBUTTONDOWN, m_b->events.back().Type);
    const TEventUI down = m_b->events.back();
    EXPECT_EQ(static_cast<WPARAM>(MK_RBUTTON | MK_SHIFT), down.wParam);
    EXPECT_EQ(lDown, down.lParam);
    EXPECT_EQ(MK_RBUTTON | MK_SHIFT, down.wKeyState);
    EXPECT_EQ(150, down.ptMouse.y);

    // The menu request carries its point in screen coordinates and goes to the pressed control.
    ::SendMessageW(m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), ScreenPoint(25, 155));
    ASSERT_EQ(EVENT_CONTEXTMENU, m_b->events.back().Type);
    const TEventUI menu = m_b->events.back();
    EXPECT_EQ(25, menu.ptMouse.x);
    EXPECT_EQ(155, menu.ptMouse.y);
    EXPECT_EQ(reinterpret_cast<LPARAM>(m_b), menu.lParam);
    EXPECT_EQ(0u, menu.wParam);
    EXPECT_FALSE(m_pm->IsCaptured());
    // The press is over: neither a second menu request nor a button-up finds a control.
    g_log.clear();
    ::SendMessageW(m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), ScreenPoint(25, 155));
    Send(WM_LBUTTONUP, 0, 25, 155);
    EXPECT_TRUE(g_log.empty());

    // A double click carries the point and the flags only, and leaves the focus where it was.
    ::SendMessageW(m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
    ASSERT_EQ(EVENT_DBLCLICK, m_a->events.back().Type);
    EXPECT_EQ(0u, m_a->events.back().wParam);
    EXPECT_EQ(0, m_a->events.back().lParam);
    EXPECT_EQ(MK_LBUTTON, m_a->events.back().wKeyState);
    EXPECT_EQ(m_a, m_a->events.back().pSender);
    EXPECT_EQ(m_b, m_pm->GetFocus());
    EXPECT_TRUE(m_pm->IsCaptured());
    Send(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(EVENT_BUTTONUP, m_a->events.back().Type);
    EXPECT_FALSE(m_pm->IsCaptured());
}

TEST_F(ManagerRoutingTest, SizeAndTrackLimits)
{
    m_pm->SetFocus(m_b);
    m_b->events.clear();
    ASSERT_FALSE(m_pm->IsUpdateNeeded());
    ::SetWindowPos(m_hWnd, NULL, 0, 0, 420, 320, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    ASSERT_EQ(1, CountEvents(m_b, EVENT_WINDOWSIZE));
    EXPECT_TRUE(m_pm->IsUpdateNeeded());
    EXPECT_TRUE(m_pRoot->IsUpdateNeeded());

    m_pm->SetMinInfo(200, 0);
    m_pm->SetMaxInfo(0, 500);
    MINMAXINFO mmi = {};
    mmi.ptMinTrackSize.x = mmi.ptMinTrackSize.y = 11;
    mmi.ptMaxTrackSize.x = mmi.ptMaxTrackSize.y = 999;
    ::SendMessageW(m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(200, mmi.ptMinTrackSize.x);
    EXPECT_EQ(11, mmi.ptMinTrackSize.y);
    EXPECT_EQ(999, mmi.ptMaxTrackSize.x);
    EXPECT_EQ(500, mmi.ptMaxTrackSize.y);
}

} // namespace VeneerTest
