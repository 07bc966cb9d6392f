// Tests of loading markup from skin files: loose files under the resource folder and archive entries.
#include "veneer/core/UISetup.h"
#include "MarkupTestUtil.h"
#include "support/ResourceScope.h"
#include "support/TempFolder.h"
#include "support/ZipWriter.h"

#include "veneer/window/UIManager.h"

#include <gtest/gtest.h>

#include <string>

using namespace Veneer;
using MarkupTest::ErrorMessage;
using MarkupTest::Str;

namespace {

const DWORD kLimit = 4 * 1024 * 1024;

const char kLogin[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<Window size=\"1034,680\">\r\n"
    "  <VerticalLayout><Button name=\"closebtn\" text=\"\xE5\x85\xB3\xE9\x97\xAD\"/></VerticalLayout>\r\n"
    "</Window>\r\n";

// A document of exactly `size` bytes: one element whose text fills the rest.
std::string DocumentOfSize(size_t size)
{
    std::string doc = "<big>";
    doc.append(size - doc.size() - 6, 'x');
    doc += "</big>";
    return doc;
}

class MarkupFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.IsValid());
        CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    }

    void ExpectLogin(CMarkup& xml, LPCWSTR name, int encoding = XMLFILE_ENCODING_UTF8)
    {
        ASSERT_TRUE(xml.LoadFromFile(name, encoding)) << name << ": " << ErrorMessage(xml);
        EXPECT_EQ(Str(xml.GetRoot().GetName()), L"Window");
        EXPECT_EQ(Str(xml.GetRoot().GetChild().GetChild().GetAttributeValue(L"text")), L"关闭");
    }

    void ExpectFailure(CMarkup& xml, LPCWSTR name, LPCWSTR message)
    {
        EXPECT_FALSE(xml.LoadFromFile(name)) << name;
        EXPECT_FALSE(xml.IsValid()) << name;
        EXPECT_EQ(ErrorMessage(xml), message) << name;
    }

    CResourceScope m_scope;
    CTempFolder m_folder;
};

} // namespace

TEST_F(MarkupFile, LooseFilesUnderTheResourceFolder)
{
    ASSERT_TRUE(m_folder.WriteFile(L"login.xml", kLogin));
    ASSERT_TRUE(m_folder.WriteFile(L"skin\\marked.xml", std::string("\xEF\xBB\xBF") + kLogin));
    ASSERT_TRUE(m_folder.WriteFile(L"empty.xml", ""));
    ASSERT_TRUE(m_folder.WriteFile(L"broken.xml", "<Window><Button></Window>"));
    std::wstring wide = L"\xFEFF<Window size=\"1\"><VerticalLayout><Button text=\"关闭\"/></VerticalLayout></Window>";
    ASSERT_TRUE(m_folder.WriteFile(L"wide.xml", std::string(reinterpret_cast<const char*>(wide.data()),
                                                            wide.size() * sizeof(wchar_t))));

    CMarkup xml;
    ExpectLogin(xml, L"login.xml");
    ExpectLogin(xml, L"skin\\marked.xml");
    ExpectLogin(xml, L"wide.xml", XMLFILE_ENCODING_UNICODE);
    ExpectFailure(xml, L"missing.xml", L"Error opening file");
    ExpectFailure(xml, L"empty.xml", L"File is empty");
    ExpectFailure(xml, L"broken.xml", L"Unmatched closing tag");
    ExpectFailure(xml, NULL, L"Error opening file");

    // The name is taken relative to the resource folder only.
    CPaintManagerUI::SetResourcePath(m_folder.GetFile(L"skin").c_str());
    ExpectLogin(xml, L"marked.xml");
    ExpectFailure(xml, L"login.xml", L"Error opening file");
}

TEST_F(MarkupFile, LooseFileSizeLimit)
{
    ASSERT_TRUE(m_folder.WriteFile(L"limit.xml", DocumentOfSize(kLimit)));
    ASSERT_TRUE(m_folder.WriteFile(L"over.xml", DocumentOfSize(kLimit + 1)));
    CMarkup xml;
    ASSERT_TRUE(xml.LoadFromFile(L"limit.xml")) << ErrorMessage(xml);
    EXPECT_EQ(::wcslen(xml.GetRoot().GetValue()), kLimit - 11);
    ExpectFailure(xml, L"over.xml", L"File too large");
}

TEST_F(MarkupFile, ArchiveEntries)
{
    CZipWriter zip;
    zip.Add("login.xml", kLogin);
    zip.Add("img/Layout.xml", kLogin, false);
    zip.Add("empty.xml", "");
    zip.Add("limit.xml", DocumentOfSize(kLimit));
    zip.Add("over.xml", DocumentOfSize(kLimit + 1));
    ASSERT_TRUE(zip.WriteFile(m_folder.GetFile(L"skin.zip").c_str()));
    // A loose file of the same name is not read while an archive is set.
    ASSERT_TRUE(m_folder.WriteFile(L"loose.xml", kLogin));

    const bool cachedModes[] = { true, false };
    for (bool cached : cachedModes) {
        SCOPED_TRACE(cached ? "cached archive" : "archive opened per read");
        CPaintManagerUI::SetResourceZip(L"skin.zip", cached);
        CMarkup xml;
        ExpectLogin(xml, L"login.xml");
        ExpectLogin(xml, L"LOGIN.XML");
        ExpectLogin(xml, L"img\\layout.xml");
        ASSERT_TRUE(xml.LoadFromFile(L"limit.xml")) << ErrorMessage(xml);
        EXPECT_EQ(::wcslen(xml.GetRoot().GetValue()), kLimit - 11);
        ExpectFailure(xml, L"over.xml", L"File too large");
        ExpectFailure(xml, L"empty.xml", L"File is empty");
        ExpectFailure(xml, L"missing.xml", L"Could not find ziped file");
        ExpectFailure(xml, L"loose.xml", L"Could not find ziped file");
        // Reading again after failures still works (the archive is not left in a bad state).
        ExpectLogin(xml, L"login.xml");
        CResourceScope::ClearArchive();
    }
}

TEST_F(MarkupFile, MissingOrDamagedArchive)
{
    CMarkup xml;
    CPaintManagerUI::SetResourceZip(L"nothere.zip", false);
    ExpectFailure(xml, L"login.xml", L"Error opening zip file");
    CResourceScope::ClearArchive();
    CPaintManagerUI::SetResourceZip(L"nothere.zip", true);
    ExpectFailure(xml, L"login.xml", L"Error opening zip file");
    CResourceScope::ClearArchive();

    ASSERT_TRUE(m_folder.WriteFile(L"junk.zip", "this is not an archive at all"));
    CPaintManagerUI::SetResourceZip(L"junk.zip", false);
    ExpectFailure(xml, L"login.xml", L"Error opening zip file");
    CResourceScope::ClearArchive();

    // Entry data cut short inside the archive: the directory's sizes run past its end, so the reader
    // refuses the entry when it is looked up.
    CZipWriter zip;
    CZipWriter::Entry& entry = zip.Add("login.xml", kLogin, false);
    entry.payload = std::string(kLogin).substr(0, 20);
    entry.centralCompressedSize = static_cast<DWORD>(sizeof(kLogin) - 1);
    entry.centralUncompressedSize = static_cast<DWORD>(sizeof(kLogin) - 1);
    entry.dataDescriptor = true;
    ASSERT_TRUE(zip.WriteFile(m_folder.GetFile(L"cut.zip").c_str()));
    CPaintManagerUI::SetResourceZip(L"cut.zip", false);
    EXPECT_FALSE(xml.LoadFromFile(L"login.xml"));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_EQ(ErrorMessage(xml), L"Could not find ziped file");
    CResourceScope::ClearArchive();

    // Entry data that do not inflate to the entry's bytes are found, then fail to unzip.
    CZipWriter garbled;
    garbled.Add("login.xml", kLogin).payload = std::string(40, '\xFF');
    ASSERT_TRUE(garbled.WriteFile(m_folder.GetFile(L"garbled.zip").c_str()));
    CPaintManagerUI::SetResourceZip(L"garbled.zip", false);
    EXPECT_FALSE(xml.LoadFromFile(L"login.xml"));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_EQ(ErrorMessage(xml), L"Could not unzip file");
    CResourceScope::ClearArchive();
}

TEST_F(MarkupFile, MemoryArchive)
{
    CZipWriter zip;
    zip.Add("login.xml", kLogin);
    const std::string bytes = zip.Build();
    CPaintManagerUI::SetResourceZip(const_cast<char*>(bytes.data()), static_cast<unsigned int>(bytes.size()));
    CMarkup xml;
    ExpectLogin(xml, L"Login.xml");
    ExpectFailure(xml, L"other.xml", L"Could not find ziped file");
    CResourceScope::ClearArchive();

    // A memory block that is no archive, and one cut inside its central directory.
    std::string junk(200, 'j');
    CPaintManagerUI::SetResourceZip(&junk[0], static_cast<unsigned int>(junk.size()));
    ExpectFailure(xml, L"login.xml", L"Error opening zip file");
    CResourceScope::ClearArchive();
    std::string cut = bytes.substr(0, bytes.size() - 10);
    CPaintManagerUI::SetResourceZip(&cut[0], static_cast<unsigned int>(cut.size()));
    ExpectFailure(xml, L"login.xml", L"Error opening zip file");
    CResourceScope::ClearArchive();
}
