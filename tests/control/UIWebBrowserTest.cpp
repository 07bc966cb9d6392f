// Tests of the web browser control: the system browser object's navigation events, and the host answers.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "HostWindowFixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

const GUID kDownloadManager = { 0x988934A4, 0x064B, 0x11D3, { 0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9 } };
const GUID kCgidDocHostCommandHandler = { 0xF38BC242, 0xB950, 0x11D1,
                                          { 0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36 } };
const IID kIidNull = {};

// Records the addresses the browser is about to open and cancels those holding a chosen word.
class CRecordingHandler : public CWebBrowserEventHandler
{
public:
    void BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                         VARIANT_BOOL*& Cancel) override
    {
        std::wstring address = (url != NULL && url->vt == VT_BSTR && url->bstrVal != NULL) ? url->bstrVal : L"";
        before.push_back(address);
        if (!cancelWord.empty() && address.find(cancelWord) != std::wstring::npos && Cancel != NULL) {
            *Cancel = VARIANT_TRUE;
        }
    }
    void NavigateComplete2(IDispatch*, VARIANT*& url, LPCWSTR pstrName) override
    {
        complete.push_back(url != NULL && url->vt == VT_BSTR ? url->bstrVal : L"");
        browserName = pstrName;
    }
    void CommandStateChange(long Command, VARIANT_BOOL Enable) override
    {
        commands.push_back(Enable == VARIANT_TRUE ? Command : -Command);
    }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }

    std::wstring cancelWord;
    std::vector<std::wstring> before;
    std::vector<std::wstring> complete;
    std::vector<long> commands;
    std::wstring browserName;
};

// Waits until the handler has seen the given number of navigations (or the time is up).
class WebBrowserTest : public HostTest::HostWindowTest
{
protected:
    CWebBrowserUI* Find(const wchar_t* name) { return static_cast<CWebBrowserUI*>(m_pm->FindControl(name)); }

    void PumpUntil(const std::vector<std::wstring>& seen, size_t count, DWORD ms = 3000)
    {
        const DWORD start = ::GetTickCount();
        while (seen.size() < count && ::GetTickCount() - start < ms) Pump(20);
    }
};

// One BeforeNavigate2 event built as the browser sends it (arguments last first).
struct TBeforeNavigateEvent
{
    explicit TBeforeNavigateEvent(LPCWSTR address)
    {
        ::VariantInit(&url);
        url.vt = VT_BSTR;
        url.bstrVal = ::SysAllocString(address);
        for (VARIANT& v : empty) ::VariantInit(&v);
        for (int i = 0; i < 7; ++i) ::VariantInit(&args[i]);
        args[6].vt = VT_DISPATCH;
        args[5].vt = VT_VARIANT | VT_BYREF;
        args[5].pvarVal = &url;
        for (int i = 1; i <= 4; ++i) {
            args[i].vt = VT_VARIANT | VT_BYREF;
            args[i].pvarVal = &empty[i - 1];
        }
        args[0].vt = VT_BOOL | VT_BYREF;
        args[0].pboolVal = &cancel;
        params.rgvarg = args;
        params.cArgs = 7;
    }
    ~TBeforeNavigateEvent() { ::VariantClear(&url); }

    VARIANT url;
    VARIANT empty[4];
    VARIANT args[7];
    VARIANT_BOOL cancel = VARIANT_FALSE;
    DISPPARAMS params = {};
};

TEST_F(WebBrowserTest, AutoNavigationOpensBlankThenTheHomePageAndHandlersCanCancel)
{
    CControlUI* root = Build(L"<WebBrowser name=\"web\" homepage=\"http://127.0.0.1:9/play?client=pc\" "
                             L"autonavi=\"true\"/>");
    ASSERT_TRUE(root != NULL);
    CWebBrowserUI* web = Find(L"web");
    ASSERT_TRUE(web != NULL);
    EXPECT_STREQ(L"WebBrowserUI", web->GetClass());
    EXPECT_TRUE(web->IsAutoNavigation());
    EXPECT_TRUE(web->IsDelayCreate());
    EXPECT_TRUE(web->GetWebBrowser2() == NULL) << "nothing is created before the first layout";

    CRecordingHandler handler;
    handler.cancelWord = L"client=pc";
    web->SetWebBrowserEventHandler(&handler);
    web->SetWebBrowserEventHandler(NULL);
    EXPECT_EQ(&handler, web->GetWebBrowserEventHandler()) << "a null handler changes nothing";

    Layout(root);
    ASSERT_TRUE(web->GetWebBrowser2() != NULL);
    PumpUntil(handler.before, 2);
    ASSERT_GE(handler.before.size(), 2u);
    EXPECT_EQ(L"about:blank", handler.before[0]);
    EXPECT_EQ(L"http://127.0.0.1:9/play?client=pc", handler.before[1]);

    // Setting the home page later does not navigate; asking for it does (and is cancelled here).
    const size_t seen = handler.before.size();
    web->SetHomePage(L"http://127.0.0.1:9/other?client=pc");
    Pump(200);
    EXPECT_EQ(seen, handler.before.size());
    web->NavigateHomePage();
    PumpUntil(handler.before, seen + 1);
    ASSERT_EQ(seen + 1, handler.before.size());
    EXPECT_EQ(L"http://127.0.0.1:9/other?client=pc", handler.before.back());
}

TEST_F(WebBrowserTest, WithoutAutoNavigationNothingOpens)
{
    CControlUI* root = Build(L"<WebBrowser name=\"web\" homepage=\"about:blank\" autonavi=\"True\"/>");
    ASSERT_TRUE(root != NULL);
    CWebBrowserUI* web = Find(L"web");
    EXPECT_FALSE(web->IsAutoNavigation()) << "only the exact text true turns it on";
    CRecordingHandler handler;
    web->SetWebBrowserEventHandler(&handler);
    Layout(root);
    ASSERT_TRUE(web->GetWebBrowser2() != NULL);
    Pump(300);
    EXPECT_TRUE(handler.before.empty());

    // A direct navigation reaches the handler with the address as given.
    web->Navigate2(L"about:blank#x");
    PumpUntil(handler.before, 1);
    ASSERT_EQ(1u, handler.before.size());
    EXPECT_EQ(L"about:blank#x", handler.before[0]);
}

TEST_F(WebBrowserTest, EventDispatchChecksItsArguments)
{
    CWebBrowserUI web;
    web.SetName(L"web");
    CRecordingHandler handler;
    handler.cancelWord = L"client=pc";
    web.SetWebBrowserEventHandler(&handler);

    TBeforeNavigateEvent event(L"http://host/a?client=pc");
    EXPECT_EQ(S_OK, web.Invoke(250, kIidNull, 2048, DISPATCH_METHOD, &event.params, NULL, NULL, NULL));
    ASSERT_EQ(1u, handler.before.size());
    EXPECT_EQ(VARIANT_TRUE, event.cancel);

    // An interface id other than the null one, an unknown id, and a short argument list.
    IID other = IID_IUnknown;
    EXPECT_EQ(E_INVALIDARG, web.Invoke(250, other, 2048, DISPATCH_METHOD, &event.params, NULL, NULL, NULL));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, web.Invoke(4242, kIidNull, 2048, DISPATCH_METHOD, &event.params, NULL, NULL, NULL));
    event.params.cArgs = 2;
    EXPECT_EQ(S_OK, web.Invoke(250, kIidNull, 2048, DISPATCH_METHOD, &event.params, NULL, NULL, NULL));
    EXPECT_EQ(S_OK, web.Invoke(250, kIidNull, 2048, DISPATCH_METHOD, NULL, NULL, NULL, NULL));
    EXPECT_EQ(1u, handler.before.size()) << "malformed events are dropped";

    // Command state and status text; progress never comes through.
    VARIANT cmd[2];
    ::VariantInit(&cmd[0]);
    ::VariantInit(&cmd[1]);
    cmd[1].vt = VT_I4;
    cmd[1].lVal = CSC_NAVIGATEBACK;
    cmd[0].vt = VT_BOOL;
    cmd[0].boolVal = VARIANT_TRUE;
    DISPPARAMS cmdParams = { cmd, NULL, 2, 0 };
    EXPECT_EQ(S_OK, web.Invoke(105, kIidNull, 2048, DISPATCH_METHOD, &cmdParams, NULL, NULL, NULL));
    ASSERT_EQ(1u, handler.commands.size());
    EXPECT_EQ(static_cast<long>(CSC_NAVIGATEBACK), handler.commands[0]);
    EXPECT_EQ(S_OK, web.Invoke(102, kIidNull, 2048, DISPATCH_METHOD, &cmdParams, NULL, NULL, NULL));

    // The ambient download control: images and videos only.
    VARIANT result;
    ::VariantInit(&result);
    DISPPARAMS none = {};
    EXPECT_EQ(S_OK, web.Invoke(-5512, kIidNull, 2048, DISPATCH_PROPERTYGET, &none, &result, NULL, NULL));
    EXPECT_EQ(VT_I4, result.vt);
    EXPECT_EQ(0x30, result.lVal);

    // Navigation complete passes the control's name along.
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(L"about:blank");
    VARIANT complete[2];
    ::VariantInit(&complete[0]);
    ::VariantInit(&complete[1]);
    complete[1].vt = VT_DISPATCH;
    complete[0].vt = VT_VARIANT | VT_BYREF;
    complete[0].pvarVal = &url;
    DISPPARAMS completeParams = { complete, NULL, 2, 0 };
    EXPECT_EQ(S_OK, web.Invoke(252, kIidNull, 2048, DISPATCH_METHOD, &completeParams, NULL, NULL, NULL));
    ASSERT_EQ(1u, handler.complete.size());
    EXPECT_EQ(L"about:blank", handler.complete[0]);
    EXPECT_EQ(L"web", handler.browserName);
    ::VariantClear(&url);
}

TEST_F(WebBrowserTest, HostAnswersWithAndWithoutAHandler)
{
    CWebBrowserUI web;

    // COM identity: the four host interfaces, nothing else (not even IUnknown).
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, web.QueryInterface(IID_IUnknown, &p));
    EXPECT_TRUE(p == NULL);
    IDocHostUIHandler* host = NULL;
    ASSERT_EQ(S_OK, web.QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&host)));
    IOleCommandTarget* target = NULL;
    ASSERT_EQ(S_OK, web.QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target)));
    IServiceProvider* services = NULL;
    ASSERT_EQ(S_OK, web.QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services)));

    DOCHOSTUIINFO info = {};
    info.dwFlags = DOCHOSTUIFLAG_DIALOG;
    info.dwDoubleClick = DOCHOSTUIDBLCLK_SHOWCODE;
    EXPECT_EQ(S_OK, host->GetHostInfo(&info));
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO |
                                 DOCHOSTUIFLAG_DPI_AWARE),
              info.dwFlags);
    EXPECT_EQ(static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT), info.dwDoubleClick);
    EXPECT_EQ(sizeof(DOCHOSTUIINFO), info.cbSize);
    EXPECT_EQ(E_INVALIDARG, host->GetHostInfo(NULL));

    POINT pt = { 1, 1 };
    EXPECT_EQ(S_OK, host->ShowContextMenu(0, &pt, NULL, NULL)) << "no context menu without a handler";
    EXPECT_EQ(E_NOTIMPL, host->OnFrameWindowActivate(TRUE));
    EXPECT_EQ(S_FALSE, host->GetExternal(NULL));
    OLECHAR* out = reinterpret_cast<OLECHAR*>(1);
    EXPECT_EQ(E_NOTIMPL, host->TranslateUrl(0, const_cast<OLECHAR*>(L"x"), &out));
    EXPECT_TRUE(out == NULL);

    // Script errors never show a dialog; other groups and commands are refused.
    VARIANT keepRunning;
    ::VariantInit(&keepRunning);
    EXPECT_EQ(S_OK, target->Exec(&kCgidDocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, NULL, &keepRunning));
    EXPECT_EQ(VT_BOOL, keepRunning.vt);
    EXPECT_EQ(VARIANT_TRUE, keepRunning.boolVal);
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, target->Exec(&kCgidDocHostCommandHandler, 41, 0, NULL, NULL));
    EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP, target->Exec(NULL, OLECMDID_SHOWSCRIPTERROR, 0, NULL, NULL));
    EXPECT_EQ(OLECMDERR_E_UNKNOWNGROUP, target->Exec(&IID_IUnknown, OLECMDID_SHOWSCRIPTERROR, 0, NULL, NULL));
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, target->QueryStatus(NULL, 0, NULL, NULL));

    // The download manager service: downloads are swallowed.
    IUnknown* manager = NULL;
    ASSERT_EQ(S_OK, services->QueryService(kDownloadManager, kDownloadManager, reinterpret_cast<void**>(&manager)));
    ASSERT_TRUE(manager != NULL);
    manager->Release();
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, services->QueryService(kDownloadManager, IID_IUnknown, &none));
    EXPECT_TRUE(none == NULL);
    EXPECT_EQ(S_OK, web.Download(NULL, NULL, 0, 0, NULL, NULL, NULL, 0));

    // With a handler, its answers win.
    CRecordingHandler handler;
    web.SetWebBrowserEventHandler(&handler);
    EXPECT_EQ(S_FALSE, host->ShowContextMenu(0, &pt, NULL, NULL));
    EXPECT_EQ(S_OK, host->OnFrameWindowActivate(TRUE));
    EXPECT_EQ(E_NOTIMPL, host->GetExternal(NULL));

    host->Release();
    target->Release();
    services->Release();

    // Keys: only key messages, only with a browser.
    MSG msg = {};
    msg.message = WM_MOUSEMOVE;
    EXPECT_EQ(S_FALSE, web.TranslateAccelerator(&msg));
    msg.message = WM_KEYDOWN;
    EXPECT_EQ(E_NOTIMPL, web.TranslateAccelerator(&msg));
}

TEST_F(WebBrowserTest, KeysReachThePageOnlyWhileItHasTheFocus)
{
    CControlUI* root = Build(L"<WebBrowser name=\"web\"/>");
    ASSERT_TRUE(root != NULL);
    Layout(root);
    CWebBrowserUI* web = Find(L"web");
    ASSERT_TRUE(web->GetWebBrowser2() != NULL);
    ASSERT_TRUE(web->GetHostWindow() != NULL);
    ::SetFocus(NULL);
    MSG msg = {};
    msg.hwnd = m_hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    EXPECT_EQ(S_FALSE, web->TranslateAccelerator(&msg));

    // A second creation replaces the browser and its window.
    IWebBrowser2* first = web->GetWebBrowser2();
    first->AddRef();
    web->SetDelayCreate(false);
    web->CreateControl(L"{8856F961-340A-11D0-A96B-00C04FD705A2}");
    ASSERT_TRUE(web->GetWebBrowser2() != NULL);
    EXPECT_NE(first, web->GetWebBrowser2());
    first->Release();
    HWND host = ChildOfClass(L"ActiveXWnd");
    ASSERT_TRUE(host != NULL);
    EXPECT_TRUE(::FindWindowExW(m_hWnd, host, L"ActiveXWnd", NULL) == NULL);
}

} // namespace
