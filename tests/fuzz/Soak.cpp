// Soak program: the launcher's login skin and a generated ~500-control skin painted, resized, rebuilt and
// whole windows made and destroyed many times; GDI objects, windows, kernel handles and memory must not
// grow from the middle of the run to its end.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"

#include "app/LoginFrame.h"

#include <algorithm>
#include <cstdio>
#include <string>

using namespace Veneer;

namespace {

// ---- counting what the process holds -------------------------------------------------------------
// Wine answers 0 to GetGuiResources and GetProcessHandleCount; there the handle values are probed.
// A GDI or window handle without its upper word matches whatever generation holds that slot.

DWORD CountGdiObjects()
{
    DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (count != 0) return count;
    for (UINT_PTR value = 1; value < 0x10000; ++value) {
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0) ++count;
    }
    return count;
}

DWORD CountWindows()
{
    DWORD count = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (count != 0) return count;
    for (UINT_PTR value = 0x20; value < 0x10000; value += 2) {
        HWND hWnd = reinterpret_cast<HWND>(value);
        DWORD pid = 0;
        if (::IsWindow(hWnd) && ::GetWindowThreadProcessId(hWnd, &pid) != 0 && pid == ::GetCurrentProcessId()) ++count;
    }
    return count;
}

DWORD CountKernelHandles()
{
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count != 0) return count;
    // Handles are handed out lowest first: a long run of free values means the rest are free too.
    for (UINT_PTR value = 4, misses = 0; misses < 4096; value += 4) {
        DWORD flags = 0;
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            misses = 0;
        } else {
            ++misses;
        }
    }
    return count;
}

// Private memory committed to the process, in KiB.
SIZE_T CommittedKb()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi;
    for (const BYTE* p = NULL; ::VirtualQuery(p, &mbi, sizeof(mbi)) == sizeof(mbi);
         p = static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
    }
    return total / 1024;
}

// Bytes of the process's heaps in use, in KiB.
SIZE_T HeapInUseKb()
{
    HANDLE heaps[256];
    const DWORD count = std::min<DWORD>(::GetProcessHeaps(lengthof(heaps), heaps), lengthof(heaps));
    SIZE_T total = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!::HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heaps[i], &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) total += entry.cbData;
        }
        ::HeapUnlock(heaps[i]);
    }
    return total / 1024;
}

struct TCounts
{
    SIZE_T values[6];
};

const char* const kRows[] = { "GDI objects", "windows", "kernel handles", "committed KiB", "heap in use KiB",
                              "fonts of the rebuilt skin" };
// Growth a row may show from the middle to the end: the handle counts none, memory a little allocator slack.
const SIZE_T kSlack[] = { 0, 0, 0, 1024, 64, 0 };

// ---- the windows ----------------------------------------------------------------------------------

// A skinned window on the launcher's packed skin archive: the login layout, or the layout text given.
class CSoakWindow : public WindowImplBase
{
public:
    explicit CSoakWindow(const std::wstring& skin) : m_sSkin(skin.c_str()) {}

    LPCWSTR GetWindowClass() const override { return L"VeneerSoakWindow"; }

    // Builds the skin again into the living manager, releasing what the last build registered.
    void Rebuild()
    {
        m_PaintManager.ReleaseSkinResources();
        CDialogBuilder builder;
        CControlUI* pRoot = builder.Create(STRINGorID(m_sSkin.GetData()), NULL, this, &m_PaintManager);
        if (pRoot != NULL) m_PaintManager.AttachDialog(pRoot);
    }

protected:
    CUIString GetSkinDir() override { return CUIString(); }
    CUIString GetSkinXml() override { return m_sSkin; }
    UILIB_RESOURCETYPE GetResourceType() const override { return UILIB_FROM_ZIPRESOURCE; }
    UINT GetResourceID() const override { return kSkinArchiveResourceId; }

private:
    CUIString m_sSkin;
};

// About 500 controls of every common kind, with fonts, default lists and the skin's images.
std::wstring GeneratedSkin(int& controls)
{
    std::wstring skin = L"<Window size=\"800,600\" sizebox=\"4,4,4,4\" caption=\"0,0,0,30\">"
                        L"<Font name=\"Arial\" size=\"12\"/><Font name=\"Tahoma\" size=\"14\" bold=\"true\"/>"
                        L"<Font name=\"Courier New\" size=\"13\" italic=\"true\"/>"
                        L"<Default name=\"Button\" value=\"normalimage=&quot;close_n.png&quot; "
                        L"hotimage=&quot;close_h.png&quot; pushedimage=&quot;close_p.png&quot;\"/>"
                        L"<VerticalLayout bkimage=\"file='PlayGameBg.png' corner='10,32,10,10'\" vscrollbar=\"true\">";
    for (int row = 0; row < 48; ++row) {
        const std::wstring n = std::to_wstring(row);
        skin += L"<HorizontalLayout height=\"26\" childpadding=\"2\" bkcolor=\"#FFF0F0F0\">"
                L"<Label text=\"Row " + n + L"\" font=\"0\" width=\"50\"/><Button text=\"Go\" width=\"40\"/>"
                L"<Option group=\"g" + n + L"\" text=\"a\" width=\"30\" selected=\"true\"/>"
                L"<Option group=\"g" + n + L"\" text=\"b\" width=\"30\"/><CheckBox text=\"c\" width=\"30\"/>"
                L"<Edit text=\"edit " + n + L"\" width=\"60\"/><Progress value=\"" + n + L"\" width=\"50\" "
                L"foreimage=\"minibtn.png\"/><Slider value=\"" + n + L"\" width=\"50\" thumbimage=\"maxbtn.png\"/>"
                L"<Text text=\"{b}bold{/b} {a x}link{/a}\" showhtml=\"true\" font=\"1\" width=\"80\"/>"
                L"<Control bkimage=\"file='kefubtn.png' source='0,0,27,27'\" width=\"27\"/></HorizontalLayout>";
    }
    skin += L"<TabLayout height=\"60\" selectedid=\"1\"><Label text=\"tab 0\"/><TileLayout columns=\"4\">";
    for (int i = 0; i < 12; ++i) skin += L"<Button text=\"tile\" font=\"2\"/>";
    controls = 48 * 11 + 16;
    return skin + L"</TileLayout></TabLayout></VerticalLayout></Window>";
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void Paint(HWND hWnd)
{
    ::InvalidateRect(hWnd, NULL, FALSE);
    ::UpdateWindow(hWnd);
    Pump();
}

struct TWorkload
{
    int paints = 10000;
    int resizes = 2000;
    int rebuilds = 1000;
    int cycles = 1000;
};

// Milliseconds spent in each part of the workload.
DWORD g_phaseMs[4];

// Half of the workload, on the two long-lived windows and windows of their own.
void RunHalf(const TWorkload& work, CSoakWindow& login, CSoakWindow& big, const std::wstring& generated)
{
    DWORD tick = ::GetTickCount();
    auto phase = [&tick](int index) {
        const DWORD now = ::GetTickCount();
        g_phaseMs[index] += now - tick;
        tick = now;
    };
    for (int i = 0; i < work.paints / 2; ++i) Paint(i % 2 == 0 ? login.GetHWND() : big.GetHWND());
    phase(0);
    for (int i = 0; i < work.resizes / 2; ++i) {
        ::SetWindowPos(big.GetHWND(), NULL, 0, 0, 300 + (i * 37) % 700, 200 + (i * 53) % 500,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        Paint(big.GetHWND());
    }
    phase(1);
    for (int i = 0; i < work.rebuilds / 2; ++i) {
        big.Rebuild();
        Paint(big.GetHWND());
    }
    phase(2);
    for (int i = 0; i < work.cycles / 2; ++i) {
        // Mostly the launcher's window; every tenth the large skin.
        CSoakWindow window(i % 10 == 9 ? generated : std::wstring(L"login.xml"));
        window.Create(NULL, L"soak cycle", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 0, 0, 800, 600);
        Paint(window.GetHWND());
        ::DestroyWindow(window.GetHWND());
        Pump();
    }
    phase(3);
}

TCounts Count(CSoakWindow* big)
{
    TCounts counts = { { CountGdiObjects(), CountWindows(), CountKernelHandles(), CommittedKb(), HeapInUseKb(),
                         static_cast<SIZE_T>(big != NULL ? big->GetPaintManager()->GetCustomFontCount() : 0) } };
    return counts;
}

} // namespace

int main()
{
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    TWorkload work;
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        int* target = arg == L"--paints" ? &work.paints : arg == L"--resizes" ? &work.resizes
                    : arg == L"--rebuilds" ? &work.rebuilds : arg == L"--cycles" ? &work.cycles : NULL;
        if (arg == L"--quick") {
            // A fiftieth: still enough repetitions that a leak per operation shows as growth.
            work.paints /= 50;
            work.resizes /= 50;
            work.rebuilds /= 50;
            work.cycles /= 50;
        } else if (target != NULL && i + 1 < argc) {
            *target = _wtoi(argv[++i]);
        } else {
            std::printf("usage: soak [--quick] [--paints N] [--resizes N] [--rebuilds N] [--cycles N]\n");
            return 2;
        }
    }
    ::OleInitialize(NULL);
    CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));

    const TCounts start = Count(NULL);
    const DWORD started = ::GetTickCount();
    int controls = 0;
    const std::wstring generated = GeneratedSkin(controls);
    CSoakWindow login(L"login.xml");
    CSoakWindow big(generated);
    login.Create(NULL, L"soak login", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 0, 0, 1034, 680);
    big.Create(NULL, L"soak generated", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 100, 50, 800, 600);
    if (login.GetHWND() == NULL || big.GetHWND() == NULL) {
        std::printf("soak: the windows could not be made\n");
        return 1;
    }
    RunHalf(work, login, big, generated);
    const TCounts middle = Count(&big);
    RunHalf(work, login, big, generated);
    const TCounts end = Count(&big);

    std::printf("soak: %d paints, %d resizes, %d rebuilds of %d controls, %d window cycles in %.1f s\n", work.paints,
                work.resizes, work.rebuilds, controls, work.cycles, (::GetTickCount() - started) / 1000.0);
    std::printf("time: paints %.1f s, resizes %.1f s, rebuilds %.1f s, window cycles %.1f s\n", g_phaseMs[0] / 1000.0,
                g_phaseMs[1] / 1000.0, g_phaseMs[2] / 1000.0, g_phaseMs[3] / 1000.0);
    std::printf("%-26s %10s %10s %10s\n", "", "start", "middle", "end");
    bool grew = false;
    for (size_t row = 0; row < lengthof(kRows); ++row) {
        const bool rowGrew = end.values[row] > middle.values[row] + kSlack[row];
        grew = grew || rowGrew;
        std::printf("%-26s %10lu %10lu %10lu%s\n", kRows[row], static_cast<unsigned long>(start.values[row]),
                    static_cast<unsigned long>(middle.values[row]), static_cast<unsigned long>(end.values[row]),
                    rowGrew ? "   GREW" : "");
    }
    ::DestroyWindow(big.GetHWND());
    ::DestroyWindow(login.GetHWND());
    Pump();
    std::printf(grew ? "soak: FAILED, the process grew from the middle to the end\n" : "soak: flat from the middle to the end\n");
    return grew ? 1 : 0;
}
