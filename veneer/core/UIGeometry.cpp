// CUIRect, CSize and CPoint: constructors and rectangle arithmetic.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIGeometry.h"

#include <limits.h>

namespace Veneer {

/////////////////////////////////////////////////////////////////////////////////////
// CUIRect

CUIRect::CUIRect()
{
    left = top = right = bottom = 0;
}

CUIRect::CUIRect(const RECT& src)
{
    left = src.left;
    top = src.top;
    right = src.right;
    bottom = src.bottom;
}

CUIRect::CUIRect(int iLeft, int iTop, int iRight, int iBottom)
{
    left = iLeft;
    top = iTop;
    right = iRight;
    bottom = iBottom;
}

int CUIRect::GetWidth() const
{
    return right - left;
}

int CUIRect::GetHeight() const
{
    return bottom - top;
}

void CUIRect::Empty()
{
    left = top = right = bottom = 0;
}

bool CUIRect::IsNull() const
{
    return left == 0 && right == 0 && top == 0 && bottom == 0;
}

void CUIRect::Join(const RECT& rc)
{
    if( rc.left < left ) left = rc.left;
    if( rc.top < top ) top = rc.top;
    if( rc.right > right ) right = rc.right;
    if( rc.bottom > bottom ) bottom = rc.bottom;
}

void CUIRect::ResetOffset()
{
    ::OffsetRect(this, -left, -top);
}

void CUIRect::Normalize()
{
    if( left > right ) {
        const LONG iTemp = left;
        left = right;
        right = iTemp;
    }
    if( top > bottom ) {
        const LONG iTemp = top;
        top = bottom;
        bottom = iTemp;
    }
}

void CUIRect::Offset(int cx, int cy)
{
    ::OffsetRect(this, cx, cy);
}

void CUIRect::Inflate(int cx, int cy)
{
    ::InflateRect(this, cx, cy);
}

void CUIRect::Deflate(int cx, int cy)
{
    ::InflateRect(this, -cx, -cy);
}

void CUIRect::Union(const CUIRect& rc)
{
    ::UnionRect(this, this, &rc);
}

/////////////////////////////////////////////////////////////////////////////////////
// CSize

CSize::CSize()
{
    cx = cy = 0;
}

CSize::CSize(const SIZE& src)
{
    cx = src.cx;
    cy = src.cy;
}

CSize::CSize(const RECT rc)
{
    cx = rc.right - rc.left;
    cy = rc.bottom - rc.top;
}

CSize::CSize(int _cx, int _cy)
{
    cx = _cx;
    cy = _cy;
}

/////////////////////////////////////////////////////////////////////////////////////
// CPoint

CPoint::CPoint()
{
    x = y = 0;
}

CPoint::CPoint(const POINT& src)
{
    x = src.x;
    y = src.y;
}

CPoint::CPoint(int _x, int _y)
{
    x = _x;
    y = _y;
}

CPoint::CPoint(LPARAM lParam)
{
    x = GET_X_LPARAM(lParam);
    y = GET_Y_LPARAM(lParam);
}

namespace {

// value * numerator / denominator, rounded half away from zero, held within int.
int MulDivRound(int nValue, int nNumerator, int nDenominator)
{
    if (nDenominator <= 0) return nValue;
    const long long nProduct = static_cast<long long>(nValue) * nNumerator;
    const long long nHalf = nDenominator / 2;
    long long nResult = nProduct >= 0 ? (nProduct + nHalf) / nDenominator : -((-nProduct + nHalf) / nDenominator);
    if (nResult > INT_MAX) nResult = INT_MAX;
    if (nResult < INT_MIN) nResult = INT_MIN;
    return static_cast<int>(nResult);
}

} // namespace

int DpiScale(int nValue, int nDpi)
{
    return nDpi == UI_DEFAULT_DPI ? nValue : MulDivRound(nValue, nDpi, UI_DEFAULT_DPI);
}

int DpiUnscale(int nPixels, int nDpi)
{
    return nDpi == UI_DEFAULT_DPI ? nPixels : MulDivRound(nPixels, UI_DEFAULT_DPI, nDpi);
}

} // namespace Veneer
