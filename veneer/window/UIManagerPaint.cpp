// CPaintManagerUI: WM_PAINT (double-buffered and layered), the window shadow and WM_PRINTCLIENT.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"
#include "veneer/control/UIControl.h"
#include "veneer/render/UIRenderImage.h"
#include "veneer/render/UIRenderSession.h"

namespace Veneer {

namespace {

bool RectContains(const RECT& rcOuter, const RECT& rc)
{
    return rcOuter.left <= rc.left && rcOuter.top <= rc.top && rcOuter.right >= rc.right &&
           rcOuter.bottom >= rc.bottom;
}

LONGLONG RectArea(const RECT& rc)
{
    return static_cast<LONGLONG>(rc.right - rc.left) * static_cast<LONGLONG>(rc.bottom - rc.top);
}

} // namespace

// ---- invalidation ----------------------------------------------------------------------------

bool CPaintManagerUI::IsPaintWindowShown() const
{
    return (::GetWindowLongW(m_hWndPaint, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CPaintManagerUI::Invalidate(RECT& rcItem)
{
    // Without a window InvalidateRect would repaint the whole desktop; an empty rectangle (a control
    // not laid out yet) has nothing to repaint and would only cost a trip to the window system.
    if (m_hWndPaint == NULL || ::IsRectEmpty(&rcItem)) return;
    MarkStale(rcItem);
    if (m_nInvalidateBatch > 0) {
        AddPendingInvalidate(rcItem);
        return;
    }
    // A hidden window keeps no update region (showing it repaints it whole), so a layout done
    // before the window is shown need not ask the window system for each control.
    if (IsPaintWindowShown()) ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

CPaintManagerUI::CInvalidateBatch::CInvalidateBatch(CPaintManagerUI* pManager) : m_pManager(pManager)
{
    m_pManager->m_nInvalidateBatch++;
}

CPaintManagerUI::CInvalidateBatch::~CInvalidateBatch()
{
    if (--m_pManager->m_nInvalidateBatch == 0) m_pManager->FlushPendingInvalidate();
}

void CPaintManagerUI::AddPendingInvalidate(const RECT& rc)
{
    // A layout invalidates each container before its children, so most areas fall inside one
    // already collected.
    for (int i = 0; i < m_nPendingInvalidate; i++) {
        if (RectContains(m_rcPendingInvalidate[i], rc)) return;
    }
    int nKept = 0;
    for (int i = 0; i < m_nPendingInvalidate; i++) {
        if (!RectContains(rc, m_rcPendingInvalidate[i])) m_rcPendingInvalidate[nKept++] = m_rcPendingInvalidate[i];
    }
    m_nPendingInvalidate = nKept;
    if (m_nPendingInvalidate < kMaxPendingInvalidate) {
        m_rcPendingInvalidate[m_nPendingInvalidate++] = rc;
        return;
    }
    // Full: the area that grows least takes the new one in; the window repaints a little more.
    int iBest = 0;
    LONGLONG nBestGrowth = 0;
    for (int i = 0; i < m_nPendingInvalidate; i++) {
        RECT rcJoined = {};
        ::UnionRect(&rcJoined, &m_rcPendingInvalidate[i], &rc);
        const LONGLONG nGrowth = RectArea(rcJoined) - RectArea(m_rcPendingInvalidate[i]);
        if (i == 0 || nGrowth < nBestGrowth) {
            iBest = i;
            nBestGrowth = nGrowth;
        }
    }
    RECT rcJoined = {};
    ::UnionRect(&rcJoined, &m_rcPendingInvalidate[iBest], &rc);
    m_rcPendingInvalidate[iBest] = rcJoined;
}

void CPaintManagerUI::FlushPendingInvalidate()
{
    const int nPending = m_nPendingInvalidate;
    m_nPendingInvalidate = 0;
    if (nPending == 0 || m_hWndPaint == NULL || !IsPaintWindowShown()) return;
    if (nPending == 1) {
        ::InvalidateRect(m_hWndPaint, &m_rcPendingInvalidate[0], FALSE);
        return;
    }
    // Several areas go out as one exact region; without regions, one call each.
    HRGN hRgn = ::CreateRectRgnIndirect(&m_rcPendingInvalidate[0]);
    HRGN hPart = ::CreateRectRgn(0, 0, 0, 0);
    bool bRegion = hRgn != NULL && hPart != NULL;
    for (int i = 1; bRegion && i < nPending; i++) {
        const RECT& rc = m_rcPendingInvalidate[i];
        bRegion = ::SetRectRgn(hPart, rc.left, rc.top, rc.right, rc.bottom) &&
                  ::CombineRgn(hRgn, hRgn, hPart, RGN_OR) != ERROR;
    }
    if (bRegion) {
        ::InvalidateRgn(m_hWndPaint, hRgn, FALSE);
    } else {
        for (int i = 0; i < nPending; i++) ::InvalidateRect(m_hWndPaint, &m_rcPendingInvalidate[i], FALSE);
    }
    if (hPart != NULL) ::DeleteObject(hPart);
    if (hRgn != NULL) ::DeleteObject(hRgn);
}

// ---- the kept offscreen picture ----------------------------------------------------------------

void CPaintManagerUI::MarkStale(const RECT& rc)
{
    RECT rcUnion = {};
    ::UnionRect(&rcUnion, &m_rcStale, &rc);
    m_rcStale = rcUnion;
}

void CPaintManagerUI::MarkAllStale()
{
    const RECT rcAll = {-0x3FFFFFFF, -0x3FFFFFFF, 0x3FFFFFFF, 0x3FFFFFFF};
    m_rcStale = rcAll;
}

// ---- painting --------------------------------------------------------------------------------

void CPaintManagerUI::OnPaint()
{
    RECT rcPaint = {};
    if (!::GetUpdateRect(m_hWndPaint, &rcPaint, FALSE)) return;
    if (m_pRoot == NULL) {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWndPaint, &ps);
        ::EndPaint(m_hWndPaint, &ps);
        return;
    }
    if (m_bAlphaBackground) {
        PaintLayered();
        return;
    }

    // A layout moves controls without telling where; a new offscreen bitmap holds nothing yet.
    if (m_bUpdateNeeded) MarkAllStale();
    UpdateLayout();
    if (m_bFocusNeeded) SetNextTabControl();

    if (m_bOffscreenPaint && m_hbmpOffscreen == NULL) {
        RECT rcClient = {};
        ::GetClientRect(m_hWndPaint, &rcClient);
        m_hDcOffscreen = ::CreateCompatibleDC(m_hDcPaint);
        m_hbmpOffscreen = ::CreateCompatibleBitmap(m_hDcPaint, rcClient.right - rcClient.left,
                                                   rcClient.bottom - rcClient.top);
        MarkAllStale();
    }
    if (m_nPaintedResourceVersion != GetResourceVersion()) MarkAllStale();

    PAINTSTRUCT ps = {};
    ::BeginPaint(m_hWndPaint, &ps);
    if (m_bOffscreenPaint && m_hDcOffscreen != NULL && m_hbmpOffscreen != NULL) {
        HBITMAP hOldBitmap = static_cast<HBITMAP>(::SelectObject(m_hDcOffscreen, m_hbmpOffscreen));
        // A kept picture is shown as it is where nothing changed since it was drawn (the window was
        // only uncovered or asked to repaint from outside). Every change of the tree reaches
        // Invalidate, a layout or a resource change, which mark it stale.
        RECT rcClient = {};
        ::GetClientRect(m_hWndPaint, &rcClient);
        RECT rcStale = {};
        RECT rcTemp = {};
        if (!m_bKeepPicture) MarkAllStale();
        ::IntersectRect(&rcStale, &m_rcStale, &rcClient);
        if (::IntersectRect(&rcTemp, &rcStale, &ps.rcPaint) || !m_bKeepPicture) {
            // What changes while painting stays stale for the next paint.
            ::SetRectEmpty(&m_rcStale);
            m_nPaintedResourceVersion = GetResourceVersion();
            int iSaveDC = ::SaveDC(m_hDcOffscreen);
            {
                CRenderSession session(m_hDcOffscreen);
                m_pRoot->DoPaint(m_hDcOffscreen, ps.rcPaint);
                for (int i = 0; i < m_aPostPaintControls.GetSize(); i++) {
                    CControlUI* pPostPaintControl = static_cast<CControlUI*>(m_aPostPaintControls[i]);
                    pPostPaintControl->DoPostPaint(m_hDcOffscreen, ps.rcPaint);
                }
            }
            ::RestoreDC(m_hDcOffscreen, iSaveDC);
            ::UnionRect(&rcTemp, &rcStale, &ps.rcPaint);
            if (!::EqualRect(&rcTemp, &ps.rcPaint))
                MarkStale(rcStale);
            else
                m_nPaintedResourceVersion = GetResourceVersion();  // images this paint loaded are in it
        }
        ::BitBlt(ps.hdc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                 ps.rcPaint.bottom - ps.rcPaint.top, m_hDcOffscreen, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        ::SelectObject(m_hDcOffscreen, hOldBitmap);
        if (m_bShowUpdateRect) {
            HPEN hOldPen = static_cast<HPEN>(::SelectObject(ps.hdc, m_hUpdateRectPen));
            HBRUSH hOldBrush = static_cast<HBRUSH>(::SelectObject(ps.hdc, ::GetStockObject(HOLLOW_BRUSH)));
            ::Rectangle(ps.hdc, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
            ::SelectObject(ps.hdc, hOldBrush);
            ::SelectObject(ps.hdc, hOldPen);
        }
    } else {
        int iSaveDC = ::SaveDC(ps.hdc);
        {
            CRenderSession session(ps.hdc);
            m_pRoot->DoPaint(ps.hdc, ps.rcPaint);
        }
        ::RestoreDC(ps.hdc, iSaveDC);
    }
    ::EndPaint(m_hWndPaint, &ps);

    // A control that asked for a layout while painting gets one more paint.
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, NULL, FALSE);
}

void CPaintManagerUI::PaintLayered()
{
    LONG exStyle = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);

    // Laid out before BeginPaint, which then takes away what the layout invalidates: this paint draws
    // the whole window anyway, and would otherwise be followed by a second one.
    UpdateLayout();
    if (m_bFocusNeeded) SetNextTabControl();

    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    PAINTSTRUCT ps = {};
    ::BeginPaint(m_hWndPaint, &ps);

    // Every layered paint renders into fresh buffers of the current size, dropped once it is shown.
    int cx = rcClient.right - rcClient.left;
    int cy = rcClient.bottom - rcClient.top;
    if (m_bOffscreenPaint && m_hbmpBackground == NULL && cx > 0 && cy > 0) {
        m_hDcBackground = ::CreateCompatibleDC(m_hDcPaint);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        bmi.bmiHeader.biSizeImage = static_cast<DWORD>(cx) * static_cast<DWORD>(cy) * 4;
        void* pBits = NULL;
        m_hbmpBackground = ::CreateDIBSection(m_hDcPaint, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    }
    if (m_hDcBackground != NULL && m_hbmpBackground != NULL) {
        HBITMAP hOldBitmap = static_cast<HBITMAP>(::SelectObject(m_hDcBackground, m_hbmpBackground));
        {
            CRenderSession session(m_hDcBackground);
            if (m_bHasWindowShadow) {
                RECT rcContent = rcClient;
                DrawWindowShadow(rcContent);
                m_pRoot->DoPaint(m_hDcBackground, rcContent);
            } else {
                m_pRoot->DoPaint(m_hDcBackground, rcClient);
            }
        }
        RECT rcWnd = {};
        ::GetWindowRect(m_hWndPaint, &rcWnd);
        POINT ptDest = {rcWnd.left, rcWnd.top};
        SIZE szLayered = {cx, cy};
        POINT ptSrc = {0, 0};
        BLENDFUNCTION bf = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(m_hWndPaint, NULL, &ptDest, &szLayered, m_hDcBackground, &ptSrc, 0, &bf, ULW_ALPHA);
        ::SelectObject(m_hDcBackground, hOldBitmap);
    }
    // The window system keeps its own copy of the picture: a second one here would only hold a
    // window-sized bitmap between paints (beside the decoded images it was drawn from).
    if (m_hDcBackground != NULL) ::DeleteDC(m_hDcBackground);
    if (m_hbmpBackground != NULL) ::DeleteObject(m_hbmpBackground);
    m_hDcBackground = NULL;
    m_hbmpBackground = NULL;
    ::EndPaint(m_hWndPaint, &ps);
}

void CPaintManagerUI::PrintClient(HDC hDC, LPARAM lParam)
{
    if (m_pRoot == NULL || hDC == NULL) return;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    int iSaveDC = ::SaveDC(hDC);
    {
        CRenderSession session(hDC);
        m_pRoot->DoPaint(hDC, rcClient);
    }
    if ((lParam & PRF_CHILDREN) != 0) {
        for (HWND hWndChild = ::GetWindow(m_hWndPaint, GW_CHILD); hWndChild != NULL;
             hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
            RECT rcPos = {};
            ::GetWindowRect(hWndChild, &rcPos);
            ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<LPPOINT>(&rcPos), 2);
            ::SetWindowOrgEx(hDC, -rcPos.left, -rcPos.top, NULL);
            ::SendMessageW(hWndChild, WM_PRINT, reinterpret_cast<WPARAM>(hDC), lParam | PRF_NONCLIENT);
        }
    }
    ::RestoreDC(hDC, iSaveDC);
}

void CPaintManagerUI::DrawWindowShadow(RECT& rc)
{
    TWindowShadowInfo info = {};
    CalRealShadowRect(rc, info);
    const RECT* sources[] = {&m_rcShadowTopLeft, &m_rcShadowTop, &m_rcShadowTopRight, &m_rcShadowLeft,
                             &m_rcShadowRight, &m_rcShadowBottomLeft, &m_rcShadowBottom, &m_rcShadowBottomRight};
    const RECT* dests[] = {&info.rcTopLeft, &info.rcTop, &info.rcTopRight, &info.rcLeft,
                           &info.rcRight, &info.rcBottomLeft, &info.rcBottom, &info.rcBottomRight};
    wchar_t szBuffer[512] = {};
    for (int i = 0; i < 8; i++) {
        GenerateShadowRenderString(*sources[i], *dests[i], szBuffer, lengthof(szBuffer));
        // The destinations are pixels already; the picture and its sources follow the scale.
        DrawImageStringInPixels(m_hDcBackground, this, rc, rc, szBuffer);
    }
    RECT rcContent = {info.rcTopLeft.right, info.rcTopLeft.bottom, info.rcBottomRight.left,
                      info.rcBottomRight.top};
    rc = rcContent;
}

} // namespace Veneer
