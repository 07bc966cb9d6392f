// CRenderEngine::ScaleImage: a decoded image resampled to another size for a display scale.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderUtil.h"

#include <math.h>

namespace Veneer {

namespace {

// Catmull-Rom cubic: sharp edges with little ringing, exact at the source pixels.
float Cubic(float x)
{
    x = x < 0 ? -x : x;
    if (x < 1.0f) return (1.5f * x - 2.5f) * x * x + 1.0f;
    if (x < 2.0f) return ((-0.5f * x + 2.5f) * x - 4.0f) * x + 2.0f;
    return 0.0f;
}

// For each target pixel of one axis, the source pixels that make it and their weights. When reducing,
// the filter widens with the reduction so every source pixel counts (no aliasing of fine lines).
class CAxisFilter
{
public:
    CAxisFilter() : m_pFirst(NULL), m_pWeights(NULL), m_nTaps(0), m_nSource(0) {}
    ~CAxisFilter()
    {
        delete[] m_pFirst;
        delete[] m_pWeights;
    }

    bool Build(int nSource, int nTarget)
    {
        const float fScale = static_cast<float>(nTarget) / static_cast<float>(nSource);
        const float fWidth = fScale < 1.0f ? 1.0f / fScale : 1.0f;
        m_nTaps = static_cast<int>(ceilf(2.0f * fWidth)) * 2 + 1;
        m_pFirst = new (std::nothrow) int[nTarget];
        m_pWeights = new (std::nothrow) float[static_cast<size_t>(nTarget) * m_nTaps];
        if (m_pFirst == NULL || m_pWeights == NULL) return false;
        for (int i = 0; i < nTarget; i++) {
            // Pixel centres line up: target centre i + 0.5 maps to source centre.
            const float fCentre = (static_cast<float>(i) + 0.5f) / fScale - 0.5f;
            const int nFirst = static_cast<int>(floorf(fCentre - 2.0f * fWidth)) + 1;
            float* pWeights = m_pWeights + static_cast<size_t>(i) * m_nTaps;
            float fSum = 0.0f;
            for (int t = 0; t < m_nTaps; t++) {
                pWeights[t] = Cubic((static_cast<float>(nFirst + t) - fCentre) / fWidth);
                fSum += pWeights[t];
            }
            for (int t = 0; t < m_nTaps; t++) pWeights[t] /= fSum;
            m_pFirst[i] = nFirst;
        }
        m_nSource = nSource;
        return true;
    }

    // Source index of a tap, the edge pixel repeated beyond the picture.
    int Source(int i, int t) const
    {
        const int n = m_pFirst[i] + t;
        return n < 0 ? 0 : (n >= m_nSource ? m_nSource - 1 : n);
    }
    float Weight(int i, int t) const { return m_pWeights[static_cast<size_t>(i) * m_nTaps + t]; }
    int GetTaps() const { return m_nTaps; }

private:
    CAxisFilter(const CAxisFilter&);
    CAxisFilter& operator=(const CAxisFilter&);

    int* m_pFirst;
    float* m_pWeights;
    int m_nTaps;
    int m_nSource;
};

// A bitmap's pixels as top-down 0xAARRGGBB words; null when they cannot be read.
DWORD* ReadPixels(HBITMAP hBitmap, int cx, int cy)
{
    const size_t nCount = static_cast<size_t>(cx) * static_cast<size_t>(cy);
    DWORD* pPixels = new (std::nothrow) DWORD[nCount];
    if (pPixels == NULL) return NULL;
    // GDI turns any bitmap into top-down rows; the header of a DIB section cannot tell its row order
    // (its height reads positive either way).
    BITMAPINFO bmi = RenderUtil::Dib32Info(cx, cy);
    HDC hDC = ::GetDC(NULL);
    const int nLines = ::GetDIBits(hDC, hBitmap, 0, static_cast<UINT>(cy), pPixels, &bmi, DIB_RGB_COLORS);
    ::ReleaseDC(NULL, hDC);
    if (nLines == cy) return pPixels;
    // Refused while a DC has the bitmap selected: a section is read where it lies, in the top-down
    // order every picture of the framework is made in.
    DIBSECTION ds = {};
    if (::GetObjectW(hBitmap, sizeof(ds), &ds) == sizeof(ds) && ds.dsBm.bmBits != NULL &&
        ds.dsBm.bmBitsPixel == 32 && ds.dsBm.bmWidth == cx && ds.dsBm.bmHeight == cy) {
        ::GdiFlush();
        const BYTE* pBits = static_cast<const BYTE*>(ds.dsBm.bmBits);
        for (int y = 0; y < cy; y++) {
            const BYTE* pRow = pBits + static_cast<size_t>(y) * ds.dsBm.bmWidthBytes;
            ::CopyMemory(pPixels + static_cast<size_t>(y) * cx, pRow, static_cast<size_t>(cx) * 4);
        }
        return pPixels;
    }
    delete[] pPixels;
    return NULL;
}

BYTE ToByte(float f, float fMax)
{
    if (f <= 0.0f) return 0;
    if (f >= fMax) return static_cast<BYTE>(fMax + 0.5f);
    return static_cast<BYTE>(f + 0.5f);
}

} // namespace

TImageInfo* CRenderEngine::ScaleImage(const TImageInfo* image, int cx, int cy)
{
    if (image == NULL || image->hBmp == NULL || image->nWidth <= 0 || image->nHeight <= 0 || cx <= 0 || cy <= 0)
        return NULL;
    // Both pictures must stay within what the loader accepts.
    if (static_cast<long long>(cx) * cy > 64LL * 1024 * 1024) return NULL;
    const bool bAlpha = image->bAlpha;
    const int nSourceWidth = image->nWidth;
    const int nSourceHeight = image->nHeight;
    DWORD* pSource = ReadPixels(image->hBmp, nSourceWidth, nSourceHeight);
    if (pSource == NULL) return NULL;

    CAxisFilter horizontal;
    CAxisFilter vertical;
    // Rows first, into premultiplied float channels (b, g, r, a) of the target width.
    float* pRows = NULL;
    if (horizontal.Build(nSourceWidth, cx) && vertical.Build(nSourceHeight, cy))
        pRows = new (std::nothrow) float[static_cast<size_t>(cx) * nSourceHeight * 4];
    DWORD* pTarget = NULL;
    HBITMAP hBitmap = pRows != NULL ? RenderUtil::CreateDib32(NULL, cx, cy, &pTarget) : NULL;
    if (hBitmap == NULL) {
        delete[] pRows;
        delete[] pSource;
        return NULL;
    }
    for (int y = 0; y < nSourceHeight; y++) {
        const BYTE* pLine = reinterpret_cast<const BYTE*>(pSource + static_cast<size_t>(y) * nSourceWidth);
        float* pOut = pRows + static_cast<size_t>(y) * cx * 4;
        for (int x = 0; x < cx; x++, pOut += 4) {
            float c[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            for (int t = 0; t < horizontal.GetTaps(); t++) {
                const float w = horizontal.Weight(x, t);
                const BYTE* p = pLine + static_cast<size_t>(horizontal.Source(x, t)) * 4;
                for (int k = 0; k < 4; k++) c[k] += w * p[k];
            }
            for (int k = 0; k < 4; k++) pOut[k] = c[k];
        }
    }
    // Then columns; the cubic may overshoot, so channels are held within the alpha they are
    // premultiplied by.
    for (int y = 0; y < cy; y++) {
        BYTE* pOut = reinterpret_cast<BYTE*>(pTarget + static_cast<size_t>(y) * cx);
        for (int x = 0; x < cx; x++, pOut += 4) {
            float c[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            for (int t = 0; t < vertical.GetTaps(); t++) {
                const float w = vertical.Weight(y, t);
                const float* p = pRows + (static_cast<size_t>(vertical.Source(y, t)) * cx + x) * 4;
                for (int k = 0; k < 4; k++) c[k] += w * p[k];
            }
            // An opaque picture's alpha bytes carry nothing (a device bitmap leaves them 0).
            const BYTE alpha = bAlpha ? ToByte(c[3], 255.0f) : 255;
            for (int k = 0; k < 3; k++) pOut[k] = ToByte(c[k], alpha);
            pOut[3] = alpha;
        }
    }
    delete[] pRows;
    delete[] pSource;

    TImageInfo* pScaled = new (std::nothrow) TImageInfo();
    if (pScaled == NULL) {
        ::DeleteObject(hBitmap);
        return NULL;
    }
    pScaled->hBmp = hBitmap;
    pScaled->nWidth = cx;
    pScaled->nHeight = cy;
    pScaled->bAlpha = image->bAlpha;
    pScaled->sResourceType = image->sResourceType;
    pScaled->dwMaskColor = image->dwMaskColor;
    return pScaled;
}

} // namespace Veneer
