// CTileLayoutUI: a container that arranges its children in a grid of equal-width columns.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIContainer.h"

namespace Veneer {

class CTileLayoutUI : public CContainerUI
{
public:
// Construction
    CTileLayoutUI();

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    // Counts below 1 are ignored.
    void SetColumns(int nCols);
    int GetColumns() const;
    // Only the width takes part in the layout: above 0 it decides the column count.
    void SetItemSize(SIZE szItem);
    SIZE GetItemSize() const;

// Overridables
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

// Implementation
protected:
    // The tallest child (with its paddings) of the row that starts at child iFirst, placed count iCount.
    int MeasureRow(int iFirst, int iCount, int nColumns, int cxCell) const;

    int m_nColumns;
    SIZE m_szItem;
};

} // namespace Veneer
