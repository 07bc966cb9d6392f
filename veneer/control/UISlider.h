// CSliderUI: a progress bar with a thumb that the mouse drags and the wheel steps.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIProgress.h"

namespace Veneer {

class CSliderUI : public CProgressUI
{
public:
// Construction
    CSliderUI();

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool bEnable = true) override;
    // Hot (0x08) and captured (0x40) bits.
    UINT GetSliderState() const;

    int GetChangeStep() const;
    void SetChangeStep(int nStep);
    SIZE GetThumbSize() const;
    void SetThumbSize(SIZE szThumb);
    // In client coordinates.
    RECT GetThumbRect() const;
    LPCWSTR GetThumbImage() const;
    void SetThumbImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbHotImage() const;
    void SetThumbHotImage(LPCWSTR pStrImage);
    LPCWSTR GetThumbPushedImage() const;
    void SetThumbPushedImage(LPCWSTR pStrImage);

// Overridables
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

// Implementation
protected:
    // The value a mouse point at pt stands for.
    int ValueFromPoint(POINT pt) const;

    UINT m_uButtonState;
    int m_nStep;
    SIZE m_szThumb;
    CUIString m_sThumbImage;
    CUIString m_sThumbHotImage;
    CUIString m_sThumbPushedImage;
    CUIString m_sThumbImageModify;
};

} // namespace Veneer
