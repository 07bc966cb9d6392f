// CEditUI and CEditWnd: a single-line text field that edits through a native edit window placed over it.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UINativeOverlay.h"

namespace Veneer {

class CEditUI;

// The system edit control, superclassed, living over its owner only while the owner is edited.
class CEditWnd : public CNativeOverlayWnd<CEditUI>
{
public:
// Construction
    // Creates the native window over the owner and gives it the keyboard focus; false when it
    // cannot be created.
    bool Init(CEditUI* pOwner);

// Attributes
    // The owner's text area, narrowed to one line of its font and centred vertically.
    RECT CalPos() override;
    LPCWSTR GetWindowClass() const override;
    LPCWSTR GetSuperClassName() const override;

// Implementation
protected:
    friend class CEditUI;

    LRESULT HandleOwnedMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnEditChanged();
    LRESULT OnCtlColor(HDC hDC);
};

class CEditUI : public CNativeOverlayUI<CEditUI, CEditWnd>
{
public:
// Construction
    CEditUI();

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetText(LPCWSTR pstrText) override;
    void SetEnabled(bool bEnable = true) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;

    void SetMaxChar(UINT uMax);
    UINT GetMaxChar() const;
    void SetReadOnly(bool bReadOnly);
    bool IsReadOnly() const;
    void SetPasswordMode(bool bPasswordMode);
    bool IsPasswordMode() const;
    void SetPasswordChar(wchar_t cPasswordChar);
    wchar_t GetPasswordChar() const;
    // Number-only mode is an extra native style; it reaches the native window when it next opens.
    void SetNumberOnly(bool bNumberOnly);
    bool IsNumberOnly() const;
    int GetWindowStyls() const;
    UINT GetEditState() const;

    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR pStrImage);
    // 0xFFFFFFFF leaves the native window's colours to the system.
    void SetNativeEditBkColor(DWORD dwBkColor);
    DWORD GetNativeEditBkColor() const;

// Operations
    // The selection calls act on the native window only; without one they do nothing.
    void SetSel(long nStartChar, long nEndChar);
    void SetSelAll();
    void SetReplaceSel(LPCWSTR lpszReplace);

// Overridables
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

// Implementation
protected:
    friend class CEditWnd;

    void OnNativeClick(const TEventUI& event) override;
    // Selects the whole text (at least one character) in the native window.
    void SelectAllNative();
    // Draws an image string; one that cannot be drawn is emptied so it is not tried again.
    bool DrawOrClear(HDC hDC, CUIString& sImage);

    UINT m_uMaxChar;
    bool m_bReadOnly;
    bool m_bPasswordMode;
    wchar_t m_cPasswordChar;
    UINT m_uButtonState;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    DWORD m_dwEditbkColor;
    int m_iWindowStyls;
};

} // namespace Veneer
