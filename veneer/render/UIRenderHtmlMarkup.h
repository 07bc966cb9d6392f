// Readers of formatted-text markup: character classes, numbers, colours and the image tag's arguments.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"

namespace Veneer {
namespace HtmlText {

// Numbers in tags are clamped to this, so that pen arithmetic cannot overflow.
const int kMaxTagNumber = 32767;

inline bool IsHighSurrogate(wchar_t ch)
{
    return ch >= 0xD800 && ch <= 0xDBFF;
}

inline bool IsLowSurrogate(wchar_t ch)
{
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

inline bool IsDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

inline bool IsTagLetter(wchar_t ch)
{
    return ch >= L'a' && ch <= L'z';
}

inline bool IsTagEnd(wchar_t ch)
{
    return ch == L'>' || ch == L'}';
}

// A line may break after a space or any character that is not an ASCII letter (digits,
// punctuation, ideographs); never between the two halves of a surrogate pair.
inline bool IsBreakAfter(wchar_t ch)
{
    if (ch == L' ') return true;
    if ((ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z')) return false;
    return !IsHighSurrogate(ch);
}

inline int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

// "</r>" or "{/r}"; stops at the terminator.
inline bool IsRawEnd(LPCWSTR p)
{
    return (p[0] == L'<' && p[1] == L'/' && p[2] == L'r' && p[3] == L'>')
        || (p[0] == L'{' && p[1] == L'/' && p[2] == L'r' && p[3] == L'}');
}

// The first '>' or '}' from p on, or the terminator when the tag is cut off.
inline LPCWSTR FindTagEnd(LPCWSTR p)
{
    while (*p != L'\0' && !IsTagEnd(*p)) ++p;
    return p;
}

inline LPCWSTR SkipSpaces(LPCWSTR p, LPCWSTR end)
{
    while (p < end && *p == L' ') ++p;
    return p;
}

inline LPCWSTR FindSpace(LPCWSTR p, LPCWSTR end)
{
    while (p < end && *p != L' ') ++p;
    return p;
}

// What an inline image tag names: "<i name [count [index]]>" or key='value' pairs with file, res
// and restype, followed by the count and index.
struct TImageTag
{
    CUIString sName;
    CUIString sType;
    int nCount;
    int nIndex;
};

// Readers of numbers, colours and words.
bool ParseInt(LPCWSTR& p, LPCWSTR end, int& value);
int ParseIntOr(LPCWSTR p, LPCWSTR end, int fallback);
DWORD ParseColor(LPCWSTR p, LPCWSTR end);
bool RangeEquals(LPCWSTR begin, LPCWSTR end, LPCWSTR word);
bool ContainsNoCase(LPCWSTR begin, LPCWSTR end, LPCWSTR word);
void ParseImageTag(LPCWSTR p, LPCWSTR end, TImageTag& tag);

} // namespace HtmlText
} // namespace Veneer
