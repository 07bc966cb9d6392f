// Tests of the per-user browser emulation value, read back from the registry.
#include "veneer/core/UISetup.h"
#include "app/BrowserEmulation.h"
#include "support/RegistryValueScope.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// A program name no other test or launcher uses.
std::wstring TestProgramName()
{
    return L"BrowserEmulationTest-" + std::to_wstring(::GetCurrentProcessId()) + L".exe";
}

TEST(BrowserEmulation, WritesTheModeOnceForTheUserAndLeavesAnyValueThereAlone)
{
    const std::wstring name = TestProgramName();
    CRegistryValueScope value(HKEY_CURRENT_USER, kBrowserEmulationKey, name.c_str());
    ASSERT_TRUE(value.IsValid());

    // Mode 0 writes nothing.
    EXPECT_EQ(BROWSER_EMULATION_NONE, SetBrowserEmulation(name.c_str(), kBrowserModeNone));
    EXPECT_FALSE(value.Exists());

    DWORD dwStored = 0;
    EXPECT_EQ(BROWSER_EMULATION_WRITTEN, SetBrowserEmulation(name.c_str(), kBrowserModeNewest));
    ASSERT_TRUE(value.ReadDword(dwStored));
    EXPECT_EQ(11001u, dwStored);

    // A later start with another mode keeps the value there, whoever wrote it and of whatever type.
    EXPECT_EQ(BROWSER_EMULATION_KEPT, SetBrowserEmulation(name.c_str(), 8000));
    ASSERT_TRUE(value.ReadDword(dwStored));
    EXPECT_EQ(11001u, dwStored);
    ASSERT_TRUE(value.WriteString(L"9000"));
    EXPECT_EQ(BROWSER_EMULATION_KEPT, SetBrowserEmulation(name.c_str(), kBrowserModeNewest));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.ReadType());

    // Nothing goes to the machine's hive.
    HKEY hMachine = NULL;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kBrowserEmulationKey, 0, KEY_QUERY_VALUE, &hMachine) == ERROR_SUCCESS) {
        EXPECT_NE(ERROR_SUCCESS, ::RegQueryValueExW(hMachine, name.c_str(), NULL, NULL, NULL, NULL));
        ::RegCloseKey(hMachine);
    }

    EXPECT_EQ(BROWSER_EMULATION_FAILED, SetBrowserEmulation(L"", kBrowserModeNewest));
    EXPECT_EQ(BROWSER_EMULATION_FAILED, SetBrowserEmulation(static_cast<LPCWSTR>(NULL), kBrowserModeNewest));
}

TEST(BrowserEmulation, TheRunningProgramIsNamedByItsFileNameAlone)
{
    wchar_t szPath[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(NULL, szPath, MAX_PATH), 0u);
    const std::wstring path = szPath;
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    CRegistryValueScope value(HKEY_CURRENT_USER, kBrowserEmulationKey, name.c_str());
    CRegistryValueScope wholePath(HKEY_CURRENT_USER, kBrowserEmulationKey, path.c_str());
    ASSERT_TRUE(value.IsValid());

    EXPECT_EQ(BROWSER_EMULATION_WRITTEN, SetBrowserEmulation(9999));
    DWORD dwStored = 0;
    ASSERT_TRUE(value.ReadDword(dwStored));
    EXPECT_EQ(9999u, dwStored);
    EXPECT_FALSE(wholePath.Exists());
}

} // namespace
