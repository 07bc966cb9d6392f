// CButtonUI: state tracking from mouse and keyboard events, the "click" notification and state painting.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIButton.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

CButtonUI::CButtonUI()
    : m_uButtonState(0),
      m_uStateImages(0),
      m_dwHotBkColor(0),
      m_dwHotTextColor(0),
      m_dwPushedTextColor(0),
      m_dwFocusedTextColor(0)
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    SetPaintFields(&m_uButtonState);
}

CButtonUI::~CButtonUI()
{
}

LPCWSTR CButtonUI::GetClass() const
{
    return L"ButtonUI";
}

LPVOID CButtonUI::GetInterface(LPCWSTR pstrName)
{
    if (wcscmp(pstrName, L"Button") == 0) return static_cast<CButtonUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

void CButtonUI::SetEnabled(bool bEnable)
{
    CLabelUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

UINT CButtonUI::GetButtonState() const
{
    return m_uButtonState;
}

bool CButtonUI::Activate()
{
    if (!CLabelUI::Activate()) return false;
    CPaintManagerUI* pManager = GetManager();
    if (pManager != NULL) pManager->SendNotify(this, L"click");
    return true;
}

LPCWSTR CButtonUI::GetNormalImage() const
{
    return m_sNormalImage;
}

void CButtonUI::SetNormalImage(LPCWSTR pStrImage)
{
    SetStateImage(m_sNormalImage, IMAGE_NORMAL, pStrImage);
}

LPCWSTR CButtonUI::GetHotImage() const
{
    return m_sHotImage;
}

void CButtonUI::SetHotImage(LPCWSTR pStrImage)
{
    SetStateImage(m_sHotImage, IMAGE_HOT, pStrImage);
}

LPCWSTR CButtonUI::GetHotForeImage() const
{
    return m_sHotForeImage;
}

void CButtonUI::SetHotForeImage(LPCWSTR pStrImage)
{
    SetStateImage(m_sHotForeImage, IMAGE_HOTFORE, pStrImage);
}

LPCWSTR CButtonUI::GetPushedImage() const
{
    return m_sPushedImage;
}

void CButtonUI::SetPushedImage(LPCWSTR pStrImage)
{
    SetStateImage(m_sPushedImage, IMAGE_PUSHED, pStrImage);
}

LPCWSTR CButtonUI::GetFocusedImage() const
{
    return m_sFocusedImage;
}

void CButtonUI::SetFocusedImage(LPCWSTR pStrImage)
{
    SetStateImage(m_sFocusedImage, IMAGE_FOCUSED, pStrImage);
}

LPCWSTR CButtonUI::GetDisabledImage() const
{
    return m_sDisabledImage;
}

void CButtonUI::SetDisabledImage(LPCWSTR pStrImage)
{
    SetStateImage(m_sDisabledImage, IMAGE_DISABLED, pStrImage);
}

LPCWSTR CButtonUI::GetForeImage() const
{
    return m_sForeImage;
}

void CButtonUI::SetForeImage(LPCWSTR pStrImage)
{
    SetStateImage(m_sForeImage, IMAGE_FORE, pStrImage);
}

void CButtonUI::SetHotBkColor(DWORD dwColor)
{
    m_dwHotBkColor = dwColor;
}

DWORD CButtonUI::GetHotBkColor() const
{
    return m_dwHotBkColor;
}

void CButtonUI::SetHotTextColor(DWORD dwColor)
{
    m_dwHotTextColor = dwColor;
}

DWORD CButtonUI::GetHotTextColor() const
{
    return m_dwHotTextColor;
}

void CButtonUI::SetPushedTextColor(DWORD dwColor)
{
    m_dwPushedTextColor = dwColor;
}

DWORD CButtonUI::GetPushedTextColor() const
{
    return m_dwPushedTextColor;
}

void CButtonUI::SetFocusedTextColor(DWORD dwColor)
{
    m_dwFocusedTextColor = dwColor;
}

DWORD CButtonUI::GetFocusedTextColor() const
{
    return m_dwFocusedTextColor;
}

void CButtonUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > EVENT_MOUSEBEGIN && event.Type < EVENT_MOUSEEND) {
        if (GetParent() != NULL) GetParent()->DoEvent(event);
        else CLabelUI::DoEvent(event);
        return;
    }

    const RECT& rcItem = GetPos();
    switch (event.Type) {
    case EVENT_SETFOCUS:
    case EVENT_KILLFOCUS:
        Invalidate();
        break;
    case EVENT_KEYDOWN:
        if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case EVENT_BUTTONDOWN:
    case EVENT_DBLCLICK:
        if (::PtInRect(&rcItem, event.ptMouse) && IsEnabled()) {
            m_uButtonState |= STATE_PUSHED | STATE_CAPTURED;
            Invalidate();
        }
        return;
    case EVENT_MOUSEMOVE:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            if (::PtInRect(&rcItem, event.ptMouse)) m_uButtonState |= STATE_PUSHED;
            else m_uButtonState &= ~STATE_PUSHED;
            Invalidate();
        }
        return;
    case EVENT_BUTTONUP:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            // Cleared before the click goes out: a handler may disable, hide or re-press the button.
            const bool bInside = ::PtInRect(&rcItem, event.ptMouse) != FALSE;
            m_uButtonState &= ~(STATE_PUSHED | STATE_CAPTURED);
            Invalidate();
            if (bInside) Activate();
        }
        return;
    case EVENT_CONTEXTMENU:
        if (IsContextMenuUsed() && GetManager() != NULL) {
            GetManager()->SendNotify(this, L"menu", event.wParam, event.lParam);
        }
        return;
    case EVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= STATE_HOT;
            Invalidate();
        }
        break;
    case EVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~STATE_HOT;
            Invalidate();
        }
        break;
    case EVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(NULL, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"normalimage") == 0) SetNormalImage(pstrValue);
    else if (wcscmp(pstrName, L"hotimage") == 0) SetHotImage(pstrValue);
    else if (wcscmp(pstrName, L"pushedimage") == 0) SetPushedImage(pstrValue);
    else if (wcscmp(pstrName, L"focusedimage") == 0) SetFocusedImage(pstrValue);
    else if (wcscmp(pstrName, L"disabledimage") == 0) SetDisabledImage(pstrValue);
    else if (wcscmp(pstrName, L"foreimage") == 0) SetForeImage(pstrValue);
    else if (wcscmp(pstrName, L"hotforeimage") == 0) SetHotForeImage(pstrValue);
    else if (wcscmp(pstrName, L"hotbkcolor") == 0) SetHotBkColor(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"hottextcolor") == 0) SetHotTextColor(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"pushedtextcolor") == 0) SetPushedTextColor(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"focusedtextcolor") == 0) SetFocusedTextColor(CUIAttribute::ParseColor(pstrValue));
    else CLabelUI::SetAttribute(pstrName, pstrValue);
}

SIZE CButtonUI::EstimateSize(SIZE szAvailable)
{
    return EstimateOneLine(szAvailable, 8);
}

void CButtonUI::RefreshPaintState()
{
    if (IsFocused()) m_uButtonState |= STATE_FOCUSED;
    else m_uButtonState &= ~STATE_FOCUSED;
    if (!IsEnabled()) m_uButtonState |= STATE_DISABLED;
    else m_uButtonState &= ~STATE_DISABLED;
}

void CButtonUI::SetStateImage(CUIString& sImage, UINT uImage, LPCWSTR pStrImage)
{
    sImage = pStrImage;
    if (sImage.IsEmpty()) m_uStateImages &= ~uImage;
    else m_uStateImages |= uImage;
    Invalidate();
}

bool CButtonUI::HasStateImage(UINT uImage, const CUIString& sImage) const
{
    // The flags are read first: a paint then leaves the unset images' strings untouched.
    return (m_uStateImages & uImage) != 0 && !sImage.IsEmpty();
}

bool CButtonUI::DrawOrClear(HDC hDC, CUIString& sImage)
{
    if (DrawImage(hDC, sImage)) return true;
    sImage.Empty();
    return false;
}

void CButtonUI::PaintStatusImage(HDC hDC)
{
    RefreshPaintState();

    bool bNormal = true;
    if ((m_uButtonState & STATE_DISABLED) != 0) {
        if (HasStateImage(IMAGE_DISABLED, m_sDisabledImage) && DrawOrClear(hDC, m_sDisabledImage)) bNormal = false;
    }
    else if ((m_uButtonState & STATE_PUSHED) != 0) {
        if (HasStateImage(IMAGE_PUSHED, m_sPushedImage)) {
            DrawOrClear(hDC, m_sPushedImage);
            bNormal = false;
        }
    }
    else if ((m_uButtonState & STATE_HOT) != 0) {
        if (HasStateImage(IMAGE_HOT, m_sHotImage)) {
            DrawOrClear(hDC, m_sHotImage);
            // A hot fore image takes the place of the fore image.
            if (HasStateImage(IMAGE_HOTFORE, m_sHotForeImage)) {
                DrawOrClear(hDC, m_sHotForeImage);
                return;
            }
            bNormal = false;
        }
        else if (m_dwHotBkColor != 0) {
            CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwHotBkColor));
            return;
        }
    }
    else if ((m_uButtonState & STATE_FOCUSED) != 0) {
        if (HasStateImage(IMAGE_FOCUSED, m_sFocusedImage) && DrawOrClear(hDC, m_sFocusedImage)) bNormal = false;
    }

    if (bNormal && HasStateImage(IMAGE_NORMAL, m_sNormalImage)) DrawOrClear(hDC, m_sNormalImage);
    if (HasStateImage(IMAGE_FORE, m_sForeImage)) DrawOrClear(hDC, m_sForeImage);
}

void CButtonUI::PaintText(HDC hDC)
{
    RefreshPaintState();
    CUIString sText = GetText();
    if (sText.IsEmpty()) return;
    ResolveDefaultColors();
    RECT rc = GetTextRect();

    DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if ((m_uButtonState & STATE_PUSHED) != 0 && m_dwPushedTextColor != 0) dwColor = m_dwPushedTextColor;
    else if ((m_uButtonState & STATE_HOT) != 0 && m_dwHotTextColor != 0) dwColor = m_dwHotTextColor;
    else if ((m_uButtonState & STATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) dwColor = m_dwFocusedTextColor;

    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, GetManager(), rc, sText, dwColor, NULL, NULL, nLinks, m_uTextStyle);
    }
    else {
        CRenderEngine::DrawText(hDC, GetManager(), rc, sText, dwColor, m_iFont, m_uTextStyle);
    }
}

} // namespace Veneer
