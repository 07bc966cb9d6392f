// Image loading: skin image bytes decoded into premultiplied top-down 32-bit DIB sections, and icons.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIRender.h"
#include "veneer/render/UIRenderSession.h"
#include "veneer/render/UIRenderUtil.h"
#include "veneer/render/UIResourceFile.h"
#include "veneer/window/UIManager.h"

#include <limits.h>
#include <algorithm>

// Largest side and pixel count accepted. Far beyond any skin, yet small enough that the decoder's
// buffer plus the DIB stay well inside a 32-bit address space and width * height * 4 cannot wrap.
#define VENEER_MAX_IMAGE_SIDE 16384
#define VENEER_MAX_IMAGE_PIXELS (32 * 1024 * 1024)

// Only the formats skins use; everything is decoded from memory.
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_ONLY_TGA
#define STBI_ONLY_PSD
#define STBI_ONLY_PIC
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS VENEER_MAX_IMAGE_SIDE
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

// The GDI+ headers expect min and max in their own namespace.
namespace Gdiplus {
using std::max;
using std::min;
}
#include <gdiplus.h>

namespace Veneer {

namespace {

// A run of encoded image bytes, owned elsewhere.
struct ImageBytes
{
    const BYTE* data;
    DWORD size;
};

bool IsSaneImageSize(int width, int height)
{
    if (width <= 0 || height <= 0 || width > VENEER_MAX_IMAGE_SIDE || height > VENEER_MAX_IMAGE_SIDE) {
        return false;
    }
    return static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) <=
           VENEER_MAX_IMAGE_PIXELS;
}

// Resources stay mapped while the module is loaded, so the bytes are decoded in place.
bool FindModuleImage(LPCWSTR name, LPCWSTR type, ImageBytes& bytes)
{
    HINSTANCE module = CPaintManagerUI::GetResourceDll();
    HRSRC resource = ::FindResourceW(module, name, type);
    if (resource == NULL) {
        return false;
    }
    DWORD size = ::SizeofResource(module, resource);
    HGLOBAL handle = ::LoadResource(module, resource);
    if (size == 0 || handle == NULL) {
        return false;
    }
    const BYTE* data = static_cast<const BYTE*>(::LockResource(handle));
    if (data == NULL) {
        return false;
    }
    bytes.data = data;
    bytes.size = size;
    return true;
}

// Premultiplies and reorders RGBA bytes into 0xAARRGGBB words, clearing pixels equal to the mask.
// Returns whether any pixel ended up not fully opaque.
bool ConvertPixels(const BYTE* rgba, DWORD* out, size_t count, DWORD mask)
{
    bool alpha = false;
    for (size_t i = 0; i < count; ++i, rgba += 4) {
        DWORD red = rgba[0];
        DWORD green = rgba[1];
        DWORD blue = rgba[2];
        DWORD a = rgba[3];
        if (a < 255) {
            red = red * a / 255;
            green = green * a / 255;
            blue = blue * a / 255;
            alpha = true;
        }
        DWORD pixel = (a << 24) | (red << 16) | (green << 8) | blue;
        if (pixel == mask) {
            pixel = 0;
            alpha = true;
        }
        out[i] = pixel;
    }
    return alpha;
}

TImageInfo* NewImageInfo(HBITMAP hBmp, int width, int height, bool alpha)
{
    TImageInfo* info = new (std::nothrow) TImageInfo();
    if (info == NULL) {
        ::DeleteObject(hBmp);
        return NULL;
    }
    info->hBmp = hBmp;
    info->nWidth = width;
    info->nHeight = height;
    info->bAlpha = alpha;
    info->dwMaskColor = 0;
    return info;
}

TImageInfo* DecodeImage(const ImageBytes& bytes, DWORD mask)
{
    if (bytes.data == NULL || bytes.size == 0 || bytes.size > static_cast<DWORD>(INT_MAX)) {
        return NULL;
    }
    const int length = static_cast<int>(bytes.size);
    // The header is checked before decoding so a hostile size never reaches the decoder's allocator.
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(bytes.data, length, &width, &height, &channels) ||
        !IsSaneImageSize(width, height)) {
        return NULL;
    }
    stbi_uc* rgba = stbi_load_from_memory(bytes.data, length, &width, &height, &channels, 4);
    if (rgba == NULL) {
        return NULL;
    }
    if (!IsSaneImageSize(width, height)) {
        stbi_image_free(rgba);
        return NULL;
    }
    DWORD* bits = NULL;
    HBITMAP hBmp = RenderUtil::CreateDib32(NULL, width, height, &bits);
    if (hBmp == NULL) {
        stbi_image_free(rgba);
        return NULL;
    }
    bool alpha = ConvertPixels(rgba, bits, static_cast<size_t>(width) * static_cast<size_t>(height), mask);
    stbi_image_free(rgba);
    return NewImageInfo(hBmp, width, height, alpha);
}

} // namespace

TImageInfo* CRenderEngine::LoadImage(STRINGorID bitmap, LPCWSTR type, DWORD mask)
{
    ImageBytes bytes = { NULL, 0 };
    CUIBuffer file;
    if (type != NULL) {
        FindModuleImage(bitmap.m_lpstr, type, bytes);
    }
    else if (!bitmap.IsId()) {
        // A numeric id names no file: only module resources are looked up by id.
        if (ReadSkinFile(bitmap.m_lpstr, static_cast<DWORD>(INT_MAX), file) == UIRES_OK) {
            bytes.data = file.GetData();
            bytes.size = file.GetSize();
        }
    }
    // Last resort: the name as a path of its own, for absolute paths and the current directory.
    if (bytes.data == NULL && !bitmap.IsId()) {
        file.Free();
        if (ReadDiskFile(bitmap.m_lpstr, static_cast<DWORD>(INT_MAX), file) == UIRES_OK) {
            bytes.data = file.GetData();
            bytes.size = file.GetSize();
        }
    }
    if (bytes.data == NULL) {
        return NULL;
    }
    return DecodeImage(bytes, mask);
}

TImageInfo* CRenderEngine::LoadImageFromHICON(HICON hIcon)
{
    if (hIcon == NULL) {
        return NULL;
    }
    // Every call reports failure through its status, including GDI+ not being started.
    using namespace Gdiplus;
    GpBitmap* bitmap = NULL;
    if (DllExports::GdipCreateBitmapFromHICON(hIcon, &bitmap) != Ok || bitmap == NULL) {
        return NULL;
    }
    UINT width = 0;
    UINT height = 0;
    TImageInfo* info = NULL;
    if (DllExports::GdipGetImageWidth(bitmap, &width) == Ok &&
        DllExports::GdipGetImageHeight(bitmap, &height) == Ok &&
        width <= VENEER_MAX_IMAGE_SIDE && height <= VENEER_MAX_IMAGE_SIDE &&
        IsSaneImageSize(static_cast<int>(width), static_cast<int>(height))) {
        // Premultiplied pixels with alpha forced opaque are the icon drawn over opaque black.
        GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        BitmapData locked;
        ::ZeroMemory(&locked, sizeof(locked));
        if (DllExports::GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead, PixelFormat32bppPARGB,
                                           &locked) == Ok) {
            DWORD* bits = NULL;
            HBITMAP hBmp = locked.Scan0 != NULL ? RenderUtil::CreateDib32(NULL, static_cast<int>(width),
                                                                          static_cast<int>(height), &bits)
                                                : NULL;
            if (hBmp != NULL) {
                const BYTE* row = static_cast<const BYTE*>(locked.Scan0);
                for (UINT y = 0; y < height; ++y, row += locked.Stride) {
                    const DWORD* src = reinterpret_cast<const DWORD*>(row);
                    DWORD* dst = bits + static_cast<size_t>(y) * width;
                    for (UINT x = 0; x < width; ++x) {
                        dst[x] = src[x] | 0xFF000000;
                    }
                }
                info = NewImageInfo(hBmp, static_cast<int>(width), static_cast<int>(height), false);
            }
            DllExports::GdipBitmapUnlockBits(bitmap, &locked);
        }
    }
    DllExports::GdipDisposeImage(bitmap);
    return info;
}

TImageInfo* CRenderEngine::LoadAlphaImageFromHICON(HICON hIcon)
{
    ICONINFO icon;
    ::ZeroMemory(&icon, sizeof(icon));
    if (hIcon == NULL || !::GetIconInfo(hIcon, &icon)) {
        return NULL;
    }
    TImageInfo* info = NULL;
    BITMAP colour;
    ::ZeroMemory(&colour, sizeof(colour));
    // A monochrome icon has no colour bitmap: it is left to LoadImageFromHICON.
    if (icon.hbmColor != NULL && icon.hbmMask != NULL &&
        ::GetObjectW(icon.hbmColor, sizeof(colour), &colour) == sizeof(colour) &&
        IsSaneImageSize(colour.bmWidth, colour.bmHeight)) {
        const int width = colour.bmWidth;
        const int height = colour.bmHeight;
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        DWORD* bits = NULL;
        HBITMAP hBmp = RenderUtil::CreateDib32(NULL, width, height, &bits);
        DWORD* mask = hBmp != NULL ? new (std::nothrow) DWORD[count] : NULL;
        BITMAPINFO bmi = RenderUtil::Dib32Info(width, height);
        HDC hScreen = ::GetDC(NULL);
        // The mask of a colour icon has the colour bitmap's height; set bits mark see-through pixels.
        const bool read = mask != NULL &&
                          ::GetDIBits(hScreen, icon.hbmColor, 0, height, bits, &bmi, DIB_RGB_COLORS) == height &&
                          ::GetDIBits(hScreen, icon.hbmMask, 0, height, mask, &bmi, DIB_RGB_COLORS) == height;
        ::ReleaseDC(NULL, hScreen);
        if (read) {
            const bool ownAlpha = std::any_of(bits, bits + count, [](DWORD pixel) { return (pixel >> 24) != 0; });
            for (size_t i = 0; i < count; ++i) {
                const DWORD a = ownAlpha ? bits[i] >> 24 : ((mask[i] & 0x00FFFFFF) != 0 ? 0 : 255);
                bits[i] = RenderUtil::Premultiply((a << 24) | (bits[i] & 0x00FFFFFF));
            }
            info = NewImageInfo(hBmp, width, height, true);
        }
        else if (hBmp != NULL) {
            ::DeleteObject(hBmp);
        }
        delete[] mask;
    }
    if (icon.hbmColor != NULL) ::DeleteObject(icon.hbmColor);
    if (icon.hbmMask != NULL) ::DeleteObject(icon.hbmMask);
    return info;
}

void CRenderEngine::FreeImage(const TImageInfo* image)
{
    if (image == NULL) {
        return;
    }
    if (image->hBmp != NULL) {
        CRenderSession::ReleaseBitmap(image->hBmp);
        ::DeleteObject(image->hBmp);
    }
    delete image;
}

} // namespace Veneer
