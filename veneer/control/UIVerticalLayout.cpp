// CVerticalLayoutUI: top-to-bottom box layout and its splitter drag.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIVerticalLayout.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/core/UIGeometry.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

CVerticalLayoutUI::CVerticalLayoutUI() : m_iSepHeight(0), m_uButtonState(0), m_bImmMode(false)
{
    m_ptLastMouse.x = m_ptLastMouse.y = 0;
    ::SetRectEmpty(&m_rcNewPos);
}

LPCWSTR CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && ::wcscmp(name, L"VerticalLayout") == 0) return static_cast<CVerticalLayoutUI*>(this);
    return CContainerUI::GetInterface(name);
}

UINT CVerticalLayoutUI::GetControlFlags() const
{
    // The manager only asks controls with this flag for the cursor; the separator wants its own.
    return (IsEnabled() && m_iSepHeight != 0) ? UIFLAG_SETCURSOR : 0;
}

void CVerticalLayoutUI::SetSepHeight(int height)
{
    m_iSepHeight = height;
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return m_iSepHeight;
}

void CVerticalLayoutUI::SetSepImmMode(bool immediately)
{
    if (m_bImmMode == immediately) return;
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode && m_pManager != NULL)
        m_pManager->RemovePostPaint(this);
    m_bImmMode = immediately;
}

bool CVerticalLayoutUI::IsSepImmMode() const
{
    return m_bImmMode;
}

RECT CVerticalLayoutUI::GetThumbRect(bool useNew) const
{
    const RECT& rc = ((m_uButtonState & STATE_CAPTURED) != 0 && useNew) ? m_rcNewPos : m_rcItem;
    RECT thumb = rc;
    if (m_iSepHeight >= 0) thumb.top = (rc.bottom - m_iSepHeight > rc.top) ? rc.bottom - m_iSepHeight : rc.top;
    else thumb.bottom = (rc.top - m_iSepHeight < rc.bottom) ? rc.top - m_iSepHeight : rc.bottom;
    return thumb;
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL) return;
    if (value == NULL) value = L"";

    if (::wcscmp(name, L"sepheight") == 0) SetSepHeight(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"sepimm") == 0) SetSepImmMode(CUIAttribute::ParseBool(value));
    else CContainerUI::SetAttribute(name, value);
}

void CVerticalLayoutUI::DoEvent(TEventUI& event)
{
    if (m_iSepHeight != 0) {
        if (event.Type == EVENT_BUTTONDOWN && IsEnabled()) {
            RECT rcSeparator = GetThumbRect(false);
            if (::PtInRect(&rcSeparator, event.ptMouse)) {
                m_uButtonState |= STATE_CAPTURED;
                m_ptLastMouse = event.ptMouse;
                m_rcNewPos = m_rcItem;
                if (!m_bImmMode && m_pManager != NULL) m_pManager->AddPostPaint(this);
                return;
            }
        }
        if (event.Type == EVENT_BUTTONUP && (m_uButtonState & STATE_CAPTURED) != 0) {
            m_uButtonState &= ~static_cast<UINT>(STATE_CAPTURED);
            m_rcItem = m_rcNewPos;
            if (!m_bImmMode && m_pManager != NULL) m_pManager->RemovePostPaint(this);
            NeedParentUpdate();
            return;
        }
        if (event.Type == EVENT_MOUSEMOVE && (m_uButtonState & STATE_CAPTURED) != 0) {
            LONG cy = event.ptMouse.y - m_ptLastMouse.y;
            m_ptLastMouse = event.ptMouse;
            RECT rc = m_rcNewPos;
            if (m_iSepHeight >= 0) {
                // The edge follows while the point is on the strip or past it, as in the horizontal layout.
                if (cy > 0 && event.ptMouse.y < m_rcNewPos.bottom - m_iSepHeight) return;
                if (cy < 0 && event.ptMouse.y > m_rcNewPos.bottom) return;
                rc.bottom += cy;
                if (rc.bottom - rc.top <= GetMinHeight()) {
                    if (m_rcNewPos.bottom - m_rcNewPos.top <= GetMinHeight()) return;
                    rc.bottom = rc.top + GetMinHeight();
                }
                if (rc.bottom - rc.top >= GetMaxHeight()) {
                    if (m_rcNewPos.bottom - m_rcNewPos.top >= GetMaxHeight()) return;
                    rc.bottom = rc.top + GetMaxHeight();
                }
            }
            else {
                if (cy > 0 && event.ptMouse.y < m_rcNewPos.top) return;
                if (cy < 0 && event.ptMouse.y > m_rcNewPos.top - m_iSepHeight) return;
                rc.top += cy;
                if (rc.bottom - rc.top <= GetMinHeight()) {
                    if (m_rcNewPos.bottom - m_rcNewPos.top <= GetMinHeight()) return;
                    rc.top = rc.bottom - GetMinHeight();
                }
                if (rc.bottom - rc.top >= GetMaxHeight()) {
                    if (m_rcNewPos.bottom - m_rcNewPos.top >= GetMaxHeight()) return;
                    rc.top = rc.bottom - GetMaxHeight();
                }
            }

            CUIRect rcInvalidate = GetThumbRect(true);
            m_rcNewPos = rc;
            m_cxyFixed.cy = m_rcNewPos.bottom - m_rcNewPos.top;
            if (m_bImmMode) {
                m_rcItem = m_rcNewPos;
                NeedParentUpdate();
            }
            else {
                rcInvalidate.Join(GetThumbRect(true));
                rcInvalidate.Join(GetThumbRect(false));
                if (m_pManager != NULL) m_pManager->Invalidate(rcInvalidate);
            }
            return;
        }
        if (event.Type == EVENT_SETCURSOR) {
            RECT rcSeparator = GetThumbRect(false);
            if (IsEnabled() && ::PtInRect(&rcSeparator, event.ptMouse)) {
                ::SetCursor(::LoadCursorW(NULL, IDC_SIZENS));
                return;
            }
        }
    }
    CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = GetInnerRect();

    if (m_items.IsEmpty()) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    SIZE available = { rc.right - rc.left, rc.bottom - rc.top };
    if (IsHorizontalBarShown()) available.cx += GetScrollRange().cx;

    // First pass: what the fixed-height children need, and how many share the rest.
    int adjustables = 0;
    int cyFixed = 0;
    int estimated = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* control = GetItemAt(i);
        if (!control->IsVisible() || control->IsFloat()) continue;
        SIZE sz = control->EstimateSize(available);
        if (sz.cy == 0) {
            ++adjustables;
        }
        else {
            if (sz.cy < control->GetMinHeight()) sz.cy = control->GetMinHeight();
            if (sz.cy > control->GetMaxHeight()) sz.cy = control->GetMaxHeight();
        }
        RECT padding = control->GetPadding();
        cyFixed += sz.cy + padding.top + padding.bottom;
        ++estimated;
    }
    cyFixed += (estimated - 1) * m_iChildPadding;

    int cyExpand = 0;
    if (adjustables > 0) cyExpand = (available.cy - cyFixed) / adjustables;
    if (cyExpand < 0) cyExpand = 0;

    // Second pass: place the children.
    SIZE remaining = available;
    int y = rc.top;
    if (IsVerticalBarShown()) y -= GetScrollPos().cy;
    int x = rc.left;
    if (IsHorizontalBarShown()) x -= GetScrollPos().cx;
    int adjustableSeen = 0;
    int placed = 0;
    // What the children not yet placed still claim: their fixed heights, paddings and the gaps after
    // them. The remaining height loses the same amounts as children are placed, so the last adjustable
    // child gets exactly the space that is left.
    int cyFixedRemaining = cyFixed;
    int cyNeeded = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* control = GetItemAt(i);
        if (!control->IsVisible()) continue;
        if (control->IsFloat()) {
            SetFloatPos(i);
            continue;
        }

        RECT padding = control->GetPadding();
        remaining.cy -= padding.top;
        cyFixedRemaining -= padding.top + padding.bottom;
        SIZE sz = control->EstimateSize(remaining);
        if (sz.cy == 0) {
            ++adjustableSeen;
            sz.cy = cyExpand;
            // The last adjustable child also takes the pixels the even share rounded away.
            if (adjustableSeen == adjustables) {
                sz.cy = remaining.cy - padding.bottom - cyFixedRemaining;
                if (sz.cy < 0) sz.cy = 0;
            }
            if (sz.cy < control->GetMinHeight()) sz.cy = control->GetMinHeight();
            if (sz.cy > control->GetMaxHeight()) sz.cy = control->GetMaxHeight();
        }
        else {
            if (sz.cy < control->GetMinHeight()) sz.cy = control->GetMinHeight();
            if (sz.cy > control->GetMaxHeight()) sz.cy = control->GetMaxHeight();
            cyFixedRemaining -= sz.cy;
        }

        sz.cx = control->GetFixedWidth();
        if (sz.cx == 0) sz.cx = available.cx - padding.left - padding.right;
        if (sz.cx < 0) sz.cx = 0;
        if (sz.cx < control->GetMinWidth()) sz.cx = control->GetMinWidth();
        if (sz.cx > control->GetMaxWidth()) sz.cx = control->GetMaxWidth();

        RECT rcCtrl = { x + padding.left, y + padding.top, x + padding.left + sz.cx,
                        y + sz.cy + padding.top + padding.bottom };
        control->SetPos(rcCtrl);

        y += sz.cy + m_iChildPadding + padding.top + padding.bottom;
        cyNeeded += sz.cy + padding.top + padding.bottom;
        remaining.cy -= sz.cy + m_iChildPadding + padding.bottom;
        if (++placed < estimated) cyFixedRemaining -= m_iChildPadding;
    }
    cyNeeded += (estimated - 1) * m_iChildPadding;

    ProcessScrollBar(rc, 0, cyNeeded);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT& rcPaint)
{
    (void)rcPaint;
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode) {
        RECT rcSeparator = GetThumbRect(true);
        CRenderEngine::DrawColor(hDC, rcSeparator, 0xAA000000);
    }
}

} // namespace Veneer
