// RoutedWindowTest: the routing window class, pumping, and the fixture's set-up and tear-down.
#include "veneer/core/UISetup.h"
#include "support/RoutedWindow.h"

using namespace Veneer;

namespace VeneerTest {

namespace {

const wchar_t kClassName[] = L"VeneerTestWindow";

LRESULT CALLBACK RoutedWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CPaintManagerUI* pm = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    LRESULT lRes = 0;
    if (pm != NULL && pm->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LPCWSTR RegisterRoutedClass()
{
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RoutedWndProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
        wc.lpszClassName = kClassName;
        atom = ::RegisterClassW(&wc);
    }
    return kClassName;
}

HWND SharedWindow(int cx, int cy, DWORD dwExtraStyle)
{
    static HWND s_hWnd = NULL;
    if (s_hWnd == NULL || !::IsWindow(s_hWnd)) s_hWnd = CreateRoutedWindow(cx, cy, NULL, 20, 20, dwExtraStyle);
    return s_hWnd;
}

} // namespace

HWND CreateRoutedWindow(int cx, int cy, HWND hWndParent, int x, int y, DWORD dwExtraStyle)
{
    const DWORD dwStyle = (hWndParent != NULL ? WS_CHILD | WS_VISIBLE : WS_POPUP) | dwExtraStyle;
    return ::CreateWindowExW(0, RegisterRoutedClass(), L"", dwStyle, x, y, cx, cy, hWndParent, NULL,
                             ::GetModuleHandleW(NULL), NULL);
}

void RouteWindow(HWND hWnd, CPaintManagerUI* pm)
{
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pm));
}

void PumpMessages(bool preTranslate)
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (preTranslate && CPaintManagerUI::TranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void DiscardMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
}

void RoutedWindowTest::SetUp()
{
    if (m_options.ole) {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(NULL)));
    }
    const DWORD dwExtraStyle = m_options.clipChildren ? WS_CLIPCHILDREN : 0;
    m_hWnd = m_options.shared ? SharedWindow(m_options.cx, m_options.cy, dwExtraStyle)
                              : CreateRoutedWindow(m_options.cx, m_options.cy, NULL, 0, 0, dwExtraStyle);
    ASSERT_TRUE(m_hWnd != NULL);
    m_pm = new CPaintManagerUI;
    m_pm->Init(m_hWnd);
    m_pm->AddNotifier(&m_notes);
    if (m_options.route) RouteWindow(m_hWnd, m_pm);
}

void RoutedWindowTest::TearDown()
{
    if (m_hWnd != NULL) {
        // Native child windows go first, while their owners still exist.
        if (m_options.shared) {
            for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(m_hWnd, GW_CHILD))
                ::DestroyWindow(hChild);
        }
        RouteWindow(m_hWnd, NULL);
    }
    delete m_pm;
    m_pm = NULL;
    if (m_hWnd != NULL && !m_options.shared) ::DestroyWindow(m_hWnd);
    m_hWnd = NULL;
    if (m_options.shared) PumpMessages(m_options.preTranslate);
    else DiscardMessages();
    if (m_options.ole) ::OleUninitialize();
}

CControlUI* RoutedWindowTest::Build(const std::wstring& xml)
{
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(xml.c_str(), NULL, NULL, m_pm);
    if (pRoot == NULL) return NULL;
    m_pm->AttachDialog(pRoot);
    if (m_options.layout) {
        RECT rc = { 0, 0, m_options.cx, m_options.cy };
        pRoot->SetPos(rc);
    }
    if (m_options.paint) {
        ::ShowWindow(m_hWnd, SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        ::SetFocus(m_hWnd);
        ::InvalidateRect(m_hWnd, NULL, FALSE);
        ::UpdateWindow(m_hWnd);
        // The first layout focuses the first Tab stop; tests start with nothing focused.
        m_pm->SetFocus(NULL);
        Pump();
    }
    return pRoot;
}

void RoutedWindowTest::Pump(DWORD ms)
{
    const DWORD dwStart = ::GetTickCount();
    do {
        PumpMessages(m_options.preTranslate);
        if (ms != 0) ::MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - dwStart < ms);
}

} // namespace VeneerTest
