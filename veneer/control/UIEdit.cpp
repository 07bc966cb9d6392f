// CEditUI and CEditWnd: attributes, events, painting, and the native edit window's life over its owner.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIEdit.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderUtil.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

namespace {

// Reflected messages as the paint manager forwards them to native child windows.
const UINT kReflectBase = WM_USER + 0x1C00;
const UINT kReflectCommand = kReflectBase + WM_COMMAND;
const UINT kReflectColorEdit = kReflectBase + WM_CTLCOLOREDIT;
const UINT kReflectColorStatic = kReflectBase + WM_CTLCOLORSTATIC;

const DWORD kSystemColors = 0xFFFFFFFF;

} // namespace

bool CEditWnd::Init(CEditUI* pOwner)
{
    m_pOwner = pOwner;
    CPaintManagerUI* pManager = pOwner->GetManager();
    if (pManager == NULL || pManager->GetPaintWindow() == NULL) return false;
    RECT rcPos = CalPos();
    DWORD dwStyle = WS_CHILD | ES_AUTOHSCROLL;
    if (pOwner->IsPasswordMode()) dwStyle |= ES_PASSWORD;
    if (Create(pManager->GetPaintWindow(), NULL, dwStyle, 0, rcPos) == NULL) return false;

    // GetFont falls back to the default font for -1 and for indexes without a font.
    HFONT hFont = pManager->GetFont(pOwner->GetFont());
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    SendMessage(EM_LIMITTEXT, pOwner->GetMaxChar());
    if (pOwner->IsPasswordMode()) SendMessage(EM_SETPASSWORDCHAR, pOwner->GetPasswordChar());
    ::SetWindowTextW(m_hWnd, pOwner->GetText());
    SendMessage(EM_SETMODIFY, FALSE);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    ::EnableWindow(m_hWnd, pOwner->IsEnabled() ? TRUE : FALSE);
    SendMessage(EM_SETREADONLY, pOwner->IsReadOnly() ? TRUE : FALSE);
    const LONG lStyle = ::GetWindowLongW(m_hWnd, GWL_STYLE) | pOwner->GetWindowStyls();
    ::SetWindowLongW(m_hWnd, GWL_STYLE, lStyle);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
    return true;
}

RECT CEditWnd::CalPos()
{
    RECT rcPos = m_pOwner->GetPos();
    CPaintManagerUI* pManager = m_pOwner->GetManager();
    if (pManager == NULL) return rcPos;
    const RECT rcPadding = pManager->ScaleRect(m_pOwner->GetTextPadding());
    rcPos.left += rcPadding.left;
    rcPos.top += rcPadding.top;
    rcPos.right -= rcPadding.right;
    rcPos.bottom -= rcPadding.bottom;
    const LONG lFontHeight = pManager->GetFontInfo(m_pOwner->GetFont())->tm.tmHeight;
    if (lFontHeight < rcPos.bottom - rcPos.top) {
        rcPos.top += (rcPos.bottom - rcPos.top - lFontHeight) / 2;
        rcPos.bottom = rcPos.top + lFontHeight;
    }
    return rcPos;
}

LPCWSTR CEditWnd::GetWindowClass() const
{
    return L"EditWnd";
}

LPCWSTR CEditWnd::GetSuperClassName() const
{
    return WC_EDITW;
}

LRESULT CEditWnd::HandleOwnedMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case kReflectCommand:
        if (HIWORD(wParam) == EN_CHANGE) return OnEditChanged();
        if (HIWORD(wParam) == EN_UPDATE) {
            ::InvalidateRect(m_hWnd, NULL, FALSE);
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            m_pOwner->GetManager()->SendNotify(m_pOwner, L"return");
            return 0;
        }
        break;
    case kReflectColorEdit:
    case kReflectColorStatic:
        return OnCtlColor(reinterpret_cast<HDC>(wParam));
    default:
        break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CEditWnd::OnEditChanged()
{
    // The text set while opening is the owner's own: no change to report.
    if (!m_bInit) return 0;
    const int cchLen = ::GetWindowTextLengthW(m_hWnd) + 1;
    wchar_t* pstr = new (std::nothrow) wchar_t[cchLen];
    if (pstr == NULL) return 0;
    ::GetWindowTextW(m_hWnd, pstr, cchLen);
    m_pOwner->m_sText = pstr;
    delete[] pstr;
    m_pOwner->GetManager()->SendNotify(m_pOwner, L"textchanged");
    return 0;
}

LRESULT CEditWnd::OnCtlColor(HDC hDC)
{
    const DWORD dwBkColor = m_pOwner->GetNativeEditBkColor();
    if (dwBkColor == kSystemColors) return 0;
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, RenderUtil::ToColorRef(m_pOwner->GetTextColor()));
    if (m_hBkBrush == NULL) m_hBkBrush = ::CreateSolidBrush(RenderUtil::ToColorRef(dwBkColor));
    return reinterpret_cast<LRESULT>(m_hBkBrush);
}

CEditUI::CEditUI()
    : m_uMaxChar(255),
      m_bReadOnly(false),
      m_bPasswordMode(false),
      m_cPasswordChar(L'*'),
      m_uButtonState(0),
      m_dwEditbkColor(kSystemColors),
      m_iWindowStyls(0)
{
    const RECT rcPadding = { 4, 3, 4, 3 };
    SetTextPadding(rcPadding);
    SetBkColor(0xFFFFFFFF);
}

LPCWSTR CEditUI::GetClass() const
{
    return L"EditUI";
}

LPVOID CEditUI::GetInterface(LPCWSTR pstrName)
{
    if (wcscmp(pstrName, L"Edit") == 0) return static_cast<CEditUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

void CEditUI::SetText(LPCWSTR pstrText)
{
    CLabelUI::SetText(pstrText);
    if (m_pWindow != NULL) ::SetWindowTextW(m_pWindow->GetHWND(), pstrText);
}

void CEditUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CEditUI::SetVisible(bool bVisible)
{
    CLabelUI::SetVisible(bVisible);
    if (!IsVisible() && m_pWindow != NULL && m_pManager != NULL) m_pManager->SetFocus(NULL);
}

void CEditUI::SetInternVisible(bool bVisible)
{
    CLabelUI::SetInternVisible(bVisible);
    if (!IsVisible() && m_pWindow != NULL && m_pManager != NULL) m_pManager->SetFocus(NULL);
}

void CEditUI::SetMaxChar(UINT uMax)
{
    m_uMaxChar = uMax;
    if (m_pWindow != NULL) m_pWindow->SendMessage(EM_LIMITTEXT, m_uMaxChar);
}

UINT CEditUI::GetMaxChar() const
{
    return m_uMaxChar;
}

void CEditUI::SetReadOnly(bool bReadOnly)
{
    if (m_bReadOnly == bReadOnly) return;
    m_bReadOnly = bReadOnly;
    if (m_pWindow != NULL) m_pWindow->SendMessage(EM_SETREADONLY, m_bReadOnly ? TRUE : FALSE);
    Invalidate();
}

bool CEditUI::IsReadOnly() const
{
    return m_bReadOnly;
}

void CEditUI::SetPasswordMode(bool bPasswordMode)
{
    if (m_bPasswordMode == bPasswordMode) return;
    m_bPasswordMode = bPasswordMode;
    Invalidate();
}

bool CEditUI::IsPasswordMode() const
{
    return m_bPasswordMode;
}

void CEditUI::SetPasswordChar(wchar_t cPasswordChar)
{
    if (m_cPasswordChar == cPasswordChar) return;
    m_cPasswordChar = cPasswordChar;
    if (m_pWindow != NULL) m_pWindow->SendMessage(EM_SETPASSWORDCHAR, m_cPasswordChar);
    Invalidate();
}

wchar_t CEditUI::GetPasswordChar() const
{
    return m_cPasswordChar;
}

void CEditUI::SetNumberOnly(bool bNumberOnly)
{
    if (bNumberOnly) m_iWindowStyls |= ES_NUMBER;
    else m_iWindowStyls &= ~ES_NUMBER;
}

bool CEditUI::IsNumberOnly() const
{
    return (m_iWindowStyls & ES_NUMBER) != 0;
}

int CEditUI::GetWindowStyls() const
{
    return m_iWindowStyls;
}

UINT CEditUI::GetEditState() const
{
    return m_uButtonState;
}

LPCWSTR CEditUI::GetNormalImage() const
{
    return m_sNormalImage;
}

void CEditUI::SetNormalImage(LPCWSTR pStrImage)
{
    m_sNormalImage = pStrImage;
    Invalidate();
}

LPCWSTR CEditUI::GetHotImage() const
{
    return m_sHotImage;
}

void CEditUI::SetHotImage(LPCWSTR pStrImage)
{
    m_sHotImage = pStrImage;
    Invalidate();
}

LPCWSTR CEditUI::GetFocusedImage() const
{
    return m_sFocusedImage;
}

void CEditUI::SetFocusedImage(LPCWSTR pStrImage)
{
    m_sFocusedImage = pStrImage;
    Invalidate();
}

LPCWSTR CEditUI::GetDisabledImage() const
{
    return m_sDisabledImage;
}

void CEditUI::SetDisabledImage(LPCWSTR pStrImage)
{
    m_sDisabledImage = pStrImage;
    Invalidate();
}

void CEditUI::SetNativeEditBkColor(DWORD dwBkColor)
{
    m_dwEditbkColor = dwBkColor;
}

DWORD CEditUI::GetNativeEditBkColor() const
{
    return m_dwEditbkColor;
}

void CEditUI::SetSel(long nStartChar, long nEndChar)
{
    if (m_pWindow != NULL) m_pWindow->SendMessage(EM_SETSEL, nStartChar, nEndChar);
}

void CEditUI::SetSelAll()
{
    SetSel(0, -1);
}

void CEditUI::SetReplaceSel(LPCWSTR lpszReplace)
{
    if (m_pWindow != NULL) m_pWindow->SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(lpszReplace));
}

void CEditUI::SelectAllNative()
{
    if (m_pWindow == NULL) return;
    const int nSize = std::max(GetText().GetLength(), 1);
    m_pWindow->SendMessage(EM_SETSEL, 0, nSize);
}

void CEditUI::OnNativeClick(const TEventUI& event)
{
    if (m_pWindow == NULL) {
        OpenNativeWindow();
        if (::PtInRect(&m_rcItem, event.ptMouse)) SelectAllNative();
    }
    else {
        ::SetFocus(m_pWindow->GetHWND());
        SelectAllNative();
    }
}

void CEditUI::DoEvent(TEventUI& event)
{
    if (DoNativeEvent(event)) return;
    if (event.Type == EVENT_MOUSEENTER) {
        if (IsEnabled()) {
            m_uButtonState |= STATE_HOT;
            Invalidate();
        }
        return;
    }
    if (event.Type == EVENT_MOUSELEAVE) {
        if (IsEnabled()) {
            m_uButtonState &= ~STATE_HOT;
            Invalidate();
        }
        return;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"readonly") == 0) SetReadOnly(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"numberonly") == 0) SetNumberOnly(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"password") == 0) SetPasswordMode(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"maxchar") == 0) SetMaxChar(static_cast<UINT>(CUIAttribute::ParseInt(pstrValue)));
    else if (wcscmp(pstrName, L"normalimage") == 0) SetNormalImage(pstrValue);
    else if (wcscmp(pstrName, L"hotimage") == 0) SetHotImage(pstrValue);
    else if (wcscmp(pstrName, L"focusedimage") == 0) SetFocusedImage(pstrValue);
    else if (wcscmp(pstrName, L"disabledimage") == 0) SetDisabledImage(pstrValue);
    else if (wcscmp(pstrName, L"nativebkcolor") == 0) SetNativeEditBkColor(CUIAttribute::ParseColor(pstrValue));
    else CLabelUI::SetAttribute(pstrName, pstrValue);
}

SIZE CEditUI::EstimateSize(SIZE szAvailable)
{
    if (GetFixedHeight() != 0 || m_pManager == NULL) return CControlUI::EstimateSize(szAvailable);
    SIZE sz = { Scale(GetFixedWidth()), m_pManager->GetFontInfo(GetFont())->tm.tmHeight + Scale(6) };
    return sz;
}

bool CEditUI::DrawOrClear(HDC hDC, CUIString& sImage)
{
    if (DrawImage(hDC, sImage)) return true;
    sImage.Empty();
    return false;
}

void CEditUI::PaintStatusImage(HDC hDC)
{
    if (IsFocused()) m_uButtonState |= STATE_FOCUSED;
    else m_uButtonState &= ~STATE_FOCUSED;
    if (!IsEnabled()) m_uButtonState |= STATE_DISABLED;
    else m_uButtonState &= ~STATE_DISABLED;

    CUIString* pState = NULL;
    if ((m_uButtonState & STATE_DISABLED) != 0) pState = &m_sDisabledImage;
    else if ((m_uButtonState & STATE_FOCUSED) != 0) pState = &m_sFocusedImage;
    else if ((m_uButtonState & STATE_HOT) != 0) pState = &m_sHotImage;
    if (pState != NULL && !pState->IsEmpty() && DrawOrClear(hDC, *pState)) return;
    if (!m_sNormalImage.IsEmpty()) DrawOrClear(hDC, m_sNormalImage);
}

void CEditUI::PaintText(HDC hDC)
{
    ResolveDefaultColors();
    CUIString sText = GetText();
    if (sText.IsEmpty()) return;
    if (m_bPasswordMode) {
        CUIString sMasked;
        for (LPCWSTR p = sText.GetData(); *p != L'\0'; p = ::CharNextW(p)) sMasked += m_cPasswordChar;
        sText = sMasked;
    }
    RECT rc = GetTextRect();
    const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    CRenderEngine::DrawText(hDC, m_pManager, rc, sText, dwColor, m_iFont, m_uTextStyle | DT_SINGLELINE);
}

} // namespace Veneer
