// Tests of the markup parser: trees, attributes, text, entities, whitespace and error reporting.
#include "veneer/core/UISetup.h"
#include "MarkupTestUtil.h"

#include <gtest/gtest.h>

#include <string>

using namespace Veneer;
using MarkupTest::ErrorLocation;
using MarkupTest::ErrorMessage;
using MarkupTest::LoadUtf8;
using MarkupTest::Str;

TEST(MarkupTree, NavigatesElementsInDocumentOrder)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                         L"<Window size=\"300,200\">\r\n"
                         L"  <!-- the body -->\r\n"
                         L"  <VerticalLayout>\r\n"
                         L"    <Label text=\"one\"/>\r\n"
                         L"    <Button name=\"ok\" />\r\n"
                         L"  </VerticalLayout>\r\n"
                         L"  <Font id=\"0\">body</Font >\r\n"
                         L"</Window>\r\n"));
    EXPECT_TRUE(xml.IsValid());

    CMarkupNode root = xml.GetRoot();
    ASSERT_TRUE(root.IsValid());
    EXPECT_EQ(Str(root.GetName()), L"Window");
    EXPECT_FALSE(root.GetParent().IsValid());
    EXPECT_FALSE(root.HasSiblings());
    EXPECT_TRUE(root.HasChildren());

    CMarkupNode layout = root.GetChild();
    EXPECT_EQ(Str(layout.GetName()), L"VerticalLayout");
    EXPECT_EQ(Str(layout.GetParent().GetName()), L"Window");
    EXPECT_TRUE(layout.HasSiblings());

    CMarkupNode label = layout.GetChild();
    EXPECT_EQ(Str(label.GetName()), L"Label");
    EXPECT_EQ(Str(label.GetValue()), L"");
    CMarkupNode button = label.GetSibling();
    EXPECT_EQ(Str(button.GetName()), L"Button");
    EXPECT_EQ(Str(button.GetAttributeValue(L"name")), L"ok");
    EXPECT_FALSE(button.GetSibling().IsValid());
    EXPECT_FALSE(button.GetChild().IsValid());
    EXPECT_FALSE(button.HasChildren());
    EXPECT_EQ(Str(button.GetParent().GetName()), L"VerticalLayout");

    CMarkupNode font = layout.GetSibling();
    EXPECT_EQ(Str(font.GetName()), L"Font");
    EXPECT_EQ(Str(font.GetValue()), L"body");
    EXPECT_FALSE(font.HasSiblings());

    EXPECT_EQ(Str(root.GetChild(L"Font").GetAttributeValue(L"id")), L"0");
    EXPECT_FALSE(root.GetChild(L"font").IsValid());
    EXPECT_FALSE(root.GetChild(L"Label").IsValid());
    EXPECT_FALSE(root.GetChild(static_cast<LPCWSTR>(NULL)).IsValid());
}

TEST(MarkupTree, InvalidNodesAnswerNull)
{
    CMarkupNode node;
    EXPECT_FALSE(node.IsValid());
    EXPECT_EQ(node.GetName(), static_cast<LPCWSTR>(NULL));
    EXPECT_EQ(node.GetValue(), static_cast<LPCWSTR>(NULL));
    EXPECT_EQ(node.GetAttributeName(0), static_cast<LPCWSTR>(NULL));
    EXPECT_EQ(node.GetAttributeValue(0), static_cast<LPCWSTR>(NULL));
    EXPECT_EQ(node.GetAttributeValue(L"a"), static_cast<LPCWSTR>(NULL));
    EXPECT_EQ(node.GetAttributeCount(), 0);
    EXPECT_FALSE(node.HasAttribute(L"a"));
    WCHAR sz[4] = L"xyz";
    EXPECT_FALSE(node.GetAttributeValue(L"a", sz, lengthof(sz)));
    EXPECT_FALSE(node.GetAttributeValue(0, sz, lengthof(sz)));
    EXPECT_EQ(std::wstring(sz), L"xyz");
    EXPECT_FALSE(node.GetChild().IsValid());
    EXPECT_FALSE(node.GetParent().IsValid());

    // Nodes of a released markup must not read the freed table.
    CMarkup xml(L"<a x=\"1\"><b/></a>");
    CMarkupNode child = xml.GetRoot().GetChild();
    ASSERT_EQ(Str(child.GetName()), L"b");
    xml.Release();
    EXPECT_FALSE(xml.IsValid());
    EXPECT_FALSE(xml.GetRoot().IsValid());
    EXPECT_EQ(child.GetName(), static_cast<LPCWSTR>(NULL));
    EXPECT_FALSE(child.GetParent().IsValid());

    // Nor may they read offsets into the next document.
    ASSERT_TRUE(xml.Load(L"<long name=\"0123456789\" more=\"0123456789\"><b/><c/></long>"));
    CMarkupNode root = xml.GetRoot();
    CMarkupNode c = root.GetChild().GetSibling();
    EXPECT_EQ(root.GetAttributeCount(), 2);
    ASSERT_TRUE(xml.Load(L"<s/>"));
    EXPECT_EQ(root.GetAttributeValue(1), static_cast<LPCWSTR>(NULL));
    EXPECT_EQ(root.GetAttributeCount(), 0);
    EXPECT_EQ(c.GetName(), static_cast<LPCWSTR>(NULL));
    EXPECT_EQ(Str(xml.GetRoot().GetName()), L"s");
}

TEST(MarkupTree, LoadsTextTakenFromItsOwnDocument)
{
    // A document kept in an attribute of the document being replaced.
    CMarkup xml(L"<a inner=\"&lt;b x=&quot;1&quot;&gt;&lt;c/&gt;&lt;/b&gt;\"/>");
    ASSERT_TRUE(xml.Load(xml.GetRoot().GetAttributeValue(L"inner"))) << ErrorMessage(xml);
    CMarkupNode b = xml.GetRoot();
    EXPECT_EQ(Str(b.GetName()), L"b");
    EXPECT_EQ(Str(b.GetAttributeValue(L"x")), L"1");
    EXPECT_EQ(Str(b.GetChild().GetName()), L"c");
    // The name alone is text where a tag was due; the error quotes it.
    EXPECT_FALSE(xml.Load(xml.GetRoot().GetName()));
    EXPECT_EQ(ErrorMessage(xml), L"Expected start tag");
    EXPECT_EQ(ErrorLocation(xml), L"b");
}

TEST(MarkupTree, SeveralTopLevelElementsAreSiblings)
{
    CMarkup xml(L"<a/> <b>t</b>");
    ASSERT_TRUE(xml.IsValid());
    CMarkupNode a = xml.GetRoot();
    EXPECT_EQ(Str(a.GetName()), L"a");
    EXPECT_EQ(Str(a.GetSibling().GetName()), L"b");
    EXPECT_EQ(Str(a.GetSibling().GetValue()), L"t");
    EXPECT_FALSE(a.GetSibling().GetParent().IsValid());
}

TEST(MarkupTree, SelfClosingElements)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<a><b/><c /><d x=\"1\"/><e x=\"2\" /></a>")) << ErrorMessage(xml);
    CMarkupNode node = xml.GetRoot().GetChild();
    const wchar_t* names[] = { L"b", L"c", L"d", L"e" };
    for (const wchar_t* name : names) {
        ASSERT_TRUE(node.IsValid());
        EXPECT_EQ(Str(node.GetName()), name);
        EXPECT_EQ(Str(node.GetValue()), L"");
        EXPECT_FALSE(node.HasChildren());
        node = node.GetSibling();
    }
    EXPECT_FALSE(node.IsValid());
    EXPECT_EQ(Str(xml.GetRoot().GetChild(L"d").GetAttributeValue(L"x")), L"1");
    EXPECT_EQ(xml.GetRoot().GetChild(L"c").GetAttributeCount(), 0);
    EXPECT_EQ(Str(xml.GetRoot().GetChild(L"e").GetAttributeValue(L"x")), L"2");
}

TEST(MarkupTree, TextAfterAChildIsNotKept)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<a><b/>tail</a>")) << ErrorMessage(xml);
    CMarkupNode a = xml.GetRoot();
    EXPECT_EQ(Str(a.GetValue()), L"");
    EXPECT_EQ(Str(a.GetChild().GetName()), L"b");
    EXPECT_EQ(Str(a.GetChild().GetValue()), L"");
    EXPECT_FALSE(a.GetChild().HasSiblings());

    // Text before the first child is kept; text between and after children is dropped.
    ASSERT_TRUE(xml.Load(L"<a>head<b>in b</b>middle<c/>end</a>"));
    a = xml.GetRoot();
    EXPECT_EQ(Str(a.GetValue()), L"head");
    EXPECT_EQ(Str(a.GetChild().GetValue()), L"in b");
    EXPECT_EQ(Str(a.GetChild().GetSibling().GetName()), L"c");

    // Text stays where it belongs when it is compacted.
    xml.SetPreserveWhitespace(false);
    ASSERT_TRUE(xml.Load(L"<a>x  &amp;  y<b>z</b></a>"));
    EXPECT_EQ(Str(xml.GetRoot().GetValue()), L"x & y");
    EXPECT_EQ(Str(xml.GetRoot().GetChild().GetName()), L"b");
    EXPECT_EQ(Str(xml.GetRoot().GetChild().GetValue()), L"z");
}

TEST(MarkupTree, UnclosedRootAndDirectChildrenParse)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<root>")) << ErrorMessage(xml);
    EXPECT_EQ(Str(xml.GetRoot().GetName()), L"root");
    EXPECT_EQ(Str(xml.GetRoot().GetValue()), L"");

    ASSERT_TRUE(xml.Load(L"<root a=\"1\"><child>some &amp; text")) << ErrorMessage(xml);
    CMarkupNode root = xml.GetRoot();
    EXPECT_EQ(Str(root.GetName()), L"root");
    EXPECT_EQ(Str(root.GetAttributeValue(L"a")), L"1");
    EXPECT_EQ(root.GetAttributeCount(), 1);
    EXPECT_EQ(Str(root.GetChild().GetName()), L"child");
    EXPECT_EQ(Str(root.GetChild().GetValue()), L"some & text");

    ASSERT_TRUE(xml.Load(L"<root><child/>  "));
    EXPECT_EQ(Str(xml.GetRoot().GetChild().GetName()), L"child");

    // A grandchild level left open is an error.
    EXPECT_FALSE(xml.Load(L"<root><child><grand>text"));
    EXPECT_EQ(ErrorMessage(xml), L"Expected end-tag start");
    EXPECT_FALSE(xml.Load(L"<root><child><grand/>"));
    EXPECT_EQ(ErrorMessage(xml), L"Expected start tag");
    EXPECT_FALSE(xml.IsValid());
}

TEST(MarkupTree, EmptyOrCommentOnlyDocumentHasNoRoot)
{
    const wchar_t* docs[] = { L"", L"   \r\n\t", L"<!-- only a comment -->", L"<?xml version=\"1.0\"?>",
                              L"<?xml version=\"1.0\"?>\n<!-- c -->\n", L"<!-- unclosed comment" };
    for (const wchar_t* doc : docs) {
        CMarkup xml;
        EXPECT_TRUE(xml.Load(doc)) << doc;
        EXPECT_TRUE(xml.IsValid()) << doc;
        EXPECT_FALSE(xml.GetRoot().IsValid()) << doc;
        EXPECT_EQ(xml.GetRoot().GetName(), static_cast<LPCWSTR>(NULL));
    }
}

TEST(MarkupTree, CommentsAndDeclarationsAreDropped)
{
    CMarkup xml;
    ASSERT_TRUE(xml.Load(L"<?xml version=\"1.0\"?><!-- a <b> c --><a><!-- x --><b/><?pi x?><c/></a><!-- end -->"));
    CMarkupNode a = xml.GetRoot();
    EXPECT_EQ(Str(a.GetName()), L"a");
    EXPECT_EQ(Str(a.GetChild().GetName()), L"b");
    EXPECT_EQ(Str(a.GetChild().GetSibling().GetName()), L"c");
    EXPECT_FALSE(a.GetChild().GetSibling().HasSiblings());
}

TEST(MarkupTree, TableGrowsPastItsReservations)
{
    // 3,000 children pass the 500, 1,250 and 2,375 record reservations.
    std::wstring doc = L"<list>";
    for (int i = 0; i < 3000; ++i) doc += L"<item n=\"" + std::to_wstring(i) + L"\">" + std::to_wstring(i * 2) + L"</item>";
    doc += L"</list>";
    CMarkup xml;
    ASSERT_TRUE(xml.Load(doc.c_str()));
    int n = 0;
    for (CMarkupNode item = xml.GetRoot().GetChild(); item.IsValid(); item = item.GetSibling(), ++n) {
        ASSERT_EQ(Str(item.GetAttributeValue(L"n")), std::to_wstring(n));
        ASSERT_EQ(Str(item.GetValue()), std::to_wstring(n * 2));
        ASSERT_EQ(Str(item.GetParent().GetName()), L"list");
    }
    EXPECT_EQ(n, 3000);
}

TEST(MarkupAttributes, ReadInDocumentOrderByIndexAndName)
{
    CMarkup xml(L"<a first=\"1\" second = \"two words\"\tthird=\"\" Name=\"upper\" name=\"lower\" first=\"dup\">text</a>");
    CMarkupNode a = xml.GetRoot();
    ASSERT_TRUE(a.IsValid());
    ASSERT_EQ(a.GetAttributeCount(), 6);
    EXPECT_TRUE(a.HasAttributes());
    EXPECT_EQ(Str(a.GetAttributeName(0)), L"first");
    EXPECT_EQ(Str(a.GetAttributeValue(0)), L"1");
    EXPECT_EQ(Str(a.GetAttributeName(1)), L"second");
    EXPECT_EQ(Str(a.GetAttributeValue(1)), L"two words");
    EXPECT_EQ(Str(a.GetAttributeName(2)), L"third");
    EXPECT_EQ(Str(a.GetAttributeValue(2)), L"");
    EXPECT_EQ(Str(a.GetAttributeValue(5)), L"dup");
    EXPECT_EQ(Str(a.GetAttributeName(6)), L"");
    EXPECT_EQ(Str(a.GetAttributeValue(-1)), L"");
    EXPECT_EQ(Str(a.GetValue()), L"text");

    // Names are exact and the first of equal names wins.
    EXPECT_EQ(Str(a.GetAttributeValue(L"first")), L"1");
    EXPECT_EQ(Str(a.GetAttributeValue(L"Name")), L"upper");
    EXPECT_EQ(Str(a.GetAttributeValue(L"name")), L"lower");
    EXPECT_EQ(Str(a.GetAttributeValue(L"NAME")), L"");
    EXPECT_TRUE(a.HasAttribute(L"third"));
    EXPECT_FALSE(a.HasAttribute(L"fourth"));
    EXPECT_FALSE(a.HasAttribute(NULL));

    CMarkup plain(L"<a><b/></a>");
    EXPECT_FALSE(plain.GetRoot().HasAttributes());
    EXPECT_EQ(Str(plain.GetRoot().GetAttributeValue(L"x")), L"");
}

TEST(MarkupAttributes, TextStartingWithAQuoteIsNotAnAttribute)
{
    CMarkup xml(L"<a x=\"1\">\"quoted\" text</a>");
    CMarkupNode a = xml.GetRoot();
    EXPECT_EQ(a.GetAttributeCount(), 1);
    EXPECT_EQ(Str(a.GetValue()), L"\"quoted\" text");
    ASSERT_TRUE(xml.Load(L"<a x=\"1\" > \"q\"<b y=\"2\" z=\"3\"> \"r\"</b></a>"));
    EXPECT_EQ(xml.GetRoot().GetAttributeCount(), 1);
    EXPECT_EQ(xml.GetRoot().GetChild().GetAttributeCount(), 2);
    EXPECT_EQ(Str(xml.GetRoot().GetChild().GetAttributeValue(L"z")), L"3");
}

TEST(MarkupAttributes, OnlyTheFirst64AreMapped)
{
    std::wstring doc = L"<a";
    for (int i = 0; i < 70; ++i) doc += L" k" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
    doc += L"><b k=\"child\"/></a>";
    CMarkup xml(doc.c_str());
    CMarkupNode a = xml.GetRoot();
    ASSERT_EQ(a.GetAttributeCount(), 64);
    EXPECT_EQ(Str(a.GetAttributeName(63)), L"k63");
    EXPECT_EQ(Str(a.GetAttributeValue(63)), L"v63");
    EXPECT_EQ(Str(a.GetAttributeValue(L"k64")), L"");
    EXPECT_FALSE(a.HasAttribute(L"k69"));
    // The element itself parsed whole: its child is there.
    EXPECT_EQ(Str(a.GetChild().GetAttributeValue(L"k")), L"child");

    // A copied node keeps its map.
    CMarkupNode copy = a;
    EXPECT_EQ(Str(copy.GetAttributeValue(10)), L"v10");
    CMarkupNode assigned;
    assigned = a;
    EXPECT_EQ(Str(assigned.GetAttributeName(40)), L"k40");
}

TEST(MarkupAttributes, CopiesBehaveLikeWcsncpy)
{
    CMarkup xml(L"<a v=\"hello\"/>");
    CMarkupNode a = xml.GetRoot();
    WCHAR sz[10];
    for (WCHAR& ch : sz) ch = L'#';
    ASSERT_TRUE(a.GetAttributeValue(L"v", sz, 8));
    EXPECT_EQ(std::wstring(sz), L"hello");
    EXPECT_EQ(sz[5], L'\0');
    EXPECT_EQ(sz[7], L'\0');   // padded up to max
    EXPECT_EQ(sz[8], L'#');    // but never beyond it

    for (WCHAR& ch : sz) ch = L'#';
    ASSERT_TRUE(a.GetAttributeValue(0, sz, 3));
    EXPECT_EQ(std::wstring(sz, 4), L"hel#");   // no room for the terminator: not written

    for (WCHAR& ch : sz) ch = L'#';
    ASSERT_TRUE(a.GetAttributeValue(L"v", sz, 0));
    EXPECT_EQ(sz[0], L'#');
    EXPECT_FALSE(a.GetAttributeValue(L"w", sz, lengthof(sz)));
    EXPECT_FALSE(a.GetAttributeValue(1, sz, lengthof(sz)));
    EXPECT_EQ(sz[0], L'#');
}

TEST(MarkupText, EntitiesAreDecoded)
{
    CMarkup xml(L"<a v=\"&quot;x&quot; &apos;y&apos; &amp;&lt;&gt;\">&lt;b&gt;</a>");
    EXPECT_EQ(Str(xml.GetRoot().GetValue()), L"<b>");
    EXPECT_EQ(Str(xml.GetRoot().GetAttributeValue(L"v")), L"\"x\" 'y' &<>");

    // Numeric references and other names stay as written, and so do stray ampersands.
    ASSERT_TRUE(xml.Load(L"<a v=\"&#65;&copy;&\">&#65; &copy; &amp &&amp; &lt</a>"));
    EXPECT_EQ(Str(xml.GetRoot().GetValue()), L"&#65; &copy; &amp && &lt");
    EXPECT_EQ(Str(xml.GetRoot().GetAttributeValue(L"v")), L"&#65;&copy;&");

    // An entity may not hide the end of a value, and a decoded '<' does not open a tag.
    ASSERT_TRUE(xml.Load(L"<a v=\"&lt;x\" w=\"2\">&lt;c/&gt;<b/></a>"));
    EXPECT_EQ(Str(xml.GetRoot().GetAttributeValue(L"v")), L"<x");
    EXPECT_EQ(Str(xml.GetRoot().GetAttributeValue(L"w")), L"2");
    EXPECT_EQ(Str(xml.GetRoot().GetValue()), L"<c/>");
    EXPECT_EQ(Str(xml.GetRoot().GetChild().GetName()), L"b");

    // Entities cut short by the end of the text.
    const wchar_t* cut[] = { L"<a>&", L"<a>&a", L"<a>&am", L"<a>&amp", L"<a>&quo", L"<a>&apos" };
    for (const wchar_t* doc : cut) {
        ASSERT_TRUE(xml.Load(doc)) << doc;
        EXPECT_EQ(Str(xml.GetRoot().GetValue()), std::wstring(doc + 3)) << doc;
    }
    ASSERT_TRUE(xml.Load(L"<a>x&amp;"));
    EXPECT_EQ(Str(xml.GetRoot().GetValue()), L"x&");
}

TEST(MarkupText, WhitespaceModes)
{
    CMarkup xml;
    // Preserving whitespace is the default.
    ASSERT_TRUE(xml.Load(L"<a v=\"a  b\" t=\"x\ty\" n=\"p \t\r\nq\">  two  spaces </a>"));
    EXPECT_EQ(Str(xml.GetRoot().GetAttributeValue(L"v")), L"a  b");
    EXPECT_EQ(Str(xml.GetRoot().GetAttributeValue(L"t")), L"x\ty");
    EXPECT_EQ(Str(xml.GetRoot().GetAttributeValue(L"n")), L"p \t\r\nq");
    EXPECT_EQ(Str(xml.GetRoot().GetValue()), L"  two  spaces ");

    xml.SetPreserveWhitespace(false);
    ASSERT_TRUE(xml.Load(L"<a v=\"a  b\" t=\"x\ty\" n=\"p \t\r\nq\" e=\"&amp;  &lt;\">  two  spaces </a>"));
    CMarkupNode a = xml.GetRoot();
    EXPECT_EQ(Str(a.GetAttributeValue(L"v")), L"a b");
    EXPECT_EQ(Str(a.GetAttributeValue(L"t")), L"x\ty");
    EXPECT_EQ(Str(a.GetAttributeValue(L"n")), L"p q");
    EXPECT_EQ(Str(a.GetAttributeValue(L"e")), L"& <");
    EXPECT_EQ(a.GetAttributeCount(), 4);
    EXPECT_EQ(Str(a.GetValue()), L" two spaces ");
    // A tab not following a space is kept, and the whitespace after it too.
    ASSERT_TRUE(xml.Load(L"<a>x\t\t y</a>"));
    EXPECT_EQ(Str(xml.GetRoot().GetValue()), L"x\t\t y");
}

TEST(MarkupText, NonAsciiNamesAndText)
{
    CMarkup xml(L"<窗口 标题=\"登录\">游戏 &amp; 中文<子元素/></窗口>");
    CMarkupNode root = xml.GetRoot();
    ASSERT_TRUE(root.IsValid()) << ErrorMessage(xml);
    EXPECT_EQ(Str(root.GetName()), L"窗口");
    EXPECT_EQ(Str(root.GetAttributeValue(L"标题")), L"登录");
    EXPECT_EQ(Str(root.GetValue()), L"游戏 & 中文");
    EXPECT_EQ(Str(root.GetChild().GetName()), L"子元素");
}

struct ErrorCase
{
    const wchar_t* xml;
    const wchar_t* message;
    const wchar_t* location;
};

TEST(MarkupErrors, MessagesAndLocations)
{
    const ErrorCase cases[] = {
        { L"hello", L"Expected start tag", L"hello" },
        { L"<a/> trailing", L"Expected start tag", L"trailing" },
        { L"<", L"Error parsing element name", L"" },
        { L"<abc", L"Error parsing element name", L"" },
        { L"<a x=\"1\" ?>", L"Error while parsing attributes", L"?>" },
        { L"<a x=\"1\"/x>", L"Expected start-tag closing", L"/x>" },
        { L"<a/ >", L"Expected start-tag closing", L"/ >" },
        { L"<a x=\"1\"", L"Expected start-tag closing", L"" },
        { L"<r><a><b>text", L"Expected end-tag start", L"" },
        { L"<a></b>", L"Unmatched closing tag", L"b>" },
        { L"<ab></a>", L"Unmatched closing tag", L"a>" },
        { L"<a></a", L"Unmatched closing tag", L"" },
        { L"<a></", L"Unmatched closing tag", L"" },
        { L"<a></a x>", L"Unmatched closing tag", L"x>" },
        { L"</a>", L"Unmatched closing tag", L"</a>" },
        { L"<a x>", L"Error while parsing attributes", L">" },
        { L"<a x-y=\"1\">", L"Error while parsing attributes", L"-y=\"1\">" },
        { L"<a x='1'/>", L"Expected attribute value", L"'1'/>" },
        { L"<a x=1/>", L"Expected attribute value", L"1/>" },
        { L"<a x=\"abc", L"Error while parsing attribute string", L"" },
        { L"<a x=\"abc&amp", L"Error while parsing attribute string", L"" },
    };
    for (const ErrorCase& c : cases) {
        CMarkup xml;
        EXPECT_FALSE(xml.Load(c.xml)) << c.xml;
        EXPECT_FALSE(xml.IsValid()) << c.xml;
        EXPECT_FALSE(xml.GetRoot().IsValid()) << c.xml;
        EXPECT_EQ(ErrorMessage(xml), c.message) << c.xml;
        EXPECT_EQ(ErrorLocation(xml), c.location) << c.xml;
    }
}

TEST(MarkupErrors, LocationKeeps49CharactersAndCopiesAreBounded)
{
    std::wstring tail(80, L'z');
    CMarkup xml;
    ASSERT_FALSE(xml.Load((L"<a x='" + tail).c_str()));
    std::wstring location = ErrorLocation(xml);
    EXPECT_EQ(location, L"'" + tail.substr(0, 48));

    WCHAR sz[8];
    for (WCHAR& ch : sz) ch = L'#';
    xml.GetLastErrorMessage(sz, 5);
    EXPECT_EQ(std::wstring(sz, 6), L"Expec#");
    xml.GetLastErrorLocation(sz, 3);
    EXPECT_EQ(std::wstring(sz, 6), L"'zzec#");

    // A successful load clears the texts of the previous failure.
    ASSERT_TRUE(xml.Load(L"<ok/>"));
    EXPECT_EQ(ErrorMessage(xml), L"");
    EXPECT_EQ(ErrorLocation(xml), L"");
}

TEST(MarkupErrors, FailedLoadReleasesThePreviousDocument)
{
    CMarkup xml(L"<a><b/></a>");
    ASSERT_TRUE(xml.GetRoot().IsValid());
    EXPECT_FALSE(xml.Load(L"<a></b>"));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_FALSE(xml.GetRoot().IsValid());
    EXPECT_FALSE(xml.Load(NULL));
    EXPECT_FALSE(xml.IsValid());
    CMarkup constructed(L"<a x=1/>");
    EXPECT_FALSE(constructed.IsValid());
    EXPECT_EQ(ErrorMessage(constructed), L"Expected attribute value");
}
