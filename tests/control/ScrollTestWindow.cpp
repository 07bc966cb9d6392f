// Fixture of the scrolling tests: the hidden window, the notification recorder and event helpers.
#include "veneer/core/UISetup.h"
#include "ScrollTestWindow.h"
#include "ControlTestUtil.h"

using namespace Veneer;

namespace ScrollTest {

namespace {

const wchar_t kClassName[] = L"VeneerScrollTestWnd";

LRESULT CALLBACK ScrollTestWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_TIMER) {
        CPaintManagerUI* pm = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (pm != NULL && pm->FireTimer(static_cast<UINT>(LOWORD(wParam)))) return 0;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void RegisterWindowClass()
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ScrollTestWndProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = kClassName;
    registered = ::RegisterClassW(&wc) != 0;
}

} // namespace

void CNotifyRecorder::Notify(TNotifyUI& msg)
{
    types.push_back(msg.sType);
    senders.push_back(msg.pSender);
}

int CNotifyRecorder::Count(LPCWSTR type) const
{
    int count = 0;
    for (size_t i = 0; i < types.size(); ++i)
        if (types[i] == type) ++count;
    return count;
}

void ScrollWindowTest::SetUp()
{
    RegisterWindowClass();
    m_hWnd = ::CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 400, 300, NULL, NULL,
                               ::GetModuleHandleW(NULL), NULL);
    ASSERT_TRUE(m_hWnd != NULL);
    m_pm = new CPaintManagerUI;
    m_pm->Init(m_hWnd);
    m_pm->AddNotifier(&m_notes);
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_pm));
}

void ScrollWindowTest::TearDown()
{
    if (m_hWnd != NULL) ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    delete m_pm;
    m_pm = NULL;
    if (m_hWnd != NULL) ::DestroyWindow(m_hWnd);
    m_hWnd = NULL;
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
}

void ScrollWindowTest::Pump(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    }
}

void Send(CControlUI* control, int type, int x, int y, WPARAM wParam)
{
    TEventUI event = ControlTest::MakeEvent(type, x, y);
    event.wParam = wParam;
    event.dwTimestamp = ::GetTickCount();
    event.pSender = control;
    control->Event(event);
}

void SendKey(CControlUI* control, wchar_t key)
{
    TEventUI event = ControlTest::MakeEvent(EVENT_KEYDOWN);
    event.chKey = key;
    event.wParam = key;
    event.pSender = control;
    control->Event(event);
}

void Tick(CControlUI* control, int count)
{
    for (int i = 0; i < count; ++i) Send(control, EVENT_TIMER, 0, 0, 10);
}

} // namespace ScrollTest
