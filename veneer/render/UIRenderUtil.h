// Small helpers shared by the render engine's source files (not part of the public interface).
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {
namespace RenderUtil {

// IntersectRect without the call into user32, for the paint walk that asks it of every control: the
// overlap of a and b, or an empty rectangle (all zeros) and false when they do not overlap.
inline bool IntersectRects(RECT& rcOut, const RECT& a, const RECT& b)
{
    const LONG left = a.left > b.left ? a.left : b.left;
    const LONG top = a.top > b.top ? a.top : b.top;
    const LONG right = a.right < b.right ? a.right : b.right;
    const LONG bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    if (left >= right || top >= bottom) {
        rcOut.left = rcOut.top = rcOut.right = rcOut.bottom = 0;
        return false;
    }
    rcOut.left = left;
    rcOut.top = top;
    rcOut.right = right;
    rcOut.bottom = bottom;
    return true;
}

// 0xAARRGGBB to a GDI colour; the alpha byte is dropped.
inline COLORREF ToColorRef(DWORD color)
{
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

// 0xAARRGGBB with the colour channels scaled by the alpha, as blending expects them.
inline DWORD Premultiply(DWORD color)
{
    const DWORD alpha = color >> 24;
    const DWORD red = ((color >> 16) & 0xFF) * alpha / 255;
    const DWORD green = ((color >> 8) & 0xFF) * alpha / 255;
    const DWORD blue = (color & 0xFF) * alpha / 255;
    return (alpha << 24) | (red << 16) | (green << 8) | blue;
}

// The header of a 32-bit BI_RGB picture of cx x cy pixels, top-down unless asked otherwise.
inline BITMAPINFO Dib32Info(int cx, int cy, bool topDown = true)
{
    BITMAPINFO bmi;
    ::ZeroMemory(&bmi, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = topDown ? -cy : cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

// A 32-bit BI_RGB DIB section, top-down unless asked otherwise; *bits receives its pixels
// (0xAARRGGBB words). Null on failure.
HBITMAP CreateDib32(HDC hDC, int cx, int cy, DWORD** bits, bool topDown = true);

} // namespace RenderUtil
} // namespace Veneer
