// The site, child window, in-place frame and enumerator through which a hosted OLE object meets its control.
#include "veneer/control/UIActiveXSite.h"
#include "veneer/control/UIActiveX.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

// ---- CActiveXCtrl --------------------------------------------------------------------------

CActiveXCtrl::CActiveXCtrl()
    : m_dwRef(1), m_pOwner(NULL), m_pWindow(NULL), m_pUnkSite(NULL), m_pViewObject(NULL),
      m_pInPlaceObject(NULL), m_hAccel(NULL), m_bLocked(false), m_bFocused(false), m_bCaptured(false),
      m_bUIActivated(false), m_bInPlaceActive(false), m_bWindowless(true), m_bRunningLocked(false)
{
}

CActiveXCtrl::~CActiveXCtrl()
{
    DestroyActiveXWnd();
    if (m_pUnkSite != NULL) m_pUnkSite->Release();
    if (m_pViewObject != NULL) m_pViewObject->Release();
    if (m_pInPlaceObject != NULL) m_pInPlaceObject->Release();
    if (m_hAccel != NULL) ::DestroyAcceleratorTable(m_hAccel);
}

CActiveXUI* CActiveXCtrl::GetOwner() const
{
    return m_pOwner;
}

void CActiveXCtrl::SetOwner(CActiveXUI* pOwner)
{
    m_pOwner = pOwner;
}

void CActiveXCtrl::Disconnect()
{
    DestroyActiveXWnd();
    m_pOwner = NULL;
    m_bInPlaceActive = false;
    if (m_pViewObject != NULL) {
        m_pViewObject->Release();
        m_pViewObject = NULL;
    }
    if (m_pInPlaceObject != NULL) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = NULL;
    }
}

bool CActiveXCtrl::IsWindowless() const
{
    return m_bWindowless;
}

bool CActiveXCtrl::IsInPlaceActive() const
{
    return m_bInPlaceActive;
}

bool CActiveXCtrl::IsUIActive() const
{
    return m_bUIActivated;
}

bool CActiveXCtrl::IsFocused() const
{
    return m_bFocused;
}

bool CActiveXCtrl::IsCaptured() const
{
    return m_bCaptured;
}

bool CActiveXCtrl::IsLocked() const
{
    return m_bLocked;
}

CActiveXWnd* CActiveXCtrl::GetChildWindow() const
{
    return m_pWindow;
}

RECT CActiveXCtrl::GetObjectRect() const
{
    RECT rc = {};
    if (m_pOwner == NULL) return rc;
    rc = m_pOwner->GetPos();
    if (!m_bWindowless) ::OffsetRect(&rc, -rc.left, -rc.top);
    return rc;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    LONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IOleInPlaceSite) || riid == __uuidof(IOleInPlaceSiteEx) ||
        riid == __uuidof(IOleInPlaceSiteWindowless) || riid == __uuidof(IOleWindow)) {
        *ppvObject = static_cast<IOleInPlaceSiteWindowless*>(this);
    }
    else if (riid == __uuidof(IOleClientSite)) *ppvObject = static_cast<IOleClientSite*>(this);
    else if (riid == __uuidof(IOleControlSite)) *ppvObject = static_cast<IOleControlSite*>(this);
    else if (riid == __uuidof(IOleContainer)) *ppvObject = static_cast<IOleContainer*>(this);
    else if (riid == __uuidof(IObjectWithSite)) *ppvObject = static_cast<IObjectWithSite*>(this);
    if (*ppvObject == NULL) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* pUnkSite)
{
    if (pUnkSite != NULL) pUnkSite->AddRef();
    if (m_pUnkSite != NULL) m_pUnkSite->Release();
    m_pUnkSite = pUnkSite;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID riid, LPVOID* ppvSite)
{
    if (ppvSite == NULL) return E_POINTER;
    *ppvSite = NULL;
    if (m_pUnkSite == NULL) return E_FAIL;
    return m_pUnkSite->QueryInterface(riid, ppvSite);
}

STDMETHODIMP CActiveXCtrl::SaveObject()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD /*dwAssign*/, DWORD /*dwWhichMoniker*/, IMoniker** ppmk)
{
    if (ppmk != NULL) *ppmk = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer == NULL) return E_POINTER;
    *ppContainer = NULL;
    HRESULT hr = E_NOTIMPL;
    if (m_pUnkSite != NULL) hr = m_pUnkSite->QueryInterface(__uuidof(IOleContainer), reinterpret_cast<LPVOID*>(ppContainer));
    if (FAILED(hr)) hr = QueryInterface(__uuidof(IOleContainer), reinterpret_cast<LPVOID*>(ppContainer));
    return hr;
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    HWND hwndHost = m_pOwner->GetHostWindow();
    HDC hDC = hwndHost != NULL ? ::GetDC(hwndHost) : NULL;
    if (hDC == NULL) return E_FAIL;
    if (m_pViewObject != NULL) {
        RECT rc = GetObjectRect();
        RECTL rcBounds = { rc.left, rc.top, rc.right, rc.bottom };
        m_pViewObject->Draw(DVASPECT_CONTENT, -1, NULL, NULL, NULL, hDC, &rcBounds, &rcBounds, NULL, 0);
    }
    ::ReleaseDC(hwndHost, hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL /*fShow*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetCapture()
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    return m_bCaptured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL fCapture)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    m_bCaptured = (fCapture == TRUE);
    if (fCapture) ::SetCapture(m_pOwner->GetHostWindow());
    else ::ReleaseCapture();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus()
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    return m_bFocused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL fFocus)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (fFocus) m_pOwner->SetFocus();
    m_bFocused = (fFocus == TRUE);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT /*pRect*/, DWORD grfFlags, HDC* phDC)
{
    if (phDC == NULL) return E_POINTER;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    *phDC = ::GetDC(m_pOwner->GetHostWindow());
    if ((grfFlags & OLEDC_PAINTBKGND) != 0 && *phDC != NULL) {
        RECT rc = GetObjectRect();
        ::FillRect(*phDC, &rc, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hDC)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    ::ReleaseDC(m_pOwner->GetHostWindow(), hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT pRect, BOOL fErase)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    HWND hwndHost = m_pOwner->GetHostWindow();
    if (hwndHost == NULL) return E_FAIL;
    if (InvalidateInManager(hwndHost, pRect)) return S_OK;
    return ::InvalidateRect(hwndHost, pRect, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN hRGN, BOOL fErase)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    HWND hwndHost = m_pOwner->GetHostWindow();
    if (hwndHost == NULL) return E_FAIL;
    RECT rcBox = {};
    if (InvalidateInManager(hwndHost, hRGN != NULL && ::GetRgnBox(hRGN, &rcBox) != ERROR ? &rcBox : NULL))
        return S_OK;
    return ::InvalidateRgn(hwndHost, hRGN, fErase) ? S_OK : E_FAIL;
}

bool CActiveXCtrl::InvalidateInManager(HWND hwndHost, LPCRECT pRect)
{
    // A windowless object draws into the manager's picture, which is kept between paints: the manager
    // must learn what changed, so it goes through the manager.
    CPaintManagerUI* pManager = m_pOwner->GetManager();
    if (pManager == NULL || pManager->GetPaintWindow() != hwndHost) return false;
    RECT rc = {};
    if (pRect != NULL)
        rc = *pRect;
    else
        ::GetClientRect(hwndHost, &rc);
    pManager->Invalidate(rc);
    return true;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT /*dx*/, INT /*dy*/, LPCRECT /*pRectScroll*/, LPCRECT /*pRectClip*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT /*prc*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    LRESULT lResult = ::DefWindowProcW(m_pOwner->GetHostWindow(), msg, wParam, lParam);
    if (plResult != NULL) *plResult = lResult;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL* /*pfNoRedraw*/, DWORD dwFlags)
{
    if (m_pOwner == NULL || m_pOwner->m_pUnk == NULL) return E_UNEXPECTED;
    if (!m_bRunningLocked) m_bRunningLocked = SUCCEEDED(::OleLockRunning(m_pOwner->m_pUnk, TRUE, FALSE));

    HRESULT hr = E_FAIL;
    if ((dwFlags & ACTIVATE_WINDOWLESS) != 0) {
        m_bWindowless = true;
        hr = m_pOwner->m_pUnk->QueryInterface(__uuidof(IOleInPlaceObjectWindowless),
                                              reinterpret_cast<LPVOID*>(&m_pInPlaceObject));
        if (SUCCEEDED(hr)) {
            CPaintManagerUI* pManager = m_pOwner->GetManager();
            m_pOwner->m_hwndHost = pManager != NULL ? pManager->GetPaintWindow() : NULL;
            if (pManager != NULL) pManager->AddMessageFilter(m_pOwner);
        }
        else {
            m_pInPlaceObject = NULL;
        }
    }
    if (FAILED(hr)) {
        m_bWindowless = false;
        hr = CreateActiveXWnd();
        if (FAILED(hr)) return hr;
        // Only the windowed subset is asked for; the windowless calls are never made on it.
        hr = m_pOwner->m_pUnk->QueryInterface(__uuidof(IOleInPlaceObject), reinterpret_cast<LPVOID*>(&m_pInPlaceObject));
        if (FAILED(hr)) m_pInPlaceObject = NULL;
    }
    if (m_pInPlaceObject != NULL) {
        RECT rcObject = GetObjectRect();
        m_pInPlaceObject->SetObjectRects(&rcObject, &rcObject);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL /*fNoRedraw*/)
{
    m_bInPlaceActive = false;
    if (m_pInPlaceObject != NULL) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = NULL;
    }
    DestroyActiveXWnd();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate()
{
    BOOL bDummy = FALSE;
    return OnInPlaceActivateEx(&bDummy, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_bUIActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                            LPRECT lprcPosRect, LPRECT lprcClipRect,
                                            LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (ppFrame == NULL || ppDoc == NULL || lprcPosRect == NULL || lprcClipRect == NULL || lpFrameInfo == NULL) {
        return E_POINTER;
    }
    if (m_pWindow != NULL) {
        ::GetClientRect(m_pWindow->GetHWND(), lprcPosRect);
        ::GetClientRect(m_pWindow->GetHWND(), lprcClipRect);
    }
    else {
        // A windowless object draws at the control's place in the paint window.
        *lprcPosRect = GetObjectRect();
        *lprcClipRect = *lprcPosRect;
    }
    *ppFrame = new (std::nothrow) CActiveXFrameWnd(this);
    *ppDoc = NULL;
    if (m_hAccel == NULL) {
        ACCEL ac = {};
        m_hAccel = ::CreateAcceleratorTableW(&ac, 1);
    }
    CPaintManagerUI* pManager = m_pOwner != NULL ? m_pOwner->GetManager() : NULL;
    lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = pManager != NULL ? pManager->GetPaintWindow() : NULL;
    lpFrameInfo->haccel = m_hAccel;
    lpFrameInfo->cAccelEntries = 1;
    return *ppFrame != NULL ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE /*scrollExtant*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL /*fUndoable*/)
{
    m_bUIActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate()
{
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXCtrl::DiscardUndoState()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::DeactivateAndUndo()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT /*lprcPosRect*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* phwnd)
{
    if (phwnd == NULL) return E_POINTER;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == NULL) CreateActiveXWnd();
    if (m_pOwner->m_hwndHost == NULL) return E_FAIL;
    *phwnd = m_pOwner->m_hwndHost;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged()
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL /*fLock*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp == NULL) return E_POINTER;
    *ppDisp = NULL;
    if (m_pOwner == NULL || m_pOwner->m_pUnk == NULL) return E_UNEXPECTED;
    return m_pOwner->m_pUnk->QueryInterface(__uuidof(IDispatch), reinterpret_cast<LPVOID*>(ppDisp));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL* /*pPtlHimetric*/, POINTF* /*pPtfContainer*/, DWORD /*dwFlags*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG* /*pMsg*/, DWORD /*grfModifiers*/)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL fGotFocus)
{
    m_bFocused = (fGotFocus == TRUE);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD /*grfFlags*/, IEnumUnknown** ppenum)
{
    if (ppenum == NULL) return E_POINTER;
    *ppenum = NULL;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    *ppenum = new (std::nothrow) CActiveXEnum(m_pOwner->m_pUnk);
    return *ppenum != NULL ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL fLock)
{
    m_bLocked = fLock != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx* /*pbc*/, LPOLESTR /*pszDisplayName*/, ULONG* /*pchEaten*/,
                                            IMoniker** /*ppmkOut*/)
{
    return E_NOTIMPL;
}

HRESULT CActiveXCtrl::CreateActiveXWnd()
{
    if (m_pWindow != NULL) return S_OK;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    m_pWindow = new (std::nothrow) CActiveXWnd;
    if (m_pWindow == NULL) return E_OUTOFMEMORY;
    CPaintManagerUI* pManager = m_pOwner->GetManager();
    m_pOwner->m_hwndHost = m_pWindow->Init(this, pManager != NULL ? pManager->GetPaintWindow() : NULL);
    return S_OK;
}

void CActiveXCtrl::DestroyActiveXWnd()
{
    if (m_pWindow == NULL) return;
    HWND hWnd = m_pWindow->GetHWND();
    if (hWnd != NULL && ::IsWindow(hWnd)) ::DestroyWindow(hWnd);
    delete m_pWindow;
    m_pWindow = NULL;
    if (m_pOwner != NULL && m_pOwner->m_hwndHost == hWnd) m_pOwner->m_hwndHost = NULL;
}

// ---- CActiveXWnd ---------------------------------------------------------------------------

CActiveXWnd::CActiveXWnd() : m_pOwner(NULL)
{
}

HWND CActiveXWnd::Init(CActiveXCtrl* pOwner, HWND hWndParent)
{
    m_pOwner = pOwner;
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    Create(hWndParent, L"UIActiveX", dwStyle, 0, 0, 0, 0, 0, NULL);
    return m_hWnd;
}

LPCWSTR CActiveXWnd::GetWindowClass() const
{
    return L"ActiveXWnd";
}

LRESULT CActiveXWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    BOOL bHandled = TRUE;
    switch (uMsg) {
    case WM_PAINT: lRes = OnPaint(uMsg, wParam, lParam, bHandled); break;
    case WM_SETFOCUS: lRes = OnSetFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_KILLFOCUS: lRes = OnKillFocus(uMsg, wParam, lParam, bHandled); break;
    case WM_ERASEBKGND: lRes = OnEraseBkgnd(uMsg, wParam, lParam, bHandled); break;
    case WM_MOUSEACTIVATE: lRes = OnMouseActivate(uMsg, wParam, lParam, bHandled); break;
    // The page inside scrolls itself; the host window must not pass the wheel up to its parent.
    case WM_MOUSEWHEEL: return 0;
    default: bHandled = FALSE;
    }
    if (!bHandled) return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    return lRes;
}

void CActiveXWnd::DoVerb(LONG iVerb)
{
    if (m_pOwner == NULL || m_pOwner->m_pOwner == NULL || m_pOwner->m_pOwner->m_pUnk == NULL) return;
    CActiveXUI* pControl = m_pOwner->m_pOwner;
    IOleClientSite* pOleClientSite = NULL;
    m_pOwner->QueryInterface(__uuidof(IOleClientSite), reinterpret_cast<LPVOID*>(&pOleClientSite));
    pControl->m_pUnk->DoVerb(iVerb, NULL, pOleClientSite, 0, m_hWnd, &pControl->GetPos());
    if (pOleClientSite != NULL) pOleClientSite->Release();
}

LRESULT CActiveXWnd::OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (m_pOwner != NULL && m_pOwner->m_pOwner != NULL && m_pOwner->m_pOwner->m_pUnk != NULL) {
        DWORD dwMiscStatus = 0;
        m_pOwner->m_pOwner->m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
        if ((dwMiscStatus & OLEMISC_NOUIACTIVATE) != 0) return 0;
        if (!m_pOwner->m_bInPlaceActive) DoVerb(OLEIVERB_INPLACEACTIVATE);
    }
    bHandled = FALSE;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CActiveXWnd::OnSetFocus(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, BOOL& bHandled)
{
    bHandled = FALSE;
    if (m_pOwner == NULL) return 0;
    m_pOwner->m_bFocused = true;
    if (!m_pOwner->m_bUIActivated) DoVerb(OLEIVERB_UIACTIVATE);
    return 0;
}

LRESULT CActiveXWnd::OnKillFocus(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, BOOL& bHandled)
{
    bHandled = FALSE;
    if (m_pOwner != NULL) m_pOwner->m_bFocused = false;
    return 0;
}

LRESULT CActiveXWnd::OnEraseBkgnd(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (m_pOwner == NULL || m_pOwner->m_pViewObject == NULL) CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    bHandled = TRUE;
    return 1;
}

LRESULT CActiveXWnd::OnPaint(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, BOOL& bHandled)
{
    PAINTSTRUCT ps = {};
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
    bHandled = TRUE;
    return 1;
}

// ---- CActiveXFrameWnd ----------------------------------------------------------------------

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXCtrl* pSite) : m_dwRef(1), m_pSite(pSite), m_pActiveObject(NULL)
{
    if (m_pSite != NULL) m_pSite->AddRef();
}

CActiveXFrameWnd::~CActiveXFrameWnd()
{
    if (m_pActiveObject != NULL) m_pActiveObject->Release();
    if (m_pSite != NULL) m_pSite->Release();
}

IOleInPlaceActiveObject* CActiveXFrameWnd::GetActiveObject() const
{
    return m_pActiveObject;
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    LONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IOleWindow) || riid == __uuidof(IOleInPlaceUIWindow) ||
        riid == __uuidof(IOleInPlaceFrame)) {
        *ppvObject = static_cast<IOleInPlaceFrame*>(this);
    }
    if (*ppvObject == NULL) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU /*hmenuShared*/, LPOLEMENUGROUPWIDTHS /*lpMenuWidths*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU /*hmenuShared*/, HOLEMENU /*holemenu*/, HWND /*hwndActiveObject*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU /*hmenuShared*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR /*pszStatusText*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL /*fEnable*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG /*lpMsg*/, WORD /*wID*/)
{
    return S_FALSE;
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* phwnd)
{
    if (phwnd == NULL) return E_POINTER;
    CActiveXUI* pOwner = m_pSite != NULL ? m_pSite->GetOwner() : NULL;
    if (pOwner == NULL || pOwner->GetManager() == NULL) return E_UNEXPECTED;
    *phwnd = pOwner->GetManager()->GetPaintWindow();
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL /*fEnterMode*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT /*lprectBorder*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS /*pborderwidths*/)
{
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR /*pszObjName*/)
{
    if (pActiveObject != NULL) pActiveObject->AddRef();
    if (m_pActiveObject != NULL) m_pActiveObject->Release();
    m_pActiveObject = pActiveObject;
    return S_OK;
}

// ---- CActiveXEnum --------------------------------------------------------------------------

CActiveXEnum::CActiveXEnum(IUnknown* pUnk) : m_dwRef(1), m_iPos(0), m_pUnk(pUnk)
{
    if (m_pUnk != NULL) m_pUnk->AddRef();
}

CActiveXEnum::~CActiveXEnum()
{
    if (m_pUnk != NULL) m_pUnk->Release();
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef()
{
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    LONG lRef = --m_dwRef;
    if (lRef == 0) delete this;
    return static_cast<ULONG>(lRef);
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID riid, LPVOID* ppvObject)
{
    if (ppvObject == NULL) return E_POINTER;
    *ppvObject = NULL;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IEnumUnknown)) *ppvObject = static_cast<IEnumUnknown*>(this);
    if (*ppvObject == NULL) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched)
{
    if (pceltFetched != NULL) *pceltFetched = 0;
    if (++m_iPos > 1 || celt == 0 || rgelt == NULL || m_pUnk == NULL) return S_FALSE;
    *rgelt = m_pUnk;
    m_pUnk->AddRef();
    if (pceltFetched != NULL) *pceltFetched = 1;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG celt)
{
    m_iPos += static_cast<LONG>(celt);
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_iPos = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown** /*ppenum*/)
{
    return E_NOTIMPL;
}

} // namespace Veneer
