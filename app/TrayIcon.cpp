// CTrayIcon: adds and removes the notification-area icon of the play window.
#include "app/TrayIcon.h"

CTrayIcon::CTrayIcon() : m_hWnd(NULL), m_hIcon(NULL)
{
    ::ZeroMemory(&m_data, sizeof(m_data));
}

CTrayIcon::~CTrayIcon()
{
    Remove();
}

bool CTrayIcon::Add(HWND hWndOwner, HICON hIcon, LPCWSTR pstrTooltip)
{
    m_hWnd = hWndOwner;
    m_hIcon = hIcon;
    m_data.cbSize = sizeof(NOTIFYICONDATAW);
    m_data.hWnd = hWndOwner;
    m_data.uID = 0;
    m_data.hIcon = hIcon;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON;
    m_data.uCallbackMessage = kTrayCallbackMessage;
    if (pstrTooltip != NULL) {
        m_data.uFlags |= NIF_TIP;
        ::lstrcpynW(m_data.szTip, pstrTooltip, static_cast<int>(lengthof(m_data.szTip)));
    }
    return ::Shell_NotifyIconW(NIM_ADD, &m_data) != FALSE;
}

bool CTrayIcon::AddAgain()
{
    if (m_hWnd == NULL) return false;
    return ::Shell_NotifyIconW(NIM_ADD, &m_data) != FALSE;
}

UINT CTrayIcon::GetTaskbarCreatedMessage()
{
    static const UINT s_uMessage = ::RegisterWindowMessageW(L"TaskbarCreated");
    return s_uMessage;
}

void CTrayIcon::Remove()
{
    if (m_hWnd == NULL) return;
    ::Shell_NotifyIconW(NIM_DELETE, &m_data);
    ::ZeroMemory(&m_data, sizeof(m_data));
    m_hWnd = NULL;
    m_hIcon = NULL;
}
