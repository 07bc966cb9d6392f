// CPaintManagerUI: window attributes (sizes, caption, corners, transparency) and the window shadow's settings.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

// ---- window attributes ---------------------------------------------------------------------

HDC CPaintManagerUI::GetPaintDC() const
{
    return m_hDcPaint;
}

HWND CPaintManagerUI::GetPaintWindow() const
{
    return m_hWndPaint;
}

HWND CPaintManagerUI::GetTooltipWindow() const
{
    return m_hwndTooltip;
}

POINT CPaintManagerUI::GetMousePos() const
{
    return m_ptLastMousePos;
}

SIZE CPaintManagerUI::GetClientSize() const
{
    RECT rcClient = {};
    if (m_hWndPaint != NULL) ::GetClientRect(m_hWndPaint, &rcClient);
    SIZE sz = { rcClient.right - rcClient.left, rcClient.bottom - rcClient.top };
    return sz;
}

SIZE CPaintManagerUI::GetInitSize() const
{
    return m_szInitWindowSize;
}

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
    // Only a window still without a tree takes the skin's size at once.
    if (m_pRoot == NULL && m_hWndPaint != NULL) {
        ::SetWindowPos(m_hWndPaint, NULL, 0, 0, ScaleValue(cx), ScaleValue(cy),
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

const RECT& CPaintManagerUI::GetSizeBox() const
{
    return m_rcSizeBox;
}

void CPaintManagerUI::SetSizeBox(const RECT& rcSizeBox)
{
    m_rcSizeBox = rcSizeBox;
}

const RECT& CPaintManagerUI::GetCaptionRect() const
{
    return m_rcCaption;
}

void CPaintManagerUI::SetCaptionRect(const RECT& rcCaption)
{
    m_rcCaption = rcCaption;
}

SIZE CPaintManagerUI::GetRoundCorner() const
{
    return m_szRoundCorner;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner.cx = cx;
    m_szRoundCorner.cy = cy;
}

SIZE CPaintManagerUI::GetMinInfo() const
{
    return m_szMinWindow;
}

void CPaintManagerUI::SetMinInfo(int cx, int cy)
{
    m_szMinWindow.cx = cx;
    m_szMinWindow.cy = cy;
}

SIZE CPaintManagerUI::GetMaxInfo() const
{
    return m_szMaxWindow;
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy)
{
    m_szMaxWindow.cx = cx;
    m_szMaxWindow.cy = cy;
}

int CPaintManagerUI::GetTransparent() const
{
    return m_nOpacity;
}

void CPaintManagerUI::SetTransparent(int nOpacity)
{
    m_nOpacity = nOpacity < 0 ? 0 : (nOpacity > 255 ? 255 : nOpacity);
    if (m_hWndPaint == NULL) return;

    typedef BOOL(WINAPI * PFNSETLAYEREDWINDOWATTRIBUTES)(HWND, COLORREF, BYTE, DWORD);
    HMODULE hUser32 = ::GetModuleHandleW(L"User32.dll");
    if (hUser32 == NULL) return;
    PFNSETLAYEREDWINDOWATTRIBUTES pfnSetLayered = reinterpret_cast<PFNSETLAYEREDWINDOWATTRIBUTES>(
        reinterpret_cast<void*>(::GetProcAddress(hUser32, "SetLayeredWindowAttributes")));
    if (pfnSetLayered == NULL) return;

    // A value outside 0..255 turns whole-window opacity off.
    const bool bLayered = (nOpacity >= 0 && nOpacity < 256);
    const LONG dwStyle = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    const LONG dwNewStyle = bLayered ? (dwStyle | WS_EX_LAYERED) : (dwStyle & ~WS_EX_LAYERED);
    if (dwNewStyle != dwStyle) ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, dwNewStyle);
    if (bLayered) pfnSetLayered(m_hWndPaint, 0, static_cast<BYTE>(m_nOpacity), LWA_ALPHA);
}

bool CPaintManagerUI::IsAlphaBackground() const
{
    return m_bAlphaBackground;
}

void CPaintManagerUI::SetBackgroundTransparent(bool bTrans)
{
    m_bAlphaBackground = bTrans;
}

bool CPaintManagerUI::IsShowUpdateRect() const
{
    return m_bShowUpdateRect;
}

void CPaintManagerUI::SetShowUpdateRect(bool bShow)
{
    m_bShowUpdateRect = bShow;
}

bool CPaintManagerUI::IsKeepPicture() const
{
    return m_bKeepPicture;
}

void CPaintManagerUI::SetKeepPicture(bool bKeep)
{
    m_bKeepPicture = bKeep;
    MarkAllStale();
}

// ---- window shadow ---------------------------------------------------------------------------

bool CPaintManagerUI::HasWindowShadow() const
{
    return m_bHasWindowShadow;
}

void CPaintManagerUI::SetHasWindowShadow(bool bShadow)
{
    m_bHasWindowShadow = bShadow;
}

LPCWSTR CPaintManagerUI::GetWindowShadowImage() const
{
    return m_sWindowShadowImage.GetData();
}

void CPaintManagerUI::SetWindowShadowImage(LPCWSTR pstrImage)
{
    m_sWindowShadowImage = pstrImage;
}

void CPaintManagerUI::SetTopleftShadowRect(int x, int y, int cx, int cy)
{
    ::SetRect(&m_rcShadowTopLeft, x, y, x + cx, y + cy);
}

void CPaintManagerUI::SetToprightShadowRect(int x, int y, int cx, int cy)
{
    ::SetRect(&m_rcShadowTopRight, x, y, x + cx, y + cy);
}

void CPaintManagerUI::SetBottomleftShadowRect(int x, int y, int cx, int cy)
{
    ::SetRect(&m_rcShadowBottomLeft, x, y, x + cx, y + cy);
}

void CPaintManagerUI::SetBottomrightShadowRect(int x, int y, int cx, int cy)
{
    ::SetRect(&m_rcShadowBottomRight, x, y, x + cx, y + cy);
}

void CPaintManagerUI::CalMiddleShadowRect()
{
    const RECT& tl = m_rcShadowTopLeft;
    const RECT& tr = m_rcShadowTopRight;
    const RECT& bl = m_rcShadowBottomLeft;
    const RECT& br = m_rcShadowBottomRight;
    ::SetRect(&m_rcShadowTop, tl.right, 0, tr.left, tl.bottom);
    ::SetRect(&m_rcShadowBottom, bl.right, bl.top, br.left, bl.bottom);
    ::SetRect(&m_rcShadowLeft, tl.left, tl.bottom, tl.right, bl.top);
    ::SetRect(&m_rcShadowRight, tr.left, tr.bottom, tr.right, br.top);
}

void CPaintManagerUI::CalRealShadowRect(const RECT& rcClient, TWindowShadowInfo& info) const
{
    // The corners are drawn at the display scale; their sources stay in the image.
    const RECT tl = ScaleRect(m_rcShadowTopLeft);
    const RECT tr = ScaleRect(m_rcShadowTopRight);
    const RECT bl = ScaleRect(m_rcShadowBottomLeft);
    const int x1 = rcClient.right - (tr.right - tr.left);
    const int y1 = rcClient.bottom - (bl.bottom - bl.top);
    ::SetRect(&info.rcTopLeft, 0, 0, tl.right, tl.bottom);
    ::SetRect(&info.rcTopRight, x1, 0, rcClient.right, tr.bottom);
    ::SetRect(&info.rcBottomLeft, 0, y1, bl.right, rcClient.bottom);
    ::SetRect(&info.rcBottomRight, x1, y1, rcClient.right, rcClient.bottom);
    ::SetRect(&info.rcTop, tl.right, 0, x1, tl.bottom);
    ::SetRect(&info.rcBottom, bl.right, y1, x1, rcClient.bottom);
    ::SetRect(&info.rcLeft, 0, tl.bottom, tl.right, y1);
    ::SetRect(&info.rcRight, x1, tr.bottom, rcClient.right, y1);
}

void CPaintManagerUI::GenerateShadowRenderString(const RECT& rcSource, const RECT& rcDest, LPWSTR pstrBuffer,
                                                 size_t cchBuffer) const
{
    if (pstrBuffer == NULL || cchBuffer == 0) return;
    // A shadow image name too long for the buffer yields an empty description, never a cut one.
    int n = _snwprintf(pstrBuffer, cchBuffer, L"file='%ls' dest='%u,%u,%u,%u' source='%u,%u,%u,%u'",
                       m_sWindowShadowImage.GetData(), static_cast<unsigned>(rcDest.left),
                       static_cast<unsigned>(rcDest.top), static_cast<unsigned>(rcDest.right),
                       static_cast<unsigned>(rcDest.bottom), static_cast<unsigned>(rcSource.left),
                       static_cast<unsigned>(rcSource.top), static_cast<unsigned>(rcSource.right),
                       static_cast<unsigned>(rcSource.bottom));
    if (n < 0 || static_cast<size_t>(n) >= cchBuffer) pstrBuffer[0] = L'\0';
}

} // namespace Veneer
