// CMircroClientPlayFrame: set-up of the play window, its title buttons, tray icon and quit question.
#include "veneer/core/UISetup.h"
#include "app/PlayFrame.h"
#include "app/ClientConfig.h"
#include "app/LaunchTrailer.h"
#include "app/LoginFrame.h"

#include <algorithm>
#include <mshtml.h>
#include <shellapi.h>
#include <string>

using namespace Veneer;

namespace {

const wchar_t kLogoImageName[] = L"Logo.png";
// What the title shows once a game page has loaded: the game's name, not the page's title.
const wchar_t kGameDisplayName[] = L"Orvane";

} // namespace

CMircroClientPlayFrame::CMircroClientPlayFrame()
    : m_pBrowser(NULL), m_hSmallIcon(NULL), m_pMaxButton(NULL), m_pRestoreButton(NULL)
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

LPCWSTR CMircroClientPlayFrame::GetWindowClass() const
{
    return kLauncherWindowClass;
}

CUIString CMircroClientPlayFrame::GetSkinDir()
{
    return CUIString(L".\\");
}

CUIString CMircroClientPlayFrame::GetSkinXml()
{
    return CUIString(L"playGameWindow.xml");
}

UILIB_RESOURCETYPE CMircroClientPlayFrame::GetResourceType() const
{
    return UILIB_FROM_ZIPRESOURCE;
}

UINT CMircroClientPlayFrame::GetResourceID() const
{
    return kSkinArchiveResourceId;
}

void CMircroClientPlayFrame::OnFinalMessage(HWND /*hWnd*/)
{
    delete this;
}

LRESULT CMircroClientPlayFrame::ResponseDefaultKeyEvent(WPARAM /*wParam*/)
{
    return 0;
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

    // The client is 1286 x 768 skin units, as much of it as the monitor's work area can show.
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

    // The logo is the same icon, registered under a name the skin can use.
    TImageInfo* pLogo = CRenderEngine::LoadImageFromHICON(m_hSmallIcon);
    if (pLogo == NULL) return;
    if (m_PaintManager.AddImage(kLogoImageName, pLogo->hBmp, pLogo->nWidth, pLogo->nHeight, false) == NULL) {
        CRenderEngine::FreeImage(pLogo);
        return;
    }
    // The bitmap now belongs to the image table; only the record goes.
    delete pLogo;
    CControlUI* pLogoControl = m_PaintManager.FindControl(L"logo");
    if (pLogoControl != NULL) pLogoControl->SetBkImage(kLogoImageName);
}

void CMircroClientPlayFrame::OnClick(TNotifyUI& msg)
{
    const CUIString sName = msg.pSender->GetName();
    if (sName == L"restorebtn") {
        msg.pSender->SetVisible(false);
        if (m_pMaxButton != NULL) m_pMaxButton->SetVisible(true);
        ::ShowWindow(GetHWND(), SW_RESTORE);
    }
    else if (sName == L"maxbtn") {
        msg.pSender->SetVisible(false);
        if (m_pRestoreButton != NULL) m_pRestoreButton->SetVisible(true);
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
    std::wstring sService = ReadLaunchTrailerPiece(1);
    if (sService.empty()) return;
    ::ShellExecuteW(NULL, L"open", sService.c_str(), NULL, NULL, SW_SHOW);
}

void CMircroClientPlayFrame::ConfirmExit()
{
    if (::MessageBoxW(GetHWND(), L"正在游戏是否退出？", L"提示", MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
    CMicroClientLogin* pLogin = GetLoginFrame();
    if (pLogin != NULL) pLogin->Close(1);
}

void CMircroClientPlayFrame::ShowIfHidden()
{
    if (!::IsWindowVisible(GetHWND())) ::ShowWindow(GetHWND(), SW_SHOW);
}

void CMircroClientPlayFrame::ShowTrayMenu()
{
    HMENU hMenu = ::LoadMenuW(CPaintManagerUI::GetResourceDll(), MAKEINTRESOURCEW(kTrayMenuResourceId));
    if (hMenu == NULL) return;
    HMENU hPopup = ::GetSubMenu(hMenu, 0);
    POINT pt = {};
    ::GetCursorPos(&pt);
    // The menu closes when the user clicks elsewhere only while its owner is foreground.
    ::SetForegroundWindow(GetHWND());
    if (hPopup != NULL) ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, GetHWND(), NULL);
    ::DestroyMenu(hMenu);
}

LRESULT CMircroClientPlayFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == kTrayCallbackMessage) {
        const UINT uMouse = static_cast<UINT>(lParam);
        if (uMouse == WM_LBUTTONDOWN || uMouse == WM_LBUTTONDBLCLK) ShowIfHidden();
        else if (uMouse == WM_RBUTTONDOWN) ShowTrayMenu();
        return 1;
    }
    if (uMsg == WM_COMMAND) {
        const UINT uCommand = LOWORD(wParam);
        if (uCommand == kCommandShowGame) ShowIfHidden();
        else if (uCommand == kCommandQuitGame) ConfirmExit();
    }
    else if (uMsg == WM_CLOSE) {
        ConfirmExit();
        return 1;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
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
