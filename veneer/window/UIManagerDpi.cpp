// CPaintManagerUI: the display scale: process DPI awareness, the window's DPI, skin units to pixels,
// moving to another DPI (fonts made anew, native child windows given them, the tree laid out again) and
// the pictures made for each scale.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"
#include "veneer/control/UIControl.h"
#include "veneer/core/UIGeometry.h"
#include "veneer/render/UIRender.h"

namespace Veneer {

namespace {

const int kDefaultDpi = UI_DEFAULT_DPI;
// DPIs outside this range are taken as its nearest end: 50 % to 1000 %.
const int kMinDpi = 48;
const int kMaxDpi = 960;

#ifndef WM_DPICHANGED
const UINT WM_DPICHANGED = 0x02E0;
#endif

// Awareness contexts and levels as the system headers number them (newer SDKs only).
const INT_PTR kContextPerMonitorV2 = -4;
const INT_PTR kContextPerMonitor = -3;
const int kProcessPerMonitorAware = 2;
const int kAwarenessUnaware = 0;
const int kAwarenessSystem = 1;
const int kAwarenessPerMonitor = 2;
const HRESULT kAccessDenied = static_cast<HRESULT>(0x80070005L);

typedef BOOL(WINAPI* PFNSETPROCESSDPIAWARENESSCONTEXT)(HANDLE);
typedef HRESULT(WINAPI* PFNSETPROCESSDPIAWARENESS)(int);
typedef HRESULT(WINAPI* PFNGETPROCESSDPIAWARENESS)(HANDLE, int*);
typedef BOOL(WINAPI* PFNSETPROCESSDPIAWARE)();
typedef BOOL(WINAPI* PFNISPROCESSDPIAWARE)();
typedef UINT(WINAPI* PFNGETDPIFORWINDOW)(HWND);
typedef HRESULT(WINAPI* PFNGETDPIFORMONITOR)(HMONITOR, int, UINT*, UINT*);

template <class T> T LoadFunction(LPCWSTR pstrModule, const char* pstrName, bool bLoad = false)
{
    HMODULE hModule = ::GetModuleHandleW(pstrModule);
    // shcore is not in every process; Windows 7 has none.
    if (hModule == NULL && bLoad) hModule = ::LoadLibraryW(pstrModule);
    if (hModule == NULL) return NULL;
    return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(hModule, pstrName)));
}

int ClampDpi(int nDpi)
{
    return nDpi < kMinDpi ? kMinDpi : (nDpi > kMaxDpi ? kMaxDpi : nDpi);
}

int SystemDpi()
{
    HDC hDC = ::GetDC(NULL);
    int nDpi = hDC != NULL ? ::GetDeviceCaps(hDC, LOGPIXELSY) : kDefaultDpi;
    if (hDC != NULL) ::ReleaseDC(NULL, hDC);
    return nDpi > 0 ? nDpi : kDefaultDpi;
}

} // namespace

// ---- process and window ----------------------------------------------------------------------

int CPaintManagerUI::DeclareDPIAwareness()
{
    // Windows 10 1703 and later: per monitor, v2 (child windows and dialogs follow too).
    PFNSETPROCESSDPIAWARENESSCONTEXT pfnSetContext =
        LoadFunction<PFNSETPROCESSDPIAWARENESSCONTEXT>(L"user32.dll", "SetProcessDpiAwarenessContext");
    if (pfnSetContext != NULL) {
        if (pfnSetContext(reinterpret_cast<HANDLE>(kContextPerMonitorV2))) return kAwarenessPerMonitor;
        // Refused for the value (an older build) rather than because a manifest already decided.
        if (::GetLastError() != ERROR_ACCESS_DENIED &&
            pfnSetContext(reinterpret_cast<HANDLE>(kContextPerMonitor))) {
            return kAwarenessPerMonitor;
        }
    }
    // Windows 8.1: per monitor.
    PFNSETPROCESSDPIAWARENESS pfnSetAwareness =
        LoadFunction<PFNSETPROCESSDPIAWARENESS>(L"shcore.dll", "SetProcessDpiAwareness", true);
    PFNGETPROCESSDPIAWARENESS pfnGetAwareness =
        LoadFunction<PFNGETPROCESSDPIAWARENESS>(L"shcore.dll", "GetProcessDpiAwareness", true);
    if (pfnSetAwareness != NULL && pfnGetAwareness != NULL) {
        const HRESULT hr = pfnSetAwareness(kProcessPerMonitorAware);
        if (SUCCEEDED(hr) || hr == kAccessDenied) {
            int nAwareness = kAwarenessUnaware;
            if (SUCCEEDED(pfnGetAwareness(NULL, &nAwareness))) return nAwareness;
        }
    }
    // Windows Vista and 7: the system's DPI, one for every monitor.
    PFNSETPROCESSDPIAWARE pfnSetAware = LoadFunction<PFNSETPROCESSDPIAWARE>(L"user32.dll", "SetProcessDPIAware");
    PFNISPROCESSDPIAWARE pfnIsAware = LoadFunction<PFNISPROCESSDPIAWARE>(L"user32.dll", "IsProcessDPIAware");
    if (pfnSetAware != NULL) pfnSetAware();
    if (pfnIsAware != NULL && pfnIsAware()) return kAwarenessSystem;
    return kAwarenessUnaware;
}

int CPaintManagerUI::GetWindowDPI(HWND hWnd)
{
    if (hWnd != NULL) {
        static PFNGETDPIFORWINDOW s_pfnDpiForWindow =
            LoadFunction<PFNGETDPIFORWINDOW>(L"user32.dll", "GetDpiForWindow");
        if (s_pfnDpiForWindow != NULL) {
            const UINT nDpi = s_pfnDpiForWindow(hWnd);
            if (nDpi > 0) return static_cast<int>(nDpi);
        }
        static PFNGETDPIFORMONITOR s_pfnDpiForMonitor =
            LoadFunction<PFNGETDPIFORMONITOR>(L"shcore.dll", "GetDpiForMonitor", true);
        if (s_pfnDpiForMonitor != NULL) {
            UINT xDpi = 0;
            UINT yDpi = 0;
            // MDT_EFFECTIVE_DPI; an unaware process is told 96 here, as it should be.
            if (SUCCEEDED(s_pfnDpiForMonitor(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), 0, &xDpi,
                                             &yDpi)) &&
                yDpi > 0) {
                return static_cast<int>(yDpi);
            }
        }
    }
    return SystemDpi();
}

int CPaintManagerUI::SystemToSkinUnits(int nPixels)
{
    return DpiUnscale(nPixels, SystemDpi());
}

// ---- the manager's scale ---------------------------------------------------------------------

int CPaintManagerUI::GetDPI() const
{
    return m_nDpi;
}

void CPaintManagerUI::SetDPI(int nDpi)
{
    m_bDpiGiven = nDpi > 0;
    if (nDpi <= 0) nDpi = m_hWndPaint != NULL ? GetWindowDPI(m_hWndPaint) : kDefaultDpi;
    ChangeDPI(nDpi);
}

bool CPaintManagerUI::IsDPIGiven() const
{
    return m_bDpiGiven;
}

int CPaintManagerUI::GetScale() const
{
    return DpiScale(100, m_nDpi);
}

int CPaintManagerUI::ScaleValue(int nValue) const
{
    return DpiScale(nValue, m_nDpi);
}

SIZE CPaintManagerUI::ScaleSize(SIZE sz) const
{
    if (m_nDpi == UI_DEFAULT_DPI) return sz;
    SIZE szScaled = {ScaleValue(sz.cx), ScaleValue(sz.cy)};
    return szScaled;
}

RECT CPaintManagerUI::ScaleRect(const RECT& rc) const
{
    // Edges are scaled, not sizes, so that rectangles sharing an edge in the skin still share it.
    if (m_nDpi == UI_DEFAULT_DPI) return rc;
    RECT rcScaled = {ScaleValue(rc.left), ScaleValue(rc.top), ScaleValue(rc.right), ScaleValue(rc.bottom)};
    return rcScaled;
}

int CPaintManagerUI::UnscaleValue(int nPixels) const
{
    return DpiUnscale(nPixels, m_nDpi);
}

SIZE CPaintManagerUI::UnscaleSize(SIZE sz) const
{
    SIZE szUnscaled = {UnscaleValue(sz.cx), UnscaleValue(sz.cy)};
    return szUnscaled;
}

RECT CPaintManagerUI::UnscaleRect(const RECT& rc) const
{
    RECT rcUnscaled = {UnscaleValue(rc.left), UnscaleValue(rc.top), UnscaleValue(rc.right),
                       UnscaleValue(rc.bottom)};
    return rcUnscaled;
}

// ---- moving to another DPI -------------------------------------------------------------------

void CPaintManagerUI::ChangeDPI(int nDpi)
{
    nDpi = ClampDpi(nDpi);
    if (nDpi == m_nDpi) return;
    m_nDpi = nDpi;
    RescaleFonts();
    ResourcesChanged();
    // Images are cached per scale: the next paint fetches those of the new one.
    if (m_pRoot != NULL) {
        m_pRoot->NeedUpdate();
        m_pRoot->Invalidate();
    }
    NeedUpdate();
    if (m_hWndPaint != NULL) ::InvalidateRect(m_hWndPaint, NULL, FALSE);
}

void CPaintManagerUI::OnDPIChanged(WPARAM wParam, LPARAM lParam)
{
    // A DPI given to the manager stays; a real move to another monitor's DPI is followed otherwise.
    if (!m_bDpiGiven) ChangeDPI(HIWORD(wParam));
    const RECT* prcSuggested = reinterpret_cast<const RECT*>(lParam);
    if (prcSuggested != NULL) {
        ::SetWindowPos(m_hWndPaint, NULL, prcSuggested->left, prcSuggested->top,
                       prcSuggested->right - prcSuggested->left, prcSuggested->bottom - prcSuggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

namespace {

struct FontSwap
{
    HFONT hOld;
    HFONT hNew;
};

struct FontSwapList
{
    const FontSwap* pSwaps;
    int nCount;
};

BOOL CALLBACK SwapChildFont(HWND hWnd, LPARAM lParam)
{
    const FontSwapList* pList = reinterpret_cast<const FontSwapList*>(lParam);
    const HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(hWnd, WM_GETFONT, 0, 0));
    if (hFont == NULL) return TRUE;
    for (int i = 0; i < pList->nCount; i++) {
        if (pList->pSwaps[i].hOld == hFont) {
            ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pList->pSwaps[i].hNew), TRUE);
            break;
        }
    }
    return TRUE;
}

} // namespace

void CPaintManagerUI::RescaleFonts()
{
    // Every font is made anew at the new DPI; the records (and so font ids) stay. Native child windows
    // that show one of the former fonts get its successor before the former is deleted.
    const int nFonts = m_aCustomFonts.GetSize() + 1;
    FontSwap* pSwaps = new (std::nothrow) FontSwap[nFonts];
    if (pSwaps == NULL) return;
    int nSwaps = 0;
    for (int i = 0; i < nFonts; i++) {
        TFontInfo* pFontInfo = i == 0 ? &m_DefaultFontInfo : static_cast<TFontInfo*>(m_aCustomFonts[i - 1]);
        HFONT hNew = CreateScaledFont(pFontInfo);
        if (hNew == NULL) continue;
        pSwaps[nSwaps].hOld = pFontInfo->hFont;
        pSwaps[nSwaps].hNew = hNew;
        nSwaps++;
        pFontInfo->hFont = hNew;
        ::ZeroMemory(&pFontInfo->tm, sizeof(pFontInfo->tm));
        FillFontMetrics(pFontInfo);
    }
    if (m_hWndPaint != NULL) {
        FontSwapList list = {pSwaps, nSwaps};
        ::EnumChildWindows(m_hWndPaint, SwapChildFont, reinterpret_cast<LPARAM>(&list));
    }
    for (int i = 0; i < nSwaps; i++) ::DeleteObject(pSwaps[i].hOld);
    delete[] pSwaps;
}

// ---- pictures for each scale -----------------------------------------------------------------

namespace {

// Pictures drawn for higher scales beside the 96-DPI one, named by a suffix before the extension.
struct TImageVariant
{
    LPCWSTR pstrSuffix;
    int nDpi;
};
const TImageVariant kImageVariants[] = {{L"", UI_DEFAULT_DPI}, {L"@1.5x", 144}, {L"@2x", 192}};
const int kImageVariantCount = sizeof(kImageVariants) / sizeof(kImageVariants[0]);

// Cache key of a picture made for a DPI: no file name holds '|'.
const wchar_t kScaledKeySeparator = L'|';

CUIString ScaledImageKey(LPCWSTR bitmap, int nDpi)
{
    wchar_t szDpi[16] = {};
    _snwprintf(szDpi, lengthof(szDpi) - 1, L"%c%d", kScaledKeySeparator, nDpi);
    CUIString sKey = bitmap;
    sKey += szDpi;
    return sKey;
}

// "skin/x.png" with "@2x" is "skin/x@2x.png"; a name without extension gets the suffix at its end.
CUIString VariantName(LPCWSTR bitmap, LPCWSTR pstrSuffix)
{
    const CUIString sName = bitmap;
    const int nLength = sName.GetLength();
    int nDot = -1;
    for (int i = nLength - 1; i >= 0; i--) {
        const wchar_t ch = sName[i];
        if (ch == L'\\' || ch == L'/') break;
        if (ch == L'.') {
            nDot = i;
            break;
        }
    }
    if (nDot <= 0) return sName + pstrSuffix;
    return sName.Left(nDot) + pstrSuffix + sName.Mid(nDot);
}

// The order to try the pictures in for a DPI: the smallest drawn at or above it (reducing keeps every
// detail), then the larger ones below it, largest first.
int VariantOrder(int nDpi, int* pOrder)
{
    int nCount = 0;
    for (int i = 0; i < kImageVariantCount; i++) {
        if (kImageVariants[i].nDpi >= nDpi) pOrder[nCount++] = i;
    }
    for (int i = kImageVariantCount - 1; i >= 0; i--) {
        if (kImageVariants[i].nDpi < nDpi) pOrder[nCount++] = i;
    }
    return nCount;
}

} // namespace

TImageInfo* CPaintManagerUI::GetScaledImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    if (bitmap == NULL || bitmap[0] == L'\0') return NULL;
    if (m_nDpi == kDefaultDpi) return GetImageEx(bitmap, type, mask);
    const CUIString sKey = ScaledImageKey(bitmap, m_nDpi);
    TImageInfo* data = static_cast<TImageInfo*>(m_mImageHash.Find(sKey));
    if (data != NULL) return data;
    data = LoadScaledImage(bitmap, type, mask);
    if (data == NULL) return NULL;
    if (m_bAlphaBackground) data->bAlpha = true;
    if (type != NULL) data->sResourceType = type;
    data->dwMaskColor = mask;
    return CacheImage(sKey, data);
}

TImageInfo* CPaintManagerUI::LoadScaledImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask)
{
    const bool bFile = type == NULL || type[0] == L'\0';
    int aOrder[kImageVariantCount] = {};
    const int nOrder = bFile ? VariantOrder(m_nDpi, aOrder) : 1;
    for (int i = 0; i < nOrder; i++) {
        const TImageVariant& variant = kImageVariants[bFile ? aOrder[i] : 0];
        TImageInfo* pPicture = NULL;
        bool bOwned = true;
        if (variant.nDpi == kDefaultDpi) {
            // The 96-DPI picture is the cached one when there is one (a ready bitmap has no file).
            pPicture = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
            bOwned = pPicture == NULL;
            if (pPicture == NULL) pPicture = LoadNamedImage(bitmap, type, mask);
        } else {
            pPicture = LoadNamedImage(VariantName(bitmap, variant.pstrSuffix), NULL, mask);
        }
        if (pPicture == NULL) continue;
        const int cx = ::MulDiv(pPicture->nWidth, m_nDpi, variant.nDpi);
        const int cy = ::MulDiv(pPicture->nHeight, m_nDpi, variant.nDpi);
        if (bOwned && cx == pPicture->nWidth && cy == pPicture->nHeight) return pPicture;
        TImageInfo* pScaled = CRenderEngine::ScaleImage(pPicture, cx > 0 ? cx : 1, cy > 0 ? cy : 1);
        if (bOwned) CRenderEngine::FreeImage(pPicture);
        return pScaled;
    }
    return NULL;
}

int CPaintManagerUI::RemoveScaledImages(LPCWSTR bitmap)
{
    // Keys are collected first: removing while walking the buckets would skip entries.
    CStdPtrArray aKeys;
    const int nNameLength = bitmap != NULL ? static_cast<int>(wcslen(bitmap)) : 0;
    for (int i = 0; i < m_mImageHash.GetSize(); i++) {
        LPCWSTR key = m_mImageHash.GetAt(i);
        if (key == NULL) continue;
        const wchar_t* pSeparator = wcsrchr(key, kScaledKeySeparator);
        if (pSeparator == NULL) continue;
        if (bitmap != NULL && (pSeparator - key != nNameLength || wcsncmp(key, bitmap, nNameLength) != 0)) continue;
        aKeys.Add(new CUIString(key));
    }
    for (int i = 0; i < aKeys.GetSize(); i++) {
        CUIString* pKey = static_cast<CUIString*>(aKeys[i]);
        CRenderEngine::FreeImage(static_cast<TImageInfo*>(m_mImageHash.Find(*pKey, false)));
        m_mImageHash.Remove(*pKey);
        delete pKey;
    }
    return aKeys.GetSize();
}

} // namespace Veneer
