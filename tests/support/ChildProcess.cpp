// Test helper: starting a program, finding its windows and boxes, and never leaving it behind.
#include "veneer/core/UISetup.h"
#include "support/ChildProcess.h"

std::wstring HostProgramPath(const char* pszBuiltPath)
{
    std::wstring path;
    const int cch = ::MultiByteToWideChar(CP_UTF8, 0, pszBuiltPath, -1, NULL, 0);
    if (cch > 1) {
        path.resize(static_cast<size_t>(cch) - 1);
        ::MultiByteToWideChar(CP_UTF8, 0, pszBuiltPath, -1, &path[0], cch);
    }
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t& ch : path) {
            if (ch == L'/') ch = L'\\';
        }
        path.insert(0, L"Z:");
    }
    return path;
}

CChildProcess::~CChildProcess()
{
    Kill();
    if (m_pi.hThread != NULL) ::CloseHandle(m_pi.hThread);
    if (m_pi.hProcess != NULL) ::CloseHandle(m_pi.hProcess);
}

bool CChildProcess::Start(const std::wstring& path, const std::wstring& arguments)
{
    if (m_pi.hProcess != NULL) return false;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    // The program's own folder is its working folder, as when it is started from the shell.
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
    if (!::CreateProcessW(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                          folder.empty() ? NULL : folder.c_str(), &si, &m_pi)) {
        m_pi = PROCESS_INFORMATION();
        return false;
    }
    return true;
}

bool CChildProcess::IsRunning() const
{
    return m_pi.hProcess != NULL && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool CChildProcess::WaitForExit(DWORD dwMillis, DWORD* pdwExitCode)
{
    if (m_pi.hProcess == NULL || ::WaitForSingleObject(m_pi.hProcess, dwMillis) != WAIT_OBJECT_0) return false;
    if (pdwExitCode != NULL) ::GetExitCodeProcess(m_pi.hProcess, pdwExitCode);
    return true;
}

bool CChildProcess::WaitForIdle(DWORD dwMillis)
{
    return m_pi.hProcess != NULL && ::WaitForInputIdle(m_pi.hProcess, dwMillis) == 0;
}

void CChildProcess::Kill()
{
    if (IsRunning()) {
        ::TerminateProcess(m_pi.hProcess, 0xDEAD);
        ::WaitForSingleObject(m_pi.hProcess, 5000);
    }
}

namespace {

struct TWindowSearch
{
    DWORD dwProcessId;
    LPCWSTR pstrClass;
    LPCWSTR pstrTitle;
    bool bVisibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    TWindowSearch* pSearch = reinterpret_cast<TWindowSearch*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != pSearch->dwProcessId) return TRUE;
    if (pSearch->bVisibleOnly && !::IsWindowVisible(hWnd)) return TRUE;
    wchar_t szText[256] = {};
    ::GetClassNameW(hWnd, szText, 256);
    if (wcscmp(szText, pSearch->pstrClass) != 0) return TRUE;
    if (pSearch->pstrTitle != NULL) {
        szText[0] = L'\0';
        ::GetWindowTextW(hWnd, szText, 256);
        if (wcscmp(szText, pSearch->pstrTitle) != 0) return TRUE;
    }
    pSearch->found.push_back(hWnd);
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND hWnd, LPARAM lParam)
{
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    if (_wcsicmp(szClass, L"Static") == 0) {
        wchar_t szText[512] = {};
        ::GetWindowTextW(hWnd, szText, 512);
        if (szText[0] != L'\0') reinterpret_cast<std::vector<std::wstring>*>(lParam)->push_back(szText);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> CChildProcess::Windows(LPCWSTR pstrClass, LPCWSTR pstrTitle, bool bVisibleOnly) const
{
    TWindowSearch search = {m_pi.dwProcessId, pstrClass, pstrTitle, bVisibleOnly, {}};
    if (m_pi.hProcess != NULL) ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND CChildProcess::WaitForWindow(LPCWSTR pstrClass, LPCWSTR pstrTitle, bool bVisibleOnly, DWORD dwMillis) const
{
    HWND hFound = NULL;
    WaitUntil(dwMillis, [&]() {
        std::vector<HWND> windows = Windows(pstrClass, pstrTitle, bVisibleOnly);
        if (!windows.empty()) hFound = windows.front();
        return hFound != NULL || !IsRunning();
    });
    return hFound;
}

TMessageBoxText ReadMessageBox(HWND hBox)
{
    TMessageBoxText box;
    wchar_t szCaption[256] = {};
    ::GetWindowTextW(hBox, szCaption, 256);
    box.sCaption = szCaption;
    ::EnumChildWindows(hBox, CollectStaticText, reinterpret_cast<LPARAM>(&box.texts));
    return box;
}

void DismissMessageBox(HWND hBox)
{
    AnswerMessageBox(hBox, IDOK);
}

void AnswerMessageBox(HWND hBox, int nCommand)
{
    HWND hButton = ::GetDlgItem(hBox, nCommand);
    ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(nCommand, BN_CLICKED), reinterpret_cast<LPARAM>(hButton));
}

void MouseClick(POINT pt, bool bRight, int nClicks)
{
    // Every event carries the point: under Wine a button event on its own may land where the display
    // last saw the pointer rather than where SetCursorPos put it. Absolute coordinates name a pixel in
    // 65536ths of the primary screen; a quarter pixel in keeps rounding on that pixel.
    const int cx = ::GetSystemMetrics(SM_CXSCREEN);
    const int cy = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((4LL * pt.x + 1) * 65536 / (4LL * cx));
    input.mi.dy = static_cast<LONG>((4LL * pt.y + 1) * 65536 / (4LL * cy));
    const DWORD dwButton[] = {static_cast<DWORD>(bRight ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                              static_cast<DWORD>(bRight ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
    ::Sleep(100);
    for (int i = 0; i < nClicks; ++i) {
        for (DWORD dwFlag : dwButton) {
            input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | dwFlag;
            ::SendInput(1, &input, sizeof(INPUT));
            // The clicks of a double click come well within the double-click time.
            ::Sleep(nClicks > 1 ? 30 : 100);
        }
    }
}

void KeyPress(WORD vk, WORD vkModifier)
{
    // Down in order, up in reverse; no modifier is a zero left out.
    const WORD keys[4] = {vkModifier, vk, vk, vkModifier};
    for (int i = 0; i < 4; ++i) {
        if (keys[i] == 0) continue;
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = keys[i];
        input.ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
        ::SendInput(1, &input, sizeof(INPUT));
        ::Sleep(30);
    }
}

bool BringToForeground(HWND hWnd)
{
    ::SetForegroundWindow(hWnd);
    return WaitUntil(2000, [&]() { return ::GetForegroundWindow() == hWnd; });
}

bool RaiseUnder(HWND hWnd, POINT pt)
{
    ::SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetForegroundWindow(hWnd);
    return WaitUntil(2000, [&]() { return ::WindowFromPoint(pt) == hWnd; });
}
