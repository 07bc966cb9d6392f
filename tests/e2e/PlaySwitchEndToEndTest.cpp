// The switch to play seen from outside: launchers stamped with a game address that does or does not hold
// the play keyword, the play window's placement, its title buttons under the mouse and its quit question.
#include "veneer/core/UISetup.h"
#include "app/ClientConfig.h"
#include "LauncherProcess.h"

#include <gtest/gtest.h>

#if defined(MICROCLIENT_PLAY_EXE) && defined(MICROCLIENT_NO_PLAY_EXE)

namespace {

const wchar_t kLauncherClass[] = L"Orvane";
const wchar_t kLauncherTitle[] = L"Orvane";
const wchar_t kWebWindowTitle[] = L"ZellWindow";
const wchar_t kMessageBoxClass[] = L"#32770";
const DWORD kStartMillis = 20000;
const DWORD kActMillis = 10000;
const int kPlayWidth = 1286;
const int kPlayHeight = 768;
// The title bar's right group: 27-pixel buttons flush with the right edge; the fourth from the left is
// the restore button while maximised and the maximise button while restored.
const int kTitleButtonSize = 27;
const int kMinimiseSlot = 3;
const int kMaximiseSlot = 2;
const int kCloseSlot = 1;
// Thirty slots from the right lies the empty title bar between its groups, where the window is dragged.
const int kCaptionSlot = 30;

// The launcher's windows once its message loop runs.
struct TLauncherWindows
{
    HWND hLogin = NULL;
    HWND hWeb = NULL;
};

class PlaySwitchEndToEndTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_play = HostProgramPath(MICROCLIENT_PLAY_EXE);
        s_noPlay = HostProgramPath(MICROCLIENT_NO_PLAY_EXE);
        s_bConfigLoaded = LoadLauncherConfig(s_play, s_config);
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_bConfigLoaded) << "no configuration in the stamped launcher";
        ASSERT_STREQ(L"client=pc", s_config.m_sPlayGameKeyWord.GetData()) << "the stamped addresses assume this keyword";
        if (!WaitForFreeClientName(s_config.m_sClientName, 30000)) {
            GTEST_SKIP() << "another launcher of this client name is running on this desktop";
        }
    }

    // Starts a launcher and finds its login frame through the web window it owns (both may be hidden
    // already). Empty handles on failure.
    static TLauncherWindows Start(CLauncherProcess& process, const std::wstring& path)
    {
        TLauncherWindows windows;
        if (!process.Start(path) || !process.WaitForIdle(kStartMillis)) return windows;
        windows.hWeb = process.WaitForWindow(kLauncherClass, kWebWindowTitle, false, kStartMillis);
        if (windows.hWeb != NULL) windows.hLogin = ::GetWindow(windows.hWeb, GW_OWNER);
        return windows;
    }

    // The visible launcher windows of class and title "Orvane" other than the login frame.
    static std::vector<HWND> PlayWindows(const CLauncherProcess& process, HWND hLogin)
    {
        std::vector<HWND> found;
        for (HWND hWnd : process.Windows(kLauncherClass, kLauncherTitle, true)) {
            if (hWnd != hLogin) found.push_back(hWnd);
        }
        return found;
    }

    static HWND WaitForPlayWindow(const CLauncherProcess& process, HWND hLogin)
    {
        HWND hPlay = NULL;
        WaitUntil(kActMillis, [&]() {
            std::vector<HWND> found = PlayWindows(process, hLogin);
            if (!found.empty()) hPlay = found.front();
            return hPlay != NULL || !process.IsRunning();
        });
        return hPlay;
    }

    // The screen point in the middle of a title button, counted in slots from the right edge.
    static POINT TitleButton(HWND hPlay, int nSlotFromRight)
    {
        RECT rc = {};
        ::GetClientRect(hPlay, &rc);
        POINT pt = {rc.right - nSlotFromRight * kTitleButtonSize + kTitleButtonSize / 2, kTitleButtonSize / 2};
        ::ClientToScreen(hPlay, &pt);
        return pt;
    }

    // Clicks a title button by mouse messages posted to the play window at the button's place. (A click
    // through the shared pointer is lost now and then under Wine; posted messages reach the window in order.)
    static bool ClickTitleButton(HWND hPlay, int nSlotFromRight)
    {
        // The buttons take their places when the window paints after a size change. The window's state
        // changes before the launcher has finished handling it, so first wait until the launcher is back in
        // its message loop (it answers a sent message only there), then have it paint.
        DWORD_PTR dwIgnored = 0;
        if (!::SendMessageTimeoutW(hPlay, WM_NULL, 0, 0, SMTO_NORMAL, kActMillis, &dwIgnored)) return false;
        ::UpdateWindow(hPlay);
        POINT pt = TitleButton(hPlay, nSlotFromRight);
        if (!::ScreenToClient(hPlay, &pt)) return false;
        const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
        return ::PostMessageW(hPlay, WM_MOUSEMOVE, 0, lParam) && ::PostMessageW(hPlay, WM_LBUTTONDOWN, MK_LBUTTON, lParam) &&
               ::PostMessageW(hPlay, WM_LBUTTONUP, 0, lParam);
    }

    // Waits until the play window is maximised and has taken its maximised place at the work area's
    // corner, wider than when restored (without a window manager the place follows the state later).
    static bool WaitForMaximised(HWND hPlay)
    {
        return WaitUntil(kActMillis, [&]() {
            MONITORINFO mi = {};
            mi.cbSize = sizeof(mi);
            RECT rc = {};
            ::GetWindowRect(hPlay, &rc);
            return ::IsZoomed(hPlay) && ::GetMonitorInfoW(::MonitorFromWindow(hPlay, MONITOR_DEFAULTTONEAREST), &mi) &&
                   rc.left <= mi.rcWork.left && rc.top <= mi.rcWork.top && rc.right - rc.left > kPlayWidth;
        });
    }

    // The quit question of the play window, once it shows.
    static HWND WaitForQuestion(const CLauncherProcess& process, HWND hPlay)
    {
        HWND hBox = process.WaitForWindow(kMessageBoxClass, NULL, true, kActMillis);
        if (hBox == NULL) return NULL;
        const TMessageBoxText box = ReadMessageBox(hBox);
        EXPECT_EQ(hPlay, ::GetWindow(hBox, GW_OWNER));
        EXPECT_EQ(L"提示", box.sCaption);
        EXPECT_EQ(std::vector<std::wstring>{L"正在游戏是否退出？"}, box.texts);
        EXPECT_TRUE(::GetDlgItem(hBox, IDYES) != NULL && ::GetDlgItem(hBox, IDNO) != NULL);
        return hBox;
    }

    // The restored placement: the 1286 x 768 window centred in the work area.
    static void ExpectRestoredPlacement(HWND hPlay, const RECT& rcNormal)
    {
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(hPlay, MONITOR_DEFAULTTONEAREST), &mi));
        const int cxWork = mi.rcWork.right - mi.rcWork.left;
        const int cyWork = mi.rcWork.bottom - mi.rcWork.top;
        EXPECT_EQ(kPlayWidth, rcNormal.right - rcNormal.left);
        EXPECT_EQ(kPlayHeight, rcNormal.bottom - rcNormal.top);
        EXPECT_EQ(mi.rcWork.left + (cxWork - kPlayWidth) / 2, rcNormal.left);
        EXPECT_EQ(mi.rcWork.top + (cyWork - kPlayHeight) / 2, rcNormal.top);
    }

    // The screen point of the launcher's icon in the notification area of Wine's desktop: the taskbar
    // draws its icons itself from its right end, each a small icon in a 2-pixel border, and the
    // launcher's is the only one. (-1, -1) without a taskbar.
    static POINT TrayIconPoint()
    {
        POINT pt = {-1, -1};
        RECT rc = {};
        HWND hTray = ::FindWindowW(L"Shell_TrayWnd", NULL);
        if (hTray == NULL || !::GetWindowRect(hTray, &rc)) return pt;
        pt.x = rc.right - 2 - ::GetSystemMetrics(SM_CXSMICON) / 2;
        pt.y = (rc.top + rc.bottom) / 2;
        return pt;
    }

    static std::wstring s_play;
    static std::wstring s_noPlay;
    static CMicroClientConfig s_config;
    static bool s_bConfigLoaded;
};

std::wstring PlaySwitchEndToEndTest::s_play;
std::wstring PlaySwitchEndToEndTest::s_noPlay;
CMicroClientConfig PlaySwitchEndToEndTest::s_config;
bool PlaySwitchEndToEndTest::s_bConfigLoaded = false;

} // namespace

TEST_F(PlaySwitchEndToEndTest, KeywordInTheGameAddressOpensThePlayWindowMaximisedAndAsksBeforeQuitting)
{
    CLauncherProcess launcher;
    const TLauncherWindows windows = Start(launcher, s_play);
    ASSERT_TRUE(windows.hLogin != NULL) << "no login frame appeared";
    HWND hPlay = WaitForPlayWindow(launcher, windows.hLogin);
    ASSERT_TRUE(hPlay != NULL) << "no play window appeared";

    // The login browser's navigation was cancelled: both login windows are hidden, not gone.
    EXPECT_TRUE(WaitUntil(kActMillis, [&]() {
        return !::IsWindowVisible(windows.hLogin) && !::IsWindowVisible(windows.hWeb);
    }));
    EXPECT_TRUE(::IsWindow(windows.hLogin));
    EXPECT_TRUE(::IsWindow(windows.hWeb));
    EXPECT_EQ(1u, PlayWindows(launcher, windows.hLogin).size());
    EXPECT_TRUE(::GetWindow(hPlay, GW_OWNER) == NULL);

    // Maximised (the play window is shown before it is maximised).
    EXPECT_TRUE(WaitForMaximised(hPlay));
    EXPECT_NE(0, ::GetWindowLongW(hPlay, GWL_STYLE) & WS_MAXIMIZE);
    EXPECT_EQ(0, ::GetWindowLongW(hPlay, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    ASSERT_TRUE(::GetWindowPlacement(hPlay, &wp));
    EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), wp.showCmd);

    // "No" keeps the game running.
    ::PostMessageW(hPlay, WM_CLOSE, 0, 0);
    HWND hBox = WaitForQuestion(launcher, hPlay);
    ASSERT_TRUE(hBox != NULL) << "closing asked nothing";
    AnswerMessageBox(hBox, IDNO);
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() { return !::IsWindow(hBox); }));
    EXPECT_FALSE(launcher.WaitForExit(1000)) << "the launcher ended after No";
    EXPECT_TRUE(::IsWindowVisible(hPlay));
    EXPECT_TRUE(::IsZoomed(hPlay));

    // "Yes" ends the process normally.
    ::PostMessageW(hPlay, WM_CLOSE, 0, 0);
    hBox = WaitForQuestion(launcher, hPlay);
    ASSERT_TRUE(hBox != NULL) << "closing asked nothing the second time";
    AnswerMessageBox(hBox, IDYES);
    DWORD dwExitCode = 0xFFFF;
    ASSERT_TRUE(launcher.WaitForExit(kActMillis, &dwExitCode)) << "Yes did not end the launcher";
    EXPECT_EQ(0u, dwExitCode);
}

TEST_F(PlaySwitchEndToEndTest, PlayWindowTitleButtonsAnswerTheMouse)
{
    CLauncherProcess launcher;
    const TLauncherWindows windows = Start(launcher, s_play);
    ASSERT_TRUE(windows.hLogin != NULL) << "no login frame appeared";
    HWND hPlay = WaitForPlayWindow(launcher, windows.hLogin);
    ASSERT_TRUE(hPlay != NULL) << "no play window appeared";
    ASSERT_TRUE(WaitForMaximised(hPlay));

    // Restore: back to the centred 1286 x 768 window.
    ASSERT_TRUE(ClickTitleButton(hPlay, kMaximiseSlot)) << "the click on the restore button could not be posted";
    RECT rcWindow = {};
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() {
        ::GetWindowRect(hPlay, &rcWindow);
        return !::IsZoomed(hPlay) && rcWindow.right - rcWindow.left == kPlayWidth;
    })) << "restore did not act: zoomed " << ::IsZoomed(hPlay) << ", window " << rcWindow.left << ","
         << rcWindow.top << "," << rcWindow.right << "," << rcWindow.bottom;
    ExpectRestoredPlacement(hPlay, rcWindow);
    RECT rcClient = {};
    ::GetClientRect(hPlay, &rcClient);
    EXPECT_EQ(kPlayWidth, rcClient.right);
    EXPECT_EQ(kPlayHeight, rcClient.bottom);

    // The restore button gave its place to the maximise button.
    ASSERT_TRUE(ClickTitleButton(hPlay, kMaximiseSlot)) << "the click on the maximise button could not be posted";
    ASSERT_TRUE(WaitForMaximised(hPlay)) << "maximise did not act";

    ASSERT_TRUE(ClickTitleButton(hPlay, kMinimiseSlot)) << "the click on the minimise button could not be posted";
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() { return ::IsIconic(hPlay) != FALSE; })) << "minimise did not act";
    EXPECT_TRUE(launcher.IsRunning());
    // Brought back, it is maximised again.
    ::ShowWindow(hPlay, SW_RESTORE);
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() { return !::IsIconic(hPlay); }));
    ASSERT_TRUE(WaitForMaximised(hPlay));

    // The close button asks the same question; "Yes" ends the launcher.
    ASSERT_TRUE(ClickTitleButton(hPlay, kCloseSlot)) << "the click on the close button could not be posted";
    HWND hBox = WaitForQuestion(launcher, hPlay);
    ASSERT_TRUE(hBox != NULL) << "the close button asked nothing";
    AnswerMessageBox(hBox, IDYES);
    DWORD dwExitCode = 0xFFFF;
    ASSERT_TRUE(launcher.WaitForExit(kActMillis, &dwExitCode)) << "Yes did not end the launcher";
    EXPECT_EQ(0u, dwExitCode);
}

// The play window as a user meets it: a caption double click, keys, the tray icon and its menu, a second
// start and the quit question, all from outside.
TEST_F(PlaySwitchEndToEndTest, PlayWindowActsAsAWindowDoesForTheUser)
{
    CLauncherProcess launcher;
    const TLauncherWindows windows = Start(launcher, s_play);
    ASSERT_TRUE(windows.hLogin != NULL) << "no login frame appeared";
    HWND hPlay = WaitForPlayWindow(launcher, windows.hLogin);
    ASSERT_TRUE(hPlay != NULL) << "no play window appeared";
    ASSERT_TRUE(WaitForMaximised(hPlay));
    auto restoredInFront = [&]() { return !::IsIconic(hPlay) && ::IsZoomed(hPlay) && ::GetForegroundWindow() == hPlay; };

    // The button in the maximise slot answers as the system's maximise button (Windows 11 snap layouts).
    POINT ptSlot = TitleButton(hPlay, kMaximiseSlot);
    EXPECT_EQ(HTMAXBUTTON, ::SendMessageW(hPlay, WM_NCHITTEST, 0, MAKELPARAM(ptSlot.x, ptSlot.y)));
    // A double click on the caption restores; the slot then holds the maximise button, which maximises.
    POINT ptCaption = TitleButton(hPlay, kCaptionSlot);
    ASSERT_TRUE(RaiseUnder(hPlay, ptCaption)) << "another window covers the caption";
    MouseClick(ptCaption, false, 2);
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() { return !::IsZoomed(hPlay); })) << "the double click did not restore";
    ASSERT_TRUE(ClickTitleButton(hPlay, kMaximiseSlot));
    ASSERT_TRUE(WaitForMaximised(hPlay)) << "the maximise slot still held the restore button";

    // Keys: the minimise button, once clicked, does not take Return or Space; Escape asks nothing.
    ASSERT_TRUE(ClickTitleButton(hPlay, kMinimiseSlot));
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() { return ::IsIconic(hPlay) != FALSE; })) << "minimise did not act";
    ::ShowWindow(hPlay, SW_RESTORE);
    ASSERT_TRUE(WaitForMaximised(hPlay));
    ASSERT_TRUE(BringToForeground(hPlay));
    for (WORD vk : {VK_RETURN, VK_SPACE, VK_ESCAPE, VK_TAB, VK_RETURN}) KeyPress(vk);
    EXPECT_FALSE(WaitUntil(1000, [&]() { return ::IsIconic(hPlay) || !launcher.Windows(kMessageBoxClass).empty(); }))
        << "a key acted";

    // A click on the tray icon brings the minimised window back maximised and in front, a double click
    // the hidden one; so does a second start once its notice is answered.
    const POINT ptIcon = TrayIconPoint();
    ASSERT_TRUE(ptIcon.x >= 0) << "no tray icon on the desktop's taskbar";
    ::ShowWindow(hPlay, SW_MINIMIZE);
    MouseClick(ptIcon);
    EXPECT_TRUE(WaitUntil(kActMillis, restoredInFront)) << "the tray click left the window minimised or behind";
    ::ShowWindow(hPlay, SW_HIDE);
    MouseClick(ptIcon, false, 2);
    EXPECT_TRUE(WaitUntil(kActMillis, [&]() { return ::IsWindowVisible(hPlay) && restoredInFront(); }));
    ::ShowWindow(hPlay, SW_MINIMIZE);
    CLauncherProcess second;
    ASSERT_TRUE(second.Start(s_play));
    HWND hNotice = second.WaitForWindow(kMessageBoxClass, NULL, true, kStartMillis);
    ASSERT_TRUE(hNotice != NULL) << "the second start showed no notice";
    EXPECT_TRUE(::IsIconic(hPlay));
    DismissMessageBox(hNotice);
    ASSERT_TRUE(second.WaitForExit(kActMillis));
    EXPECT_TRUE(WaitUntil(kActMillis, restoredInFront)) << "the second start left the window minimised or behind";
    EXPECT_FALSE(::IsWindowVisible(windows.hLogin));

    // The tray menu goes when the user clicks elsewhere. (Wine's maximised window covers the taskbar.)
    auto menuShown = [&]() { return !launcher.Windows(L"#32768", NULL, true).empty(); };
    ASSERT_TRUE(RaiseUnder(::FindWindowW(L"Shell_TrayWnd", NULL), ptIcon)) << "the taskbar stays covered";
    MouseClick(ptIcon, true);
    ASSERT_TRUE(WaitUntil(kActMillis, menuShown)) << "no tray menu";
    MouseClick(TitleButton(hPlay, kCaptionSlot));
    EXPECT_TRUE(WaitUntil(kActMillis, [&]() { return !menuShown(); })) << "the menu stayed open";

    // Alt+F4 asks; whatever asks again while the question is open (the close message, the system close
    // command that Alt+F4 sends, the close button, the tray menu's quit) brings it to the front instead.
    ASSERT_TRUE(BringToForeground(hPlay));
    KeyPress(VK_F4, VK_MENU);
    HWND hBox = WaitForQuestion(launcher, hPlay);
    ASSERT_TRUE(hBox != NULL) << "Alt+F4 asked nothing";
    const char* again[] = {"close message", "system close", "close button", "tray menu quit"};
    for (int i = 0; i < 4; ++i) {
        // Out of sight first (the question goes with its window), but for the click on its button.
        if (i != 2) ::ShowWindow(hPlay, SW_MINIMIZE);
        if (i == 0) ::PostMessageW(hPlay, WM_CLOSE, 0, 0);
        if (i == 1) ::PostMessageW(hPlay, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (i == 2) {
            EXPECT_TRUE(ClickTitleButton(hPlay, kCloseSlot));
        }
        if (i == 3) {
            MouseClick(ptIcon, true);
            EXPECT_TRUE(WaitUntil(kActMillis, menuShown)) << "no tray menu";
            KeyPress(VK_UP);
            KeyPress(VK_RETURN);
        }
        EXPECT_TRUE(WaitUntil(kActMillis, [&]() {
            return !::IsIconic(hPlay) && ::IsWindowVisible(hBox) && ::GetForegroundWindow() == hBox;
        })) << again[i] << " left the question minimised or behind";
        ::Sleep(300);
        EXPECT_EQ(1u, launcher.Windows(kMessageBoxClass, NULL, true).size()) << again[i];
    }
    AnswerMessageBox(hBox, IDNO);
    ASSERT_TRUE(WaitUntil(kActMillis, [&]() { return !::IsWindow(hBox); }));
    EXPECT_FALSE(WaitUntil(1000, [&]() { return !launcher.Windows(kMessageBoxClass, NULL, true).empty(); }))
        << "a second question followed";

    ::PostMessageW(hPlay, WM_CLOSE, 0, 0);
    hBox = WaitForQuestion(launcher, hPlay);
    ASSERT_TRUE(hBox != NULL);
    AnswerMessageBox(hBox, IDYES);
    ASSERT_TRUE(launcher.WaitForExit(kActMillis));
}

TEST_F(PlaySwitchEndToEndTest, GameAddressWithoutTheKeywordKeepsTheLoginWindows)
{
    CLauncherProcess launcher;
    const TLauncherWindows windows = Start(launcher, s_noPlay);
    ASSERT_TRUE(windows.hLogin != NULL) << "no login frame appeared";

    // Longer than the keyword launcher takes to switch.
    EXPECT_FALSE(WaitUntil(3000, [&]() { return !PlayWindows(launcher, windows.hLogin).empty(); }))
        << "a play window opened";
    EXPECT_TRUE(::IsWindowVisible(windows.hLogin));
    EXPECT_TRUE(::IsWindowVisible(windows.hWeb));
    EXPECT_EQ(1u, launcher.Windows(kLauncherClass, kLauncherTitle).size());

    ::PostMessageW(windows.hLogin, WM_CLOSE, 0, 0);
    DWORD dwExitCode = 0xFFFF;
    ASSERT_TRUE(launcher.WaitForExit(kActMillis, &dwExitCode));
    EXPECT_EQ(0u, dwExitCode);
}

#endif
