// Test helpers for the render tests: 32-bit DIB sections to draw on or to draw from, read back by pixel.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/render/UIRenderBlend.h"
#include "veneer/render/UIRenderUtil.h"
#include <gtest/gtest.h>

#include <string>

// A top-down 32-bit DIB section; pixels are 0xAARRGGBB words. Not selected into any DC, so it can
// be handed to the drawing code as a source image.
class CTestBitmap
{
public:
    CTestBitmap(int cx, int cy, DWORD fill = 0) : m_cx(cx), m_cy(cy), m_bits(NULL)
    {
        m_hBitmap = Veneer::RenderUtil::CreateDib32(NULL, cx, cy, &m_bits);
        Fill(fill);
    }
    ~CTestBitmap()
    {
        if (m_hBitmap != NULL) ::DeleteObject(m_hBitmap);
    }
    CTestBitmap(const CTestBitmap&) = delete;
    CTestBitmap& operator=(const CTestBitmap&) = delete;

    HBITMAP GetBitmap() const { return m_hBitmap; }
    // Hands the bitmap to a new owner (an image cache); the pixels stay reachable until then.
    HBITMAP Detach()
    {
        HBITMAP hBitmap = m_hBitmap;
        m_hBitmap = NULL;
        return hBitmap;
    }
    int GetWidth() const { return m_cx; }
    int GetHeight() const { return m_cy; }
    bool IsValid() const { return m_hBitmap != NULL && m_bits != NULL; }

    // The pixel rows, top-down, once drawing has finished.
    const DWORD* GetBits() const
    {
        ::GdiFlush();
        return m_bits;
    }
    DWORD Get(int x, int y) const
    {
        ::GdiFlush();
        return m_bits[y * m_cx + x];
    }
    void Set(int x, int y, DWORD color)
    {
        ::GdiFlush();
        m_bits[y * m_cx + x] = color;
    }
    void Fill(DWORD color) { FillRect(0, 0, m_cx, m_cy, color); }
    void FillRect(int left, int top, int right, int bottom, DWORD color)
    {
        if (m_bits == NULL) return;
        ::GdiFlush();
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                m_bits[y * m_cx + x] = color;
    }

private:
    int m_cx;
    int m_cy;
    DWORD* m_bits;
    HBITMAP m_hBitmap;
};

// A CTestBitmap selected into its own memory DC: the surface the drawing code paints on.
class CDibCanvas : public CTestBitmap
{
public:
    CDibCanvas(int cx, int cy, DWORD fill = 0xFFFFFFFF) : CTestBitmap(cx, cy, fill)
    {
        m_hDC = ::CreateCompatibleDC(NULL);
        m_hOldBitmap = ::SelectObject(m_hDC, GetBitmap());
    }
    ~CDibCanvas()
    {
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteDC(m_hDC);
    }

    HDC GetDC() const { return m_hDC; }

    // How many pixels of the rectangle differ from the colour (alpha included).
    int CountOtherThan(int left, int top, int right, int bottom, DWORD color) const
    {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (Get(x, y) != color) ++count;
        return count;
    }

private:
    HDC m_hDC;
    HGDIOBJ m_hOldBitmap;
};

// Colours compared channel by channel (alpha included) with a tolerance, printed in hex on failure.
inline ::testing::AssertionResult ColorNear(DWORD actual, DWORD expected, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (a - e > tolerance || e - a > tolerance) {
            char text[80];
            snprintf(text, sizeof(text), "0x%08lX differs from 0x%08lX by more than %d per channel",
                     static_cast<unsigned long>(actual), static_cast<unsigned long>(expected), tolerance);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

// Colour channels only (the alpha byte of what GDI paints is not defined).
inline ::testing::AssertionResult RgbNear(DWORD actual, DWORD expected, int tolerance)
{
    return ColorNear(actual & 0xFFFFFF, expected & 0xFFFFFF, tolerance);
}

// Base of test suites that run once through msimg32's functions and once through the framework's
// own fallbacks (parameter true: system).
class CBlendPathTest : public ::testing::TestWithParam<bool>
{
public:
    static std::string PathName(const ::testing::TestParamInfo<bool>& info)
    {
        return info.param ? "System" : "Fallback";
    }

protected:
    void SetUp() override
    {
        const bool system = GetParam();
        Veneer::CRenderBlend::EnableSystemAlphaBlend(system);
        Veneer::CRenderBlend::EnableSystemGradientFill(system);
        ASSERT_EQ(system, Veneer::CRenderBlend::HasSystemAlphaBlend());
        ASSERT_EQ(system, Veneer::CRenderBlend::HasSystemGradientFill());
    }
    void TearDown() override
    {
        Veneer::CRenderBlend::EnableSystemAlphaBlend(true);
        Veneer::CRenderBlend::EnableSystemGradientFill(true);
    }
};
