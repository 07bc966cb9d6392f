// Fixture for controls built from skin XML in a window whose messages go through the paint manager.
#pragma once

#include "veneer/core/UISetup.h"
#include "control/TextPaintFixture.h"

#include <string>

namespace VeneerTest {

// The paint fixture's window, routed: mouse and key messages sent to it reach the controls as the
// manager turns them into events.
class SkinWindowFixture : public PaintFixture
{
protected:
    void SetUp() override
    {
        PaintFixture::SetUp();
        ASSERT_TRUE(m_hWnd != NULL);
        ::SetPropW(m_hWnd, kManagerProp, m_pm);
        m_pfnOldProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RoutedProc)));
        ::SetPropW(m_hWnd, kOldProcProp, reinterpret_cast<HANDLE>(m_pfnOldProc));
        ::SetWindowPos(m_hWnd, NULL, 0, 0, kWindowWidth, kWindowHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void TearDown() override
    {
        if (m_hWnd != NULL) {
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOldProc));
            ::RemovePropW(m_hWnd, kManagerProp);
            ::RemovePropW(m_hWnd, kOldProcProp);
        }
        PaintFixture::TearDown();
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        }
    }

    // Builds the skin, attaches it to the manager and lays it out over the window.
    Veneer::CControlUI* Build(const std::wstring& xml)
    {
        Veneer::CDialogBuilder builder;
        Veneer::CControlUI* pRoot = builder.Create(xml.c_str(), NULL, NULL, m_pm);
        if (pRoot == NULL) return NULL;
        m_pm->AttachDialog(pRoot);
        RECT rc = { 0, 0, kWindowWidth, kWindowHeight };
        pRoot->SetPos(rc);
        return pRoot;
    }
    // The named control if it is of class T, else null.
    template <class T> T* Find(LPCWSTR name)
    {
        return dynamic_cast<T*>(m_pm->FindControl(name));
    }

    LRESULT Message(UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
    }
    void MouseMove(int x, int y) { Message(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    void MouseDown(int x, int y) { Message(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void MouseUp(int x, int y) { Message(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    void Click(int x, int y)
    {
        MouseMove(x, y);
        MouseDown(x, y);
        MouseUp(x, y);
    }
    // One wheel notch over a client point; up is away from the user.
    void Wheel(int x, int y, bool bUp)
    {
        POINT pt = { x, y };
        ::ClientToScreen(m_hWnd, &pt);
        Message(WM_MOUSEWHEEL, MAKEWPARAM(0, bUp ? WHEEL_DELTA : -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    }
    void Key(UINT vk) { Message(WM_KEYDOWN, vk, 0); }

    // Paints the whole tree of the manager into the canvas.
    void PaintRoot(CDibCanvas& canvas)
    {
        RECT rc = { 0, 0, canvas.GetWidth(), canvas.GetHeight() };
        m_pm->GetRoot()->DoPaint(canvas.GetDC(), rc);
    }

    static constexpr int kWindowWidth = 400;
    static constexpr int kWindowHeight = 300;

private:
    static LRESULT CALLBACK RoutedProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        Veneer::CPaintManagerUI* pm = static_cast<Veneer::CPaintManagerUI*>(::GetPropW(hWnd, kManagerProp));
        WNDPROC pfnOld = reinterpret_cast<WNDPROC>(::GetPropW(hWnd, kOldProcProp));
        LRESULT lRes = 0;
        if (pm != NULL && pm->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return pfnOld != NULL ? ::CallWindowProcW(pfnOld, hWnd, uMsg, wParam, lParam)
                              : ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }

    static constexpr const wchar_t* kManagerProp = L"VeneerTest.Manager";
    static constexpr const wchar_t* kOldProcProp = L"VeneerTest.OldProc";

    WNDPROC m_pfnOldProc = NULL;
};

} // namespace VeneerTest
