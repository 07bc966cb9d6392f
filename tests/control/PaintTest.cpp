// Tests of control and container painting, read back from a memory bitmap.
#include "veneer/core/UISetup.h"
#include "ControlTestUtil.h"
#include "render/DibCanvas.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

const DWORD kWhite = 0xFFFFFF;
const DWORD kRed = 0xFF0000;
const DWORD kGreen = 0x00FF00;
const DWORD kBlue = 0x0000FF;

// A white 200 x 200 surface read back as 0xRRGGBB.
class Canvas : public CDibCanvas
{
public:
    Canvas() : CDibCanvas(200, 200) {}
    HDC dc() const { return GetDC(); }
    DWORD At(int x, int y) const { return Get(x, y) & 0xFFFFFF; }
    // Through GDI, so that a clip left on the DC would show.
    void Fill(const RECT& rc, DWORD rgb)
    {
        HBRUSH brush = ::CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
        ::FillRect(GetDC(), &rc, brush);
        ::DeleteObject(brush);
    }
};

int Red(DWORD rgb) { return (rgb >> 16) & 0xFF; }
int Green(DWORD rgb) { return (rgb >> 8) & 0xFF; }

} // namespace

TEST(ControlPaint, OpaqueColourFillsOnlyThePaintAreaTranslucentTheWholeItem)
{
    Canvas canvas;
    CControlUI opaque;
    opaque.SetBkColor(0xFFFF0000);
    opaque.SetPos(Rc(0, 0, 100, 100));
    opaque.DoPaint(canvas.dc(), Rc(0, 0, 50, 50));
    EXPECT_EQ(kRed, canvas.At(25, 25));
    EXPECT_EQ(kWhite, canvas.At(75, 75));

    Canvas blend;
    CControlUI translucent;
    translucent.SetBkColor(0x80FF0000);
    translucent.SetPos(Rc(0, 0, 100, 100));
    translucent.DoPaint(blend.dc(), Rc(0, 0, 50, 50));
    DWORD outside = blend.At(75, 75);
    EXPECT_NE(kWhite, outside);
    EXPECT_EQ(255, Red(outside));
    EXPECT_LT(Green(outside), 255);
    EXPECT_EQ(kWhite, blend.At(150, 150));

    // A paint area that misses the control paints nothing.
    Canvas none;
    opaque.DoPaint(none.dc(), Rc(150, 150, 200, 200));
    EXPECT_EQ(kWhite, none.At(25, 25));
}

TEST(ControlPaint, ThreeColourGradientSplitsAtTheMiddle)
{
    Canvas canvas;
    CControlUI control;
    control.SetBkColor(0xFFFF0000);
    control.SetBkColor2(0xFF00FF00);
    control.SetBkColor3(0xFF00FF00);
    control.SetPos(Rc(0, 0, 20, 101));
    control.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    EXPECT_GT(Red(canvas.At(5, 0)), 200);
    // The lower half, from y = 50 on, runs from colour 2 to colour 3: all green here.
    EXPECT_EQ(kGreen, canvas.At(5, 50));
    EXPECT_EQ(kGreen, canvas.At(5, 100));
    EXPECT_EQ(kWhite, canvas.At(5, 101));
}

TEST(ControlPaint, BorderRules)
{
    Canvas canvas;
    CControlUI control;
    control.SetPos(Rc(10, 10, 60, 60));
    control.SetBorderSize(2);
    control.SetBorderColor(0xFF0000FF);
    control.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kBlue, canvas.At(10, 10));
    EXPECT_EQ(kBlue, canvas.At(11, 30));
    EXPECT_EQ(kBlue, canvas.At(59, 59));
    EXPECT_EQ(kWhite, canvas.At(12, 30));
    EXPECT_EQ(kWhite, canvas.At(9, 9));

    // Focused, the focus colour wins.
    control.SetFocusBorderColor(0xFF00FF00);
    TEventUI focus = MakeEvent(EVENT_SETFOCUS);
    control.Event(focus);
    control.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kGreen, canvas.At(10, 10));

    // Side sizes draw only their sides, in the border colour.
    Canvas sides;
    CControlUI side;
    side.SetPos(Rc(10, 10, 60, 60));
    side.SetAttribute(L"bordersize", L"3,0,0,0");
    side.SetBorderColor(0xFF0000FF);
    side.DoPaint(sides.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kBlue, sides.At(10, 30));
    EXPECT_EQ(kWhite, sides.At(30, 10));
    EXPECT_EQ(kWhite, sides.At(59, 30));

    // A focus colour alone draws nothing while the control is not focused.
    Canvas unfocused;
    CControlUI onlyFocus;
    onlyFocus.SetPos(Rc(10, 10, 60, 60));
    onlyFocus.SetBorderSize(2);
    onlyFocus.SetFocusBorderColor(0xFF00FF00);
    onlyFocus.DoPaint(unfocused.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kWhite, unfocused.At(10, 10));
    EXPECT_EQ(kWhite, unfocused.At(11, 30));
}

TEST(ControlPaint, RoundedControlsAreClippedToTheirCorners)
{
    Canvas canvas;
    CControlUI control;
    control.SetPos(Rc(0, 0, 100, 100));
    control.SetBkColor(0xFFFF0000);
    control.SetAttribute(L"borderround", L"40,40");
    control.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kWhite, canvas.At(1, 1));
    EXPECT_EQ(kRed, canvas.At(50, 50));
    EXPECT_EQ(kRed, canvas.At(50, 1));
    // The clip is gone after painting.
    canvas.Fill(Rc(0, 0, 200, 200), kBlue);
    EXPECT_EQ(kBlue, canvas.At(1, 1));
}

TEST(ContainerPaint, ChildrenAreClippedToTheInnerAreaFloatsToTheContainer)
{
    Canvas canvas;
    CVerticalLayoutUI layout;
    layout.SetInset(Rc(10, 10, 10, 10));
    CControlUI* tall = Fixed(0, 200);
    tall->SetBkColor(0xFFFF0000);
    CControlUI* corner = new CControlUI;
    corner->SetFloat(true);
    corner->SetAttribute(L"pos", L"0,0,20,20");
    corner->SetBkColor(0xFF00FF00);
    CControlUI* overhang = new CControlUI;
    overhang->SetFloat(true);
    overhang->SetAttribute(L"pos", L"90,90,120,120");
    overhang->SetBkColor(0xFF0000FF);
    layout.Add(tall);
    layout.Add(corner);
    layout.Add(overhang);
    layout.SetPos(Rc(0, 0, 100, 100));
    ASSERT_TRUE(RectEq(tall->GetPos(), 10, 10, 90, 210));

    layout.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kRed, canvas.At(50, 50));
    EXPECT_EQ(kWhite, canvas.At(50, 95));
    EXPECT_EQ(kWhite, canvas.At(50, 150));
    // A float child may cover the inset, but not leave the container.
    EXPECT_EQ(kGreen, canvas.At(5, 5));
    EXPECT_EQ(kBlue, canvas.At(95, 95));
    EXPECT_EQ(kWhite, canvas.At(110, 110));

    // A repaint of the inset alone reaches only the float children.
    canvas.Fill(Rc(0, 0, 200, 200), kWhite);
    layout.DoPaint(canvas.dc(), Rc(0, 0, 100, 8));
    EXPECT_EQ(kGreen, canvas.At(5, 5));
    EXPECT_EQ(kWhite, canvas.At(50, 50));

    // Both clips are released afterwards.
    canvas.Fill(Rc(0, 0, 200, 200), kBlue);
    EXPECT_EQ(kBlue, canvas.At(150, 150));
}

TEST(ContainerPaint, HiddenChildrenAreNotPainted)
{
    Canvas canvas;
    CContainerUI container;
    CControlUI* child = new CControlUI;
    child->SetBkColor(0xFFFF0000);
    container.Add(child);
    container.SetPos(Rc(0, 0, 50, 50));
    child->SetVisible(false);
    container.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kWhite, canvas.At(25, 25));
    child->SetVisible(true);
    container.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kRed, canvas.At(25, 25));
}

// A container whose own paint adds children, enough that the child array moves.
class CGrowingContainer : public CContainerUI
{
public:
    void PaintBkColor(HDC hDC) override
    {
        CContainerUI::PaintBkColor(hDC);
        if (GetCount() > 1) return;
        for (int i = 0; i < 64; ++i) {
            CControlUI* child = new CControlUI;
            child->SetBkColor(0xFF0000FF);
            child->SetPos(Rc(50, 0, 100, 50));
            child->SetVisible(i == 63);
            Add(child);
        }
    }
};

TEST(ContainerPaint, ChildrenAddedByTheContainersOwnPaintAreWalked)
{
    Canvas canvas;
    CGrowingContainer container;
    CControlUI* child = new CControlUI;
    child->SetBkColor(0xFFFF0000);
    child->SetPos(Rc(0, 0, 50, 50));
    container.Add(child);
    container.SetPos(Rc(0, 0, 100, 50));
    child->SetPos(Rc(0, 0, 50, 50));
    container.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(65, container.GetCount());
    EXPECT_EQ(kRed, canvas.At(25, 25));
    EXPECT_EQ(kBlue, canvas.At(75, 25));
}

TEST(ControlPaint, ABackgroundImageThatCannotBeDrawnIsDropped)
{
    // Without a paint manager there is no image cache to draw from.
    Canvas canvas;
    CControlUI control;
    control.SetPos(Rc(0, 0, 50, 50));
    control.SetBkImage(L"file='bk.png'");
    control.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    EXPECT_STREQ(L"", control.GetBkImage());
    EXPECT_EQ(kWhite, canvas.At(25, 25));
}

TEST(ControlPaint, TwoColourGradientRunsDownTheWholeItem)
{
    Canvas canvas;
    CControlUI control;
    control.SetBkColor(0xFFFF0000);
    control.SetBkColor2(0xFF0000FF);
    control.SetPos(Rc(0, 0, 20, 160));
    control.DoPaint(canvas.dc(), Rc(0, 0, 200, 200));
    DWORD top = canvas.At(5, 0);
    DWORD middle = canvas.At(5, 80);
    DWORD bottom = canvas.At(5, 159);
    EXPECT_GT(Red(top), 200);
    EXPECT_LT(static_cast<int>(top & 0xFF), 50);
    EXPECT_GT(static_cast<int>(bottom & 0xFF), 200);
    EXPECT_LT(Red(bottom), 50);
    EXPECT_GT(Red(middle), 60);
    EXPECT_GT(static_cast<int>(middle & 0xFF), 60);
    EXPECT_EQ(kWhite, canvas.At(5, 160));
}

TEST(ControlPaint, RoundedBorderTakesTheFocusColourWhenFocused)
{
    CControlUI control;
    control.SetPos(Rc(10, 10, 60, 60));
    control.SetAttribute(L"borderround", L"20,20");
    control.SetAttribute(L"bordersize", L"2");
    control.SetAttribute(L"bordercolor", L"#FF0000FF");
    control.SetAttribute(L"focusbordercolor", L"#FF00FF00");

    Canvas plain;
    control.DoPaint(plain.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kBlue, plain.At(10, 35));
    EXPECT_EQ(kBlue, plain.At(35, 59));
    // The corners are cut off and the inside is left alone.
    EXPECT_EQ(kWhite, plain.At(10, 10));
    EXPECT_EQ(kWhite, plain.At(59, 59));
    EXPECT_EQ(kWhite, plain.At(35, 35));

    TEventUI focus = MakeEvent(EVENT_SETFOCUS);
    control.Event(focus);
    Canvas focused;
    control.DoPaint(focused.dc(), Rc(0, 0, 200, 200));
    EXPECT_EQ(kGreen, focused.At(10, 35));
    EXPECT_EQ(kWhite, focused.At(10, 10));
}
