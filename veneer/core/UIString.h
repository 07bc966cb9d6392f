// CUIString: the framework's wide string, short texts kept in an inline buffer.
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

class CUIString
{
public:
    // Texts shorter than this live in the inline buffer; longer ones on the heap.
    enum { MAX_LOCAL_STRING_LEN = 63 };

// Construction
    CUIString();
    CUIString(const wchar_t ch);
    CUIString(const CUIString& src);
    CUIString(LPCWSTR lpsz, int nLen = -1);
    ~CUIString();

// Attributes
    int GetLength() const;
    // Read on every paint of every control: inline.
    bool IsEmpty() const { return m_pstr[0] == L'\0'; }
    wchar_t GetAt(int nIndex) const;
    void SetAt(int nIndex, wchar_t ch);
    LPCWSTR GetData() const { return m_pstr; }
    operator LPCWSTR() const { return m_pstr; }
    wchar_t operator[](int nIndex) const;

// Operations
    void Empty();
    void Assign(LPCWSTR pstr, int nLength = -1);
    void Append(LPCWSTR pstr);

    const CUIString& operator=(const CUIString& src);
    const CUIString& operator=(LPCWSTR lpStr);
    const CUIString& operator=(LPCSTR lpStr);
    const CUIString& operator=(const wchar_t ch);

    const CUIString& operator+=(const CUIString& src);
    const CUIString& operator+=(LPCWSTR lpStr);
    const CUIString& operator+=(LPCSTR lpStr);
    const CUIString& operator+=(const wchar_t ch);

    CUIString operator+(const CUIString& src) const;
    CUIString operator+(LPCWSTR lpStr) const;

    bool operator==(const CUIString& str) const;
    bool operator!=(const CUIString& str) const;
    bool operator==(LPCWSTR str) const;
    bool operator!=(LPCWSTR str) const;
    bool operator<=(LPCWSTR str) const;
    bool operator<(LPCWSTR str) const;
    bool operator>=(LPCWSTR str) const;
    bool operator>(LPCWSTR str) const;

    int Compare(LPCWSTR pstr) const;
    int CompareNoCase(LPCWSTR pstr) const;

    void MakeUpper();
    void MakeLower();

    CUIString Left(int nLength) const;
    CUIString Mid(int iPos, int nLength = -1) const;
    CUIString Right(int nLength) const;

    int Find(wchar_t ch, int iPos = 0) const;
    int Find(LPCWSTR pstr, int iPos = 0) const;
    int ReverseFind(wchar_t ch) const;
    int Replace(LPCWSTR pstrFrom, LPCWSTR pstrTo);

    int Format(LPCWSTR pstrFormat, ...);
    int SmallFormat(LPCWSTR pstrFormat, ...);

// Implementation
protected:
    bool IsInline() const;
    bool Owns(LPCWSTR pstr) const;

    LPWSTR m_pstr;
    wchar_t m_szBuffer[MAX_LOCAL_STRING_LEN + 1];
};

// A text on the left must compare the characters, not the pointers.
bool operator==(LPCWSTR lhs, const CUIString& rhs);
bool operator!=(LPCWSTR lhs, const CUIString& rhs);

} // namespace Veneer
