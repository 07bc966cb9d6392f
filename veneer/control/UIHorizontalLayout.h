// CHorizontalLayoutUI: stacks its children left to right and can act as a splitter along its left or right edge.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIContainer.h"

namespace Veneer {

class CHorizontalLayoutUI : public CContainerUI
{
public:
    // Construction
    CHorizontalLayoutUI();

    // Attributes
    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR name);
    virtual UINT GetControlFlags() const;

    void SetSepWidth(int width);
    int GetSepWidth() const;
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
    int m_iSepWidth;
    UINT m_uButtonState;
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmMode;
};

} // namespace Veneer
