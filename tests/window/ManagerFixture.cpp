// Test fixture for the paint manager: hidden windows, the probe control and the notification log.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"

using namespace Veneer;

namespace VeneerTest {

std::vector<std::wstring> g_log;

CProbeUI::CProbeUI(LPCWSTR pstrName, UINT uFlags, bool* pDestroyed) : m_uFlags(uFlags), m_pDestroyed(pDestroyed)
{
    SetName(pstrName);
}

CProbeUI::~CProbeUI()
{
    if (m_pDestroyed != NULL) *m_pDestroyed = true;
}

LPCWSTR CProbeUI::GetClass() const
{
    return L"ProbeUI";
}

UINT CProbeUI::GetControlFlags() const
{
    return m_uFlags;
}

void CProbeUI::DoEvent(TEventUI& event)
{
    events.push_back(event);
    g_log.push_back(std::wstring(GetName().GetData()) + L":event" + std::to_wstring(event.Type));
    CControlUI::DoEvent(event);
}

void CNotifyLog::Notify(TNotifyUI& msg)
{
    received.push_back(msg);
    g_log.push_back(m_sTag + L":" + msg.sType.GetData());
}

namespace {

// Windows given a manager by Route pass every message to it before the default handling.
LRESULT CALLBACK ProbeWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CPaintManagerUI* pm = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    LRESULT lRes = 0;
    if (pm != NULL && pm->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LPCWSTR RegisterProbeClass()
{
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ProbeWndProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"VeneerManagerTestWnd";
        atom = ::RegisterClassW(&wc);
    }
    return L"VeneerManagerTestWnd";
}

} // namespace

HWND ManagerTest::MakeWindow(int cx, int cy, HWND hWndParent, int x, int y)
{
    const DWORD dwStyle = hWndParent != NULL ? WS_CHILD | WS_VISIBLE : WS_POPUP;
    HWND hWnd = ::CreateWindowExW(0, RegisterProbeClass(), L"", dwStyle, x, y, cx, cy, hWndParent, NULL,
                                  ::GetModuleHandleW(NULL), NULL);
    m_windows.push_back(hWnd);
    return hWnd;
}

void ManagerTest::Route(HWND hWnd, CPaintManagerUI* pm)
{
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pm));
}

void ManagerTest::Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void ManagerTest::SetUp()
{
    g_log.clear();
    m_hWnd = MakeWindow();
    ASSERT_TRUE(m_hWnd != NULL);
    m_pm = new CPaintManagerUI;
    m_pm->Init(m_hWnd);
}

void ManagerTest::TearDown()
{
    // No message may reach a deleted manager.
    for (HWND hWnd : m_windows) {
        if (::IsWindow(hWnd)) Route(hWnd, NULL);
    }
    delete m_pm;
    m_pm = NULL;
    for (HWND hWnd : m_windows) ::DestroyWindow(hWnd);
    m_windows.clear();
    // Leftover posted messages must not reach the next test's windows.
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
    g_log.clear();
}

} // namespace VeneerTest
