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
    // Watches the calling thread's windows; the box is answered with nCommand (IDOK, IDYES, IDNO...),
    // after fnBeforeAnswer, when given, has run on the watching thread.
    explicit CMessageBoxWatcher(int nCommand = IDOK, std::function<void(HWND hBox)> fnBeforeAnswer = nullptr);
    ~CMessageBoxWatcher();
    CMessageBoxWatcher(const CMessageBoxWatcher&) = delete;
    CMessageBoxWatcher& operator=(const CMessageBoxWatcher&) = delete;

// Attributes
    bool Seen() const { return m_bSeen; }
    const std::wstring& Caption() const { return m_sCaption; }
    const std::wstring& Text() const { return m_sText; }

// Implementation
private:
    void Watch();
    static BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam);

    DWORD m_dwThread;
    int m_nCommand;
    std::function<void(HWND)> m_fnBeforeAnswer;
    std::atomic<bool> m_bStop;
    std::atomic<bool> m_bSeen;
    std::wstring m_sCaption;
    std::wstring m_sText;
    std::thread m_thread;
};
