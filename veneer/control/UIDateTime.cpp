// CDateTimeUI and CDateTimeWnd: the date text, events, and the date picker's life over its owner.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIDateTime.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

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

void CDateTimeWnd::OnFocusLost()
{
    if (m_pOwner->m_nDTUpdateFlag != CDateTimeUI::UPDATE_NONE) return;
    SYSTEMTIME sysTime;
    if (SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&sysTime)) == GDT_VALID) {
        m_pOwner->m_sysTime = sysTime;
    }
    m_pOwner->m_nDTUpdateFlag = CDateTimeUI::UPDATE_DATE;
    m_pOwner->UpdateText();
}

LRESULT CDateTimeWnd::HandleOwnedMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
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

CDateTimeUI::CDateTimeUI() : m_nDTUpdateFlag(UPDATE_DATE), m_bReadOnly(false)
{
    ::GetLocalTime(&m_sysTime);
    UpdateText();
    m_nDTUpdateFlag = UPDATE_NONE;
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

void CDateTimeUI::OnNativeClick(const TEventUI& /*event*/)
{
    if (m_pWindow != NULL) m_pWindow->Init(this);
    else OpenNativeWindow();
}

void CDateTimeUI::DoEvent(TEventUI& event)
{
    if (DoNativeEvent(event)) return;
    if (event.Type == EVENT_MOUSEENTER || event.Type == EVENT_MOUSELEAVE) return;
    CLabelUI::DoEvent(event);
}

} // namespace Veneer
