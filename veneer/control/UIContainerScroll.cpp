// CContainerUI: scrolling, by position, by line and page, and the scroll bars it shows and lays out.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIContainer.h"
#include "veneer/control/UIScrollBar.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

namespace {

// Line and page steps move the position through the container's own (overridable) operations.
void ScrollBy(CContainerUI& container, int dx, int dy)
{
    SIZE sz = container.GetScrollPos();
    sz.cx += dx;
    sz.cy += dy;
    container.SetScrollPos(sz);
}

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

} // namespace

SIZE CContainerUI::GetScrollPos() const
{
    SIZE sz = { 0, 0 };
    if (IsHorizontalBarShown()) sz.cx = m_pHorizontalScrollBar->GetScrollPos();
    if (IsVerticalBarShown()) sz.cy = m_pVerticalScrollBar->GetScrollPos();
    return sz;
}

SIZE CContainerUI::GetScrollRange() const
{
    SIZE sz = { 0, 0 };
    if (IsHorizontalBarShown()) sz.cx = m_pHorizontalScrollBar->GetScrollRange();
    if (IsVerticalBarShown()) sz.cy = m_pVerticalScrollBar->GetScrollRange();
    return sz;
}

void CContainerUI::SetScrollPos(SIZE pos)
{
    int dx = 0;
    int dy = 0;
    if (IsVerticalBarShown()) {
        int last = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(pos.cy);
        dy = m_pVerticalScrollBar->GetScrollPos() - last;
    }
    if (IsHorizontalBarShown()) {
        int last = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(pos.cx);
        dx = m_pHorizontalScrollBar->GetScrollPos() - last;
    }
    if (dx == 0 && dy == 0) return;

    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* control = GetItemAt(i);
        if (!control->IsVisible() || control->IsFloat()) continue;
        RECT rc = control->GetPos();
        ::OffsetRect(&rc, -dx, -dy);
        control->SetPos(rc);
    }
    Invalidate();
}

int CContainerUI::GetLineStep() const
{
    // One line of the default font plus a little air; 8 units without a manager to ask.
    if (m_pManager == NULL) return 8;
    return m_pManager->GetDefaultFontInfo()->tm.tmHeight + Scale(8);
}

void CContainerUI::LineUp()
{
    ScrollBy(*this, 0, -GetLineStep());
}

void CContainerUI::LineDown()
{
    ScrollBy(*this, 0, GetLineStep());
}

void CContainerUI::PageUp()
{
    ScrollBy(*this, 0, -Height(GetInnerRect()));
}

void CContainerUI::PageDown()
{
    ScrollBy(*this, 0, Height(GetInnerRect()));
}

void CContainerUI::HomeUp()
{
    SIZE sz = GetScrollPos();
    sz.cy = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndDown()
{
    SIZE sz = GetScrollPos();
    sz.cy = GetScrollRange().cy;
    SetScrollPos(sz);
}

void CContainerUI::LineLeft()
{
    ScrollBy(*this, -Scale(8), 0);
}

void CContainerUI::LineRight()
{
    ScrollBy(*this, Scale(8), 0);
}

void CContainerUI::PageLeft()
{
    ScrollBy(*this, -Width(GetInnerRect()), 0);
}

void CContainerUI::PageRight()
{
    ScrollBy(*this, Width(GetInnerRect()), 0);
}

void CContainerUI::HomeLeft()
{
    SIZE sz = GetScrollPos();
    sz.cx = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndRight()
{
    SIZE sz = GetScrollPos();
    sz.cx = GetScrollRange().cx;
    SetScrollPos(sz);
}

void CContainerUI::EnableScrollBar(bool enableVertical, bool enableHorizontal)
{
    if (enableVertical && m_pVerticalScrollBar == NULL) {
        m_pVerticalScrollBar = new CScrollBarUI;
        m_pVerticalScrollBar->SetOwner(this);
        m_pVerticalScrollBar->SetManager(m_pManager, NULL, false);
        if (m_pManager != NULL) {
            LPCWSTR style = m_pManager->GetDefaultAttributeList(L"VScrollBar");
            if (style != NULL) m_pVerticalScrollBar->ApplyAttributeList(style);
        }
    }
    else if (!enableVertical && m_pVerticalScrollBar != NULL) {
        delete m_pVerticalScrollBar;
        m_pVerticalScrollBar = NULL;
    }

    if (enableHorizontal && m_pHorizontalScrollBar == NULL) {
        m_pHorizontalScrollBar = new CScrollBarUI;
        m_pHorizontalScrollBar->SetOwner(this);
        m_pHorizontalScrollBar->SetHorizontal(true);
        m_pHorizontalScrollBar->SetManager(m_pManager, NULL, false);
        if (m_pManager != NULL) {
            LPCWSTR style = m_pManager->GetDefaultAttributeList(L"HScrollBar");
            if (style != NULL) m_pHorizontalScrollBar->ApplyAttributeList(style);
        }
    }
    else if (!enableHorizontal && m_pHorizontalScrollBar != NULL) {
        delete m_pHorizontalScrollBar;
        m_pHorizontalScrollBar = NULL;
    }

    NeedUpdate();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const
{
    return m_pVerticalScrollBar;
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const
{
    return m_pHorizontalScrollBar;
}

void CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired)
{
    (void)cxRequired;

    CScrollBarUI* hbar = m_pHorizontalScrollBar;
    if (hbar != NULL && hbar->IsVisible()) {
        RECT rcBar = { rc.left, rc.bottom, rc.right, rc.bottom + Scale(hbar->GetFixedHeight()) };
        hbar->SetPos(rcBar);
    }

    CScrollBarUI* vbar = m_pVerticalScrollBar;
    if (vbar == NULL) return;

    int range = cyRequired - (rc.bottom - rc.top);
    if (rc.bottom - rc.top < cyRequired && !vbar->IsVisible()) {
        vbar->SetVisible(true);
        vbar->SetScrollRange(range);
        vbar->SetScrollPos(0);
        // Lay out again with the bar taking its room; that pass must not hide it again.
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return;
    }
    if (!vbar->IsVisible()) return;

    if (range <= 0 && !m_bScrollProcess) {
        vbar->SetVisible(false);
        vbar->SetScrollPos(0);
        vbar->SetScrollRange(0);
        SetPos(m_rcItem);
        return;
    }

    RECT rcBar = { rc.right, rc.top, rc.right + Scale(vbar->GetFixedWidth()), rc.bottom };
    vbar->SetPos(rcBar);

    if (vbar->GetScrollRange() != range) {
        int lastPos = vbar->GetScrollPos();
        vbar->SetScrollRange(range < 0 ? -range : range);
        if (vbar->GetScrollRange() == 0) {
            vbar->SetVisible(false);
            vbar->SetScrollPos(0);
        }
        // The position was clamped into the new range: the children must follow.
        if (lastPos > vbar->GetScrollPos()) SetPos(m_rcItem);
    }
}

} // namespace Veneer
