// Tests of the example programs: hello and the gallery started as a user starts them, driven by window
// messages and watched on the screen; the gallery's picture in docs/ rendered again and compared.
#include "veneer/core/UISetup.h"
#include "SkinRender.h"

#include "support/ChildProcess.h"
#include "support/PngFiles.h"
#include "support/ResourceScope.h"
#include "veneer/Veneer.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

const DWORD kStartMillis = 20000;
const DWORD kChangeMillis = 5000;

// A built program; the environment can name another build of it (the package test runs a hello
// built against the installed package this way).
std::wstring ProgramPath(const char* pszVariable, const char* pszBuilt)
{
    const char* pszOverride = ::getenv(pszVariable);
    return HostProgramPath(pszOverride != NULL && *pszOverride != '\0' ? pszOverride : pszBuilt);
}

std::wstring SourcePath(const std::wstring& relative)
{
    return HostProgramPath(VENEER_SOURCE_DIR) + L"\\" + relative;
}

// What the screen shows of a client rectangle of a window: 32-bit pixels, top-down.
std::vector<DWORD> Capture(HWND hWnd, const RECT& rc)
{
    const int cx = rc.right - rc.left;
    const int cy = rc.bottom - rc.top;
    std::vector<DWORD> pixels;
    POINT origin = {rc.left, rc.top};
    if (cx <= 0 || cy <= 0 || !::ClientToScreen(hWnd, &origin)) return pixels;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC hScreen = ::GetDC(NULL);
    HDC hMemory = ::CreateCompatibleDC(hScreen);
    void* pBits = NULL;
    HBITMAP hBitmap = ::CreateDIBSection(hMemory, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hBitmap != NULL && pBits != NULL) {
        HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
        ::BitBlt(hMemory, 0, 0, cx, cy, hScreen, origin.x, origin.y, SRCCOPY);
        ::GdiFlush();
        const DWORD* pFirst = static_cast<const DWORD*>(pBits);
        pixels.assign(pFirst, pFirst + static_cast<size_t>(cx) * cy);
        ::SelectObject(hMemory, hOld);
    }
    if (hBitmap != NULL) ::DeleteObject(hBitmap);
    ::DeleteDC(hMemory);
    ::ReleaseDC(NULL, hScreen);
    return pixels;
}

// More than one colour: something was painted there.
bool IsPainted(const std::vector<DWORD>& pixels)
{
    if (pixels.empty()) return false;
    for (DWORD pixel : pixels) {
        if ((pixel & 0xFFFFFF) != (pixels.front() & 0xFFFFFF)) return true;
    }
    return false;
}

// What the screen shows of the rectangle once it is painted (more than one colour) and still (the same
// twice in a row); empty when it does not settle.
std::vector<DWORD> Settled(HWND hWnd, const RECT& rc)
{
    std::vector<DWORD> previous;
    std::vector<DWORD> pixels;
    const bool bSettled = WaitUntil(kChangeMillis, [&]() {
        previous.swap(pixels);
        pixels = Capture(hWnd, rc);
        return pixels == previous && IsPainted(pixels);
    });
    return bSettled ? pixels : std::vector<DWORD>();
}

// True once the screen under the rectangle no longer shows what it showed before.
bool ChangesOnScreen(HWND hWnd, const RECT& rc, const std::vector<DWORD>& before)
{
    return WaitUntil(kChangeMillis, [&]() { return Capture(hWnd, rc) != before; });
}

// Real input: the pointer moves to a client point through the system, and clicks there when asked.
void PointAt(HWND hWnd, POINT pt, bool bClick)
{
    ::ClientToScreen(hWnd, &pt);
    RaiseUnder(hWnd, pt);
    if (bClick) MouseClick(pt);
    else ::SetCursorPos(pt.x, pt.y);
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// The rectangles of the named controls of a layout laid out at its Window size, as a window of that
// size lays them out.
std::map<std::wstring, RECT> LayoutRects(const std::wstring& folder, LPCWSTR pstrLayout,
                                         const std::vector<std::wstring>& names)
{
    std::map<std::wstring, RECT> rects;
    CResourceScope scope;
    CPaintManagerUI::SetResourcePath(folder.c_str());
    HWND hWnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    {
        CPaintManagerUI manager;
        manager.Init(hWnd);
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(STRINGorID(pstrLayout), NULL, NULL, &manager);
        if (pRoot != NULL) {
            manager.AttachDialog(pRoot);
            const SIZE size = manager.GetInitSize();
            pRoot->SetPos(RECT{0, 0, size.cx, size.cy});
            manager.UpdateLayout();
            for (const std::wstring& name : names) {
                CControlUI* pControl = manager.FindControl(name.c_str());
                if (pControl != NULL) rects[name] = pControl->GetPos();
            }
        }
    }
    ::DestroyWindow(hWnd);
    return rects;
}

class ExampleTest : public ::testing::Test
{
protected:
    void TearDown() override { m_process.Kill(); }

    // Starts the program and waits for its shown window.
    HWND Start(const std::wstring& path, LPCWSTR pstrClass)
    {
        std::cout << "starting " << Narrow(path) << std::endl;
        EXPECT_TRUE(m_process.Start(path)) << "cannot start " << Narrow(path);
        HWND hWnd = m_process.WaitForWindow(pstrClass, NULL, true, kStartMillis);
        // Painted and idle before anything is compared.
        m_process.WaitForIdle(kStartMillis);
        return hWnd;
    }

    // Clicks the window's close button and expects the program to end well.
    void CloseWith(HWND hWnd, POINT ptClose)
    {
        PointAt(hWnd, ptClose, true);
        DWORD dwExit = 1;
        ASSERT_TRUE(m_process.WaitForExit(kStartMillis, &dwExit)) << "the close button left the program running";
        EXPECT_EQ(0u, dwExit);
    }

    CChildProcess m_process;
};

TEST_F(ExampleTest, HelloGreetsAgainWhenItsButtonIsClicked)
{
    HWND hWnd = Start(ProgramPath("VENEER_HELLO_EXE", HELLO_EXE), L"VeneerHello");
    ASSERT_TRUE(hWnd != NULL);
    RECT rcClient = {};
    ::GetClientRect(hWnd, &rcClient);
    // The window has the size its skin asks for: the title bar, the greeting, the button's band.
    ASSERT_EQ(360, rcClient.right);
    ASSERT_EQ(170, rcClient.bottom);
    const RECT rcGreeting = {20, 40, 340, 106};
    const POINT ptButton = {180, 138};

    const std::vector<DWORD> before = Settled(hWnd, rcGreeting);
    ASSERT_FALSE(before.empty()) << "the greeting is not on the screen";
    PointAt(hWnd, ptButton, true);
    EXPECT_TRUE(ChangesOnScreen(hWnd, rcGreeting, before)) << "the greeting did not change";

    CloseWith(hWnd, POINT{340, 16});
}

TEST_F(ExampleTest, GalleryTabsSwitchPagesButtonsLightUpAndTheSliderMovesTheProgressBar)
{
    std::map<std::wstring, RECT> rects = LayoutRects(
        SourcePath(L"examples\\gallery\\skin"), L"gallery.xml",
        {L"pages", L"tab_second", L"btn_live", L"slider", L"progress", L"closebtn"});
    ASSERT_EQ(6u, rects.size()) << "the gallery's layout lacks controls the test uses";
    HWND hWnd = Start(HostProgramPath(GALLERY_EXE), L"VeneerGallery");
    ASSERT_TRUE(hWnd != NULL);
    RECT rcClient = {};
    ::GetClientRect(hWnd, &rcClient);
    ASSERT_EQ(820, rcClient.right);
    ASSERT_EQ(620, rcClient.bottom);

    struct Step
    {
        const wchar_t* pstrWatched; // where the screen must change
        const wchar_t* pstrTarget;  // what the mouse acts on
        bool bClick;                // a click, or only the pointer moved over it
        int nAtPercent;             // where across the target, in percent of its width
    };
    const Step steps[] = {
        {L"pages", L"tab_second", true, 50},
        {L"btn_live", L"btn_live", false, 50},
        {L"progress", L"slider", true, 90},
    };
    for (const Step& step : steps) {
        const RECT& rcWatched = rects[step.pstrWatched];
        const RECT& rcTarget = rects[step.pstrTarget];
        const std::vector<DWORD> before = Settled(hWnd, rcWatched);
        ASSERT_FALSE(before.empty()) << "nothing painted at " << Narrow(step.pstrWatched);
        const POINT pt = {rcTarget.left + (rcTarget.right - rcTarget.left) * step.nAtPercent / 100,
                          (rcTarget.top + rcTarget.bottom) / 2};
        PointAt(hWnd, pt, step.bClick);
        EXPECT_TRUE(ChangesOnScreen(hWnd, rcWatched, before))
            << Narrow(step.pstrTarget) << " changed nothing";
    }

    const RECT& rcClose = rects[L"closebtn"];
    CloseWith(hWnd, POINT{(rcClose.left + rcClose.right) / 2, (rcClose.top + rcClose.bottom) / 2});
}

TEST(GalleryPicture, DocsPictureIsWhatTheGallerySkinRendersNow)
{
    TSkinRenderJob job;
    job.source = SourcePath(L"examples\\gallery\\skin\\gallery.xml");
    CSkinRenderer renderer;
    TSkinImage image;
    ASSERT_TRUE(renderer.Render(job, image)) << Narrow(renderer.GetLastError());
    const TDecoded picture = DecodePng(SourcePath(L"docs\\gallery.png"));
    ASSERT_EQ(image.width, picture.width) << "docs/gallery.png is missing or of another size";
    ASSERT_EQ(image.height, picture.height);

    // Blending and smoothing may round a little differently elsewhere; a changed word or digit differs
    // in some dozens of pixels by far more, and so do a moved or recoloured control.
    const int kChannelTolerance = 48;
    const size_t kStrayPixels = 20;
    size_t nDiffering = 0;
    for (size_t i = 0; i < image.rgba.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c) {
            if (abs(static_cast<int>(image.rgba[i + c]) - static_cast<int>(picture.rgba[i + c])) > kChannelTolerance) {
                ++nDiffering;
                break;
            }
        }
    }
    const size_t nPixels = image.rgba.size() / 4;
    EXPECT_LE(nDiffering, kStrayPixels) << nDiffering << " of " << nPixels
                                         << " pixels differ: render docs/gallery.png again (see the README)";
}

} // namespace
