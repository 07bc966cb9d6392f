// The system's message-box font draws Chinese: under Wine, the prefix that tools/wine-env.sh makes links
// a CJK font into the dialog faces (on Windows the system's own font links do it).
#include "veneer/core/UISetup.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

const int kWidth = 48;
const int kHeight = 48;

// The pixels of one character drawn black on white.
std::vector<DWORD> DrawCharacter(HFONT hFont, wchar_t ch)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = kWidth;
    bmi.bmiHeader.biHeight = -kHeight;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HDC hdc = ::CreateCompatibleDC(NULL);
    HBITMAP hBitmap = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    std::vector<DWORD> pixels;
    if (hBitmap != NULL && pBits != NULL) {
        HGDIOBJ hOldBitmap = ::SelectObject(hdc, hBitmap);
        HGDIOBJ hOldFont = ::SelectObject(hdc, hFont);
        ::PatBlt(hdc, 0, 0, kWidth, kHeight, WHITENESS);
        ::SetTextColor(hdc, RGB(0, 0, 0));
        ::SetBkMode(hdc, TRANSPARENT);
        ::TextOutW(hdc, 4, 4, &ch, 1);
        ::GdiFlush();
        const DWORD* pFirst = static_cast<const DWORD*>(pBits);
        pixels.assign(pFirst, pFirst + kWidth * kHeight);
        ::SelectObject(hdc, hOldFont);
        ::SelectObject(hdc, hOldBitmap);
    }
    if (hBitmap != NULL) ::DeleteObject(hBitmap);
    ::DeleteDC(hdc);
    return pixels;
}

TEST(DialogFont, TheMessageBoxFontDrawsChineseGlyphs)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    // Large enough that two different glyphs never come out alike.
    metrics.lfMessageFont.lfHeight = -32;
    HFONT hFont = ::CreateFontIndirectW(&metrics.lfMessageFont);
    ASSERT_TRUE(hFont != NULL);

    // A character no font has comes out as the missing-glyph box; without a linked font every Chinese
    // character would too.
    const std::vector<DWORD> box = DrawCharacter(hFont, 0xE000);
    const std::vector<DWORD> wei = DrawCharacter(hFont, 0x5FAE);   // 微
    const std::vector<DWORD> duan = DrawCharacter(hFont, 0x7AEF);  // 端
    ::DeleteObject(hFont);
    ASSERT_EQ(static_cast<size_t>(kWidth * kHeight), wei.size());
    EXPECT_TRUE(wei != box) << "U+5FAE draws as the missing-glyph box";
    EXPECT_TRUE(duan != box) << "U+7AEF draws as the missing-glyph box";
    EXPECT_TRUE(wei != duan) << "two characters draw alike";
}

} // namespace
