// WindowImplBase: skin loading at creation, borderless frame behaviour, system buttons and key response.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIWindowImplBase.h"
#include "veneer/control/UIControl.h"

namespace Veneer {

LPBYTE WindowImplBase::m_lpResourceZIPBuffer = NULL;
DWORD WindowImplBase::m_dwResourceZIPSize = 0;
bool WindowImplBase::m_bResourceZIPCopied = false;

UI_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
UI_ON_MSGTYPE(L"click", &WindowImplBase::OnClick)
UI_END_MESSAGE_MAP()

namespace {

// The work area of the window's monitor, relative to the monitor's origin.
RECT MonitorWorkArea(HWND hWnd)
{
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    RECT rcWork = mi.rcWork;
    ::OffsetRect(&rcWork, -mi.rcMonitor.left, -mi.rcMonitor.top);
    return rcWork;
}

} // namespace

UINT WindowImplBase::GetClassStyle() const
{
    return CS_DBLCLKS;
}

UILIB_RESOURCETYPE WindowImplBase::GetResourceType() const
{
    return UILIB_FROM_FILE;
}

CUIString WindowImplBase::GetZIPFileName() const
{
    return CUIString();
}

UINT WindowImplBase::GetResourceID() const
{
    return 0;
}

CControlUI* WindowImplBase::CreateControl(LPCWSTR /*pstrClass*/)
{
    return NULL;
}

LONG WindowImplBase::GetStyle()
{
    LONG styleValue = ::GetWindowLongW(GetHWND(), GWL_STYLE);
    styleValue &= ~WS_CAPTION;
    return styleValue;
}

void WindowImplBase::OnClick(TNotifyUI& msg)
{
    if (msg.pSender == NULL) {
        return;
    }
    const CUIString& sName = msg.pSender->GetName();
    if (sName == L"closebtn") {
        Close(1);
    } else if (sName == L"minbtn") {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (sName == L"maxbtn") {
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (sName == L"restorebtn") {
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    }
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    NotifyPump(msg);
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_RETURN) {
        return 0;
    }
    if (wParam == VK_ESCAPE) {
        Close(1);
        return 1;
    }
    return 0;
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, bool& /*bHandled*/)
{
    // The key goes on its way after the response: handled is never set.
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        return ResponseDefaultKeyEvent(wParam);
    }
    return 0;
}

void WindowImplBase::OnFinalMessage(HWND /*hWnd*/)
{
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
    m_PaintManager.ReapObjects(m_PaintManager.GetRoot());
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (::IsIconic(GetHWND())) {
        bHandled = FALSE;
    }
    return (wParam == 0) ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& /*bHandled*/)
{
    // The first rectangle of NCCALCSIZE_PARAMS and the plain RECT share the same address.
    LPRECT pRect = wParam == TRUE ? &reinterpret_cast<LPNCCALCSIZE_PARAMS>(lParam)->rgrc[0]
                                  : reinterpret_cast<LPRECT>(lParam);
    if (::IsZoomed(GetHWND())) {
        RECT rcWork = MonitorWorkArea(GetHWND());
        pRect->right = pRect->left + (rcWork.right - rcWork.left);
        pRect->bottom = pRect->top + (rcWork.bottom - rcWork.top);
        return WVR_REDRAW;
    }
    return 0;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL& /*bHandled*/)
{
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL& /*bHandled*/)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(GetHWND(), &pt);

    RECT rcClient = {};
    ::GetClientRect(GetHWND(), &rcClient);

    if (!::IsZoomed(GetHWND())) {
        RECT rcSizeBox = m_PaintManager.ScaleRect(m_PaintManager.GetSizeBox());
        if (pt.y < rcClient.top + rcSizeBox.top) {
            if (pt.x < rcClient.left + rcSizeBox.left) {
                return HTTOPLEFT;
            }
            if (pt.x > rcClient.right - rcSizeBox.right) {
                return HTTOPRIGHT;
            }
            return HTTOP;
        } else if (pt.y > rcClient.bottom - rcSizeBox.bottom) {
            if (pt.x < rcClient.left + rcSizeBox.left) {
                return HTBOTTOMLEFT;
            }
            if (pt.x > rcClient.right - rcSizeBox.right) {
                return HTBOTTOMRIGHT;
            }
            return HTBOTTOM;
        }
        if (pt.x < rcClient.left + rcSizeBox.left) {
            return HTLEFT;
        }
        if (pt.x > rcClient.right - rcSizeBox.right) {
            return HTRIGHT;
        }
    }

    RECT rcCaption = m_PaintManager.ScaleRect(m_PaintManager.GetCaptionRect());
    if (pt.x >= rcClient.left + rcCaption.left && pt.x < rcClient.right - rcCaption.right &&
        pt.y >= rcCaption.top && pt.y < rcCaption.bottom) {
        CControlUI* pControl = m_PaintManager.FindControl(pt);
        // Buttons, options and text stay clickable; empty caption space does not drag.
        if (pControl != NULL && _wcsicmp(pControl->GetClass(), L"ButtonUI") != 0 &&
            _wcsicmp(pControl->GetClass(), L"OptionUI") != 0 && _wcsicmp(pControl->GetClass(), L"TextUI") != 0) {
            return HTCAPTION;
        }
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    LPMINMAXINFO lpMMI = reinterpret_cast<LPMINMAXINFO>(lParam);
    RECT rcWork = MonitorWorkArea(GetHWND());
    lpMMI->ptMaxPosition.x = rcWork.left;
    lpMMI->ptMaxPosition.y = rcWork.top;
    lpMMI->ptMaxTrackSize.x = rcWork.right - rcWork.left;
    lpMMI->ptMaxTrackSize.y = rcWork.bottom - rcWork.top;
    const SIZE szMin = m_PaintManager.ScaleSize(m_PaintManager.GetMinInfo());
    lpMMI->ptMinTrackSize.x = szMin.cx;
    lpMMI->ptMinTrackSize.y = szMin.cy;
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    SIZE szRoundCorner = m_PaintManager.ScaleSize(m_PaintManager.GetRoundCorner());
    if (!::IsIconic(GetHWND()) && (szRoundCorner.cx != 0 || szRoundCorner.cy != 0)) {
        RECT rcWnd = {};
        ::GetWindowRect(GetHWND(), &rcWnd);
        ::OffsetRect(&rcWnd, -rcWnd.left, -rcWnd.top);
        rcWnd.right++;
        rcWnd.bottom++;
        HRGN hRgn = ::CreateRoundRectRgn(rcWnd.left, rcWnd.top, rcWnd.right, rcWnd.bottom, szRoundCorner.cx,
                                         szRoundCorner.cy);
        // The window owns the region after SetWindowRgn succeeds; it is ours to delete only when it fails.
        if (hRgn != NULL && !::SetWindowRgn(GetHWND(), hRgn, TRUE)) {
            ::DeleteObject(hRgn);
        }
    }
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (wParam == SC_CLOSE) {
        bHandled = TRUE;
        SendMessage(WM_CLOSE);
        return 0;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& /*bHandled*/)
{
    LONG styleValue = ::GetWindowLongW(GetHWND(), GWL_STYLE);
    styleValue &= ~WS_CAPTION;
    ::SetWindowLongW(GetHWND(), GWL_STYLE, styleValue | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT rcClient = {};
    ::GetClientRect(GetHWND(), &rcClient);
    ::SetWindowPos(GetHWND(), NULL, rcClient.left, rcClient.top, rcClient.right - rcClient.left,
                   rcClient.bottom - rcClient.top, SWP_FRAMECHANGED);

    m_PaintManager.Init(GetHWND());
    m_PaintManager.AddPreMessageFilter(this);

    CUIString strResourcePath = CPaintManagerUI::GetInstancePath();
    strResourcePath += GetSkinDir();
    CPaintManagerUI::SetResourcePath(strResourcePath);

    switch (GetResourceType()) {
    case UILIB_FROM_ZIP:
        CPaintManagerUI::SetResourceZip(GetZIPFileName(), true);
        break;
    case UILIB_FROM_ZIPRESOURCE: {
        if (m_lpResourceZIPBuffer == NULL) {
            HINSTANCE hResource = CPaintManagerUI::GetResourceDll();
            HRSRC hResourceInfo = ::FindResourceW(hResource, MAKEINTRESOURCEW(GetResourceID()), L"ZIPRES");
            if (hResourceInfo == NULL) {
                return 0;
            }
            HGLOBAL hResourceData = ::LoadResource(hResource, hResourceInfo);
            if (hResourceData == NULL) {
                return 0;
            }
            DWORD dwSize = ::SizeofResource(hResource, hResourceInfo);
            const void* pData = ::LockResource(hResourceData);
            if (dwSize == 0 || pData == NULL) {
                ::FreeResource(hResourceData);
                return 0;
            }
            if (hResource == NULL || hResource == ::GetModuleHandleW(NULL)) {
                // The program's own resources stay mapped until it ends and are only read: the archive
                // reads them in place rather than from a private copy of its whole size.
                m_lpResourceZIPBuffer = static_cast<LPBYTE>(const_cast<void*>(pData));
                m_bResourceZIPCopied = false;
            }
            else {
                // A resource library may be freed while windows are still to be made from its archive.
                m_lpResourceZIPBuffer = new (std::nothrow) BYTE[dwSize];
                if (m_lpResourceZIPBuffer == NULL) {
                    ::FreeResource(hResourceData);
                    return 0;
                }
                ::CopyMemory(m_lpResourceZIPBuffer, pData, dwSize);
                m_bResourceZIPCopied = true;
            }
            m_dwResourceZIPSize = dwSize;
            ::FreeResource(hResourceData);
        }
        CPaintManagerUI::SetResourceZip(m_lpResourceZIPBuffer, m_dwResourceZIPSize);
    } break;
    case UILIB_FROM_FILE:
    case UILIB_FROM_RESOURCE:
    default:
        break;
    }

    CControlUI* pRoot = NULL;
    CDialogBuilder builder;
    if (GetResourceType() == UILIB_FROM_RESOURCE) {
        UINT id = static_cast<UINT>(_wtoi(GetSkinXml()));
        pRoot = builder.Create(STRINGorID(id), L"xml", this, &m_PaintManager);
    } else {
        CUIString sSkinXml = GetSkinXml();
        pRoot = builder.Create(STRINGorID(sSkinXml.GetData()), NULL, this, &m_PaintManager);
    }
    if (pRoot == NULL) {
        ::MessageBoxW(NULL, L"加载资源文件失败", L"Veneer", MB_OK | MB_ICONERROR);
        ::ExitProcess(1);
        return -1;
    }
    m_PaintManager.AttachDialog(pRoot);
    m_PaintManager.AddNotifier(this);

    InitWindow();
    return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnErasebkgnd(UINT, WPARAM, LPARAM, BOOL& /*bHandled*/)
{
    return 1;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    BOOL bHandled = TRUE;
    switch (uMsg) {
    case WM_CREATE: lRes = OnCreate(uMsg, wParam, lParam, bHandled); break;
    case WM_CLOSE: lRes = OnClose(uMsg, wParam, lParam, bHandled); break;
    case WM_DESTROY: lRes = OnDestroy(uMsg, wParam, lParam, bHandled); break;
    case WM_NCACTIVATE: lRes = OnNcActivate(uMsg, wParam, lParam, bHandled); break;
    case WM_NCCALCSIZE: lRes = OnNcCalcSize(uMsg, wParam, lParam, bHandled); break;
    case WM_NCPAINT: lRes = OnNcPaint(uMsg, wParam, lParam, bHandled); break;
    case WM_NCHITTEST: lRes = OnNcHitTest(uMsg, wParam, lParam, bHandled); break;
    case WM_GETMINMAXINFO: lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEWHEEL: lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled); break;
    case WM_SIZE: lRes = OnSize(uMsg, wParam, lParam, bHandled); break;
    case WM_CHAR: lRes = OnChar(uMsg, wParam, lParam, bHandled); break;
    case WM_SYSCOMMAND: lRes = OnSysCommand(uMsg, wParam, lParam, bHandled); break;
    case WM_KEYDOWN: lRes = OnKeyDown(uMsg, wParam, lParam, bHandled); break;
    case WM_KILLFOCUS: lRes = OnKillFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_SETFOCUS: lRes = OnSetFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONUP: lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled); break;
    case WM_LBUTTONDOWN: lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEMOVE: lRes = OnMouseMove(uMsg, wParam, lParam, bHandled); break;
    case WM_ERASEBKGND: lRes = OnErasebkgnd(uMsg, wParam, lParam, bHandled); break;
    default: bHandled = FALSE; break;
    }
    if (bHandled) {
        return lRes;
    }

    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) {
        return lRes;
    }

    if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

} // namespace Veneer
