// CRenderEngine::DrawHtmlText: text with inline formatting tags, drawn or measured line by line.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderSession.h"
#include "veneer/render/UIRenderUtil.h"
#include "veneer/render/UIRenderHtmlMarkup.h"
#include "veneer/render/UIRenderHtmlText.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

using RenderUtil::ToColorRef;

namespace HtmlText {

namespace {

// Longest piece of a run measured at once; the rest follows as a further run on the same line.
const int kMaxRunLength = 1024;
const int kDefaultTagFontSize = 10;
// Measuring stops this far down: far beyond any window, well before the pen could overflow.
const int kMaxPenY = 0x3FFFFFFF;
// Width and height of the rectangle the text is measured in before it is aligned.
const int kAlignMeasureWidth = 9999;
const int kAlignMeasureHeight = 100;

const wchar_t kEllipsis[] = L"...";

} // namespace

CHtmlTextRenderer::CHtmlTextRenderer(HDC hDC, CPaintManagerUI* manager, const RECT& rc, DWORD textColor,
                                     RECT* links, CUIString* linkTexts, int linkCapacity, UINT style)
    : m_hDC(hDC)
    , m_pManager(manager)
    , m_rc(rc)
    , m_dwTextColor(textColor)
    , m_pLinks(links)
    , m_pLinkTexts(linkTexts)
    , m_nLinkCapacity(linkCapacity)
    , m_uStyle(style)
    , m_bDraw((style & DT_CALCRECT) == 0)
    , m_pstrText(NULL)
    , m_cyLine(0)
    , m_cyLineMeasured(0)
    , m_cxMax(rc.left)
    , m_cyImageBottom(rc.top)
    , m_xLineRight(rc.left)
    , m_xOffset(0)
    , m_bInLink(false)
    , m_bInSelected(false)
    , m_bInRaw(false)
    , m_bLineEnd(false)
    , m_bLineDraw(false)
    , m_bBreakBefore(true)
    , m_nLinkIndex(0)
    , m_nLineFirstLink(0)
    , m_pstrLinkText(NULL)
    , m_cchLinkText(0)
    , m_bHasHoverLink(false)
{
    m_pt.x = rc.left;
    m_pt.y = rc.top;
    m_ptLinkStart = m_pt;
    ::ZeroMemory(&m_tm, sizeof(m_tm));

    // The link under the mouse is named by the rectangles the caller kept from the last paint.
    const POINT ptMouse = manager->GetMousePos();
    for (int i = 0; i < m_nLinkCapacity; ++i) {
        if (::PtInRect(&m_pLinks[i], ptMouse)) {
            m_sHoverLink = m_pLinkTexts[i];
            m_bHasHoverLink = true;
            break;
        }
    }
}

void CHtmlTextRenderer::Render(LPCWSTR text)
{
    m_pstrText = text;
    SelectCurrentFont();
    m_cyLine = FontLineHeight() + ExtraLineHeight();
    BeginLine();
    for (;;) {
        if (IsLineEnd()) {
            if (!FinishLine()) break;
            continue;
        }
        ProcessElement();
    }
}

bool CHtmlTextRenderer::IsLineEnd() const
{
    return m_bLineEnd || m_pt.x >= m_rc.right || *m_pstrText == L'\0' || *m_pstrText == L'\n';
}

int CHtmlTextRenderer::ExtraLineHeight() const
{
    return m_lineHeights.IsEmpty() ? 0 : static_cast<int>(reinterpret_cast<INT_PTR>(m_lineHeights.Top()));
}

// ---- lines --------------------------------------------------------------------------------------

void CHtmlTextRenderer::BeginLine()
{
    m_bLineDraw = false;
    m_bLineEnd = false;
    m_xOffset = 0;
    m_xLineRight = m_rc.left;
    m_nLineFirstLink = m_nLinkIndex;
    m_ptLinkStart = m_pt;
    if (!m_bDraw) return;
    m_lineStart.pstrText = m_pstrText;
    m_lineStart.fonts = m_fonts;
    m_lineStart.colors = m_colors;
    m_lineStart.lineHeights = m_lineHeights;
    m_lineStart.bInLink = m_bInLink;
    m_lineStart.bInSelected = m_bInSelected;
    m_lineStart.bInRaw = m_bInRaw;
    m_lineStart.bBreakBefore = m_bBreakBefore;
    m_lineStart.pstrLinkText = m_pstrLinkText;
    m_lineStart.cchLinkText = m_cchLinkText;
    m_lineStart.cyLine = m_cyLine;
}

void CHtmlTextRenderer::RestoreLineStart()
{
    m_pstrText = m_lineStart.pstrText;
    m_fonts = m_lineStart.fonts;
    m_colors = m_lineStart.colors;
    m_lineHeights = m_lineStart.lineHeights;
    m_bInLink = m_lineStart.bInLink;
    m_bInSelected = m_lineStart.bInSelected;
    m_bInRaw = m_lineStart.bInRaw;
    m_bBreakBefore = m_lineStart.bBreakBefore;
    m_pstrLinkText = m_lineStart.pstrLinkText;
    m_cchLinkText = m_lineStart.cchLinkText;
    m_cyLine = m_lineStart.cyLine;
    m_pt.x = m_rc.left;
    m_bLineEnd = false;
    SelectCurrentFont();
    ApplyColor();
    ::SetBkMode(m_hDC, m_bInSelected ? OPAQUE : TRANSPARENT);
}

// Ends the current pass; false when processing is over.
bool CHtmlTextRenderer::FinishLine()
{
    // A line feed is consumed when it is what ended the line.
    if (!m_bLineEnd && m_pt.x < m_rc.right && *m_pstrText == L'\n') ++m_pstrText;
    m_bLineEnd = false;

    if (IsMeasuringPass()) CloseLineLinks();
    if (m_bDraw && !m_bLineDraw) {
        m_cyLineMeasured = m_cyLine;
        m_xOffset = LineOffset();
        for (int i = m_nLineFirstLink; i < m_nLinkIndex; ++i) ::OffsetRect(&m_pLinks[i], m_xOffset, 0);
        RestoreLineStart();
        m_bLineDraw = true;
        return true;
    }

    if ((m_uStyle & DT_SINGLELINE) != 0 || *m_pstrText == L'\0' || m_pt.y > kMaxPenY) return false;
    m_pt.x = m_rc.left;
    m_pt.y += m_bDraw ? m_cyLineMeasured : m_cyLine;
    if (m_bDraw && m_pt.y >= m_rc.bottom) return false;
    m_cyLine = FontLineHeight() + ExtraLineHeight();
    BeginLine();
    return true;
}

// After a measuring pass: a link still open is cut off at the line end and goes on in the next slot,
// and every link of the line reaches down to the line's bottom. A link that got nothing onto this
// line (its text moved on whole) takes no slot for it.
void CHtmlTextRenderer::CloseLineLinks()
{
    const int bottom = m_pt.y + m_cyLine;
    const int right = m_pt.x < m_rc.right ? m_pt.x : m_rc.right;
    if (m_bInLink && right > m_ptLinkStart.x) RecordLink(bottom);
    for (int i = m_nLineFirstLink; i < m_nLinkIndex; ++i) m_pLinks[i].bottom = bottom;
}

// Multi-line text is aligned line by line, as a whole, from the width its measuring pass found.
int CHtmlTextRenderer::LineOffset() const
{
    if ((m_uStyle & DT_SINGLELINE) != 0) return 0;
    const int cxFree = (m_rc.right - m_rc.left) - (m_xLineRight - m_rc.left);
    if ((m_uStyle & DT_CENTER) != 0) return cxFree / 2;
    if ((m_uStyle & DT_RIGHT) != 0) return cxFree;
    return 0;
}

void CHtmlTextRenderer::GrowLineHeight(int cy)
{
    if (cy > m_cyLine) m_cyLine = cy;
}

// Moves the pen by cx; cxInk is the part of it that shows (trailing spaces do not count when a
// line is aligned).
void CHtmlTextRenderer::Advance(int cx, int cxInk)
{
    if (cxInk > 0 && m_pt.x + cxInk > m_xLineRight) m_xLineRight = m_pt.x + cxInk;
    m_pt.x += cx;
    if (m_pt.x > m_cxMax) m_cxMax = m_pt.x;
}

// ---- elements -----------------------------------------------------------------------------------

void CHtmlTextRenderer::ProcessElement()
{
    if (m_bInRaw) {
        if (IsRawEnd(m_pstrText)) {
            m_pstrText += 4;
            m_bInRaw = false;
            return;
        }
        m_pstrText += DrawRun(m_pstrText, ScanRun(m_pstrText));
        return;
    }
    const wchar_t ch = *m_pstrText;
    if ((ch == L'<' || ch == L'{') && ProcessMarkup()) return;
    if (ch == L' ') {
        DrawSpace();
        ++m_pstrText;
        return;
    }
    m_pstrText += DrawRun(m_pstrText, ScanRun(m_pstrText));
}

// An escape, a closing tag or an opening tag at the text position; false when the bracket starts
// none of them and is plain text.
bool CHtmlTextRenderer::ProcessMarkup()
{
    LPCWSTR p = m_pstrText;
    const wchar_t open = p[0];
    const wchar_t first = p[1];
    if (first == L'\0') return false;
    const wchar_t second = p[2];

    // "<{>" and "<}>" stand for a brace, "{<}" and "{>}" for an angle bracket.
    if ((open == L'<' && (first == L'{' || first == L'}') && second == L'>')
        || (open == L'{' && (first == L'<' || first == L'>') && second == L'}')) {
        const wchar_t literal[2] = { first, L'\0' };
        if (DrawRun(literal, 1) > 0) m_pstrText += 3;
        return true;
    }

    if (first == L'/') {
        if (!IsTagLetter(second)) return false;
        LPCWSTR end = FindTagEnd(p + 3);
        m_pstrText = (*end != L'\0') ? end + 1 : end;
        CloseTag(second);
        return true;
    }

    if (!IsTagLetter(first) || !(second == L' ' || IsTagEnd(second))) return false;
    LPCWSTR args = (second == L' ') ? p + 3 : p + 2;
    LPCWSTR argsEnd = FindTagEnd(args);
    // A tag that cannot be handled on this line stays in the text for the next one.
    if (OpenTag(first, args, argsEnd)) m_pstrText = (*argsEnd != L'\0') ? argsEnd + 1 : argsEnd;
    return true;
}

// False when the tag ends the line and has to be processed again at the start of the next one.
bool CHtmlTextRenderer::OpenTag(wchar_t letter, LPCWSTR args, LPCWSTR argsEnd)
{
    switch (letter) {
    case L'a':
        OpenLink(args, argsEnd);
        return true;
    case L'b':
    case L'u':
        PushFontVariant(letter);
        return true;
    case L'c':
        PushColor(ParseColor(args, argsEnd));
        return true;
    case L'f':
        OpenFontTag(args, argsEnd);
        return true;
    case L'i':
        // "<i>" is italic, "<i name ...>" an image.
        if (SkipSpaces(args, argsEnd) < argsEnd) return DrawImageTag(args, argsEnd);
        PushFontVariant(letter);
        return true;
    case L'n':
        if ((m_uStyle & DT_SINGLELINE) == 0) m_bLineEnd = true;
        return true;
    case L'p': {
        if (!AtLineStart()) {
            m_bLineEnd = true;
            return false;
        }
        // Lengths in tags are skin units, drawn at the manager's scale.
        const int cyExtra = m_pManager->ScaleValue(Clamp(ParseIntOr(args, argsEnd, 0), 0, kMaxTagNumber));
        m_lineHeights.Push(reinterpret_cast<LPVOID>(static_cast<INT_PTR>(cyExtra)));
        GrowLineHeight(FontLineHeight() + ExtraLineHeight());
        return true;
    }
    case L'r':
        m_bInRaw = true;
        return true;
    case L's':
        ToggleSelection();
        return true;
    case L'x': {
        const int cx = m_pManager->ScaleValue(Clamp(ParseIntOr(args, argsEnd, 0), 0, kMaxTagNumber));
        m_bBreakBefore = true;
        Advance(cx, 0);
        return true;
    }
    case L'y': {
        int cy = 0;
        LPCWSTR p = SkipSpaces(args, argsEnd);
        if (ParseInt(p, argsEnd, cy)) m_cyLine = m_pManager->ScaleValue(Clamp(cy, 0, kMaxTagNumber));
        return true;
    }
    default:
        return true;
    }
}

void CHtmlTextRenderer::CloseTag(wchar_t letter)
{
    switch (letter) {
    case L'a':
        CloseLink();
        break;
    case L'b':
    case L'f':
    case L'i':
    case L'u':
        PopFont();
        break;
    case L'c':
        PopColor();
        break;
    case L'p':
        m_lineHeights.Pop();
        break;
    case L's':
        ToggleSelection();
        break;
    default:
        break;
    }
}

// Length of the text run at p, at least one character: up to the next bracket, line feed or end;
// in a raw run up to the raw run's end.
int CHtmlTextRenderer::ScanRun(LPCWSTR p) const
{
    int n = 1;
    while (n < kMaxRunLength) {
        const wchar_t ch = p[n];
        if (ch == L'\0' || ch == L'\n') break;
        if (ch == L'<' || ch == L'{') {
            if (!m_bInRaw || IsRawEnd(p + n)) break;
        }
        ++n;
    }
    if (n == kMaxRunLength && IsHighSurrogate(p[n - 1]) && IsLowSurrogate(p[n])) ++n;
    return n;
}

// Draws as much of the run as fits on the line and returns how many characters it took; a run
// that does not fit ends the line.
int CHtmlTextRenderer::DrawRun(LPCWSTR s, int cch)
{
    const int cxAvail = m_rc.right - m_pt.x;
    int fit = 0;
    SIZE szRun = { 0, 0 };
    ::GetTextExtentExPointW(m_hDC, s, cch, cxAvail > 0 ? cxAvail : 0, &fit, NULL, &szRun);

    int n = cch;
    int cxEllipsis = 0;
    bool ellipsis = false;
    if (szRun.cx > cxAvail) {
        n = BreakRun(s, cch, Clamp(fit, 0, cch - 1));
        if ((m_uStyle & DT_END_ELLIPSIS) != 0) {
            n = FitEllipsis(s, n, cxAvail, cxEllipsis);
            ellipsis = true;
        }
        // A line always takes something, or it would come back empty forever.
        if (n == 0 && AtLineStart()) n = (cch > 1 && IsHighSurrogate(s[0]) && IsLowSurrogate(s[1])) ? 2 : 1;
        m_bLineEnd = true;
        szRun.cx = 0;
        if (n > 0) ::GetTextExtentPoint32W(m_hDC, s, n, &szRun);
    }

    if (IsDrawingPass()) {
        const int x = m_pt.x + m_xOffset;
        if (n > 0) ::TextOutW(m_hDC, x, TextTop(), s, n);
        if (ellipsis) ::TextOutW(m_hDC, x + szRun.cx, TextTop(), kEllipsis, lengthof(kEllipsis) - 1);
    }

    int cxInk = szRun.cx;
    if (IsMeasuringPass() && n > 0 && s[n - 1] == L' ') {
        int cchInk = n;
        while (cchInk > 0 && s[cchInk - 1] == L' ') --cchInk;
        SIZE szInk = { 0, 0 };
        if (cchInk > 0) ::GetTextExtentPoint32W(m_hDC, s, cchInk, &szInk);
        cxInk = szInk.cx;
    }
    if (ellipsis) cxInk = szRun.cx + cxEllipsis;
    Advance(szRun.cx + cxEllipsis, cxInk);
    if (n > 0) m_bBreakBefore = IsBreakAfter(s[n - 1]);
    return n;
}

// Where a run that overflows after fit characters is cut.
int CHtmlTextRenderer::BreakRun(LPCWSTR s, int cch, int fit) const
{
    int n = fit;
    if (n > 0 && IsHighSurrogate(s[n - 1])) --n;
    if ((m_uStyle & DT_WORDBREAK) == 0) return n;
    // A space that overflows still ends the line's last word.
    if (n < cch && s[n] == L' ') return n + 1;
    for (int i = n; i > 0; --i) {
        if (IsBreakAfter(s[i - 1])) return i;
    }
    // A whole word that follows a break moves to the next line rather than being split.
    if (!AtLineStart() && m_bBreakBefore) return 0;
    return n;
}

// Shortens the run so that the ellipsis fits after it: two characters less, and more while the
// ellipsis would still overflow.
int CHtmlTextRenderer::FitEllipsis(LPCWSTR s, int n, int cxAvail, int& cxEllipsis) const
{
    SIZE szEllipsis = { 0, 0 };
    ::GetTextExtentPoint32W(m_hDC, kEllipsis, lengthof(kEllipsis) - 1, &szEllipsis);
    cxEllipsis = szEllipsis.cx;
    n = n > 2 ? n - 2 : 0;
    if (n == 0) return 0;
    const int cxRoom = cxAvail - cxEllipsis;
    int fit = 0;
    SIZE sz = { 0, 0 };
    ::GetTextExtentExPointW(m_hDC, s, n, cxRoom > 0 ? cxRoom : 0, &fit, NULL, &sz);
    if (fit < n) n = fit > 0 ? fit : 0;
    if (n > 0 && IsHighSurrogate(s[n - 1])) --n;
    return n;
}

void CHtmlTextRenderer::DrawSpace()
{
    SIZE sz = { 0, 0 };
    ::GetTextExtentPoint32W(m_hDC, L" ", 1, &sz);
    if (IsDrawingPass()) ::TextOutW(m_hDC, m_pt.x + m_xOffset, TextTop(), L" ", 1);
    m_bBreakBefore = true;
    Advance(sz.cx, 0);
}

// False when the image does not fit on this line and has to wait for the next one.
bool CHtmlTextRenderer::DrawImageTag(LPCWSTR args, LPCWSTR argsEnd)
{
    TImageTag tag;
    ParseImageTag(args, argsEnd, tag);
    if (tag.sName.IsEmpty()) return true;
    // The picture made for the display scale: its frames are pixels of the scaled picture.
    const TImageInfo* image =
        m_pManager->GetScaledImage(tag.sName, tag.sType.IsEmpty() ? NULL : tag.sType.GetData(), 0);
    if (image == NULL || image->hBmp == NULL || image->nWidth <= 0 || image->nHeight <= 0) return true;

    const int count = Clamp(tag.nCount, 1, image->nWidth);
    const int index = (tag.nIndex >= 0 && tag.nIndex < count) ? tag.nIndex : 0;
    const int cxFrame = image->nWidth / count;
    const int cyImage = image->nHeight;
    if (m_pt.x + cxFrame > m_rc.right && !AtLineStart() && (m_uStyle & DT_SINGLELINE) == 0) {
        m_bLineEnd = true;
        return false;
    }

    if (IsDrawingPass()) {
        const int bottom = m_pt.y + m_cyLineMeasured;
        const int top = (cyImage < m_cyLineMeasured) ? m_pt.y + (m_cyLineMeasured - cyImage) / 2 : bottom - cyImage;
        const int left = m_pt.x + m_xOffset;
        const RECT rcDest = { left, top, left + cxFrame, top + cyImage };
        const RECT rcSource = { cxFrame * index, 0, cxFrame * (index + 1), cyImage };
        const RECT rcCorners = { 0, 0, 0, 0 };
        CRenderEngine::DrawImage(m_hDC, image->hBmp, rcDest, rcDest, rcSource, rcCorners, image->bAlpha, 255);
    }
    GrowLineHeight(cyImage);
    if (m_pt.y + cyImage > m_cyImageBottom) m_cyImageBottom = m_pt.y + cyImage;
    m_bBreakBefore = true;
    Advance(cxFrame, cxFrame);
    return true;
}

void CHtmlTextRenderer::ToggleSelection()
{
    m_bInSelected = !m_bInSelected;
    ::SetBkMode(m_hDC, m_bInSelected ? OPAQUE : TRANSPARENT);
}

// ---- links --------------------------------------------------------------------------------------

void CHtmlTextRenderer::OpenLink(LPCWSTR text, LPCWSTR textEnd)
{
    m_bInLink = true;
    m_ptLinkStart = m_pt;
    m_pstrLinkText = text;
    m_cchLinkText = static_cast<int>(textEnd - text);
    const bool hover = m_bHasHoverLink && m_sHoverLink.GetLength() == m_cchLinkText
        && wcsncmp(m_sHoverLink.GetData(), text, static_cast<size_t>(m_cchLinkText)) == 0;
    PushColor(hover ? m_pManager->GetDefaultLinkHoverFontColor() : m_pManager->GetDefaultLinkFontColor());
    PushFontVariant(L'u');
}

void CHtmlTextRenderer::CloseLink()
{
    if (m_bInLink && IsMeasuringPass()) RecordLink(m_pt.y + FontLineHeight());
    m_bInLink = false;
    PopFont();
    PopColor();
}

// Stores the open link from its start to the pen in the next free slot, if there is one.
void CHtmlTextRenderer::RecordLink(int bottom)
{
    if (m_nLinkIndex >= m_nLinkCapacity) return;
    RECT& rc = m_pLinks[m_nLinkIndex];
    rc.left = m_ptLinkStart.x;
    rc.top = m_ptLinkStart.y;
    rc.right = m_pt.x < m_rc.right ? m_pt.x : m_rc.right;
    rc.bottom = bottom;
    m_pLinkTexts[m_nLinkIndex].Assign(m_pstrLinkText, m_cchLinkText);
    ++m_nLinkIndex;
}

// ---- fonts and colours --------------------------------------------------------------------------

TFontInfo* CHtmlTextRenderer::CurrentFont() const
{
    if (m_fonts.IsEmpty()) return m_pManager->GetDefaultFontInfo();
    return static_cast<TFontInfo*>(m_fonts.Top());
}

// The manager's font with these attributes, made and added to its store on first use; null when
// no such font can be made.
TFontInfo* CHtmlTextRenderer::FindOrAddFont(LPCWSTR name, int size, bool bold, bool underline, bool italic)
{
    HFONT hFont = m_pManager->GetFont(name, size, bold, underline, italic);
    if (hFont == NULL) hFont = m_pManager->AddFont(name, size, bold, underline, italic);
    if (hFont == NULL) return NULL;
    return m_pManager->GetFontInfo(hFont);
}

// "<f index>" or "<f name [size] [style]>".
void CHtmlTextRenderer::OpenFontTag(LPCWSTR args, LPCWSTR argsEnd)
{
    LPCWSTR p = SkipSpaces(args, argsEnd);
    TFontInfo* font = NULL;
    if (p < argsEnd && IsDigit(*p)) {
        int index = 0;
        ParseInt(p, argsEnd, index);
        font = m_pManager->GetFontInfo(index);
    }
    else if (p < argsEnd) {
        LPCWSTR nameEnd = FindSpace(p, argsEnd);
        // Face names are cut where the system cuts them, so the same tag finds the font it added.
        const int cchName = static_cast<int>(nameEnd - p) < LF_FACESIZE - 1 ? static_cast<int>(nameEnd - p)
                                                                             : LF_FACESIZE - 1;
        const CUIString name(p, cchName);
        p = SkipSpaces(nameEnd, argsEnd);
        int size = kDefaultTagFontSize;
        if (p < argsEnd && IsDigit(*p)) {
            ParseInt(p, argsEnd, size);
            size = (size <= 0) ? kDefaultTagFontSize : (size > kMaxFontSize ? kMaxFontSize : size);
        }
        font = FindOrAddFont(name, size, ContainsNoCase(p, argsEnd, L"bold"), ContainsNoCase(p, argsEnd, L"underline"),
                             ContainsNoCase(p, argsEnd, L"italic"));
    }
    // A font that cannot be had keeps the current one, so that the closing tag stays balanced.
    PushFont(font != NULL ? font : CurrentFont());
}

// Bold, italic or underlined variant of the current font (the same font when it already is).
void CHtmlTextRenderer::PushFontVariant(wchar_t letter)
{
    TFontInfo* current = CurrentFont();
    bool bold = current->bBold;
    bool underline = current->bUnderline;
    bool italic = current->bItalic;
    if (letter == L'b') bold = true;
    else if (letter == L'u') underline = true;
    else italic = true;
    TFontInfo* font = current;
    if (bold != current->bBold || underline != current->bUnderline || italic != current->bItalic) {
        font = FindOrAddFont(current->sFontName, current->iSize, bold, underline, italic);
        if (font == NULL) font = current;
    }
    PushFont(font);
}

void CHtmlTextRenderer::PushFont(TFontInfo* font)
{
    m_fonts.Push(font);
    SelectCurrentFont();
    GrowLineHeight(FontLineHeight() + ExtraLineHeight());
}

void CHtmlTextRenderer::PopFont()
{
    const bool wasItalic = CurrentFont()->bItalic;
    ABC abc = { 0, 0, 0 };
    const bool hasAbc = wasItalic && ::GetCharABCWidthsW(m_hDC, L' ', L' ', &abc);
    m_fonts.Pop();
    SelectCurrentFont();
    // Upright text after italic text steps right past the slant.
    if (hasAbc && !CurrentFont()->bItalic) {
        const int cx = (abc.abcC < 0 ? -abc.abcC : abc.abcC) / 2;
        Advance(cx, 0);
    }
}

void CHtmlTextRenderer::SelectCurrentFont()
{
    ::SelectObject(m_hDC, CurrentFont()->hFont);
    ::GetTextMetricsW(m_hDC, &m_tm);
}

void CHtmlTextRenderer::PushColor(DWORD color)
{
    m_colors.Push(reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(color)));
    ApplyColor();
}

void CHtmlTextRenderer::PopColor()
{
    m_colors.Pop();
    ApplyColor();
}

void CHtmlTextRenderer::ApplyColor()
{
    const DWORD color =
        m_colors.IsEmpty() ? m_dwTextColor : static_cast<DWORD>(reinterpret_cast<UINT_PTR>(m_colors.Top()));
    ::SetTextColor(m_hDC, ToColorRef(color));
}

namespace {

// Where aligned text goes: the text is measured first, then its rectangle is moved within rc.
RECT AlignTextRect(HDC hDC, CPaintManagerUI* manager, const RECT& rc, LPCWSTR text, DWORD color, UINT style)
{
    const int cxRect = rc.right - rc.left;
    const int cyRect = rc.bottom - rc.top;
    // Multi-line text wraps at the width it will be drawn in; a single line is measured unbounded.
    RECT rcMeasure = { 0, 0, (style & DT_SINGLELINE) != 0 ? kAlignMeasureWidth : cxRect, kAlignMeasureHeight };
    int noLinks = 0;
    CRenderEngine::DrawHtmlText(hDC, manager, rcMeasure, text, color, NULL, NULL, noLinks, style | DT_CALCRECT);
    const int cx = rcMeasure.right - rcMeasure.left;
    const int cy = rcMeasure.bottom - rcMeasure.top;

    RECT rcText = rc;
    // An ellipsis needs the text to start at the left edge, so overflowing text is not moved.
    const bool canMove = (style & DT_END_ELLIPSIS) == 0 || cx <= cxRect;
    if ((style & DT_SINGLELINE) != 0 && canMove) {
        if ((style & DT_CENTER) != 0) rcText.left = (rc.left + rc.right) / 2 - cx / 2;
        else if ((style & DT_RIGHT) != 0) rcText.left = rc.right - cx;
        if ((style & (DT_CENTER | DT_RIGHT)) != 0) rcText.right = rcText.left + cx;
    }
    if ((style & DT_VCENTER) != 0) {
        rcText.top = rc.top + (cyRect - cy) / 2;
        rcText.bottom = rcText.top + cy;
    }
    else if ((style & DT_BOTTOM) != 0) {
        rcText.top = rc.bottom - cy;
        rcText.bottom = rc.bottom;
    }
    return rcText;
}

} // namespace

} // namespace HtmlText

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD color,
                                 RECT* links, CUIString* linkTexts, int& linkCount, UINT style)
{
    const int linkCapacity = (links != NULL && linkTexts != NULL && linkCount > 0) ? linkCount : 0;
    linkCount = 0;
    if (hDC == NULL || manager == NULL || text == NULL || *text == L'\0' || ::IsRectEmpty(&rc)) return;

    const int savedDC = ::SaveDC(hDC);
    if (savedDC == 0) return;
    const bool draw = (style & DT_CALCRECT) == 0;
    if (draw) CRenderSession::Confine(hDC, &rc);
    if (draw) ::IntersectClipRect(hDC, rc.left, rc.top, rc.right, rc.bottom);
    ::SetTextAlign(hDC, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ::SetBkMode(hDC, TRANSPARENT);
    ::SetTextColor(hDC, ToColorRef(color));
    ::SetBkColor(hDC, ToColorRef(manager->GetDefaultSelectedBkColor()));

    // Horizontal alignment of a single line and vertical alignment need the text's size first;
    // lines of multi-line text are aligned one by one as they are drawn.
    const bool measureFirst = (style & (DT_VCENTER | DT_BOTTOM)) != 0
        || ((style & DT_SINGLELINE) != 0 && (style & (DT_CENTER | DT_RIGHT)) != 0);
    const RECT rcText = (draw && measureFirst) ? HtmlText::AlignTextRect(hDC, manager, rc, text, color, style) : rc;

    HtmlText::CHtmlTextRenderer renderer(hDC, manager, rcText, color, links, linkTexts, linkCapacity, style);
    renderer.Render(text);
    linkCount = renderer.GetLinkCount();
    if (!draw) {
        rc.bottom = renderer.GetBottom();
        if (renderer.GetRightmost() < rc.right) rc.right = renderer.GetRightmost();
    }

    // Puts back the clip, font, colours and modes the caller had.
    ::RestoreDC(hDC, savedDC);
}

} // namespace Veneer
