// Test helper: PNG pictures read from files and made from solid colours.
#pragma once

#include "veneer/core/UISetup.h"

#include <string>
#include <vector>

struct TPixel
{
    int r, g, b, a;
};

// A decoded picture: top-down rows of straight RGBA; empty when the file is missing or not a PNG.
struct TDecoded
{
    int width = 0;
    int height = 0;
    std::vector<BYTE> rgba;

    TPixel At(int x, int y) const
    {
        const BYTE* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
        return TPixel{p[0], p[1], p[2], p[3]};
    }
};

// The whole file; empty when it cannot be read.
std::string ReadAll(const std::wstring& path);
TDecoded DecodePng(const std::wstring& path);
// An 8 x 8 PNG of one straight RGBA colour.
std::string SolidPng(BYTE r, BYTE g, BYTE b, BYTE a);
