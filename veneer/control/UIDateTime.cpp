// CDateTimeUI and CDateTimeWnd: the date text, events, and the date picker's life over its owner.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIDateTime.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

CDateTimeWnd::CDateTimeWnd() : m_pOwner(NULL), m_hBkBrush(NULL), m_bInit(false), m_bCloseOnFocusLoss(false)
{
}

bool CDateTimeWnd::Init(CDateTimeUI* pOwner)
{
    m_pOwner = pOwner;
    m_pOwner->m_nDTUpdateFlag = CDateTimeUI::UPDATE_NONE;
    CPaintManagerUI* pManager = pOwner->GetManager();
    if (m_hWnd == NULL) {
        if (pManager == NULL || pManager->GetPaintWindow() == NULL) return false;
        INITCOMMONCONTROLSEX icc = { sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES };
        ::InitCommonControlsEx(&icc);
        if (Create(pManager->GetPaintWindow(), NULL, WS_CHILD, 0, pOwner->GetPos()) == NULL) return false;
        HFONT hFont = pManager->GetFontInfo(pOwner->GetFont())->hFont;
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    }
    if (pOwner->GetText().IsEmpty()) ::GetLocalTime(&pOwner->m_sysTime);
    SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&pOwner->m_sysTime));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
    return true;
}

LPCWSTR CDateTimeWnd::GetWindowClass() const
{
    return L"DateTimeWnd";
}

LPCWSTR CDateTimeWnd::GetSuperClassName() const
{
    return DATETIMEPICK_CLASSW;
}

void CDateTimeWnd::OnFinalMessage(HWND /*hWnd*/)
{
    if (m_hBkBrush != NULL) ::DeleteObject(m_hBkBrush);
    if (m_pOwner != NULL) {
        m_pOwner->m_pWindow = NULL;
        m_pOwner->Invalidate();
    }
    delete this;
}

LRESULT CDateTimeWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Without an owner (it is being destroyed) the window only winds down.
    if (m_pOwner == NULL) return CWindowWnd::HandleMessage(uMsg, wParam, lParam);

    if (uMsg == WM_KILLFOCUS) {
        const LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        if (m_pOwner->m_nDTUpdateFlag == CDateTimeUI::UPDATE_NONE) {
            SYSTEMTIME sysTime;
            if (SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&sysTime)) == GDT_VALID) {
                m_pOwner->m_sysTime = sysTime;
            }
            m_pOwner->m_nDTUpdateFlag = CDateTimeUI::UPDATE_DATE;
            m_pOwner->UpdateText();
        }
        m_bCloseOnFocusLoss = true;
        PostMessage(WM_CLOSE);
        return lRes;
    }
    if (uMsg == WM_CLOSE && m_bCloseOnFocusLoss) {
        m_bCloseOnFocusLoss = false;
        // Reopening took the focus back: the close posted when it was lost is stale.
        if (::GetFocus() == m_hWnd) return 0;
    }
    if (uMsg == WM_KEYUP && (wParam == VK_DELETE || wParam == VK_BACK)) {
        const LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        m_pOwner->m_nDTUpdateFlag = CDateTimeUI::UPDATE_CLEARED;
        m_pOwner->UpdateText();
        PostMessage(WM_CLOSE);
        return lRes;
    }
    if (uMsg == WM_KEYUP && wParam == VK_ESCAPE) {
        const LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        m_pOwner->m_nDTUpdateFlag = CDateTimeUI::UPDATE_CANCELLED;
        PostMessage(WM_CLOSE);
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

CDateTimeUI::CDateTimeUI() : m_nDTUpdateFlag(UPDATE_DATE), m_bReadOnly(false), m_pWindow(NULL)
{
    ::GetLocalTime(&m_sysTime);
    UpdateText();
    m_nDTUpdateFlag = UPDATE_NONE;
}

CDateTimeUI::~CDateTimeUI()
{
    // The picker must not outlive its owner: it would write into freed memory.
    if (m_pWindow != NULL) {
        CDateTimeWnd* pWindow = m_pWindow;
        m_pWindow = NULL;
        pWindow->m_pOwner = NULL;
        if (::IsWindow(pWindow->GetHWND())) ::DestroyWindow(pWindow->GetHWND());
        else delete pWindow;
    }
}

LPCWSTR CDateTimeUI::GetClass() const
{
    return L"DateTimeUI";
}

LPVOID CDateTimeUI::GetInterface(LPCWSTR pstrName)
{
    if (wcscmp(pstrName, L"DateTime") == 0) return static_cast<CDateTimeUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

UINT CDateTimeUI::GetControlFlags() const
{
    // A Tab stop that sets its own cursor, like the edit control, while it can be used.
    if (!IsEnabled()) return 0;
    return UIFLAG_SETCURSOR | UIFLAG_TABSTOP;
}

SYSTEMTIME& CDateTimeUI::GetTime()
{
    return m_sysTime;
}

void CDateTimeUI::SetTime(SYSTEMTIME* pst)
{
    if (pst == NULL) return;
    m_sysTime = *pst;
    Invalidate();
}

void CDateTimeUI::SetReadOnly(bool bReadOnly)
{
    m_bReadOnly = bReadOnly;
    Invalidate();
}

bool CDateTimeUI::IsReadOnly() const
{
    return m_bReadOnly;
}

int CDateTimeUI::GetUpdateState() const
{
    return m_nDTUpdateFlag;
}

HWND CDateTimeUI::GetNativeWindow() const
{
    return m_pWindow != NULL ? m_pWindow->GetHWND() : NULL;
}

void CDateTimeUI::UpdateText()
{
    if (m_nDTUpdateFlag == UPDATE_CLEARED) {
        SetText(L"");
    }
    else if (m_nDTUpdateFlag == UPDATE_DATE) {
        CUIString sText;
        sText.SmallFormat(L"%4d-%02d-%02d", m_sysTime.wYear, m_sysTime.wMonth, m_sysTime.wDay);
        SetText(sText);
    }
}

bool CDateTimeUI::OpenPicker()
{
    CDateTimeWnd* pWindow = m_pWindow;
    if (pWindow == NULL) {
        pWindow = new (std::nothrow) CDateTimeWnd;
        if (pWindow == NULL) return false;
        m_pWindow = pWindow;
    }
    if (!pWindow->Init(this)) {
        // No picker was made; one that got as far as its final message has deleted itself already.
        if (m_pWindow != NULL && pWindow->GetHWND() == NULL) {
            m_pWindow = NULL;
            delete pWindow;
        }
        return false;
    }
    return m_pWindow != NULL;
}

void CDateTimeUI::SetPos(RECT rc)
{
    CLabelUI::SetPos(rc);
    if (m_pWindow != NULL && m_pWindow->GetHWND() != NULL) {
        ::SetWindowPos(m_pWindow->GetHWND(), NULL, m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                       m_rcItem.bottom - m_rcItem.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CDateTimeUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > EVENT_MOUSEBEGIN && event.Type < EVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->DoEvent(event);
        else CLabelUI::DoEvent(event);
        return;
    }
    if (event.Type == EVENT_SETCURSOR && IsEnabled()) {
        ::SetCursor(::LoadCursorW(NULL, IDC_IBEAM));
        return;
    }
    if (event.Type == EVENT_WINDOWSIZE) {
        if (m_pWindow != NULL && m_pManager != NULL) m_pManager->SetFocusNeeded(this);
    }
    if (event.Type == EVENT_SCROLLWHEEL) {
        if (m_pWindow != NULL) return;
    }
    if (event.Type == EVENT_SETFOCUS && IsEnabled()) {
        m_bFocused = true;
        if (m_pWindow != NULL) return;
        OpenPicker();
        return;
    }
    if (event.Type == EVENT_KILLFOCUS && IsEnabled()) {
        m_bFocused = false;
        Invalidate();
        return;
    }
    if (event.Type == EVENT_BUTTONDOWN || event.Type == EVENT_DBLCLICK || event.Type == EVENT_RBUTTONDOWN) {
        if (IsEnabled()) {
            if (m_pManager != NULL) m_pManager->ReleaseCapture();
            if (IsFocused() || m_pWindow != NULL) OpenPicker();
        }
        return;
    }
    if (event.Type == EVENT_MOUSEMOVE || event.Type == EVENT_BUTTONUP || event.Type == EVENT_CONTEXTMENU ||
        event.Type == EVENT_MOUSEENTER || event.Type == EVENT_MOUSELEAVE) {
        return;
    }
    CLabelUI::DoEvent(event);
}

} // namespace Veneer
