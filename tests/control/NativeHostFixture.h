// Fixture for controls that open native windows: a shown host window routing its messages to a paint manager.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "control/TextPaintFixture.h"
#include "control/ControlTestUtil.h"

#include <gtest/gtest.h>

// The window is shared by the tests, each with a fresh manager; skin XML is built into it and painted,
// the pump works like the framework's loop, and helpers send input.
namespace VeneerTest {

// How many pixels differ between two canvases of the same size.
inline int CountDifferent(const CDibCanvas& a, const CDibCanvas& b)
{
    int count = 0;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if ((a.Get(x, y) & 0xFFFFFF) != (b.Get(x, y) & 0xFFFFFF)) ++count;
    return count;
}

class NativeHostTest : public RoutedWindowTest
{
protected:
    NativeHostTest() : RoutedWindowTest(Options()) {}

    Veneer::CControlUI* Find(LPCWSTR pstrName) const { return m_pm->FindControl(pstrName); }

    // A left click at client point (x, y): button down and up sent to the host window.
    void Click(int x, int y);
    // A key pressed and released while hWnd has the focus (posted, then pumped).
    void PressKey(HWND hWnd, UINT vk);
    // Characters typed into hWnd (posted as WM_CHAR, then pumped).
    void Type(HWND hWnd, LPCWSTR pstrText);
    // The root painted into a canvas the size of the window.
    void PaintRoot(CDibCanvas& canvas);

    static const int kWidth = 400;
    static const int kHeight = 300;

private:
    static TOptions Options()
    {
        TOptions options;
        options.cx = kWidth;
        options.cy = kHeight;
        options.shared = true;
        options.paint = true;
        options.preTranslate = true;
        options.clipChildren = true;
        return options;
    }
};

} // namespace VeneerTest
