// Window wrapper: registration, binding and the final-message order, superclassing, subclassing,
// modal loop codes, centring and client resizing, against real windows.
#include "veneer/Veneer.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <stdexcept>
#include <vector>

using namespace Veneer;

namespace {

// Records what reaches the object and in which order relative to the former procedure.
class CProbeWnd : public CWindowWnd
{
public:
    std::vector<UINT> seen;
    int finalCalls = 0;
    HWND finalHandle = NULL;
    bool handleNullAtFinal = false;

protected:
    LPCWSTR GetWindowClass() const override { return L"VeneerProbeWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(uMsg);
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND hWnd) override
    {
        ++finalCalls;
        finalHandle = hWnd;
        handleNullAtFinal = GetHWND() == NULL;
    }
};

// A superclass of the system edit control: the base procedure keeps doing the edit's work.
class CEditSuper : public CWindowWnd
{
public:
    int finalCalls = 0;
    int charsSeen = 0;

protected:
    LPCWSTR GetWindowClass() const override { return L"VeneerEditSuper"; }
    LPCWSTR GetSuperClassName() const override { return L"EDIT"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_SETTEXT) {
            ++charsSeen;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { ++finalCalls; }
};

class CSubclassProbe : public CWindowWnd
{
public:
    int setTextSeen = 0;

protected:
    LPCWSTR GetWindowClass() const override { return L"unused"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_SETTEXT) {
            ++setTextSeen;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

// Throws out of its handler for one message id; counts the messages of another.
class CThrowingWnd : public CWindowWnd
{
public:
    int pings = 0;

protected:
    LPCWSTR GetWindowClass() const override { return L"VeneerThrowingWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_USER + 1) throw std::runtime_error("handler failed");
        if (uMsg == WM_USER + 2) {
            ++pings;
            return 5;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

class WindowWndTest : public ::testing::Test
{
protected:
    void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL)); }
};

} // namespace

TEST_F(WindowWndTest, BindsAtNcCreateAndDetachesAfterTheFormerProcedure)
{
    CProbeWnd wnd;
    HWND hWnd = wnd.Create(NULL, L"probe", WS_OVERLAPPEDWINDOW, 0, 10, 10, 200, 100);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(hWnd, wnd.GetHWND());
    EXPECT_EQ(hWnd, static_cast<HWND>(wnd));
    ASSERT_FALSE(wnd.seen.empty());
    // Anything sent before WM_NCCREATE (WM_GETMINMAXINFO) went to DefWindowProcW, not to the object.
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), wnd.seen.front());

    ::DestroyWindow(hWnd);
    EXPECT_EQ(1, wnd.finalCalls);
    EXPECT_EQ(hWnd, wnd.finalHandle);
    EXPECT_TRUE(wnd.handleNullAtFinal);
    EXPECT_EQ(nullptr, wnd.GetHWND());
    // WM_NCDESTROY itself is not passed to HandleMessage: the former procedure gets it first.
    EXPECT_EQ(wnd.seen.end(), std::find(wnd.seen.begin(), wnd.seen.end(), static_cast<UINT>(WM_NCDESTROY)));
}

TEST_F(WindowWndTest, SecondWindowOfTheSameClassRegistersAsSuccess)
{
    CProbeWnd first, second;
    ASSERT_NE(nullptr, first.Create(NULL, L"a", WS_POPUP, 0, 0, 0, 10, 10));
    ASSERT_NE(nullptr, second.Create(NULL, L"b", WS_POPUP, 0, 0, 0, 10, 10));
    EXPECT_TRUE(second.RegisterWindowClass());
    ::DestroyWindow(first.GetHWND());
    ::DestroyWindow(second.GetHWND());
    EXPECT_EQ(1, first.finalCalls);
    EXPECT_EQ(1, second.finalCalls);
}

TEST_F(WindowWndTest, SuperclassKeepsTheBaseBehaviourAndFindsItsObjectByProperty)
{
    CEditSuper edit;
    HWND hWnd = edit.Create(NULL, L"", WS_POPUP, 0, 0, 0, 100, 20);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(static_cast<HANDLE>(&edit), ::GetPropW(hWnd, L"WndX"));
    EXPECT_EQ(0, ::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    ::SetWindowTextW(hWnd, L"hello");
    wchar_t text[16] = {};
    ::GetWindowTextW(hWnd, text, 16);
    EXPECT_STREQ(L"hello", text);
    EXPECT_GE(edit.charsSeen, 1);
    ::DestroyWindow(hWnd);
    EXPECT_EQ(1, edit.finalCalls);
    EXPECT_EQ(nullptr, edit.GetHWND());
}

TEST_F(WindowWndTest, SuperclassOfAnUnknownClassFailsCreate)
{
    class CBogus : public CWindowWnd
    {
    protected:
        LPCWSTR GetWindowClass() const override { return L"VeneerBogusSuper"; }
        LPCWSTR GetSuperClassName() const override { return L"NoSuchBaseClass"; }
    } bogus;
    EXPECT_EQ(nullptr, bogus.Create(NULL, L"", WS_POPUP, 0, 0, 0, 10, 10));
    EXPECT_EQ(nullptr, bogus.GetHWND());
}

TEST_F(WindowWndTest, SubclassRoutesMessagesAndUnsubclassGivesTheProcedureBack)
{
    HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 20, NULL, NULL, NULL, NULL);
    ASSERT_NE(nullptr, hStatic);
    LONG_PTR before = ::GetWindowLongPtrW(hStatic, GWLP_WNDPROC);

    CSubclassProbe probe;
    EXPECT_EQ(hStatic, probe.Subclass(hStatic));
    ::SetWindowTextW(hStatic, L"one");
    EXPECT_EQ(1, probe.setTextSeen);
    wchar_t text[8] = {};
    ::GetWindowTextW(hStatic, text, 8);
    EXPECT_STREQ(L"one", text);

    probe.Unsubclass();
    EXPECT_EQ(before, ::GetWindowLongPtrW(hStatic, GWLP_WNDPROC));
    ::SetWindowTextW(hStatic, L"two");
    EXPECT_EQ(1, probe.setTextSeen);
    ::DestroyWindow(hStatic);

    CSubclassProbe failing;
    EXPECT_EQ(nullptr, failing.Subclass(NULL));
}

TEST_F(WindowWndTest, ResizeClientKeepsOrChangesEachDimension)
{
    CProbeWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(NULL, L"r", WS_OVERLAPPEDWINDOW, 0, 0, 0, 300, 200));
    RECT before = {};
    ::GetClientRect(wnd.GetHWND(), &before);
    wnd.ResizeClient(-1, -1);
    RECT after = {};
    ::GetClientRect(wnd.GetHWND(), &after);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom, after.bottom);

    wnd.ResizeClient(250, -1);
    ::GetClientRect(wnd.GetHWND(), &after);
    EXPECT_EQ(250, after.right);
    EXPECT_EQ(before.bottom, after.bottom);
    wnd.ResizeClient(-1, 120);
    ::GetClientRect(wnd.GetHWND(), &after);
    EXPECT_EQ(250, after.right);
    EXPECT_EQ(120, after.bottom);
    ::DestroyWindow(wnd.GetHWND());
}

TEST_F(WindowWndTest, CenterWindowCentresOnTheWorkAreaAndClampsLargeWindows)
{
    CProbeWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(NULL, L"c", WS_POPUP, 0, 0, 0, 200, 100));
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(wnd.GetHWND(), MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& work = mi.rcWork;

    wnd.CenterWindow();
    RECT rc = {};
    ::GetWindowRect(wnd.GetHWND(), &rc);
    EXPECT_EQ((work.left + work.right) / 2 - 100, rc.left);
    EXPECT_EQ((work.top + work.bottom) / 2 - 50, rc.top);

    // Wider and taller than the work area: aligned to its left and top edges.
    int w = work.right - work.left + 300;
    int h = work.bottom - work.top + 300;
    ::SetWindowPos(wnd.GetHWND(), NULL, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
    wnd.CenterWindow();
    ::GetWindowRect(wnd.GetHWND(), &rc);
    EXPECT_EQ(work.left, rc.left);
    EXPECT_EQ(work.top, rc.top);
    ::DestroyWindow(wnd.GetHWND());
}

TEST_F(WindowWndTest, CenterWindowCentresOnTheOwner)
{
    CProbeWnd owner, child;
    ASSERT_NE(nullptr, owner.Create(NULL, L"o", WS_POPUP, 0, 100, 100, 400, 300));
    ASSERT_NE(nullptr, child.Create(owner.GetHWND(), L"c", WS_POPUP, 0, 0, 0, 100, 50));
    child.CenterWindow();
    RECT rc = {};
    ::GetWindowRect(child.GetHWND(), &rc);
    EXPECT_EQ(250, rc.left);
    EXPECT_EQ(225, rc.top);
    ::DestroyWindow(child.GetHWND());
    ::DestroyWindow(owner.GetHWND());
}

TEST_F(WindowWndTest, ShowModalReturnsTheCloseCodeAndReenablesTheOwner)
{
    CProbeWnd owner, dialog;
    ASSERT_NE(nullptr, owner.Create(NULL, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 200));
    ASSERT_NE(nullptr, dialog.Create(owner.GetHWND(), L"dialog", WS_POPUP, 0, 0, 0, 100, 100));
    dialog.Close(5);
    EXPECT_EQ(5u, dialog.ShowModal());
    EXPECT_FALSE(::IsWindow(dialog.GetHWND()));
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHWND()));
    ::DestroyWindow(owner.GetHWND());

    CProbeWnd lone;
    ASSERT_NE(nullptr, lone.Create(NULL, L"lone", WS_POPUP, 0, 0, 0, 100, 100));
    lone.Close(7);
    EXPECT_EQ(7u, lone.ShowModal());
}

TEST_F(WindowWndTest, QuitInsideShowModalEndsTheLoopAndIsPostedAgain)
{
    CProbeWnd owner, dialog;
    ASSERT_NE(nullptr, owner.Create(NULL, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 200));
    ASSERT_NE(nullptr, dialog.Create(owner.GetHWND(), L"dialog", WS_POPUP, 0, 0, 0, 100, 100));
    ::PostQuitMessage(42);
    EXPECT_EQ(0u, dialog.ShowModal());
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHWND()));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(42, static_cast<int>(msg.wParam));
    ::DestroyWindow(dialog.GetHWND());
    ::DestroyWindow(owner.GetHWND());
}

TEST_F(WindowWndTest, OperationsOnADeadWindowDoNothing)
{
    CProbeWnd wnd;
    wnd.ShowWindow(true);
    wnd.Close(3);
    wnd.Unsubclass();
    EXPECT_EQ(nullptr, wnd.GetHWND());
    MSG msg = {};
    EXPECT_FALSE(::PeekMessageW(&msg, NULL, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(WindowWndTest, ExceptionOfAHandlerStaysInsideTheWindowProcedure)
{
    CThrowingWnd wnd;
    HWND hWnd = wnd.Create(NULL, L"thrower", WS_POPUP, 0, 0, 0, 50, 50);
    ASSERT_NE(nullptr, hWnd);
    // Sent directly, not through the message loop: nothing may cross the system's frames.
    LRESULT lRes = 1;
    EXPECT_NO_THROW(lRes = ::SendMessageW(hWnd, WM_USER + 1, 0, 0));
    EXPECT_EQ(0, lRes);
    EXPECT_EQ(5, ::SendMessageW(hWnd, WM_USER + 2, 0, 0));
    EXPECT_EQ(1, wnd.pings);

    ::PostMessageW(hWnd, WM_USER + 1, 0, 0);
    ::PostMessageW(hWnd, WM_USER + 2, 0, 0);
    ::PostQuitMessage(0);
    CPaintManagerUI::MessageLoop();
    EXPECT_EQ(2, wnd.pings);
    ::DestroyWindow(hWnd);
}
