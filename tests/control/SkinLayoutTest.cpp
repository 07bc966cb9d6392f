// Tests of box layouts built from skin documents in a routed window: laid-out rectangles, defaults, bad
// attribute values, scrolling, resizing, splitters, menus, timers and tooltips driven by real messages.
#include "veneer/core/UISetup.h"
#include "control/SkinWindowFixture.h"
#include "ControlTestUtil.h"

#include <commctrl.h>

#include <algorithm>

using namespace Veneer;
using namespace VeneerTest;
using ControlTest::RectEq;

namespace {

class SkinLayoutTest : public SkinWindowFixture
{
protected:
    // The position of the named control; a control that is missing fails the test through RectEq.
    RECT PosOf(LPCWSTR name)
    {
        CControlUI* control = m_pm->FindControl(name);
        EXPECT_TRUE(control != NULL) << "no control named " << std::string(name, name + ::wcslen(name));
        if (control == NULL) return ControlTest::Rc(-1, -1, -1, -1);
        return control->GetPos();
    }
    int FontHeight(int font) { return m_pm->GetFontInfo(font)->tm.tmHeight; }

    void Resize(int cx, int cy)
    {
        ::SetWindowPos(m_hWnd, NULL, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        m_pm->UpdateLayout();
    }
    LPARAM ScreenPoint(int x, int y)
    {
        POINT pt = { x, y };
        ::ClientToScreen(m_hWnd, &pt);
        return MAKELPARAM(pt.x, pt.y);
    }
    // Dispatches this thread's messages until the notification arrives or a second has passed.
    bool PumpUntil(LPCWSTR type)
    {
        DWORD start = ::GetTickCount();
        while (m_notes.Count(type) == 0 && ::GetTickCount() - start < 1000) {
            MSG msg;
            while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
            ::Sleep(5);
        }
        return m_notes.Count(type) > 0;
    }
};

} // namespace

TEST_F(SkinLayoutTest, VerticalShareRoundsDownAndTheLastAdjustableTakesTheRest)
{
    // Inner area 3,4,395,294: 290 high. Fixed 40 and three gaps of 2 leave 244 for three children:
    // 81 each, and the last gets 82.
    ASSERT_TRUE(Build(L"<Window><VerticalLayout inset=\"3,4,5,6\" childpadding=\"2\">"
                      L"<Control name=\"a\" height=\"40\"/><Control name=\"b\"/><Control name=\"c\"/>"
                      L"<Control name=\"d\"/></VerticalLayout></Window>") != NULL);
    EXPECT_TRUE(RectEq(PosOf(L"a"), 3, 4, 395, 44));
    EXPECT_TRUE(RectEq(PosOf(L"b"), 3, 46, 395, 127));
    EXPECT_TRUE(RectEq(PosOf(L"c"), 3, 129, 395, 210));
    EXPECT_TRUE(RectEq(PosOf(L"d"), 3, 212, 395, 294));

    // Two children share 101 pixels as 50 and 51.
    ASSERT_TRUE(Build(L"<Window><VerticalLayout inset=\"0,0,0,199\"><Control name=\"e\"/>"
                      L"<Control name=\"f\"/></VerticalLayout></Window>") != NULL);
    EXPECT_TRUE(RectEq(PosOf(L"e"), 0, 0, 400, 50));
    EXPECT_TRUE(RectEq(PosOf(L"f"), 0, 50, 400, 101));
}

TEST_F(SkinLayoutTest, VerticalFixedMinimumMaximumPaddingAndWidths)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout>"
                      L"<Control name=\"fw\" height=\"20\" width=\"100\"/>"
                      L"<Control name=\"pad\" height=\"20\" padding=\"10,5,20,5\"/>"
                      L"<Control name=\"capped\" maxheight=\"30\"/>"
                      L"<Control name=\"raised\" height=\"5\" minheight=\"25\"/>"
                      L"<Control name=\"conflict\" height=\"10\" minheight=\"50\" maxheight=\"40\"/>"
                      L"<Control name=\"rest\"/>"
                      L"<Control name=\"wide\" height=\"10\" minwidth=\"500\"/>"
                      L"<Control name=\"narrow\" height=\"10\" maxwidth=\"50\"/>"
                      L"</VerticalLayout></Window>") != NULL);
    EXPECT_TRUE(RectEq(PosOf(L"fw"), 0, 0, 100, 20));
    // The top padding is outside the rectangle, the bottom padding inside it.
    EXPECT_TRUE(RectEq(PosOf(L"pad"), 10, 25, 380, 50));
    // Fixed total 135: the even share is 82, which the maximum cuts to 30.
    EXPECT_TRUE(RectEq(PosOf(L"capped"), 0, 50, 400, 80));
    EXPECT_TRUE(RectEq(PosOf(L"raised"), 0, 80, 400, 105));
    // Where minimum and maximum disagree, the maximum wins.
    EXPECT_TRUE(RectEq(PosOf(L"conflict"), 0, 105, 400, 145));
    EXPECT_TRUE(RectEq(PosOf(L"rest"), 0, 145, 400, 280));
    // A minimum width may reach past the box.
    EXPECT_TRUE(RectEq(PosOf(L"wide"), 0, 280, 500, 290));
    EXPECT_TRUE(RectEq(PosOf(L"narrow"), 0, 290, 50, 300));
}

TEST_F(SkinLayoutTest, HorizontalWidthsHeightsPaddingAndInset)
{
    // Inner area 5,5,395,295. Fixed 61 + 50, b's paddings 10 and four gaps of 3 make 133; three
    // adjustable children share 257 as 85; d stops at 70 and e takes the 102 left.
    ASSERT_TRUE(Build(L"<Window><HorizontalLayout inset=\"5,5,5,5\" childpadding=\"3\">"
                      L"<Control name=\"a\" width=\"61\" height=\"100\"/>"
                      L"<Control name=\"b\" padding=\"4,10,6,20\"/>"
                      L"<Control name=\"c\" width=\"50\" maxheight=\"100\"/>"
                      L"<Control name=\"d\" maxwidth=\"70\" minheight=\"400\"/>"
                      L"<Control name=\"e\"/>"
                      L"</HorizontalLayout></Window>") != NULL);
    EXPECT_TRUE(RectEq(PosOf(L"a"), 5, 5, 66, 105));
    // The right padding is inside the rectangle; the height is what the paddings leave.
    EXPECT_TRUE(RectEq(PosOf(L"b"), 73, 15, 164, 275));
    EXPECT_TRUE(RectEq(PosOf(L"c"), 167, 5, 217, 105));
    EXPECT_TRUE(RectEq(PosOf(L"d"), 220, 5, 290, 405));
    EXPECT_TRUE(RectEq(PosOf(L"e"), 293, 5, 395, 295));

    // Two children share 101 pixels as 50 and 51.
    ASSERT_TRUE(Build(L"<Window><HorizontalLayout inset=\"0,0,299,0\"><Control name=\"f\"/>"
                      L"<Control name=\"g\"/></HorizontalLayout></Window>") != NULL);
    EXPECT_TRUE(RectEq(PosOf(L"f"), 0, 0, 50, 300));
    EXPECT_TRUE(RectEq(PosOf(L"g"), 50, 0, 101, 300));
}

TEST_F(SkinLayoutTest, LabelsAndButtonsWithoutAHeightTakeTheirFontsHeight)
{
    ASSERT_TRUE(Build(L"<Window><Font name=\"Arial\" size=\"30\"/><VerticalLayout>"
                      L"<Label name=\"label\" text=\"x\"/>"
                      L"<Label name=\"big\" text=\"y\" font=\"0\"/>"
                      L"<Button name=\"button\" text=\"z\"/>"
                      L"<Label name=\"fixed\" text=\"w\" height=\"33\"/>"
                      L"<Control name=\"rest\"/>"
                      L"</VerticalLayout></Window>") != NULL);
    const int line = FontHeight(-1);
    const int big = FontHeight(0);
    ASSERT_GT(line, 0);
    ASSERT_GT(big, line);
    int y = 0;
    EXPECT_TRUE(RectEq(PosOf(L"label"), 0, y, 400, y + line + 4));
    y += line + 4;
    EXPECT_TRUE(RectEq(PosOf(L"big"), 0, y, 400, y + big + 4));
    y += big + 4;
    EXPECT_TRUE(RectEq(PosOf(L"button"), 0, y, 400, y + line + 8));
    y += line + 8;
    EXPECT_TRUE(RectEq(PosOf(L"fixed"), 0, y, 400, y + 33));
    EXPECT_TRUE(RectEq(PosOf(L"rest"), 0, y + 33, 400, 300));
}

TEST_F(SkinLayoutTest, FloatChildrenFollowTheirEdgesAndRelativePositionsOnResize)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout>"
                      L"<Control name=\"flow\"/>"
                      L"<Control name=\"corner\" float=\"true\" pos=\"-110,-60,-10,-10\"/>"
                      L"<Control name=\"mover\" float=\"true\" pos=\"10,10,60,40\" relativepos=\"50,50,0,0\"/>"
                      L"<Control name=\"grower\" float=\"true\" pos=\"10,10,60,40\" relativepos=\"0,0,100,100\"/>"
                      L"<Control name=\"last\" height=\"20\"/>"
                      L"</VerticalLayout></Window>") != NULL);
    // Float children take no room from the flow.
    EXPECT_TRUE(RectEq(PosOf(L"flow"), 0, 0, 400, 280));
    EXPECT_TRUE(RectEq(PosOf(L"last"), 0, 280, 400, 300));
    EXPECT_TRUE(RectEq(PosOf(L"corner"), 290, 240, 390, 290));
    EXPECT_TRUE(RectEq(PosOf(L"mover"), 10, 10, 60, 40));
    EXPECT_TRUE(RectEq(PosOf(L"grower"), 10, 10, 60, 40));

    Resize(500, 400);
    EXPECT_TRUE(RectEq(PosOf(L"flow"), 0, 0, 500, 380));
    EXPECT_TRUE(RectEq(PosOf(L"corner"), 390, 340, 490, 390));
    EXPECT_TRUE(RectEq(PosOf(L"mover"), 60, 60, 110, 90));
    EXPECT_TRUE(RectEq(PosOf(L"grower"), 10, 10, 160, 140));

    // Shrinking moves and shrinks them back by the same percentages of the change.
    Resize(450, 350);
    EXPECT_TRUE(RectEq(PosOf(L"corner"), 340, 290, 440, 340));
    EXPECT_TRUE(RectEq(PosOf(L"mover"), 35, 35, 85, 65));
    EXPECT_TRUE(RectEq(PosOf(L"grower"), 10, 10, 110, 90));
}

TEST_F(SkinLayoutTest, DefaultsOfABareTree)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout name=\"v\"><HorizontalLayout name=\"h\"/>"
                      L"<Container name=\"c\"/><Control name=\"x\"/></VerticalLayout></Window>") != NULL);
    CVerticalLayoutUI* v = Find<CVerticalLayoutUI>(L"v");
    CHorizontalLayoutUI* h = Find<CHorizontalLayoutUI>(L"h");
    CContainerUI* c = Find<CContainerUI>(L"c");
    CControlUI* x = m_pm->FindControl(L"x");
    ASSERT_TRUE(v != NULL && h != NULL && c != NULL && x != NULL);

    EXPECT_TRUE(RectEq(v->GetInset(), 0, 0, 0, 0));
    EXPECT_EQ(0, v->GetChildPadding());
    EXPECT_TRUE(v->IsMouseChildEnabled());
    EXPECT_TRUE(v->IsAutoDestroy());
    EXPECT_TRUE(v->IsDelayedDestroy());
    EXPECT_EQ(nullptr, v->GetVerticalScrollBar());
    EXPECT_EQ(nullptr, v->GetHorizontalScrollBar());
    EXPECT_EQ(0, v->GetSepHeight());
    EXPECT_EQ(0, h->GetSepWidth());
    EXPECT_FALSE(v->IsSepImmMode());
    EXPECT_EQ(0u, v->GetControlFlags());
    EXPECT_EQ(0, v->GetScrollRange().cy);

    EXPECT_TRUE(x->IsVisible());
    EXPECT_TRUE(x->IsEnabled());
    EXPECT_TRUE(x->IsMouseEnabled());
    EXPECT_TRUE(x->IsKeyboardEnabled());
    EXPECT_FALSE(x->IsFloat());
    EXPECT_FALSE(x->IsFocused());
    EXPECT_FALSE(x->IsContextMenuUsed());
    EXPECT_FALSE(x->IsRelativePos());
    EXPECT_TRUE(RectEq(x->GetPadding(), 0, 0, 0, 0));
    EXPECT_EQ(0, x->GetMinWidth());
    EXPECT_EQ(0, x->GetMinHeight());
    EXPECT_EQ(9999, x->GetMaxWidth());
    EXPECT_EQ(9999, x->GetMaxHeight());
    EXPECT_EQ(300, x->GetToolTipWidth());
    EXPECT_EQ(0, x->GetBorderSize());
    EXPECT_EQ(0, x->GetBorderStyle());
    EXPECT_EQ(0u, x->GetBkColor());
    EXPECT_EQ(0u, x->GetBorderColor());
    EXPECT_EQ(L'\0', x->GetShortcut());
    EXPECT_FALSE(x->IsUpdateNeeded());

    // Three adjustable children of 300 pixels: 100 each; the empty ones are placed like any other.
    EXPECT_TRUE(RectEq(h->GetPos(), 0, 0, 400, 100));
    EXPECT_TRUE(RectEq(c->GetPos(), 0, 100, 400, 200));
    EXPECT_TRUE(RectEq(x->GetPos(), 0, 200, 400, 300));
}

TEST_F(SkinLayoutTest, BadAttributeValuesAreIgnoredOrReadAsZero)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout name=\"v\" inset=\"5\" childpadding=\"x\" vscrollbar=\"yes\" "
                      L"sepheight=\"abc\" mousechild=\"False\">"
                      L"<Control name=\"a\" height=\"abc\" minheight=\"-20\" maxheight=\"-1\" width=\"-30\" "
                      L"padding=\"2,3\"/>"
                      L"<Control name=\"b\" pos=\"10\" bkcolor=\"#GG\" bordercolor=\"zz\" float=\"True\"/>"
                      L"<Control name=\"c\" height=\"40\" visible=\"1\"/>"
                      L"<Control name=\"d\" height=\" 30px\"/>"
                      L"<Control name=\"e\" padding=\"1,,2,3\"/>"
                      L"</VerticalLayout></Window>") != NULL);
    CVerticalLayoutUI* v = Find<CVerticalLayoutUI>(L"v");
    ASSERT_TRUE(v != NULL);
    EXPECT_TRUE(RectEq(v->GetInset(), 5, 0, 0, 0));
    EXPECT_EQ(0, v->GetChildPadding());
    EXPECT_EQ(nullptr, v->GetVerticalScrollBar());
    EXPECT_EQ(0, v->GetSepHeight());
    EXPECT_FALSE(v->IsMouseChildEnabled());

    CControlUI* a = m_pm->FindControl(L"a");
    CControlUI* b = m_pm->FindControl(L"b");
    CControlUI* c = m_pm->FindControl(L"c");
    ASSERT_TRUE(a != NULL && b != NULL && c != NULL);
    EXPECT_EQ(0, a->GetFixedHeight());
    EXPECT_EQ(0, a->GetFixedWidth());
    EXPECT_EQ(0, a->GetMinHeight());
    EXPECT_EQ(9999, a->GetMaxHeight());
    EXPECT_TRUE(RectEq(a->GetPadding(), 2, 3, 0, 0));
    // "pos" of a single number: x 10, and the negative width it implies is refused.
    EXPECT_EQ(10, b->GetFixedXY().cx);
    EXPECT_EQ(0, b->GetFixedWidth());
    EXPECT_EQ(0u, b->GetBkColor());
    EXPECT_EQ(0u, b->GetBorderColor());
    EXPECT_FALSE(b->IsFloat());
    EXPECT_FALSE(c->IsVisible());

    // Inner area 5,0,400,300; the hidden child takes no room; 264 pixels are shared by three as 88.
    EXPECT_TRUE(RectEq(PosOf(L"a"), 7, 3, 400, 91));
    EXPECT_TRUE(RectEq(PosOf(L"b"), 5, 91, 400, 179));
    EXPECT_TRUE(RectEq(PosOf(L"d"), 5, 179, 400, 209));
    EXPECT_TRUE(RectEq(PosOf(L"e"), 6, 209, 398, 300));
}

TEST_F(SkinLayoutTest, HugeNumbersPushChildrenFarAwayInsteadOfWrappingAround)
{
    // Sums of such values used to wrap past the largest int and put children at the far negative end.
    const int kMax = CUIAttribute::kMaxExtent;
    ASSERT_TRUE(Build(L"<Window><VerticalLayout>"
                      L"<Control name=\"padded\" height=\"10\" padding=\"2147483647,2147483647,0,0\"/>"
                      L"<Control name=\"next\" height=\"10\"/></VerticalLayout></Window>") != NULL);
    // The padding leaves no width: the child keeps its place and height with none.
    EXPECT_TRUE(RectEq(PosOf(L"padded"), kMax, kMax, kMax, kMax + 10));
    EXPECT_TRUE(RectEq(PosOf(L"next"), 0, kMax + 10, 400, kMax + 20));

    ASSERT_TRUE(Build(L"<Window><HorizontalLayout childpadding=\"2147483647\">"
                      L"<Control name=\"wide\" width=\"2147483647\" maxwidth=\"2147483647\"/>"
                      L"<Control name=\"beyond\" width=\"10\"/></HorizontalLayout></Window>") != NULL);
    EXPECT_TRUE(RectEq(PosOf(L"wide"), 0, 0, kMax, 300));
    EXPECT_TRUE(RectEq(PosOf(L"beyond"), 2 * kMax, 0, 2 * kMax + 10, 300));

    // A relative child with an enormous percentage follows the parent's growth by the largest extent.
    ASSERT_TRUE(Build(L"<Window><Container><Control name=\"rel\" float=\"true\" pos=\"10,10,60,40\" "
                      L"relativepos=\"2147483647,0,0,0\"/></Container></Window>") != NULL);
    Resize(500, 300);
    EXPECT_TRUE(RectEq(PosOf(L"rel"), 10 + kMax, 10, 60 + kMax, 40));
}

TEST_F(SkinLayoutTest, ContentBeyondTheBoxShowsTheBarAndTheWheelScrollsIt)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout name=\"col\" vscrollbar=\"true\">"
                      L"<Control name=\"top\" height=\"250\"/><Control name=\"low\" minheight=\"100\"/>"
                      L"</VerticalLayout></Window>") != NULL);
    CVerticalLayoutUI* col = Find<CVerticalLayoutUI>(L"col");
    ASSERT_TRUE(col != NULL);
    CScrollBarUI* bar = col->GetVerticalScrollBar();
    ASSERT_TRUE(bar != NULL);
    // The adjustable child keeps its minimum past the box: the bar is shown and the children re-laid
    // out beside it.
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(50, bar->GetScrollRange());
    EXPECT_TRUE(RectEq(bar->GetPos(), 384, 0, 400, 300));
    EXPECT_TRUE(RectEq(PosOf(L"top"), 0, 0, 384, 250));
    EXPECT_TRUE(RectEq(PosOf(L"low"), 0, 250, 384, 350));

    const int line = FontHeight(-1) + 8;
    Wheel(100, 100, false);
    EXPECT_EQ(line < 50 ? line : 50, col->GetScrollPos().cy);
    Wheel(100, 100, false);
    Wheel(100, 100, false);
    EXPECT_EQ(50, col->GetScrollPos().cy);
    EXPECT_TRUE(RectEq(PosOf(L"top"), 0, -50, 384, 200));
    EXPECT_TRUE(RectEq(PosOf(L"low"), 0, 200, 384, 300));
    Wheel(100, 100, true);
    EXPECT_EQ(std::max(0, 50 - line), col->GetScrollPos().cy);

    // Content that fits again hides the bar, forgets the position and gives the width back.
    m_pm->FindControl(L"low")->SetMinHeight(10);
    m_pm->UpdateLayout();
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, bar->GetScrollPos());
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_TRUE(RectEq(PosOf(L"top"), 0, 0, 400, 250));
    EXPECT_TRUE(RectEq(PosOf(L"low"), 0, 250, 400, 300));
}

TEST_F(SkinLayoutTest, SplitterDraggedWithTheMouseThroughAChild)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout>"
                      L"<VerticalLayout name=\"top\" height=\"100\" sepheight=\"4\" sepimm=\"true\" minheight=\"40\">"
                      L"<Control name=\"inner\"/></VerticalLayout>"
                      L"<Control name=\"rest\"/></VerticalLayout></Window>") != NULL);
    // The press lands on the child covering the strip and climbs to the splitter.
    MouseMove(10, 98);
    MouseDown(10, 98);
    MouseMove(10, 150);
    m_pm->UpdateLayout();
    EXPECT_TRUE(RectEq(PosOf(L"top"), 0, 0, 400, 152));
    EXPECT_TRUE(RectEq(PosOf(L"inner"), 0, 0, 400, 152));
    EXPECT_TRUE(RectEq(PosOf(L"rest"), 0, 152, 400, 300));
    MouseMove(10, 10);
    MouseUp(10, 10);
    m_pm->UpdateLayout();
    EXPECT_TRUE(RectEq(PosOf(L"top"), 0, 0, 400, 40));
    EXPECT_TRUE(RectEq(PosOf(L"rest"), 0, 40, 400, 300));

    // After the release, moves change nothing.
    MouseMove(10, 200);
    m_pm->UpdateLayout();
    EXPECT_TRUE(RectEq(PosOf(L"top"), 0, 0, 400, 40));
}

TEST_F(SkinLayoutTest, RightClickSendsMenuOnlyWhereTheMenuIsUsed)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout>"
                      L"<Control name=\"plain\" height=\"100\"/><Control name=\"menued\" height=\"100\" menu=\"true\"/>"
                      L"<Control/></VerticalLayout></Window>") != NULL);
    Message(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 50));
    Message(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), ScreenPoint(50, 50));
    EXPECT_EQ(0, m_notes.Count(L"menu"));

    Message(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 150));
    Message(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), ScreenPoint(55, 160));
    ASSERT_EQ(1, m_notes.Count(L"menu"));
    EXPECT_EQ(m_pm->FindControl(L"menued"), m_notes.senders.back());
}

TEST_F(SkinLayoutTest, ControlTimersArriveAsTimerNotifications)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout><Control name=\"ticker\"/></VerticalLayout></Window>") != NULL);
    CControlUI* ticker = m_pm->FindControl(L"ticker");
    ASSERT_TRUE(m_pm->SetTimer(ticker, 4, 10));
    ASSERT_TRUE(PumpUntil(L"timer"));
    EXPECT_EQ(ticker, m_notes.senders.back());
    EXPECT_EQ(4u, m_notes.wParams.back());
    EXPECT_TRUE(m_pm->KillTimer(ticker, 4));
}

TEST_F(SkinLayoutTest, TooltipFromTheSkinBreaksLinesAndTakesTheDefaultWidth)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout><Control name=\"tipped\" tooltip=\"first&lt;n&gt;second\"/>"
                      L"</VerticalLayout></Window>") != NULL);
    EXPECT_STREQ(L"first\r\nsecond", m_pm->FindControl(L"tipped")->GetToolTip());
    MouseMove(50, 50);
    Message(WM_MOUSEHOVER, 0, MAKELPARAM(50, 50));
    HWND tip = m_pm->GetTooltipWindow();
    ASSERT_TRUE(tip != NULL);
    wchar_t text[64] = {};
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(L"first\r\nsecond", text);
    EXPECT_EQ(300, ::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
}

TEST_F(SkinLayoutTest, RemovedChildIsDestroyedByTheNextTurnOfTheMessageLoop)
{
    ASSERT_TRUE(Build(L"<Window><VerticalLayout name=\"col\"><Control name=\"keep\"/></VerticalLayout></Window>") !=
                NULL);
    CVerticalLayoutUI* col = Find<CVerticalLayoutUI>(L"col");
    ASSERT_TRUE(col != NULL);
    int destroyed = 0;
    ControlTest::CProbeUI* probe = new ControlTest::CProbeUI(&destroyed);
    probe->SetName(L"probe");
    ASSERT_TRUE(col->Add(probe));
    m_pm->UpdateLayout();
    EXPECT_TRUE(RectEq(PosOf(L"probe"), 0, 150, 400, 300));

    ASSERT_TRUE(col->Remove(probe));
    EXPECT_EQ(0, destroyed);
    EXPECT_EQ(nullptr, probe->GetParent());
    m_pm->UpdateLayout();
    EXPECT_TRUE(RectEq(PosOf(L"keep"), 0, 0, 400, 300));

    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    EXPECT_EQ(1, destroyed);
    // Gone, it is no longer known by name.
    EXPECT_EQ(nullptr, m_pm->FindControl(L"probe"));
}
