// In-place XML reader: loading, the element-table parser and node navigation with lazy attribute maps.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIMarkup.h"
#include "veneer/render/UIResourceFile.h"

#include <limits.h>

namespace Veneer {

namespace {

// Whitespace is every control character and the space (codes 1 to 32).
inline bool IsXmlSpace(wchar_t ch)
{
    return static_cast<unsigned>(ch) - 1u < 32u;
}

inline void SkipWhitespace(LPWSTR& pstr)
{
    while (IsXmlSpace(*pstr)) ++pstr;
}

// Name characters: letters and digits as the C runtime classifies them, '_' and ':'. ASCII is
// answered inline so that the common case costs no runtime call.
inline bool IsNameChar(wchar_t ch)
{
    if (ch < 128) {
        return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9')
               || ch == L'_' || ch == L':';
    }
    return ::iswalnum(ch) != 0;
}

inline void SkipName(LPWSTR& pstr)
{
    while (*pstr != L'\0' && IsNameChar(*pstr)) ++pstr;
}

// Copies like wcsncpy: at most cchMax characters, the rest of the room padded with zeros; a source
// of cchMax characters or more leaves the destination unterminated.
void CopyTextN(LPWSTR pstrDest, LPCWSTR pstrSrc, SIZE_T cchMax)
{
    if (pstrDest == NULL) return;
    SIZE_T i = 0;
    if (pstrSrc != NULL) {
        for (; i < cchMax && pstrSrc[i] != L'\0'; ++i) pstrDest[i] = pstrSrc[i];
    }
    for (; i < cchMax; ++i) pstrDest[i] = L'\0';
}

// Copies at most cchRoom - 1 characters and always terminates.
void CopyTextTerminated(LPWSTR pstrDest, LPCWSTR pstrSrc, SIZE_T cchRoom)
{
    SIZE_T i = 0;
    if (pstrSrc != NULL) {
        for (; i + 1 < cchRoom && pstrSrc[i] != L'\0'; ++i) pstrDest[i] = pstrSrc[i];
    }
    pstrDest[i] = L'\0';
}

// Decodes one entity whose '&' the scan has just passed. Unknown ones leave a literal '&' and the
// scan where it is, so what follows is read as ordinary text. Comparisons stop at the first
// mismatch, so a terminator is never passed.
inline void DecodeEntity(LPWSTR& pstrText, LPWSTR& pstrDest)
{
    const wchar_t* s = pstrText;
    if (s[0] == L'a' && s[1] == L'm' && s[2] == L'p' && s[3] == L';') {
        *pstrDest++ = L'&';
        pstrText += 4;
    }
    else if (s[0] == L'l' && s[1] == L't' && s[2] == L';') {
        *pstrDest++ = L'<';
        pstrText += 3;
    }
    else if (s[0] == L'g' && s[1] == L't' && s[2] == L';') {
        *pstrDest++ = L'>';
        pstrText += 3;
    }
    else if (s[0] == L'q' && s[1] == L'u' && s[2] == L'o' && s[3] == L't' && s[4] == L';') {
        *pstrDest++ = L'"';
        pstrText += 5;
    }
    else if (s[0] == L'a' && s[1] == L'p' && s[2] == L'o' && s[3] == L's' && s[4] == L';') {
        *pstrDest++ = L'\'';
        pstrText += 5;
    }
    else {
        *pstrDest++ = L'&';
    }
}

// A terminated buffer for cchText characters; null when memory is short or the size overflows.
LPWSTR NewText(SIZE_T cchText)
{
    if (cchText >= (static_cast<SIZE_T>(-1) / sizeof(WCHAR)) - 1) return NULL;
    LPWSTR pstr = static_cast<LPWSTR>(::malloc((cchText + 1) * sizeof(WCHAR)));
    if (pstr != NULL) pstr[cchText] = L'\0';
    return pstr;
}

const DWORD kMaxTextBytes = 0x7FFFFFFE;
// Skin files above 4 MiB are refused.
const DWORD kMaxFileBytes = 4 * 1024 * 1024;

// Messages of the skin-file errors, in the order of UIResourceError.
const wchar_t* const kResourceErrors[] = {
    L"",
    L"Error opening file",
    L"File is empty",
    L"File too large",
    L"Could not read file",
    L"Error opening zip file",
    L"Could not find ziped file",
    L"Could not unzip file",
};
static_assert(lengthof(kResourceErrors) == UIRES_UNZIP_FAILED + 1, "one message per skin-file error");

} // namespace

///////////////////////////////////////////////////////////////////////////////////////////////////
// CMarkupNode

CMarkupNode::CMarkupNode() : m_iPos(0), m_nLoad(0), m_nAttributes(0), m_pOwner(NULL)
{
}

CMarkupNode::CMarkupNode(const CMarkup* pOwner, int iPos)
    : m_iPos(iPos), m_nLoad(pOwner->m_nLoad), m_nAttributes(0), m_pOwner(pOwner)
{
}

// Only the mapped part of the attribute table is copied: nodes are passed around by value a lot.
CMarkupNode::CMarkupNode(const CMarkupNode& src)
    : m_iPos(src.m_iPos), m_nLoad(src.m_nLoad), m_nAttributes(src.m_nAttributes), m_pOwner(src.m_pOwner)
{
    for (int i = 0; i < m_nAttributes; ++i) m_aAttributes[i] = src.m_aAttributes[i];
}

CMarkupNode& CMarkupNode::operator=(const CMarkupNode& src)
{
    if (this != &src) {
        m_iPos = src.m_iPos;
        m_nLoad = src.m_nLoad;
        m_pOwner = src.m_pOwner;
        m_nAttributes = src.m_nAttributes;
        for (int i = 0; i < m_nAttributes; ++i) m_aAttributes[i] = src.m_aAttributes[i];
    }
    return *this;
}

bool CMarkupNode::IsValid() const
{
    return m_pOwner != NULL;
}

// A node whose markup was released or reloaded since is answered as invalid instead of reading
// freed memory or offsets into another document.
bool CMarkupNode::_IsLoaded() const
{
    return m_pOwner != NULL && m_pOwner->m_nLoad == m_nLoad && m_pOwner->m_pElements != NULL && m_iPos > 0
           && m_iPos < m_pOwner->m_nElements;
}

CMarkupNode CMarkupNode::_NodeAt(ULONG iPos) const
{
    if (iPos == 0) return CMarkupNode();
    return CMarkupNode(m_pOwner, static_cast<int>(iPos));
}

CMarkupNode CMarkupNode::GetParent() const
{
    if (!_IsLoaded()) return CMarkupNode();
    return _NodeAt(m_pOwner->m_pElements[m_iPos].iParent);
}

CMarkupNode CMarkupNode::GetSibling() const
{
    if (!_IsLoaded()) return CMarkupNode();
    return _NodeAt(m_pOwner->m_pElements[m_iPos].iNext);
}

CMarkupNode CMarkupNode::GetChild() const
{
    if (!_IsLoaded()) return CMarkupNode();
    return _NodeAt(m_pOwner->m_pElements[m_iPos].iChild);
}

CMarkupNode CMarkupNode::GetChild(LPCWSTR pstrName) const
{
    if (!_IsLoaded() || pstrName == NULL) return CMarkupNode();
    const CMarkup::XMLELEMENT* pElements = m_pOwner->m_pElements;
    ULONG iPos = pElements[m_iPos].iChild;
    while (iPos != 0) {
        if (::wcscmp(m_pOwner->m_pstrXML + pElements[iPos].iStart, pstrName) == 0) return _NodeAt(iPos);
        iPos = pElements[iPos].iNext;
    }
    return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const
{
    return _IsLoaded() && m_pOwner->m_pElements[m_iPos].iNext > 0;
}

bool CMarkupNode::HasChildren() const
{
    return _IsLoaded() && m_pOwner->m_pElements[m_iPos].iChild > 0;
}

LPCWSTR CMarkupNode::GetName() const
{
    if (!_IsLoaded()) return NULL;
    return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iStart;
}

LPCWSTR CMarkupNode::GetValue() const
{
    if (!_IsLoaded()) return NULL;
    return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iData;
}

int CMarkupNode::GetAttributeCount() const
{
    if (!_IsLoaded()) return 0;
    if (m_nAttributes == 0) _MapAttributes();
    return m_nAttributes;
}

bool CMarkupNode::HasAttributes() const
{
    return GetAttributeCount() > 0;
}

bool CMarkupNode::HasAttribute(LPCWSTR pstrName) const
{
    return _FindAttribute(pstrName) >= 0;
}

LPCWSTR CMarkupNode::GetAttributeName(int iIndex) const
{
    if (!_IsLoaded()) return NULL;
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[iIndex].iName;
}

LPCWSTR CMarkupNode::GetAttributeValue(int iIndex) const
{
    if (!_IsLoaded()) return NULL;
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue;
}

LPCWSTR CMarkupNode::GetAttributeValue(LPCWSTR pstrName) const
{
    if (!_IsLoaded()) return NULL;
    int iIndex = _FindAttribute(pstrName);
    if (iIndex < 0) return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue;
}

bool CMarkupNode::GetAttributeValue(int iIndex, LPWSTR pstrValue, SIZE_T cchMax) const
{
    if (!_IsLoaded() || iIndex < 0 || iIndex >= GetAttributeCount()) return false;
    CopyTextN(pstrValue, m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue, cchMax);
    return true;
}

bool CMarkupNode::GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, SIZE_T cchMax) const
{
    int iIndex = _FindAttribute(pstrName);
    if (iIndex < 0) return false;
    CopyTextN(pstrValue, m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue, cchMax);
    return true;
}

int CMarkupNode::_FindAttribute(LPCWSTR pstrName) const
{
    if (pstrName == NULL) return -1;
    int nCount = GetAttributeCount();
    LPCWSTR pstrXML = nCount > 0 ? m_pOwner->m_pstrXML : NULL;
    for (int i = 0; i < nCount; ++i) {
        if (::wcscmp(pstrXML + m_aAttributes[i].iName, pstrName) == 0) return i;
    }
    return -1;
}

// Walks the attribute list the parser left between the element name and its text: each name is
// terminated, the '=' became a space and each value follows its opening quote, terminated. The
// walk never leaves that stretch, so element text starting with a quote is not taken for a value.
void CMarkupNode::_MapAttributes() const
{
    m_nAttributes = 0;
    LPCWSTR pstrXML = m_pOwner->m_pstrXML;
    const CMarkup::XMLELEMENT& element = m_pOwner->m_pElements[m_iPos];
    LPCWSTR pstr = pstrXML + element.iStart;
    LPCWSTR pstrEnd = pstrXML + element.iData;
    pstr += ::wcslen(pstr) + 1;
    while (pstr < pstrEnd && m_nAttributes < MAX_XML_ATTRIBUTES) {
        while (pstr < pstrEnd && IsXmlSpace(*pstr)) ++pstr;
        if (pstr >= pstrEnd) return;
        LPCWSTR pstrName = pstr;
        pstr += ::wcslen(pstr) + 1;
        while (pstr < pstrEnd && IsXmlSpace(*pstr)) ++pstr;
        if (pstr >= pstrEnd || *pstr != L'"') return;
        ++pstr;
        m_aAttributes[m_nAttributes].iName = static_cast<ULONG>(pstrName - pstrXML);
        m_aAttributes[m_nAttributes].iValue = static_cast<ULONG>(pstr - pstrXML);
        ++m_nAttributes;
        pstr += ::wcslen(pstr) + 1;
    }
}

///////////////////////////////////////////////////////////////////////////////////////////////////
// CMarkup

CMarkup::CMarkup(LPCWSTR pstrXML)
    : m_pstrXML(NULL), m_pElements(NULL), m_nLoad(0), m_nElements(0), m_nReservedElements(0), m_bPreserveWhitespace(true)
{
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
    if (pstrXML != NULL) Load(pstrXML);
}

CMarkup::~CMarkup()
{
    Release();
}

bool CMarkup::IsValid() const
{
    return m_pElements != NULL;
}

void CMarkup::SetPreserveWhitespace(bool bPreserve)
{
    m_bPreserveWhitespace = bPreserve;
}

void CMarkup::Release()
{
    ::free(m_pstrXML);
    ::free(m_pElements);
    m_pstrXML = NULL;
    m_pElements = NULL;
    m_nElements = 0;
    m_nReservedElements = 0;
    ++m_nLoad;
}

bool CMarkup::Load(LPCWSTR pstrXML)
{
    if (pstrXML == NULL) {
        Release();
        return _Failed(L"Invalid argument");
    }
    // The text may be a name or value of the document being replaced: copy it before releasing.
    SIZE_T cchLen = ::wcslen(pstrXML);
    LPWSTR pstrCopy = NewText(cchLen);
    if (pstrCopy != NULL) ::memcpy(pstrCopy, pstrXML, cchLen * sizeof(WCHAR));
    Release();
    if (pstrCopy == NULL) return _Failed(L"Out of memory");
    m_pstrXML = pstrCopy;
    if (_Parse()) return true;
    Release();
    return false;
}

bool CMarkup::LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding)
{
    Release();
    if (pByte == NULL && dwSize != 0) return _Failed(L"Invalid argument");
    if (dwSize > kMaxTextBytes) return _Failed(L"File too large");

    if (encoding == XMLFILE_ENCODING_UTF8 || encoding == XMLFILE_ENCODING_ANSI) {
        UINT codePage = CP_ACP;
        if (encoding == XMLFILE_ENCODING_UTF8) {
            codePage = CP_UTF8;
            if (dwSize > 2 && pByte[0] == 0xEF && pByte[1] == 0xBB && pByte[2] == 0xBF) {
                pByte += 3;
                dwSize -= 3;
            }
        }
        // No byte yields more than one UTF-16 unit, so one pass into a buffer of the byte count
        // replaces measuring first; pages the text does not reach are never touched.
        if (!_AllocateText(dwSize)) return false;
        if (dwSize > 0) {
            int cchText = ::MultiByteToWideChar(codePage, 0, reinterpret_cast<LPCSTR>(pByte), static_cast<int>(dwSize),
                                                m_pstrXML, static_cast<int>(dwSize));
            if (cchText <= 0) {
                Release();
                return _Failed(L"Could not convert text");
            }
            m_pstrXML[cchText] = L'\0';
        }
    }
    else if (encoding == XMLFILE_ENCODING_UNICODE) {
        if (dwSize < 2) return _Failed(L"Missing byte-order mark");
        bool bBigEndian = pByte[0] == 0xFE && pByte[1] == 0xFF;
        if (!bBigEndian && !(pByte[0] == 0xFF && pByte[1] == 0xFE)) return _Failed(L"Missing byte-order mark");
        SIZE_T cchText = ((dwSize & ~1u) - 2) / 2;
        if (!_AllocateText(cchText)) return false;
        const BYTE* pSrc = pByte + 2;
        // The caller's bytes are never changed (they may be a read-only module resource).
        if (bBigEndian) {
            for (SIZE_T i = 0; i < cchText; ++i) m_pstrXML[i] = static_cast<WCHAR>((pSrc[2 * i] << 8) | pSrc[2 * i + 1]);
        }
        else {
            for (SIZE_T i = 0; i < cchText; ++i) m_pstrXML[i] = static_cast<WCHAR>(pSrc[2 * i] | (pSrc[2 * i + 1] << 8));
        }
    }
    else {
        return _Failed(L"Invalid argument");
    }

    if (_Parse()) return true;
    Release();
    return false;
}

bool CMarkup::LoadFromFile(LPCWSTR pstrFilename, int encoding)
{
    Release();
    if (pstrFilename == NULL) return _Failed(L"Error opening file");
    CUIBuffer buffer;
    UIResourceError error = ReadSkinFile(pstrFilename, kMaxFileBytes, buffer);
    if (error != UIRES_OK) {
        size_t index = static_cast<size_t>(error);
        return _Failed(index < lengthof(kResourceErrors) ? kResourceErrors[index] : L"Could not unzip file");
    }
    return LoadFromMem(buffer.GetData(), buffer.GetSize(), encoding);
}

void CMarkup::GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const
{
    CopyTextN(pstrMessage, m_szErrorMsg, cchMax);
}

void CMarkup::GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const
{
    CopyTextN(pstrSource, m_szErrorXML, cchMax);
}

CMarkupNode CMarkup::GetRoot() const
{
    if (m_nElements <= 1) return CMarkupNode();
    return CMarkupNode(this, 1);
}

// Allocates the document buffer for cchText characters and its terminator.
bool CMarkup::_AllocateText(SIZE_T cchText)
{
    m_pstrXML = NewText(cchText);
    if (m_pstrXML == NULL) return _Failed(L"Out of memory");
    return true;
}

// Reserves one element record; the table grows to 500, 1,250, 2,375... records. -1 when out of memory.
int CMarkup::_ReserveElement()
{
    if (m_nElements == 0) m_nReservedElements = 0;
    if (m_nElements >= m_nReservedElements) {
        int nGrow = m_nReservedElements / 2 + 500;
        if (m_nReservedElements > INT_MAX - nGrow) return -1;
        int nReserved = m_nReservedElements + nGrow;
        if (static_cast<SIZE_T>(nReserved) > static_cast<SIZE_T>(-1) / sizeof(XMLELEMENT)) return -1;
        void* pTable = ::realloc(m_pElements, static_cast<SIZE_T>(nReserved) * sizeof(XMLELEMENT));
        if (pTable == NULL) return -1;
        m_pElements = static_cast<XMLELEMENT*>(pTable);
        m_nReservedElements = nReserved;
    }
    return m_nElements++;
}

bool CMarkup::_Failed(LPCWSTR pstrError, LPCWSTR pstrLocation)
{
    CopyTextTerminated(m_szErrorMsg, pstrError, lengthof(m_szErrorMsg));
    CopyTextTerminated(m_szErrorXML, pstrLocation != NULL ? pstrLocation : L"", lengthof(m_szErrorXML));
    return false;
}

// The element tree is built without recursion: the current parent and the last element seen at
// its level are all the state there is, since closing an element returns to that element's own
// parent with the element itself as the previous sibling. Any nesting depth parses.
bool CMarkup::_Parse()
{
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
    if (_ReserveElement() != 0) return _Failed(L"Out of memory");
    ::memset(&m_pElements[0], 0, sizeof(XMLELEMENT));

    LPWSTR pstrText = m_pstrXML;
    ULONG iParent = 0;
    ULONG iPrevious = 0;
    for (;;) {
        SkipWhitespace(pstrText);
        // The text may end inside the root or inside one of its direct children.
        if (*pstrText == L'\0') {
            if (iParent <= 1) return true;
            return _Failed(L"Expected start tag", pstrText);
        }
        if (*pstrText != L'<') {
            if (iParent == 0) return _Failed(L"Expected start tag", pstrText);
            // Text after a child element is not kept: only the text before the first child is.
            while (*pstrText != L'\0' && *pstrText != L'<') ++pstrText;
            continue;
        }
        if (pstrText[1] == L'/') {
            if (iParent == 0) return _Failed(L"Unmatched closing tag", pstrText);
            if (!_ParseEndTag(pstrText, iParent)) return false;
            iPrevious = iParent;
            iParent = m_pElements[iParent].iParent;
            continue;
        }
        *pstrText++ = L'\0';
        SkipWhitespace(pstrText);

        // Comments, declarations and processing instructions are dropped.
        if (*pstrText == L'!' || *pstrText == L'?') {
            wchar_t chClose = (*pstrText == L'!') ? L'-' : L'?';
            while (*pstrText != L'\0' && !(pstrText[0] == chClose && pstrText[1] == L'>')) ++pstrText;
            if (*pstrText != L'\0') pstrText += 2;
            continue;
        }

        int iPos = _ReserveElement();
        if (iPos < 0) return _Failed(L"Out of memory", pstrText);
        XMLELEMENT& element = m_pElements[iPos];
        element.iStart = static_cast<ULONG>(pstrText - m_pstrXML);
        element.iParent = iParent;
        element.iChild = 0;
        element.iNext = 0;
        element.iData = element.iStart;
        if (iPrevious != 0) m_pElements[iPrevious].iNext = static_cast<ULONG>(iPos);
        else if (iParent != 0) m_pElements[iParent].iChild = static_cast<ULONG>(iPos);
        iPrevious = static_cast<ULONG>(iPos);

        SkipName(pstrText);
        if (*pstrText == L'\0') return _Failed(L"Error parsing element name", pstrText);
        if (!_ParseAttributes(pstrText)) return false;
        SkipWhitespace(pstrText);

        if (pstrText[0] == L'/' && pstrText[1] == L'>') {
            m_pElements[iPos].iData = static_cast<ULONG>(pstrText - m_pstrXML);
            *pstrText = L'\0';
            pstrText += 2;
            continue;
        }
        if (*pstrText != L'>') return _Failed(L"Expected start-tag closing", pstrText);
        m_pElements[iPos].iData = static_cast<ULONG>(pstrText - m_pstrXML) + 1;
        // The '>' terminates the name when there were no attributes to do it.
        *pstrText++ = L'\0';
        LPWSTR pstrDest = pstrText;
        _ParseData(pstrText, pstrDest, L'<');

        if (*pstrText == L'\0') {
            *pstrDest = L'\0';
            if (iParent <= 1) return true;
            return _Failed(L"Expected end-tag start", pstrText);
        }
        // The text stopped at a '<'.
        if (pstrText[1] == L'/') {
            *pstrDest = L'\0';
            if (!_ParseEndTag(pstrText, static_cast<ULONG>(iPos))) return false;
            continue;
        }
        // A child follows. Its '<' becomes a terminator too, so only a compacted text needs one.
        if (pstrDest != pstrText) *pstrDest = L'\0';
        iParent = static_cast<ULONG>(iPos);
        iPrevious = 0;
    }
}

// At "</" of the element iElement: the name must match and be followed by '>'.
bool CMarkup::_ParseEndTag(LPWSTR& pstrText, ULONG iElement)
{
    *pstrText = L'\0';
    pstrText += 2;
    SkipWhitespace(pstrText);
    LPCWSTR pstrName = m_pstrXML + m_pElements[iElement].iStart;
    SIZE_T cchName = ::wcslen(pstrName);
    if (::wcsncmp(pstrText, pstrName, cchName) != 0) return _Failed(L"Unmatched closing tag", pstrText);
    pstrText += cchName;
    SkipWhitespace(pstrText);
    if (*pstrText != L'>') return _Failed(L"Unmatched closing tag", pstrText);
    ++pstrText;
    return true;
}

// Attributes follow the element name; the scan stops at '>', '/' or the end of the text. Names
// and values are terminated in place, '=' and a displaced closing quote become spaces, so the list
// can be walked again later from the name to the text.
bool CMarkup::_ParseAttributes(LPWSTR& pstrText)
{
    if (*pstrText == L'>' || *pstrText == L'/') return true;
    *pstrText++ = L'\0';
    for (;;) {
        SkipWhitespace(pstrText);
        if (*pstrText == L'\0' || *pstrText == L'>' || *pstrText == L'/') return true;
        SkipName(pstrText);
        LPWSTR pstrNameEnd = pstrText;
        SkipWhitespace(pstrText);
        if (*pstrText != L'=') return _Failed(L"Error while parsing attributes", pstrText);
        *pstrText++ = L' ';
        *pstrNameEnd = L'\0';
        SkipWhitespace(pstrText);
        if (*pstrText != L'"') return _Failed(L"Expected attribute value", pstrText);
        ++pstrText;
        LPWSTR pstrDest = pstrText;
        _ParseData(pstrText, pstrDest, L'"');
        if (*pstrText == L'\0') return _Failed(L"Error while parsing attribute string", pstrText);
        *pstrDest = L'\0';
        if (pstrText != pstrDest) *pstrText = L' ';
        ++pstrText;
    }
}

// Reads text up to cEnd or the end of the text, decoding entities and, unless whitespace is
// preserved, folding the whitespace after a space. The output is written over the input; the
// positions it no longer uses become spaces and the caller terminates the output.
void CMarkup::_ParseData(LPWSTR& pstrText, LPWSTR& pstrDest, wchar_t cEnd) const
{
    LPWSTR pSrc = pstrText;
    LPWSTR pDst = pstrDest;
    const bool bFoldSpace = !m_bPreserveWhitespace;
    for (;;) {
        // Plain characters first: nothing moves until something has been compacted.
        if (pDst == pSrc) {
            for (;;) {
                wchar_t ch = *pSrc;
                if (ch == L'\0' || ch == cEnd || ch == L'&' || (ch == L' ' && bFoldSpace)) break;
                ++pSrc;
            }
            pDst = pSrc;
        }
        else {
            for (;;) {
                wchar_t ch = *pSrc;
                if (ch == L'\0' || ch == cEnd || ch == L'&' || (ch == L' ' && bFoldSpace)) break;
                *pDst++ = ch;
                ++pSrc;
            }
        }
        wchar_t ch = *pSrc;
        if (ch == L'\0' || ch == cEnd) break;
        if (ch == L'&') {
            while (*pSrc == L'&') {
                ++pSrc;
                DecodeEntity(pSrc, pDst);
            }
            continue;
        }
        // A space with whitespace folding on.
        *pDst++ = ch;
        ++pSrc;
        SkipWhitespace(pSrc);
    }
    for (LPWSTR pFill = pDst + 1; pFill < pSrc; ++pFill) *pFill = L' ';
    pstrText = pSrc;
    pstrDest = pDst;
}

} // namespace Veneer
