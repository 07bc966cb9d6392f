// Tests of the colour fills, gradients, lines, outlines, colour adjustment and the blend fallback.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "DibCanvas.h"

#include <set>

using namespace Veneer;

namespace {

const DWORD kWhite = 0xFFFFFFFF;
const DWORD kBlack = 0xFF000000;

class RenderBlendPath : public CBlendPathTest
{
};

int Red(DWORD color)
{
    return static_cast<int>((color >> 16) & 0xFF);
}

int Blue(DWORD color)
{
    return static_cast<int>(color & 0xFF);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(SystemAndFallback, RenderBlendPath, ::testing::Bool(), RenderBlendPath::PathName);

TEST_P(RenderBlendPath, DrawColorFillsOpaqueBlendsTranslucentAndSkipsTransparent)
{
    CDibCanvas canvas(30, 20, kWhite);
    const RECT rcLeft = { 0, 0, 10, 20 };
    const RECT rcMiddle = { 10, 0, 20, 20 };
    const RECT rcRight = { 20, 0, 30, 20 };
    CRenderEngine::DrawColor(canvas.GetDC(), rcLeft, 0x00FF0000);
    CRenderEngine::DrawColor(canvas.GetDC(), rcMiddle, 0xFFFF0000);
    CRenderEngine::DrawColor(canvas.GetDC(), rcRight, 0x80FF0000);
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 10, 20, kWhite));
    for (int x = 10; x < 20; ++x)
        EXPECT_TRUE(RgbNear(canvas.Get(x, 19), 0xFF0000, 0));
    // Half-covering red over white: full red, half of the white left in the other channels,
    // and the destination stays opaque.
    for (int x = 20; x < 30; x += 3)
        for (int y = 0; y < 20; y += 6)
            EXPECT_TRUE(ColorNear(canvas.Get(x, y), 0xFFFF7F7F, 2)) << x << "," << y;

    CDibCanvas dark(4, 4, kBlack);
    const RECT rcAll = { 0, 0, 4, 4 };
    CRenderEngine::DrawColor(dark.GetDC(), rcAll, 0x800000FF);
    EXPECT_TRUE(ColorNear(dark.Get(1, 1), 0xFF000080, 2));
}

TEST_P(RenderBlendPath, OpaqueGradientRunsFromFirstToSecondInBothDirections)
{
    CDibCanvas canvas(64, 64, kWhite);
    const RECT rc = { 0, 0, 64, 64 };
    CRenderEngine::DrawGradient(canvas.GetDC(), rc, 0xFFFF0000, 0xFF0000FF, true, 64);
    EXPECT_GE(Red(canvas.Get(5, 0)), 248);
    EXPECT_LE(Blue(canvas.Get(5, 0)), 7);
    EXPECT_GE(Blue(canvas.Get(5, 63)), 248);
    EXPECT_LE(Red(canvas.Get(5, 63)), 7);
    for (int y = 1; y < 64; ++y) {
        EXPECT_LE(Red(canvas.Get(5, y)), Red(canvas.Get(5, y - 1)));
        EXPECT_GE(Blue(canvas.Get(5, y)), Blue(canvas.Get(5, y - 1)));
        EXPECT_EQ(canvas.Get(0, y) & 0xFFFFFF, canvas.Get(63, y) & 0xFFFFFF) << "rows are uniform";
    }
    EXPECT_NEAR(128, Red(canvas.Get(5, 32)), 8);

    CRenderEngine::DrawGradient(canvas.GetDC(), rc, 0xFF000000, 0xFFFFFFFF, false, 64);
    EXPECT_LE(Red(canvas.Get(0, 5)), 7);
    EXPECT_GE(Red(canvas.Get(63, 5)), 248);
    for (int x = 1; x < 64; ++x)
        EXPECT_GE(Red(canvas.Get(x, 5)), Red(canvas.Get(x - 1, 5)));
}

TEST_P(RenderBlendPath, GradientStaysInsideItsRectangle)
{
    CDibCanvas canvas(30, 30, kWhite);
    const RECT rc = { 10, 10, 20, 20 };
    CRenderEngine::DrawGradient(canvas.GetDC(), rc, 0xFF000000, 0xFF000000, true, 8);
    CRenderEngine::DrawGradient(canvas.GetDC(), rc, 0x80000000, 0x80000000, false, 8);
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 30, 10, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 20, 30, 30, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 10, 10, 20, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(20, 10, 30, 20, kWhite));
    EXPECT_TRUE(RgbNear(canvas.Get(10, 10), 0, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(19, 19), 0, 0));
}

TEST_P(RenderBlendPath, TranslucentGradientBlendsWithTheAverageAlpha)
{
    CDibCanvas canvas(10, 64, kWhite);
    const RECT rc = { 0, 0, 10, 64 };
    // Alpha (255 + 0) / 2 = 127: black at the top lets 128/255 of the white through.
    CRenderEngine::DrawGradient(canvas.GetDC(), rc, 0xFF000000, 0x00FFFFFF, true, 64);
    EXPECT_TRUE(ColorNear(canvas.Get(3, 0), 0xFF808080, 4));
    EXPECT_TRUE(ColorNear(canvas.Get(3, 63), 0xFFFFFFFF, 4));

    CDibCanvas untouched(10, 10, kWhite);
    const RECT rcSmall = { 0, 0, 10, 10 };
    CRenderEngine::DrawGradient(untouched.GetDC(), rcSmall, 0x00000000, 0x01000000, true, 64);
    EXPECT_EQ(0, untouched.CountOtherThan(0, 0, 10, 10, kWhite));
}

TEST(RenderGradientBands, BandCountFollowsTheStepsAndBandZeroIsTheSecondColour)
{
    CRenderBlend::EnableSystemGradientFill(false);
    CDibCanvas canvas(8, 40, kWhite);
    const RECT rc = { 0, 0, 8, 40 };
    const DWORD first = 0xFF0000FF;
    const DWORD second = 0xFFFF0000;
    // steps 5 gives 4 bands of 10 rows: band i (from the bottom) mixes (4 - i) parts of second with i of first.
    CRenderEngine::DrawGradient(canvas.GetDC(), rc, first, second, true, 5);
    for (int i = 0; i < 4; ++i) {
        const DWORD red = (0xFF * (4 - i)) >> 2;
        const DWORD blue = (0xFF * i) >> 2;
        const DWORD expected = (red << 16) | blue;
        for (int y = 40 - (i + 1) * 10; y < 40 - i * 10; ++y)
            EXPECT_TRUE(RgbNear(canvas.Get(4, y), expected, 0)) << "band " << i << " row " << y;
    }

    CRenderEngine::DrawGradient(canvas.GetDC(), rc, first, second, true, 0);
    std::set<DWORD> two;
    for (int y = 0; y < 40; ++y)
        two.insert(canvas.Get(4, y) & 0xFFFFFF);
    EXPECT_EQ(2u, two.size());
    EXPECT_TRUE(RgbNear(canvas.Get(4, 39), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(4, 0), 0x7F007F, 0));

    CDibCanvas wide(128, 4, kWhite);
    const RECT rcWide = { 0, 0, 128, 4 };
    CRenderEngine::DrawGradient(wide.GetDC(), rcWide, first, second, false, 1000);
    std::set<DWORD> many;
    for (int x = 0; x < 128; ++x)
        many.insert(wide.Get(x, 2) & 0xFFFFFF);
    EXPECT_EQ(64u, many.size());
    EXPECT_TRUE(RgbNear(wide.Get(127, 2), 0xFF0000, 0)) << "second colour on the right";
    CRenderBlend::EnableSystemGradientFill(true);
}

TEST(RenderLines, LinesAndOutlinesLandOnExactPixels)
{
    CDibCanvas canvas(40, 40, kWhite);
    const RECT rcLine = { 5, 5, 30, 5 };
    // The alpha byte is not used by lines: 0x00 draws as opaque as 0xFF.
    CRenderEngine::DrawLine(canvas.GetDC(), rcLine, 1, 0x00123456);
    EXPECT_TRUE(RgbNear(canvas.Get(5, 5), 0x123456, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(29, 5), 0x123456, 0));
    EXPECT_EQ(kWhite, canvas.Get(30, 5));
    EXPECT_EQ(kWhite, canvas.Get(4, 5));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 4, 40, 5, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 6, 40, 7, kWhite));

    CDibCanvas frame(40, 40, kWhite);
    const RECT rcFrame = { 10, 10, 30, 30 };
    CRenderEngine::DrawRect(frame.GetDC(), rcFrame, 2, 0xFFFF0000);
    EXPECT_TRUE(RgbNear(frame.Get(10, 10), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(frame.Get(11, 20), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(frame.Get(28, 20), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(frame.Get(29, 29), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(frame.Get(20, 28), 0xFF0000, 0));
    EXPECT_EQ(0, frame.CountOtherThan(12, 12, 28, 28, kWhite)) << "the outline is hollow";
    EXPECT_EQ(0, frame.CountOtherThan(30, 0, 40, 40, kWhite)) << "the outline lies inside rc";
    EXPECT_EQ(0, frame.CountOtherThan(0, 30, 40, 40, kWhite));
    EXPECT_EQ(0, frame.CountOtherThan(0, 0, 10, 40, kWhite));

    CDibCanvas round(40, 40, kWhite);
    const RECT rcRound = { 0, 0, 40, 40 };
    CRenderEngine::DrawRoundRect(round.GetDC(), rcRound, 1, 20, 20, 0xFF0000FF);
    EXPECT_TRUE(RgbNear(round.Get(20, 0), 0x0000FF, 0));
    EXPECT_TRUE(RgbNear(round.Get(0, 20), 0x0000FF, 0));
    EXPECT_TRUE(RgbNear(round.Get(39, 20), 0x0000FF, 0));
    EXPECT_EQ(kWhite, round.Get(0, 0)) << "corners are rounded";
    EXPECT_EQ(kWhite, round.Get(39, 39));
    EXPECT_EQ(0, round.CountOtherThan(5, 5, 35, 35, kWhite));
}

TEST(RenderAdjustColor, HueSaturationAndLightness)
{
    const DWORD colors[] = { 0x80123456, 0xFF0000FF, 0x00FFFFFF, 0xFFABCDEF, 0 };
    for (DWORD color : colors) {
        EXPECT_EQ(color, CRenderEngine::AdjustColor(color, 180, 100, 100));
        EXPECT_EQ(color & 0xFF000000, CRenderEngine::AdjustColor(color, 180, 100, 0)) << "black, alpha kept";
    }
    // Byte 0 plays red: a hue turn of 120 degrees moves it to byte 1, and 240 to byte 2.
    EXPECT_EQ(0xFF00FF00u, CRenderEngine::AdjustColor(0xFF0000FF, 300, 100, 100));
    EXPECT_EQ(0xFFFF0000u, CRenderEngine::AdjustColor(0xFF0000FF, 60, 100, 100));
    // Half saturation: q = 0.75, p = 0.25.
    EXPECT_EQ(0xFF3F3FBFu, CRenderEngine::AdjustColor(0xFF0000FF, 180, 50, 100));
    // No saturation: grey of the same lightness (0.5 x 255, truncated).
    EXPECT_EQ(0xFF7F7F7Fu, CRenderEngine::AdjustColor(0xFF0000FF, 180, 0, 100));
    // Lightness beyond white is clamped.
    EXPECT_EQ(0x80FFFFFFu, CRenderEngine::AdjustColor(0x80808080, 180, 100, 200));
    // Hues a whole turn apart agree, however far out of range.
    const DWORD c = 0xFF3080C0;
    EXPECT_TRUE(ColorNear(CRenderEngine::AdjustColor(c, 250, 90, 100), CRenderEngine::AdjustColor(c, 250 + 720, 90, 100), 1));
    EXPECT_TRUE(ColorNear(CRenderEngine::AdjustColor(c, 250, 90, 100), CRenderEngine::AdjustColor(c, 250 - 1080, 90, 100), 1));
    // There and back with a one-degree turn stays close to the colour.
    EXPECT_TRUE(ColorNear(CRenderEngine::AdjustColor(c, 181, 100, 100), c, 3));
    EXPECT_TRUE(ColorNear(CRenderEngine::AdjustColor(c, 179, 100, 100), c, 3));
}

TEST(RenderBlendFallback, MatchesTheSystemBlendForPremultipliedSources)
{
    if (!CRenderBlend::HasSystemAlphaBlend()) GTEST_SKIP() << "no system AlphaBlend to compare with";
    CDibCanvas source(4, 1, 0);
    source.Set(0, 0, 0xFFFF0000);
    source.Set(1, 0, 0x80800000);  // half-covering red, premultiplied
    source.Set(2, 0, 0x00000000);
    source.Set(3, 0, 0x40102030);
    const BYTE fades[] = { 255, 128, 10 };
    for (BYTE fade : fades) {
        BLENDFUNCTION blend = { AC_SRC_OVER, 0, fade, AC_SRC_ALPHA };
        CDibCanvas system(8, 2, 0xFF2060A0);
        CDibCanvas own(8, 2, 0xFF2060A0);
        ASSERT_TRUE(CRenderBlend::AlphaBlend(system.GetDC(), 0, 0, 8, 2, source.GetDC(), 0, 0, 4, 1, blend));
        ASSERT_TRUE(CRenderBlend::OwnAlphaBlend(own.GetDC(), 0, 0, 8, 2, source.GetDC(), 0, 0, 4, 1, blend));
        for (int x = 0; x < 8; ++x)
            EXPECT_TRUE(ColorNear(own.Get(x, 1), system.Get(x, 1), 2)) << "fade " << int(fade) << " x " << x;
    }
    // Opaque red over the blue-ish background with fade 255 replaces it.
    CDibCanvas own(4, 1, 0xFF2060A0);
    BLENDFUNCTION opaque = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    ASSERT_TRUE(CRenderBlend::OwnAlphaBlend(own.GetDC(), 0, 0, 4, 1, source.GetDC(), 0, 0, 4, 1, opaque));
    EXPECT_EQ(0xFFFF0000u, own.Get(0, 0));
    EXPECT_EQ(0xFF903050u, own.Get(1, 0)) << "0x80 red + half of the background";
    EXPECT_EQ(0xFF2060A0u, own.Get(2, 0));
    // Without per-pixel alpha only the constant alpha weighs the source.
    BLENDFUNCTION constant = { AC_SRC_OVER, 0, 255, 0 };
    ASSERT_TRUE(CRenderBlend::OwnAlphaBlend(own.GetDC(), 0, 0, 4, 1, source.GetDC(), 0, 0, 4, 1, constant));
    EXPECT_EQ(0x00000000u, own.Get(2, 0));
    EXPECT_FALSE(CRenderBlend::OwnAlphaBlend(own.GetDC(), 0, 0, 0, 1, source.GetDC(), 0, 0, 4, 1, opaque));
    EXPECT_FALSE(CRenderBlend::OwnAlphaBlend(own.GetDC(), 0, 0, 4, 1, source.GetDC(), 0, 0, -4, 1, opaque));
}

TEST(RenderRects, IntersectionAgreesWithTheSystemForEveryPairOnASmallGrid)
{
    // Every pair of rectangles with corners on a 4 x 4 grid: overlapping, touching, apart, empty, inverted.
    int nDiffering = 0;
    for (int i = 0; i < 1 << 16; ++i) {
        const RECT a = {i & 3, (i >> 2) & 3, (i >> 4) & 3, (i >> 6) & 3};
        const RECT b = {(i >> 8) & 3, (i >> 10) & 3, (i >> 12) & 3, (i >> 14) & 3};
        RECT expected = {-9, -9, -9, -9};
        RECT actual = {-7, -7, -7, -7};
        const bool bExpected = ::IntersectRect(&expected, &a, &b) != FALSE;
        const bool bActual = RenderUtil::IntersectRects(actual, a, b);
        if (bExpected != bActual || !::EqualRect(&expected, &actual)) ++nDiffering;
    }
    EXPECT_EQ(0, nDiffering);
}
