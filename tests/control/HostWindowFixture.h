// Fixture for controls that host native objects: OLE initialised, a hidden window whose messages go through
// its paint manager, skins built from text, and a notification log.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace HostTest {

class CNotes : public Veneer::INotifyUI
{
public:
    void Notify(Veneer::TNotifyUI& msg) override;
    int Count(const wchar_t* type) const;

    std::vector<std::wstring> types;
};

class HostWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the skin into the window; the root is a vertical layout holding the given children.
    Veneer::CControlUI* Build(const std::wstring& children);
    void Layout(Veneer::CControlUI* root, int cx = 400, int cy = 300);
    // Dispatches waiting messages, for about the given time when it is not 0.
    void Pump(DWORD ms = 0);
    // The first child window of the paint window with the given class, or null.
    HWND ChildOfClass(const wchar_t* cls);

    HWND m_hWnd = NULL;
    Veneer::CPaintManagerUI* m_pm = NULL;
    CNotes m_notes;
};

} // namespace HostTest
