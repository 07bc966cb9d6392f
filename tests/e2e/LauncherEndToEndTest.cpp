// The built launcher observed from outside: login frame geometry, its buttons and picture under the
// mouse, the single-instance message, the report of a skin archive without the login layout, the page
// mode it records for itself, and its manifest.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "app/ClientConfig.h"
#include "app/BrowserEmulation.h"
#include "LauncherProcess.h"
#include "support/RegistryValueScope.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <map>
#include <set>

using namespace Veneer;

namespace {

const wchar_t kFrameClass[] = L"Orvane";
const wchar_t kFrameTitle[] = L"Orvane";
const wchar_t kWebWindowTitle[] = L"ZellWindow";
const wchar_t kMessageBoxClass[] = L"#32770";
const DWORD kStartMillis = 20000;
const DWORD kActMillis = 10000;

class LauncherEndToEndTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The configuration the tests expect is the one packed into the launcher itself.
        s_launcher = HostProgramPath(MICROCLIENT_EXE);
        s_noLoginSkin = HostProgramPath(MICROCLIENT_NO_LOGIN_SKIN_EXE);
        s_bConfigLoaded = LoadLauncherConfig(s_launcher, s_config);
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_bConfigLoaded) << "no configuration in " << std::string(s_launcher.begin(), s_launcher.end());
        // A launcher started by someone else on this desktop holds the single-instance mutex.
        const bool bFree = WaitForFreeClientName(s_config.m_sClientName, 30000);
        if (!bFree) GTEST_SKIP() << "another launcher of this client name is running on this desktop";
    }

    // Starts the launcher and waits for its login frame, shown and placed.
    HWND StartLauncher(CLauncherProcess& process)
    {
        if (!process.Start(s_launcher)) return NULL;
        // The frame is made visible before it is centred: only the running message loop says that
        // start-up is over.
        if (!process.WaitForIdle(kStartMillis)) return NULL;
        return process.WaitForWindow(kFrameClass, kFrameTitle, true, kStartMillis);
    }

    // A copy of the launcher named pstrFile in folder whose configuration sets key to value (the entry is
    // added when the shipped configuration has none). Empty on failure.
    static std::wstring CopyWithSetting(const CTempFolder& folder, LPCWSTR pstrFile, const std::string& key,
                                        const std::string& value)
    {
        std::string document;
        HMODULE hModule = ::LoadLibraryExW(s_launcher.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        if (hModule == NULL) return std::wstring();
        HRSRC hInfo = ::FindResourceW(hModule, MAKEINTRESOURCEW(kClientConfigResourceId), L"XML");
        HGLOBAL hData = hInfo != NULL ? ::LoadResource(hModule, hInfo) : NULL;
        if (hData != NULL) {
            document.assign(static_cast<const char*>(::LockResource(hData)), ::SizeofResource(hModule, hInfo));
        }
        ::FreeLibrary(hModule);
        const std::string entry = "<" + key + " value=\"";
        const size_t start = document.find(entry);
        if (start != std::string::npos) {
            const size_t end = document.find('"', start + entry.size());
            if (end == std::string::npos) return std::wstring();
            document.replace(start + entry.size(), end - start - entry.size(), value);
        }
        else {
            const size_t close = document.rfind("</");
            if (close == std::string::npos) return std::wstring();
            document.insert(close, entry + value + "\"/>");
        }

        const std::wstring copy = folder.GetFile(pstrFile);
        if (!::CopyFileW(s_launcher.c_str(), copy.c_str(), FALSE)) return std::wstring();
        HANDLE hUpdate = ::BeginUpdateResourceW(copy.c_str(), FALSE);
        if (hUpdate == NULL) return std::wstring();
        const BOOL bAdded = ::UpdateResourceW(hUpdate, L"XML", MAKEINTRESOURCEW(kClientConfigResourceId),
                                              MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &document[0],
                                              static_cast<DWORD>(document.size()));
        if (!::EndUpdateResourceW(hUpdate, !bAdded) || !bAdded) return std::wstring();
        return copy;
    }

    // Starts the launcher at path, waits for its login frame and closes it; false if either fails.
    bool StartAndClose(const std::wstring& path)
    {
        CLauncherProcess launcher;
        HWND hFrame = NULL;
        if (WaitForFreeClientName(s_config.m_sClientName, kActMillis) && launcher.Start(path) &&
            launcher.WaitForIdle(kStartMillis)) {
            hFrame = launcher.WaitForWindow(kFrameClass, kFrameTitle, true, kStartMillis);
        }
        return hFrame != NULL && ::PostMessageW(hFrame, WM_CLOSE, 0, 0) && launcher.WaitForExit(kActMillis);
    }

    // The frame's hit-test code at a client point, asked across the process boundary.
    static LRESULT HitTest(HWND hFrame, int x, int y)
    {
        POINT pt = {x, y};
        ::ClientToScreen(hFrame, &pt);
        return ::SendMessageW(hFrame, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }

    static POINT ClientCentre(HWND hWnd, const RECT& rc)
    {
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ::ClientToScreen(hWnd, &pt);
        return pt;
    }

    // Presses the left button at a point, moves by (dx, dy) in small steps and lets go.
    static void MouseDrag(POINT pt, int dx, int dy)
    {
        ::SetCursorPos(pt.x, pt.y);
        ::Sleep(100);
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        ::SendInput(1, &input, sizeof(INPUT));
        ::Sleep(100);
        const int steps = 10;
        for (int i = 1; i <= steps; ++i) {
            ::SetCursorPos(pt.x + dx * i / steps, pt.y + dy * i / steps);
            ::Sleep(30);
        }
        ::Sleep(100);
        input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(1, &input, sizeof(INPUT));
    }

    static std::wstring s_launcher;
    static std::wstring s_noLoginSkin;
    static CMicroClientConfig s_config;
    static bool s_bConfigLoaded;
};

std::wstring LauncherEndToEndTest::s_launcher;
std::wstring LauncherEndToEndTest::s_noLoginSkin;
CMicroClientConfig LauncherEndToEndTest::s_config;
bool LauncherEndToEndTest::s_bConfigLoaded = false;

std::wstring Lower(std::wstring text)
{
    for (wchar_t& ch : text) ch = static_cast<wchar_t>(towlower(ch));
    return text;
}

// The launcher's manifest, its elements by local name (a namespace prefix dropped).
class LauncherManifestTest : public LauncherEndToEndTest
{
protected:
    static void SetUpTestSuite()
    {
        LauncherEndToEndTest::SetUpTestSuite();
        HMODULE hModule = ::LoadLibraryExW(s_launcher.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        // The loader takes a program's manifest from RT_MANIFEST resource 1 only.
        HRSRC hInfo = hModule != NULL ? ::FindResourceW(hModule, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : NULL;
        HGLOBAL hData = hInfo != NULL ? ::LoadResource(hModule, hInfo) : NULL;
        if (hData != NULL && s_manifest.LoadFromMem(static_cast<const BYTE*>(::LockResource(hData)),
                                                    ::SizeofResource(hModule, hInfo))) {
            Collect(s_manifest.GetRoot());
        }
        if (hModule != NULL) ::FreeLibrary(hModule);
    }

    static void Collect(const CMarkupNode& parent)
    {
        for (CMarkupNode node = parent.GetChild(); node.IsValid(); node = node.GetSibling()) {
            const std::wstring name = node.GetName();
            s_elements.emplace(name.substr(name.find(L':') + 1), node);
            Collect(node);
        }
    }

    // An attribute (without a name: the text) of the one element of a local name; "?" unless there is one.
    static std::wstring Get(LPCWSTR pstrElement, LPCWSTR pstrAttribute = NULL)
    {
        if (s_elements.count(pstrElement) != 1) return L"?";
        const CMarkupNode& node = s_elements.find(pstrElement)->second;
        return pstrAttribute != NULL ? node.GetAttributeValue(pstrAttribute) : node.GetValue();
    }

    static CMarkup s_manifest;
    static std::multimap<std::wstring, CMarkupNode> s_elements;
};

CMarkup LauncherManifestTest::s_manifest;
std::multimap<std::wstring, CMarkupNode> LauncherManifestTest::s_elements;

} // namespace

TEST_F(LauncherEndToEndTest, LoginFrameOpensCentredAtTheConfiguredSizeWithTheWebWindowOnIt)
{
    CLauncherProcess launcher;
    HWND hFrame = StartLauncher(launcher);
    ASSERT_TRUE(hFrame != NULL) << "no login frame appeared";

    RECT rcClient = {};
    ::GetClientRect(hFrame, &rcClient);
    EXPECT_EQ(s_config.m_szLoginFrame.cx, rcClient.right);
    EXPECT_EQ(s_config.m_szLoginFrame.cy, rcClient.bottom);

    // Borderless: the window is its client area, centred in the work area.
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(hFrame, MONITOR_DEFAULTTONEAREST), &mi));
    RECT rcFrame = {};
    ::GetWindowRect(hFrame, &rcFrame);
    const int cx = s_config.m_szLoginFrame.cx;
    const int cy = s_config.m_szLoginFrame.cy;
    EXPECT_EQ((mi.rcWork.left + mi.rcWork.right) / 2 - cx / 2, rcFrame.left);
    EXPECT_EQ((mi.rcWork.top + mi.rcWork.bottom) / 2 - cy / 2, rcFrame.top);
    EXPECT_EQ(cx, rcFrame.right - rcFrame.left);
    EXPECT_EQ(cy, rcFrame.bottom - rcFrame.top);
    EXPECT_EQ(0, ::GetWindowLongW(hFrame, GWL_STYLE) & WS_CAPTION);

    // The login web window rides on the frame at its configured rectangle.
    HWND hWeb = launcher.WaitForWindow(kFrameClass, kWebWindowTitle, true, kActMillis);
    ASSERT_TRUE(hWeb != NULL);
    EXPECT_EQ(hFrame, ::GetWindow(hWeb, GW_OWNER));
    RECT rcWeb = {};
    ::GetWindowRect(hWeb, &rcWeb);
    const RECT& rcConfigured = s_config.m_rcLoginWeb;
    EXPECT_EQ(rcFrame.left + rcConfigured.left, rcWeb.left);
    EXPECT_EQ(rcFrame.top + rcConfigured.top, rcWeb.top);
    EXPECT_EQ(rcConfigured.right - rcConfigured.left, rcWeb.right - rcWeb.left);
    EXPECT_EQ(rcConfigured.bottom - rcConfigured.top, rcWeb.bottom - rcWeb.top);

    // Keys pressed in the frame do nothing: no title button has the focus, and Escape does not close it.
    ASSERT_TRUE(BringToForeground(hFrame));
    for (WORD vk : {VK_RETURN, VK_SPACE, VK_ESCAPE, VK_TAB, VK_RETURN, VK_TAB, VK_SPACE}) KeyPress(vk);
    EXPECT_FALSE(launcher.WaitForExit(1000));
    EXPECT_TRUE(::IsWindowVisible(hFrame));
    EXPECT_FALSE(::IsIconic(hFrame));
    EXPECT_TRUE(::IsWindowVisible(hWeb));
    // A hidden frame keeps the launcher running.
    ::ShowWindow(hFrame, SW_HIDE);
    EXPECT_FALSE(launcher.WaitForExit(1000));
    EXPECT_TRUE(::IsWindow(hFrame));

    ::PostMessageW(hFrame, WM_CLOSE, 0, 0);
    DWORD dwExitCode = 0xFFFF;
    ASSERT_TRUE(launcher.WaitForExit(kActMillis, &dwExitCode));
    EXPECT_EQ(0u, dwExitCode);
}

TEST_F(LauncherEndToEndTest, AtOneAndAHalfTimesTheFrameItsButtonsAndItsWebWindowKeepTheirShape)
{
    // The display's DPI as Wine keeps it for the processes started from now on.
    CRegistryValueScope dpiSetting(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
    const DWORD dwDpi = 144;
    ASSERT_TRUE(dpiSetting.Write(REG_DWORD, &dwDpi, sizeof(dwDpi)));
    // This thread reads the launcher's windows in their own pixels, not mapped to 96 DPI.
    typedef HANDLE(WINAPI * PFNSETTHREADDPIAWARENESSCONTEXT)(HANDLE);
    const auto pfnSetContext = reinterpret_cast<PFNSETTHREADDPIAWARENESSCONTEXT>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (pfnSetContext == NULL) GTEST_SKIP() << "no per-thread DPI awareness on this system";
    const HANDLE hFormer = pfnSetContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
    struct Restore
    {
        PFNSETTHREADDPIAWARENESSCONTEXT pfn;
        HANDLE hContext;
        ~Restore() { pfn(hContext); }
    } restore = {pfnSetContext, hFormer};
    auto S = [](LONG v) { return ::MulDiv(v, 3, 2); };

    CLauncherProcess launcher;
    HWND hFrame = StartLauncher(launcher);
    DWORD dwExitCode = STILL_ACTIVE;
    ASSERT_TRUE(hFrame != NULL) << "no login frame appeared; the launcher "
                                << (launcher.WaitForExit(0, &dwExitCode) ? "ended with " : "runs, ") << dwExitCode;
    RECT rcClient = {};
    ::GetClientRect(hFrame, &rcClient);
    EXPECT_EQ(S(s_config.m_szLoginFrame.cx), rcClient.right);
    EXPECT_EQ(S(s_config.m_szLoginFrame.cy), rcClient.bottom);

    HWND hWeb = launcher.WaitForWindow(kFrameClass, kWebWindowTitle, true, kActMillis);
    ASSERT_TRUE(hWeb != NULL);
    RECT rcFrame = {}, rcWeb = {};
    const RECT& rcConfigured = s_config.m_rcLoginWeb;
    EXPECT_TRUE(WaitUntil(kActMillis, [&]() {
        ::GetWindowRect(hFrame, &rcFrame);
        ::GetWindowRect(hWeb, &rcWeb);
        return rcWeb.left == rcFrame.left + S(rcConfigured.left) && rcWeb.top == rcFrame.top + S(rcConfigured.top);
    })) << "web window at " << rcWeb.left - rcFrame.left << "," << rcWeb.top - rcFrame.top << " in the frame";
    EXPECT_EQ(S(rcConfigured.right - rcConfigured.left), rcWeb.right - rcWeb.left);
    EXPECT_EQ(S(rcConfigured.bottom - rcConfigured.top), rcWeb.bottom - rcWeb.top);

    // The buttons cover their configured rectangles at the scale; the picture around them drags.
    for (const RECT& rc : {s_config.m_rcMini, s_config.m_rcClose}) {
        const RECT rcScaled = {S(rc.left), S(rc.top), S(rc.right), S(rc.bottom)};
        EXPECT_EQ(HTCLIENT, HitTest(hFrame, rcScaled.left, rcScaled.top));
        EXPECT_EQ(HTCLIENT, HitTest(hFrame, rcScaled.right - 1, rcScaled.bottom - 1));
        EXPECT_EQ(HTCAPTION, HitTest(hFrame, rcScaled.left - 1, rcScaled.top));
        EXPECT_EQ(HTCAPTION, HitTest(hFrame, rcScaled.right, rcScaled.bottom - 1));
    }
    // The caption reaches down the whole scaled picture.
    EXPECT_EQ(HTCAPTION, HitTest(hFrame, 10, rcClient.bottom - 10));

    ::PostMessageW(hFrame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(launcher.WaitForExit(kActMillis));
}

TEST_F(LauncherEndToEndTest, MinimiseAndCloseButtonsAnswerTheMouse)
{
    CLauncherProcess launcher;
    HWND hFrame = StartLauncher(launcher);
    ASSERT_TRUE(hFrame != NULL) << "no login frame appeared";
    HWND hWeb = launcher.WaitForWindow(kFrameClass, kWebWindowTitle, true, kActMillis);
    ASSERT_TRUE(hWeb != NULL);

    // The picture drags the frame but the buttons on it are client area.
    const POINT ptMin = ClientCentre(hFrame, s_config.m_rcMini);
    const POINT ptClose = ClientCentre(hFrame, s_config.m_rcClose);
    EXPECT_EQ(HTCLIENT, ::SendMessageW(hFrame, WM_NCHITTEST, 0, MAKELPARAM(ptMin.x, ptMin.y)));
    EXPECT_EQ(HTCLIENT, ::SendMessageW(hFrame, WM_NCHITTEST, 0, MAKELPARAM(ptClose.x, ptClose.y)));
    POINT ptPicture = {10, s_config.m_szLoginFrame.cy / 2};
    ::ClientToScreen(hFrame, &ptPicture);
    EXPECT_EQ(HTCAPTION, ::SendMessageW(hFrame, WM_NCHITTEST, 0, MAKELPARAM(ptPicture.x, ptPicture.y)));
    // Each button covers exactly its configured rectangle.
    for (const RECT& rc : {s_config.m_rcMini, s_config.m_rcClose}) {
        EXPECT_EQ(HTCLIENT, HitTest(hFrame, rc.left, rc.top));
        EXPECT_EQ(HTCLIENT, HitTest(hFrame, rc.right - 1, rc.bottom - 1));
        EXPECT_EQ(HTCAPTION, HitTest(hFrame, rc.left - 1, rc.top));
        EXPECT_EQ(HTCAPTION, HitTest(hFrame, rc.left, rc.top - 1));
        EXPECT_EQ(HTCAPTION, HitTest(hFrame, rc.right, rc.bottom - 1));
        EXPECT_EQ(HTCAPTION, HitTest(hFrame, rc.right - 1, rc.bottom));
    }

    ASSERT_TRUE(RaiseUnder(hFrame, ptMin)) << "another window covers the minimise button";
    MouseClick(ptMin);
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() { return ::IsIconic(hFrame) != FALSE; })) << "minimise did not act";
    // The web window leaves the screen with its frame.
    RECT rcWeb = {};
    RECT rcScreen = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    rcScreen.right = rcScreen.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    rcScreen.bottom = rcScreen.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    EXPECT_TRUE(WaitUntil(kActMillis, [&]() {
        RECT rcSeen = {};
        ::GetWindowRect(hWeb, &rcWeb);
        return !::IsWindowVisible(hWeb) || !::IntersectRect(&rcSeen, &rcWeb, &rcScreen);
    })) << "web window still on screen at " << rcWeb.left << "," << rcWeb.top;
    EXPECT_TRUE(launcher.IsRunning());

    // Restored, the web window is back at its offset.
    ::ShowWindow(hFrame, SW_RESTORE);
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() { return !::IsIconic(hFrame); }));
    RECT rcFrame = {};
    EXPECT_TRUE(WaitUntil(kActMillis, [&]() {
        ::GetWindowRect(hFrame, &rcFrame);
        ::GetWindowRect(hWeb, &rcWeb);
        return ::IsWindowVisible(hWeb) && rcWeb.left == rcFrame.left + s_config.m_rcLoginWeb.left &&
               rcWeb.top == rcFrame.top + s_config.m_rcLoginWeb.top;
    }));

    const POINT ptCloseNow = ClientCentre(hFrame, s_config.m_rcClose);
    ASSERT_TRUE(RaiseUnder(hFrame, ptCloseNow)) << "another window covers the close button";
    MouseClick(ptCloseNow);
    DWORD dwExitCode = 0xFFFF;
    ASSERT_TRUE(launcher.WaitForExit(kActMillis, &dwExitCode)) << "close did not end the launcher";
    EXPECT_EQ(0u, dwExitCode);
}

TEST_F(LauncherEndToEndTest, DraggingThePictureMovesTheFrameAndTheWebWindowWithIt)
{
    CLauncherProcess launcher;
    HWND hFrame = StartLauncher(launcher);
    ASSERT_TRUE(hFrame != NULL) << "no login frame appeared";
    HWND hWeb = launcher.WaitForWindow(kFrameClass, kWebWindowTitle, true, kActMillis);
    ASSERT_TRUE(hWeb != NULL);
    RECT rcBefore = {};
    ::GetWindowRect(hFrame, &rcBefore);

    // Left of the web window, below the buttons: plain picture.
    POINT pt = {s_config.m_rcLoginWeb.left / 2, s_config.m_szLoginFrame.cy / 2};
    ::ClientToScreen(hFrame, &pt);
    ASSERT_TRUE(RaiseUnder(hFrame, pt)) << "another window covers the frame";
    const int dx = -60, dy = -40;
    MouseDrag(pt, dx, dy);

    RECT rcFrame = {}, rcWeb = {};
    EXPECT_TRUE(WaitUntil(kActMillis, [&]() {
        ::GetWindowRect(hFrame, &rcFrame);
        return rcFrame.left == rcBefore.left + dx && rcFrame.top == rcBefore.top + dy;
    })) << "frame at " << rcFrame.left << "," << rcFrame.top;
    EXPECT_TRUE(WaitUntil(kActMillis, [&]() {
        ::GetWindowRect(hWeb, &rcWeb);
        return rcWeb.left == rcFrame.left + s_config.m_rcLoginWeb.left &&
               rcWeb.top == rcFrame.top + s_config.m_rcLoginWeb.top;
    })) << "web window at " << rcWeb.left << "," << rcWeb.top;
    EXPECT_EQ(s_config.m_rcLoginWeb.right - s_config.m_rcLoginWeb.left, rcWeb.right - rcWeb.left);
    EXPECT_EQ(s_config.m_rcLoginWeb.bottom - s_config.m_rcLoginWeb.top, rcWeb.bottom - rcWeb.top);
}

TEST_F(LauncherEndToEndTest, EscapeClosesTheWebWindowAloneAndTheFrameMovesOnWithoutIt)
{
    CLauncherProcess launcher;
    HWND hFrame = StartLauncher(launcher);
    ASSERT_TRUE(hFrame != NULL) << "no login frame appeared";
    HWND hWeb = launcher.WaitForWindow(kFrameClass, kWebWindowTitle, true, kActMillis);
    ASSERT_TRUE(hWeb != NULL);

    ::PostMessageW(hWeb, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() { return !::IsWindow(hWeb); })) << "Escape left the web window open";

    // The frame still moves and sizes, with nothing left to carry along.
    RECT rcFrame = {};
    ::GetWindowRect(hFrame, &rcFrame);
    ::SetWindowPos(hFrame, NULL, rcFrame.left + 30, rcFrame.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(hFrame, NULL, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(launcher.WaitForExit(1000)) << "the launcher ended";
    EXPECT_TRUE(::IsWindowVisible(hFrame));

    ::PostMessageW(hFrame, WM_CLOSE, 0, 0);
    DWORD dwExitCode = 0xFFFF;
    ASSERT_TRUE(launcher.WaitForExit(kActMillis, &dwExitCode));
    EXPECT_EQ(0u, dwExitCode);
}

TEST_F(LauncherEndToEndTest, SecondStartShowsTheRunningMessageAndBringsTheFirstForward)
{
    CLauncherProcess first;
    HWND hFrame = StartLauncher(first);
    ASSERT_TRUE(hFrame != NULL) << "no login frame appeared";
    ::ShowWindow(hFrame, SW_MINIMIZE);

    CLauncherProcess second;
    ASSERT_TRUE(second.Start(s_launcher));
    HWND hBox = second.WaitForWindow(kMessageBoxClass, NULL, true, kStartMillis);
    ASSERT_TRUE(hBox != NULL) << "the second launcher showed no message";
    const TMessageBoxText box = ReadMessageBox(hBox);
    EXPECT_EQ(L"提示", box.sCaption);
    EXPECT_EQ(std::vector<std::wstring>{L"微端已经运行了。"}, box.texts);
    EXPECT_TRUE(second.Windows(kFrameClass).empty());

    DismissMessageBox(hBox);
    DWORD dwExitCode = 0xFFFF;
    ASSERT_TRUE(second.WaitForExit(kActMillis, &dwExitCode));
    EXPECT_EQ(0u, dwExitCode);

    // Once the notice is answered the running launcher's frame is back and in front.
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(WaitUntil(kActMillis, [&]() { return !::IsIconic(hFrame) && ::GetForegroundWindow() == hFrame; }))
        << "minimised " << ::IsIconic(hFrame) << ", in front " << (::GetForegroundWindow() == hFrame);
    EXPECT_TRUE(::IsWindowVisible(hFrame));
    ::PostMessageW(hFrame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit(kActMillis, &dwExitCode));
    EXPECT_EQ(0u, dwExitCode);
}

TEST_F(LauncherEndToEndTest, LaunchersOfDifferentClientNamesRunSideBySide)
{
    CTempFolder folder;
    ASSERT_TRUE(folder.IsValid());
    const std::wstring other = CopyWithSetting(folder, L"OtherClient.exe", "clientName", "OrvaneSecondClient");
    ASSERT_FALSE(other.empty()) << "cannot make a launcher with another client name";

    CLauncherProcess first;
    HWND hFirst = StartLauncher(first);
    ASSERT_TRUE(hFirst != NULL) << "no login frame appeared";
    {
        CLauncherProcess second;
        ASSERT_TRUE(second.Start(other));
        ASSERT_TRUE(second.WaitForIdle(kStartMillis));
        HWND hSecond = second.WaitForWindow(kFrameClass, kFrameTitle, true, kStartMillis);
        ASSERT_TRUE(hSecond != NULL) << "the second client showed no login frame";
        EXPECT_TRUE(second.Windows(kMessageBoxClass).empty());
        EXPECT_TRUE(first.IsRunning());

        ::PostMessageW(hSecond, WM_CLOSE, 0, 0);
        DWORD dwExitCode = 0xFFFF;
        ASSERT_TRUE(second.WaitForExit(kActMillis, &dwExitCode));
        EXPECT_EQ(0u, dwExitCode);
    }
    EXPECT_TRUE(::IsWindowVisible(hFirst));
    ::PostMessageW(hFirst, WM_CLOSE, 0, 0);
    DWORD dwExitCode = 0xFFFF;
    ASSERT_TRUE(first.WaitForExit(kActMillis, &dwExitCode));
    EXPECT_EQ(0u, dwExitCode);
}

TEST_F(LauncherEndToEndTest, StartUpGivesItsFileNameTheConfiguredPageModeUnlessOneIsSet)
{
    CTempFolder folder;
    const std::wstring legacy = CopyWithSetting(folder, L"PageModeNine.exe", "browserMode", "9000");
    const std::wstring none = CopyWithSetting(folder, L"PageModeNone.exe", "browserMode", "none");
    ASSERT_FALSE(legacy.empty() || none.empty()) << "cannot make configured copies";
    const std::wstring name = s_launcher.substr(s_launcher.find_last_of(L"\\/") + 1);
    CRegistryValueScope shipped(HKEY_CURRENT_USER, kBrowserEmulationKey, name.c_str());
    CRegistryValueScope legacyValue(HKEY_CURRENT_USER, kBrowserEmulationKey, L"PageModeNine.exe");
    CRegistryValueScope noneValue(HKEY_CURRENT_USER, kBrowserEmulationKey, L"PageModeNone.exe");

    // The shipped configuration names no mode: the newest one, for the program's file name.
    ASSERT_TRUE(StartAndClose(s_launcher));
    DWORD dwMode = 0;
    EXPECT_TRUE(shipped.ReadDword(dwMode) && dwMode == 11001u) << dwMode;
    // A value already there is the distributor's.
    dwMode = 8000;
    ASSERT_TRUE(shipped.Write(REG_DWORD, &dwMode, sizeof(dwMode)) && StartAndClose(s_launcher));
    EXPECT_TRUE(shipped.ReadDword(dwMode) && dwMode == 8000u) << dwMode;
    ASSERT_TRUE(StartAndClose(legacy));
    EXPECT_TRUE(legacyValue.ReadDword(dwMode) && dwMode == 9000u) << dwMode;
    ASSERT_TRUE(StartAndClose(none));
    EXPECT_FALSE(noneValue.Exists());
}

TEST_F(LauncherEndToEndTest, SkinArchiveWithoutTheLoginLayoutReportsAndExitsWithOne)
{
    CLauncherProcess broken;
    ASSERT_TRUE(broken.Start(s_noLoginSkin));
    HWND hBox = broken.WaitForWindow(kMessageBoxClass, NULL, true, kStartMillis);
    ASSERT_TRUE(hBox != NULL) << "no load-failure message";
    const TMessageBoxText box = ReadMessageBox(hBox);
    EXPECT_EQ(L"Veneer", box.sCaption);
    EXPECT_EQ(std::vector<std::wstring>{L"加载资源文件失败"}, box.texts);
    EXPECT_TRUE(broken.Windows(kFrameClass, NULL, true).empty());

    DismissMessageBox(hBox);
    DWORD dwExitCode = 0xFFFF;
    ASSERT_TRUE(broken.WaitForExit(kActMillis, &dwExitCode));
    EXPECT_EQ(1u, dwExitCode);
}

TEST_F(LauncherManifestTest, DeclaresCommonControlsSixUserRightsSystemsAndOneDpiAwareness)
{
    ASSERT_STREQ(L"assembly", s_manifest.GetRoot().GetName()) << "no manifest in the launcher";
    EXPECT_STREQ(L"1.0", s_manifest.GetRoot().GetAttributeValue(L"manifestVersion"));

    // The common controls as a dependency, not as the program's own identity.
    std::map<std::wstring, std::wstring> controls;
    const auto identities = s_elements.equal_range(L"assemblyIdentity");
    for (auto it = identities.first; it != identities.second; ++it) {
        const CMarkupNode& node = it->second;
        if (wcscmp(node.GetAttributeValue(L"name"), L"Microsoft.Windows.Common-Controls") != 0) continue;
        for (int i = 0; i < node.GetAttributeCount(); ++i) controls[node.GetAttributeName(i)] = node.GetAttributeValue(i);
        controls[L"in"] = node.GetParent().GetName();
    }
    const std::map<std::wstring, std::wstring> expected = {
        {L"type", L"win32"}, {L"name", L"Microsoft.Windows.Common-Controls"}, {L"version", L"6.0.0.0"},
        {L"processorArchitecture", L"*"}, {L"publicKeyToken", L"6595b64144ccf1df"}, {L"language", L"*"},
        {L"in", L"dependentAssembly"}};
    EXPECT_EQ(expected, controls);

    EXPECT_EQ(L"asInvoker", Get(L"requestedExecutionLevel", L"level"));
    EXPECT_EQ(L"false", Get(L"requestedExecutionLevel", L"uiAccess"));

    std::set<std::wstring> systems;
    const auto systemElements = s_elements.equal_range(L"supportedOS");
    for (auto it = systemElements.first; it != systemElements.second; ++it) {
        systems.insert(Lower(it->second.GetAttributeValue(L"Id")));
    }
    EXPECT_EQ((std::set<std::wstring>{L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",    // Windows 7
                                      L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",    // Windows 8
                                      L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}",    // Windows 8.1
                                      L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}),  // Windows 10 and 11
              systems);

    // Windows 10 reads dpiAwareness (its first word it knows), earlier systems dpiAware: they must agree.
    EXPECT_EQ(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", Get(L"dpiAware", L"xmlns"));
    EXPECT_EQ(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", Get(L"dpiAwareness", L"xmlns"));
    const std::map<std::wstring, std::wstring> agreeing = {
        {L"unaware", L"false"}, {L"system", L"true"}, {L"permonitor", L"true/pm"}, {L"permonitorv2", L"true/pm"}};
    const std::wstring awareness = Lower(Get(L"dpiAwareness"));
    const auto declared = agreeing.find(awareness.substr(0, awareness.find(L',')));
    ASSERT_TRUE(declared != agreeing.end()) << "unknown dpiAwareness";
    EXPECT_EQ(declared->second, Lower(Get(L"dpiAware")));
}

TEST_F(LauncherManifestTest, TheRunningLauncherLoadsTheCommonControlsSixAssembly)
{
    CLauncherProcess launcher;
    HWND hFrame = StartLauncher(launcher);
    ASSERT_TRUE(hFrame != NULL) << "no login frame appeared";
    // Without the manifest the system's own comctl32.dll (version 5) would be loaded. It is loaded on first
    // use (the login page's browser needs it right after the frame's first paint).
    std::wstring path;
    for (DWORD dwStart = ::GetTickCount(); path.empty() && ::GetTickCount() - dwStart < kActMillis; ::Sleep(50)) {
        HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, launcher.GetId());
        MODULEENTRY32W entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL bMore = ::Module32FirstW(hSnapshot, &entry); bMore; bMore = ::Module32NextW(hSnapshot, &entry)) {
            if (_wcsicmp(entry.szModule, L"comctl32.dll") == 0) path = Lower(entry.szExePath);
        }
        if (hSnapshot != INVALID_HANDLE_VALUE) ::CloseHandle(hSnapshot);
    }
    EXPECT_NE(std::wstring::npos, path.find(L"\\winsxs\\")) << std::string(path.begin(), path.end());
    EXPECT_NE(std::wstring::npos, path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."));
    ::PostMessageW(hFrame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(launcher.WaitForExit(kActMillis));
}

// The DLLs only some features need are loaded on first use, not before the first window shows.
TEST_F(LauncherManifestTest, LoadsOnlyTheCoreSystemLibrariesAtStart)
{
    HMODULE hImage = ::LoadLibraryExW(s_launcher.c_str(), NULL, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(hImage != NULL);
    // A module mapped as a resource comes back with its low bits set.
    const BYTE* pBase = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(hImage) & ~static_cast<ULONG_PTR>(3));
    const IMAGE_NT_HEADERS* pNt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::set<std::wstring> names;
    for (const IMAGE_IMPORT_DESCRIPTOR* p = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress);
         imports.VirtualAddress != 0 && p->Name != 0; ++p) {
        const std::string name = reinterpret_cast<const char*>(pBase + p->Name);
        names.insert(Lower(std::wstring(name.begin(), name.end())));
    }
    ::FreeLibrary(hImage);
    EXPECT_FALSE(names.empty());
    for (LPCWSTR later : {L"comctl32.dll", L"gdiplus.dll", L"oleaut32.dll", L"shell32.dll"})
        EXPECT_EQ(0u, names.count(later)) << "loaded at start: " << std::string(later, later + wcslen(later));
}
