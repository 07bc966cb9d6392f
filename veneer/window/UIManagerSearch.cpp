// CPaintManagerUI: focus and the Tab order, mouse capture, and the searches of the control tree.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"
#include "veneer/control/UIControl.h"

namespace Veneer {

namespace {

// Walk state of the Tab search.
struct TabSearchState
{
    CControlUI* pFocus;
    CControlUI* pLast;
    bool bForward;
    bool bNextIsIt;
};

// Walk state of the searches by class.
struct ClassSearchState
{
    LPCWSTR pstrClass;
    CStdPtrArray* pFound;
};

bool ClassMatches(CControlUI* pControl, LPCWSTR pstrClass)
{
    if (wcscmp(pstrClass, L"*") == 0) return true;
    LPCWSTR pstrControlClass = pControl->GetClass();
    return pstrControlClass != NULL && wcscmp(pstrControlClass, pstrClass) == 0;
}

} // namespace

// ---- focus and capture -----------------------------------------------------------------------

CControlUI* CPaintManagerUI::GetFocus() const
{
    return m_pFocus;
}

void CPaintManagerUI::KillFocusControl(CControlUI* pNewFocus)
{
    if (m_pFocus == NULL) return;
    TEventUI event = {};
    event.Type = EVENT_KILLFOCUS;
    event.pSender = pNewFocus;
    event.dwTimestamp = ::GetTickCount();
    CControlUI* pOldFocus = m_pFocus;
    pOldFocus->Event(event);
    SendNotify(pOldFocus, L"killfocus");
    m_pFocus = NULL;
}

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    HWND hFocusWnd = ::GetFocus();
    if (hFocusWnd != m_hWndPaint && pControl != m_pFocus && m_hWndPaint != NULL) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    KillFocusControl(pControl);
    if (pControl == NULL) return;
    if (pControl->GetManager() == this && pControl->IsVisible() && pControl->IsEnabled()) {
        m_pFocus = pControl;
        // A control focused now is the focus the user or the program chose: the Tab step still owed to
        // an earlier request would move it on to the next stop at the next paint.
        m_bFocusNeeded = false;
        TEventUI event = {};
        event.Type = EVENT_SETFOCUS;
        event.pSender = pControl;
        event.dwTimestamp = ::GetTickCount();
        m_pFocus->Event(event);
        SendNotify(pControl, L"setfocus");
    }
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl)
{
    if (m_hWndPaint != NULL) ::SetFocus(m_hWndPaint);
    if (pControl == NULL) return;
    KillFocusControl(pControl);
    // Park the focus on the Tab stop before the control: the forward step of the next paint
    // then lands on the control itself.
    TabSearchState info = { pControl, NULL, false, false };
    if (m_pRoot != NULL) {
        m_pFocus = m_pRoot->FindControl(FindControlFromTab, &info, FIND_VISIBLE | FIND_ENABLED | FIND_SELF_FIRST);
    }
    m_bFocusNeeded = true;
    if (m_pRoot != NULL) m_pRoot->NeedUpdate();
}

bool CPaintManagerUI::SetNextTabControl(bool bForward)
{
    // With a layout pending the positions are stale: move at the next paint.
    if (m_bUpdateNeeded && bForward) {
        m_bFocusNeeded = true;
        if (m_hWndPaint != NULL) ::InvalidateRect(m_hWndPaint, NULL, FALSE);
        return true;
    }
    if (m_pRoot != NULL) {
        const UINT uFlags = FIND_VISIBLE | FIND_ENABLED | FIND_SELF_FIRST;
        TabSearchState info1 = { m_pFocus, NULL, bForward, false };
        CControlUI* pControl = m_pRoot->FindControl(FindControlFromTab, &info1, uFlags);
        if (pControl == NULL) {
            if (bForward) {
                // Wrap around to the first Tab stop.
                TabSearchState info2 = { NULL, NULL, bForward, false };
                pControl = m_pRoot->FindControl(FindControlFromTab, &info2, uFlags);
            } else {
                pControl = info1.pLast;
            }
        }
        if (pControl != NULL) SetFocus(pControl);
    }
    m_bFocusNeeded = false;
    return true;
}

void CPaintManagerUI::SetCapture()
{
    if (m_hWndPaint != NULL) ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CPaintManagerUI::IsCaptured() const
{
    return m_bMouseCapture;
}

// ---- searches --------------------------------------------------------------------------------

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    if (m_pRoot == NULL) return NULL;
    return m_pRoot->FindControl(FindControlFromPoint, &pt, FIND_VISIBLE | FIND_HIT_TEST | FIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(LPCWSTR pstrName)
{
    if (pstrName == NULL) return NULL;
    return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const
{
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL) return NULL;
    return pParent->FindControl(FindControlFromPoint, &pt, FIND_VISIBLE | FIND_HIT_TEST | FIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const
{
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL || pstrName == NULL) return NULL;
    return pParent->FindControl(FindControlFromName, const_cast<LPWSTR>(pstrName), FIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex)
{
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL || pstrClass == NULL || iIndex < 0) return NULL;
    m_aFoundControls.Resize(iIndex + 1);
    ClassSearchState info = { pstrClass, &m_aFoundControls };
    return pParent->FindControl(FindControlFromClass, &info, FIND_ALL);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass)
{
    m_aFoundControls.Empty();
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL || pstrClass == NULL) return &m_aFoundControls;
    ClassSearchState info = { pstrClass, &m_aFoundControls };
    pParent->FindControl(FindControlsFromClass, &info, FIND_ALL);
    return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass()
{
    return &m_aFoundControls;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromUpdate(CControlUI* pThis, LPVOID /*pData*/)
{
    return pThis->IsUpdateNeeded() ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromNameHash(CControlUI* pThis, LPVOID pData)
{
    CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(pData);
    const CUIString sName = pThis->GetName();
    if (sName.IsEmpty()) return NULL;
    // A later control of the same name takes the name over.
    pManager->m_mNameHash.Set(sName.GetData(), pThis);
    return NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromPoint(CControlUI* pThis, LPVOID pData)
{
    const POINT* pPoint = static_cast<const POINT*>(pData);
    RECT rcPos = pThis->GetPos();
    return ::PtInRect(&rcPos, *pPoint) ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromTab(CControlUI* pThis, LPVOID pData)
{
    TabSearchState* pInfo = static_cast<TabSearchState*>(pData);
    if (pInfo->pFocus == pThis) {
        if (pInfo->bForward) pInfo->bNextIsIt = true;
        return pInfo->bForward ? NULL : pInfo->pLast;
    }
    if ((pThis->GetControlFlags() & UIFLAG_TABSTOP) == 0) return NULL;
    pInfo->pLast = pThis;
    if (pInfo->bNextIsIt) return pThis;
    if (pInfo->pFocus == NULL) return pThis;
    return NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromName(CControlUI* pThis, LPVOID pData)
{
    LPCWSTR pstrName = static_cast<LPCWSTR>(pData);
    const CUIString sName = pThis->GetName();
    if (sName.IsEmpty()) return NULL;
    return sName.CompareNoCase(pstrName) == 0 ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromClass(CControlUI* pThis, LPVOID pData)
{
    ClassSearchState* pInfo = static_cast<ClassSearchState*>(pData);
    if (!ClassMatches(pThis, pInfo->pstrClass)) return NULL;
    CStdPtrArray* pFound = pInfo->pFound;
    const int nSlots = pFound->GetSize();
    for (int i = 0; i < nSlots; i++) {
        if (pFound->GetAt(i) == NULL) {
            pFound->SetAt(i, pThis);
            return i == nSlots - 1 ? pThis : NULL;
        }
    }
    return NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlsFromClass(CControlUI* pThis, LPVOID pData)
{
    ClassSearchState* pInfo = static_cast<ClassSearchState*>(pData);
    if (ClassMatches(pThis, pInfo->pstrClass)) pInfo->pFound->Add(pThis);
    return NULL;
}

} // namespace Veneer
