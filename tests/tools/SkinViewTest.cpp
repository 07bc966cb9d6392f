// Tests of the skin preview tool: a layout in a real window, built again as its files change on disk at
// the window's size, a broken file reported in the window, and what the skin does printed as it happens.
#include "veneer/core/UISetup.h"
#include "SkinView.h"

#include "render/DibCanvas.h"
#include "support/PngFiles.h"
#include "support/ResourceScope.h"
#include "support/TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

// A button over a background image, with an attribute and a tag the framework does not know.
std::string Layout(const char* pstrButtons)
{
    return std::string("<Window size=\"300,200\"><VerticalLayout bkimage=\"bg.png\">") + pstrButtons +
           "<Buton name=\"typo\" /><Control /></VerticalLayout></Window>";
}

const char kFirst[] = "<Button name=\"first\" height=\"40\" text=\"First\" hotimg=\"x.png\" />";
const char kFirstAndSecond[] = "<Button name=\"first\" height=\"40\" text=\"First\" />"
                               "<Button name=\"second\" height=\"40\" text=\"Second\" />";
const char kBroken[] = "<Window><VerticalLayout><Button name=\"third\"></Window>";

class SkinViewTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_temp.IsValid()); }

    CSkinViewWnd* Open(const std::wstring& source, const std::wstring& layout = std::wstring())
    {
        TSkinViewOptions options;
        options.skin.kind = layout.empty() ? SKIN_FROM_XML_FILE : SKIN_FROM_ZIP;
        options.skin.source = source;
        options.skin.layout = layout;
        m_pView.reset(new CSkinViewWnd(options, [this](const std::wstring& line) { m_log.push_back(line); }));
        m_pView->SetCheckInterval(20);
        if (!m_pView->Open()) return NULL;
        ::ShowWindow(m_pView->GetHWND(), SW_SHOWNOACTIVATE);
        return m_pView.get();
    }

    // Dispatches this thread's messages until the condition holds; false after a few seconds.
    template <class TCondition> bool PumpUntil(TCondition condition)
    {
        const DWORD dwStart = ::GetTickCount();
        for (;;) {
            MSG msg;
            while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (condition()) return true;
            if (::GetTickCount() - dwStart > 5000) return false;
            ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        }
    }

    bool Logged(const std::wstring& part) const
    {
        for (const std::wstring& line : m_log) {
            if (line.find(part) != std::wstring::npos) return true;
        }
        return false;
    }

    CControlUI* Find(LPCWSTR pstrName) const { return m_pView->GetManager()->FindControl(pstrName); }

    // The colour the window paints at a client point.
    DWORD PixelAt(int x, int y) const
    {
        RECT rc = {};
        ::GetClientRect(m_pView->GetHWND(), &rc);
        CDibCanvas canvas(rc.right, rc.bottom);
        ::SendMessageW(m_pView->GetHWND(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
        return canvas.Get(x, y) & 0xFFFFFF;
    }

    SIZE WindowSize() const
    {
        RECT rc = {};
        ::GetWindowRect(m_pView->GetHWND(), &rc);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }

    CResourceScope m_scope;
    CTempFolder m_temp;
    std::vector<std::wstring> m_log;
    std::unique_ptr<CSkinViewWnd> m_pView;
};

TEST_F(SkinViewTest, EditsRebuildTheWindowAtItsSizeAndABrokenFileIsShownInIt)
{
    ASSERT_TRUE(m_temp.WriteFile(L"layout.xml", Layout(kFirst)));
    ASSERT_TRUE(m_temp.WriteFile(L"bg.png", SolidPng(255, 0, 0, 255)));
    ASSERT_TRUE(Open(m_temp.GetFile(L"layout.xml")) != NULL);

    // The first build: the layout's size is the client size; what the framework ignores is reported.
    RECT rcClient = {};
    ::GetClientRect(m_pView->GetHWND(), &rcClient);
    EXPECT_EQ(300, rcClient.right);
    EXPECT_EQ(200, rcClient.bottom);
    ASSERT_TRUE(Find(L"first") != NULL);
    EXPECT_TRUE(Logged(L"built layout.xml: "));
    EXPECT_TRUE(Logged(L"ButtonUI \"first\" ignores the attribute hotimg=\"x.png\""));
    EXPECT_TRUE(Logged(L"unknown tag <Buton>"));
    EXPECT_TRUE(PumpUntil([&]() { return PixelAt(150, 150) == 0x00FF0000u; }));

    // The user resizes the window; the layout gains a control and the image turns green.
    ::SetWindowPos(m_pView->GetHWND(), NULL, 0, 0, 520, 380, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    const SIZE szUser = WindowSize();
    ASSERT_TRUE(m_temp.WriteFile(L"layout.xml", Layout(kFirstAndSecond)));
    ASSERT_TRUE(m_temp.WriteFile(L"bg.png", SolidPng(0, 255, 0, 255)));
    ASSERT_TRUE(PumpUntil([&]() { return Find(L"second") != NULL && PixelAt(150, 150) == 0x0000FF00u; }));
    EXPECT_EQ(szUser.cx, WindowSize().cx);
    EXPECT_EQ(szUser.cy, WindowSize().cy);
    EXPECT_TRUE(Logged(L"files changed"));

    // A click on the new button is printed as it happens.
    const RECT rcSecond = Find(L"second")->GetPos();
    const LPARAM lPoint = MAKELPARAM((rcSecond.left + rcSecond.right) / 2, (rcSecond.top + rcSecond.bottom) / 2);
    ::SendMessageW(m_pView->GetHWND(), WM_MOUSEMOVE, 0, lPoint);
    ::SendMessageW(m_pView->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
    ::SendMessageW(m_pView->GetHWND(), WM_LBUTTONUP, 0, lPoint);
    EXPECT_TRUE(PumpUntil([&]() { return Logged(L"notify: click from ButtonUI \"second\""); }));

    // A broken file: the window stays, and shows what the parser says about it.
    ASSERT_TRUE(m_temp.WriteFile(L"layout.xml", kBroken));
    ASSERT_TRUE(PumpUntil([&]() { return !m_pView->GetError().empty(); }));
    ASSERT_TRUE(::IsWindow(m_pView->GetHWND()));
    CMarkup markup;
    ASSERT_FALSE(markup.Load(L"<Window><VerticalLayout><Button name=\"third\"></Window>"));
    wchar_t szParser[256] = {};
    markup.GetLastErrorMessage(szParser, lengthof(szParser));
    ASSERT_NE(L'\0', szParser[0]);
    CControlUI* pError = Find(L"skinview_error");
    ASSERT_TRUE(pError != NULL);
    EXPECT_NE(std::wstring::npos, std::wstring(pError->GetText().GetData()).find(szParser)) << pError->GetText().GetData();
    EXPECT_TRUE(Logged(std::wstring(L"error: cannot build layout.xml: ") + szParser));
    EXPECT_EQ(szUser.cx, WindowSize().cx);

    // Mended, it is built again.
    ASSERT_TRUE(m_temp.WriteFile(L"layout.xml", Layout("<Button name=\"third\" />")));
    ASSERT_TRUE(PumpUntil([&]() { return Find(L"third") != NULL; }));
    EXPECT_TRUE(m_pView->GetError().empty());
    EXPECT_TRUE(Find(L"skinview_error") == NULL);
}

TEST_F(SkinViewTest, ArchiveIsWatchedAndAMissingLayoutIsReported)
{
    CZipWriter zip;
    zip.Add("layout.xml", Layout(kFirst));
    zip.Add("bg.png", SolidPng(0, 0, 255, 255), false);
    ASSERT_TRUE(zip.WriteFile(m_temp.GetFile(L"skin.zip").c_str()));
    ASSERT_TRUE(Open(m_temp.GetFile(L"skin.zip"), L"layout.xml") != NULL);
    ASSERT_TRUE(Find(L"first") != NULL);
    EXPECT_TRUE(PumpUntil([&]() { return PixelAt(150, 150) == 0x000000FFu; }));

    // A new archive without the layout: reported in the window; with it again, rebuilt.
    CZipWriter other;
    other.Add("other.xml", Layout(kFirst));
    ASSERT_TRUE(other.WriteFile(m_temp.GetFile(L"skin.zip").c_str()));
    ASSERT_TRUE(PumpUntil([&]() { return !m_pView->GetError().empty(); }));
    EXPECT_NE(std::wstring::npos, m_pView->GetError().find(L"no layout 'layout.xml' in archive"));
    zip.Add("more.xml", "<Window />");
    ASSERT_TRUE(zip.WriteFile(m_temp.GetFile(L"skin.zip").c_str()));
    ASSERT_TRUE(PumpUntil([&]() { return Find(L"first") != NULL; }));
    EXPECT_TRUE(m_pView->GetError().empty());
}

} // namespace
