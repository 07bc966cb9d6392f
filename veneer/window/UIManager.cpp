// CPaintManagerUI: construction, the control tree, focus, timers, notifications, searches and window attributes.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"
#include "veneer/control/UIControl.h"

namespace Veneer {

namespace {

// Walk state of the Tab search.
struct TabSearchState
{
    CControlUI* pFocus;
    CControlUI* pLast;
    bool bForward;
    bool bNextIsIt;
};

// Walk state of the searches by class.
struct ClassSearchState
{
    LPCWSTR pstrClass;
    CStdPtrArray* pFound;
};

bool ClassMatches(CControlUI* pControl, LPCWSTR pstrClass)
{
    if (wcscmp(pstrClass, L"*") == 0) return true;
    LPCWSTR pstrControlClass = pControl->GetClass();
    return pstrControlClass != NULL && wcscmp(pstrControlClass, pstrClass) == 0;
}

// Native timer ids cycle through 0..254.
const UINT kTimerIdCycle = 255;

} // namespace

CStdPtrArray CPaintManagerUI::m_aPreMessages;
HPEN CPaintManagerUI::m_hUpdateRectPen = NULL;

CPaintManagerUI::CPaintManagerUI()
    : m_hWndPaint(NULL)
    , m_nOpacity(255)
    , m_hDcPaint(NULL)
    , m_hDcOffscreen(NULL)
    , m_hDcBackground(NULL)
    , m_hbmpOffscreen(NULL)
    , m_hbmpBackground(NULL)
    , m_hwndTooltip(NULL)
    , m_bShowUpdateRect(false)
    , m_pRoot(NULL)
    , m_pFocus(NULL)
    , m_pEventHover(NULL)
    , m_pEventClick(NULL)
    , m_pEventKey(NULL)
    , m_uTimerID(0x1000)
    , m_bFirstLayout(true)
    , m_bUpdateNeeded(false)
    , m_bFocusNeeded(false)
    , m_bOffscreenPaint(true)
    , m_bAlphaBackground(false)
    , m_bMouseTracking(false)
    , m_bMouseCapture(false)
    , m_bUsedVirtualWnd(false)
    , m_bHasWindowShadow(false)
    , m_nDpi(96)
    , m_bDpiGiven(false)
    , m_bStockDefaultFont(true)
    , m_nInvalidateBatch(0)
    , m_nPendingInvalidate(0)
    , m_mNameHash(83)
    , m_mOptionGroup(83)
    , m_pParentResourcePM(NULL)
    , m_dwDefaultDisabledColor(0xFFA7A6AA)
    , m_dwDefaultFontColor(0xFF000000)
    , m_dwDefaultLinkFontColor(0xFF0000FF)
    , m_dwDefaultLinkHoverFontColor(0xFFD3215F)
    , m_dwDefaultSelectedBkColor(0xFFBAE4FF)
    , m_mImageHash(83)
    , m_DefaultAttrHash(83)
{
    ::ZeroMemory(&m_ToolTip, sizeof(m_ToolTip));
    m_ptLastMousePos.x = m_ptLastMousePos.y = -1;
    m_szMinWindow.cx = m_szMinWindow.cy = 0;
    m_szMaxWindow.cx = m_szMaxWindow.cy = 0;
    m_szInitWindowSize.cx = m_szInitWindowSize.cy = 0;
    m_szRoundCorner.cx = m_szRoundCorner.cy = 0;
    ::SetRectEmpty(&m_rcSizeBox);
    ::SetRectEmpty(&m_rcCaption);
    ::SetRectEmpty(&m_rcShadowTopLeft);
    ::SetRectEmpty(&m_rcShadowTopRight);
    ::SetRectEmpty(&m_rcShadowBottomLeft);
    ::SetRectEmpty(&m_rcShadowBottomRight);
    ::SetRectEmpty(&m_rcShadowTop);
    ::SetRectEmpty(&m_rcShadowBottom);
    ::SetRectEmpty(&m_rcShadowLeft);
    ::SetRectEmpty(&m_rcShadowRight);
    ::ZeroMemory(m_rcPendingInvalidate, sizeof(m_rcPendingInvalidate));

    // The default font: the stock GUI font, under the process-wide face name when one is set.
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    if (!m_pStrDefaultFontName.IsEmpty()) {
        ::lstrcpynW(lf.lfFaceName, m_pStrDefaultFontName.GetData(), LF_FACESIZE);
    }
    m_DefaultFontInfo.sFontName = lf.lfFaceName;
    // The stock font is made for the system's DPI; its size in skin units is what a 96-DPI system makes.
    m_DefaultFontInfo.iSize = SystemToSkinUnits(-lf.lfHeight);
    m_DefaultFontInfo.bBold = (lf.lfWeight >= FW_BOLD);
    m_DefaultFontInfo.bUnderline = (lf.lfUnderline == TRUE);
    m_DefaultFontInfo.bItalic = (lf.lfItalic == TRUE);
    ::ZeroMemory(&m_DefaultFontInfo.tm, sizeof(m_DefaultFontInfo.tm));
    m_DefaultFontInfo.hFont = CreateScaledFont(&m_DefaultFontInfo);

    if (m_hUpdateRectPen == NULL) {
        m_hUpdateRectPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
        ::InitCommonControls();
        // Kept loaded for the process: the render engine resolves AlphaBlend and GradientFill from it.
        ::LoadLibraryW(L"msimg32.dll");
    }
}

CPaintManagerUI::~CPaintManagerUI()
{
    // Queued deletions and notifications first: they may refer to the tree.
    for (int i = 0; i < m_aDelayedCleanup.GetSize(); i++) {
        delete static_cast<CControlUI*>(m_aDelayedCleanup[i]);
    }
    m_aDelayedCleanup.Empty();
    for (int i = 0; i < m_aAsyncNotify.GetSize(); i++) {
        delete static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
    }
    m_aAsyncNotify.Empty();
    m_mNameHash.RemoveAll();

    CControlUI* pRoot = m_pRoot;
    m_pRoot = NULL;
    delete pRoot;

    ::DeleteObject(m_DefaultFontInfo.hFont);
    m_DefaultFontInfo.hFont = NULL;
    RemoveAllFonts();
    RemoveAllImages();
    RemoveAllDefaultAttributeList();
    RemoveAllOptionGroups();
    RemoveAllTimers();

    if (m_hwndTooltip != NULL) ::DestroyWindow(m_hwndTooltip);
    if (m_hDcOffscreen != NULL) ::DeleteDC(m_hDcOffscreen);
    if (m_hDcBackground != NULL) ::DeleteDC(m_hDcBackground);
    if (m_hbmpOffscreen != NULL) ::DeleteObject(m_hbmpOffscreen);
    if (m_hbmpBackground != NULL) ::DeleteObject(m_hbmpBackground);
    if (m_hDcPaint != NULL) ::ReleaseDC(m_hWndPaint, m_hDcPaint);

    m_aPreMessages.Remove(m_aPreMessages.Find(this));
}

void CPaintManagerUI::Init(HWND hWnd)
{
    if (hWnd == NULL) return;
    // A second Init must neither leak the former DC nor list the manager twice.
    if (m_hDcPaint != NULL) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    m_hWndPaint = hWnd;
    m_hDcPaint = ::GetDC(hWnd);
    if (m_aPreMessages.Find(this) < 0) m_aPreMessages.Add(this);
    if (!m_bDpiGiven) ChangeDPI(GetWindowDPI(hWnd));
}

// ---- window attributes ---------------------------------------------------------------------

HDC CPaintManagerUI::GetPaintDC() const
{
    return m_hDcPaint;
}

HWND CPaintManagerUI::GetPaintWindow() const
{
    return m_hWndPaint;
}

HWND CPaintManagerUI::GetTooltipWindow() const
{
    return m_hwndTooltip;
}

POINT CPaintManagerUI::GetMousePos() const
{
    return m_ptLastMousePos;
}

SIZE CPaintManagerUI::GetClientSize() const
{
    RECT rcClient = {};
    if (m_hWndPaint != NULL) ::GetClientRect(m_hWndPaint, &rcClient);
    SIZE sz = { rcClient.right - rcClient.left, rcClient.bottom - rcClient.top };
    return sz;
}

SIZE CPaintManagerUI::GetInitSize() const
{
    return m_szInitWindowSize;
}

void CPaintManagerUI::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
    // Only a window still without a tree takes the skin's size at once.
    if (m_pRoot == NULL && m_hWndPaint != NULL) {
        ::SetWindowPos(m_hWndPaint, NULL, 0, 0, ScaleValue(cx), ScaleValue(cy),
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

const RECT& CPaintManagerUI::GetSizeBox() const
{
    return m_rcSizeBox;
}

void CPaintManagerUI::SetSizeBox(const RECT& rcSizeBox)
{
    m_rcSizeBox = rcSizeBox;
}

const RECT& CPaintManagerUI::GetCaptionRect() const
{
    return m_rcCaption;
}

void CPaintManagerUI::SetCaptionRect(const RECT& rcCaption)
{
    m_rcCaption = rcCaption;
}

SIZE CPaintManagerUI::GetRoundCorner() const
{
    return m_szRoundCorner;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy)
{
    m_szRoundCorner.cx = cx;
    m_szRoundCorner.cy = cy;
}

SIZE CPaintManagerUI::GetMinInfo() const
{
    return m_szMinWindow;
}

void CPaintManagerUI::SetMinInfo(int cx, int cy)
{
    m_szMinWindow.cx = cx;
    m_szMinWindow.cy = cy;
}

SIZE CPaintManagerUI::GetMaxInfo() const
{
    return m_szMaxWindow;
}

void CPaintManagerUI::SetMaxInfo(int cx, int cy)
{
    m_szMaxWindow.cx = cx;
    m_szMaxWindow.cy = cy;
}

int CPaintManagerUI::GetTransparent() const
{
    return m_nOpacity;
}

void CPaintManagerUI::SetTransparent(int nOpacity)
{
    m_nOpacity = nOpacity < 0 ? 0 : (nOpacity > 255 ? 255 : nOpacity);
    if (m_hWndPaint == NULL) return;

    typedef BOOL(WINAPI * PFNSETLAYEREDWINDOWATTRIBUTES)(HWND, COLORREF, BYTE, DWORD);
    HMODULE hUser32 = ::GetModuleHandleW(L"User32.dll");
    if (hUser32 == NULL) return;
    PFNSETLAYEREDWINDOWATTRIBUTES pfnSetLayered = reinterpret_cast<PFNSETLAYEREDWINDOWATTRIBUTES>(
        reinterpret_cast<void*>(::GetProcAddress(hUser32, "SetLayeredWindowAttributes")));
    if (pfnSetLayered == NULL) return;

    // A value outside 0..255 turns whole-window opacity off.
    const bool bLayered = (nOpacity >= 0 && nOpacity < 256);
    const LONG dwStyle = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    const LONG dwNewStyle = bLayered ? (dwStyle | WS_EX_LAYERED) : (dwStyle & ~WS_EX_LAYERED);
    if (dwNewStyle != dwStyle) ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, dwNewStyle);
    if (bLayered) pfnSetLayered(m_hWndPaint, 0, static_cast<BYTE>(m_nOpacity), LWA_ALPHA);
}

bool CPaintManagerUI::IsAlphaBackground() const
{
    return m_bAlphaBackground;
}

void CPaintManagerUI::SetBackgroundTransparent(bool bTrans)
{
    m_bAlphaBackground = bTrans;
}

bool CPaintManagerUI::IsShowUpdateRect() const
{
    return m_bShowUpdateRect;
}

void CPaintManagerUI::SetShowUpdateRect(bool bShow)
{
    m_bShowUpdateRect = bShow;
}

// ---- window shadow ---------------------------------------------------------------------------

bool CPaintManagerUI::HasWindowShadow() const
{
    return m_bHasWindowShadow;
}

void CPaintManagerUI::SetHasWindowShadow(bool bShadow)
{
    m_bHasWindowShadow = bShadow;
}

LPCWSTR CPaintManagerUI::GetWindowShadowImage() const
{
    return m_sWindowShadowImage.GetData();
}

void CPaintManagerUI::SetWindowShadowImage(LPCWSTR pstrImage)
{
    m_sWindowShadowImage = pstrImage;
}

void CPaintManagerUI::SetTopleftShadowRect(int x, int y, int cx, int cy)
{
    ::SetRect(&m_rcShadowTopLeft, x, y, x + cx, y + cy);
}

void CPaintManagerUI::SetToprightShadowRect(int x, int y, int cx, int cy)
{
    ::SetRect(&m_rcShadowTopRight, x, y, x + cx, y + cy);
}

void CPaintManagerUI::SetBottomleftShadowRect(int x, int y, int cx, int cy)
{
    ::SetRect(&m_rcShadowBottomLeft, x, y, x + cx, y + cy);
}

void CPaintManagerUI::SetBottomrightShadowRect(int x, int y, int cx, int cy)
{
    ::SetRect(&m_rcShadowBottomRight, x, y, x + cx, y + cy);
}

void CPaintManagerUI::CalMiddleShadowRect()
{
    const RECT& tl = m_rcShadowTopLeft;
    const RECT& tr = m_rcShadowTopRight;
    const RECT& bl = m_rcShadowBottomLeft;
    const RECT& br = m_rcShadowBottomRight;
    ::SetRect(&m_rcShadowTop, tl.right, 0, tr.left, tl.bottom);
    ::SetRect(&m_rcShadowBottom, bl.right, bl.top, br.left, bl.bottom);
    ::SetRect(&m_rcShadowLeft, tl.left, tl.bottom, tl.right, bl.top);
    ::SetRect(&m_rcShadowRight, tr.left, tr.bottom, tr.right, br.top);
}

void CPaintManagerUI::CalRealShadowRect(const RECT& rcClient, TWindowShadowInfo& info) const
{
    // The corners are drawn at the display scale; their sources stay in the image.
    const RECT tl = ScaleRect(m_rcShadowTopLeft);
    const RECT tr = ScaleRect(m_rcShadowTopRight);
    const RECT bl = ScaleRect(m_rcShadowBottomLeft);
    const int x1 = rcClient.right - (tr.right - tr.left);
    const int y1 = rcClient.bottom - (bl.bottom - bl.top);
    ::SetRect(&info.rcTopLeft, 0, 0, tl.right, tl.bottom);
    ::SetRect(&info.rcTopRight, x1, 0, rcClient.right, tr.bottom);
    ::SetRect(&info.rcBottomLeft, 0, y1, bl.right, rcClient.bottom);
    ::SetRect(&info.rcBottomRight, x1, y1, rcClient.right, rcClient.bottom);
    ::SetRect(&info.rcTop, tl.right, 0, x1, tl.bottom);
    ::SetRect(&info.rcBottom, bl.right, y1, x1, rcClient.bottom);
    ::SetRect(&info.rcLeft, 0, tl.bottom, tl.right, y1);
    ::SetRect(&info.rcRight, x1, tr.bottom, rcClient.right, y1);
}

void CPaintManagerUI::GenerateShadowRenderString(const RECT& rcSource, const RECT& rcDest, LPWSTR pstrBuffer,
                                                 size_t cchBuffer) const
{
    if (pstrBuffer == NULL || cchBuffer == 0) return;
    // A shadow image name too long for the buffer yields an empty description, never a cut one.
    int n = _snwprintf(pstrBuffer, cchBuffer, L"file='%ls' dest='%u,%u,%u,%u' source='%u,%u,%u,%u'",
                       m_sWindowShadowImage.GetData(), static_cast<unsigned>(rcDest.left),
                       static_cast<unsigned>(rcDest.top), static_cast<unsigned>(rcDest.right),
                       static_cast<unsigned>(rcDest.bottom), static_cast<unsigned>(rcSource.left),
                       static_cast<unsigned>(rcSource.top), static_cast<unsigned>(rcSource.right),
                       static_cast<unsigned>(rcSource.bottom));
    if (n < 0 || static_cast<size_t>(n) >= cchBuffer) pstrBuffer[0] = L'\0';
}

// ---- the control tree ------------------------------------------------------------------------

bool CPaintManagerUI::AttachDialog(CControlUI* pControl)
{
    SetFocus(NULL);
    m_pEventKey = NULL;
    m_pEventHover = NULL;
    m_pEventClick = NULL;
    if (m_pRoot != NULL && m_pRoot != pControl) {
        m_aPostPaintControls.Empty();
        // Names of the outgoing tree must not be found while it waits for deletion.
        m_mNameHash.RemoveAll();
        AddDelayedCleanup(m_pRoot);
    }
    m_pRoot = pControl;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    return InitControls(pControl);
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent)
{
    if (pControl == NULL) return false;
    CInvalidateBatch batch(this);
    pControl->SetManager(this, pParent != NULL ? pParent : pControl->GetParent(), true);
    pControl->FindControl(FindControlFromNameHash, this, FIND_ALL);
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl)
{
    if (pControl == NULL) return;
    if (pControl == m_pEventKey) m_pEventKey = NULL;
    if (pControl == m_pEventHover) m_pEventHover = NULL;
    if (pControl == m_pEventClick) m_pEventClick = NULL;
    if (pControl == m_pFocus) m_pFocus = NULL;
    KillTimer(pControl);
    const CUIString sName = pControl->GetName();
    if (!sName.IsEmpty() && m_mNameHash.Find(sName.GetData(), false) == pControl) {
        m_mNameHash.Remove(sName.GetData());
    }
    for (int i = 0; i < m_aAsyncNotify.GetSize(); i++) {
        TNotifyUI* pMsg = static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
        if (pMsg->pSender == pControl) pMsg->pSender = NULL;
    }
    // The post-paint pass must not reach a destroyed control.
    for (int i = m_aPostPaintControls.GetSize() - 1; i >= 0; i--) {
        if (m_aPostPaintControls[i] == pControl) m_aPostPaintControls.Remove(i);
    }
}

CControlUI* CPaintManagerUI::GetRoot() const
{
    return m_pRoot;
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl)
{
    if (pControl == NULL) return;
    pControl->SetManager(this, NULL, false);
    // Queued once only: a second entry would delete it twice.
    if (m_aDelayedCleanup.Find(pControl) < 0) m_aDelayedCleanup.Add(pControl);
    if (m_hWndPaint != NULL) ::PostMessageW(m_hWndPaint, WM_APP + 1, 0, 0L);
}

void CPaintManagerUI::ProcessDelayedCleanup()
{
    // Controls queued while these are deleted wait for their own posted message.
    CStdPtrArray aCleanup(m_aDelayedCleanup);
    m_aDelayedCleanup.Empty();
    for (int i = 0; i < aCleanup.GetSize(); i++) {
        delete static_cast<CControlUI*>(aCleanup[i]);
    }
}

void CPaintManagerUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
}

bool CPaintManagerUI::IsUpdateNeeded() const
{
    return m_bUpdateNeeded;
}

void CPaintManagerUI::UpdateLayout()
{
    if (!m_bUpdateNeeded) return;
    m_bUpdateNeeded = false;
    if (m_pRoot == NULL || m_hWndPaint == NULL) return;
    RECT rcClient = {};
    ::GetClientRect(m_hWndPaint, &rcClient);
    // A window without a client area yet keeps "windowinit" for a later pass.
    if (::IsRectEmpty(&rcClient)) return;

    {
        // The batch ends before "windowinit": its receivers run outside the layout.
        CInvalidateBatch batch(this);
        if (m_pRoot->IsUpdateNeeded()) {
            m_pRoot->SetPos(rcClient);
            // The paint buffers are made again at the new client size.
            if (m_hDcOffscreen != NULL) ::DeleteDC(m_hDcOffscreen);
            if (m_hDcBackground != NULL) ::DeleteDC(m_hDcBackground);
            if (m_hbmpOffscreen != NULL) ::DeleteObject(m_hbmpOffscreen);
            if (m_hbmpBackground != NULL) ::DeleteObject(m_hbmpBackground);
            m_hDcOffscreen = NULL;
            m_hDcBackground = NULL;
            m_hbmpOffscreen = NULL;
            m_hbmpBackground = NULL;
        } else {
            for (;;) {
                CControlUI* pControl =
                    m_pRoot->FindControl(FindControlFromUpdate, NULL, FIND_VISIBLE | FIND_SELF_FIRST);
                if (pControl == NULL) break;
                RECT rcPos = pControl->GetPos();
                pControl->SetPos(rcPos);
                // A control that stays flagged would be found again forever.
                if (pControl->IsUpdateNeeded()) break;
            }
        }
    }
    if (m_bFirstLayout) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, L"windowinit", 0, 0, false);
    }
}

// ---- option groups ---------------------------------------------------------------------------

bool CPaintManagerUI::AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    if (pStrGroupName == NULL) return false;
    CStdPtrArray* aOptionGroup = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
    if (aOptionGroup != NULL) {
        if (aOptionGroup->Find(pControl) >= 0) return false;
        aOptionGroup->Add(pControl);
        return true;
    }
    aOptionGroup = new CStdPtrArray(6);
    aOptionGroup->Add(pControl);
    m_mOptionGroup.Insert(pStrGroupName, aOptionGroup);
    return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(LPCWSTR pStrGroupName)
{
    if (pStrGroupName == NULL) return NULL;
    return static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName));
}

void CPaintManagerUI::RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl)
{
    CStdPtrArray* aOptionGroup = GetOptionGroup(pStrGroupName);
    if (aOptionGroup == NULL) return;
    aOptionGroup->Remove(aOptionGroup->Find(pControl));
    if (aOptionGroup->IsEmpty()) {
        delete aOptionGroup;
        m_mOptionGroup.Remove(pStrGroupName);
    }
}

void CPaintManagerUI::RemoveAllOptionGroups()
{
    for (int i = 0; i < m_mOptionGroup.GetSize(); i++) {
        LPCWSTR key = m_mOptionGroup.GetAt(i);
        if (key != NULL) delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(key, false));
    }
    m_mOptionGroup.RemoveAll();
}

// ---- focus and capture -----------------------------------------------------------------------

CControlUI* CPaintManagerUI::GetFocus() const
{
    return m_pFocus;
}

void CPaintManagerUI::KillFocusControl(CControlUI* pNewFocus)
{
    if (m_pFocus == NULL) return;
    TEventUI event = {};
    event.Type = EVENT_KILLFOCUS;
    event.pSender = pNewFocus;
    event.dwTimestamp = ::GetTickCount();
    CControlUI* pOldFocus = m_pFocus;
    pOldFocus->Event(event);
    SendNotify(pOldFocus, L"killfocus");
    m_pFocus = NULL;
}

void CPaintManagerUI::SetFocus(CControlUI* pControl)
{
    HWND hFocusWnd = ::GetFocus();
    if (hFocusWnd != m_hWndPaint && pControl != m_pFocus && m_hWndPaint != NULL) ::SetFocus(m_hWndPaint);
    if (pControl == m_pFocus) return;
    KillFocusControl(pControl);
    if (pControl == NULL) return;
    if (pControl->GetManager() == this && pControl->IsVisible() && pControl->IsEnabled()) {
        m_pFocus = pControl;
        // A control focused now is the focus the user or the program chose: the Tab step still owed to
        // an earlier request would move it on to the next stop at the next paint.
        m_bFocusNeeded = false;
        TEventUI event = {};
        event.Type = EVENT_SETFOCUS;
        event.pSender = pControl;
        event.dwTimestamp = ::GetTickCount();
        m_pFocus->Event(event);
        SendNotify(pControl, L"setfocus");
    }
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl)
{
    if (m_hWndPaint != NULL) ::SetFocus(m_hWndPaint);
    if (pControl == NULL) return;
    KillFocusControl(pControl);
    // Park the focus on the Tab stop before the control: the forward step of the next paint
    // then lands on the control itself.
    TabSearchState info = { pControl, NULL, false, false };
    if (m_pRoot != NULL) {
        m_pFocus = m_pRoot->FindControl(FindControlFromTab, &info, FIND_VISIBLE | FIND_ENABLED | FIND_SELF_FIRST);
    }
    m_bFocusNeeded = true;
    if (m_pRoot != NULL) m_pRoot->NeedUpdate();
}

bool CPaintManagerUI::SetNextTabControl(bool bForward)
{
    // With a layout pending the positions are stale: move at the next paint.
    if (m_bUpdateNeeded && bForward) {
        m_bFocusNeeded = true;
        if (m_hWndPaint != NULL) ::InvalidateRect(m_hWndPaint, NULL, FALSE);
        return true;
    }
    if (m_pRoot != NULL) {
        const UINT uFlags = FIND_VISIBLE | FIND_ENABLED | FIND_SELF_FIRST;
        TabSearchState info1 = { m_pFocus, NULL, bForward, false };
        CControlUI* pControl = m_pRoot->FindControl(FindControlFromTab, &info1, uFlags);
        if (pControl == NULL) {
            if (bForward) {
                // Wrap around to the first Tab stop.
                TabSearchState info2 = { NULL, NULL, bForward, false };
                pControl = m_pRoot->FindControl(FindControlFromTab, &info2, uFlags);
            } else {
                pControl = info1.pLast;
            }
        }
        if (pControl != NULL) SetFocus(pControl);
    }
    m_bFocusNeeded = false;
    return true;
}

void CPaintManagerUI::SetCapture()
{
    if (m_hWndPaint != NULL) ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

bool CPaintManagerUI::IsCaptured() const
{
    return m_bMouseCapture;
}

// ---- timers ----------------------------------------------------------------------------------

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse)
{
    if (pControl == NULL || m_hWndPaint == NULL) return false;
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID) {
            if (pTimer->bKilled && ::SetTimer(m_hWndPaint, pTimer->uWinTimer, uElapse, NULL) != 0) {
                pTimer->bKilled = false;
                return true;
            }
            return false;
        }
    }

    // Next native id in the cycle, passing over ids still held by entries of this window so that
    // two control timers never share one native timer.
    UINT uNativeID = 0;
    bool bFree = false;
    for (UINT n = 0; n < kTimerIdCycle && !bFree; n++) {
        m_uTimerID = (m_uTimerID + 1) % kTimerIdCycle;
        uNativeID = m_uTimerID;
        bFree = true;
        for (int i = 0; i < m_aTimers.GetSize(); i++) {
            TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
            if (pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == uNativeID) {
                bFree = false;
                break;
            }
        }
    }
    if (!bFree) return false;
    if (::SetTimer(m_hWndPaint, uNativeID, uElapse, NULL) == 0) return false;

    TimerEntry* pTimer = new TimerEntry;
    pTimer->pSender = pControl;
    pTimer->nLocalID = nTimerID;
    pTimer->hWnd = m_hWndPaint;
    pTimer->uWinTimer = uNativeID;
    pTimer->bKilled = false;
    if (!m_aTimers.Add(pTimer)) {
        ::KillTimer(m_hWndPaint, uNativeID);
        delete pTimer;
        return false;
    }
    return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID)
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID &&
            !pTimer->bKilled) {
            if (::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            pTimer->bKilled = true;
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl)
{
    for (int i = m_aTimers.GetSize() - 1; i >= 0; i--) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint) {
            if (!pTimer->bKilled && ::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            delete pTimer;
            m_aTimers.Remove(i);
        }
    }
}

void CPaintManagerUI::RemoveAllTimers()
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TimerEntry* pTimer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && !pTimer->bKilled && ::IsWindow(m_hWndPaint)) {
            ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        }
        delete pTimer;
    }
    m_aTimers.Empty();
}

bool CPaintManagerUI::FireTimer(UINT uNativeTimerID)
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        const TimerEntry* pTimer = static_cast<const TimerEntry*>(m_aTimers[i]);
        if (pTimer->hWnd == m_hWndPaint && pTimer->uWinTimer == uNativeTimerID && !pTimer->bKilled) {
            TEventUI event = {};
            event.Type = EVENT_TIMER;
            event.pSender = pTimer->pSender;
            event.wParam = pTimer->nLocalID;
            event.dwTimestamp = ::GetTickCount();
            pTimer->pSender->Event(event);
            return true;
        }
    }
    return false;
}

// ---- notifications and listeners -------------------------------------------------------------

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier)
{
    return m_aNotifiers.Add(pNotifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier)
{
    return m_aNotifiers.Remove(m_aNotifiers.Find(pNotifier));
}

void CPaintManagerUI::DeliverNotify(TNotifyUI& Msg)
{
    if (Msg.pSender != NULL && Msg.pSender->NotifyHook) Msg.pSender->NotifyHook(&Msg);
    // By index: a notifier may register or remove listeners while it runs.
    for (int i = 0; i < m_aNotifiers.GetSize(); i++) {
        static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(Msg);
    }
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync)
{
    Msg.ptMouse = m_ptLastMousePos;
    Msg.dwTimestamp = ::GetTickCount();
    if (m_bUsedVirtualWnd && Msg.pSender != NULL) Msg.sVirtualWnd = Msg.pSender->GetVirtualWnd();

    if (!bAsync) {
        DeliverNotify(Msg);
        return;
    }
    TNotifyUI* pMsg = new TNotifyUI;
    pMsg->sType = Msg.sType;
    // The sender may be gone by delivery time, so its virtual window is taken now.
    pMsg->sVirtualWnd = Msg.sVirtualWnd;
    pMsg->pSender = Msg.pSender;
    pMsg->dwTimestamp = Msg.dwTimestamp;
    pMsg->ptMouse = Msg.ptMouse;
    pMsg->wParam = Msg.wParam;
    pMsg->lParam = Msg.lParam;
    if (!m_aAsyncNotify.Add(pMsg)) delete pMsg;
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam, LPARAM lParam,
                                 bool bAsync)
{
    TNotifyUI Msg;
    Msg.sType = pstrMessage;
    Msg.pSender = pControl;
    Msg.dwTimestamp = 0;
    Msg.ptMouse.x = Msg.ptMouse.y = 0;
    Msg.wParam = wParam;
    Msg.lParam = lParam;
    SendNotify(Msg, bAsync);
}

void CPaintManagerUI::FlushAsyncNotify()
{
    while (!m_aAsyncNotify.IsEmpty()) {
        TNotifyUI* pMsg = static_cast<TNotifyUI*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*pMsg);
        delete pMsg;
    }
}

void CPaintManagerUI::UsedVirtualWnd(bool bUsed)
{
    m_bUsedVirtualWnd = bUsed;
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aPreMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aPreMessageFilters.Remove(m_aPreMessageFilters.Find(pFilter));
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aMessageFilters.Add(pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return m_aMessageFilters.Remove(m_aMessageFilters.Find(pFilter));
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return m_aTranslateAccelerator.Add(pTranslateAccelerator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator)
{
    return m_aTranslateAccelerator.Remove(m_aTranslateAccelerator.Find(pTranslateAccelerator));
}

bool CPaintManagerUI::TranslateAccelerator(LPMSG pMsg)
{
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); i++) {
        ITranslateAccelerator* pAccelerator = static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i]);
        if (pAccelerator->TranslateAccelerator(pMsg) == S_OK) return true;
    }
    return false;
}

// ---- post-paint list -------------------------------------------------------------------------

int CPaintManagerUI::GetPostPaintCount() const
{
    return m_aPostPaintControls.GetSize();
}

bool CPaintManagerUI::AddPostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Add(pControl);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl)
{
    return m_aPostPaintControls.Remove(m_aPostPaintControls.Find(pControl));
}

bool CPaintManagerUI::SetPostPaintIndex(CControlUI* pControl, int iIndex)
{
    RemovePostPaint(pControl);
    return m_aPostPaintControls.InsertAt(iIndex, pControl);
}

// ---- searches --------------------------------------------------------------------------------

CControlUI* CPaintManagerUI::FindControl(POINT pt) const
{
    if (m_pRoot == NULL) return NULL;
    return m_pRoot->FindControl(FindControlFromPoint, &pt, FIND_VISIBLE | FIND_HIT_TEST | FIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(LPCWSTR pstrName)
{
    if (pstrName == NULL) return NULL;
    return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const
{
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL) return NULL;
    return pParent->FindControl(FindControlFromPoint, &pt, FIND_VISIBLE | FIND_HIT_TEST | FIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const
{
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL || pstrName == NULL) return NULL;
    return pParent->FindControl(FindControlFromName, const_cast<LPWSTR>(pstrName), FIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex)
{
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL || pstrClass == NULL || iIndex < 0) return NULL;
    m_aFoundControls.Resize(iIndex + 1);
    ClassSearchState info = { pstrClass, &m_aFoundControls };
    return pParent->FindControl(FindControlFromClass, &info, FIND_ALL);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass)
{
    m_aFoundControls.Empty();
    if (pParent == NULL) pParent = m_pRoot;
    if (pParent == NULL || pstrClass == NULL) return &m_aFoundControls;
    ClassSearchState info = { pstrClass, &m_aFoundControls };
    pParent->FindControl(FindControlsFromClass, &info, FIND_ALL);
    return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass()
{
    return &m_aFoundControls;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromUpdate(CControlUI* pThis, LPVOID /*pData*/)
{
    return pThis->IsUpdateNeeded() ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromNameHash(CControlUI* pThis, LPVOID pData)
{
    CPaintManagerUI* pManager = static_cast<CPaintManagerUI*>(pData);
    const CUIString sName = pThis->GetName();
    if (sName.IsEmpty()) return NULL;
    // A later control of the same name takes the name over.
    pManager->m_mNameHash.Set(sName.GetData(), pThis);
    return NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromPoint(CControlUI* pThis, LPVOID pData)
{
    const POINT* pPoint = static_cast<const POINT*>(pData);
    RECT rcPos = pThis->GetPos();
    return ::PtInRect(&rcPos, *pPoint) ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromTab(CControlUI* pThis, LPVOID pData)
{
    TabSearchState* pInfo = static_cast<TabSearchState*>(pData);
    if (pInfo->pFocus == pThis) {
        if (pInfo->bForward) pInfo->bNextIsIt = true;
        return pInfo->bForward ? NULL : pInfo->pLast;
    }
    if ((pThis->GetControlFlags() & UIFLAG_TABSTOP) == 0) return NULL;
    pInfo->pLast = pThis;
    if (pInfo->bNextIsIt) return pThis;
    if (pInfo->pFocus == NULL) return pThis;
    return NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromName(CControlUI* pThis, LPVOID pData)
{
    LPCWSTR pstrName = static_cast<LPCWSTR>(pData);
    const CUIString sName = pThis->GetName();
    if (sName.IsEmpty()) return NULL;
    return sName.CompareNoCase(pstrName) == 0 ? pThis : NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlFromClass(CControlUI* pThis, LPVOID pData)
{
    ClassSearchState* pInfo = static_cast<ClassSearchState*>(pData);
    if (!ClassMatches(pThis, pInfo->pstrClass)) return NULL;
    CStdPtrArray* pFound = pInfo->pFound;
    const int nSlots = pFound->GetSize();
    for (int i = 0; i < nSlots; i++) {
        if (pFound->GetAt(i) == NULL) {
            pFound->SetAt(i, pThis);
            return i == nSlots - 1 ? pThis : NULL;
        }
    }
    return NULL;
}

CControlUI* CALLBACK CPaintManagerUI::FindControlsFromClass(CControlUI* pThis, LPVOID pData)
{
    ClassSearchState* pInfo = static_cast<ClassSearchState*>(pData);
    if (ClassMatches(pThis, pInfo->pstrClass)) pInfo->pFound->Add(pThis);
    return NULL;
}

// ---- debugging -------------------------------------------------------------------------------

void UI__Trace(LPCWSTR /*pstrFormat*/, ...)
{
}

LPCWSTR UI__TraceMsg(UINT uMsg)
{
#define MSGDEF(x) \
    case x: return L"" #x
    switch (uMsg) {
        MSGDEF(WM_SETCURSOR);
        MSGDEF(WM_NCHITTEST);
        MSGDEF(WM_NCPAINT);
        MSGDEF(WM_PAINT);
        MSGDEF(WM_ERASEBKGND);
        MSGDEF(WM_NCMOUSEMOVE);
        MSGDEF(WM_MOUSEMOVE);
        MSGDEF(WM_MOUSELEAVE);
        MSGDEF(WM_MOUSEHOVER);
        MSGDEF(WM_NOTIFY);
        MSGDEF(WM_COMMAND);
        MSGDEF(WM_MEASUREITEM);
        MSGDEF(WM_DRAWITEM);
        MSGDEF(WM_LBUTTONDOWN);
        MSGDEF(WM_LBUTTONUP);
        MSGDEF(WM_LBUTTONDBLCLK);
        MSGDEF(WM_RBUTTONDOWN);
        MSGDEF(WM_RBUTTONUP);
        MSGDEF(WM_SETFOCUS);
        MSGDEF(WM_KILLFOCUS);
        MSGDEF(WM_MOVE);
        MSGDEF(WM_SIZE);
        MSGDEF(WM_SIZING);
        MSGDEF(WM_MOVING);
        MSGDEF(WM_GETMINMAXINFO);
        MSGDEF(WM_CAPTURECHANGED);
        MSGDEF(WM_WINDOWPOSCHANGED);
        MSGDEF(WM_WINDOWPOSCHANGING);
        MSGDEF(WM_NCCALCSIZE);
        MSGDEF(WM_NCCREATE);
        MSGDEF(WM_NCDESTROY);
        MSGDEF(WM_TIMER);
        MSGDEF(WM_KEYDOWN);
        MSGDEF(WM_KEYUP);
        MSGDEF(WM_CHAR);
        MSGDEF(WM_SYSKEYDOWN);
        MSGDEF(WM_SYSKEYUP);
        MSGDEF(WM_SYSCOMMAND);
        MSGDEF(WM_SYSCHAR);
        MSGDEF(WM_VSCROLL);
        MSGDEF(WM_HSCROLL);
        MSGDEF(WM_CTLCOLOREDIT);
        MSGDEF(WM_CTLCOLORSTATIC);
        MSGDEF(WM_CONTEXTMENU);
        MSGDEF(WM_MOUSEWHEEL);
        MSGDEF(WM_CREATE);
        MSGDEF(WM_DESTROY);
        MSGDEF(WM_CLOSE);
        MSGDEF(WM_SHOWWINDOW);
        MSGDEF(WM_ACTIVATE);
        MSGDEF(WM_ACTIVATEAPP);
        MSGDEF(WM_NCACTIVATE);
        MSGDEF(WM_MOUSEACTIVATE);
        MSGDEF(WM_GETTEXT);
        MSGDEF(WM_GETTEXTLENGTH);
        MSGDEF(WM_SETTEXT);
        MSGDEF(WM_GETICON);
        MSGDEF(WM_SETICON);
        MSGDEF(WM_GETFONT);
        MSGDEF(WM_SETFONT);
        MSGDEF(WM_PRINTCLIENT);
        MSGDEF(WM_QUIT);
    }
#undef MSGDEF
    static wchar_t szMsg[16];
    _snwprintf(szMsg, lengthof(szMsg) - 1, L"0x%04X", uMsg);
    szMsg[lengthof(szMsg) - 1] = L'\0';
    return szMsg;
}

} // namespace Veneer
