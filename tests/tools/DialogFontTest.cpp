// The system's message-box font draws Chinese: under Wine, the prefix that tools/wine-env.sh makes uses a
// CJK font for message boxes (on Windows the system's own font links do it).
#include "veneer/core/UISetup.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

// The pixels of one character drawn black on white, 32 pixels high.
std::vector<DWORD> DrawCharacter(LOGFONTW font, wchar_t ch)
{
    const int kSize = 48;
    font.lfHeight = -32;
    BITMAPINFO bmi = {{sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* pBits = NULL;
    HDC hdc = ::CreateCompatibleDC(NULL);
    HBITMAP hBitmap = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    HFONT hFont = ::CreateFontIndirectW(&font);
    ::SelectObject(hdc, hBitmap);
    ::SelectObject(hdc, hFont);
    ::PatBlt(hdc, 0, 0, kSize, kSize, WHITENESS);
    ::TextOutW(hdc, 4, 4, &ch, 1);
    ::GdiFlush();
    std::vector<DWORD> pixels;
    if (pBits != NULL) pixels.assign(static_cast<const DWORD*>(pBits), static_cast<const DWORD*>(pBits) + kSize * kSize);
    ::DeleteDC(hdc);
    ::DeleteObject(hBitmap);
    ::DeleteObject(hFont);
    return pixels;
}

TEST(DialogFont, TheMessageBoxFontDrawsChineseGlyphs)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    // A character no font has draws as the missing-glyph box; in a font without Chinese every Chinese one would.
    const std::vector<DWORD> box = DrawCharacter(metrics.lfMessageFont, 0xE000);
    const std::vector<DWORD> wei = DrawCharacter(metrics.lfMessageFont, 0x5FAE);   // 微
    const std::vector<DWORD> duan = DrawCharacter(metrics.lfMessageFont, 0x7AEF);  // 端
    ASSERT_FALSE(box.empty());
    EXPECT_TRUE(wei != box) << "U+5FAE draws as the missing-glyph box";
    EXPECT_TRUE(duan != box) << "U+7AEF draws as the missing-glyph box";
    EXPECT_TRUE(wei != duan) << "two characters draw alike";
}

} // namespace
