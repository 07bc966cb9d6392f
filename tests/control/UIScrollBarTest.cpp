// Tests of the scroll bar: layout of buttons and thumb, clicks, drags, auto-repeat, notifications, painting.
#include "veneer/core/UISetup.h"
#include "ScrollTestWindow.h"
#include "ControlTestUtil.h"
#include "render/DibCanvas.h"

#include <memory>

using namespace Veneer;
using ControlTest::RectEq;
using ScrollTest::Send;
using ScrollTest::Tick;

namespace {

const DWORD kOutline = 0x85E4FF;

class ScrollBarTest : public ScrollTest::ScrollWindowTest
{
protected:
    // An ownerless bar on the test window's manager, laid out at the rectangle.
    std::unique_ptr<CScrollBarUI> MakeBar(int l, int t, int r, int b, bool horizontal = false)
    {
        std::unique_ptr<CScrollBarUI> bar(new CScrollBarUI);
        bar->SetManager(m_pm, NULL, false);
        bar->SetHorizontal(horizontal);
        RECT rc = { l, t, r, b };
        bar->SetPos(rc);
        return bar;
    }

    // A solid opaque 16 x 16 image in the manager's cache, which takes the bitmap over.
    void AddSolidImage(LPCWSTR name, DWORD color)
    {
        DWORD pixels[16 * 16];
        for (size_t i = 0; i < lengthof(pixels); ++i) pixels[i] = 0xFF000000 | color;
        HBITMAP hBitmap = ::CreateBitmap(16, 16, 1, 32, pixels);
        ASSERT_TRUE(hBitmap != NULL);
        ASSERT_TRUE(m_pm->AddImage(name, hBitmap, 16, 16, false) != NULL);
    }

    // The colour channels of a pixel after painting the bar on a white canvas.
    static DWORD PixelAfterPaint(CScrollBarUI* bar, int x, int y)
    {
        CDibCanvas canvas(64, 260);
        RECT all = { 0, 0, 64, 260 };
        bar->DoPaint(canvas.GetDC(), all);
        return canvas.Get(x, y) & 0xFFFFFF;
    }
};

TEST_F(ScrollBarTest, VerticalLayoutOfButtonsAndProportionalThumb)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    // 200 long, 16 thick: track 168, thumb 200 * 168 / 300 = 112.
    EXPECT_TRUE(RectEq(bar->GetButton1Rect(), 10, 20, 26, 36));
    EXPECT_TRUE(RectEq(bar->GetButton2Rect(), 10, 204, 26, 220));
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 36, 26, 148));

    bar->SetScrollPos(50);
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 64, 26, 176));
    bar->SetScrollPos(100);
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 92, 26, 204));

    // A long range keeps the thumb at least as long as the bar is thick, ending at button 2.
    bar->SetScrollRange(10000);
    bar->SetScrollPos(10000);
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 188, 26, 204));
    bar->SetScrollPos(5000);
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 112, 26, 128));
}

TEST_F(ScrollBarTest, HorizontalLayoutSwapsTheAxes)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(20, 10, 220, 26, true);
    EXPECT_TRUE(bar->IsHorizontal());
    EXPECT_EQ(0, bar->GetFixedWidth());
    EXPECT_EQ(16, bar->GetFixedHeight());
    EXPECT_TRUE(RectEq(bar->GetButton1Rect(), 20, 10, 36, 26));
    EXPECT_TRUE(RectEq(bar->GetButton2Rect(), 204, 10, 220, 26));
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 36, 10, 148, 26));
    bar->SetScrollPos(100);
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 92, 10, 204, 26));

    // Back to vertical: the thickness moves back to the width.
    bar->SetHorizontal(false);
    EXPECT_EQ(16, bar->GetFixedWidth());
    EXPECT_EQ(0, bar->GetFixedHeight());

    // A skin that sized the cross axis keeps its thickness.
    std::unique_ptr<CScrollBarUI> thin(new CScrollBarUI);
    thin->SetFixedHeight(10);
    thin->SetHorizontal(true);
    EXPECT_EQ(10, thin->GetFixedHeight());
    RECT rc = { 0, 0, 100, 10 };
    thin->SetPos(rc);
    EXPECT_TRUE(RectEq(thin->GetButton1Rect(), 0, 0, 10, 10));
    EXPECT_TRUE(RectEq(thin->GetButton2Rect(), 90, 0, 100, 10));
}

TEST_F(ScrollBarTest, PositionStaysWithinTheRange)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    EXPECT_EQ(100, bar->GetScrollRange());
    bar->SetScrollPos(150);
    EXPECT_EQ(100, bar->GetScrollPos());
    bar->SetScrollPos(-3);
    EXPECT_EQ(0, bar->GetScrollPos());

    // Narrowing the range pulls the position in and lays the thumb out again.
    bar->SetScrollPos(80);
    bar->SetScrollRange(40);
    EXPECT_EQ(40, bar->GetScrollPos());
    // Thumb 200 * 168 / 240 = 140 at the end of the track.
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 64, 26, 204));

    // A negative range is 0: the thumb fills the track and the position cannot move.
    bar->SetScrollRange(-5);
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_EQ(0, bar->GetScrollPos());
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 36, 26, 204));
    bar->SetScrollPos(30);
    EXPECT_EQ(0, bar->GetScrollPos());
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 210);
    Send(bar.get(), EVENT_BUTTONUP, 18, 210);
    EXPECT_EQ(0, bar->GetScrollPos());
}

TEST_F(ScrollBarTest, ShortBarHasHalfButtonsAndNoThumb)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(0, 0, 16, 30);
    EXPECT_TRUE(RectEq(bar->GetButton1Rect(), 0, 0, 16, 15));
    EXPECT_TRUE(RectEq(bar->GetButton2Rect(), 0, 15, 16, 30));
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 0, 0, 0, 0));

    // Track 8 is not longer than the thickness: still no thumb, buttons of the full thickness.
    RECT rc = { 0, 0, 16, 40 };
    bar->SetPos(rc);
    EXPECT_TRUE(RectEq(bar->GetButton1Rect(), 0, 0, 16, 16));
    EXPECT_TRUE(RectEq(bar->GetButton2Rect(), 0, 24, 16, 40));
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 0, 0, 0, 0));

    // Between the buttons there is no thumb to page towards.
    Send(bar.get(), EVENT_BUTTONDOWN, 8, 20);
    Send(bar.get(), EVENT_BUTTONUP, 8, 20);
    EXPECT_EQ(0, bar->GetScrollPos());

    // Only the two buttons are outlined; the gap between them stays white.
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 0, 0), kOutline, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 0, 24), kOutline, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 0, 20), 0xFFFFFF, 0));
}

TEST_F(ScrollBarTest, HiddenButtonsGiveTheirRoomToTheTrack)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    bar->SetShowButton1(false);
    EXPECT_TRUE(RectEq(bar->GetButton1Rect(), 10, 20, 10, 20));
    // Track 184, thumb 200 * 184 / 300 = 122.
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 20, 26, 142));

    bar->SetShowButton2(false);
    EXPECT_TRUE(RectEq(bar->GetButton2Rect(), 10, 220, 10, 220));
    bar->SetScrollPos(100);
    // Track 200, thumb 133.
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 87, 26, 220));

    // No outline is drawn for a hidden button.
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 11, 21), 0xFFFFFF, 0));
}

TEST_F(ScrollBarTest, AttributesAndIdentity)
{
    std::unique_ptr<CScrollBarUI> bar(new CScrollBarUI);
    EXPECT_STREQ(L"ScrollBarUI", bar->GetClass());
    EXPECT_EQ(static_cast<LPVOID>(bar.get()), bar->GetInterface(L"ScrollBar"));
    EXPECT_EQ(static_cast<LPVOID>(bar.get()), bar->GetInterface(L"Control"));
    EXPECT_EQ(NULL, bar->GetInterface(L"Container"));
    EXPECT_EQ(16, bar->GetFixedWidth());
    EXPECT_EQ(8, bar->GetLineSize());

    bar->ApplyAttributeList(L"range=\"500\" value=\"320\" linesize=\"12\" showbutton1=\"false\" "
                            L"showbutton2=\"True\" name=\"sb\" hor=\"true\"");
    EXPECT_EQ(500, bar->GetScrollRange());
    EXPECT_EQ(320, bar->GetScrollPos());
    EXPECT_EQ(12, bar->GetLineSize());
    EXPECT_FALSE(bar->GetShowButton1());
    EXPECT_FALSE(bar->GetShowButton2());
    EXPECT_TRUE(bar->IsHorizontal());
    EXPECT_STREQ(L"sb", bar->GetName().GetData());
    bar->SetAttribute(L"hor", L"True");
    EXPECT_FALSE(bar->IsHorizontal());

    struct
    {
        LPCWSTR name;
        LPCWSTR (CScrollBarUI::*get)() const;
    } const images[] = {
        { L"button1normalimage", &CScrollBarUI::GetButton1NormalImage },
        { L"button1hotimage", &CScrollBarUI::GetButton1HotImage },
        { L"button1pushedimage", &CScrollBarUI::GetButton1PushedImage },
        { L"button1disabledimage", &CScrollBarUI::GetButton1DisabledImage },
        { L"button2normalimage", &CScrollBarUI::GetButton2NormalImage },
        { L"button2hotimage", &CScrollBarUI::GetButton2HotImage },
        { L"button2pushedimage", &CScrollBarUI::GetButton2PushedImage },
        { L"button2disabledimage", &CScrollBarUI::GetButton2DisabledImage },
        { L"thumbnormalimage", &CScrollBarUI::GetThumbNormalImage },
        { L"thumbhotimage", &CScrollBarUI::GetThumbHotImage },
        { L"thumbpushedimage", &CScrollBarUI::GetThumbPushedImage },
        { L"thumbdisabledimage", &CScrollBarUI::GetThumbDisabledImage },
        { L"railnormalimage", &CScrollBarUI::GetRailNormalImage },
        { L"railhotimage", &CScrollBarUI::GetRailHotImage },
        { L"railpushedimage", &CScrollBarUI::GetRailPushedImage },
        { L"raildisabledimage", &CScrollBarUI::GetRailDisabledImage },
        { L"bknormalimage", &CScrollBarUI::GetBkNormalImage },
        { L"bkhotimage", &CScrollBarUI::GetBkHotImage },
        { L"bkpushedimage", &CScrollBarUI::GetBkPushedImage },
        { L"bkdisabledimage", &CScrollBarUI::GetBkDisabledImage },
    };
    for (size_t i = 0; i < lengthof(images); ++i) {
        wchar_t value[40];
        swprintf(value, lengthof(value), L"file='%u.png'", static_cast<unsigned>(i));
        bar->SetAttribute(images[i].name, value);
    }
    for (size_t i = 0; i < lengthof(images); ++i) {
        wchar_t value[40];
        swprintf(value, lengthof(value), L"file='%u.png'", static_cast<unsigned>(i));
        EXPECT_STREQ(value, (bar.get()->*images[i].get)()) << images[i].name;
    }
}

TEST_F(ScrollBarTest, ClicksOnArrowsAndTrackOfAnOwnerlessBar)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    bar->SetScrollRange(1000);
    // Thumb 200 * 168 / 1200 = 28 long, travel 140.
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 36, 26, 64));

    Send(bar.get(), EVENT_BUTTONDOWN, 18, 210);
    EXPECT_EQ(8, bar->GetScrollPos());
    EXPECT_EQ(static_cast<UINT>(STATE_PUSHED), bar->GetButton2State() & STATE_PUSHED);
    Send(bar.get(), EVENT_BUTTONUP, 18, 210);
    EXPECT_EQ(0u, bar->GetButton2State() & STATE_PUSHED);

    bar->SetLineSize(5);
    Send(bar.get(), EVENT_DBLCLICK, 18, 210);
    Send(bar.get(), EVENT_BUTTONUP, 18, 210);
    EXPECT_EQ(13, bar->GetScrollPos());
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 25);
    EXPECT_EQ(static_cast<UINT>(STATE_PUSHED), bar->GetButton1State() & STATE_PUSHED);
    Send(bar.get(), EVENT_BUTTONUP, 18, 25);
    EXPECT_EQ(8, bar->GetScrollPos());

    // The track pages by the bar's length towards the click.
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 150);
    Send(bar.get(), EVENT_BUTTONUP, 18, 150);
    EXPECT_EQ(208, bar->GetScrollPos());
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 40);
    Send(bar.get(), EVENT_BUTTONUP, 18, 40);
    EXPECT_EQ(8, bar->GetScrollPos());

    // One "scroll" from the bar per click.
    EXPECT_EQ(5, m_notes.Count(L"scroll"));
    EXPECT_EQ(static_cast<CControlUI*>(bar.get()), m_notes.senders.back());

    // A disabled bar ignores clicks and forgets its part states.
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 210);
    bar->SetEnabled(false);
    EXPECT_EQ(0u, bar->GetButton2State());
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 210);
    EXPECT_EQ(13, bar->GetScrollPos());
    EXPECT_EQ(6, m_notes.Count(L"scroll"));

    // A bar that does not take the mouse leaves clicks alone as well.
    bar->SetEnabled(true);
    bar->SetMouseEnabled(false);
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 210);
    EXPECT_EQ(13, bar->GetScrollPos());
}

TEST_F(ScrollBarTest, DraggingTheThumbMovesThePositionProportionally)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    // Thumb 36..148: 56 pixels of travel for a range of 100.
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 50);
    EXPECT_EQ(static_cast<UINT>(STATE_PUSHED | STATE_CAPTURED), bar->GetThumbState() & 0x50);
    EXPECT_EQ(1, m_notes.Count(L"scroll"));

    Send(bar.get(), EVENT_MOUSEMOVE, 200, 78);
    // The position follows at the next timer tick.
    EXPECT_EQ(0, bar->GetScrollPos());
    Tick(bar.get());
    EXPECT_EQ(50, bar->GetScrollPos());
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 64, 26, 176));
    EXPECT_EQ(2, m_notes.Count(L"scroll"));

    // Offsets are measured from where the drag began: 20 pixels up is -35.
    Send(bar.get(), EVENT_MOUSEMOVE, 18, 30);
    Tick(bar.get());
    EXPECT_EQ(0, bar->GetScrollPos());
    Send(bar.get(), EVENT_MOUSEMOVE, 18, 90);
    Tick(bar.get());
    EXPECT_EQ(71, bar->GetScrollPos());
    Send(bar.get(), EVENT_MOUSEMOVE, 18, 400);
    Tick(bar.get());
    EXPECT_EQ(100, bar->GetScrollPos());

    Send(bar.get(), EVENT_BUTTONUP, 18, 400);
    EXPECT_EQ(0u, bar->GetThumbState() & 0x50);

    // A drag released before the next tick still ends where the mouse let go.
    bar->SetScrollPos(0);
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 50);
    Send(bar.get(), EVENT_MOUSEMOVE, 18, 64);
    Send(bar.get(), EVENT_BUTTONUP, 18, 64);
    EXPECT_EQ(25, bar->GetScrollPos());
}

TEST_F(ScrollBarTest, DragFollowsTheMouseWhenButtonsAreHidden)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    bar->SetShowButton1(false);
    bar->SetShowButton2(false);
    // Thumb 133 long on a 200-pixel track: 67 pixels of travel.
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 10, 20, 26, 153));
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 100);
    Send(bar.get(), EVENT_MOUSEMOVE, 18, 130);
    Tick(bar.get());
    EXPECT_EQ(44, bar->GetScrollPos());
    // The thumb moved about as far as the mouse did.
    EXPECT_EQ(49, bar->GetThumbRect().top);
    Send(bar.get(), EVENT_BUTTONUP, 18, 130);
}

TEST_F(ScrollBarTest, HeldArrowRepeatsAfterADelay)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 210);
    EXPECT_EQ(8, bar->GetScrollPos());
    // Five ticks (250 ms) of waiting, then one line per tick.
    Tick(bar.get(), 5);
    EXPECT_EQ(8, bar->GetScrollPos());
    Tick(bar.get());
    EXPECT_EQ(16, bar->GetScrollPos());
    Tick(bar.get());
    EXPECT_EQ(24, bar->GetScrollPos());
    EXPECT_EQ(3, m_notes.Count(L"scroll"));
    Send(bar.get(), EVENT_BUTTONUP, 18, 210);
    // Releasing stops the repeat timer.
    EXPECT_FALSE(m_pm->KillTimer(bar.get(), 10));

    // The count starts again with every press.
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 25);
    EXPECT_EQ(16, bar->GetScrollPos());
    Tick(bar.get(), 5);
    EXPECT_EQ(16, bar->GetScrollPos());
    Tick(bar.get(), 2);
    EXPECT_EQ(0, bar->GetScrollPos());
    Send(bar.get(), EVENT_BUTTONUP, 18, 25);

    // Timer events of other ids are the base's: a "timer" notification.
    Send(bar.get(), EVENT_TIMER, 0, 0, 3);
    EXPECT_EQ(1, m_notes.Count(L"timer"));
    EXPECT_EQ(0, bar->GetScrollPos());
}

TEST_F(ScrollBarTest, HeldArrowRunsOnTheWindowTimer)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    bar->SetScrollRange(10000);
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 210);
    EXPECT_EQ(8, bar->GetScrollPos());
    // Timers never fire early: within 200 ms at most four ticks have passed.
    Pump(200);
    EXPECT_EQ(8, bar->GetScrollPos());
    Pump(600);
    const int held = bar->GetScrollPos();
    EXPECT_GE(held, 8 + 2 * 8);
    EXPECT_LE(held, 8 + 12 * 8);
    EXPECT_EQ(0, held % 8);
    EXPECT_EQ(1 + (held - 8) / 8, m_notes.Count(L"scroll"));

    Send(bar.get(), EVENT_BUTTONUP, 18, 210);
    const int released = bar->GetScrollPos();
    Pump(200);
    EXPECT_EQ(released, bar->GetScrollPos());
}

TEST_F(ScrollBarTest, HeldTrackPagesTowardsTheCursor)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    bar->SetScrollRange(1000);
    POINT screen = { 18, 190 };
    ::ClientToScreen(m_hWnd, &screen);
    ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
    POINT now = { 0, 0 };
    ::GetCursorPos(&now);
    if (now.x != screen.x || now.y != screen.y) GTEST_SKIP() << "the cursor cannot be placed on this display";

    Send(bar.get(), EVENT_BUTTONDOWN, 18, 190);
    EXPECT_EQ(200, bar->GetScrollPos());
    Tick(bar.get(), 5);
    EXPECT_EQ(200, bar->GetScrollPos());
    Tick(bar.get(), 3);
    EXPECT_EQ(800, bar->GetScrollPos());
    // Thumb 28 long, 140 of travel: at 1000 it covers 176..204 and the cursor at 190 is on it.
    Tick(bar.get(), 2);
    EXPECT_EQ(1000, bar->GetScrollPos());
    Tick(bar.get(), 2);
    EXPECT_EQ(1000, bar->GetScrollPos());
    EXPECT_EQ(1 + 4, m_notes.Count(L"scroll"));

    screen.x = 18;
    screen.y = 40;
    ::ClientToScreen(m_hWnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    Tick(bar.get());
    EXPECT_EQ(800, bar->GetScrollPos());
    Send(bar.get(), EVENT_BUTTONUP, 18, 40);
}

TEST_F(ScrollBarTest, HotStatesFollowTheMouse)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    Send(bar.get(), EVENT_MOUSEENTER, 18, 180);
    EXPECT_EQ(static_cast<UINT>(STATE_HOT), bar->GetButton1State());
    EXPECT_EQ(static_cast<UINT>(STATE_HOT), bar->GetButton2State());
    EXPECT_EQ(0u, bar->GetThumbState());

    Send(bar.get(), EVENT_MOUSEMOVE, 18, 100);
    EXPECT_EQ(static_cast<UINT>(STATE_HOT), bar->GetThumbState());
    Send(bar.get(), EVENT_MOUSEMOVE, 18, 160);
    EXPECT_EQ(0u, bar->GetThumbState());

    Send(bar.get(), EVENT_MOUSEENTER, 18, 40);
    EXPECT_EQ(static_cast<UINT>(STATE_HOT), bar->GetThumbState());
    Send(bar.get(), EVENT_MOUSELEAVE, 0, 0);
    EXPECT_EQ(0u, bar->GetButton1State());
    EXPECT_EQ(0u, bar->GetButton2State());
    EXPECT_EQ(0u, bar->GetThumbState());

    // Disabled, the bar neither lights up nor answers.
    bar->SetEnabled(false);
    Send(bar.get(), EVENT_MOUSEENTER, 18, 40);
    Send(bar.get(), EVENT_MOUSEMOVE, 18, 40);
    EXPECT_EQ(0u, bar->GetButton1State() & STATE_HOT);
    EXPECT_EQ(0u, bar->GetThumbState() & STATE_HOT);
}

TEST_F(ScrollBarTest, PaintsOutlinesWithoutImages)
{
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    bar->SetBkColor(0xFFFF0000);
    CDibCanvas canvas(64, 260);
    RECT all = { 0, 0, 64, 260 };
    bar->DoPaint(canvas.GetDC(), all);
    // Two-pixel outlines inside button 1, button 2 and the thumb.
    EXPECT_TRUE(RgbNear(canvas.Get(10, 20), kOutline, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(11, 21), kOutline, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(25, 35), kOutline, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(12, 22), 0xFFFFFF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(10, 204), kOutline, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(10, 36), kOutline, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(25, 147), kOutline, 0));
    // The base's background colour is not painted; nothing lands on the track.
    EXPECT_TRUE(RgbNear(canvas.Get(18, 170), 0xFFFFFF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(18, 90), 0xFFFFFF, 0));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 10, 260, 0xFFFFFFFF));

    // A paint area away from the bar paints nothing.
    CDibCanvas other(64, 260);
    RECT away = { 30, 0, 64, 260 };
    bar->DoPaint(other.GetDC(), away);
    EXPECT_EQ(0, other.CountOtherThan(0, 0, 64, 260, 0xFFFFFFFF));
}

TEST_F(ScrollBarTest, PaintsTheImageOfEachState)
{
    AddSolidImage(L"bk", 0x101010);
    AddSolidImage(L"b1", 0x202020);
    AddSolidImage(L"tn", 0xFF0000);
    AddSolidImage(L"th", 0x00FF00);
    AddSolidImage(L"tp", 0x0000FF);
    AddSolidImage(L"td", 0x808080);
    AddSolidImage(L"rail", 0xFFFF00);
    std::unique_ptr<CScrollBarUI> bar = MakeBar(10, 20, 26, 220);
    bar->ApplyAttributeList(L"bknormalimage=\"bk\" button1normalimage=\"b1\" thumbnormalimage=\"tn\" "
                            L"thumbhotimage=\"th\" thumbpushedimage=\"tp\" thumbdisabledimage=\"td\" "
                            L"railnormalimage=\"rail\"");

    // Background over the whole bar, button 1 in its place, button 2 outlined.
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 170), 0x101010, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 10, 20), 0x202020, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 28), 0x202020, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 10, 204), kOutline, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 212), 0x101010, 0));
    // Thumb 36..148 with the rail square 84..100 at its centre.
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 40), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 83), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 84), 0xFFFF00, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 99), 0xFFFF00, 0));
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 100), 0xFF0000, 0));

    Send(bar.get(), EVENT_MOUSEMOVE, 18, 40);
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 40), 0x00FF00, 0));
    Send(bar.get(), EVENT_BUTTONDOWN, 18, 40);
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 40), 0x0000FF, 0));
    Send(bar.get(), EVENT_BUTTONUP, 18, 40);
    bar->SetEnabled(false);
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 40), 0x808080, 0));
    EXPECT_EQ(static_cast<UINT>(STATE_DISABLED), bar->GetThumbState());
    bar->SetEnabled(true);
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 40), 0xFF0000, 0));

    // A state without its own image falls back to the normal one.
    bar->SetThumbHotImage(L"");
    Send(bar.get(), EVENT_MOUSEMOVE, 18, 40);
    EXPECT_EQ(static_cast<UINT>(STATE_HOT), bar->GetThumbState());
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 18, 40), 0xFF0000, 0));
}

TEST_F(ScrollBarTest, ImagesThatCannotBeDrawnAreDropped)
{
    // Without a manager no image can be drawn: it is emptied and the outline takes its place.
    std::unique_ptr<CScrollBarUI> bar(new CScrollBarUI);
    RECT rc = { 10, 20, 26, 220 };
    bar->SetPos(rc);
    bar->SetThumbNormalImage(L"tn");
    bar->SetBkNormalImage(L"bk");
    EXPECT_TRUE(RgbNear(PixelAfterPaint(bar.get(), 10, 36), kOutline, 0));
    EXPECT_STREQ(L"", bar->GetThumbNormalImage());
    EXPECT_STREQ(L"", bar->GetBkNormalImage());
}

} // namespace
