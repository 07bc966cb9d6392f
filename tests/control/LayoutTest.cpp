// Tests of the box layouts and float placement: laid-out rectangles of trees built in code.
#include "veneer/core/UISetup.h"
#include "ControlTestUtil.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

CControlUI* Padded(CControlUI* control, int l, int t, int r, int b)
{
    control->SetPadding(Rc(l, t, r, b));
    return control;
}

} // namespace

TEST(VerticalLayout, FixedChildrenAndOneAdjustableTakingTheRest)
{
    CVerticalLayoutUI layout;
    CControlUI* a = Fixed(0, 50);
    CControlUI* b = Fixed(0, 70);
    CControlUI* c = Fixed(0, 0);
    layout.Add(a);
    layout.Add(b);
    layout.Add(c);
    layout.SetPos(Rc(0, 0, 200, 300));
    EXPECT_TRUE(RectEq(a->GetPos(), 0, 0, 200, 50));
    EXPECT_TRUE(RectEq(b->GetPos(), 0, 50, 200, 120));
    EXPECT_TRUE(RectEq(c->GetPos(), 0, 120, 200, 300));

    // The adjustable child may come first: it still gets what the fixed ones leave.
    CVerticalLayoutUI first;
    CControlUI* x = Fixed(0, 0);
    CControlUI* y = Fixed(0, 50);
    first.Add(x);
    first.Add(y);
    first.SetPos(Rc(0, 10, 100, 210));
    EXPECT_TRUE(RectEq(x->GetPos(), 0, 10, 100, 160));
    EXPECT_TRUE(RectEq(y->GetPos(), 0, 160, 100, 210));
}

TEST(VerticalLayout, OddSpaceGoesToTheLastAdjustableChild)
{
    CVerticalLayoutUI layout;
    CControlUI* a = Fixed(0, 0);
    CControlUI* b = Fixed(0, 0);
    layout.Add(a);
    layout.Add(b);
    layout.SetPos(Rc(0, 0, 40, 101));
    EXPECT_TRUE(RectEq(a->GetPos(), 0, 0, 40, 50));
    EXPECT_TRUE(RectEq(b->GetPos(), 0, 50, 40, 101));
}

TEST(VerticalLayout, BottomPaddingLiesInsideTheChildRectangle)
{
    CVerticalLayoutUI layout;
    layout.SetChildPadding(3);
    CControlUI* a = Padded(Fixed(0, 20), 0, 5, 0, 5);
    CControlUI* b = Fixed(0, 10);
    layout.Add(a);
    layout.Add(b);
    layout.SetPos(Rc(0, 0, 100, 200));
    EXPECT_TRUE(RectEq(a->GetPos(), 0, 5, 100, 30));
    EXPECT_TRUE(RectEq(b->GetPos(), 0, 33, 100, 43));
}

TEST(VerticalLayout, LastAdjustableChildTakesWhatPaddingsAndGapsLeave)
{
    CVerticalLayoutUI layout;
    CControlUI* a = Padded(Fixed(0, 20), 0, 5, 0, 5);
    CControlUI* b = Fixed(0, 0);
    layout.Add(a);
    layout.Add(b);
    layout.SetPos(Rc(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(a->GetPos(), 0, 5, 100, 30));
    EXPECT_TRUE(RectEq(b->GetPos(), 0, 30, 100, 100));

    // The same with child padding between them: the gap is taken once.
    CVerticalLayoutUI gap;
    gap.SetChildPadding(4);
    CControlUI* c = Fixed(0, 20);
    CControlUI* d = Fixed(0, 0);
    gap.Add(c);
    gap.Add(d);
    gap.SetPos(Rc(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(c->GetPos(), 0, 0, 100, 20));
    EXPECT_TRUE(RectEq(d->GetPos(), 0, 24, 100, 100));

    // A lone adjustable child with paddings reaches the bottom of the box with its bottom padding.
    CVerticalLayoutUI lone;
    CControlUI* e = Padded(Fixed(0, 0), 0, 6, 0, 4);
    lone.Add(e);
    lone.SetPos(Rc(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(e->GetPos(), 0, 6, 100, 100));

    // Two adjustable children with paddings and gaps: the first gets the even share, the last the rest.
    CVerticalLayoutUI pair;
    pair.SetChildPadding(3);
    CControlUI* f = Padded(Fixed(0, 0), 0, 2, 0, 2);
    CControlUI* g = Padded(Fixed(0, 0), 0, 2, 0, 2);
    CControlUI* h = Fixed(0, 10);
    pair.Add(f);
    pair.Add(g);
    pair.Add(h);
    pair.SetPos(Rc(0, 0, 100, 100));
    // Fixed total 10 + 8 + 6 = 24; the share is 76 / 2 = 38.
    EXPECT_TRUE(RectEq(f->GetPos(), 0, 2, 100, 42));
    EXPECT_TRUE(RectEq(g->GetPos(), 0, 47, 100, 87));
    EXPECT_TRUE(RectEq(h->GetPos(), 0, 90, 100, 100));
}

TEST(VerticalLayout, MinimumAndMaximumHeights)
{
    CVerticalLayoutUI layout;
    CControlUI* capped = Fixed(0, 0);
    capped->SetMaxHeight(30);
    CControlUI* raised = Fixed(0, 10);
    raised->SetMinHeight(25);
    CControlUI* conflict = Fixed(0, 10);
    conflict->SetMinHeight(50);
    conflict->SetMaxHeight(40);
    CControlUI* rest = Fixed(0, 0);
    layout.Add(capped);
    layout.Add(raised);
    layout.Add(conflict);
    layout.Add(rest);
    layout.SetPos(Rc(0, 0, 100, 200));
    // Fixed total 65, two adjustables share 135 as 67: the capped one stops at 30.
    EXPECT_TRUE(RectEq(capped->GetPos(), 0, 0, 100, 30));
    EXPECT_TRUE(RectEq(raised->GetPos(), 0, 30, 100, 55));
    EXPECT_TRUE(RectEq(conflict->GetPos(), 0, 55, 100, 95));
    EXPECT_TRUE(RectEq(rest->GetPos(), 0, 95, 100, 200));
}

TEST(VerticalLayout, AdjustableChildKeepsItsMinimumBeyondTheBox)
{
    CVerticalLayoutUI layout;
    CControlUI* a = Fixed(0, 80);
    CControlUI* b = Fixed(0, 0);
    b->SetMinHeight(50);
    layout.Add(a);
    layout.Add(b);
    layout.SetPos(Rc(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(b->GetPos(), 0, 80, 100, 130));
}

TEST(VerticalLayout, ChildWidths)
{
    CVerticalLayoutUI layout;
    CControlUI* fixed = Fixed(40, 10);
    CControlUI* padded = Padded(Fixed(0, 10), 3, 0, 7, 0);
    CControlUI* wide = Fixed(0, 10);
    wide->SetMinWidth(120);
    CControlUI* narrow = Fixed(0, 10);
    narrow->SetMaxWidth(30);
    CControlUI* squeezed = Padded(Fixed(0, 10), 60, 0, 60, 0);
    layout.Add(fixed);
    layout.Add(padded);
    layout.Add(wide);
    layout.Add(narrow);
    layout.Add(squeezed);
    layout.SetPos(Rc(0, 0, 100, 100));
    EXPECT_TRUE(RectEq(fixed->GetPos(), 0, 0, 40, 10));
    EXPECT_TRUE(RectEq(padded->GetPos(), 3, 10, 93, 20));
    EXPECT_TRUE(RectEq(wide->GetPos(), 0, 20, 120, 30));
    EXPECT_TRUE(RectEq(narrow->GetPos(), 0, 30, 30, 40));
    // Paddings wider than the box leave a zero width, not a negative one.
    EXPECT_TRUE(RectEq(squeezed->GetPos(), 60, 40, 60, 50));
}

TEST(VerticalLayout, InsetAndInvisibleChildren)
{
    CVerticalLayoutUI layout;
    layout.SetInset(Rc(1, 2, 3, 4));
    layout.SetChildPadding(10);
    CControlUI* hidden = Fixed(0, 30);
    hidden->SetVisible(false);
    CControlUI* a = Fixed(0, 20);
    CControlUI* b = Fixed(0, 0);
    layout.Add(hidden);
    layout.Add(a);
    layout.Add(b);
    layout.SetPos(Rc(10, 10, 110, 210));
    // The hidden child takes neither room nor a child padding.
    EXPECT_TRUE(RectEq(a->GetPos(), 11, 12, 107, 32));
    EXPECT_TRUE(RectEq(b->GetPos(), 11, 42, 107, 206));
    EXPECT_TRUE(RectEq(hidden->GetPos(), 0, 0, 0, 0));
}

TEST(VerticalLayout, FloatChildrenStayOutOfTheFlow)
{
    CVerticalLayoutUI layout;
    CControlUI* corner = new CControlUI;
    corner->SetAttribute(L"float", L"true");
    corner->SetAttribute(L"pos", L"-110,-60,-10,-10");
    CControlUI* flow = Fixed(0, 0);
    layout.Add(corner);
    layout.Add(flow);
    layout.SetPos(Rc(0, 0, 300, 200));
    EXPECT_TRUE(RectEq(corner->GetPos(), 190, 140, 290, 190));
    EXPECT_TRUE(RectEq(flow->GetPos(), 0, 0, 300, 200));

    // Only floats: nothing flows, and nothing breaks.
    CVerticalLayoutUI floats;
    floats.SetChildPadding(5);
    CControlUI* f = new CControlUI;
    f->SetFloat(true);
    f->SetAttribute(L"pos", L"10,20,40,50");
    floats.Add(f);
    floats.SetPos(Rc(100, 100, 200, 200));
    EXPECT_TRUE(RectEq(f->GetPos(), 110, 120, 140, 150));
}

TEST(VerticalLayout, EmptyLayoutOnlyTakesItsPlace)
{
    CVerticalLayoutUI layout;
    layout.SetInset(Rc(5, 5, 5, 5));
    layout.SetPos(Rc(0, 0, 50, 60));
    EXPECT_TRUE(RectEq(layout.GetPos(), 0, 0, 50, 60));

    // An inverted rectangle is normalised to an empty one at its left/top.
    layout.SetPos(Rc(30, 40, 10, 20));
    EXPECT_TRUE(RectEq(layout.GetPos(), 30, 40, 30, 40));
}

TEST(HorizontalLayout, FixedAndAdjustableWidths)
{
    CHorizontalLayoutUI layout;
    CControlUI* a = Fixed(50, 0);
    CControlUI* b = Fixed(70, 0);
    CControlUI* c = Fixed(0, 0);
    layout.Add(a);
    layout.Add(b);
    layout.Add(c);
    layout.SetPos(Rc(0, 0, 300, 40));
    EXPECT_TRUE(RectEq(a->GetPos(), 0, 0, 50, 40));
    EXPECT_TRUE(RectEq(b->GetPos(), 50, 0, 120, 40));
    EXPECT_TRUE(RectEq(c->GetPos(), 120, 0, 300, 40));

    CHorizontalLayoutUI odd;
    CControlUI* x = Fixed(0, 0);
    CControlUI* y = Fixed(0, 0);
    odd.Add(x);
    odd.Add(y);
    odd.SetPos(Rc(0, 0, 101, 10));
    EXPECT_TRUE(RectEq(x->GetPos(), 0, 0, 50, 10));
    EXPECT_TRUE(RectEq(y->GetPos(), 50, 0, 101, 10));
}

TEST(HorizontalLayout, PaddingsHeightsAndChildPadding)
{
    CHorizontalLayoutUI layout;
    layout.SetChildPadding(4);
    layout.SetInset(Rc(10, 0, 0, 0));
    CControlUI* a = Padded(Fixed(20, 0), 5, 2, 5, 3);
    CControlUI* b = Fixed(30, 10);
    CControlUI* c = Fixed(0, 0);
    c->SetMaxHeight(15);
    CControlUI* d = Fixed(0, 0);
    layout.Add(a);
    layout.Add(b);
    layout.Add(c);
    layout.Add(d);
    layout.SetPos(Rc(0, 0, 200, 50));
    // The right padding lies inside the child; the height is what the paddings leave.
    EXPECT_TRUE(RectEq(a->GetPos(), 15, 2, 40, 47));
    EXPECT_TRUE(RectEq(b->GetPos(), 44, 0, 74, 10));
    // Fixed total 30 + 30 + three gaps of 4 = 72; the two adjustables share 190 - 72 = 118 as 59 each.
    EXPECT_TRUE(RectEq(c->GetPos(), 78, 0, 137, 15));
    // The last one takes the 59 pixels left up to the right edge.
    EXPECT_TRUE(RectEq(d->GetPos(), 141, 0, 200, 50));
}

TEST(HorizontalLayout, MinimumMaximumAndFloat)
{
    CHorizontalLayoutUI layout;
    CControlUI* a = Fixed(0, 0);
    a->SetMinWidth(80);
    CControlUI* b = Fixed(0, 0);
    b->SetMaxWidth(10);
    CControlUI* corner = new CControlUI;
    corner->SetFloat(true);
    corner->SetAttribute(L"pos", L"-110,-60,-10,-10");
    layout.Add(a);
    layout.Add(corner);
    layout.Add(b);
    layout.SetPos(Rc(0, 0, 300, 200));
    EXPECT_TRUE(RectEq(a->GetPos(), 0, 0, 150, 200));
    EXPECT_TRUE(RectEq(b->GetPos(), 150, 0, 160, 200));
    EXPECT_TRUE(RectEq(corner->GetPos(), 190, 140, 290, 190));
}

TEST(Container, FlowingChildrenShareTheInnerArea)
{
    CContainerUI container;
    container.SetInset(Rc(2, 3, 4, 5));
    CControlUI* a = Fixed(10, 10);
    CControlUI* b = Fixed(0, 0);
    CControlUI* f = new CControlUI;
    f->SetFloat(true);
    f->SetAttribute(L"pos", L"0,0,5,5");
    container.Add(a);
    container.Add(b);
    container.Add(f);
    container.SetPos(Rc(0, 0, 100, 50));
    EXPECT_TRUE(RectEq(a->GetPos(), 2, 3, 96, 45));
    EXPECT_TRUE(RectEq(b->GetPos(), 2, 3, 96, 45));
    // Float positions count from the item rectangle, not from the inset.
    EXPECT_TRUE(RectEq(f->GetPos(), 0, 0, 5, 5));
}

TEST(FloatPlacement, RelativePositionFollowsTheContainerGrowth)
{
    CContainerUI container;
    CControlUI* mover = new CControlUI;
    mover->SetFloat(true);
    mover->SetAttribute(L"pos", L"10,10,60,40");
    mover->SetAttribute(L"relativepos", L"50,50,0,0");
    CControlUI* stretcher = new CControlUI;
    stretcher->SetFloat(true);
    stretcher->SetAttribute(L"pos", L"10,10,60,40");
    stretcher->SetAttribute(L"relativepos", L"0,0,100,100");
    container.Add(mover);
    container.Add(stretcher);

    // The first layout only records the container size.
    container.SetPos(Rc(0, 0, 300, 200));
    EXPECT_TRUE(RectEq(mover->GetPos(), 10, 10, 60, 40));
    EXPECT_TRUE(RectEq(stretcher->GetPos(), 10, 10, 60, 40));
    EXPECT_EQ(300, mover->GetRelativePos().szParent.cx);
    EXPECT_EQ(200, mover->GetRelativePos().szParent.cy);

    container.SetPos(Rc(0, 0, 400, 300));
    EXPECT_TRUE(RectEq(mover->GetPos(), 60, 60, 110, 90));
    EXPECT_TRUE(RectEq(stretcher->GetPos(), 10, 10, 160, 140));
    EXPECT_EQ(400, stretcher->GetRelativePos().szParent.cx);
}

TEST(FloatPlacement, NegativePositionsMeasureFromTheFarEdges)
{
    CContainerUI container;
    CControlUI* right = new CControlUI;
    right->SetFloat(true);
    right->SetFixedXY(Sz(-5, 7));
    right->SetFixedWidth(20);
    right->SetFixedHeight(10);
    container.Add(right);
    container.SetPos(Rc(100, 50, 200, 150));
    EXPECT_TRUE(RectEq(right->GetPos(), 175, 57, 195, 67));
}
