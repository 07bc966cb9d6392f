// Fixture for controls that host native objects: OLE initialised, a hidden routed window that keeps its
// native children unpainted, skins built from text, and a notification log.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "support/RoutedWindow.h"

#include <gtest/gtest.h>
#include <string>

namespace HostTest {

class HostWindowTest : public VeneerTest::RoutedWindowTest
{
protected:
    HostWindowTest() : RoutedWindowTest(Options()) {}

    // Builds the skin into the window; the root is a vertical layout holding the given children.
    Veneer::CControlUI* Build(const std::wstring& children)
    {
        return RoutedWindowTest::Build(L"<Window><VerticalLayout>" + children + L"</VerticalLayout></Window>");
    }
    void Layout(Veneer::CControlUI* root, int cx = 400, int cy = 300)
    {
        RECT rc = { 0, 0, cx, cy };
        root->SetPos(rc);
    }
    // The first child window of the paint window with the given class, or null.
    HWND ChildOfClass(const wchar_t* cls) { return ::FindWindowExW(m_hWnd, NULL, cls, NULL); }

private:
    static TOptions Options()
    {
        TOptions options;
        options.ole = true;
        options.clipChildren = true;
        return options;
    }
};

} // namespace HostTest
