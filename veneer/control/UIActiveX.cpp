// CActiveXUI: creation, in-place activation, sizing, painting and message forwarding of a hosted object.
#include "veneer/control/UIActiveX.h"
#include "veneer/control/UIActiveXSite.h"
#include "veneer/window/UIManager.h"

// Interface ids are taken with __uuidof: naming the IID_ constants links the system library's table
// of some two thousand ids into the program.

namespace Veneer {

namespace {

// The message ranges a windowless object takes from the window; the horizontal wheel (0x020E) and
// WM_UNICHAR (0x0109) stay with the window.
const UINT kMouseFirst = 0x0200;
const UINT kMouseLast = 0x020D;
const UINT kKeyFirst = 0x0100;
const UINT kKeyLast = 0x0108;

typedef HRESULT(STDAPICALLTYPE* PFNGETCLASSOBJECT)(REFCLSID, REFIID, LPVOID*);

const CLSID kNullClsid = {};

// The object created through the class factory of an in-process module, or null.
IOleObject* CreateFromModule(LPCWSTR pstrModule, const CLSID& clsid)
{
    HMODULE hModule = ::LoadLibraryW(pstrModule);
    if (hModule == NULL) return NULL;
    // The module stays loaded: the object's code lives in it.
    PFNGETCLASSOBJECT pfnGetClassObject =
        reinterpret_cast<PFNGETCLASSOBJECT>(reinterpret_cast<void*>(::GetProcAddress(hModule, "DllGetClassObject")));
    if (pfnGetClassObject == NULL) return NULL;
    IClassFactory* pFactory = NULL;
    IOleObject* pObject = NULL;
    if (SUCCEEDED(pfnGetClassObject(clsid, __uuidof(IClassFactory), reinterpret_cast<LPVOID*>(&pFactory))) &&
        pFactory != NULL) {
        if (FAILED(pFactory->CreateInstance(NULL, __uuidof(IOleObject), reinterpret_cast<LPVOID*>(&pObject)))) {
            pObject = NULL;
        }
    }
    if (pFactory != NULL) pFactory->Release();
    return pObject;
}

// The paint window's size box belongs to the window: a hosted object's window leaves it out, so that
// the border resizes the window also where the object lies under it. The box is counted as the
// window's hit test counts it (x < left or x > width - right, the same for y), and only while the
// window can be resized, that is while it is not maximised. The box is skin units, at the window's scale.
void KeepOutOfSizeBox(HWND hWnd, const RECT& rcItem, CPaintManagerUI* pManager)
{
    HWND hWndPaint = pManager != NULL ? pManager->GetPaintWindow() : NULL;
    if (hWndPaint == NULL) return;
    RECT rcInner = {};
    ::GetClientRect(hWndPaint, &rcInner);
    const RECT rcSizeBox = pManager->ScaleRect(pManager->GetSizeBox());
    rcInner.left += rcSizeBox.left;
    rcInner.top += rcSizeBox.top;
    rcInner.right -= rcSizeBox.right - 1;
    rcInner.bottom -= rcSizeBox.bottom - 1;
    RECT rcShown = rcItem;
    if (!::IsZoomed(hWndPaint) && !::IntersectRect(&rcShown, &rcItem, &rcInner)) ::SetRectEmpty(&rcShown);
    else ::OffsetRect(&rcShown, -rcItem.left, -rcItem.top);

    RECT rcCurrent = {};
    const int nCurrent = ::GetWindowRgnBox(hWnd, &rcCurrent);
    const RECT rcWhole = {0, 0, rcItem.right - rcItem.left, rcItem.bottom - rcItem.top};
    if (::EqualRect(&rcShown, &rcWhole)) {
        if (nCurrent != ERROR) ::SetWindowRgn(hWnd, NULL, TRUE);
        return;
    }
    if (nCurrent != ERROR && ::EqualRect(&rcCurrent, &rcShown)) return;
    HRGN hRgn = ::CreateRectRgnIndirect(&rcShown);
    // The window owns the region once it is set.
    if (hRgn != NULL && !::SetWindowRgn(hWnd, hRgn, TRUE)) ::DeleteObject(hRgn);
}

} // namespace

CActiveXUI::CActiveXUI()
    : m_clsid(kNullClsid), m_bCreated(false), m_bDelayCreate(true), m_pUnk(NULL), m_pControl(NULL),
      m_hwndHost(NULL)
{
}

CActiveXUI::~CActiveXUI()
{
    // Qualified: a derived class's release has already run by now; this closes the object itself.
    CActiveXUI::ReleaseControl();
}

LPCWSTR CActiveXUI::GetClass() const
{
    return L"ActiveXUI";
}

LPVOID CActiveXUI::GetInterface(LPCWSTR pstrName)
{
    if (::wcscmp(pstrName, L"ActiveX") == 0) return static_cast<CActiveXUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

HWND CActiveXUI::GetHostWindow() const
{
    return m_hwndHost;
}

bool CActiveXUI::IsDelayCreate() const
{
    return m_bDelayCreate;
}

void CActiveXUI::SetDelayCreate(bool bDelayCreate)
{
    if (m_bDelayCreate == bDelayCreate) return;
    if (!bDelayCreate && !m_bCreated && !::IsEqualCLSID(m_clsid, kNullClsid)) DoCreateControl();
    m_bDelayCreate = bDelayCreate;
}

CLSID CActiveXUI::GetClisd() const
{
    return m_clsid;
}

CUIString CActiveXUI::GetModuleName() const
{
    return m_sModuleName;
}

void CActiveXUI::SetModuleName(LPCWSTR pstrText)
{
    m_sModuleName = pstrText;
}

bool CActiveXUI::CreateControl(LPCWSTR pstrCLSID)
{
    CLSID clsid = kNullClsid;
    wchar_t szCLSID[100] = {};
    if (pstrCLSID != NULL) ::wcsncpy(szCLSID, pstrCLSID, lengthof(szCLSID) - 1);
    HRESULT hr = szCLSID[0] == L'{' ? ::CLSIDFromString(szCLSID, &clsid) : ::CLSIDFromProgID(szCLSID, &clsid);
    if (FAILED(hr)) clsid = kNullClsid;
    return CreateControl(clsid);
}

bool CActiveXUI::CreateControl(const CLSID clsid)
{
    if (::IsEqualCLSID(clsid, kNullClsid)) return false;
    m_bCreated = false;
    m_clsid = clsid;
    if (!m_bDelayCreate) DoCreateControl();
    return true;
}

HRESULT CActiveXUI::GetControl(const IID iid, LPVOID* ppRet)
{
    if (ppRet == NULL) return E_POINTER;
    if (m_pUnk == NULL) return E_PENDING;
    return m_pUnk->QueryInterface(iid, ppRet);
}

void CActiveXUI::SetVisible(bool bVisible)
{
    CControlUI::SetVisible(bVisible);
    SyncHostWindowVisibility();
}

void CActiveXUI::SetInternVisible(bool bVisible)
{
    CControlUI::SetInternVisible(bVisible);
    SyncHostWindowVisibility();
}

void CActiveXUI::SyncHostWindowVisibility()
{
    if (m_hwndHost == NULL || m_pControl == NULL || m_pControl->m_bWindowless) return;
    ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);

    if (!m_bCreated) DoCreateControl();
    if (m_pUnk == NULL || m_pControl == NULL) return;

    SIZEL hmSize = {};
    HDC hScreen = ::GetDC(NULL);
    hmSize.cx = ::MulDiv(m_rcItem.right - m_rcItem.left, 2540, ::GetDeviceCaps(hScreen, LOGPIXELSX));
    hmSize.cy = ::MulDiv(m_rcItem.bottom - m_rcItem.top, 2540, ::GetDeviceCaps(hScreen, LOGPIXELSY));
    ::ReleaseDC(NULL, hScreen);
    m_pUnk->SetExtent(DVASPECT_CONTENT, &hmSize);

    if (m_pControl->m_pInPlaceObject != NULL) {
        RECT rcObject = m_pControl->GetObjectRect();
        m_pControl->m_pInPlaceObject->SetObjectRects(&rcObject, &rcObject);
    }
    if (!m_pControl->m_bWindowless && m_pControl->m_pWindow != NULL) {
        ::MoveWindow(m_pControl->m_pWindow->GetHWND(), m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                     m_rcItem.bottom - m_rcItem.top, TRUE);
        KeepOutOfSizeBox(m_pControl->m_pWindow->GetHWND(), m_rcItem, m_pManager);
    }
}

void CActiveXUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp = {};
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    if (m_pControl != NULL && m_pControl->m_bWindowless && m_pControl->m_pViewObject != NULL) {
        RECTL rcBounds = { m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom };
        CRenderClip::ApplyPending(hDC);
        m_pControl->m_pViewObject->Draw(DVASPECT_CONTENT, -1, NULL, NULL, NULL, hDC, &rcBounds, &rcBounds, NULL, 0);
    }
}

void CActiveXUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (::wcscmp(pstrName, L"clsid") == 0) CreateControl(pstrValue);
    else if (::wcscmp(pstrName, L"modulename") == 0) SetModuleName(pstrValue);
    else if (::wcscmp(pstrName, L"delaycreate") == 0) SetDelayCreate(::wcscmp(pstrValue, L"true") == 0);
    else CControlUI::SetAttribute(pstrName, pstrValue);
}

LRESULT CActiveXUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (m_pControl == NULL || !m_pControl->m_bInPlaceActive || !m_pControl->m_bWindowless ||
        m_pControl->m_pInPlaceObject == NULL) {
        return 0;
    }
    bool bWasHandled = true;
    if ((uMsg >= kMouseFirst && uMsg <= kMouseLast) || uMsg == WM_SETCURSOR) {
        if (uMsg != WM_SETCURSOR && !IsMouseEnabled()) return 0;
        DWORD dwHitResult = m_pControl->m_bCaptured ? HITRESULT_HIT : HITRESULT_OUTSIDE;
        if (dwHitResult == HITRESULT_OUTSIDE && m_pControl->m_pViewObject != NULL) {
            IViewObjectEx* pViewEx = NULL;
            m_pControl->m_pViewObject->QueryInterface(__uuidof(IViewObjectEx), reinterpret_cast<LPVOID*>(&pViewEx));
            if (pViewEx != NULL) {
                POINT ptMouse = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
                pViewEx->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, ptMouse, 0, &dwHitResult);
                pViewEx->Release();
            }
        }
        if (dwHitResult != HITRESULT_HIT) return 0;
        if (uMsg == WM_SETCURSOR) bWasHandled = false;
    }
    else if (uMsg >= kKeyFirst && uMsg <= kKeyLast) {
        if (!IsFocused()) return 0;
    }
    else if (uMsg == WM_HELP || uMsg == WM_CONTEXTMENU) {
        bWasHandled = false;
    }
    else {
        return 0;
    }
    LRESULT lResult = 0;
    HRESULT hr = m_pControl->m_pInPlaceObject->OnWindowMessage(uMsg, wParam, lParam, &lResult);
    if (hr == S_OK) bHandled = bWasHandled;
    return lResult;
}

void CActiveXUI::ReleaseControl()
{
    m_hwndHost = NULL;
    if (m_pUnk != NULL) {
        IObjectWithSite* pSite = NULL;
        m_pUnk->QueryInterface(__uuidof(IObjectWithSite), reinterpret_cast<LPVOID*>(&pSite));
        if (pSite != NULL) {
            pSite->SetSite(NULL);
            pSite->Release();
        }
        // The running lock taken at activation holds a reference of its own.
        if (m_pControl != NULL && m_pControl->m_bRunningLocked) {
            m_pControl->m_bRunningLocked = false;
            ::OleLockRunning(m_pUnk, FALSE, TRUE);
        }
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_pUnk->SetClientSite(NULL);
        m_pUnk->Release();
        m_pUnk = NULL;
    }
    if (m_pControl != NULL) {
        m_pControl->Disconnect();
        m_pControl->Release();
        m_pControl = NULL;
    }
    if (m_pManager != NULL) m_pManager->RemoveMessageFilter(this);
}

bool CActiveXUI::DoCreateControl()
{
    ReleaseControl();
    m_bCreated = true;
    // No usable class id (none given, or a text that did not resolve): there is nothing to ask COM for.
    if (::IsEqualCLSID(m_clsid, kNullClsid)) return false;

    IOleControl* pOleControl = NULL;
    if (!m_sModuleName.IsEmpty()) {
        IOleObject* pFromModule = CreateFromModule(m_sModuleName, m_clsid);
        if (pFromModule != NULL) {
            pFromModule->QueryInterface(__uuidof(IOleControl), reinterpret_cast<LPVOID*>(&pOleControl));
            pFromModule->Release();
        }
    }
    HRESULT hr = pOleControl != NULL ? S_OK : E_FAIL;
    if (pOleControl == NULL) {
        hr = ::CoCreateInstance(m_clsid, NULL, CLSCTX_ALL, __uuidof(IOleControl), reinterpret_cast<LPVOID*>(&pOleControl));
    }
    if (FAILED(hr) || pOleControl == NULL) return false;
    pOleControl->QueryInterface(__uuidof(IOleObject), reinterpret_cast<LPVOID*>(&m_pUnk));
    pOleControl->Release();
    if (m_pUnk == NULL) return false;

    m_pControl = new (std::nothrow) CActiveXCtrl();
    if (m_pControl == NULL) return false;
    m_pControl->SetOwner(this);

    DWORD dwMiscStatus = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    IOleClientSite* pOleClientSite = NULL;
    m_pControl->QueryInterface(__uuidof(IOleClientSite), reinterpret_cast<LPVOID*>(&pOleClientSite));
    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0) m_pUnk->SetClientSite(pOleClientSite);

    IPersistStreamInit* pPersistStreamInit = NULL;
    m_pUnk->QueryInterface(__uuidof(IPersistStreamInit), reinterpret_cast<LPVOID*>(&pPersistStreamInit));
    if (pPersistStreamInit != NULL) {
        hr = pPersistStreamInit->InitNew();
        pPersistStreamInit->Release();
        if (FAILED(hr)) {
            if (pOleClientSite != NULL) pOleClientSite->Release();
            return false;
        }
    }
    if ((dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) == 0) m_pUnk->SetClientSite(pOleClientSite);

    IViewObject* pView = NULL;
    hr = m_pUnk->QueryInterface(__uuidof(IViewObjectEx), reinterpret_cast<LPVOID*>(&pView));
    if (FAILED(hr) || pView == NULL) hr = m_pUnk->QueryInterface(__uuidof(IViewObject2), reinterpret_cast<LPVOID*>(&pView));
    if (FAILED(hr) || pView == NULL) hr = m_pUnk->QueryInterface(__uuidof(IViewObject), reinterpret_cast<LPVOID*>(&pView));
    m_pControl->m_pViewObject = SUCCEEDED(hr) ? pView : NULL;

    m_pUnk->SetHostNames(L"UIActiveX", NULL);
    if (m_pManager != NULL) m_pManager->SendNotify(this, L"showactivex", 0, 0, false);

    // The notification handler may have released or replaced the object.
    if (m_pUnk == NULL || m_pControl == NULL) {
        if (pOleClientSite != NULL) pOleClientSite->Release();
        return false;
    }
    hr = S_OK;
    if ((dwMiscStatus & OLEMISC_INVISIBLEATRUNTIME) == 0) {
        HWND hwndPaint = m_pManager != NULL ? m_pManager->GetPaintWindow() : NULL;
        hr = m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, pOleClientSite, 0, hwndPaint, &m_rcItem);
    }
    if (m_pUnk != NULL && m_pControl != NULL) {
        IObjectWithSite* pSite = NULL;
        m_pUnk->QueryInterface(__uuidof(IObjectWithSite), reinterpret_cast<LPVOID*>(&pSite));
        if (pSite != NULL) {
            pSite->SetSite(static_cast<IOleClientSite*>(m_pControl));
            pSite->Release();
        }
    }
    if (pOleClientSite != NULL) pOleClientSite->Release();
    return SUCCEEDED(hr);
}

} // namespace Veneer
