// CMircroClientWebFrame: layered borderless window glued to the login frame at a configured offset.
#include "veneer/core/UISetup.h"
#include "app/LoginWebFrame.h"
#include "app/LoginFrame.h"

using namespace Veneer;

CMircroClientWebFrame::CMircroClientWebFrame()
    : m_pOwnerFrame(NULL), m_nOffsetX(0), m_nOffsetY(0), m_nHeight(0), m_nWidth(0)
{
}

CMircroClientWebFrame::~CMircroClientWebFrame()
{
}

LPCWSTR CMircroClientWebFrame::GetWindowClass() const
{
    return kLauncherWindowClass;
}

CUIString CMircroClientWebFrame::GetSkinDir()
{
    return CUIString(L".\\");
}

CUIString CMircroClientWebFrame::GetSkinXml()
{
    return CUIString(L"loginWebWnd.xml");
}

UILIB_RESOURCETYPE CMircroClientWebFrame::GetResourceType() const
{
    return UILIB_FROM_ZIPRESOURCE;
}

UINT CMircroClientWebFrame::GetResourceID() const
{
    return kSkinArchiveResourceId;
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

void CMircroClientWebFrame::OnFinalMessage(HWND /*hWnd*/)
{
    // Escape closes this window alone; the frame must not move a window that is gone.
    if (m_pOwnerFrame != NULL) {
        m_pOwnerFrame->ForgetLoginWebFrame(this);
    }
    delete this;
}

LRESULT CMircroClientWebFrame::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    WindowImplBase::OnCreate(uMsg, wParam, lParam, bHandled);
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
    // The login page needs the browser control, which this build does not have yet: without a
    // "WebBrowser" control in the tree there is nothing to set up.
    if (m_PaintManager.FindControl(L"WebBrowser") == NULL) {
        return;
    }
}

void CMircroClientWebFrame::MoveWithFrame(int left, int top, int right, int bottom)
{
    int x = left;
    int y = top;
    if (m_nOffsetX != 0 || m_nOffsetY != 0) {
        x = left + m_nOffsetX;
        y = top + m_nOffsetY;
    } else {
        m_nOffsetX = left;
        m_nOffsetY = top;
        m_nWidth = right - left;
        m_nHeight = bottom - top;
    }
    ::SetWindowPos(GetHWND(), NULL, x, y, m_nWidth, m_nHeight, SWP_SHOWWINDOW);
}
