// CHorizontalLayoutUI: left-to-right box layout and its splitter drag.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIHorizontalLayout.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/core/UIGeometry.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

CHorizontalLayoutUI::CHorizontalLayoutUI() : m_iSepWidth(0), m_uButtonState(0), m_bImmMode(false)
{
    m_ptLastMouse.x = m_ptLastMouse.y = 0;
    ::SetRectEmpty(&m_rcNewPos);
}

LPCWSTR CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && ::wcscmp(name, L"HorizontalLayout") == 0) return static_cast<CHorizontalLayoutUI*>(this);
    return CContainerUI::GetInterface(name);
}

UINT CHorizontalLayoutUI::GetControlFlags() const
{
    // The manager only asks controls with this flag for the cursor; the separator wants its own.
    return (IsEnabled() && m_iSepWidth != 0) ? UIFLAG_SETCURSOR : 0;
}

void CHorizontalLayoutUI::SetSepWidth(int width)
{
    m_iSepWidth = width;
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_iSepWidth;
}

void CHorizontalLayoutUI::SetSepImmMode(bool immediately)
{
    if (m_bImmMode == immediately) return;
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode && m_pManager != NULL)
        m_pManager->RemovePostPaint(this);
    m_bImmMode = immediately;
}

bool CHorizontalLayoutUI::IsSepImmMode() const
{
    return m_bImmMode;
}

RECT CHorizontalLayoutUI::GetThumbRect(bool useNew) const
{
    const RECT& rc = ((m_uButtonState & STATE_CAPTURED) != 0 && useNew) ? m_rcNewPos : m_rcItem;
    RECT thumb = rc;
    if (m_iSepWidth >= 0) thumb.left = rc.right - m_iSepWidth;
    else thumb.right = rc.left - m_iSepWidth;
    return thumb;
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL) return;
    if (value == NULL) value = L"";

    if (::wcscmp(name, L"sepwidth") == 0) SetSepWidth(CUIAttribute::ParseExtent(value));
    else if (::wcscmp(name, L"sepimm") == 0) SetSepImmMode(CUIAttribute::ParseBool(value));
    else CContainerUI::SetAttribute(name, value);
}

void CHorizontalLayoutUI::DoEvent(TEventUI& event)
{
    if (m_iSepWidth != 0) {
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
            LONG cx = event.ptMouse.x - m_ptLastMouse.x;
            m_ptLastMouse = event.ptMouse;
            RECT rc = m_rcNewPos;
            if (m_iSepWidth >= 0) {
                if (cx > 0 && event.ptMouse.x < m_rcNewPos.right - m_iSepWidth) return;
                if (cx < 0 && event.ptMouse.x > m_rcNewPos.right) return;
                rc.right += cx;
                if (rc.right - rc.left <= GetMinWidth()) {
                    if (m_rcNewPos.right - m_rcNewPos.left <= GetMinWidth()) return;
                    rc.right = rc.left + GetMinWidth();
                }
                if (rc.right - rc.left >= GetMaxWidth()) {
                    if (m_rcNewPos.right - m_rcNewPos.left >= GetMaxWidth()) return;
                    rc.right = rc.left + GetMaxWidth();
                }
            }
            else {
                if (cx > 0 && event.ptMouse.x < m_rcNewPos.left) return;
                if (cx < 0 && event.ptMouse.x > m_rcNewPos.left - m_iSepWidth) return;
                rc.left += cx;
                if (rc.right - rc.left <= GetMinWidth()) {
                    if (m_rcNewPos.right - m_rcNewPos.left <= GetMinWidth()) return;
                    rc.left = rc.right - GetMinWidth();
                }
                if (rc.right - rc.left >= GetMaxWidth()) {
                    if (m_rcNewPos.right - m_rcNewPos.left >= GetMaxWidth()) return;
                    rc.left = rc.right - GetMaxWidth();
                }
            }

            CUIRect rcInvalidate = GetThumbRect(true);
            m_rcNewPos = rc;
            m_cxyFixed.cx = m_rcNewPos.right - m_rcNewPos.left;
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
                ::SetCursor(::LoadCursorW(NULL, IDC_SIZEWE));
                return;
            }
        }
    }
    CContainerUI::DoEvent(event);
}

void CHorizontalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;

    if (m_items.IsEmpty()) {
        ProcessScrollBar(rc, 0, 0);
        return;
    }

    rc = GetInnerRect();
    SIZE available = { rc.right - rc.left, rc.bottom - rc.top };
    if (IsHorizontalBarShown()) available.cx += GetScrollRange().cx;

    // First pass: what the fixed-width children need, and how many share the rest.
    int adjustables = 0;
    int cxFixed = 0;
    int estimated = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* control = GetItemAt(i);
        if (!control->IsVisible() || control->IsFloat()) continue;
        SIZE sz = control->EstimateSize(available);
        if (sz.cx == 0) {
            ++adjustables;
        }
        else {
            if (sz.cx < control->GetMinWidth()) sz.cx = control->GetMinWidth();
            if (sz.cx > control->GetMaxWidth()) sz.cx = control->GetMaxWidth();
        }
        RECT padding = control->GetPadding();
        cxFixed += sz.cx + padding.left + padding.right;
        ++estimated;
    }
    cxFixed += (estimated - 1) * m_iChildPadding;

    int cxExpand = 0;
    if (adjustables > 0) cxExpand = (available.cx - cxFixed) / adjustables;
    if (cxExpand < 0) cxExpand = 0;

    // Second pass: place the children.
    SIZE remaining = available;
    int x = rc.left;
    if (IsHorizontalBarShown()) x -= GetScrollPos().cx;
    int adjustableSeen = 0;
    int placed = 0;
    // What the children not yet placed still claim: their fixed widths, paddings and the gaps after
    // them. The remaining width loses the same amounts as children are placed, so the last adjustable
    // child gets exactly the space that is left.
    int cxFixedRemaining = cxFixed;
    int cxNeeded = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* control = GetItemAt(i);
        if (!control->IsVisible()) continue;
        if (control->IsFloat()) {
            SetFloatPos(i);
            continue;
        }

        RECT padding = control->GetPadding();
        remaining.cx -= padding.left;
        cxFixedRemaining -= padding.left + padding.right;
        SIZE sz = control->EstimateSize(remaining);
        if (sz.cx == 0) {
            ++adjustableSeen;
            sz.cx = cxExpand;
            // The last adjustable child also takes the pixels the even share rounded away.
            if (adjustableSeen == adjustables) {
                sz.cx = remaining.cx - padding.right - cxFixedRemaining;
                if (sz.cx < 0) sz.cx = 0;
            }
            if (sz.cx < control->GetMinWidth()) sz.cx = control->GetMinWidth();
            if (sz.cx > control->GetMaxWidth()) sz.cx = control->GetMaxWidth();
        }
        else {
            if (sz.cx < control->GetMinWidth()) sz.cx = control->GetMinWidth();
            if (sz.cx > control->GetMaxWidth()) sz.cx = control->GetMaxWidth();
            cxFixedRemaining -= sz.cx;
        }

        sz.cy = control->GetFixedHeight();
        if (sz.cy == 0) sz.cy = rc.bottom - rc.top - padding.top - padding.bottom;
        if (sz.cy < 0) sz.cy = 0;
        if (sz.cy < control->GetMinHeight()) sz.cy = control->GetMinHeight();
        if (sz.cy > control->GetMaxHeight()) sz.cy = control->GetMaxHeight();

        RECT rcCtrl = { x + padding.left, rc.top + padding.top, x + sz.cx + padding.left + padding.right,
                        rc.top + padding.top + sz.cy };
        control->SetPos(rcCtrl);

        x += sz.cx + m_iChildPadding + padding.left + padding.right;
        cxNeeded += sz.cx + padding.left + padding.right;
        remaining.cx -= sz.cx + m_iChildPadding + padding.right;
        if (++placed < estimated) cxFixedRemaining -= m_iChildPadding;
    }
    cxNeeded += (estimated - 1) * m_iChildPadding;

    ProcessScrollBar(rc, cxNeeded, 0);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT& rcPaint)
{
    (void)rcPaint;
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode) {
        RECT rcSeparator = GetThumbRect(true);
        CRenderEngine::DrawColor(hDC, rcSeparator, 0xAA000000);
    }
}

} // namespace Veneer
