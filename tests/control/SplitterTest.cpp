// Tests of the box layouts' splitter: separator rectangles and drags driven by events.
#include "veneer/core/UISetup.h"
#include "ControlTestUtil.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

void Send(CControlUI* control, int type, int x, int y)
{
    TEventUI event = MakeEvent(type, x, y);
    control->Event(event);
}

// Lays the tree out again as the manager's layout pass would after NeedParentUpdate.
void Relayout(CControlUI& root)
{
    root.SetPos(root.GetPos());
}

} // namespace

TEST(Splitter, SeparatorRectangles)
{
    CVerticalLayoutUI vertical;
    vertical.SetPos(Rc(0, 0, 200, 100));
    vertical.SetSepHeight(4);
    EXPECT_TRUE(RectEq(vertical.GetThumbRect(), 0, 96, 200, 100));
    vertical.SetSepHeight(-4);
    EXPECT_TRUE(RectEq(vertical.GetThumbRect(), 0, 0, 200, 4));
    // The vertical strip never reaches outside the box.
    vertical.SetSepHeight(150);
    EXPECT_TRUE(RectEq(vertical.GetThumbRect(), 0, 0, 200, 100));
    vertical.SetSepHeight(-150);
    EXPECT_TRUE(RectEq(vertical.GetThumbRect(), 0, 0, 200, 100));

    CHorizontalLayoutUI horizontal;
    horizontal.SetPos(Rc(10, 0, 110, 50));
    horizontal.SetSepWidth(4);
    EXPECT_TRUE(RectEq(horizontal.GetThumbRect(), 106, 0, 110, 50));
    horizontal.SetSepWidth(-4);
    EXPECT_TRUE(RectEq(horizontal.GetThumbRect(), 10, 0, 14, 50));
    // The horizontal one is not clamped.
    horizontal.SetSepWidth(150);
    EXPECT_TRUE(RectEq(horizontal.GetThumbRect(), -40, 0, 110, 50));

    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), horizontal.GetControlFlags());
    horizontal.SetEnabled(false);
    EXPECT_EQ(0u, horizontal.GetControlFlags());
    horizontal.SetEnabled(true);
    horizontal.SetSepWidth(0);
    EXPECT_EQ(0u, horizontal.GetControlFlags());
}

TEST(Splitter, ImmediateVerticalDragAtTheBottomEdge)
{
    CVerticalLayoutUI outer;
    CVerticalLayoutUI* top = new CVerticalLayoutUI;
    top->SetFixedHeight(100);
    top->SetAttribute(L"sepheight", L"4");
    top->SetAttribute(L"sepimm", L"true");
    top->SetMinHeight(60);
    CControlUI* bottom = Fixed(0, 0);
    outer.Add(top);
    outer.Add(bottom);
    outer.SetManager(NULL, NULL, false);
    outer.SetPos(Rc(0, 0, 200, 300));
    ASSERT_TRUE(RectEq(top->GetPos(), 0, 0, 200, 100));

    Send(top, EVENT_BUTTONDOWN, 10, 98);
    Send(top, EVENT_MOUSEMOVE, 10, 150);
    EXPECT_EQ(152, top->GetFixedHeight());
    EXPECT_TRUE(RectEq(top->GetPos(), 0, 0, 200, 152));
    Relayout(outer);
    EXPECT_TRUE(RectEq(bottom->GetPos(), 0, 152, 200, 300));

    // On the strip the edge follows the point at once.
    Send(top, EVENT_MOUSEMOVE, 10, 153);
    EXPECT_EQ(155, top->GetFixedHeight());

    // Moving up is taken once the point is above the edge; the minimum height stops it.
    Send(top, EVENT_MOUSEMOVE, 10, 40);
    EXPECT_EQ(60, top->GetFixedHeight());
    // Coming back down, the point must reach the strip again; the moves before that are lost.
    Send(top, EVENT_MOUSEMOVE, 10, 50);
    EXPECT_EQ(60, top->GetFixedHeight());
    Send(top, EVENT_MOUSEMOVE, 10, 58);
    EXPECT_EQ(68, top->GetFixedHeight());
    Send(top, EVENT_MOUSEMOVE, 10, 20);
    EXPECT_EQ(60, top->GetFixedHeight());

    Send(top, EVENT_BUTTONUP, 10, 20);
    Relayout(outer);
    EXPECT_TRUE(RectEq(top->GetPos(), 0, 0, 200, 60));
    EXPECT_TRUE(RectEq(bottom->GetPos(), 0, 60, 200, 300));

    // Without a capture, moves change nothing.
    Send(top, EVENT_MOUSEMOVE, 10, 200);
    EXPECT_EQ(60, top->GetFixedHeight());
}

TEST(Splitter, ImmediateVerticalDragAtTheTopEdge)
{
    CVerticalLayoutUI outer;
    CControlUI* upper = Fixed(0, 0);
    CVerticalLayoutUI* lower = new CVerticalLayoutUI;
    lower->SetFixedHeight(200);
    lower->SetSepHeight(-4);
    lower->SetSepImmMode(true);
    lower->SetMaxHeight(250);
    outer.Add(upper);
    outer.Add(lower);
    outer.SetManager(NULL, NULL, false);
    outer.SetPos(Rc(0, 0, 200, 300));
    ASSERT_TRUE(RectEq(lower->GetPos(), 0, 100, 200, 300));

    Send(lower, EVENT_BUTTONDOWN, 10, 102);
    Send(lower, EVENT_MOUSEMOVE, 10, 80);
    EXPECT_EQ(222, lower->GetFixedHeight());
    Relayout(outer);
    EXPECT_TRUE(RectEq(upper->GetPos(), 0, 0, 200, 78));
    EXPECT_TRUE(RectEq(lower->GetPos(), 0, 78, 200, 300));

    // On the strip the edge follows the point at once; the maximum height stops it.
    Send(lower, EVENT_MOUSEMOVE, 10, 77);
    EXPECT_EQ(225, lower->GetFixedHeight());
    Send(lower, EVENT_MOUSEMOVE, 10, 70);
    EXPECT_EQ(232, lower->GetFixedHeight());
    Send(lower, EVENT_MOUSEMOVE, 10, 0);
    EXPECT_EQ(250, lower->GetFixedHeight());
    // Downward moves count again only from the edge on.
    Send(lower, EVENT_MOUSEMOVE, 10, 40);
    EXPECT_EQ(250, lower->GetFixedHeight());
    Send(lower, EVENT_MOUSEMOVE, 10, 60);
    EXPECT_EQ(230, lower->GetFixedHeight());
    Send(lower, EVENT_BUTTONUP, 10, 60);
    Relayout(outer);
    EXPECT_TRUE(RectEq(lower->GetPos(), 0, 70, 200, 300));
}

TEST(Splitter, HorizontalDragWithClamping)
{
    CHorizontalLayoutUI outer;
    CHorizontalLayoutUI* left = new CHorizontalLayoutUI;
    left->SetFixedWidth(100);
    left->SetSepWidth(4);
    left->SetSepImmMode(true);
    left->SetMinWidth(50);
    left->SetMaxWidth(170);
    CControlUI* right = Fixed(0, 0);
    outer.Add(left);
    outer.Add(right);
    outer.SetManager(NULL, NULL, false);
    outer.SetPos(Rc(0, 0, 300, 100));

    Send(left, EVENT_BUTTONDOWN, 98, 10);
    Send(left, EVENT_MOUSEMOVE, 150, 10);
    EXPECT_EQ(152, left->GetFixedWidth());
    // Unlike the vertical layout, the right edge follows small moves both ways.
    Send(left, EVENT_MOUSEMOVE, 151, 10);
    EXPECT_EQ(153, left->GetFixedWidth());
    Send(left, EVENT_MOUSEMOVE, 149, 10);
    EXPECT_EQ(151, left->GetFixedWidth());
    Send(left, EVENT_MOUSEMOVE, 160, 10);
    EXPECT_EQ(162, left->GetFixedWidth());
    Send(left, EVENT_MOUSEMOVE, 200, 10);
    EXPECT_EQ(170, left->GetFixedWidth());
    Send(left, EVENT_MOUSEMOVE, 220, 10);
    EXPECT_EQ(170, left->GetFixedWidth());
    Send(left, EVENT_MOUSEMOVE, 10, 10);
    EXPECT_EQ(50, left->GetFixedWidth());
    Send(left, EVENT_BUTTONUP, 10, 10);
    Relayout(outer);
    EXPECT_TRUE(RectEq(left->GetPos(), 0, 0, 50, 100));
    EXPECT_TRUE(RectEq(right->GetPos(), 50, 0, 300, 100));
}

TEST(Splitter, ShadowModeAppliesTheSizeOnRelease)
{
    CHorizontalLayoutUI outer;
    CHorizontalLayoutUI* left = new CHorizontalLayoutUI;
    left->SetFixedWidth(100);
    left->SetSepWidth(-4);
    CControlUI* right = Fixed(0, 0);
    outer.Add(right);
    outer.Add(left);
    outer.SetManager(NULL, NULL, false);
    outer.SetPos(Rc(0, 0, 300, 100));
    ASSERT_TRUE(RectEq(left->GetPos(), 200, 0, 300, 100));

    Send(left, EVENT_BUTTONDOWN, 200, 10);
    Send(left, EVENT_MOUSEMOVE, 150, 10);
    // The box keeps its place while only the strip follows the mouse.
    EXPECT_TRUE(RectEq(left->GetPos(), 200, 0, 300, 100));
    EXPECT_TRUE(RectEq(left->GetThumbRect(true), 150, 0, 154, 100));
    EXPECT_TRUE(RectEq(left->GetThumbRect(false), 200, 0, 204, 100));
    EXPECT_EQ(150, left->GetFixedWidth());

    Send(left, EVENT_BUTTONUP, 150, 10);
    EXPECT_TRUE(RectEq(left->GetPos(), 150, 0, 300, 100));
    EXPECT_TRUE(RectEq(left->GetThumbRect(true), 150, 0, 154, 100));
    Relayout(outer);
    EXPECT_TRUE(RectEq(right->GetPos(), 0, 0, 150, 100));
}

TEST(Splitter, PressesOutsideTheSeparatorOrWhenDisabledAreNotTaken)
{
    CProbeLayoutUI outer;
    CVerticalLayoutUI* box = new CVerticalLayoutUI;
    box->SetSepHeight(4);
    box->SetSepImmMode(true);
    outer.Add(box);
    outer.SetManager(NULL, NULL, false);
    outer.SetPos(Rc(0, 0, 100, 100));

    Send(box, EVENT_BUTTONDOWN, 50, 50);
    EXPECT_EQ(1u, outer.events.size());
    Send(box, EVENT_MOUSEMOVE, 50, 150);
    EXPECT_EQ(0, box->GetFixedHeight());

    box->SetEnabled(false);
    Send(box, EVENT_BUTTONDOWN, 50, 98);
    Send(box, EVENT_MOUSEMOVE, 50, 150);
    EXPECT_EQ(0, box->GetFixedHeight());
    EXPECT_EQ(4u, outer.events.size());

    // Over an enabled separator the set-cursor event is taken with the sizing cursor.
    box->SetEnabled(true);
    Send(box, EVENT_SETCURSOR, 50, 98);
    EXPECT_EQ(::LoadCursorW(NULL, IDC_SIZENS), ::GetCursor());
    EXPECT_EQ(4u, outer.events.size());
}
