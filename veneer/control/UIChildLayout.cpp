// CChildLayoutUI: builds its skin file into a control tree and adopts the tree's root.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIChildLayout.h"
#include "veneer/core/UIDialogBuilder.h"

namespace Veneer {

namespace {

// Longest chain of child layouts building one another's files.
const int kMaxNestedFiles = 16;

} // namespace

const CChildLayoutUI* CChildLayoutUI::s_pBuilding = NULL;

CChildLayoutUI::CChildLayoutUI() : m_pOuterBuild(NULL)
{
}

LPCWSTR CChildLayoutUI::GetClass() const
{
    return L"ChildLayoutUI";
}

LPVOID CChildLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (wcscmp(pstrName, L"ChildLayout") == 0) return static_cast<CChildLayoutUI*>(this);
    // Still a container: the builder and tree walks reach the adopted tree through it.
    return CContainerUI::GetInterface(pstrName);
}

void CChildLayoutUI::SetChildLayoutXML(LPCWSTR pstrXML)
{
    m_pstrXMLFile = pstrXML;
}

CUIString CChildLayoutUI::GetChildLayoutXML() const
{
    return m_pstrXMLFile;
}

void CChildLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"xmlfile") == 0) SetChildLayoutXML(pstrValue);
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

bool CChildLayoutUI::IsNestedTooDeep() const
{
    int nDepth = 0;
    for (const CChildLayoutUI* pOuter = s_pBuilding; pOuter != NULL; pOuter = pOuter->m_pOuterBuild) {
        if (++nDepth >= kMaxNestedFiles) return true;
        if (pOuter->m_pstrXMLFile == m_pstrXMLFile) return true;
    }
    return false;
}

void CChildLayoutUI::Init()
{
    if (m_pstrXMLFile.IsEmpty()) return;
    // Adding the new tree initialises it at once; a file that holds a child layout of itself would
    // otherwise be built without end.
    if (IsNestedTooDeep()) {
        RemoveAll();
        return;
    }
    m_pOuterBuild = s_pBuilding;
    s_pBuilding = this;
    CDialogBuilder builder;
    CControlUI* pChildWindow = builder.Create(STRINGorID(m_pstrXMLFile.GetData()), NULL, NULL, m_pManager, NULL);
    if (pChildWindow != NULL) {
        if (!Add(pChildWindow)) delete pChildWindow;
    }
    else {
        RemoveAll();
    }
    s_pBuilding = m_pOuterBuild;
    m_pOuterBuild = NULL;
}

} // namespace Veneer
