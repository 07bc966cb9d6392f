// CControlUI: the base of every windowless control (geometry, layout hints, attributes, events, painting).
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"
#include "veneer/core/UIDelegate.h"
#include "veneer/window/UIEvents.h"

namespace Veneer {

class CPaintManagerUI;

// State bits shared by controls that track the mouse (buttons, scroll bars, splitters).
enum
{
    STATE_FOCUSED = 0x01,
    STATE_SELECTED = 0x02,
    STATE_DISABLED = 0x04,
    STATE_HOT = 0x08,
    STATE_PUSHED = 0x10,
    STATE_CAPTURED = 0x40
};

// How a float child follows its container's growth: percentages of the size increase applied to its
// position (move) and to its size (zoom), against the container size recorded at the last layout.
typedef struct tagTRelativePosUI
{
    bool bRelative;
    SIZE szParent;
    int nMoveXPercent;
    int nMoveYPercent;
    int nZoomXPercent;
    int nZoomYPercent;
} TRelativePosUI;

// Controls start on a cache line, so that the fields every paint reads (see below) take as few lines
// as they can: a heap block is aligned to 16 bytes only, and a paint of many controls waits on each
// line it has to fetch.
class alignas(64) CControlUI
{
public:
    // Construction
    CControlUI();
    virtual ~CControlUI();

    // Attributes
    virtual CUIString GetName() const;
    virtual void SetName(LPCWSTR name);
    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR name);
    virtual UINT GetControlFlags() const;

    virtual bool Activate();
    virtual CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* GetParent() const;

    virtual CUIString GetText() const;
    virtual void SetText(LPCWSTR text);

    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT padding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE xy);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual void SetRelativePos(SIZE move, SIZE zoom);
    virtual void SetRelativeParentSize(SIZE size);
    virtual TRelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;

    virtual CUIString GetToolTip() const;
    virtual void SetToolTip(LPCWSTR text);
    virtual void SetToolTipWidth(int width);
    virtual int GetToolTipWidth() const;

    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);

    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool used);

    virtual CUIString GetUserData() const;
    virtual void SetUserData(LPCWSTR text);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR tag);

    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    virtual void SetInternVisible(bool visible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enabled = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enabled = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool isFloat = true);

    // Operations
    virtual CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags);

    virtual void Init();
    virtual void DoInit();

    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    virtual void SetAttribute(LPCWSTR name, LPCWSTR value);

    virtual SIZE EstimateSize(SIZE available);

    virtual void DoPaint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBkColor(HDC hDC);
    virtual void PaintBkImage(HDC hDC);
    virtual void PaintStatusImage(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorder(HDC hDC);

    virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

    // Non-virtual operations
    // Asks for the memory a paint of this control reads before it reads it, for a container whose walk is
    // about to reach the control: its first two cache lines, its text's head and the first line of its
    // subclass's fields. Reads nothing of the control itself.
    void PrefetchForPaint() const;
    // Then, once its first line has come, the further line a subclass's paint reads (SetPaintFields).
    void PrefetchFieldsForPaint() const;
    void ApplyAttributeList(LPCWSTR list);

    void Invalidate();
    bool IsUpdateNeeded() const;
    void NeedUpdate();
    void NeedParentUpdate();

    DWORD GetAdjustColor(DWORD color);
    bool DrawImage(HDC hDC, LPCWSTR image, LPCWSTR modify = NULL);

    CUIString GetVirtualWnd() const;
    void SetVirtualWnd(LPCWSTR name);

    // Colours, border and background image
    DWORD GetBkColor() const;
    void SetBkColor(DWORD color);
    DWORD GetBkColor2() const;
    void SetBkColor2(DWORD color);
    DWORD GetBkColor3() const;
    void SetBkColor3(DWORD color);
    LPCWSTR GetBkImage() const;
    void SetBkImage(LPCWSTR image);
    DWORD GetBorderColor() const;
    void SetBorderColor(DWORD color);
    DWORD GetFocusBorderColor() const;
    void SetFocusBorderColor(DWORD color);
    bool IsColorHSL() const;
    void SetColorHSL(bool colorHSL);
    int GetBorderSize() const;
    void SetBorderSize(int size);
    void SetBorderSize(RECT sides);
    int GetLeftBorderSize() const;
    void SetLeftBorderSize(int size);
    int GetTopBorderSize() const;
    void SetTopBorderSize(int size);
    int GetRightBorderSize() const;
    void SetRightBorderSize(int size);
    int GetBottomBorderSize() const;
    void SetBottomBorderSize(int size);
    int GetBorderStyle() const;
    void SetBorderStyle(int style);
    SIZE GetBorderRound() const;
    void SetBorderRound(SIZE round);

protected:
    // Implementation
    // For a subclass whose paint reads fields beyond the first line of its own (a line of their own,
    // alignas(64)): names where they start, so that a container's walk asks for them ahead of the paint.
    void SetPaintFields(const void* pFields);
    // Skin units (attribute values) to pixels at the display scale of the control's window; unchanged
    // without a manager. Zero stays zero at every scale, and most of what a paint scales (corners, side
    // widths) is zero: that case is settled here, without a call.
    int Scale(int nValue) const { return nValue != 0 ? ScaleNonZero(nValue) : 0; }
    SIZE ScaleSize(SIZE sz) const { return sz.cx != 0 || sz.cy != 0 ? ScaleNonZero(sz) : sz; }
    RECT ScaleRect(const RECT& rc) const
    {
        return rc.left != 0 || rc.top != 0 || rc.right != 0 || rc.bottom != 0 ? ScaleNonZero(rc) : rc;
    }
    // Pixels back to skin units.
    int Unscale(int nPixels) const;
    // The item rectangle clipped by every ancestor; false when nothing of it is left.
    bool ClipToAncestors(RECT& rc) const;
    void InvalidateArea(const RECT& rc);

    // Read by every paint, so kept together at the very front: a paint of many controls otherwise spends
    // more time fetching each control's scattered fields than drawing. The heads of the background image
    // and the text follow, the only strings every paint reads; the text starts a line of its own, so that
    // its pointer and its first characters come in one fetch.
    CPaintManagerUI* m_pManager;
    RECT m_rcItem;
    RECT m_rcPaint;
    bool m_bVisible;
    bool m_bInternVisible;
    bool m_bFloat;
    bool m_bFocused;
    bool m_bColorHSL;
    bool m_bEnabled;
    unsigned short m_cbPaintFields; // SetPaintFields: from the control's start; 0 for none
    DWORD m_dwBackColor;
    DWORD m_dwBackColor2;
    DWORD m_dwBackColor3;
    DWORD m_dwBorderColor;
    DWORD m_dwFocusBorderColor;
    int m_nBorderSize;
    int m_nBorderStyle;
    SIZE m_cxyBorderRound;
    RECT m_rcBorderSize;
    CUIString m_sBkImage;
    alignas(64) CUIString m_sText;

    // Read by every layout, together with the size hook just after them.
    CControlUI* m_pParent;
    bool m_bUpdateNeeded;
    bool m_bMenuUsed;
    bool m_bMouseEnabled;
    bool m_bKeyboardEnabled;
    bool m_bSetPos;
    RECT m_rcPadding;
    SIZE m_cXY;
    SIZE m_cxyFixed;
    SIZE m_cxyMin;
    SIZE m_cxyMax;
    TRelativePosUI m_tRelativePos;

public:
    // Hooks; each is called with the control (EventHook with the event). A false result of
    // EventHook keeps the event from DoEvent.
    CEventSource SizeHook;
    CEventSource EventHook;
    CEventSource NotifyHook;
    CEventSource InitHook;
    CEventSource DestroyHook;

protected:
    CUIString m_sVirtualWnd;
    CUIString m_sName;
    CUIString m_sToolTip;
    wchar_t m_chShortcut;
    CUIString m_sUserData;
    UINT_PTR m_pTag;
    int m_nTooltipWidth;

private:
    // The scaling itself, for values other than zero.
    int ScaleNonZero(int nValue) const;
    SIZE ScaleNonZero(SIZE sz) const;
    RECT ScaleNonZero(const RECT& rc) const;

    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;
};

} // namespace Veneer
