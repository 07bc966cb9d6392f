// Tests of the markup parser's input handling: encodings, byte-order marks, hostile and damaged text.
#include "veneer/core/UISetup.h"
#include "MarkupTestUtil.h"
#include "support/GuardedBlock.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace Veneer;
using MarkupTest::Dump;
using MarkupTest::ErrorMessage;
using MarkupTest::LoadUtf8;
using MarkupTest::Str;

namespace {

// A skin layout of the kind the framework reads: declaration, comments, nesting, entities, Chinese text.
const char kSkin[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\r\n"
    "<Window size=\"1034,680\" caption=\"0,0,0,36\" roundcorner=\"4,4\" mininfo=\"400,300\">\r\n"
    "  <!-- fonts and defaults -->\r\n"
    "  <Font id=\"0\" name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\" bold=\"false\" default=\"true\" />\r\n"
    "  <Default name=\"Button\" value=\"height=&quot;24&quot; textcolor=&quot;#FF000000&quot;\"/>\r\n"
    "  <VerticalLayout bkimage=\"file='bg.png' corner='2,2,2,2'\" bkcolor=\"#FFFFFFFF\">\r\n"
    "    <HorizontalLayout height=\"36\" padding=\"0,0,0,0\">\r\n"
    "      <Label name=\"title\" text=\"\xE6\xB8\xB8\xE6\x88\x8F &amp; \xE7\x99\xBB\xE5\xBD\x95\" textcolor=\"#FFFFFFFF\"/>\r\n"
    "      <Control />\r\n"
    "      <Button name=\"minbtn\" width=\"26\" normalimage=\"min.png\" hotimage=\"min_hot.png\"/>\r\n"
    "      <Button name=\"closebtn\" width=\"26\" normalimage=\"close.png\" tooltip=\"&lt;close&gt;\"/>\r\n"
    "    </HorizontalLayout>\r\n"
    "    <Text name=\"note\">Line one &amp; two\xE4\xB8\xAD\xE6\x96\x87</Text>\r\n"
    "    <Container><Option group=\"g\" selected=\"true\"/><Option group=\"g\"></Option></Container>\r\n"
    "  </VerticalLayout>\r\n"
    "</Window>\r\n";

const wchar_t* const kMessages[] = {
    L"Expected start tag", L"Error parsing element name", L"Expected start-tag closing",
    L"Expected end-tag start", L"Unmatched closing tag", L"Error while parsing attributes",
    L"Expected attribute value", L"Error while parsing attribute string",
};

bool IsKnownMessage(const std::wstring& message)
{
    for (const wchar_t* known : kMessages) {
        if (message == known) return true;
    }
    return false;
}

typedef std::set<std::wstring> NameSet;
typedef std::set<std::pair<std::wstring, std::wstring> > AttributeSet;

// Checks a parsed tree for consistency: links agree with each other, names are made of name
// characters, attribute maps are bounded. Collects names and attributes met.
void CheckTree(const CMarkupNode& first, const CMarkupNode& parent, NameSet* names, AttributeSet* attributes,
               int* count)
{
    for (CMarkupNode n = first; n.IsValid(); n = n.GetSibling()) {
        ++*count;
        ASSERT_NE(n.GetName(), static_cast<LPCWSTR>(NULL));
        ASSERT_NE(n.GetValue(), static_cast<LPCWSTR>(NULL));
        std::wstring name = n.GetName();
        for (wchar_t ch : name) ASSERT_TRUE(ch == L'_' || ch == L':' || iswalnum(ch)) << name;
        if (parent.IsValid()) {
            ASSERT_EQ(Str(n.GetParent().GetName()), Str(parent.GetName()));
        }
        else {
            ASSERT_FALSE(n.GetParent().IsValid());
        }
        int nAttributes = n.GetAttributeCount();
        ASSERT_GE(nAttributes, 0);
        ASSERT_LE(nAttributes, 64);
        for (int i = 0; i < nAttributes; ++i) {
            ASSERT_NE(n.GetAttributeName(i), static_cast<LPCWSTR>(NULL));
            ASSERT_NE(n.GetAttributeValue(i), static_cast<LPCWSTR>(NULL));
            if (attributes != NULL) attributes->insert(std::make_pair(std::wstring(n.GetAttributeName(i)),
                                                                      std::wstring(n.GetAttributeValue(i))));
        }
        if (names != NULL) names->insert(name);
        CheckTree(n.GetChild(), n, names, attributes, count);
    }
}

// A load either succeeds with a consistent tree or fails with one of the parser's messages.
void CheckOutcome(CMarkup& xml, bool ok, size_t maxElements, NameSet* names, AttributeSet* attributes)
{
    if (ok) {
        ASSERT_TRUE(xml.IsValid());
        int count = 0;
        CheckTree(xml.GetRoot(), CMarkupNode(), names, attributes, &count);
        ASSERT_LE(static_cast<size_t>(count), maxElements);
    }
    else {
        ASSERT_FALSE(xml.IsValid());
        ASSERT_TRUE(IsKnownMessage(ErrorMessage(xml))) << ErrorMessage(xml);
    }
}

std::vector<BYTE> Utf16Bytes(const std::wstring& text, bool bigEndian, bool withMark)
{
    std::vector<BYTE> bytes;
    if (withMark) {
        bytes.push_back(bigEndian ? 0xFE : 0xFF);
        bytes.push_back(bigEndian ? 0xFF : 0xFE);
    }
    for (wchar_t ch : text) {
        BYTE lo = static_cast<BYTE>(ch & 0xFF), hi = static_cast<BYTE>((ch >> 8) & 0xFF);
        bytes.push_back(bigEndian ? hi : lo);
        bytes.push_back(bigEndian ? lo : hi);
    }
    return bytes;
}

std::wstring Widen(const std::string& utf8)
{
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), NULL, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
    return out;
}

// Every element takes one '<' of the text.
size_t TagOpenings(const std::string& text)
{
    size_t n = 0;
    for (char ch : text) n += ch == '<' ? 1 : 0;
    return n;
}

bool LoadBytes(CMarkup& xml, const std::vector<BYTE>& bytes, int encoding)
{
    return xml.LoadFromMem(bytes.empty() ? NULL : &bytes[0], static_cast<DWORD>(bytes.size()), encoding);
}

} // namespace

TEST(MarkupEncoding, Utf8WithAndWithoutMarkGiveTheSameTree)
{
    CMarkup plain, marked;
    ASSERT_TRUE(LoadUtf8(plain, kSkin)) << ErrorMessage(plain);
    ASSERT_TRUE(LoadUtf8(marked, std::string("\xEF\xBB\xBF") + kSkin)) << ErrorMessage(marked);
    std::wstring dump = Dump(plain);
    EXPECT_EQ(Dump(marked), dump);
    EXPECT_NE(dump.find(L"<Label> name=[title] text=[游戏 & 登录]"), std::wstring::npos) << dump;
    EXPECT_NE(dump.find(L"value=[height=\"24\" textcolor=\"#FF000000\"]"), std::wstring::npos) << dump;
    EXPECT_NE(dump.find(L"<Text> name=[note] text=[Line one & two中文]"), std::wstring::npos) << dump;

    // A mark alone is an empty document; two of its three bytes are not a mark.
    CMarkup xml;
    EXPECT_TRUE(LoadUtf8(xml, "\xEF\xBB\xBF"));
    EXPECT_FALSE(xml.GetRoot().IsValid());
    EXPECT_FALSE(LoadUtf8(xml, "\xEF\xBB"));
    EXPECT_EQ(ErrorMessage(xml), L"Expected start tag");
    // A zero byte ends the text.
    EXPECT_TRUE(LoadUtf8(xml, std::string("<a/>\0<<<", 8)));
    EXPECT_EQ(Str(xml.GetRoot().GetName()), L"a");
}

TEST(MarkupEncoding, Utf16TwinsWithMarkParseAlike)
{
    CMarkup utf8;
    ASSERT_TRUE(LoadUtf8(utf8, kSkin));
    std::wstring text = Widen(kSkin);

    std::vector<BYTE> le = Utf16Bytes(text, false, true);
    std::vector<BYTE> be = Utf16Bytes(text, true, true);
    const std::vector<BYTE> beCopy = be;
    CMarkup xmlLe, xmlBe;
    ASSERT_TRUE(LoadBytes(xmlLe, le, XMLFILE_ENCODING_UNICODE)) << ErrorMessage(xmlLe);
    ASSERT_TRUE(LoadBytes(xmlBe, be, XMLFILE_ENCODING_UNICODE)) << ErrorMessage(xmlBe);
    EXPECT_EQ(Dump(xmlLe), Dump(utf8));
    EXPECT_EQ(Dump(xmlBe), Dump(utf8));
    EXPECT_EQ(be, beCopy);   // the caller's bytes are left alone

    // An odd trailing byte is dropped.
    le.push_back('<');
    ASSERT_TRUE(LoadBytes(xmlLe, le, XMLFILE_ENCODING_UNICODE));
    EXPECT_EQ(Dump(xmlLe), Dump(utf8));
}

TEST(MarkupEncoding, Utf16WithoutMarkAndBadArgumentsAreRejected)
{
    CMarkup xml;
    EXPECT_FALSE(LoadBytes(xml, Utf16Bytes(L"<a/>", false, false), XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_FALSE(LoadBytes(xml, Utf16Bytes(L"<a/>", true, false), XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(LoadBytes(xml, std::vector<BYTE>(1, 0xFF), XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(LoadBytes(xml, std::vector<BYTE>(), XMLFILE_ENCODING_UNICODE));
    EXPECT_NE(ErrorMessage(xml), L"");

    // The mark alone is an empty document.
    EXPECT_TRUE(LoadBytes(xml, Utf16Bytes(L"", true, true), XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(xml.GetRoot().IsValid());

    EXPECT_FALSE(LoadBytes(xml, std::vector<BYTE>(4, '<'), 3));
    EXPECT_FALSE(xml.LoadFromMem(NULL, 10, XMLFILE_ENCODING_UTF8));
    EXPECT_TRUE(xml.LoadFromMem(NULL, 0, XMLFILE_ENCODING_UTF8));
    EXPECT_FALSE(xml.GetRoot().IsValid());
}

TEST(MarkupEncoding, AnsiCodePage)
{
    const std::string doc = "<a v=\"x &amp; y\">text</a>";
    CMarkup ansi, utf8;
    ASSERT_TRUE(ansi.LoadFromMem(reinterpret_cast<const BYTE*>(doc.data()), static_cast<DWORD>(doc.size()),
                                 XMLFILE_ENCODING_ANSI));
    ASSERT_TRUE(LoadUtf8(utf8, doc));
    EXPECT_EQ(Dump(ansi), Dump(utf8));
    // No mark handling in the ANSI page: the bytes are text, and not a start tag.
    EXPECT_FALSE(ansi.LoadFromMem(reinterpret_cast<const BYTE*>("\xEF\xBB\xBF<a/>"), 7, XMLFILE_ENCODING_ANSI));
}

TEST(MarkupHostile, DeepNestingParsesWithoutRecursion)
{
    const int depth = 300000;
    std::string doc;
    doc.reserve(depth * 12);
    for (int i = 0; i < depth; ++i) doc += "<a x=\"1\">";
    doc += "deep";
    for (int i = 0; i < depth; ++i) doc += "</a>";
    CMarkup xml;
    ASSERT_TRUE(LoadUtf8(xml, doc)) << ErrorMessage(xml);
    CMarkupNode node = xml.GetRoot();
    int levels = 1;
    while (node.HasChildren()) {
        node = node.GetChild();
        ++levels;
    }
    EXPECT_EQ(levels, depth);
    EXPECT_EQ(Str(node.GetValue()), L"deep");
    EXPECT_EQ(Str(node.GetAttributeValue(L"x")), L"1");
    int up = 0;
    for (CMarkupNode n = node; n.GetParent().IsValid(); n = n.GetParent()) ++up;
    EXPECT_EQ(up, depth - 1);

    // Left open below the root's children, the same depth fails cleanly.
    doc.resize(static_cast<size_t>(depth) * 9);
    EXPECT_FALSE(LoadUtf8(xml, doc));
    EXPECT_EQ(ErrorMessage(xml), L"Expected end-tag start");
    // Closed by the wrong name at the bottom.
    doc += "</b>";
    EXPECT_FALSE(LoadUtf8(xml, doc));
    EXPECT_EQ(ErrorMessage(xml), L"Unmatched closing tag");
}

TEST(MarkupHostile, SkinCutAtEveryPosition)
{
    const std::string doc = kSkin;
    CMarkup full;
    ASSERT_TRUE(LoadUtf8(full, doc));
    NameSet names;
    AttributeSet attributes;
    int count = 0;
    CheckTree(full.GetRoot(), CMarkupNode(), &names, &attributes, &count);
    ASSERT_EQ(count, 13);

    // Every prefix: a consistent tree made only of names and attributes of the whole document,
    // or one of the parser's messages.
    CMarkup xml;
    int successes = 0;
    for (size_t cut = 0; cut <= doc.size(); ++cut) {
        bool ok = LoadUtf8(xml, doc.substr(0, cut));
        NameSet cutNames;
        AttributeSet cutAttributes;
        ASSERT_NO_FATAL_FAILURE(CheckOutcome(xml, ok, 13, &cutNames, &cutAttributes)) << "cut " << cut;
        for (const std::wstring& name : cutNames) ASSERT_TRUE(names.count(name)) << "cut " << cut << " " << name;
        for (const auto& a : cutAttributes) ASSERT_TRUE(attributes.count(a)) << "cut " << cut << " " << a.first;
        if (ok) ++successes;
    }
    // Cuts inside the root's text and its direct children parse; deeper ones do not.
    EXPECT_GT(successes, 0);
    EXPECT_LT(successes, static_cast<int>(doc.size()));

    // The UTF-16 twin cut at every byte.
    std::vector<BYTE> bytes = Utf16Bytes(Widen(doc), false, true);
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        bool ok = xml.LoadFromMem(&bytes[0], static_cast<DWORD>(cut), XMLFILE_ENCODING_UNICODE);
        if (cut < 2) {
            ASSERT_FALSE(ok);
            continue;
        }
        ASSERT_NO_FATAL_FAILURE(CheckOutcome(xml, ok, 13, NULL, NULL)) << "cut " << cut;
    }
}

TEST(MarkupHostile, InputIsNotReadPastItsSize)
{
    // Each prefix ends right before an inaccessible page, in every encoding.
    const std::string doc = kSkin;
    const std::wstring wide = Widen(doc);
    const std::vector<BYTE> utf16[] = { Utf16Bytes(wide, false, true), Utf16Bytes(wide, true, true) };
    const std::string marked = std::string("\xEF\xBB\xBF") + doc;
    CGuardedBlock block(utf16[0].size());
    BYTE* end = static_cast<BYTE*>(block.Get()) + utf16[0].size();
    CMarkup xml;
    for (size_t cut = 0; cut <= marked.size(); ++cut) {
        memcpy(end - cut, marked.data(), cut);
        bool ok = xml.LoadFromMem(end - cut, static_cast<DWORD>(cut), XMLFILE_ENCODING_UTF8);
        ASSERT_NO_FATAL_FAILURE(CheckOutcome(xml, ok, 13, NULL, NULL)) << "cut " << cut;
        ok = xml.LoadFromMem(end - cut, static_cast<DWORD>(cut), XMLFILE_ENCODING_ANSI);
        ASSERT_EQ(ok, xml.IsValid()) << "cut " << cut;
    }
    for (const std::vector<BYTE>& bytes : utf16) {
        for (size_t cut = 0; cut <= bytes.size(); ++cut) {
            if (cut > 0) memcpy(end - cut, &bytes[0], cut);
            bool ok = xml.LoadFromMem(end - cut, static_cast<DWORD>(cut), XMLFILE_ENCODING_UNICODE);
            ASSERT_EQ(ok, xml.IsValid()) << "cut " << cut;
            if (cut < 2) {
                ASSERT_FALSE(ok);
            }
        }
        EXPECT_TRUE(xml.IsValid());
    }
    // The whole skin, read from the last bytes before the guard, still gives the same tree.
    CMarkup reference;
    ASSERT_TRUE(LoadUtf8(reference, doc));
    memcpy(end - marked.size(), marked.data(), marked.size());
    ASSERT_TRUE(xml.LoadFromMem(end - marked.size(), static_cast<DWORD>(marked.size()), XMLFILE_ENCODING_UTF8));
    EXPECT_EQ(Dump(xml), Dump(reference));

    for (size_t cut = 0; cut <= wide.size(); ++cut) {
        const CGuardedText text(wide.substr(0, cut));
        bool ok = xml.Load(text.Get());
        ASSERT_NO_FATAL_FAILURE(CheckOutcome(xml, ok, 13, NULL, NULL)) << "cut " << cut;
    }
}

TEST(MarkupHostile, SkinWithDamagedBytes)
{
    const std::string doc = kSkin;
    const char replacements[] = { '<', '>', '"', '\'', '/', '&', '=', ' ', '!', '?', '-', ';', '\0', '\xFF' };
    CMarkup xml;
    for (size_t pos = 0; pos < doc.size(); ++pos) {
        for (char replacement : replacements) {
            std::string damaged = doc;
            damaged[pos] = replacement;
            bool ok = LoadUtf8(xml, damaged);
            ASSERT_NO_FATAL_FAILURE(CheckOutcome(xml, ok, TagOpenings(damaged), NULL, NULL))
                << "byte " << pos << " -> " << static_cast<int>(replacement);
        }
    }
    // Both whitespace modes walk the same damaged inputs.
    xml.SetPreserveWhitespace(false);
    for (size_t pos = 0; pos < doc.size(); pos += 3) {
        std::string damaged = doc;
        damaged[pos] = '&';
        bool ok = LoadUtf8(xml, damaged);
        ASSERT_NO_FATAL_FAILURE(CheckOutcome(xml, ok, TagOpenings(damaged), NULL, NULL)) << "byte " << pos;
    }
}

TEST(MarkupHostile, ShortAndDegenerateInputs)
{
    // Each ends where a reader could be tempted to look one character further.
    const wchar_t* docs[] = {
        L"<", L"</", L"<a></", L"<a><", L"<a>&", L"<!", L"<!-", L"<!--", L"<!-- -", L"<?", L"<??", L"<?x?",
        L"<a", L"<a ", L"<a x", L"<a x=", L"<a x=\"", L"<a x=\"&", L"<a x=\"1\"/", L"<a/", L"<a>x</a",
        L"<a>x</a ", L"< a/>", L"<a >", L"<>", L"< >", L"<a x=\"1\"y=\"2\"/>", L"<a =\"1\"/>",
        L"<a>\t</a>", L"<a>&lt", L"<a/><", L"<a/></", L"<a><b></b></a></a>", L"<a><b><c/></b>",
    };
    for (const wchar_t* doc : docs) {
        CMarkup xml;
        bool ok = xml.Load(doc);
        ASSERT_NO_FATAL_FAILURE(CheckOutcome(xml, ok, 3, NULL, NULL)) << doc;
    }
    CMarkup xml;
    EXPECT_TRUE(xml.Load(L"<a x=\"1\"y=\"2\"/>"));
    EXPECT_EQ(Str(xml.GetRoot().GetAttributeValue(L"y")), L"2");
    EXPECT_TRUE(xml.Load(L"<a><b><c/></b>"));
    EXPECT_EQ(Str(xml.GetRoot().GetChild().GetChild().GetName()), L"c");
    EXPECT_FALSE(xml.Load(L"<a><b></b></a></a>"));
    EXPECT_EQ(ErrorMessage(xml), L"Unmatched closing tag");
}
