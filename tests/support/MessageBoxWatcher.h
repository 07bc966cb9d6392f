// CMessageBoxWatcher: answers the next message box of a thread from a helper thread, keeping its texts.
#pragma once

#include "veneer/core/UISetup.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class CMessageBoxWatcher
{
public:
// Construction
    // Watches the calling thread's windows; the box is answered with nCommand (IDOK, IDYES, IDNO...).
    explicit CMessageBoxWatcher(int nCommand = IDOK);
    // The same, running fnBeforeAnswer on the watching thread once the box shows and before it is answered.
    CMessageBoxWatcher(int nCommand, std::function<void(HWND hBox)> fnBeforeAnswer);
    ~CMessageBoxWatcher();
    CMessageBoxWatcher(const CMessageBoxWatcher&) = delete;
    CMessageBoxWatcher& operator=(const CMessageBoxWatcher&) = delete;

// Attributes
    bool Seen() const { return m_bSeen; }
    DWORD GetThreadId() const { return m_dwThread; }
    const std::wstring& Caption() const { return m_sCaption; }
    const std::wstring& Text() const { return m_sText; }

// Operations
    // The message boxes the watched thread shows now.
    static int CountDialogs(DWORD dwThread);

// Implementation
private:
    void Watch();
    static BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam);
    static BOOL CALLBACK CountDialog(HWND hWnd, LPARAM lParam);

    DWORD m_dwThread;
    int m_nCommand;
    std::function<void(HWND)> m_fnBeforeAnswer;
    std::atomic<bool> m_bStop;
    std::atomic<bool> m_bSeen;
    std::wstring m_sCaption;
    std::wstring m_sText;
    std::thread m_thread;
};
