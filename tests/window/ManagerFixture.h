// Test fixture for the paint manager: a hidden top-level window with an initialised manager, and a probe control.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
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

// A hidden 400 x 300 popup window whose paint manager has been initialised.
class ManagerTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A new hidden window of the test class (a popup unless a parent is given); destroyed in TearDown.
    HWND MakeWindow(int cx = 400, int cy = 300, HWND hWndParent = NULL, int x = 0, int y = 0);
    // From now on the window procedure hands the window's messages to the manager first.
    static void Route(HWND hWnd, Veneer::CPaintManagerUI* pm);
    // Dispatches whatever is queued for this thread.
    static void Pump();
    // Pumps until the condition holds or the time runs out; returns the condition.
    template <class Cond> static bool PumpUntil(Cond cond, DWORD dwTimeoutMs = 2000)
    {
        const DWORD dwStart = ::GetTickCount();
        for (;;) {
            Pump();
            if (cond()) return true;
            if (::GetTickCount() - dwStart > dwTimeoutMs) return false;
            ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        }
    }

    HWND m_hWnd = NULL;
    Veneer::CPaintManagerUI* m_pm = NULL;
    std::vector<HWND> m_windows;
};

} // namespace VeneerTest
