// Test helper: a fresh folder under the temporary directory, removed with everything in it.
#pragma once

#include "veneer/core/UISetup.h"

#include <string>

class CTempFolder
{
public:
    // Construction
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // Attributes
    bool IsValid() const;
    // The folder with a trailing backslash.
    const std::wstring& GetPath() const;
    std::wstring GetFile(const std::wstring& relative) const;

    // Operations
    // Writes a file below the folder, creating the subfolders the name mentions.
    bool WriteFile(const std::wstring& relative, const std::string& bytes) const;

private:
    std::wstring m_path;
};

// True when some handle still holds the file open (it cannot be opened exclusively).
bool IsFileInUse(LPCWSTR path);
