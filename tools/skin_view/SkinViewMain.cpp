// Entry point of the skin preview tool: opens the preview window and runs it until it is closed.
#include "veneer/core/UISetup.h"
#include "SkinView.h"

int wmain(int argc, wchar_t** argv)
{
    Veneer::CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
    // Skins may hold ActiveX and web browser controls.
    ::OleInitialize(NULL);
    const std::vector<std::wstring> args(argv, argv + argc);
    const std::wstring program = L"skin_view";
    TSkinViewOptions options;
    bool help = false;
    std::wstring error;
    if (!ParseSkinViewArguments(args, options, help, error)) {
        PrintUtf8(stderr, program + L": " + error + L"\n\n" + SkinViewUsage(program));
        return 2;
    }
    if (help) {
        PrintUtf8(stdout, SkinViewUsage(program));
        return 0;
    }
    int code = 0;
    {
        CSkinViewWnd wnd(options, [](const std::wstring& line) { PrintUtf8(stdout, line + L"\n"); });
        wnd.SetQuitOnClose(true);
        if (!wnd.Open()) {
            PrintUtf8(stderr, program + L": cannot create the window\n");
            code = 1;
        } else {
            wnd.ShowWindow();
            Veneer::CPaintManagerUI::MessageLoop();
        }
    }
    ::OleUninitialize();
    return code;
}
