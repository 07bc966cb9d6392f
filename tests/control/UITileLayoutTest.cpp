// Tests of CTileLayoutUI: grid positions from item size or column count, centring in cells, child
// padding, floats, scrolling through the window, and the builder tag.
#include "veneer/core/UISetup.h"
#include "control/NativeHostFixture.h"

using namespace Veneer;
using namespace VeneerTest;
using ControlTest::Fixed;
using ControlTest::Rc;
using ControlTest::RectEq;

namespace {

// A tile layout built from markup, without a manager, placed at the origin.
CTileLayoutUI* BuildTiles(LPCWSTR pstrXml)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(pstrXml);
    if (root == NULL) return NULL;
    return static_cast<CTileLayoutUI*>(root->GetInterface(L"TileLayout"));
}

TEST(TileLayout, ItemWidthDecidesTheColumnsAndRowsTakeTheTallestChild)
{
    CTileLayoutUI* tiles = BuildTiles(L"<Window><TileLayout itemsize=\"100,50\">"
                                      L"<Control height=\"40\" /><Control height=\"40\" /><Control height=\"40\" />"
                                      L"<Control height=\"40\" /><Control height=\"40\" /><Control height=\"40\" />"
                                      L"<Control height=\"40\" /></TileLayout></Window>");
    ASSERT_TRUE(tiles != NULL);
    EXPECT_STREQ(L"TileLayoutUI", tiles->GetClass());
    EXPECT_EQ(100, tiles->GetItemSize().cx);
    EXPECT_EQ(50, tiles->GetItemSize().cy);
    tiles->SetPos(Rc(0, 0, 300, 400));
    EXPECT_TRUE(RectEq(tiles->GetItemAt(0)->GetPos(), 0, 0, 100, 40));
    EXPECT_TRUE(RectEq(tiles->GetItemAt(2)->GetPos(), 200, 0, 300, 40));
    EXPECT_TRUE(RectEq(tiles->GetItemAt(3)->GetPos(), 0, 40, 100, 80));
    EXPECT_TRUE(RectEq(tiles->GetItemAt(6)->GetPos(), 0, 80, 100, 120));

    // Narrower than one item still makes one column.
    tiles->SetPos(Rc(0, 0, 60, 400));
    EXPECT_TRUE(RectEq(tiles->GetItemAt(1)->GetPos(), 0, 40, 60, 80));
    // A box with no room at all places its children without failing.
    tiles->SetPos(Rc(50, 50, 10, 10));
    EXPECT_EQ(50, tiles->GetItemAt(0)->GetPos().left);
    delete tiles;
}

TEST(TileLayout, ColumnCountHoldsWithoutItemWidthAndBadCountsAreIgnored)
{
    CTileLayoutUI tiles;
    for (int i = 0; i < 4; ++i) tiles.Add(Fixed(0, 30));
    tiles.SetAttribute(L"columns", L"3");
    tiles.SetAttribute(L"columns", L"0");
    tiles.SetAttribute(L"columns", L"-2");
    EXPECT_EQ(3, tiles.GetColumns());
    tiles.SetPos(Rc(0, 0, 600, 300));
    EXPECT_TRUE(RectEq(tiles.GetItemAt(2)->GetPos(), 400, 0, 600, 30));
    EXPECT_TRUE(RectEq(tiles.GetItemAt(3)->GetPos(), 0, 30, 200, 60));
    tiles.SetPos(Rc(0, 0, 90, 300));
    EXPECT_TRUE(RectEq(tiles.GetItemAt(2)->GetPos(), 60, 0, 90, 30));
}

TEST(TileLayout, ChildrenAreCentredInTheirCellsAndPaddingsShapeTheCells)
{
    CTileLayoutUI tiles;
    tiles.SetColumns(2);
    tiles.Add(Fixed(0, 40));
    tiles.Add(Fixed(50, 20));
    tiles.SetPos(Rc(0, 0, 200, 100));
    // Row height 40 from the first child; the second is centred in its 100 x 40 cell.
    EXPECT_TRUE(RectEq(tiles.GetItemAt(1)->GetPos(), 125, 10, 175, 30));

    CTileLayoutUI padded;
    padded.SetColumns(2);
    padded.SetChildPadding(10);
    CControlUI* first = Fixed(0, 30);
    first->SetPadding(Rc(2, 4, 0, 0));
    padded.Add(first);
    padded.Add(Fixed(0, 30));
    padded.Add(Fixed(0, 30));
    padded.SetPos(Rc(0, 0, 200, 300));
    // Cells of 100: the outer edges keep no half padding, the inner edges 5 each.
    EXPECT_TRUE(RectEq(padded.GetItemAt(0)->GetPos(), 2, 4, 95, 34));
    EXPECT_TRUE(RectEq(padded.GetItemAt(1)->GetPos(), 105, 2, 200, 32));
    // The next row starts below the tallest child and its paddings, plus the child padding.
    EXPECT_TRUE(RectEq(padded.GetItemAt(2)->GetPos(), 0, 44, 95, 74));
}

TEST(TileLayout, HiddenChildrenAreSkippedAndFloatsPlacedApart)
{
    CTileLayoutUI tiles;
    tiles.SetColumns(2);
    CControlUI* hidden = Fixed(0, 20);
    hidden->SetVisible(false);
    tiles.Add(hidden);
    CControlUI* floating = Fixed(30, 30);
    floating->SetFloat(true);
    floating->SetFixedXY(ControlTest::Sz(7, 9));
    tiles.Add(floating);
    tiles.Add(Fixed(0, 20));
    tiles.Add(Fixed(0, 20));
    tiles.SetPos(Rc(0, 0, 200, 100));
    EXPECT_TRUE(RectEq(tiles.GetItemAt(2)->GetPos(), 0, 0, 100, 20));
    EXPECT_TRUE(RectEq(tiles.GetItemAt(3)->GetPos(), 100, 0, 200, 20));
    EXPECT_TRUE(RectEq(floating->GetPos(), 7, 9, 37, 39));
}

class TileWindowTest : public NativeHostTest
{
};

TEST_F(TileWindowTest, ContentTallerThanTheBoxShowsTheBarAndTheWheelScrollsTheGrid)
{
    CControlUI* root = Build(L"<Window><TileLayout name=\"tiles\" columns=\"3\" vscrollbar=\"true\">"
                             L"<Control height=\"100\" /><Control height=\"100\" /><Control height=\"100\" />"
                             L"<Control height=\"100\" /><Control height=\"100\" /><Control height=\"100\" />"
                             L"<Control height=\"100\" /><Control height=\"100\" /><Control height=\"100\" />"
                             L"<Control name=\"last\" height=\"100\" /></TileLayout></Window>");
    ASSERT_TRUE(root != NULL);
    CTileLayoutUI* tiles = static_cast<CTileLayoutUI*>(root->GetInterface(L"TileLayout"));
    ASSERT_TRUE(tiles != NULL);
    CScrollBarUI* bar = tiles->GetVerticalScrollBar();
    ASSERT_TRUE(bar != NULL);
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(400 - kHeight, tiles->GetScrollRange().cy);
    // The bar takes its width from the columns.
    const int cxCell = (kWidth - bar->GetFixedWidth()) / 3;
    CControlUI* last = Find(L"last");
    EXPECT_TRUE(RectEq(last->GetPos(), 0, 300, cxCell, 400));

    // The wheel message carries screen coordinates.
    POINT pt = { 60, 60 };
    ::ClientToScreen(m_hWnd, &pt);
    ::SendMessageW(m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    Pump();
    const int scrolled = tiles->GetScrollPos().cy;
    EXPECT_GT(scrolled, 0);
    EXPECT_EQ(300 - scrolled, last->GetPos().top);
    // A new layout keeps the scrolled place.
    tiles->SetPos(tiles->GetPos());
    EXPECT_EQ(300 - scrolled, last->GetPos().top);

    tiles->EndDown();
    EXPECT_EQ(kHeight - 100, last->GetPos().top);
}

} // namespace
