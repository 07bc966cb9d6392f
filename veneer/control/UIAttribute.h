// CUIAttribute: reads the value syntax shared by every skin attribute (integers, booleans, colours, rectangles, sizes).
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

class CUIAttribute
{
public:
    // Attributes
    // Largest magnitude of a coordinate, size or distance read from a skin. No window comes near it,
    // and values beyond it would only overflow the sums that lay out and paint a tree.
    static constexpr int kMaxExtent = 1 << 18;

    // Operations
    // Decimal integer as the C runtime reads it: leading blanks and a sign accepted, stops at the first
    // non-digit, no digits give 0.
    static int ParseInt(LPCWSTR value);
    // As ParseInt, held within -kMaxExtent..kMaxExtent: for sizes, distances and positions.
    static int ParseExtent(LPCWSTR value);
    // A computed coordinate or distance held within -kMaxExtent..kMaxExtent.
    static int ClampExtent(long long n);
    // True only for the exact text "true".
    static bool ParseBool(LPCWSTR value);
    // 0xAARRGGBB from hex digits with an optional leading '#'; no alpha is added to six digits.
    static DWORD ParseColor(LPCWSTR value);
    // As ParseColor, after skipping leading blanks (the background colour attributes allow them).
    static DWORD ParseColorSkipBlanks(LPCWSTR value);
    // Four decimal integers l,t,r,b, each held as ParseExtent holds it; exactly one separator character
    // follows each number.
    static RECT ParseRect(LPCWSTR value);
    // Two decimal integers cx,cy separated as in ParseRect.
    static SIZE ParseSize(LPCWSTR value);
    // Reads count such integers into values; missing ones are 0.
    static void ParseInts(LPCWSTR value, int* values, int count);
};

} // namespace Veneer
