// Fixture of the scrolling tests: a hidden routed window whose paint manager runs control timers and
// records notifications; helpers that build input events.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "support/RoutedWindow.h"

#include <gtest/gtest.h>

namespace ScrollTest {

// A hidden 400 x 300 popup window with an initialised paint manager.
using ScrollWindowTest = VeneerTest::RoutedWindowTest;

// Sends an event through Event, as the paint manager does.
void Send(Veneer::CControlUI* control, int type, int x = 0, int y = 0, WPARAM wParam = 0);
// A key-down event with the virtual key in its key field.
void SendKey(Veneer::CControlUI* control, wchar_t key);
// One tick of the scroll bar's repeat timer.
void Tick(Veneer::CControlUI* control, int count = 1);

} // namespace ScrollTest
