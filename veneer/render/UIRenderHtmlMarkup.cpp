// Readers of formatted-text markup: numbers, colours, words and the image tag's arguments.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRenderHtmlMarkup.h"

#include <cwchar>
#include <cwctype>

namespace Veneer {
namespace HtmlText {

// Signed decimal at p (no leading spaces); false without digits. The value is clamped.
bool ParseInt(LPCWSTR& p, LPCWSTR end, int& value)
{
    LPCWSTR q = p;
    bool negative = false;
    if (q < end && (*q == L'-' || *q == L'+')) {
        negative = (*q == L'-');
        ++q;
    }
    if (q >= end || !IsDigit(*q)) return false;
    int result = 0;
    while (q < end && IsDigit(*q)) {
        if (result <= kMaxTagNumber) result = result * 10 + (*q - L'0');
        ++q;
    }
    if (result > kMaxTagNumber) result = kMaxTagNumber;
    value = negative ? -result : result;
    p = q;
    return true;
}

int ParseIntOr(LPCWSTR p, LPCWSTR end, int fallback)
{
    int value = fallback;
    p = SkipSpaces(p, end);
    ParseInt(p, end, value);
    return value;
}

// "#AARRGGBB" or "AARRGGBB"; only the last eight digits count.
DWORD ParseColor(LPCWSTR p, LPCWSTR end)
{
    p = SkipSpaces(p, end);
    if (p < end && *p == L'#') ++p;
    DWORD color = 0;
    for (; p < end; ++p) {
        const wchar_t ch = *p;
        DWORD digit;
        if (ch >= L'0' && ch <= L'9') digit = static_cast<DWORD>(ch - L'0');
        else if (ch >= L'a' && ch <= L'f') digit = static_cast<DWORD>(ch - L'a' + 10);
        else if (ch >= L'A' && ch <= L'F') digit = static_cast<DWORD>(ch - L'A' + 10);
        else break;
        color = (color << 4) | digit;
    }
    return color;
}

bool RangeEquals(LPCWSTR begin, LPCWSTR end, LPCWSTR word)
{
    const size_t length = wcslen(word);
    return static_cast<size_t>(end - begin) == length && wcsncmp(begin, word, length) == 0;
}

// Whether the word occurs in [begin, end), ASCII case folded.
bool ContainsNoCase(LPCWSTR begin, LPCWSTR end, LPCWSTR word)
{
    const ptrdiff_t length = static_cast<ptrdiff_t>(wcslen(word));
    for (LPCWSTR p = begin; end - p >= length; ++p) {
        ptrdiff_t i = 0;
        while (i < length && towlower(p[i]) == word[i]) ++i;
        if (i == length) return true;
    }
    return false;
}

void ParseImageTag(LPCWSTR p, LPCWSTR end, TImageTag& tag)
{
    tag.nCount = 1;
    tag.nIndex = 0;
    int numbers = 0;
    bool named = false;
    for (;;) {
        p = SkipSpaces(p, end);
        if (p >= end) break;
        LPCWSTR keyEnd = p;
        while (keyEnd < end && *keyEnd != L'=' && *keyEnd != L' ') ++keyEnd;
        if (keyEnd + 1 < end && keyEnd[0] == L'=' && keyEnd[1] == L'\'') {
            LPCWSTR value = keyEnd + 2;
            LPCWSTR valueEnd = value;
            while (valueEnd < end && *valueEnd != L'\'') ++valueEnd;
            const int cchValue = static_cast<int>(valueEnd - value);
            if (RangeEquals(p, keyEnd, L"file") || RangeEquals(p, keyEnd, L"res")) {
                tag.sName.Assign(value, cchValue);
                named = true;
            }
            else if (RangeEquals(p, keyEnd, L"restype")) {
                tag.sType.Assign(value, cchValue);
            }
            p = (valueEnd < end) ? valueEnd + 1 : end;
            continue;
        }
        LPCWSTR tokenEnd = FindSpace(p, end);
        if (!named) {
            tag.sName.Assign(p, static_cast<int>(tokenEnd - p));
            named = true;
        }
        else if (numbers == 0) {
            tag.nCount = ParseIntOr(p, tokenEnd, 1);
            ++numbers;
        }
        else if (numbers == 1) {
            tag.nIndex = ParseIntOr(p, tokenEnd, 0);
            ++numbers;
        }
        p = tokenEnd;
    }
}

} // namespace HtmlText
} // namespace Veneer
