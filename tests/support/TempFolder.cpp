// Test helper: a fresh folder under the temporary directory, removed with everything in it.
#include "veneer/core/UISetup.h"
#include "TempFolder.h"
#include "ZipWriter.h"

namespace {

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if( find != INVALID_HANDLE_VALUE ) {
        do {
            const std::wstring name = data.cFileName;
            if( name == L"." || name == L".." ) continue;
            if( (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ) {
                RemoveTree(folder + name + L"\\");
            }
            else {
                ::SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW((folder + name).c_str());
            }
        } while( ::FindNextFileW(find, &data) );
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace

CTempFolder::CTempFolder()
{
    wchar_t base[MAX_PATH + 1] = {};
    if( ::GetTempPathW(MAX_PATH, base) == 0 ) return;
    for( unsigned attempt = 0; attempt < 1000; ++attempt ) {
        wchar_t name[64];
        ::swprintf(name, lengthof(name), L"veneer-test-%lu-%u\\", ::GetCurrentProcessId(), attempt);
        const std::wstring candidate = std::wstring(base) + name;
        if( ::CreateDirectoryW(candidate.c_str(), NULL) ) {
            m_path = candidate;
            return;
        }
    }
}

CTempFolder::~CTempFolder()
{
    if( !m_path.empty() ) RemoveTree(m_path);
}

bool CTempFolder::IsValid() const
{
    return !m_path.empty();
}

const std::wstring& CTempFolder::GetPath() const
{
    return m_path;
}

std::wstring CTempFolder::GetFile(const std::wstring& relative) const
{
    return m_path + relative;
}

bool CTempFolder::WriteFile(const std::wstring& relative, const std::string& bytes) const
{
    if( m_path.empty() ) return false;
    for( size_t slash = relative.find_first_of(L"\\/"); slash != std::wstring::npos;
         slash = relative.find_first_of(L"\\/", slash + 1) ) {
        ::CreateDirectoryW((m_path + relative.substr(0, slash)).c_str(), NULL);
    }
    return WriteBytesToFile(GetFile(relative).c_str(), bytes);
}

bool IsFileInUse(LPCWSTR path)
{
    HANDLE file = ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if( file == INVALID_HANDLE_VALUE ) return ::GetLastError() == ERROR_SHARING_VIOLATION;
    ::CloseHandle(file);
    return false;
}
