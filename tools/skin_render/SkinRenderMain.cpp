// Entry point of the skin render tool: runs the command and prints its message.
#include "veneer/core/UISetup.h"
#include "SkinRender.h"

#include "veneer/window/UIManager.h"

#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
    // Like any program of the framework: window classes and instance-relative paths use this module.
    Veneer::CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
    std::vector<std::wstring> args(argv, argv + argc);
    std::wstring message;
    int code = RunSkinRender(args, message);
    PrintUtf8(code == 0 ? stdout : stderr, message);
    return code;
}
