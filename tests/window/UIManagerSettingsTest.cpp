// Tests of the paint manager's process-wide resource settings: modules, folders, archives.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIResourceFile.h"
#include "veneer/window/UIManager.h"

#include "support/ResourceScope.h"
#include "support/TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <string>

using namespace Veneer;

namespace {

std::string ReadText(LPCWSTR name)
{
    CUIBuffer buffer;
    if( ReadSkinFile(name, 0, buffer) != UIRES_OK ) return "<missing>";
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

std::string MakeArchive(const char* content)
{
    CZipWriter writer;
    writer.Add("which.txt", content);
    return writer.Build();
}

class ManagerSettings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.IsValid());
    }

    CTempFolder m_folder;
    CResourceScope m_scope;
};

} // namespace

TEST_F(ManagerSettings, ModulesAndTheResourceModuleFallback)
{
    HINSTANCE program = ::GetModuleHandleW(NULL);
    HINSTANCE kernel = ::GetModuleHandleW(L"kernel32.dll");
    CPaintManagerUI::SetInstance(NULL);
    EXPECT_TRUE(CPaintManagerUI::GetResourceDll() == NULL);
    EXPECT_TRUE(CPaintManagerUI::GetInstancePath().IsEmpty());

    CPaintManagerUI::SetInstance(program);
    EXPECT_EQ(program, CPaintManagerUI::GetInstance());
    EXPECT_EQ(program, CPaintManagerUI::GetResourceDll());
    CPaintManagerUI::SetResourceDll(kernel);
    EXPECT_EQ(kernel, CPaintManagerUI::GetResourceDll());
    EXPECT_EQ(program, CPaintManagerUI::GetInstance());
    CPaintManagerUI::SetResourceDll(NULL);
    EXPECT_EQ(program, CPaintManagerUI::GetResourceDll());

    // The folder of the test program itself, ending in a backslash.
    const CUIString folder = CPaintManagerUI::GetInstancePath();
    ASSERT_FALSE(folder.IsEmpty());
    EXPECT_EQ(L'\\', folder.GetAt(folder.GetLength() - 1));
    const CUIString exe = folder + L"test_window.exe";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(exe.GetData()));
}

TEST_F(ManagerSettings, CurrentPathFollowsTheProcess)
{
    const CUIString before = CPaintManagerUI::GetCurrentPath();
    ASSERT_FALSE(before.IsEmpty());
    ASSERT_TRUE(CPaintManagerUI::SetCurrentPath(m_folder.GetPath().c_str()));
    const std::wstring expected = m_folder.GetPath().substr(0, m_folder.GetPath().size() - 1);
    EXPECT_EQ(0, ::_wcsicmp(expected.c_str(), CPaintManagerUI::GetCurrentPath().GetData()));
    EXPECT_FALSE(CPaintManagerUI::SetCurrentPath(m_folder.GetFile(L"no such folder").c_str()));
    EXPECT_FALSE(CPaintManagerUI::SetCurrentPath(NULL));
    EXPECT_EQ(0, ::_wcsicmp(expected.c_str(), CPaintManagerUI::GetCurrentPath().GetData()));
    ASSERT_TRUE(CPaintManagerUI::SetCurrentPath(before.GetData()));
}

TEST_F(ManagerSettings, ResourcePathGetsOneTrailingSeparator)
{
    CPaintManagerUI::SetResourcePath(L"skin");
    EXPECT_STREQ(L"skin\\", CPaintManagerUI::GetResourcePath().GetData());
    CPaintManagerUI::SetResourcePath(L"skin\\");
    EXPECT_STREQ(L"skin\\", CPaintManagerUI::GetResourcePath().GetData());
    CPaintManagerUI::SetResourcePath(L"skin/");
    EXPECT_STREQ(L"skin/", CPaintManagerUI::GetResourcePath().GetData());
    CPaintManagerUI::SetResourcePath(L"");
    EXPECT_STREQ(L"", CPaintManagerUI::GetResourcePath().GetData());
    CPaintManagerUI::SetResourcePath(NULL);
    EXPECT_STREQ(L"", CPaintManagerUI::GetResourcePath().GetData());

    // A relative folder is taken from the current directory: "skin" + "a.png" is "skin\a.png".
    ASSERT_TRUE(m_folder.WriteFile(L"skin\\a.png", "relative"));
    const CUIString before = CPaintManagerUI::GetCurrentPath();
    ASSERT_TRUE(CPaintManagerUI::SetCurrentPath(m_folder.GetPath().c_str()));
    CPaintManagerUI::SetResourcePath(L"skin");
    EXPECT_EQ("relative", ReadText(L"a.png"));
    CPaintManagerUI::SetResourcePath(L"");
    EXPECT_EQ("<missing>", ReadText(L"a.png"));
    CPaintManagerUI::SetCurrentPath(before.GetData());
}

TEST_F(ManagerSettings, OnlyTheFirstMemoryArchiveIsTaken)
{
    const std::string first = MakeArchive("first");
    const std::string second = MakeArchive("second");
    ASSERT_TRUE(m_folder.WriteFile(L"file.zip", MakeArchive("file")));
    CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());

    CPaintManagerUI::SetResourceZip((LPVOID)first.data(), (unsigned)first.size());
    EXPECT_STREQ(L"membuffer", CPaintManagerUI::GetResourceZip().GetData());
    EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
    HZIP handle = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_TRUE(handle != NULL);
    EXPECT_EQ("first", ReadText(L"which.txt"));

    CPaintManagerUI::SetResourceZip((LPVOID)second.data(), (unsigned)second.size());
    EXPECT_EQ(handle, CPaintManagerUI::GetResourceZipHandle());
    EXPECT_EQ("first", ReadText(L"which.txt"));

    // To a file archive and back: the memory archive is taken again.
    CPaintManagerUI::SetResourceZip(L"file.zip");
    EXPECT_STREQ(L"file.zip", CPaintManagerUI::GetResourceZip().GetData());
    EXPECT_EQ("file", ReadText(L"which.txt"));
    CPaintManagerUI::SetResourceZip((LPVOID)second.data(), (unsigned)second.size());
    EXPECT_STREQ(L"membuffer", CPaintManagerUI::GetResourceZip().GetData());
    EXPECT_EQ("second", ReadText(L"which.txt"));
    EXPECT_FALSE(IsFileInUse(m_folder.GetFile(L"file.zip").c_str()));

    // A missing block is no archive at all, and does not replace the current one.
    CResourceScope::ClearArchive();
    CPaintManagerUI::SetResourceZip((LPVOID)NULL, 100);
    CPaintManagerUI::SetResourceZip((LPVOID)first.data(), 0);
    EXPECT_TRUE(CPaintManagerUI::GetResourceZip().IsEmpty());
    CPaintManagerUI::SetResourceZip((LPVOID)first.data(), (unsigned)first.size());
    EXPECT_EQ("first", ReadText(L"which.txt"));
    CResourceScope::ClearArchive();
}

TEST_F(ManagerSettings, FileArchiveIsKeptOpenOnlyWhenCached)
{
    ASSERT_TRUE(m_folder.WriteFile(L"skin.zip", MakeArchive("zipped")));
    ASSERT_TRUE(m_folder.WriteFile(L"which.txt", "loose"));
    const std::wstring zipPath = m_folder.GetFile(L"skin.zip");

    // Set before the folder, the archive cannot be found; set again afterwards, it opens.
    CPaintManagerUI::SetResourceZip(L"skin.zip");
    EXPECT_TRUE(CPaintManagerUI::GetResourceZipHandle() == NULL);
    CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    CPaintManagerUI::SetResourceZip(L"skin.zip");
    HZIP handle = CPaintManagerUI::GetResourceZipHandle();
    ASSERT_TRUE(handle != NULL);
    EXPECT_TRUE(IsFileInUse(zipPath.c_str()));
    EXPECT_EQ("zipped", ReadText(L"which.txt"));
    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    EXPECT_EQ(handle, CPaintManagerUI::GetResourceZipHandle());

    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    EXPECT_STREQ(L"skin.zip", CPaintManagerUI::GetResourceZip().GetData());
    EXPECT_FALSE(CPaintManagerUI::IsCachedResourceZip());
    EXPECT_TRUE(CPaintManagerUI::GetResourceZipHandle() == NULL);
    EXPECT_FALSE(IsFileInUse(zipPath.c_str()));
    EXPECT_EQ("zipped", ReadText(L"which.txt"));
    EXPECT_FALSE(IsFileInUse(zipPath.c_str()));

    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    ASSERT_TRUE(CPaintManagerUI::GetResourceZipHandle() != NULL);
    CPaintManagerUI::Term();
    EXPECT_TRUE(CPaintManagerUI::GetResourceZipHandle() == NULL);
    EXPECT_FALSE(IsFileInUse(zipPath.c_str()));

    // No archive name: loose files again.
    CResourceScope::ClearArchive();
    EXPECT_EQ("loose", ReadText(L"which.txt"));
}
