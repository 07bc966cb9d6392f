// Test helper: PNG pictures read from files and made from solid colours.
#include "veneer/core/UISetup.h"
#include "support/PngFiles.h"

#include <stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

std::string ReadAll(const std::wstring& path)
{
    std::string bytes;
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return bytes;
    DWORD size = ::GetFileSize(hFile, NULL);
    bytes.resize(size);
    DWORD read = 0;
    if (size > 0 && !::ReadFile(hFile, &bytes[0], size, &read, NULL)) read = 0;
    bytes.resize(read);
    ::CloseHandle(hFile);
    return bytes;
}

TDecoded DecodePng(const std::wstring& path)
{
    TDecoded decoded;
    std::string bytes = ReadAll(path);
    if (bytes.size() < 8 || bytes.compare(1, 3, "PNG") != 0) return decoded;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                            static_cast<int>(bytes.size()), &decoded.width, &decoded.height,
                                            &channels, 4);
    if (pixels == NULL) return TDecoded();
    decoded.rgba.assign(pixels, pixels + static_cast<size_t>(decoded.width) * decoded.height * 4);
    stbi_image_free(pixels);
    return decoded;
}

namespace {

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

} // namespace

std::string SolidPng(BYTE r, BYTE g, BYTE b, BYTE a)
{
    std::vector<BYTE> pixels;
    for (int i = 0; i < 64; ++i) pixels.insert(pixels.end(), {r, g, b, a});
    std::string png;
    stbi_write_png_to_func(AppendBytes, &png, 8, 8, 4, pixels.data(), 8 * 4);
    return png;
}
