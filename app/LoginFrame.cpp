// CMicroClientLogin: skin, size and button placement of the login frame, and the web window it carries.
#include "veneer/core/UISetup.h"
#include "app/LoginFrame.h"
#include "app/ClientConfig.h"
#include "app/LoginWebFrame.h"
#include "app/PlayFrame.h"

using namespace Veneer;

namespace {

// Pins a control at a configured rectangle of the frame.
void PlaceControl(CControlUI* pControl, const RECT& rc)
{
    if (pControl == NULL) {
        return;
    }
    if (!pControl->IsFloat()) {
        pControl->SetFloat(true);
    }
    SIZE szXY = {rc.left, rc.top};
    pControl->SetFixedXY(szXY);
    pControl->SetFixedWidth(rc.right - rc.left);
    pControl->SetFixedHeight(rc.bottom - rc.top);
}

} // namespace

CMicroClientLogin* GetLoginFrame()
{
    static CMicroClientLogin* s_pLoginFrame = NULL;
    if (s_pLoginFrame == NULL) {
        s_pLoginFrame = new (std::nothrow) CMicroClientLogin();
    }
    return s_pLoginFrame;
}

CMicroClientLogin::CMicroClientLogin()
    : CLauncherWindow(true), m_pLoginWebFrame(NULL), m_bWebFrameMade(false), m_uBringForwardMessage(0)
{
}

void CMicroClientLogin::HideLoginFrame()
{
    ShowWindow(false);
}

void CMicroClientLogin::QuitLauncher()
{
    Close(1);
}

void CMicroClientLogin::ForgetLoginWebFrame()
{
    m_pLoginWebFrame = NULL;
}

CUIString CMicroClientLogin::GetSkinXml()
{
    return CUIString(L"login.xml");
}

LRESULT CMicroClientLogin::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    ::PostQuitMessage(0);
    bHandled = FALSE;
    return 0;
}

void CMicroClientLogin::InitWindow()
{
    const CMicroClientConfig& config = GetClientConfig();
    SetIcon(kAppIconResourceId);
    // The configured sizes and rectangles are skin units, scaled to the frame's display.
    const SIZE szFrame = m_PaintManager.ScaleSize(config.m_szLoginFrame);
    ResizeClient(szFrame.cx, szFrame.cy);
    m_uBringForwardMessage = GetBringForwardMessage(config.m_sClientName);

    // The caption reaches down the whole picture: the frame is dragged from anywhere but its buttons.
    RECT rcCaption = {0, 0, 0, config.m_szLoginFrame.cx};
    m_PaintManager.SetCaptionRect(rcCaption);

    PlaceControl(m_PaintManager.FindControl(L"minbtn"), config.m_rcMini);
    PlaceControl(m_PaintManager.FindControl(L"closebtn"), config.m_rcClose);
}

void CMicroClientLogin::CreateLoginWebFrame()
{
    m_bWebFrameMade = true;
    m_pLoginWebFrame = new (std::nothrow) CMircroClientWebFrame();
    if (m_pLoginWebFrame == NULL) {
        return;
    }
    const RECT& rcWeb = GetClientConfig().m_rcLoginWeb;
    const bool bFrameActive = ::GetActiveWindow() == GetHWND();
    m_pLoginWebFrame->SetLoginFrame(this);
    m_pLoginWebFrame->MoveWithFrame(rcWeb.left, rcWeb.top, rcWeb.right, rcWeb.bottom);
    // Made hidden: the frame has already been placed, and the web window is first seen where it joins it
    // (made visible, it was shown for a moment with no size at the screen's corner).
    m_pLoginWebFrame->Create(GetHWND(), L"ZellWindow", kLoginFrameStyle & ~WS_VISIBLE, 0, 0, 0, 0, 0);
    FollowFrame();
    m_pLoginWebFrame->ShowWindow(true, true);
    // Made before the frame was shown, the web window used to hand the activation back to it.
    if (bFrameActive) {
        ::SetActiveWindow(GetHWND());
    }
}

void CMicroClientLogin::FollowFrame()
{
    if (m_pLoginWebFrame == NULL) {
        return;
    }
    RECT rcFrame = {};
    ::GetWindowRect(GetHWND(), &rcFrame);
    m_pLoginWebFrame->MoveWithFrame(rcFrame.left, rcFrame.top, rcFrame.right, rcFrame.bottom);
}

void CMicroClientLogin::BringVisibleWindowForward()
{
    CMircroClientPlayFrame* pPlay = m_pLoginWebFrame != NULL ? m_pLoginWebFrame->GetPlayFrame() : NULL;
    if (pPlay != NULL && ::IsWindow(pPlay->GetHWND())) pPlay->BringToFront();
    else BringToFront();
}

LRESULT CMicroClientLogin::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == m_uBringForwardMessage && uMsg != 0) {
        BringVisibleWindowForward();
        return 1;
    }
    if (uMsg == WM_SIZE || uMsg == WM_MOVE) {
        FollowFrame();
    }
    const LRESULT lRes = CLauncherWindow::HandleMessage(uMsg, wParam, lParam);
    // The web window and its browser are made once the frame has shown its first picture, so the
    // picture does not wait for them.
    if (uMsg == WM_PAINT && !m_bWebFrameMade && ::IsWindow(GetHWND())) {
        CreateLoginWebFrame();
    }
    return lRes;
}

void CMicroClientLogin::OnClick(TNotifyUI& msg)
{
    if (msg.pSender == NULL) {
        return;
    }
    if (msg.pSender->GetName() == L"minbtn") {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (msg.pSender->GetName() == L"closebtn") {
        Close(1);
    }
}
