// Fuzz target: the launch trailer: damaged PE headers and section tables, the split text, reading from a file.
#include "veneer/core/UISetup.h"
#include "fuzz/FuzzTargets.h"

#include "app/LaunchTrailer.h"
#include "support/TempFolder.h"

namespace Fuzz {

namespace {

// The headers of a mapped module, up to the end of its section table.
std::string ModuleHeaders(HMODULE hModule)
{
    const BYTE* pBase = reinterpret_cast<const BYTE*>(hModule);
    if (pBase == NULL) return std::string();
    const IMAGE_NT_HEADERS* pNt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    const size_t end = reinterpret_cast<const BYTE*>(IMAGE_FIRST_SECTION(pNt) + pNt->FileHeader.NumberOfSections) - pBase;
    return std::string(reinterpret_cast<const char*>(pBase), end);
}

void Seeds(Inputs& seeds)
{
    for (const wchar_t* module : { (const wchar_t*)NULL, L"kernel32.dll", L"user32.dll", L"ole32.dll" }) {
        seeds.push_back(ModuleHeaders(::GetModuleHandleW(module)));
    }
    AddTestLiterals(seeds, "tests/app", { "|" });
}

bool Run(const BYTE* data, size_t size)
{
    // The bytes as the headers of a mapping: reads past their end meet the guard page.
    bool accepted = GetLaunchTrailerOffset(reinterpret_cast<HMODULE>(const_cast<BYTE*>(data))) != 0;
    GetLaunchTrailerOffset(reinterpret_cast<HMODULE>(reinterpret_cast<UINT_PTR>(data) | 2));

    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& piece : SplitText(text, '|')) TrailerPieceToWide(piece);

    // The bytes as the tail of a file, where this program's own trailer would begin.
    static CTempFolder s_folder;
    const std::wstring path = s_folder.GetFile(L"trailer.exe");
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return accepted;
    LARGE_INTEGER offset;
    offset.QuadPart = GetLaunchTrailerOffset();
    DWORD written = 0;
    if (::SetFilePointerEx(hFile, offset, NULL, FILE_BEGIN) && size > 0) {
        ::WriteFile(hFile, data, static_cast<DWORD>(size), &written, NULL);
    }
    ::SetEndOfFile(hFile);
    ::CloseHandle(hFile);
    // Reading, splitting and converting the second piece, as the customer-service button does.
    return !ReadLaunchTrailerPiece(path.c_str(), 1).empty() || accepted;
}

} // namespace

TTarget TrailerTarget()
{
    return { "trailer", Seeds,
             { "PE", std::string("PE\0\0", 4), "MZ", "|", "http://127.0.0.1:8765/game.html?client=pc|",
               std::string(256, 'x'), std::string(40, '\0'), ".text", ".rsrc" },
             8 * 1024, Run };
}

} // namespace Fuzz
