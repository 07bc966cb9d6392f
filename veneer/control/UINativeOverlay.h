// CNativeOverlayUI and CNativeOverlayWnd: the rules shared by the controls that work through a native
// window placed over them while they have the focus (the edit field and the date picker).
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UILabel.h"
#include "veneer/window/UIManager.h"
#include "veneer/window/UIWindowWnd.h"

#include <new>

namespace Veneer {

// The native window: it closes when it loses the focus and, at its end, leaves its owner.
template <class TOwner>
class CNativeOverlayWnd : public CWindowWnd
{
public:
// Construction
    CNativeOverlayWnd() : m_pOwner(NULL), m_hBkBrush(NULL), m_bInit(false), m_bCloseOnFocusLoss(false) {}

// Attributes
    // Where the window lies over its owner, in the paint window's client pixels.
    virtual RECT CalPos() { return m_pOwner != NULL ? m_pOwner->GetPos() : RECT(); }

// Overridables
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        // Without an owner (it is being destroyed) the window only winds down.
        if (m_pOwner == NULL) return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
        if (uMsg == WM_KILLFOCUS) {
            const LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
            OnFocusLost();
            m_bCloseOnFocusLoss = true;
            PostMessage(WM_CLOSE);
            return lRes;
        }
        if (uMsg == WM_CLOSE && m_bCloseOnFocusLoss) {
            m_bCloseOnFocusLoss = false;
            // A click on the owner or a reopening takes the focus away and gives it straight back:
            // the close posted meanwhile is stale.
            if (::GetFocus() == m_hWnd) return 0;
        }
        return HandleOwnedMessage(uMsg, wParam, lParam);
    }

    void OnFinalMessage(HWND /*hWnd*/) override
    {
        if (m_pOwner != NULL) {
            m_pOwner->Invalidate();
            m_pOwner->m_pWindow = NULL;
        }
        if (m_hBkBrush != NULL) ::DeleteObject(m_hBkBrush);
        delete this;
    }

// Implementation
protected:
    template <class, class> friend class CNativeOverlayUI;

    // What the window hands its owner when the focus leaves, before it closes.
    virtual void OnFocusLost() {}
    // Every other message while the window has its owner.
    virtual LRESULT HandleOwnedMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }

    TOwner* m_pOwner;
    HBRUSH m_hBkBrush;
    bool m_bInit;
    // The pending close comes from a focus loss, which may have been undone since.
    bool m_bCloseOnFocusLoss;
};

// The control: a label that opens its native window when it takes the focus or is clicked, and
// takes the window down with it.
template <class TOwner, class TWindow>
class CNativeOverlayUI : public CLabelUI
{
public:
// Construction
    CNativeOverlayUI() : m_pWindow(NULL) {}
    ~CNativeOverlayUI() override
    {
        // The native window must not outlive its owner: it would write into freed memory.
        if (m_pWindow != NULL) {
            TWindow* pWindow = m_pWindow;
            m_pWindow = NULL;
            pWindow->m_pOwner = NULL;
            if (::IsWindow(pWindow->GetHWND())) ::DestroyWindow(pWindow->GetHWND());
            else delete pWindow;
        }
    }

// Attributes
    UINT GetControlFlags() const override
    {
        // A Tab stop that sets its own cursor while it can be used.
        if (!IsEnabled()) return 0;
        return UIFLAG_SETCURSOR | UIFLAG_TABSTOP;
    }

    // The native window while it is open, else null.
    HWND GetNativeWindow() const
    {
        return m_pWindow != NULL ? m_pWindow->GetHWND() : NULL;
    }

// Overridables
    // The open window follows the control (a new layout, another display scale).
    void SetPos(RECT rc) override
    {
        CLabelUI::SetPos(rc);
        if (m_pWindow == NULL || m_pWindow->GetHWND() == NULL) return;
        const RECT rcPos = m_pWindow->CalPos();
        ::SetWindowPos(m_pWindow->GetHWND(), NULL, rcPos.left, rcPos.top, rcPos.right - rcPos.left,
                       rcPos.bottom - rcPos.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }

// Implementation
protected:
    template <class> friend class CNativeOverlayWnd;

    // Creates the native window over the control unless it is open; true when one exists afterwards.
    bool OpenNativeWindow()
    {
        if (m_pWindow != NULL) return true;
        TWindow* pWindow = new (std::nothrow) TWindow;
        if (pWindow == NULL) return false;
        // Set before Init: the new window may already report to its owner while it opens.
        m_pWindow = pWindow;
        if (!pWindow->Init(static_cast<TOwner*>(this))) {
            // No window was made; one that got as far as its final message has deleted itself already.
            if (m_pWindow != NULL) {
                m_pWindow = NULL;
                delete pWindow;
            }
            return false;
        }
        return m_pWindow != NULL;
    }

    // The first event rules: the mouse, the cursor, the focus and the click. False for the events
    // left to the control.
    bool DoNativeEvent(TEventUI& event)
    {
        if (!IsMouseEnabled() && event.Type > EVENT_MOUSEBEGIN && event.Type < EVENT_MOUSEEND) {
            if (m_pParent != NULL) m_pParent->DoEvent(event);
            else CLabelUI::DoEvent(event);
            return true;
        }
        if (event.Type == EVENT_SETCURSOR && IsEnabled()) {
            ::SetCursor(::LoadCursorW(NULL, IDC_IBEAM));
            return true;
        }
        if (event.Type == EVENT_WINDOWSIZE) {
            if (m_pWindow != NULL && m_pManager != NULL) m_pManager->SetFocusNeeded(this);
        }
        if (event.Type == EVENT_SCROLLWHEEL) {
            if (m_pWindow != NULL) return true;
        }
        if (event.Type == EVENT_SETFOCUS && IsEnabled()) {
            // The focus flag drives the focused look and the click rule below.
            m_bFocused = true;
            if (m_pWindow != NULL) return true;
            OpenNativeWindow();
            Invalidate();
            return true;
        }
        if (event.Type == EVENT_KILLFOCUS && IsEnabled()) {
            m_bFocused = false;
            Invalidate();
            return true;
        }
        if (event.Type == EVENT_BUTTONDOWN || event.Type == EVENT_DBLCLICK || event.Type == EVENT_RBUTTONDOWN) {
            if (IsEnabled()) {
                if (m_pManager != NULL) m_pManager->ReleaseCapture();
                if (IsFocused() || m_pWindow != NULL) OnNativeClick(event);
            }
            return true;
        }
        return event.Type == EVENT_MOUSEMOVE || event.Type == EVENT_BUTTONUP || event.Type == EVENT_CONTEXTMENU;
    }

    // A click on the focused control or while its native window is open.
    virtual void OnNativeClick(const TEventUI& event) = 0;

    TWindow* m_pWindow;
};

} // namespace Veneer
