// Tests of text output and measurement in the paint manager's fonts.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"
#include "DibCanvas.h"

using namespace Veneer;

namespace {

const DWORD kWhite = 0xFFFFFFFF;

// How many pixels of the canvas have exactly the colour (colour channels only).
int CountColor(const CDibCanvas& canvas, DWORD color)
{
    int count = 0;
    for (int y = 0; y < canvas.GetHeight(); ++y)
        for (int x = 0; x < canvas.GetWidth(); ++x)
            if ((canvas.Get(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) ++count;
    return count;
}

} // namespace

TEST(RenderText, TextAppearsInsideItsRectangleInItsColour)
{
    CPaintManagerUI manager;
    CDibCanvas canvas(120, 40, kWhite);
    RECT rc = { 10, 8, 110, 32 };
    HGDIOBJ hFontBefore = ::GetCurrentObject(canvas.GetDC(), OBJ_FONT);
    CRenderEngine::DrawText(canvas.GetDC(), &manager, rc, L"Hello, world", 0x40C00000, -1,
                            DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    EXPECT_EQ(hFontBefore, ::GetCurrentObject(canvas.GetDC(), OBJ_FONT)) << "the font is put back";
    EXPECT_GT(CountColor(canvas, 0xC00000), 10) << "glyph pixels in the colour, alpha byte ignored";
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 120, 8, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 32, 120, 40, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 10, 40, kWhite));
    EXPECT_EQ(0, canvas.CountOtherThan(110, 0, 120, 40, kWhite));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(canvas.GetDC()));
}

TEST(RenderText, AmpersandIsTextAndCalcRectOnlyMeasures)
{
    CPaintManagerUI manager;
    CDibCanvas canvas(120, 40, kWhite);
    RECT rc = { 0, 0, 120, 40 };
    CRenderEngine::DrawText(canvas.GetDC(), &manager, rc, L"a&b", 0xFF000000, -1, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 120, 40, kWhite)) << "DT_CALCRECT draws nothing";
    const SIZE size = CRenderEngine::GetTextSize(canvas.GetDC(), &manager, L"a&b", -1, 0);
    const SIZE prefixed = CRenderEngine::GetTextSize(canvas.GetDC(), &manager, L"ab", -1, 0);
    EXPECT_GT(size.cx, prefixed.cx);
    // The measured rectangle holds all three characters: no "&" was taken for a prefix.
    EXPECT_EQ(size.cx, rc.right - rc.left);
    EXPECT_EQ(size.cy, rc.bottom - rc.top);
}

TEST(RenderText, FontIndexSelectsTheManagersFont)
{
    CPaintManagerUI manager;
    ASSERT_NE(static_cast<HFONT>(NULL), manager.AddFont(L"Tahoma", 40, true, false, false));
    CDibCanvas canvas(200, 60, kWhite);
    const SIZE small = CRenderEngine::GetTextSize(canvas.GetDC(), &manager, L"Text", -1, 0);
    const SIZE large = CRenderEngine::GetTextSize(canvas.GetDC(), &manager, L"Text", 0, 0);
    EXPECT_GT(large.cy, small.cy);
    EXPECT_GT(large.cx, small.cx);
    RECT rc = { 0, 0, 200, 60 };
    CRenderEngine::DrawText(canvas.GetDC(), &manager, rc, L"Text", 0xFF000000, 0, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(large.cy, rc.bottom - rc.top);
}

TEST(RenderText, NothingWithoutTextOrManager)
{
    CPaintManagerUI manager;
    CDibCanvas canvas(40, 20, kWhite);
    RECT rc = { 0, 0, 40, 20 };
    CRenderEngine::DrawText(canvas.GetDC(), NULL, rc, L"x", 0xFF000000, -1, DT_SINGLELINE);
    CRenderEngine::DrawText(canvas.GetDC(), &manager, rc, NULL, 0xFF000000, -1, DT_SINGLELINE);
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 40, 20, kWhite));
    const SIZE none = CRenderEngine::GetTextSize(canvas.GetDC(), NULL, L"x", -1, 0);
    EXPECT_EQ(0, none.cx);
    EXPECT_EQ(0, none.cy);
    const SIZE empty = CRenderEngine::GetTextSize(canvas.GetDC(), &manager, NULL, -1, 0);
    EXPECT_EQ(0, empty.cx);
    EXPECT_EQ(0, empty.cy);
}
