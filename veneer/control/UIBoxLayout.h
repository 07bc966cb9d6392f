// CLayoutAxis and CBoxLayoutUI: the box layouts' engine, placement and splitter drag written once over an axis.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIContainer.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

// One axis of a layout pass: the components of sizes, points and rectangles along it (main) and
// across it (cross), and the skin values of a control as the pass reads them, in pixels at the display
// scale of the control's window. Layouts read every size, padding and extent limit through here.
class CLayoutAxis
{
public:
    explicit constexpr CLayoutAxis(bool vertical) : m_bVertical(vertical) {}
    bool IsVertical() const { return m_bVertical; }

    // Components
    LONG& Main(SIZE& size) const { return m_bVertical ? size.cy : size.cx; }
    LONG& Cross(SIZE& size) const { return m_bVertical ? size.cx : size.cy; }
    LONG Main(const SIZE& size) const { return m_bVertical ? size.cy : size.cx; }
    LONG Cross(const SIZE& size) const { return m_bVertical ? size.cx : size.cy; }
    LONG Main(const POINT& pt) const { return m_bVertical ? pt.y : pt.x; }
    LONG& Start(RECT& rc) const { return m_bVertical ? rc.top : rc.left; }
    LONG& End(RECT& rc) const { return m_bVertical ? rc.bottom : rc.right; }
    LONG& CrossStart(RECT& rc) const { return m_bVertical ? rc.left : rc.top; }
    LONG& CrossEnd(RECT& rc) const { return m_bVertical ? rc.right : rc.bottom; }
    LONG Start(const RECT& rc) const { return m_bVertical ? rc.top : rc.left; }
    LONG End(const RECT& rc) const { return m_bVertical ? rc.bottom : rc.right; }
    LONG CrossStart(const RECT& rc) const { return m_bVertical ? rc.left : rc.top; }
    LONG CrossEnd(const RECT& rc) const { return m_bVertical ? rc.right : rc.bottom; }
    LONG Extent(const RECT& rc) const { return End(rc) - Start(rc); }

    // Skin values of a control, in pixels
    static SIZE Estimate(CControlUI* control, SIZE available) { return control->EstimateSize(available); }
    static RECT Padding(const CControlUI* control)
    {
        const CPaintManagerUI* manager = control->GetManager();
        return manager != NULL ? manager->ScaleRect(control->GetPadding()) : control->GetPadding();
    }
    int Fixed(const CControlUI* control) const
    {
        return Pixels(control, m_bVertical ? control->GetFixedHeight() : control->GetFixedWidth());
    }
    int FixedCross(const CControlUI* control) const
    {
        return Pixels(control, m_bVertical ? control->GetFixedWidth() : control->GetFixedHeight());
    }
    int Min(const CControlUI* control) const
    {
        return Pixels(control, m_bVertical ? control->GetMinHeight() : control->GetMinWidth());
    }
    int Max(const CControlUI* control) const
    {
        return Pixels(control, m_bVertical ? control->GetMaxHeight() : control->GetMaxWidth());
    }
    // Raised to the minimum, then lowered to the maximum: the maximum wins a conflict.
    int Clamp(const CControlUI* control, int extent) const
    {
        if (extent < Min(control)) extent = Min(control);
        if (extent > Max(control)) extent = Max(control);
        return extent;
    }
    int ClampCross(const CControlUI* control, int extent) const
    {
        return CLayoutAxis(!m_bVertical).Clamp(control, extent);
    }

private:
    static int Pixels(const CControlUI* control, int value)
    {
        const CPaintManagerUI* manager = control->GetManager();
        return manager != NULL ? manager->ScaleValue(value) : value;
    }

    bool m_bVertical;
};

// What sets the two box layouts apart besides the exchanged axes.
struct TBoxAxis
{
    bool vertical : 1;           // children stack top to bottom, else left to right
    bool emptyInInnerRect : 1;   // with no children the scroll bars get the inner rectangle, else the inset one
    bool crossScrolls : 1;       // the scroll position across the stacking direction shifts the children too
    bool thumbInside : 1;        // the separator strip is kept inside the box
};

// The box layout: stacks its visible, non-float children along its axis, gives fixed-size ones their
// size and shares the rest among the others, and can act as a splitter along its end or start edge.
class CBoxLayoutUI : public CContainerUI
{
public:
    // Attributes
    virtual UINT GetControlFlags() const;

    void SetSepImmMode(bool immediately);
    bool IsSepImmMode() const;
    // The separator strip, at the dragged position while a drag is under way and useNew is set.
    RECT GetThumbRect(bool useNew = false) const;

    // Overridables
    virtual void SetAttribute(LPCWSTR name, LPCWSTR value);
    virtual void DoEvent(TEventUI& event);
    virtual void SetPos(RECT rc);
    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

protected:
    explicit CBoxLayoutUI(const TBoxAxis& axis);

    // Implementation
    // The box rectangle after the captured separator is dragged to pt; false when it stays as it is.
    bool DragTo(POINT pt, RECT& rc);

    // The axis the children stack along.
    CLayoutAxis Axis() const { return CLayoutAxis(m_box.vertical); }

    // Width (horizontal) or height (vertical) of the separator strip: 0 none, above 0 at the end edge,
    // below 0 at the start edge.
    int m_iSepSize;
    UINT m_uButtonState;
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmMode;
    const TBoxAxis m_box;
};

} // namespace Veneer
