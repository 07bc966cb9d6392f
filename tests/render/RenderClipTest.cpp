// Tests of CRenderClip: narrowing, restoring, rounded clips and the temporary return to the old clip.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "DibCanvas.h"

using namespace Veneer;

namespace {

const DWORD kWhite = 0xFFFFFFFF;

// Paints the whole canvas through whatever clip the DC has.
void PaintAll(const CDibCanvas& canvas, DWORD color)
{
    const RECT rc = { 0, 0, canvas.GetWidth(), canvas.GetHeight() };
    CRenderEngine::DrawColor(canvas.GetDC(), rc, color);
}

void SelectOuterClip(const CDibCanvas& canvas, int left, int top, int right, int bottom)
{
    HRGN hOuter = ::CreateRectRgn(left, top, right, bottom);
    ::SelectClipRgn(canvas.GetDC(), hOuter);
    ::DeleteObject(hOuter);
}

bool Painted(const CDibCanvas& canvas, int x, int y, DWORD color)
{
    return (canvas.Get(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
}

} // namespace

TEST(RenderClip, PaintingStaysInsideAndTheOldClipComesBack)
{
    CDibCanvas canvas(40, 40, kWhite);
    {
        CRenderClip clip;
        const RECT rc = { 10, 10, 20, 20 };
        CRenderClip::GenerateClip(canvas.GetDC(), rc, clip);
        EXPECT_EQ(canvas.GetDC(), clip.hdc);
        EXPECT_TRUE(::EqualRect(&rc, &clip.rect));
        PaintAll(canvas, 0xFFFF0000);
        EXPECT_TRUE(Painted(canvas, 10, 10, 0xFF0000));
        EXPECT_TRUE(Painted(canvas, 19, 19, 0xFF0000));
        EXPECT_EQ(kWhite, canvas.Get(9, 10));
        EXPECT_EQ(kWhite, canvas.Get(20, 15));
        EXPECT_EQ(kWhite, canvas.Get(15, 20));
        EXPECT_EQ(40 * 40 - 100, canvas.CountOtherThan(0, 0, 40, 40, canvas.Get(15, 15)));
    }
    PaintAll(canvas, 0xFF0000FF);
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 40, 40, canvas.Get(0, 0)));
    EXPECT_TRUE(Painted(canvas, 39, 39, 0x0000FF));
}

TEST(RenderClip, NestedClipIntersectsWithTheOuterOneAndGivesItBack)
{
    CDibCanvas canvas(40, 40, kWhite);
    SelectOuterClip(canvas, 0, 0, 20, 40);
    {
        CRenderClip clip;
        const RECT rc = { 10, 0, 40, 40 };
        CRenderClip::GenerateClip(canvas.GetDC(), rc, clip);
        PaintAll(canvas, 0xFFFF0000);
        EXPECT_EQ(kWhite, canvas.Get(9, 5));
        EXPECT_TRUE(Painted(canvas, 10, 5, 0xFF0000));
        EXPECT_TRUE(Painted(canvas, 19, 5, 0xFF0000));
        EXPECT_EQ(kWhite, canvas.Get(20, 5));
    }
    // Back to the outer clip, not to the whole bitmap.
    PaintAll(canvas, 0xFF00FF00);
    EXPECT_TRUE(Painted(canvas, 0, 5, 0x00FF00));
    EXPECT_TRUE(Painted(canvas, 19, 5, 0x00FF00));
    EXPECT_EQ(kWhite, canvas.Get(20, 5));
}

TEST(RenderClip, UseOldClipLeavesTheControlForAMomentButNotTheOuterClip)
{
    CDibCanvas canvas(40, 40, kWhite);
    SelectOuterClip(canvas, 0, 0, 30, 30);
    CRenderClip clip;
    const RECT rc = { 10, 10, 35, 20 };
    CRenderClip::GenerateClip(canvas.GetDC(), rc, clip);

    CRenderClip::UseOldClipBegin(canvas.GetDC(), clip);
    PaintAll(canvas, 0xFFFF0000);
    EXPECT_TRUE(Painted(canvas, 0, 0, 0xFF0000));
    EXPECT_TRUE(Painted(canvas, 29, 29, 0xFF0000));
    EXPECT_EQ(kWhite, canvas.Get(30, 15));
    CRenderClip::UseOldClipEnd(canvas.GetDC(), clip);

    // Back inside the control, and still inside the outer clip: nothing beyond x = 30.
    PaintAll(canvas, 0xFF0000FF);
    EXPECT_TRUE(Painted(canvas, 0, 0, 0xFF0000));
    EXPECT_TRUE(Painted(canvas, 10, 10, 0x0000FF));
    EXPECT_TRUE(Painted(canvas, 29, 19, 0x0000FF));
    EXPECT_TRUE(Painted(canvas, 15, 20, 0xFF0000));
    EXPECT_EQ(kWhite, canvas.Get(30, 15));
    EXPECT_EQ(kWhite, canvas.Get(34, 15));
}

TEST(RenderClip, RoundClipCoversTheItemsLastColumnAndRowAndCutsTheCorners)
{
    CDibCanvas canvas(40, 40, kWhite);
    {
        CRenderClip clip;
        const RECT rc = { 0, 0, 40, 40 };
        const RECT rcItem = { 0, 0, 10, 10 };
        CRenderClip::GenerateRoundClip(canvas.GetDC(), rc, rcItem, 0, 0, clip);
        RECT rcBox;
        ASSERT_NE(ERROR, ::GetRgnBox(clip.hClipRgn, &rcBox));
        // A rounded region leaves out its right and bottom edge: built one pixel larger, it covers
        // exactly the item's pixels.
        const RECT rcExpected = { 0, 0, 10, 10 };
        EXPECT_TRUE(::EqualRect(&rcExpected, &rcBox))
            << rcBox.left << "," << rcBox.top << "," << rcBox.right << "," << rcBox.bottom;
    }
    {
        CRenderClip clip;
        const RECT rc = { 0, 0, 40, 40 };
        const RECT rcItem = { 0, 0, 30, 30 };
        CRenderClip::GenerateRoundClip(canvas.GetDC(), rc, rcItem, 16, 16, clip);
        PaintAll(canvas, 0xFFFF0000);
        EXPECT_TRUE(Painted(canvas, 15, 15, 0xFF0000));
        EXPECT_TRUE(Painted(canvas, 15, 0, 0xFF0000));
        EXPECT_TRUE(Painted(canvas, 29, 15, 0xFF0000));
        EXPECT_TRUE(Painted(canvas, 15, 29, 0xFF0000));
        EXPECT_EQ(kWhite, canvas.Get(0, 0));
        EXPECT_EQ(kWhite, canvas.Get(29, 29));
        EXPECT_EQ(kWhite, canvas.Get(30, 15));
    }
}

TEST(RenderClip, NestedClipGivesBackARoundedOuterClipWhole)
{
    CDibCanvas canvas(40, 40, kWhite);
    CRenderClip outer;
    const RECT rc = { 0, 0, 40, 40 };
    const RECT rcItem = { 0, 0, 39, 39 };
    CRenderClip::GenerateRoundClip(canvas.GetDC(), rc, rcItem, 20, 20, outer);
    {
        CRenderClip inner;
        const RECT rcInner = { 5, 5, 35, 35 };
        CRenderClip::GenerateClip(canvas.GetDC(), rcInner, inner);
    }
    PaintAll(canvas, 0xFFFF0000);
    EXPECT_TRUE(Painted(canvas, 20, 20, 0xFF0000));
    EXPECT_EQ(kWhite, canvas.Get(0, 0)) << "the rounded corner was lost";
    EXPECT_EQ(kWhite, canvas.Get(39, 39));
}

TEST(RenderClip, WorksInLogicalCoordinatesWhenTheOriginMoves)
{
    CDibCanvas canvas(40, 40, kWhite);
    ::SetViewportOrgEx(canvas.GetDC(), 5, 5, NULL);
    {
        CRenderClip clip;
        const RECT rc = { 0, 0, 10, 10 };
        CRenderClip::GenerateClip(canvas.GetDC(), rc, clip);
        const RECT rcAll = { -5, -5, 35, 35 };
        CRenderEngine::DrawColor(canvas.GetDC(), rcAll, 0xFFFF0000);
    }
    EXPECT_EQ(kWhite, canvas.Get(4, 4));
    EXPECT_TRUE(Painted(canvas, 5, 5, 0xFF0000));
    EXPECT_TRUE(Painted(canvas, 14, 14, 0xFF0000));
    EXPECT_EQ(kWhite, canvas.Get(15, 15));
}

TEST(RenderClip, AnUnusedRecordChangesNothing)
{
    CDibCanvas canvas(20, 20, kWhite);
    SelectOuterClip(canvas, 0, 0, 10, 10);
    {
        CRenderClip clip;
        EXPECT_EQ(NULL, clip.hdc);
        EXPECT_EQ(NULL, clip.hClipRgn);
        EXPECT_EQ(NULL, clip.hSavedRgn);
        CRenderClip::UseOldClipBegin(canvas.GetDC(), clip);
        CRenderClip::UseOldClipEnd(canvas.GetDC(), clip);
    }
    PaintAll(canvas, 0xFFFF0000);
    EXPECT_TRUE(Painted(canvas, 9, 9, 0xFF0000));
    EXPECT_EQ(kWhite, canvas.Get(10, 10));
}
