// Fixture for the launcher's windows: their resources, configuration, message pump, mouse and paint read-back.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "app/ClientConfig.h"
#include "support/ResourceScope.h"

#include <gtest/gtest.h>
#include <vector>

// A launcher window with its paint manager in reach, its click notifications and commands counted, and
// its deletion reported.
template <class TWindow>
class CTestLauncherWindow : public TWindow
{
public:
    ~CTestLauncherWindow() override
    {
        if (m_pbDeleted != nullptr) *m_pbDeleted = true;
    }
    Veneer::CPaintManagerUI& Manager() { return this->m_PaintManager; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_COMMAND) ++m_nCommands;
        return TWindow::HandleMessage(uMsg, wParam, lParam);
    }
    void OnClick(Veneer::TNotifyUI& msg) override
    {
        ++m_nClicks;
        TWindow::OnClick(msg);
    }
    int m_nClicks = 0;
    int m_nCommands = 0;
    bool* m_pbDeleted = nullptr;
};

// The launcher's resources (skin archive, icon, menu, configuration) come from the data DLL beside
// the test program; the configuration is the shipped one with a test client name.
class LauncherWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Dispatches waiting messages the way the launcher's loop does, for about ms milliseconds.
    static void Pump(DWORD ms = 0);
    // Client point at the centre of a control.
    static POINT Centre(Veneer::CPaintManagerUI& manager, LPCWSTR pstrName);
    // A left click at the centre of a control, as mouse messages sent to its window.
    static void Click(Veneer::CPaintManagerUI& manager, LPCWSTR pstrName);
    // Posts a key press (down, character, up) and lets the loop handle it.
    static void PressKey(HWND hWnd, WPARAM vk);
    // The window's client area as the paint manager prints it, 0x00RRGGBB per pixel, rows top-down.
    static std::vector<DWORD> PrintClient(HWND hWnd);

    CResourceScope m_scope;
    HMODULE m_hResources = NULL;
    CMicroClientConfig m_savedConfig;
};
