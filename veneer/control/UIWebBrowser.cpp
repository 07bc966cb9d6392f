// CWebBrowserUI: browser creation and navigation, event dispatch, the UI host and the default event handler.
#include "veneer/control/UIWebBrowser.h"
#include "veneer/window/UIManager.h"

#include <mshtml.h>

namespace Veneer {

namespace {

// Interface and class ids used here, spelled out so no import library has to carry them.
const CLSID kClsidWebBrowser = { 0x8856F961, 0x340A, 0x11D0, { 0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2 } };
const IID kIidWebBrowser2 = { 0xD30C1661, 0xCDAF, 0x11D0, { 0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E } };
const IID kIidConnectionPointContainer = { 0xB196B284, 0xBAB4, 0x101A,
                                           { 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07 } };
const IID kDiidWebBrowserEvents2 = { 0x34A715A0, 0x6587, 0x11D0, { 0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D } };
const IID kIidCustomDoc = { 0x3050F3F0, 0x98B5, 0x11CF, { 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B } };
const IID kIidHtmlBodyElement = { 0x3050F1D8, 0x98B5, 0x11CF, { 0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B } };
const IID kIidHtmlDocument2 = { 0x332C4425, 0x26CB, 0x11D0, { 0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19 } };
const GUID kCgidDocHostCommandHandler = { 0xF38BC242, 0xB950, 0x11D1,
                                          { 0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36 } };
const GUID kDownloadManager = { 0x988934A4, 0x064B, 0x11D3, { 0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9 } };
const IID kIidNull = {};

// Browser event ids and the ambient property it asks its host.
const DISPID kDispidBeforeNavigate2 = 250;
const DISPID kDispidNavigateComplete2 = 252;
const DISPID kDispidDocumentComplete = 259;
const DISPID kDispidNavigateError = 271;
const DISPID kDispidNewWindow3 = 273;
const DISPID kDispidCommandStateChange = 105;
const DISPID kDispidStatusTextChange = 102;
const DISPID kDispidAmbientDlControl = -5512;
// Images and videos load; background sounds and other optional content do not.
const LONG kDownloadControl = 0x30;

const LCID kLocale = LOCALE_SYSTEM_DEFAULT;

// Sets one text property of an HTML object through its put operation.
template <class T>
void PutText(T* pObject, HRESULT (STDMETHODCALLTYPE T::*pfnPut)(BSTR), LPCWSTR pstrValue)
{
    BSTR bstr = ::SysAllocString(pstrValue);
    if (bstr == NULL) return;
    (pObject->*pfnPut)(bstr);
    ::SysFreeString(bstr);
}

// The event's argument i counted from the first (the array holds them last first); null when missing.
VARIANT* EventArg(DISPPARAMS* pParams, UINT nCount, UINT i)
{
    if (pParams == NULL || pParams->rgvarg == NULL || pParams->cArgs != nCount || i >= nCount) return NULL;
    return &pParams->rgvarg[nCount - 1 - i];
}

} // namespace

// ---- CWebBrowserEventHandler defaults ------------------------------------------------------

void CWebBrowserEventHandler::BeforeNavigate2(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                                              VARIANT_BOOL*&)
{
}

void CWebBrowserEventHandler::NavigateError(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT_BOOL*&)
{
}

void CWebBrowserEventHandler::NavigateComplete2(IDispatch*, VARIANT*&, LPCWSTR)
{
}

void CWebBrowserEventHandler::ProgressChange(LONG, LONG)
{
}

void CWebBrowserEventHandler::NewWindow3(IDispatch**, VARIANT_BOOL*&, DWORD, BSTR, BSTR)
{
}

void CWebBrowserEventHandler::CommandStateChange(long, VARIANT_BOOL)
{
}

HRESULT CWebBrowserEventHandler::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (pInfo != NULL) pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                        IOleInPlaceUIWindow*)
{
    return S_FALSE;
}

HRESULT CWebBrowserEventHandler::HideUI()
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::UpdateUI()
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::EnableModeless(BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnDocWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return S_OK;
}

HRESULT CWebBrowserEventHandler::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}

// The out values of the next three are cleared rather than left unset: the browser reads them on S_OK.
HRESULT CWebBrowserEventHandler::GetOptionKeyPath(LPOLESTR* pchKey, DWORD)
{
    if (pchKey != NULL) *pchKey = NULL;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::GetDropTarget(IDropTarget*, IDropTarget**)
{
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::GetExternal(IDispatch**)
{
    return E_NOTIMPL;
}

HRESULT CWebBrowserEventHandler::TranslateUrl(DWORD, OLECHAR*, OLECHAR** ppchURLOut)
{
    if (ppchURLOut != NULL) *ppchURLOut = NULL;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    if (ppDORet != NULL) *ppDORet = NULL;
    return S_OK;
}

HRESULT CWebBrowserEventHandler::Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT)
{
    return S_OK;
}

// ---- CWebBrowserUI -------------------------------------------------------------------------

CWebBrowserUI::CWebBrowserUI()
    : m_pWebBrowser2(NULL), m_pHtmlWnd2(NULL), m_dwRef(0), m_dwCookie(0), m_bAutoNavi(false),
      m_pWebBrowserEventHandler(NULL)
{
    m_clsid = kClsidWebBrowser;
}

CWebBrowserUI::~CWebBrowserUI()
{
    ReleaseControl();
    if (m_pWebBrowser2 != NULL) {
        m_pWebBrowser2->Release();
        m_pWebBrowser2 = NULL;
    }
    if (m_pHtmlWnd2 != NULL) {
        m_pHtmlWnd2->Release();
        m_pHtmlWnd2 = NULL;
    }
}

LPCWSTR CWebBrowserUI::GetClass() const
{
    return L"WebBrowserUI";
}

LPVOID CWebBrowserUI::GetInterface(LPCWSTR pstrName)
{
    if (::wcscmp(pstrName, L"WebBrowser") == 0) return static_cast<CWebBrowserUI*>(this);
    return CActiveXUI::GetInterface(pstrName);
}

void CWebBrowserUI::SetHomePage(LPCWSTR lpszUrl)
{
    m_sHomePage = lpszUrl;
}

LPCWSTR CWebBrowserUI::GetHomePage() const
{
    return m_sHomePage;
}

void CWebBrowserUI::SetAutoNavigation(bool bAuto)
{
    m_bAutoNavi = bAuto;
}

bool CWebBrowserUI::IsAutoNavigation() const
{
    return m_bAutoNavi;
}

void CWebBrowserUI::SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler)
{
    if (pEventHandler != NULL && pEventHandler != m_pWebBrowserEventHandler) m_pWebBrowserEventHandler = pEventHandler;
}

CWebBrowserEventHandler* CWebBrowserUI::GetWebBrowserEventHandler() const
{
    return m_pWebBrowserEventHandler;
}

IWebBrowser2* CWebBrowserUI::GetWebBrowser2() const
{
    return m_pWebBrowser2;
}

IDispatch* CWebBrowserUI::GetHtmlWindow()
{
    if (m_pWebBrowser2 == NULL) return NULL;
    IDispatch* pDocument = NULL;
    if (FAILED(m_pWebBrowser2->get_Document(&pDocument)) || pDocument == NULL) return NULL;
    IHTMLDocument2* pHtmlDocument = NULL;
    pDocument->QueryInterface(kIidHtmlDocument2, reinterpret_cast<LPVOID*>(&pHtmlDocument));
    pDocument->Release();
    if (pHtmlDocument == NULL) return NULL;
    if (m_pHtmlWnd2 != NULL) {
        m_pHtmlWnd2->Release();
        m_pHtmlWnd2 = NULL;
    }
    pHtmlDocument->get_parentWindow(&m_pHtmlWnd2);
    pHtmlDocument->Release();
    if (m_pHtmlWnd2 == NULL) return NULL;
    IDispatch* pWindow = NULL;
    m_pHtmlWnd2->QueryInterface(__uuidof(IDispatch), reinterpret_cast<LPVOID*>(&pWindow));
    return pWindow;
}

void CWebBrowserUI::Navigate2(LPCWSTR lpszUrl)
{
    if (lpszUrl == NULL || m_pWebBrowser2 == NULL) return;
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(lpszUrl);
    if (url.bstrVal == NULL) return;
    m_pWebBrowser2->Navigate2(&url, NULL, NULL, NULL, NULL);
    ::VariantClear(&url);
}

void CWebBrowserUI::NavigateUrl(LPCWSTR lpszUrl)
{
    if (m_pWebBrowser2 == NULL || lpszUrl == NULL) return;
    BSTR url = ::SysAllocString(lpszUrl);
    if (url == NULL) return;
    m_pWebBrowser2->Navigate(url, NULL, NULL, NULL, NULL);
    ::SysFreeString(url);
}

void CWebBrowserUI::NavigateHomePage()
{
    if (!m_sHomePage.IsEmpty()) NavigateUrl(m_sHomePage);
}

void CWebBrowserUI::Refresh()
{
    if (m_pWebBrowser2 != NULL) m_pWebBrowser2->Refresh();
}

void CWebBrowserUI::Refresh2(int Level)
{
    if (m_pWebBrowser2 == NULL) return;
    VARIANT vLevel;
    ::VariantInit(&vLevel);
    vLevel.vt = VT_I4;
    vLevel.lVal = Level;
    m_pWebBrowser2->Refresh2(&vLevel);
}

void CWebBrowserUI::GoBack()
{
    if (m_pWebBrowser2 != NULL) m_pWebBrowser2->GoBack();
}

void CWebBrowserUI::GoForward()
{
    if (m_pWebBrowser2 != NULL) m_pWebBrowser2->GoForward();
}

DISPID CWebBrowserUI::FindId(IDispatch* pObj, LPOLESTR pName)
{
    if (pObj == NULL || pName == NULL) return -1;
    DISPID id = 0;
    if (FAILED(pObj->GetIDsOfNames(kIidNull, &pName, 1, kLocale, &id))) id = -1;
    return id;
}

HRESULT CWebBrowserUI::InvokeMethod(IDispatch* pObj, LPOLESTR pMethod, VARIANT* pVarResult, VARIANT* ps, int cArgs)
{
    DISPID dispid = FindId(pObj, pMethod);
    if (dispid == -1) return E_FAIL;
    DISPPARAMS dispparams = {};
    dispparams.cArgs = cArgs > 0 ? static_cast<UINT>(cArgs) : 0;
    dispparams.rgvarg = cArgs > 0 ? ps : NULL;
    return pObj->Invoke(dispid, kIidNull, kLocale, DISPATCH_METHOD, &dispparams, pVarResult, NULL, NULL);
}

HRESULT CWebBrowserUI::GetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue)
{
    DISPID dispid = FindId(pObj, pName);
    if (dispid == -1) return E_FAIL;
    DISPPARAMS noArgs = {};
    return pObj->Invoke(dispid, kIidNull, kLocale, DISPATCH_PROPERTYGET, &noArgs, pValue, NULL, NULL);
}

HRESULT CWebBrowserUI::SetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue)
{
    DISPID dispid = FindId(pObj, pName);
    if (dispid == -1) return E_FAIL;
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {};
    params.cArgs = 1;
    params.rgvarg = pValue;
    params.cNamedArgs = 1;
    params.rgdispidNamedArgs = &putId;
    return pObj->Invoke(dispid, kIidNull, kLocale, DISPATCH_PROPERTYPUT, &params, NULL, NULL, NULL);
}

void CWebBrowserUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (::wcscmp(pstrName, L"homepage") == 0) m_sHomePage = pstrValue;
    else if (::wcscmp(pstrName, L"autonavi") == 0) m_bAutoNavi = ::wcscmp(pstrValue, L"true") == 0;
    else CActiveXUI::SetAttribute(pstrName, pstrValue);
}

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release()
{
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwRef));
}

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (riid == IID_IDocHostUIHandler) *ppvObject = static_cast<IDocHostUIHandler*>(this);
    else if (riid == __uuidof(IDispatch)) *ppvObject = static_cast<IDispatch*>(this);
    else if (riid == __uuidof(IServiceProvider)) *ppvObject = static_cast<IServiceProvider*>(this);
    else if (riid == __uuidof(IOleCommandTarget)) *ppvObject = static_cast<IOleCommandTarget*>(this);
    if (*ppvObject == NULL) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* iTInfo)
{
    if (iTInfo != NULL) *iTInfo = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD, DISPPARAMS* pDispParams,
                                   VARIANT* pVarResult, EXCEPINFO*, UINT*)
{
    if (riid != kIidNull) return E_INVALIDARG;

    // Arguments are checked for count before use: an event with a different shape is ignored.
    switch (dispIdMember) {
    case kDispidBeforeNavigate2: {
        VARIANT* pDisp = EventArg(pDispParams, 7, 0);
        if (pDisp == NULL) break;
        VARIANT* url = EventArg(pDispParams, 7, 1)->pvarVal;
        VARIANT* flags = EventArg(pDispParams, 7, 2)->pvarVal;
        VARIANT* frame = EventArg(pDispParams, 7, 3)->pvarVal;
        VARIANT* postData = EventArg(pDispParams, 7, 4)->pvarVal;
        VARIANT* headers = EventArg(pDispParams, 7, 5)->pvarVal;
        VARIANT_BOOL* cancel = EventArg(pDispParams, 7, 6)->pboolVal;
        BeforeNavigate2(pDisp->pdispVal, url, flags, frame, postData, headers, cancel);
        break;
    }
    case kDispidNavigateComplete2: {
        VARIANT* pDisp = EventArg(pDispParams, 2, 0);
        if (pDisp == NULL) break;
        VARIANT* url = EventArg(pDispParams, 2, 1)->pvarVal;
        NavigateComplete2(pDisp->pdispVal, url);
        break;
    }
    case kDispidDocumentComplete:
        DocumentComplete();
        break;
    case kDispidNavigateError: {
        VARIANT* pDisp = EventArg(pDispParams, 5, 0);
        if (pDisp == NULL) break;
        VARIANT* url = EventArg(pDispParams, 5, 1)->pvarVal;
        VARIANT* frame = EventArg(pDispParams, 5, 2)->pvarVal;
        VARIANT* status = EventArg(pDispParams, 5, 3)->pvarVal;
        VARIANT_BOOL* cancel = EventArg(pDispParams, 5, 4)->pboolVal;
        NavigateError(pDisp->pdispVal, url, frame, status, cancel);
        break;
    }
    case kDispidNewWindow3: {
        VARIANT* ppDisp = EventArg(pDispParams, 5, 0);
        if (ppDisp == NULL) break;
        VARIANT_BOOL* cancel = EventArg(pDispParams, 5, 1)->pboolVal;
        DWORD flags = EventArg(pDispParams, 5, 2)->uintVal;
        BSTR context = EventArg(pDispParams, 5, 3)->bstrVal;
        BSTR url = EventArg(pDispParams, 5, 4)->bstrVal;
        NewWindow3(ppDisp->ppdispVal, cancel, flags, context, url);
        break;
    }
    case kDispidCommandStateChange: {
        VARIANT* command = EventArg(pDispParams, 2, 0);
        if (command == NULL) break;
        CommandStateChange(command->lVal, EventArg(pDispParams, 2, 1)->boolVal);
        break;
    }
    case kDispidStatusTextChange:
        break;
    case kDispidAmbientDlControl:
        if (pVarResult != NULL) {
            ::VariantClear(pVarResult);
            pVarResult->vt = VT_I4;
            pVarResult->lVal = kDownloadControl;
        }
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                            IDispatch* pDispatchObjectHit)
{
    if (m_pWebBrowserEventHandler != NULL) {
        return m_pWebBrowserEventHandler->ShowContextMenu(dwID, pptPosition, pCommandTarget, pDispatchObjectHit);
    }
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (pInfo == NULL) return E_INVALIDARG;
    pInfo->cbSize = sizeof(DOCHOSTUIINFO);
    // The page is laid out at the display scale, as the skin around it is.
    pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO | DOCHOSTUIFLAG_DPI_AWARE;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                   IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                   IOleInPlaceUIWindow* pDoc)
{
    if (m_pWebBrowserEventHandler != NULL) {
        return m_pWebBrowserEventHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc);
    }
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::HideUI()
{
    return m_pWebBrowserEventHandler != NULL ? m_pWebBrowserEventHandler->HideUI() : S_OK;
}

STDMETHODIMP CWebBrowserUI::UpdateUI()
{
    return m_pWebBrowserEventHandler != NULL ? m_pWebBrowserEventHandler->UpdateUI() : S_OK;
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL fEnable)
{
    return m_pWebBrowserEventHandler != NULL ? m_pWebBrowserEventHandler->EnableModeless(fEnable) : S_OK;
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL fActivate)
{
    return m_pWebBrowserEventHandler != NULL ? m_pWebBrowserEventHandler->OnDocWindowActivate(fActivate) : S_OK;
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL fActivate)
{
    return m_pWebBrowserEventHandler != NULL ? m_pWebBrowserEventHandler->OnFrameWindowActivate(fActivate)
                                             : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow)
{
    if (m_pWebBrowserEventHandler != NULL) {
        return m_pWebBrowserEventHandler->ResizeBorder(prcBorder, pUIWindow, fFrameWindow);
    }
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    if (m_pWebBrowserEventHandler != NULL) {
        return m_pWebBrowserEventHandler->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
    }
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved)
{
    if (m_pWebBrowserEventHandler != NULL) return m_pWebBrowserEventHandler->GetOptionKeyPath(pchKey, dwReserved);
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget)
{
    if (m_pWebBrowserEventHandler != NULL) {
        return m_pWebBrowserEventHandler->GetDropTarget(pDropTarget, ppDropTarget);
    }
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** ppDispatch)
{
    if (m_pWebBrowserEventHandler != NULL) return m_pWebBrowserEventHandler->GetExternal(ppDispatch);
    return S_FALSE;
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut)
{
    if (m_pWebBrowserEventHandler != NULL) {
        return m_pWebBrowserEventHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut);
    }
    if (ppchURLOut != NULL) *ppchURLOut = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet)
{
    if (m_pWebBrowserEventHandler != NULL) return m_pWebBrowserEventHandler->FilterDataObject(pDO, ppDORet);
    if (ppDORet != NULL) *ppDORet = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID guidService, REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (guidService == kDownloadManager && riid == kDownloadManager) {
        *ppvObject = static_cast<IDownloadManager*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*)
{
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANT*, VARIANT* pvaOut)
{
    if (pguidCmdGroup == NULL || *pguidCmdGroup != kCgidDocHostCommandHandler) return OLECMDERR_E_UNKNOWNGROUP;
    if (nCmdID != OLECMDID_SHOWSCRIPTERROR) return OLECMDERR_E_NOTSUPPORTED;
    // Keep running the page's scripts, and show no error dialog.
    if (pvaOut != NULL) {
        ::VariantClear(pvaOut);
        pvaOut->vt = VT_BOOL;
        pvaOut->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
                                     BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP)
{
    if (m_pWebBrowserEventHandler != NULL) {
        return m_pWebBrowserEventHandler->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir,
                                                   uiCP);
    }
    return S_OK;
}

LRESULT CWebBrowserUI::TranslateAccelerator(MSG* pMsg)
{
    if (pMsg == NULL || pMsg->message < WM_KEYDOWN || pMsg->message > 0x0108) return S_FALSE;
    if (m_pWebBrowser2 == NULL) return E_NOTIMPL;

    // Only while the focus is inside the browser's window.
    bool bInside = false;
    for (HWND hWnd = ::GetFocus(); hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        if (hWnd == GetHostWindow()) {
            bInside = true;
            break;
        }
    }
    if (!bInside) return S_FALSE;

    IOleInPlaceActiveObject* pObj = NULL;
    if (FAILED(m_pWebBrowser2->QueryInterface(__uuidof(IOleInPlaceActiveObject), reinterpret_cast<LPVOID*>(&pObj))) ||
        pObj == NULL) {
        return S_FALSE;
    }
    HRESULT hResult = pObj->TranslateAccelerator(pMsg);
    pObj->Release();
    return hResult;
}

void CWebBrowserUI::ReleaseControl()
{
    m_bCreated = false;
    if (m_pManager != NULL) m_pManager->RemoveTranslateAccelerator(this);
    RegisterEventHandler(FALSE);
}

bool CWebBrowserUI::DoCreateControl()
{
    // The base releases through the virtual release, which here only unsubscribes: a browser made
    // before is closed here, so that a second creation does not leak the first.
    if (m_pUnk != NULL) {
        ReleaseControl();
        CActiveXUI::ReleaseControl();
    }
    if (m_pWebBrowser2 != NULL) {
        m_pWebBrowser2->Release();
        m_pWebBrowser2 = NULL;
    }
    if (!CActiveXUI::DoCreateControl()) return false;
    if (m_pManager != NULL) m_pManager->AddTranslateAccelerator(this);
    GetControl(kIidWebBrowser2, reinterpret_cast<LPVOID*>(&m_pWebBrowser2));
    // Subscribed before the first navigation: a browser may report it before Navigate2 returns.
    RegisterEventHandler(TRUE);
    if (m_bAutoNavi && !m_sHomePage.IsEmpty()) {
        Navigate2(L"about:blank");
        Navigate2(m_sHomePage);
    }
    return true;
}

HRESULT CWebBrowserUI::RegisterEventHandler(BOOL inAdvise)
{
    IWebBrowser2* pWebBrowser = NULL;
    HRESULT hr = GetControl(kIidWebBrowser2, reinterpret_cast<LPVOID*>(&pWebBrowser));
    if (FAILED(hr) || pWebBrowser == NULL) return FAILED(hr) ? hr : E_FAIL;
    IConnectionPointContainer* pContainer = NULL;
    hr = pWebBrowser->QueryInterface(kIidConnectionPointContainer, reinterpret_cast<LPVOID*>(&pContainer));
    pWebBrowser->Release();
    if (FAILED(hr) || pContainer == NULL) return FAILED(hr) ? hr : E_FAIL;
    IConnectionPoint* pPoint = NULL;
    hr = pContainer->FindConnectionPoint(kDiidWebBrowserEvents2, &pPoint);
    pContainer->Release();
    if (FAILED(hr) || pPoint == NULL) return FAILED(hr) ? hr : E_FAIL;
    if (inAdvise) {
        hr = pPoint->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    }
    else {
        // Nothing to take back unless a subscription was made.
        hr = m_dwCookie != 0 ? pPoint->Unadvise(m_dwCookie) : S_FALSE;
        m_dwCookie = 0;
    }
    pPoint->Release();
    return hr;
}

void CWebBrowserUI::BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& Flags, VARIANT*& TargetFrameName,
                                    VARIANT*& PostData, VARIANT*& Headers, VARIANT_BOOL*& Cancel)
{
    if (m_pWebBrowserEventHandler != NULL) {
        m_pWebBrowserEventHandler->BeforeNavigate2(pDisp, url, Flags, TargetFrameName, PostData, Headers, Cancel);
    }
}

void CWebBrowserUI::NavigateError(IDispatch* pDisp, VARIANT*& url, VARIANT*& TargetFrameName, VARIANT*& StatusCode,
                                  VARIANT_BOOL*& Cancel)
{
    if (m_pWebBrowserEventHandler != NULL) {
        m_pWebBrowserEventHandler->NavigateError(pDisp, url, TargetFrameName, StatusCode, Cancel);
    }
}

void CWebBrowserUI::NavigateComplete2(IDispatch* pDisp, VARIANT*& url)
{
    // Every new document gets this control as its UI host.
    if (m_pWebBrowser2 != NULL) {
        IDispatch* pDocument = NULL;
        if (SUCCEEDED(m_pWebBrowser2->get_Document(&pDocument)) && pDocument != NULL) {
            ICustomDoc* pCustomDoc = NULL;
            pDocument->QueryInterface(kIidCustomDoc, reinterpret_cast<LPVOID*>(&pCustomDoc));
            if (pCustomDoc != NULL) {
                pCustomDoc->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
                pCustomDoc->Release();
            }
            pDocument->Release();
        }
    }
    if (m_pWebBrowserEventHandler != NULL) m_pWebBrowserEventHandler->NavigateComplete2(pDisp, url, GetName());
}

void CWebBrowserUI::ProgressChange(LONG nProgress, LONG nProgressMax)
{
    if (m_pWebBrowserEventHandler != NULL) m_pWebBrowserEventHandler->ProgressChange(nProgress, nProgressMax);
}

void CWebBrowserUI::NewWindow3(IDispatch** pDisp, VARIANT_BOOL*& Cancel, DWORD dwFlags, BSTR bstrUrlContext,
                               BSTR bstrUrl)
{
    if (m_pWebBrowserEventHandler != NULL) {
        m_pWebBrowserEventHandler->NewWindow3(pDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl);
    }
}

void CWebBrowserUI::CommandStateChange(long Command, VARIANT_BOOL Enable)
{
    if (m_pWebBrowserEventHandler != NULL) m_pWebBrowserEventHandler->CommandStateChange(Command, Enable);
}

void CWebBrowserUI::DocumentComplete()
{
    if (m_pWebBrowser2 == NULL) return;
    IDispatch* pDocument = NULL;
    if (FAILED(m_pWebBrowser2->get_Document(&pDocument)) || pDocument == NULL) return;
    IHTMLDocument2* pHtmlDocument = NULL;
    pDocument->QueryInterface(kIidHtmlDocument2, reinterpret_cast<LPVOID*>(&pHtmlDocument));
    pDocument->Release();
    if (pHtmlDocument == NULL) return;
    IHTMLElement* pBody = NULL;
    pHtmlDocument->get_body(&pBody);
    pHtmlDocument->Release();
    if (pBody == NULL) return;

    IHTMLBodyElement* pBodyElement = NULL;
    pBody->QueryInterface(kIidHtmlBodyElement, reinterpret_cast<LPVOID*>(&pBodyElement));
    if (pBodyElement != NULL) {
        PutText(pBodyElement, &IHTMLBodyElement::put_scroll, L"no");
        pBodyElement->Release();
    }
    IHTMLStyle* pStyle = NULL;
    pBody->get_style(&pStyle);
    if (pStyle != NULL) {
        PutText(pStyle, &IHTMLStyle::put_overflow, L"hidden");
        PutText(pStyle, &IHTMLStyle::put_border, L"none");
        PutText(pStyle, &IHTMLStyle::put_borderStyle, L"none");
        pStyle->Release();
    }
    pBody->Release();
}

} // namespace Veneer
