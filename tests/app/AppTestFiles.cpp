// Scratch files for the launcher tests.
#include "veneer/core/UISetup.h"
#include "AppTestFiles.h"

CExecutableCopy::CExecutableCopy() : m_sPath(m_folder.GetFile(L"module.exe")), m_bCopied(false)
{
    m_bCopied = m_folder.IsValid()
                && ::CopyFileW(GetRunningExecutablePath().c_str(), m_sPath.c_str(), FALSE) != FALSE;
}

bool CExecutableCopy::WriteTail(DWORD nOffset, const std::string& sBytes) const
{
    HANDLE hFile = ::CreateFileW(m_sPath.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER nPosition;
    nPosition.QuadPart = nOffset;
    DWORD nWritten = 0;
    bool bOk = ::SetFilePointerEx(hFile, nPosition, NULL, FILE_BEGIN) && ::SetEndOfFile(hFile);
    if (bOk && !sBytes.empty()) {
        bOk = ::WriteFile(hFile, sBytes.data(), static_cast<DWORD>(sBytes.size()), &nWritten, NULL)
              && nWritten == sBytes.size();
    }
    ::CloseHandle(hFile);
    return bOk;
}

std::wstring GetRunningExecutablePath()
{
    wchar_t szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(NULL, szPath, MAX_PATH);
    return szPath;
}

std::wstring GetPathBesideExecutable(const std::wstring& sName)
{
    std::wstring sPath = GetRunningExecutablePath();
    sPath.erase(sPath.find_last_of(L"\\/") + 1);
    return sPath + sName;
}

std::string ReadWholeFile(const std::wstring& sPath)
{
    HANDLE hFile = ::CreateFileW(sPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return std::string();
    std::string sContent;
    LARGE_INTEGER nSize;
    if (::GetFileSizeEx(hFile, &nSize) && nSize.QuadPart > 0) {
        sContent.resize(static_cast<size_t>(nSize.QuadPart));
        DWORD nRead = 0;
        if (!::ReadFile(hFile, &sContent[0], static_cast<DWORD>(sContent.size()), &nRead, NULL)) nRead = 0;
        sContent.resize(nRead);
    }
    ::CloseHandle(hFile);
    return sContent;
}
