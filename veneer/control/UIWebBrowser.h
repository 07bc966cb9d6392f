// CWebBrowserUI: the system web browser object hosted as a control, with its navigation events and UI host.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIActiveX.h"

#include <exdisp.h>
#include <mshtmhst.h>
#include <downloadmgr.h>

// The page interfaces are only used by the implementation; their header is large.
struct IHTMLWindow2;

namespace Veneer {

class CWebBrowserUI;

// The application's view of one browser: navigation events and the browser's host questions. Every
// operation has a default; an application overrides what it needs.
class CWebBrowserEventHandler
{
public:
    virtual ~CWebBrowserEventHandler() {}

// Navigation events
    virtual void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& Flags, VARIANT*& TargetFrameName,
                                 VARIANT*& PostData, VARIANT*& Headers, VARIANT_BOOL*& Cancel);
    virtual void NavigateError(IDispatch* pDisp, VARIANT*& url, VARIANT*& TargetFrameName, VARIANT*& StatusCode,
                               VARIANT_BOOL*& Cancel);
    virtual void NavigateComplete2(IDispatch* pDisp, VARIANT*& url, LPCWSTR pstrBrowserName);
    virtual void ProgressChange(LONG nProgress, LONG nProgressMax);
    virtual void NewWindow3(IDispatch** pDisp, VARIANT_BOOL*& Cancel, DWORD dwFlags, BSTR bstrUrlContext,
                            BSTR bstrUrl);
    virtual void CommandStateChange(long Command, VARIANT_BOOL Enable);

// Host questions
    // S_OK: the browser shows no context menu of its own.
    virtual HRESULT ShowContextMenu(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                                    IDispatch* pDispatchObjectHit);
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo);
    virtual HRESULT ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                           IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc);
    virtual HRESULT HideUI();
    virtual HRESULT UpdateUI();
    virtual HRESULT EnableModeless(BOOL fEnable);
    virtual HRESULT OnDocWindowActivate(BOOL fActivate);
    virtual HRESULT OnFrameWindowActivate(BOOL fActivate);
    virtual HRESULT ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow);
    virtual HRESULT TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID);
    virtual HRESULT GetOptionKeyPath(LPOLESTR* pchKey, DWORD dwReserved);
    virtual HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget);
    virtual HRESULT GetExternal(IDispatch** ppDispatch);
    virtual HRESULT TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut);
    virtual HRESULT FilterDataObject(IDataObject* pDO, IDataObject** ppDORet);
    // S_OK: the download counts as handled and nothing is downloaded.
    virtual HRESULT Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                             LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP);
};

class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator,
                      public IDownloadManager
{
public:
// Construction
    CWebBrowserUI();
    ~CWebBrowserUI() override;

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetHomePage(LPCWSTR lpszUrl);
    LPCWSTR GetHomePage() const;
    void SetAutoNavigation(bool bAuto = true);
    bool IsAutoNavigation() const;
    // A null handler is ignored: once set, a handler stays until another replaces it.
    void SetWebBrowserEventHandler(CWebBrowserEventHandler* pEventHandler);
    CWebBrowserEventHandler* GetWebBrowserEventHandler() const;

    IWebBrowser2* GetWebBrowser2() const;
    // The document's window (add-referenced), or null.
    IDispatch* GetHtmlWindow();

// Operations
    void Navigate2(LPCWSTR lpszUrl);
    void NavigateUrl(LPCWSTR lpszUrl);
    void NavigateHomePage();
    void Refresh();
    void Refresh2(int Level);
    void GoBack();
    void GoForward();

    // Late-bound calls on any dispatch object; E_FAIL when the name is unknown.
    static DISPID FindId(IDispatch* pObj, LPOLESTR pName);
    static HRESULT InvokeMethod(IDispatch* pObj, LPOLESTR pMethod, VARIANT* pVarResult, VARIANT* ps, int cArgs);
    static HRESULT GetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue);
    static HRESULT SetProperty(IDispatch* pObj, LPOLESTR pName, VARIANT* pValue);

// Overridables
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

// IUnknown (shared by the host interfaces; the control tree owns the object, so a count of 0 frees nothing)
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

// IDispatch (the browser's event sink)
    STDMETHOD(GetTypeInfoCount)(UINT* iTInfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                      VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

// IDocHostUIHandler
    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
                               IDispatch* pDispatchObjectHit) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
    STDMETHOD(ShowUI)(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                      IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
    STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
    STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dwReserved) override;
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
    STDMETHOD(TranslateUrl)(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut) override;
    STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;

// IServiceProvider
    STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppvObject) override;

// IOleCommandTarget (script errors)
    STDMETHOD(QueryStatus)(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT* pCmdText) override;
    STDMETHOD(Exec)(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                    VARIANT* pvaOut) override;

// IDownloadManager
    STDMETHOD(Download)(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
                        LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP) override;

// ITranslateAccelerator (keys for the page while it has the focus)
    LRESULT TranslateAccelerator(MSG* pMsg) override;

protected:
// Overridables
    void ReleaseControl() override;
    bool DoCreateControl() override;

// Event dispatch
    virtual void BeforeNavigate2(IDispatch* pDisp, VARIANT*& url, VARIANT*& Flags, VARIANT*& TargetFrameName,
                                 VARIANT*& PostData, VARIANT*& Headers, VARIANT_BOOL*& Cancel);
    virtual void NavigateError(IDispatch* pDisp, VARIANT*& url, VARIANT*& TargetFrameName, VARIANT*& StatusCode,
                               VARIANT_BOOL*& Cancel);
    virtual void NavigateComplete2(IDispatch* pDisp, VARIANT*& url);
    virtual void ProgressChange(LONG nProgress, LONG nProgressMax);
    virtual void NewWindow3(IDispatch** pDisp, VARIANT_BOOL*& Cancel, DWORD dwFlags, BSTR bstrUrlContext,
                            BSTR bstrUrl);
    virtual void CommandStateChange(long Command, VARIANT_BOOL Enable);
    // Pages show no scroll bars and no body border.
    virtual void DocumentComplete();

    HRESULT RegisterEventHandler(BOOL inAdvise);

// Implementation
    IWebBrowser2* m_pWebBrowser2;
    IHTMLWindow2* m_pHtmlWnd2;
    LONG m_dwRef;
    DWORD m_dwCookie;
    CUIString m_sHomePage;
    bool m_bAutoNavi;
    CWebBrowserEventHandler* m_pWebBrowserEventHandler;
};

} // namespace Veneer
