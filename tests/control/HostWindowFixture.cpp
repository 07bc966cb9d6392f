// The host-window fixture: OLE set-up, the routing window, skin building and message pumping.
#include "HostWindowFixture.h"

using namespace Veneer;

namespace HostTest {

namespace {

const wchar_t kHostClass[] = L"VeneerHostTestWnd";

// Routes every message through the paint manager, as a skinned window does.
LRESULT CALLBACK HostWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CPaintManagerUI* pm = reinterpret_cast<CPaintManagerUI*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    LRESULT lRes = 0;
    if (pm != NULL && pm->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

} // namespace

void CNotes::Notify(TNotifyUI& msg)
{
    types.push_back(std::wstring(msg.sType));
}

int CNotes::Count(const wchar_t* type) const
{
    int n = 0;
    for (const std::wstring& t : types)
        if (t == type) ++n;
    return n;
}

void HostWindowTest::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(NULL)));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = kHostClass;
    ::RegisterClassW(&wc);
    m_hWnd = ::CreateWindowExW(0, kHostClass, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 400, 300, NULL, NULL,
                               ::GetModuleHandleW(NULL), NULL);
    ASSERT_TRUE(m_hWnd != NULL);
    m_pm = new CPaintManagerUI;
    m_pm->Init(m_hWnd);
    m_pm->AddNotifier(&m_notes);
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_pm));
}

void HostWindowTest::TearDown()
{
    if (m_hWnd != NULL) ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    delete m_pm;
    m_pm = NULL;
    if (m_hWnd != NULL) ::DestroyWindow(m_hWnd);
    m_hWnd = NULL;
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
    }
    ::OleUninitialize();
}

CControlUI* HostWindowTest::Build(const std::wstring& children)
{
    std::wstring xml = L"<Window><VerticalLayout>" + children + L"</VerticalLayout></Window>";
    CDialogBuilder builder;
    CControlUI* root = builder.Create(xml.c_str(), NULL, NULL, m_pm);
    if (root != NULL) m_pm->AttachDialog(root);
    return root;
}

void HostWindowTest::Layout(CControlUI* root, int cx, int cy)
{
    RECT rc = { 0, 0, cx, cy };
    root->SetPos(rc);
}

void HostWindowTest::Pump(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (ms != 0) ::MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - start < ms);
}

HWND HostWindowTest::ChildOfClass(const wchar_t* cls)
{
    return ::FindWindowExW(m_hWnd, NULL, cls, NULL);
}

} // namespace HostTest
