// Tests of GenerateBitmap: a control painted off-screen at its window coordinates into a 32-bit bitmap.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIControl.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"
#include "DibCanvas.h"

using namespace Veneer;

namespace {

// Paints red over the paint area and a blue pixel at (10, 20), in window coordinates.
class CSwatchUI : public CControlUI
{
public:
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        painted = rcPaint;
        CRenderEngine::DrawColor(hDC, rcPaint, 0xFFFF0000);
        const RECT rcDot = { 10, 20, 11, 21 };
        CRenderEngine::DrawColor(hDC, rcDot, 0xFF0000FF);
    }
    RECT painted = { 0, 0, 0, 0 };
};

// Pixel (x, y) of a bottom-up 32-bit DIB section, counted from the top.
DWORD PixelOf(HBITMAP hBitmap, int x, int y)
{
    DIBSECTION dib;
    ::GetObjectW(hBitmap, sizeof(dib), &dib);
    const DWORD* bits = static_cast<const DWORD*>(dib.dsBm.bmBits);
    return bits[(dib.dsBm.bmHeight - 1 - y) * dib.dsBm.bmWidth + x];
}

} // namespace

TEST(RenderBitmap, ControlIsPaintedAtItsPlaceAndCopiedOut)
{
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    ASSERT_NE(static_cast<HWND>(NULL), hWnd);
    {
        CPaintManagerUI manager;
        manager.Init(hWnd);
        CSwatchUI control;
        const RECT rc = { 10, 20, 40, 40 };
        HBITMAP hBitmap = CRenderEngine::GenerateBitmap(&manager, &control, rc);
        ASSERT_NE(static_cast<HBITMAP>(NULL), hBitmap);
        EXPECT_TRUE(::EqualRect(&rc, &control.painted));

        DIBSECTION dib;
        ASSERT_EQ(static_cast<int>(sizeof(dib)), ::GetObjectW(hBitmap, sizeof(dib), &dib));
        EXPECT_EQ(30, dib.dsBm.bmWidth);
        EXPECT_EQ(20, dib.dsBm.bmHeight);
        EXPECT_EQ(32, dib.dsBm.bmBitsPixel);
        EXPECT_GT(dib.dsBmih.biHeight, 0) << "bottom-up rows";
        EXPECT_TRUE(RgbNear(PixelOf(hBitmap, 0, 0), 0x0000FF, 0));
        EXPECT_TRUE(RgbNear(PixelOf(hBitmap, 1, 0), 0xFF0000, 0));
        EXPECT_TRUE(RgbNear(PixelOf(hBitmap, 29, 19), 0xFF0000, 0));
        ::DeleteObject(hBitmap);

        const RECT rcEmpty = { 10, 20, 10, 40 };
        EXPECT_EQ(static_cast<HBITMAP>(NULL), CRenderEngine::GenerateBitmap(&manager, &control, rcEmpty));
        EXPECT_EQ(static_cast<HBITMAP>(NULL), CRenderEngine::GenerateBitmap(&manager, NULL, rc));
        EXPECT_EQ(static_cast<HBITMAP>(NULL), CRenderEngine::GenerateBitmap(NULL, &control, rc));
        CPaintManagerUI windowless;
        EXPECT_EQ(static_cast<HBITMAP>(NULL), CRenderEngine::GenerateBitmap(&windowless, &control, rc));
    }
    ::DestroyWindow(hWnd);
}
