// CRenderBlend: run-time lookup of AlphaBlend and GradientFill, and the per-pixel blend behind them.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRenderBlend.h"
#include "veneer/render/UIRenderUtil.h"

namespace Veneer {

namespace {

struct TSystemBlend
{
    PFNUIALPHABLEND pfnAlphaBlend;
    PFNUIGRADIENTFILL pfnGradientFill;
};

bool g_bUseSystemAlphaBlend = true;
bool g_bUseSystemGradientFill = true;

HMODULE GetMsimg32()
{
    HMODULE module = ::GetModuleHandleW(L"msimg32.dll");
    if (module != NULL) return module;
    // Nothing imported it: load the system's copy by its full path, so no other folder is searched.
    static const wchar_t kName[] = L"\\msimg32.dll";
    wchar_t path[MAX_PATH];
    UINT len = ::GetSystemDirectoryW(path, MAX_PATH);
    if (len == 0 || len + lengthof(kName) > MAX_PATH) return NULL;
    wcscpy(path + len, kName);
    return ::LoadLibraryW(path);
}

template <typename T> T ProcAs(HMODULE module, const char* name)
{
    if (module == NULL) return NULL;
    // Through the generic function pointer type, which converts to any other without complaint.
    typedef void (*PFNANY)(void);
    return reinterpret_cast<T>(reinterpret_cast<PFNANY>(::GetProcAddress(module, name)));
}

const TSystemBlend& System()
{
    static const TSystemBlend functions = [] {
        HMODULE module = GetMsimg32();
        TSystemBlend found = { ProcAs<PFNUIALPHABLEND>(module, "AlphaBlend"),
                               ProcAs<PFNUIGRADIENTFILL>(module, "GradientFill") };
        return found;
    }();
    return functions;
}

} // namespace

bool CRenderBlend::AlphaBlend(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc, int xSrc,
                              int ySrc, int cxSrc, int cySrc, BLENDFUNCTION blend)
{
    PFNUIALPHABLEND pfn = g_bUseSystemAlphaBlend ? System().pfnAlphaBlend : NULL;
    if (pfn != NULL)
        return pfn(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc, cySrc, blend) != FALSE;
    return OwnAlphaBlend(hdcDest, xDest, yDest, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc, cySrc, blend);
}

bool CRenderBlend::OwnAlphaBlend(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc, int xSrc,
                                 int ySrc, int cxSrc, int cySrc, BLENDFUNCTION blend)
{
    if (cxDest <= 0 || cyDest <= 0 || cxSrc <= 0 || cySrc <= 0) return false;
    HDC hMemDC = ::CreateCompatibleDC(hdcDest);
    if (hMemDC == NULL) return false;
    DWORD* src = NULL;
    DWORD* dst = NULL;
    HBITMAP hSrcBmp = RenderUtil::CreateDib32(hdcDest, cxDest, cyDest, &src);
    HBITMAP hDstBmp = RenderUtil::CreateDib32(hdcDest, cxDest, cyDest, &dst);
    if (hSrcBmp == NULL || hDstBmp == NULL) {
        if (hSrcBmp != NULL) ::DeleteObject(hSrcBmp);
        if (hDstBmp != NULL) ::DeleteObject(hDstBmp);
        ::DeleteDC(hMemDC);
        return false;
    }

    HGDIOBJ hOldBmp = ::SelectObject(hMemDC, hSrcBmp);
    // Plain pixel copies: halftoning would drop the alpha byte.
    ::SetStretchBltMode(hMemDC, COLORONCOLOR);
    ::StretchBlt(hMemDC, 0, 0, cxDest, cyDest, hdcSrc, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
    ::SelectObject(hMemDC, hDstBmp);
    ::BitBlt(hMemDC, 0, 0, cxDest, cyDest, hdcDest, xDest, yDest, SRCCOPY);
    ::GdiFlush();

    // Premultiplied "over", as the system function does it: the source (scaled by the constant
    // alpha) plus what its own alpha lets through of the destination. The alpha byte blends alike.
    const unsigned int constant = blend.SourceConstantAlpha;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    const size_t count = static_cast<size_t>(cxDest) * static_cast<size_t>(cyDest);
    for (size_t i = 0; i < count; ++i) {
        const DWORD s = src[i];
        const DWORD d = dst[i];
        const unsigned int coverage = (perPixel ? (s >> 24) : 255u) * constant;
        DWORD result = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const unsigned int sc = (s >> shift) & 0xFF;
            const unsigned int dc = (d >> shift) & 0xFF;
            unsigned int value = (sc * constant * 255u + dc * (65025u - coverage) + 32512u) / 65025u;
            if (value > 255u) value = 255u;
            result |= static_cast<DWORD>(value) << shift;
        }
        dst[i] = result;
    }

    ::BitBlt(hdcDest, xDest, yDest, cxDest, cyDest, hMemDC, 0, 0, SRCCOPY);
    ::SelectObject(hMemDC, hOldBmp);
    ::DeleteObject(hSrcBmp);
    ::DeleteObject(hDstBmp);
    ::DeleteDC(hMemDC);
    return true;
}

PFNUIGRADIENTFILL CRenderBlend::GetGradientFill()
{
    return g_bUseSystemGradientFill ? System().pfnGradientFill : NULL;
}

bool CRenderBlend::HasSystemAlphaBlend()
{
    return g_bUseSystemAlphaBlend && System().pfnAlphaBlend != NULL;
}

bool CRenderBlend::HasSystemGradientFill()
{
    return GetGradientFill() != NULL;
}

void CRenderBlend::EnableSystemAlphaBlend(bool enable)
{
    g_bUseSystemAlphaBlend = enable;
}

void CRenderBlend::EnableSystemGradientFill(bool enable)
{
    g_bUseSystemGradientFill = enable;
}

HBITMAP RenderUtil::CreateDib32(HDC hDC, int cx, int cy, DWORD** bits, bool topDown)
{
    if (cx <= 0 || cy <= 0) return NULL;
    const BITMAPINFO bmi = Dib32Info(cx, cy, topDown);
    void* pixels = NULL;
    HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pixels, NULL, 0);
    if (hBitmap == NULL || pixels == NULL) {
        if (hBitmap != NULL) ::DeleteObject(hBitmap);
        return NULL;
    }
    *bits = static_cast<DWORD*>(pixels);
    return hBitmap;
}

} // namespace Veneer
