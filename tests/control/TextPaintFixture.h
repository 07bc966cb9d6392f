// Test fixture for painted controls: a hidden window with a paint manager, canvases, events and a notification log.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "render/DibCanvas.h"
#include "support/RoutedWindow.h"
#include <gtest/gtest.h>

namespace VeneerTest {

// Bounding box of the pixels that differ from a background colour; empty when none do.
inline RECT InkBox(const CDibCanvas& canvas, DWORD background)
{
    RECT box = { canvas.GetWidth(), canvas.GetHeight(), 0, 0 };
    for (int y = 0; y < canvas.GetHeight(); ++y) {
        for (int x = 0; x < canvas.GetWidth(); ++x) {
            if ((canvas.Get(x, y) & 0xFFFFFF) == (background & 0xFFFFFF)) continue;
            if (x < box.left) box.left = x;
            if (y < box.top) box.top = y;
            if (x + 1 > box.right) box.right = x + 1;
            if (y + 1 > box.bottom) box.bottom = y + 1;
        }
    }
    if (box.right <= box.left) ::SetRectEmpty(&box);
    return box;
}

// How many pixels come close to a colour (colour channels only).
inline int CountNear(const CDibCanvas& canvas, DWORD color, int tolerance)
{
    int count = 0;
    for (int y = 0; y < canvas.GetHeight(); ++y)
        for (int x = 0; x < canvas.GetWidth(); ++x)
            if (RgbNear(canvas.Get(x, y), color, tolerance)) ++count;
    return count;
}

// A hidden popup window, not routed, whose paint manager the controls of a test are attached to.
class PaintFixture : public RoutedWindowTest
{
protected:
    explicit PaintFixture(const TOptions& options = Options()) : RoutedWindowTest(options) {}

    // Attaches a control to the manager and places it.
    void Place(Veneer::CControlUI& control, int left, int top, int right, int bottom)
    {
        control.SetManager(m_pm, NULL, false);
        RECT rc = { left, top, right, bottom };
        control.SetPos(rc);
    }
    // Paints the control over the whole canvas.
    void Paint(Veneer::CControlUI& control, CDibCanvas& canvas)
    {
        RECT rc = { 0, 0, canvas.GetWidth(), canvas.GetHeight() };
        control.DoPaint(canvas.GetDC(), rc);
    }
    // An event as the manager would send it, the mouse at (x, y).
    Veneer::TEventUI MakeEvent(int type, Veneer::CControlUI* sender, int x = 0, int y = 0, wchar_t key = 0)
    {
        Veneer::TEventUI event;
        ::ZeroMemory(&event, sizeof(event));
        event.Type = type;
        event.pSender = sender;
        event.dwTimestamp = ::GetTickCount();
        event.ptMouse.x = x;
        event.ptMouse.y = y;
        event.chKey = key;
        return event;
    }
    void Send(Veneer::CControlUI& control, int type, int x = 0, int y = 0, wchar_t key = 0)
    {
        Veneer::TEventUI event = MakeEvent(type, &control, x, y, key);
        control.Event(event);
    }
    // A solid, opaque image registered with the manager (which takes the bitmap) under a name.
    void AddSolidImage(LPCWSTR name, int cx, int cy, DWORD color)
    {
        CTestBitmap bitmap(cx, cy, color | 0xFF000000);
        ASSERT_TRUE(bitmap.IsValid());
        HBITMAP hBitmap = bitmap.Detach();
        if (m_pm->AddImage(name, hBitmap, cx, cy, false) == NULL) {
            ::DeleteObject(hBitmap);
            FAIL() << "image not registered";
        }
    }

    // Index of a large bold font in the default face: solid strokes, whatever the smoothing.
    int AddLargeFont(int size = 28)
    {
        m_pm->AddFont(m_pm->GetDefaultFontInfo()->sFontName, size, true, false, false);
        return m_pm->GetCustomFontCount() - 1;
    }

    static const int kWidth = 200;
    static const int kHeight = 60;

private:
    static TOptions Options()
    {
        TOptions options;
        options.cx = kWidth;
        options.cy = kHeight;
        options.route = false;
        return options;
    }
};

} // namespace VeneerTest
