// In-place XML reader: one wide document buffer, a flat table of element records, and node handles.
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

// Encodings understood by CMarkup::LoadFromMem and CMarkup::LoadFromFile.
enum
{
    XMLFILE_ENCODING_UTF8 = 0,
    XMLFILE_ENCODING_UNICODE = 1,   // UTF-16 with a byte-order mark, either byte order
    XMLFILE_ENCODING_ANSI = 2       // the system ANSI code page
};

class CMarkup;

// Handle to one element of a loaded CMarkup. Owns nothing; valid while its markup stays loaded.
class CMarkupNode
{
    friend class CMarkup;
public:
// Construction
    CMarkupNode();
    CMarkupNode(const CMarkupNode& src);
    CMarkupNode& operator=(const CMarkupNode& src);

// Navigation
    bool IsValid() const;
    CMarkupNode GetParent() const;
    CMarkupNode GetSibling() const;
    CMarkupNode GetChild() const;
    CMarkupNode GetChild(LPCWSTR pstrName) const;
    bool HasSiblings() const;
    bool HasChildren() const;
    LPCWSTR GetName() const;
    LPCWSTR GetValue() const;

// Attributes
    int GetAttributeCount() const;
    bool HasAttributes() const;
    bool HasAttribute(LPCWSTR pstrName) const;
    LPCWSTR GetAttributeName(int iIndex) const;
    LPCWSTR GetAttributeValue(int iIndex) const;
    LPCWSTR GetAttributeValue(LPCWSTR pstrName) const;
    bool GetAttributeValue(int iIndex, LPWSTR pstrValue, SIZE_T cchMax) const;
    bool GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, SIZE_T cchMax) const;

// Implementation
private:
    enum { MAX_XML_ATTRIBUTES = 64 };

    struct XMLATTRIBUTE
    {
        ULONG iName;
        ULONG iValue;
    };

    CMarkupNode(const CMarkup* pOwner, int iPos);
    bool _IsLoaded() const;
    CMarkupNode _NodeAt(ULONG iPos) const;
    void _MapAttributes() const;
    int _FindAttribute(LPCWSTR pstrName) const;

    int m_iPos;
    // The owner's load at the time the node was taken: a reload makes the node answer as invalid.
    UINT m_nLoad;
    // Filled on first attribute access; 0 also means "not mapped yet".
    mutable int m_nAttributes;
    mutable XMLATTRIBUTE m_aAttributes[MAX_XML_ATTRIBUTES];
    const CMarkup* m_pOwner;
};

// The document: parsed in place, elements recorded as index-linked records, no per-element allocation.
class CMarkup
{
    friend class CMarkupNode;
public:
// Construction
    explicit CMarkup(LPCWSTR pstrXML = NULL);
    ~CMarkup();

// Operations
    bool Load(LPCWSTR pstrXML);
    bool LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding = XMLFILE_ENCODING_UTF8);
    bool LoadFromFile(LPCWSTR pstrFilename, int encoding = XMLFILE_ENCODING_UTF8);
    void Release();
    bool IsValid() const;

// Attributes
    void SetPreserveWhitespace(bool bPreserve = true);
    void GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const;
    CMarkupNode GetRoot() const;

// Implementation
private:
    typedef struct tagXMLELEMENT
    {
        ULONG iStart;   // offset of the element name
        ULONG iChild;   // first child, 0 when none
        ULONG iNext;    // next sibling, 0 when none
        ULONG iParent;  // parent, 0 for top-level elements
        ULONG iData;    // offset of the element text
    } XMLELEMENT;

    CMarkup(const CMarkup&);
    CMarkup& operator=(const CMarkup&);

    bool _Parse();
    bool _ParseAttributes(LPWSTR& pstrText);
    bool _ParseEndTag(LPWSTR& pstrText, ULONG iElement);
    void _ParseData(LPWSTR& pstrText, LPWSTR& pstrDest, wchar_t cEnd) const;
    int _ReserveElement();
    bool _Failed(LPCWSTR pstrError, LPCWSTR pstrLocation = NULL);
    bool _AllocateText(SIZE_T cchText);

    LPWSTR m_pstrXML;
    XMLELEMENT* m_pElements;
    UINT m_nLoad;   // counts releases, so nodes can tell they outlived their document
    int m_nElements;
    int m_nReservedElements;
    WCHAR m_szErrorMsg[100];
    WCHAR m_szErrorXML[50];
    bool m_bPreserveWhitespace;
};

} // namespace Veneer
