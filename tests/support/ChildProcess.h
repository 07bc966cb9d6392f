// Test helper: a program started from outside, its windows and message boxes, killed if left over.
#pragma once

#include "veneer/core/UISetup.h"

#include <string>
#include <vector>

// The path of a built program as this process must name it: a build-host path ("/...") is reached
// through the drive that maps the host's root.
std::wstring HostProgramPath(const char* pszBuiltPath);

class CChildProcess
{
public:
    // Construction
    CChildProcess() {}
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Operations
    // Starts the program in its own folder, with the arguments appended to its quoted name.
    bool Start(const std::wstring& path, const std::wstring& arguments = std::wstring());
    // Waits for the process to end; false on timeout. The exit code is stored when it ended.
    bool WaitForExit(DWORD dwMillis, DWORD* pdwExitCode = NULL);
    // Waits until the process's message loop first waits for input; false on timeout.
    bool WaitForIdle(DWORD dwMillis);
    // Ends the process if it still runs.
    void Kill();

    // Attributes
    bool IsRunning() const;
    DWORD GetId() const { return m_pi.dwProcessId; }
    HANDLE GetHandle() const { return m_pi.hProcess; }

    // The process's top-level windows of a class (and title, when given); visible ones only on request.
    std::vector<HWND> Windows(LPCWSTR pstrClass, LPCWSTR pstrTitle = NULL, bool bVisibleOnly = false) const;
    // Polls for the first such window; null on timeout or when the process ends first.
    HWND WaitForWindow(LPCWSTR pstrClass, LPCWSTR pstrTitle, bool bVisibleOnly, DWORD dwMillis) const;

private:
    PROCESS_INFORMATION m_pi = {};
};

// What a message box shows: its caption and the texts of its static controls.
struct TMessageBoxText
{
    std::wstring sCaption;
    std::vector<std::wstring> texts;
};
TMessageBoxText ReadMessageBox(HWND hBox);
// Presses the box's OK button.
void DismissMessageBox(HWND hBox);
// Presses one of the box's buttons (IDOK, IDYES, IDNO...).
void AnswerMessageBox(HWND hBox, int nCommand);

// A left click at a screen point through the system's input queue; with bRight the right button,
// with nClicks > 1 a double click.
void MouseClick(POINT pt, bool bRight = false, int nClicks = 1);
// A key press through the system's input queue, with a modifier key (VK_MENU...) held when not 0.
void KeyPress(WORD vk, WORD vkModifier = 0);
// Makes hWnd the foreground window; false if it does not become so.
bool BringToForeground(HWND hWnd);
// Makes hWnd the window under the screen point, or the mouse would act on another window; false if
// it does not become so.
bool RaiseUnder(HWND hWnd, POINT pt);

// Polls a condition every few milliseconds until it holds or the time is up.
template <typename TCondition>
bool WaitUntil(DWORD dwMillis, TCondition condition)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount() - dwStart >= dwMillis) return false;
        ::Sleep(20);
    }
}
