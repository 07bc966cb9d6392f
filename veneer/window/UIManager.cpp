// CPaintManagerUI: construction, the control tree, option groups, timers, notifications and the post-paint list.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"
#include "veneer/control/UIControl.h"
#include "veneer/render/UIRenderImage.h"

namespace Veneer {

namespace {

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
    , m_bKeepPicture(false)
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
    , m_nResourceVersion(0)
    , m_nPaintedResourceVersion(0)
    , m_mNameHash(83)
    , m_mOptionGroup(83)
    , m_pParentResourcePM(NULL)
    , m_dwDefaultDisabledColor(0xFFA7A6AA)
    , m_dwDefaultFontColor(0xFF000000)
    , m_dwDefaultLinkFontColor(0xFF0000FF)
    , m_dwDefaultLinkHoverFontColor(0xFFD3215F)
    , m_dwDefaultSelectedBkColor(0xFFBAE4FF)
    , m_mImageHash(83)
    , m_pImageStrings(new CImageStringCache)
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
    MarkAllStale();

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
    delete m_pImageStrings;
    m_pImageStrings = NULL;
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

} // namespace Veneer
