// Test helper: one registry value set aside for a test and put back as it was when the test ends.
#pragma once

#include "veneer/core/UISetup.h"

#include <string>
#include <vector>

class CRegistryValueScope
{
public:
    // Construction
    // Opens (or creates) the key, remembers the value and deletes it, so the test starts without it.
    CRegistryValueScope(HKEY hRoot, LPCWSTR pstrKey, LPCWSTR pstrName);
    // Writes the remembered value back, or deletes the value when there was none.
    ~CRegistryValueScope();
    CRegistryValueScope(const CRegistryValueScope&) = delete;
    CRegistryValueScope& operator=(const CRegistryValueScope&) = delete;

    // Attributes
    bool IsValid() const { return m_hKey != NULL; }
    bool Exists() const;
    // The value now stored; false when there is none or it is no REG_DWORD.
    bool ReadDword(DWORD& dwValue) const;
    // The value's type now, REG_NONE when there is none.
    DWORD ReadType() const;

    // Operations
    bool WriteDword(DWORD dwValue) const;
    bool WriteString(const std::wstring& sValue) const;
    void Delete() const;

private:
    HKEY m_hKey;
    std::wstring m_sName;
    bool m_bHadValue;
    DWORD m_dwSavedType;
    std::vector<BYTE> m_savedData;
};
