// Benchmark: the framework's full paint of bench_paint's skin, and of skins with one kind of drawing only,
// beside the floor: the same pixels drawn by plain GDI calls in one loop, state set once per paint; and
// beside the same calls made in the tree's order, state set where it changes.
//   bench_paint_floor [RUNS] [SKIN]   SKIN: a skin's name ("borders only") to run that one alone
//   bench_paint_floor --only PAINTER RUNS SKIN   PAINTER: framework, floor or "tree order"; paints into the DIB
//       only, untimed and unchecked, for an instruction counter (bench/count_paint_instructions.sh)
#include "veneer/core/UISetup.h"
#include "veneer/Veneer.h"
#include "bench/PaintBenchSkin.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Veneer;
using namespace PaintBench;

namespace {

COLORREF ToColorRef(DWORD color)
{
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

// One control as the floor draws it: where it is and the text it shows.
struct TItem
{
    RECT rc;
    std::wstring text;
};

// Everything the floor needs, read from the laid-out tree once.
struct TFloorScene
{
    TSkinParts parts;
    RECT rcRoot;
    std::vector<TItem> cells;
    std::vector<TItem> labels;
    std::vector<TItem> buttons;
    HFONT hFont;
    HBITMAP hCell;
    HBITMAP hIcon;
    HBITMAP hPlain;
    HDC hSourceDC;
    // The tree order draws the pictures in turn: each has a DC of its own, selected once per paint.
    HDC hCellDC, hIconDC, hPlainDC;
    // The window's paint: an offscreen bitmap kept between paints, as the manager keeps its own.
    HDC hOffscreenDC;
    HBITMAP hOffscreen;
};

void CollectScene(CControlUI* pRoot, TFloorScene& scene)
{
    scene.rcRoot = pRoot->GetPos();
    CContainerUI* pRootBox = static_cast<CContainerUI*>(pRoot);
    for (int row = 0; row < pRootBox->GetCount(); ++row) {
        CContainerUI* pRow = static_cast<CContainerUI*>(pRootBox->GetItemAt(row));
        for (int cell = 0; cell < pRow->GetCount(); ++cell) {
            CContainerUI* pCell = static_cast<CContainerUI*>(pRow->GetItemAt(cell));
            scene.cells.push_back({pCell->GetPos(), std::wstring()});
            CControlUI* pLabel = pCell->GetItemAt(0);
            CControlUI* pButton = pCell->GetItemAt(1);
            scene.labels.push_back({pLabel->GetPos(), pLabel->GetText().GetData()});
            scene.buttons.push_back({pButton->GetPos(), pButton->GetText().GetData()});
        }
    }
}

void Fill(HDC hDC, const std::vector<TItem>& items, DWORD color)
{
    ::SetBkColor(hDC, ToColorRef(color));
    for (const TItem& item : items)
        ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &item.rc, NULL, 0, NULL);
}

void Frame(HDC hDC, const std::vector<TItem>& items, DWORD color)
{
    ::SetDCPenColor(hDC, ToColorRef(color));
    for (const TItem& item : items)
        ::Rectangle(hDC, item.rc.left, item.rc.top, item.rc.right, item.rc.bottom);
}

// A control's text on one line, centred both ways, in the colour the DC holds.
void Text(HDC hDC, const TItem& item)
{
    RECT rc = item.rc;
    ::DrawTextW(hDC, item.text.c_str(), static_cast<int>(item.text.size()), &rc,
                DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
}

void Texts(HDC hDC, const std::vector<TItem>& items, DWORD color)
{
    ::SetTextColor(hDC, ToColorRef(color));
    for (const TItem& item : items)
        Text(hDC, item);
}

// The cell background: a 16 x 16 picture in nine pieces with 4-pixel corners.
void NineGrid(HDC hDC, HDC hSourceDC, const RECT& rc)
{
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const int c = kCellCorner;
    const int m = 16 - 2 * c;
    const int w = rc.right - rc.left - 2 * c;
    const int h = rc.bottom - rc.top - 2 * c;
    ::AlphaBlend(hDC, rc.left + c, rc.top + c, w, h, hSourceDC, c, c, m, m, blend);
    ::AlphaBlend(hDC, rc.left, rc.top, c, c, hSourceDC, 0, 0, c, c, blend);
    ::AlphaBlend(hDC, rc.left + c, rc.top, w, c, hSourceDC, c, 0, m, c, blend);
    ::AlphaBlend(hDC, rc.right - c, rc.top, c, c, hSourceDC, 16 - c, 0, c, c, blend);
    ::AlphaBlend(hDC, rc.left, rc.top + c, c, h, hSourceDC, 0, c, c, m, blend);
    ::AlphaBlend(hDC, rc.right - c, rc.top + c, c, h, hSourceDC, 16 - c, c, c, m, blend);
    ::AlphaBlend(hDC, rc.left, rc.bottom - c, c, c, hSourceDC, 0, 16 - c, c, c, blend);
    ::AlphaBlend(hDC, rc.left + c, rc.bottom - c, w, c, hSourceDC, c, 16 - c, m, c, blend);
    ::AlphaBlend(hDC, rc.right - c, rc.bottom - c, c, c, hSourceDC, 16 - c, 16 - c, c, c, blend);
}

void NineGrids(HDC hDC, HDC hSourceDC, const std::vector<TItem>& items)
{
    for (const TItem& item : items)
        NineGrid(hDC, hSourceDC, item.rc);
}

// A 16 x 16 picture at an offset in a control, cut at the control's right and bottom edges.
void Icon(HDC hDC, HDC hSourceDC, const RECT& rc, const RECT& dest, bool bBlend)
{
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const int x = rc.left + dest.left;
    const int y = rc.top + dest.top;
    const int cx = std::min<LONG>(rc.left + dest.right, rc.right) - x;
    const int cy = std::min<LONG>(rc.top + dest.bottom, rc.bottom) - y;
    if (bBlend)
        ::AlphaBlend(hDC, x, y, cx, cy, hSourceDC, 0, 0, 16, 16, blend);
    else
        ::BitBlt(hDC, x, y, cx, cy, hSourceDC, 0, 0, SRCCOPY);
}

void Icons(HDC hDC, HDC hSourceDC, const std::vector<TItem>& items, const RECT& dest, bool bBlend)
{
    for (const TItem& item : items)
        Icon(hDC, hSourceDC, item.rc, dest, bBlend);
}

// The floor: what the skin shows, part by part. Cells do not overlap, nor do the controls inside them,
// so each part is drawn for all controls of one depth at once; a deeper control is drawn after.
void PaintFloor(HDC hDC, const TFloorScene& s)
{
    const TSkinParts& p = s.parts;
    HDC hSrc = s.hSourceDC;
    if (p.bRootFill) {
        ::SetBkColor(hDC, ToColorRef(kRootColor));
        ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &s.rcRoot, NULL, 0, NULL);
    }
    HGDIOBJ hOldSource = ::SelectObject(hSrc, s.hCell);
    HGDIOBJ hOldPen = ::SelectObject(hDC, ::GetStockObject(DC_PEN));
    HGDIOBJ hOldBrush = ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
    HGDIOBJ hOldFont = ::SelectObject(hDC, s.hFont);
    ::SetBkMode(hDC, TRANSPARENT);

    if (p.bCellFill) Fill(hDC, s.cells, kCellColor);
    if (p.bCellImage) NineGrids(hDC, hSrc, s.cells);
    if (p.bCellBorder) Frame(hDC, s.cells, kCellBorderColor);

    if (p.bLabelFill) Fill(hDC, s.labels, kLabelColor);
    if (p.bButtonFill) Fill(hDC, s.buttons, kButtonColor);
    if (p.bLabelImage) {
        ::SelectObject(hSrc, s.hPlain);
        Icons(hDC, hSrc, s.labels, kLabelImageDest, false);
    }
    if (p.bButtonImage) {
        ::SelectObject(hSrc, s.hIcon);
        Icons(hDC, hSrc, s.buttons, kButtonImageDest, true);
    }
    if (p.bLabelText) Texts(hDC, s.labels, kLabelTextColor);
    if (p.bButtonText) Texts(hDC, s.buttons, kButtonTextColor);
    if (p.bLabelBorder) Frame(hDC, s.labels, kLabelBorderColor);
    if (p.bButtonBorder) Frame(hDC, s.buttons, kButtonBorderColor);

    ::SelectObject(hDC, hOldFont);
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::SelectObject(hSrc, hOldSource);
}

// The same drawing in the tree's order, control by control, each state set when it differs from the one
// before: what any painter that walks the tree must do at least. Beside the floor it tells how much of the
// framework's time is the order it draws in rather than its own work.
void PaintFloorTreeOrder(HDC hDC, const TFloorScene& s)
{
    const TSkinParts& p = s.parts;
    HGDIOBJ hOldCell = ::SelectObject(s.hCellDC, s.hCell);
    HGDIOBJ hOldIcon = ::SelectObject(s.hIconDC, s.hIcon);
    HGDIOBJ hOldPlain = ::SelectObject(s.hPlainDC, s.hPlain);
    HGDIOBJ hOldPen = ::SelectObject(hDC, ::GetStockObject(DC_PEN));
    HGDIOBJ hOldBrush = ::SelectObject(hDC, ::GetStockObject(NULL_BRUSH));
    HGDIOBJ hOldFont = ::SelectObject(hDC, s.hFont);
    ::SetBkMode(hDC, TRANSPARENT);
    COLORREF bk = CLR_INVALID, pen = CLR_INVALID, text = CLR_INVALID;
    auto fill = [&](const RECT& rc, DWORD color) {
        if (bk != ToColorRef(color)) ::SetBkColor(hDC, bk = ToColorRef(color));
        ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
    };
    auto frame = [&](const RECT& rc, DWORD color) {
        if (pen != ToColorRef(color)) ::SetDCPenColor(hDC, pen = ToColorRef(color));
        ::Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
    };
    auto write = [&](const TItem& item, DWORD color) {
        if (text != ToColorRef(color)) ::SetTextColor(hDC, text = ToColorRef(color));
        Text(hDC, item);
    };
    if (p.bRootFill) fill(s.rcRoot, kRootColor);
    for (size_t i = 0; i < s.cells.size(); ++i) {
        if (p.bCellFill) fill(s.cells[i].rc, kCellColor);
        if (p.bCellImage) NineGrid(hDC, s.hCellDC, s.cells[i].rc);
        if (p.bCellBorder) frame(s.cells[i].rc, kCellBorderColor);
        if (p.bLabelFill) fill(s.labels[i].rc, kLabelColor);
        if (p.bLabelImage) Icon(hDC, s.hPlainDC, s.labels[i].rc, kLabelImageDest, false);
        if (p.bLabelText) write(s.labels[i], kLabelTextColor);
        if (p.bLabelBorder) frame(s.labels[i].rc, kLabelBorderColor);
        if (p.bButtonFill) fill(s.buttons[i].rc, kButtonColor);
        if (p.bButtonImage) Icon(hDC, s.hIconDC, s.buttons[i].rc, kButtonImageDest, true);
        if (p.bButtonText) write(s.buttons[i], kButtonTextColor);
        if (p.bButtonBorder) frame(s.buttons[i].rc, kButtonBorderColor);
    }
    ::SelectObject(hDC, hOldFont);
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::SelectObject(s.hPlainDC, hOldPlain);
    ::SelectObject(s.hIconDC, hOldIcon);
    ::SelectObject(s.hCellDC, hOldCell);
}

// The floor's WM_PAINT: offscreen, then one blit, as the manager paints.
void PaintFloorWindow(HWND hWnd, void* pContext)
{
    TFloorScene& s = *static_cast<TFloorScene*>(pContext);
    PAINTSTRUCT ps = {};
    ::BeginPaint(hWnd, &ps);
    if (s.hOffscreen == NULL) {
        RECT rc = {};
        ::GetClientRect(hWnd, &rc);
        s.hOffscreenDC = ::CreateCompatibleDC(ps.hdc);
        s.hOffscreen = ::CreateCompatibleBitmap(ps.hdc, rc.right, rc.bottom);
    }
    HGDIOBJ hOld = ::SelectObject(s.hOffscreenDC, s.hOffscreen);
    PaintFloor(s.hOffscreenDC, s);
    ::BitBlt(ps.hdc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, s.hOffscreenDC, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    ::SelectObject(s.hOffscreenDC, hOld);
    ::EndPaint(hWnd, &ps);
}

struct TResult
{
    const char* pszName = "";
    int nControls = 0;
    std::vector<double> framework, floor, floorTreeOrder, frameworkWnd, floorWnd, frameworkKept;
    long nDiffering = -1;
    POINT ptFirst = {-1, -1};
};

// One line: the medians of two timings and their ratio, each named (the ratio as "a / b").
void PrintRatio(const char* pszWhat, const char* pszA, const std::vector<double>& a, const char* pszB,
                const std::vector<double>& b)
{
    const double ma = Median(a);
    const double mb = Median(b);
    const std::string ratio = std::string(pszA) + " / " + pszB;
    ::printf("    %-28s %-9s %8.3f ms   %-10s %8.3f ms   %-22s %5.2f\n", pszWhat, pszA, ma * 1e3, pszB, mb * 1e3,
             ratio.c_str(), mb > 0 ? ma / mb : 0.0);
}

const char* const kPainters[] = {"framework", "floor", "tree order"};

// One paint by one painter (an index in kPainters), for the --only mode.
struct TPaintOnly
{
    int nPainter;
    HWND hWnd;
    HDC hDC;
    const TFloorScene* pScene;
};

void PaintOnce(const TPaintOnly& only)
{
    if (only.nPainter == 0) {
        ::SendMessageW(only.hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(only.hDC), PRF_CLIENT);
    }
    else if (only.nPainter == 1) {
        PaintFloor(only.hDC, *only.pScene);
    }
    else {
        PaintFloorTreeOrder(only.hDC, *only.pScene);
    }
}

// Builds the skin in a fresh window and times framework and floor, interleaved, in the same process.
// With nOnly set (an index in kPainters), only that one paints, into its DIB.
bool RunSkin(const TSkinParts& parts, int nRuns, TResult& result, int nOnly = -1)
{
    result.pszName = parts.pszName;
    const std::wstring skin = MakeSkin(parts, &result.nControls);
    CBenchWnd wnd;
    if (wnd.Create(NULL, L"bench_paint_floor", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, kWidth, kHeight) == NULL) return false;
    HWND hWnd = wnd.GetHWND();
    CPaintManagerUI* pManager = new CPaintManagerUI;
    pManager->Init(hWnd);
    wnd.m_pManager = pManager;

    TBenchImages images = {};
    CDialogBuilder builder;
    CControlUI* pRoot = NULL;
    if (AddBenchImages(pManager, &images)) pRoot = builder.Create(skin.c_str(), NULL, NULL, pManager);
    TDibCanvas framework;
    TDibCanvas floor;
    TDibCanvas treeOrder;
    bool bOk = pRoot != NULL && framework.Create(kWidth, kHeight) && floor.Create(kWidth, kHeight) &&
               treeOrder.Create(kWidth, kHeight);
    TFloorScene scene = {};
    if (bOk) {
        pManager->AttachDialog(pRoot);
        ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(hWnd);
        scene.parts = parts;
        scene.hFont = pManager->GetFont(-1);
        scene.hCell = images.hCell;
        scene.hIcon = images.hIcon;
        scene.hPlain = images.hPlain;
        scene.hSourceDC = ::CreateCompatibleDC(NULL);
        scene.hCellDC = ::CreateCompatibleDC(NULL);
        scene.hIconDC = ::CreateCompatibleDC(NULL);
        scene.hPlainDC = ::CreateCompatibleDC(NULL);
        CollectScene(pRoot, scene);
    }

    if (bOk && nOnly >= 0) {
        const HDC hCanvas[] = {framework.hDC, floor.hDC, treeOrder.hDC};
        const TPaintOnly only = {nOnly, hWnd, hCanvas[nOnly], &scene};
        // Once more first, so that what is made on first use is made before the runs.
        for (int run = 0; run <= nRuns; ++run)
            PaintOnce(only);
        nRuns = 0;
    }
    for (int run = 0; bOk && run < nRuns; ++run) {
        // Rotate which goes first, so none always meets a warmer cache.
        for (int turn = 0; turn < 3; ++turn) {
            const int who = (turn + run) % 3;
            if (who == 2) {
                treeOrder.Clear();
                result.floorTreeOrder.push_back(Time([&] { PaintFloorTreeOrder(treeOrder.hDC, scene); }));
            }
            else if (who == 0) {
                framework.Clear();
                result.framework.push_back(Time([&] {
                    ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(framework.hDC), PRF_CLIENT);
                }));
                wnd.m_pfnPaint = NULL;
                ::InvalidateRect(hWnd, NULL, FALSE);
                result.frameworkWnd.push_back(Time([&] { ::UpdateWindow(hWnd); }));
                // The same repaint of the unchanged tree with the manager's picture kept.
                pManager->SetKeepPicture(true);
                ::InvalidateRect(hWnd, NULL, FALSE);
                ::UpdateWindow(hWnd);
                ::InvalidateRect(hWnd, NULL, FALSE);
                result.frameworkKept.push_back(Time([&] { ::UpdateWindow(hWnd); }));
                pManager->SetKeepPicture(false);
            }
            else {
                floor.Clear();
                result.floor.push_back(Time([&] { PaintFloor(floor.hDC, scene); }));
                wnd.m_pfnPaint = PaintFloorWindow;
                wnd.m_pPaintContext = &scene;
                ::InvalidateRect(hWnd, NULL, FALSE);
                result.floorWnd.push_back(Time([&] { ::UpdateWindow(hWnd); }));
                wnd.m_pfnPaint = NULL;
            }
        }
    }
    if (bOk) result.nDiffering = 0;
    if (bOk && nOnly < 0) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const size_t i = static_cast<size_t>(y) * kWidth + x;
                // The alpha byte is left as GDI leaves it; only the colour counts.
                if (((framework.pBits[i] ^ floor.pBits[i]) | (treeOrder.pBits[i] ^ floor.pBits[i])) & 0x00FFFFFF) {
                    if (result.nDiffering++ == 0) result.ptFirst = {x, y};
                }
            }
        }
    }

    if (scene.hSourceDC != NULL) ::DeleteDC(scene.hSourceDC);
    for (HDC hPictureDC : {scene.hCellDC, scene.hIconDC, scene.hPlainDC}) {
        if (hPictureDC != NULL) ::DeleteDC(hPictureDC);
    }
    if (scene.hOffscreenDC != NULL) ::DeleteDC(scene.hOffscreenDC);
    if (scene.hOffscreen != NULL) ::DeleteObject(scene.hOffscreen);
    wnd.m_pManager = NULL;
    delete pManager;
    ::DestroyWindow(hWnd);
    return bOk;
}

} // namespace

std::vector<TSkinParts> AllSkins()
{
    std::vector<TSkinParts> skins(1, kFullSkin);
    skins.insert(skins.end(), std::begin(kKindSkins), std::end(kKindSkins));
    return skins;
}

// The --only mode: one painter, one skin, untimed.
int PaintOnly(const char* pszPainter, int nRuns, const char* pszSkin)
{
    int nOnly = -1;
    for (int i = 0; i < 3; ++i) {
        if (std::string(pszPainter) == kPainters[i]) nOnly = i;
    }
    for (const TSkinParts& parts : AllSkins()) {
        if (nOnly < 0 || std::string(pszSkin) != parts.pszName) continue;
        TResult result;
        if (RunSkin(parts, nRuns, result, nOnly)) return 0;
        ::printf("bench_paint_floor: the %s could not be set up\n", parts.pszName);
        return 1;
    }
    ::printf("bench_paint_floor: no painter \"%s\" or no skin \"%s\"\n", pszPainter, pszSkin);
    return 1;
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--only") {
        if (argc == 5) return PaintOnly(argv[2], std::atoi(argv[3]), argv[4]);
        ::printf("usage: bench_paint_floor --only PAINTER RUNS SKIN\n");
        return 1;
    }
    const int nRuns = argc > 1 ? std::max(9, std::atoi(argv[1])) : 15;
    const std::vector<TSkinParts> skins = AllSkins();

    ::printf("bench_paint_floor: %d x %d client, %d runs each, framework and floor interleaved (medians)\n", kWidth,
             kHeight, nRuns);
    bool bAllEqual = true;
    for (const TSkinParts& parts : skins) {
        if (argc > 2 && std::string(argv[2]) != parts.pszName) continue;
        TResult result;
        if (!RunSkin(parts, nRuns, result)) {
            ::printf("bench_paint_floor: the %s could not be set up\n", parts.pszName);
            return 1;
        }
        ::printf("  %s, %d controls: pixels %s", result.pszName, result.nControls,
                 result.nDiffering == 0 ? "equal\n" : "DIFFER");
        if (result.nDiffering != 0) {
            ::printf(" (%ld pixels, first at %ld,%ld)\n", result.nDiffering, result.ptFirst.x, result.ptFirst.y);
            bAllEqual = false;
        }
        PrintRatio("into a DIB (WM_PRINTCLIENT)", "framework", result.framework, "floor", result.floor);
        PrintRatio("  the floor in tree order", "framework", result.framework, "tree order", result.floorTreeOrder);
        PrintRatio("", "tree order", result.floorTreeOrder, "floor", result.floor);
        PrintRatio("WM_PAINT, offscreen + blit", "framework", result.frameworkWnd, "floor", result.floorWnd);
        PrintRatio("WM_PAINT, unchanged, kept", "framework", result.frameworkKept, "floor", result.floorWnd);
    }
    if (!bAllEqual) ::printf("bench_paint_floor: the floor does not draw what the framework draws\n");
    return bAllEqual ? 0 : 1;
}
