// Benchmark: building a skin of about 5,000 controls with CDialogBuilder and laying it out in a hidden window.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

const int kRows = 50;
const int kCellsPerRow = 10;
const int kControlsPerCell = 9;
const int kRuns = 9;

// Rows of cells of controls: fixed, min/max-bounded and adjustable children at every level.
std::wstring MakeSkin(int* pnControls)
{
    std::wstring xml = L"<Window size=\"1600,1200\">"
                       L"<Default name=\"Control\" value=\"bkcolor=&quot;#FF202020&quot;\"/>"
                       L"<VerticalLayout inset=\"4,4,4,4\" childpadding=\"2\">";
    int nControls = 1;
    for (int row = 0; row < kRows; ++row) {
        switch (row % 3) {
        case 0: xml += L"<HorizontalLayout height=\"24\" childpadding=\"1\">"; break;
        case 1: xml += L"<HorizontalLayout minheight=\"16\" maxheight=\"40\">"; break;
        default: xml += L"<HorizontalLayout padding=\"2,1,2,1\">"; break;
        }
        ++nControls;
        for (int cell = 0; cell < kCellsPerRow; ++cell) {
            switch (cell % 3) {
            case 0: xml += L"<VerticalLayout width=\"120\">"; break;
            case 1: xml += L"<VerticalLayout minwidth=\"60\" maxwidth=\"200\" inset=\"1,1,1,1\">"; break;
            default: xml += L"<VerticalLayout>"; break;
            }
            ++nControls;
            for (int i = 0; i < kControlsPerCell; ++i) {
                std::wstring name = L" name=\"c" + std::to_wstring(row) + L"_" + std::to_wstring(cell) + L"_" +
                                    std::to_wstring(i) + L"\"";
                switch (i % 3) {
                case 0: xml += L"<Control" + name + L" height=\"3\"/>"; break;
                case 1: xml += L"<Control" + name + L" minheight=\"1\" maxheight=\"4\" padding=\"1,0,1,0\"/>"; break;
                default: xml += L"<Control" + name + L"/>"; break;
                }
                ++nControls;
            }
            xml += L"</VerticalLayout>";
        }
        xml += L"</HorizontalLayout>";
    }
    xml += L"</VerticalLayout></Window>";
    *pnControls = nControls;
    return xml;
}

LRESULT CALLBACK BenchWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

HWND MakeHiddenWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BenchWndProc;
    wc.hInstance = ::GetModuleHandleW(NULL);
    wc.lpszClassName = L"VeneerBenchLayoutWnd";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP, 0, 0, 1600, 1200, NULL, NULL, wc.hInstance,
                             NULL);
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    int nControls = 0;
    const std::wstring skin = MakeSkin(&nControls);
    HWND hWnd = MakeHiddenWindow();
    if (hWnd == NULL) {
        ::printf("bench_build_layout: no window\n");
        return 1;
    }
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);

    std::vector<double> parse;
    std::vector<double> detached;
    std::vector<double> build;
    std::vector<double> attach;
    std::vector<double> layout;
    std::vector<double> relayout;
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER p0;
        LARGE_INTEGER p1;
        LARGE_INTEGER p2;
        ::QueryPerformanceCounter(&p0);
        CMarkup markup;
        const bool bParsed = markup.Load(skin.c_str());
        ::QueryPerformanceCounter(&p1);
        if (!bParsed) {
            ::printf("bench_build_layout: the skin did not parse\n");
            return 1;
        }
        // Without a manager no setter reaches the window: the builder's own cost.
        CDialogBuilder loose;
        delete loose.Create(skin.c_str());
        ::QueryPerformanceCounter(&p2);
        parse.push_back(Seconds(p0, p1, frequency));
        detached.push_back(Seconds(p1, p2, frequency));

        CPaintManagerUI* pManager = new CPaintManagerUI;
        pManager->Init(hWnd);
        LARGE_INTEGER t0;
        LARGE_INTEGER t1;
        LARGE_INTEGER t2;
        LARGE_INTEGER t3;
        LARGE_INTEGER ta;
        ::QueryPerformanceCounter(&t0);
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(skin.c_str(), NULL, NULL, pManager);
        ::QueryPerformanceCounter(&t1);
        if (pRoot == NULL) {
            ::printf("bench_build_layout: the skin did not build\n");
            return 1;
        }
        // Attaching initialises every control and fills the name map.
        pManager->AttachDialog(pRoot);
        ::QueryPerformanceCounter(&ta);
        pRoot->SetPos(CUIRect(0, 0, 1600, 1200));
        ::QueryPerformanceCounter(&t2);
        pRoot->SetPos(CUIRect(0, 0, 1200, 900));
        ::QueryPerformanceCounter(&t3);
        build.push_back(Seconds(t0, t1, frequency));
        attach.push_back(Seconds(t1, ta, frequency));
        layout.push_back(Seconds(ta, t2, frequency));
        relayout.push_back(Seconds(t2, t3, frequency));
        delete pManager;
    }
    ::DestroyWindow(hWnd);

    const double perControl = 1e9 / nControls;
    ::printf("bench_build_layout: %d controls, skin of %u characters, %d runs (median, best)\n", nControls,
             static_cast<unsigned>(skin.size()), kRuns);
    ::printf("  markup parse alone:                  %8.2f ms  %8.2f ms  = %7.0f ns/control\n",
             Median(parse) * 1e3, *std::min_element(parse.begin(), parse.end()) * 1e3, Median(parse) * perControl);
    ::printf("  build without a manager:             %8.2f ms  %8.2f ms  = %7.0f ns/control\n",
             Median(detached) * 1e3, *std::min_element(detached.begin(), detached.end()) * 1e3,
             Median(detached) * perControl);
    ::printf("  build (parse + create + attributes): %8.2f ms  %8.2f ms  = %7.0f ns/control\n",
             Median(build) * 1e3, *std::min_element(build.begin(), build.end()) * 1e3, Median(build) * perControl);
    ::printf("  attach to the paint manager:         %8.2f ms  %8.2f ms  = %7.0f ns/control\n",
             Median(attach) * 1e3, *std::min_element(attach.begin(), attach.end()) * 1e3,
             Median(attach) * perControl);
    ::printf("  first layout:                        %8.2f ms  %8.2f ms  = %7.0f ns/control\n",
             Median(layout) * 1e3, *std::min_element(layout.begin(), layout.end()) * 1e3,
             Median(layout) * perControl);
    ::printf("  layout at a new size:                %8.2f ms  %8.2f ms  = %7.0f ns/control\n",
             Median(relayout) * 1e3, *std::min_element(relayout.begin(), relayout.end()) * 1e3,
             Median(relayout) * perControl);
    return 0;
}
