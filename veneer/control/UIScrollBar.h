// CScrollBarUI: the windowless scroll bar with arrow buttons, a proportional thumb and auto-repeat.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"
#include "veneer/control/UIControl.h"

namespace Veneer {

class CContainerUI;

class CScrollBarUI : public CControlUI
{
public:
    // Construction
    CScrollBarUI();

    // Attributes
    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR name);

    // The container that scrolls with the bar; not owned. Without one the bar keeps its own position
    // and reports "scroll" notifications.
    CContainerUI* GetOwner() const;
    void SetOwner(CContainerUI* owner);

    bool IsHorizontal() const;
    void SetHorizontal(bool horizontal = true);
    int GetScrollRange() const;
    void SetScrollRange(int range);
    int GetScrollPos() const;
    void SetScrollPos(int pos);
    int GetLineSize() const;
    void SetLineSize(int size);

    bool GetShowButton1() const;
    void SetShowButton1(bool show);
    bool GetShowButton2() const;
    void SetShowButton2(bool show);

    // Parts laid out by SetPos: all zeros for the thumb when the bar has no room for one.
    const RECT& GetButton1Rect() const;
    const RECT& GetButton2Rect() const;
    const RECT& GetThumbRect() const;
    // STATE_* bits of the parts.
    UINT GetButton1State() const;
    UINT GetButton2State() const;
    UINT GetThumbState() const;

    LPCWSTR GetButton1NormalImage() const;
    void SetButton1NormalImage(LPCWSTR image);
    LPCWSTR GetButton1HotImage() const;
    void SetButton1HotImage(LPCWSTR image);
    LPCWSTR GetButton1PushedImage() const;
    void SetButton1PushedImage(LPCWSTR image);
    LPCWSTR GetButton1DisabledImage() const;
    void SetButton1DisabledImage(LPCWSTR image);

    LPCWSTR GetButton2NormalImage() const;
    void SetButton2NormalImage(LPCWSTR image);
    LPCWSTR GetButton2HotImage() const;
    void SetButton2HotImage(LPCWSTR image);
    LPCWSTR GetButton2PushedImage() const;
    void SetButton2PushedImage(LPCWSTR image);
    LPCWSTR GetButton2DisabledImage() const;
    void SetButton2DisabledImage(LPCWSTR image);

    LPCWSTR GetThumbNormalImage() const;
    void SetThumbNormalImage(LPCWSTR image);
    LPCWSTR GetThumbHotImage() const;
    void SetThumbHotImage(LPCWSTR image);
    LPCWSTR GetThumbPushedImage() const;
    void SetThumbPushedImage(LPCWSTR image);
    LPCWSTR GetThumbDisabledImage() const;
    void SetThumbDisabledImage(LPCWSTR image);

    LPCWSTR GetRailNormalImage() const;
    void SetRailNormalImage(LPCWSTR image);
    LPCWSTR GetRailHotImage() const;
    void SetRailHotImage(LPCWSTR image);
    LPCWSTR GetRailPushedImage() const;
    void SetRailPushedImage(LPCWSTR image);
    LPCWSTR GetRailDisabledImage() const;
    void SetRailDisabledImage(LPCWSTR image);

    LPCWSTR GetBkNormalImage() const;
    void SetBkNormalImage(LPCWSTR image);
    LPCWSTR GetBkHotImage() const;
    void SetBkHotImage(LPCWSTR image);
    LPCWSTR GetBkPushedImage() const;
    void SetBkPushedImage(LPCWSTR image);
    LPCWSTR GetBkDisabledImage() const;
    void SetBkDisabledImage(LPCWSTR image);

    // Overridables
    virtual void SetVisible(bool visible = true);
    virtual void SetEnabled(bool enabled = true);
    virtual void SetFocus();
    virtual void SetPos(RECT rc);
    virtual void DoEvent(TEventUI& event);
    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void SetAttribute(LPCWSTR name, LPCWSTR value);

    // Operations: the painted parts, in painting order
    void PaintBk(HDC hDC);
    void PaintButton1(HDC hDC);
    void PaintButton2(HDC hDC);
    void PaintThumb(HDC hDC);
    void PaintRail(HDC hDC);

    // Implementation
protected:
    // The painted parts and their state images, in attribute order.
    enum Part { PART_BUTTON1, PART_BUTTON2, PART_THUMB, PART_RAIL, PART_BK, PART_COUNT };
    enum Look { LOOK_NORMAL, LOOK_HOT, LOOK_PUSHED, LOOK_DISABLED, LOOK_COUNT };

    // Id of the control timer that drives auto-repeat and thumb drags.
    enum { REPEAT_TIMER_ID = 10, REPEAT_TIMER_ELAPSE = 50, REPEAT_DELAY_TICKS = 5 };

    void SetImage(Part part, Look look, LPCWSTR image);
    // Draws the state image (or the normal one) of a part into rc; true when one was drawn.
    bool PaintPart(HDC hDC, Part part, UINT& state, const RECT* rc);
    void PaintOutlinedPart(HDC hDC, Part part, UINT& state, const RECT& rc);
    // Thickness of the bar across its axis, length of the bar and of the thumb along it.
    int GetThickness() const;
    int GetBarLength() const;
    // The axis coordinate of a point (x for a horizontal bar, y for a vertical one).
    int AxisOf(POINT pt) const;
    // Start and end of a rectangle along the bar's axis.
    int StartOf(const RECT& rc) const;
    int EndOf(const RECT& rc) const;
    // Room the thumb can travel in.
    int GetThumbTravel() const;
    void LineBack();
    void LineForward();
    // Pages one step from the thumb towards a point on the track; false when the point is on the
    // thumb or there is no thumb.
    bool PageTowards(POINT pt);
    // Moves to the position the current thumb drag asks for.
    void ApplyDrag();
    void NotifyScroll();
    void PassOn(TEventUI& event);

    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    int m_nLineSize;
    CContainerUI* m_pOwner;
    POINT m_ptLastMouse;
    int m_nLastScrollPos;
    int m_nLastScrollOffset;
    int m_nScrollRepeatDelay;

    bool m_bShowButton1;
    bool m_bShowButton2;
    RECT m_rcButton1;
    RECT m_rcButton2;
    RECT m_rcThumb;
    UINT m_uButton1State;
    UINT m_uButton2State;
    UINT m_uThumbState;

    CUIString m_sImages[PART_COUNT][LOOK_COUNT];
    CUIString m_sImageModify;
};

} // namespace Veneer
