// Launch trailer: locating it behind the last section, reading it from the file and splitting it.
#include "veneer/core/UISetup.h"
#include "app/LaunchTrailer.h"

#include <algorithm>

namespace {

const DWORD kReadableProtection = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ
                                  | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// Whether the nBytes from pBase on are committed and readable, so a damaged header that points
// outside the mapping is refused instead of read.
bool IsReadable(const BYTE* pBase, ULONGLONG nBytes)
{
    ULONGLONG nChecked = 0;
    while (nChecked < nBytes) {
        MEMORY_BASIC_INFORMATION mbi;
        if (::VirtualQuery(pBase + nChecked, &mbi, sizeof(mbi)) != sizeof(mbi)) return false;
        if (mbi.State != MEM_COMMIT || (mbi.Protect & PAGE_GUARD) != 0
            || (mbi.Protect & kReadableProtection) == 0) {
            return false;
        }
        nChecked = static_cast<ULONGLONG>(static_cast<const BYTE*>(mbi.BaseAddress) + mbi.RegionSize - pBase);
    }
    return true;
}

// Copies a header field; the caller has checked that it lies inside the readable headers.
template <typename T>
T ReadField(const BYTE* pBase, ULONGLONG nOffset)
{
    T value;
    memcpy(&value, pBase + static_cast<size_t>(nOffset), sizeof(T));
    return value;
}

}  // namespace

DWORD GetLaunchTrailerOffset()
{
    return GetLaunchTrailerOffset(::GetModuleHandleW(NULL));
}

DWORD GetLaunchTrailerOffset(HMODULE hModule)
{
    // A module loaded as a data file has its low handle bits set; the mapping starts at the rest.
    const BYTE* pBase = reinterpret_cast<const BYTE*>(reinterpret_cast<UINT_PTR>(hModule) & ~static_cast<UINT_PTR>(3));
    if (pBase == NULL || !IsReadable(pBase, sizeof(IMAGE_DOS_HEADER))) return 0;
    if (ReadField<WORD>(pBase, offsetof(IMAGE_DOS_HEADER, e_magic)) != IMAGE_DOS_SIGNATURE) return 0;
    const LONG nPeHeader = ReadField<LONG>(pBase, offsetof(IMAGE_DOS_HEADER, e_lfanew));
    if (nPeHeader < static_cast<LONG>(sizeof(IMAGE_DOS_HEADER))) return 0;

    // Signature, file header and the part of the optional header up to SizeOfImage, whose offset is
    // the same in PE32 and PE32+.
    const ULONGLONG nFileHeader = static_cast<ULONGLONG>(nPeHeader) + sizeof(DWORD);
    const ULONGLONG nOptionalHeader = nFileHeader + sizeof(IMAGE_FILE_HEADER);
    const ULONGLONG nSizeOfImageField = nOptionalHeader + offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfImage);
    const ULONGLONG nFixedEnd = nSizeOfImageField + sizeof(DWORD);
    if (!IsReadable(pBase, nFixedEnd)) return 0;
    if (ReadField<DWORD>(pBase, static_cast<ULONGLONG>(nPeHeader)) != IMAGE_NT_SIGNATURE) return 0;
    const DWORD nSizeOfImage = ReadField<DWORD>(pBase, nSizeOfImageField);
    const WORD nSections = ReadField<WORD>(pBase, nFileHeader + offsetof(IMAGE_FILE_HEADER, NumberOfSections));
    const WORD nOptionalSize = ReadField<WORD>(pBase, nFileHeader + offsetof(IMAGE_FILE_HEADER, SizeOfOptionalHeader));
    if (nSections == 0 || nOptionalHeader + nOptionalSize < nFixedEnd) return 0;

    // The optional header's size decides where the section table starts (224 bytes in PE32, 240 in PE32+).
    const ULONGLONG nLastSection = nOptionalHeader + nOptionalSize
                                   + static_cast<ULONGLONG>(nSections - 1) * sizeof(IMAGE_SECTION_HEADER);
    const ULONGLONG nTableEnd = nLastSection + sizeof(IMAGE_SECTION_HEADER);
    if (nTableEnd > nSizeOfImage || !IsReadable(pBase, nTableEnd)) return 0;

    const ULONGLONG nTrailer =
        static_cast<ULONGLONG>(ReadField<DWORD>(pBase, nLastSection + offsetof(IMAGE_SECTION_HEADER, PointerToRawData)))
        + ReadField<DWORD>(pBase, nLastSection + offsetof(IMAGE_SECTION_HEADER, SizeOfRawData));
    return nTrailer > MAXDWORD ? 0 : static_cast<DWORD>(nTrailer);
}

bool ReadLaunchTrailerBytes(LPCWSTR pstrPath, char (&szBuffer)[kLaunchTrailerMaxBytes], DWORD& nLength)
{
    nLength = 0;
    HANDLE hFile = ::CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        Veneer::CUIString sMessage = L"资源文件不存在，打开错误";
        if (pstrPath != NULL) sMessage += pstrPath;
        ::MessageBoxW(NULL, sMessage, L"提示", MB_OK);
        return false;
    }
    DWORD nRead = 0;
    LARGE_INTEGER nOffset;
    nOffset.QuadPart = GetLaunchTrailerOffset();
    // Offset 0 means the headers could not be read; the file start is no trailer.
    const bool bRead = nOffset.QuadPart != 0 && ::SetFilePointerEx(hFile, nOffset, NULL, FILE_BEGIN)
                       && ::ReadFile(hFile, szBuffer, sizeof(szBuffer), &nRead, NULL);
    ::CloseHandle(hFile);
    if (!bRead) return false;
    nLength = static_cast<DWORD>(std::find(szBuffer, szBuffer + nRead, '\0') - szBuffer);
    return true;
}

Veneer::CUIString TrailerPieceToWide(const char* pPiece, int nLength)
{
    // Both conversions read a terminated copy: the length is measured up to the terminator.
    char szPiece[kLaunchTrailerMaxBytes + 1] = {};
    if (nLength < 0 || nLength > static_cast<int>(kLaunchTrailerMaxBytes)) return Veneer::CUIString();
    std::copy(pPiece, pPiece + nLength, szPiece);
    const int nWide = ::MultiByteToWideChar(CP_UTF8, 0, szPiece, -1, NULL, 0);
    if (nWide <= 0) return Veneer::CUIString();
    // One spare zeroed character keeps the result terminated whatever the conversion writes.
    wchar_t szWide[kLaunchTrailerMaxBytes + 2] = {};
    if (nWide > static_cast<int>(kLaunchTrailerMaxBytes) + 1) return Veneer::CUIString();
    if (::MultiByteToWideChar(CP_ACP, 0, szPiece, -1, szWide, nWide) == 0) return Veneer::CUIString();
    return Veneer::CUIString(szWide);
}

Veneer::CUIString ReadLaunchTrailerPiece(size_t nPiece)
{
    wchar_t szPath[MAX_PATH] = {};
    if (::GetModuleFileNameW(NULL, szPath, MAX_PATH) == 0) return Veneer::CUIString();
    return ReadLaunchTrailerPiece(szPath, nPiece);
}

Veneer::CUIString ReadLaunchTrailerPiece(LPCWSTR pstrPath, size_t nPiece)
{
    char szText[kLaunchTrailerMaxBytes] = {};
    DWORD nLength = 0;
    if (!ReadLaunchTrailerBytes(pstrPath, szText, nLength)) return Veneer::CUIString();
    const char* pText = szText;
    const char* pEnd = pText + nLength;
    if (std::find(pText, pEnd, '|') == pEnd) return Veneer::CUIString();
    // The non-empty pieces between separators, as SplitText cuts them, counted without copies.
    size_t nIndex = 0;
    for (const char* p = pText; p < pEnd;) {
        const char* pStop = std::find(p, pEnd, '|');
        if (pStop > p && nIndex++ == nPiece) return TrailerPieceToWide(p, static_cast<int>(pStop - p));
        p = pStop + 1;
    }
    return Veneer::CUIString();
}
