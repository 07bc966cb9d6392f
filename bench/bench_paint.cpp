// Benchmark: layout and painting of a 1286 x 768 window holding about 2,000 visible labels, buttons and containers.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "bench/PaintBenchSkin.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

using namespace PaintBench;

const int kRuns = 15;

void Report(const char* what, const std::vector<double>& values, int nControls)
{
    ::printf("  %-44s %8.3f ms  %8.3f ms  = %7.0f ns/control\n", what, Median(values) * 1e3,
             *std::min_element(values.begin(), values.end()) * 1e3, Median(values) * 1e9 / nControls);
}

} // namespace

int main()
{
    int nControls = 0;
    const std::wstring skin = MakeSkin(kFullSkin, &nControls);

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
    TBenchImages images = {};
    if (!AddBenchImages(pManager, &images)) {
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

    TDibCanvas print;
    if (!print.Create(kWidth, kHeight)) {
        ::printf("bench_paint: no bitmap to print into\n");
        return 1;
    }

    std::vector<double> layoutTimes;
    std::vector<double> paintTimes;
    std::vector<double> printTimes;
    std::vector<double> singleTimes;
    bool bPainted = true;
    for (int run = 0; run < kRuns; ++run) {
        pRoot->NeedUpdate();
        layoutTimes.push_back(Time([&] { pManager->UpdateLayout(); }));
        // The layout dropped the offscreen bitmap; one paint makes it again before the timed ones.
        ::InvalidateRect(hWnd, NULL, FALSE);
        ::UpdateWindow(hWnd);

        ::InvalidateRect(hWnd, NULL, FALSE);
        bPainted = bPainted && ::GetUpdateRect(hWnd, NULL, FALSE);
        paintTimes.push_back(Time([&] { ::UpdateWindow(hWnd); }));
        bPainted = bPainted && !::GetUpdateRect(hWnd, NULL, FALSE);

        printTimes.push_back(Time([&] {
            ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(print.hDC), PRF_CLIENT);
        }));

        pSingle->Invalidate();
        singleTimes.push_back(Time([&] { ::UpdateWindow(hWnd); }));
    }

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
    Report("full layout (root flagged):", layoutTimes, nControls);
    Report("full paint (WM_PAINT, offscreen + blit):", paintTimes, nControls);
    Report("full paint into a DIB (WM_PRINTCLIENT):", printTimes, nControls);
    Report("paint after one label is invalidated:", singleTimes, nControls);
    return 0;
}
