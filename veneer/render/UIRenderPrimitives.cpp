// CRenderEngine primitives: colour fills, gradients, lines, rectangle outlines and colour adjustment.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderBlend.h"
#include "veneer/render/UIRenderSession.h"
#include "veneer/render/UIRenderUtil.h"

#include <math.h>

namespace Veneer {

using RenderUtil::ToColorRef;

namespace {

int GradientBandShift(int steps)
{
    if (steps >= 64) return 6;
    if (steps >= 32) return 5;
    if (steps >= 16) return 4;
    if (steps >= 8) return 3;
    if (steps >= 4) return 2;
    return 1;
}

// Solid bands from second (band 0, at the bottom or right) to first (at the top or left).
void FillGradientBands(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps)
{
    const int shift = GradientBandShift(steps);
    const int bands = 1 << shift;
    const long long extent = vertical ? rc.bottom - rc.top : rc.right - rc.left;
    for (int i = 0; i < bands; ++i) {
        const DWORD red = (((second >> 16) & 0xFF) * (bands - i) + ((first >> 16) & 0xFF) * i) >> shift;
        const DWORD green = (((second >> 8) & 0xFF) * (bands - i) + ((first >> 8) & 0xFF) * i) >> shift;
        const DWORD blue = ((second & 0xFF) * (bands - i) + (first & 0xFF) * i) >> shift;
        const int nearEdge = static_cast<int>((i * extent) >> shift);
        const int farEdge = static_cast<int>(((i + 1) * extent) >> shift);
        RECT band = rc;
        if (vertical) {
            band.top = rc.bottom - farEdge;
            band.bottom = rc.bottom - nearEdge;
        }
        else {
            band.left = rc.right - farEdge;
            band.right = rc.right - nearEdge;
        }
        if (band.right <= band.left || band.bottom <= band.top) continue;
        HBRUSH hBrush = ::CreateSolidBrush(RGB(red, green, blue));
        if (hBrush == NULL) continue;
        ::FillRect(hDC, &band, hBrush);
        ::DeleteObject(hBrush);
    }
}

TRIVERTEX MakeVertex(LONG x, LONG y, DWORD color)
{
    // 8-bit channels go to the high byte of the 16-bit vertex channels.
    TRIVERTEX vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.Red = static_cast<COLOR16>(((color >> 16) & 0xFF) << 8);
    vertex.Green = static_cast<COLOR16>(((color >> 8) & 0xFF) << 8);
    vertex.Blue = static_cast<COLOR16>((color & 0xFF) << 8);
    vertex.Alpha = 0xFF00;
    return vertex;
}

void FillGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps)
{
    PFNUIGRADIENTFILL pfnGradientFill = CRenderBlend::GetGradientFill();
    if (pfnGradientFill == NULL) {
        FillGradientBands(hDC, rc, first, second, vertical, steps);
        return;
    }
    TRIVERTEX vertices[2] = { MakeVertex(rc.left, rc.top, first), MakeVertex(rc.right, rc.bottom, second) };
    GRADIENT_RECT mesh = { 0, 1 };
    pfnGradientFill(hDC, vertices, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

// The HSL helpers work on channels in [0, 1], in single precision.
float HueToChannel(float p, float q, float t)
{
    if (t < 0.0f) t += 1.0f;
    if (t > 1.0f) t -= 1.0f;
    if (6.0f * t < 1.0f) return p + (q - p) * 6.0f * t;
    if (2.0f * t < 1.0f) return q;
    if (3.0f * t < 2.0f) return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    return p;
}

DWORD ChannelToByte(float value)
{
    const float scaled = value * 255.0f;
    if (!(scaled > 0.0f)) return 0;
    if (scaled >= 255.0f) return 255;
    return static_cast<DWORD>(scaled);
}

} // namespace

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color)
{
    const DWORD alpha = color >> 24;
    if (alpha == 0) return;
    CRenderSession::Confine(hDC, &rc);
    if (alpha == 255) {
        // Setting a DC attribute costs more than reading it; neighbours often share a colour.
        if (::GetBkColor(hDC) != ToColorRef(color)) ::SetBkColor(hDC, ToColorRef(color));
        ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
        return;
    }
    // One premultiplied pixel stretched over rc by a single blend.
    DWORD* pixel = NULL;
    HBITMAP hBitmap = RenderUtil::CreateDib32(hDC, 1, 1, &pixel);
    if (hBitmap == NULL) return;
    *pixel = RenderUtil::Premultiply(color);
    const RECT rcSource = { 0, 0, 1, 1 };
    const RECT rcCorners = { 0, 0, 0, 0 };
    DrawImage(hDC, hBitmap, rc, rc, rcSource, rcCorners, true);
    CRenderSession::ReleaseBitmap(hBitmap);
    ::DeleteObject(hBitmap);
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps)
{
    const int alpha = static_cast<int>(((first >> 24) + (second >> 24)) / 2);
    if (alpha == 0) return;
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (cx <= 0 || cy <= 0) return;
    CRenderSession::Confine(hDC, &rc);
    if (alpha == 255) {
        FillGradient(hDC, rc, first, second, vertical, steps);
        return;
    }

    // Translucent: paint it opaque off-screen, then lay it over hDC with the average alpha.
    HDC hMemDC = ::CreateCompatibleDC(hDC);
    if (hMemDC == NULL) return;
    DWORD* pixels = NULL;
    HBITMAP hBitmap = RenderUtil::CreateDib32(hDC, cx, cy, &pixels);
    if (hBitmap == NULL) {
        ::DeleteDC(hMemDC);
        return;
    }
    HGDIOBJ hOldBitmap = ::SelectObject(hMemDC, hBitmap);
    const RECT rcOffscreen = { 0, 0, cx, cy };
    FillGradient(hMemDC, rcOffscreen, first, second, vertical, steps);
    ::GdiFlush();
    // GDI's fills leave the alpha byte undefined (mostly 0), which a per-pixel blend would read as
    // "let everything through": the picture is opaque and only the constant alpha may weigh it.
    const size_t count = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    for (size_t i = 0; i < count; ++i)
        pixels[i] |= 0xFF000000;
    BLENDFUNCTION blend = { AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA };
    CRenderBlend::AlphaBlend(hDC, rc.left, rc.top, cx, cy, hMemDC, 0, 0, cx, cy, blend);
    ::SelectObject(hMemDC, hOldBitmap);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemDC);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style)
{
    // The pen is centred on the line and its ends are square or round: half its width around it.
    const int reach = (size < 1 ? 1 : size) / 2 + 1;
    const RECT rcBounds = { (rc.left < rc.right ? rc.left : rc.right) - reach,
                            (rc.top < rc.bottom ? rc.top : rc.bottom) - reach,
                            (rc.left < rc.right ? rc.right : rc.left) + reach,
                            (rc.top < rc.bottom ? rc.bottom : rc.top) + reach };
    CRenderSession::Confine(hDC, &rcBounds);
    LOGPEN logPen;
    logPen.lopnStyle = static_cast<UINT>(style);
    logPen.lopnWidth.x = size;
    logPen.lopnWidth.y = 0;
    logPen.lopnColor = ToColorRef(color);
    HPEN hPen = ::CreatePenIndirect(&logPen);
    if (hPen == NULL) return;
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    ::MoveToEx(hDC, rc.left, rc.top, NULL);
    ::LineTo(hDC, rc.right, rc.bottom);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hPen);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int size, DWORD color)
{
    // A 1-pixel frame is the same with the DC pen, which a paint's session keeps selected.
    CRenderSession* pSession = CRenderSession::Current(hDC);
    if (pSession != NULL) pSession->Confine(&rc);
    if (pSession != NULL && size == 1) {
        pSession->UseFramePen(ToColorRef(color));
        ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
        return;
    }
    HPEN hPen = ::CreatePen(PS_INSIDEFRAME, size, ToColorRef(color));
    if (hPen == NULL) return;
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hPen);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int size, int width, int height, DWORD color)
{
    CRenderSession::Confine(hDC, &rc);
    HPEN hPen = ::CreatePen(PS_INSIDEFRAME, size, ToColorRef(color));
    if (hPen == NULL) return;
    HGDIOBJ hOldPen = ::SelectObject(hDC, hPen);
    ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hPen);
}

DWORD CRenderEngine::AdjustColor(DWORD color, short H, short S, short L)
{
    if (H == 180 && S == 100 && L == 100) return color;

    // Byte 0 plays red, byte 1 green, byte 2 blue.
    const float c1 = static_cast<float>(color & 0xFF) / 255.0f;
    const float c2 = static_cast<float>((color >> 8) & 0xFF) / 255.0f;
    const float c3 = static_cast<float>((color >> 16) & 0xFF) / 255.0f;
    const float minimum = c1 < c2 ? (c1 < c3 ? c1 : c3) : (c2 < c3 ? c2 : c3);
    const float maximum = c1 > c2 ? (c1 > c3 ? c1 : c3) : (c2 > c3 ? c2 : c3);
    float hue = 0.0f;
    float saturation = 0.0f;
    float lightness = (minimum + maximum) / 2.0f;
    if (maximum != minimum) {
        const float delta = maximum - minimum;
        float f;
        float sector;
        if (c1 == minimum) {
            f = c2 - c3;
            sector = 3.0f;
        }
        else if (c2 == minimum) {
            f = c3 - c1;
            sector = 5.0f;
        }
        else {
            f = c1 - c2;
            sector = 1.0f;
        }
        float position = sector - f / delta;
        if (position >= 6.0f) position -= 6.0f;
        hue = 60.0f * position;
        saturation = 2.0f * lightness <= 1.0f ? delta / (maximum + minimum) : delta / (2.0f - maximum - minimum);
    }

    hue += static_cast<float>(H - 180);
    // Any hue argument, not just 0..360, lands on the colour circle.
    hue = fmodf(hue, 360.0f);
    if (hue <= 0.0f) hue += 360.0f;
    saturation = saturation * static_cast<float>(S) / 100.0f;
    lightness = lightness * static_cast<float>(L) / 100.0f;

    const float q = 2.0f * lightness < 1.0f ? lightness * (1.0f + saturation)
                                            : lightness + saturation - lightness * saturation;
    const float p = 2.0f * lightness - q;
    const float h = hue / 360.0f;
    const DWORD byte0 = ChannelToByte(HueToChannel(p, q, h + 1.0f / 3.0f));
    const DWORD byte1 = ChannelToByte(HueToChannel(p, q, h));
    const DWORD byte2 = ChannelToByte(HueToChannel(p, q, h - 1.0f / 3.0f));
    return (color & 0xFF000000) | (byte2 << 16) | (byte1 << 8) | byte0;
}

} // namespace Veneer
