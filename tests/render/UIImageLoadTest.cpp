// Tests of image loading: each decoder format, premultiplication, masks, the sources, damaged data, icons.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/window/UIManager.h"

#include "support/ResourceScope.h"
#include "support/TempFolder.h"
#include "support/ZipWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

// The GDI+ headers expect min and max in their own namespace.
namespace Gdiplus {
using std::max;
using std::min;
}
#include <gdiplus.h>

using namespace Veneer;

namespace {

struct Px
{
    BYTE r, g, b, a;
};

struct TestImage
{
    int width;
    int height;
    std::vector<Px> pixels;
};

struct ImageDeleter
{
    void operator()(TImageInfo* image) const { CRenderEngine::FreeImage(image); }
};
typedef std::unique_ptr<TImageInfo, ImageDeleter> ImageHolder;

const Px kMagenta = { 255, 0, 255, 255 };

// An 8x8 grey progressive JPEG (start-of-frame 0xC2): columns 0-3 are 200, columns 4-7 are 40.
const BYTE kProgressiveJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xFF, 0xC2, 0x00, 0x0B, 0x08, 0x00, 0x08, 0x00, 0x08,
    0x01, 0x01, 0x11, 0x00, 0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01,
    0x00, 0x00, 0x00, 0x01, 0x3F, 0xFF, 0xC4, 0x00, 0x15, 0x10, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0xFF, 0xDA, 0x00, 0x08,
    0x01, 0x01, 0x00, 0x01, 0x05, 0x02, 0xA4, 0x5F, 0xFF, 0xC4, 0x00, 0x17, 0x10, 0x00, 0x03, 0x01,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0x86,
    0xC5, 0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x06, 0x3F, 0x02, 0x4C, 0xA2, 0xC3, 0x3F, 0xFF,
    0xC4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x01, 0x3F, 0x21, 0x0F,
    0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x00, 0x10, 0x7F, 0xFF, 0xC4, 0x00, 0x14, 0x10,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x01, 0x3F, 0x10, 0x0F, 0xFF, 0xD9
};

// A width x height picture whose colours vary in both directions, so row order and channel order show.
TestImage Gradient(int width, int height)
{
    TestImage image = { width, height, {} };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Px p = { BYTE(x * 255 / std::max(1, width - 1)), BYTE(y * 255 / std::max(1, height - 1)),
                     BYTE((x + y) * 7), 255 };
            image.pixels.push_back(p);
        }
    }
    return image;
}

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

// The picture as tightly packed bytes of the given channel count (3 drops alpha).
std::vector<BYTE> Packed(const TestImage& image, int channels)
{
    std::vector<BYTE> bytes;
    for (const Px& p : image.pixels) {
        bytes.push_back(p.r);
        bytes.push_back(p.g);
        bytes.push_back(p.b);
        if (channels == 4) {
            bytes.push_back(p.a);
        }
    }
    return bytes;
}

std::string EncodePng(const TestImage& image)
{
    std::vector<BYTE> rgba = Packed(image, 4);
    std::string out;
    stbi_write_png_to_func(AppendBytes, &out, image.width, image.height, 4, rgba.data(), image.width * 4);
    return out;
}

std::string EncodeBmp(const TestImage& image, int channels)
{
    std::vector<BYTE> bytes = Packed(image, channels);
    std::string out;
    stbi_write_bmp_to_func(AppendBytes, &out, image.width, image.height, channels, bytes.data());
    return out;
}

std::string EncodeTga(const TestImage& image, bool rle)
{
    std::vector<BYTE> rgba = Packed(image, 4);
    std::string out;
    stbi_write_tga_with_rle = rle ? 1 : 0;
    stbi_write_tga_to_func(AppendBytes, &out, image.width, image.height, 4, rgba.data());
    return out;
}

std::string EncodeJpg(const TestImage& image, int quality)
{
    std::vector<BYTE> rgb = Packed(image, 3);
    std::string out;
    stbi_write_jpg_to_func(AppendBytes, &out, image.width, image.height, 3, rgb.data(), quality);
    return out;
}

void Put16(std::string& out, int value)
{
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

// Smallest useful GIF: a four-colour global palette, an optional transparent index, and LZW codes
// that stay 3 bits wide because a clear code precedes every pair of pixels.
std::string EncodeGif(int width, int height, const Px (&palette)[4], const std::vector<BYTE>& indices,
                      int transparent)
{
    std::string out = "GIF89a";
    Put16(out, width);
    Put16(out, height);
    out += char(0xF1);  // global palette of 2^(1+1) entries
    out += char(0);
    out += char(0);
    for (const Px& p : palette) {
        out += char(p.r);
        out += char(p.g);
        out += char(p.b);
    }
    if (transparent >= 0) {
        out += std::string("\x21\xF9\x04\x01\x00\x00", 6);
        out += char(transparent);
        out += char(0);
    }
    out += char(0x2C);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, width);
    Put16(out, height);
    out += char(0);
    out += char(2);  // LZW minimum code size

    const unsigned kClear = 4;
    const unsigned kEnd = 5;
    std::string codes;
    unsigned buffer = 0;
    int bits = 0;
    auto emit = [&](unsigned code) {
        buffer |= code << bits;
        bits += 3;
        while (bits >= 8) {
            codes += char(buffer & 0xFF);
            buffer >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < indices.size(); ++i) {
        if (i % 2 == 0) {
            emit(kClear);
        }
        emit(indices[i]);
    }
    emit(kEnd);
    if (bits > 0) {
        codes += char(buffer & 0xFF);
    }
    for (size_t pos = 0; pos < codes.size(); pos += 255) {
        size_t length = std::min<size_t>(255, codes.size() - pos);
        out += char(length);
        out += codes.substr(pos, length);
    }
    out += char(0);
    out += char(0x3B);
    return out;
}

void Put16Be(std::string& out, int value)
{
    out += char((value >> 8) & 0xFF);
    out += char(value & 0xFF);
}

void Put32Be(std::string& out, DWORD value)
{
    Put16Be(out, int(value >> 16));
    Put16Be(out, int(value & 0xFFFF));
}

// An uncompressed 8-bit RGBA Photoshop file: planar channels, red first, alpha last.
std::string EncodePsd(const TestImage& image)
{
    std::string out = "8BPS";
    Put16Be(out, 1);
    out += std::string(6, '\0');
    Put16Be(out, 4);
    Put32Be(out, DWORD(image.height));
    Put32Be(out, DWORD(image.width));
    Put16Be(out, 8);
    Put16Be(out, 3);  // RGB
    Put32Be(out, 0);  // colour mode data
    Put32Be(out, 0);  // image resources
    Put32Be(out, 0);  // layers and masks
    Put16Be(out, 0);  // raw
    for (int channel = 0; channel < 4; ++channel) {
        for (const Px& p : image.pixels) {
            const BYTE value[4] = { p.r, p.g, p.b, p.a };
            out += char(value[channel]);
        }
    }
    return out;
}

// A Softimage picture with one uncompressed RGBA packet: interleaved pixels, row by row.
std::string EncodePic(const TestImage& image)
{
    std::string out("\x53\x80\xF6\x34", 4);
    out += std::string(84, '\0');
    out += "PICT";
    Put16Be(out, image.width);
    Put16Be(out, image.height);
    Put32Be(out, 0);  // ratio
    Put16Be(out, 3);  // fields
    Put16Be(out, 0);
    out += std::string("\x00\x08\x00\xF0", 4);  // last packet, 8 bits, uncompressed, R G B A
    for (const Px& p : image.pixels) {
        out += char(p.r);
        out += char(p.g);
        out += char(p.b);
        out += char(p.a);
    }
    return out;
}

// A PNG of width x height black grey pixels, deflated row by row so no large buffer is needed.
std::string EncodeBlackPng(DWORD width, DWORD height)
{
    z_stream z;
    memset(&z, 0, sizeof(z));
    deflateInit(&z, Z_BEST_SPEED);
    std::vector<Bytef> row(width + 1, 0);
    std::string idat;
    std::vector<Bytef> chunk(65536);
    for (DWORD y = 0; y <= height; ++y) {
        const bool last = (y == height);
        z.next_in = last ? NULL : row.data();
        z.avail_in = last ? 0 : static_cast<uInt>(row.size());
        do {
            z.next_out = chunk.data();
            z.avail_out = static_cast<uInt>(chunk.size());
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            idat.append(reinterpret_cast<const char*>(chunk.data()), chunk.size() - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);

    auto be32 = [](DWORD v) {
        std::string s;
        s += char(v >> 24);
        s += char((v >> 16) & 0xFF);
        s += char((v >> 8) & 0xFF);
        s += char(v & 0xFF);
        return s;
    };
    auto chunkOf = [&](const char* type, const std::string& data) {
        std::string body = std::string(type, 4) + data;
        uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
        return be32(static_cast<DWORD>(data.size())) + body + be32(static_cast<DWORD>(crc));
    };
    std::string header = be32(width) + be32(height) + std::string("\x08\x00\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1A\n", 8) + chunkOf("IHDR", header) + chunkOf("IDAT", idat) +
           chunkOf("IEND", "");
}

// The loaded pixels as 0xAARRGGBB words, after checking the section is 32-bit without padding.
std::vector<DWORD> Pixels(const TImageInfo* image)
{
    std::vector<DWORD> pixels;
    DIBSECTION section;
    if (image == NULL || ::GetObjectW(image->hBmp, sizeof(section), &section) != sizeof(section)) {
        ADD_FAILURE() << "not a DIB section";
        return pixels;
    }
    EXPECT_EQ(32, section.dsBmih.biBitCount);
    EXPECT_EQ(image->nWidth, section.dsBmih.biWidth);
    EXPECT_EQ(image->nHeight, abs(section.dsBmih.biHeight));
    EXPECT_EQ(image->nWidth * 4, section.dsBm.bmWidthBytes);
    const DWORD* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    pixels.assign(bits, bits + static_cast<size_t>(image->nWidth) * image->nHeight);
    return pixels;
}

class ImageLoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.IsValid());
        CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    }

    ImageHolder LoadBytes(const std::string& bytes, DWORD mask = 0)
    {
        EXPECT_TRUE(m_folder.WriteFile(L"image.bin", bytes));
        return ImageHolder(CRenderEngine::LoadImage(L"image.bin", NULL, mask));
    }

    CResourceScope m_scope;
    CTempFolder m_folder;
};

TEST_F(ImageLoadTest, PngIsPremultipliedTopDownInArgbOrder)
{
    TestImage image = { 3, 2, {
        { 200, 100, 50, 254 }, { 10, 20, 30, 255 }, { 90, 180, 250, 0 },
        { 255, 255, 255, 128 }, { 1, 2, 3, 255 }, { 255, 0, 0, 1 } } };
    ImageHolder loaded = LoadBytes(EncodePng(image));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(3, loaded->nWidth);
    EXPECT_EQ(2, loaded->nHeight);
    EXPECT_TRUE(loaded->bAlpha);
    EXPECT_TRUE(loaded->sResourceType.IsEmpty());
    std::vector<DWORD> px = Pixels(loaded.get());
    ASSERT_EQ(6u, px.size());
    EXPECT_EQ(0xFEC76331u, px[0]);  // 200, 100, 50 scaled by 254/255, truncated: 199, 99, 49
    EXPECT_EQ(0xFF0A141Eu, px[1]);
    EXPECT_EQ(0x00000000u, px[2]);  // alpha 0 clears the colour whatever it was
    EXPECT_EQ(0x80808080u, px[3]);
    EXPECT_EQ(0xFF010203u, px[4]);
    EXPECT_EQ(0x01010000u, px[5]);

    // Rows are stored top-down: GDI sees the first row in memory at the top.
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, loaded->hBmp);
    EXPECT_EQ(RGB(10, 20, 30), ::GetPixel(dc, 1, 0));
    EXPECT_EQ(RGB(1, 2, 3), ::GetPixel(dc, 1, 1));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

TEST_F(ImageLoadTest, OpaqueImagesHaveNoAlpha)
{
    TestImage image = Gradient(5, 4);
    ImageHolder png = LoadBytes(EncodePng(image));
    ASSERT_TRUE(png);
    EXPECT_FALSE(png->bAlpha);
    std::vector<DWORD> px = Pixels(png.get());
    for (size_t i = 0; i < px.size(); ++i) {
        const Px& p = image.pixels[i];
        EXPECT_EQ(0xFF000000u | (DWORD(p.r) << 16) | (DWORD(p.g) << 8) | p.b, px[i]) << i;
    }

    ImageHolder bmp = LoadBytes(EncodeBmp(image, 3));
    ASSERT_TRUE(bmp);
    EXPECT_FALSE(bmp->bAlpha);
    EXPECT_EQ(px, Pixels(bmp.get()));
}

TEST_F(ImageLoadTest, BmpAndTgaKeepTheirAlpha)
{
    TestImage image = { 2, 2, { { 200, 100, 50, 254 }, { 9, 9, 9, 0 }, { 0, 0, 255, 255 }, { 255, 0, 0, 51 } } };
    const std::vector<DWORD> expected = { 0xFEC76331u, 0x00000000u, 0xFF0000FFu, 0x33330000u };

    ImageHolder bmp = LoadBytes(EncodeBmp(image, 4));
    ASSERT_TRUE(bmp);
    EXPECT_TRUE(bmp->bAlpha);
    EXPECT_EQ(expected, Pixels(bmp.get()));

    for (bool rle : { false, true }) {
        ImageHolder tga = LoadBytes(EncodeTga(image, rle));
        ASSERT_TRUE(tga) << rle;
        EXPECT_TRUE(tga->bAlpha);
        EXPECT_EQ(expected, Pixels(tga.get())) << rle;
    }
}

TEST_F(ImageLoadTest, ProgressiveJpegIsDecoded)
{
    ImageHolder jpg = LoadBytes(std::string(reinterpret_cast<const char*>(kProgressiveJpeg),
                                            sizeof(kProgressiveJpeg)));
    ASSERT_TRUE(jpg);
    EXPECT_EQ(8, jpg->nWidth);
    EXPECT_EQ(8, jpg->nHeight);
    EXPECT_FALSE(jpg->bAlpha);
    std::vector<DWORD> px = Pixels(jpg.get());
    ASSERT_EQ(64u, px.size());
    for (int i : { 0, 9, 58 }) {
        EXPECT_NEAR(200, int(px[i] & 0xFF), 6) << i;
        EXPECT_EQ(px[i] & 0xFF, (px[i] >> 16) & 0xFF);
    }
    for (int i : { 7, 13, 63 }) {
        EXPECT_NEAR(40, int(px[i] & 0xFF), 6) << i;
    }
}

TEST_F(ImageLoadTest, PsdAndPicAreDecoded)
{
    // Photoshop composites are matted against white where alpha is partial, so only 0 and 255 are
    // compared exactly there.
    TestImage psdImage = { 3, 2, { { 200, 100, 50, 255 }, { 9, 9, 9, 0 }, { 0, 0, 255, 255 },
                                   { 1, 2, 3, 255 }, { 255, 255, 255, 255 }, { 70, 0, 0, 255 } } };
    ImageHolder psd = LoadBytes(EncodePsd(psdImage));
    ASSERT_TRUE(psd);
    EXPECT_EQ(3, psd->nWidth);
    EXPECT_EQ(2, psd->nHeight);
    EXPECT_TRUE(psd->bAlpha);
    EXPECT_EQ(std::vector<DWORD>({ 0xFFC86432u, 0u, 0xFF0000FFu, 0xFF010203u, 0xFFFFFFFFu, 0xFF460000u }),
              Pixels(psd.get()));
    psdImage.pixels[1].a = 255;
    ImageHolder opaquePsd = LoadBytes(EncodePsd(psdImage));
    ASSERT_TRUE(opaquePsd);
    EXPECT_FALSE(opaquePsd->bAlpha);

    TestImage picImage = { 2, 2, { { 200, 100, 50, 254 }, { 9, 9, 9, 0 }, { 0, 0, 255, 255 }, { 255, 0, 0, 51 } } };
    ImageHolder pic = LoadBytes(EncodePic(picImage), 0xFF0000FF);
    ASSERT_TRUE(pic);
    EXPECT_TRUE(pic->bAlpha);
    EXPECT_EQ(std::vector<DWORD>({ 0xFEC76331u, 0u, 0u, 0x33330000u }), Pixels(pic.get()));
    const std::string picBytes = EncodePic(picImage);
    for (size_t cut : { size_t(4), size_t(95), size_t(104), size_t(108), picBytes.size() - 1 }) {
        ImageHolder part = LoadBytes(picBytes.substr(0, cut));
        if (part) {
            EXPECT_EQ(4u, Pixels(part.get()).size()) << cut;
        }
    }
    EXPECT_FALSE(LoadBytes(picBytes.substr(0, 104))) << "no packet";
}

TEST_F(ImageLoadTest, GifPaletteAndTransparentIndex)
{
    const Px palette[4] = { { 255, 0, 0, 255 }, { 0, 255, 0, 255 }, { 0, 0, 255, 255 }, { 17, 34, 51, 255 } };
    const std::vector<BYTE> indices = { 0, 1, 2, 3, 2, 1 };

    ImageHolder opaque = LoadBytes(EncodeGif(3, 2, palette, indices, -1));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(3, opaque->nWidth);
    EXPECT_EQ(2, opaque->nHeight);
    EXPECT_FALSE(opaque->bAlpha);
    EXPECT_EQ(std::vector<DWORD>({ 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF112233u, 0xFF0000FFu,
                                   0xFF00FF00u }),
              Pixels(opaque.get()));

    ImageHolder keyed = LoadBytes(EncodeGif(3, 2, palette, indices, 2));
    ASSERT_TRUE(keyed);
    EXPECT_TRUE(keyed->bAlpha);
    EXPECT_EQ(std::vector<DWORD>({ 0xFFFF0000u, 0xFF00FF00u, 0u, 0xFF112233u, 0u, 0xFF00FF00u }),
              Pixels(keyed.get()));
}

TEST_F(ImageLoadTest, MaskClearsMatchingPixelsAfterPremultiplication)
{
    TestImage image = { 2, 2, { kMagenta, { 255, 0, 254, 255 }, { 255, 0, 255, 128 }, { 0, 0, 0, 255 } } };
    const std::string png = EncodePng(image);

    ImageHolder magenta = LoadBytes(png, 0xFFFF00FF);
    ASSERT_TRUE(magenta);
    EXPECT_EQ(std::vector<DWORD>({ 0u, 0xFFFF00FEu, 0x80800080u, 0xFF000000u }), Pixels(magenta.get()));

    // The half-transparent magenta is matched by its premultiplied value, not by its decoded one.
    ImageHolder half = LoadBytes(png, 0x80800080);
    ASSERT_TRUE(half);
    EXPECT_EQ(std::vector<DWORD>({ 0xFFFF00FFu, 0xFFFF00FEu, 0u, 0xFF000000u }), Pixels(half.get()));
    ImageHolder straight = LoadBytes(png, 0x80FF00FF);
    ASSERT_TRUE(straight);
    EXPECT_EQ(0x80800080u, Pixels(straight.get())[2]);

    // A mask is compared with all 32 bits: without its alpha byte it never matches an opaque pixel.
    TestImage opaque = { 2, 1, { kMagenta, { 1, 2, 3, 255 } } };
    ImageHolder bmp = LoadBytes(EncodeBmp(opaque, 3), 0xFFFF00FF);
    ASSERT_TRUE(bmp);
    EXPECT_TRUE(bmp->bAlpha);
    EXPECT_EQ(std::vector<DWORD>({ 0u, 0xFF010203u }), Pixels(bmp.get()));
    ImageHolder noAlphaByte = LoadBytes(EncodeBmp(opaque, 3), 0x00FF00FF);
    ASSERT_TRUE(noAlphaByte);
    EXPECT_FALSE(noAlphaByte->bAlpha);
    EXPECT_EQ(std::vector<DWORD>({ 0xFFFF00FFu, 0xFF010203u }), Pixels(noAlphaByte.get()));
}

TEST_F(ImageLoadTest, JpegIsOpaqueAndMaskClearsPureMagenta)
{
    // Flat 8x8 blocks at full quality decode to their exact colours, so the mask can match.
    TestImage image = { 16, 8, {} };
    for (int i = 0; i < 128; ++i) {
        image.pixels.push_back((i % 16) < 8 ? kMagenta : Px{ 40, 40, 40, 255 });
    }
    const std::string bytes = EncodeJpg(image, 100);
    ImageHolder plain = LoadBytes(bytes);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->bAlpha);
    EXPECT_EQ(0xFFFF00FFu, Pixels(plain.get())[0]);

    ImageHolder jpg = LoadBytes(bytes, 0xFFFF00FF);
    ASSERT_TRUE(jpg);
    EXPECT_TRUE(jpg->bAlpha);
    std::vector<DWORD> px = Pixels(jpg.get());
    ASSERT_EQ(128u, px.size());
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ((i % 16) < 8 ? 0u : 0xFF282828u, px[i]) << i;
    }
}

TEST_F(ImageLoadTest, ModuleResourcesByIdAndName)
{
    // A loose file that would answer to the same name must not be consulted.
    ASSERT_TRUE(m_folder.WriteFile(L"101", EncodePng(Gradient(7, 7))));
    const std::vector<DWORD> expected = { 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu,
                                          0xFFFFFFFFu, 0xFF000000u, 0x80643219u };

    ImageHolder byId(CRenderEngine::LoadImage(101, L"PNG"));
    ASSERT_TRUE(byId);
    EXPECT_EQ(3, byId->nWidth);
    EXPECT_EQ(2, byId->nHeight);
    EXPECT_TRUE(byId->bAlpha);
    EXPECT_EQ(expected, Pixels(byId.get()));

    ImageHolder byName(CRenderEngine::LoadImage(L"LOGO", L"IMAGE"));
    ASSERT_TRUE(byName);
    EXPECT_EQ(expected, Pixels(byName.get()));

    ImageHolder masked(CRenderEngine::LoadImage(101, L"PNG", 0xFF0000FF));
    ASSERT_TRUE(masked);
    EXPECT_EQ(0u, Pixels(masked.get())[2]);

    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(104, L"PNG")));         // no such id
    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(101, L"JPG")));         // no such type
    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(102, L"PNG")));         // size 0
    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(103, L"PNG")));         // not an image
    // Without a type an id names nothing: ids are module resources only.
    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(101)));
}

TEST_F(ImageLoadTest, FilesUnderTheResourcePathAndElsewhere)
{
    ASSERT_TRUE(m_folder.WriteFile(L"img\\bg.png", EncodePng(Gradient(4, 3))));
    ImageHolder nested(CRenderEngine::LoadImage(L"img\\bg.png"));
    ASSERT_TRUE(nested);
    EXPECT_EQ(4, nested->nWidth);

    // A full path outside the resource path is found by the last step of the lookup.
    CTempFolder other;
    ASSERT_TRUE(other.WriteFile(L"far.bmp", EncodeBmp(Gradient(6, 2), 3)));
    const std::wstring distantPath = other.GetFile(L"far.bmp");
    ImageHolder distant(CRenderEngine::LoadImage(distantPath.c_str()));
    ASSERT_TRUE(distant);
    EXPECT_EQ(6, distant->nWidth);
    // So is a path when a resource type was asked for but the module has no such resource.
    ImageHolder typedDistant(CRenderEngine::LoadImage(distantPath.c_str(), L"PNG"));
    ASSERT_TRUE(typedDistant);
    EXPECT_EQ(2, typedDistant->nHeight);

    ASSERT_TRUE(m_folder.WriteFile(L"empty.png", ""));
    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(L"empty.png")));
    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(L"missing.png")));
    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(L"")));
    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(L"img")));  // a folder
    ASSERT_TRUE(m_folder.WriteFile(L"text.png", "plain text, no picture"));
    EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(L"text.png")));
}

TEST_F(ImageLoadTest, ArchiveEntriesReplaceLooseFiles)
{
    const std::string png = EncodePng(Gradient(4, 3));
    CZipWriter zip;
    zip.Add("img/bg.png", png);
    zip.Add("logo.bmp", EncodeBmp(Gradient(5, 2), 3), false);
    zip.Add("empty.png", "");
    zip.Add("broken.png", png.substr(0, png.size() / 2));
    const std::string archive = zip.Build();
    ASSERT_TRUE(m_folder.WriteFile(L"skin.zip", archive));
    // With an archive set, a loose file of the same name is not used.
    ASSERT_TRUE(m_folder.WriteFile(L"img\\bg.png", EncodePng(Gradient(7, 7))));
    CTempFolder other;
    ASSERT_TRUE(other.WriteFile(L"outside.png", EncodePng(Gradient(2, 9))));
    const std::wstring outside = other.GetFile(L"outside.png");

    auto check = [&](const char* how) {
        ImageHolder bg(CRenderEngine::LoadImage(L"IMG\\Bg.PNG"));
        ASSERT_TRUE(bg) << how;
        EXPECT_EQ(4, bg->nWidth) << how;
        EXPECT_EQ(3, bg->nHeight) << how;
        ImageHolder logo(CRenderEngine::LoadImage(L"logo.bmp"));
        ASSERT_TRUE(logo) << how;
        EXPECT_EQ(5, logo->nWidth) << how;
        EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(L"empty.png"))) << how;
        EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(L"broken.png"))) << how;
        EXPECT_FALSE(ImageHolder(CRenderEngine::LoadImage(L"missing.png"))) << how;
        ImageHolder distant(CRenderEngine::LoadImage(outside.c_str()));
        ASSERT_TRUE(distant) << how;
        EXPECT_EQ(9, distant->nHeight) << how;
    };

    CPaintManagerUI::SetResourceZip(L"skin.zip", true);
    check("cached");
    CPaintManagerUI::SetResourceZip(L"skin.zip", false);
    check("opened per read");
    CResourceScope::ClearArchive();
    CPaintManagerUI::SetResourceZip(const_cast<char*>(archive.data()), static_cast<unsigned int>(archive.size()));
    check("in memory");
    CResourceScope::ClearArchive();

    // Nothing the loader opened is left open.
    EXPECT_TRUE(::DeleteFileW(m_folder.GetFile(L"skin.zip").c_str()));
    EXPECT_TRUE(::DeleteFileW(outside.c_str()));
}

TEST_F(ImageLoadTest, TruncatedImagesFailCleanly)
{
    const Px palette[4] = { { 255, 0, 0, 255 }, { 0, 255, 0, 255 }, { 0, 0, 255, 255 }, { 9, 9, 9, 255 } };
    std::vector<BYTE> indices;
    for (int i = 0; i < 64; ++i) {
        indices.push_back(BYTE(i % 4));
    }
    const TestImage image = Gradient(16, 8);
    const std::vector<std::pair<const char*, std::string>> files = {
        { "png", EncodePng(image) },       { "bmp24", EncodeBmp(image, 3) }, { "bmp32", EncodeBmp(image, 4) },
        { "tga", EncodeTga(image, false) }, { "tga-rle", EncodeTga(image, true) },
        { "jpg", EncodeJpg(image, 80) },   { "gif", EncodeGif(8, 8, palette, indices, 1) },
    };
    for (const auto& file : files) {
        ImageHolder whole = LoadBytes(file.second);
        ASSERT_TRUE(whole) << file.first;
        const size_t step = std::max<size_t>(1, file.second.size() / 120);
        for (size_t cut = 0; cut < file.second.size(); cut += step) {
            ImageHolder part = LoadBytes(file.second.substr(0, cut));
            // Some decoders accept missing pixel data; none may invent another size.
            if (part) {
                EXPECT_EQ(whole->nWidth, part->nWidth) << file.first << " cut at " << cut;
                EXPECT_EQ(whole->nHeight, part->nHeight) << file.first << " cut at " << cut;
                EXPECT_EQ(size_t(whole->nWidth) * whole->nHeight, Pixels(part.get()).size());
            }
            if (cut < 18) {
                EXPECT_FALSE(part) << file.first << " header cut at " << cut;
            }
        }
    }
}

TEST_F(ImageLoadTest, DamagedHeadersFailCleanly)
{
    const TestImage image = Gradient(5, 3);
    const Px palette[4] = { { 255, 0, 0, 255 }, { 0, 255, 0, 255 }, { 0, 0, 255, 255 }, { 9, 9, 9, 255 } };
    const std::vector<std::string> files = { EncodePng(image), EncodeBmp(image, 4), EncodeTga(image, true),
                                             EncodeJpg(image, 80),
                                             EncodeGif(5, 3, palette, std::vector<BYTE>(15, 2), 1),
                                             EncodePsd(image), EncodePic(image) };
    for (const std::string& file : files) {
        for (size_t at = 0; at < std::min<size_t>(file.size(), 64); ++at) {
            for (BYTE value : { BYTE(0x00), BYTE(0xFF), BYTE(file[at] ^ 0x80) }) {
                std::string damaged = file;
                damaged[at] = char(value);
                ImageHolder loaded = LoadBytes(damaged);
                if (loaded) {
                    EXPECT_EQ(size_t(loaded->nWidth) * loaded->nHeight, Pixels(loaded.get()).size());
                    EXPECT_LE(loaded->nWidth, 16384);
                    EXPECT_LE(loaded->nHeight, 16384);
                }
            }
        }
    }
}

TEST_F(ImageLoadTest, DamagedPixelDataFailsCleanly)
{
    // Compressed streams with bytes overwritten past their headers: a picture of the right size or
    // nothing, never a read beyond the data.
    const TestImage image = Gradient(24, 16);
    const Px palette[4] = { { 255, 0, 0, 255 }, { 0, 255, 0, 255 }, { 0, 0, 255, 255 }, { 9, 9, 9, 255 } };
    std::vector<BYTE> indices;
    for (int i = 0; i < 64; ++i) {
        indices.push_back(BYTE((i * 7) % 4));
    }
    const std::string jpg = EncodeJpg(image, 70);
    const size_t jpgScan = jpg.find("\xFF\xDA");
    ASSERT_NE(std::string::npos, jpgScan);
    const std::string gif = EncodeGif(8, 8, palette, indices, -1);
    const size_t gifImage = gif.find('\x2C', 13 + 12);
    ASSERT_NE(std::string::npos, gifImage);
    // Each file with the offset where its pixel data starts.
    const std::vector<std::tuple<const char*, std::string, size_t>> files = {
        std::make_tuple("png", EncodePng(image), size_t(33)),
        std::make_tuple("jpg", jpg, jpgScan + 2 + (BYTE(jpg[jpgScan + 2]) << 8) + BYTE(jpg[jpgScan + 3])),
        std::make_tuple("tga-rle", EncodeTga(image, true), size_t(18)),
        std::make_tuple("gif", gif, gifImage + 11),
    };
    unsigned seed = 12345;
    for (const auto& file : files) {
        const char* name = std::get<0>(file);
        const std::string& bytes = std::get<1>(file);
        const size_t start = std::get<2>(file);
        ASSERT_LT(start, bytes.size()) << name;
        ImageHolder whole = LoadBytes(bytes);
        ASSERT_TRUE(whole) << name;
        for (int round = 0; round < 60; ++round) {
            std::string damaged = bytes;
            for (int hit = 0; hit < 4; ++hit) {
                seed = seed * 1103515245u + 12345u;
                const size_t at = start + (seed >> 8) % (damaged.size() - start);
                damaged[at] = char((seed >> 20) & 0xFF);
            }
            ImageHolder loaded = LoadBytes(damaged);
            if (loaded) {
                EXPECT_EQ(whole->nWidth, loaded->nWidth) << name << " round " << round;
                EXPECT_EQ(whole->nHeight, loaded->nHeight) << name << " round " << round;
                EXPECT_EQ(size_t(loaded->nWidth) * loaded->nHeight, Pixels(loaded.get()).size());
            }
        }
    }
}

TEST_F(ImageLoadTest, HugeDimensionsAreRefused)
{
    // The widest accepted picture loads; one pixel more does not.
    ImageHolder widest = LoadBytes(EncodeBlackPng(16384, 1));
    ASSERT_TRUE(widest);
    EXPECT_EQ(16384, widest->nWidth);
    EXPECT_FALSE(LoadBytes(EncodeBlackPng(16385, 1)));
    EXPECT_FALSE(LoadBytes(EncodeBlackPng(1, 16385)));
    // Within the side limit but too many pixels in all (a valid, fully decodable picture).
    EXPECT_FALSE(LoadBytes(EncodeBlackPng(8192, 4097)));

    // Headers that claim sizes whose byte count overflows 32 bits, over a few real bytes.
    std::string png = EncodePng(Gradient(2, 2));
    for (DWORD side : { 0x10000u, 0x7FFFFFFFu, 0xFFFFFFFFu }) {
        std::string claimed = png;
        for (int i = 0; i < 4; ++i) {
            claimed[16 + i] = char((side >> (24 - 8 * i)) & 0xFF);
            claimed[20 + i] = char((side >> (24 - 8 * i)) & 0xFF);
        }
        EXPECT_FALSE(LoadBytes(claimed)) << side;
    }
    std::string bmp = EncodeBmp(Gradient(2, 2), 4);
    for (LONG side : { 46341L, 0x7FFFFFFFL, -0x7FFFFFFFL }) {
        std::string claimed = bmp;
        memcpy(&claimed[18], &side, 4);
        memcpy(&claimed[22], &side, 4);
        EXPECT_FALSE(LoadBytes(claimed)) << side;
    }
}

// A 4x4 icon: a transparent black top-left pixel, masked out, then the second pixel and the rest in the
// given colours (0xAARRGGBB), by default opaque red.
class CTestIcon
{
public:
    explicit CTestIcon(DWORD second = 0xFFFF0000, DWORD rest = 0xFFFF0000) : m_colour(NULL), m_mask(NULL), m_icon(NULL)
    {
        BITMAPINFO bmi;
        memset(&bmi, 0, sizeof(bmi));
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = 4;
        bmi.bmiHeader.biHeight = -4;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* bits = NULL;
        m_colour = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
        if (m_colour == NULL || bits == NULL) {
            return;
        }
        DWORD* px = static_cast<DWORD*>(bits);
        for (int i = 0; i < 16; ++i) {
            px[i] = i == 0 ? 0 : i == 1 ? second : rest;
        }
        const BYTE maskBits[8] = { 0x80, 0, 0, 0, 0, 0, 0, 0 };
        m_mask = ::CreateBitmap(4, 4, 1, 1, maskBits);
        ICONINFO iconInfo = { TRUE, 0, 0, m_mask, m_colour };
        m_icon = ::CreateIconIndirect(&iconInfo);
    }
    ~CTestIcon()
    {
        if (m_icon != NULL) {
            ::DestroyIcon(m_icon);
        }
        ::DeleteObject(m_mask);
        ::DeleteObject(m_colour);
    }
    HICON Get() const { return m_icon; }

private:
    HBITMAP m_colour;
    HBITMAP m_mask;
    HICON m_icon;
};

TEST(ImageIcon, WithoutGdiplusNoCrash)
{
    // GDI+ reports that it was not started; some implementations convert anyway.
    CTestIcon icon;
    ASSERT_TRUE(icon.Get() != NULL);
    ImageHolder image(CRenderEngine::LoadImageFromHICON(icon.Get()));
    if (image) {
        EXPECT_EQ(4, image->nWidth);
        EXPECT_EQ(16u, Pixels(image.get()).size());
    }
}

TEST(ImageIcon, ConvertsOverOpaqueBlack)
{
    EXPECT_TRUE(CRenderEngine::LoadImageFromHICON(NULL) == NULL);

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, NULL));
    CTestIcon icon;
    ASSERT_TRUE(icon.Get() != NULL);

    ImageHolder image(CRenderEngine::LoadImageFromHICON(icon.Get()));
    ASSERT_TRUE(image);
    EXPECT_EQ(4, image->nWidth);
    EXPECT_EQ(4, image->nHeight);
    EXPECT_FALSE(image->bAlpha);
    std::vector<DWORD> out = Pixels(image.get());
    ASSERT_EQ(16u, out.size());
    EXPECT_EQ(0xFF000000u, out[0]);
    for (int i = 1; i < 16; ++i) {
        EXPECT_EQ(0xFFFF0000u, out[i]) << i;
    }
    image.reset();
    Gdiplus::GdiplusShutdown(token);
}

// The icon's own transparency: its alpha channel premultiplied, or its mask when it has no alpha.
TEST(ImageIcon, KeepsTheIconsOwnTransparency)
{
    EXPECT_TRUE(CRenderEngine::LoadAlphaImageFromHICON(NULL) == NULL);
    const struct { DWORD second; DWORD rest; DWORD converted; } cases[] = {
        {0x80FF4000, 0xFFFF0000, 0x80802000}, {0x00FF0000, 0x00FF0000, 0xFFFF0000},
    };
    for (const auto& c : cases) {
        CTestIcon icon(c.second, c.rest);
        ImageHolder image(CRenderEngine::LoadAlphaImageFromHICON(icon.Get()));
        ASSERT_TRUE(image);
        EXPECT_TRUE(image->bAlpha);
        std::vector<DWORD> out = Pixels(image.get());
        ASSERT_EQ(16u, out.size());
        EXPECT_EQ(0u, out[0]);
        EXPECT_EQ(c.converted, out[1]);
        for (int i = 2; i < 16; ++i) EXPECT_EQ(0xFFFF0000u, out[i]) << i;
    }
}

} // namespace
