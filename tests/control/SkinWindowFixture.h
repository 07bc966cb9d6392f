// Fixture for controls built from skin XML in a window whose messages go through the paint manager.
#pragma once

#include "veneer/core/UISetup.h"
#include "control/TextPaintFixture.h"

#include <string>

namespace VeneerTest {

// The paint fixture's window, routed: mouse and key messages sent to it reach the controls as the
// manager turns them into events.
class SkinWindowFixture : public PaintFixture
{
protected:
    SkinWindowFixture() : PaintFixture(Options()) {}

    // The named control if it is of class T, else null.
    template <class T> T* Find(LPCWSTR name)
    {
        return dynamic_cast<T*>(m_pm->FindControl(name));
    }

    LRESULT Message(UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
    }
    void MouseMove(int x, int y) { Message(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void MouseDown(int x, int y) { Message(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void MouseUp(int x, int y) { Message(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    void Click(int x, int y)
    {
        MouseMove(x, y);
        MouseDown(x, y);
        MouseUp(x, y);
    }
    // One wheel notch over a client point; up is away from the user.
    void Wheel(int x, int y, bool bUp)
    {
        POINT pt = { x, y };
        ::ClientToScreen(m_hWnd, &pt);
        Message(WM_MOUSEWHEEL, MAKEWPARAM(0, bUp ? WHEEL_DELTA : -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    }
    void Key(UINT vk) { Message(WM_KEYDOWN, vk, 0); }

    // Paints the whole tree of the manager into the canvas.
    void PaintRoot(CDibCanvas& canvas)
    {
        RECT rc = { 0, 0, canvas.GetWidth(), canvas.GetHeight() };
        m_pm->GetRoot()->DoPaint(canvas.GetDC(), rc);
    }

    static constexpr int kWindowWidth = 400;
    static constexpr int kWindowHeight = 300;

private:
    static TOptions Options()
    {
        TOptions options;
        options.cx = kWindowWidth;
        options.cy = kWindowHeight;
        options.layout = true;
        return options;
    }
};

} // namespace VeneerTest
