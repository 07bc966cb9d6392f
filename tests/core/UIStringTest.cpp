// Tests of CUIString: storage transitions, conversions, comparisons, substrings, searches, formatting.
#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"
#include <gtest/gtest.h>

using Veneer::CUIString;

namespace {

bool IsInsideObject(const CUIString& s)
{
    const char* p = reinterpret_cast<const char*>(s.GetData());
    const char* begin = reinterpret_cast<const char*>(&s);
    return p >= begin && p < begin + sizeof(CUIString);
}

CUIString Repeat(wchar_t ch, int n)
{
    CUIString s;
    for( int i = 0; i < n; ++i ) s += ch;
    return s;
}

} // namespace

TEST(UIString, TextsMoveBetweenInlineBufferAndHeapAt63Characters)
{
    CUIString s(Repeat(L'a', 62));
    EXPECT_TRUE(IsInsideObject(s));
    EXPECT_EQ(62, s.GetLength());

    const CUIString s63 = Repeat(L'b', 63);
    EXPECT_FALSE(IsInsideObject(s63));
    s = s63;
    EXPECT_FALSE(IsInsideObject(s));
    EXPECT_EQ(63, s.GetLength());
    EXPECT_EQ(s63, s);

    s = L"0123456789";
    EXPECT_TRUE(IsInsideObject(s));
    EXPECT_STREQ(L"0123456789", s.GetData());

    // Appending past the limit moves an inline text out, keeping what was there.
    s.Append(Repeat(L'x', 53));
    EXPECT_FALSE(IsInsideObject(s));
    EXPECT_EQ(63, s.GetLength());
    EXPECT_EQ(0, s.Find(L"0123456789x"));

    s.Empty();
    EXPECT_TRUE(IsInsideObject(s));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(UIString, HeapBlockIsReusedWhileTheTextStaysLong)
{
    CUIString s(Repeat(L'a', 100));
    const wchar_t* block = s.GetData();
    s = Repeat(L'b', 70);
    EXPECT_EQ(block, s.GetData());
    EXPECT_EQ(70, s.GetLength());
    s = Repeat(L'c', 200);
    EXPECT_EQ(200, s.GetLength());
    EXPECT_EQ(L'c', s[199]);
}

TEST(UIString, ConstructionAndAssignmentTreatNullAsEmpty)
{
    EXPECT_TRUE(CUIString(static_cast<LPCWSTR>(NULL)).IsEmpty());
    EXPECT_STREQ(L"abc", CUIString(L"abcdef", 3).GetData());
    EXPECT_STREQ(L"Z", CUIString(L'Z').GetData());

    CUIString s(L"abc");
    s = static_cast<LPCWSTR>(NULL);
    EXPECT_TRUE(s.IsEmpty());
    s = L"abc";
    s = static_cast<LPCSTR>(NULL);
    EXPECT_TRUE(s.IsEmpty());

    s = L"abc";
    s += static_cast<LPCWSTR>(NULL);
    s += static_cast<LPCSTR>(NULL);
    EXPECT_STREQ(L"abc", s.GetData());
    EXPECT_STREQ(L"abc", (s + static_cast<LPCWSTR>(NULL)).GetData());
}

TEST(UIString, AnsiTextIsConvertedInTheSystemCodePage)
{
    CUIString s;
    s = "plain ascii";
    EXPECT_STREQ(L"plain ascii", s.GetData());
    s += " and more";
    EXPECT_STREQ(L"plain ascii and more", s.GetData());

    // Check against the system's own conversion so the test holds in any code page.
    const char ansi[] = "caf\xe9";
    wchar_t expected[16] = { 0 };
    ::MultiByteToWideChar(::GetACP(), 0, ansi, -1, expected, 16);
    s = ansi;
    EXPECT_STREQ(expected, s.GetData());

    const std::string longAnsi(300, 'q');
    s = longAnsi.c_str();
    EXPECT_EQ(300, s.GetLength());
    EXPECT_FALSE(IsInsideObject(s));
}

TEST(UIString, SelfReferencingAssignAndAppendStayIntact)
{
    CUIString s(Repeat(L'a', 70));
    s += s;
    EXPECT_EQ(140, s.GetLength());
    s.Append(s.GetData() + 130);
    EXPECT_EQ(150, s.GetLength());
    // Shrinking to the inline buffer from a pointer into the heap block being released.
    s.Assign(s.GetData() + 145);
    EXPECT_EQ(5, s.GetLength());
    EXPECT_TRUE(IsInsideObject(s));
    EXPECT_STREQ(L"aaaaa", s.GetData());
    s = s;
    EXPECT_STREQ(L"aaaaa", s.GetData());
}

TEST(UIString, CharacterAccessAndConcatenation)
{
    CUIString s(L"abc");
    EXPECT_EQ(L'b', s.GetAt(1));
    EXPECT_EQ(L'c', s[2]);
    s.SetAt(0, L'x');
    EXPECT_STREQ(L"xbc", s.GetData());
    // Writing a terminator shortens the text: the length is counted afresh.
    s.SetAt(1, L'\0');
    EXPECT_EQ(1, s.GetLength());
    // Outside the text nothing is written, so the terminator stays.
    s.SetAt(1, L'y');
    s.SetAt(-1, L'y');
    EXPECT_STREQ(L"x", s.GetData());

    s = L'q';
    EXPECT_STREQ(L"q", s.GetData());
    s += L'r';
    s += CUIString(L"st");
    EXPECT_STREQ(L"qrst", s.GetData());
    const CUIString joined = s + CUIString(L"-") + L"uv";
    EXPECT_STREQ(L"qrst-uv", joined.GetData());
    EXPECT_STREQ(L"qrst", s.GetData());
    const CUIString longer = joined + Repeat(L'w', 60);
    EXPECT_EQ(67, longer.GetLength());
    EXPECT_FALSE(IsInsideObject(longer));
    EXPECT_EQ(7, longer.Find(L'w'));
}

TEST(UIString, ComparisonsAreOrdinalAndCaseSensitive)
{
    CUIString s(L"Button");
    EXPECT_TRUE(s == L"Button");
    EXPECT_TRUE(s != L"button");
    EXPECT_TRUE(L"Button" == s);
    EXPECT_FALSE(L"button" == s);
    EXPECT_TRUE(s == CUIString(L"Button"));
    EXPECT_TRUE(s < L"Buttons");
    EXPECT_TRUE(s <= L"Button");
    EXPECT_TRUE(s > L"Butto");
    EXPECT_TRUE(s >= L"Button");
    EXPECT_TRUE(s > L"BUTTON");
    EXPECT_EQ(0, s.CompareNoCase(L"bUTTON"));
    EXPECT_GT(s.Compare(NULL), 0);

    s.MakeUpper();
    EXPECT_STREQ(L"BUTTON", s.GetData());
    s.MakeLower();
    EXPECT_STREQ(L"button", s.GetData());
}

TEST(UIString, SubstringsClampTheirArguments)
{
    const CUIString s(L"abc");
    EXPECT_STREQ(L"", s.Mid(5).GetData());
    EXPECT_STREQ(L"", s.Mid(5, 2).GetData());
    EXPECT_STREQ(L"bc", s.Mid(1).GetData());
    EXPECT_STREQ(L"b", s.Mid(1, 1).GetData());
    EXPECT_STREQ(L"bc", s.Mid(1, 10).GetData());
    EXPECT_STREQ(L"ab", s.Mid(-4, 2).GetData());
    EXPECT_STREQ(L"abc", s.Right(10).GetData());
    EXPECT_STREQ(L"c", s.Right(1).GetData());
    EXPECT_STREQ(L"", s.Right(-2).GetData());
    EXPECT_STREQ(L"", s.Left(-1).GetData());
    EXPECT_STREQ(L"ab", s.Left(2).GetData());
    EXPECT_STREQ(L"abc", s.Left(7).GetData());
}

TEST(UIString, SearchesHonourTheirStartRules)
{
    const CUIString s(L"abcabc");
    EXPECT_EQ(0, s.Find(L""));
    EXPECT_EQ(3, s.Find(L"abc", 1));
    EXPECT_EQ(-1, s.Find(L"abc", 4));
    EXPECT_EQ(6, s.Find(L"", 6));
    EXPECT_EQ(-1, s.Find(L"", 7));
    EXPECT_EQ(-1, s.Find(L"a", -1));
    EXPECT_EQ(2, s.Find(L'c'));
    EXPECT_EQ(5, s.Find(L'c', 3));
    EXPECT_EQ(-1, s.Find(L'c', 6));
    EXPECT_EQ(-1, s.Find(L'c', -1));
    EXPECT_EQ(5, s.ReverseFind(L'c'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
    EXPECT_EQ(-1, CUIString().Find(L'a'));
}

TEST(UIString, ReplaceDoesNotRescanInsertedText)
{
    CUIString s(L"aaa");
    EXPECT_EQ(3, s.Replace(L"a", L"aa"));
    EXPECT_STREQ(L"aaaaaa", s.GetData());

    s = L"one, two, one";
    EXPECT_EQ(2, s.Replace(L"one", L""));
    EXPECT_STREQ(L", two, ", s.GetData());
    EXPECT_EQ(0, s.Replace(L"zzz", L"y"));
    EXPECT_EQ(0, s.Replace(L"", L"y"));
    EXPECT_STREQ(L", two, ", s.GetData());

    // Growing past the inline limit while replacing.
    s = Repeat(L'x', 40);
    EXPECT_EQ(40, s.Replace(L"x", L"yz"));
    EXPECT_EQ(80, s.GetLength());
    EXPECT_EQ(-1, s.Find(L'x'));
}

TEST(UIString, FormatHasNoLengthLimit)
{
    CUIString s;
    EXPECT_EQ(8, s.Format(L"%s-%d-%c", L"abc", 42, L'z'));
    EXPECT_STREQ(L"abc-42-z", s.GetData());
    const CUIString big = Repeat(L'w', 500);
    EXPECT_EQ(503, s.Format(L"<%s>!", big.GetData()));
    EXPECT_EQ(503, s.GetLength());
}

TEST(UIString, SmallFormatTruncatesInsteadOfOverflowing)
{
    CUIString s;
    EXPECT_EQ(5, s.SmallFormat(L"%d,%d", 12, 34));
    EXPECT_STREQ(L"12,34", s.GetData());
    const CUIString big = Repeat(L'k', 200);
    s.SmallFormat(L"%s", big.GetData());
    EXPECT_EQ(63, s.GetLength());
}
