// Tests of DrawImageString: description strings drawn from the paint manager's image cache.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderImage.h"
#include "veneer/window/UIManager.h"
#include "DibCanvas.h"
#include "support/ResourceScope.h"
#include "support/TempFolder.h"

#include <string>

using namespace Veneer;

namespace {

const DWORD kWhite = 0xFFFFFFFF;
const DWORD kRed = 0xFFFF0000;
const DWORD kBlue = 0xFF0000FF;

class RenderImageString : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CTestBitmap red(4, 4, kRed);
        ASSERT_NE(static_cast<TImageInfo*>(NULL), m_manager.AddImage(L"bg", red.Detach(), 4, 4, false));
        // Left pixel transparent, right pixel opaque blue.
        CTestBitmap half(2, 1);
        half.Set(0, 0, 0x00000000);
        half.Set(1, 0, kBlue);
        ASSERT_NE(static_cast<TImageInfo*>(NULL), m_manager.AddImage(L"half", half.Detach(), 2, 1, true));
        CTestBitmap pair(2, 1);
        pair.Set(0, 0, kRed);
        pair.Set(1, 0, kBlue);
        ASSERT_NE(static_cast<TImageInfo*>(NULL), m_manager.AddImage(L"pair", pair.Detach(), 2, 1, false));
    }

    bool Draw(const CDibCanvas& canvas, const RECT& rc, LPCWSTR image, LPCWSTR modify = NULL)
    {
        const RECT rcPaint = { 0, 0, canvas.GetWidth(), canvas.GetHeight() };
        return CRenderEngine::DrawImageString(canvas.GetDC(), &m_manager, rc, rcPaint, image, modify);
    }

    CPaintManagerUI m_manager;
};

// A 24-bit BMP file of one row: magenta, then green.
std::string MagentaGreenBmp()
{
    const unsigned char bytes[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                                  // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0,         // info header
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                                  //
        0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0 };                                      // blue, green, red
    return std::string(reinterpret_cast<const char*>(bytes), sizeof(bytes));
}

bool SamePixels(const CDibCanvas& a, const CDibCanvas& b)
{
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (a.Get(x, y) != b.Get(x, y)) return false;
    return true;
}

} // namespace

TEST_F(RenderImageString, BareNameAndFileKeyDrawTheSame)
{
    const RECT rc = { 5, 5, 25, 25 };
    CDibCanvas bare(30, 30, kWhite);
    CDibCanvas keyed(30, 30, kWhite);
    EXPECT_TRUE(Draw(bare, rc, L"bg"));
    EXPECT_TRUE(Draw(keyed, rc, L"file='bg'"));
    EXPECT_EQ(0, bare.CountOtherThan(5, 5, 25, 25, bare.Get(15, 15)));
    EXPECT_TRUE(RgbNear(bare.Get(15, 15), kRed, 0));
    EXPECT_TRUE(RgbNear(bare.Get(5, 5), kRed, 0));
    EXPECT_TRUE(RgbNear(bare.Get(24, 24), kRed, 0));
    EXPECT_EQ(kWhite, bare.Get(4, 4));
    EXPECT_EQ(kWhite, bare.Get(25, 25));
    EXPECT_TRUE(SamePixels(bare, keyed));
}

TEST_F(RenderImageString, DestIsPlacedInTheControlAndClampedToIt)
{
    CDibCanvas canvas(120, 60, kWhite);
    const RECT rc = { 10, 10, 110, 50 };
    EXPECT_TRUE(Draw(canvas, rc, L"file='bg' dest='0,0,500,500'"));
    EXPECT_TRUE(RgbNear(canvas.Get(10, 10), kRed, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(109, 49), kRed, 0));
    EXPECT_EQ(kWhite, canvas.Get(110, 30));
    EXPECT_EQ(kWhite, canvas.Get(60, 50));
    EXPECT_EQ(kWhite, canvas.Get(9, 30));

    // The second string moves the image into the control's first 10 x 10 pixels.
    CDibCanvas modified(120, 60, kWhite);
    EXPECT_TRUE(Draw(modified, rc, L"file='bg'", L"dest='0,0,10,10'"));
    EXPECT_TRUE(RgbNear(modified.Get(19, 19), kRed, 0));
    EXPECT_EQ(kWhite, modified.Get(20, 15));
    EXPECT_EQ(kWhite, modified.Get(15, 20));
}

TEST_F(RenderImageString, EachFileDrawsTheImageBeforeIt)
{
    CDibCanvas canvas(20, 10, kWhite);
    const RECT rc = { 0, 0, 20, 10 };
    EXPECT_TRUE(Draw(canvas, rc, L"file='bg' file='half'"));
    // half's transparent left shows bg underneath; its right is blue.
    EXPECT_TRUE(RgbNear(canvas.Get(4, 5), kRed, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(15, 5), kBlue, 0));
}

TEST_F(RenderImageString, SourceAndFadeComeFromTheString)
{
    const RECT rc = { 0, 0, 20, 10 };
    CDibCanvas right(20, 10, kWhite);
    EXPECT_TRUE(Draw(right, rc, L"file='pair' source='1,0,2,1'"));
    EXPECT_EQ(0, right.CountOtherThan(0, 0, 20, 10, right.Get(0, 0)));
    EXPECT_TRUE(RgbNear(right.Get(0, 0), kBlue, 0));

    // A source past the image is cut to it: both pixels, stretched side by side (halftoning may
    // blend them where they meet).
    CDibCanvas whole(20, 10, kWhite);
    EXPECT_TRUE(Draw(whole, rc, L"file='pair' source='0,0,100,100'"));
    EXPECT_TRUE(RgbNear(whole.Get(0, 5), kRed, 0x40));
    EXPECT_TRUE(RgbNear(whole.Get(19, 5), kBlue, 0x40));

    CDibCanvas faded(20, 10, kWhite);
    EXPECT_TRUE(Draw(faded, rc, L"file='bg' fade='128'"));
    EXPECT_TRUE(ColorNear(faded.Get(10, 5), 0xFFFF7F7F, 2));
}

TEST_F(RenderImageString, ReportsOnlyAMissingManagerOrDC)
{
    CDibCanvas canvas(20, 10, kWhite);
    const RECT rc = { 0, 0, 20, 10 };
    EXPECT_FALSE(CRenderEngine::DrawImageString(canvas.GetDC(), NULL, rc, rc, L"bg", NULL));
    EXPECT_FALSE(CRenderEngine::DrawImageString(NULL, &m_manager, rc, rc, L"bg", NULL));
    EXPECT_TRUE(Draw(canvas, rc, L"file='no such image.png'"));
    EXPECT_TRUE(Draw(canvas, rc, L""));
    EXPECT_TRUE(Draw(canvas, rc, NULL));
    // Nothing under the paint rectangle: nothing drawn.
    const RECT rcPaint = { 0, 0, 20, 10 };
    const RECT rcAway = { 30, 30, 40, 40 };
    EXPECT_TRUE(CRenderEngine::DrawImageString(canvas.GetDC(), &m_manager, rcAway, rcPaint, L"bg", NULL));
    EXPECT_EQ(0, canvas.CountOtherThan(0, 0, 20, 10, kWhite));
}

TEST_F(RenderImageString, MaskAndResourceTypeReachTheLoader)
{
    CResourceScope scope;
    CTempFolder folder;
    ASSERT_TRUE(folder.WriteFile(L"m.bmp", MagentaGreenBmp()));
    CPaintManagerUI::SetResourcePath(folder.GetPath().c_str());
    const RECT rc = { 0, 0, 2, 1 };
    CDibCanvas masked(2, 1, kWhite);
    EXPECT_TRUE(Draw(masked, rc, L"file='m.bmp' mask='#FFFF00FF'"));
    EXPECT_EQ(kWhite, masked.Get(0, 0)) << "magenta was masked out";
    EXPECT_TRUE(RgbNear(masked.Get(1, 0), 0x00FF00, 0));
    // The cache knows the image by name: a later string without the mask gets the masked image.
    CDibCanvas again(2, 1, kWhite);
    EXPECT_TRUE(Draw(again, rc, L"m.bmp"));
    EXPECT_EQ(kWhite, again.Get(0, 0));

    // Module resource 101 of type PNG: red, green, blue over white, black and a half-covering pixel.
    const RECT rcResource = { 0, 0, 3, 2 };
    CDibCanvas resource(3, 2, kWhite);
    EXPECT_TRUE(Draw(resource, rcResource, L"res='101' restype='PNG'"));
    EXPECT_TRUE(RgbNear(resource.Get(0, 0), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(resource.Get(1, 0), 0x00FF00, 0));
    EXPECT_TRUE(RgbNear(resource.Get(2, 0), 0x0000FF, 0));
    EXPECT_TRUE(RgbNear(resource.Get(0, 1), 0xFFFFFF, 0));
    EXPECT_TRUE(RgbNear(resource.Get(1, 1), 0x000000, 0));
    // Without the type (and not cached yet) the name is a file name, and there is no such file.
    CPaintManagerUI fresh;
    CDibCanvas noType(3, 2, kWhite);
    EXPECT_TRUE(CRenderEngine::DrawImageString(noType.GetDC(), &fresh, rcResource, rcResource, L"res='101'", NULL));
    EXPECT_EQ(0, noType.CountOtherThan(0, 0, 3, 2, kWhite));
}

// Strings drawn without a modifier are parsed once per manager. The kept form must draw what a fresh parse
// draws (a modifier of one space changes nothing and is never kept), wherever the control is and at any scale.
TEST_F(RenderImageString, KeptStringsDrawWhatAFreshParseDraws)
{
    const LPCWSTR strings[] = { L"bg", L"file='bg' dest='2,3,12,9'", L"file='pair' source='1,0,2,1'",
                                L"file='bg' file='half' dest='4,0,8,6'", L"file='bg' fade='100' corner='1,1,1,1' hole='true'",
                                L"file='pair' xtiled='true' dest='0,0,9,4'" };
    const RECT places[] = { { 0, 0, 20, 10 }, { 7, 5, 30, 24 } };
    for (int nDpi : { 96, 144 }) {
        m_manager.SetDPI(nDpi);
        for (LPCWSTR image : strings) {
            for (int pass = 0; pass < 2; ++pass) {
                for (const RECT& rc : places) {
                    CDibCanvas kept(40, 30, kWhite);
                    CDibCanvas fresh(40, 30, kWhite);
                    EXPECT_TRUE(Draw(kept, rc, image));
                    EXPECT_TRUE(Draw(fresh, rc, image, L" "));
                    EXPECT_TRUE(SamePixels(kept, fresh)) << image << " at " << nDpi << " DPI, pass " << pass;
                }
            }
        }
    }
    EXPECT_EQ(static_cast<int>(sizeof(strings) / sizeof(strings[0])), m_manager.GetImageStringCache().GetCount());
}

// A kept string finds its picture again after the image is replaced, reloaded or the scale changes, and the
// number of kept strings stays bounded.
TEST_F(RenderImageString, KeptStringsFollowImageChangesAndStayBounded)
{
    const RECT rc = { 0, 0, 4, 4 };
    CDibCanvas canvas(4, 4, kWhite);
    EXPECT_TRUE(Draw(canvas, rc, L"file='bg'"));
    EXPECT_TRUE(RgbNear(canvas.Get(1, 1), kRed, 0));
    EXPECT_TRUE(m_manager.RemoveImage(L"bg"));
    // Made first so that it takes what the removed picture freed: a stale lookup would draw it.
    CTestBitmap green(4, 4, 0xFF00FF00);
    ASSERT_NE(static_cast<TImageInfo*>(NULL), m_manager.AddImage(L"other", green.Detach(), 4, 4, false));
    CTestBitmap blue(4, 4, kBlue);
    ASSERT_NE(static_cast<TImageInfo*>(NULL), m_manager.AddImage(L"bg", blue.Detach(), 4, 4, false));
    EXPECT_TRUE(Draw(canvas, rc, L"file='bg'"));
    EXPECT_TRUE(RgbNear(canvas.Get(1, 1), kBlue, 0)) << "the replaced picture is drawn";

    // A file reloaded in place: same image record, new bitmap.
    CResourceScope scope;
    CTempFolder folder;
    ASSERT_TRUE(folder.WriteFile(L"m.bmp", MagentaGreenBmp()));
    CPaintManagerUI::SetResourcePath(folder.GetPath().c_str());
    const RECT rcFile = { 0, 0, 2, 1 };
    CDibCanvas file(2, 1, kWhite);
    EXPECT_TRUE(Draw(file, rcFile, L"m.bmp"));
    EXPECT_TRUE(RgbNear(file.Get(0, 0), 0xFF00FF, 0));
    std::string swapped = MagentaGreenBmp();
    std::swap(swapped[swapped.size() - 8], swapped[swapped.size() - 5]);  // the two pixels change places
    std::swap(swapped[swapped.size() - 7], swapped[swapped.size() - 4]);
    std::swap(swapped[swapped.size() - 6], swapped[swapped.size() - 3]);
    ASSERT_TRUE(folder.WriteFile(L"m.bmp", swapped));
    m_manager.ReloadAllImages();
    EXPECT_TRUE(Draw(file, rcFile, L"m.bmp"));
    EXPECT_TRUE(RgbNear(file.Get(0, 0), 0x00FF00, 0)) << "the reloaded picture is drawn";

    // At 200 % the file's @2x picture (one row: magenta, magenta, green, green) is drawn instead.
    std::string twice = MagentaGreenBmp().substr(0, 54);
    twice[2] = 66;   // file size
    twice[18] = 4;   // width
    twice[34] = 12;  // pixel bytes
    twice += std::string("\xFF\x00\xFF\xFF\x00\xFF\x00\xFF\x00\x00\xFF\x00", 12);
    ASSERT_TRUE(folder.WriteFile(L"m@2x.bmp", twice));
    m_manager.SetDPI(192);
    CDibCanvas scaled(4, 2, kWhite);
    const RECT rcScaled = { 0, 0, 4, 2 };
    EXPECT_TRUE(Draw(scaled, rcScaled, L"m.bmp"));
    EXPECT_TRUE(RgbNear(scaled.Get(0, 0), 0xFF00FF, 0)) << "the @2x picture is drawn at 200 %";

    for (int i = 0; i < CImageStringCache::kMaxStrings + 10; ++i)
        Draw(canvas, rc, (L"file='bg' fade='" + std::to_wstring(i) + L"'").c_str());
    EXPECT_LE(m_manager.GetImageStringCache().GetCount(), static_cast<int>(CImageStringCache::kMaxStrings));
    EXPECT_GT(m_manager.GetImageStringCache().GetCount(), 0);
}
