// CMessageBoxWatcher: polls the watched thread's windows for a dialog and answers it.
#include "support/MessageBoxWatcher.h"

CMessageBoxWatcher::CMessageBoxWatcher(int nCommand, std::function<void(HWND hBox)> fnBeforeAnswer)
    : m_dwThread(::GetCurrentThreadId()), m_nCommand(nCommand), m_fnBeforeAnswer(fnBeforeAnswer), m_bStop(false),
      m_bSeen(false)
{
    m_thread = std::thread([this] { Watch(); });
}

CMessageBoxWatcher::~CMessageBoxWatcher()
{
    m_bStop = true;
    m_thread.join();
}

void CMessageBoxWatcher::Watch()
{
    // About ten seconds at most: a box that never comes must not hold the test.
    for (int i = 0; i < 1000 && !m_bStop; ++i) {
        HWND hDialog = NULL;
        ::EnumThreadWindows(m_dwThread, FindDialog, reinterpret_cast<LPARAM>(&hDialog));
        if (hDialog != NULL && ::IsWindowVisible(hDialog)) {
            wchar_t szText[1024] = {};
            ::GetWindowTextW(hDialog, szText, lengthof(szText));
            m_sCaption = szText;
            szText[0] = L'\0';
            ::GetDlgItemTextW(hDialog, 0xFFFF, szText, lengthof(szText));
            m_sText = szText;
            m_bSeen = true;
            if (m_fnBeforeAnswer) m_fnBeforeAnswer(hDialog);
            ::PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(m_nCommand, BN_CLICKED), 0);
            return;
        }
        ::Sleep(10);
    }
}

BOOL CALLBACK CMessageBoxWatcher::FindDialog(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, lengthof(szClass));
    if (::wcscmp(szClass, L"#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

