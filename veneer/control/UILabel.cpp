// CLabelUI: text attributes, size estimate, plain and markup text painting, and the GDI+ text effect.
#include "veneer/core/UISetup.h"
#include "veneer/control/UILabel.h"
#include "veneer/control/UIAttribute.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

namespace {

// Alpha values outside a byte would spill into the colour channels.
Gdiplus::ARGB WithAlpha(DWORD dwColor, int nAlpha)
{
    const DWORD alpha = static_cast<DWORD>(std::min(std::max(nAlpha, 0), 255));
    return static_cast<Gdiplus::ARGB>((alpha << 24) | (dwColor & 0x00FFFFFF));
}

// What one effect paint creates, released whatever step fails.
struct EffectObjects
{
    Gdiplus::GpGraphics* graphics = NULL;
    Gdiplus::GpFont* font = NULL;
    Gdiplus::GpStringFormat* format = NULL;
    Gdiplus::GpLineGradient* textBrush = NULL;
    Gdiplus::GpLineGradient* shadowBrush = NULL;
    Gdiplus::GpLineGradient* strokeBrush = NULL;

    EffectObjects() {}
    EffectObjects(const EffectObjects&) = delete;
    EffectObjects& operator=(const EffectObjects&) = delete;
    ~EffectObjects()
    {
        using namespace Gdiplus::DllExports;
        if (strokeBrush != NULL) GdipDeleteBrush(strokeBrush);
        if (shadowBrush != NULL) GdipDeleteBrush(shadowBrush);
        if (textBrush != NULL) GdipDeleteBrush(textBrush);
        if (format != NULL) GdipDeleteStringFormat(format);
        if (font != NULL) GdipDeleteFont(font);
        if (graphics != NULL) GdipDeleteGraphics(graphics);
    }
};

// Every effect brush runs from (angle, 0) to (0, length): the angle value is the start's x.
Gdiplus::GpLineGradient* CreateEffectBrush(int nAngle, int nLength, Gdiplus::ARGB from, Gdiplus::ARGB to)
{
    Gdiplus::GpPoint start(nAngle, 0);
    Gdiplus::GpPoint end(0, nLength);
    Gdiplus::GpLineGradient* brush = NULL;
    if (Gdiplus::DllExports::GdipCreateLineBrushI(&start, &end, from, to, Gdiplus::WrapModeTile, &brush) !=
        Gdiplus::Ok) {
        return NULL;
    }
    return brush;
}

} // namespace

bool CLabelUI::s_bGdiplusEnabled = true;

CLabelUI::CLabelUI()
    : m_EnableEffect(false),
      m_bShowHtml(false),
      m_dwTextColor(0),
      m_dwDisabledTextColor(0),
      m_iFont(-1),
      m_uTextStyle(DT_VCENTER),
      m_EnableEffectStringAlignment(Gdiplus::StringAlignmentNear),
      m_EnableEffectLineAlignment(Gdiplus::StringAlignmentCenter),
      m_TransShadow(60),
      m_TransShadow1(60),
      m_TransText(168),
      m_TransText1(168),
      m_TransStroke(255),
      m_GradientLength(0),
      m_GradientAngle(0),
      m_EnabledStroke(false),
      m_EnabledShadow(false),
      m_dwTextColor1(0xFFFFFFFF),
      m_dwTextShadowColorA(0xFF000000),
      m_dwTextShadowColorB(0xFFFFFFFF),
      m_dwStrokeColor(0),
      m_ShadowOffset(0.0f, 0.0f, 0.0f, 0.0f),
      m_TextRenderingHintAntiAlias(Gdiplus::TextRenderingHintSystemDefault),
      m_gdiplusToken(0),
      m_nGdiplus(s_bGdiplusEnabled ? kGdiplusNotYet : kGdiplusNone)
{
    ::ZeroMemory(&m_rcTextPadding, sizeof(m_rcTextPadding));
}

CLabelUI::~CLabelUI()
{
    // A token from a failed start-up is no session and must not be shut down.
    if (m_nGdiplus == kGdiplusStarted) Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

bool CLabelUI::StartGdiplus() const
{
    // Each label that uses GDI+ holds its own session, so GDI+ runs while any such label exists;
    // starting it costs a library load and a thread, which most windows never need.
    if (m_nGdiplus == kGdiplusNotYet) {
        Gdiplus::GdiplusStartupInput input;
        m_nGdiplus = Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, NULL) == Gdiplus::Ok ? kGdiplusStarted
                                                                                          : kGdiplusNone;
    }
    return m_nGdiplus == kGdiplusStarted;
}

LPCWSTR CLabelUI::GetClass() const
{
    return L"LabelUI";
}

LPVOID CLabelUI::GetInterface(LPCWSTR pstrName)
{
    if (wcscmp(pstrName, L"Label") == 0) return static_cast<CLabelUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

CUIString CLabelUI::GetText() const
{
    if (m_EnableEffect) return m_TextValue;
    return CControlUI::GetText();
}

void CLabelUI::SetText(LPCWSTR pstrText)
{
    if (!m_EnableEffect) {
        CControlUI::SetText(pstrText);
        return;
    }
    m_TextValue = pstrText;
}

void CLabelUI::SetTextStyle(UINT uStyle)
{
    m_uTextStyle = uStyle;
    Invalidate();
}

UINT CLabelUI::GetTextStyle() const
{
    return m_uTextStyle;
}

void CLabelUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    Invalidate();
}

DWORD CLabelUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor)
{
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const
{
    return m_dwDisabledTextColor;
}

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    Invalidate();
}

int CLabelUI::GetFont() const
{
    return m_iFont;
}

RECT CLabelUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

bool CLabelUI::IsShowHtml() const
{
    return m_bShowHtml;
}

void CLabelUI::SetShowHtml(bool bShowHtml)
{
    if (m_bShowHtml == bShowHtml) return;
    m_bShowHtml = bShowHtml;
    Invalidate();
}

void CLabelUI::SetEnabledEffect(bool bEnable)
{
    m_EnableEffect = bEnable;
}

bool CLabelUI::GetEnabledEffect() const
{
    return m_EnableEffect;
}

void CLabelUI::SetEnabledStroke(bool bEnable)
{
    m_EnabledStroke = bEnable;
}

bool CLabelUI::GetEnabledStroke() const
{
    return m_EnabledStroke;
}

void CLabelUI::SetEnabledShadow(bool bEnable)
{
    m_EnabledShadow = bEnable;
}

bool CLabelUI::GetEnabledShadow() const
{
    return m_EnabledShadow;
}

void CLabelUI::SetTransShadow(int nAlpha)
{
    m_TransShadow = nAlpha;
}

int CLabelUI::GetTransShadow() const
{
    return m_TransShadow;
}

void CLabelUI::SetTransShadow1(int nAlpha)
{
    m_TransShadow1 = nAlpha;
}

int CLabelUI::GetTransShadow1() const
{
    return m_TransShadow1;
}

void CLabelUI::SetTransText(int nAlpha)
{
    m_TransText = nAlpha;
}

int CLabelUI::GetTransText() const
{
    return m_TransText;
}

void CLabelUI::SetTransText1(int nAlpha)
{
    m_TransText1 = nAlpha;
}

int CLabelUI::GetTransText1() const
{
    return m_TransText1;
}

void CLabelUI::SetTransStroke(int nAlpha)
{
    m_TransStroke = nAlpha;
}

int CLabelUI::GetTransStroke() const
{
    return m_TransStroke;
}

void CLabelUI::SetGradientAngle(int nAngle)
{
    m_GradientAngle = nAngle;
}

int CLabelUI::GetGradientAngle() const
{
    return m_GradientAngle;
}

void CLabelUI::SetGradientLength(int nLength)
{
    m_GradientLength = nLength;
}

int CLabelUI::GetGradientLength() const
{
    return m_GradientLength;
}

void CLabelUI::SetTextColor1(DWORD dwColor)
{
    m_dwTextColor1 = dwColor;
}

DWORD CLabelUI::GetTextColor1() const
{
    return m_dwTextColor1;
}

void CLabelUI::SetTextShadowColorA(DWORD dwColor)
{
    m_dwTextShadowColorA = dwColor;
}

DWORD CLabelUI::GetTextShadowColorA() const
{
    return m_dwTextShadowColorA;
}

void CLabelUI::SetTextShadowColorB(DWORD dwColor)
{
    m_dwTextShadowColorB = dwColor;
}

DWORD CLabelUI::GetTextShadowColorB() const
{
    return m_dwTextShadowColorB;
}

void CLabelUI::SetStrokeColor(DWORD dwColor)
{
    m_dwStrokeColor = dwColor;
}

DWORD CLabelUI::GetStrokeColor() const
{
    return m_dwStrokeColor;
}

void CLabelUI::SetTextRenderingHintAntiAlias(int nHint)
{
    if (nHint < Gdiplus::TextRenderingHintSystemDefault || nHint > Gdiplus::TextRenderingHintClearTypeGridFit) {
        nHint = Gdiplus::TextRenderingHintSystemDefault;
    }
    m_TextRenderingHintAntiAlias = nHint;
}

int CLabelUI::GetTextRenderingHintAntiAlias() const
{
    return m_TextRenderingHintAntiAlias;
}

void CLabelUI::SetShadowOffset(int nOffset, int nAngle)
{
    if (nAngle > 180 || nAngle < -180) return;
    // The offset depends on the angle alone, never on where the label happens to be placed.
    int top = 0;
    int left = 0;
    if (nAngle >= 0) top -= nOffset;
    else if (nAngle > -180) top += nOffset;
    if (nAngle > -90 && nAngle <= 90) left -= nOffset;
    else if (nAngle > 90 || nAngle < -90) left += nOffset;
    m_ShadowOffset.X = static_cast<Gdiplus::REAL>(top);
    m_ShadowOffset.Y = static_cast<Gdiplus::REAL>(left);
}

Gdiplus::RectF CLabelUI::GetShadowOffset() const
{
    return m_ShadowOffset;
}

void CLabelUI::EnableGdiplus(bool bEnable)
{
    s_bGdiplusEnabled = bEnable;
}

bool CLabelUI::IsGdiplusEnabled()
{
    return s_bGdiplusEnabled;
}

bool CLabelUI::IsGdiplusStarted() const
{
    return StartGdiplus();
}

void CLabelUI::DoEvent(TEventUI& event)
{
    // A label shows no focus, so focus changes need no repaint.
    if (event.Type == EVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.Type == EVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    CControlUI::DoEvent(event);
}

void CLabelUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"align") == 0) {
        if (wcsstr(pstrValue, L"left") != NULL) {
            m_uTextStyle &= ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        }
        if (wcsstr(pstrValue, L"center") != NULL) {
            m_uTextStyle &= ~DT_RIGHT;
            m_uTextStyle |= DT_CENTER;
        }
        if (wcsstr(pstrValue, L"right") != NULL) {
            m_uTextStyle &= ~(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            m_uTextStyle |= DT_RIGHT;
        }
        if (wcsstr(pstrValue, L"top") != NULL) {
            m_uTextStyle &= ~(DT_BOTTOM | DT_VCENTER);
            m_uTextStyle |= DT_SINGLELINE;
        }
        if (wcsstr(pstrValue, L"vcenter") != NULL) {
            m_uTextStyle &= ~DT_BOTTOM;
            m_uTextStyle |= DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        }
        if (wcsstr(pstrValue, L"bottom") != NULL) {
            m_uTextStyle &= ~DT_VCENTER;
            m_uTextStyle |= DT_BOTTOM | DT_SINGLELINE;
        }
    }
    else if (wcscmp(pstrName, L"endellipsis") == 0) {
        if (CUIAttribute::ParseBool(pstrValue)) m_uTextStyle |= DT_END_ELLIPSIS;
        else m_uTextStyle &= ~DT_END_ELLIPSIS;
    }
    else if (wcscmp(pstrName, L"font") == 0) SetFont(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"textcolor") == 0) SetTextColor(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"disabledtextcolor") == 0) SetDisabledTextColor(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"textcolor1") == 0) SetTextColor1(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"textshadowcolora") == 0) SetTextShadowColorA(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"textshadowcolorb") == 0) SetTextShadowColorB(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"strokecolor") == 0) SetStrokeColor(CUIAttribute::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"textpadding") == 0) SetTextPadding(CUIAttribute::ParseRect(pstrValue));
    else if (wcscmp(pstrName, L"showhtml") == 0) SetShowHtml(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"enabledeffect") == 0) SetEnabledEffect(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"enabledstroke") == 0) SetEnabledStroke(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"enabledshadow") == 0) SetEnabledShadow(CUIAttribute::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"rhaa") == 0) SetTextRenderingHintAntiAlias(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"transshadow") == 0) SetTransShadow(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"transtext") == 0) SetTransText(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"transshadow1") == 0) SetTransShadow1(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"transtext1") == 0) SetTransText1(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"transstroke") == 0) SetTransStroke(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"gradientangle") == 0) SetGradientAngle(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"gradientlength") == 0) SetGradientLength(CUIAttribute::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"shadowoffset") == 0) {
        const SIZE offset = CUIAttribute::ParseSize(pstrValue);
        SetShadowOffset(offset.cx, offset.cy);
    }
    else CControlUI::SetAttribute(pstrName, pstrValue);
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable)
{
    return EstimateOneLine(szAvailable, 4);
}

SIZE CLabelUI::EstimateOneLine(SIZE szAvailable, int nMargin)
{
    CPaintManagerUI* pManager = GetManager();
    if (GetFixedHeight() != 0 || pManager == NULL) return CControlUI::EstimateSize(szAvailable);
    const TFontInfo* pFont = pManager->GetFontInfo(GetFont());
    SIZE sz = { Scale(GetFixedWidth()), (pFont != NULL ? pFont->tm.tmHeight : 0) + Scale(nMargin) };
    return sz;
}

void CLabelUI::ResolveDefaultColors()
{
    CPaintManagerUI* pManager = GetManager();
    if (pManager == NULL) return;
    if (m_dwTextColor == 0) m_dwTextColor = pManager->GetDefaultFontColor();
    if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = pManager->GetDefaultDisabledColor();
}

RECT CLabelUI::GetTextRect() const
{
    RECT rc = GetPos();
    const RECT rcPadding = ScaleRect(m_rcTextPadding);
    rc.left += rcPadding.left;
    rc.top += rcPadding.top;
    rc.right -= rcPadding.right;
    rc.bottom -= rcPadding.bottom;
    return rc;
}

void CLabelUI::PaintText(HDC hDC)
{
    if (m_EnableEffect) {
        ResolveDefaultColors();
        PaintEffectText(hDC, GetTextRect());
        return;
    }
    CUIString sText = GetText();
    if (sText.IsEmpty()) return;
    ResolveDefaultColors();
    RECT rc = GetTextRect();
    const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if (m_bShowHtml) {
        int nLinks = 0;
        CRenderEngine::DrawHtmlText(hDC, GetManager(), rc, sText, dwColor, NULL, NULL, nLinks,
                                    m_uTextStyle | DT_SINGLELINE);
    }
    else {
        CRenderEngine::DrawText(hDC, GetManager(), rc, sText, dwColor, m_iFont, m_uTextStyle | DT_SINGLELINE);
    }
}

void CLabelUI::PaintEffectText(HDC hDC, const RECT& rcText)
{
    // GDI+ draws on its own: the paint's pending clips must be on the DC first.
    CRenderClip::ApplyPending(hDC);
    CPaintManagerUI* pManager = GetManager();
    // Without GDI+ (or with nothing to say) the effect draws nothing.
    if (pManager == NULL || m_TextValue.IsEmpty() || !StartGdiplus()) return;
    HFONT hFont = pManager->GetFont(m_iFont);
    LOGFONTW lf;
    if (hFont == NULL || ::GetObjectW(hFont, sizeof(lf), &lf) != static_cast<int>(sizeof(lf))) return;

    using namespace Gdiplus;
    using namespace Gdiplus::DllExports;
    EffectObjects gp;
    if (GdipCreateFromHDC(hDC, &gp.graphics) != Ok) return;
    if (GdipSetTextRenderingHint(gp.graphics, static_cast<TextRenderingHint>(m_TextRenderingHintAntiAlias)) != Ok) {
        return;
    }
    if (GdipCreateFontFromLogfontW(hDC, &lf, &gp.font) != Ok) return;
    // The effect always lays the text out near-left and vertically centred, whatever the alignment.
    if (GdipCreateStringFormat(0, LANG_NEUTRAL, &gp.format) != Ok ||
        GdipSetStringFormatAlign(gp.format, static_cast<StringAlignment>(m_EnableEffectStringAlignment)) != Ok ||
        GdipSetStringFormatLineAlign(gp.format, static_cast<StringAlignment>(m_EnableEffectLineAlignment)) != Ok) {
        return;
    }

    const int nWidth = rcText.right - rcText.left;
    const int nHeight = rcText.bottom - rcText.top;
    const RectF rcLayout(static_cast<REAL>(rcText.left), static_cast<REAL>(rcText.top), static_cast<REAL>(nWidth),
                         static_cast<REAL>(nHeight));
    // Offsets and lengths are skin units; a unit is this many pixels.
    const REAL fUnit = static_cast<REAL>(Scale(100)) / 100.0f;
    const RectF rcShadow(rcLayout.X + m_ShadowOffset.X * fUnit, rcLayout.Y + m_ShadowOffset.Y * fUnit,
                         rcLayout.Width, rcLayout.Height);
    const int nLength = m_GradientLength != 0 ? Scale(m_GradientLength) : nHeight;

    const DWORD dwShadowB = m_dwTextShadowColorB == 0xFFFFFFFF ? m_dwTextShadowColorA : m_dwTextShadowColorB;
    const DWORD dwTextB = m_dwTextColor1 == 0xFFFFFFFF ? m_dwTextColor : m_dwTextColor1;
    gp.shadowBrush = CreateEffectBrush(m_GradientAngle, nLength, WithAlpha(m_dwTextShadowColorA, m_TransShadow),
                                       WithAlpha(dwShadowB, m_TransShadow1));
    gp.textBrush = CreateEffectBrush(m_GradientAngle, nLength, WithAlpha(m_dwTextColor, m_TransText),
                                     WithAlpha(dwTextB, m_TransText1));
    if (gp.shadowBrush == NULL || gp.textBrush == NULL) return;

    LPCWSTR pstrText = m_TextValue.GetData();
    if (m_EnabledStroke && m_dwStrokeColor != 0) {
        const ARGB stroke = WithAlpha(m_dwStrokeColor, m_TransStroke);
        gp.strokeBrush = CreateEffectBrush(m_GradientAngle, nHeight + 2, stroke, stroke);
        if (gp.strokeBrush == NULL) return;
        static const REAL kStrokeShifts[4][2] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
        for (int i = 0; i < 4; ++i) {
            const RectF rcStroke(rcLayout.X + kStrokeShifts[i][0] * fUnit, rcLayout.Y + kStrokeShifts[i][1] * fUnit,
                                 rcLayout.Width, rcLayout.Height);
            GdipDrawString(gp.graphics, pstrText, -1, gp.font, &rcStroke, gp.format, gp.strokeBrush);
        }
    }
    if (m_EnabledShadow && (m_dwTextShadowColorA != 0 || m_dwTextShadowColorB != 0)) {
        GdipDrawString(gp.graphics, pstrText, -1, gp.font, &rcShadow, gp.format, gp.shadowBrush);
    }
    GdipDrawString(gp.graphics, pstrText, -1, gp.font, &rcLayout, gp.format, gp.textBrush);
}

} // namespace Veneer
