// CMircroClientPlayFrame: the resizable play window with its title buttons, game browser and tray icon.
#pragma once

#include "veneer/Veneer.h"
#include "app/PageWindowHandler.h"
#include "app/TrayIcon.h"

// Commands of the tray menu.
const UINT kTrayMenuResourceId = 105;
const UINT kCommandShowGame = 40006;
const UINT kCommandQuitGame = 40007;
// The play window's client size once it is set up.
const int kPlayClientWidth = 1286;
const int kPlayClientHeight = 768;

class CMircroClientPlayFrame : public Veneer::WindowImplBase, public CPageWindowHandler
{
public:
// Construction
    CMircroClientPlayFrame();
    ~CMircroClientPlayFrame() override;

// Attributes
    void SetPlayAddress(LPCWSTR pstrAddress);
    LPCWSTR GetPlayAddress() const;
    const CTrayIcon& GetTrayIcon() const { return m_trayIcon; }
    Veneer::CWebBrowserUI* GetBrowser() const { return m_pBrowser; }

// Operations
    // Asks whether to quit; on yes the login frame is closed, which ends the launcher.
    void ConfirmExit();

// Overridables
    LPCWSTR GetWindowClass() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;
    void InitWindow() override;
    void OnClick(Veneer::TNotifyUI& msg) override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    void NavigateComplete2(IDispatch* pDisp, VARIANT*& url, LPCWSTR pstrBrowserName) override;

protected:
    Veneer::CUIString GetSkinDir() override;
    Veneer::CUIString GetSkinXml() override;
    Veneer::UILIB_RESOURCETYPE GetResourceType() const override;
    UINT GetResourceID() const override;

// Implementation
    void ShowIfHidden();
    void ShowTrayMenu();
    void OpenCustomerService();

    Veneer::CWebBrowserUI* m_pBrowser;
    CTrayIcon m_trayIcon;
    HICON m_hSmallIcon;
    Veneer::CControlUI* m_pMaxButton;
    Veneer::CControlUI* m_pRestoreButton;
    Veneer::CUIString m_sPlayAddress;
};
