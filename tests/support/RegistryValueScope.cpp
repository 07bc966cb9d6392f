// Test helper: one registry value set aside for a test and put back as it was when the test ends.
#include "veneer/core/UISetup.h"
#include "RegistryValueScope.h"

CRegistryValueScope::CRegistryValueScope(HKEY hRoot, LPCWSTR pstrKey, LPCWSTR pstrName)
    : m_hKey(NULL), m_sName(pstrName), m_bHadValue(false), m_dwSavedType(REG_NONE)
{
    if (::RegCreateKeyExW(hRoot, pstrKey, 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &m_hKey, NULL) !=
        ERROR_SUCCESS) {
        m_hKey = NULL;
        return;
    }
    DWORD cbData = 0;
    if (::RegQueryValueExW(m_hKey, pstrName, NULL, &m_dwSavedType, NULL, &cbData) == ERROR_SUCCESS) {
        m_savedData.resize(cbData);
        m_bHadValue = ::RegQueryValueExW(m_hKey, pstrName, NULL, &m_dwSavedType, m_savedData.data(), &cbData) ==
                      ERROR_SUCCESS;
        m_savedData.resize(cbData);
    }
    Delete();
}

CRegistryValueScope::~CRegistryValueScope()
{
    if (m_hKey == NULL) return;
    if (m_bHadValue) {
        ::RegSetValueExW(m_hKey, m_sName.c_str(), 0, m_dwSavedType, m_savedData.data(),
                         static_cast<DWORD>(m_savedData.size()));
    }
    else {
        Delete();
    }
    ::RegCloseKey(m_hKey);
}

bool CRegistryValueScope::Exists() const
{
    return ReadType() != REG_NONE;
}

DWORD CRegistryValueScope::ReadType() const
{
    DWORD dwType = REG_NONE;
    if (m_hKey == NULL || ::RegQueryValueExW(m_hKey, m_sName.c_str(), NULL, &dwType, NULL, NULL) != ERROR_SUCCESS) {
        return REG_NONE;
    }
    return dwType;
}

bool CRegistryValueScope::ReadDword(DWORD& dwValue) const
{
    DWORD dwType = REG_NONE;
    DWORD cbData = sizeof(dwValue);
    return m_hKey != NULL &&
           ::RegQueryValueExW(m_hKey, m_sName.c_str(), NULL, &dwType, reinterpret_cast<BYTE*>(&dwValue), &cbData) ==
               ERROR_SUCCESS &&
           dwType == REG_DWORD && cbData == sizeof(dwValue);
}

bool CRegistryValueScope::WriteDword(DWORD dwValue) const
{
    return m_hKey != NULL && ::RegSetValueExW(m_hKey, m_sName.c_str(), 0, REG_DWORD,
                                              reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue)) == ERROR_SUCCESS;
}

bool CRegistryValueScope::WriteString(const std::wstring& sValue) const
{
    const DWORD cbData = static_cast<DWORD>((sValue.size() + 1) * sizeof(wchar_t));
    return m_hKey != NULL && ::RegSetValueExW(m_hKey, m_sName.c_str(), 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(sValue.c_str()), cbData) == ERROR_SUCCESS;
}

void CRegistryValueScope::Delete() const
{
    if (m_hKey != NULL) ::RegDeleteValueW(m_hKey, m_sName.c_str());
}
