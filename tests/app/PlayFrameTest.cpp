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

// The play window with its paint manager in reach of the tests.
class CTestPlayFrame : public CMircroClientPlayFrame
{
public:
    CPaintManagerUI& Manager() { return m_PaintManager; }
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
        ::DestroyWindow(m_hWnd);
        Pump();
    }
    m_pFrame = NULL;
}

TEST_F(PlayWindowTest, TitleButtonsSwapMinimiseAndAskBeforeQuitting)
{
    CreateFrame();
    EXPECT_TRUE(IsShown(L"restorebtn"));
    EXPECT_FALSE(IsShown(L"maxbtn"));
    ::ShowWindow(m_hWnd, SW_MAXIMIZE);
    Pump();

    Click(L"restorebtn");
    EXPECT_FALSE(IsShown(L"restorebtn"));
    EXPECT_TRUE(IsShown(L"maxbtn"));
    EXPECT_FALSE(::IsZoomed(m_hWnd));

    Click(L"maxbtn");
    EXPECT_TRUE(IsShown(L"restorebtn"));
    EXPECT_FALSE(IsShown(L"maxbtn"));
    EXPECT_TRUE(::IsZoomed(m_hWnd));

    // Escape and Return do nothing here.
    ::SendMessageW(m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    ::SendMessageW(m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_TRUE(::IsWindow(m_hWnd));

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

TEST_F(PlayWindowTest, TrayClicksShowOnlyAHiddenWindow)
{
    CreateFrame();
    ::ShowWindow(m_hWnd, SW_HIDE);
    EXPECT_EQ(1, ::SendMessageW(m_hWnd, kTrayCallbackMessage, 0, WM_MOUSEMOVE));
    EXPECT_FALSE(::IsWindowVisible(m_hWnd));
    EXPECT_EQ(1, ::SendMessageW(m_hWnd, kTrayCallbackMessage, 0, WM_LBUTTONDOWN));
    EXPECT_TRUE(::IsWindowVisible(m_hWnd));

    // A minimised window counts as shown: a click leaves it minimised.
    ::ShowWindow(m_hWnd, SW_MINIMIZE);
    ::SendMessageW(m_hWnd, kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(::IsIconic(m_hWnd));

    ::ShowWindow(m_hWnd, SW_HIDE);
    ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(kCommandShowGame, 0), 0);
    EXPECT_TRUE(::IsWindowVisible(m_hWnd));
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
