// CRenderEngine::GenerateBitmap: a control painted off-screen into a 32-bit bitmap.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIControl.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderSession.h"
#include "veneer/render/UIRenderUtil.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

HBITMAP CRenderEngine::GenerateBitmap(CPaintManagerUI* manager, CControlUI* control, RECT rc)
{
    if (manager == NULL || control == NULL) return NULL;
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    if (cx <= 0 || cy <= 0 || rc.right <= 0 || rc.bottom <= 0) return NULL;

    // Without a window there is nothing to be compatible with.
    HDC hPaintDC = manager->GetPaintDC();
    if (hPaintDC == NULL) return NULL;
    HDC hPaintMemDC = ::CreateCompatibleDC(hPaintDC);
    HDC hCopyDC = ::CreateCompatibleDC(hPaintDC);
    // Window-sized up to rc, so the control paints at its usual coordinates.
    HBITMAP hPaintBitmap = ::CreateCompatibleBitmap(hPaintDC, rc.right, rc.bottom);
    DWORD* bits = NULL;
    HBITMAP hResult = RenderUtil::CreateDib32(hPaintDC, cx, cy, &bits, false);
    if (hPaintMemDC == NULL || hCopyDC == NULL || hPaintBitmap == NULL || hResult == NULL) {
        if (hResult != NULL) ::DeleteObject(hResult);
        hResult = NULL;
    }
    else {
        HGDIOBJ hOldPaintBitmap = ::SelectObject(hPaintMemDC, hPaintBitmap);
        {
            CRenderSession session(hPaintMemDC);
            control->DoPaint(hPaintMemDC, rc);
        }
        HGDIOBJ hOldCopyBitmap = ::SelectObject(hCopyDC, hResult);
        ::BitBlt(hCopyDC, 0, 0, cx, cy, hPaintMemDC, rc.left, rc.top, SRCCOPY);
        ::GdiFlush();
        ::SelectObject(hCopyDC, hOldCopyBitmap);
        ::SelectObject(hPaintMemDC, hOldPaintBitmap);
    }
    if (hPaintBitmap != NULL) ::DeleteObject(hPaintBitmap);
    if (hCopyDC != NULL) ::DeleteDC(hCopyDC);
    if (hPaintMemDC != NULL) ::DeleteDC(hPaintMemDC);
    return hResult;
}

} // namespace Veneer
