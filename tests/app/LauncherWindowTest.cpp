// Fixture for the launcher's windows: resources from the data DLL, the launcher's own message loop steps.
#include "LauncherWindowTest.h"
#include "AppTestFiles.h"

using namespace Veneer;

void LauncherWindowTest::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(NULL)));
    m_hResources = ::LoadLibraryExW(GetPathBesideExecutable(L"MicroClientResources.dll").c_str(), NULL,
                                    LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(m_hResources != NULL);
    CPaintManagerUI::SetResourceDll(m_hResources);
    m_savedConfig = GetClientConfig();
    ASSERT_TRUE(LoadClientConfig(GetClientConfig()));
    GetClientConfig().m_sPlayGameKeyWord = L"client=pc";
    GetClientConfig().m_sClientName = L"Orvane test";
}

void LauncherWindowTest::TearDown()
{
    Pump();
    GetClientConfig() = m_savedConfig;
    CPaintManagerUI::SetResourceDll(NULL);
    if (m_hResources != NULL) ::FreeLibrary(m_hResources);
    ::OleUninitialize();
}

void LauncherWindowTest::Pump(DWORD ms)
{
    const DWORD dwStart = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (CPaintManagerUI::TranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (ms != 0) ::MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    } while (::GetTickCount() - dwStart < ms);
}

POINT LauncherWindowTest::Centre(CPaintManagerUI& manager, LPCWSTR pstrName)
{
    POINT pt = {-1, -1};
    CControlUI* pControl = manager.FindControl(pstrName);
    EXPECT_TRUE(pControl != NULL) << "no control";
    if (pControl == NULL) return pt;
    const RECT rc = pControl->GetPos();
    pt.x = (rc.left + rc.right) / 2;
    pt.y = (rc.top + rc.bottom) / 2;
    return pt;
}

void LauncherWindowTest::Click(CPaintManagerUI& manager, LPCWSTR pstrName)
{
    const POINT pt = Centre(manager, pstrName);
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    HWND hWnd = manager.GetPaintWindow();
    ::SendMessageW(hWnd, WM_MOUSEMOVE, 0, lParam);
    ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::SendMessageW(hWnd, WM_LBUTTONUP, 0, lParam);
    Pump();
}

void LauncherWindowTest::PressKey(HWND hWnd, WPARAM vk)
{
    const UINT uScan = ::MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1 | (uScan << 16));
    ::PostMessageW(hWnd, WM_KEYUP, vk, 1 | (uScan << 16) | 0xC0000000);
    Pump();
}

std::vector<DWORD> LauncherWindowTest::PrintClient(HWND hWnd)
{
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = rc.right;
    bmi.bmiHeader.biHeight = -rc.bottom;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HBITMAP hBmp = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    std::vector<DWORD> pixels;
    if (hBmp == NULL) return pixels;
    HDC hDC = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, hBmp);
    ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
    ::GdiFlush();
    const DWORD* pFirst = static_cast<const DWORD*>(pBits);
    pixels.assign(pFirst, pFirst + static_cast<size_t>(rc.right) * rc.bottom);
    for (DWORD& pixel : pixels) pixel &= 0x00FFFFFF;
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ::DeleteObject(hBmp);
    return pixels;
}
