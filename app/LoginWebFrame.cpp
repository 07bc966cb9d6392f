// CMircroClientWebFrame: layered borderless window glued to the login frame at a configured offset.
#include "veneer/core/UISetup.h"
#include "app/LoginWebFrame.h"
#include "app/PlayFrame.h"
#include "app/ClientConfig.h"
#include "app/LaunchTrailer.h"


using namespace Veneer;

CMircroClientWebFrame::CMircroClientWebFrame()
    : CLauncherWindow(false), m_pLoginFrame(NULL), m_pPlayFrame(NULL), m_nOffsetX(0), m_nOffsetY(0), m_nHeight(0), m_nWidth(0)
{
}

CMircroClientWebFrame::~CMircroClientWebFrame()
{
    // Destroying the play window's native window deletes the play window object.
    if (m_pPlayFrame != NULL && ::IsWindow(m_pPlayFrame->GetHWND())) ::DestroyWindow(m_pPlayFrame->GetHWND());
    m_pPlayFrame = NULL;
}

CUIString CMircroClientWebFrame::GetSkinXml()
{
    return CUIString(L"loginWebWnd.xml");
}

POINT CMircroClientWebFrame::GetOffset() const
{
    POINT pt = {m_nOffsetX, m_nOffsetY};
    return pt;
}

SIZE CMircroClientWebFrame::GetSize() const
{
    SIZE sz = {m_nWidth, m_nHeight};
    return sz;
}

void CMircroClientWebFrame::OnFinalMessage(HWND hWnd)
{
    // Escape closes this window alone; the frame must not move a window that is gone.
    if (m_pLoginFrame != NULL) m_pLoginFrame->ForgetLoginWebFrame();
    CLauncherWindow::OnFinalMessage(hWnd);
}

LRESULT CMircroClientWebFrame::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    CLauncherWindow::OnCreate(uMsg, wParam, lParam, bHandled);
    LONG style = ::GetWindowLongW(GetHWND(), GWL_STYLE);
    style &= ~(WS_CAPTION | WS_CLIPCHILDREN);
    style |= WS_CLIPSIBLINGS | WS_POPUP;
    ::SetWindowLongW(GetHWND(), GWL_STYLE, style);

    // No taskbar button, no dialog frame; pure green pixels are see-through.
    LONG exStyle = ::GetWindowLongW(GetHWND(), GWL_EXSTYLE);
    exStyle &= ~(WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME | 0x00CF0000L);
    exStyle |= WS_EX_LAYERED;
    ::SetWindowLongW(GetHWND(), GWL_EXSTYLE, exStyle);
    ::SetLayeredWindowAttributes(GetHWND(), RGB(0, 255, 0), 0, LWA_COLORKEY);
    return 0;
}

void CMircroClientWebFrame::InitWindow()
{
    CWebBrowserUI* pBrowser = static_cast<CWebBrowserUI*>(m_PaintManager.FindControl(L"WebBrowser"));
    if (pBrowser == NULL) return;

    // Without a game address the window stays empty and never switches to play.
    const CUIString sGameAddress = ReadLaunchTrailerPiece(0);
    if (sGameAddress.IsEmpty()) return;
    pBrowser->SetHomePage(sGameAddress);
    pBrowser->SetWebBrowserEventHandler(this);
    if (!pBrowser->IsVisible()) pBrowser->SetVisible(true);
}

void CMircroClientWebFrame::BeforeNavigate2(IDispatch* /*pDisp*/, VARIANT*& url, VARIANT*& /*Flags*/,
                                            VARIANT*& /*TargetFrameName*/, VARIANT*& /*PostData*/,
                                            VARIANT*& /*Headers*/, VARIANT_BOOL*& Cancel)
{
    if (url == NULL || url->vt != VT_BSTR || !HoldsPlayKeyword(url->bstrVal)) return;
    if (Cancel != NULL) *Cancel = VARIANT_TRUE;
    SwitchToPlay(url->bstrVal);
}

void CMircroClientWebFrame::NewWindow3(IDispatch** pDisp, VARIANT_BOOL*& Cancel, DWORD dwFlags, BSTR bstrUrlContext,
                                       BSTR bstrUrl)
{
    // A login page may open the game in a window of its own: that is the switch to play as well.
    if (!HoldsPlayKeyword(bstrUrl)) {
        CPageWindowHandler::NewWindow3(pDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl);
        return;
    }
    if (Cancel != NULL) *Cancel = VARIANT_TRUE;
    SwitchToPlay(bstrUrl);
}

bool CMircroClientWebFrame::HoldsPlayKeyword(LPCWSTR pstrAddress) const
{
    const CUIString& sKeyword = GetClientConfig().m_sPlayGameKeyWord;
    // An empty keyword would match every address, including the login page itself.
    return pstrAddress != NULL && !sKeyword.IsEmpty() && CUIString(pstrAddress).Find(sKeyword) >= 0;
}

void CMircroClientWebFrame::SwitchToPlay(LPCWSTR pstrAddress)
{
    if (m_pPlayFrame == NULL) {
        m_pPlayFrame = new (std::nothrow) CMircroClientPlayFrame();
        if (m_pPlayFrame == NULL) return;
        // Text ahead of an embedded "http://" address is dropped.
        CUIString sAddress = pstrAddress;
        const int nHttp = sAddress.Find(L"http://");
        if (nHttp > 0) sAddress = sAddress.Mid(nHttp);
        m_pPlayFrame->SetPlayAddress(sAddress);
        m_pPlayFrame->SetLoginFrame(m_pLoginFrame);
        m_pPlayFrame->Create(NULL, kLauncherWindowClass, WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, 0);
        m_pPlayFrame->CenterWindow();
    }
    if (m_pLoginFrame != NULL) m_pLoginFrame->HideLoginFrame();
    ShowWindow(false);
    ::SendMessageW(m_pPlayFrame->GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void CMircroClientWebFrame::MoveWithFrame(int left, int top, int right, int bottom)
{
    if (m_nOffsetX == 0 && m_nOffsetY == 0) {
        m_nOffsetX = left;
        m_nOffsetY = top;
        m_nWidth = right - left;
        m_nHeight = bottom - top;
        ::SetWindowPos(GetHWND(), NULL, left, top, m_nWidth, m_nHeight, SWP_SHOWWINDOW);
        return;
    }
    // The offset and size are the frame's skin units: at the frame's display scale the window stays
    // over the same part of its picture.
    const HWND hFrame = ::GetWindow(GetHWND(), GW_OWNER);
    const int nDpi = hFrame != NULL ? CPaintManagerUI::GetWindowDPI(hFrame) : m_PaintManager.GetDPI();
    ::SetWindowPos(GetHWND(), NULL, left + DpiScale(m_nOffsetX, nDpi), top + DpiScale(m_nOffsetY, nDpi),
                   DpiScale(m_nWidth, nDpi), DpiScale(m_nHeight, nDpi), SWP_SHOWWINDOW);
}

LRESULT CMircroClientWebFrame::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    const HWND hFrame = ::GetWindow(GetHWND(), GW_OWNER);
    if (uMsg != WM_DPICHANGED || hFrame == NULL) {
        return WindowImplBase::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    }
    // The window takes the new DPI but not the place the system suggests: it stays glued to the frame.
    LRESULT lRes = 0;
    m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes);
    RECT rcFrame = {};
    ::GetWindowRect(hFrame, &rcFrame);
    MoveWithFrame(rcFrame.left, rcFrame.top, rcFrame.right, rcFrame.bottom);
    bHandled = TRUE;
    return 0;
}
