// Tests of the login frame made in this process: where its web window is when it is first seen.
#include "veneer/core/UISetup.h"
#include "app/LoginFrame.h"
#include "app/LauncherWindow.h"
#include "app/ClientConfig.h"
#include "AppTestFiles.h"
#include "support/ResourceScope.h"

#include <gtest/gtest.h>
#include <vector>

using namespace Veneer;

namespace {

// Where a window titled as the login web window stood each time it was shown, as its thread saw it.
std::vector<RECT> g_webShownAt;

LRESULT CALLBACK RecordWebShowing(int nCode, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* pMsg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_WINDOWPOSCHANGED) {
        const WINDOWPOS* pPos = reinterpret_cast<const WINDOWPOS*>(pMsg->lParam);
        wchar_t szTitle[32] = {};
        ::GetWindowTextW(pMsg->hwnd, szTitle, 32);
        if ((pPos->flags & SWP_SHOWWINDOW) != 0 && wcscmp(szTitle, L"ZellWindow") == 0) {
            g_webShownAt.push_back(RECT{pPos->x, pPos->y, pPos->x + pPos->cx, pPos->y + pPos->cy});
        }
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

} // namespace

TEST(LoginFrame, ShowsItsWebWindowOnlyWhereItJoinsTheFrame)
{
    CResourceScope scope;
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(NULL)));
    HMODULE hResources = ::LoadLibraryExW(GetPathBesideExecutable(L"MicroClientResources.dll").c_str(), NULL,
                                          LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(hResources != NULL);
    CPaintManagerUI::SetResourceDll(hResources);
    HHOOK hHook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, RecordWebShowing, NULL, ::GetCurrentThreadId());
    ASSERT_TRUE(hHook != NULL);

    // The shipped layout's sizes (this program carries no configuration of its own).
    CMicroClientConfig& config = GetClientConfig();
    const CMicroClientConfig saved = config;
    config.m_szLoginFrame = SIZE{1034, 680};
    config.m_rcLoginWeb = RECT{298, 159, 968, 559};

    // As the launcher starts: made hidden, centred, shown; the first picture brings the web window.
    CMicroClientLogin* pFrame = new CMicroClientLogin;
    const HWND hFrame = pFrame->Create(NULL, L"Orvane", kLoginFrameStyle & ~WS_VISIBLE, 0, 0, 0, 0, 0);
    ASSERT_TRUE(hFrame != NULL);
    pFrame->CenterWindow();
    ::ShowWindow(hFrame, SW_SHOWNORMAL);
    ::UpdateWindow(hFrame);
    Pump();

    RECT rcFrame = {};
    ::GetWindowRect(hFrame, &rcFrame);
    const RECT& rcWeb = config.m_rcLoginWeb;
    const RECT rcExpected = {rcFrame.left + rcWeb.left, rcFrame.top + rcWeb.top, rcFrame.left + rcWeb.right,
                             rcFrame.top + rcWeb.bottom};
    EXPECT_FALSE(g_webShownAt.empty()) << "the web window was never shown";
    for (const RECT& rcShown : g_webShownAt) EXPECT_TRUE(::EqualRect(&rcExpected, &rcShown));

    ::UnhookWindowsHookEx(hHook);
    ::DestroyWindow(hFrame);
    Pump();  // the frame's quit request too
    config = saved;
    CPaintManagerUI::SetResourceDll(NULL);
    ::FreeLibrary(hResources);
    ::OleUninitialize();
}
