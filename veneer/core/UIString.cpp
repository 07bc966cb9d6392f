// CUIString: inline/heap storage, conversions, comparisons, substrings, searches and formatting.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"

namespace Veneer {

namespace {

// Copies at most n characters and stops early at a terminator, so a too-long count never reads
// past the end of the source.
void CopyChars(LPWSTR dst, LPCWSTR src, int n)
{
    int i = 0;
    for( ; i < n && src[i] != L'\0'; ++i ) dst[i] = src[i];
    dst[i] = L'\0';
}

// Converts an ANSI text in the system code page; the result is empty when the conversion fails.
CUIString FromAnsi(LPCSTR lpStr)
{
    const size_t cbLen = strlen(lpStr);
    const size_t cchBuf = cbLen + 1;
    LPWSTR pwstr = static_cast<LPWSTR>(calloc(cchBuf, sizeof(wchar_t)));
    if( pwstr == NULL ) return CUIString();
    if( ::MultiByteToWideChar(::GetACP(), 0, lpStr, -1, pwstr, static_cast<int>(cchBuf)) <= 0 ) {
        pwstr[0] = L'\0';
    }
    pwstr[cbLen] = L'\0';
    CUIString sResult(pwstr);
    free(pwstr);
    return sResult;
}

} // namespace

CUIString::CUIString() : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
}

CUIString::CUIString(const wchar_t ch) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
}

CUIString::CUIString(LPCWSTR lpsz, int nLen) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(lpsz, nLen);
}

CUIString::CUIString(const CUIString& src) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    // Copies of empty texts are what most paints make (a control's text asked for, to find none).
    if (!src.IsEmpty()) Assign(src.m_pstr);
}

CUIString::~CUIString()
{
    if( !IsInline() ) free(m_pstr);
}

bool CUIString::IsInline() const
{
    return m_pstr == m_szBuffer;
}

bool CUIString::Owns(LPCWSTR pstr) const
{
    // Ordered pointer comparison across objects is unspecified; compare addresses as integers.
    const UINT_PTR p = reinterpret_cast<UINT_PTR>(pstr);
    const UINT_PTR b = reinterpret_cast<UINT_PTR>(m_pstr);
    return p >= b && p <= b + static_cast<UINT_PTR>(GetLength()) * sizeof(wchar_t);
}

int CUIString::GetLength() const
{
    return static_cast<int>(wcslen(m_pstr));
}

wchar_t CUIString::GetAt(int nIndex) const
{
    return m_pstr[nIndex];
}

void CUIString::SetAt(int nIndex, wchar_t ch)
{
    // Only characters of the text itself: writing over the terminator would leave it unterminated.
    if( nIndex < 0 || nIndex >= GetLength() ) return;
    m_pstr[nIndex] = ch;
}

wchar_t CUIString::operator[](int nIndex) const
{
    return m_pstr[nIndex];
}

void CUIString::Empty()
{
    if( !IsInline() ) free(m_pstr);
    m_pstr = m_szBuffer;
    m_szBuffer[0] = L'\0';
}

void CUIString::Assign(LPCWSTR pstr, int cchMax)
{
    if( pstr == NULL ) pstr = L"";
    // A text taken from this string's own buffer may be freed or moved below: copy it first.
    if( Owns(pstr) ) {
        CUIString sCopy(pstr, cchMax);
        Assign(sCopy.m_pstr);
        return;
    }
    cchMax = (cchMax < 0 ? static_cast<int>(wcslen(pstr)) : cchMax);
    if( cchMax < MAX_LOCAL_STRING_LEN ) {
        if( !IsInline() ) {
            free(m_pstr);
            m_pstr = m_szBuffer;
        }
    }
    else if( IsInline() || cchMax > GetLength() ) {
        LPWSTR pOld = IsInline() ? NULL : m_pstr;
        LPWSTR pNew = static_cast<LPWSTR>(realloc(pOld, (static_cast<size_t>(cchMax) + 1) * sizeof(wchar_t)));
        if( pNew == NULL ) return;
        m_pstr = pNew;
    }
    CopyChars(m_pstr, pstr, cchMax);
}

void CUIString::Append(LPCWSTR pstr)
{
    if( pstr == NULL ) return;
    // Appending the string to itself: the source may move when the block grows.
    if( Owns(pstr) ) {
        CUIString sCopy(pstr);
        Append(sCopy.m_pstr);
        return;
    }
    const int nOldLength = GetLength();
    const int nAddLength = static_cast<int>(wcslen(pstr));
    const int nNewLength = nOldLength + nAddLength;
    if( nNewLength >= MAX_LOCAL_STRING_LEN ) {
        const size_t cb = (static_cast<size_t>(nNewLength) + 1) * sizeof(wchar_t);
        if( IsInline() ) {
            LPWSTR pNew = static_cast<LPWSTR>(malloc(cb));
            if( pNew == NULL ) return;
            memcpy(pNew, m_szBuffer, (static_cast<size_t>(nOldLength) + 1) * sizeof(wchar_t));
            m_pstr = pNew;
        }
        else {
            LPWSTR pNew = static_cast<LPWSTR>(realloc(m_pstr, cb));
            if( pNew == NULL ) return;
            m_pstr = pNew;
        }
    }
    memcpy(m_pstr + nOldLength, pstr, (static_cast<size_t>(nAddLength) + 1) * sizeof(wchar_t));
}

const CUIString& CUIString::operator=(const CUIString& src)
{
    if( this != &src ) Assign(src.m_pstr);
    return *this;
}

const CUIString& CUIString::operator=(LPCWSTR lpStr)
{
    if( lpStr == NULL ) Empty();
    else Assign(lpStr);
    return *this;
}

const CUIString& CUIString::operator=(LPCSTR lpStr)
{
    if( lpStr == NULL ) Empty();
    else Assign(FromAnsi(lpStr).m_pstr);
    return *this;
}

const CUIString& CUIString::operator=(const wchar_t ch)
{
    Empty();
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
    return *this;
}

const CUIString& CUIString::operator+=(const CUIString& src)
{
    Append(src.m_pstr);
    return *this;
}

const CUIString& CUIString::operator+=(LPCWSTR lpStr)
{
    Append(lpStr);
    return *this;
}

const CUIString& CUIString::operator+=(LPCSTR lpStr)
{
    if( lpStr != NULL ) Append(FromAnsi(lpStr).m_pstr);
    return *this;
}

const CUIString& CUIString::operator+=(const wchar_t ch)
{
    wchar_t str[] = { ch, L'\0' };
    Append(str);
    return *this;
}

CUIString CUIString::operator+(const CUIString& src) const
{
    CUIString sTemp = *this;
    sTemp.Append(src.m_pstr);
    return sTemp;
}

CUIString CUIString::operator+(LPCWSTR lpStr) const
{
    CUIString sTemp = *this;
    sTemp.Append(lpStr);
    return sTemp;
}

bool CUIString::operator==(const CUIString& str) const { return Compare(str.m_pstr) == 0; }
bool CUIString::operator!=(const CUIString& str) const { return Compare(str.m_pstr) != 0; }
bool CUIString::operator==(LPCWSTR str) const { return Compare(str) == 0; }
bool CUIString::operator!=(LPCWSTR str) const { return Compare(str) != 0; }
bool CUIString::operator<=(LPCWSTR str) const { return Compare(str) <= 0; }
bool CUIString::operator<(LPCWSTR str) const { return Compare(str) < 0; }
bool CUIString::operator>=(LPCWSTR str) const { return Compare(str) >= 0; }
bool CUIString::operator>(LPCWSTR str) const { return Compare(str) > 0; }

bool operator==(LPCWSTR lhs, const CUIString& rhs) { return rhs.Compare(lhs) == 0; }
bool operator!=(LPCWSTR lhs, const CUIString& rhs) { return rhs.Compare(lhs) != 0; }

int CUIString::Compare(LPCWSTR lpsz) const
{
    return wcscmp(m_pstr, lpsz != NULL ? lpsz : L"");
}

int CUIString::CompareNoCase(LPCWSTR lpsz) const
{
    return _wcsicmp(m_pstr, lpsz != NULL ? lpsz : L"");
}

void CUIString::MakeUpper()
{
    _wcsupr(m_pstr);
}

void CUIString::MakeLower()
{
    _wcslwr(m_pstr);
}

CUIString CUIString::Left(int iLength) const
{
    const int nLength = GetLength();
    if( iLength < 0 ) iLength = 0;
    if( iLength > nLength ) iLength = nLength;
    return CUIString(m_pstr, iLength);
}

CUIString CUIString::Mid(int iPos, int iLength) const
{
    const int nLength = GetLength();
    // A start outside the text is pulled back to its ends so nothing outside it is read.
    if( iPos < 0 ) iPos = 0;
    if( iPos > nLength ) iPos = nLength;
    if( iLength < 0 ) iLength = nLength - iPos;
    if( iLength > nLength - iPos ) iLength = nLength - iPos;
    if( iLength <= 0 ) return CUIString();
    return CUIString(m_pstr + iPos, iLength);
}

CUIString CUIString::Right(int iLength) const
{
    const int nLength = GetLength();
    if( iLength < 0 ) iLength = 0;
    if( iLength > nLength ) return *this;
    return CUIString(m_pstr + nLength - iLength, iLength);
}

int CUIString::Find(wchar_t ch, int iPos) const
{
    if( iPos != 0 && (iPos < 0 || iPos >= GetLength()) ) return -1;
    LPCWSTR p = wcschr(m_pstr + iPos, ch);
    if( p == NULL ) return -1;
    return static_cast<int>(p - m_pstr);
}

int CUIString::Find(LPCWSTR pstrSub, int iPos) const
{
    if( pstrSub == NULL ) return -1;
    if( iPos != 0 && (iPos < 0 || iPos > GetLength()) ) return -1;
    // The empty text is found where the search starts; some runtimes miss it at the very end.
    if( pstrSub[0] == L'\0' ) return iPos;
    LPCWSTR p = wcsstr(m_pstr + iPos, pstrSub);
    if( p == NULL ) return -1;
    return static_cast<int>(p - m_pstr);
}

int CUIString::ReverseFind(wchar_t ch) const
{
    LPCWSTR p = wcsrchr(m_pstr, ch);
    if( p == NULL ) return -1;
    return static_cast<int>(p - m_pstr);
}

int CUIString::Replace(LPCWSTR pstrFrom, LPCWSTR pstrTo)
{
    // An empty pattern matches everywhere and would never advance.
    if( pstrFrom == NULL || pstrFrom[0] == L'\0' ) return 0;
    // The replacement may live in this string; keep it stable while the text changes.
    CUIString sTo(pstrTo);
    CUIString sFrom(pstrFrom);
    const int cchFrom = sFrom.GetLength();
    const int cchTo = sTo.GetLength();
    int iCount = 0;
    int iPos = Find(sFrom.m_pstr);
    if( iPos < 0 ) return 0;
    while( iPos >= 0 ) {
        CUIString sResult = Left(iPos);
        sResult.Append(sTo.m_pstr);
        sResult.Append(Mid(iPos + cchFrom).m_pstr);
        Assign(sResult.m_pstr);
        iPos = Find(sFrom.m_pstr, iPos + cchTo);
        iCount++;
    }
    return iCount;
}

int CUIString::Format(LPCWSTR pstrFormat, ...)
{
    if( pstrFormat == NULL ) {
        Empty();
        return 0;
    }
    va_list args;
    va_start(args, pstrFormat);
    va_list argsMeasure;
    va_copy(argsMeasure, args);
    const int nLen = _vscwprintf(pstrFormat, argsMeasure);
    va_end(argsMeasure);
    if( nLen < 0 ) {
        va_end(args);
        Empty();
        return nLen;
    }
    LPWSTR szBuffer = static_cast<LPWSTR>(calloc(static_cast<size_t>(nLen) + 1, sizeof(wchar_t)));
    if( szBuffer == NULL ) {
        va_end(args);
        return -1;
    }
    const int iRet = _vsnwprintf(szBuffer, static_cast<size_t>(nLen) + 1, pstrFormat, args);
    va_end(args);
    szBuffer[nLen] = L'\0';
    Assign(szBuffer);
    free(szBuffer);
    return iRet;
}

int CUIString::SmallFormat(LPCWSTR pstrFormat, ...)
{
    if( pstrFormat == NULL ) {
        Empty();
        return 0;
    }
    // wvsprintfW takes no buffer size but never writes more than 1024 characters and the
    // terminator: format into room for that, then keep what fits the short-text contract.
    wchar_t szBuffer[1025] = { 0 };
    va_list args;
    va_start(args, pstrFormat);
    const int iRet = ::wvsprintfW(szBuffer, pstrFormat, args);
    va_end(args);
    szBuffer[MAX_LOCAL_STRING_LEN] = L'\0';
    Assign(szBuffer);
    return iRet;
}

} // namespace Veneer
