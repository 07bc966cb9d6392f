// CDialogBuilder: skin XML to control tree (resources, window settings, includes, the tag table, plug-ins).
#include "veneer/core/UISetup.h"
#include "veneer/core/UIDialogBuilder.h"
// The tag table names every control class of the framework.
#include "veneer/Veneer.h"

namespace Veneer {

namespace {

// Deeper elements are skipped with their subtrees: every tree walk of the framework recurses, so a
// hostile nesting depth would otherwise exhaust the stack here or later in layout and painting.
const int kMaxNesting = 128;
// Longest chain of documents including one another.
const int kMaxIncludeChain = 32;
// Most documents one build may take in through includes: counts multiply along a chain, so a few
// nested includes with large counts would otherwise build without end.
const int kMaxIncludedDocuments = 4096;

typedef CControlUI* (*PFNNEWCONTROL)();

template <class T>
CControlUI* NewControl()
{
    return new T;
}

struct TControlTag
{
    LPCWSTR pstrTag;
    size_t cchTag;
    // Null while the class is not part of the framework: the tag then goes to plug-ins and the callback.
    PFNNEWCONTROL pfnNew;
};

#define VENEER_TAG(tag) tag, lengthof(tag) - 1

// Ordered by tag length; a lookup compares text only within the group of the tag's length.
const TControlTag kControlTags[] = {
    { VENEER_TAG(L"Edit"), &NewControl<CEditUI> },
    { VENEER_TAG(L"List"), NULL },
    { VENEER_TAG(L"Text"), &NewControl<CTextUI> },
    { VENEER_TAG(L"Combo"), NULL },
    { VENEER_TAG(L"Label"), &NewControl<CLabelUI> },
    { VENEER_TAG(L"Button"), &NewControl<CButtonUI> },
    { VENEER_TAG(L"Option"), &NewControl<COptionUI> },
    { VENEER_TAG(L"Slider"), &NewControl<CSliderUI> },
    { VENEER_TAG(L"Control"), &NewControl<CControlUI> },
    { VENEER_TAG(L"ActiveX"), &NewControl<CActiveXUI> },
    { VENEER_TAG(L"Progress"), &NewControl<CProgressUI> },
    { VENEER_TAG(L"RichEdit"), NULL },
    { VENEER_TAG(L"CheckBox"), &NewControl<CCheckBoxUI> },
    { VENEER_TAG(L"ComboBox"), NULL },
    { VENEER_TAG(L"DateTime"), &NewControl<CDateTimeUI> },
    { VENEER_TAG(L"TreeView"), NULL },
    { VENEER_TAG(L"Container"), &NewControl<CContainerUI> },
    { VENEER_TAG(L"TabLayout"), &NewControl<CTabLayoutUI> },
    { VENEER_TAG(L"ScrollBar"), &NewControl<CScrollBarUI> },
    { VENEER_TAG(L"ListHeader"), NULL },
    { VENEER_TAG(L"TileLayout"), &NewControl<CTileLayoutUI> },
    { VENEER_TAG(L"WebBrowser"), &NewControl<CWebBrowserUI> },
    { VENEER_TAG(L"ChildLayout"), &NewControl<CChildLayoutUI> },
    { VENEER_TAG(L"VerticalLayout"), &NewControl<CVerticalLayoutUI> },
    { VENEER_TAG(L"ListHeaderItem"), NULL },
    { VENEER_TAG(L"ListTextElement"), NULL },
    { VENEER_TAG(L"HorizontalLayout"), &NewControl<CHorizontalLayoutUI> },
    { VENEER_TAG(L"ListLabelElement"), NULL },
    { VENEER_TAG(L"ListContainerElement"), NULL },
};

#undef VENEER_TAG

// The built-in class of a tag, or null when the tag has none in this framework.
CControlUI* NewBuiltInControl(LPCWSTR pstrTag)
{
    const size_t cchTag = ::wcslen(pstrTag);
    const TControlTag* pTag = kControlTags;
    const TControlTag* pEnd = kControlTags + lengthof(kControlTags);
    while (pTag != pEnd && pTag->cchTag < cchTag) ++pTag;
    for (; pTag != pEnd && pTag->cchTag == cchTag; ++pTag) {
        if (::wcscmp(pTag->pstrTag, pstrTag) == 0) return pTag->pfnNew != NULL ? pTag->pfnNew() : NULL;
    }
    return NULL;
}

bool IsTag(LPCWSTR pstrName, LPCWSTR pstrTag)
{
    return ::wcscmp(pstrName, pstrTag) == 0;
}

} // namespace

CDialogBuilder::CDialogBuilder()
    : m_pCallback(NULL)
    , m_pstrtype(NULL)
    , m_pIncluder(NULL)
    , m_nDepth(1)
    , m_nIncluded(0)
{
}

CControlUI* CDialogBuilder::Create(STRINGorID xml, LPCWSTR type, IDialogBuilderCallback* pCallback,
                                   CPaintManagerUI* pManager, CControlUI* pParent)
{
    if (xml.IsId()) {
        m_sSource.SmallFormat(L"#%u", xml.GetId());
        if (type == NULL || _IsIncludeCycle(m_sSource)) return NULL;
        HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
        HRSRC hResource = ::FindResourceW(hModule, xml.m_lpstr, type);
        if (hResource == NULL) return NULL;
        HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
        if (hGlobal == NULL) return NULL;
        const DWORD dwSize = ::SizeofResource(hModule, hResource);
        const BYTE* pBytes = static_cast<const BYTE*>(::LockResource(hGlobal));
        if (pBytes == NULL) return NULL;
        m_pCallback = pCallback;
        if (!m_xml.LoadFromMem(pBytes, dwSize, XMLFILE_ENCODING_UTF8)) return NULL;
        m_pstrtype = type;
    }
    else {
        if (xml.m_lpstr == NULL) return NULL;
        if (*xml.m_lpstr == L'<') {
            m_sSource.Empty();
            if (!m_xml.Load(xml.m_lpstr)) return NULL;
        }
        else {
            m_sSource = xml.m_lpstr;
            if (_IsIncludeCycle(m_sSource)) return NULL;
            if (!m_xml.LoadFromFile(xml.m_lpstr, XMLFILE_ENCODING_UTF8)) return NULL;
        }
    }
    return Create(pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager, CControlUI* pParent)
{
    m_pCallback = pCallback;
    if (m_pIncluder == NULL) m_nIncluded = 0;
    CMarkupNode root = m_xml.GetRoot();
    if (!root.IsValid()) return NULL;

    if (pManager != NULL) {
        _RegisterResources(root, pManager);
        if (IsTag(root.GetName(), L"Window") && pManager->GetPaintWindow() != NULL) {
            _ApplyWindowAttributes(root, pManager);
        }
        if (pManager->HasWindowShadow()) pManager->CalMiddleShadowRect();
    }
    return _Parse(root, pParent, pManager, m_nDepth);
}

CMarkup* CDialogBuilder::GetMarkup()
{
    return &m_xml;
}

void CDialogBuilder::GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const
{
    m_xml.GetLastErrorMessage(pstrMessage, cchMax);
}

void CDialogBuilder::GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const
{
    m_xml.GetLastErrorLocation(pstrSource, cchMax);
}

// A document that includes itself, directly or through others, would be built without end.
bool CDialogBuilder::_IsIncludeCycle(const CUIString& sSource) const
{
    int nChain = 0;
    for (const CDialogBuilder* pBuilder = m_pIncluder; pBuilder != NULL; pBuilder = pBuilder->m_pIncluder) {
        if (++nChain >= kMaxIncludeChain) return true;
        if (!pBuilder->m_sSource.IsEmpty() && pBuilder->m_sSource.CompareNoCase(sSource) == 0) return true;
    }
    return false;
}

// The shared images, fonts and default attribute lists: only direct children of the root count.
void CDialogBuilder::_RegisterResources(const CMarkupNode& root, CPaintManagerUI* pManager)
{
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrClass = node.GetName();
        const int nAttributes = node.GetAttributeCount();
        if (IsTag(pstrClass, L"Image")) {
            LPCWSTR pImageName = NULL;
            LPCWSTR pImageResType = NULL;
            DWORD dwMask = 0;
            for (int i = 0; i < nAttributes; ++i) {
                LPCWSTR pstrName = node.GetAttributeName(i);
                LPCWSTR pstrValue = node.GetAttributeValue(i);
                if (IsTag(pstrName, L"name")) pImageName = pstrValue;
                else if (IsTag(pstrName, L"restype")) pImageResType = pstrValue;
                else if (IsTag(pstrName, L"mask")) dwMask = CUIAttribute::ParseColor(pstrValue);
            }
            if (pImageName != NULL && *pImageName != L'\0') pManager->AddImage(pImageName, pImageResType, dwMask);
        }
        else if (IsTag(pstrClass, L"Font")) {
            LPCWSTR pFontName = NULL;
            int size = 12;
            bool bold = false;
            bool underline = false;
            bool italic = false;
            bool defaultfont = false;
            for (int i = 0; i < nAttributes; ++i) {
                LPCWSTR pstrName = node.GetAttributeName(i);
                LPCWSTR pstrValue = node.GetAttributeValue(i);
                if (IsTag(pstrName, L"name")) pFontName = pstrValue;
                else if (IsTag(pstrName, L"size")) size = CUIAttribute::ParseInt(pstrValue);
                else if (IsTag(pstrName, L"bold")) bold = CUIAttribute::ParseBool(pstrValue);
                else if (IsTag(pstrName, L"underline")) underline = CUIAttribute::ParseBool(pstrValue);
                else if (IsTag(pstrName, L"italic")) italic = CUIAttribute::ParseBool(pstrValue);
                else if (IsTag(pstrName, L"default")) defaultfont = CUIAttribute::ParseBool(pstrValue);
            }
            if (pFontName != NULL && *pFontName != L'\0') {
                pManager->AddFont(pFontName, size, bold, underline, italic);
                if (defaultfont) pManager->SetDefaultFont(pFontName, size, bold, underline, italic);
            }
        }
        else if (IsTag(pstrClass, L"Default")) {
            LPCWSTR pControlName = NULL;
            LPCWSTR pControlValue = NULL;
            for (int i = 0; i < nAttributes; ++i) {
                LPCWSTR pstrName = node.GetAttributeName(i);
                LPCWSTR pstrValue = node.GetAttributeValue(i);
                if (IsTag(pstrName, L"name")) pControlName = pstrValue;
                else if (IsTag(pstrName, L"value")) pControlValue = pstrValue;
            }
            if (pControlName != NULL && *pControlName != L'\0') {
                pManager->AddDefaultAttributeList(pControlName, pControlValue != NULL ? pControlValue : L"");
            }
        }
    }
}

void CDialogBuilder::_ApplyWindowAttributes(const CMarkupNode& root, CPaintManagerUI* pManager)
{
    const int nAttributes = root.GetAttributeCount();
    for (int i = 0; i < nAttributes; ++i) {
        LPCWSTR pstrName = root.GetAttributeName(i);
        LPCWSTR pstrValue = root.GetAttributeValue(i);
        if (IsTag(pstrName, L"size")) {
            SIZE sz = CUIAttribute::ParseSize(pstrValue);
            pManager->SetInitSize(sz.cx, sz.cy);
        }
        else if (IsTag(pstrName, L"sizebox")) {
            pManager->SetSizeBox(CUIAttribute::ParseRect(pstrValue));
        }
        else if (IsTag(pstrName, L"caption")) {
            pManager->SetCaptionRect(CUIAttribute::ParseRect(pstrValue));
        }
        else if (IsTag(pstrName, L"roundcorner")) {
            SIZE sz = CUIAttribute::ParseSize(pstrValue);
            pManager->SetRoundCorner(sz.cx, sz.cy);
        }
        else if (IsTag(pstrName, L"mininfo")) {
            SIZE sz = CUIAttribute::ParseSize(pstrValue);
            pManager->SetMinInfo(sz.cx, sz.cy);
        }
        else if (IsTag(pstrName, L"maxinfo")) {
            SIZE sz = CUIAttribute::ParseSize(pstrValue);
            pManager->SetMaxInfo(sz.cx, sz.cy);
        }
        else if (IsTag(pstrName, L"showdirty")) {
            pManager->SetShowUpdateRect(CUIAttribute::ParseBool(pstrValue));
        }
        else if (IsTag(pstrName, L"shadow")) {
            pManager->SetHasWindowShadow(CUIAttribute::ParseBool(pstrValue));
        }
        else if (IsTag(pstrName, L"shadowimage")) {
            pManager->SetWindowShadowImage(pstrValue);
        }
        else if (IsTag(pstrName, L"shadowtopleft")) {
            RECT rc = CUIAttribute::ParseRect(pstrValue);
            pManager->SetTopleftShadowRect(rc.left, rc.top, rc.right, rc.bottom);
        }
        else if (IsTag(pstrName, L"shadowtopright")) {
            RECT rc = CUIAttribute::ParseRect(pstrValue);
            pManager->SetToprightShadowRect(rc.left, rc.top, rc.right, rc.bottom);
        }
        else if (IsTag(pstrName, L"shadowbottomleft")) {
            RECT rc = CUIAttribute::ParseRect(pstrValue);
            pManager->SetBottomleftShadowRect(rc.left, rc.top, rc.right, rc.bottom);
        }
        else if (IsTag(pstrName, L"shadowbottomright")) {
            RECT rc = CUIAttribute::ParseRect(pstrValue);
            pManager->SetBottomrightShadowRect(rc.left, rc.top, rc.right, rc.bottom);
        }
        else if (IsTag(pstrName, L"alpha")) {
            pManager->SetTransparent(CUIAttribute::ParseInt(pstrValue));
        }
        else if (IsTag(pstrName, L"bktrans")) {
            pManager->SetBackgroundTransparent(CUIAttribute::ParseBool(pstrValue));
        }
        else if (IsTag(pstrName, L"disabledfontcolor")) {
            pManager->SetDefaultDisabledColor(CUIAttribute::ParseColor(pstrValue));
        }
        else if (IsTag(pstrName, L"defaultfontcolor")) {
            pManager->SetDefaultFontColor(CUIAttribute::ParseColor(pstrValue));
        }
        else if (IsTag(pstrName, L"linkfontcolor")) {
            pManager->SetDefaultLinkFontColor(CUIAttribute::ParseColor(pstrValue));
        }
        else if (IsTag(pstrName, L"linkhoverfontcolor")) {
            pManager->SetDefaultLinkHoverFontColor(CUIAttribute::ParseColor(pstrValue));
        }
        else if (IsTag(pstrName, L"selectedcolor")) {
            pManager->SetDefaultSelectedBkColor(CUIAttribute::ParseColor(pstrValue));
        }
        else if (IUnknownAttributeUI* pListener = pManager->GetUnknownAttributeListener()) {
            pListener->UnknownAttribute(NULL, pstrName, pstrValue);
        }
    }
}

// Builds the children of one element into pParent and returns the first control made at this level.
// Without a parent only that first control is kept: the others would belong to nobody.
CControlUI* CDialogBuilder::_Parse(const CMarkupNode& parent, CControlUI* pParent, CPaintManagerUI* pManager,
                                   int nDepth)
{
    if (nDepth > kMaxNesting) return NULL;
    IContainerUI* pContainer = NULL;
    bool bContainerLooked = false;
    CControlUI* pReturn = NULL;
    // A parent already in a window's tree would initialise and name-register each control the moment
    // it is added, and the detaching below would then cut it off from its window. Such a parent gets
    // each control complete instead, as attaching a finished tree would hand it over.
    const bool bLiveParent = pParent != NULL && pParent->GetManager() != NULL;
    for (CMarkupNode node = parent.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrClass = node.GetName();
        if (IsTag(pstrClass, L"Image") || IsTag(pstrClass, L"Font") || IsTag(pstrClass, L"Default")) continue;
        if (IsTag(pstrClass, L"Include")) {
            _Include(node, pParent, pManager, nDepth);
            continue;
        }
        // Tree nodes have no built-in class: they reach the plug-ins and the callback like any other tag.
        CControlUI* pControl = _CreateControl(pstrClass);
        if (pControl == NULL) continue;

        // A container's children are in place before it receives its own attributes.
        if (node.HasChildren()) _Parse(node, pControl, pManager, nDepth + 1);

        if (pParent != NULL) {
            if (!bContainerLooked) {
                pContainer = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
                bContainerLooked = true;
            }
            if (pContainer == NULL) {
                delete pControl;
                return NULL;
            }
            if (!bLiveParent && !pContainer->Add(pControl)) {
                delete pControl;
                continue;
            }
        }

        // Attached for the attributes only: setters that consult the manager find it, and nothing is
        // initialised before the tree reaches its window.
        if (pManager != NULL) {
            pControl->SetManager(pManager, NULL, false);
            LPCWSTR pDefaultAttributes = pManager->GetDefaultAttributeList(pstrClass);
            if (pDefaultAttributes != NULL) pControl->ApplyAttributeList(pDefaultAttributes);
        }
        const int nAttributes = node.GetAttributeCount();
        for (int i = 0; i < nAttributes; ++i) {
            pControl->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
        }
        // Detached again, linked to the container it went into.
        if (pManager != NULL || pParent != NULL) pControl->SetManager(NULL, bLiveParent ? NULL : pParent, false);
        if (bLiveParent && !pContainer->Add(pControl)) {
            delete pControl;
            continue;
        }

        if (pReturn == NULL) pReturn = pControl;
        else if (pParent == NULL) delete pControl;
    }
    return pReturn;
}

// Builds another document "count" times into the same parent; a document loaded from a resource
// takes its includes from resources of the same type, by decimal id.
void CDialogBuilder::_Include(const CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager, int nDepth)
{
    if (!node.HasAttributes()) return;
    WCHAR szValue[500] = {};
    int nCount = 1;
    if (node.GetAttributeValue(L"count", szValue, lengthof(szValue) - 1)) {
        nCount = CUIAttribute::ParseInt(szValue);
    }
    ::ZeroMemory(szValue, sizeof(szValue));
    if (!node.GetAttributeValue(L"source", szValue, lengthof(szValue) - 1)) return;

    // Only 1..0xFFFF name a resource: other numbers would be taken for a text pointer.
    const long nId = ::wcstol(szValue, NULL, 10);
    if (m_pstrtype != NULL && (nId <= 0 || nId > 0xFFFF)) return;

    CDialogBuilder* pTop = this;
    while (pTop->m_pIncluder != NULL) pTop = pTop->m_pIncluder;
    for (int i = 0; i < nCount; ++i) {
        if (pTop->m_nIncluded >= kMaxIncludedDocuments) break;
        ++pTop->m_nIncluded;
        CDialogBuilder builder;
        builder.m_pIncluder = this;
        builder.m_nDepth = nDepth;
        CControlUI* pControl = NULL;
        if (m_pstrtype != NULL) {
            pControl = builder.Create(STRINGorID(static_cast<UINT>(nId)), m_pstrtype, m_pCallback, pManager, pParent);
        }
        else {
            pControl = builder.Create(szValue, NULL, m_pCallback, pManager, pParent);
        }
        if (pControl != NULL && pParent == NULL) delete pControl;
        // A source that could not be loaded (or would include itself) fails the same way every time.
        if (!builder.m_xml.IsValid()) break;
    }
}

// The built-in class of the tag, else the first plug-in that knows it, else the callback.
CControlUI* CDialogBuilder::_CreateControl(LPCWSTR pstrClass) const
{
    CControlUI* pControl = NewBuiltInControl(pstrClass);
    if (pControl != NULL) return pControl;
    const CStdPtrArray* pPlugins = CPaintManagerUI::GetPlugins();
    for (int i = 0; pPlugins != NULL && i < pPlugins->GetSize(); ++i) {
        LPCREATECONTROL pfnCreateControl = reinterpret_cast<LPCREATECONTROL>(pPlugins->GetAt(i));
        if (pfnCreateControl == NULL) continue;
        pControl = pfnCreateControl(pstrClass);
        if (pControl != NULL) return pControl;
    }
    if (m_pCallback != NULL) return m_pCallback->CreateControl(pstrClass);
    return NULL;
}

} // namespace Veneer
