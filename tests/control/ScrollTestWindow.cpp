// Input helpers of the scrolling tests.
#include "veneer/core/UISetup.h"
#include "ScrollTestWindow.h"
#include "ControlTestUtil.h"

using namespace Veneer;

namespace ScrollTest {

void Send(CControlUI* control, int type, int x, int y, WPARAM wParam)
{
    TEventUI event = ControlTest::MakeEvent(type, x, y);
    event.wParam = wParam;
    event.dwTimestamp = ::GetTickCount();
    event.pSender = control;
    control->Event(event);
}

void SendKey(CControlUI* control, wchar_t key)
{
    TEventUI event = ControlTest::MakeEvent(EVENT_KEYDOWN);
    event.chKey = key;
    event.wParam = key;
    event.pSender = control;
    control->Event(event);
}

void Tick(CControlUI* control, int count)
{
    for (int i = 0; i < count; ++i) Send(control, EVENT_TIMER, 0, 0, 10);
}

} // namespace ScrollTest
