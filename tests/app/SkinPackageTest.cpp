// Tests of the launcher's packed resources: skin archive, layouts and their images, configuration, icon, tray menu.
#include "veneer/core/UISetup.h"
#include "app/ClientConfig.h"
#include "veneer/core/UIMarkup.h"
#include "veneer/render/UIResourceFile.h"
#include "veneer/render/UIZip.h"
#include "veneer/window/UIManager.h"

#include "support/ResourceScope.h"
#include "AppTestFiles.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <map>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

const wchar_t* const kLayouts[] = { L"login.xml", L"loginWebWnd.xml", L"playGameWindow.xml" };
const wchar_t kBrowserClsid[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";

// The launcher's resource script, built into a data-only DLL beside this program.
class CResourceModule
{
public:
    // Construction
    CResourceModule()
    {
        m_hModule = ::LoadLibraryExW(GetPathBesideExecutable(L"MicroClientResources.dll").c_str(), NULL,
                                     LOAD_LIBRARY_AS_DATAFILE);
    }
    ~CResourceModule()
    {
        if (m_hModule != NULL) ::FreeLibrary(m_hModule);
    }
    CResourceModule(const CResourceModule&) = delete;
    CResourceModule& operator=(const CResourceModule&) = delete;

    // Attributes
    HMODULE GetHandle() const { return m_hModule; }

    // Implementation
private:
    HMODULE m_hModule;
};

struct TResource
{
    const void* pData;
    DWORD dwSize;
};

TResource FindModuleResource(HMODULE hModule, LPCWSTR pstrType, WORD wId)
{
    TResource res = { NULL, 0 };
    if (hModule == NULL) return res;
    HRSRC hInfo = ::FindResourceW(hModule, MAKEINTRESOURCEW(wId), pstrType);
    if (hInfo == NULL) return res;
    HGLOBAL hData = ::LoadResource(hModule, hInfo);
    if (hData == NULL) return res;
    res.pData = ::LockResource(hData);
    res.dwSize = ::SizeofResource(hModule, hInfo);
    return res;
}

// A decoded skin image.
struct TPicture
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<unsigned char> aRgba;

    DWORD Pixel(int x, int y) const
    {
        const unsigned char* p = &aRgba[(static_cast<size_t>(y) * nWidth + x) * 4];
        return (static_cast<DWORD>(p[3]) << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
    }
};

const DWORD kMagenta = 0xFFFF00FF;

// Names for failure messages; the non-ASCII ones only need to be recognisable.
std::string Narrow(const std::wstring& sText)
{
    std::string s;
    for (wchar_t ch : sText) s += ch < 0x80 ? static_cast<char>(ch) : '?';
    return s;
}

// An image description names its file bare or as file='...', and may cut a source='l,t,r,b' out of it.
struct TImageRef
{
    std::wstring sFile;
    RECT rcSource = { 0, 0, 0, 0 };
};

std::wstring QuotedValue(const std::wstring& sText, const wchar_t* pstrKey)
{
    const std::wstring sKey = std::wstring(pstrKey) + L"='";
    const size_t iStart = sText.find(sKey);
    if (iStart == std::wstring::npos) return std::wstring();
    const size_t iValue = iStart + sKey.size();
    const size_t iEnd = sText.find(L'\'', iValue);
    return iEnd == std::wstring::npos ? std::wstring() : sText.substr(iValue, iEnd - iValue);
}

TImageRef ParseImageRef(const std::wstring& sText)
{
    TImageRef ref;
    if (sText.find(L'=') == std::wstring::npos) {
        ref.sFile = sText;
        return ref;
    }
    ref.sFile = QuotedValue(sText, L"file");
    const std::wstring sSource = QuotedValue(sText, L"source");
    if (!sSource.empty()) {
        // Four numbers, one separator character after each.
        LONG* aEdges[] = { &ref.rcSource.left, &ref.rcSource.top, &ref.rcSource.right, &ref.rcSource.bottom };
        const wchar_t* p = sSource.c_str();
        for (LONG* pEdge : aEdges) {
            wchar_t* pEnd = NULL;
            *pEdge = wcstol(p, &pEnd, 10);
            p = *pEnd != L'\0' ? pEnd + 1 : pEnd;
        }
    }
    return ref;
}

std::wstring Attribute(const CMarkupNode& node, LPCWSTR pstrName)
{
    return node.HasAttribute(pstrName) ? std::wstring(node.GetAttributeValue(pstrName)) : std::wstring(L"<none>");
}

// Depth-first search for the element whose "name" attribute is sName.
CMarkupNode FindNamed(const CMarkupNode& node, const std::wstring& sName)
{
    for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        if (child.HasAttribute(L"name") && sName == child.GetAttributeValue(L"name")) return child;
        CMarkupNode found = FindNamed(child, sName);
        if (found.IsValid()) return found;
    }
    return CMarkupNode();
}

// Every image description in the subtree, by the attributes that carry one.
void CollectImages(const CMarkupNode& node, std::vector<TImageRef>& aRefs)
{
    for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        for (int i = 0; i < child.GetAttributeCount(); ++i) {
            const std::wstring sName = child.GetAttributeName(i);
            if (sName.size() >= 5 && sName.compare(sName.size() - 5, 5, L"image") == 0) {
                aRefs.push_back(ParseImageRef(child.GetAttributeValue(i)));
            }
        }
        CollectImages(child, aRefs);
    }
}

class SkinPackage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_module.GetHandle() != NULL) << "MicroClientResources.dll cannot be loaded";
        m_zip = FindModuleResource(m_module.GetHandle(), L"ZIPRES", 101);
        ASSERT_TRUE(m_zip.pData != NULL) << "no ZIPRES 101 in the program";
        CPaintManagerUI::SetResourceZip(const_cast<void*>(m_zip.pData), m_zip.dwSize);
    }

    // Loads a layout the way the windows do: a skin file name read from the resource archive.
    ::testing::AssertionResult LoadLayout(LPCWSTR pstrName, CMarkup& markup)
    {
        if (!markup.LoadFromFile(pstrName)) {
            wchar_t szError[100] = {};
            markup.GetLastErrorMessage(szError, 100);
            return ::testing::AssertionFailure() << "cannot parse " << Narrow(pstrName) << ": " << Narrow(szError);
        }
        if (std::wstring(markup.GetRoot().GetName()) != L"Window") {
            return ::testing::AssertionFailure() << Narrow(pstrName) << " has no Window root";
        }
        return ::testing::AssertionSuccess();
    }

    const TPicture& Picture(const std::wstring& sFile)
    {
        auto it = m_pictures.find(sFile);
        if (it != m_pictures.end()) return it->second;
        TPicture& picture = m_pictures[sFile];
        CUIBuffer buffer;
        if (ReadSkinFile(sFile.c_str(), 0, buffer) == UIRES_OK) {
            int nComponents = 0;
            stbi_uc* pPixels = stbi_load_from_memory(buffer.GetData(), static_cast<int>(buffer.GetSize()),
                                                     &picture.nWidth, &picture.nHeight, &nComponents, 4);
            if (pPixels != NULL) {
                picture.aRgba.assign(pPixels, pPixels + static_cast<size_t>(picture.nWidth) * picture.nHeight * 4);
                stbi_image_free(pPixels);
            }
        }
        return picture;
    }

    CResourceScope m_scope;
    CResourceModule m_module;
    TResource m_zip = { NULL, 0 };
    std::map<std::wstring, TPicture> m_pictures;
};

} // namespace

TEST_F(SkinPackage, ArchiveHoldsTheLayoutsAtItsTopLevelWithoutConfigurationOrIcon)
{
    HZIP hZip = ZipOpenMemory(m_zip.pData, m_zip.dwSize);
    ASSERT_TRUE(hZip != NULL);
    for (LPCWSTR pstrName : kLayouts) {
        int iIndex = -1;
        EXPECT_EQ(ZIP_OK, ZipFindEntry(hZip, pstrName, false, &iIndex, NULL)) << Narrow(pstrName);
    }
    int iIndex = -1;
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(hZip, L"config.xml", true, &iIndex, NULL));
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(hZip, L"app.ico", true, &iIndex, NULL));
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(hZip, L"skin/login.xml", true, &iIndex, NULL));
    ZipClose(hZip);
}

TEST_F(SkinPackage, EveryImageALayoutNamesIsPackedAndDecodes)
{
    for (LPCWSTR pstrLayout : kLayouts) {
        CMarkup markup;
        ASSERT_TRUE(LoadLayout(pstrLayout, markup));
        std::vector<TImageRef> aRefs;
        CollectImages(markup.GetRoot(), aRefs);
        for (const TImageRef& ref : aRefs) {
            SCOPED_TRACE(Narrow(pstrLayout) + ": " + Narrow(ref.sFile.c_str()));
            const TPicture& picture = Picture(ref.sFile);
            ASSERT_FALSE(picture.aRgba.empty()) << "missing or undecodable";
            EXPECT_LE(ref.rcSource.right, picture.nWidth);
            EXPECT_LE(ref.rcSource.bottom, picture.nHeight);
        }
    }
    // Seven login frame images, the play window background and five button strips.
    EXPECT_EQ(13u, m_pictures.size());
}

TEST_F(SkinPackage, LoginLayoutFitsTheConfiguredFrame)
{
    CMarkup markup;
    ASSERT_TRUE(LoadLayout(L"login.xml", markup));
    const CMarkupNode root = markup.GetRoot();
    EXPECT_EQ(L"true", Attribute(root, L"bktrans"));
    const CMarkupNode font = root.GetChild(L"Font");
    EXPECT_EQ(L"新宋体", Attribute(font, L"name"));
    EXPECT_EQ(L"15", Attribute(font, L"size"));
    EXPECT_EQ(L"true", Attribute(font, L"bold"));
    EXPECT_EQ(L"Container", std::wstring(FindNamed(root, L"ContainerUI1").GetName()));
    const CMarkupNode body = FindNamed(root, L"VerticalLayoutUI1");
    EXPECT_EQ(L"VerticalLayout", std::wstring(body.GetName()));
    EXPECT_EQ(L"file='loginBg.png' mask='#FFFF00FF'", Attribute(body, L"bkimage"));

    const struct { LPCWSTR pstrName; LPCWSTR pstrStem; int cx; int cy; } kButtons[] = {
        { L"minbtn", L"minimize", 36, 37 },   // miniRect 914,110,950,147
        { L"closebtn", L"close", 48, 48 },    // closeRect 956,108,1004,156
    };
    for (const auto& button : kButtons) {
        const CMarkupNode node = FindNamed(body, button.pstrName);
        ASSERT_TRUE(node.IsValid()) << Narrow(button.pstrName);
        EXPECT_EQ(L"Button", std::wstring(node.GetName()));
        EXPECT_EQ(L"true", Attribute(node, L"float"));
        const std::wstring sStem = button.pstrStem;
        EXPECT_EQ(sStem + L"_n.png", Attribute(node, L"normalimage"));
        EXPECT_EQ(sStem + L"_h.png", Attribute(node, L"hotimage"));
        EXPECT_EQ(sStem + L"_p.png", Attribute(node, L"pushedimage"));
        for (LPCWSTR pstrState : { L"_n.png", L"_h.png", L"_p.png" }) {
            const TPicture& picture = Picture(sStem + pstrState);
            EXPECT_EQ(button.cx, picture.nWidth);
            EXPECT_EQ(button.cy, picture.nHeight);
        }
    }

    // The picture has the frame's size, is masked outside its outline and solid where the login page
    // and the buttons sit.
    const TPicture& bg = Picture(L"loginBg.png");
    ASSERT_EQ(1034, bg.nWidth);
    ASSERT_EQ(680, bg.nHeight);
    EXPECT_EQ(kMagenta, bg.Pixel(0, 0));
    EXPECT_EQ(kMagenta, bg.Pixel(1033, 0));
    EXPECT_EQ(kMagenta, bg.Pixel(0, 679));
    EXPECT_EQ(kMagenta, bg.Pixel(1033, 679));
    int nMaskedInside = 0;
    for (int y = 108; y < 560; ++y) {
        for (int x = 298; x < 1004; ++x) {
            if (bg.Pixel(x, y) == kMagenta) ++nMaskedInside;
        }
    }
    EXPECT_EQ(0, nMaskedInside);
}

TEST_F(SkinPackage, LoginWebLayoutHostsTheBrowser)
{
    CMarkup markup;
    ASSERT_TRUE(LoadLayout(L"loginWebWnd.xml", markup));
    const CMarkupNode root = markup.GetRoot();
    EXPECT_EQ(L"0,0,0,98", Attribute(root, L"caption"));
    const CMarkupNode browser = FindNamed(root, L"WebBrowser");
    EXPECT_EQ(L"WebBrowser", std::wstring(browser.GetName()));
    EXPECT_EQ(L"VerticalLayout", std::wstring(browser.GetParent().GetName()));
    EXPECT_EQ(kBrowserClsid, Attribute(browser, L"clsid"));
    EXPECT_EQ(L"true", Attribute(browser, L"autonavi"));
    EXPECT_EQ(L"true", Attribute(browser, L"delaycreate"));
}

TEST_F(SkinPackage, PlayLayoutHasItsTitleBarAndBrowser)
{
    CMarkup markup;
    ASSERT_TRUE(LoadLayout(L"playGameWindow.xml", markup));
    const CMarkupNode root = markup.GetRoot();
    EXPECT_EQ(L"686,437", Attribute(root, L"size"));
    EXPECT_EQ(L"4,4,6,6", Attribute(root, L"sizebox"));
    EXPECT_EQ(L"0,0,0,98", Attribute(root, L"caption"));
    EXPECT_EQ(L"5,5", Attribute(root, L"roundcorner"));
    EXPECT_EQ(L"新宋体", Attribute(root.GetChild(L"Font"), L"name"));

    const CMarkupNode body = root.GetChild(L"Container").GetChild(L"VerticalLayout");
    EXPECT_EQ(L"file='PlayGameBg.png' corner='10,32,10,10' mask='#FFFF00FF'", Attribute(body, L"bkimage"));
    const TPicture& bg = Picture(L"PlayGameBg.png");
    EXPECT_GT(bg.nWidth, 20);
    EXPECT_GT(bg.nHeight, 42);
    EXPECT_EQ(kMagenta, bg.Pixel(0, 0));
    EXPECT_NE(kMagenta, bg.Pixel(bg.nWidth / 2, 16));

    const CMarkupNode logo = FindNamed(root, L"logo");
    EXPECT_EQ(L"16", Attribute(logo, L"width"));
    EXPECT_EQ(L"16", Attribute(logo, L"height"));
    const CMarkupNode title = FindNamed(root, L"titelLabel");
    EXPECT_EQ(L"Label", std::wstring(title.GetName()));
    EXPECT_EQ(L"", Attribute(title, L"text"));
    EXPECT_EQ(L"#00FFFBF0", Attribute(title, L"textcolor"));

    // The right group: six 27 x 27 buttons in order, each with its strip's three states.
    const CMarkupNode group = FindNamed(root, L"kefubtn").GetParent();
    EXPECT_EQ(L"135", Attribute(group, L"width"));
    const struct { LPCWSTR pstrName; LPCWSTR pstrStrip; } kButtons[] = {
        { L"kefubtn", L"kefubtn.png" }, { L"refreshbtn", L"refreshbtn.png" }, { L"minbtn", L"minibtn.png" },
        { L"restorebtn", L"maxbtn.png" }, { L"maxbtn", L"maxbtn.png" }, { L"closebtn", L"closebtn.png" },
    };
    CMarkupNode node = group.GetChild();
    for (const auto& button : kButtons) {
        SCOPED_TRACE(Narrow(button.pstrName));
        ASSERT_TRUE(node.IsValid());
        EXPECT_EQ(L"Button", std::wstring(node.GetName()));
        EXPECT_EQ(button.pstrName, Attribute(node, L"name"));
        EXPECT_EQ(L"27", Attribute(node, L"width"));
        EXPECT_EQ(L"27", Attribute(node, L"height"));
        const std::wstring sFile = std::wstring(L"file='") + button.pstrStrip + L"' ";
        EXPECT_EQ(sFile + L"source='0,0,27,27'", Attribute(node, L"normalimage"));
        EXPECT_EQ(sFile + L"source='27,0,54,27'", Attribute(node, L"hotimage"));
        EXPECT_EQ(sFile + L"source='54,0,81,27'", Attribute(node, L"pushedimage"));
        const TPicture& strip = Picture(button.pstrStrip);
        EXPECT_EQ(81, strip.nWidth);
        EXPECT_EQ(27, strip.nHeight);
        node = node.GetSibling();
    }
    EXPECT_FALSE(node.IsValid());
    EXPECT_EQ(L"客服", Attribute(FindNamed(root, L"kefubtn"), L"tooltip"));
    EXPECT_EQ(L"false", Attribute(FindNamed(root, L"maxbtn"), L"visible"));
    EXPECT_EQ(L"<none>", Attribute(FindNamed(root, L"restorebtn"), L"visible"));

    const CMarkupNode browser = FindNamed(root, L"WebBrowser");
    EXPECT_EQ(kBrowserClsid, Attribute(browser, L"clsid"));
    EXPECT_EQ(L"true", Attribute(browser, L"autonavi"));
    EXPECT_EQ(L"true", Attribute(browser, L"delaycreate"));
}

TEST_F(SkinPackage, ConfigurationHasTheShippedKeysInOrder)
{
    const TResource config = FindModuleResource(m_module.GetHandle(), L"xml", 104);
    ASSERT_TRUE(config.pData != NULL);
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(static_cast<const BYTE*>(config.pData), config.dwSize, XMLFILE_ENCODING_UTF8));
    const CMarkupNode root = markup.GetRoot();
    EXPECT_EQ(L"microClient", std::wstring(root.GetName()));

    const wchar_t* const kKeys[][2] = {
        { L"loginFrameSize", L"1034,680" },       { L"loginWebRect", L"298,159,968,559" },
        { L"miniRect", L"914,110,950,147" },      { L"closeRect", L"956,108,1004,156" },
        { L"loginURL", NULL },                    { L"playGamekeyWord", L"client=pc" },
        { L"clientName", L"Orvane" },
    };
    CMarkupNode node = root.GetChild();
    for (const auto& key : kKeys) {
        ASSERT_TRUE(node.IsValid());
        EXPECT_EQ(key[0], std::wstring(node.GetName()));
        ASSERT_EQ(1, node.GetAttributeCount());
        EXPECT_EQ(L"value", std::wstring(node.GetAttributeName(0)));
        const std::wstring sValue = node.GetAttributeValue(0);
        if (key[1] != NULL) {
            EXPECT_EQ(key[1], sValue);
        } else {
            EXPECT_EQ(0u, sValue.find(L"http://")) << "the login address is an http address";
        }
        node = node.GetSibling();
    }
    EXPECT_FALSE(node.IsValid());

    // The launcher's own loading gives the same values.
    CPaintManagerUI::SetResourceDll(m_module.GetHandle());
    CMicroClientConfig loaded;
    ASSERT_TRUE(LoadClientConfig(loaded));
    EXPECT_EQ(1034, loaded.m_szLoginFrame.cx);
    EXPECT_EQ(680, loaded.m_szLoginFrame.cy);
    EXPECT_EQ(968, loaded.m_rcLoginWeb.right);
    EXPECT_EQ(950, loaded.m_rcMini.right);
    EXPECT_EQ(156, loaded.m_rcClose.bottom);
    EXPECT_STREQ(L"client=pc", loaded.m_sPlayGameKeyWord.GetData());
    EXPECT_STREQ(L"Orvane", loaded.m_sClientName.GetData());
}

TEST_F(SkinPackage, IconHasThreeSizesAndTheTrayMenuItsTwoItems)
{
    const HMODULE hModule = m_module.GetHandle();
    // The icon group lists its images as 14-byte entries behind a 6-byte header.
    const TResource group = FindModuleResource(hModule, MAKEINTRESOURCEW(14), 103);   // RT_GROUP_ICON
    ASSERT_TRUE(group.pData != NULL);
    ASSERT_GE(group.dwSize, 6u);
    const BYTE* pGroup = static_cast<const BYTE*>(group.pData);
    const WORD nCount = static_cast<WORD>(pGroup[4] | (pGroup[5] << 8));
    ASSERT_EQ(group.dwSize, 6u + 14u * nCount);
    std::vector<int> aSizes;
    for (WORD i = 0; i < nCount; ++i) aSizes.push_back(pGroup[6 + 14 * i]);
    EXPECT_EQ((std::vector<int>{ 16, 32, 48 }), aSizes);
    HICON hIcon = static_cast<HICON>(::LoadImageW(hModule, MAKEINTRESOURCEW(103), IMAGE_ICON,
                                                  16, 16, LR_DEFAULTCOLOR));
    EXPECT_TRUE(hIcon != NULL);
    if (hIcon != NULL) ::DestroyIcon(hIcon);

    HMENU hMenu = ::LoadMenuW(hModule, MAKEINTRESOURCEW(105));
    ASSERT_TRUE(hMenu != NULL);
    HMENU hPopup = ::GetSubMenu(hMenu, 0);
    ASSERT_TRUE(hPopup != NULL);
    ASSERT_EQ(2, ::GetMenuItemCount(hPopup));
    const struct { UINT nId; LPCWSTR pstrText; } kItems[] = { { 40006, L"显示游戏界面" }, { 40007, L"退出游戏" } };
    for (int i = 0; i < 2; ++i) {
        wchar_t szText[64] = {};
        EXPECT_EQ(kItems[i].nId, ::GetMenuItemID(hPopup, i));
        ::GetMenuStringW(hPopup, i, szText, 64, MF_BYPOSITION);
        EXPECT_STREQ(kItems[i].pstrText, szText);
    }
    ::DestroyMenu(hMenu);

    EXPECT_TRUE(FindModuleResource(hModule, MAKEINTRESOURCEW(16), 1).pData != NULL);   // RT_VERSION
}
