// Pictures at display scales: the resampler, the @2x picture picked over a resampled one, and nine-grid
// corners, sources and destinations drawn scaled, read back by pixel.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"
#include "DibCanvas.h"
#include "support/ResourceScope.h"
#include "support/TempFolder.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

const DWORD kRed = 0xFFFF0000;
const DWORD kWhite = 0xFFFFFFFF;
const DWORD kGreen = 0xFF00FF00;
const DWORD kBlue = 0xFF0000FF;

int Scaled(int v, int dpi)
{
    return (v * dpi + 48) / 96;
}

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

// A PNG of a ring of `border` pixels in one colour around a middle of another.
std::string RingPng(int size, int border, DWORD ring, DWORD middle)
{
    std::vector<BYTE> rgba;
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) {
            const bool inRing = x < border || y < border || x >= size - border || y >= size - border;
            const DWORD c = inRing ? ring : middle;
            rgba.insert(rgba.end(), {BYTE(c >> 16), BYTE(c >> 8), BYTE(c), BYTE(c >> 24)});
        }
    }
    std::string png;
    stbi_write_png_to_func(AppendBytes, &png, size, size, 4, rgba.data(), size * 4);
    return png;
}

// A PNG strip of square frames side by side, one colour each.
std::string StripPng(int frame, const std::vector<DWORD>& colors)
{
    const int cx = frame * static_cast<int>(colors.size());
    std::vector<BYTE> rgba;
    for (int y = 0; y < frame; y++) {
        for (int x = 0; x < cx; x++) {
            const DWORD c = colors[x / frame];
            rgba.insert(rgba.end(), {BYTE(c >> 16), BYTE(c >> 8), BYTE(c), BYTE(c >> 24)});
        }
    }
    std::string png;
    stbi_write_png_to_func(AppendBytes, &png, cx, frame, 4, rgba.data(), cx * 4);
    return png;
}

class RenderImageScale : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.IsValid());
        // "ring" has a picture of its own at twice the pixels, in other colours, so the one drawn shows.
        ASSERT_TRUE(m_folder.WriteFile(L"ring.png", RingPng(12, 4, kRed, kWhite)));
        ASSERT_TRUE(m_folder.WriteFile(L"ring@2x.png", RingPng(24, 8, kGreen, kBlue)));
        ASSERT_TRUE(m_folder.WriteFile(L"plain.png", RingPng(12, 4, kGreen, kBlue)));
        ASSERT_TRUE(m_folder.WriteFile(L"strip.png", StripPng(2, {kRed, kGreen, kBlue})));
        ASSERT_TRUE(m_folder.WriteFile(L"strip@2x.png", StripPng(4, {kRed, kGreen, kBlue})));
        CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    }

    void Draw(const CDibCanvas& canvas, const RECT& rc, LPCWSTR image)
    {
        const RECT rcPaint = {0, 0, canvas.GetWidth(), canvas.GetHeight()};
        EXPECT_TRUE(CRenderEngine::DrawImageString(canvas.GetDC(), &m_manager, rc, rcPaint, image, NULL));
    }

    CResourceScope m_scope;
    CTempFolder m_folder;
    CPaintManagerUI m_manager;
};

} // namespace

TEST(ScaleImage, ResamplesWithoutBleedingFarFromEdgesAndWithoutAliasingWhenReducing)
{
    // Red left half, blue right half, enlarged twice: away from the seam the colours stay pure.
    CTestBitmap halves(8, 2, kRed);
    halves.FillRect(4, 0, 8, 2, kBlue);
    TImageInfo source = {halves.GetBitmap(), 8, 2, false, CUIString(), 0};
    TImageInfo* pLarge = CRenderEngine::ScaleImage(&source, 16, 4);
    ASSERT_TRUE(pLarge != NULL);
    ASSERT_EQ(16, pLarge->nWidth);
    ASSERT_EQ(4, pLarge->nHeight);
    DIBSECTION ds = {};
    ASSERT_EQ(static_cast<int>(sizeof(ds)), ::GetObjectW(pLarge->hBmp, sizeof(ds), &ds));
    const DWORD* pBits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    for (int y = 0; y < 4; y++) {
        for (int x = 0; x <= 4; x++) EXPECT_EQ(kRed, pBits[y * 16 + x]) << x;
        for (int x = 11; x < 16; x++) EXPECT_EQ(kBlue, pBits[y * 16 + x]) << x;
    }
    CRenderEngine::FreeImage(pLarge);

    // Rows keep their order: red on top, blue below.
    CTestBitmap upper(2, 8, kBlue);
    upper.FillRect(0, 0, 2, 4, kRed);
    TImageInfo tall = {upper.GetBitmap(), 2, 8, false, CUIString(), 0};
    TImageInfo* pTall = CRenderEngine::ScaleImage(&tall, 3, 12);
    ASSERT_TRUE(pTall != NULL);
    ASSERT_EQ(static_cast<int>(sizeof(ds)), ::GetObjectW(pTall->hBmp, sizeof(ds), &ds));
    pBits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    EXPECT_EQ(kRed, pBits[0]);
    EXPECT_EQ(kBlue, pBits[11 * 3 + 2]);
    CRenderEngine::FreeImage(pTall);

    // One-pixel stripes reduced to half are grey, not every other stripe (the edges repeat their pixel).
    CTestBitmap stripes(16, 4, 0xFF000000);
    for (int x = 1; x < 16; x += 2) stripes.FillRect(x, 0, x + 1, 4, kWhite);
    TImageInfo striped = {stripes.GetBitmap(), 16, 4, false, CUIString(), 0};
    TImageInfo* pSmall = CRenderEngine::ScaleImage(&striped, 8, 2);
    ASSERT_TRUE(pSmall != NULL);
    ASSERT_EQ(static_cast<int>(sizeof(ds)), ::GetObjectW(pSmall->hBmp, sizeof(ds), &ds));
    pBits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    for (int x = 1; x < 7; x++) EXPECT_TRUE(ColorNear(pBits[x], 0xFF808080, 12)) << x;
    CRenderEngine::FreeImage(pSmall);

    // Premultiplied pixels stay valid (no channel above its alpha) next to transparency, and an opaque
    // picture whose alpha bytes are 0 comes out opaque with its colours.
    CTestBitmap edge(4, 4, 0);
    edge.FillRect(2, 0, 4, 4, kRed);
    TImageInfo translucent = {edge.GetBitmap(), 4, 4, true, CUIString(), 0};
    TImageInfo* pEdge = CRenderEngine::ScaleImage(&translucent, 7, 7);
    ASSERT_TRUE(pEdge != NULL);
    ASSERT_EQ(static_cast<int>(sizeof(ds)), ::GetObjectW(pEdge->hBmp, sizeof(ds), &ds));
    pBits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    for (int i = 0; i < 49; i++) EXPECT_LE((pBits[i] >> 16) & 0xFF, pBits[i] >> 24) << i;
    EXPECT_EQ(0u, pBits[0]);
    CRenderEngine::FreeImage(pEdge);
    CTestBitmap noAlpha(2, 2, 0x00336699);
    TImageInfo opaque = {noAlpha.GetBitmap(), 2, 2, false, CUIString(), 0};
    TImageInfo* pOpaque = CRenderEngine::ScaleImage(&opaque, 3, 3);
    ASSERT_TRUE(pOpaque != NULL);
    ASSERT_EQ(static_cast<int>(sizeof(ds)), ::GetObjectW(pOpaque->hBmp, sizeof(ds), &ds));
    EXPECT_EQ(0xFF336699u, static_cast<const DWORD*>(ds.dsBm.bmBits)[4]);
    CRenderEngine::FreeImage(pOpaque);

    EXPECT_EQ(nullptr, CRenderEngine::ScaleImage(NULL, 4, 4));
    EXPECT_EQ(nullptr, CRenderEngine::ScaleImage(&opaque, 0, 4));
    EXPECT_EQ(nullptr, CRenderEngine::ScaleImage(&opaque, 100000, 100000));
}

TEST_F(RenderImageScale, PicturesAreMadeOncePerScaleAndTheTwiceSizedOneIsPreferred)
{
    TImageInfo* pBase = m_manager.GetScaledImage(L"ring.png");
    ASSERT_TRUE(pBase != NULL);
    EXPECT_EQ(pBase, m_manager.GetImageEx(L"ring.png"));
    const struct
    {
        int dpi;
        int size;
    } cases[] = {{120, 15}, {144, 18}, {192, 24}, {240, 30}, {72, 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        m_manager.SetDPI(c.dpi);
        TImageInfo* pScaled = m_manager.GetScaledImage(L"ring.png");
        ASSERT_TRUE(pScaled != NULL);
        EXPECT_EQ(c.size, pScaled->nWidth);
        EXPECT_EQ(c.size, pScaled->nHeight);
        EXPECT_EQ(pScaled, m_manager.GetScaledImage(L"ring.png"));
        // The 96-DPI picture keeps its place and size.
        EXPECT_EQ(pBase, m_manager.GetImage(L"ring.png"));
        EXPECT_EQ(12, pBase->nWidth);
    }
    EXPECT_EQ(nullptr, m_manager.GetScaledImage(L"missing.png"));
    EXPECT_EQ(nullptr, m_manager.GetScaledImage(L""));
    // Removing a name takes every scale with it; the next draw makes it again.
    EXPECT_TRUE(m_manager.RemoveImage(L"ring.png"));
    EXPECT_EQ(nullptr, m_manager.GetImage(L"ring.png"));
    TImageInfo* pAgain = m_manager.GetScaledImage(L"ring.png");
    ASSERT_TRUE(pAgain != NULL);
    EXPECT_EQ(9, pAgain->nWidth);
}

TEST_F(RenderImageScale, NineGridCornersStaySharpAndKeepTheirScaledWidth)
{
    for (int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        m_manager.SetDPI(dpi);
        const int corner = Scaled(4, dpi);
        const RECT rc = {0, 0, Scaled(60, dpi), Scaled(40, dpi)};
        // At 100 % the 96-DPI picture; above it the twice-sized one (reduced where the scale is lower).
        const bool twice = dpi > 96;
        const DWORD ring = twice ? kGreen : kRed;
        const DWORD middle = twice ? kBlue : kWhite;
        // Exact where a picture is drawn at its own scale; resampled ones blend a pixel at the seam.
        const bool exact = dpi == 96 || dpi == 192;
        const int tolerance = exact ? 0 : 40;
        CDibCanvas canvas(rc.right + 4, rc.bottom + 4, 0xFF000000);
        Draw(canvas, rc, L"file='ring.png' corner='4,4,4,4'");
        for (int x : {0, corner - 2}) {
            EXPECT_TRUE(RgbNear(canvas.Get(x, rc.bottom / 2), ring, tolerance)) << x;
            EXPECT_TRUE(RgbNear(canvas.Get(rc.right - 1 - x, rc.bottom / 2), ring, tolerance)) << x;
            EXPECT_TRUE(RgbNear(canvas.Get(rc.right / 2, x), ring, tolerance)) << x;
        }
        EXPECT_TRUE(RgbNear(canvas.Get(rc.right / 2, rc.bottom / 2), middle, 0));
        if (exact) {
            // The corner ends exactly at its scaled width on every side.
            EXPECT_EQ(ring & 0xFFFFFF, canvas.Get(corner - 1, rc.bottom / 2) & 0xFFFFFF);
            EXPECT_EQ(middle & 0xFFFFFF, canvas.Get(corner, rc.bottom / 2) & 0xFFFFFF);
            EXPECT_EQ(ring & 0xFFFFFF, canvas.Get(rc.right - corner, rc.bottom / 2) & 0xFFFFFF);
            EXPECT_EQ(middle & 0xFFFFFF, canvas.Get(rc.right - corner - 1, rc.bottom / 2) & 0xFFFFFF);
        }

        // A picture without one of its own at twice the pixels is resampled: same corner widths.
        CDibCanvas plain(rc.right + 4, rc.bottom + 4, 0xFF000000);
        Draw(plain, rc, L"file='plain.png' corner='4,4,4,4'");
        EXPECT_TRUE(RgbNear(plain.Get(0, rc.bottom / 2), kGreen, 0));
        EXPECT_TRUE(RgbNear(plain.Get(corner - 2, rc.bottom / 2), kGreen, tolerance));
        EXPECT_TRUE(RgbNear(plain.Get(rc.right / 2, rc.bottom / 2), kBlue, 0));
        EXPECT_TRUE(RgbNear(plain.Get(rc.right - 1, rc.bottom - 1), kGreen, 0));
    }
}

TEST_F(RenderImageScale, SourceAndDestAreSkinUnitsAtTheScale)
{
    for (int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        m_manager.SetDPI(dpi);
        // The middle frame of the strip, placed 2 units in from the control's corner, 8 units square.
        const RECT rc = {10, 10, 10 + Scaled(20, dpi), 10 + Scaled(20, dpi)};
        CDibCanvas canvas(rc.right + 2, rc.bottom + 2, kWhite);
        Draw(canvas, rc, L"file='strip.png' source='2,0,4,2' dest='2,2,10,10'");
        const int left = 10 + Scaled(2, dpi);
        const int right = 10 + Scaled(10, dpi);
        EXPECT_EQ(kWhite, canvas.Get(left - 1, left));
        EXPECT_EQ(kWhite, canvas.Get(right, left));
        EXPECT_EQ(kWhite, canvas.Get(left, right));
        // Drawn at its own scale (96 DPI, or the twice-sized strip at 192) the frame is exact; reduced
        // from the twice-sized strip its middle is green and its edge may take in a neighbour.
        const int mid = (left + right) / 2;
        EXPECT_TRUE(RgbNear(canvas.Get(mid, mid), kGreen, dpi == 144 ? 8 : 0));
        if (dpi != 144) {
            EXPECT_EQ(0, canvas.CountOtherThan(left, left, right, right, canvas.Get(left, left)));
        }
    }
}
