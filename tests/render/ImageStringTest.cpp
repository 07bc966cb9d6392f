// Tests of the image description string parser: keys, syntax, the image counter and the second string.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRenderImage.h"
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Veneer;

namespace {

struct TRecorded
{
    std::wstring name;
    std::wstring type;
    RECT dest;
    RECT source;
    RECT corners;
    DWORD mask;
    int fade;
    bool hole;
    bool xtiled;
    bool ytiled;
};

class CRecordingParser : public CImageStringParser
{
public:
    explicit CRecordingParser(const RECT& rc) : CImageStringParser(rc) {}
    std::vector<TRecorded> images;

protected:
    void OnImage(const TImageDrawSettings& s) override
    {
        TRecorded r = { s.sImageName.GetData(), s.sResType.GetData(), s.rcDest, s.rcSource, s.rcCorners,
                        s.dwMask, s.uFade, s.bHole, s.bTiledX, s.bTiledY };
        images.push_back(r);
    }
};

const RECT kControl = { 10, 10, 110, 50 };

std::vector<TRecorded> Parse(LPCWSTR image, LPCWSTR modify = NULL)
{
    CRecordingParser parser(kControl);
    parser.Parse(image, modify);
    return parser.images;
}

::testing::AssertionResult RectIs(const RECT& rc, LONG l, LONG t, LONG r, LONG b)
{
    if (rc.left == l && rc.top == t && rc.right == r && rc.bottom == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom
                                         << ") is not (" << l << "," << t << "," << r << "," << b << ")";
}

} // namespace

TEST(ImageString, BareNameAndFileKeyDescribeTheSameImageWithDefaults)
{
    for (LPCWSTR text : { L"bg.png", L"file='bg.png'", L"  file = \t'bg.png'" }) {
        const std::vector<TRecorded> images = Parse(text);
        ASSERT_EQ(1u, images.size()) << text;
        const TRecorded& r = images[0];
        EXPECT_EQ(L"bg.png", r.name);
        EXPECT_EQ(L"", r.type);
        EXPECT_TRUE(RectIs(r.dest, 10, 10, 110, 50));
        EXPECT_TRUE(RectIs(r.source, 0, 0, 0, 0));
        EXPECT_TRUE(RectIs(r.corners, 0, 0, 0, 0));
        EXPECT_EQ(0u, r.mask);
        EXPECT_EQ(255, r.fade);
        EXPECT_FALSE(r.hole || r.xtiled || r.ytiled);
    }
}

TEST(ImageString, EveryKeySetsItsSetting)
{
    const std::vector<TRecorded> images =
        Parse(L"file='a.png' dest='5,6,20,30' source='1,2,3,4' corner='4,3,2,1' mask='#FFFF00FF' fade='128' "
              L"hole='true' xtiled='true' ytiled='true'");
    ASSERT_EQ(1u, images.size());
    const TRecorded& r = images[0];
    EXPECT_EQ(L"a.png", r.name);
    EXPECT_TRUE(RectIs(r.dest, 15, 16, 30, 40));
    EXPECT_TRUE(RectIs(r.source, 1, 2, 3, 4));
    EXPECT_TRUE(RectIs(r.corners, 4, 3, 2, 1));
    EXPECT_EQ(0xFFFF00FFu, r.mask);
    EXPECT_EQ(128, r.fade);
    EXPECT_TRUE(r.hole && r.xtiled && r.ytiled);

    EXPECT_EQ(0xFFFF00FFu, Parse(L"file='a.png' mask='FFFF00FF'")[0].mask);
    EXPECT_EQ(128, Parse(L"file='a.png' fade='384'")[0].fade) << "low 8 bits kept";
    const TRecorded notTrue = Parse(L"file='a.png' hole='TRUE' xtiled='1' ytiled='yes'")[0];
    EXPECT_FALSE(notTrue.hole || notTrue.xtiled || notTrue.ytiled);
}

TEST(ImageString, DestIsRelativeToTheControlAndClampedAtRightAndBottom)
{
    EXPECT_TRUE(RectIs(Parse(L"file='a.png' dest='0,0,500,500'")[0].dest, 10, 10, 110, 50));
    EXPECT_TRUE(RectIs(Parse(L"file='a.png' dest='-5,-5,10,10'")[0].dest, 5, 5, 20, 20));
    // Numbers past the int range do not wrap around.
    EXPECT_TRUE(RectIs(Parse(L"file='a.png' dest='2147483647,0,2147483647,10'")[0].dest, 2147483647, 10, 110, 20));
}

TEST(ImageString, NumbersAreReadWithAnySeparatorAndMissingOnesAreZero)
{
    EXPECT_TRUE(RectIs(Parse(L"file='a.png' corner=' 1; 2;3x-4'")[0].corners, 1, 2, 3, -4));
    EXPECT_TRUE(RectIs(Parse(L"file='a.png' corner='1,2'")[0].corners, 1, 2, 0, 0));
    EXPECT_TRUE(RectIs(Parse(L"file='a.png' source='7'")[0].source, 7, 0, 0, 0));
}

TEST(ImageString, UnknownKeysAndEmptyValuesChangeNothing)
{
    const std::vector<TRecorded> images = Parse(L"file='a.png' colour='red' FILE='b.png' corner='' fade='9'");
    ASSERT_EQ(1u, images.size());
    EXPECT_EQ(L"a.png", images[0].name);
    EXPECT_TRUE(RectIs(images[0].corners, 0, 0, 0, 0));
    EXPECT_EQ(9, images[0].fade);
    // An empty file value leaves the unparsed string as the name.
    EXPECT_EQ(L"file=''", Parse(L"file=''")[0].name);
}

TEST(ImageString, MalformedPairsEndThePassAndKeepWhatWasRead)
{
    // Only a space right after the quote leads on (further blanks are then skipped); a tab or a comma ends it.
    EXPECT_TRUE(RectIs(Parse(L"file='a.png'\tcorner='2,2,2,2'")[0].corners, 0, 0, 0, 0));
    EXPECT_TRUE(RectIs(Parse(L"file='a.png',corner='2,2,2,2'")[0].corners, 0, 0, 0, 0));
    EXPECT_TRUE(RectIs(Parse(L"file='a.png'  corner='2,2,2,2'")[0].corners, 2, 2, 2, 2));
    // No "=", no opening quote, no closing quote.
    EXPECT_EQ(L"a.png", Parse(L"file='a.png' fade")[0].name);
    EXPECT_EQ(255, Parse(L"file='a.png' fade=128")[0].fade);
    const std::vector<TRecorded> open = Parse(L"fade='64' file='a.png");
    ASSERT_EQ(1u, open.size());
    EXPECT_EQ(L"fade='64' file='a.png", open[0].name);
    EXPECT_EQ(64, open[0].fade);
    // Nothing at all still hands over one (nameless) image.
    ASSERT_EQ(1u, Parse(NULL).size());
    EXPECT_EQ(L"", Parse(L"")[0].name);
}

TEST(ImageString, FileResAndResTypeFollowTheImageCounter)
{
    std::vector<TRecorded> images = Parse(L"file='a.png' file='b.png'");
    ASSERT_EQ(2u, images.size());
    EXPECT_EQ(L"a.png", images[0].name);
    EXPECT_EQ(L"b.png", images[1].name);

    images = Parse(L"res='101' restype='PNG'");
    ASSERT_EQ(1u, images.size());
    EXPECT_EQ(L"101", images[0].name);
    EXPECT_EQ(L"PNG", images[0].type);

    images = Parse(L"file='a.png' restype='PNG'");
    ASSERT_EQ(2u, images.size());
    EXPECT_EQ(L"a.png", images[0].name);
    EXPECT_EQ(L"", images[0].type);
    EXPECT_EQ(L"a.png", images[1].name);
    EXPECT_EQ(L"PNG", images[1].type);

    // res does not count: after file, a res draws the file first, and the next res does too.
    images = Parse(L"file='a.png' res='1' res='2'");
    ASSERT_EQ(3u, images.size());
    EXPECT_EQ(L"a.png", images[0].name);
    EXPECT_EQ(L"1", images[1].name);
    EXPECT_EQ(L"2", images[2].name);

    // An image is drawn with what was read until the next one starts, and that carries over.
    images = Parse(L"file='a.png' fade='100' file='b.png' corner='1,1,1,1'");
    ASSERT_EQ(2u, images.size());
    EXPECT_EQ(100, images[0].fade);
    EXPECT_TRUE(RectIs(images[0].corners, 0, 0, 0, 0));
    EXPECT_EQ(100, images[1].fade);
    EXPECT_TRUE(RectIs(images[1].corners, 1, 1, 1, 1));
}

TEST(ImageString, SecondStringModifiesTheFirstWithTheCounterReset)
{
    std::vector<TRecorded> images = Parse(L"file='a.png'", L"dest='0,0,10,10'");
    ASSERT_EQ(1u, images.size());
    EXPECT_EQ(L"a.png", images[0].name);
    EXPECT_TRUE(RectIs(images[0].dest, 10, 10, 20, 20));

    images = Parse(L"file='a.png' corner='1,1,1,1'", L"file='b.png' fade='7'");
    ASSERT_EQ(1u, images.size()) << "the counter starts again at 0 for the second string";
    EXPECT_EQ(L"b.png", images[0].name);
    EXPECT_TRUE(RectIs(images[0].corners, 1, 1, 1, 1));
    EXPECT_EQ(7, images[0].fade);

    // A bare second string has no pairs and changes nothing.
    images = Parse(L"a.png", L"b.png");
    ASSERT_EQ(1u, images.size());
    EXPECT_EQ(L"a.png", images[0].name);
}
