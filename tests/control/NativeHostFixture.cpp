// Fixture for controls that open native windows: the routing window, building, pumping and input.
#include "veneer/core/UISetup.h"
#include "control/NativeHostFixture.h"

using namespace Veneer;

namespace VeneerTest {

namespace {

const wchar_t kClassName[] = L"VeneerNativeHostTestWnd";

LRESULT CALLBACK HostWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CPaintManagerUI* pm = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    LRESULT lRes = 0;
    if (pm != NULL && pm->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void RegisterHostClass()
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
    wc.lpszClassName = kClassName;
    registered = ::RegisterClassW(&wc) != 0;
}

// One host window serves every test: unmapping a shown window costs Wine seconds each time.
HWND SharedHostWindow(int cx, int cy)
{
    static HWND s_hWnd = NULL;
    if (s_hWnd == NULL || !::IsWindow(s_hWnd)) {
        RegisterHostClass();
        s_hWnd = ::CreateWindowExW(0, kClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 20, 20, cx, cy, NULL, NULL,
                                   ::GetModuleHandleW(NULL), NULL);
    }
    return s_hWnd;
}

} // namespace

void NativeHostTest::SetUp()
{
    m_hWnd = SharedHostWindow(kWidth, kHeight);
    ASSERT_TRUE(m_hWnd != NULL);
    m_pm = new CPaintManagerUI;
    m_pm->Init(m_hWnd);
    m_pm->AddNotifier(&m_notes);
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_pm));
}

void NativeHostTest::TearDown()
{
    // Native child windows go first, while their owners still exist.
    if (m_hWnd != NULL) {
        for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(m_hWnd, GW_CHILD)) {
            ::DestroyWindow(hChild);
        }
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    }
    delete m_pm;
    m_pm = NULL;
    m_hWnd = NULL;
    Pump();
}

CControlUI* NativeHostTest::Build(LPCWSTR pstrXml)
{
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(pstrXml, NULL, NULL, m_pm, NULL);
    if (pRoot == NULL) return NULL;
    m_pm->AttachDialog(pRoot);
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    ::SetFocus(m_hWnd);
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    ::UpdateWindow(m_hWnd);
    // The first layout focuses the first Tab stop; tests start with nothing focused.
    m_pm->SetFocus(NULL);
    Pump();
    return pRoot;
}

CControlUI* NativeHostTest::Find(LPCWSTR pstrName) const
{
    return m_pm->FindControl(pstrName);
}

void NativeHostTest::Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (CPaintManagerUI::TranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void NativeHostTest::Click(int x, int y)
{
    ::SendMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
}

void NativeHostTest::PressKey(HWND hWnd, UINT vk)
{
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hWnd, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
    Pump();
}

void NativeHostTest::Type(HWND hWnd, LPCWSTR pstrText)
{
    for (LPCWSTR p = pstrText; *p != L'\0'; ++p) ::PostMessageW(hWnd, WM_CHAR, *p, 1);
    Pump();
}

void NativeHostTest::PaintRoot(CDibCanvas& canvas)
{
    RECT rc = { 0, 0, canvas.GetWidth(), canvas.GetHeight() };
    m_pm->GetRoot()->DoPaint(canvas.GetDC(), rc);
}

} // namespace VeneerTest
