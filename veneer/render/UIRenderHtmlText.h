// CHtmlTextRenderer: one drawing or measuring run over formatted text, and the state it keeps per line.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIArray.h"
#include "veneer/core/UIString.h"
#include "veneer/window/UIManager.h"

namespace Veneer {
namespace HtmlText {

// Deeper nesting is still balanced but no longer changes the style; it keeps the copies of the
// stacks taken at every line start small whatever the text holds.
const int kMaxNesting = 256;

// A stack of pointer-sized values (font records, colours, extra line heights).
class CHtmlStack
{
public:
    // Construction
    CHtmlStack() : m_items(10), m_nOverflow(0) {}

    // Attributes
    bool IsEmpty() const { return m_items.IsEmpty(); }
    LPVOID Top() const { return m_items.GetAt(m_items.GetSize() - 1); }

    // Operations
    void Push(LPVOID value)
    {
        if (m_items.GetSize() < kMaxNesting) m_items.Add(value);
        else ++m_nOverflow;
    }
    void Pop()
    {
        if (m_nOverflow > 0) --m_nOverflow;
        else if (!m_items.IsEmpty()) m_items.Remove(m_items.GetSize() - 1);
    }

    // Implementation
private:
    CStdPtrArray m_items;
    int m_nOverflow;
};

// What a line's drawing pass starts from again after its measuring pass.
struct THtmlLineState
{
    THtmlLineState()
        : pstrText(NULL), bInLink(false), bInSelected(false), bInRaw(false), bBreakBefore(true), pstrLinkText(NULL),
          cchLinkText(0), cyLine(0)
    {
    }

    LPCWSTR pstrText;
    CHtmlStack fonts;
    CHtmlStack colors;
    CHtmlStack lineHeights;
    bool bInLink;
    bool bInSelected;
    bool bInRaw;
    bool bBreakBefore;
    LPCWSTR pstrLinkText;
    int cchLinkText;
    int cyLine;
};

// One call of DrawHtmlText. In drawing mode every line is processed twice: a measuring pass finds
// its height (and its width, for alignment) and records its links, then the state of the line start
// is restored and the drawing pass draws it on a common bottom line. In measuring mode (DT_CALCRECT)
// each line is processed once. The pen's x is always the unaligned position, so that both passes
// break lines alike; alignment only shifts what is drawn.
class CHtmlTextRenderer
{
public:
    // Construction
    CHtmlTextRenderer(HDC hDC, CPaintManagerUI* manager, const RECT& rc, DWORD textColor, RECT* links,
                      CUIString* linkTexts, int linkCapacity, UINT style);

    // Attributes
    int GetLinkCount() const { return m_nLinkIndex; }
    // The extent measured: right is the largest x reached, bottom the lowest line or image.
    int GetRightmost() const { return m_cxMax; }
    int GetBottom() const { return m_cyImageBottom > m_pt.y + m_cyLine ? m_cyImageBottom : m_pt.y + m_cyLine; }

    // Operations
    void Render(LPCWSTR text);

    // Implementation
private:
    bool IsDrawingPass() const { return m_bDraw && m_bLineDraw; }
    bool IsMeasuringPass() const { return !m_bDraw || !m_bLineDraw; }
    bool AtLineStart() const { return m_pt.x == m_rc.left; }
    bool IsLineEnd() const;
    int TextTop() const { return m_pt.y + m_cyLineMeasured - m_tm.tmHeight; }
    int FontLineHeight() const { return m_tm.tmHeight + m_tm.tmExternalLeading; }
    int ExtraLineHeight() const;

    // Lines
    void BeginLine();
    void RestoreLineStart();
    bool FinishLine();
    void CloseLineLinks();
    int LineOffset() const;
    void GrowLineHeight(int cy);
    void Advance(int cx, int cxInk);

    // Elements
    void ProcessElement();
    bool ProcessMarkup();
    bool OpenTag(wchar_t letter, LPCWSTR args, LPCWSTR argsEnd);
    void CloseTag(wchar_t letter);
    int ScanRun(LPCWSTR p) const;
    int DrawRun(LPCWSTR s, int cch);
    int BreakRun(LPCWSTR s, int cch, int fit) const;
    int FitEllipsis(LPCWSTR s, int n, int cxAvail, int& cxEllipsis) const;
    void DrawSpace();
    bool DrawImageTag(LPCWSTR args, LPCWSTR argsEnd);
    void ToggleSelection();

    // Links
    void OpenLink(LPCWSTR text, LPCWSTR textEnd);
    void CloseLink();
    void RecordLink(int bottom);

    // Fonts and colours
    TFontInfo* CurrentFont() const;
    TFontInfo* FindOrAddFont(LPCWSTR name, int size, bool bold, bool underline, bool italic);
    void OpenFontTag(LPCWSTR args, LPCWSTR argsEnd);
    void PushFontVariant(wchar_t letter);
    void PushFont(TFontInfo* font);
    void PopFont();
    void SelectCurrentFont();
    void PushColor(DWORD color);
    void PopColor();
    void ApplyColor();

    HDC m_hDC;
    CPaintManagerUI* m_pManager;
    RECT m_rc;
    DWORD m_dwTextColor;
    RECT* m_pLinks;
    CUIString* m_pLinkTexts;
    int m_nLinkCapacity;
    UINT m_uStyle;
    bool m_bDraw;

    LPCWSTR m_pstrText;
    POINT m_pt;
    int m_cyLine;
    int m_cyLineMeasured;
    int m_cxMax;
    int m_cyImageBottom;
    int m_xLineRight;
    int m_xOffset;
    TEXTMETRICW m_tm;

    CHtmlStack m_fonts;
    CHtmlStack m_colors;
    CHtmlStack m_lineHeights;
    bool m_bInLink;
    bool m_bInSelected;
    bool m_bInRaw;
    bool m_bLineEnd;
    bool m_bLineDraw;
    bool m_bBreakBefore;

    int m_nLinkIndex;
    int m_nLineFirstLink;
    POINT m_ptLinkStart;
    LPCWSTR m_pstrLinkText;
    int m_cchLinkText;
    bool m_bHasHoverLink;
    CUIString m_sHoverLink;

    THtmlLineState m_lineStart;
};

} // namespace HtmlText
} // namespace Veneer
