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
