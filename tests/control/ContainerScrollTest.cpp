// Tests of container scrolling: showing and hiding the bars in layout, scroll steps, keys, wheel, bar input.
#include "veneer/core/UISetup.h"
#include "ScrollTestWindow.h"
#include "ControlTestUtil.h"
#include "render/DibCanvas.h"

using namespace Veneer;
using ControlTest::Fixed;
using ControlTest::RectEq;
using ScrollTest::Send;
using ScrollTest::SendKey;
using ScrollTest::Tick;

namespace {

// Taller when given more width: showing the vertical bar makes it fit the box.
class CNarrowShorterUI : public CControlUI
{
public:
    SIZE EstimateSize(SIZE available)
    {
        SIZE sz = { 0, available.cx >= 400 ? 400 : 100 };
        return sz;
    }
};

class ContainerScrollTest : public ScrollTest::ScrollWindowTest
{
protected:
    // A vertical layout filling the 400 x 300 window, with a vertical bar and children of the heights.
    CVerticalLayoutUI* AttachColumn(int count, int height = 150)
    {
        CVerticalLayoutUI* root = new CVerticalLayoutUI;
        root->SetAttribute(L"vscrollbar", L"true");
        for (int i = 0; i < count; ++i) root->Add(Fixed(0, height));
        m_pm->AttachDialog(root);
        m_pm->UpdateLayout();
        return root;
    }

    void Relayout(CControlUI* root)
    {
        root->NeedUpdate();
        m_pm->UpdateLayout();
    }

    int LineStep() const { return m_pm->GetDefaultFontInfo()->tm.tmHeight + 8; }
};

TEST_F(ContainerScrollTest, TallContentShowsTheVerticalBarAndShortContentHidesIt)
{
    CVerticalLayoutUI* root = AttachColumn(1);
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    ASSERT_TRUE(bar != NULL);
    EXPECT_EQ(static_cast<CContainerUI*>(root), bar->GetOwner());
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_TRUE(RectEq(root->GetItemAt(0)->GetPos(), 0, 0, 400, 150));

    // 450 pixels of content in a 300-pixel box: the bar appears and the children make room for it.
    root->Add(Fixed(0, 150));
    root->Add(Fixed(0, 150));
    m_pm->UpdateLayout();
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(150, bar->GetScrollRange());
    EXPECT_EQ(0, bar->GetScrollPos());
    EXPECT_TRUE(RectEq(bar->GetPos(), 384, 0, 400, 300));
    EXPECT_TRUE(RectEq(root->GetItemAt(0)->GetPos(), 0, 0, 384, 150));
    EXPECT_TRUE(RectEq(root->GetItemAt(2)->GetPos(), 0, 300, 384, 450));
    EXPECT_EQ(150, root->GetScrollRange().cy);
    // Thumb 300 * 268 / 450 = 178 long.
    EXPECT_TRUE(RectEq(bar->GetThumbRect(), 384, 16, 400, 194));

    // Growing content widens the range at the same position.
    root->Add(Fixed(0, 50));
    m_pm->UpdateLayout();
    EXPECT_EQ(200, bar->GetScrollRange());

    root->RemoveAt(3);
    root->RemoveAt(2);
    root->RemoveAt(1);
    m_pm->UpdateLayout();
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_EQ(0, root->GetScrollRange().cy);
    EXPECT_TRUE(RectEq(root->GetItemAt(0)->GetPos(), 0, 0, 400, 150));
}

TEST_F(ContainerScrollTest, BarShownByALayoutStaysThroughItsSecondPass)
{
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    root->SetAttribute(L"vscrollbar", L"true");
    root->Add(new CNarrowShorterUI);
    m_pm->AttachDialog(root);
    m_pm->UpdateLayout();
    // At full width the child needs 400 pixels, so the bar is shown; with the bar's room taken it
    // needs only 100, yet the pass that showed the bar does not hide it again.
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_TRUE(RectEq(root->GetItemAt(0)->GetPos(), 0, 0, 384, 100));
}

TEST_F(ContainerScrollTest, ScrollPositionMovesTheChildren)
{
    CVerticalLayoutUI* root = AttachColumn(3);
    root->SetScrollPos(ControlTest::Sz(0, 40));
    EXPECT_EQ(40, root->GetScrollPos().cy);
    EXPECT_TRUE(RectEq(root->GetItemAt(0)->GetPos(), 0, -40, 384, 110));
    EXPECT_TRUE(RectEq(root->GetItemAt(1)->GetPos(), 0, 110, 384, 260));

    // The bar clamps the position; the children follow only as far as it moved.
    root->SetScrollPos(ControlTest::Sz(0, 400));
    EXPECT_EQ(150, root->GetScrollPos().cy);
    EXPECT_TRUE(RectEq(root->GetItemAt(0)->GetPos(), 0, -150, 384, 0));
    EXPECT_TRUE(RectEq(root->GetVerticalScrollBar()->GetThumbRect(), 384, 106, 400, 284));

    // A new layout keeps the children at the scrolled place.
    Relayout(root);
    EXPECT_TRUE(RectEq(root->GetItemAt(0)->GetPos(), 0, -150, 384, 0));
    EXPECT_TRUE(RectEq(root->GetItemAt(2)->GetPos(), 0, 150, 384, 300));

    // Without a horizontal bar the horizontal coordinate is ignored.
    root->SetScrollPos(ControlTest::Sz(30, 150));
    EXPECT_EQ(0, root->GetScrollPos().cx);
    EXPECT_EQ(0, root->GetItemAt(0)->GetPos().left);
}

TEST_F(ContainerScrollTest, LinePageHomeAndEndSteps)
{
    CVerticalLayoutUI* root = AttachColumn(5);
    ASSERT_EQ(450, root->GetScrollRange().cy);
    const int line = LineStep();
    ASSERT_LT(line, 100);
    root->LineDown();
    EXPECT_EQ(line, root->GetScrollPos().cy);
    EXPECT_EQ(-line, root->GetItemAt(0)->GetPos().top);
    root->LineUp();
    EXPECT_EQ(0, root->GetScrollPos().cy);
    root->LineUp();
    EXPECT_EQ(0, root->GetScrollPos().cy);

    root->PageDown();
    EXPECT_EQ(300, root->GetScrollPos().cy);
    root->PageDown();
    EXPECT_EQ(450, root->GetScrollPos().cy);
    root->PageUp();
    EXPECT_EQ(150, root->GetScrollPos().cy);
    root->HomeUp();
    EXPECT_EQ(0, root->GetScrollPos().cy);
    root->EndDown();
    EXPECT_EQ(450, root->GetScrollPos().cy);
    EXPECT_TRUE(RectEq(root->GetItemAt(4)->GetPos(), 0, 150, 384, 300));

    // A page is the box less its inset and a visible horizontal bar.
    root->SetInset(ControlTest::Rc(10, 10, 10, 10));
    m_pm->UpdateLayout();
    EXPECT_EQ(470, root->GetScrollRange().cy);
    root->HomeUp();
    root->PageDown();
    EXPECT_EQ(280, root->GetScrollPos().cy);
    root->SetAttribute(L"hscrollbar", L"true");
    m_pm->UpdateLayout();
    ASSERT_TRUE(root->GetHorizontalScrollBar()->IsVisible());
    root->HomeUp();
    root->PageDown();
    EXPECT_EQ(264, root->GetScrollPos().cy);
}

TEST_F(ContainerScrollTest, LineStepWithoutAManagerIsEightPixels)
{
    CVerticalLayoutUI column;
    column.SetAttribute(L"vscrollbar", L"true");
    for (int i = 0; i < 3; ++i) column.Add(Fixed(0, 150));
    column.SetPos(ControlTest::Rc(0, 0, 200, 300));
    ASSERT_TRUE(column.GetVerticalScrollBar()->IsVisible());
    column.LineDown();
    EXPECT_EQ(8, column.GetScrollPos().cy);
    EXPECT_EQ(-8, column.GetItemAt(0)->GetPos().top);
}

TEST_F(ContainerScrollTest, KeysAndWheelScrollTheVerticalBar)
{
    CVerticalLayoutUI* root = AttachColumn(5);
    const int line = LineStep();
    SendKey(root, VK_NEXT);
    EXPECT_EQ(300, root->GetScrollPos().cy);
    SendKey(root, VK_UP);
    EXPECT_EQ(300 - line, root->GetScrollPos().cy);
    SendKey(root, VK_PRIOR);
    EXPECT_EQ(0, root->GetScrollPos().cy);
    SendKey(root, VK_DOWN);
    EXPECT_EQ(line, root->GetScrollPos().cy);
    SendKey(root, VK_END);
    EXPECT_EQ(450, root->GetScrollPos().cy);
    SendKey(root, VK_HOME);
    EXPECT_EQ(0, root->GetScrollPos().cy);

    Send(root, EVENT_SCROLLWHEEL, 200, 100, MAKEWPARAM(SB_LINEDOWN, 0));
    Send(root, EVENT_SCROLLWHEEL, 200, 100, MAKEWPARAM(SB_LINEDOWN, 0));
    EXPECT_EQ(2 * line, root->GetScrollPos().cy);
    Send(root, EVENT_SCROLLWHEEL, 200, 100, MAKEWPARAM(SB_LINEUP, 0));
    EXPECT_EQ(line, root->GetScrollPos().cy);

    // The wheel over the bar reaches its container.
    Send(root->GetVerticalScrollBar(), EVENT_SCROLLWHEEL, 392, 100, MAKEWPARAM(SB_LINEDOWN, 0));
    EXPECT_EQ(2 * line, root->GetScrollPos().cy);

    // A disabled bar takes no keys.
    root->GetVerticalScrollBar()->SetEnabled(false);
    SendKey(root, VK_END);
    EXPECT_EQ(2 * line, root->GetScrollPos().cy);
}

TEST_F(ContainerScrollTest, KeysScrollTheHorizontalBarWhenThereIsNoVerticalOne)
{
    CHorizontalLayoutUI* root = new CHorizontalLayoutUI;
    root->SetAttribute(L"hscrollbar", L"true");
    for (int i = 0; i < 4; ++i) root->Add(Fixed(150, 0));
    m_pm->AttachDialog(root);
    m_pm->UpdateLayout();
    CScrollBarUI* bar = root->GetHorizontalScrollBar();
    ASSERT_TRUE(bar != NULL);
    EXPECT_TRUE(bar->IsHorizontal());
    EXPECT_TRUE(RectEq(bar->GetPos(), 0, 284, 400, 300));
    EXPECT_TRUE(RectEq(root->GetItemAt(1)->GetPos(), 150, 0, 300, 284));

    SendKey(root, VK_DOWN);
    EXPECT_EQ(8, root->GetScrollPos().cx);
    EXPECT_TRUE(RectEq(root->GetItemAt(1)->GetPos(), 142, 0, 292, 284));
    Send(root, EVENT_SCROLLWHEEL, 200, 100, MAKEWPARAM(SB_LINEDOWN, 0));
    EXPECT_EQ(16, root->GetScrollPos().cx);
    SendKey(root, VK_HOME);
    EXPECT_EQ(0, root->GetScrollPos().cx);
    SendKey(root, VK_END);
    EXPECT_EQ(bar->GetScrollRange(), root->GetScrollPos().cx);
    SendKey(root, VK_PRIOR);
    EXPECT_EQ(0, root->GetScrollPos().cx);
    EXPECT_EQ(0, root->GetItemAt(0)->GetPos().left);
}

TEST_F(ContainerScrollTest, ClicksAndDragsOnTheBarScrollItsOwner)
{
    CVerticalLayoutUI* root = AttachColumn(3);
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    const int line = LineStep();

    Send(bar, EVENT_BUTTONDOWN, 392, 290);
    EXPECT_EQ(line, root->GetScrollPos().cy);
    EXPECT_EQ(-line, root->GetItemAt(0)->GetPos().top);
    Send(bar, EVENT_BUTTONUP, 392, 290);
    Send(bar, EVENT_BUTTONDOWN, 392, 5);
    Send(bar, EVENT_BUTTONUP, 392, 5);
    EXPECT_EQ(0, root->GetScrollPos().cy);

    // A track click pages the container.
    Send(bar, EVENT_BUTTONDOWN, 392, 250);
    Send(bar, EVENT_BUTTONUP, 392, 250);
    EXPECT_EQ(150, root->GetScrollPos().cy);
    root->HomeUp();

    // Thumb 16..194: 90 pixels of travel for a range of 150.
    Send(bar, EVENT_BUTTONDOWN, 392, 50);
    Send(bar, EVENT_MOUSEMOVE, 392, 80);
    Tick(bar);
    EXPECT_EQ(50, root->GetScrollPos().cy);
    EXPECT_TRUE(RectEq(root->GetItemAt(1)->GetPos(), 0, 100, 384, 250));
    Send(bar, EVENT_BUTTONUP, 392, 80);

    // A bar with an owner reports nothing itself.
    EXPECT_EQ(0, m_notes.Count(L"scroll"));
}

TEST_F(ContainerScrollTest, BarsArePaintedAndHitTested)
{
    CVerticalLayoutUI* root = AttachColumn(3);
    root->GetItemAt(0)->SetBkColor(0xFFFF0000);
    CDibCanvas canvas(400, 300);
    RECT all = { 0, 0, 400, 300 };
    root->DoPaint(canvas.GetDC(), all);
    EXPECT_TRUE(RgbNear(canvas.Get(200, 100), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(384, 0), 0x85E4FF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(399, 299), 0x85E4FF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(392, 250), 0xFFFFFF, 0));

    POINT onBar = { 392, 150 };
    POINT onChild = { 200, 100 };
    EXPECT_EQ(static_cast<CControlUI*>(root->GetVerticalScrollBar()), m_pm->FindControl(onBar));
    EXPECT_EQ(root->GetItemAt(0), m_pm->FindControl(onChild));
    root->SetMouseChildEnabled(false);
    EXPECT_EQ(static_cast<CControlUI*>(root->GetVerticalScrollBar()), m_pm->FindControl(onBar));
    EXPECT_EQ(static_cast<CControlUI*>(root), m_pm->FindControl(onChild));

    // A hidden bar is neither painted nor hit.
    root->RemoveAt(2);
    root->RemoveAt(1);
    m_pm->UpdateLayout();
    CDibCanvas after(400, 300);
    root->DoPaint(after.GetDC(), all);
    EXPECT_EQ(0, after.CountOtherThan(384, 150, 400, 300, 0xFFFFFFFF));
    EXPECT_EQ(static_cast<CControlUI*>(root), m_pm->FindControl(onBar));
}

TEST_F(ContainerScrollTest, BarsTakeTheSkinDefaultsAndStyles)
{
    m_pm->AddDefaultAttributeList(L"VScrollBar", L"width=\"10\" linesize=\"3\"");
    CVerticalLayoutUI column;
    column.SetManager(m_pm, NULL, false);
    column.SetAttribute(L"vscrollbar", L"true");
    CScrollBarUI* vbar = column.GetVerticalScrollBar();
    ASSERT_TRUE(vbar != NULL);
    EXPECT_EQ(10, vbar->GetFixedWidth());
    EXPECT_EQ(3, vbar->GetLineSize());
    EXPECT_FALSE(vbar->IsHorizontal());
    EXPECT_EQ(m_pm, vbar->GetManager());

    column.SetAttribute(L"hscrollbarstyle", L"height=\"9\" showbutton1=\"false\"");
    CScrollBarUI* hbar = column.GetHorizontalScrollBar();
    ASSERT_TRUE(hbar != NULL);
    EXPECT_TRUE(hbar->IsHorizontal());
    EXPECT_EQ(9, hbar->GetFixedHeight());
    EXPECT_FALSE(hbar->GetShowButton1());
    EXPECT_EQ(vbar, column.GetVerticalScrollBar());

    column.SetAttribute(L"vscrollbarstyle", L"range=\"7\"");
    EXPECT_EQ(vbar, column.GetVerticalScrollBar());
    EXPECT_EQ(7, vbar->GetScrollRange());

    column.SetAttribute(L"vscrollbar", L"false");
    EXPECT_EQ(NULL, column.GetVerticalScrollBar());
    EXPECT_EQ(hbar, column.GetHorizontalScrollBar());
    column.SetAttribute(L"hscrollbar", L"false");
    EXPECT_EQ(NULL, column.GetHorizontalScrollBar());
}

TEST_F(ContainerScrollTest, ShrinkingContentClampsThePositionAndTheChildrenFollow)
{
    CVerticalLayoutUI* root = AttachColumn(4);
    root->EndDown();
    ASSERT_EQ(300, root->GetScrollPos().cy);
    root->RemoveAt(3);
    m_pm->UpdateLayout();
    CScrollBarUI* bar = root->GetVerticalScrollBar();
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(150, bar->GetScrollRange());
    EXPECT_EQ(150, root->GetScrollPos().cy);
    EXPECT_TRUE(RectEq(root->GetItemAt(0)->GetPos(), 0, -150, 384, 0));
    EXPECT_TRUE(RectEq(root->GetItemAt(2)->GetPos(), 0, 150, 384, 300));
}

TEST_F(ContainerScrollTest, MouseSwitchReachesBothBars)
{
    CVerticalLayoutUI column;
    column.SetAttribute(L"vscrollbar", L"true");
    column.SetAttribute(L"hscrollbar", L"true");
    column.SetMouseEnabled(false);
    EXPECT_FALSE(column.IsMouseEnabled());
    EXPECT_FALSE(column.GetVerticalScrollBar()->IsMouseEnabled());
    EXPECT_FALSE(column.GetHorizontalScrollBar()->IsMouseEnabled());
    column.SetMouseEnabled(true);
    EXPECT_TRUE(column.GetVerticalScrollBar()->IsMouseEnabled());
    EXPECT_TRUE(column.GetHorizontalScrollBar()->IsMouseEnabled());
}

} // namespace
