// Tests of skin-file reading: loose files, cached and per-read archives, limits and failures.
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

std::string Text(const CUIBuffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

CZipWriter MakeSkin()
{
    CZipWriter writer;
    writer.Add("login.xml", "<Window>from the archive</Window>");
    writer.Add("img/bg.png", std::string(5000, 'p'));
    writer.Add("empty.txt", "");
    writer.Add("broken.bin", std::string(3000, 'b')).payload = std::string(100, '\xFF');
    return writer;
}

class ResourceFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.IsValid());
        ASSERT_TRUE(m_folder.WriteFile(L"login.xml", "<Window>loose</Window>"));
        ASSERT_TRUE(m_folder.WriteFile(L"img\\bg.png", "loose png"));
        ASSERT_TRUE(m_folder.WriteFile(L"empty.txt", ""));
        ASSERT_TRUE(m_folder.WriteFile(L"hundred.bin", std::string(100, 'h')));
        ASSERT_TRUE(MakeSkin().WriteFile(m_folder.GetFile(L"skin.zip").c_str()));
        CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    }

    // The archive file must not stay open once a read has returned.
    void ExpectArchiveClosed(const char* after)
    {
        EXPECT_FALSE(IsFileInUse(m_folder.GetFile(L"skin.zip").c_str())) << "after " << after;
    }

    // The folder outlives the scope, which closes a cached archive inside it.
    CTempFolder m_folder;
    CResourceScope m_scope;
};

} // namespace

TEST_F(ResourceFile, BufferOwnsAZeroTerminatedBlock)
{
    CUIBuffer buffer;
    EXPECT_TRUE(buffer.IsEmpty());
    EXPECT_TRUE(buffer.GetData() == NULL);
    ASSERT_TRUE(buffer.Allocate(3));
    EXPECT_EQ(3u, buffer.GetSize());
    EXPECT_EQ(0, buffer.GetData()[3]);
    EXPECT_EQ(0, buffer.GetData()[4]);
    BYTE* data = buffer.Detach();
    EXPECT_TRUE(buffer.IsEmpty());
    EXPECT_TRUE(buffer.GetData() == NULL);
    delete[] data;
    EXPECT_FALSE(buffer.Allocate(MAXDWORD));
    EXPECT_TRUE(buffer.IsEmpty());
}

TEST_F(ResourceFile, LooseFilesComeFromTheResourceFolder)
{
    CUIBuffer buffer;
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"login.xml", 0, buffer));
    EXPECT_EQ("<Window>loose</Window>", Text(buffer));
    EXPECT_EQ(0, buffer.GetData()[buffer.GetSize()]);
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"img\\bg.png", 0, buffer));
    EXPECT_EQ("loose png", Text(buffer));

    EXPECT_EQ(UIRES_OPEN_FAILED, ReadSkinFile(L"missing.xml", 0, buffer));
    EXPECT_TRUE(buffer.IsEmpty());
    EXPECT_EQ(UIRES_OPEN_FAILED, ReadSkinFile(L"img", 0, buffer));
    EXPECT_EQ(UIRES_OPEN_FAILED, ReadSkinFile(L"", 0, buffer));
    EXPECT_EQ(UIRES_OPEN_FAILED, ReadSkinFile(NULL, 0, buffer));
    EXPECT_EQ(UIRES_EMPTY, ReadSkinFile(L"empty.txt", 0, buffer));
    EXPECT_EQ(UIRES_OK, ReadSkinFile(L"hundred.bin", 100, buffer));
    EXPECT_EQ(100u, buffer.GetSize());
    EXPECT_EQ(UIRES_TOO_LARGE, ReadSkinFile(L"hundred.bin", 99, buffer));
    EXPECT_TRUE(buffer.IsEmpty());
}

TEST_F(ResourceFile, DiskFilesAreReadByFullPath)
{
    CUIBuffer buffer;
    CPaintManagerUI::SetResourcePath(L"");
    ASSERT_EQ(UIRES_OK, ReadDiskFile(m_folder.GetFile(L"login.xml").c_str(), 0, buffer));
    EXPECT_EQ("<Window>loose</Window>", Text(buffer));
    EXPECT_EQ(UIRES_EMPTY, ReadDiskFile(m_folder.GetFile(L"empty.txt").c_str(), 1, buffer));
    EXPECT_EQ(UIRES_TOO_LARGE, ReadDiskFile(m_folder.GetFile(L"hundred.bin").c_str(), 10, buffer));
    EXPECT_EQ(UIRES_OPEN_FAILED, ReadDiskFile(m_folder.GetFile(L"nope").c_str(), 0, buffer));
    EXPECT_EQ(UIRES_OPEN_FAILED, ReadDiskFile(NULL, 0, buffer));
    // The archive setting does not matter for a path on disk.
    CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    CPaintManagerUI::SetResourceZip(L"skin.zip");
    ASSERT_EQ(UIRES_OK, ReadDiskFile(m_folder.GetFile(L"login.xml").c_str(), 0, buffer));
    EXPECT_EQ("<Window>loose</Window>", Text(buffer));
}

TEST_F(ResourceFile, CachedArchiveIsPreferredToLooseFiles)
{
    CPaintManagerUI::SetResourceZip(L"skin.zip");
    ASSERT_TRUE(CPaintManagerUI::GetResourceZipHandle() != NULL);
    CUIBuffer buffer;
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"login.xml", 0, buffer));
    EXPECT_EQ("<Window>from the archive</Window>", Text(buffer));
    // Read twice: the entry left open by the first read must not disturb the second.
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"IMG\\Bg.PNG", 0, buffer));
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"img/bg.png", 0, buffer));
    EXPECT_EQ(std::string(5000, 'p'), Text(buffer));

    EXPECT_EQ(UIRES_ZIP_NOT_FOUND, ReadSkinFile(L"hundred.bin", 0, buffer));
    EXPECT_EQ(UIRES_EMPTY, ReadSkinFile(L"empty.txt", 0, buffer));
    EXPECT_EQ(UIRES_TOO_LARGE, ReadSkinFile(L"img/bg.png", 4999, buffer));
    EXPECT_EQ(UIRES_OK, ReadSkinFile(L"img/bg.png", 5000, buffer));
    EXPECT_EQ(UIRES_UNZIP_FAILED, ReadSkinFile(L"broken.bin", 0, buffer));
    EXPECT_TRUE(buffer.IsEmpty());
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"login.xml", 0, buffer));
}

TEST_F(ResourceFile, UncachedArchiveIsOpenedAndClosedForEachRead)
{
    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    EXPECT_TRUE(CPaintManagerUI::GetResourceZipHandle() == NULL);
    CUIBuffer buffer;
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"Login.XML", 0, buffer));
    EXPECT_EQ("<Window>from the archive</Window>", Text(buffer));
    ExpectArchiveClosed("a read");
    EXPECT_EQ(UIRES_ZIP_NOT_FOUND, ReadSkinFile(L"none.xml", 0, buffer));
    ExpectArchiveClosed("a missing entry");
    EXPECT_EQ(UIRES_EMPTY, ReadSkinFile(L"empty.txt", 0, buffer));
    ExpectArchiveClosed("an empty entry");
    EXPECT_EQ(UIRES_TOO_LARGE, ReadSkinFile(L"img/bg.png", 10, buffer));
    ExpectArchiveClosed("a large entry");
    EXPECT_EQ(UIRES_UNZIP_FAILED, ReadSkinFile(L"broken.bin", 0, buffer));
    ExpectArchiveClosed("a broken entry");

    // Each read sees the archive as it is now.
    CZipWriter other;
    other.Add("login.xml", "replaced");
    ASSERT_TRUE(other.WriteFile(m_folder.GetFile(L"skin.zip").c_str()));
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"login.xml", 0, buffer));
    EXPECT_EQ("replaced", Text(buffer));

    ASSERT_TRUE(m_folder.WriteFile(L"skin.zip", "not an archive"));
    EXPECT_EQ(UIRES_ZIP_OPEN_FAILED, ReadSkinFile(L"login.xml", 0, buffer));
    ExpectArchiveClosed("a damaged archive");
    CPaintManagerUI::SetResourceZip(L"gone.zip", false);
    EXPECT_EQ(UIRES_ZIP_OPEN_FAILED, ReadSkinFile(L"login.xml", 0, buffer));
}

TEST_F(ResourceFile, MemoryArchiveAndUnopenableCachedArchive)
{
    const std::string block = MakeSkin().Build();
    CPaintManagerUI::SetResourceZip((LPVOID)block.data(), (unsigned)block.size());
    CUIBuffer buffer;
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"login.xml", 0, buffer));
    EXPECT_EQ("<Window>from the archive</Window>", Text(buffer));

    CPaintManagerUI::SetResourceZip(L"missing.zip");
    EXPECT_TRUE(CPaintManagerUI::GetResourceZipHandle() == NULL);
    EXPECT_EQ(UIRES_ZIP_OPEN_FAILED, ReadSkinFile(L"login.xml", 0, buffer));
}

// Damage the reader finds before or after extraction: either way a miss, never a buffer of bad bytes.
TEST_F(ResourceFile, DamagedArchiveEntriesAreMisses)
{
    const std::string content(6000, 'c');
    CZipWriter writer;
    writer.Add("sound.xml", content);
    std::string changed = content;
    changed[3000] = 'd';
    writer.Add("changed.xml", content, false).payload = changed;
    CZipWriter::Entry& huge = writer.Add("huge.png", content);
    huge.dataDescriptor = true;
    huge.centralUncompressedSize = 0x7FFFFFF0;
    const std::string block = writer.Build();
    CPaintManagerUI::SetResourceZip((LPVOID)block.data(), (unsigned)block.size());

    CUIBuffer buffer;
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"sound.xml", 0, buffer));
    EXPECT_EQ(content, Text(buffer));
    EXPECT_EQ(UIRES_UNZIP_FAILED, ReadSkinFile(L"changed.xml", 0, buffer));
    EXPECT_TRUE(buffer.IsEmpty());
    // Refused by the find, so no buffer of the claimed size is ever allocated.
    EXPECT_EQ(UIRES_ZIP_NOT_FOUND, ReadSkinFile(L"huge.png", 0, buffer));
    EXPECT_TRUE(buffer.IsEmpty());
    ASSERT_EQ(UIRES_OK, ReadSkinFile(L"sound.xml", 0, buffer));
    EXPECT_EQ(content, Text(buffer));
}
