// Tests of CTextUI: links found at paint, hover repaints and colours, "link" clicks through the window,
// the link capacity, plain text without links, and the multi-line size estimate.
#include "veneer/core/UISetup.h"
#include "control/NativeHostFixture.h"

using namespace Veneer;
using namespace VeneerTest;

namespace {

const wchar_t kTwoLinks[] =
    L"<Window linkfontcolor=\"#FF0000FF\" linkhoverfontcolor=\"#FFFF0000\"><VerticalLayout>"
    L"<Text name=\"text\" showhtml=\"true\" height=\"40\" "
    L"text=\"{a first}ONE{/a} and {a second}TWO{/a}\" />"
    L"<Text name=\"plain\" height=\"40\" text=\"{a first}ONE{/a}\" />"
    L"</VerticalLayout></Window>";

POINT Centre(const RECT& rc)
{
    POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    return pt;
}

class TextWindowTest : public NativeHostTest
{
protected:
    // Sent, not pumped: a pump would paint and so validate the window.
    void MoveTo(POINT pt) { ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y)); }
    bool HasUpdate() { return ::GetUpdateRect(m_hWnd, NULL, FALSE) != FALSE; }
};

TEST_F(TextWindowTest, PaintingFindsTheLinksAndAClickReportsTheIndex)
{
    ASSERT_TRUE(Build(kTwoLinks) != NULL);
    CTextUI* text = static_cast<CTextUI*>(Find(L"text"));
    ASSERT_TRUE(text != NULL);
    EXPECT_EQ(2, text->GetLinkCount());
    ASSERT_TRUE(text->GetLinkContent(1) != NULL);
    EXPECT_STREQ(L"first", *text->GetLinkContent(0));
    EXPECT_STREQ(L"second", *text->GetLinkContent(1));
    EXPECT_TRUE(text->GetLinkContent(2) == NULL);
    EXPECT_TRUE(text->GetLinkContent(-1) == NULL);
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), text->GetControlFlags());

    const RECT rcFirst = text->GetLinkRect(0);
    const RECT rcSecond = text->GetLinkRect(1);
    ASSERT_FALSE(::IsRectEmpty(&rcSecond));
    EXPECT_LT(rcFirst.right, rcSecond.left);

    const POINT pt = Centre(rcSecond);
    Click(pt.x, pt.y);
    ASSERT_EQ(1, m_notes.Count(L"link"));
    for (size_t i = 0; i < m_notes.types.size(); ++i) {
        if (m_notes.types[i] != L"link") continue;
        EXPECT_EQ(1u, m_notes.wParams[i]);
        EXPECT_EQ(text, m_notes.senders[i]);
    }
    // Between the links nothing is reported.
    Click(rcSecond.left - 8, pt.y);
    EXPECT_EQ(1, m_notes.Count(L"link"));
}

TEST_F(TextWindowTest, HoverRepaintsOncePerLinkChangeAndDrawsTheHoverColour)
{
    ASSERT_TRUE(Build(kTwoLinks) != NULL);
    CTextUI* text = static_cast<CTextUI*>(Find(L"text"));
    ASSERT_TRUE(text != NULL);
    const RECT rcFirst = text->GetLinkRect(0);
    const RECT rcSecond = text->GetLinkRect(1);

    CDibCanvas before(kWidth, kHeight);
    PaintRoot(before);
    EXPECT_GT(CountNear(before, 0x0000FF, 60), 0);
    EXPECT_EQ(0, CountNear(before, 0xFF0000, 60));

    ::ValidateRect(m_hWnd, NULL);
    MoveTo(Centre(rcFirst));
    EXPECT_EQ(0, text->GetHoverLink());
    EXPECT_TRUE(HasUpdate());
    ::ValidateRect(m_hWnd, NULL);
    POINT ptOther = Centre(rcFirst);
    ptOther.x += 1;
    MoveTo(ptOther);
    EXPECT_FALSE(HasUpdate());
    MoveTo(Centre(rcSecond));
    EXPECT_EQ(1, text->GetHoverLink());
    EXPECT_TRUE(HasUpdate());

    CDibCanvas hovered(kWidth, kHeight);
    PaintRoot(hovered);
    const RECT rcInk = { rcSecond.left, rcSecond.top, rcSecond.right, rcSecond.bottom };
    int red = 0;
    for (int y = rcInk.top; y < rcInk.bottom; ++y)
        for (int x = rcInk.left; x < rcInk.right; ++x)
            if (RgbNear(hovered.Get(x, y), 0xFF0000, 60)) ++red;
    EXPECT_GT(red, 0);

    // Leaving the text clears the hover.
    ::ValidateRect(m_hWnd, NULL);
    MoveTo(Centre(ControlTest::Rc(kWidth - 2, kHeight - 2, kWidth, kHeight)));
    EXPECT_EQ(-1, text->GetHoverLink());
    EXPECT_TRUE(HasUpdate());
}

TEST_F(TextWindowTest, WithoutMarkupThereAreNoLinkPlacesToHit)
{
    ASSERT_TRUE(Build(kTwoLinks) != NULL);
    CTextUI* plain = static_cast<CTextUI*>(Find(L"plain"));
    ASSERT_TRUE(plain != NULL);
    // The capacity is reported, but every place is still empty.
    EXPECT_EQ(8, plain->GetLinkCount());
    const RECT rcZero = plain->GetLinkRect(0);
    EXPECT_TRUE(::IsRectEmpty(&rcZero));
    const POINT pt = Centre(plain->GetPos());
    Click(pt.x, pt.y);
    EXPECT_EQ(0, m_notes.Count(L"link"));
}

class TextPaintTest : public PaintFixture
{
};

TEST_F(TextPaintTest, IdentityDefaultsAndTheNinthLink)
{
    CTextUI text;
    EXPECT_STREQ(L"TextUI", text.GetClass());
    EXPECT_EQ(&text, text.GetInterface(L"Text"));
    EXPECT_EQ(&text, text.GetInterface(L"Label"));
    EXPECT_EQ(static_cast<UINT>(DT_WORDBREAK), text.GetTextStyle());
    EXPECT_TRUE(ControlTest::RectEq(text.GetTextPadding(), 2, 0, 2, 0));
    EXPECT_EQ(0u, text.GetControlFlags());
    EXPECT_EQ(-1, text.GetHoverLink());

    text.SetShowHtml(true);
    text.SetText(L"{a 1}a{/a} {a 2}b{/a} {a 3}c{/a} {a 4}d{/a} {a 5}e{/a} {a 6}f{/a} {a 7}g{/a} {a 8}h{/a} "
                 L"{a 9}i{/a}");
    Place(text, 0, 0, kWidth, kHeight);
    CDibCanvas canvas(kWidth, kHeight);
    Paint(text, canvas);
    EXPECT_EQ(8, text.GetLinkCount());
    ASSERT_TRUE(text.GetLinkContent(7) != NULL);
    EXPECT_STREQ(L"8", *text.GetLinkContent(7));
    EXPECT_TRUE(text.GetLinkContent(8) == NULL);

    // An empty text paints nothing and has no links.
    text.SetText(L"");
    CDibCanvas empty(kWidth, kHeight);
    Paint(text, empty);
    EXPECT_EQ(0, text.GetLinkCount());
    EXPECT_EQ(0u, text.GetControlFlags());
    const RECT rcInk = InkBox(empty, 0xFFFFFFFF);
    EXPECT_TRUE(::IsRectEmpty(&rcInk));

    // A disabled text does not offer its links to the cursor.
    text.SetText(L"{a x}x{/a}");
    Paint(text, canvas);
    EXPECT_NE(0u, text.GetControlFlags());
    text.SetEnabled(false);
    EXPECT_EQ(0u, text.GetControlFlags());
}

TEST_F(TextPaintTest, TheEstimateWrapsToTheAvailableWidth)
{
    CTextUI text;
    text.SetText(L"many words that cannot possibly fit on one line of a narrow box");
    Place(text, 0, 0, kWidth, kHeight);
    const int lineHeight = m_pm->GetDefaultFontInfo()->tm.tmHeight;
    const SIZE wide = text.EstimateSize(ControlTest::Sz(2000, 0));
    EXPECT_LT(wide.cy, lineHeight * 2);
    const SIZE narrow = text.EstimateSize(ControlTest::Sz(80, 0));
    EXPECT_GE(narrow.cy, lineHeight * 3);
    EXPECT_LE(narrow.cx, 80);
    text.SetFixedHeight(25);
    EXPECT_EQ(25, text.EstimateSize(ControlTest::Sz(80, 0)).cy);

    // Formatted text measures without its tags.
    CTextUI html;
    html.SetShowHtml(true);
    html.SetText(L"{b}bold{/b} plain");
    Place(html, 0, 0, kWidth, kHeight);
    CTextUI same;
    same.SetText(L"bold plain");
    Place(same, 0, 0, kWidth, kHeight);
    EXPECT_EQ(same.EstimateSize(ControlTest::Sz(2000, 0)).cy, html.EstimateSize(ControlTest::Sz(2000, 0)).cy);
}

TEST(TextBuilder, TheTextTagMakesAText)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"<Window><Text showhtml=\"true\" /></Window>");
    ASSERT_TRUE(root != NULL);
    CTextUI* text = static_cast<CTextUI*>(root->GetInterface(L"Text"));
    ASSERT_TRUE(text != NULL);
    EXPECT_TRUE(text->IsShowHtml());
    delete root;
}

} // namespace
