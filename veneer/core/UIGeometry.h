// CUIRect, CSize and CPoint: thin wrappers over the Win32 RECT, SIZE and POINT records.
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

class CUIRect : public tagRECT
{
public:
// Construction
    CUIRect();
    CUIRect(const RECT& src);
    CUIRect(int iLeft, int iTop, int iRight, int iBottom);

// Attributes
    int GetWidth() const;
    int GetHeight() const;
    bool IsNull() const;

// Operations
    void Empty();
    void Join(const RECT& rc);
    void ResetOffset();
    void Normalize();
    void Offset(int cx, int cy);
    void Inflate(int cx, int cy);
    void Deflate(int cx, int cy);
    void Union(const CUIRect& rc);
};

class CSize : public tagSIZE
{
public:
// Construction
    CSize();
    CSize(const SIZE& src);
    CSize(const RECT rc);
    CSize(int cx, int cy);
};

class CPoint : public tagPOINT
{
public:
// Construction
    CPoint();
    CPoint(const POINT& src);
    CPoint(int x, int y);
    // The client coordinates of a mouse message: signed 16-bit x low, y high.
    explicit CPoint(LPARAM lParam);
};

// Skin lengths are in units of a 96-DPI display. DpiScale gives the pixels a length covers at a DPI,
// rounded to the nearest pixel (halves away from zero) and held within int; DpiUnscale goes back.
const int UI_DEFAULT_DPI = 96;
int DpiScale(int nValue, int nDpi);
int DpiUnscale(int nPixels, int nDpi);

} // namespace Veneer
