// The manifest embedded in the built launcher, read back from its resources, and the common controls
// assembly it brings into a running launcher.
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "app/ClientConfig.h"
#include "LauncherProcess.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <set>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

// Elements of a document by local name (a namespace prefix dropped), in document order.
void CollectElements(const CMarkupNode& parent, LPCWSTR pstrLocalName, std::vector<CMarkupNode>& found)
{
    for (CMarkupNode node = parent.GetChild(); node.IsValid(); node = node.GetSibling()) {
        LPCWSTR pstrName = node.GetName();
        LPCWSTR pstrColon = wcschr(pstrName, L':');
        if (wcscmp(pstrColon != NULL ? pstrColon + 1 : pstrName, pstrLocalName) == 0) found.push_back(node);
        CollectElements(node, pstrLocalName, found);
    }
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& ch : text) ch = static_cast<wchar_t>(towlower(ch));
    return text;
}

// The full path of a module loaded in another process, empty when it is not loaded.
std::wstring LoadedModulePath(DWORD dwProcessId, LPCWSTR pstrModule)
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, dwProcessId);
    if (hSnapshot == INVALID_HANDLE_VALUE) return std::wstring();
    std::wstring path;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Module32FirstW(hSnapshot, &entry); bMore; bMore = ::Module32NextW(hSnapshot, &entry)) {
        if (_wcsicmp(entry.szModule, pstrModule) == 0) path = entry.szExePath;
    }
    ::CloseHandle(hSnapshot);
    return path;
}

class LauncherManifestTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_launcher = HostProgramPath(MICROCLIENT_EXE);
        HMODULE hModule = ::LoadLibraryExW(s_launcher.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        if (hModule == NULL) return;
        // The loader reads the program's manifest from RT_MANIFEST resource 1 only.
        HRSRC hInfo = ::FindResourceW(hModule, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
        HGLOBAL hData = hInfo != NULL ? ::LoadResource(hModule, hInfo) : NULL;
        const BYTE* pBytes = hData != NULL ? static_cast<const BYTE*>(::LockResource(hData)) : NULL;
        if (pBytes != NULL) s_bParsed = s_manifest.LoadFromMem(pBytes, ::SizeofResource(hModule, hInfo));
        ::FreeLibrary(hModule);
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_bParsed) << "no well-formed manifest in the launcher";
    }

    static std::vector<CMarkupNode> Elements(LPCWSTR pstrLocalName)
    {
        std::vector<CMarkupNode> found;
        CollectElements(s_manifest.GetRoot(), pstrLocalName, found);
        return found;
    }

    // The one element of a local name, or an invalid node when there is none or more than one.
    static CMarkupNode Single(LPCWSTR pstrLocalName)
    {
        std::vector<CMarkupNode> found = Elements(pstrLocalName);
        EXPECT_EQ(1u, found.size()) << "elements named " << std::string(pstrLocalName, pstrLocalName + wcslen(pstrLocalName));
        return found.size() == 1 ? found[0] : CMarkupNode();
    }

    static std::wstring Attribute(const CMarkupNode& node, LPCWSTR pstrName)
    {
        LPCWSTR pstrValue = node.IsValid() ? node.GetAttributeValue(pstrName) : NULL;
        return pstrValue != NULL ? pstrValue : L"";
    }

    static std::wstring s_launcher;
    static CMarkup s_manifest;
    static bool s_bParsed;
};

std::wstring LauncherManifestTest::s_launcher;
CMarkup LauncherManifestTest::s_manifest;
bool LauncherManifestTest::s_bParsed = false;

// The DPI declarations a manifest can make: the first word of dpiAwareness that Windows 10 knows, and
// the dpiAware value that earlier systems read in its place.
struct TDpiDeclaration
{
    LPCWSTR pstrAwareness;
    LPCWSTR pstrAware;
};
const TDpiDeclaration kDpiDeclarations[] = {
    {L"unaware", L"false"},
    {L"system", L"true"},
    {L"permonitor", L"true/pm"},
    {L"permonitorv2", L"true/pm"},
};

} // namespace

TEST_F(LauncherManifestTest, DeclaresCommonControlsSixUserRightsAndWindowsSevenToEleven)
{
    CMarkupNode root = s_manifest.GetRoot();
    EXPECT_STREQ(L"assembly", root.GetName());
    EXPECT_EQ(L"urn:schemas-microsoft-com:asm.v1", Attribute(root, L"xmlns"));
    EXPECT_EQ(L"1.0", Attribute(root, L"manifestVersion"));

    // The common controls, as a dependency of this program (not its own identity).
    CMarkupNode controls;
    for (const CMarkupNode& identity : Elements(L"assemblyIdentity")) {
        if (Attribute(identity, L"name") == L"Microsoft.Windows.Common-Controls") controls = identity;
    }
    ASSERT_TRUE(controls.IsValid()) << "no common controls dependency";
    EXPECT_STREQ(L"dependentAssembly", controls.GetParent().GetName());
    EXPECT_STREQ(L"dependency", controls.GetParent().GetParent().GetName());
    EXPECT_EQ(L"win32", Attribute(controls, L"type"));
    EXPECT_EQ(L"6.0.0.0", Attribute(controls, L"version"));
    EXPECT_EQ(L"6595b64144ccf1df", Attribute(controls, L"publicKeyToken"));
    EXPECT_EQ(L"*", Attribute(controls, L"processorArchitecture"));

    CMarkupNode level = Single(L"requestedExecutionLevel");
    EXPECT_EQ(L"asInvoker", Attribute(level, L"level"));
    EXPECT_EQ(L"false", Attribute(level, L"uiAccess"));
    EXPECT_EQ(L"urn:schemas-microsoft-com:asm.v3", Attribute(Single(L"trustInfo"), L"xmlns"));

    std::set<std::wstring> systems;
    for (const CMarkupNode& os : Elements(L"supportedOS")) systems.insert(Lower(Attribute(os, L"Id")));
    const std::set<std::wstring> expected = {
        L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
        L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
        L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
        L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
    };
    EXPECT_EQ(expected, systems);
    EXPECT_EQ(L"urn:schemas-microsoft-com:compatibility.v1", Attribute(Single(L"compatibility"), L"xmlns"));
}

TEST_F(LauncherManifestTest, DeclaresOneDpiAwarenessThatOldAndNewSystemsReadAlike)
{
    CMarkupNode aware = Single(L"dpiAware");
    CMarkupNode awareness = Single(L"dpiAwareness");
    ASSERT_TRUE(aware.IsValid() && awareness.IsValid());
    EXPECT_EQ(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", Attribute(aware, L"xmlns"));
    EXPECT_EQ(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", Attribute(awareness, L"xmlns"));
    EXPECT_STREQ(L"windowsSettings", wcschr(aware.GetParent().GetName(), L':') + 1);
    const std::wstring sAwareness = Lower(awareness.GetValue());
    const TDpiDeclaration* pDeclared = NULL;
    for (const TDpiDeclaration& declaration : kDpiDeclarations) {
        if (sAwareness.compare(0, sAwareness.find(L','), declaration.pstrAwareness) == 0) pDeclared = &declaration;
    }
    ASSERT_TRUE(pDeclared != NULL) << "unknown dpiAwareness";
    EXPECT_EQ(pDeclared->pstrAware, Lower(aware.GetValue()));
}

TEST_F(LauncherManifestTest, TheRunningLauncherLoadsTheCommonControlsSixAssembly)
{
    CMicroClientConfig config;
    ASSERT_TRUE(LoadLauncherConfig(s_launcher, config));
    if (!WaitForFreeClientName(config.m_sClientName, 30000)) {
        GTEST_SKIP() << "another launcher of this client name is running on this desktop";
    }
    CLauncherProcess launcher;
    ASSERT_TRUE(launcher.Start(s_launcher));
    ASSERT_TRUE(launcher.WaitForIdle(20000));
    HWND hFrame = launcher.WaitForWindow(L"Orvane", L"Orvane", true, 20000);
    ASSERT_TRUE(hFrame != NULL) << "no login frame appeared";

    // Without the manifest the system's own comctl32.dll (version 5) is loaded; with it, the one of the
    // side-by-side assembly.
    const std::wstring path = Lower(LoadedModulePath(launcher.GetId(), L"comctl32.dll"));
    EXPECT_NE(std::wstring::npos, path.find(L"\\winsxs\\")) << std::string(path.begin(), path.end());
    EXPECT_NE(std::wstring::npos, path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."))
        << std::string(path.begin(), path.end());
    ::PostMessageW(hFrame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(launcher.WaitForExit(10000));
}
