// Start-up benchmark: time from process creation until the login frame shows its picture on screen,
// beside a bare program that shows the same picture in one layered window, and the launcher's memory.
//   bench_startup [RUNS]
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "app/ClientConfig.h"

#include <psapi.h>
#include <stb_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

// A program path given at build time; a build-host path ("/...") is reached through the Z: drive.
std::wstring HostPath(const char* pszBuiltPath)
{
    std::wstring path(pszBuiltPath, pszBuiltPath + strlen(pszBuiltPath));
    if (!path.empty() && path[0] == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path.insert(0, L"Z:");
    }
    return path;
}

double Millis(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

// A place on the picture and the colour it must show once painted.
struct TSample
{
    int x;
    int y;
    COLORREF colour;
};

// Opaque, unmasked pixels of the picture outside the rectangles other windows or controls cover.
std::vector<TSample> PickSamples(LPCWSTR pngPath, const std::vector<RECT>& covered, SIZE* pSize)
{
    std::vector<TSample> samples;
    HANDLE hFile = ::CreateFileW(pngPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return samples;
    std::vector<unsigned char> bytes(::GetFileSize(hFile, NULL));
    DWORD dwRead = 0;
    const BOOL bRead = ::ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &dwRead, NULL);
    ::CloseHandle(hFile);
    if (!bRead || dwRead != bytes.size() || bytes.empty()) return samples;
    int cx = 0, cy = 0, channels = 0;
    unsigned char* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &cx, &cy, &channels, 4);
    if (rgba == NULL) return samples;
    pSize->cx = cx;
    pSize->cy = cy;
    for (int gy = 1; gy < 12; ++gy) {
        for (int gx = 1; gx < 12; ++gx) {
            POINT pt = {cx * gx / 12, cy * gy / 12};
            bool bCovered = false;
            for (const RECT& rc : covered) bCovered = bCovered || ::PtInRect(&rc, pt);
            const unsigned char* p = rgba + (static_cast<size_t>(pt.y) * cx + pt.x) * 4;
            const bool bMasked = p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF;
            if (bCovered || bMasked || p[3] != 0xFF) continue;
            samples.push_back({pt.x, pt.y, RGB(p[0], p[1], p[2])});
        }
    }
    stbi_image_free(rgba);
    return samples;
}

bool Near(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= 8 && std::abs(GetGValue(a) - GetGValue(b)) <= 8 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 8;
}

bool ShowsSamples(HWND hWnd, const std::vector<TSample>& samples)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    HDC hdc = ::GetDC(NULL);
    bool bAll = true;
    for (const TSample& s : samples) {
        if (!Near(::GetPixel(hdc, rc.left + s.x, rc.top + s.y), s.colour)) {
            bAll = false;
            break;
        }
    }
    ::ReleaseDC(NULL, hdc);
    return bAll;
}

struct TFindWindow
{
    DWORD dwProcessId;
    LPCWSTR pstrClass;
    LPCWSTR pstrTitle;
    HWND hFound;
};

BOOL CALLBACK FindVisibleWindow(HWND hWnd, LPARAM lParam)
{
    TFindWindow* pFind = reinterpret_cast<TFindWindow*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    wchar_t szClass[128] = {}, szTitle[128] = {};
    ::GetClassNameW(hWnd, szClass, 128);
    ::GetWindowTextW(hWnd, szTitle, 128);
    if (dwProcessId == pFind->dwProcessId && ::IsWindowVisible(hWnd) && wcscmp(szClass, pFind->pstrClass) == 0 &&
        wcscmp(szTitle, pFind->pstrTitle) == 0) {
        pFind->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

struct TRun
{
    bool bOk = false;
    double visibleMs = 0;
    double paintedMs = 0;
    SIZE_T workingSet = 0;
    SIZE_T privateBytes = 0;
};

// Starts a program, waits until its window is visible and shows the samples, reads its memory, closes it.
TRun RunOnce(const std::wstring& program, const std::wstring& args, LPCWSTR pstrClass, LPCWSTR pstrTitle,
             const std::vector<TSample>& samples)
{
    TRun run;
    std::wstring commandLine = L"\"" + program + L"\"" + (args.empty() ? L"" : L" \"" + args + L"\"");
    std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER start, now;
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &si, &pi)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.c_str(), ::GetLastError());
        return run;
    }
    TFindWindow find = {pi.dwProcessId, pstrClass, pstrTitle, NULL};
    const DWORD dwDeadline = ::GetTickCount() + 30000;
    while (::GetTickCount() < dwDeadline && ::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        if (find.hFound == NULL) {
            ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&find));
            if (find.hFound != NULL) {
                ::QueryPerformanceCounter(&now);
                run.visibleMs = Millis(start, now);
            }
        }
        if (find.hFound != NULL && ShowsSamples(find.hFound, samples)) {
            ::QueryPerformanceCounter(&now);
            run.paintedMs = Millis(start, now);
            run.bOk = true;
            break;
        }
        ::Sleep(1);
    }
    if (run.bOk) {
        // Memory once start-up work that follows the first paint has settled.
        ::Sleep(500);
        PROCESS_MEMORY_COUNTERS_EX pmc = {};
        pmc.cb = sizeof(pmc);
        if (::GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc))) {
            run.workingSet = pmc.WorkingSetSize;
            // Some systems leave PrivateUsage at 0 for other processes; the commit charge is the same figure.
            run.privateBytes = pmc.PrivateUsage != 0 ? pmc.PrivateUsage : pmc.PagefileUsage;
        }
    } else {
        std::fwprintf(stderr, L"%ls: %ls\n", program.c_str(),
                      find.hFound == NULL ? L"no window appeared" : L"the picture never appeared on screen");
    }
    if (find.hFound != NULL) ::PostMessageW(find.hFound, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(pi.hProcess, 1);
        ::WaitForSingleObject(pi.hProcess, 5000);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return run;
}

void Report(LPCWSTR pstrName, std::vector<double> values)
{
    if (values.empty()) return;
    std::sort(values.begin(), values.end());
    std::wprintf(L"  %-34ls min %8.1f  median %8.1f  max %8.1f ms\n", pstrName, values.front(),
                 values[values.size() / 2], values.back());
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::wstring launcher = HostPath(MICROCLIENT_EXE);
    const std::wstring bare = HostPath(BARE_WINDOW_EXE);
    const std::wstring picture = HostPath(LOGIN_BACKGROUND_PNG);

    // The frame's geometry comes from the configuration packed into the launcher.
    CMicroClientConfig config;
    HMODULE hModule = ::LoadLibraryExW(launcher.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (hModule == NULL) {
        std::fwprintf(stderr, L"cannot read %ls\n", launcher.c_str());
        return 1;
    }
    CPaintManagerUI::SetResourceDll(hModule);
    const bool bConfig = LoadClientConfig(config);
    CPaintManagerUI::SetResourceDll(NULL);
    ::FreeLibrary(hModule);
    if (!bConfig) {
        std::fwprintf(stderr, L"no configuration in %ls\n", launcher.c_str());
        return 1;
    }
    HANDLE hMutex = ::OpenMutexW(SYNCHRONIZE, FALSE, config.m_sClientName);
    if (hMutex != NULL) {
        ::CloseHandle(hMutex);
        std::fwprintf(stderr, L"a launcher is already running here; end it first\n");
        return 1;
    }

    // The web window and the buttons sit over the picture; only the picture itself is sampled.
    std::vector<RECT> covered = {config.m_rcLoginWeb, config.m_rcMini, config.m_rcClose};
    SIZE szPicture = {};
    const std::vector<TSample> samples = PickSamples(picture.c_str(), covered, &szPicture);
    if (samples.empty()) {
        std::fwprintf(stderr, L"no usable pixels in %ls\n", picture.c_str());
        return 1;
    }

    std::vector<double> launcherVisible, launcherPainted, bareVisible, barePainted;
    std::vector<double> workingSet, privateBytes, bareWorkingSet, barePrivate;
    for (int i = 0; i < runs; ++i) {
        TRun a = RunOnce(launcher, L"", L"Orvane", L"Orvane", samples);
        TRun b = RunOnce(bare, picture, L"BareLayeredWindow", L"BareLayeredWindow", samples);
        if (!a.bOk || !b.bOk) return 1;
        launcherVisible.push_back(a.visibleMs);
        launcherPainted.push_back(a.paintedMs);
        bareVisible.push_back(b.visibleMs);
        barePainted.push_back(b.paintedMs);
        workingSet.push_back(static_cast<double>(a.workingSet) / 1024.0);
        privateBytes.push_back(static_cast<double>(a.privateBytes) / 1024.0);
        bareWorkingSet.push_back(static_cast<double>(b.workingSet) / 1024.0);
        barePrivate.push_back(static_cast<double>(b.privateBytes) / 1024.0);
    }

    std::wprintf(L"start-up, %d runs each, %zu sample pixels of a %ldx%ld picture\n", runs, samples.size(),
                 szPicture.cx, szPicture.cy);
    Report(L"launcher: login frame visible", launcherVisible);
    Report(L"launcher: login frame painted", launcherPainted);
    Report(L"bare layered window: visible", bareVisible);
    Report(L"bare layered window: painted", barePainted);
    std::sort(launcherPainted.begin(), launcherPainted.end());
    std::sort(barePainted.begin(), barePainted.end());
    std::wprintf(L"  launcher / bare (median painted): %.2f\n",
                 launcherPainted[launcherPainted.size() / 2] / barePainted[barePainted.size() / 2]);
    std::sort(workingSet.begin(), workingSet.end());
    std::sort(privateBytes.begin(), privateBytes.end());
    std::sort(bareWorkingSet.begin(), bareWorkingSet.end());
    std::sort(barePrivate.begin(), barePrivate.end());
    std::wprintf(L"memory 0.5 s after painting (median): launcher working set %.0f KiB, private %.0f KiB; "
                 L"bare working set %.0f KiB, private %.0f KiB\n",
                 workingSet[runs / 2], privateBytes[runs / 2], bareWorkingSet[runs / 2], barePrivate[runs / 2]);
    return 0;
}
