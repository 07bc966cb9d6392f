// CBoxLayoutUI: the placement pass and the splitter drag of the box layouts, over the layout's axis.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIBoxLayout.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/core/UIGeometry.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

CBoxLayoutUI::CBoxLayoutUI(const TBoxAxis& axis)
    : m_iSepSize(0), m_uButtonState(0), m_bImmMode(false), m_box(axis)
{
    m_ptLastMouse.x = m_ptLastMouse.y = 0;
    ::SetRectEmpty(&m_rcNewPos);
}

UINT CBoxLayoutUI::GetControlFlags() const
{
    // The manager only asks controls with this flag for the cursor; the separator wants its own.
    return (IsEnabled() && m_iSepSize != 0) ? UIFLAG_SETCURSOR : 0;
}

void CBoxLayoutUI::SetSepImmMode(bool immediately)
{
    if (m_bImmMode == immediately) return;
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode && m_pManager != NULL)
        m_pManager->RemovePostPaint(this);
    m_bImmMode = immediately;
}

bool CBoxLayoutUI::IsSepImmMode() const
{
    return m_bImmMode;
}

RECT CBoxLayoutUI::GetThumbRect(bool useNew) const
{
    const RECT& rc = ((m_uButtonState & STATE_CAPTURED) != 0 && useNew) ? m_rcNewPos : m_rcItem;
    RECT thumb = rc;
    const int sepSize = Scale(m_iSepSize);
    if (sepSize >= 0) {
        Axis().Start(thumb) = Axis().End(rc) - sepSize;
        if (m_box.thumbInside && Axis().Start(thumb) < Axis().Start(rc)) Axis().Start(thumb) = Axis().Start(rc);
    }
    else {
        Axis().End(thumb) = Axis().Start(rc) - sepSize;
        if (m_box.thumbInside && Axis().End(thumb) > Axis().End(rc)) Axis().End(thumb) = Axis().End(rc);
    }
    return thumb;
}

void CBoxLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL) return;
    if (value == NULL) value = L"";

    if (::wcscmp(name, L"sepimm") == 0) SetSepImmMode(CUIAttribute::ParseBool(value));
    else CContainerUI::SetAttribute(name, value);
}

void CBoxLayoutUI::DoEvent(TEventUI& event)
{
    if (m_iSepSize != 0) {
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
            RECT rc;
            if (!DragTo(event.ptMouse, rc)) return;
            CUIRect rcInvalidate = GetThumbRect(true);
            m_rcNewPos = rc;
            Axis().Main(m_cxyFixed) = Unscale(Axis().Extent(m_rcNewPos));
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
                ::SetCursor(::LoadCursorW(NULL, Axis().IsVertical() ? IDC_SIZENS : IDC_SIZEWE));
                return;
            }
        }
    }
    CContainerUI::DoEvent(event);
}

bool CBoxLayoutUI::DragTo(POINT pt, RECT& rc)
{
    const LONG at = Axis().Main(pt);
    const LONG delta = at - Axis().Main(m_ptLastMouse);
    m_ptLastMouse = pt;
    // The dragged edge follows while the point is on the strip or past it; the other edge stays.
    const bool atEnd = m_iSepSize >= 0;
    const int sepSize = Scale(m_iSepSize);
    const LONG edge = atEnd ? Axis().End(m_rcNewPos) : Axis().Start(m_rcNewPos);
    if (delta > 0 && at < (atEnd ? edge - sepSize : edge)) return false;
    if (delta < 0 && at > (atEnd ? edge : edge - sepSize)) return false;

    rc = m_rcNewPos;
    LONG& moved = atEnd ? Axis().End(rc) : Axis().Start(rc);
    const LONG anchor = atEnd ? Axis().Start(rc) : Axis().End(rc);
    const int sign = atEnd ? 1 : -1;
    const int minimum = Axis().Min(this);
    const int maximum = Axis().Max(this);
    moved += delta;
    if (Axis().Extent(rc) <= minimum) {
        if (Axis().Extent(m_rcNewPos) <= minimum) return false;
        moved = anchor + sign * minimum;
    }
    if (Axis().Extent(rc) >= maximum) {
        if (Axis().Extent(m_rcNewPos) >= maximum) return false;
        moved = anchor + sign * maximum;
    }
    return true;
}

void CBoxLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) {
        ProcessScrollBar(m_box.emptyInInnerRect ? GetInnerRect() : GetInsetRect(), 0, 0);
        return;
    }

    rc = GetInnerRect();
    SIZE available = { rc.right - rc.left, rc.bottom - rc.top };
    if (IsHorizontalBarShown()) available.cx += GetScrollRange().cx;
    const int gap = Scale(m_iChildPadding);

    // First pass: what the children of fixed extent need, and how many share the rest.
    int adjustables = 0;
    int fixedTotal = 0;
    int estimated = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* control = GetItemAt(i);
        if (!control->IsVisible() || control->IsFloat()) continue;
        SIZE sz = Axis().Estimate(control, available);
        int extent = Axis().Main(sz);
        if (extent == 0) ++adjustables;
        else extent = Axis().Clamp(control, extent);
        RECT padding = Axis().Padding(control);
        fixedTotal += extent + Axis().Start(padding) + Axis().End(padding);
        ++estimated;
    }
    fixedTotal += (estimated - 1) * gap;

    int expand = 0;
    if (adjustables > 0) expand = (Axis().Main(available) - fixedTotal) / adjustables;
    if (expand < 0) expand = 0;

    // Second pass: place the children.
    SIZE remaining = available;
    const SIZE scroll = GetScrollPos();
    int along = Axis().Start(rc) - Axis().Main(scroll);
    const int across = Axis().CrossStart(rc) - (m_box.crossScrolls ? Axis().Cross(scroll) : 0);
    int adjustableSeen = 0;
    int placed = 0;
    // What the children not yet placed still claim: their fixed extents, paddings and the gaps after
    // them. The remaining extent loses the same amounts as children are placed, so the last adjustable
    // child gets exactly the space that is left.
    int fixedRemaining = fixedTotal;
    int needed = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* control = GetItemAt(i);
        if (!control->IsVisible()) continue;
        if (control->IsFloat()) {
            SetFloatPos(i);
            continue;
        }

        const RECT padding = Axis().Padding(control);
        const int padStart = Axis().Start(padding);
        const int padEnd = Axis().End(padding);
        Axis().Main(remaining) -= padStart;
        fixedRemaining -= padStart + padEnd;
        SIZE sz = Axis().Estimate(control, remaining);
        int extent = Axis().Main(sz);
        if (extent == 0) {
            ++adjustableSeen;
            extent = expand;
            // The last adjustable child also takes the pixels the even share rounded away.
            if (adjustableSeen == adjustables) {
                extent = Axis().Main(remaining) - padEnd - fixedRemaining;
                if (extent < 0) extent = 0;
            }
            extent = Axis().Clamp(control, extent);
        }
        else {
            extent = Axis().Clamp(control, extent);
            fixedRemaining -= extent;
        }

        int thickness = Axis().FixedCross(control);
        if (thickness == 0)
            thickness = Axis().Cross(available) - Axis().CrossStart(padding) - Axis().CrossEnd(padding);
        if (thickness < 0) thickness = 0;
        thickness = Axis().ClampCross(control, thickness);

        // The end padding lies inside the child's rectangle along the axis.
        RECT rcCtrl;
        Axis().Start(rcCtrl) = along + padStart;
        Axis().End(rcCtrl) = along + extent + padStart + padEnd;
        Axis().CrossStart(rcCtrl) = across + Axis().CrossStart(padding);
        Axis().CrossEnd(rcCtrl) = across + Axis().CrossStart(padding) + thickness;
        control->SetPos(rcCtrl);

        along += extent + gap + padStart + padEnd;
        needed += extent + padStart + padEnd;
        Axis().Main(remaining) -= extent + gap + padEnd;
        if (++placed < estimated) fixedRemaining -= gap;
    }
    needed += (estimated - 1) * gap;

    if (Axis().IsVertical()) ProcessScrollBar(rc, 0, needed);
    else ProcessScrollBar(rc, needed, 0);
}

void CBoxLayoutUI::DoPostPaint(HDC hDC, const RECT& rcPaint)
{
    (void)rcPaint;
    if ((m_uButtonState & STATE_CAPTURED) != 0 && !m_bImmMode) {
        RECT rcSeparator = GetThumbRect(true);
        CRenderEngine::DrawColor(hDC, rcSeparator, 0xAA000000);
    }
}

} // namespace Veneer
