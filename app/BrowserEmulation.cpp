// Browser emulation: the per-user feature value that picks the browser control's document mode.
#include "veneer/core/UISetup.h"
#include "app/BrowserEmulation.h"

#include <string>

const wchar_t kBrowserEmulationKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

namespace {

// The modes the browser control knows; any other number would silently give its legacy mode.
const DWORD kKnownModes[] = {7000, 8000, 8888, 9000, 9999, 10000, 10001, 11000, 11001};

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n';
}

} // namespace

bool ParseBrowserMode(LPCWSTR pstrValue, DWORD& dwMode)
{
    if (pstrValue == NULL) return false;
    LPCWSTR pstrStart = pstrValue;
    while (IsBlank(*pstrStart)) ++pstrStart;
    LPCWSTR pstrEnd = pstrStart + wcslen(pstrStart);
    while (pstrEnd > pstrStart && IsBlank(pstrEnd[-1])) --pstrEnd;
    const size_t nLength = static_cast<size_t>(pstrEnd - pstrStart);

    if (nLength == 4 && _wcsnicmp(pstrStart, L"none", 4) == 0) {
        dwMode = kBrowserModeNone;
        return true;
    }
    // Digits only, at most five of them: every known mode fits, and nothing can overflow.
    if (nLength == 0 || nLength > 5) return false;
    DWORD dwValue = 0;
    for (LPCWSTR pstr = pstrStart; pstr < pstrEnd; ++pstr) {
        if (*pstr < L'0' || *pstr > L'9') return false;
        dwValue = dwValue * 10 + static_cast<DWORD>(*pstr - L'0');
    }
    if (dwValue == kBrowserModeNone) {
        dwMode = kBrowserModeNone;
        return true;
    }
    for (DWORD dwKnown : kKnownModes) {
        if (dwValue == dwKnown) {
            dwMode = dwValue;
            return true;
        }
    }
    return false;
}

bool SetBrowserEmulation(DWORD dwMode)
{
    if (dwMode == kBrowserModeNone) return false;
    // Room for the longest path there is, so a deep install folder never cuts the name short.
    std::wstring sPath(32768, L'\0');
    const DWORD nLength = ::GetModuleFileNameW(NULL, &sPath[0], static_cast<DWORD>(sPath.size()));
    if (nLength == 0 || nLength >= sPath.size()) return false;
    sPath.resize(nLength);
    const std::wstring sName = sPath.substr(sPath.find_last_of(L"\\/") + 1);

    // The user's own hive only: no administrator rights, and nothing for other users or programs.
    HKEY hKey = NULL;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kBrowserEmulationKey, 0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          NULL, &hKey, NULL) != ERROR_SUCCESS) {
        return false;
    }
    bool bWritten = false;
    // A value already there, of any type, is the distributor's or the user's choice.
    if (::RegQueryValueExW(hKey, sName.c_str(), NULL, NULL, NULL, NULL) == ERROR_FILE_NOT_FOUND) {
        bWritten = ::RegSetValueExW(hKey, sName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwMode),
                                    sizeof(dwMode)) == ERROR_SUCCESS;
    }
    ::RegCloseKey(hKey);
    return bWritten;
}
