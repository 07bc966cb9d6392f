// Helpers for the control tests: rectangle comparison, probe controls that record what happens to them.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"

#include <gtest/gtest.h>
#include <vector>

namespace ControlTest {

inline RECT Rc(int l, int t, int r, int b)
{
    RECT rc = { l, t, r, b };
    return rc;
}

inline SIZE Sz(int cx, int cy)
{
    SIZE sz = { cx, cy };
    return sz;
}

inline ::testing::AssertionResult RectEq(const RECT& actual, int l, int t, int r, int b)
{
    if (actual.left == l && actual.top == t && actual.right == r && actual.bottom == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "rect is (" << actual.left << "," << actual.top << "," << actual.right
                                         << "," << actual.bottom << "), expected (" << l << "," << t << "," << r
                                         << "," << b << ")";
}

// A control that counts its destruction and records the events routed to it.
class CProbeUI : public Veneer::CControlUI
{
public:
    explicit CProbeUI(int* destroyed = NULL) : m_destroyed(destroyed) {}
    ~CProbeUI() { if (m_destroyed != NULL) ++*m_destroyed; }

    void DoEvent(Veneer::TEventUI& event)
    {
        events.push_back(event.Type);
        Veneer::CControlUI::DoEvent(event);
    }

    std::vector<int> events;

private:
    int* m_destroyed;
};

// A vertical layout that records the events that reach its DoEvent (for routing tests).
class CProbeLayoutUI : public Veneer::CVerticalLayoutUI
{
public:
    explicit CProbeLayoutUI(int* destroyed = NULL) : m_destroyed(destroyed) {}
    ~CProbeLayoutUI() { if (m_destroyed != NULL) ++*m_destroyed; }

    void DoEvent(Veneer::TEventUI& event)
    {
        events.push_back(event.Type);
        Veneer::CVerticalLayoutUI::DoEvent(event);
    }

    std::vector<int> events;

private:
    int* m_destroyed;
};

inline Veneer::CControlUI* Fixed(int cx, int cy)
{
    Veneer::CControlUI* control = new Veneer::CControlUI;
    control->SetFixedWidth(cx);
    control->SetFixedHeight(cy);
    return control;
}

inline Veneer::TEventUI MakeEvent(int type, int x = 0, int y = 0)
{
    Veneer::TEventUI event;
    ::ZeroMemory(&event, sizeof(event));
    event.Type = type;
    event.ptMouse.x = x;
    event.ptMouse.y = y;
    return event;
}

} // namespace ControlTest
