// Tests of the launch trailer: its offset in real and damaged images, reading it from real PE copies, splitting.
#include "veneer/core/UISetup.h"
#include "app/LaunchTrailer.h"
#include "AppTestFiles.h"
#include "support/MessageBoxWatcher.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// ---- offset --------------------------------------------------------------------------------

// End of the raw data of all sections, read from the executable file on disk.
DWORD RawDataEndFromFile(const std::wstring& sPath)
{
    const std::string sFile = ReadWholeFile(sPath);
    if (sFile.size() < sizeof(IMAGE_DOS_HEADER)) return 0;
    const IMAGE_DOS_HEADER* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(sFile.data());
    const IMAGE_NT_HEADERS* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(sFile.data() + pDos->e_lfanew);
    const IMAGE_SECTION_HEADER* pSection = IMAGE_FIRST_SECTION(pNt);
    DWORD nEnd = 0;
    for (WORD i = 0; i < pNt->FileHeader.NumberOfSections; ++i) {
        nEnd = std::max(nEnd, pSection[i].PointerToRawData + pSection[i].SizeOfRawData);
    }
    return nEnd;
}

TEST(LaunchTrailerOffset, IsTheEndOfTheLastSectionOfTheRunningExecutable)
{
    const std::wstring sPath = GetRunningExecutablePath();
    const DWORD nOffset = GetLaunchTrailerOffset();
    EXPECT_NE(0u, nOffset);
    EXPECT_EQ(RawDataEndFromFile(sPath), nOffset);
    EXPECT_LE(nOffset, ReadWholeFile(sPath).size());
    EXPECT_EQ(nOffset, GetLaunchTrailerOffset(::GetModuleHandleW(NULL)));
}

TEST(LaunchTrailerOffset, ReadsAModuleLoadedAsDataFile)
{
    CExecutableCopy file;
    ASSERT_TRUE(file.IsValid());
    HMODULE hData = ::LoadLibraryExW(file.GetPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(hData != NULL);
    EXPECT_EQ(GetLaunchTrailerOffset(), GetLaunchTrailerOffset(hData));
    ::FreeLibrary(hData);
    EXPECT_EQ(0u, GetLaunchTrailerOffset(NULL));
}

// A hand-made image header in one committed page, with nothing mapped behind it.
class CFakeImage
{
public:
    static constexpr DWORD kPage = 4096;
    static constexpr LONG kPeHeader = 0x80;

    // Construction
    explicit CFakeImage(bool bPlus)
    {
        m_pPage = static_cast<BYTE*>(::VirtualAlloc(NULL, kPage, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        Dos().e_magic = IMAGE_DOS_SIGNATURE;
        Dos().e_lfanew = kPeHeader;
        IMAGE_NT_HEADERS32& nt = *reinterpret_cast<IMAGE_NT_HEADERS32*>(m_pPage + kPeHeader);
        nt.Signature = IMAGE_NT_SIGNATURE;
        nt.FileHeader.NumberOfSections = 2;
        if (bPlus) {
            IMAGE_NT_HEADERS64& nt64 = *reinterpret_cast<IMAGE_NT_HEADERS64*>(m_pPage + kPeHeader);
            nt64.FileHeader.SizeOfOptionalHeader = sizeof(IMAGE_OPTIONAL_HEADER64);
            nt64.OptionalHeader.Magic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
            nt64.OptionalHeader.SizeOfImage = 0x3000;
        } else {
            nt.FileHeader.SizeOfOptionalHeader = sizeof(IMAGE_OPTIONAL_HEADER32);
            nt.OptionalHeader.Magic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
            nt.OptionalHeader.SizeOfImage = 0x3000;
        }
        // Garbage where a fixed 248-byte table start would look for the sections.
        memset(m_pPage + kPeHeader + 248, 0x5A, 2 * sizeof(IMAGE_SECTION_HEADER));
        Section(0).PointerToRawData = 0x400;
        Section(0).SizeOfRawData = 0x200;
        Section(1).PointerToRawData = 0x600;
        Section(1).SizeOfRawData = 0x1E00;
    }
    ~CFakeImage() { ::VirtualFree(m_pPage, 0, MEM_RELEASE); }
    CFakeImage(const CFakeImage&) = delete;
    CFakeImage& operator=(const CFakeImage&) = delete;

    // Attributes
    HMODULE Module() const { return reinterpret_cast<HMODULE>(m_pPage); }
    IMAGE_DOS_HEADER& Dos() { return *reinterpret_cast<IMAGE_DOS_HEADER*>(m_pPage); }
    IMAGE_FILE_HEADER& File() { return reinterpret_cast<IMAGE_NT_HEADERS32*>(m_pPage + kPeHeader)->FileHeader; }
    DWORD& SizeOfImage() { return reinterpret_cast<IMAGE_NT_HEADERS32*>(m_pPage + kPeHeader)->OptionalHeader.SizeOfImage; }
    IMAGE_SECTION_HEADER& Section(int i)
    {
        return IMAGE_FIRST_SECTION(reinterpret_cast<IMAGE_NT_HEADERS32*>(m_pPage + kPeHeader))[i];
    }

    // Implementation
private:
    BYTE* m_pPage;
};

TEST(LaunchTrailerOffset, TakesTheSectionTableFromTheOptionalHeaderSize)
{
    CFakeImage pe32(false);
    EXPECT_EQ(0x2400u, GetLaunchTrailerOffset(pe32.Module()));
    CFakeImage pe32Plus(true);
    EXPECT_EQ(0x2400u, GetLaunchTrailerOffset(pe32Plus.Module()));
    // A single section is its own last one.
    pe32Plus.File().NumberOfSections = 1;
    EXPECT_EQ(0x600u, GetLaunchTrailerOffset(pe32Plus.Module()));
}

TEST(LaunchTrailerOffset, DamagedHeadersGiveZero)
{
    {
        CFakeImage image(false);
        image.Dos().e_magic = 0;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
    }
    {
        // Headers behind the end of the mapping, or before its start.
        CFakeImage image(false);
        image.SizeOfImage() = 0x100000;
        image.Dos().e_lfanew = CFakeImage::kPage - 8;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
        image.Dos().e_lfanew = 0x7FFFFFF0;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
        image.Dos().e_lfanew = -16;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
    }
    {
        // A section table running out of the headers' page, then out of the image size.
        CFakeImage image(false);
        image.SizeOfImage() = 0x100000;
        image.File().NumberOfSections = 200;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
        image.File().NumberOfSections = 0xFFFF;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
        image.File().NumberOfSections = 2;
        image.SizeOfImage() = CFakeImage::kPeHeader + 0x100;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
    }
    {
        CFakeImage image(false);
        image.File().SizeOfOptionalHeader = 0xFFFF;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
        image.File().SizeOfOptionalHeader = 8;  // too short to hold the image size
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
    }
    {
        CFakeImage image(false);
        image.File().NumberOfSections = 0;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
    }
    {
        CFakeImage image(false);
        image.Section(1).PointerToRawData = 0xFFFFF000;
        EXPECT_EQ(0u, GetLaunchTrailerOffset(image.Module()));
    }
}

// ---- reading -------------------------------------------------------------------------------

class LaunchTrailerRead : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_nOffset = GetLaunchTrailerOffset();
        ASSERT_NE(0u, m_nOffset);
        ASSERT_TRUE(m_file.IsValid());
    }

    // The text read back from the copy after sTail was written behind its last section.
    std::string ReadBack(const std::string& sTail)
    {
        EXPECT_TRUE(m_file.WriteTail(m_nOffset, sTail));
        std::string sText = "not read";
        EXPECT_TRUE(ReadLaunchTrailer(m_file.GetPath().c_str(), sText));
        return sText;
    }

    DWORD m_nOffset = 0;
    CExecutableCopy m_file;
};

TEST_F(LaunchTrailerRead, ReadsTheBlockUpToItsNul)
{
    const std::string sGame = "http://play.example.test/start?id=17";
    const std::string sService = "http://service.example.test/help";
    std::string sTail = sGame + "|" + sService + " " + std::string(4, '\0') + "SIGNATURE BYTES";
    EXPECT_EQ(sGame + "|" + sService + " ", ReadBack(sTail));

    sTail = std::string("A|B ") + '\0' + "after";
    const std::string sText = ReadBack(sTail);
    EXPECT_EQ("A|B ", sText);
    const std::vector<std::string> aPieces = SplitText(sText, '|');
    ASSERT_EQ(2u, aPieces.size());
    EXPECT_EQ("A", aPieces[0]);
    EXPECT_EQ("B ", aPieces[1]);
}

TEST_F(LaunchTrailerRead, ReadsAtMost256Bytes)
{
    std::string sBlock(256, 'x');
    for (size_t i = 0; i < sBlock.size(); ++i) sBlock[i] = static_cast<char>('a' + i % 26);
    EXPECT_EQ(sBlock, ReadBack(sBlock + "tail behind the limit"));
    EXPECT_EQ(sBlock, ReadBack(sBlock));
    // Without anything behind, the file end stops the text.
    EXPECT_EQ(sBlock.substr(0, 10), ReadBack(sBlock.substr(0, 10)));

    std::string sWithNul = sBlock;
    sWithNul[255] = '\0';
    EXPECT_EQ(sBlock.substr(0, 255), ReadBack(sWithNul + "more"));
    sWithNul[0] = '\0';
    EXPECT_EQ("", ReadBack(sWithNul));
}

TEST_F(LaunchTrailerRead, FileEndingAtItsLastSectionGivesEmptyText)
{
    EXPECT_EQ("", ReadBack(std::string()));
    EXPECT_EQ(m_nOffset, ReadWholeFile(m_file.GetPath()).size());
}

// What the two windows get: piece 0 the game address, piece 1 the customer-service address.
TEST_F(LaunchTrailerRead, PiecesAsTheWindowsTakeThem)
{
    const std::wstring sPath = m_file.GetPath();
    ASSERT_TRUE(m_file.WriteTail(m_nOffset, std::string("http://play.example.test/|http://help.example.test/ ")
                                            + '\0' + "SIG"));
    EXPECT_EQ(L"http://play.example.test/", ReadLaunchTrailerPiece(sPath.c_str(), 0));
    EXPECT_EQ(L"http://help.example.test/ ", ReadLaunchTrailerPiece(sPath.c_str(), 1));
    EXPECT_EQ(L"", ReadLaunchTrailerPiece(sPath.c_str(), 2));

    // "|B": the login web window opens B, the customer-service button has nothing to open.
    ASSERT_TRUE(m_file.WriteTail(m_nOffset, std::string("|B") + '\0'));
    EXPECT_EQ(L"B", ReadLaunchTrailerPiece(sPath.c_str(), 0));
    EXPECT_EQ(L"", ReadLaunchTrailerPiece(sPath.c_str(), 1));

    // Without a "|" (no trailer, or text of another kind) nobody gets anything, and nothing is said.
    for (const std::string& sTail : { std::string("http://play.example.test/"), std::string() }) {
        ASSERT_TRUE(m_file.WriteTail(m_nOffset, sTail));
        CMessageBoxWatcher watcher;
        EXPECT_EQ(L"", ReadLaunchTrailerPiece(sPath.c_str(), 0));
        EXPECT_FALSE(watcher.Seen());
    }
}

TEST(LaunchTrailerReadFailure, UnopenableFileShowsTheMessageAndLeavesTheTextEmpty)
{
    CTempFolder folder;
    const std::wstring sMissing = folder.GetFile(L"missing.exe");
    std::string sText = "stale";
    bool bRead = true;
    std::wstring sCaption, sMessage;
    {
        CMessageBoxWatcher watcher;
        bRead = ReadLaunchTrailer(sMissing.c_str(), sText);
        ASSERT_TRUE(watcher.Seen());
        sCaption = watcher.Caption();
        sMessage = watcher.Text();
    }
    EXPECT_FALSE(bRead);
    EXPECT_EQ("", sText);
    EXPECT_EQ(L"提示", sCaption);
    EXPECT_EQ(L"资源文件不存在，打开错误" + sMissing, sMessage);
}

// A file that exists but is held open without read sharing (an installer rewriting it, say).
TEST(LaunchTrailerReadFailure, FileHeldWithoutSharingShowsTheMessage)
{
    CExecutableCopy file;
    ASSERT_TRUE(file.IsValid());
    ASSERT_TRUE(file.WriteTail(GetLaunchTrailerOffset(), std::string("A|B") + '\0'));
    HANDLE hHeld = ::CreateFileW(file.GetPath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    std::wstring sPiece = L"stale";
    std::wstring sMessage;
    bool bSeen = false;
    {
        CMessageBoxWatcher watcher;
        sPiece = ReadLaunchTrailerPiece(file.GetPath().c_str(), 0);
        bSeen = watcher.Seen();
        sMessage = watcher.Text();
    }
    ::CloseHandle(hHeld);
    EXPECT_TRUE(bSeen);
    EXPECT_EQ(L"资源文件不存在，打开错误" + file.GetPath(), sMessage);
    EXPECT_EQ(L"", sPiece);
    // Released, the same file reads.
    EXPECT_EQ(L"A", ReadLaunchTrailerPiece(file.GetPath().c_str(), 0));
}

// ---- splitting and conversion --------------------------------------------------------------

TEST(LaunchTrailerSplit, DropsEmptyPiecesAndKeepsSpaces)
{
    typedef std::vector<std::string> Pieces;
    EXPECT_EQ(Pieces({"a", "b"}), SplitText("a||b", '|'));
    EXPECT_EQ(Pieces({"b"}), SplitText("|b", '|'));
    EXPECT_EQ(Pieces(), SplitText("|", '|'));
    EXPECT_EQ(Pieces(), SplitText("", '|'));
    EXPECT_EQ(Pieces({"a", "b"}), SplitText("||a|b||", '|'));
    EXPECT_EQ(Pieces({" a ", " "}), SplitText(" a | ", '|'));
    EXPECT_EQ(Pieces({"no separator"}), SplitText("no separator", '|'));
    EXPECT_EQ(Pieces({"a|b", "c"}), SplitText("a|b;c", ';'));
}

TEST(LaunchTrailerSplit, PieceToWide)
{
    EXPECT_EQ(L"http://play.example.test/?a=1&b=2", TrailerPieceToWide("http://play.example.test/?a=1&b=2"));
    EXPECT_EQ(L"", TrailerPieceToWide(""));
    // Whatever the bytes, the result fits the measured length: never longer than the piece.
    std::string sBytes;
    for (int i = 1; i < 256; ++i) sBytes += static_cast<char>(i);
    for (size_t nStart = 0; nStart < sBytes.size(); nStart += 7) {
        for (size_t nLength = 1; nLength <= 9 && nStart + nLength <= sBytes.size(); ++nLength) {
            const std::string sPiece = sBytes.substr(nStart, nLength);
            EXPECT_LE(TrailerPieceToWide(sPiece).size(), sPiece.size()) << nStart << "," << nLength;
        }
    }
}

}  // namespace
