// Entry point: COM, configuration, one launcher per client name, the login frame and the message loop.
#include "veneer/core/UISetup.h"
#include "app/ClientConfig.h"
#include "app/BrowserEmulation.h"
#include "app/LoginFrame.h"

using namespace Veneer;

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/, int /*nCmdShow*/)
{
    // Before any window exists: the launcher scales its skins itself, sharp on every monitor.
    CPaintManagerUI::DeclareDPIAwareness();
    ::CoInitialize(NULL);
    ::OleInitialize(NULL);

    CPaintManagerUI::SetInstance(hInstance);
    CPaintManagerUI::SetResourceDll(hInstance);
    LoadClientConfig();

    CMicroClientLogin* pFrame = GetLoginFrame();
    if (pFrame == NULL) {
        return -1;
    }

    const CUIString& sClientName = GetClientConfig().m_sClientName;
    HANDLE hMutex = ::OpenMutexW(MUTEX_ALL_ACCESS, TRUE, sClientName);
    if (hMutex != NULL) {
        ::MessageBoxW(NULL, L"微端已经运行了。", L"提示", MB_ICONINFORMATION);
        BringRunningLauncherForward(sClientName);
        ::CloseHandle(hMutex);
        ::CoUninitialize();
        return 0;
    }
    hMutex = ::CreateMutexW(NULL, FALSE, sClientName);

    // The browser control reads its document mode once, when the first browser object is made.
    SetBrowserEmulation(GetClientConfig().m_dwBrowserMode);

    // Made hidden and shown once centred, with the frame style complete: made visible, it showed for a
    // moment at the screen's corner.
    pFrame->Create(NULL, L"Orvane", kLoginFrameStyle & ~WS_VISIBLE, 0, 0, 0, 0, 0);
    pFrame->CenterWindow();
    ::ShowWindow(pFrame->GetHWND(), SW_SHOWNORMAL);

    CPaintManagerUI::MessageLoop();

    if (hMutex != NULL) {
        ::CloseHandle(hMutex);
    }
    ::CoUninitialize();
    return 0;
}
