// Tests of CLabelUI: attributes, size estimate, plain and markup text painting and the GDI+ text effect.
#include "veneer/core/UISetup.h"
#include "control/TextPaintFixture.h"

using namespace Veneer;
using namespace VeneerTest;

namespace {

const DWORD kWhite = 0xFFFFFFFF;

class LabelTest : public PaintFixture
{
};

// Per-row average of one colour channel over the pixels that are not background.
double AverageChannel(const CDibCanvas& canvas, int top, int bottom, int shift)
{
    double sum = 0;
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < canvas.GetWidth(); ++x) {
            const DWORD pixel = canvas.Get(x, y) & 0xFFFFFF;
            if (pixel == 0xFFFFFF) continue;
            sum += (pixel >> shift) & 0xFF;
            ++count;
        }
    }
    return count != 0 ? sum / count : -1;
}

// Darkest colour channel anywhere on the canvas.
int DarkestChannel(const CDibCanvas& canvas)
{
    int darkest = 255;
    for (int y = 0; y < canvas.GetHeight(); ++y) {
        for (int x = 0; x < canvas.GetWidth(); ++x) {
            const DWORD pixel = canvas.Get(x, y);
            for (int shift = 0; shift < 24; shift += 8) darkest = std::min(darkest, static_cast<int>((pixel >> shift) & 0xFF));
        }
    }
    return darkest;
}

TEST(LabelAttributes, IdentityAndDefaults)
{
    CLabelUI label;
    EXPECT_STREQ(L"LabelUI", label.GetClass());
    EXPECT_EQ(&label, label.GetInterface(L"Label"));
    EXPECT_EQ(&label, label.GetInterface(L"Control"));
    EXPECT_EQ(NULL, label.GetInterface(L"Button"));
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER), label.GetTextStyle());
    EXPECT_EQ(-1, label.GetFont());
    EXPECT_EQ(60, label.GetTransShadow());
    EXPECT_EQ(168, label.GetTransText());
    EXPECT_EQ(255, label.GetTransStroke());
    EXPECT_EQ(0xFFFFFFFFu, label.GetTextColor1());
    EXPECT_EQ(0xFF000000u, label.GetTextShadowColorA());
    EXPECT_EQ(0xFFFFFFFFu, label.GetTextShadowColorB());
}

TEST(LabelAttributes, AlignWordsAsSubstrings)
{
    struct Case
    {
        LPCWSTR value;
        UINT before;
        UINT after;
    };
    const Case cases[] = {
        // "center" keeps the default vertical centring.
        { L"center", DT_VCENTER, DT_VCENTER | DT_CENTER },
        { L"left", DT_VCENTER | DT_CENTER | DT_SINGLELINE, 0 },
        { L"right", DT_VCENTER | DT_CENTER | DT_SINGLELINE, DT_RIGHT },
        { L"top", DT_VCENTER | DT_BOTTOM, DT_SINGLELINE },
        // "vcenter" contains "center": both rules apply.
        { L"vcenter", DT_RIGHT | DT_BOTTOM, DT_CENTER | DT_VCENTER | DT_SINGLELINE },
        { L"bottom", DT_VCENTER, DT_BOTTOM | DT_SINGLELINE },
        { L"right bottom", DT_VCENTER, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE },
        { L"Left", DT_VCENTER, DT_VCENTER },
    };
    for (const Case& c : cases) {
        CLabelUI label;
        label.SetTextStyle(c.before);
        label.SetAttribute(L"align", c.value);
        EXPECT_EQ(c.after, label.GetTextStyle()) << c.value;
    }
}

TEST(LabelAttributes, ValuesAndTheirSyntax)
{
    CLabelUI label;
    label.SetAttribute(L"endellipsis", L"true");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER | DT_END_ELLIPSIS), label.GetTextStyle());
    label.SetAttribute(L"endellipsis", L"TRUE");
    EXPECT_EQ(static_cast<UINT>(DT_VCENTER), label.GetTextStyle());

    label.SetAttribute(L"textcolor", L"#00FFFBF0");
    EXPECT_EQ(0x00FFFBF0u, label.GetTextColor());
    label.SetAttribute(L"disabledtextcolor", L"FF808080");
    EXPECT_EQ(0xFF808080u, label.GetDisabledTextColor());
    label.SetAttribute(L"strokecolor", L"#FF0000");
    EXPECT_EQ(0x00FF0000u, label.GetStrokeColor());
    label.SetAttribute(L"textshadowcolorb", L"#zz");
    EXPECT_EQ(0u, label.GetTextShadowColorB());

    label.SetAttribute(L"textpadding", L"1,2,3,4");
    RECT padding = label.GetTextPadding();
    EXPECT_EQ(1, padding.left);
    EXPECT_EQ(2, padding.top);
    EXPECT_EQ(3, padding.right);
    EXPECT_EQ(4, padding.bottom);
    // A short list stops at the end of the text; the missing numbers are 0.
    label.SetAttribute(L"textpadding", L"7");
    padding = label.GetTextPadding();
    EXPECT_EQ(7, padding.left);
    EXPECT_EQ(0, padding.top);
    EXPECT_EQ(0, padding.bottom);

    label.SetAttribute(L"font", L"3");
    EXPECT_EQ(3, label.GetFont());
    label.SetAttribute(L"showhtml", L"true");
    EXPECT_TRUE(label.IsShowHtml());
    label.SetAttribute(L"showhtml", L"yes");
    EXPECT_FALSE(label.IsShowHtml());

    label.SetAttribute(L"rhaa", L"4");
    EXPECT_EQ(4, label.GetTextRenderingHintAntiAlias());
    label.SetAttribute(L"rhaa", L"7");
    EXPECT_EQ(0, label.GetTextRenderingHintAntiAlias());
    label.SetAttribute(L"rhaa", L"-1");
    EXPECT_EQ(0, label.GetTextRenderingHintAntiAlias());

    label.SetAttribute(L"transtext1", L"90");
    label.SetAttribute(L"gradientangle", L"-30");
    label.SetAttribute(L"gradientlength", L"12");
    EXPECT_EQ(90, label.GetTransText1());
    EXPECT_EQ(-30, label.GetGradientAngle());
    EXPECT_EQ(12, label.GetGradientLength());
}

TEST(LabelAttributes, ShadowOffsetByQuadrant)
{
    struct Case
    {
        LPCWSTR value;
        float x;
        float y;
    };
    // The vertical rule gives X, the horizontal rule Y.
    const Case cases[] = {
        { L"4,45", -4, -4 },  { L"4,0", -4, -4 },   { L"4,90", -4, -4 }, { L"4,135", -4, 4 },
        { L"4,180", -4, 4 },  { L"4,-45", 4, -4 },  { L"4,-90", 4, 0 },  { L"4,-135", 4, 4 },
        { L"4,-180", 0, 4 },
    };
    for (const Case& c : cases) {
        CLabelUI label;
        label.SetAttribute(L"shadowoffset", c.value);
        EXPECT_FLOAT_EQ(c.x, label.GetShadowOffset().X) << c.value;
        EXPECT_FLOAT_EQ(c.y, label.GetShadowOffset().Y) << c.value;
    }
    CLabelUI label;
    label.SetShadowOffset(3, 45);
    label.SetShadowOffset(9, 181);
    label.SetShadowOffset(9, -181);
    EXPECT_FLOAT_EQ(-3, label.GetShadowOffset().X);
    EXPECT_FLOAT_EQ(-3, label.GetShadowOffset().Y);
}

TEST_F(LabelTest, ShadowOffsetDoesNotDependOnPlacement)
{
    CLabelUI label;
    Place(label, 30, 20, 130, 50);
    label.SetShadowOffset(2, 45);
    EXPECT_FLOAT_EQ(-2, label.GetShadowOffset().X);
    EXPECT_FLOAT_EQ(-2, label.GetShadowOffset().Y);
}

TEST(LabelAttributes, EffectKeepsItsOwnText)
{
    CLabelUI before;
    before.SetAttribute(L"enabledeffect", L"true");
    before.SetAttribute(L"text", L"shown");
    EXPECT_STREQ(L"shown", before.GetText());
    before.SetEnabledEffect(false);
    EXPECT_STREQ(L"", before.GetText());

    // Text given before the effect is switched on stays in the control's ordinary text.
    CLabelUI after;
    after.SetAttribute(L"text", L"plain");
    after.SetAttribute(L"enabledeffect", L"true");
    EXPECT_STREQ(L"", after.GetText());
    after.SetEnabledEffect(false);
    EXPECT_STREQ(L"plain", after.GetText());
}

TEST_F(LabelTest, FocusEventsSetTheFlag)
{
    CLabelUI label;
    Place(label, 0, 0, 50, 20);
    Send(label, EVENT_SETFOCUS);
    EXPECT_TRUE(label.IsFocused());
    Send(label, EVENT_KILLFOCUS);
    EXPECT_FALSE(label.IsFocused());
}

TEST_F(LabelTest, EstimatedSizeFollowsTheFont)
{
    const int font = AddLargeFont(30);
    CLabelUI label;
    label.SetFixedWidth(70);
    SIZE available = { 500, 500 };
    // Without a manager there is no font to measure: the fixed size.
    SIZE sz = label.EstimateSize(available);
    EXPECT_EQ(70, sz.cx);
    EXPECT_EQ(0, sz.cy);

    Place(label, 0, 0, 70, 20);
    sz = label.EstimateSize(available);
    EXPECT_EQ(70, sz.cx);
    EXPECT_EQ(m_pm->GetDefaultFontInfo()->tm.tmHeight + 4, sz.cy);

    label.SetFont(font);
    sz = label.EstimateSize(available);
    EXPECT_EQ(m_pm->GetFontInfo(font)->tm.tmHeight + 4, sz.cy);
    EXPECT_GT(sz.cy, 30);

    label.SetFixedHeight(18);
    sz = label.EstimateSize(available);
    EXPECT_EQ(70, sz.cx);
    EXPECT_EQ(18, sz.cy);
}

TEST_F(LabelTest, TextColourIgnoresAlphaAndDefaultsFromTheManager)
{
    const int font = AddLargeFont();
    m_pm->SetDefaultDisabledColor(0xFF00C000);
    CLabelUI label;
    label.SetFont(font);
    label.SetText(L"HHH");
    label.SetAttribute(L"textcolor", L"#00FF0000");
    Place(label, 0, 0, kWidth, kHeight);
    CDibCanvas red(kWidth, kHeight, kWhite);
    Paint(label, red);
    EXPECT_GT(CountNear(red, 0xFF0000, 40), 40);

    m_pm->SetDefaultFontColor(0xFF0000FF);
    m_pm->SetDefaultDisabledColor(0xFF808080);
    label.SetTextColor(0);
    CDibCanvas blue(kWidth, kHeight, kWhite);
    Paint(label, blue);
    EXPECT_EQ(0xFF0000FFu, label.GetTextColor());
    EXPECT_EQ(0xFF00C000u, label.GetDisabledTextColor());
    EXPECT_GT(CountNear(blue, 0x0000FF, 40), 40);
    EXPECT_EQ(0, CountNear(blue, 0xFF0000, 40));

    // The defaults were taken for good: changing the manager's no longer matters.
    m_pm->SetDefaultFontColor(0xFF000000);
    label.SetEnabled(false);
    CDibCanvas disabled(kWidth, kHeight, kWhite);
    Paint(label, disabled);
    EXPECT_GT(CountNear(disabled, 0x00C000, 40), 40);
    EXPECT_EQ(0, CountNear(disabled, 0x0000FF, 40));
}

TEST_F(LabelTest, EmptyTextPaintsNothing)
{
    CLabelUI label;
    label.SetTextColor(0xFF000000);
    Place(label, 0, 0, kWidth, kHeight);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(label, canvas);
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, kWidth, kHeight, kWhite));
}

TEST_F(LabelTest, AlignmentAndPaddingPlaceTheText)
{
    const int font = AddLargeFont();
    struct Case
    {
        LPCWSTR align;
        LPCWSTR padding;
    };
    RECT boxes[6];
    const Case cases[] = {
        { L"left", L"0,0,0,0" },   { L"center", L"0,0,0,0" },  { L"right", L"0,0,0,0" },
        { L"left", L"50,0,0,0" },  { L"right", L"0,0,40,0" }, { L"bottom", L"0,0,0,0" },
    };
    for (int i = 0; i < 6; ++i) {
        CLabelUI label;
        label.SetFont(font);
        label.SetTextColor(0xFF000000);
        label.SetText(L"HH");
        label.SetAttribute(L"align", cases[i].align);
        label.SetAttribute(L"textpadding", cases[i].padding);
        Place(label, 0, 0, kWidth, kHeight);
        CDibCanvas canvas(kWidth, kHeight, kWhite);
        Paint(label, canvas);
        boxes[i] = InkBox(canvas, kWhite);
        ASSERT_FALSE(::IsRectEmpty(&boxes[i])) << cases[i].align;
    }
    const int width = boxes[0].right - boxes[0].left;
    EXPECT_LT(boxes[0].left, 8);
    EXPECT_LE(std::abs((boxes[1].left + boxes[1].right) / 2 - kWidth / 2), 3);
    EXPECT_GT(boxes[2].right, kWidth - 8);
    EXPECT_EQ(width, boxes[2].right - boxes[2].left);
    // "left" drops the vertical centring, "center" keeps it: the text rises to the top.
    EXPECT_LT(boxes[0].top, boxes[1].top);
    EXPECT_GE(boxes[3].left, 50);
    EXPECT_LT(boxes[3].left, 58);
    EXPECT_LE(boxes[4].right, kWidth - 40);
    EXPECT_GT(boxes[4].right, kWidth - 48);
    EXPECT_GT(boxes[5].top, boxes[1].top);
}

TEST_F(LabelTest, AlwaysDrawsOneLine)
{
    const int font = AddLargeFont(20);
    CLabelUI label;
    label.SetFont(font);
    label.SetTextColor(0xFF000000);
    label.SetTextStyle(DT_WORDBREAK);
    label.SetText(L"HH HH HH HH HH HH HH HH HH HH");
    Place(label, 0, 0, 80, kHeight);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(label, canvas);
    const RECT box = InkBox(canvas, kWhite);
    EXPECT_LT(box.bottom - box.top, 30);
}

TEST_F(LabelTest, MarkupTextGoesThroughTheFormatter)
{
    const int font = AddLargeFont();
    m_pm->SetDefaultFont(m_pm->GetFontInfo(font)->sFontName, 28, true, false, false);
    CLabelUI label;
    label.SetTextColor(0xFF0000FF);
    label.SetAttribute(L"showhtml", L"true");
    label.SetText(L"<c #FFFF0000>HH</c>HH");
    Place(label, 0, 0, kWidth, kHeight);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(label, canvas);
    EXPECT_GT(CountNear(canvas, 0xFF0000, 40), 40);
    EXPECT_GT(CountNear(canvas, 0x0000FF, 40), 40);

    // Without markup the tags are plain characters in the label's colour.
    label.SetShowHtml(false);
    CDibCanvas plain(kWidth, kHeight, kWhite);
    Paint(label, plain);
    EXPECT_EQ(0, CountNear(plain, 0xFF0000, 40));
}

// The effect label of the tests below: black text in a large font, opaque, no gradient steps.
void SetUpEffect(CLabelUI& label, int font)
{
    label.SetAttribute(L"enabledeffect", L"true");
    label.SetText(L"HH");
    label.SetFont(font);
    label.SetTextColor(0xFF000000);
    label.SetTransText(255);
    label.SetTransText1(255);
}

TEST_F(LabelTest, EffectShadowIsDrawnOffset)
{
    const int font = AddLargeFont();
    CLabelUI label;
    SetUpEffect(label, font);
    label.SetTextColor(0xFFFF0000);
    label.SetAttribute(L"textpadding", L"20,0,0,0");
    Place(label, 0, 0, kWidth, kHeight);
    CDibCanvas text(kWidth, kHeight, kWhite);
    Paint(label, text);
    const int redAlone = CountNear(text, 0xFF0000, 60);
    const RECT textBox = InkBox(text, kWhite);
    ASSERT_FALSE(::IsRectEmpty(&textBox));
    EXPECT_GE(textBox.left, 19);

    // Only the shadow: the text itself fully transparent.
    label.SetAttribute(L"enabledshadow", L"true");
    label.SetAttribute(L"shadowoffset", L"6,-90");
    label.SetAttribute(L"textshadowcolora", L"#FF000000");
    label.SetAttribute(L"transshadow", L"255");
    label.SetAttribute(L"transshadow1", L"255");
    label.SetTransText(0);
    label.SetTransText1(0);
    CDibCanvas shadow(kWidth, kHeight, kWhite);
    Paint(label, shadow);
    const RECT shadowBox = InkBox(shadow, kWhite);
    ASSERT_FALSE(::IsRectEmpty(&shadowBox));
    EXPECT_NEAR(textBox.left + 6, shadowBox.left, 1);
    EXPECT_NEAR(textBox.right + 6, shadowBox.right, 1);
    EXPECT_NEAR(textBox.top, shadowBox.top, 1);

    // Both, the shadow barely offset: the text is drawn last, over the shadow.
    label.SetAttribute(L"shadowoffset", L"2,-90");
    label.SetTransText(255);
    label.SetTransText1(255);
    CDibCanvas both(kWidth, kHeight, kWhite);
    Paint(label, both);
    EXPECT_GE(CountNear(both, 0xFF0000, 60), redAlone * 95 / 100);
    EXPECT_GT(CountNear(both, 0x000000, 60), 20);

    // Shadow switched off, text transparent: nothing at all.
    label.SetTransText(0);
    label.SetTransText1(0);
    label.SetEnabledShadow(false);
    CDibCanvas none(kWidth, kHeight, kWhite);
    Paint(label, none);
    EXPECT_EQ(0, none.CountOtherThan(0, 0, kWidth, kHeight, kWhite));
}

TEST_F(LabelTest, EffectStrokeOutlinesTheText)
{
    const int font = AddLargeFont();
    CLabelUI label;
    SetUpEffect(label, font);
    label.SetAttribute(L"strokecolor", L"#FFFF0000");
    Place(label, 0, 0, kWidth, kHeight);
    CDibCanvas plain(kWidth, kHeight, kWhite);
    Paint(label, plain);
    EXPECT_EQ(0, CountNear(plain, 0xFF0000, 60));

    label.SetAttribute(L"enabledstroke", L"true");
    CDibCanvas stroked(kWidth, kHeight, kWhite);
    Paint(label, stroked);
    EXPECT_GT(CountNear(stroked, 0xFF0000, 60), 20);
    const RECT plainBox = InkBox(plain, kWhite);
    const RECT strokedBox = InkBox(stroked, kWhite);
    EXPECT_LT(strokedBox.left, plainBox.left);
    EXPECT_GT(strokedBox.right, plainBox.right);
}

TEST_F(LabelTest, EffectGradientRunsTopToBottom)
{
    const int font = AddLargeFont(40);
    CLabelUI label;
    SetUpEffect(label, font);
    label.SetAttribute(L"textcolor", L"#FFFF0000");
    label.SetAttribute(L"textcolor1", L"#FF0000FF");
    Place(label, 0, 0, kWidth, kHeight);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(label, canvas);
    const RECT box = InkBox(canvas, kWhite);
    ASSERT_GT(box.bottom - box.top, 12);
    const int third = (box.bottom - box.top) / 3;
    const double redTop = AverageChannel(canvas, box.top, box.top + third, 16);
    const double blueTop = AverageChannel(canvas, box.top, box.top + third, 0);
    const double redBottom = AverageChannel(canvas, box.bottom - third, box.bottom, 16);
    const double blueBottom = AverageChannel(canvas, box.bottom - third, box.bottom, 0);
    EXPECT_GT(redTop, redBottom + 20);
    EXPECT_GT(blueBottom, blueTop + 20);
}

TEST_F(LabelTest, EffectTransparencyLightensTheText)
{
    const int font = AddLargeFont();
    CLabelUI label;
    SetUpEffect(label, font);
    Place(label, 0, 0, kWidth, kHeight);
    CDibCanvas opaque(kWidth, kHeight, kWhite);
    Paint(label, opaque);
    EXPECT_LT(DarkestChannel(opaque), 40);

    label.SetAttribute(L"transtext", L"80");
    label.SetAttribute(L"transtext1", L"80");
    CDibCanvas faint(kWidth, kHeight, kWhite);
    Paint(label, faint);
    // 80 of 255 over white leaves about 175.
    EXPECT_NEAR(175, DarkestChannel(faint), 20);

    // Values beyond a byte are clamped: 256 is opaque, not wrapped round to invisible.
    label.SetTransText(256);
    label.SetTransText1(256);
    CDibCanvas clamped(kWidth, kHeight, kWhite);
    Paint(label, clamped);
    EXPECT_LT(DarkestChannel(clamped), 40);
}

TEST_F(LabelTest, EffectDrawsNothingWithoutGdiplus)
{
    const int font = AddLargeFont();
    CLabelUI::EnableGdiplus(false);
    {
        CLabelUI label;
        EXPECT_FALSE(label.IsGdiplusStarted());
        SetUpEffect(label, font);
        label.SetEnabledShadow(true);
        label.SetEnabledStroke(true);
        label.SetStrokeColor(0xFFFF0000);
        Place(label, 0, 0, kWidth, kHeight);
        CDibCanvas canvas(kWidth, kHeight, kWhite);
        Paint(label, canvas);
        EXPECT_EQ(0, canvas.CountOtherThan(0, 0, kWidth, kHeight, kWhite));
    }
    CLabelUI::EnableGdiplus(true);
    CLabelUI label;
    EXPECT_TRUE(label.IsGdiplusStarted());
}

TEST_F(LabelTest, EffectWithoutRoomOrTextDrawsNothing)
{
    const int font = AddLargeFont();
    // Text given before the effect is switched on: the effect text is empty.
    CLabelUI late;
    late.SetText(L"HH");
    late.SetAttribute(L"enabledeffect", L"true");
    late.SetFont(font);
    Place(late, 0, 0, kWidth, kHeight);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(late, canvas);
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, kWidth, kHeight, kWhite));

    // A zero-height text area makes a degenerate gradient: GDI+ refuses, nothing is drawn.
    CLabelUI flat;
    SetUpEffect(flat, font);
    flat.SetAttribute(L"textpadding", L"0,30,0,30");
    Place(flat, 0, 0, kWidth, kHeight);
    CDibCanvas flatCanvas(kWidth, kHeight, kWhite);
    Paint(flat, flatCanvas);
    EXPECT_EQ(0, flatCanvas.CountOtherThan(0, 0, kWidth, kHeight, kWhite));
}

} // namespace
