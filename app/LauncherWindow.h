// CLauncherWindow: what the launcher's three windows share, and ILoginFrame, the login frame as the others see it.
#pragma once

#include "veneer/Veneer.h"

// Class, caption style and resources of the launcher's windows.
extern const wchar_t kLauncherWindowClass[];
const DWORD kLoginFrameStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
const UINT kSkinArchiveResourceId = 101;
const UINT kAppIconResourceId = 103;

// The login frame lives for the whole run; the windows it leads to reach it only through this.
class ILoginFrame
{
public:
    // The play switch: the frame goes out of sight while the game is played.
    virtual void HideLoginFrame() = 0;
    // A confirmed quit: the frame closes, which ends the launcher.
    virtual void QuitLauncher() = 0;
    // The login web window is going away; the frame must not move it any more.
    virtual void ForgetLoginWebFrame() = 0;

protected:
    ~ILoginFrame() {}
};

class CLauncherWindow : public Veneer::WindowImplBase
{
public:
    // Construction
    // bKeysInert: Return, Space and Escape do nothing and no control takes the keyboard focus.
    explicit CLauncherWindow(bool bKeysInert);

    // Operations
    // Shows the window if hidden, restores it if minimised (a maximised window comes back maximised)
    // and brings it, or the question it has open, to the front.
    void BringToFront();

    // Attributes
    // The window that takes the activation: a question this window has open stays above it and keeps
    // the activation; otherwise the window itself.
    HWND GetFrontWindow() const;

    // Overridables
    LPCWSTR GetWindowClass() const override;
    void OnFinalMessage(HWND hWnd) override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

protected:
    Veneer::CUIString GetSkinDir() override;
    Veneer::UILIB_RESOURCETYPE GetResourceType() const override;
    UINT GetResourceID() const override;

private:
    bool m_bKeysInert;
};

// The message a second start sends the running launcher of the same client name, asking it to
// bring its visible window forward.
UINT GetBringForwardMessage(LPCWSTR pstrClientName);
// Asks the running launcher of pstrClientName (its login frame answers the message) to bring its
// visible window forward; true when one did.
bool BringRunningLauncherForward(LPCWSTR pstrClientName);
