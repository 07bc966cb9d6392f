// CMaxButtonRoute: the maximise hit-test code over the skinned button, and its mouse messages handed back to it.
#include "veneer/core/UISetup.h"
#include "app/MaxButtonRoute.h"

using namespace Veneer;

CMaxButtonRoute::CMaxButtonRoute() : m_pManager(NULL), m_pMaxButton(NULL), m_pRestoreButton(NULL)
{
}

void CMaxButtonRoute::Attach(CPaintManagerUI* pManager, CControlUI* pMaxButton, CControlUI* pRestoreButton)
{
    m_pManager = pManager;
    m_pMaxButton = pMaxButton;
    m_pRestoreButton = pRestoreButton;
}

bool CMaxButtonRoute::IsOverButton(POINT ptScreen) const
{
    if (m_pManager == NULL || m_pManager->GetPaintWindow() == NULL) return false;
    POINT pt = ptScreen;
    ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
    CControlUI* pControl = m_pManager->FindControl(pt);
    if (pControl == NULL || !pControl->IsEnabled()) return false;
    return pControl == m_pMaxButton || pControl == m_pRestoreButton;
}

bool CMaxButtonRoute::IsCursorOverButton() const
{
    POINT pt = {};
    return ::GetCursorPos(&pt) && IsOverButton(pt);
}

LRESULT CMaxButtonRoute::HitTest(LPARAM lScreenPoint, LRESULT lCode) const
{
    // The size box and the caption keep their codes; only what would be client area becomes the button.
    if (lCode != HTCLIENT) return lCode;
    POINT pt = {GET_X_LPARAM(lScreenPoint), GET_Y_LPARAM(lScreenPoint)};
    return IsOverButton(pt) ? HTMAXBUTTON : lCode;
}

void CMaxButtonRoute::Forward(UINT uMsg, WPARAM wParam, LPARAM lScreenPoint) const
{
    HWND hWnd = m_pManager->GetPaintWindow();
    POINT pt = {GET_X_LPARAM(lScreenPoint), GET_Y_LPARAM(lScreenPoint)};
    ::ScreenToClient(hWnd, &pt);
    ::SendMessageW(hWnd, uMsg, wParam, MAKELPARAM(pt.x, pt.y));
}

bool CMaxButtonRoute::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (m_pManager == NULL || m_pManager->GetPaintWindow() == NULL) return false;
    lRes = 0;
    switch (uMsg) {
    case WM_NCMOUSEMOVE: {
        if (wParam != HTMAXBUTTON) return false;
        // Non-client leave tracking tells when the pointer goes off the button again.
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
        tme.hwndTrack = m_pManager->GetPaintWindow();
        ::TrackMouseEvent(&tme);
        Forward(WM_MOUSEMOVE, 0, lParam);
        return true;
    }
    // The system's own handling would track a classic caption button in a modal loop of its own.
    case WM_NCLBUTTONDOWN:
        if (wParam != HTMAXBUTTON) return false;
        Forward(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
        return true;
    case WM_NCLBUTTONDBLCLK:
        if (wParam != HTMAXBUTTON) return false;
        Forward(WM_LBUTTONDBLCLK, MK_LBUTTON, lParam);
        return true;
    case WM_NCLBUTTONUP:
        if (wParam != HTMAXBUTTON) return false;
        Forward(WM_LBUTTONUP, 0, lParam);
        return true;
    case WM_MOUSELEAVE:
        // The pointer went from the client area onto the button: for the paint manager it is still in,
        // and it keeps the button hot.
        return IsCursorOverButton();
    case WM_NCMOUSELEAVE:
        // Off the button: the paint manager drops the hot state and tracks the client area afresh.
        if (!IsCursorOverButton()) ::SendMessageW(m_pManager->GetPaintWindow(), WM_MOUSELEAVE, 0, 0);
        return true;
    default:
        return false;
    }
}
