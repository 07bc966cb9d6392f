// COptionUI: selection, option groups kept by the paint manager, and the selected-state painting.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIOption.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/core/UIArray.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

COptionUI::COptionUI()
    : m_bSelected(false),
      m_dwSelectedBkColor(0),
      m_dwSelectedTextColor(0)
{
}

COptionUI::~COptionUI()
{
    LeaveGroup();
}

LPCWSTR COptionUI::GetClass() const
{
    return L"OptionUI";
}

LPVOID COptionUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != NULL && wcscmp(pstrName, L"Option") == 0) return static_cast<COptionUI*>(this);
    return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetEnabled(bool bEnable)
{
    CButtonUI::SetEnabled(bEnable);
    // A disabled option forgets hot and pushed but still shows whether it is selected.
    if (!IsEnabled()) m_uButtonState = m_bSelected ? STATE_SELECTED : 0;
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    // Group lists belong to one manager: leaving it must not leave a stale pointer in its list.
    if (m_pManager != NULL && m_pManager != pManager) LeaveGroup();
    CButtonUI::SetManager(pManager, pParent, bInit);
    if (bInit) JoinGroup();
}

LPCWSTR COptionUI::GetGroup() const
{
    return m_sGroupName;
}

void COptionUI::SetGroup(LPCWSTR pStrGroupName)
{
    if (pStrGroupName == NULL) pStrGroupName = L"";
    if (m_sGroupName == pStrGroupName) return;
    LeaveGroup();
    m_sGroupName = pStrGroupName;
    JoinGroup();
}

void COptionUI::JoinGroup()
{
    if (m_sGroupName.IsEmpty() || m_pManager == NULL) return;
    m_pManager->AddOptionGroup(m_sGroupName, this);
    // A selected newcomer keeps the group at one selected option; grouped options deselect silently.
    if (!m_bSelected) return;
    CStdPtrArray* pGroup = m_pManager->GetOptionGroup(m_sGroupName);
    if (pGroup == NULL) return;
    CStdPtrArray aOthers(*pGroup);
    for (int i = 0; i < aOthers.GetSize(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(aOthers[i]);
        COptionUI* pOption = static_cast<COptionUI*>(pControl->GetInterface(L"Option"));
        if (pOption != NULL && pOption != this && pOption->IsSelected()) pOption->Selected(false);
    }
}

void COptionUI::LeaveGroup()
{
    if (m_sGroupName.IsEmpty() || m_pManager == NULL) return;
    m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

bool COptionUI::IsSelected() const
{
    return m_bSelected;
}

void COptionUI::Selected(bool bSelected)
{
    if (m_bSelected == bSelected) return;
    m_bSelected = bSelected;
    if (m_bSelected) m_uButtonState |= STATE_SELECTED;
    else m_uButtonState &= ~STATE_SELECTED;
    // Repainted before the notification: its handler may destroy the option.
    Invalidate();

    CPaintManagerUI* pManager = GetManager();
    if (pManager == NULL) return;
    if (m_sGroupName.IsEmpty()) {
        pManager->SendNotify(this, L"selectchanged");
        return;
    }
    if (!m_bSelected) return;
    CStdPtrArray* pGroup = pManager->GetOptionGroup(m_sGroupName);
    if (pGroup != NULL) {
        // A copy: a deselected option's own code may change the list.
        CStdPtrArray aOthers(*pGroup);
        for (int i = 0; i < aOthers.GetSize(); ++i) {
            CControlUI* pControl = static_cast<CControlUI*>(aOthers[i]);
            // The list is public; anything in it that is not an option is passed over.
            COptionUI* pOption = static_cast<COptionUI*>(pControl->GetInterface(L"Option"));
            if (pOption != NULL && pOption != this) pOption->Selected(false);
        }
    }
    pManager->SendNotify(this, L"selectchanged");
}

DWORD COptionUI::GetSelectedBkColor() const
{
    return m_dwSelectedBkColor;
}

void COptionUI::SetSelectedBkColor(DWORD dwBkColor)
{
    m_dwSelectedBkColor = dwBkColor;
}

DWORD COptionUI::GetSelectedTextColor() const
{
    return m_dwSelectedTextColor;
}

void COptionUI::SetSelectedTextColor(DWORD dwTextColor)
{
    m_dwSelectedTextColor = dwTextColor;
}

LPCWSTR COptionUI::GetSelectedImage() const
{
    return m_sSelectedImage;
}

void COptionUI::SetSelectedImage(LPCWSTR pStrImage)
{
    m_sSelectedImage = pStrImage;
    Invalidate();
}

LPCWSTR COptionUI::GetSelectedHotImage() const
{
    return m_sSelectedHotImage;
}

void COptionUI::SetSelectedHotImage(LPCWSTR pStrImage)
{
    m_sSelectedHotImage = pStrImage;
    Invalidate();
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;
    // Clicking a grouped option never deselects it; a lone one toggles.
    if (!m_sGroupName.IsEmpty()) Selected(true);
    else Selected(!m_bSelected);
    return true;
}

void COptionUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"group") == 0) SetGroup(pstrValue);
    else if (wcscmp(pstrName, L"selected") == 0) Selected(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"selectedimage") == 0) SetSelectedImage(pstrValue);
    else if (wcscmp(pstrName, L"selectedhotimage") == 0) SetSelectedHotImage(pstrValue);
    else if (wcscmp(pstrName, L"selectedbkcolor") == 0) SetSelectedBkColor(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"selectedtextcolor") == 0) SetSelectedTextColor(CUIAttribute::ParseColor(pstrValue));
    else CButtonUI::SetAttribute(pstrName, pstrValue);
}

void COptionUI::PaintButtonStatusImage(HDC hDC)
{
    CUIString sForeImage = m_sForeImage;
    m_sForeImage.Empty();
    CButtonUI::PaintStatusImage(hDC);
    m_sForeImage = sForeImage;
}

void COptionUI::PaintStatusImage(HDC hDC)
{
    m_uButtonState &= ~STATE_PUSHED;

    if ((m_uButtonState & STATE_HOT) != 0 && m_bSelected && !m_sSelectedHotImage.IsEmpty()) {
        if (!DrawOrClear(hDC, m_sSelectedHotImage)) PaintButtonStatusImage(hDC);
    }
    else if ((m_uButtonState & STATE_SELECTED) != 0) {
        if (!m_sSelectedImage.IsEmpty()) {
            if (!DrawOrClear(hDC, m_sSelectedImage)) PaintButtonStatusImage(hDC);
        }
        else if (m_dwSelectedBkColor != 0) {
            CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
            return;
        }
        else {
            PaintButtonStatusImage(hDC);
        }
    }
    else {
        PaintButtonStatusImage(hDC);
    }

    if (!m_sForeImage.IsEmpty()) DrawOrClear(hDC, m_sForeImage);
}

void COptionUI::PaintText(HDC hDC)
{
    if ((m_uButtonState & STATE_SELECTED) == 0) {
        CButtonUI::PaintText(hDC);
        return;
    }

    const DWORD dwOldTextColor = m_dwTextColor;
    if (m_dwSelectedTextColor != 0) m_dwTextColor = m_dwSelectedTextColor;
    ResolveDefaultColors();

    CUIString sText = GetText();
    if (!sText.IsEmpty()) {
        RECT rc = GetTextRect();
        const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
        if (m_bShowHtml) {
            int nLinks = 0;
            CRenderEngine::DrawHtmlText(hDC, GetManager(), rc, sText, dwColor, NULL, NULL, nLinks, m_uTextStyle);
        }
        else {
            CRenderEngine::DrawText(hDC, GetManager(), rc, sText, dwColor, m_iFont, m_uTextStyle);
        }
    }
    m_dwTextColor = dwOldTextColor;
}

} // namespace Veneer
