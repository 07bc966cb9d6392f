// The fake OLE control of the host tests and its class factory.
#include "FakeOleControl.h"

namespace ActiveXTest {

const CLSID CLSID_FakeOleControl = { 0x5c3a1f0e, 0x8e51, 0x4c57, { 0x9b, 0x0b, 0x6e, 0x3d, 0x2a, 0x41, 0xc0, 0xd1 } };

TFakeLog g_fake;

void ResetFakeLog()
{
    if (g_fake.pKeptSite != NULL) g_fake.pKeptSite->Release();
    if (g_fake.pKeptFrame != NULL) g_fake.pKeptFrame->Release();
    g_fake = TFakeLog();
}

bool FakeLogHas(const wchar_t* call)
{
    return FakeLogCount(call) > 0;
}

int FakeLogCount(const wchar_t* call)
{
    int n = 0;
    for (const std::wstring& s : g_fake.calls)
        if (s == call) ++n;
    return n;
}

namespace {

void Log(const std::wstring& call)
{
    g_fake.calls.push_back(call);
}

class CFakeControl : public IOleObject,
                     public IOleControl,
                     public IOleInPlaceObjectWindowless,
                     public IViewObjectEx,
                     public IPersistStreamInit
{
public:
    CFakeControl() { ++g_fake.nLive; ++g_fake.nCreated; }
    virtual ~CFakeControl()
    {
        if (m_pSite != NULL) m_pSite->Release();
        if (m_hWnd != NULL) ::DestroyWindow(m_hWnd);
        --g_fake.nLive;
    }

    // IUnknown
    STDMETHOD_(ULONG, AddRef)() override { return ++m_ref; }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG r = --m_ref;
        if (r == 0) delete this;
        return r;
    }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        *ppv = NULL;
        if (riid == IID_IUnknown || riid == IID_IOleObject) *ppv = static_cast<IOleObject*>(this);
        else if (riid == IID_IOleControl) *ppv = static_cast<IOleControl*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) *ppv = static_cast<IOleInPlaceObject*>(this);
        else if (riid == IID_IOleInPlaceObjectWindowless && g_fake.bWindowless)
            *ppv = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (riid == IID_IViewObject || riid == IID_IViewObject2 || riid == IID_IViewObjectEx)
            *ppv = static_cast<IViewObjectEx*>(this);
        else if (riid == IID_IPersistStreamInit) *ppv = static_cast<IPersistStreamInit*>(this);
        if (*ppv == NULL) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite* pSite) override
    {
        Log(pSite != NULL ? L"SetClientSite" : L"SetClientSite:null");
        if (pSite != NULL) pSite->AddRef();
        if (m_pSite != NULL) m_pSite->Release();
        m_pSite = pSite;
        if (pSite != NULL && g_fake.pKeptSite == NULL) {
            g_fake.pKeptSite = pSite;
            pSite->AddRef();
        }
        return S_OK;
    }
    STDMETHOD(GetClientSite)(IOleClientSite** pp) override { *pp = m_pSite; if (m_pSite) m_pSite->AddRef(); return S_OK; }
    STDMETHOD(SetHostNames)(LPCOLESTR app, LPCOLESTR) override { Log(std::wstring(L"SetHostNames:") + app); return S_OK; }
    STDMETHOD(Close)(DWORD) override { Log(L"Close"); return S_OK; }
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG iVerb, LPMSG, IOleClientSite* pSite, LONG, HWND, LPCRECT) override
    {
        Log(L"DoVerb:" + std::to_wstring(iVerb));
        if (iVerb != OLEIVERB_INPLACEACTIVATE || m_bActive || pSite == NULL) return S_OK;
        IOleInPlaceSiteWindowless* pWindowless = NULL;
        IOleInPlaceSite* pInPlace = NULL;
        HRESULT hr = E_FAIL;
        if (g_fake.bWindowless &&
            SUCCEEDED(pSite->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&pWindowless))) &&
            pWindowless->CanWindowlessActivate() == S_OK) {
            BOOL noRedraw = FALSE;
            hr = pWindowless->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
        }
        else if (SUCCEEDED(pSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&pInPlace)))) {
            hr = pInPlace->OnInPlaceActivate();
            HWND hwndSite = NULL;
            if (SUCCEEDED(hr) && SUCCEEDED(pInPlace->GetWindow(&hwndSite))) {
                g_fake.hwndParent = hwndSite;
                m_hWnd = ::CreateWindowExW(0, L"STATIC", L"fake", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hwndSite,
                                           NULL, ::GetModuleHandleW(NULL), NULL);
            }
        }
        IOleInPlaceSite* pContext = pWindowless != NULL ? pWindowless : pInPlace;
        if (SUCCEEDED(hr) && pContext != NULL) {
            IOleInPlaceFrame* pFrame = NULL;
            IOleInPlaceUIWindow* pDoc = NULL;
            RECT rcPos = {}, rcClip = {};
            OLEINPLACEFRAMEINFO info = {};
            info.cb = sizeof(info);
            if (SUCCEEDED(pContext->GetWindowContext(&pFrame, &pDoc, &rcPos, &rcClip, &info))) {
                g_fake.rcWindowContext = rcPos;
                if (g_fake.pKeptFrame != NULL) g_fake.pKeptFrame->Release();
                g_fake.pKeptFrame = pFrame;
                if (pDoc != NULL) pDoc->Release();
            }
        }
        if (pWindowless != NULL) pWindowless->Release();
        if (pInPlace != NULL) pInPlace->Release();
        m_bActive = SUCCEEDED(hr);
        return hr;
    }
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID* p) override { *p = CLSID_FakeOleControl; return S_OK; }
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetExtent)(DWORD, SIZEL* p) override { g_fake.szExtent = *p; return S_OK; }
    STDMETHOD(GetExtent)(DWORD, SIZEL* p) override { *p = g_fake.szExtent; return S_OK; }
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* p) override { *p = g_fake.dwMiscStatus; return S_OK; }
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleControl
    STDMETHOD(GetControlInfo)(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHOD(OnMnemonic)(MSG*) override { return E_NOTIMPL; }
    STDMETHOD(OnAmbientPropertyChange)(DISPID) override { return S_OK; }
    STDMETHOD(FreezeEvents)(BOOL) override { return S_OK; }

    // IOleWindow / IOleInPlaceObject / IOleInPlaceObjectWindowless
    STDMETHOD(GetWindow)(HWND* p) override { *p = m_hWnd; return m_hWnd != NULL ? S_OK : E_FAIL; }
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return S_OK; }
    STDMETHOD(InPlaceDeactivate)() override { return S_OK; }
    STDMETHOD(UIDeactivate)() override { return S_OK; }
    STDMETHOD(SetObjectRects)(LPCRECT pos, LPCRECT) override { g_fake.rcObject = *pos; return S_OK; }
    STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }
    STDMETHOD(OnWindowMessage)(UINT msg, WPARAM, LPARAM, LRESULT* pResult) override
    {
        g_fake.messages.push_back(msg);
        *pResult = 77;
        return S_OK;
    }
    STDMETHOD(GetDropTarget)(IDropTarget**) override { return E_NOTIMPL; }

    // IViewObject / IViewObject2 / IViewObjectEx
    STDMETHOD(Draw)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw, LPCRECTL bounds, LPCRECTL,
                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override
    {
        RECT rc = { bounds->left, bounds->top, bounds->right, bounds->bottom };
        HBRUSH brush = ::CreateSolidBrush(g_fake.clrFill);
        ::FillRect(hdcDraw, &rc, brush);
        ::DeleteObject(brush);
        return S_OK;
    }
    STDMETHOD(GetColorSet)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHOD(Freeze)(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unfreeze)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetAdvise)(DWORD, DWORD, IAdviseSink*) override { return E_NOTIMPL; }
    STDMETHOD(GetAdvise)(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHOD(GetExtent)(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL) override { return E_NOTIMPL; }
    STDMETHOD(GetRect)(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHOD(GetViewStatus)(DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(QueryHitPoint)(DWORD, LPCRECT bounds, POINT pt, LONG, DWORD* pHit) override
    {
        *pHit = ::PtInRect(bounds, pt) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
        return S_OK;
    }
    STDMETHOD(QueryHitRect)(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(GetNaturalExtent)(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // IPersistStreamInit
    STDMETHOD(GetClassID)(CLSID* p) override { *p = CLSID_FakeOleControl; return S_OK; }
    STDMETHOD(IsDirty)() override { return S_FALSE; }
    STDMETHOD(Load)(LPSTREAM) override { return E_NOTIMPL; }
    STDMETHOD(Save)(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHOD(InitNew)() override
    {
        Log(L"InitNew");
        return g_fake.bFailInitNew ? E_FAIL : S_OK;
    }

private:
    ULONG m_ref = 1;
    IOleClientSite* m_pSite = NULL;
    HWND m_hWnd = NULL;
    bool m_bActive = false;
};

class CFakeFactory : public IClassFactory
{
public:
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        *ppv = NULL;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *ppv = this;
        return S_OK;
    }
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** ppv) override
    {
        *ppv = NULL;
        if (outer != NULL) return CLASS_E_NOAGGREGATION;
        CFakeControl* p = new CFakeControl;
        HRESULT hr = p->QueryInterface(riid, ppv);
        p->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }
};

CFakeFactory g_factory;

} // namespace

CFakeClassScope::CFakeClassScope(const CLSID& clsid)
{
    if (FAILED(::CoRegisterClassObject(clsid, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                       &m_dwCookie))) {
        m_dwCookie = 0;
    }
}

CFakeClassScope::~CFakeClassScope()
{
    if (m_dwCookie != 0) ::CoRevokeClassObject(m_dwCookie);
}

} // namespace ActiveXTest
