// Test fixture for the paint manager: hidden windows, the probe control and the notification log.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"

using namespace Veneer;

namespace VeneerTest {

std::vector<std::wstring> g_log;

CProbeUI::CProbeUI(LPCWSTR pstrName, UINT uFlags, bool* pDestroyed) : m_uFlags(uFlags), m_pDestroyed(pDestroyed)
{
    SetName(pstrName);
}

CProbeUI::~CProbeUI()
{
    if (m_pDestroyed != NULL) *m_pDestroyed = true;
}

LPCWSTR CProbeUI::GetClass() const
{
    return L"ProbeUI";
}

UINT CProbeUI::GetControlFlags() const
{
    return m_uFlags;
}

void CProbeUI::DoEvent(TEventUI& event)
{
    events.push_back(event);
    g_log.push_back(std::wstring(GetName().GetData()) + L":event" + std::to_wstring(event.Type));
    CControlUI::DoEvent(event);
}

void CNotifyLog::Notify(TNotifyUI& msg)
{
    received.push_back(msg);
    g_log.push_back(m_sTag + L":" + msg.sType.GetData());
}

HWND ManagerTest::MakeWindow(int cx, int cy, HWND hWndParent, int x, int y)
{
    HWND hWnd = CreateRoutedWindow(cx, cy, hWndParent, x, y);
    m_windows.push_back(hWnd);
    return hWnd;
}

void ManagerTest::SetUp()
{
    g_log.clear();
    RoutedWindowTest::SetUp();
}

void ManagerTest::TearDown()
{
    // No message may reach a deleted manager.
    if (m_hWnd != NULL) Route(m_hWnd, NULL);
    for (HWND hWnd : m_windows) {
        if (::IsWindow(hWnd)) Route(hWnd, NULL);
    }
    for (HWND hWnd : m_windows) ::DestroyWindow(hWnd);
    m_windows.clear();
    RoutedWindowTest::TearDown();
    g_log.clear();
}

} // namespace VeneerTest
