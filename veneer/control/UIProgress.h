// CProgressUI: a label that fills a share of its rectangle with a fore image, by a value between bounds.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UILabel.h"

namespace Veneer {

class CProgressUI : public CLabelUI
{
public:
// Construction
    CProgressUI();

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    bool IsHorizontal() const;
    void SetHorizontal(bool bHorizontal = true);
    bool IsStretchForeImage() const;
    void SetStretchForeImage(bool bStretchForeImage = true);
    // The bounds and the value are stored as given; the next paint brings them in order.
    int GetMinValue() const;
    void SetMinValue(int nMin);
    int GetMaxValue() const;
    void SetMaxValue(int nMax);
    int GetValue() const;
    void SetValue(int nValue);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR pStrImage);

// Overridables
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void PaintStatusImage(HDC hDC) override;

// Implementation
protected:
    // The bounds and value as painting uses them: maximum above minimum, value between the two.
    void GetOrderedRange(int& nMin, int& nMax, int& nValue) const;

    bool m_bHorizontal;
    bool m_bStretchForeImage;
    int m_nMax;
    int m_nMin;
    int m_nValue;
    CUIString m_sForeImage;
    CUIString m_sForeImageModify;
};

} // namespace Veneer
