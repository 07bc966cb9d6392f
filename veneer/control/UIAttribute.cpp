// Parsing of the attribute value syntax shared by all controls.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIAttribute.h"

namespace Veneer {

int CUIAttribute::ParseInt(LPCWSTR value)
{
    if (value == NULL) return 0;
    return static_cast<int>(::wcstol(value, NULL, 10));
}

int CUIAttribute::ParseExtent(LPCWSTR value)
{
    return ClampExtent(ParseInt(value));
}

int CUIAttribute::ClampExtent(long long n)
{
    if (n > kMaxExtent) return kMaxExtent;
    if (n < -kMaxExtent) return -kMaxExtent;
    return static_cast<int>(n);
}

bool CUIAttribute::ParseBool(LPCWSTR value)
{
    return value != NULL && ::wcscmp(value, L"true") == 0;
}

DWORD CUIAttribute::ParseColor(LPCWSTR value)
{
    if (value == NULL) return 0;
    if (*value == L'#') ++value;
    return static_cast<DWORD>(::wcstoul(value, NULL, 16));
}

DWORD CUIAttribute::ParseColorSkipBlanks(LPCWSTR value)
{
    if (value == NULL) return 0;
    while (*value > L'\0' && *value <= L' ') ++value;
    return ParseColor(value);
}

void CUIAttribute::ParseInts(LPCWSTR value, int* values, int count)
{
    if (value == NULL) value = L"";
    LPCWSTR pos = value;
    for (int i = 0; i < count; ++i) {
        wchar_t* end = NULL;
        values[i] = ClampExtent(::wcstol(pos, &end, 10));
        // One separator is skipped, but never the terminator: a short value must not read past its end.
        pos = (*end != L'\0') ? end + 1 : end;
    }
}

RECT CUIAttribute::ParseRect(LPCWSTR value)
{
    int v[4];
    ParseInts(value, v, 4);
    RECT rc = { v[0], v[1], v[2], v[3] };
    return rc;
}

SIZE CUIAttribute::ParseSize(LPCWSTR value)
{
    int v[2];
    ParseInts(value, v, 2);
    SIZE sz = { v[0], v[1] };
    return sz;
}

} // namespace Veneer
