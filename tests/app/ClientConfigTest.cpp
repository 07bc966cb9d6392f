// Tests of the configuration record loaded from XML resources stored in real modules.
#include "veneer/core/UISetup.h"
#include "app/ClientConfig.h"
#include "veneer/window/UIManager.h"
#include "AppTestFiles.h"

#include <gtest/gtest.h>

#include <string>

using Veneer::CPaintManagerUI;

namespace {

const char kShippedDocument[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<microClient>\r\n"
    "\t<loginFrameSize value=\"1034,680\"/>\r\n"
    "\t<loginWebRect value=\"298,159,968,559\"/>\r\n"
    "\t<miniRect value=\"914,110,950,147\"/>\r\n"
    "\t<closeRect value=\"956,108,1004,156\"/>\r\n"
    "\t<loginURL value=\"http://login.example.test/pc/index?from=client&amp;v=2\"/>\r\n"
    "\t<playGamekeyWord value=\"client=pc\"/>\r\n"
    "\t<clientName value=\"Orvane\"/>\r\n"
    "</microClient>\r\n";

// A copy of the test executable carrying one configuration resource, opened as a data file and made
// the resource module for as long as it lives.
class CConfigModule
{
public:
    // Construction
    CConfigModule() : m_hModule(NULL), m_hPrevious(CPaintManagerUI::GetResourceDll()) {}
    ~CConfigModule()
    {
        CPaintManagerUI::SetResourceDll(m_hPrevious);
        if (m_hModule != NULL) ::FreeLibrary(m_hModule);
    }
    CConfigModule(const CConfigModule&) = delete;
    CConfigModule& operator=(const CConfigModule&) = delete;

    // Operations
    // Stores sDocument as the "XML" resource 104, or no resource at all when bStore is false.
    bool Open(const std::string& sDocument, bool bStore = true)
    {
        if (!m_file.IsValid()) return false;
        if (bStore) {
            HANDLE hUpdate = ::BeginUpdateResourceW(m_file.GetPath().c_str(), FALSE);
            if (hUpdate == NULL) return false;
            const BOOL bAdded = ::UpdateResourceW(hUpdate, L"XML", MAKEINTRESOURCEW(kClientConfigResourceId),
                                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                                  const_cast<char*>(sDocument.data()),
                                                  static_cast<DWORD>(sDocument.size()));
            if (!::EndUpdateResourceW(hUpdate, !bAdded) || !bAdded) return false;
        }
        m_hModule = ::LoadLibraryExW(m_file.GetPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        if (m_hModule == NULL) return false;
        CPaintManagerUI::SetResourceDll(m_hModule);
        return true;
    }

    // Implementation
private:
    CExecutableCopy m_file;
    HMODULE m_hModule;
    HINSTANCE m_hPrevious;
};

// Loads a fresh record from a module holding sDocument; bLoaded receives LoadClientConfig's result.
CMicroClientConfig LoadDocument(const std::string& sDocument, bool* pbLoaded = NULL)
{
    CMicroClientConfig config;
    CConfigModule module;
    EXPECT_TRUE(module.Open(sDocument));
    const bool bLoaded = LoadClientConfig(config);
    if (pbLoaded != NULL) *pbLoaded = bLoaded;
    return config;
}

std::string Document(const std::string& sChildren)
{
    return "<microClient>" + sChildren + "</microClient>";
}

std::string SizeDocument(const std::string& sValue)
{
    return Document("<loginFrameSize value=\"" + sValue + "\"/>");
}

void ExpectRect(const RECT& rc, LONG left, LONG top, LONG right, LONG bottom)
{
    EXPECT_EQ(left, rc.left);
    EXPECT_EQ(top, rc.top);
    EXPECT_EQ(right, rc.right);
    EXPECT_EQ(bottom, rc.bottom);
}

void ExpectEmpty(const CMicroClientConfig& config)
{
    EXPECT_TRUE(config.m_sLoginURL.IsEmpty());
    EXPECT_TRUE(config.m_sPlayGameKeyWord.IsEmpty());
    EXPECT_TRUE(config.m_sClientName.IsEmpty());
    ExpectRect(config.m_rcClose, 0, 0, 0, 0);
    ExpectRect(config.m_rcMini, 0, 0, 0, 0);
    ExpectRect(config.m_rcLoginWeb, 0, 0, 0, 0);
    EXPECT_EQ(0, config.m_szLoginFrame.cx);
    EXPECT_EQ(0, config.m_szLoginFrame.cy);
}

void ExpectShipped(const CMicroClientConfig& config)
{
    EXPECT_EQ(1034, config.m_szLoginFrame.cx);
    EXPECT_EQ(680, config.m_szLoginFrame.cy);
    ExpectRect(config.m_rcLoginWeb, 298, 159, 968, 559);
    ExpectRect(config.m_rcMini, 914, 110, 950, 147);
    ExpectRect(config.m_rcClose, 956, 108, 1004, 156);
    EXPECT_STREQ(L"http://login.example.test/pc/index?from=client&v=2", config.m_sLoginURL.GetData());
    EXPECT_STREQ(L"client=pc", config.m_sPlayGameKeyWord.GetData());
    EXPECT_STREQ(L"Orvane", config.m_sClientName.GetData());
    // Without a browserMode entry the browser gets its newest document mode.
    EXPECT_EQ(11001u, config.m_dwBrowserMode);
}

TEST(ClientConfig, ReadsTheShippedDocument)
{
    bool bLoaded = false;
    ExpectShipped(LoadDocument(kShippedDocument, &bLoaded));
    EXPECT_TRUE(bLoaded);
    // A byte-order mark in front changes nothing.
    ExpectShipped(LoadDocument(std::string("\xEF\xBB\xBF") + kShippedDocument));
}

TEST(ClientConfig, TheProcessRecordIsFilledByTheNoArgumentLoad)
{
    CMicroClientConfig& config = GetClientConfig();
    EXPECT_EQ(&config, &GetClientConfig());
    CConfigModule module;
    ASSERT_TRUE(module.Open(kShippedDocument));
    LoadClientConfig();
    ExpectShipped(config);
}

TEST(ClientConfig, NumbersFollowTheOneSeparatorRule)
{
    struct Case
    {
        const char* pstrValue;
        LONG cx;
        LONG cy;
    } aCases[] = {
        {"1034,680", 1034, 680},
        {" 1034, 680", 1034, 680},
        {"1034;680", 1034, 680},
        {"1034 ,680", 1034, 0},  // the space is the separator; the comma stops the second number
        {"1034", 1034, 0},
        {"1034,", 1034, 0},
        {"", 0, 0},
        {"-5,+7", -5, 7},
        {"12px,34px", 12, 0},
        {"x,9", 0, 0},
    };
    for (const Case& c : aCases) {
        const CMicroClientConfig config = LoadDocument(SizeDocument(c.pstrValue));
        EXPECT_EQ(c.cx, config.m_szLoginFrame.cx) << c.pstrValue;
        EXPECT_EQ(c.cy, config.m_szLoginFrame.cy) << c.pstrValue;
    }

    // Reading stops at the value's end even when digits follow it in the parsed document.
    CMicroClientConfig config = LoadDocument(Document("<loginFrameSize value=\"1034\" 9=\"5\"/>"));
    EXPECT_EQ(1034, config.m_szLoginFrame.cx);
    EXPECT_EQ(0, config.m_szLoginFrame.cy);

    // Short rectangles: the missing numbers are 0.
    config = LoadDocument(Document("<closeRect value=\"1,2\"/><miniRect value=\"7\"/>"
                                   "<loginWebRect value=\"1,2,3,4,5\"/>"));
    ExpectRect(config.m_rcClose, 1, 2, 0, 0);
    ExpectRect(config.m_rcMini, 7, 0, 0, 0);
    ExpectRect(config.m_rcLoginWeb, 1, 2, 3, 4);
}

TEST(ClientConfig, BrowserModeTakesAKnownModeOrNoneAndIgnoresAnythingElse)
{
    struct Case
    {
        const char* pstrValue;
        DWORD dwMode;
    } aCases[] = {
        {"11001", 11001}, {"8000", 8000}, {" 9999\t", 9999}, {"7000", 7000}, {"10001", 10001},
        {"none", 0}, {"NONE", 0}, {" None ", 0}, {"0", 0}, {"00000", 0},
        // Not a mode the browser knows: the default stays.
        {"", 11001}, {"abc", 11001}, {"-1", 11001}, {"+9000", 11001}, {"11001x", 11001}, {"12345", 11001},
        {"110010", 11001}, {"4294978297", 11001}, {"no ne", 11001}, {"9000 8000", 11001}, {"9000,", 11001},
    };
    for (const Case& c : aCases) {
        const CMicroClientConfig config =
            LoadDocument(Document(std::string("<browserMode value=\"") + c.pstrValue + "\"/>"));
        EXPECT_EQ(c.dwMode, config.m_dwBrowserMode) << "\"" << c.pstrValue << "\"";
    }
    // A later valid entry wins; a later unknown one leaves the earlier choice.
    EXPECT_EQ(9000u, LoadDocument(Document("<browserMode value=\"none\"/><browserMode value=\"9000\"/>")).m_dwBrowserMode);
    EXPECT_EQ(0u, LoadDocument(Document("<browserMode value=\"none\"/><browserMode value=\"9001\"/>")).m_dwBrowserMode);
}

TEST(ClientConfig, OnlyAFirstAttributeNamedValueCounts)
{
    CMicroClientConfig config = LoadDocument(Document(
        "<loginFrameSize name=\"size\" value=\"1034,680\"/>"
        "<closeRect Value=\"1,2,3,4\"/>"
        "<miniRect value=\"5,6,7,8\" other=\"1,1,1,1\"/>"
        "<clientName values=\"Wrong\"/>"
        "<playGamekeyWord/>"
        "<loginURL value=\"http://first.example.test\">text<x value=\"1\"/></loginURL>"));
    EXPECT_EQ(0, config.m_szLoginFrame.cx);
    ExpectRect(config.m_rcClose, 0, 0, 0, 0);
    ExpectRect(config.m_rcMini, 5, 6, 7, 8);
    EXPECT_TRUE(config.m_sClientName.IsEmpty());
    EXPECT_TRUE(config.m_sPlayGameKeyWord.IsEmpty());
    EXPECT_STREQ(L"http://first.example.test", config.m_sLoginURL.GetData());
}

TEST(ClientConfig, KeysCompareExactlyAndTheLaterOneWins)
{
    CMicroClientConfig config = LoadDocument(Document(
        "<LoginURL value=\"http://other-case.example.test\"/>"
        "<clientname value=\"lower\"/>"
        "<clientName value=\"First\"/>"
        "<clientName value=\"\xE5\xA5\xA5\xE5\x87\xA1 Two\"/>"
        "<loginFrameSize value=\"1,2\"/>"
        "<loginFrameSize value=\"3\"/>"
        "<unknown value=\"9,9\"/>"
        "<group><clientName value=\"nested\"/></group>"));
    EXPECT_TRUE(config.m_sLoginURL.IsEmpty());
    EXPECT_STREQ(L"\u5965\u51E1 Two", config.m_sClientName.GetData());
    EXPECT_EQ(3, config.m_szLoginFrame.cx);
    EXPECT_EQ(0, config.m_szLoginFrame.cy);
}

TEST(ClientConfig, MissingOrBrokenDocumentsLeaveTheRecordEmpty)
{
    bool bLoaded = true;
    {
        // No resource at all.
        CMicroClientConfig config;
        CConfigModule module;
        ASSERT_TRUE(module.Open(std::string(), false));
        EXPECT_FALSE(LoadClientConfig(config));
        ExpectEmpty(config);
    }
    // Well-formed settings in front of the damage are not taken either.
    ExpectEmpty(LoadDocument(Document("<clientName value=\"Orvane\"/><closeRect value='1,2,3,4'/>"), &bLoaded));
    EXPECT_FALSE(bLoaded);
    ExpectEmpty(LoadDocument("<microClient><clientName value=\"Orvane\"/></other>", &bLoaded));
    EXPECT_FALSE(bLoaded);
    ExpectEmpty(LoadDocument("just text", &bLoaded));
    EXPECT_FALSE(bLoaded);
    // Well-formed but without a root element.
    ExpectEmpty(LoadDocument("<!-- nothing here -->", &bLoaded));
    EXPECT_FALSE(bLoaded);
}

TEST(ClientConfig, TheRootNameIsNotChecked)
{
    CMicroClientConfig config = LoadDocument("<settings><clientName value=\"Orvane\"/></settings>");
    EXPECT_STREQ(L"Orvane", config.m_sClientName.GetData());
}

}  // namespace
