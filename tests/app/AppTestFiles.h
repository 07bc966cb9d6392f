// Scratch files for the launcher tests: copies of the running test executable and raw file edits.
#pragma once

#include "veneer/core/UISetup.h"

#include <string>

// A uniquely named file in the temp folder, deleted with the object.
class CTempFile
{
public:
    // Construction
    CTempFile();
    ~CTempFile();
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;

    // Attributes
    const std::wstring& GetPath() const { return m_sPath; }

    // Operations
    // Makes the file a copy of the running executable (a real PE from the toolchain).
    bool CopyRunningExecutable();
    // Cuts the file at nOffset and writes sBytes there, so they become its tail.
    bool WriteTail(DWORD nOffset, const std::string& sBytes);

private:
    std::wstring m_sPath;
};

// The path of the running executable.
std::wstring GetRunningExecutablePath();
// The whole content of a file, empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& sPath);
