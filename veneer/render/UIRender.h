// CRenderEngine (image loading, image strings, primitives, text) and CRenderClip.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"
#include "veneer/core/UIStringOrId.h"

namespace Veneer {

class CPaintManagerUI;
class CControlUI;

// One decoded image: a top-down, premultiplied 32-bit DIB section and how it was loaded.
typedef struct tagTImageInfo
{
    HBITMAP hBmp;
    int nWidth;
    int nHeight;
    bool bAlpha;
    CUIString sResourceType;
    DWORD dwMaskColor;
} TImageInfo;

// Narrows a DC's clip region to a rectangle (or rounded rectangle) and puts the old clip box back
// when destroyed.
class CRenderClip
{
public:
    // Construction
    CRenderClip();
    ~CRenderClip();
    // The record owns its regions: a copy would free them twice.
    CRenderClip(const CRenderClip&) = delete;
    CRenderClip& operator=(const CRenderClip&) = delete;

    // Operations
    static void GenerateClip(HDC hDC, RECT rc, CRenderClip& clip);
    static void GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip);
    static void UseOldClipBegin(HDC hDC, CRenderClip& clip);
    static void UseOldClipEnd(HDC hDC, CRenderClip& clip);
    // During a paint, clips are applied to the DC only when a drawing of the render engine may leave
    // them; code that draws on hDC by other means calls this first.
    static void ApplyPending(HDC hDC);

    // Attributes
    RECT rect;
    HDC hdc;
    HRGN hClipRgn;   // the clip as generated (device coordinates), selected again by UseOldClipEnd
    HRGN hSavedRgn;  // the clip the DC had before, selected by UseOldClipBegin and on destruction

    // Implementation
private:
    void Release();
    static void SuspendKept(HDC hDC, CRenderClip& clip, bool bSuspend);
};

// Stateless drawing services used by the paint manager and the controls.
class CRenderEngine
{
public:
    // Image loading
    static TImageInfo* LoadImage(STRINGorID bitmap, LPCWSTR type = NULL, DWORD mask = 0);
    static TImageInfo* LoadImageFromHICON(HICON hIcon);
    // The icon with its own transparency (its alpha channel, or its mask when it has none), premultiplied.
    static TImageInfo* LoadAlphaImageFromHICON(HICON hIcon);
    static void FreeImage(const TImageInfo* image);
    // A new image of the given size resampled from image (premultiplied, cubic filter that widens when
    // reducing); the caller frees it. Null when either size is unusable or memory runs out.
    static TImageInfo* ScaleImage(const TImageInfo* image, int nWidth, int nHeight);

    // Image drawing
    static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                          const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel, BYTE fade = 255,
                          bool hole = false, bool xtiled = false, bool ytiled = false);
    static bool DrawImageString(HDC hDC, CPaintManagerUI* manager, const RECT& rc, const RECT& rcPaint,
                                LPCWSTR image, LPCWSTR modify = NULL);

    // Primitives
    static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
    static void DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps);
    static void DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style = PS_SOLID);
    static void DrawRect(HDC hDC, const RECT& rc, int size, DWORD color);
    static void DrawRoundRect(HDC hDC, const RECT& rc, int size, int width, int height, DWORD color);

    // Text
    static void DrawText(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD color, int font,
                         UINT style);
    static void DrawHtmlText(HDC hDC, CPaintManagerUI* manager, RECT& rc, LPCWSTR text, DWORD color,
                             RECT* links, CUIString* linkTexts, int& linkCount, UINT style);
    static SIZE GetTextSize(HDC hDC, CPaintManagerUI* manager, LPCWSTR text, int font, UINT style);

    // Colour and capture
    static DWORD AdjustColor(DWORD color, short H, short S, short L);
    static HBITMAP GenerateBitmap(CPaintManagerUI* manager, CControlUI* control, RECT rc);
};

} // namespace Veneer
