// Scratch files for the launcher tests: copies of the running test executable and raw file edits.
#pragma once

#include "veneer/core/UISetup.h"
#include "support/TempFolder.h"

#include <string>

// A copy of the running executable (a real PE from the toolchain) in a scratch folder.
class CExecutableCopy
{
public:
    // Construction
    CExecutableCopy();

    // Attributes
    bool IsValid() const { return m_bCopied; }
    const std::wstring& GetPath() const { return m_sPath; }

    // Operations
    // Cuts the file at nOffset and writes sBytes there, so they become its tail.
    bool WriteTail(DWORD nOffset, const std::string& sBytes) const;

    // Implementation
private:
    CTempFolder m_folder;
    std::wstring m_sPath;
    bool m_bCopied;
};

// The path of the running executable.
std::wstring GetRunningExecutablePath();
// The path of the file sName in the running executable's folder.
std::wstring GetPathBesideExecutable(const std::wstring& sName);
// The whole content of a file, empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& sPath);
