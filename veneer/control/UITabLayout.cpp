// CTabLayoutUI: keeps one visible child through additions and removals and lays only that one out.
#include "veneer/core/UISetup.h"
#include "veneer/control/UITabLayout.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/control/UIBoxLayout.h"
#include "veneer/window/UIManager.h"

#include <algorithm>

namespace Veneer {

namespace {

// The selected child's width runs along the axis, its height across it.
const CLayoutAxis kRow(false);

} // namespace

CTabLayoutUI::CTabLayoutUI()
    : m_iCurSel(-1)
{
}

LPCWSTR CTabLayoutUI::GetClass() const
{
    return L"TabLayoutUI";
}

LPVOID CTabLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != NULL && wcscmp(pstrName, L"TabLayout") == 0) return static_cast<CTabLayoutUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

int CTabLayoutUI::GetCurSel() const
{
    return m_iCurSel;
}

bool CTabLayoutUI::Add(CControlUI* pControl)
{
    // Taken before adding: a hidden tab passes its own hiding on to the child.
    const bool bVisible = pControl != NULL && pControl->IsVisible();
    if (!CContainerUI::AddAt(pControl, GetCount())) return false;
    if (m_iCurSel == -1 && bVisible) m_iCurSel = GetItemIndex(pControl);
    else pControl->SetVisible(false);
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex)
{
    const bool bVisible = pControl != NULL && pControl->IsVisible();
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    if (m_iCurSel == -1 && bVisible) {
        m_iCurSel = GetItemIndex(pControl);
        return true;
    }
    // Only the selected child shows, wherever the newcomer lands.
    pControl->SetVisible(false);
    if (m_iCurSel != -1 && iIndex <= m_iCurSel) ++m_iCurSel;
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl)
{
    if (pControl == NULL) return false;
    const int iIndex = GetItemIndex(pControl);
    if (!CContainerUI::Remove(pControl)) return false;

    if (iIndex == m_iCurSel) {
        if (GetCount() > 0) {
            m_iCurSel = 0;
            GetItemAt(0)->SetVisible(true);
        }
        else {
            m_iCurSel = -1;
        }
        NeedParentUpdate();
    }
    else if (iIndex < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

bool CTabLayoutUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    CControlUI* pSelected = GetItemAt(m_iCurSel);
    if (!CContainerUI::SetItemIndex(pControl, iIndex)) return false;
    if (pSelected != NULL) m_iCurSel = GetItemIndex(pSelected);
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

bool CTabLayoutUI::SelectItem(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetCount()) return false;
    if (iIndex == m_iCurSel) return true;

    const int iOldSel = m_iCurSel;
    m_iCurSel = iIndex;
    // While the builder applies attributes the tab is held by the manager but not yet in its tree:
    // focus given then would point into a tree that may never be attached.
    const bool bInTree = m_pManager != NULL && (m_pParent != NULL || m_pManager->GetRoot() == this);
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* pItem = GetItemAt(i);
        if (i == iIndex) {
            pItem->SetVisible(true);
            if (bInTree) pItem->SetFocus();
            SetPos(m_rcItem);
        }
        else {
            pItem->SetVisible(false);
        }
    }
    NeedParentUpdate();

    if (m_pManager != NULL) {
        if (bInTree) m_pManager->SetNextTabControl();
        m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl)
{
    const int iIndex = GetItemIndex(pControl);
    if (iIndex < 0) return false;
    return SelectItem(iIndex);
}

void CTabLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);

    const RECT rcInner = GetInsetRect();

    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        if (i != m_iCurSel) continue;

        const RECT rcPadding = kRow.Padding(pControl);
        RECT rcChild = rcInner;
        rcChild.left += rcPadding.left;
        rcChild.top += rcPadding.top;
        rcChild.right -= rcPadding.right;
        rcChild.bottom -= rcPadding.bottom;
        const int cxAvailable = rcChild.right - rcChild.left;
        const int cyAvailable = rcChild.bottom - rcChild.top;

        SIZE szAvailable = { cxAvailable, cyAvailable };
        SIZE sz = pControl->EstimateSize(szAvailable);
        if (sz.cx == 0) sz.cx = std::max(0, cxAvailable);
        if (sz.cy == 0) sz.cy = std::max(0, cyAvailable);
        sz.cx = kRow.Clamp(pControl, sz.cx);
        sz.cy = kRow.ClampCross(pControl, sz.cy);

        RECT rcCtrl = { rcChild.left, rcChild.top, rcChild.left + sz.cx, rcChild.top + sz.cy };
        pControl->SetPos(rcCtrl);
    }
}

void CTabLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"selectedid") == 0) SelectItem(CUIAttribute::ParseInt(pstrValue));
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

} // namespace Veneer
