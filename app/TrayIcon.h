// CTrayIcon: the launcher's one notification-area icon, with its callback message.
#pragma once

#include "veneer/core/UISetup.h"
#include <shellapi.h>

// The message the icon sends its owner; lParam is the mouse message on the icon.
const UINT kTrayCallbackMessage = WM_USER + 1;

class CTrayIcon
{
public:
// Construction
    CTrayIcon();
    ~CTrayIcon();

// Attributes
    HWND GetOwner() const { return m_hWnd; }
    const NOTIFYICONDATAW& GetData() const { return m_data; }

// Operations
    // Shows the icon; a tooltip longer than the field's 127 characters is cut.
    bool Add(HWND hWndOwner, HICON hIcon, LPCWSTR pstrTooltip);
    // Shows the icon again after the notification area was made anew (Explorer restarted); false when
    // none was added.
    bool AddAgain();
    // Takes the icon away; harmless when none is shown.
    void Remove();

    // The message Explorer broadcasts when it has made the notification area anew; 0 when unknown.
    static UINT GetTaskbarCreatedMessage();

private:
    HWND m_hWnd;
    HICON m_hIcon;
    NOTIFYICONDATAW m_data;

    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;
};
