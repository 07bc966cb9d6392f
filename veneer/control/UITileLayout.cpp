// CTileLayoutUI: the grid layout, row by row, each child centred in its cell.
#include "veneer/core/UISetup.h"
#include "veneer/control/UITileLayout.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/control/UIBoxLayout.h"

#include <algorithm>

namespace Veneer {

namespace {

// Cells run along a row; the row's height is the cross extent.
const CLayoutAxis kRow(false);

} // namespace

CTileLayoutUI::CTileLayoutUI() : m_nColumns(1)
{
    m_szItem.cx = 0;
    m_szItem.cy = 0;
}

LPCWSTR CTileLayoutUI::GetClass() const
{
    return L"TileLayoutUI";
}

LPVOID CTileLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (wcscmp(pstrName, L"TileLayout") == 0) return static_cast<CTileLayoutUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

void CTileLayoutUI::SetColumns(int nCols)
{
    if (nCols <= 0) return;
    m_nColumns = nCols;
    NeedUpdate();
}

int CTileLayoutUI::GetColumns() const
{
    return m_nColumns;
}

void CTileLayoutUI::SetItemSize(SIZE szItem)
{
    if (m_szItem.cx == szItem.cx && m_szItem.cy == szItem.cy) return;
    m_szItem = szItem;
    NeedUpdate();
}

SIZE CTileLayoutUI::GetItemSize() const
{
    return m_szItem;
}

void CTileLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"itemsize") == 0) SetItemSize(CUIAttribute::ParseSize(pstrValue));
    else if (wcscmp(pstrName, L"columns") == 0) SetColumns(CUIAttribute::ParseInt(pstrValue));
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

int CTileLayoutUI::MeasureRow(int iFirst, int iCount, int nColumns, int cxCell) const
{
    const int gap = Scale(m_iChildPadding);
    int cyRow = 0;
    int iIndex = iCount;
    for (int j = iFirst; j < m_items.GetSize(); ++j) {
        CControlUI* pLine = GetItemAt(j);
        if (!pLine->IsVisible() || pLine->IsFloat()) continue;
        const RECT rcPadding = kRow.Padding(pLine);
        SIZE szAvailable = { cxCell - rcPadding.left - rcPadding.right, 9999 };
        // The outer edges of a row carry half a child padding, the inner ones a whole one.
        if (iIndex == iCount || (iIndex + 1) % nColumns == 0) szAvailable.cx -= gap / 2;
        else szAvailable.cx -= gap;
        szAvailable.cx = kRow.Clamp(pLine, szAvailable.cx);
        SIZE szTile = kRow.Estimate(pLine, szAvailable);
        szTile.cx = kRow.Clamp(pLine, szTile.cx);
        szTile.cy = kRow.ClampCross(pLine, szTile.cy);
        cyRow = std::max<int>(cyRow, szTile.cy + rcPadding.top + rcPadding.bottom);
        if (++iIndex % nColumns == 0) break;
    }
    return cyRow;
}

void CTileLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) {
        ProcessScrollBar(GetInsetRect(), 0, 0);
        return;
    }

    rc = GetInnerRect();

    const int cxWidth = rc.right - rc.left;
    const int gap = Scale(m_iChildPadding);
    const int cxItem = Scale(m_szItem.cx);
    int nColumns = m_nColumns;
    if (cxItem > 0) nColumns = cxWidth / cxItem;
    // A box squeezed to nothing still lays its children out in one column.
    if (nColumns < 1) nColumns = 1;

    int cxCell = cxWidth / nColumns;
    if (IsHorizontalBarShown()) cxCell = (cxWidth + GetScrollRange().cx) / nColumns;

    const SIZE szScroll = GetScrollPos();
    const int x0 = rc.left - szScroll.cx;
    POINT ptTile = { x0, rc.top - szScroll.cy };
    int cyRow = 0;
    int iCount = 0;
    int cyNeeded = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }

        const RECT rcPadding = kRow.Padding(pControl);
        RECT rcTile = { ptTile.x, ptTile.y, ptTile.x + cxCell, ptTile.y };
        if (iCount % nColumns == 0) cyRow = MeasureRow(i, iCount, nColumns, cxCell);

        rcTile.left += rcPadding.left + gap / 2;
        rcTile.right -= rcPadding.right + gap / 2;
        if (iCount % nColumns == 0) rcTile.left -= gap / 2;
        if ((iCount + 1) % nColumns == 0) rcTile.right += gap / 2;
        rcTile.top = ptTile.y + rcPadding.top;
        rcTile.bottom = ptTile.y + cyRow;

        const SIZE szAvailable = { rcTile.right - rcTile.left, rcTile.bottom - rcTile.top };
        SIZE szTile = kRow.Estimate(pControl, szAvailable);
        if (szTile.cx == 0) szTile.cx = szAvailable.cx;
        if (szTile.cy == 0) szTile.cy = szAvailable.cy;
        szTile.cx = kRow.Clamp(pControl, szTile.cx);
        szTile.cy = kRow.ClampCross(pControl, szTile.cy);
        const int left = (rcTile.left + rcTile.right - szTile.cx) / 2;
        const int top = (rcTile.top + rcTile.bottom - szTile.cy) / 2;
        const RECT rcPos = { left, top, left + szTile.cx, top + szTile.cy };
        pControl->SetPos(rcPos);

        if (++iCount % nColumns == 0) {
            ptTile.x = x0;
            ptTile.y += cyRow + gap;
            cyRow = 0;
        }
        else {
            ptTile.x += cxCell;
        }
        cyNeeded = rcTile.bottom - rc.top + szScroll.cy;
    }

    ProcessScrollBar(rc, 0, cyNeeded);
}

} // namespace Veneer
