// CMircroClientPlayFrame: set-up of the play window, its title buttons, tray icon and quit question.
#include "veneer/core/UISetup.h"
#include "app/PlayFrame.h"
#include "app/ClientConfig.h"
#include "app/LaunchTrailer.h"

#include <algorithm>
#include <mshtml.h>
#include <shellapi.h>

using namespace Veneer;

namespace {

const wchar_t kLogoImageName[] = L"Logo.png";
// What the title shows once a game page has loaded: the game's name, not the page's title.
const wchar_t kGameDisplayName[] = L"Orvane";

// What the fixed-size children of a box take along one axis, with the box's inset and child padding:
// the room left when every stretching child has shrunk to nothing.
int FixedExtent(CControlUI* pControl, bool bWidth)
{
    CContainerUI* pBox = pControl != NULL ? static_cast<CContainerUI*>(pControl->GetInterface(L"Container")) : NULL;
    if (pBox == NULL) return 0;
    const RECT rcInset = pBox->GetInset();
    int nExtent = bWidth ? rcInset.left + rcInset.right : rcInset.top + rcInset.bottom;
    int nShown = 0;
    for (int i = 0; i < pBox->GetCount(); ++i) {
        CControlUI* pItem = pBox->GetItemAt(i);
        if (pItem == NULL || !pItem->IsVisible() || pItem->IsFloat()) continue;
        nExtent += bWidth ? pItem->GetFixedWidth() : pItem->GetFixedHeight();
        ++nShown;
    }
    if (nShown > 1) nExtent += pBox->GetChildPadding() * (nShown - 1);
    return nExtent;
}

} // namespace

CMircroClientPlayFrame::CMircroClientPlayFrame()
    : CLauncherWindow(true), m_pLoginFrame(NULL), m_pBrowser(NULL), m_hSmallIcon(NULL), m_pMaxButton(NULL),
      m_pRestoreButton(NULL), m_bAsking(false), m_bGoneWhileAsking(false)
{
}

CMircroClientPlayFrame::~CMircroClientPlayFrame()
{
    m_trayIcon.Remove();
    if (m_hSmallIcon != NULL) ::DestroyIcon(m_hSmallIcon);
}

void CMircroClientPlayFrame::SetPlayAddress(LPCWSTR pstrAddress)
{
    m_sPlayAddress = pstrAddress;
}

LPCWSTR CMircroClientPlayFrame::GetPlayAddress() const
{
    return m_sPlayAddress;
}

CUIString CMircroClientPlayFrame::GetSkinXml()
{
    return CUIString(L"playGameWindow.xml");
}

void CMircroClientPlayFrame::OnFinalMessage(HWND hWnd)
{
    // The question's call is still on the stack and returns into this object.
    if (m_bAsking) {
        m_bGoneWhileAsking = true;
        return;
    }
    CLauncherWindow::OnFinalMessage(hWnd);
}

void CMircroClientPlayFrame::InitWindow()
{
    // Resizing goes through the skin's size box, not a system frame.
    LONG style = ::GetWindowLongW(GetHWND(), GWL_STYLE);
    ::SetWindowLongW(GetHWND(), GWL_STYLE, style & ~WS_THICKFRAME);

    m_pBrowser = static_cast<CWebBrowserUI*>(m_PaintManager.FindControl(L"WebBrowser"));
    if (m_pBrowser != NULL) {
        m_pBrowser->SetHomePage(m_sPlayAddress);
        if (!m_pBrowser->IsVisible()) m_pBrowser->SetVisible(true);
        m_pBrowser->SetWebBrowserEventHandler(this);
    }
    m_pMaxButton = m_PaintManager.FindControl(L"maxbtn");
    m_pRestoreButton = m_PaintManager.FindControl(L"restorebtn");
    m_maxButtonRoute.Attach(&m_PaintManager, m_pMaxButton, m_pRestoreButton);
    LimitTrackSize();

    // The client is 1286 x 768 skin units, as much of it as the monitor's work area can show. The size
    // change shows the maximise button; the play switch's maximising then the restore button.
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoW(::MonitorFromWindow(GetHWND(), MONITOR_DEFAULTTONEAREST), &mi);
    const int cxClient = m_PaintManager.ScaleValue(kPlayClientWidth);
    const int cyClient = m_PaintManager.ScaleValue(kPlayClientHeight);
    ResizeClient((std::min)(cxClient, static_cast<int>(mi.rcWork.right - mi.rcWork.left)),
                 (std::min)(cyClient, static_cast<int>(mi.rcWork.bottom - mi.rcWork.top)));

    m_hSmallIcon = static_cast<HICON>(::LoadImageW(CPaintManagerUI::GetResourceDll(),
                                                   MAKEINTRESOURCEW(kAppIconResourceId), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    m_trayIcon.Add(GetHWND(), m_hSmallIcon, GetClientConfig().m_sClientName);
    ShowLogo();
}

void CMircroClientPlayFrame::LimitTrackSize()
{
    // Every title button stays in reach: no narrower than the title bar's fixed groups side by side,
    // no lower than the window's fixed rows and a strip of page.
    CControlUI* pCloseButton = m_PaintManager.FindControl(L"closebtn");
    CControlUI* pTitleBar = pCloseButton != NULL && pCloseButton->GetParent() != NULL
                                ? pCloseButton->GetParent()->GetParent()
                                : NULL;
    if (pTitleBar == NULL) return;
    const SIZE szSkin = m_PaintManager.GetMinInfo();
    const int cx = FixedExtent(pTitleBar, true);
    const int cy = FixedExtent(pTitleBar->GetParent(), false) + kPlayMinPageHeight;
    m_PaintManager.SetMinInfo(cx > szSkin.cx ? cx : szSkin.cx, cy > szSkin.cy ? cy : szSkin.cy);
}

void CMircroClientPlayFrame::ShowLogo()
{
    // The logo is the same icon with its own transparency, registered under a name the skin can use.
    TImageInfo* pLogo = CRenderEngine::LoadAlphaImageFromHICON(m_hSmallIcon);
    if (pLogo == NULL) return;
    if (m_PaintManager.AddImage(kLogoImageName, pLogo->hBmp, pLogo->nWidth, pLogo->nHeight, pLogo->bAlpha) == NULL) {
        CRenderEngine::FreeImage(pLogo);
        return;
    }
    // The bitmap now belongs to the image table; only the record goes.
    delete pLogo;
    CControlUI* pLogoControl = m_PaintManager.FindControl(L"logo");
    if (pLogoControl != NULL) pLogoControl->SetBkImage(kLogoImageName);
}

void CMircroClientPlayFrame::SyncMaximiseButtons()
{
    const bool bZoomed = ::IsZoomed(GetHWND()) != FALSE;
    if (m_pRestoreButton != NULL && m_pRestoreButton->IsVisible() != bZoomed) m_pRestoreButton->SetVisible(bZoomed);
    if (m_pMaxButton != NULL && m_pMaxButton->IsVisible() == bZoomed) m_pMaxButton->SetVisible(!bZoomed);
}

void CMircroClientPlayFrame::OnClick(TNotifyUI& msg)
{
    // The maximise and restore buttons trade places when the window's size changes (SyncMaximiseButtons).
    const CUIString sName = msg.pSender->GetName();
    if (sName == L"restorebtn") {
        ::ShowWindow(GetHWND(), SW_RESTORE);
    }
    else if (sName == L"maxbtn") {
        ::ShowWindow(GetHWND(), SW_MAXIMIZE);
    }
    else if (sName == L"kefubtn") {
        OpenCustomerService();
    }
    else if (sName == L"minbtn") {
        ::ShowWindow(GetHWND(), SW_MINIMIZE);
    }
    else if (sName == L"closebtn") {
        ConfirmExit();
    }
    else if (sName == L"refreshbtn") {
        if (m_pBrowser != NULL) m_pBrowser->Refresh2(REFRESH_COMPLETELY);
    }
}

void CMircroClientPlayFrame::OpenCustomerService()
{
    // Read anew each time: a distributor may restamp the file while the game runs.
    const CUIString sService = ReadLaunchTrailerPiece(1);
    if (sService.IsEmpty()) return;
    ::ShellExecuteW(NULL, L"open", sService, NULL, NULL, SW_SHOW);
}

void CMircroClientPlayFrame::ConfirmExit()
{
    if (m_bAsking) {
        BringToFront();
        return;
    }
    m_bAsking = true;
    const int nAnswer = ::MessageBoxW(GetHWND(), L"正在游戏是否退出？", L"提示", MB_YESNO | MB_ICONINFORMATION);
    m_bAsking = false;
    if (m_bGoneWhileAsking) {
        delete this;
        return;
    }
    if (nAnswer == IDYES && m_pLoginFrame != NULL) m_pLoginFrame->QuitLauncher();
}

void CMircroClientPlayFrame::ShowTrayMenu()
{
    HMENU hMenu = ::LoadMenuW(CPaintManagerUI::GetResourceDll(), MAKEINTRESOURCEW(kTrayMenuResourceId));
    if (hMenu == NULL) return;
    HMENU hPopup = ::GetSubMenu(hMenu, 0);
    POINT pt = {};
    ::GetCursorPos(&pt);
    // The menu closes on a click elsewhere only while this thread has the foreground; an open question
    // takes it, so that this window does not come above it.
    ::SetForegroundWindow(GetFrontWindow());
    if (hPopup != NULL) ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, GetHWND(), NULL);
    // Lets the menu finish its exit before the next one opens.
    ::PostMessageW(GetHWND(), WM_NULL, 0, 0);
    ::DestroyMenu(hMenu);
}

LRESULT CMircroClientPlayFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == kTrayCallbackMessage) {
        const UINT uMouse = static_cast<UINT>(lParam);
        if (uMouse == WM_LBUTTONDOWN || uMouse == WM_LBUTTONDBLCLK) BringToFront();
        else if (uMouse == WM_RBUTTONDOWN) ShowTrayMenu();
        return 1;
    }
    if (uMsg == CTrayIcon::GetTaskbarCreatedMessage() && uMsg != 0) {
        m_trayIcon.AddAgain();
        return 0;
    }
    LRESULT lRes = 0;
    if (m_maxButtonRoute.HandleMessage(uMsg, wParam, lParam, lRes)) return lRes;
    switch (uMsg) {
    case WM_COMMAND: {
        const UINT uCommand = LOWORD(wParam);
        if (uCommand == kCommandShowGame) BringToFront();
        else if (uCommand == kCommandQuitGame) ConfirmExit();
    } break;
    case WM_CLOSE:
        ConfirmExit();
        return 1;
    case WM_NCHITTEST:
        return m_maxButtonRoute.HitTest(lParam, CLauncherWindow::HandleMessage(uMsg, wParam, lParam));
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) SyncMaximiseButtons();
        break;
    default:
        break;
    }
    return CLauncherWindow::HandleMessage(uMsg, wParam, lParam);
}

void CMircroClientPlayFrame::NavigateComplete2(IDispatch* /*pDisp*/, VARIANT*& /*url*/, LPCWSTR /*pstrBrowserName*/)
{
    if (m_pBrowser == NULL || m_pBrowser->GetWebBrowser2() == NULL) return;
    IDispatch* pDocument = NULL;
    if (FAILED(m_pBrowser->GetWebBrowser2()->get_Document(&pDocument)) || pDocument == NULL) return;
    IHTMLDocument2* pHtmlDocument = NULL;
    pDocument->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<LPVOID*>(&pHtmlDocument));
    pDocument->Release();
    if (pHtmlDocument == NULL) return;
    BSTR bstrTitle = NULL;
    pHtmlDocument->get_title(&bstrTitle);
    pHtmlDocument->Release();
    const bool bHasTitle = bstrTitle != NULL && ::SysStringLen(bstrTitle) > 0;
    ::SysFreeString(bstrTitle);
    if (!bHasTitle) return;
    CControlUI* pTitle = m_PaintManager.FindControl(L"titelLabel");
    if (pTitle != NULL) pTitle->SetText(kGameDisplayName);
}
