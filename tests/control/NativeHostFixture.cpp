// Fixture for controls that open native windows: input and painting helpers.
#include "veneer/core/UISetup.h"
#include "control/NativeHostFixture.h"

using namespace Veneer;

namespace VeneerTest {

void NativeHostTest::Click(int x, int y)
{
    ::SendMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
}

void NativeHostTest::PressKey(HWND hWnd, UINT vk)
{
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hWnd, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
    Pump();
}

void NativeHostTest::Type(HWND hWnd, LPCWSTR pstrText)
{
    for (LPCWSTR p = pstrText; *p != L'\0'; ++p) ::PostMessageW(hWnd, WM_CHAR, *p, 1);
    Pump();
}

void NativeHostTest::PaintRoot(CDibCanvas& canvas)
{
    RECT rc = { 0, 0, canvas.GetWidth(), canvas.GetHeight() };
    m_pm->GetRoot()->DoPaint(canvas.GetDC(), rc);
}

} // namespace VeneerTest
