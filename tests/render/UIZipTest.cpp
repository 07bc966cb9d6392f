// Tests of the zip reader on archives made by the test writer, sound and damaged.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIZip.h"

#include "support/TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace Veneer;

namespace {

// Text that deflates but still spans several 16 KiB input blocks.
std::string MakeContent(size_t size, unsigned seed)
{
    std::string out;
    out.reserve(size);
    unsigned state = seed * 2654435761u + 1;
    while( out.size() < size ) {
        state = state * 1103515245u + 12345u;
        out.push_back((char)('a' + (state >> 16) % 26));
        if( (state >> 8) % 7 == 0 ) out.push_back(' ');
    }
    out.resize(size);
    return out;
}

// Owns an archive handle opened over bytes that live as long as it does.
class CArchive
{
public:
    explicit CArchive(const std::string& bytes) : m_bytes(bytes)
    {
        m_zip = ZipOpenMemory(m_bytes.data(), (unsigned)m_bytes.size());
    }
    ~CArchive()
    {
        if( m_zip != NULL ) ZipClose(m_zip);
    }
    HZIP Get() const { return m_zip; }

private:
    std::string m_bytes;
    HZIP m_zip;
};

// Looks an entry up and reads it whole with one exact-size call; returns the reader's codes.
struct Extracted
{
    ZRESULT find = ZIP_OK;
    ZRESULT extract = ZIP_OK;
    std::string data;
};

Extracted ReadEntry(HZIP zip, LPCWSTR name)
{
    Extracted result;
    int index = -1;
    ZipEntryInfo info;
    result.find = ZipFindEntry(zip, name, true, &index, &info);
    if( result.find != ZIP_OK ) return result;
    // Guard bytes after the buffer catch writes past its end.
    std::string buffer(info.uncompressedSize + 16, '\x5A');
    result.extract = ZipExtractToMemory(zip, index, &buffer[0], info.uncompressedSize);
    EXPECT_EQ(std::string(16, '\x5A'), buffer.substr(info.uncompressedSize));
    result.data = buffer.substr(0, info.uncompressedSize);
    return result;
}

CZipWriter MakeSkin()
{
    CZipWriter writer;
    writer.Add("login.xml", "<Window size=\"800,600\"></Window>");
    writer.Add("img/bg.png", MakeContent(70000, 1));
    writer.Add("readme.txt", "stored, not deflated", false);
    return writer;
}

} // namespace

TEST(ZipReader, ReadsStoredAndDeflatedEntriesFromMemoryAndFile)
{
    const CZipWriter writer = MakeSkin();
    const std::string bytes = writer.Build();
    CTempFolder folder;
    ASSERT_TRUE(folder.IsValid());
    ASSERT_TRUE(writer.WriteFile(folder.GetFile(L"skin.zip").c_str()));

    HZIP fromMemory = ZipOpenMemory(bytes.data(), (unsigned)bytes.size());
    HZIP fromFile = ZipOpenFile(folder.GetFile(L"skin.zip").c_str());
    ASSERT_TRUE(fromMemory != NULL);
    ASSERT_TRUE(fromFile != NULL);
    for( HZIP zip : { fromMemory, fromFile } ) {
        int index = -1;
        ZipEntryInfo info;
        ASSERT_EQ(ZIP_OK, ZipFindEntry(zip, L"img/bg.png", true, &index, &info));
        EXPECT_EQ(1, index);
        EXPECT_EQ(1, info.index);
        EXPECT_STREQ(L"img/bg.png", info.name);
        EXPECT_EQ(70000u, info.uncompressedSize);
        EXPECT_LT(info.compressedSize, info.uncompressedSize);
        EXPECT_NE(0u, info.modifyTime.dwHighDateTime);

        Extracted xml = ReadEntry(zip, L"login.xml");
        EXPECT_EQ(ZIP_MORE, xml.extract);
        EXPECT_EQ("<Window size=\"800,600\"></Window>", xml.data);
        Extracted image = ReadEntry(zip, L"img/bg.png");
        EXPECT_EQ(ZIP_MORE, image.extract);
        EXPECT_EQ(MakeContent(70000, 1), image.data);
        Extracted text = ReadEntry(zip, L"readme.txt");
        EXPECT_EQ(ZIP_MORE, text.extract);
        EXPECT_EQ("stored, not deflated", text.data);
    }
    EXPECT_EQ(ZIP_OK, ZipClose(fromMemory));
    EXPECT_EQ(ZIP_OK, ZipClose(fromFile));
}

TEST(ZipReader, ExtractsInChunksAcrossCallsThenReportsTheEnd)
{
    const std::string content = MakeContent(50000, 2);
    for( bool deflate : { true, false } ) {
        CZipWriter writer;
        writer.Add("first.txt", "x");
        writer.Add("big.txt", content, deflate);
        CArchive archive(writer.Build());
        ASSERT_TRUE(archive.Get() != NULL);

        std::string joined;
        char chunk[4000];
        ZRESULT result = ZIP_MORE;
        int calls = 0;
        while( (result = ZipExtractToMemory(archive.Get(), 1, chunk, sizeof(chunk))) == ZIP_MORE && calls < 100 ) {
            const size_t count = std::min(sizeof(chunk), content.size() - joined.size());
            joined.append(chunk, count);
            ++calls;
        }
        EXPECT_EQ(ZIP_OK, result);
        EXPECT_EQ(13, calls);
        EXPECT_EQ(content, joined);

        // Once exhausted the entry is closed: the next call starts it again.
        ASSERT_EQ(ZIP_MORE, ZipExtractToMemory(archive.Get(), 1, chunk, 10));
        EXPECT_EQ(content.substr(0, 10), std::string(chunk, 10));
    }
}

TEST(ZipReader, SwitchingEntriesAndFindingRestartsExtraction)
{
    CZipWriter writer;
    writer.Add("a.txt", MakeContent(30000, 3));
    writer.Add("b.txt", MakeContent(30000, 4), false);
    CArchive archive(writer.Build());
    ASSERT_TRUE(archive.Get() != NULL);

    char chunk[100];
    ASSERT_EQ(ZIP_MORE, ZipExtractToMemory(archive.Get(), 1, chunk, sizeof(chunk)));
    EXPECT_EQ(MakeContent(30000, 4).substr(0, 100), std::string(chunk, 100));
    // Going back to an earlier entry walks the directory from its start.
    ASSERT_EQ(ZIP_MORE, ZipExtractToMemory(archive.Get(), 0, chunk, sizeof(chunk)));
    EXPECT_EQ(MakeContent(30000, 3).substr(0, 100), std::string(chunk, 100));
    ASSERT_EQ(ZIP_MORE, ZipExtractToMemory(archive.Get(), 0, chunk, sizeof(chunk)));
    EXPECT_EQ(MakeContent(30000, 3).substr(100, 100), std::string(chunk, 100));

    // A successful find closes the open entry, so the next read starts over.
    int index = -1;
    ZipEntryInfo info;
    ASSERT_EQ(ZIP_OK, ZipFindEntry(archive.Get(), L"a.txt", true, &index, &info));
    ASSERT_EQ(ZIP_MORE, ZipExtractToMemory(archive.Get(), index, chunk, sizeof(chunk)));
    EXPECT_EQ(MakeContent(30000, 3).substr(0, 100), std::string(chunk, 100));
    // A failed one leaves it open.
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(archive.Get(), L"c.txt", true, &index, &info));
    ASSERT_EQ(ZIP_MORE, ZipExtractToMemory(archive.Get(), 0, chunk, sizeof(chunk)));
    EXPECT_EQ(MakeContent(30000, 3).substr(100, 100), std::string(chunk, 100));
}

TEST(ZipReader, NameLookupFoldsAsciiCaseAndSeparatorsOnly)
{
    CZipWriter writer;
    writer.Add("img/bg.png", "png");
    writer.Add("Img/Other.PNG", "other");
    CArchive archive(writer.Build());
    ASSERT_TRUE(archive.Get() != NULL);

    int index = -1;
    ZipEntryInfo info;
    EXPECT_EQ(ZIP_OK, ZipFindEntry(archive.Get(), L"IMG\\Bg.PNG", true, &index, &info));
    EXPECT_EQ(0, index);
    EXPECT_EQ(ZIP_OK, ZipFindEntry(archive.Get(), L"img\\other.png", true, &index, &info));
    EXPECT_EQ(1, index);
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(archive.Get(), L"IMG/BG.PNG", false, &index, &info));
    EXPECT_EQ(ZIP_OK, ZipFindEntry(archive.Get(), L"img\\bg.png", false, &index, &info));
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(archive.Get(), L"img/bg.pn", true, &index, &info));
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(archive.Get(), L"img/bg.png2", true, &index, &info));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(-1, info.index);
}

TEST(ZipReader, NonAsciiLettersMustMatchExactly)
{
    const std::string upper = CZipWriter::ToAnsi(L"\u00C4rger.png");
    const std::string lower = CZipWriter::ToAnsi(L"\u00E4rger.png");
    if( upper.empty() || upper == lower || upper[0] == '?' || lower[0] == '?' )
        GTEST_SKIP() << "the ANSI code page has no single-byte A and a with diaeresis";
    CZipWriter writer;
    writer.Add(upper, "x");
    CArchive archive(writer.Build());
    ASSERT_TRUE(archive.Get() != NULL);
    int index = -1;
    ZipEntryInfo info;
    EXPECT_EQ(ZIP_OK, ZipFindEntry(archive.Get(), L"\u00C4RGER.PNG", true, &index, &info));
    EXPECT_STREQ(L"\u00C4rger.png", info.name);
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(archive.Get(), L"\u00E4rger.png", true, &index, &info));
}

TEST(ZipReader, OverlongNamesNeverMatch)
{
    CZipWriter writer;
    writer.Add(std::string(300, 'n'), "long");
    // Comparison stops at a zero byte, but a stored name of 256 bytes is skipped before that.
    writer.Add(std::string("a.xml") + '\0' + std::string(250, 'p'), "hidden");
    writer.Add("b.txt", "after the long names");
    CArchive archive(writer.Build());
    ASSERT_TRUE(archive.Get() != NULL);

    int index = -1;
    ZipEntryInfo info;
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(archive.Get(), std::wstring(300, L'n').c_str(), true, &index, &info));
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(archive.Get(), std::wstring(256, L'n').c_str(), true, &index, &info));
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(archive.Get(), L"a.xml", true, &index, &info));
    Extracted after = ReadEntry(archive.Get(), L"b.txt");
    EXPECT_EQ(ZIP_OK, after.find);
    EXPECT_EQ("after the long names", after.data);
}

TEST(ZipReader, RejectsBadHandlesAndArguments)
{
    CZipWriter writer;
    writer.Add("a.txt", "a");
    CArchive archive(writer.Build());
    ASSERT_TRUE(archive.Get() != NULL);
    int index = 0;
    ZipEntryInfo info;
    char buffer[4];

    EXPECT_EQ(ZIP_BAD_ARGS, ZipFindEntry(NULL, L"a.txt", true, &index, &info));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipExtractToMemory(NULL, 0, buffer, sizeof(buffer)));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipClose(NULL));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipExtractToMemory(archive.Get(), 1, buffer, sizeof(buffer)));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipExtractToMemory(archive.Get(), -1, buffer, sizeof(buffer)));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipExtractToMemory(archive.Get(), 0, NULL, sizeof(buffer)));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipFindEntry(archive.Get(), NULL, true, &index, &info));

    // Something that is not an archive record: its kind tag is not the archive's.
    struct { DWORD kind; void* reader; } other = { 2, NULL };
    HZIP wrong = reinterpret_cast<HZIP>(&other);
    EXPECT_EQ(ZIP_WRONG_HANDLE, ZipFindEntry(wrong, L"a.txt", true, &index, &info));
    EXPECT_EQ(ZIP_WRONG_HANDLE, ZipExtractToMemory(wrong, 0, buffer, sizeof(buffer)));
    EXPECT_EQ(ZIP_WRONG_HANDLE, ZipClose(wrong));

    EXPECT_TRUE(ZipOpenMemory(NULL, 100) == NULL);
    EXPECT_TRUE(ZipOpenMemory("PK", 0) == NULL);
    EXPECT_TRUE(ZipOpenFile(NULL) == NULL);
    CTempFolder folder;
    EXPECT_TRUE(ZipOpenFile(folder.GetFile(L"missing.zip").c_str()) == NULL);
    ASSERT_TRUE(folder.WriteFile(L"plain.txt", std::string(5000, 'x')));
    EXPECT_TRUE(ZipOpenFile(folder.GetFile(L"plain.txt").c_str()) == NULL);
}

TEST(ZipReader, EmptyEntriesAndEmptyArchives)
{
    CZipWriter writer;
    writer.Add("empty.txt", "");
    CArchive archive(writer.Build());
    ASSERT_TRUE(archive.Get() != NULL);
    int index = -1;
    ZipEntryInfo info;
    ASSERT_EQ(ZIP_OK, ZipFindEntry(archive.Get(), L"empty.txt", true, &index, &info));
    EXPECT_EQ(0u, info.uncompressedSize);
    char buffer[8];
    EXPECT_EQ(ZIP_OK, ZipExtractToMemory(archive.Get(), index, buffer, sizeof(buffer)));

    CArchive none(CZipWriter().Build());
    ASSERT_TRUE(none.Get() != NULL);
    EXPECT_EQ(ZIP_NOT_FOUND, ZipFindEntry(none.Get(), L"a", true, &index, &info));
    EXPECT_EQ(ZIP_BAD_ARGS, ZipExtractToMemory(none.Get(), 0, buffer, sizeof(buffer)));
}

TEST(ZipReader, DataBeforeTheArchiveIsSkipped)
{
    CZipWriter writer = MakeSkin();
    writer.SetStub("MZ" + std::string(4094, '\x90'));
    CArchive archive(writer.Build());
    ASSERT_TRUE(archive.Get() != NULL);
    EXPECT_EQ(MakeContent(70000, 1), ReadEntry(archive.Get(), L"img/bg.png").data);
    EXPECT_EQ("stored, not deflated", ReadEntry(archive.Get(), L"readme.txt").data);

    CTempFolder folder;
    ASSERT_TRUE(writer.WriteFile(folder.GetFile(L"stub.exe").c_str()));
    HZIP zip = ZipOpenFile(folder.GetFile(L"stub.exe").c_str());
    ASSERT_TRUE(zip != NULL);
    EXPECT_EQ("<Window size=\"800,600\"></Window>", ReadEntry(zip, L"login.xml").data);
    ZipClose(zip);
}

TEST(ZipReader, EndRecordIsSearchedWithinTheLast65535Bytes)
{
    CZipWriter writer;
    writer.Add("a.txt", "comment test");
    writer.SetComment(std::string(65513, 'c'));
    CArchive longest(writer.Build());
    ASSERT_TRUE(longest.Get() != NULL);
    EXPECT_EQ("comment test", ReadEntry(longest.Get(), L"a.txt").data);

    writer.SetComment(std::string(65514, 'c'));
    CArchive tooLong(writer.Build());
    EXPECT_TRUE(tooLong.Get() == NULL);

    // A signature inside the comment too close to the end to be a record does not hide the real one.
    writer.SetComment("note PK\x05\x06 tail");
    CArchive decoy(writer.Build());
    ASSERT_TRUE(decoy.Get() != NULL);
    EXPECT_EQ("comment test", ReadEntry(decoy.Get(), L"a.txt").data);
}

TEST(ZipReader, RefusesMultiDiskArchives)
{
    for( int field = 0; field < 3; ++field ) {
        CZipWriter writer;
        writer.Add("a.txt", "a");
        writer.Add("b.txt", "b");
        CZipWriter::EndRecord& end = writer.GetEndRecord();
        if( field == 0 ) end.thisDisk = 1;
        if( field == 1 ) end.directoryDisk = 1;
        if( field == 2 ) end.entriesOnDisk = 1;
        CArchive archive(writer.Build());
        EXPECT_TRUE(archive.Get() == NULL) << "field " << field;
    }
}

TEST(ZipReader, DataDescriptorEntriesRead)
{
    CZipWriter writer;
    CZipWriter::Entry& entry = writer.Add("late.txt", MakeContent(20000, 5));
    entry.dataDescriptor = true;
    writer.Add("next.txt", "next", false).dataDescriptor = true;
    CArchive archive(writer.Build());
    ASSERT_TRUE(archive.Get() != NULL);
    EXPECT_EQ(MakeContent(20000, 5), ReadEntry(archive.Get(), L"late.txt").data);
    EXPECT_EQ("next", ReadEntry(archive.Get(), L"next.txt").data);
}

TEST(ZipReader, LocalHeaderThatDisagreesIsReported)
{
    struct Case { const char* what; void (*damage)(CZipWriter::Entry&); ZRESULT expected; };
    const Case cases[] = {
        { "signature", [](CZipWriter::Entry& e) { e.localSignature = 0x04034b51; }, ZIP_CORRUPT },
        { "method", [](CZipWriter::Entry& e) { e.localMethod = 0; }, ZIP_CORRUPT },
        { "both methods unknown", [](CZipWriter::Entry& e) { e.localMethod = 12; e.centralMethod = 12; }, ZIP_CORRUPT },
        { "crc", [](CZipWriter::Entry& e) { e.localCrc = 1; }, ZIP_CORRUPT },
        { "size", [](CZipWriter::Entry& e) { e.localUncompressedSize = 3; }, ZIP_CORRUPT },
        { "name length", [](CZipWriter::Entry& e) { e.localNameLength = 4; }, ZIP_CORRUPT },
        { "encrypted", [](CZipWriter::Entry& e) { e.encrypted = true; }, ZIP_CORRUPT },
        { "offset past the end", [](CZipWriter::Entry& e) { e.centralLocalOffset = 0x7FFFFFF0; }, ZIP_READ_FAILED },
        { "offset at the end record", [](CZipWriter::Entry& e) { e.centralLocalOffset = 0xFFFFFFFF; }, ZIP_READ_FAILED },
        // With the descriptor flag the local crc and sizes are not compared.
        { "descriptor", [](CZipWriter::Entry& e) { e.dataDescriptor = true; e.localCrc = 1; }, ZIP_OK },
    };
    for( const Case& c : cases ) {
        CZipWriter writer;
        writer.Add("ok.txt", "fine");
        c.damage(writer.Add("bad.txt", MakeContent(3000, 6)));
        CArchive archive(writer.Build());
        ASSERT_TRUE(archive.Get() != NULL) << c.what;
        int index = 5;
        ZipEntryInfo info;
        EXPECT_EQ(c.expected, ZipFindEntry(archive.Get(), L"bad.txt", true, &index, &info)) << c.what;
        char buffer[3000];
        const ZRESULT extract = ZipExtractToMemory(archive.Get(), 1, buffer, sizeof(buffer));
        EXPECT_EQ(c.expected == ZIP_OK ? ZIP_MORE : ZIP_NOTHING, extract) << c.what;
        EXPECT_EQ("fine", ReadEntry(archive.Get(), L"ok.txt").data) << c.what;
    }
}

TEST(ZipReader, EntriesThatDoNotInflateOrEndEarlyFail)
{
    const std::string content = MakeContent(40000, 7);
    const std::string deflated = CZipWriter::Deflate(content);
    // Sizes no archive could back are refused by the find, before anyone allocates by them; the
    // other damage shows when the data are read.
    struct Case { const char* what; void (*damage)(CZipWriter::Entry&, const std::string&); ZRESULT find; };
    const Case cases[] = {
        { "garbage", [](CZipWriter::Entry& e, const std::string&) { e.payload = std::string(500, '\xFF'); }, ZIP_OK },
        { "cut stream", [](CZipWriter::Entry& e, const std::string& d) { e.payload = d.substr(0, d.size() / 2); },
          ZIP_OK },
        { "empty stream", [](CZipWriter::Entry& e, const std::string&) { e.payload = std::string(); }, ZIP_CORRUPT },
        { "bits flipped", [](CZipWriter::Entry& e, const std::string& d) {
              std::string p = d;
              for( size_t i = 0; i < p.size(); i += 97 ) p[i] = (char)~p[i];
              e.payload = p; }, ZIP_OK },
        { "stored shorter than said", [](CZipWriter::Entry& e, const std::string&) {
              e.deflate = false; e.payload = e.data.substr(0, 1000); }, ZIP_CORRUPT },
        { "sizes past the end", [](CZipWriter::Entry& e, const std::string&) {
              e.dataDescriptor = true; e.centralCompressedSize = 0x7FFFFFFF; e.deflate = false; }, ZIP_CORRUPT },
        { "more than deflate can expand to", [](CZipWriter::Entry& e, const std::string&) {
              e.dataDescriptor = true; e.centralUncompressedSize = 0xFFFFFF00; }, ZIP_CORRUPT },
        // Sound streams of the right length, but not the bytes the entry's CRC-32 was taken of.
        { "inflates to other bytes", [](CZipWriter::Entry& e, const std::string&) {
              e.payload = CZipWriter::Deflate(MakeContent(40000, 70)); }, ZIP_OK },
        { "stored with one byte changed", [](CZipWriter::Entry& e, const std::string&) {
              e.deflate = false; std::string p = e.data; p[20000] ^= 0x20; e.payload = p; }, ZIP_OK },
    };
    for( const Case& c : cases ) {
        CZipWriter writer;
        c.damage(writer.Add("bad.bin", content), deflated);
        CArchive archive(writer.Build());
        ASSERT_TRUE(archive.Get() != NULL) << c.what;
        Extracted read = ReadEntry(archive.Get(), L"bad.bin");
        EXPECT_EQ(c.find, read.find) << c.what;
        if( c.find == ZIP_OK ) {
            EXPECT_EQ(ZIP_NOTHING, read.extract) << c.what;
        }
        else {
            // Nor can the entry be read by its index.
            char buffer[100];
            EXPECT_EQ(ZIP_NOTHING, ZipExtractToMemory(archive.Get(), 0, buffer, sizeof(buffer))) << c.what;
        }
    }
}

TEST(ZipReader, ChecksumDecidesTheCallThatDeliversTheLastBytes)
{
    const std::string content = MakeContent(10000, 11);
    for( bool deflate : { true, false } ) {
        CZipWriter writer;
        writer.Add("sound.txt", content, deflate);
        CZipWriter::Entry& damaged = writer.Add("damaged.txt", content, deflate);
        std::string other = content;
        other[5] = other[5] == 'x' ? 'y' : 'x';
        damaged.payload = deflate ? CZipWriter::Deflate(other) : other;
        CArchive archive(writer.Build());
        ASSERT_TRUE(archive.Get() != NULL);

        // 10,000 bytes in chunks of 3,000: the fourth call brings the last 1,000 and the verdict.
        const std::vector<ZRESULT> expected[2] = {
            { ZIP_MORE, ZIP_MORE, ZIP_MORE, ZIP_MORE, ZIP_OK },
            { ZIP_MORE, ZIP_MORE, ZIP_MORE, ZIP_NOTHING },
        };
        for( int index : { 0, 1 } ) {
            char chunk[3000];
            std::vector<ZRESULT> results;
            ZRESULT result = ZIP_MORE;
            while( result == ZIP_MORE && results.size() < 10 ) {
                result = ZipExtractToMemory(archive.Get(), index, chunk, sizeof(chunk));
                results.push_back(result);
            }
            EXPECT_EQ(expected[index], results) << "deflate " << deflate << ", entry " << index;
        }
        // A damaged entry is closed: asked again, it starts over and fails the same way.
        std::string whole(content.size(), '\0');
        EXPECT_EQ(ZIP_NOTHING, ZipExtractToMemory(archive.Get(), 1, &whole[0], (unsigned)whole.size()));
        EXPECT_EQ(ZIP_MORE, ZipExtractToMemory(archive.Get(), 0, &whole[0], (unsigned)whole.size()));
        EXPECT_EQ(content, whole);
    }
}

TEST(ZipReader, DirectoriesThatLieFailCleanly)
{
    CZipWriter base;
    base.Add("one.txt", "1");
    base.Add("two.txt", "2");

    {   // more entries announced than present: known names still work, the walk past the end fails
        CZipWriter writer = base;
        writer.GetEndRecord().entriesOnDisk = 9;
        writer.GetEndRecord().totalEntries = 9;
        CArchive archive(writer.Build());
        ASSERT_TRUE(archive.Get() != NULL);
        EXPECT_EQ("2", ReadEntry(archive.Get(), L"two.txt").data);
        EXPECT_EQ(ZIP_READ_FAILED, ReadEntry(archive.Get(), L"three.txt").find);
        char c;
        EXPECT_EQ(ZIP_NOTHING, ZipExtractToMemory(archive.Get(), 8, &c, 1));
    }
    {   // a damaged second record: the first entry is still readable
        CZipWriter writer = base;
        writer.GetEntry(1).centralSignature = 0x12345678;
        CArchive archive(writer.Build());
        ASSERT_TRUE(archive.Get() != NULL);
        EXPECT_EQ("1", ReadEntry(archive.Get(), L"one.txt").data);
        EXPECT_EQ(ZIP_READ_FAILED, ReadEntry(archive.Get(), L"two.txt").find);
    }
    {   // an absurd name length runs the next record off the end
        CZipWriter writer = base;
        writer.GetEntry(0).centralNameLength = 0xFFFF;
        CArchive archive(writer.Build());
        ASSERT_TRUE(archive.Get() != NULL);
        EXPECT_EQ(ZIP_READ_FAILED, ReadEntry(archive.Get(), L"two.txt").find);
    }
    {   // the first record is damaged: nothing can be walked, the archive does not open
        CZipWriter writer = base;
        writer.GetEntry(0).centralSignature = 0;
        EXPECT_TRUE(CArchive(writer.Build()).Get() == NULL);
    }
    {   // directory offset or size claiming more than there is before the end record
        CZipWriter writer = base;
        writer.GetEndRecord().directoryOffset = 0x7FFFFFFF;
        EXPECT_TRUE(CArchive(writer.Build()).Get() == NULL);
        writer.GetEndRecord().directoryOffset = 0xFFFFFFFF;
        writer.GetEndRecord().directorySize = 0xFFFFFFFF;
        EXPECT_TRUE(CArchive(writer.Build()).Get() == NULL);
    }
    {   // a directory offset that points at the wrong place
        CZipWriter writer = base;
        writer.GetEndRecord().directoryOffset = 3;
        writer.GetEndRecord().directorySize = 10;
        EXPECT_TRUE(CArchive(writer.Build()).Get() == NULL);
    }
}

// Every prefix and many single-byte corruptions of a real archive: each operation returns a code,
// and nothing is written past the caller's buffer.
TEST(ZipReader, DamagedArchivesNeverCrash)
{
    CZipWriter writer;
    writer.Add("a.xml", MakeContent(3000, 8));
    writer.Add("dir/b.png", MakeContent(200, 9), false);
    writer.Add("c.txt", MakeContent(5000, 10)).dataDescriptor = true;
    writer.SetComment("archive comment");
    const std::string bytes = writer.Build();

    auto exercise = [](const std::string& damaged) {
        // A heap copy of exactly the archive's size, so a read past its end is an access violation.
        std::vector<char> exact(damaged.begin(), damaged.end());
        HZIP zip = ZipOpenMemory(exact.empty() ? NULL : exact.data(), (unsigned)exact.size());
        if( zip == NULL ) return;
        for( LPCWSTR name : { L"a.xml", L"DIR\\B.PNG", L"c.txt", L"missing" } ) {
            int index = -1;
            ZipEntryInfo info;
            const ZRESULT find = ZipFindEntry(zip, name, true, &index, &info);
            ASSERT_TRUE(find == ZIP_OK || find == ZIP_NOT_FOUND || find == ZIP_CORRUPT || find == ZIP_READ_FAILED);
            if( find != ZIP_OK ) {
                EXPECT_EQ(-1, index);
                continue;
            }
            const DWORD size = info.uncompressedSize < 10000 ? info.uncompressedSize : 10000;
            std::string buffer(size + 8, '\x77');
            ZRESULT result = ZIP_MORE;
            for( int call = 0; call < 3 && result == ZIP_MORE; ++call )
                result = ZipExtractToMemory(zip, index, &buffer[0], size);
            ASSERT_TRUE(result == ZIP_OK || result == ZIP_MORE || result == ZIP_NOTHING);
            ASSERT_EQ(std::string(8, '\x77'), buffer.substr(size));
        }
        EXPECT_EQ(ZIP_OK, ZipClose(zip));
    };

    for( size_t cut = 0; cut < bytes.size(); ++cut ) exercise(bytes.substr(0, cut));
    for( size_t at = 0; at < bytes.size(); ++at ) {
        for( char value : { '\0', '\xFF', '\x80' } ) {
            std::string damaged = bytes;
            if( damaged[at] == value ) continue;
            damaged[at] = value;
            exercise(damaged);
        }
    }
}
