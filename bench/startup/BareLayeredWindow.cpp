// Baseline for the start-up benchmark: a bare Win32 program that shows one centred layered window
// with a picture, decoded once and drawn once, and nothing else.
//   BareLayeredWindow PICTURE.png
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {

const wchar_t kClassName[] = L"BareLayeredWindow";
// Pixels of this colour are see-through, as in the launcher's background.
const unsigned char kMask[3] = {0xFF, 0x00, 0xFF};

bool ReadWholeFile(LPCWSTR path, std::vector<unsigned char>& bytes)
{
    HANDLE hFile = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    bool ok = ::GetFileSizeEx(hFile, &size) && size.QuadPart > 0 && size.QuadPart < (64 << 20);
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD dwRead = 0;
        ok = ::ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &dwRead, NULL) && dwRead == bytes.size();
    }
    ::CloseHandle(hFile);
    return ok;
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

// A top-down premultiplied BGRA bitmap of the picture, masked pixels cleared.
HBITMAP MakeBitmap(const unsigned char* rgba, int cx, int cy)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HBITMAP hBitmap = ::CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hBitmap == NULL) return NULL;
    unsigned char* pOut = static_cast<unsigned char*>(pBits);
    for (size_t i = 0; i < static_cast<size_t>(cx) * static_cast<size_t>(cy); ++i) {
        const unsigned char* p = rgba + i * 4;
        unsigned a = p[3];
        if (std::memcmp(p, kMask, 3) == 0) a = 0;
        pOut[i * 4 + 0] = static_cast<unsigned char>(p[2] * a / 255);
        pOut[i * 4 + 1] = static_cast<unsigned char>(p[1] * a / 255);
        pOut[i * 4 + 2] = static_cast<unsigned char>(p[0] * a / 255);
        pOut[i * 4 + 3] = static_cast<unsigned char>(a);
    }
    return hBitmap;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int)
{
    std::wstring path = lpCmdLine;
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
    std::vector<unsigned char> bytes;
    if (path.empty() || !ReadWholeFile(path.c_str(), bytes)) return 2;
    int cx = 0, cy = 0, channels = 0;
    unsigned char* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &cx, &cy, &channels, 4);
    if (rgba == NULL) return 2;
    HBITMAP hBitmap = MakeBitmap(rgba, cx, cy);
    stbi_image_free(rgba);
    if (hBitmap == NULL) return 2;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
    wc.lpszClassName = kClassName;
    ::RegisterClassW(&wc);

    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    POINT ptOrigin = {0, 0};
    ::GetMonitorInfoW(::MonitorFromPoint(ptOrigin, MONITOR_DEFAULTTOPRIMARY), &mi);
    POINT ptWindow = {(mi.rcWork.left + mi.rcWork.right) / 2 - cx / 2, (mi.rcWork.top + mi.rcWork.bottom) / 2 - cy / 2};
    HWND hWnd = ::CreateWindowExW(WS_EX_LAYERED, kClassName, kClassName, WS_POPUP, ptWindow.x, ptWindow.y, cx, cy,
                                  NULL, NULL, hInstance, NULL);
    if (hWnd == NULL) return 2;

    HDC hdcScreen = ::GetDC(NULL);
    HDC hdcMem = ::CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hBitmap);
    SIZE size = {cx, cy};
    POINT ptSource = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(hWnd, hdcScreen, &ptWindow, &size, hdcMem, &ptSource, 0, &blend, ULW_ALPHA);
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(NULL, hdcScreen);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);

    MSG msg;
    while (::GetMessageW(&msg, NULL, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::DeleteObject(hBitmap);
    return 0;
}
