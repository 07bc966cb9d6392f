// Test helper: one registry value set aside for a test and put back as it was when the test ends.
#pragma once

#include "veneer/core/UISetup.h"

#include <string>
#include <vector>

class CRegistryValueScope
{
public:
    // Opens (or creates) the key, keeps the value and deletes it; the destructor puts it back.
    CRegistryValueScope(HKEY hRoot, LPCWSTR pstrKey, LPCWSTR pstrName);
    ~CRegistryValueScope();
    CRegistryValueScope(const CRegistryValueScope&) = delete;
    CRegistryValueScope& operator=(const CRegistryValueScope&) = delete;

    bool Exists() const;
    // False when there is no value or it is no REG_DWORD.
    bool ReadDword(DWORD& dwValue) const;
    bool Write(DWORD dwType, const void* pData, DWORD cbData) const;

private:
    HKEY m_hKey = NULL;
    std::wstring m_sName;
    DWORD m_dwSavedType = REG_NONE;  // REG_NONE: there was no value
    std::vector<BYTE> m_savedData;
};
