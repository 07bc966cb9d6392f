// Entry point of the skin render tool: runs the command and prints its message.
#include "veneer/core/UISetup.h"
#include "SkinRender.h"

#include "veneer/window/UIManager.h"

#include <string>
#include <vector>

namespace {

// Console output as UTF-8 so layout and file names in any script survive.
void Print(FILE* stream, const std::wstring& text)
{
    int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0, NULL, NULL);
    if (length <= 0) return;
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0], length, NULL, NULL);
    ::fwrite(bytes.data(), 1, bytes.size(), stream);
    ::fflush(stream);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // Like any program of the framework: window classes and instance-relative paths use this module.
    Veneer::CPaintManagerUI::SetInstance(::GetModuleHandleW(NULL));
    std::vector<std::wstring> args(argv, argv + argc);
    std::wstring message;
    int code = RunSkinRender(args, message);
    Print(code == 0 ? stdout : stderr, message);
    return code;
}
