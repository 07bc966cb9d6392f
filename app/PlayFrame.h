// CMircroClientPlayFrame: the resizable play window with its title buttons, game browser and tray icon.
#pragma once

#include "app/LauncherWindow.h"
#include "app/MaxButtonRoute.h"
#include "app/PageWindowHandler.h"
#include "app/TrayIcon.h"

// Commands of the tray menu.
const UINT kTrayMenuResourceId = 105;
const UINT kCommandShowGame = 40006;
const UINT kCommandQuitGame = 40007;
// The play window's client size once it is set up.
const int kPlayClientWidth = 1286;
const int kPlayClientHeight = 768;
// The least height of page the window keeps below its title bar.
const int kPlayMinPageHeight = 100;

class CMircroClientPlayFrame : public CLauncherWindow, public CPageWindowHandler
{
public:
// Construction
    CMircroClientPlayFrame();
    ~CMircroClientPlayFrame() override;

// Attributes
    void SetPlayAddress(LPCWSTR pstrAddress);
    LPCWSTR GetPlayAddress() const;
    // The frame that a confirmed quit closes.
    void SetLoginFrame(ILoginFrame* pFrame) { m_pLoginFrame = pFrame; }
    const CTrayIcon& GetTrayIcon() const { return m_trayIcon; }
    Veneer::CWebBrowserUI* GetBrowser() const { return m_pBrowser; }
    bool IsAskingToQuit() const { return m_bAsking; }

// Operations
    // Asks whether to quit; on yes the login frame is closed, which ends the launcher. While the
    // question is open a further request brings it to the front instead of asking again.
    void ConfirmExit();

// Overridables
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    void OnClick(Veneer::TNotifyUI& msg) override;
    void NavigateComplete2(IDispatch* pDisp, VARIANT*& url, LPCWSTR pstrBrowserName) override;

protected:
    Veneer::CUIString GetSkinXml() override;

// Implementation
    void ShowTrayMenu();
    void OpenCustomerService();
    // Shows the one of the maximise and restore buttons that fits the window's state.
    void SyncMaximiseButtons();
    void LimitTrackSize();
    void ShowLogo();

    ILoginFrame* m_pLoginFrame;
    Veneer::CWebBrowserUI* m_pBrowser;
    CTrayIcon m_trayIcon;
    HICON m_hSmallIcon;
    Veneer::CControlUI* m_pMaxButton;
    Veneer::CControlUI* m_pRestoreButton;
    CMaxButtonRoute m_maxButtonRoute;
    Veneer::CUIString m_sPlayAddress;
    bool m_bAsking;
    // The window was destroyed while the question was open: the object goes once the question returns.
    bool m_bGoneWhileAsking;
};
