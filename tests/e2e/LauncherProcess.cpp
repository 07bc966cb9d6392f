// Test helper: the launcher's configuration and single-instance name, read from outside.
#include "veneer/core/UISetup.h"
#include "LauncherProcess.h"
#include "veneer/Veneer.h"

using namespace Veneer;

bool LoadLauncherConfig(const std::wstring& path, CMicroClientConfig& config)
{
    HMODULE hModule = ::LoadLibraryExW(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (hModule == NULL) return false;
    const HINSTANCE hPrevious = CPaintManagerUI::GetResourceDll();
    CPaintManagerUI::SetResourceDll(hModule);
    const bool bLoaded = LoadClientConfig(config);
    CPaintManagerUI::SetResourceDll(hPrevious);
    ::FreeLibrary(hModule);
    return bLoaded;
}

bool WaitForFreeClientName(LPCWSTR pstrClientName, DWORD dwMillis)
{
    return WaitUntil(dwMillis, [&]() {
        HANDLE hMutex = ::OpenMutexW(SYNCHRONIZE, FALSE, pstrClientName);
        if (hMutex == NULL) return true;
        ::CloseHandle(hMutex);
        return false;
    });
}
