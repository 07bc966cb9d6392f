// CLabelUI: one line of text, plain or with inline markup, optionally drawn through GDI+ with effects.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIControl.h"

#include <algorithm>

// The GDI+ headers expect min and max in their own namespace.
namespace Gdiplus {
using std::max;
using std::min;
}
#include <gdiplus.h>

namespace Veneer {

class CLabelUI : public CControlUI
{
public:
// Construction
    CLabelUI();
    ~CLabelUI() override;

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    CUIString GetText() const override;
    void SetText(LPCWSTR pstrText) override;

    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const;
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const;
    void SetDisabledTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const;
    void SetFont(int index);
    int GetFont() const;
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const;
    void SetShowHtml(bool bShowHtml = true);

    // The text effect; these setters only store, the next paint shows the change.
    void SetEnabledEffect(bool bEnable);
    bool GetEnabledEffect() const;
    void SetEnabledStroke(bool bEnable);
    bool GetEnabledStroke() const;
    void SetEnabledShadow(bool bEnable);
    bool GetEnabledShadow() const;
    void SetTransShadow(int nAlpha);
    int GetTransShadow() const;
    void SetTransShadow1(int nAlpha);
    int GetTransShadow1() const;
    void SetTransText(int nAlpha);
    int GetTransText() const;
    void SetTransText1(int nAlpha);
    int GetTransText1() const;
    void SetTransStroke(int nAlpha);
    int GetTransStroke() const;
    void SetGradientAngle(int nAngle);
    int GetGradientAngle() const;
    void SetGradientLength(int nLength);
    int GetGradientLength() const;
    void SetTextColor1(DWORD dwColor);
    DWORD GetTextColor1() const;
    void SetTextShadowColorA(DWORD dwColor);
    DWORD GetTextShadowColorA() const;
    void SetTextShadowColorB(DWORD dwColor);
    DWORD GetTextShadowColorB() const;
    void SetStrokeColor(DWORD dwColor);
    DWORD GetStrokeColor() const;
    void SetTextRenderingHintAntiAlias(int nHint);
    int GetTextRenderingHintAntiAlias() const;
    // Angles above 180 or below -180 are ignored.
    void SetShadowOffset(int nOffset, int nAngle);
    Gdiplus::RectF GetShadowOffset() const;

    // Process-wide: labels constructed while this is off do not start GDI+ and draw no effect text,
    // as on a system without it.
    static void EnableGdiplus(bool bEnable);
    static bool IsGdiplusEnabled();
    // Whether GDI+ serves this label: its own session starts on first use (an effect text painted, or
    // this asked), so labels that draw no effect never load GDI+.
    bool IsGdiplusStarted() const;

// Overridables
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

// Implementation
protected:
    // Zero text colours take the manager's defaults, once and for good.
    void ResolveDefaultColors();
    // The fixed size when a height is fixed, else the fixed width and one line of the label's font
    // plus a margin.
    SIZE EstimateOneLine(SIZE szAvailable, int nMargin);
    // The item rectangle less the text padding.
    RECT GetTextRect() const;
    void PaintEffectText(HDC hDC, const RECT& rcText);

    // What a paint reads first, together, on a cache line of its own.
    alignas(64) bool m_EnableEffect;
    bool m_bShowHtml;
    DWORD m_dwTextColor;
    DWORD m_dwDisabledTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    RECT m_rcTextPadding;

    int m_EnableEffectStringAlignment;
    int m_EnableEffectLineAlignment;
    int m_TransShadow;
    int m_TransShadow1;
    int m_TransText;
    int m_TransText1;
    int m_TransStroke;
    int m_GradientLength;
    int m_GradientAngle;
    bool m_EnabledStroke;
    bool m_EnabledShadow;
    DWORD m_dwTextColor1;
    DWORD m_dwTextShadowColorA;
    DWORD m_dwTextShadowColorB;
    DWORD m_dwStrokeColor;
    Gdiplus::RectF m_ShadowOffset;
    CUIString m_TextValue;
    int m_TextRenderingHintAntiAlias;

private:
    bool StartGdiplus() const;

    // GDI+ for effect text: kNotYet until first use; kNone when it was off at construction or failed.
    enum { kGdiplusNotYet, kGdiplusStarted, kGdiplusNone };
    mutable ULONG_PTR m_gdiplusToken;
    mutable int m_nGdiplus;

    static bool s_bGdiplusEnabled;
};

} // namespace Veneer
