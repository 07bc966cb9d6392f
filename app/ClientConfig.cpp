// The launcher's configuration record and its loading from the embedded XML resource.
#include "veneer/core/UISetup.h"
#include "app/ClientConfig.h"
#include "app/BrowserEmulation.h"

#include "veneer/core/UIMarkup.h"
#include "veneer/window/UIManager.h"

using Veneer::CMarkup;
using Veneer::CMarkupNode;
using Veneer::CPaintManagerUI;

namespace {

// Reads nCount decimal numbers, each followed by one separator character of any kind; numbers the
// text runs out of read as 0.
void ReadNumbers(LPCWSTR pstrValue, LONG* pNumbers, int nCount)
{
    LPCWSTR pstr = pstrValue;
    for (int i = 0; i < nCount; ++i) {
        LPWSTR pstrEnd = NULL;
        pNumbers[i] = wcstol(pstr, &pstrEnd, 10);
        pstr = pstrEnd;
        // The separator is skipped, but never the terminator.
        if (*pstr != L'\0') ++pstr;
    }
}

void ReadRect(LPCWSTR pstrValue, RECT& rc)
{
    LONG aValues[4];
    ReadNumbers(pstrValue, aValues, 4);
    rc.left = aValues[0];
    rc.top = aValues[1];
    rc.right = aValues[2];
    rc.bottom = aValues[3];
}

void ReadSize(LPCWSTR pstrValue, SIZE& sz)
{
    LONG aValues[2];
    ReadNumbers(pstrValue, aValues, 2);
    sz.cx = aValues[0];
    sz.cy = aValues[1];
}

void ApplyKey(CMicroClientConfig& config, LPCWSTR pstrKey, LPCWSTR pstrValue)
{
    if (wcscmp(pstrKey, L"loginWebRect") == 0) ReadRect(pstrValue, config.m_rcLoginWeb);
    else if (wcscmp(pstrKey, L"closeRect") == 0) ReadRect(pstrValue, config.m_rcClose);
    else if (wcscmp(pstrKey, L"miniRect") == 0) ReadRect(pstrValue, config.m_rcMini);
    else if (wcscmp(pstrKey, L"loginFrameSize") == 0) ReadSize(pstrValue, config.m_szLoginFrame);
    else if (wcscmp(pstrKey, L"loginURL") == 0) config.m_sLoginURL = pstrValue;
    else if (wcscmp(pstrKey, L"playGamekeyWord") == 0) config.m_sPlayGameKeyWord = pstrValue;
    else if (wcscmp(pstrKey, L"clientName") == 0) config.m_sClientName = pstrValue;
    // A mode the browser does not know leaves the one before it.
    else if (wcscmp(pstrKey, L"browserMode") == 0) ParseBrowserMode(pstrValue, config.m_dwBrowserMode);
}

}  // namespace

CMicroClientConfig::CMicroClientConfig() : m_dwBrowserMode(kBrowserModeNewest)
{
    ::SetRectEmpty(&m_rcClose);
    ::SetRectEmpty(&m_rcMini);
    ::SetRectEmpty(&m_rcLoginWeb);
    m_szLoginFrame.cx = 0;
    m_szLoginFrame.cy = 0;
}

CMicroClientConfig& GetClientConfig()
{
    static CMicroClientConfig s_config;
    return s_config;
}

void LoadClientConfig()
{
    LoadClientConfig(GetClientConfig());
}

bool LoadClientConfig(CMicroClientConfig& config)
{
    HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
    HRSRC hResource = ::FindResourceW(hModule, MAKEINTRESOURCEW(kClientConfigResourceId), L"xml");
    if (hResource == NULL) return false;
    HGLOBAL hData = ::LoadResource(hModule, hResource);
    if (hData == NULL) return false;
    const BYTE* pBytes = static_cast<const BYTE*>(::LockResource(hData));
    const bool bLoaded = pBytes != NULL && LoadClientConfig(config, pBytes, ::SizeofResource(hModule, hResource));
    ::FreeResource(hData);
    return bLoaded;
}

bool LoadClientConfig(CMicroClientConfig& config, const BYTE* pBytes, DWORD nBytes)
{
    CMarkup xml;
    if (!xml.LoadFromMem(pBytes, nBytes, 0)) return false;
    CMarkupNode root = xml.GetRoot();
    if (!root.IsValid()) return false;
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        // Only a first attribute named "value" carries the setting.
        LPCWSTR pstrAttribute = node.GetAttributeName(0);
        if (pstrAttribute == NULL || wcscmp(pstrAttribute, L"value") != 0) continue;
        ApplyKey(config, node.GetName(), node.GetAttributeValue(0));
    }
    return true;
}
