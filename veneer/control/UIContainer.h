// IContainerUI and CContainerUI: the child list, inset, float placement, scrolling and painting of containers.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIArray.h"
#include "veneer/control/UIControl.h"

namespace Veneer {

class CScrollBarUI;

// The child-list operations of every container.
class IContainerUI
{
public:
    virtual CControlUI* GetItemAt(int index) const = 0;
    virtual int GetItemIndex(CControlUI* control) const = 0;
    virtual bool SetItemIndex(CControlUI* control, int index) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* control) = 0;
    virtual bool AddAt(CControlUI* control, int index) = 0;
    virtual bool Remove(CControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;

protected:
    // Containers are destroyed as controls, never through this interface.
    ~IContainerUI() {}
};

class CContainerUI : public CControlUI, public IContainerUI
{
public:
    // Construction
    CContainerUI();
    virtual ~CContainerUI();

    // Attributes
    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR name);

    // IContainerUI
    virtual CControlUI* GetItemAt(int index) const;
    virtual int GetItemIndex(CControlUI* control) const;
    virtual bool SetItemIndex(CControlUI* control, int index);
    virtual int GetCount() const;
    virtual bool Add(CControlUI* control);
    virtual bool AddAt(CControlUI* control, int index);
    virtual bool Remove(CControlUI* control);
    virtual bool RemoveAt(int index);
    virtual void RemoveAll();

    // Overridables
    virtual void DoEvent(TEventUI& event);
    virtual void SetVisible(bool visible = true);
    virtual void SetInternVisible(bool visible = true);
    virtual void SetMouseEnabled(bool enabled = true);

    virtual RECT GetInset() const;
    virtual void SetInset(RECT inset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int padding);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool autoDestroy);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool delayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool enabled = true);

    virtual int FindSelectable(int index, bool forward = true) const;

    virtual void SetPos(RECT rc);
    virtual void DoPaint(HDC hDC, const RECT& rcPaint);

    virtual void SetAttribute(LPCWSTR name, LPCWSTR value);

    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags);

    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE pos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBar(bool enableVertical = true, bool enableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;

    // Operations
    CControlUI* FindSubControl(LPCWSTR subControlName);
    bool SetSubControlText(LPCWSTR subControlName, LPCWSTR text);
    bool SetSubControlFixedHeight(LPCWSTR subControlName, int height);
    bool SetSubControlFixedWdith(LPCWSTR subControlName, int width);
    bool SetSubControlUserData(LPCWSTR subControlName, LPCWSTR text);
    CUIString GetSubControlText(LPCWSTR subControlName);
    int GetSubControlFixedHeight(LPCWSTR subControlName);
    int GetSubControlFixedWdith(LPCWSTR subControlName);
    CUIString GetSubControlUserData(LPCWSTR subControlName);

protected:
    // Overridables
    virtual void SetFloatPos(int index);
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

    // Implementation
    // The item rectangle less the inset.
    RECT GetInsetRect() const;
    // The item rectangle less the inset and the visible scroll bars.
    RECT GetInnerRect() const;
    // Hands a removed child to the manager for later deletion, or deletes it now.
    void DestroyChild(CControlUI* control);
    bool IsVerticalBarShown() const;
    bool IsHorizontalBarShown() const;
    int GetLineStep() const;

    // What a paint of the container reads, from here to the scroll bars, on one cache line.
    alignas(64) CStdPtrArray m_items;
    RECT m_rcInset;
    int m_iChildPadding;
    bool m_bAutoDestroy;
    bool m_bDelayedDestroy;
    bool m_bMouseChildEnabled;
    bool m_bScrollProcess;

    CScrollBarUI* m_pVerticalScrollBar;
    CScrollBarUI* m_pHorizontalScrollBar;
};

} // namespace Veneer
