// Tests of DrawHtmlText: runs, fonts, colours, links, selection, lines, alignment, images and hostile input.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "veneer/window/UIManager.h"
#include "DibCanvas.h"
#include "support/GuardedBlock.h"

#include <new>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

const DWORD kWhite = 0xFFFFFFFF;
const DWORD kBlack = 0xFF000000;

int Red(DWORD c) { return static_cast<int>((c >> 16) & 0xFF); }
int Green(DWORD c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(DWORD c) { return static_cast<int>(c & 0xFF); }

// Text pixels on white: clearly darker than the background, whatever their hue.
bool IsInk(DWORD c)
{
    return Red(c) + Green(c) + Blue(c) < 3 * 170;
}

bool IsReddish(DWORD c)
{
    return Red(c) > 140 && Red(c) - Green(c) > 80 && Red(c) - Blue(c) > 80;
}

bool IsBluish(DWORD c)
{
    return Blue(c) > 140 && Blue(c) - Red(c) > 80 && Blue(c) - Green(c) > 80;
}

// The default link hover colour 0xD3215F: red well above blue, blue well above green.
bool IsHoverish(DWORD c)
{
    return Red(c) > 140 && Red(c) - Blue(c) > 40 && Blue(c) - Green(c) > 20;
}

template <typename Pred>
int CountPixels(const CDibCanvas& canvas, const RECT& area, Pred pred)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (pred(canvas.Get(x, y))) ++count;
    return count;
}

// Bounding box of the ink in the area; empty when there is none.
RECT InkBox(const CDibCanvas& canvas, const RECT& area)
{
    RECT box = { area.right, area.bottom, area.left, area.top };
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (!IsInk(canvas.Get(x, y))) continue;
            if (x < box.left) box.left = x;
            if (y < box.top) box.top = y;
            if (x + 1 > box.right) box.right = x + 1;
            if (y + 1 > box.bottom) box.bottom = y + 1;
        }
    }
    if (box.right <= box.left) ::SetRectEmpty(&box);
    return box;
}

bool HasNoInk(const CDibCanvas& canvas, const RECT& area)
{
    const RECT box = InkBox(canvas, area);
    return ::IsRectEmpty(&box) != FALSE;
}

RECT MakeRect(int left, int top, int right, int bottom)
{
    const RECT rc = { left, top, right, bottom };
    return rc;
}

// Link arrays of a given capacity right before guard pages; with no capacity they point straight at
// the inaccessible page.
class CGuardedLinks
{
public:
    explicit CGuardedLinks(int capacity)
        : m_capacity(capacity), m_rectBlock(sizeof(RECT) * capacity), m_textBlock(sizeof(CUIString) * capacity)
    {
        for (int i = 0; i < capacity; ++i) {
            ::SetRectEmpty(&Rects()[i]);
            new (&Texts()[i]) CUIString();
        }
    }
    ~CGuardedLinks()
    {
        for (int i = 0; i < m_capacity; ++i) Texts()[i].~CUIString();
    }

    RECT* Rects() { return static_cast<RECT*>(m_rectBlock.Get()); }
    CUIString* Texts() { return static_cast<CUIString*>(m_textBlock.Get()); }

private:
    int m_capacity;
    CGuardedBlock m_rectBlock;
    CGuardedBlock m_textBlock;
};

// A paint manager bound to a hidden window, and a white canvas to draw on.
class HtmlTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, NULL, NULL,
                                   ::GetModuleHandleW(NULL), NULL);
        ASSERT_TRUE(m_hWnd != NULL);
        m_pm = new CPaintManagerUI();
        m_pm->Init(m_hWnd);
    }
    void TearDown() override
    {
        delete m_pm;
        if (m_hWnd != NULL) ::DestroyWindow(m_hWnd);
    }

    // The text measured in a box of the given width.
    RECT Measure(LPCWSTR text, UINT style = 0, int width = 2000)
    {
        RECT rc = { 0, 0, width, 2000 };
        int links = 0;
        CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, text, kBlack, NULL, NULL, links, style | DT_CALCRECT);
        return rc;
    }
    int Width(LPCWSTR text) { return Measure(text).right; }
    int LineHeight() { return Measure(L"Ag").bottom; }

    void Draw(LPCWSTR text, RECT rc, UINT style = 0, DWORD color = kBlack)
    {
        int links = 0;
        CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, text, color, NULL, NULL, links, style);
    }
    void Clear() { m_canvas.Fill(kWhite); }

    // A strip of two 10 x 30 frames, red then green, handed to the manager's cache under the name.
    void AddStrip(LPCWSTR name)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = 20;
        bmi.bmiHeader.biHeight = -30;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* bits = NULL;
        HBITMAP hBitmap = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
        ASSERT_TRUE(hBitmap != NULL);
        DWORD* pixels = static_cast<DWORD*>(bits);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 20; ++x) pixels[y * 20 + x] = x < 10 ? 0xFFFF0000 : 0xFF00FF00;
        ASSERT_TRUE(m_pm->AddImage(name, hBitmap, 20, 30, false) != NULL);
    }

    HWND m_hWnd = NULL;
    CPaintManagerUI* m_pm = NULL;
    CDibCanvas m_canvas{ 300, 100, kWhite };
};

} // namespace

TEST_F(HtmlTextTest, ColouredRunTakesItsColourAndTheRestTheDefault)
{
    Draw(L"<c #FFFF0000>red</c> black", MakeRect(0, 0, 300, 40));
    const int cxRed = Width(L"red");
    ASSERT_GT(cxRed, 0);
    EXPECT_GT(CountPixels(m_canvas, MakeRect(0, 0, cxRed, 40), IsReddish), 5);
    const RECT rcRest = MakeRect(cxRed + 1, 0, 300, 40);
    EXPECT_EQ(0, CountPixels(m_canvas, rcRest, IsReddish));
    EXPECT_GT(CountPixels(m_canvas, rcRest, [](DWORD c) { return Red(c) < 90 && Green(c) < 90 && Blue(c) < 90; }), 5);

    // Without a "#" the value reads the same; a colour tag left open colours everything after it.
    Clear();
    Draw(L"<c FFFF0000>red <b>still red", MakeRect(0, 0, 300, 40));
    EXPECT_EQ(0, CountPixels(m_canvas, MakeRect(0, 0, 300, 40),
                             [](DWORD c) { return IsInk(c) && Red(c) < 90 && Green(c) < 90 && Blue(c) < 90; }));
    EXPECT_GT(CountPixels(m_canvas, MakeRect(Width(L"red "), 0, 300, 40), IsReddish), 5);
}

TEST_F(HtmlTextTest, FontTagsChangeWidthHeightAndStayInTheManagersStore)
{
    const int h = LineHeight();
    EXPECT_GT(Width(L"<b>Hello World</b>"), Width(L"Hello World"));
    // Bold in the middle of a sentence keeps it on one line.
    EXPECT_GT(Width(L"a <b>bold</b> word"), Width(L"a bold word"));
    EXPECT_LT(Measure(L"a <b>bold</b> word").bottom, 2 * h);
    // Bold inside bold is balanced: the outer closing tag still ends the bold run.
    EXPECT_EQ(Width(L"<b>x</b>y"), Width(L"<b><b>x</b></b>y"));
    EXPECT_EQ(Width(L"<b>x</b><b>y</b>"), Width(L"<b><b>x</b>y</b>"));

    // Font tags name faces without spaces.
    const CUIString face = L"Tahoma";
    ASSERT_TRUE(m_pm->AddFont(face, 40, false, false, false) != NULL);
    const int index = m_pm->GetFontIndex(face, 40, false, false, false);
    const std::wstring byIndex = L"<f " + std::to_wstring(index) + L">X</f>";
    EXPECT_GT(Measure(byIndex.c_str()).bottom, 2 * h);
    EXPECT_GT(Width(byIndex.c_str()), 2 * Width(L"X"));
    // An index out of range falls back to the default font.
    EXPECT_EQ(Width(L"X"), Width(L"<f 99999999999>X</f>"));

    // A font by name is added once and found again on the next paint.
    const int fonts = m_pm->GetCustomFontCount();
    LPCWSTR byName = L"<f Tahoma 40 BOLD italic>X</f>";
    EXPECT_GT(Measure(byName).bottom, 2 * h);
    EXPECT_EQ(fonts + 1, m_pm->GetCustomFontCount());
    Measure(byName);
    EXPECT_EQ(fonts + 1, m_pm->GetCustomFontCount());
    EXPECT_TRUE(m_pm->FindFont(face, 40, true, false, true));
}

TEST_F(HtmlTextTest, LineBreaksStartNewLinesBelow)
{
    const int h = LineHeight();
    ASSERT_GT(h, 5);
    EXPECT_EQ(2 * h, Measure(L"A<n>B").bottom);
    EXPECT_EQ(2 * h, Measure(L"A\nB").bottom);
    EXPECT_EQ(3 * h, Measure(L"A<n><n>B").bottom);
    // A break at the very end adds no empty line.
    EXPECT_EQ(h, Measure(L"A<n>").bottom);

    Draw(L"A<n>B", MakeRect(0, 0, 300, 100));
    const RECT rcFirst = InkBox(m_canvas, MakeRect(0, 0, 300, h));
    const RECT rcSecond = InkBox(m_canvas, MakeRect(0, h, 300, 2 * h));
    EXPECT_FALSE(::IsRectEmpty(&rcFirst));
    EXPECT_FALSE(::IsRectEmpty(&rcSecond));
    EXPECT_LT(rcSecond.left, 3);
    EXPECT_TRUE(HasNoInk(m_canvas, MakeRect(0, 2 * h, 300, 100)));

    // Single-line text ignores <n> and stops at a line feed.
    EXPECT_EQ(h, Measure(L"A<n>B", DT_SINGLELINE).bottom);
    EXPECT_EQ(Width(L"AB"), Measure(L"A<n>B", DT_SINGLELINE).right);
    EXPECT_EQ(Width(L"A"), Measure(L"A\nB", DT_SINGLELINE).right);
    Clear();
    Draw(L"A<n>B", MakeRect(0, 0, 300, 100), DT_SINGLELINE);
    EXPECT_TRUE(HasNoInk(m_canvas, MakeRect(0, h, 300, 100)));
}

TEST_F(HtmlTextTest, ParagraphsSkipsAndLineHeights)
{
    const int h = LineHeight();
    EXPECT_EQ(h + 10, Measure(L"<p 10>a").bottom);
    // A paragraph in mid-line starts a new line; its extra height lasts until </p>.
    EXPECT_EQ(h + (h + 10), Measure(L"a<p 10>b</p>c").bottom);
    EXPECT_EQ(h + (h + 10) + (h + 10), Measure(L"a<p 10>b<n>c</p>").bottom);
    EXPECT_EQ(Width(L"a<x 0>b") + 20, Width(L"a<x 20>b"));
    EXPECT_EQ(40, Measure(L"a<y 40>b").bottom);
    // Text on a taller line sits on its bottom.
    Draw(L"a<y 60>b", MakeRect(0, 0, 300, 100));
    const RECT rcInk = InkBox(m_canvas, MakeRect(0, 0, 300, 100));
    EXPECT_GT(rcInk.top, 60 - h - 1);
    EXPECT_LE(rcInk.bottom, 60);
}

TEST_F(HtmlTextTest, LinksAreReportedWhereTheyWereDrawn)
{
    const int h = LineHeight();
    RECT links[2] = {};
    CUIString texts[2];
    int count = 2;
    RECT rc = MakeRect(0, 0, 300, 40);
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, L"see <a help>here</a> now", kBlack, links, texts,
                                count, 0);
    ASSERT_EQ(1, count);
    EXPECT_STREQ(L"help", texts[0].GetData());
    const int left = Width(L"see ");
    EXPECT_EQ(left, links[0].left);
    EXPECT_EQ(0, links[0].top);
    EXPECT_NEAR(left + Width(L"<u>here</u>"), links[0].right, 1);
    EXPECT_EQ(h, links[0].bottom);
    // The link text is blue and underlined, nothing else is.
    EXPECT_GT(CountPixels(m_canvas, links[0], IsBluish), 5);
    EXPECT_EQ(0, CountPixels(m_canvas, MakeRect(0, 0, links[0].left, 40), IsBluish));
    EXPECT_EQ(0, CountPixels(m_canvas, MakeRect(links[0].right + 1, 0, 300, 40), IsBluish));

    // Measuring reports the same links.
    RECT measured[2] = {};
    CUIString measuredTexts[2];
    count = 2;
    rc = MakeRect(0, 0, 300, 40);
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, L"see <a help>here</a> now", kBlack, measured,
                                measuredTexts, count, DT_CALCRECT);
    ASSERT_EQ(1, count);
    EXPECT_TRUE(::EqualRect(&links[0], &measured[0]));
}

TEST_F(HtmlTextTest, TheLinkUnderTheMouseTakesTheHoverColour)
{
    // The manager has seen no mouse yet: its last position is (-1, -1). The caller's rectangles
    // from the last paint name the hovered link.
    const POINT ptMouse = m_pm->GetMousePos();
    RECT links[2] = { { ptMouse.x - 2, ptMouse.y - 2, ptMouse.x + 2, ptMouse.y + 2 }, { 0, 0, 0, 0 } };
    CUIString texts[2] = { CUIString(L"two"), CUIString() };
    int count = 2;
    RECT rc = MakeRect(0, 0, 300, 40);
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, L"<a one>first</a> <a two>second</a>", kBlack, links,
                                texts, count, 0);
    ASSERT_EQ(2, count);
    EXPECT_STREQ(L"one", texts[0].GetData());
    EXPECT_STREQ(L"two", texts[1].GetData());
    EXPECT_GT(CountPixels(m_canvas, links[0], IsBluish), 5);
    EXPECT_EQ(0, CountPixels(m_canvas, links[0], IsHoverish));
    EXPECT_GT(CountPixels(m_canvas, links[1], IsHoverish), 5);
    EXPECT_EQ(0, CountPixels(m_canvas, links[1], IsBluish));

    // The new rectangles do not hold the mouse: the next paint shows no hover.
    Clear();
    count = 2;
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, L"<a one>first</a> <a two>second</a>", kBlack, links,
                                texts, count, 0);
    EXPECT_EQ(0, CountPixels(m_canvas, MakeRect(0, 0, 300, 40), IsHoverish));
}

TEST_F(HtmlTextTest, LinkCountIsCappedByTheCapacity)
{
    LPCWSTR text = L"<a 1>x</a> <a 2>y</a> <a 3>z</a>";
    RECT links[4];
    CUIString texts[4];
    for (int i = 0; i < 4; ++i) {
        links[i] = MakeRect(-7, -7, -7, -7);
        texts[i] = L"untouched";
    }
    int count = 2;
    RECT rc = MakeRect(0, 0, 300, 40);
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, text, kBlack, links, texts, count, 0);
    EXPECT_EQ(2, count);
    EXPECT_STREQ(L"2", texts[1].GetData());
    EXPECT_EQ(-7, links[2].left);
    EXPECT_STREQ(L"untouched", texts[2].GetData());

    count = 0;
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, text, kBlack, links, texts, count, 0);
    EXPECT_EQ(0, count);
    count = 5;
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, text, kBlack, NULL, NULL, count, 0);
    EXPECT_EQ(0, count);
    count = -3;
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, text, kBlack, links, texts, count, 0);
    EXPECT_EQ(0, count);
    EXPECT_EQ(-7, links[3].left);
    EXPECT_STREQ(L"untouched", texts[3].GetData());
}

TEST_F(HtmlTextTest, LinkThatWrapsContinuesInTheNextSlot)
{
    const int h = LineHeight();
    const int width = Width(L"aaaa bbbb");
    LPCWSTR text = L"aaaa <a w>bbbbbbbb</a>";
    RECT links[3] = {};
    CUIString texts[3];
    int count = 3;
    RECT rc = MakeRect(0, 0, width, 100);
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, text, kBlack, links, texts, count, 0);
    ASSERT_EQ(2, count);
    EXPECT_STREQ(L"w", texts[0].GetData());
    EXPECT_STREQ(L"w", texts[1].GetData());
    EXPECT_EQ(Width(L"aaaa "), links[0].left);
    EXPECT_LE(links[0].right, width);
    EXPECT_EQ(0, links[0].top);
    EXPECT_EQ(h, links[0].bottom);
    EXPECT_EQ(0, links[1].left);
    EXPECT_EQ(h, links[1].top);
    EXPECT_EQ(2 * h, links[1].bottom);

    // With word breaking the whole word moves to the second line.
    count = 3;
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, text, kBlack, links, texts, count, DT_WORDBREAK);
    ASSERT_EQ(1, count);
    EXPECT_EQ(0, links[0].left);
    EXPECT_EQ(h, links[0].top);
}

TEST_F(HtmlTextTest, SelectedRunGetsTheSelectionBackground)
{
    Draw(L"<s>sel</s> plain", MakeRect(0, 0, 300, 40));
    const DWORD selection = m_pm->GetDefaultSelectedBkColor();
    auto isSelection = [selection](DWORD c) { return RgbNear(c, selection, 8); };
    const int cxSel = Width(L"sel");
    EXPECT_GT(CountPixels(m_canvas, MakeRect(0, 0, cxSel, 40), isSelection), 3 * cxSel);
    EXPECT_EQ(0, CountPixels(m_canvas, MakeRect(cxSel + 1, 0, 300, 40), isSelection));

    Clear();
    m_pm->SetDefaultSelectedBkColor(0xFF00FF00);
    Draw(L"plain <s>sel", MakeRect(0, 0, 300, 40));
    EXPECT_EQ(0, CountPixels(m_canvas, MakeRect(0, 0, Width(L"plain") - 1, 40),
                             [](DWORD c) { return RgbNear(c, 0x00FF00, 8); }));
    EXPECT_GT(CountPixels(m_canvas, MakeRect(Width(L"plain "), 0, 300, 40),
                          [](DWORD c) { return RgbNear(c, 0x00FF00, 8); }),
              20);
}

TEST_F(HtmlTextTest, MeasuringWrapsAtTheWidth)
{
    const int h = LineHeight();
    LPCWSTR sentence = L"The quick brown fox jumps over the lazy dog";
    const RECT rcOne = Measure(sentence, DT_SINGLELINE);
    EXPECT_EQ(h, rcOne.bottom);
    const RECT rcWrapped = Measure(sentence, DT_WORDBREAK, 100);
    EXPECT_LE(rcWrapped.right, 100);
    EXPECT_GE(rcWrapped.bottom, 3 * h);
    EXPECT_LT(rcWrapped.right, rcOne.right);
    // The left edge and top stay where they were.
    RECT rc = MakeRect(20, 30, 120, 500);
    int links = 0;
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, sentence, kBlack, NULL, NULL, links,
                                DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(20, rc.left);
    EXPECT_EQ(30, rc.top);
    EXPECT_EQ(rcWrapped.bottom + 30, rc.bottom);
    EXPECT_EQ(rcWrapped.right + 20, rc.right);

    // Word breaking ends the line after the last space that fits; without it the run is cut at the
    // last fitting character.
    const int width = Width(L"aaaa bbbb c") + 1;
    const RECT rcWords = Measure(L"aaaa bbbb cccc", DT_WORDBREAK, width);
    EXPECT_EQ(2 * h, rcWords.bottom);
    EXPECT_EQ(Width(L"aaaa bbbb "), rcWords.right);
    const RECT rcChars = Measure(L"aaaa bbbb cccc", 0, width);
    EXPECT_EQ(2 * h, rcChars.bottom);
    EXPECT_GE(rcChars.right, Width(L"aaaa bbbb c"));
    // Digits and punctuation allow breaks too.
    EXPECT_EQ(Width(L"aaaa,"), Measure(L"aaaa,bb", DT_WORDBREAK, Width(L"aaaa,b")).right);
}

TEST_F(HtmlTextTest, AlignmentMovesTheInk)
{
    const RECT rc = MakeRect(0, 0, 300, 60);
    const RECT all = MakeRect(0, 0, 300, 100);
    Draw(L"Hello", rc, DT_SINGLELINE);
    const RECT rcLeft = InkBox(m_canvas, all);
    EXPECT_LT(rcLeft.left, 4);

    Clear();
    Draw(L"Hello", rc, DT_SINGLELINE | DT_RIGHT);
    const RECT rcRight = InkBox(m_canvas, all);
    EXPECT_GT(rcRight.right, 300 - 5);
    EXPECT_NEAR(rcLeft.right - rcLeft.left, rcRight.right - rcRight.left, 1);

    Clear();
    Draw(L"Hello", rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    const RECT rcCentre = InkBox(m_canvas, all);
    EXPECT_NEAR(150, (rcCentre.left + rcCentre.right) / 2, 4);
    EXPECT_NEAR(30, (rcCentre.top + rcCentre.bottom) / 2, 5);

    Clear();
    Draw(L"Hello", rc, DT_SINGLELINE | DT_BOTTOM);
    EXPECT_GT(InkBox(m_canvas, all).bottom, 60 - 6);

    // Several runs on a centred line move together instead of piling up in the middle.
    Clear();
    Draw(L"a <b>bold</b> word", rc, DT_CENTER);
    const RECT rcRuns = InkBox(m_canvas, all);
    EXPECT_NEAR(150, (rcRuns.left + rcRuns.right) / 2, 4);
    EXPECT_GT(rcRuns.right - rcRuns.left, Width(L"a <b>bold</b> word") - 6);

    // Wrapped text is centred by the height it has at this width.
    Clear();
    Draw(L"The quick brown fox jumps over the lazy dog", MakeRect(0, 0, 100, 100), DT_WORDBREAK | DT_VCENTER);
    const RECT rcWrapped = InkBox(m_canvas, all);
    EXPECT_GT(rcWrapped.bottom - rcWrapped.top, 2 * LineHeight());
    EXPECT_NEAR(50, (rcWrapped.top + rcWrapped.bottom) / 2, 5);

    // Each line of right-aligned text ends at the right edge.
    Clear();
    const int h = LineHeight();
    Draw(L"short<n>a much longer line", MakeRect(0, 0, 300, 100), DT_RIGHT);
    EXPECT_GT(InkBox(m_canvas, MakeRect(0, 0, 300, h)).right, 300 - 5);
    EXPECT_GT(InkBox(m_canvas, MakeRect(0, h, 300, 2 * h)).right, 300 - 5);
    EXPECT_GT(InkBox(m_canvas, MakeRect(0, 0, 300, h)).left, 150);
}

TEST_F(HtmlTextTest, EndEllipsisEndsTheLineInDots)
{
    const int h = LineHeight();
    LPCWSTR text = L"MMMMMMMMMMMMMMMMMMMMMMMMMMMMMM";
    const int width = 120;
    const RECT rcMeasured = Measure(text, DT_SINGLELINE | DT_END_ELLIPSIS, width);
    EXPECT_LE(rcMeasured.right, width);
    EXPECT_GT(rcMeasured.right, width - Width(L"M") - Width(L"...") - 1);

    // The last ink columns are dots on the base line, not the stem of an M.
    Draw(text, MakeRect(0, 0, width, 40), DT_SINGLELINE | DT_END_ELLIPSIS);
    const RECT rcInk = InkBox(m_canvas, MakeRect(0, 0, 300, 40));
    ASSERT_FALSE(::IsRectEmpty(&rcInk));
    EXPECT_LE(rcInk.right, width);
    const RECT rcTail = InkBox(m_canvas, MakeRect(rcInk.right - 2, 0, rcInk.right, 40));
    EXPECT_GT(rcTail.top, rcInk.top + (rcInk.bottom - rcInk.top) / 2);

    Clear();
    Draw(text, MakeRect(0, 0, width, 40), DT_SINGLELINE);
    const RECT rcCut = InkBox(m_canvas, MakeRect(0, 0, 300, 40));
    const RECT rcCutTail = InkBox(m_canvas, MakeRect(rcCut.right - 2, 0, rcCut.right, 40));
    EXPECT_LT(rcCutTail.top, rcCut.top + (rcCut.bottom - rcCut.top) / 2);
    EXPECT_EQ(h, Measure(text, DT_SINGLELINE | DT_END_ELLIPSIS | DT_WORDBREAK, width).bottom);

    // Centred text too wide for the line starts at the left edge so that its ellipsis shows.
    Clear();
    Draw(text, MakeRect(0, 0, width, 40), DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER);
    const RECT rcCentred = InkBox(m_canvas, MakeRect(0, 0, 300, 40));
    EXPECT_LT(rcCentred.left, 4);
    const RECT rcCentredTail = InkBox(m_canvas, MakeRect(rcCentred.right - 2, 0, rcCentred.right, 40));
    EXPECT_GT(rcCentredTail.top, rcCentred.top + (rcCentred.bottom - rcCentred.top) / 2);
}

TEST_F(HtmlTextTest, RawRunsEscapesAndUnknownTagsDrawWhatTheySay)
{
    const int cxTag = Width(L"{<}b{>}");
    EXPECT_GT(cxTag, Width(L"b"));
    EXPECT_EQ(cxTag, Width(L"<r><b></r>"));
    EXPECT_EQ(Width(L"<r>x{y</r>"), Width(L"x<{>y"));
    EXPECT_EQ(Width(L"<r>x}y</r>"), Width(L"x<}>y"));
    EXPECT_EQ(Width(L"<r>x>y</r>"), Width(L"x{>}y"));
    // Both forms end a raw run, and tags work again after it.
    EXPECT_EQ(Width(L"a<b>b</b>"), Width(L"<r>a{/r}<b>b</b>"));
    EXPECT_EQ(Width(L"{r}a</r>{b}b{/b}"), Width(L"a<b>b</b>"));
    // Brackets that start no tag are text; tags with other letters vanish.
    EXPECT_EQ(Width(L"<r>a<1b</r>"), Width(L"a<1b"));
    EXPECT_EQ(Width(L"<r><B>x</r>"), Width(L"<B>x"));
    EXPECT_EQ(Width(L"ab"), Width(L"<q>a<z foo bar>b</q>"));
}

TEST_F(HtmlTextTest, InlineImagesDrawTheirFrameOnTheLine)
{
    AddStrip(L"strip.png");
    const int h = LineHeight();
    ASSERT_LT(h, 30);
    auto isGreen = [](DWORD c) { return RgbNear(c, 0x00FF00, 0); };
    auto isRed = [](DWORD c) { return RgbNear(c, 0xFF0000, 0); };

    Draw(L"a<i strip.png 2 1>b", MakeRect(0, 0, 300, 100));
    const int x = Width(L"a");
    EXPECT_EQ(10 * 30, CountPixels(m_canvas, MakeRect(x, 0, x + 10, 30), isGreen));
    EXPECT_EQ(0, CountPixels(m_canvas, MakeRect(0, 0, 300, 100), isRed));
    // The text shares the image's bottom line.
    EXPECT_GT(InkBox(m_canvas, MakeRect(0, 0, x, 100)).top, 30 - h - 1);

    const RECT rcMeasured = Measure(L"a<i strip.png 2 1>b");
    EXPECT_EQ(30, rcMeasured.bottom);
    EXPECT_EQ(Width(L"a<x 10>b"), rcMeasured.right);
    // Key-value form, an index out of range, and one frame only.
    Clear();
    Draw(L"<i file='strip.png' 2 7>", MakeRect(0, 0, 300, 100));
    EXPECT_EQ(10 * 30, CountPixels(m_canvas, MakeRect(0, 0, 10, 30), isRed));
    EXPECT_EQ(0, CountPixels(m_canvas, MakeRect(0, 0, 300, 100), isGreen));
    EXPECT_EQ(20, Width(L"<i strip.png>"));

    // An image that does not fit moves to the next line; a missing one leaves no trace.
    EXPECT_EQ(h + 30, Measure(L"aaaa<i strip.png>", 0, Width(L"aaaa") + 5).bottom);
    EXPECT_EQ(Width(L"ab"), Width(L"a<i res='missing.png' restype='PNG'>b"));
}

TEST_F(HtmlTextTest, NothingIsDoneWithoutTextManagerOrRoom)
{
    RECT links[1] = { { 1, 2, 3, 4 } };
    CUIString texts[1];
    int count = 1;
    RECT rc = MakeRect(0, 0, 100, 100);
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, L"", kBlack, links, texts, count, DT_CALCRECT);
    EXPECT_EQ(0, count);
    EXPECT_EQ(100, rc.right);
    count = 1;
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), NULL, rc, L"x", kBlack, links, texts, count, 0);
    EXPECT_EQ(0, count);
    RECT rcEmpty = MakeRect(10, 10, 10, 50);
    CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rcEmpty, L"x", kBlack, NULL, NULL, count, DT_CALCRECT);
    EXPECT_EQ(10, rcEmpty.right);
    EXPECT_EQ(50, rcEmpty.bottom);
    EXPECT_EQ(2, links[0].top);
    EXPECT_EQ(0, m_canvas.CountOtherThan(0, 0, 300, 100, kWhite));
}

TEST_F(HtmlTextTest, DrawingKeepsTheCallersDeviceContextAndStaysInsideTheRectangle)
{
    HDC hDC = m_canvas.GetDC();
    HFONT hFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    ::SelectObject(hDC, hFont);
    ::SetTextColor(hDC, RGB(1, 2, 3));
    ::SetBkMode(hDC, OPAQUE);
    RECT rc = MakeRect(50, 10, 90, 30);
    int count = 0;
    CRenderEngine::DrawHtmlText(hDC, m_pm, rc, L"<s>wide text that overflows</s><n><n><n><n>more", kBlack, NULL, NULL,
                                count, 0);
    EXPECT_EQ(hFont, ::GetCurrentObject(hDC, OBJ_FONT));
    EXPECT_EQ(RGB(1, 2, 3), ::GetTextColor(hDC));
    EXPECT_EQ(OPAQUE, ::GetBkMode(hDC));
    RECT rcClip;
    ::GetClipBox(hDC, &rcClip);
    EXPECT_EQ(300, rcClip.right);
    EXPECT_EQ(100, rcClip.bottom);
    EXPECT_GT(m_canvas.CountOtherThan(50, 10, 90, 30, kWhite), 0);
    EXPECT_EQ(0, m_canvas.CountOtherThan(0, 0, 300, 10, kWhite));
    EXPECT_EQ(0, m_canvas.CountOtherThan(0, 30, 300, 100, kWhite));
    EXPECT_EQ(0, m_canvas.CountOtherThan(0, 0, 50, 100, kWhite));
    EXPECT_EQ(0, m_canvas.CountOtherThan(90, 0, 300, 100, kWhite));
}

TEST_F(HtmlTextTest, HostileTextNeverReadsOrWritesOutOfBounds)
{
    AddStrip(L"strip.png");
    std::vector<std::wstring> texts = {
        L"<", L"{", L"<b", L"{b", L"<b ", L"</", L"</b", L"{/", L"<c #FF", L"<c", L"<a ", L"<a", L"<a x",
        L"<i ", L"<i file='", L"<i file='strip.png", L"<i strip.png 99999999999 -99999999999>",
        L"<i strip.png 0 0>", L"<i =''>", L"<f ", L"<f", L"<f 99999999999999", L"<f Arial 999999999999 bold>x",
        L"<f Arial -5>x", L"<f " + std::wstring(200, L'F') + L" 12>x</f>", L"<x 2147483648>x", L"<x -99999999>x",
        L"<y -99999999>x", L"<y 99999999999>x", L"<p 99999999999>x</p>", L"<p -5>x", L"<r>", L"<r>abc", L"<r>ab</r",
        L"{/r}", L"</r>", L"<{", L"{<", L"<{>", L"{>}", L"<}", L"\n\n\n", L"<n><n><n>", L"</a></a></b></c></p></s>",
        L"<s><s><s>x", std::wstring(1500, L'w'), L"a\xD83D\xDE00\xD83D\xDE00\xD83D\xDE00" L"b", std::wstring(1, L'\xD83D'),
        L"<a \xD83D", L"{c #FFFF0000}x{/c}<>{}{{}}<<>>",
    };
    std::vector<std::wstring> bigTexts;
    std::wstring deep;
    for (int i = 0; i < 3000; ++i) deep += L"<b><c #FF00FF00><p 1><a z><u>";
    deep += L"deep";
    for (int i = 0; i < 3000; ++i) deep += L"</u></a></p></c></b>";
    bigTexts.push_back(deep);
    std::wstring many;
    for (int i = 0; i < 2000; ++i) many += L"<a x>l</a><n>";
    bigTexts.push_back(many);
    bigTexts.push_back(L"<a l>" + std::wstring(3000, L'w') + L"</a>");
    bigTexts.push_back(std::wstring(3000, L' '));

    // The long texts go through the first three only.
    const UINT styles[] = { 0,
                            DT_CENTER | DT_VCENTER | DT_WORDBREAK,
                            DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS,
                            DT_WORDBREAK,
                            DT_SINGLELINE | DT_RIGHT | DT_BOTTOM,
                            DT_END_ELLIPSIS | DT_WORDBREAK };
    const RECT boxes[] = { MakeRect(0, 0, 300, 100), MakeRect(5, 5, 8, 90), MakeRect(-20, -20, 30, 10) };
    auto sweep = [&](const std::wstring& source, size_t styleCount, size_t boxCount, int minCapacity) {
        const CGuardedText text(source);
        for (size_t s = 0; s < styleCount; ++s) {
            for (size_t b = 0; b < boxCount; ++b) {
                for (int capacity = minCapacity; capacity <= 2; ++capacity) {
                    CGuardedLinks links(capacity);
                    for (UINT mode = 0; mode <= DT_CALCRECT; mode += DT_CALCRECT) {
                        RECT rc = boxes[b];
                        int count = capacity;
                        CRenderEngine::DrawHtmlText(m_canvas.GetDC(), m_pm, rc, text.Get(), kBlack, links.Rects(),
                                                    links.Texts(), count, styles[s] | mode);
                        ASSERT_GE(count, 0);
                        ASSERT_LE(count, capacity);
                        ASSERT_GE(rc.right, rc.left);
                        ASSERT_GE(rc.bottom, rc.top);
                    }
                }
            }
        }
    };
    for (size_t t = 0; t < texts.size(); ++t) {
        SCOPED_TRACE(t);
        sweep(texts[t], lengthof(styles), lengthof(boxes), 0);
    }
    for (size_t t = 0; t < bigTexts.size(); ++t) {
        SCOPED_TRACE(t);
        sweep(bigTexts[t], 3, 2, 2);
    }
}
