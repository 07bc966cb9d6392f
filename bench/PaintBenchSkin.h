// The paint benchmarks' skin: rows of bordered nine-grid cells holding a label and an image button, and
// variants of it that keep one kind of drawing only; its images, its window and timing helpers.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"

#include <algorithm>
#include <string>
#include <vector>

namespace PaintBench {

const int kWidth = 1286;
const int kHeight = 768;
const int kRows = 30;
const int kCellsPerRow = 22;

// What each control of a cell draws. The full skin is the one bench_paint has always timed.
struct TSkinParts
{
    const char* pszName;
    bool bRootFill;
    bool bCellFill, bCellImage, bCellBorder;
    bool bLabelFill, bLabelImage, bLabelText, bLabelBorder;
    bool bButtonFill, bButtonImage, bButtonText, bButtonBorder;
};

const TSkinParts kFullSkin = {"full skin", true, false, true, true, false, false, true, false, false, true, false, false};
const TSkinParts kKindSkins[] = {
    {"fills only", false, true, false, false, true, false, false, false, true, false, false, false},
    {"borders only", false, false, false, true, false, false, false, true, false, false, false, true},
    {"images only", false, false, true, false, false, true, false, false, false, true, false, false},
    {"texts only", false, false, false, false, false, false, true, false, false, false, true, false},
};

// Colours and image placements of the skins, shared with the plain GDI drawing that mirrors them.
const DWORD kRootColor = 0xFF303038;
const DWORD kCellColor = 0xFF405060;
const DWORD kLabelColor = 0xFF604830;
const DWORD kButtonColor = 0xFF306048;
const DWORD kCellBorderColor = 0xFF8090A0;
const DWORD kLabelBorderColor = 0xFFA08060;
const DWORD kButtonBorderColor = 0xFF60A080;
const DWORD kLabelTextColor = 0xFFF0F0F0;
const DWORD kButtonTextColor = 0xFFFFE080;
const int kCellCorner = 4;
const RECT kButtonImageDest = {0, 2, 16, 18};
const RECT kLabelImageDest = {2, 2, 18, 18};

inline std::wstring Hex(DWORD color)
{
    wchar_t sz[16];
    swprintf(sz, 16, L"#%08X", static_cast<unsigned>(color));
    return sz;
}

inline std::wstring RectText(const RECT& rc)
{
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," + std::to_wstring(rc.right) + L"," +
           std::to_wstring(rc.bottom);
}

// The skin's XML; *pnControls receives the number of controls it builds.
inline std::wstring MakeSkin(const TSkinParts& parts, int* pnControls)
{
    std::wstring xml = L"<Window size=\"" + std::to_wstring(kWidth) + L"," + std::to_wstring(kHeight) + L"\">"
                       L"<Default name=\"Label\" value=\"textcolor=&quot;" + Hex(kLabelTextColor) +
                       L"&quot; align=&quot;center&quot;\"/>"
                       L"<VerticalLayout" + (parts.bRootFill ? L" bkcolor=\"" + Hex(kRootColor) + L"\"" : L"") +
                       L" inset=\"3,3,3,3\" childpadding=\"1\">";
    const std::wstring cellImage = L" bkimage=\"file='cellbk' corner='4,4,4,4'\"";
    const std::wstring cellBorder = L" bordersize=\"1\" bordercolor=\"" + Hex(kCellBorderColor) + L"\"";
    int nControls = 1;
    for (int row = 0; row < kRows; ++row) {
        xml += L"<HorizontalLayout childpadding=\"1\">";
        ++nControls;
        for (int cell = 0; cell < kCellsPerRow; ++cell) {
            const std::wstring id = std::to_wstring(row) + L"_" + std::to_wstring(cell);
            xml += L"<HorizontalLayout name=\"cell" + id + L"\"";
            if (parts.bCellFill) xml += L" bkcolor=\"" + Hex(kCellColor) + L"\"";
            if (parts.bCellImage) xml += cellImage;
            if (parts.bCellBorder) xml += cellBorder;
            xml += L" inset=\"2,2,2,2\">";
            xml += L"<Label name=\"label" + id + L"\"";
            if (parts.bLabelText) xml += L" text=\"r" + std::to_wstring(row) + L"c" + std::to_wstring(cell) + L"\"";
            if (parts.bLabelFill) xml += L" bkcolor=\"" + Hex(kLabelColor) + L"\"";
            if (parts.bLabelImage) xml += L" bkimage=\"file='plain' dest='" + RectText(kLabelImageDest) + L"'\"";
            if (parts.bLabelBorder) xml += L" bordersize=\"1\" bordercolor=\"" + Hex(kLabelBorderColor) + L"\"";
            xml += L"/>";
            xml += L"<Button name=\"button" + id + L"\" width=\"16\"";
            if (parts.bButtonImage) xml += L" normalimage=\"file='icon' dest='" + RectText(kButtonImageDest) + L"'\"";
            if (parts.bButtonFill) xml += L" bkcolor=\"" + Hex(kButtonColor) + L"\"";
            if (parts.bButtonText) xml += L" text=\"" + std::to_wstring(cell % 10) + L"\" textcolor=\"" +
                                          Hex(kButtonTextColor) + L"\"";
            if (parts.bButtonBorder) xml += L" bordersize=\"1\" bordercolor=\"" + Hex(kButtonBorderColor) + L"\"";
            xml += L"/>";
            xml += L"</HorizontalLayout>";
            nControls += 3;
        }
        xml += L"</HorizontalLayout>";
    }
    xml += L"</VerticalLayout></Window>";
    *pnControls = nControls;
    return xml;
}

// A top-down 32-bit DIB section, in plain GDI (the floor draws without the framework's helpers).
inline HBITMAP CreateTopDownDib(HDC hDC, int cx, int cy, void** ppBits)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, ppBits, NULL, 0);
}

// A premultiplied top-down 32-bit bitmap; pixel(x, y) gives straight ARGB.
template <typename Pixel>
HBITMAP MakeBitmap(int cx, int cy, Pixel pixel)
{
    void* pBits = NULL;
    HBITMAP hBitmap = CreateTopDownDib(NULL, cx, cy, &pBits);
    if (hBitmap == NULL) return NULL;
    BYTE* p = static_cast<BYTE*>(pBits);
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x, p += 4) {
            DWORD argb = pixel(x, y);
            DWORD a = argb >> 24;
            p[0] = static_cast<BYTE>((argb & 0xFF) * a / 255);
            p[1] = static_cast<BYTE>(((argb >> 8) & 0xFF) * a / 255);
            p[2] = static_cast<BYTE>(((argb >> 16) & 0xFF) * a / 255);
            p[3] = static_cast<BYTE>(a);
        }
    }
    return hBitmap;
}

// The skins' images, put into the manager's cache so no skin files are needed: a translucent cell
// background, an opaque icon drawn through the blend, and an opaque picture copied as it is.
struct TBenchImages
{
    HBITMAP hCell;
    HBITMAP hIcon;
    HBITMAP hPlain;
};

inline bool AddBenchImages(Veneer::CPaintManagerUI* pManager, TBenchImages* pImages)
{
    pImages->hCell = MakeBitmap(16, 16, [](int x, int y) {
        bool edge = x < 2 || y < 2 || x > 13 || y > 13;
        return edge ? 0xC0A0B0C0u : 0x80205080u + static_cast<DWORD>((x + y) * 3);
    });
    pImages->hIcon = MakeBitmap(16, 16, [](int x, int y) {
        return ((x / 4 + y / 4) % 2 == 0) ? 0xFFE0A020u : 0xFF2060C0u;
    });
    pImages->hPlain = MakeBitmap(16, 16, [](int x, int y) {
        return 0xFF000000u | static_cast<DWORD>(x * 15) << 16 | static_cast<DWORD>(y * 15) << 8 | 0x40u;
    });
    return pManager->AddImage(L"cellbk", pImages->hCell, 16, 16, true) != NULL &&
           pManager->AddImage(L"icon", pImages->hIcon, 16, 16, true) != NULL &&
           pManager->AddImage(L"plain", pImages->hPlain, 16, 16, false) != NULL;
}

// The window under test: its messages go to the paint manager, as a skinned window's do, unless a
// handler of its own takes WM_PAINT.
class CBenchWnd : public Veneer::CWindowWnd
{
public:
    Veneer::CPaintManagerUI* m_pManager = NULL;
    // When set, WM_PAINT goes here instead of to the manager.
    void (*m_pfnPaint)(HWND hWnd, void* pContext) = NULL;
    void* m_pPaintContext = NULL;

    LPCWSTR GetWindowClass() const override { return L"VeneerBenchPaintWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_PAINT && m_pfnPaint != NULL) {
            m_pfnPaint(GetHWND(), m_pPaintContext);
            return 0;
        }
        LRESULT lRes = 0;
        if (m_pManager != NULL && m_pManager->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
};

// A top-down 32-bit DIB section selected into its own memory DC.
struct TDibCanvas
{
    HDC hDC = NULL;
    HBITMAP hBitmap = NULL;
    HGDIOBJ hOld = NULL;
    DWORD* pBits = NULL;
    int cx = 0;
    int cy = 0;

    bool Create(int width, int height)
    {
        hDC = ::CreateCompatibleDC(NULL);
        void* p = NULL;
        hBitmap = CreateTopDownDib(hDC, width, height, &p);
        if (hDC == NULL || hBitmap == NULL) return false;
        pBits = static_cast<DWORD*>(p);
        hOld = ::SelectObject(hDC, hBitmap);
        cx = width;
        cy = height;
        return true;
    }
    void Clear() { std::fill(pBits, pBits + static_cast<size_t>(cx) * cy, 0u); }
    ~TDibCanvas()
    {
        if (hDC != NULL && hOld != NULL) ::SelectObject(hDC, hOld);
        if (hBitmap != NULL) ::DeleteObject(hBitmap);
        if (hDC != NULL) ::DeleteDC(hDC);
    }
};

inline double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Seconds a call takes, with GDI's batch flushed before the clock stops.
template <typename Call>
double Time(Call call)
{
    LARGE_INTEGER t0;
    LARGE_INTEGER t1;
    ::QueryPerformanceCounter(&t0);
    call();
    ::GdiFlush();
    ::QueryPerformanceCounter(&t1);
    return Seconds(t0, t1);
}

} // namespace PaintBench
