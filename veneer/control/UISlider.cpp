// CSliderUI: thumb geometry, value from the mouse, the "valuechanged" notification and thumb painting.
#include "veneer/core/UISetup.h"
#include "veneer/control/UISlider.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

CSliderUI::CSliderUI()
    : m_uButtonState(0),
      m_nStep(1)
{
    m_szThumb.cx = 10;
    m_szThumb.cy = 10;
}

LPCWSTR CSliderUI::GetClass() const
{
    return L"SliderUI";
}

LPVOID CSliderUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != NULL && wcscmp(pstrName, L"Slider") == 0) return static_cast<CSliderUI*>(this);
    return CProgressUI::GetInterface(pstrName);
}

UINT CSliderUI::GetControlFlags() const
{
    return IsEnabled() ? UIFLAG_SETCURSOR : 0;
}

void CSliderUI::SetEnabled(bool bEnable)
{
    CProgressUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

UINT CSliderUI::GetSliderState() const
{
    return m_uButtonState;
}

int CSliderUI::GetChangeStep() const
{
    return m_nStep;
}

void CSliderUI::SetChangeStep(int nStep)
{
    m_nStep = nStep;
}

SIZE CSliderUI::GetThumbSize() const
{
    return m_szThumb;
}

void CSliderUI::SetThumbSize(SIZE szThumb)
{
    m_szThumb = szThumb;
}

RECT CSliderUI::GetThumbRect() const
{
    int nMin = 0;
    int nMax = 0;
    int nValue = 0;
    GetOrderedRange(nMin, nMax, nValue);
    const long long llRange = static_cast<long long>(nMax) - nMin;
    const long long llOffset = static_cast<long long>(nValue) - nMin;
    const RECT& rc = m_rcItem;
    const int tw = Scale(m_szThumb.cx);
    const int th = Scale(m_szThumb.cy);

    RECT rcThumb = { 0, 0, 0, 0 };
    if (m_bHorizontal) {
        const long long llTrack = static_cast<long long>(rc.right) - rc.left - tw;
        rcThumb.left = rc.left + static_cast<LONG>(llTrack * llOffset / llRange);
        rcThumb.top = (rc.bottom + rc.top - th) / 2;
    }
    else {
        rcThumb.left = (rc.right + rc.left - tw) / 2;
        const long long llTrack = static_cast<long long>(rc.bottom) - rc.top - th;
        rcThumb.top = rc.bottom - th - static_cast<LONG>(llTrack * llOffset / llRange);
    }
    rcThumb.right = rcThumb.left + tw;
    rcThumb.bottom = rcThumb.top + th;
    return rcThumb;
}

int CSliderUI::ValueFromPoint(POINT pt) const
{
    int nMin = 0;
    int nMax = 0;
    int nValue = 0;
    GetOrderedRange(nMin, nMax, nValue);
    const long long llRange = static_cast<long long>(nMax) - nMin;
    const RECT& rc = m_rcItem;
    const int tw = Scale(m_szThumb.cx);
    const int th = Scale(m_szThumb.cy);

    if (m_bHorizontal) {
        if (pt.x >= rc.right - tw / 2) return nMax;
        if (pt.x <= rc.left + tw / 2) return nMin;
        const long long llTrack = static_cast<long long>(rc.right) - rc.left - tw;
        if (llTrack <= 0) return nMin;
        return static_cast<int>(nMin + llRange * (pt.x - rc.left - tw / 2) / llTrack);
    }
    if (pt.y >= rc.bottom - th / 2) return nMin;
    if (pt.y <= rc.top + th / 2) return nMax;
    const long long llTrack = static_cast<long long>(rc.bottom) - rc.top - th;
    if (llTrack <= 0) return nMin;
    return static_cast<int>(nMin + llRange * (rc.bottom - pt.y - th / 2) / llTrack);
}

LPCWSTR CSliderUI::GetThumbImage() const
{
    return m_sThumbImage;
}

void CSliderUI::SetThumbImage(LPCWSTR pStrImage)
{
    m_sThumbImage = pStrImage;
    Invalidate();
}

LPCWSTR CSliderUI::GetThumbHotImage() const
{
    return m_sThumbHotImage;
}

void CSliderUI::SetThumbHotImage(LPCWSTR pStrImage)
{
    m_sThumbHotImage = pStrImage;
    Invalidate();
}

LPCWSTR CSliderUI::GetThumbPushedImage() const
{
    return m_sThumbPushedImage;
}

void CSliderUI::SetThumbPushedImage(LPCWSTR pStrImage)
{
    m_sThumbPushedImage = pStrImage;
    Invalidate();
}

void CSliderUI::DoEvent(TEventUI& event)
{
    if (!IsMouseEnabled() && event.Type > EVENT_MOUSEBEGIN && event.Type < EVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->DoEvent(event);
        else CProgressUI::DoEvent(event);
        return;
    }

    switch (event.Type) {
    case EVENT_BUTTONDOWN:
    case EVENT_DBLCLICK:
        if (IsEnabled()) {
            const RECT rcThumb = GetThumbRect();
            if (::PtInRect(&rcThumb, event.ptMouse)) m_uButtonState |= STATE_CAPTURED;
        }
        return;
    case EVENT_BUTTONUP:
        m_uButtonState &= ~STATE_CAPTURED;
        // A disabled slider keeps its value.
        if (!IsEnabled()) return;
        m_nValue = ValueFromPoint(event.ptMouse);
        Invalidate();
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"valuechanged");
        return;
    case EVENT_CONTEXTMENU:
        return;
    case EVENT_SCROLLWHEEL: {
        if (!IsEnabled()) return;
        // Kept inside the bounds, so the notified value is the one shown.
        int nMin = 0;
        int nMax = 0;
        int nValue = 0;
        GetOrderedRange(nMin, nMax, nValue);
        long long llValue = m_nValue;
        if (event.wParam == SB_LINEUP) llValue += m_nStep;
        else if (event.wParam == SB_LINEDOWN) llValue -= m_nStep;
        else return;
        if (llValue > nMax) llValue = nMax;
        if (llValue < nMin) llValue = nMin;
        m_nValue = static_cast<int>(llValue);
        Invalidate();
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"valuechanged");
        return;
    }
    case EVENT_MOUSEMOVE:
        if ((m_uButtonState & STATE_CAPTURED) != 0) {
            m_nValue = ValueFromPoint(event.ptMouse);
            Invalidate();
        }
        return;
    case EVENT_SETCURSOR:
        if (IsEnabled()) {
            const RECT rcThumb = GetThumbRect();
            if (::PtInRect(&rcThumb, event.ptMouse)) {
                ::SetCursor(::LoadCursorW(NULL, IDC_HAND));
                return;
            }
        }
        break;
    case EVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= STATE_HOT;
            Invalidate();
            return;
        }
        break;
    case EVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~STATE_HOT;
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

void CSliderUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"thumbimage") == 0) SetThumbImage(pstrValue);
    else if (wcscmp(pstrName, L"thumbhotimage") == 0) SetThumbHotImage(pstrValue);
    else if (wcscmp(pstrName, L"thumbpushedimage") == 0) SetThumbPushedImage(pstrValue);
    else if (wcscmp(pstrName, L"thumbsize") == 0) SetThumbSize(CUIAttribute::ParseSize(pstrValue));
    else if (wcscmp(pstrName, L"step") == 0) SetChangeStep(CUIAttribute::ParseInt(pstrValue));
    else CProgressUI::SetAttribute(pstrName, pstrValue);
}

void CSliderUI::PaintStatusImage(HDC hDC)
{
    CProgressUI::PaintStatusImage(hDC);

    RECT rcThumb = GetThumbRect();
    ::OffsetRect(&rcThumb, -m_rcItem.left, -m_rcItem.top);
    m_sThumbImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", rcThumb.left, rcThumb.top, rcThumb.right, rcThumb.bottom);

    CUIString* pStateImage = NULL;
    if ((m_uButtonState & STATE_CAPTURED) != 0) pStateImage = &m_sThumbPushedImage;
    else if ((m_uButtonState & STATE_HOT) != 0) pStateImage = &m_sThumbHotImage;
    if (pStateImage != NULL && !pStateImage->IsEmpty()) {
        if (DrawImage(hDC, *pStateImage, m_sThumbImageModify)) return;
        pStateImage->Empty();
    }
    if (!m_sThumbImage.IsEmpty() && !DrawImage(hDC, m_sThumbImage, m_sThumbImageModify)) m_sThumbImage.Empty();
}

} // namespace Veneer
