// Tests of the paint session: images drawn through it match plain drawing, and the DC and the bitmaps
// come out of it as they went in.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderSession.h"
#include "DibCanvas.h"

#include <memory>
#include <vector>

using namespace Veneer;

namespace {

const RECT kNoCorners = {0, 0, 0, 0};

// Draws each image of the list at its own place: 10 x 10 at x = 12 * i, copied, blended or stretched.
void DrawAll(HDC hDC, const std::vector<std::unique_ptr<CTestBitmap>>& images)
{
    for (size_t i = 0; i < images.size(); ++i) {
        const int x = static_cast<int>(i) * 12;
        const RECT rc = {x, 0, x + 10, i % 3 == 2 ? 20 : 10};
        const RECT rcPaint = {0, 0, 1000, 100};
        const RECT rcPart = {0, 0, 10, 10};
        CRenderEngine::DrawImage(hDC, images[i]->GetBitmap(), rc, rcPaint, rcPart, kNoCorners, i % 3 == 1);
    }
}

bool SelectableElsewhere(HBITMAP hBitmap)
{
    HDC hDC = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    const bool bSelected = hOld != NULL && hOld != HGDI_ERROR;
    if (bSelected) ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return bSelected;
}

} // namespace

// More images than the session keeps DCs for, some drawn twice: the pixels are those of plain drawing,
// and once the session ends every bitmap can be selected elsewhere.
TEST(RenderSession, ImagesDrawAsWithoutASessionAndAreReleasedAtTheEnd)
{
    std::vector<std::unique_ptr<CTestBitmap>> images;
    for (int i = 0; i < 11; ++i)
        images.emplace_back(new CTestBitmap(10, 10, 0x80000000u | static_cast<DWORD>(i * 0x151515)));
    CDibCanvas plain(140, 20, 0xFF204060);
    CDibCanvas session(140, 20, 0xFF204060);
    DrawAll(plain.GetDC(), images);
    DrawAll(plain.GetDC(), images);
    {
        CRenderSession paint(session.GetDC());
        EXPECT_EQ(&paint, CRenderSession::Current(session.GetDC()));
        EXPECT_EQ(nullptr, CRenderSession::Current(plain.GetDC()));
        DrawAll(session.GetDC(), images);
        DrawAll(session.GetDC(), images);
        EXPECT_FALSE(SelectableElsewhere(images[10]->GetBitmap()));
    }
    EXPECT_EQ(nullptr, CRenderSession::Current(session.GetDC()));
    ::GdiFlush();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 140; ++x)
            ASSERT_EQ(plain.Get(x, y), session.Get(x, y)) << x << "," << y;
    for (const auto& image : images)
        EXPECT_TRUE(SelectableElsewhere(image->GetBitmap()));
}

// A bitmap released during the session can be deleted at once; the session then draws it no more
// from the old DC, and an inner session on another DC leaves the outer one in charge of its own DC.
TEST(RenderSession, ReleasedBitmapsAndNestedSessions)
{
    CDibCanvas outer(20, 10, 0xFF000000);
    CDibCanvas inner(20, 10, 0xFF000000);
    CRenderSession outerSession(outer.GetDC());
    HDC hFirst = NULL;
    {
        CTestBitmap image(10, 10, 0xFFFF0000);
        hFirst = outerSession.GetSourceDC(image.GetBitmap());
        ASSERT_TRUE(hFirst != NULL);
        {
            CRenderSession innerSession(inner.GetDC());
            EXPECT_EQ(&innerSession, CRenderSession::Current(inner.GetDC()));
            EXPECT_EQ(nullptr, CRenderSession::Current(outer.GetDC()));
            CRenderSession::ReleaseBitmap(image.GetBitmap());
        }
        EXPECT_EQ(&outerSession, CRenderSession::Current(outer.GetDC()));
        EXPECT_TRUE(SelectableElsewhere(image.GetBitmap()));
    }
    CTestBitmap other(10, 10, 0xFF00FF00);
    EXPECT_EQ(hFirst, outerSession.GetSourceDC(other.GetBitmap()));
    EXPECT_EQ(nullptr, outerSession.GetSourceDC(NULL));
}

// Font, pen and brush stay selected through the session and are put back when it ends.
TEST(RenderSession, FontAndFramePenArePutBackAtTheEnd)
{
    CDibCanvas canvas(40, 20, 0xFFFFFFFF);
    HDC hDC = canvas.GetDC();
    const HGDIOBJ hFont = ::GetCurrentObject(hDC, OBJ_FONT);
    const HGDIOBJ hPen = ::GetCurrentObject(hDC, OBJ_PEN);
    const HGDIOBJ hBrush = ::GetCurrentObject(hDC, OBJ_BRUSH);
    HFONT hOwnFont = ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    ASSERT_TRUE(hOwnFont != NULL);
    {
        CRenderSession session(hDC);
        session.UseFont(hOwnFont);
        session.UseFramePen(RGB(255, 0, 0));
        EXPECT_EQ(hOwnFont, ::GetCurrentObject(hDC, OBJ_FONT));
        ::Rectangle(hDC, 2, 2, 12, 12);
        session.UseFramePen(RGB(0, 0, 255));
        ::Rectangle(hDC, 20, 2, 30, 12);
    }
    ::GdiFlush();
    EXPECT_EQ(hFont, ::GetCurrentObject(hDC, OBJ_FONT));
    EXPECT_EQ(hPen, ::GetCurrentObject(hDC, OBJ_PEN));
    EXPECT_EQ(hBrush, ::GetCurrentObject(hDC, OBJ_BRUSH));
    EXPECT_EQ(0xFF0000u, canvas.Get(2, 5) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, canvas.Get(5, 5) & 0xFFFFFF);
    EXPECT_EQ(0x0000FFu, canvas.Get(29, 5) & 0xFFFFFF);
    EXPECT_TRUE(::DeleteObject(hOwnFont));
}

// Clips made during a session reach the DC only when a drawing may leave them: drawing inside leaves
// the DC unclipped, drawing across is cut exactly as by an applied clip, a lifted clip lets a drawing
// reach its outer clip, and a rounded clip made inside puts back what it found.
TEST(RenderSession, ClipsAreAppliedWhenADrawingMayLeaveThem)
{
    CDibCanvas plain(60, 40, 0xFF000000);
    CDibCanvas lazy(60, 40, 0xFF000000);
    auto paint = [](HDC hDC, bool bSession, int* pnClippedWhileInside) {
        std::unique_ptr<CRenderSession> session(bSession ? new CRenderSession(hDC) : NULL);
        CRenderClip outer;
        CRenderClip::GenerateClip(hDC, RECT{5, 5, 55, 35}, outer);
        CRenderClip inner;
        CRenderClip::GenerateClip(hDC, RECT{10, 10, 30, 30}, inner);
        CRenderEngine::DrawColor(hDC, RECT{12, 12, 28, 28}, 0xFF0000FF);
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        *pnClippedWhileInside = ::GetClipRgn(hDC, hRgn);
        ::DeleteObject(hRgn);
        CRenderEngine::DrawColor(hDC, RECT{0, 0, 20, 20}, 0xFFFF0000);
        CRenderClip::UseOldClipBegin(hDC, inner);
        CRenderEngine::DrawColor(hDC, RECT{25, 0, 60, 8}, 0xFF00FF00);
        {
            CRenderClip round;
            CRenderClip::GenerateRoundClip(hDC, RECT{40, 20, 60, 40}, RECT{40, 20, 60, 40}, 6, 6, round);
            CRenderEngine::DrawColor(hDC, RECT{40, 20, 60, 40}, 0xFFFFFF00);
        }
        CRenderEngine::DrawColor(hDC, RECT{36, 0, 40, 40}, 0xFF00FFFF);
        CRenderClip::UseOldClipEnd(hDC, inner);
        CRenderEngine::DrawColor(hDC, RECT{28, 28, 60, 40}, 0xFFFF00FF);
    };
    int nPlainClip = 0;
    int nLazyClip = 0;
    paint(plain.GetDC(), false, &nPlainClip);
    paint(lazy.GetDC(), true, &nLazyClip);
    ::GdiFlush();
    EXPECT_EQ(1, nPlainClip);
    EXPECT_EQ(0, nLazyClip);
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(0, ::GetClipRgn(lazy.GetDC(), hRgn));
    ::DeleteObject(hRgn);
    int differing = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            if (plain.Get(x, y) != lazy.Get(x, y)) ++differing;
    EXPECT_EQ(0, differing);
    // The checks above compare like with like; these pin what both show.
    EXPECT_EQ(0xFF0000u, plain.Get(10, 10) & 0xFFFFFF);
    EXPECT_EQ(0x000000u, plain.Get(9, 9) & 0xFFFFFF);
    EXPECT_EQ(0x00FF00u, plain.Get(50, 5) & 0xFFFFFF);
    EXPECT_EQ(0x000000u, plain.Get(50, 4) & 0xFFFFFF);
    EXPECT_EQ(0x000000u, plain.Get(56, 34) & 0xFFFFFF);
    EXPECT_EQ(0xFFFF00u, plain.Get(48, 28) & 0xFFFFFF);
    EXPECT_EQ(0x00FFFFu, plain.Get(37, 30) & 0xFFFFFF);
    EXPECT_EQ(0xFF00FFu, plain.Get(29, 29) & 0xFFFFFF);
}

// Clips ended in another order than they began, some applied to the DC by then and some only recorded:
// each drawing after an end is cut to the clips still alive, whichever ended, and the DC comes out
// unclipped. (Without a session a clip puts back what the DC had when it began, so the plain way is no
// reference here.)
TEST(RenderSession, ClipsEndedInAnyOrderLeaveTheClipsStillAlive)
{
    const RECT kClips[] = {{2, 2, 58, 38}, {6, 4, 50, 34}, {10, 8, 40, 30}};
    const int kOrders[][3] = {{2, 1, 0}, {0, 1, 2}, {1, 0, 2}, {1, 2, 0}};
    const DWORD kColors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    const DWORD kEarly = 0xFF202020;
    auto inside = [](const RECT& rc, int x, int y) { return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom; };
    for (const int* order : kOrders) {
        for (bool bApplyFirst : {false, true}) {
            CDibCanvas canvas(60, 40, 0xFF000000);
            HDC hDC = canvas.GetDC();
            {
                CRenderSession session(hDC);
                std::unique_ptr<CRenderClip> clips[3];
                for (int i = 0; i < 3; ++i) {
                    clips[i].reset(new CRenderClip);
                    CRenderClip::GenerateClip(hDC, kClips[i], *clips[i]);
                    // Drawing across the clips made so far applies them to the DC.
                    if (bApplyFirst && i == 1) CRenderEngine::DrawColor(hDC, RECT{0, 0, 60, 40}, kEarly);
                }
                for (int k = 0; k < 3; ++k) {
                    clips[order[k]].reset();
                    CRenderEngine::DrawColor(hDC, RECT{0, 0, 60, 40}, kColors[k]);
                }
            }
            ::GdiFlush();
            int differing = 0;
            for (int y = 0; y < 40; ++y) {
                for (int x = 0; x < 60; ++x) {
                    // The last drawing whose live clips hold the pixel shows there.
                    DWORD expected = bApplyFirst && inside(kClips[0], x, y) && inside(kClips[1], x, y) ? kEarly
                                                                                                       : 0xFF000000;
                    for (int k = 0; k < 3; ++k) {
                        bool bShown = true;
                        for (int j = k + 1; j < 3; ++j) bShown = bShown && inside(kClips[order[j]], x, y);
                        if (bShown) expected = kColors[k];
                    }
                    if ((canvas.Get(x, y) & 0xFFFFFF) != (expected & 0xFFFFFF)) ++differing;
                }
            }
            EXPECT_EQ(0, differing) << order[0] << order[1] << order[2] << " applied first: " << bApplyFirst;
            HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
            EXPECT_EQ(0, ::GetClipRgn(hDC, hRgn));
            ::DeleteObject(hRgn);
        }
    }
}
