// CButtonUI: a label that tracks hot, pushed and focused states, paints state images and sends "click".
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UILabel.h"

namespace Veneer {

class CButtonUI : public CLabelUI
{
public:
// Construction
    CButtonUI();
    ~CButtonUI() override;

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool bEnable = true) override;
    UINT GetButtonState() const;

    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetHotForeImage() const;
    void SetHotForeImage(LPCWSTR pStrImage);
    LPCWSTR GetPushedImage() const;
    void SetPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR pStrImage);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);

    // The state colours only store: they show from the next paint on.
    void SetHotBkColor(DWORD dwColor);
    DWORD GetHotBkColor() const;
    void SetHotTextColor(DWORD dwColor);
    DWORD GetHotTextColor() const;
    void SetPushedTextColor(DWORD dwColor);
    DWORD GetPushedTextColor() const;
    void SetFocusedTextColor(DWORD dwColor);
    DWORD GetFocusedTextColor() const;

// Operations
    bool Activate() override;

// Overridables
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

// Implementation
protected:
    // Picks up focus and enabled changes made since the last paint.
    void RefreshPaintState();
    // Draws an image string; one that cannot be drawn is emptied so it is not tried again.
    bool DrawOrClear(HDC hDC, CUIString& sImage);
    // Stores one of the state images below and notes whether it is set.
    void SetStateImage(CUIString& sImage, UINT uImage, LPCWSTR pStrImage);
    bool HasStateImage(UINT uImage, const CUIString& sImage) const;

    enum
    {
        IMAGE_NORMAL = 0x01,
        IMAGE_HOT = 0x02,
        IMAGE_HOTFORE = 0x04,
        IMAGE_PUSHED = 0x08,
        IMAGE_FOCUSED = 0x10,
        IMAGE_DISABLED = 0x20,
        IMAGE_FORE = 0x40
    };
    // The state a paint reads first starts a cache line.
    alignas(64) UINT m_uButtonState;
    // Which state images may be set (IMAGE_ flags): an image string written other than through its
    // setter must have its flag set too, or it is not painted.
    UINT m_uStateImages;
    DWORD m_dwHotBkColor;
    DWORD m_dwHotTextColor;
    DWORD m_dwPushedTextColor;
    DWORD m_dwFocusedTextColor;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sHotForeImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    CUIString m_sForeImage;
};

} // namespace Veneer
