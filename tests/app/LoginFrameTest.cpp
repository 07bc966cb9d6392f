// Tests of the login frame and of what it shares with the play window: keys, bringing forward, a second start.
#include "veneer/core/UISetup.h"
#include "app/LoginFrame.h"
#include "app/LoginWebFrame.h"
#include "app/PlayFrame.h"
#include "LauncherWindowTest.h"

using namespace Veneer;

namespace {

typedef CTestLauncherWindow<CMicroClientLogin> CTestLoginFrame;
typedef CTestLauncherWindow<CMircroClientPlayFrame> CTestPlayFrame;

class LoginFrameTest : public LauncherWindowTest
{
protected:
    void TearDown() override
    {
        for (HWND hWnd : m_windows) {
            if (::IsWindow(hWnd)) ::DestroyWindow(hWnd);
        }
        LauncherWindowTest::TearDown();
    }

    template <class TWindow>
    TWindow* Create(DWORD dwStyle)
    {
        TWindow* pWindow = new TWindow;
        m_windows.push_back(pWindow->Create(NULL, L"Orvane", dwStyle, 0, 0, 0, 0, 0));
        EXPECT_TRUE(m_windows.back() != NULL);
        ::UpdateWindow(pWindow->GetHWND());
        Pump();
        return pWindow;
    }

    std::vector<HWND> m_windows;
};

// Neither window gives a title button the keyboard: the first paint focuses nothing, Tab finds no stop,
// and Return, Space and Escape neither click a button, even one just clicked, nor close the window.
TEST_F(LoginFrameTest, KeysDoNothingInTheLoginFrameAndThePlayWindow)
{
    CTestLoginFrame* pLogin = Create<CTestLoginFrame>(kLoginFrameStyle);
    CTestPlayFrame* pPlay = Create<CTestPlayFrame>(WS_VISIBLE | WS_OVERLAPPEDWINDOW);
    struct { const char* name; HWND hWnd; CPaintManagerUI& manager; int& clicks; LPCWSTR button; } windows[] = {
        {"login frame", pLogin->GetHWND(), pLogin->Manager(), pLogin->m_nClicks, L"minbtn"},
        {"play window", pPlay->GetHWND(), pPlay->Manager(), pPlay->m_nClicks, L"minbtn"},
    };
    for (auto& w : windows) {
        ::SetForegroundWindow(w.hWnd);
        ::ShowWindow(w.hWnd, SW_RESTORE);
        ::UpdateWindow(w.hWnd);
        EXPECT_TRUE(w.manager.GetFocus() == NULL) << w.name;
        PressKey(w.hWnd, VK_TAB);
        ::UpdateWindow(w.hWnd);
        EXPECT_TRUE(w.manager.GetFocus() == NULL) << w.name;
        for (int pass = 0; pass < 2; ++pass) {
            for (WPARAM vk : {VK_RETURN, VK_SPACE, VK_ESCAPE}) PressKey(w.hWnd, vk);
            EXPECT_EQ(pass, w.clicks) << w.name;
            EXPECT_TRUE(::IsWindowVisible(w.hWnd) && !::IsIconic(w.hWnd)) << w.name;
            // The minimise button, clicked with the mouse, minimises once.
            if (pass == 0) {
                Click(w.manager, w.button);
                EXPECT_TRUE(::IsIconic(w.hWnd)) << w.name;
                ::ShowWindow(w.hWnd, SW_RESTORE);
                ::SetForegroundWindow(w.hWnd);
            }
        }
    }
    // The login web window keeps its own Escape: it closes alone.
    CMircroClientWebFrame* pWeb = pLogin->GetLoginWebFrame();
    ASSERT_TRUE(pWeb != NULL);
    HWND hWeb = pWeb->GetHWND();
    PressKey(hWeb, VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(hWeb));
    EXPECT_TRUE(pLogin->GetLoginWebFrame() == NULL);
    EXPECT_TRUE(::IsWindow(pLogin->GetHWND()));
}

// What a second start asks of the running launcher: its login frame, or the play window once the game
// runs, comes back as it was and to the front. A launcher of another client name is left alone.
TEST_F(LoginFrameTest, SecondStartBringsTheVisibleWindowForwardAsItWas)
{
    CTestLoginFrame* pLogin = Create<CTestLoginFrame>(kLoginFrameStyle);
    HWND hLogin = pLogin->GetHWND();
    HWND hOther = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, NULL, NULL, NULL, NULL);
    m_windows.push_back(hOther);

    ::ShowWindow(hLogin, SW_MINIMIZE);
    EXPECT_FALSE(BringRunningLauncherForward(L"Another client"));
    EXPECT_TRUE(::IsIconic(hLogin));
    ::SetForegroundWindow(hOther);
    EXPECT_TRUE(BringRunningLauncherForward(L"Orvane test"));
    EXPECT_FALSE(::IsIconic(hLogin));
    EXPECT_EQ(hLogin, ::GetForegroundWindow());

    // The play switch: the login frame is hidden, the play window maximised.
    CMircroClientWebFrame* pWeb = pLogin->GetLoginWebFrame();
    ASSERT_TRUE(pWeb != NULL);
    VARIANT url;
    ::VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = ::SysAllocString(L"http://127.0.0.1:9/game.html?client=pc");
    VARIANT* pUrl = &url;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT_BOOL* pCancel = &cancel;
    pWeb->BeforeNavigate2(NULL, pUrl, pUrl, pUrl, pUrl, pUrl, pCancel);
    ::VariantClear(&url);
    ASSERT_TRUE(pWeb->GetPlayFrame() != NULL);
    HWND hPlay = pWeb->GetPlayFrame()->GetHWND();
    EXPECT_FALSE(::IsWindowVisible(hLogin));
    ASSERT_TRUE(::IsZoomed(hPlay));

    ::ShowWindow(hPlay, SW_MINIMIZE);
    ::SetForegroundWindow(hOther);
    EXPECT_TRUE(BringRunningLauncherForward(L"Orvane test"));
    EXPECT_TRUE(::IsZoomed(hPlay) && !::IsIconic(hPlay));
    EXPECT_EQ(hPlay, ::GetForegroundWindow());
    EXPECT_FALSE(::IsWindowVisible(hLogin)) << "the login frame stays hidden while the game runs";
}

} // namespace
