// Test fixture for the paint manager: a hidden top-level window with an initialised manager, and a probe control.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "support/RoutedWindow.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace VeneerTest {

// Everything the probes and listeners of one test saw, in order ("name:what").
extern std::vector<std::wstring> g_log;

// A windowless control that logs the events it receives and answers chosen flags and class.
class CProbeUI : public Veneer::CControlUI
{
public:
    explicit CProbeUI(LPCWSTR pstrName, UINT uFlags = 0, bool* pDestroyed = NULL);
    ~CProbeUI() override;

    LPCWSTR GetClass() const override;
    UINT GetControlFlags() const override;
    void DoEvent(Veneer::TEventUI& event) override;

    std::vector<Veneer::TEventUI> events;

private:
    UINT m_uFlags;
    bool* m_pDestroyed;
};

// Logs each notification it receives and keeps a copy.
class CNotifyLog : public Veneer::INotifyUI
{
public:
    explicit CNotifyLog(LPCWSTR pstrTag) : m_sTag(pstrTag) {}
    void Notify(Veneer::TNotifyUI& msg) override;

    std::vector<Veneer::TNotifyUI> received;

private:
    std::wstring m_sTag;
};

// A hidden 400 x 300 popup window whose paint manager has been initialised; tests route it themselves.
class ManagerTest : public RoutedWindowTest
{
protected:
    ManagerTest() : RoutedWindowTest(Options()) {}
    void SetUp() override;
    void TearDown() override;

    // A new hidden window of the test class (a popup unless a parent is given); destroyed in TearDown.
    HWND MakeWindow(int cx = 400, int cy = 300, HWND hWndParent = NULL, int x = 0, int y = 0);
    static void Route(HWND hWnd, Veneer::CPaintManagerUI* pm) { RouteWindow(hWnd, pm); }
    static void Pump() { PumpMessages(); }
    template <class Cond> static bool PumpUntil(Cond cond, DWORD dwTimeoutMs = 2000)
    {
        return PumpMessagesUntil(cond, dwTimeoutMs);
    }

    std::vector<HWND> m_windows;

private:
    static TOptions Options()
    {
        TOptions options;
        options.route = false;
        return options;
    }
};

} // namespace VeneerTest
