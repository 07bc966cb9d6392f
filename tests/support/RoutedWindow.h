// RoutedWindowTest: the one fixture family of the test windows. A window of the test class hands its
// messages to a paint manager before the default handling; each test gets a fresh manager. Options:
// routing from the start, OLE, one shown window shared by every test, laying out and painting what is built.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace VeneerTest {

// Records every notification it receives, in order.
class CNotifyRecorder : public Veneer::INotifyUI
{
public:
    void Notify(Veneer::TNotifyUI& msg) override
    {
        types.push_back(msg.sType.GetData());
        senders.push_back(msg.pSender);
        wParams.push_back(msg.wParam);
        lParams.push_back(msg.lParam);
    }
    int Count(LPCWSTR type) const
    {
        int count = 0;
        for (const std::wstring& t : types)
            if (t == type) ++count;
        return count;
    }

    std::vector<std::wstring> types;
    std::vector<Veneer::CControlUI*> senders;
    std::vector<WPARAM> wParams;
    std::vector<LPARAM> lParams;
};

// A new window of the test class: a popup unless a parent is given (then a shown child).
HWND CreateRoutedWindow(int cx, int cy, HWND hWndParent = NULL, int x = 0, int y = 0, DWORD dwExtraStyle = 0);
// From now on the window hands its messages to pm first (null stops it).
void RouteWindow(HWND hWnd, Veneer::CPaintManagerUI* pm);
// Dispatches what is queued for this thread; with preTranslate the managers see it first, as in the
// framework's message loop.
void PumpMessages(bool preTranslate = false);
// Pumps until the condition holds or the time runs out; returns the condition.
template <class Cond> bool PumpMessagesUntil(Cond cond, DWORD dwTimeoutMs, bool preTranslate = false)
{
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        PumpMessages(preTranslate);
        if (cond()) return true;
        if (::GetTickCount() - dwStart > dwTimeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
}
// Throws away what is queued: leftovers must not reach the next test's windows.
void DiscardMessages();

class RoutedWindowTest : public ::testing::Test
{
public:
    struct TOptions
    {
        int cx = 400;
        int cy = 300;
        // The window hands its messages to the manager from the start.
        bool route = true;
        // OLE is initialised around each test.
        bool ole = false;
        // One shown window serves every test: unmapping a shown window costs Wine seconds each time.
        bool shared = false;
        // Build lays the root out over the window.
        bool layout = false;
        // Build shows and paints the window, then leaves nothing focused.
        bool paint = false;
        // Pumping lets the managers pre-translate, as the framework's loop does.
        bool preTranslate = false;
        // The window does not paint over its native child windows.
        bool clipChildren = false;
    };

protected:
    RoutedWindowTest() = default;
    explicit RoutedWindowTest(const TOptions& options) : m_options(options) {}

    void SetUp() override;
    void TearDown() override;

    // Builds the skin XML into the manager and attaches it (laid out and painted as the options say);
    // the root, or null.
    Veneer::CControlUI* Build(const std::wstring& xml);
    // Dispatches what is queued, for about the given time when it is not 0.
    void Pump(DWORD ms = 0);
    template <class Cond> bool PumpUntil(Cond cond, DWORD dwTimeoutMs = 2000)
    {
        return PumpMessagesUntil(cond, dwTimeoutMs, m_options.preTranslate);
    }

    TOptions m_options;
    HWND m_hWnd = NULL;
    Veneer::CPaintManagerUI* m_pm = NULL;
    CNotifyRecorder m_notes;
};

} // namespace VeneerTest
