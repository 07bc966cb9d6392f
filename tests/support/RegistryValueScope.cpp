// Test helper: one registry value set aside for a test and put back as it was when the test ends.
#include "veneer/core/UISetup.h"
#include "RegistryValueScope.h"

CRegistryValueScope::CRegistryValueScope(HKEY hRoot, LPCWSTR pstrKey, LPCWSTR pstrName) : m_sName(pstrName)
{
    if (::RegCreateKeyExW(hRoot, pstrKey, 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &m_hKey, NULL) != 0) {
        m_hKey = NULL;
        return;
    }
    DWORD cbData = 0;
    if (::RegQueryValueExW(m_hKey, pstrName, NULL, NULL, NULL, &cbData) != ERROR_SUCCESS) return;
    m_savedData.resize(cbData + 1);
    if (::RegQueryValueExW(m_hKey, pstrName, NULL, &m_dwSavedType, m_savedData.data(), &cbData) != 0) return;
    m_savedData.resize(cbData);
    ::RegDeleteValueW(m_hKey, pstrName);
}

CRegistryValueScope::~CRegistryValueScope()
{
    if (m_hKey == NULL) return;
    if (m_dwSavedType != REG_NONE) Write(m_dwSavedType, m_savedData.data(), static_cast<DWORD>(m_savedData.size()));
    else ::RegDeleteValueW(m_hKey, m_sName.c_str());
    ::RegCloseKey(m_hKey);
}

bool CRegistryValueScope::Exists() const
{
    return m_hKey != NULL && ::RegQueryValueExW(m_hKey, m_sName.c_str(), NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
}

bool CRegistryValueScope::ReadDword(DWORD& dwValue) const
{
    DWORD dwType = REG_NONE;
    DWORD cbData = sizeof(dwValue);
    return m_hKey != NULL && ::RegQueryValueExW(m_hKey, m_sName.c_str(), NULL, &dwType,
                                                reinterpret_cast<BYTE*>(&dwValue), &cbData) == 0 && dwType == REG_DWORD;
}

bool CRegistryValueScope::Write(DWORD dwType, const void* pData, DWORD cbData) const
{
    return m_hKey != NULL &&
           ::RegSetValueExW(m_hKey, m_sName.c_str(), 0, dwType, static_cast<const BYTE*>(pData), cbData) == 0;
}
