// CTabLayoutUI: a container that shows exactly one of its children at a time.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIContainer.h"

namespace Veneer {

class CTabLayoutUI : public CContainerUI
{
public:
// Construction
    CTabLayoutUI();

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    // The index of the shown child, -1 when there is none.
    int GetCurSel() const;

// Operations
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    // The selection stays with the shown child when children are reordered.
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    void RemoveAll() override;
    bool SelectItem(int iIndex);
    bool SelectItem(CControlUI* pControl);

// Overridables
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

// Implementation
protected:
    int m_iCurSel;
};

} // namespace Veneer
