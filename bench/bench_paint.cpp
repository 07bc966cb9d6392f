// Benchmark: layout and painting of a 1286 x 768 window holding about 2,000 visible labels, buttons and containers.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

const int kWidth = 1286;
const int kHeight = 768;
const int kRows = 30;
const int kCellsPerRow = 22;
const int kRuns = 15;

// Rows of bordered cells with a nine-grid background, each holding a text label and an image button.
std::wstring MakeSkin(int* pnControls)
{
    std::wstring xml = L"<Window size=\"" + std::to_wstring(kWidth) + L"," + std::to_wstring(kHeight) + L"\">"
                       L"<Default name=\"Label\" value=\"textcolor=&quot;#FFF0F0F0&quot; align=&quot;center&quot;\"/>"
                       L"<VerticalLayout bkcolor=\"#FF303038\" inset=\"3,3,3,3\" childpadding=\"1\">";
    int nControls = 1;
    for (int row = 0; row < kRows; ++row) {
        xml += L"<HorizontalLayout childpadding=\"1\">";
        ++nControls;
        for (int cell = 0; cell < kCellsPerRow; ++cell) {
            const std::wstring id = std::to_wstring(row) + L"_" + std::to_wstring(cell);
            xml += L"<HorizontalLayout name=\"cell" + id +
                   L"\" bkimage=\"file='cellbk' corner='4,4,4,4'\" bordersize=\"1\" bordercolor=\"#FF8090A0\""
                   L" inset=\"2,2,2,2\">";
            xml += L"<Label name=\"label" + id + L"\" text=\"r" + std::to_wstring(row) + L"c" + std::to_wstring(cell) +
                   L"\"/>";
            xml += L"<Button name=\"button" + id + L"\" width=\"16\" normalimage=\"file='icon' dest='0,2,16,18'\"/>";
            xml += L"</HorizontalLayout>";
            nControls += 3;
        }
        xml += L"</HorizontalLayout>";
    }
    xml += L"</VerticalLayout></Window>";
    *pnControls = nControls;
    return xml;
}

// A premultiplied top-down 32-bit bitmap; pixel(x, y) gives straight ARGB.
template <typename Pixel>
HBITMAP MakeBitmap(int cx, int cy, Pixel pixel)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HBITMAP hBitmap = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hBitmap == NULL) return NULL;
    BYTE* p = static_cast<BYTE*>(pBits);
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x, p += 4) {
            DWORD argb = pixel(x, y);
            DWORD a = argb >> 24;
            p[0] = static_cast<BYTE>((argb & 0xFF) * a / 255);
            p[1] = static_cast<BYTE>(((argb >> 8) & 0xFF) * a / 255);
            p[2] = static_cast<BYTE>(((argb >> 16) & 0xFF) * a / 255);
            p[3] = static_cast<BYTE>(a);
        }
    }
    return hBitmap;
}

// The window under test: its messages go to the paint manager, as a skinned window's do.
class CBenchWnd : public CWindowWnd
{
public:
    CPaintManagerUI* m_pManager = NULL;

    LPCWSTR GetWindowClass() const override { return L"VeneerBenchPaintWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lRes = 0;
        if (m_pManager != NULL && m_pManager->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char* what, const std::vector<double>& values, int nControls)
{
    ::printf("  %-44s %8.3f ms  %8.3f ms  = %7.0f ns/control\n", what, Median(values) * 1e3,
             *std::min_element(values.begin(), values.end()) * 1e3, Median(values) * 1e9 / nControls);
}

} // namespace

int main()
{
    int nControls = 0;
    const std::wstring skin = MakeSkin(&nControls);

    CBenchWnd wnd;
    if (wnd.Create(NULL, L"bench_paint", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, kWidth, kHeight) == NULL) {
        ::printf("bench_paint: no window\n");
        return 1;
    }
    HWND hWnd = wnd.GetHWND();
    CPaintManagerUI* pManager = new CPaintManagerUI;
    pManager->Init(hWnd);
    wnd.m_pManager = pManager;

    // The images live in the manager's cache, so no skin files are needed.
    HBITMAP hCell = MakeBitmap(16, 16, [](int x, int y) {
        bool edge = x < 2 || y < 2 || x > 13 || y > 13;
        return edge ? 0xC0A0B0C0u : 0x80205080u + static_cast<DWORD>((x + y) * 3);
    });
    HBITMAP hIcon = MakeBitmap(16, 16, [](int x, int y) {
        return ((x / 4 + y / 4) % 2 == 0) ? 0xFFE0A020u : 0xFF2060C0u;
    });
    if (pManager->AddImage(L"cellbk", hCell, 16, 16, true) == NULL ||
        pManager->AddImage(L"icon", hIcon, 16, 16, true) == NULL) {
        ::printf("bench_paint: images could not be cached\n");
        return 1;
    }

    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(skin.c_str(), NULL, NULL, pManager);
    if (pRoot == NULL) {
        ::printf("bench_paint: the skin did not build\n");
        return 1;
    }
    pManager->AttachDialog(pRoot);
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hWnd);

    CControlUI* pSingle = pManager->FindControl(L"label15_11");
    if (pSingle == NULL) {
        ::printf("bench_paint: the probe label is missing\n");
        return 1;
    }
    RECT rcClient = {};
    ::GetClientRect(hWnd, &rcClient);

    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = kWidth;
    bmi.bmiHeader.biHeight = -kHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HDC hPrintDC = ::CreateCompatibleDC(NULL);
    HBITMAP hPrintBitmap = ::CreateDIBSection(hPrintDC, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    HBITMAP hOldBitmap = static_cast<HBITMAP>(::SelectObject(hPrintDC, hPrintBitmap));

    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> layout;
    std::vector<double> paint;
    std::vector<double> print;
    std::vector<double> single;
    bool bPainted = true;
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER t0;
        LARGE_INTEGER t1;
        pRoot->NeedUpdate();
        ::QueryPerformanceCounter(&t0);
        pManager->UpdateLayout();
        ::QueryPerformanceCounter(&t1);
        layout.push_back(Seconds(t0, t1, frequency));
        // The layout dropped the offscreen bitmap; one paint makes it again before the timed ones.
        ::InvalidateRect(hWnd, NULL, FALSE);
        ::UpdateWindow(hWnd);

        ::InvalidateRect(hWnd, NULL, FALSE);
        bPainted = bPainted && ::GetUpdateRect(hWnd, NULL, FALSE);
        ::QueryPerformanceCounter(&t0);
        ::UpdateWindow(hWnd);
        ::GdiFlush();
        ::QueryPerformanceCounter(&t1);
        bPainted = bPainted && !::GetUpdateRect(hWnd, NULL, FALSE);
        paint.push_back(Seconds(t0, t1, frequency));

        ::QueryPerformanceCounter(&t0);
        ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hPrintDC), PRF_CLIENT);
        ::GdiFlush();
        ::QueryPerformanceCounter(&t1);
        print.push_back(Seconds(t0, t1, frequency));

        pSingle->Invalidate();
        ::QueryPerformanceCounter(&t0);
        ::UpdateWindow(hWnd);
        ::GdiFlush();
        ::QueryPerformanceCounter(&t1);
        single.push_back(Seconds(t0, t1, frequency));
    }

    ::SelectObject(hPrintDC, hOldBitmap);
    ::DeleteObject(hPrintBitmap);
    ::DeleteDC(hPrintDC);
    wnd.m_pManager = NULL;
    delete pManager;
    ::DestroyWindow(hWnd);
    if (!bPainted) {
        ::printf("bench_paint: the window did not get its paint messages; the figures mean nothing\n");
        return 1;
    }

    ::printf("bench_paint: %d controls in a %ld x %ld client, %d runs (median, best)\n", nControls,
             static_cast<long>(rcClient.right - rcClient.left), static_cast<long>(rcClient.bottom - rcClient.top),
             kRuns);
    Report("full layout (root flagged):", layout, nControls);
    Report("full paint (WM_PAINT, offscreen + blit):", paint, nControls);
    Report("full paint into a DIB (WM_PRINTCLIENT):", print, nControls);
    Report("paint after one label is invalidated:", single, nControls);
    return 0;
}
