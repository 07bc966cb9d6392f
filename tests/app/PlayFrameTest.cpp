// Tests of the play window and of the login web window's switch to it, driven through window messages.
#include "veneer/core/UISetup.h"
#include "app/PlayFrame.h"
#include "app/LoginWebFrame.h"
#include "app/ClientConfig.h"
#include "AppTestFiles.h"
#include "support/MessageBoxWatcher.h"
#include "support/RegistryValueScope.h"
#include "support/ResourceScope.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

const wchar_t kGameAddress[] = L"http://127.0.0.1:9/game.html?client=pc";

// While it lives, the shell opens http and https addresses with a command that adds them to a file, in
// place of the default browser.
class CUrlRecorder
{
public:
    CUrlRecorder()
    {
        wchar_t szSystem[MAX_PATH] = {};
        ::GetSystemDirectoryW(szSystem, MAX_PATH);
        m_sFile = m_folder.GetFile(L"opened.txt");
        const std::wstring command = std::wstring(L"\"") + szSystem + L"\\cmd.exe\" /c echo %1>>\"" + m_sFile + L"\"";
        const DWORD cbCommand = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
        m_bReady = m_folder.IsValid() && m_http.Write(REG_SZ, command.c_str(), cbCommand) &&
                   m_https.Write(REG_SZ, command.c_str(), cbCommand);
    }

    bool IsReady() const { return m_bReady; }

    // The file's text (lines ending in "\n") once it has the size of sExpected (up to ten seconds). It is
    // not opened before: a command finding it open could not add its line. Each address is awaited
    // before the next is opened, as two commands adding to the file at once may lose one.
    std::string Opened(const std::string& sExpected) const
    {
        const size_t nSize = sExpected.size() + std::count(sExpected.begin(), sExpected.end(), '\n');
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        std::string text;
        for (int i = 0; i < 500 && text.size() != nSize; ++i) {
            ::Sleep(20);
            const BOOL bFound = ::GetFileAttributesExW(m_sFile.c_str(), GetFileExInfoStandard, &data);
            if (bFound && data.nFileSizeLow == nSize) text = ReadWholeFile(m_sFile);
        }
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    }

private:
    CTempFolder m_folder;
    CRegistryValueScope m_http{HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", L""};
    CRegistryValueScope m_https{HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", L""};
    std::wstring m_sFile;
    bool m_bReady = false;
};

// One NewWindow3 event sent to a browser's event sink as the browser sends it; returns the cancel flag.
VARIANT_BOOL SendNewWindow(IDispatch* pSink, LPCWSTR pstrAddress)
{
    IDispatch* pNewWindow = NULL;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[5];  // last argument first
    for (VARIANT& arg : args) ::VariantInit(&arg);
    args[4].vt = VT_DISPATCH | VT_BYREF;
    args[4].ppdispVal = &pNewWindow;
    args[3].vt = VT_BOOL | VT_BYREF;
    args[3].pboolVal = &cancel;
    args[2].vt = VT_I4;  // flags, context address: none
    args[0].vt = VT_BSTR;
    args[0].bstrVal = ::SysAllocString(pstrAddress);
    DISPPARAMS params = {args, NULL, 5, 0};
    EXPECT_EQ(S_OK, pSink->Invoke(273, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, NULL, NULL, NULL));
    ::VariantClear(&args[0]);
    EXPECT_TRUE(pNewWindow == NULL) << "no window is handed to the browser";
    return cancel;
}

// The play window with its paint manager in reach, and its deletion reported.
class CTestPlayFrame : public CMircroClientPlayFrame
{
public:
    ~CTestPlayFrame() override
    {
        if (m_pbDeleted != NULL) *m_pbDeleted = true;
    }
    CPaintManagerUI& Manager() { return m_PaintManager; }
    bool* m_pbDeleted = NULL;
};

// The launcher's resources (skin archive, icon, menu) come from the data DLL beside the test program.
class PlayWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(NULL)));
        m_hResources = ::LoadLibraryExW(GetPathBesideExecutable(L"MicroClientResources.dll").c_str(), NULL,
                                        LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(m_hResources != NULL);
        CPaintManagerUI::SetResourceDll(m_hResources);
        m_sKeyword = GetClientConfig().m_sPlayGameKeyWord;
        m_sClientName = GetClientConfig().m_sClientName;
        GetClientConfig().m_sPlayGameKeyWord = L"client=pc";
        GetClientConfig().m_sClientName = L"Orvane test";
    }

    void TearDown() override
    {
        if (m_pFrame != NULL && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
        Pump();
        GetClientConfig().m_sPlayGameKeyWord = m_sKeyword;
        GetClientConfig().m_sClientName = m_sClientName;
        CPaintManagerUI::SetResourceDll(NULL);
        if (m_hResources != NULL) ::FreeLibrary(m_hResources);
        ::OleUninitialize();
    }

    void CreateFrame()
    {
        m_pFrame = new CTestPlayFrame;
        m_pFrame->SetPlayAddress(kGameAddress);
        m_hWnd = m_pFrame->Create(NULL, L"Orvane", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, 0);
        ASSERT_TRUE(m_hWnd != NULL);
        ::UpdateWindow(m_hWnd);
        Pump();
    }

    void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    CPaintManagerUI& Manager() { return m_pFrame->Manager(); }

    POINT Centre(LPCWSTR pstrName)
    {
        const RECT rc = Manager().FindControl(pstrName)->GetPos();
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        return pt;
    }

    // A left click at the centre of a named control, as real mouse messages.
    void Click(LPCWSTR pstrName)
    {
        CControlUI* pControl = m_pFrame->Manager().FindControl(pstrName);
        ASSERT_TRUE(pControl != NULL) << "no control";
        const RECT rc = pControl->GetPos();
        const LPARAM pt = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, pt);
        ::SendMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, pt);
        ::SendMessageW(m_hWnd, WM_LBUTTONUP, 0, pt);
        Pump();
    }

    bool IsShown(LPCWSTR pstrName)
    {
        CControlUI* pControl = m_pFrame->Manager().FindControl(pstrName);
        return pControl != NULL && pControl->IsVisible();
    }

    // The maximise and restore buttons show the state the window is in, or, minimised, comes back to.
    void ExpectButtonsFollowTheWindow(const char* pszHow)
    {
        ::UpdateWindow(m_hWnd);
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof(wp);
        ::GetWindowPlacement(m_hWnd, &wp);
        const bool bZoomed = ::IsIconic(m_hWnd) ? (wp.flags & WPF_RESTORETOMAXIMIZED) != 0 : ::IsZoomed(m_hWnd) != FALSE;
        EXPECT_EQ(bZoomed, IsShown(L"restorebtn")) << pszHow;
        EXPECT_EQ(!bZoomed, IsShown(L"maxbtn")) << pszHow;
    }

    // The client area as the paint manager prints it, 0x00RRGGBB per pixel, rows top-down.
    std::vector<DWORD> PrintClient()
    {
        RECT rc = {};
        ::GetClientRect(m_hWnd, &rc);
        BITMAPINFO bmi = {};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), rc.right, -rc.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* pBits = NULL;
        HBITMAP hBmp = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
        HDC hDC = ::CreateCompatibleDC(NULL);
        HGDIOBJ hOld = ::SelectObject(hDC, hBmp);
        ::SendMessageW(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
        ::GdiFlush();
        std::vector<DWORD> pixels(static_cast<const DWORD*>(pBits), static_cast<const DWORD*>(pBits) + rc.right * rc.bottom);
        for (DWORD& pixel : pixels) pixel &= 0x00FFFFFF;
        ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
        ::DeleteObject(hBmp);
        return pixels;
    }

    CResourceScope m_scope;
    HMODULE m_hResources = NULL;
    CTestPlayFrame* m_pFrame = NULL;
    HWND m_hWnd = NULL;
    CUIString m_sKeyword;
    CUIString m_sClientName;
};

TEST_F(PlayWindowTest, SetsUpItsBrowserSizeTrayIconAndLogo)
{
    CreateFrame();
    CWebBrowserUI* pBrowser = m_pFrame->GetBrowser();
    ASSERT_TRUE(pBrowser != NULL);
    EXPECT_STREQ(kGameAddress, pBrowser->GetHomePage());
    EXPECT_EQ(static_cast<CWebBrowserEventHandler*>(m_pFrame), pBrowser->GetWebBrowserEventHandler());

    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    EXPECT_EQ(kPlayClientWidth, rcClient.right);
    EXPECT_EQ(kPlayClientHeight, rcClient.bottom);
    EXPECT_EQ(0, ::GetWindowLongW(m_hWnd, GWL_STYLE) & (WS_THICKFRAME | WS_CAPTION));

    const NOTIFYICONDATAW& tray = m_pFrame->GetTrayIcon().GetData();
    EXPECT_EQ(m_hWnd, tray.hWnd);
    EXPECT_EQ(sizeof(NOTIFYICONDATAW), tray.cbSize);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), tray.uFlags);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), tray.uCallbackMessage);
    EXPECT_STREQ(L"Orvane test", tray.szTip);
    EXPECT_TRUE(tray.hIcon != NULL) << "the small icon comes from the resources";

    // The logo is the icon, registered as an image the logo control shows.
    CControlUI* pLogo = m_pFrame->Manager().FindControl(L"logo");
    ASSERT_TRUE(pLogo != NULL);
    EXPECT_STREQ(L"Logo.png", pLogo->GetBkImage());
    const TImageInfo* pImage = m_pFrame->Manager().GetImage(L"Logo.png");
    ASSERT_TRUE(pImage != NULL);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), pImage->nWidth);

    // The browser is created at the first layout and is asked for the game page.
    ::UpdateWindow(m_hWnd);
    Pump();
    EXPECT_TRUE(pBrowser->GetWebBrowser2() != NULL);

    // The tray icon goes with the window.
    ::DestroyWindow(m_hWnd);
    m_pFrame = NULL;
}

TEST_F(PlayWindowTest, ClientIsItsSkinUnitsAtTheDisplayScaleWithinTheWorkArea)
{
    for (int dpi : {120, 144, 192}) {
        SCOPED_TRACE(dpi);
        m_pFrame = new CTestPlayFrame;
        m_pFrame->SetPlayAddress(kGameAddress);
        m_pFrame->Manager().SetDPI(dpi);
        m_hWnd = m_pFrame->Create(NULL, L"Orvane", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, 0);
        ASSERT_TRUE(m_hWnd != NULL);
        Pump();
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi));
        RECT rcClient = {};
        ::GetClientRect(m_hWnd, &rcClient);
        EXPECT_EQ((std::min)(::MulDiv(kPlayClientWidth, dpi, 96), int(mi.rcWork.right - mi.rcWork.left)),
                  rcClient.right);
        EXPECT_EQ((std::min)(::MulDiv(kPlayClientHeight, dpi, 96), int(mi.rcWork.bottom - mi.rcWork.top)),
                  rcClient.bottom);
        // The page's window leaves the scaled size box (4,4,6,6) to the window.
        ::UpdateWindow(m_hWnd);
        HWND hPage = m_pFrame->GetBrowser()->GetHostWindow();
        ASSERT_TRUE(hPage != NULL);
        const RECT rcPage = m_pFrame->GetBrowser()->GetPos();
        RECT rcShown = {};
        ASSERT_NE(ERROR, ::GetWindowRgnBox(hPage, &rcShown));
        EXPECT_EQ((std::max)(0L, ::MulDiv(4, dpi, 96) - rcPage.left), rcShown.left);
        EXPECT_EQ((std::min)(rcPage.right, rcClient.right - ::MulDiv(6, dpi, 96) + 1) - rcPage.left, rcShown.right);
        ::DestroyWindow(m_hWnd);
        Pump();
    }
    m_pFrame = NULL;
}

// See-through pixels of the icon show the title bar under the logo; opaque ones the icon's colour.
TEST_F(PlayWindowTest, LogoIsDrawnWithTheIconsOwnTransparency)
{
    CreateFrame();
    CControlUI* pLogo = Manager().FindControl(L"logo");
    const TImageInfo* pImage = Manager().GetImage(L"Logo.png");
    const RECT rc = pLogo->GetPos();
    ASSERT_TRUE(pImage != NULL && pImage->bAlpha);
    ASSERT_EQ(pImage->nWidth, rc.right - rc.left) << "the logo is drawn at its own size";
    ASSERT_EQ(pImage->nHeight, rc.bottom - rc.top);
    DIBSECTION dib = {};
    ASSERT_EQ(static_cast<int>(sizeof(dib)), ::GetObjectW(pImage->hBmp, sizeof(dib), &dib));
    const DWORD* pIcon = static_cast<const DWORD*>(dib.dsBm.bmBits);

    const std::vector<DWORD> withLogo = PrintClient();
    pLogo->SetBkImage(L"");
    const std::vector<DWORD> without = PrintClient();
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    int nClear = 0, nSolid = 0;
    for (int y = 0; y < pImage->nHeight; ++y) {
        for (int x = 0; x < pImage->nWidth; ++x) {
            const DWORD icon = pIcon[y * pImage->nWidth + x];
            const size_t i = static_cast<size_t>(rc.top + y) * rcClient.right + rc.left + x;
            if ((icon >> 24) == 0) {
                ++nClear;
                EXPECT_EQ(without[i], withLogo[i]) << x << "," << y;
            } else if ((icon >> 24) == 0xFF) {
                ++nSolid;
                EXPECT_EQ(icon & 0x00FFFFFF, withLogo[i]) << x << "," << y;
            }
        }
    }
    EXPECT_GT(nClear, 0);
    EXPECT_GT(nSolid, 0);
}

TEST_F(PlayWindowTest, ResizesDownToWhereEveryTitleButtonShowsAndAlsoByTheBorderOverThePage)
{
    CreateFrame();
    MINMAXINFO mmi = {};
    ::SendMessageW(m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    ::SetWindowPos(m_hWnd, NULL, 0, 0, mmi.ptMinTrackSize.x, mmi.ptMinTrackSize.y, SWP_NOZORDER | SWP_NOMOVE);
    ::UpdateWindow(m_hWnd);
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    RECT rcPrevious = Manager().FindControl(L"logo")->GetPos();
    for (LPCWSTR pstrName : {L"kefubtn", L"refreshbtn", L"minbtn", L"maxbtn", L"closebtn"}) {
        const RECT rc = Manager().FindControl(pstrName)->GetPos();
        EXPECT_TRUE(rc.left >= rcPrevious.right && rc.right <= rcClient.right && rc.right - rc.left == 27)
            << "squeezed or cut off";
        rcPrevious = rc;
    }
    EXPECT_GE(m_pFrame->GetBrowser()->GetPos().bottom - m_pFrame->GetBrowser()->GetPos().top, kPlayMinPageHeight);

    // The size box also works where the browser's own window lies under it.
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 800, 500, SWP_SHOWWINDOW);
    ::UpdateWindow(m_hWnd);
    ASSERT_TRUE(m_pFrame->GetBrowser()->GetHostWindow() != NULL);
    const RECT rcBrowser = m_pFrame->GetBrowser()->GetPos();
    const int yMiddle = (rcBrowser.top + rcBrowser.bottom) / 2;
    // An 800 x 500 client with the size box 4,4,6,6: x < 4 and x > 794, y > 494 resize.
    const struct { POINT pt; LRESULT code; } cases[] = {
        {{rcBrowser.left, yMiddle}, HTLEFT}, {{3, yMiddle}, HTLEFT},     {{795, yMiddle}, HTRIGHT},
        {{400, 495}, HTBOTTOM},              {{400, 499}, HTBOTTOM},     {{rcBrowser.left, 497}, HTBOTTOMLEFT},
        {{4, yMiddle}, HTCLIENT},            {{794, yMiddle}, HTCLIENT}, {{400, 494}, HTCLIENT},
    };
    for (const auto& c : cases) {
        POINT pt = c.pt;
        ::ClientToScreen(m_hWnd, &pt);
        HWND hUnder = ::WindowFromPoint(pt);
        EXPECT_EQ(c.code, ::SendMessageW(hUnder, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y))) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(c.code != HTCLIENT, hUnder == m_hWnd) << "window under " << c.pt.x << "," << c.pt.y;
    }
    // Maximised, the whole page is the browser's again.
    ::ShowWindow(m_hWnd, SW_MAXIMIZE);
    ::UpdateWindow(m_hWnd);
    EXPECT_EQ(ERROR, ::GetWindowRgnBox(m_pFrame->GetBrowser()->GetHostWindow(), &rcClient));
}

TEST_F(PlayWindowTest, TitleButtonsFollowTheWindowMinimiseAndAskBeforeQuitting)
{
    CreateFrame();
    ExpectButtonsFollowTheWindow("created");
    const struct { const char* how; UINT msg; WPARAM wParam; } ways[] = {
        {"system menu maximise", WM_SYSCOMMAND, SC_MAXIMIZE},
        {"system menu restore", WM_SYSCOMMAND, SC_RESTORE},
        {"caption double-click", WM_NCLBUTTONDBLCLK, HTCAPTION},
        {"minimise", WM_SYSCOMMAND, SC_MINIMIZE},
        {"tray click", kTrayCallbackMessage, 0},
        {"caption double-click again", WM_NCLBUTTONDBLCLK, HTCAPTION},
    };
    for (const auto& way : ways) {
        POINT pt = Centre(L"titelLabel");
        ::ClientToScreen(m_hWnd, &pt);
        const LPARAM lParam = way.msg == kTrayCallbackMessage ? WM_LBUTTONDOWN : MAKELPARAM(pt.x, pt.y);
        ::SendMessageW(m_hWnd, way.msg, way.wParam, lParam);
        Pump();
        ExpectButtonsFollowTheWindow(way.how);
    }

    // The buttons themselves.
    Click(L"restorebtn");
    EXPECT_FALSE(::IsZoomed(m_hWnd));
    ExpectButtonsFollowTheWindow("restore button");
    Click(L"maxbtn");
    EXPECT_TRUE(::IsZoomed(m_hWnd));
    ExpectButtonsFollowTheWindow("maximise button");

    // The close button and the close message ask; "no" keeps the game running.
    {
        CMessageBoxWatcher watcher(IDNO);
        Click(L"closebtn");
        ASSERT_TRUE(watcher.Seen());
        EXPECT_EQ(L"提示", watcher.Caption());
        EXPECT_EQ(L"正在游戏是否退出？", watcher.Text());
    }
    EXPECT_TRUE(::IsWindow(m_hWnd));
    {
        CMessageBoxWatcher watcher(IDNO);
        EXPECT_EQ(1, ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0));
        EXPECT_TRUE(watcher.Seen());
    }
    {
        CMessageBoxWatcher watcher(IDNO);
        ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(kCommandQuitGame, 0), 0);
        EXPECT_TRUE(watcher.Seen());
    }
    EXPECT_TRUE(::IsWindow(m_hWnd));

    Click(L"minbtn");
    EXPECT_TRUE(::IsIconic(m_hWnd));
}

TEST_F(PlayWindowTest, MaximiseButtonAnswersAsTheSystemsOwnAndStillClicksWithItsPictures)
{
    CreateFrame();
    auto HitTest = [this](POINT pt) {
        ::ClientToScreen(m_hWnd, &pt);
        return ::SendMessageW(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    };
    auto ButtonState = [this](LPCWSTR pstrName) {
        return static_cast<CButtonUI*>(Manager().FindControl(pstrName))->GetButtonState();
    };
    const POINT ptMax = Centre(L"maxbtn");
    const RECT rcMax = Manager().FindControl(L"maxbtn")->GetPos();
    const struct { POINT pt; LRESULT code; } codes[] = {
        {ptMax, HTMAXBUTTON}, {{rcMax.left, rcMax.bottom - 1}, HTMAXBUTTON}, {Centre(L"minbtn"), HTCLIENT},
        {Centre(L"closebtn"), HTCLIENT}, {{ptMax.x, 1}, HTTOP}, {Centre(L"titelLabel"), HTCAPTION},
    };
    for (const auto& c : codes) EXPECT_EQ(c.code, HitTest(c.pt)) << c.pt.x << "," << c.pt.y;

    // Pointer over it, pressed, released: the non-client messages reach the button.
    const std::vector<DWORD> normal = PrintClient();
    for (LPCWSTR pstrButton : {L"maxbtn", L"restorebtn"}) {
        ::UpdateWindow(m_hWnd);
        POINT pt = Centre(pstrButton);
        EXPECT_EQ(HTMAXBUTTON, HitTest(pt));
        POINT ptScreen = pt;
        ::ClientToScreen(m_hWnd, &ptScreen);
        const LPARAM lScreen = MAKELPARAM(ptScreen.x, ptScreen.y);
        ::SendMessageW(m_hWnd, WM_NCMOUSEMOVE, HTMAXBUTTON, lScreen);
        EXPECT_NE(0u, ButtonState(pstrButton) & STATE_HOT);
        if (pstrButton == std::wstring(L"maxbtn")) {
            EXPECT_NE(normal, PrintClient()) << "no hot picture";
        }
        ::SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTMAXBUTTON, lScreen);
        EXPECT_NE(0u, ButtonState(pstrButton) & STATE_PUSHED);
        const bool bWasZoomed = ::IsZoomed(m_hWnd) != FALSE;
        ::SendMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        Pump();
        EXPECT_NE(bWasZoomed, ::IsZoomed(m_hWnd) != FALSE) << "the click did not act";
        ::SendMessageW(m_hWnd, WM_NCMOUSELEAVE, 0, 0);
        EXPECT_EQ(0u, ButtonState(pstrButton) & (STATE_HOT | STATE_PUSHED));
    }
}

TEST_F(PlayWindowTest, TrayClickOrShowCommandBringsTheWindowBackAsItWas)
{
    CreateFrame();
    HWND hOther = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, NULL, NULL, NULL, NULL);
    const struct { const char* state; int showFirst; int showThen; } states[] = {
        {"hidden", SW_SHOWNORMAL, SW_HIDE},     {"minimised", SW_SHOWNORMAL, SW_MINIMIZE},
        {"minimised from maximised", SW_MAXIMIZE, SW_MINIMIZE}, {"behind another window", SW_MAXIMIZE, SW_SHOW},
    };
    const struct { UINT msg; WPARAM wParam; LPARAM lParam; } inputs[] = {
        {kTrayCallbackMessage, 0, WM_LBUTTONDOWN}, {kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK},
        {WM_COMMAND, MAKEWPARAM(kCommandShowGame, 0), 0},
    };
    for (const auto& state : states) {
        for (const auto& input : inputs) {
            ::ShowWindow(m_hWnd, state.showFirst);
            const bool bZoomed = ::IsZoomed(m_hWnd) != FALSE;
            ::ShowWindow(m_hWnd, state.showThen);
            ::SetForegroundWindow(hOther);
            ::SendMessageW(m_hWnd, input.msg, input.wParam, input.lParam);
            Pump();
            EXPECT_TRUE(::IsWindowVisible(m_hWnd) && !::IsIconic(m_hWnd)) << state.state;
            EXPECT_EQ(bZoomed, ::IsZoomed(m_hWnd) != FALSE) << state.state;
            EXPECT_EQ(m_hWnd, ::GetForegroundWindow()) << state.state;
            ExpectButtonsFollowTheWindow(state.state);
        }
    }
    ::DestroyWindow(hOther);
    // Anything else on the icon does nothing.
    ::ShowWindow(m_hWnd, SW_HIDE);
    EXPECT_EQ(1, ::SendMessageW(m_hWnd, kTrayCallbackMessage, 0, WM_MOUSEMOVE));
    EXPECT_FALSE(::IsWindowVisible(m_hWnd));
}

// The window may be destroyed from outside while its question is open.
HWND g_hDoomed = NULL;
void CALLBACK DestroyDoomed(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    ::KillTimer(NULL, idEvent);
    ::DestroyWindow(g_hDoomed);
}

TEST_F(PlayWindowTest, WindowDestroyedWhileItsQuestionIsOpenGoesCleanly)
{
    CreateFrame();
    g_hDoomed = m_hWnd;
    bool bDeleted = false;
    m_pFrame->m_pbDeleted = &bDeleted;
    ::SetTimer(NULL, 0, 300, DestroyDoomed);
    CMessageBoxWatcher watcher(IDNO, [](HWND) { ::Sleep(1000); });
    ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(m_hWnd));
    EXPECT_TRUE(bDeleted);
    m_pFrame = NULL;
}

TEST_F(PlayWindowTest, TrayIconComesBackWhenTheTaskbarIsMadeAnew)
{
    CreateFrame();
    NOTIFYICONDATAW data = m_pFrame->GetTrayIcon().GetData();
    if (!::Shell_NotifyIconW(NIM_MODIFY, &data)) GTEST_SKIP() << "no notification area on this desktop";
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &data));
    ::SendMessageW(m_hWnd, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &data)) << "the icon was not added again";
}

TEST(PageWindow, OnlyPlainWebAddressesMayLeaveForTheDefaultBrowser)
{
    for (LPCWSTR pstrAddress : {L"http://a", L"https://127.0.0.1:9/x?y=1#z", L"HTTP://A/", L"hTTpS://a.b/c%20d"}) {
        EXPECT_TRUE(IsWebAddress(pstrAddress)) << pstrAddress;
    }
    for (LPCWSTR pstrAddress : {L"", L"http://", L"https://", L"http:/a", L"http:a", L"httpx://a", L"ftp://a",
                                L"file:///C:/windows/win.ini", L"javascript:open('http://a')", L"about:blank",
                                L"mailto:a@b.test", L" http://a", L"http://a b", L"http://a\"b", L"http://a\tb",
                                L"http://a\x7f", L"\\\\server\\share", static_cast<LPCWSTR>(NULL)}) {
        EXPECT_FALSE(IsWebAddress(pstrAddress)) << (pstrAddress != NULL ? pstrAddress : L"(null)");
    }
}

TEST_F(PlayWindowTest, PagesOpeningWindowsSendWebAddressesToTheDefaultBrowserAndNothingElseAnywhere)
{
    CUrlRecorder recorder;
    ASSERT_TRUE(recorder.IsReady()) << "cannot stand in for the default browser";
    CreateFrame();
    ::UpdateWindow(m_hWnd);
    Pump();
    IDispatch* pSink = NULL;
    ASSERT_TRUE(m_pFrame->GetBrowser() != NULL && m_pFrame->GetBrowser()->GetWebBrowser2() != NULL);
    ASSERT_EQ(S_OK, m_pFrame->GetBrowser()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pSink)));
    for (LPCWSTR pstrRefused : {L"about:blank", L"javascript:open()", L"file:///C:/windows/win.ini", L""}) {
        EXPECT_EQ(VARIANT_TRUE, SendNewWindow(pSink, pstrRefused)) << pstrRefused;
    }
    EXPECT_EQ(VARIANT_TRUE, SendNewWindow(pSink, L"http://127.0.0.1:9/news.html"));
    EXPECT_EQ("http://127.0.0.1:9/news.html\n", recorder.Opened("http://127.0.0.1:9/news.html\n"));
    // The scheme goes in lower case, the rest as the page gave it.
    EXPECT_EQ(VARIANT_TRUE, SendNewWindow(pSink, L"HTTPS://127.0.0.1:9/Pay?id=7"));
    pSink->Release();
    const std::string both = "http://127.0.0.1:9/news.html\nhttps://127.0.0.1:9/Pay?id=7\n";
    EXPECT_EQ(both, recorder.Opened(both));
    // Time for anything refused that went out all the same.
    ::Sleep(300);
    EXPECT_EQ(both, recorder.Opened(both));
}

// The login web window's switch, as its browser reports navigations.
class PlaySwitchTest : public PlayWindowTest
{
protected:
    // Reports one navigation; returns whether the handler cancelled it.
    bool Navigate(CMircroClientWebFrame& web, LPCWSTR pstrAddress)
    {
        VARIANT url;
        ::VariantInit(&url);
        url.vt = VT_BSTR;
        url.bstrVal = ::SysAllocString(pstrAddress);
        VARIANT empty;
        ::VariantInit(&empty);
        VARIANT* pUrl = &url;
        VARIANT* pEmpty = &empty;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT_BOOL* pCancel = &cancel;
        web.BeforeNavigate2(NULL, pUrl, pEmpty, pEmpty, pEmpty, pEmpty, pCancel);
        ::VariantClear(&url);
        return cancel == VARIANT_TRUE;
    }

    // Reports a page's request for a new window; returns whether the handler cancelled it.
    bool OpenWindow(CWebBrowserEventHandler& web, LPCWSTR pstrAddress)
    {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT_BOOL* pCancel = &cancel;
        BSTR bstrAddress = ::SysAllocString(pstrAddress);
        web.NewWindow3(NULL, pCancel, 0, NULL, bstrAddress);
        ::SysFreeString(bstrAddress);
        return cancel == VARIANT_TRUE;
    }
};

TEST_F(PlaySwitchTest, OnlyTheExactKeywordOpensThePlayWindowOnce)
{
    CMircroClientWebFrame* web = new CMircroClientWebFrame;
    EXPECT_FALSE(Navigate(*web, L"http://127.0.0.1:9/login.html"));
    EXPECT_FALSE(Navigate(*web, L"http://127.0.0.1:9/game.html?CLIENT=PC"));
    EXPECT_TRUE(web->GetPlayFrame() == NULL);

    // Text ahead of an embedded address is dropped.
    EXPECT_TRUE(Navigate(*web, L"res://x/redirect?to=http://127.0.0.1:9/game.html#client=pc"));
    CMircroClientPlayFrame* play = web->GetPlayFrame();
    ASSERT_TRUE(play != NULL);
    EXPECT_STREQ(L"http://127.0.0.1:9/game.html#client=pc", play->GetPlayAddress());
    HWND hPlay = play->GetHWND();
    ASSERT_TRUE(::IsWindow(hPlay));
    EXPECT_TRUE(::IsZoomed(hPlay));
    EXPECT_TRUE(::IsWindowVisible(hPlay));

    // A second match keeps the play window and its address, and maximises it again.
    ::ShowWindow(hPlay, SW_RESTORE);
    EXPECT_TRUE(Navigate(*web, L"http://127.0.0.1:9/other?client=pc"));
    EXPECT_EQ(play, web->GetPlayFrame());
    EXPECT_STREQ(L"http://127.0.0.1:9/game.html#client=pc", play->GetPlayAddress());
    EXPECT_TRUE(::IsZoomed(hPlay));

    // The web window takes its play window with it.
    delete web;
    Pump();
    EXPECT_FALSE(::IsWindow(hPlay));
}

TEST_F(PlaySwitchTest, SecureAddressesPassUnchangedAndAnEmptyKeywordNeverSwitches)
{
    CMircroClientWebFrame* web = new CMircroClientWebFrame;
    EXPECT_TRUE(Navigate(*web, L"https://127.0.0.1:9/game.html?client=pc"));
    ASSERT_TRUE(web->GetPlayFrame() != NULL);
    EXPECT_STREQ(L"https://127.0.0.1:9/game.html?client=pc", web->GetPlayFrame()->GetPlayAddress());
    delete web;
    Pump();

    GetClientConfig().m_sPlayGameKeyWord = L"";
    web = new CMircroClientWebFrame;
    EXPECT_FALSE(Navigate(*web, L"http://127.0.0.1:9/login.html"));
    EXPECT_TRUE(web->GetPlayFrame() == NULL);
    delete web;
}

TEST_F(PlaySwitchTest, APageOpeningTheGameInAWindowOfItsOwnSwitchesToPlay)
{
    CMircroClientWebFrame* web = new CMircroClientWebFrame;
    EXPECT_TRUE(OpenWindow(*web, L"mailto:a@b.test"));
    EXPECT_TRUE(web->GetPlayFrame() == NULL);
    EXPECT_TRUE(OpenWindow(*web, L"http://127.0.0.1:9/game.html?client=pc"));
    ASSERT_TRUE(web->GetPlayFrame() != NULL);
    EXPECT_STREQ(L"http://127.0.0.1:9/game.html?client=pc", web->GetPlayFrame()->GetPlayAddress());
    EXPECT_TRUE(::IsZoomed(web->GetPlayFrame()->GetHWND()));
    delete web;
    Pump();
}

} // namespace
