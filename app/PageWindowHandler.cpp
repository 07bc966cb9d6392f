// CPageWindowHandler: new-window requests of pages, sent to the default browser or refused.
#include "veneer/core/UISetup.h"
#include "app/PageWindowHandler.h"

#include <shellapi.h>
#include <cwctype>
#include <string>

namespace {

// The length of the scheme prefix when pstrAddress starts with it (compared without regard to case).
size_t SchemeLength(LPCWSTR pstrAddress, LPCWSTR pstrScheme)
{
    const size_t nLength = wcslen(pstrScheme);
    return _wcsnicmp(pstrAddress, pstrScheme, nLength) == 0 ? nLength : 0;
}

} // namespace

bool IsWebAddress(LPCWSTR pstrAddress)
{
    if (pstrAddress == NULL) return false;
    size_t nScheme = SchemeLength(pstrAddress, L"http://");
    if (nScheme == 0) nScheme = SchemeLength(pstrAddress, L"https://");
    if (nScheme == 0 || pstrAddress[nScheme] == L'\0') return false;
    for (LPCWSTR pstr = pstrAddress; *pstr != L'\0'; ++pstr) {
        if (*pstr <= L' ' || *pstr == L'"' || *pstr == 0x7F) return false;
    }
    return true;
}

bool OpenInDefaultBrowser(LPCWSTR pstrAddress)
{
    const HINSTANCE hResult = ::ShellExecuteW(NULL, L"open", pstrAddress, NULL, NULL, SW_SHOW);
    return reinterpret_cast<INT_PTR>(hResult) > 32;
}

void CPageWindowHandler::NewWindow3(IDispatch** /*pDisp*/, VARIANT_BOOL*& Cancel, DWORD /*dwFlags*/,
                                    BSTR /*bstrUrlContext*/, BSTR bstrUrl)
{
    // Always cancelled: the browser would otherwise open the page in a window of its own, without
    // the launcher's frame, skin or rules.
    if (Cancel != NULL) *Cancel = VARIANT_TRUE;
    if (!IsWebAddress(bstrUrl)) return;
    // Schemes compare without regard to case, but not every shell looks them up that way.
    std::wstring sAddress = bstrUrl;
    for (size_t i = 0; sAddress[i] != L':'; ++i) sAddress[i] = static_cast<wchar_t>(towlower(sAddress[i]));
    OpenInDefaultBrowser(sAddress.c_str());
}
