// CPaintManagerUI: window messages to control events, pre-translation, the message loop and message names.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"
#include "veneer/control/UIControl.h"

namespace Veneer {

namespace {

// What the shortcut walk looks for, and whether the next control is the one.
struct ShortcutSearchState
{
    wchar_t ch;
    bool bPickNext;
};

// Modifier and button flags of the keyboard state, as key, wheel and cursor events carry them.
WORD KeyState()
{
    WORD wState = 0;
    if (::GetKeyState(VK_CONTROL) < 0) wState |= MK_CONTROL;
    if (::GetKeyState(VK_LBUTTON) < 0) wState |= MK_LBUTTON;
    if (::GetKeyState(VK_RBUTTON) < 0) wState |= MK_RBUTTON;
    if (::GetKeyState(VK_SHIFT) < 0) wState |= MK_SHIFT;
    if (::GetKeyState(VK_MENU) < 0) wState |= UIKEYSTATE_ALT;
    return wState;
}

const UINT kWmDpiChanged = 0x02E0;

POINT PointFromLParam(LPARAM lParam)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return pt;
}

// An event stamped now; every field not given stays zero.
TEventUI MakeEvent(int type, CControlUI* pSender, POINT ptMouse)
{
    TEventUI event = {};
    event.Type = type;
    event.pSender = pSender;
    event.ptMouse = ptMouse;
    event.dwTimestamp = ::GetTickCount();
    return event;
}

// A key, character or system-key event: no sender, the key and the keyboard's modifier state.
TEventUI MakeKeyEvent(int type, WPARAM wParam, POINT ptMouse)
{
    TEventUI event = MakeEvent(type, NULL, ptMouse);
    event.chKey = static_cast<wchar_t>(wParam);
    event.wKeyState = KeyState();
    return event;
}

// A button event: the message's parameters, with the button and modifier flags of its wParam.
TEventUI MakeButtonEvent(int type, CControlUI* pSender, POINT ptMouse, WPARAM wParam, LPARAM lParam)
{
    TEventUI event = MakeEvent(type, pSender, ptMouse);
    event.wParam = wParam;
    event.lParam = lParam;
    event.wKeyState = static_cast<WORD>(wParam);
    return event;
}

} // namespace

CControlUI* CALLBACK CPaintManagerUI::FindControlFromShortcut(CControlUI* pThis, LPVOID pData)
{
    if (!pThis->IsVisible()) return NULL;
    ShortcutSearchState* pFS = static_cast<ShortcutSearchState*>(pData);
    if (pFS->ch == static_cast<wchar_t>(::towupper(pThis->GetShortcut()))) pFS->bPickNext = true;
    // A label's shortcut hands the focus on to the control after it.
    if (wcsstr(pThis->GetClass(), L"LabelUI") != NULL) return NULL;
    return pFS->bPickNext ? pThis : NULL;
}

void CPaintManagerUI::ShowTooltip(CControlUI* pHover, POINT /*pt*/)
{
    ::ZeroMemory(&m_ToolTip, sizeof(TOOLINFOW));
    m_ToolTip.cbSize = sizeof(TOOLINFOW);
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = m_hInstance;
    m_sToolTipText = pHover->GetToolTip();
    m_ToolTip.lpszText = const_cast<LPWSTR>(m_sToolTipText.GetData());
    m_ToolTip.rect = pHover->GetPos();
    if (m_hwndTooltip == NULL) {
        // The common controls are loaded when first needed, not with every window.
        INITCOMMONCONTROLSEX icc = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_hwndTooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, NULL, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint,
                                          NULL, m_hInstance, NULL);
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, ScaleValue(pHover->GetToolTipWidth()));
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (m_hWndPaint == NULL) return false;

    // A message that arrives while a layout runs (sent from a size hook, or a nested message loop)
    // must find the areas collected so far already invalidated, a WM_PAINT above all.
    FlushPendingInvalidate();
    FlushAsyncNotify();

    for (int i = 0; i < m_aMessageFilters.GetSize(); i++) {
        bool bHandled = false;
        LRESULT lResult = static_cast<IMessageFilterUI*>(m_aMessageFilters[i])
                              ->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }

    switch (uMsg) {
    case WM_APP + 1:
        ProcessDelayedCleanup();
        break;
    case WM_CLOSE: {
        TEventUI event = MakeEvent(0, NULL, m_ptLastMousePos);
        if (m_pEventHover != NULL) {
            event.Type = EVENT_MOUSELEAVE;
            event.pSender = m_pEventHover;
            m_pEventHover->Event(event);
        }
        if (m_pEventClick != NULL) {
            event.Type = EVENT_BUTTONUP;
            event.pSender = m_pEventClick;
            m_pEventClick->Event(event);
        }
        SetFocus(NULL);
        HWND hwndParent = ::GetWindow(m_hWndPaint, GW_OWNER);
        if (hwndParent != NULL) ::SetFocus(hwndParent);
    } break;
    case WM_ERASEBKGND:
        lRes = 1;
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_PRINTCLIENT:
        PrintClient(reinterpret_cast<HDC>(wParam), lParam);
        break;
    case WM_GETMINMAXINFO: {
        LPMINMAXINFO lpMMI = reinterpret_cast<LPMINMAXINFO>(lParam);
        if (m_szMinWindow.cx > 0) lpMMI->ptMinTrackSize.x = ScaleValue(m_szMinWindow.cx);
        if (m_szMinWindow.cy > 0) lpMMI->ptMinTrackSize.y = ScaleValue(m_szMinWindow.cy);
        if (m_szMaxWindow.cx > 0) lpMMI->ptMaxTrackSize.x = ScaleValue(m_szMaxWindow.cx);
        if (m_szMaxWindow.cy > 0) lpMMI->ptMaxTrackSize.y = ScaleValue(m_szMaxWindow.cy);
    } break;
    case kWmDpiChanged:
        OnDPIChanged(wParam, lParam);
        lRes = 0;
        return true;
    case WM_SIZE: {
        if (m_pFocus != NULL) {
            const POINT ptNone = {0, 0};
            TEventUI event = MakeEvent(EVENT_WINDOWSIZE, m_pFocus, ptNone);
            m_pFocus->Event(event);
        }
        if (m_pRoot != NULL) m_pRoot->NeedUpdate();
    }
        return true;
    case WM_TIMER:
        FireTimer(LOWORD(wParam));
        break;
    case WM_MOUSEHOVER: {
        m_bMouseTracking = false;
        POINT pt = PointFromLParam(lParam);
        CControlUI* pHover = FindControl(pt);
        if (pHover == NULL) break;
        if (m_pEventHover != NULL) {
            TEventUI event = MakeEvent(EVENT_MOUSEHOVER, m_pEventHover, pt);
            m_pEventHover->Event(event);
        }
        if (pHover->GetToolTip().IsEmpty()) return true;
        ShowTooltip(pHover, pt);
    }
        return true;
    case WM_MOUSELEAVE: {
        if (m_hwndTooltip != NULL) {
            ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
        }
        // A point far outside clears the hover state.
        if (m_bMouseTracking) ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
        m_bMouseTracking = false;
    } break;
    case WM_MOUSEMOVE: {
        if (!m_bMouseTracking) {
            TRACKMOUSEEVENT tme = {};
            tme.cbSize = sizeof(TRACKMOUSEEVENT);
            tme.dwFlags = TME_HOVER | TME_LEAVE;
            tme.hwndTrack = m_hWndPaint;
            tme.dwHoverTime = m_hwndTooltip == NULL
                                  ? 400UL
                                  : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
            ::TrackMouseEvent(&tme);
            m_bMouseTracking = true;
        }
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        CControlUI* pNewHover = FindControl(pt);
        if (pNewHover != NULL && pNewHover->GetManager() != this) break;
        // One record for every event of this move: they share the timestamp.
        TEventUI event = MakeEvent(0, NULL, pt);
        if (pNewHover != m_pEventHover && m_pEventHover != NULL) {
            event.Type = EVENT_MOUSELEAVE;
            event.pSender = m_pEventHover;
            CControlUI* pOldHover = m_pEventHover;
            m_pEventHover = NULL;
            pOldHover->Event(event);
            if (m_hwndTooltip != NULL) {
                ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
            }
        }
        if (pNewHover != m_pEventHover && pNewHover != NULL) {
            event.Type = EVENT_MOUSEENTER;
            event.pSender = pNewHover;
            pNewHover->Event(event);
            m_pEventHover = pNewHover;
        }
        if (m_pEventClick != NULL) {
            event.Type = EVENT_MOUSEMOVE;
            event.pSender = m_pEventClick;
            m_pEventClick->Event(event);
        } else if (pNewHover != NULL) {
            event.Type = EVENT_MOUSEMOVE;
            event.pSender = pNewHover;
            pNewHover->Event(event);
        }
    } break;
    case WM_LBUTTONDOWN: {
        ::SetFocus(m_hWndPaint);
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        CControlUI* pControl = FindControl(pt);
        if (pControl == NULL || pControl->GetManager() != this) break;
        m_pEventClick = pControl;
        pControl->SetFocus();
        SetCapture();
        TEventUI event = MakeButtonEvent(EVENT_BUTTONDOWN, pControl, pt, wParam, lParam);
        pControl->Event(event);
    } break;
    case WM_LBUTTONDBLCLK: {
        ::SetFocus(m_hWndPaint);
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        CControlUI* pControl = FindControl(pt);
        if (pControl == NULL || pControl->GetManager() != this) break;
        SetCapture();
        TEventUI event = MakeEvent(EVENT_DBLCLICK, pControl, pt);
        event.wKeyState = static_cast<WORD>(wParam);
        pControl->Event(event);
        m_pEventClick = pControl;
    } break;
    case WM_LBUTTONUP: {
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        if (m_pEventClick == NULL) break;
        ReleaseCapture();
        TEventUI event = MakeButtonEvent(EVENT_BUTTONUP, m_pEventClick, pt, wParam, lParam);
        // Cleared first: the handler may close the window or replace the tree.
        CControlUI* pClick = m_pEventClick;
        m_pEventClick = NULL;
        pClick->Event(event);
    } break;
    case WM_RBUTTONDOWN: {
        ::SetFocus(m_hWndPaint);
        POINT pt = PointFromLParam(lParam);
        m_ptLastMousePos = pt;
        CControlUI* pControl = FindControl(pt);
        if (pControl == NULL || pControl->GetManager() != this) break;
        pControl->SetFocus();
        SetCapture();
        TEventUI event = MakeButtonEvent(EVENT_RBUTTONDOWN, pControl, pt, wParam, lParam);
        pControl->Event(event);
        m_pEventClick = pControl;
    } break;
    case WM_CONTEXTMENU: {
        POINT pt = PointFromLParam(lParam);
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        if (m_pEventClick == NULL) break;
        ReleaseCapture();
        TEventUI event = MakeEvent(EVENT_CONTEXTMENU, m_pEventClick, pt);
        event.wKeyState = static_cast<WORD>(wParam);
        event.lParam = reinterpret_cast<LPARAM>(m_pEventClick);
        CControlUI* pClick = m_pEventClick;
        m_pEventClick = NULL;
        pClick->Event(event);
    } break;
    case WM_MOUSEWHEEL: {
        POINT pt = PointFromLParam(lParam);
        ::ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        CControlUI* pControl = FindControl(pt);
        if (pControl == NULL || pControl->GetManager() != this) break;
        int zDelta = static_cast<short>(HIWORD(wParam));
        // The point is left out: a wheel event carries none.
        const POINT ptNone = {0, 0};
        TEventUI event = MakeEvent(EVENT_SCROLLWHEEL, pControl, ptNone);
        event.wParam = zDelta < 0 ? SB_LINEDOWN : SB_LINEUP;
        event.lParam = lParam;
        event.wKeyState = KeyState();
        pControl->Event(event);
        // Hover follows content that scrolled under the cursor.
        ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
    } break;
    case WM_SETCURSOR: {
        if (LOWORD(lParam) != HTCLIENT) break;
        if (m_bMouseCapture) return true;
        POINT pt = {};
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_hWndPaint, &pt);
        CControlUI* pControl = FindControl(pt);
        if (pControl == NULL) break;
        if ((pControl->GetControlFlags() & UIFLAG_SETCURSOR) == 0) break;
        TEventUI event = MakeEvent(EVENT_SETCURSOR, NULL, pt);
        event.wParam = wParam;
        event.lParam = lParam;
        event.wKeyState = KeyState();
        pControl->Event(event);
    }
        return true;
    case WM_KEYDOWN: {
        if (m_pFocus == NULL) break;
        TEventUI event = MakeKeyEvent(EVENT_KEYDOWN, wParam, m_ptLastMousePos);
        m_pFocus->Event(event);
        m_pEventKey = m_pFocus;
    } break;
    case WM_KEYUP: {
        if (m_pEventKey == NULL) break;
        TEventUI event = MakeKeyEvent(EVENT_KEYUP, wParam, m_ptLastMousePos);
        CControlUI* pKey = m_pEventKey;
        m_pEventKey = NULL;
        pKey->Event(event);
    } break;
    case WM_CHAR: {
        if (m_pFocus == NULL) break;
        TEventUI event = MakeKeyEvent(EVENT_CHAR, wParam, m_ptLastMousePos);
        m_pFocus->Event(event);
    } break;
    case WM_NOTIFY: {
        LPNMHDR lpNMHDR = reinterpret_cast<LPNMHDR>(lParam);
        if (lpNMHDR != NULL) lRes = ::SendMessageW(lpNMHDR->hwndFrom, OCM__BASE + uMsg, wParam, lParam);
    }
        return true;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        if (lParam == 0) break;
        HWND hWndChild = reinterpret_cast<HWND>(lParam);
        lRes = ::SendMessageW(hWndChild, OCM__BASE + uMsg, wParam, lParam);
    }
        return true;
    default:
        break;
    }

    FlushAsyncNotify();
    return false;
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& /*lRes*/)
{
    for (int i = 0; i < m_aPreMessageFilters.GetSize(); i++) {
        bool bHandled = false;
        static_cast<IMessageFilterUI*>(m_aPreMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) return true;
    }
    switch (uMsg) {
    case WM_KEYDOWN: {
        if (wParam != VK_TAB) return false;
        // A rich edit keeps its Tab keys; every other focus moves on.
        if (m_pFocus != NULL && m_pFocus->IsVisible() && m_pFocus->IsEnabled() &&
            wcsstr(m_pFocus->GetClass(), L"RichEditUI") != NULL) {
            return false;
        }
        SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    case WM_SYSCHAR: {
        if (m_pRoot == NULL) return false;
        ShortcutSearchState fs = {static_cast<wchar_t>(::towupper(static_cast<wint_t>(wParam))), false};
        CControlUI* pControl =
            m_pRoot->FindControl(FindControlFromShortcut, &fs, FIND_ENABLED | FIND_SELF_FIRST | FIND_TOP_FIRST);
        if (pControl != NULL) {
            pControl->SetFocus();
            pControl->Activate();
            return true;
        }
    } break;
    case WM_SYSKEYDOWN: {
        if (m_pFocus != NULL) {
            TEventUI event = MakeKeyEvent(EVENT_SYSKEY, wParam, m_ptLastMousePos);
            m_pFocus->Event(event);
        }
    } break;
    default:
        break;
    }
    return false;
}

bool CPaintManagerUI::TranslateMessage(const LPMSG pMsg)
{
    UINT uStyle = static_cast<UINT>(::GetWindowLongW(pMsg->hwnd, GWL_STYLE));
    LRESULT lRes = 0;
    if ((uStyle & WS_CHILD) != 0) {
        for (int i = m_aPreMessages.GetSize() - 1; i >= 0; i--) {
            CPaintManagerUI* pT = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
            if (pT == NULL) continue;
            HWND hTempParent = pMsg->hwnd;
            while ((hTempParent = ::GetParent(hTempParent)) != NULL) {
                if (pMsg->hwnd == pT->GetPaintWindow() || hTempParent == pT->GetPaintWindow()) {
                    if (pT->TranslateAccelerator(pMsg)) return true;
                    pT->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
                    // Once per manager: a deeper window would otherwise see one Tab move twice.
                    break;
                }
            }
        }
        return false;
    }
    for (int i = 0; i < m_aPreMessages.GetSize(); i++) {
        CPaintManagerUI* pT = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
        if (pT == NULL || pMsg->hwnd != pT->GetPaintWindow()) continue;
        if (pT->TranslateAccelerator(pMsg)) return true;
        return pT->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
    }
    return false;
}

void CPaintManagerUI::MessageLoop()
{
    MSG msg = {};
    while (::GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (CPaintManagerUI::TranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        // A handler that throws must not end the program's loop.
        try {
            ::DispatchMessageW(&msg);
        } catch (...) {
        }
    }
}

// ---- debugging -------------------------------------------------------------------------------

void UI__Trace(LPCWSTR /*pstrFormat*/, ...)
{
}

LPCWSTR UI__TraceMsg(UINT uMsg)
{
#define MSGDEF(x) \
    case x: return L"" #x
    switch (uMsg) {
        MSGDEF(WM_SETCURSOR);
        MSGDEF(WM_NCHITTEST);
        MSGDEF(WM_NCPAINT);
        MSGDEF(WM_PAINT);
        MSGDEF(WM_ERASEBKGND);
        MSGDEF(WM_NCMOUSEMOVE);
        MSGDEF(WM_MOUSEMOVE);
        MSGDEF(WM_MOUSELEAVE);
        MSGDEF(WM_MOUSEHOVER);
        MSGDEF(WM_NOTIFY);
        MSGDEF(WM_COMMAND);
        MSGDEF(WM_MEASUREITEM);
        MSGDEF(WM_DRAWITEM);
        MSGDEF(WM_LBUTTONDOWN);
        MSGDEF(WM_LBUTTONUP);
        MSGDEF(WM_LBUTTONDBLCLK);
        MSGDEF(WM_RBUTTONDOWN);
        MSGDEF(WM_RBUTTONUP);
        MSGDEF(WM_SETFOCUS);
        MSGDEF(WM_KILLFOCUS);
        MSGDEF(WM_MOVE);
        MSGDEF(WM_SIZE);
        MSGDEF(WM_SIZING);
        MSGDEF(WM_MOVING);
        MSGDEF(WM_GETMINMAXINFO);
        MSGDEF(WM_CAPTURECHANGED);
        MSGDEF(WM_WINDOWPOSCHANGED);
        MSGDEF(WM_WINDOWPOSCHANGING);
        MSGDEF(WM_NCCALCSIZE);
        MSGDEF(WM_NCCREATE);
        MSGDEF(WM_NCDESTROY);
        MSGDEF(WM_TIMER);
        MSGDEF(WM_KEYDOWN);
        MSGDEF(WM_KEYUP);
        MSGDEF(WM_CHAR);
        MSGDEF(WM_SYSKEYDOWN);
        MSGDEF(WM_SYSKEYUP);
        MSGDEF(WM_SYSCOMMAND);
        MSGDEF(WM_SYSCHAR);
        MSGDEF(WM_VSCROLL);
        MSGDEF(WM_HSCROLL);
        MSGDEF(WM_CTLCOLOREDIT);
        MSGDEF(WM_CTLCOLORSTATIC);
        MSGDEF(WM_CONTEXTMENU);
        MSGDEF(WM_MOUSEWHEEL);
        MSGDEF(WM_CREATE);
        MSGDEF(WM_DESTROY);
        MSGDEF(WM_CLOSE);
        MSGDEF(WM_SHOWWINDOW);
        MSGDEF(WM_ACTIVATE);
        MSGDEF(WM_ACTIVATEAPP);
        MSGDEF(WM_NCACTIVATE);
        MSGDEF(WM_MOUSEACTIVATE);
        MSGDEF(WM_GETTEXT);
        MSGDEF(WM_GETTEXTLENGTH);
        MSGDEF(WM_SETTEXT);
        MSGDEF(WM_GETICON);
        MSGDEF(WM_SETICON);
        MSGDEF(WM_GETFONT);
        MSGDEF(WM_SETFONT);
        MSGDEF(WM_PRINTCLIENT);
        MSGDEF(WM_QUIT);
    }
#undef MSGDEF
    static wchar_t szMsg[16];
    _snwprintf(szMsg, lengthof(szMsg) - 1, L"0x%04X", uMsg);
    szMsg[lengthof(szMsg) - 1] = L'\0';
    return szMsg;
}

} // namespace Veneer
