// Tests of CRenderEngine::DrawImage: nine-grid pieces, the fast copy, source parts, fade, hole, tiling.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "DibCanvas.h"

using namespace Veneer;

namespace {

const DWORD kWhite = 0xFFFFFFFF;
const RECT kNoCorners = { 0, 0, 0, 0 };

class RenderImageBlend : public CBlendPathTest
{
};

// A 12 x 12 image in nine regions (3-pixel borders): each region one opaque colour, except the
// top-left corner, a checker pattern that shows whether it was scaled.
const int kGrid = 12;
const int kBorder = 3;

DWORD RegionColor(int rx, int ry)
{
    return 0xFF000000 | static_cast<DWORD>(0x30 + rx * 0x50) << 16 | static_cast<DWORD>(0x30 + ry * 0x50) << 8 | 0x99;
}

DWORD CheckerColor(int x, int y)
{
    return (x + y) % 2 ? 0xFF102030 : 0xFFE0D0C0;
}

void PaintGrid(CTestBitmap& image)
{
    for (int y = 0; y < kGrid; ++y) {
        for (int x = 0; x < kGrid; ++x) {
            const int rx = x < kBorder ? 0 : (x < kGrid - kBorder ? 1 : 2);
            const int ry = y < kBorder ? 0 : (y < kGrid - kBorder ? 1 : 2);
            image.Set(x, y, rx == 0 && ry == 0 ? CheckerColor(x, y) : RegionColor(rx, ry));
        }
    }
}

// Unique colour per pixel, for checking which source pixel landed where.
DWORD PatternColor(int x, int y)
{
    return 0xFF000000 | static_cast<DWORD>(x * 16 + 8) << 16 | static_cast<DWORD>(y * 16 + 8) << 8 | 0x55;
}

void PaintPattern(CTestBitmap& image)
{
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            image.Set(x, y, PatternColor(x, y));
}

// Every pixel of the rectangle (shrunk by inset, to stay clear of halftoned seams) has the colour.
::testing::AssertionResult AreaIs(const CDibCanvas& canvas, int left, int top, int right, int bottom, DWORD color,
                                  int inset = 1)
{
    for (int y = top + inset; y < bottom - inset; ++y)
        for (int x = left + inset; x < right - inset; ++x)
            if (!RgbNear(canvas.Get(x, y), color, 0))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex
                                                     << canvas.Get(x, y) << ", not " << color;
    return ::testing::AssertionSuccess();
}

} // namespace

INSTANTIATE_TEST_SUITE_P(SystemAndFallback, RenderImageBlend, ::testing::Bool(), RenderImageBlend::PathName);

TEST(RenderImage, NineGridKeepsCornersUnscaledAndStretchesEdgesAndMiddle)
{
    CTestBitmap image(kGrid, kGrid);
    PaintGrid(image);
    CDibCanvas canvas(60, 50, kWhite);
    const RECT rc = { 5, 5, 55, 45 };
    const RECT rcAll = { 0, 0, 60, 50 };
    const RECT rcSource = { 0, 0, kGrid, kGrid };
    const RECT rcCorners = { kBorder, kBorder, kBorder, kBorder };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcAll, rcSource, rcCorners, false);

    for (int y = 0; y < kBorder; ++y)
        for (int x = 0; x < kBorder; ++x)
            EXPECT_TRUE(RgbNear(canvas.Get(5 + x, 5 + y), CheckerColor(x, y), 0)) << x << "," << y;
    EXPECT_TRUE(AreaIs(canvas, 52, 5, 55, 8, RegionColor(2, 0), 0));
    EXPECT_TRUE(AreaIs(canvas, 5, 42, 8, 45, RegionColor(0, 2), 0));
    EXPECT_TRUE(AreaIs(canvas, 52, 42, 55, 45, RegionColor(2, 2), 0));
    EXPECT_TRUE(AreaIs(canvas, 8, 5, 52, 8, RegionColor(1, 0)));
    EXPECT_TRUE(AreaIs(canvas, 8, 42, 52, 45, RegionColor(1, 2)));
    EXPECT_TRUE(AreaIs(canvas, 5, 8, 8, 42, RegionColor(0, 1)));
    EXPECT_TRUE(AreaIs(canvas, 52, 8, 55, 42, RegionColor(2, 1)));
    EXPECT_TRUE(AreaIs(canvas, 8, 8, 52, 42, RegionColor(1, 1)));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 60, 5, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 45, 60, 50, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 5, 50, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(55, 0, 60, 50, kWhite));
}

TEST(RenderImage, SameSizeCopiesOnlyThePaintedPartOfTheSource)
{
    CTestBitmap image(14, 14);
    PaintPattern(image);
    CDibCanvas canvas(20, 20, kWhite);
    const RECT rc = { 5, 5, 15, 15 };
    const RECT rcPaint = { 8, 8, 12, 12 };
    const RECT rcSource = { 2, 3, 12, 13 };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcPaint, rcSource, kNoCorners, false);
    for (int y = 8; y < 12; ++y)
        for (int x = 8; x < 12; ++x)
            EXPECT_TRUE(RgbNear(canvas.Get(x, y), PatternColor(x - 5 + 2, y - 5 + 3), 0)) << x << "," << y;
    EXPECT_EQ(16, canvas.CountOtherThan(0, 0, 20, 20, kWhite));
}

TEST(RenderImage, PiecesOutsideThePaintRectangleAreSkipped)
{
    CTestBitmap image(kGrid, kGrid);
    PaintGrid(image);
    CDibCanvas canvas(40, 40, kWhite);
    const RECT rc = { 0, 0, 40, 40 };
    const RECT rcPaint = { 0, 0, 3, 3 };
    const RECT rcSource = { 0, 0, kGrid, kGrid };
    const RECT rcCorners = { kBorder, kBorder, kBorder, kBorder };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcPaint, rcSource, rcCorners, false);
    EXPECT_TRUE(RgbNear(canvas.Get(1, 1), CheckerColor(1, 1), 0));
    EXPECT_EQ(0, canvas.CountOtherThan(3, 0, 40, 40, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 3, 40, 40, kWhite));
}

TEST(RenderImage, SourcePartIsCutToTheBitmap)
{
    CTestBitmap image(kGrid, kGrid);
    PaintGrid(image);
    CDibCanvas canvas(30, 30, kWhite);
    const RECT rcAll = { 0, 0, 30, 30 };
    // The middle region alone, stretched over the whole destination.
    const RECT rcMiddle = { kBorder, kBorder, kGrid - kBorder, kGrid - kBorder };
    const RECT rc = { 0, 0, 30, 30 };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcAll, rcMiddle, kNoCorners, false);
    EXPECT_TRUE(AreaIs(canvas, 0, 0, 30, 30, RegionColor(1, 1)));

    // A source reaching past the right edge stops at the image: 3 columns of the right border.
    CDibCanvas copy(10, 20, kWhite);
    const RECT rcWide = { kGrid - kBorder, 0, 100, kGrid };
    const RECT rcCopy = { 0, 0, kBorder, kGrid };
    const RECT rcCopyPaint = { 0, 0, 10, 20 };
    CRenderEngine::DrawImage(copy.GetDC(), image.GetBitmap(), rcCopy, rcCopyPaint, rcWide, kNoCorners, false);
    EXPECT_TRUE(AreaIs(copy, 0, 0, kBorder, kBorder, RegionColor(2, 0), 0));
    EXPECT_TRUE(AreaIs(copy, 0, kBorder, kBorder, kGrid - kBorder, RegionColor(2, 1), 0));
    EXPECT_EQ(0, copy.CountOtherThan(kBorder, 0, 10, 20, kWhite));
}

TEST_P(RenderImageBlend, FadeBlendsAnOpaqueImageHalfTransparent)
{
    CTestBitmap image(4, 4, 0xFFFF0000);
    CDibCanvas canvas(8, 8, kWhite);
    const RECT rc = { 2, 2, 6, 6 };
    const RECT rcAll = { 0, 0, 8, 8 };
    const RECT rcSource = { 0, 0, 4, 4 };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcAll, rcSource, kNoCorners, false, 128);
    EXPECT_TRUE(ColorNear(canvas.Get(3, 3), 0xFFFF7F7F, 2));
    EXPECT_TRUE(ColorNear(canvas.Get(5, 5), 0xFFFF7F7F, 2));
    EXPECT_EQ(kWhite, canvas.Get(1, 1));
    EXPECT_EQ(kWhite, canvas.Get(6, 6));
}

TEST_P(RenderImageBlend, PerPixelAlphaKeepsTransparentPixelsOut)
{
    CTestBitmap image(2, 1);
    image.Set(0, 0, 0x00000000);
    image.Set(1, 0, 0x80800000);
    CDibCanvas canvas(2, 1, kWhite);
    const RECT rc = { 0, 0, 2, 1 };
    const RECT rcSource = { 0, 0, 2, 1 };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rc, rcSource, kNoCorners, true);
    EXPECT_TRUE(ColorNear(canvas.Get(0, 0), kWhite, 1));
    EXPECT_TRUE(ColorNear(canvas.Get(1, 0), 0xFFFF7F7F, 2));
}

TEST_P(RenderImageBlend, HoleLeavesTheMiddleUntouched)
{
    CTestBitmap image(kGrid, kGrid);
    PaintGrid(image);
    CDibCanvas canvas(40, 40, kWhite);
    const RECT rc = { 0, 0, 40, 40 };
    const RECT rcSource = { 0, 0, kGrid, kGrid };
    const RECT rcCorners = { kBorder, kBorder, kBorder, kBorder };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rc, rcSource, rcCorners, true, 255, true);
    EXPECT_EQ(0, canvas.CountOtherThan(kBorder, kBorder, 40 - kBorder, 40 - kBorder, kWhite));
    EXPECT_TRUE(AreaIs(canvas, kBorder, 0, 40 - kBorder, kBorder, RegionColor(1, 0)));
    EXPECT_TRUE(AreaIs(canvas, 37, 37, 40, 40, RegionColor(2, 2), 0));

    // Without corners the whole image is the middle: nothing at all, even at the same size.
    CDibCanvas same(kGrid, kGrid, kWhite);
    const RECT rcSame = { 0, 0, kGrid, kGrid };
    CRenderEngine::DrawImage(same.GetDC(), image.GetBitmap(), rcSame, rcSame, rcSource, kNoCorners, false, 255, true);
    EXPECT_EQ(0, same.CountOtherThan(0, 0, kGrid, kGrid, kWhite));
}

TEST_P(RenderImageBlend, TilingRepeatsTheMiddleAndCropsTheLastTile)
{
    CTestBitmap image(10, 4);
    PaintPattern(image);
    const RECT rcSource = { 0, 0, 10, 4 };

    // Horizontal: 25 columns are tiles 10, 10 and 5 wide; each stretched over the full height.
    CDibCanvas across(30, 8, kWhite);
    const RECT rcAcross = { 0, 0, 25, 8 };
    const RECT rcAllAcross = { 0, 0, 30, 8 };
    CRenderEngine::DrawImage(across.GetDC(), image.GetBitmap(), rcAcross, rcAllAcross, rcSource, kNoCorners, true,
                             255, false, true, false);
    for (int x = 0; x < 25; ++x) {
        // Rows 0 and 7 come from source rows 0 and 3: the red channel tells the source column.
        EXPECT_TRUE(RgbNear(across.Get(x, 0), PatternColor(x % 10, 0), 0)) << "column " << x;
        EXPECT_TRUE(RgbNear(across.Get(x, 7), PatternColor(x % 10, 3), 0)) << "column " << x;
    }
    EXPECT_EQ(0, across.CountOtherThan(25, 0, 30, 8, kWhite));

    // Both directions: every pixel is its source pixel modulo the tile size.
    CDibCanvas both(30, 12, kWhite);
    const RECT rcBoth = { 0, 0, 25, 9 };
    const RECT rcAllBoth = { 0, 0, 30, 12 };
    CRenderEngine::DrawImage(both.GetDC(), image.GetBitmap(), rcBoth, rcAllBoth, rcSource, kNoCorners, true, 255,
                             false, true, true);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 25; ++x)
            EXPECT_TRUE(RgbNear(both.Get(x, y), PatternColor(x % 10, y % 4), 0)) << x << "," << y;
    EXPECT_EQ(0, both.CountOtherThan(25, 0, 30, 12, kWhite));
    EXPECT_EQ(0, both.CountOtherThan(0, 9, 30, 12, kWhite));
}

TEST(RenderImage, VerticalTilingRepeatsRowsAcrossTheFullWidth)
{
    CTestBitmap image(4, 10);
    PaintPattern(image);
    CDibCanvas canvas(8, 30, kWhite);
    const RECT rc = { 0, 0, 8, 25 };
    const RECT rcAll = { 0, 0, 8, 30 };
    const RECT rcSource = { 0, 0, 4, 10 };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcAll, rcSource, kNoCorners, false, 255, false,
                             false, true);
    for (int y = 0; y < 25; ++y) {
        EXPECT_TRUE(RgbNear(canvas.Get(0, y), PatternColor(0, y % 10), 0)) << "row " << y;
        EXPECT_TRUE(RgbNear(canvas.Get(7, y), PatternColor(3, y % 10), 0)) << "row " << y;
    }
    EXPECT_EQ(0, canvas.CountOtherThan(0, 25, 8, 30, kWhite));
}

TEST(RenderImage, DegenerateSizesDrawSafely)
{
    CTestBitmap image(kGrid, kGrid);
    PaintGrid(image);
    CDibCanvas canvas(40, 40, kWhite);
    const RECT rc = { 10, 10, 30, 30 };
    const RECT rcAll = { 0, 0, 40, 40 };
    const RECT rcSource = { 0, 0, kGrid, kGrid };

    // Corners larger than the image are cut to it; nothing lands outside rc.
    const RECT rcHuge = { 50, 50, 50, 50 };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcAll, rcSource, rcHuge, false);
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcAll, rcSource, rcHuge, true, 200, false, true,
                             true);
    const RECT rcNegative = { -5, -5, -5, -5 };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcAll, rcSource, rcNegative, false);
    // Corners that leave no middle: tiling has no tile to repeat.
    const RECT rcHalf = { 6, 6, 6, 6 };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rc, rcAll, rcSource, rcHalf, false, 255, false, true,
                             true);
    // A destination smaller than its corners.
    const RECT rcTiny = { 10, 10, 14, 14 };
    const RECT rcCorners = { kBorder, kBorder, kBorder, kBorder };
    CRenderEngine::DrawImage(canvas.GetDC(), image.GetBitmap(), rcTiny, rcAll, rcSource, rcCorners, false);
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 40, 10, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 30, 40, 40, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 10, 40, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(30, 0, 40, 40, kWhite));

    // Empty sources, source rectangles off the bitmap, no bitmap or no bitmap at all: nothing drawn.
    CDibCanvas blank(40, 40, kWhite);
    const RECT rcEmpty = { 3, 3, 3, 8 };
    const RECT rcOff = { 20, 20, 40, 40 };
    CRenderEngine::DrawImage(blank.GetDC(), image.GetBitmap(), rc, rcAll, rcEmpty, kNoCorners, false);
    CRenderEngine::DrawImage(blank.GetDC(), image.GetBitmap(), rc, rcAll, rcOff, kNoCorners, true);
    CRenderEngine::DrawImage(blank.GetDC(), NULL, rc, rcAll, rcSource, kNoCorners, false);
    HBRUSH hBrush = ::CreateSolidBrush(RGB(1, 2, 3));
    CRenderEngine::DrawImage(blank.GetDC(), reinterpret_cast<HBITMAP>(hBrush), rc, rcAll, rcSource, kNoCorners, false);
    ::DeleteObject(hBrush);
    EXPECT_EQ(0, blank.CountOtherThan(0, 0, 40, 40, kWhite));
}
