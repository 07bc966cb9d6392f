// Picture decoding: the same pictures in two folders (say, a skin before and after recompression) loaded by
// the framework's image loader, interleaved run by run, medians side by side.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "PaintBenchSkin.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Veneer;
using PaintBench::Median;
using PaintBench::Time;

namespace {

// The PNG files of a folder, by name.
std::vector<std::wstring> PngNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW((folder + L"\\*.png").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(data.cFileName);
    } while (::FindNextFileW(hFind, &data));
    ::FindClose(hFind);
    std::sort(names.begin(), names.end());
    return names;
}

// Seconds one load of the file takes (read and decode), or a negative value when it cannot be loaded.
double LoadOnce(const std::wstring& path)
{
    TImageInfo* pImage = NULL;
    const double seconds = Time([&] { pImage = CRenderEngine::LoadImage(path.c_str(), NULL, 0xFFFF00FF); });
    if (pImage == NULL) return -1;
    CRenderEngine::FreeImage(pImage);
    return seconds;
}

// A command-line argument as a wide string (the arguments are folder paths in the ANSI code page).
std::wstring Wide(const char* psz)
{
    wchar_t sz[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, psz, -1, sz, MAX_PATH);
    return sz;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: bench_image_decode FOLDER_A FOLDER_B [runs]\n");
        return 2;
    }
    const std::wstring a = Wide(argv[1]);
    const std::wstring b = Wide(argv[2]);
    const int runs = argc > 3 ? std::max(9, std::atoi(argv[3])) : 9;
    std::printf("picture decoding (read and decode by the framework's loader), median of %d runs, ms\n", runs);
    std::printf("  %-24s %10s %10s %8s\n", "picture", "A", "B", "B / A");
    double totalA = 0;
    double totalB = 0;
    for (const std::wstring& name : PngNames(a)) {
        std::vector<double> timesA;
        std::vector<double> timesB;
        for (int run = 0; run < runs; ++run) {
            timesA.push_back(LoadOnce(a + L"\\" + name));
            timesB.push_back(LoadOnce(b + L"\\" + name));
        }
        const double medianA = Median(timesA);
        const double medianB = Median(timesB);
        if (medianA < 0 || medianB < 0) {
            std::printf("  %-24ls cannot be loaded from both folders\n", name.c_str());
            continue;
        }
        totalA += medianA;
        totalB += medianB;
        std::printf("  %-24ls %10.3f %10.3f %8.2f\n", name.c_str(), medianA * 1e3, medianB * 1e3, medianB / medianA);
    }
    if (totalA > 0) {
        std::printf("  %-24s %10.3f %10.3f %8.2f\n", "all", totalA * 1e3, totalB * 1e3, totalB / totalA);
    }
    return 0;
}
