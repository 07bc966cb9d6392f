// COptionUI: a button that stays selected; options sharing a group name behave as radio buttons.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIButton.h"

namespace Veneer {

class COptionUI : public CButtonUI
{
public:
// Construction
    COptionUI();
    ~COptionUI() override;

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetEnabled(bool bEnable = true) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;

    LPCWSTR GetGroup() const;
    // Null or an empty name leaves the group.
    void SetGroup(LPCWSTR pStrGroupName = NULL);
    bool IsSelected() const;
    virtual void Selected(bool bSelected);

    DWORD GetSelectedBkColor() const;
    void SetSelectedBkColor(DWORD dwBkColor);
    DWORD GetSelectedTextColor() const;
    void SetSelectedTextColor(DWORD dwTextColor);
    LPCWSTR GetSelectedImage() const;
    void SetSelectedImage(LPCWSTR pStrImage);
    LPCWSTR GetSelectedHotImage() const;
    void SetSelectedHotImage(LPCWSTR pStrImage);

// Operations
    bool Activate() override;

// Overridables
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

// Implementation
protected:
    // The button's state painting without the fore image, which the option draws once itself.
    void PaintButtonStatusImage(HDC hDC);
    void JoinGroup();
    void LeaveGroup();

    bool m_bSelected;
    CUIString m_sGroupName;
    DWORD m_dwSelectedBkColor;
    DWORD m_dwSelectedTextColor;
    CUIString m_sSelectedImage;
    CUIString m_sSelectedHotImage;
};

} // namespace Veneer
