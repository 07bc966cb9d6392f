// CRenderBlend: msimg32's AlphaBlend and GradientFill, looked up once, and the framework's own blend.
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

typedef BOOL (WINAPI* PFNUIALPHABLEND)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL (WINAPI* PFNUIGRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The drawing code blends and fills gradients through this class. The system functions are used
// when the system has them; the framework's own blend takes over where AlphaBlend is missing, and
// DrawGradient falls back to solid bands where GradientFill is missing. Either system function can
// be switched off (for instance to check the fallbacks, or to work around a faulty driver).
class CRenderBlend
{
public:
    // Operations
    // Same parameters and result as the system AlphaBlend (premultiplied source with AC_SRC_ALPHA).
    static bool AlphaBlend(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc, int xSrc,
                           int ySrc, int cxSrc, int cySrc, BLENDFUNCTION blend);
    // The framework's own blend: always available, used when the system one is not.
    static bool OwnAlphaBlend(HDC hdcDest, int xDest, int yDest, int cxDest, int cyDest, HDC hdcSrc, int xSrc,
                              int ySrc, int cxSrc, int cySrc, BLENDFUNCTION blend);
    // The system GradientFill, or null when it is missing or switched off.
    static PFNUIGRADIENTFILL GetGradientFill();

    // Attributes
    static bool HasSystemAlphaBlend();
    static bool HasSystemGradientFill();
    // Both are on by default; off makes the drawing code behave as if the system had no such function.
    static void EnableSystemAlphaBlend(bool enable);
    static void EnableSystemGradientFill(bool enable);
};

} // namespace Veneer
