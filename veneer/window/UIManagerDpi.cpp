// CPaintManagerUI: the display scale: process DPI awareness, the window's DPI, skin units to pixels, and
// moving to another DPI (fonts made anew, native child windows given them, the tree laid out again).
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"
#include "veneer/control/UIControl.h"

namespace Veneer {

namespace {

const int kDefaultDpi = 96;
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

// v * numerator / denominator, rounded half away from zero, held within int.
int MulDivRound(int nValue, int nNumerator, int nDenominator)
{
    const long long nProduct = static_cast<long long>(nValue) * nNumerator;
    const long long nHalf = nDenominator / 2;
    long long nResult = nProduct >= 0 ? (nProduct + nHalf) / nDenominator : -((-nProduct + nHalf) / nDenominator);
    if (nResult > INT_MAX) nResult = INT_MAX;
    if (nResult < INT_MIN) nResult = INT_MIN;
    return static_cast<int>(nResult);
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
    return MulDivRound(nPixels, kDefaultDpi, SystemDpi());
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
    return MulDivRound(m_nDpi, 100, kDefaultDpi);
}

int CPaintManagerUI::ScaleValue(int nValue) const
{
    return m_nDpi == kDefaultDpi ? nValue : MulDivRound(nValue, m_nDpi, kDefaultDpi);
}

SIZE CPaintManagerUI::ScaleSize(SIZE sz) const
{
    SIZE szScaled = {ScaleValue(sz.cx), ScaleValue(sz.cy)};
    return szScaled;
}

RECT CPaintManagerUI::ScaleRect(const RECT& rc) const
{
    // Edges are scaled, not sizes, so that rectangles sharing an edge in the skin still share it.
    RECT rcScaled = {ScaleValue(rc.left), ScaleValue(rc.top), ScaleValue(rc.right), ScaleValue(rc.bottom)};
    return rcScaled;
}

int CPaintManagerUI::UnscaleValue(int nPixels) const
{
    return m_nDpi == kDefaultDpi ? nPixels : MulDivRound(nPixels, kDefaultDpi, m_nDpi);
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

} // namespace Veneer
