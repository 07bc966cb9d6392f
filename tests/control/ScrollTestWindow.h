// Fixture of the scrolling tests: a hidden window whose paint manager runs control timers and
// records notifications; helpers that build input events.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"

#include <gtest/gtest.h>
#include <vector>

namespace ScrollTest {

// Keeps the type and sender of every notification it receives.
class CNotifyRecorder : public Veneer::INotifyUI
{
public:
    void Notify(Veneer::TNotifyUI& msg);
    int Count(LPCWSTR type) const;

    std::vector<Veneer::CUIString> types;
    std::vector<Veneer::CControlUI*> senders;
};

// A hidden 400 x 300 popup window with an initialised paint manager. The window hands its
// WM_TIMER messages to the manager's control timers.
class ScrollWindowTest : public ::testing::Test
{
protected:
    void SetUp();
    void TearDown();

    // Dispatches the window's messages for about the given time.
    void Pump(DWORD ms);

    HWND m_hWnd = NULL;
    Veneer::CPaintManagerUI* m_pm = NULL;
    CNotifyRecorder m_notes;
};

// Sends an event through Event, as the paint manager does.
void Send(Veneer::CControlUI* control, int type, int x = 0, int y = 0, WPARAM wParam = 0);
// A key-down event with the virtual key in its key field.
void SendKey(Veneer::CControlUI* control, wchar_t key);
// One tick of the scroll bar's repeat timer.
void Tick(Veneer::CControlUI* control, int count = 1);

} // namespace ScrollTest
