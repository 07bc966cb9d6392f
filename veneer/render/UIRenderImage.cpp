// Nine-grid image drawing (CRenderEngine::DrawImage) and the image description string parser.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderBlend.h"
#include "veneer/render/UIRenderImage.h"
#include "veneer/core/UIGeometry.h"
#include "veneer/render/UIRenderSession.h"

namespace Veneer {

namespace {

// Draws the pieces of one image: each piece only when it has a size on both sides and shows
// inside the paint rectangle.
class CPieceDrawer
{
public:
    CPieceDrawer(HDC hDC, HDC hMemDC, const RECT& rcPaint, bool blend, BYTE fade)
        : m_hDC(hDC), m_hMemDC(hMemDC), m_rcPaint(rcPaint), m_bBlend(blend)
    {
        m_blend.BlendOp = AC_SRC_OVER;
        m_blend.BlendFlags = 0;
        m_blend.SourceConstantAlpha = fade;
        m_blend.AlphaFormat = AC_SRC_ALPHA;
    }

    void Draw(int x, int y, int cx, int cy, int xSrc, int ySrc, int cxSrc, int cySrc) const
    {
        // A non-positive size would mirror the picture or means the piece has nothing to show.
        if (cx <= 0 || cy <= 0 || cxSrc <= 0 || cySrc <= 0) return;
        const RECT rcPiece = { x, y, x + cx, y + cy };
        RECT rcTemp;
        if (!::IntersectRect(&rcTemp, &rcPiece, &m_rcPaint)) return;
        if (m_bBlend)
            CRenderBlend::AlphaBlend(m_hDC, x, y, cx, cy, m_hMemDC, xSrc, ySrc, cxSrc, cySrc, m_blend);
        else if (cx == cxSrc && cy == cySrc)
            ::BitBlt(m_hDC, x, y, cx, cy, m_hMemDC, xSrc, ySrc, SRCCOPY);
        else {
            // Smoothed when stretched; plain copies and blends do not look at the mode.
            if (::GetStretchBltMode(m_hDC) != HALFTONE) ::SetStretchBltMode(m_hDC, HALFTONE);
            ::StretchBlt(m_hDC, x, y, cx, cy, m_hMemDC, xSrc, ySrc, cxSrc, cySrc, SRCCOPY);
        }
    }

    const RECT& PaintRect() const { return m_rcPaint; }

private:
    HDC m_hDC;
    HDC m_hMemDC;
    RECT m_rcPaint;
    bool m_bBlend;
    BLENDFUNCTION m_blend;
};

// Index of the first tile of size tile, laid from origin, that reaches paintStart.
int FirstVisibleTile(int origin, int paintStart, int tile)
{
    return paintStart > origin ? (paintStart - origin) / tile : 0;
}

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

// The middle piece: stretched, or repeated in one or both directions with the last tile cropped.
void DrawMiddle(const CPieceDrawer& pieces, const RECT& m, int xSrc, int ySrc, int mw, int mh, bool xtiled,
                bool ytiled)
{
    const RECT& rcPaint = pieces.PaintRect();
    const int mWidth = m.right - m.left;
    const int mHeight = m.bottom - m.top;
    if (!xtiled && !ytiled) {
        pieces.Draw(m.left, m.top, mWidth, mHeight, xSrc, ySrc, mw, mh);
        return;
    }
    // Tiles of no size would never advance.
    if ((xtiled && mw <= 0) || (ytiled && mh <= 0)) return;
    const int xEnd = m.right < rcPaint.right ? m.right : rcPaint.right;
    const int yEnd = m.bottom < rcPaint.bottom ? m.bottom : rcPaint.bottom;
    if (xtiled && ytiled) {
        for (int y = m.top + FirstVisibleTile(m.top, rcPaint.top, mh) * mh; y < yEnd; y += mh) {
            const int cy = m.bottom - y < mh ? m.bottom - y : mh;
            for (int x = m.left + FirstVisibleTile(m.left, rcPaint.left, mw) * mw; x < xEnd; x += mw) {
                const int cx = m.right - x < mw ? m.right - x : mw;
                pieces.Draw(x, y, cx, cy, xSrc, ySrc, cx, cy);
            }
        }
    }
    else if (xtiled) {
        for (int x = m.left + FirstVisibleTile(m.left, rcPaint.left, mw) * mw; x < xEnd; x += mw) {
            const int cx = m.right - x < mw ? m.right - x : mw;
            pieces.Draw(x, m.top, cx, mHeight, xSrc, ySrc, cx, mh);
        }
    }
    else {
        for (int y = m.top + FirstVisibleTile(m.top, rcPaint.top, mh) * mh; y < yEnd; y += mh) {
            const int cy = m.bottom - y < mh ? m.bottom - y : mh;
            pieces.Draw(m.left, y, mWidth, cy, xSrc, ySrc, mw, cy);
        }
    }
}

inline bool IsBlank(wchar_t ch)
{
    return ch >= 1 && ch <= 32;
}

LONG ToLong(long long value)
{
    if (value > 0x7FFFFFFFLL) return 0x7FFFFFFF;
    if (value < -0x7FFFFFFFLL - 1) return -0x7FFFFFFF - 1;
    return static_cast<LONG>(value);
}

} // namespace

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                              const RECT& rcCorners, bool alphaChannel, BYTE fade, bool hole, bool xtiled,
                              bool ytiled)
{
    if (hDC == NULL || hBitmap == NULL) return;
    CRenderSession* pSession = CRenderSession::Current(hDC);
    BITMAP bm;
    if (pSession != NULL ? !pSession->GetBitmap(hBitmap, bm)
                         : ::GetObjectW(hBitmap, sizeof(bm), &bm) != static_cast<int>(sizeof(bm)))
        return;
    const int bmHeight = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;

    // Only what lies on the bitmap: a larger source would blit undefined pixels, or make the
    // system blend refuse the whole piece.
    RECT bmp = rcBmpPart;
    bmp.left = Clamp(bmp.left, 0, bm.bmWidth);
    bmp.top = Clamp(bmp.top, 0, bmHeight);
    bmp.right = Clamp(bmp.right, bmp.left, bm.bmWidth);
    bmp.bottom = Clamp(bmp.bottom, bmp.top, bmHeight);
    const int bmpWidth = bmp.right - bmp.left;
    const int bmpHeight = bmp.bottom - bmp.top;
    if (bmpWidth <= 0 || bmpHeight <= 0) return;
    // No corner wider or taller than the source part, and none negative.
    const int cl = Clamp(rcCorners.left, 0, bmpWidth);
    const int ct = Clamp(rcCorners.top, 0, bmpHeight);
    const int cr = Clamp(rcCorners.right, 0, bmpWidth);
    const int cb = Clamp(rcCorners.bottom, 0, bmpHeight);
    const int mw = bmpWidth - cl - cr;
    const int mh = bmpHeight - ct - cb;

    // A paint's session keeps the bitmap selected in a source DC; without one a DC is made for this call.
    // Every piece lies inside rc.
    if (pSession != NULL) pSession->Confine(&rc);
    HDC hMemDC = pSession != NULL ? pSession->GetSourceDC(hBitmap) : NULL;
    const bool bOwnDC = hMemDC == NULL;
    HGDIOBJ hOldBitmap = NULL;
    if (bOwnDC) {
        hMemDC = ::CreateCompatibleDC(hDC);
        if (hMemDC == NULL) return;
        hOldBitmap = ::SelectObject(hMemDC, hBitmap);
    }

    const bool blend = alphaChannel || fade < 255;
    const int rcWidth = rc.right - rc.left;
    const int rcHeight = rc.bottom - rc.top;
    RECT rcTemp;
    if (!blend && rcWidth == bmpWidth && rcHeight == bmpHeight && cl == 0 && ct == 0 && cr == 0 && cb == 0 &&
        !hole) {
        // Same size, no grid: copy just the part being repainted.
        if (::IntersectRect(&rcTemp, &rcPaint, &rc)) {
            ::BitBlt(hDC, rcTemp.left, rcTemp.top, rcTemp.right - rcTemp.left, rcTemp.bottom - rcTemp.top, hMemDC,
                     bmp.left + rcTemp.left - rc.left, bmp.top + rcTemp.top - rc.top, SRCCOPY);
        }
    }
    else {
        const CPieceDrawer pieces(hDC, hMemDC, rcPaint, blend, fade);
        if (!hole) {
            const RECT m = { rc.left + cl, rc.top + ct, rc.right - cr, rc.bottom - cb };
            if (::IntersectRect(&rcTemp, &m, &rcPaint))
                DrawMiddle(pieces, m, bmp.left + cl, bmp.top + ct, mw, mh, xtiled, ytiled);
        }
        const int edgeWidth = rcWidth - cl - cr;
        const int edgeHeight = rcHeight - ct - cb;
        if (cl > 0 && ct > 0) pieces.Draw(rc.left, rc.top, cl, ct, bmp.left, bmp.top, cl, ct);
        if (ct > 0) pieces.Draw(rc.left + cl, rc.top, edgeWidth, ct, bmp.left + cl, bmp.top, mw, ct);
        if (cr > 0 && ct > 0) pieces.Draw(rc.right - cr, rc.top, cr, ct, bmp.right - cr, bmp.top, cr, ct);
        if (cl > 0) pieces.Draw(rc.left, rc.top + ct, cl, edgeHeight, bmp.left, bmp.top + ct, cl, mh);
        if (cr > 0) pieces.Draw(rc.right - cr, rc.top + ct, cr, edgeHeight, bmp.right - cr, bmp.top + ct, cr, mh);
        if (cl > 0 && cb > 0) pieces.Draw(rc.left, rc.bottom - cb, cl, cb, bmp.left, bmp.bottom - cb, cl, cb);
        if (cb > 0) pieces.Draw(rc.left + cl, rc.bottom - cb, edgeWidth, cb, bmp.left + cl, bmp.bottom - cb, mw, cb);
        if (cr > 0 && cb > 0)
            pieces.Draw(rc.right - cr, rc.bottom - cb, cr, cb, bmp.right - cr, bmp.bottom - cb, cr, cb);
    }

    if (bOwnDC) {
        ::SelectObject(hMemDC, hOldBitmap);
        ::DeleteDC(hMemDC);
    }
}

CImageStringParser::CImageStringParser(const RECT& rcControl, int nDpi)
    : m_rcControl(rcControl), m_nDpi(nDpi), m_bPixels(false), m_nImageCount(0)
{
    m_settings.rcDest = rcControl;
    m_settings.bDest = false;
    m_settings.bPixelDest = false;
    ::SetRectEmpty(&m_settings.rcDestOffsets);
    ::SetRectEmpty(&m_settings.rcSource);
    m_settings.bPixelSource = false;
    ::SetRectEmpty(&m_settings.rcCorners);
    m_settings.dwMask = 0;
    m_settings.uFade = 255;
    m_settings.bHole = false;
    m_settings.bTiledX = false;
    m_settings.bTiledY = false;
}

CImageStringParser::~CImageStringParser()
{
}

const TImageDrawSettings& CImageStringParser::GetSettings() const
{
    return m_settings;
}

void CImageStringParser::Parse(LPCWSTR image, LPCWSTR modify)
{
    // A bare name is the image; pairs replace it.
    m_settings.sImageName = image;
    m_nImageCount = 0;
    m_bPixels = false;
    ParsePass(image);
    m_nImageCount = 0;
    m_bPixels = true;
    ParsePass(modify);
    OnImage(m_settings);
}

void CImageStringParser::ParsePass(LPCWSTR text)
{
    if (text == NULL) return;
    LPCWSTR p = text;
    while (*p != L'\0') {
        while (IsBlank(*p))
            ++p;
        LPCWSTR keyStart = p;
        while (*p != L'\0' && *p != L'=' && !IsBlank(*p))
            ++p;
        const CUIString key(keyStart, static_cast<int>(p - keyStart));
        while (IsBlank(*p))
            ++p;
        if (*p != L'=') return;
        ++p;
        while (IsBlank(*p))
            ++p;
        if (*p != L'\'') return;
        ++p;
        LPCWSTR valueStart = p;
        while (*p != L'\0' && *p != L'\'')
            ++p;
        if (*p == L'\0') return;
        const CUIString value(valueStart, static_cast<int>(p - valueStart));
        ++p;
        if (!value.IsEmpty()) Apply(key, value);
        // Exactly one space leads to the next pair.
        if (*p != L' ') return;
        ++p;
    }
}

void CImageStringParser::Apply(const CUIString& key, const CUIString& value)
{
    if (key == L"file" || key == L"res" || key == L"restype") {
        // A new image (or type) starts: the one described so far is drawn first.
        if (m_nImageCount > 0) OnImage(m_settings);
        if (key == L"restype")
            m_settings.sResType = value;
        else
            m_settings.sImageName = value;
        if (key != L"res") ++m_nImageCount;
    }
    else if (key == L"dest") {
        ReadRect(value, m_settings.rcDestOffsets);
        m_settings.bDest = true;
        m_settings.bPixelDest = m_bPixels;
        m_settings.rcDest = PlaceDest(m_settings, m_rcControl, m_nDpi);
    }
    else if (key == L"source") {
        ReadRect(value, m_settings.rcSource);
        m_settings.bPixelSource = m_bPixels;
    }
    else if (key == L"corner") {
        ReadRect(value, m_settings.rcCorners);
    }
    else if (key == L"mask") {
        LPCWSTR digits = value.GetData();
        if (*digits == L'#') ++digits;
        m_settings.dwMask = static_cast<DWORD>(wcstoul(digits, NULL, 16));
    }
    else if (key == L"fade") {
        m_settings.uFade = static_cast<BYTE>(wcstoul(value.GetData(), NULL, 10) & 0xFF);
    }
    else if (key == L"hole") {
        m_settings.bHole = value == L"true";
    }
    else if (key == L"xtiled") {
        m_settings.bTiledX = value == L"true";
    }
    else if (key == L"ytiled") {
        m_settings.bTiledY = value == L"true";
    }
}

RECT CImageStringParser::PlaceDest(const TImageDrawSettings& settings, const RECT& rcControl, int nDpi)
{
    if (!settings.bDest) return rcControl;
    const int nDestDpi = settings.bPixelDest ? UI_DEFAULT_DPI : nDpi;
    const RECT& rcOffsets = settings.rcDestOffsets;
    // Relative to the control; right and bottom stay inside it.
    const long long right = static_cast<long long>(rcControl.left) + DpiScale(rcOffsets.right, nDestDpi);
    const long long bottom = static_cast<long long>(rcControl.top) + DpiScale(rcOffsets.bottom, nDestDpi);
    RECT rc;
    rc.left = ToLong(static_cast<long long>(rcControl.left) + DpiScale(rcOffsets.left, nDestDpi));
    rc.top = ToLong(static_cast<long long>(rcControl.top) + DpiScale(rcOffsets.top, nDestDpi));
    rc.right = right < rcControl.right ? ToLong(right) : rcControl.right;
    rc.bottom = bottom < rcControl.bottom ? ToLong(bottom) : rcControl.bottom;
    return rc;
}

void CImageStringParser::ReadRect(LPCWSTR value, RECT& rc) const
{
    // Four signed numbers, each followed by one separator of any kind; missing numbers read as 0.
    LONG* fields[4] = { &rc.left, &rc.top, &rc.right, &rc.bottom };
    LPCWSTR p = value;
    for (int i = 0; i < 4; ++i) {
        wchar_t* end = NULL;
        *fields[i] = static_cast<LONG>(wcstol(p, &end, 10));
        p = end;
        if (*p != L'\0') ++p;
    }
}

} // namespace Veneer
