// Tests of CProgressUI and CSliderUI: filled pixels, stored bounds, thumb geometry, mouse and wheel input.
#include "veneer/core/UISetup.h"
#include "control/SkinWindowFixture.h"
#include "control/ControlTestUtil.h"

#include <climits>

using namespace Veneer;
using namespace VeneerTest;
using ControlTest::RectEq;

namespace {

const DWORD kWhite = 0xFFFFFFFF;
const DWORD kFill = 0x00FF00;
const DWORD kLeft = 0xFF0000;
const DWORD kRight = 0x0000FF;
const DWORD kThumb = 0x808000;
const DWORD kThumbHot = 0x008080;
const DWORD kThumbPushed = 0x800080;

class ProgressTest : public SkinWindowFixture
{
protected:
    void SetUp() override
    {
        SkinWindowFixture::SetUp();
        AddSolidImage(L"fill", 8, 8, kFill);
        AddSolidImage(L"thumb", 4, 4, kThumb);
        AddSolidImage(L"thumbhot", 4, 4, kThumbHot);
        AddSolidImage(L"thumbpushed", 4, 4, kThumbPushed);
        // 200 x 60: red left half, blue right half, to tell squeezing from cutting.
        CTestBitmap halves(200, 60, 0xFF000000 | kRight);
        halves.FillRect(0, 0, 100, 60, 0xFF000000 | kLeft);
        HBITMAP hBitmap = halves.Detach();
        if (m_pm->AddImage(L"halves", hBitmap, 200, 60, false) == NULL) ::DeleteObject(hBitmap);
    }

    // Width of the filled run along row y, and height along column x, of one colour.
    static int RunX(const CDibCanvas& canvas, int y, DWORD color)
    {
        int n = 0;
        for (int x = 0; x < canvas.GetWidth(); ++x)
            if ((canvas.Get(x, y) & 0xFFFFFF) == color) ++n;
        return n;
    }
    static int RunY(const CDibCanvas& canvas, int x, DWORD color)
    {
        int n = 0;
        for (int y = 0; y < canvas.GetHeight(); ++y)
            if ((canvas.Get(x, y) & 0xFFFFFF) == color) ++n;
        return n;
    }
    void ClearNotes()
    {
        m_notes.types.clear();
        m_notes.senders.clear();
        m_notes.wParams.clear();
        m_notes.lParams.clear();
    }
};

} // namespace

TEST(ProgressAttributes, DefaultsAndAttributes)
{
    CProgressUI progress;
    EXPECT_STREQ(L"ProgressUI", progress.GetClass());
    EXPECT_EQ(&progress, progress.GetInterface(L"Progress"));
    EXPECT_EQ(static_cast<CLabelUI*>(&progress), progress.GetInterface(L"Label"));
    EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE | DT_CENTER), progress.GetTextStyle());
    EXPECT_EQ(12, progress.GetFixedHeight());
    EXPECT_TRUE(progress.IsHorizontal());
    EXPECT_TRUE(progress.IsStretchForeImage());
    EXPECT_EQ(0, progress.GetMinValue());
    EXPECT_EQ(100, progress.GetMaxValue());
    EXPECT_EQ(0, progress.GetValue());

    progress.SetAttribute(L"hor", L"True");
    progress.SetAttribute(L"isstretchfore", L"false");
    progress.SetAttribute(L"min", L" -5");
    progress.SetAttribute(L"max", L"250px");
    progress.SetAttribute(L"value", L"x");
    progress.SetAttribute(L"foreimage", L"file='f.png'");
    progress.SetAttribute(L"textcolor", L"#FF123456");
    EXPECT_FALSE(progress.IsHorizontal());
    EXPECT_FALSE(progress.IsStretchForeImage());
    EXPECT_EQ(-5, progress.GetMinValue());
    EXPECT_EQ(250, progress.GetMaxValue());
    EXPECT_EQ(0, progress.GetValue());
    EXPECT_STREQ(L"file='f.png'", progress.GetForeImage());
    EXPECT_EQ(0xFF123456u, progress.GetTextColor());

    CSliderUI slider;
    EXPECT_STREQ(L"SliderUI", slider.GetClass());
    EXPECT_EQ(&slider, slider.GetInterface(L"Slider"));
    EXPECT_EQ(static_cast<CProgressUI*>(&slider), slider.GetInterface(L"Progress"));
    EXPECT_EQ(1, slider.GetChangeStep());
    EXPECT_EQ(10, slider.GetThumbSize().cx);
    EXPECT_EQ(10, slider.GetThumbSize().cy);
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), slider.GetControlFlags());
    slider.SetAttribute(L"step", L"7");
    slider.SetAttribute(L"thumbsize", L"12;20");
    slider.SetAttribute(L"thumbimage", L"t.png");
    slider.SetAttribute(L"thumbhotimage", L"h.png");
    slider.SetAttribute(L"thumbpushedimage", L"p.png");
    slider.SetAttribute(L"max", L"40");
    EXPECT_EQ(7, slider.GetChangeStep());
    EXPECT_EQ(12, slider.GetThumbSize().cx);
    EXPECT_EQ(20, slider.GetThumbSize().cy);
    EXPECT_STREQ(L"t.png", slider.GetThumbImage());
    EXPECT_STREQ(L"h.png", slider.GetThumbHotImage());
    EXPECT_STREQ(L"p.png", slider.GetThumbPushedImage());
    EXPECT_EQ(40, slider.GetMaxValue());
    slider.SetEnabled(false);
    EXPECT_EQ(0u, slider.GetControlFlags());
}

TEST_F(ProgressTest, FillsItsShareAndStoresTheCorrectedValue)
{
    CProgressUI progress;
    progress.SetAttribute(L"foreimage", L"fill");
    progress.SetValue(50);
    Place(progress, 0, 0, kWidth, kHeight);
    CDibCanvas half(kWidth, kHeight, kWhite);
    Paint(progress, half);
    EXPECT_EQ(100, RunX(half, 30, kFill));
    EXPECT_EQ(kFill, half.Get(99, 30) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, half.Get(100, 30) & 0xFFFFFF);

    progress.SetValue(150);
    CDibCanvas full(kWidth, kHeight, kWhite);
    Paint(progress, full);
    EXPECT_EQ(static_cast<int>(kWidth), RunX(full, 30, kFill));
    EXPECT_EQ(100, progress.GetValue());

    progress.SetValue(-3);
    CDibCanvas empty(kWidth, kHeight, kWhite);
    Paint(progress, empty);
    EXPECT_EQ(0, RunX(empty, 30, kFill));
    EXPECT_EQ(0, progress.GetValue());

    // Equal bounds get a range of one at the first paint.
    progress.SetMinValue(10);
    progress.SetMaxValue(10);
    Paint(progress, empty);
    EXPECT_EQ(11, progress.GetMaxValue());
    EXPECT_EQ(10, progress.GetValue());

    // Extreme bounds neither overflow nor divide by zero.
    progress.SetMinValue(INT_MIN);
    progress.SetMaxValue(INT_MAX);
    progress.SetValue(0);
    CDibCanvas wide(kWidth, kHeight, kWhite);
    Paint(progress, wide);
    EXPECT_EQ(static_cast<int>(kWidth) / 2, RunX(wide, 30, kFill));
    progress.SetMinValue(INT_MAX);
    progress.SetMaxValue(INT_MAX);
    Paint(progress, wide);
    EXPECT_LT(progress.GetMinValue(), progress.GetMaxValue());
}

TEST_F(ProgressTest, VerticalFillsFromTheBottom)
{
    CProgressUI progress;
    progress.SetAttribute(L"hor", L"false");
    progress.SetAttribute(L"foreimage", L"fill");
    progress.SetAttribute(L"value", L"25");
    Place(progress, 0, 0, kWidth, kHeight);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(progress, canvas);
    // 60 * (100 - 25) / 100 = 45: rows 45 to 59 filled.
    EXPECT_EQ(15, RunY(canvas, 100, kFill));
    EXPECT_EQ(kFill, canvas.Get(100, 45) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, canvas.Get(100, 44) & 0xFFFFFF);
}

TEST_F(ProgressTest, StretchingSqueezesAndOtherwiseCuts)
{
    CProgressUI progress;
    progress.SetAttribute(L"foreimage", L"halves");
    progress.SetValue(50);
    Place(progress, 0, 0, kWidth, kHeight);
    CDibCanvas squeezed(kWidth, kHeight, kWhite);
    Paint(progress, squeezed);
    EXPECT_EQ(kLeft, squeezed.Get(25, 30) & 0xFFFFFF);
    EXPECT_EQ(kRight, squeezed.Get(75, 30) & 0xFFFFFF);

    progress.SetAttribute(L"isstretchfore", L"false");
    CDibCanvas cut(kWidth, kHeight, kWhite);
    Paint(progress, cut);
    EXPECT_EQ(100, RunX(cut, 30, kLeft));
    EXPECT_EQ(0, RunX(cut, 30, kRight));

    // Without a manager the image cannot be drawn and is dropped.
    CProgressUI loose;
    loose.SetForeImage(L"fill");
    loose.SetValue(50);
    loose.SetPos(ControlTest::Rc(0, 0, 100, 12));
    Paint(loose, cut);
    EXPECT_STREQ(L"", loose.GetForeImage());
}

TEST_F(ProgressTest, PartsAControlPlacesArePaintedWhereTheyAreAtEveryScale)
{
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        m_pm->SetDPI(dpi);
        CProgressUI progress;
        progress.SetAttribute(L"foreimage", L"fill");
        progress.SetValue(50);
        Place(progress, 0, 0, kWidth, kHeight);
        CDibCanvas filled(kWidth, kHeight, kWhite);
        Paint(progress, filled);
        EXPECT_EQ(100, RunX(filled, 30, kFill));
        // Cut rather than squeezed: the left half of the picture drawn at this scale.
        progress.SetAttribute(L"foreimage", L"halves");
        progress.SetAttribute(L"isstretchfore", L"false");
        CDibCanvas cut(kWidth, kHeight, kWhite);
        Paint(progress, cut);
        EXPECT_EQ(100, RunX(cut, 30, kLeft));
        EXPECT_EQ(0, RunX(cut, 30, kRight));

        CSliderUI slider;
        slider.SetAttribute(L"thumbimage", L"thumb");
        slider.SetValue(50);
        Place(slider, 0, 0, kWidth, kHeight);
        const RECT thumb = slider.GetThumbRect();
        CDibCanvas slid(kWidth, kHeight, kWhite);
        Paint(slider, slid);
        EXPECT_EQ(thumb.right - thumb.left, RunX(slid, (thumb.top + thumb.bottom) / 2, kThumb));
        EXPECT_EQ(kThumb, slid.Get(thumb.left, thumb.top) & 0xFFFFFF);

        // A bar's far arrow is painted over the bar's end.
        CScrollBarUI bar;
        bar.SetAttribute(L"hor", L"true");
        bar.SetAttribute(L"button2normalimage", L"thumb");
        Place(bar, 0, 0, kWidth, 20);
        const RECT arrow = bar.GetButton2Rect();
        ASSERT_EQ(static_cast<LONG>(kWidth), arrow.right);
        CDibCanvas scrolled(kWidth, kHeight, kWhite);
        Paint(bar, scrolled);
        EXPECT_EQ(arrow.right - arrow.left, RunX(scrolled, (arrow.top + arrow.bottom) / 2, kThumb));
    }
}

TEST_F(ProgressTest, SliderClickDragAndWheelThroughMessages)
{
    ASSERT_TRUE(Build(L"<Window><HorizontalLayout>"
                      L"<Slider name=\"s\" width=\"100\" height=\"60\" min=\"20\" max=\"200\" value=\"20\" step=\"5\"/>"
                      L"<Control/></HorizontalLayout></Window>") != NULL);
    CSliderUI* slider = Find<CSliderUI>(L"s");
    ASSERT_TRUE(slider != NULL);
    ASSERT_TRUE(RectEq(slider->GetPos(), 0, 0, 100, 60));
    EXPECT_TRUE(RectEq(slider->GetThumbRect(), 0, 25, 10, 35));
    ClearNotes();

    // Releases anywhere set the value: near the ends the bounds, between them the proportional share.
    Click(3, 30);
    EXPECT_EQ(20, slider->GetValue());
    Click(97, 30);
    EXPECT_EQ(200, slider->GetValue());
    Click(50, 30);
    EXPECT_EQ(20 + 180 * 45 / 90, slider->GetValue());
    EXPECT_EQ(3, m_notes.Count(L"valuechanged"));

    // Dragging the thumb follows the mouse without notifying until the release.
    ClearNotes();
    const RECT thumb = slider->GetThumbRect();
    EXPECT_TRUE(RectEq(thumb, 45, 25, 55, 35));
    MouseMove(50, 30);
    MouseDown(50, 30);
    EXPECT_EQ(static_cast<UINT>(STATE_CAPTURED), slider->GetSliderState() & STATE_CAPTURED);
    MouseMove(60, 30);
    EXPECT_EQ(20 + 180 * 55 / 90, slider->GetValue());
    MouseMove(250, 40);
    EXPECT_EQ(200, slider->GetValue());
    MouseMove(15, 30);
    EXPECT_EQ(20 + 180 * 10 / 90, slider->GetValue());
    EXPECT_EQ(0, m_notes.Count(L"valuechanged"));
    MouseUp(15, 30);
    EXPECT_EQ(1, m_notes.Count(L"valuechanged"));
    EXPECT_EQ(0u, slider->GetSliderState() & STATE_CAPTURED);

    // A press beside the thumb does not drag.
    MouseDown(80, 30);
    MouseMove(90, 30);
    EXPECT_EQ(20 + 180 * 10 / 90, slider->GetValue());
    MouseUp(90, 30);

    // Each wheel notch moves one step, within the bounds.
    slider->SetValue(100);
    ClearNotes();
    Wheel(50, 30, true);
    EXPECT_EQ(105, slider->GetValue());
    Wheel(50, 30, false);
    Wheel(50, 30, false);
    EXPECT_EQ(95, slider->GetValue());
    EXPECT_EQ(3, m_notes.Count(L"valuechanged"));
    slider->SetValue(198);
    Wheel(50, 30, true);
    EXPECT_EQ(200, slider->GetValue());

    // Disabled, it ignores the mouse and the wheel.
    slider->SetEnabled(false);
    ClearNotes();
    Click(50, 30);
    Wheel(50, 30, false);
    EXPECT_EQ(200, slider->GetValue());
    EXPECT_TRUE(m_notes.types.empty());
}

TEST_F(ProgressTest, VerticalSliderThumbAndValue)
{
    CSliderUI slider;
    slider.SetHorizontal(false);
    slider.SetThumbSize(ControlTest::Sz(20, 10));
    Place(slider, 10, 0, 50, 110);
    slider.SetValue(50);
    EXPECT_TRUE(RectEq(slider.GetThumbRect(), 20, 50, 40, 60));

    Send(slider, EVENT_BUTTONUP, 30, 105);
    EXPECT_EQ(0, slider.GetValue());
    Send(slider, EVENT_BUTTONUP, 30, 4);
    EXPECT_EQ(100, slider.GetValue());
    // 100 * (110 - 30 - 5) / (110 - 0 - 10) = 75.
    Send(slider, EVENT_BUTTONUP, 30, 30);
    EXPECT_EQ(75, slider.GetValue());
    EXPECT_EQ(3, m_notes.Count(L"valuechanged"));

    // With the mouse off, mouse events go to the parent and change nothing.
    ControlTest::CProbeUI parent;
    slider.SetManager(m_pm, &parent, false);
    slider.SetMouseEnabled(false);
    Send(slider, EVENT_BUTTONUP, 30, 105);
    EXPECT_EQ(75, slider.GetValue());
    ASSERT_EQ(1u, parent.events.size());
    EXPECT_EQ(EVENT_BUTTONUP, parent.events[0]);
    slider.SetMouseEnabled(true);

    // Equal bounds before any paint: no division by zero.
    slider.SetMinValue(7);
    slider.SetMaxValue(7);
    const RECT rc = slider.GetThumbRect();
    EXPECT_EQ(10, rc.bottom - rc.top);
    Send(slider, EVENT_BUTTONUP, 30, 30);
    EXPECT_GE(slider.GetValue(), 7);
    EXPECT_LE(slider.GetValue(), 8);
}

TEST_F(ProgressTest, ThumbImageByStateAndCursor)
{
    CSliderUI slider;
    slider.SetAttribute(L"thumbimage", L"thumb");
    slider.SetAttribute(L"thumbhotimage", L"thumbhot");
    slider.SetAttribute(L"thumbpushedimage", L"thumbpushed");
    slider.SetAttribute(L"foreimage", L"fill");
    slider.SetValue(50);
    Place(slider, 0, 0, kWidth, kHeight);
    // Thumb: left = 190 * 50 / 100 = 95, top = 25.
    const RECT thumb = slider.GetThumbRect();
    ASSERT_TRUE(RectEq(thumb, 95, 25, 105, 35));

    CDibCanvas normal(kWidth, kHeight, kWhite);
    Paint(slider, normal);
    EXPECT_EQ(kThumb, normal.Get(100, 30) & 0xFFFFFF);
    EXPECT_EQ(kFill, normal.Get(50, 30) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, normal.Get(150, 30) & 0xFFFFFF);

    Send(slider, EVENT_MOUSEENTER, 100, 30);
    CDibCanvas hot(kWidth, kHeight, kWhite);
    Paint(slider, hot);
    EXPECT_EQ(kThumbHot, hot.Get(100, 30) & 0xFFFFFF);

    Send(slider, EVENT_BUTTONDOWN, 100, 30);
    CDibCanvas pushed(kWidth, kHeight, kWhite);
    Paint(slider, pushed);
    EXPECT_EQ(kThumbPushed, pushed.Get(100, 30) & 0xFFFFFF);

    Send(slider, EVENT_BUTTONUP, 100, 30);

    ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    Send(slider, EVENT_SETCURSOR, 100, 30);
    EXPECT_EQ(::LoadCursorW(NULL, IDC_HAND), ::GetCursor());
    Send(slider, EVENT_SETCURSOR, 20, 30);
    EXPECT_EQ(::LoadCursorW(NULL, IDC_ARROW), ::GetCursor());

    Send(slider, EVENT_MOUSELEAVE, 300, 30);
    EXPECT_EQ(0u, slider.GetSliderState());

    // Without a manager nothing draws: a failed pushed image is dropped and the plain thumb tried
    // instead, the hot image left alone.
    CSliderUI loose;
    loose.SetThumbImage(L"thumb");
    loose.SetThumbHotImage(L"thumbhot");
    loose.SetThumbPushedImage(L"thumbpushed");
    loose.SetPos(ControlTest::Rc(0, 0, 100, 20));
    Send(loose, EVENT_MOUSEENTER, 3, 10);
    Send(loose, EVENT_BUTTONDOWN, 3, 10);
    ASSERT_EQ(static_cast<UINT>(STATE_HOT | STATE_CAPTURED), loose.GetSliderState());
    Paint(loose, pushed);
    EXPECT_STREQ(L"", loose.GetThumbPushedImage());
    EXPECT_STREQ(L"thumbhot", loose.GetThumbHotImage());
    EXPECT_STREQ(L"", loose.GetThumbImage());
}
