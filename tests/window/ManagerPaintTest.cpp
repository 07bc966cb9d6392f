// Paint manager painting: printing into a memory DC, WM_PAINT passes, the update frame, layered windows and the shadow.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"
#include "render/DibCanvas.h"
#include "support/PngFiles.h"
#include "support/TempFolder.h"

#include <functional>

using namespace Veneer;

namespace VeneerTest {

namespace {

// A control that records how it is painted; it may ask its manager for a layout from its first paint.
class CPaintProbeUI : public CControlUI
{
public:
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        paints++;
        lastPaint = rcPaint;
        if (paints == 1 && pUpdateFromFirstPaint != NULL) pUpdateFromFirstPaint->NeedUpdate();
        CControlUI::DoPaint(hDC, rcPaint);
        if (bitmap != NULL) ::DeleteObject(bitmap);
        bitmap = CopySelectedDib(hDC);
    }
    ~CPaintProbeUI() override
    {
        if (bitmap != NULL) ::DeleteObject(bitmap);
    }

    int paints = 0;
    RECT lastPaint = {};
    // What the DIB drawn into held once this control had painted (null for other bitmaps).
    HBITMAP bitmap = NULL;
    CPaintManagerUI* pUpdateFromFirstPaint = NULL;
};

// A native child window that answers WM_PRINT by filling its client area, and keeps the flags.
LPARAM g_printFlags = 0;

LRESULT CALLBACK PrintChildProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_PRINT) {
        g_printFlags = lParam;
        RECT rc = {};
        ::GetClientRect(hWnd, &rc);
        HBRUSH hBrush = ::CreateSolidBrush(RGB(255, 0, 255));
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, hBrush);
        ::DeleteObject(hBrush);
        return 0;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

HWND MakePrintChild(HWND hWndParent, int x, int y, int cx, int cy)
{
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = PrintChildProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"VeneerPrintChildWnd";
        atom = ::RegisterClassW(&wc);
    }
    return ::CreateWindowExW(0, L"VeneerPrintChildWnd", L"", WS_CHILD | WS_VISIBLE, x, y, cx, cy, hWndParent, NULL,
                             ::GetModuleHandleW(NULL), NULL);
}

// A 32-bit pixel of a bottom-up DIB section, as 0xAARRGGBB.
DWORD DibPixel(HBITMAP hBitmap, int x, int y)
{
    ::GdiFlush();
    DIBSECTION ds = {};
    if (::GetObjectW(hBitmap, sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBits == NULL) return 0xDEADBEEF;
    const int row = ds.dsBmih.biHeight > 0 ? ds.dsBmih.biHeight - 1 - y : y;
    return static_cast<const DWORD*>(ds.dsBm.bmBits)[row * ds.dsBm.bmWidth + x];
}

// A routed, shown 400 x 300 window with a notification log; the tree is built by each test.
class ManagerPaintTest : public ManagerTest
{
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        Route(m_hWnd, m_pm);
        m_pm->AddNotifier(&m_log);
    }

    void Show()
    {
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_hWnd);
    }

    // Repaints the given area (the whole client without one) and dispatches whatever follows.
    void Repaint(const RECT* pRect = NULL)
    {
        ::InvalidateRect(m_hWnd, pRect, FALSE);
        ::UpdateWindow(m_hWnd);
        PumpFor(50);
    }

    static void PumpFor(DWORD dwMs)
    {
        const DWORD dwStart = ::GetTickCount();
        PumpUntil([dwStart, dwMs] { return ::GetTickCount() - dwStart >= dwMs; }, dwMs + 100);
    }

    int WindowInits() const
    {
        int n = 0;
        for (const TNotifyUI& msg : m_log.received) {
            if (msg.sType == L"windowinit") n++;
        }
        return n;
    }

    // root (vertical, blue) > top (100 high, grey, 2-pixel green border), picture (50 high, a 20 x 10
    // yellow image at 10,5), probe (the rest).
    void BuildTree()
    {
        CTestBitmap image(20, 10, 0xFFFFFF00);
        ASSERT_TRUE(image.IsValid());
        HBITMAP hImage = image.Detach();
        ASSERT_TRUE(m_pm->AddImage(L"yellow", hImage, 20, 10, false) != NULL);

        m_pRoot = new CVerticalLayoutUI;
        m_pRoot->SetBkColor(0xFF0000FF);
        CControlUI* pTop = new CControlUI;
        pTop->SetFixedHeight(100);
        pTop->SetBkColor(0xFF808080);
        pTop->SetBorderSize(2);
        pTop->SetBorderColor(0xFF00FF00);
        CControlUI* pPicture = new CControlUI;
        pPicture->SetFixedHeight(50);
        pPicture->SetBkImage(L"file='yellow' dest='10,5,30,15'");
        m_pProbe = new CPaintProbeUI;
        m_pRoot->Add(pTop);
        m_pRoot->Add(pPicture);
        m_pRoot->Add(m_pProbe);
        ASSERT_TRUE(m_pm->AttachDialog(m_pRoot));
    }

    CNotifyLog m_log{ L"n" };
    CVerticalLayoutUI* m_pRoot = NULL;
    CPaintProbeUI* m_pProbe = NULL;
};

} // namespace

TEST_F(ManagerPaintTest, PrintClientDrawsTheTreeAtExactPixels)
{
    BuildTree();
    m_pm->UpdateLayout();
    CDibCanvas canvas(400, 300, 0);
    ::SendMessageW(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);

    // Border, two pixels wide inside the top control.
    EXPECT_TRUE(RgbNear(canvas.Get(200, 0), 0x00FF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(200, 1), 0x00FF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(1, 50), 0x00FF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(398, 50), 0x00FF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(200, 98), 0x00FF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(200, 99), 0x00FF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(2, 2), 0x808080, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(397, 97), 0x808080, 0));
    // The image at its destination inside the picture control, the root's colour around it.
    EXPECT_TRUE(RgbNear(canvas.Get(10, 105), 0xFFFF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(29, 114), 0xFFFF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(9, 105), 0x0000FF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(30, 105), 0x0000FF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(10, 115), 0x0000FF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(200, 299), 0x0000FF, 0));
    EXPECT_EQ(1, m_pProbe->paints);

    // The caller's DC comes back as it was given.
    POINT ptOrg = { 5, 5 };
    ::GetWindowOrgEx(canvas.GetDC(), &ptOrg);
    EXPECT_EQ(0, ptOrg.x);
    EXPECT_EQ(0, ptOrg.y);
}

TEST_F(ManagerPaintTest, PrintClientWithChildrenPrintsThemAtTheirPlace)
{
    BuildTree();
    m_pm->UpdateLayout();
    HWND hChild = MakePrintChild(m_hWnd, 100, 200, 40, 30);
    ASSERT_TRUE(hChild != NULL);

    CDibCanvas canvas(400, 300, 0);
    g_printFlags = 0;
    ::SendMessageW(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
    EXPECT_EQ(0, g_printFlags);
    EXPECT_TRUE(RgbNear(canvas.Get(110, 210), 0x0000FF, 0));

    ::SendMessageW(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT | PRF_CHILDREN);
    EXPECT_EQ(PRF_CLIENT | PRF_CHILDREN | PRF_NONCLIENT, g_printFlags);
    EXPECT_TRUE(RgbNear(canvas.Get(100, 200), 0xFF00FF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(139, 229), 0xFF00FF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(99, 200), 0x0000FF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(140, 229), 0x0000FF, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(100, 230), 0x0000FF, 0));
    POINT ptOrg = { 5, 5 };
    ::GetWindowOrgEx(canvas.GetDC(), &ptOrg);
    EXPECT_EQ(0, ptOrg.x);
    ::DestroyWindow(hChild);
}

TEST_F(ManagerPaintTest, FirstPaintLaysOutAndSendsWindowInitOnce)
{
    BuildTree();
    EXPECT_EQ(0, WindowInits());
    Show();
    PumpFor(50);
    EXPECT_EQ(1, WindowInits());
    ASSERT_GE(m_pProbe->paints, 1);
    RECT rcRoot = m_pRoot->GetPos();
    EXPECT_EQ(400, rcRoot.right);
    EXPECT_EQ(300, rcRoot.bottom);
    EXPECT_EQ(150, m_pProbe->GetPos().top);
    EXPECT_FALSE(m_pm->IsUpdateNeeded());

    const int paints = m_pProbe->paints;
    Repaint();
    EXPECT_EQ(paints + 1, m_pProbe->paints);
    EXPECT_EQ(1, WindowInits());

    // The window shows what was painted offscreen.
    CDibCanvas canvas(400, 300, 0);
    HDC hDC = ::GetDC(m_hWnd);
    ::BitBlt(canvas.GetDC(), 0, 0, 400, 300, hDC, 0, 0, SRCCOPY);
    ::ReleaseDC(m_hWnd, hDC);
    EXPECT_TRUE(RgbNear(canvas.Get(200, 50), 0x808080, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(200, 0), 0x00FF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(15, 110), 0xFFFF00, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(200, 250), 0x0000FF, 0));
}

TEST_F(ManagerPaintTest, LayoutRequestedWhilePaintingCausesExactlyOneMorePaint)
{
    BuildTree();
    Show();
    PumpFor(50);
    const int paints = m_pProbe->paints;
    ASSERT_GE(paints, 1);

    m_pProbe->paints = 0;
    m_pProbe->pUpdateFromFirstPaint = m_pm;
    RECT rcSmall = { 0, 160, 50, 170 };
    Repaint(&rcSmall);
    PumpFor(100);
    EXPECT_EQ(2, m_pProbe->paints);
    // The second paint covers the whole window.
    EXPECT_EQ(0, m_pProbe->lastPaint.left);
    EXPECT_EQ(0, m_pProbe->lastPaint.top);
    EXPECT_EQ(400, m_pProbe->lastPaint.right);
    EXPECT_EQ(300, m_pProbe->lastPaint.bottom);
    EXPECT_FALSE(m_pm->IsUpdateNeeded());
}

// A kept offscreen picture: a repaint asked from outside shows it without painting the tree, and it
// equals a fresh paint. A resize, an image replaced and images reloaded from their files make the
// next such repaint paint the tree again.
TEST_F(ManagerPaintTest, RepaintFromOutsideShowsTheKeptPictureUntilTheTreeChanges)
{
    CTempFolder folder;
    ASSERT_TRUE(folder.IsValid());
    ASSERT_TRUE(folder.WriteFile(L"pic.png", SolidPng(0, 255, 0, 255)));
    const CUIString sOldPath = CPaintManagerUI::GetResourcePath();
    CPaintManagerUI::SetResourcePath(folder.GetPath().c_str());
    BuildTree();
    CControlUI* pFile = new CControlUI;
    pFile->SetFixedHeight(20);
    pFile->SetBkImage(L"file='pic.png' dest='0,0,8,8'");
    m_pRoot->AddAt(pFile, 0);
    m_pm->SetKeepPicture(true);
    Show();
    PumpFor(50);
    ASSERT_GE(m_pProbe->paints, 1);

    // What the window shows beside a fresh paint of the tree into a bitmap.
    auto expectShowsTree = [this](int cx, int cy) {
        CDibCanvas printed(cx, cy, 0);
        ::SendMessageW(m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.GetDC()), PRF_CLIENT);
        CDibCanvas shown(cx, cy, 0);
        HDC hDC = ::GetDC(m_hWnd);
        ::BitBlt(shown.GetDC(), 0, 0, cx, cy, hDC, 0, 0, SRCCOPY);
        ::ReleaseDC(m_hWnd, hDC);
        ::GdiFlush();
        int differing = 0;
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                if (((shown.Get(x, y) ^ printed.Get(x, y)) & 0xFFFFFF) != 0) ++differing;
        EXPECT_EQ(0, differing);
        return printed.Get(4, 4) & 0xFFFFFF;
    };
    struct TStep
    {
        const char* what;
        std::function<void()> change;
        bool paintsTree;
        DWORD fileColor;
    };
    CTestBitmap red(20, 10, 0xFFFF0000);
    const TStep steps[] = {
        {"nothing", [] {}, false, 0x00FF00},
        {"resize", [this] { ::SetWindowPos(m_hWnd, NULL, 0, 0, 300, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE); },
         true, 0x00FF00},
        {"image replaced",
         [this, &red] {
             ASSERT_TRUE(m_pm->RemoveImage(L"yellow"));
             ASSERT_TRUE(m_pm->AddImage(L"yellow", red.Detach(), 20, 10, false) != NULL);
         },
         true, 0x00FF00},
        {"reload", [this, &folder] {
             ASSERT_TRUE(folder.WriteFile(L"pic.png", SolidPng(0, 0, 255, 255)));
             m_pm->ReloadAllImages();
         },
         true, 0x0000FF},
        {"control changed", [this] { m_pProbe->SetBkColor(0xFF102030); }, true, 0x0000FF},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.what);
        m_pProbe->paints = 0;
        step.change();
        Repaint();
        EXPECT_EQ(step.paintsTree, m_pProbe->paints > 0);
        RECT rc = {};
        ::GetClientRect(m_hWnd, &rc);
        EXPECT_EQ(step.fileColor, expectShowsTree(rc.right, rc.bottom));
    }
    CDibCanvas shown(1, 1, 0);
    HDC hDC = ::GetDC(m_hWnd);
    ::BitBlt(shown.GetDC(), 0, 0, 1, 1, hDC, 15, 130, SRCCOPY);
    ::ReleaseDC(m_hWnd, hDC);
    EXPECT_TRUE(RgbNear(shown.Get(0, 0), 0xFF0000, 0));
    CPaintManagerUI::SetResourcePath(sOldPath);
}

TEST_F(ManagerPaintTest, UpdateFrameMarksEachRepaintedArea)
{
    BuildTree();
    Show();
    PumpFor(50);
    m_pm->SetShowUpdateRect(true);
    EXPECT_TRUE(m_pm->IsShowUpdateRect());
    RECT rcArea = { 50, 20, 150, 80 };
    Repaint(&rcArea);

    CDibCanvas canvas(400, 300, 0);
    HDC hDC = ::GetDC(m_hWnd);
    ::BitBlt(canvas.GetDC(), 0, 0, 400, 300, hDC, 0, 0, SRCCOPY);
    EXPECT_TRUE(RgbNear(canvas.Get(50, 20), 0xDC0000, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(149, 50), 0xDC0000, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(100, 79), 0xDC0000, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(100, 50), 0x808080, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(49, 20), 0x808080, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(100, 80), 0x808080, 0));

    // Switched off, the next repaint of the area leaves no frame.
    m_pm->SetShowUpdateRect(false);
    Repaint(&rcArea);
    ::BitBlt(canvas.GetDC(), 0, 0, 400, 300, hDC, 0, 0, SRCCOPY);
    ::ReleaseDC(m_hWnd, hDC);
    EXPECT_TRUE(RgbNear(canvas.Get(50, 20), 0x808080, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(149, 50), 0x808080, 0));
}

TEST_F(ManagerPaintTest, LayeredWindowKeepsPerPixelAlpha)
{
    m_pRoot = new CVerticalLayoutUI;
    CControlUI* pHalf = new CControlUI;
    pHalf->SetFixedHeight(100);
    pHalf->SetBkColor(0x80FF0000);
    m_pProbe = new CPaintProbeUI;
    m_pRoot->Add(pHalf);
    m_pRoot->Add(m_pProbe);
    ASSERT_TRUE(m_pm->AttachDialog(m_pRoot));
    m_pm->SetBackgroundTransparent(true);
    EXPECT_TRUE(m_pm->IsAlphaBackground());
    EXPECT_EQ(0, ::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);

    Show();
    PumpFor(50);
    EXPECT_NE(0, ::GetWindowLongW(m_hWnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(1, WindowInits());
    ASSERT_GE(m_pProbe->paints, 1);
    ASSERT_TRUE(m_pProbe->bitmap != NULL);
    DIBSECTION ds = {};
    ASSERT_EQ(static_cast<int>(sizeof(ds)), ::GetObjectW(m_pProbe->bitmap, sizeof(ds), &ds));
    EXPECT_EQ(32, ds.dsBm.bmBitsPixel);
    EXPECT_EQ(400, ds.dsBmih.biWidth);
    EXPECT_EQ(300, ds.dsBmih.biHeight);

    // Half-transparent red (premultiplied) over the top, nothing at all below.
    EXPECT_TRUE(ColorNear(DibPixel(m_pProbe->bitmap, 200, 50), 0x80800000, 1));
    EXPECT_TRUE(ColorNear(DibPixel(m_pProbe->bitmap, 0, 99), 0x80800000, 1));
    EXPECT_EQ(0u, DibPixel(m_pProbe->bitmap, 200, 100));
    EXPECT_EQ(0u, DibPixel(m_pProbe->bitmap, 399, 299));
}

TEST_F(ManagerPaintTest, ShadowSurroundsTheContentOfALayeredWindow)
{
    // A 30 x 30 shadow image of premultiplied quarter-opaque black; its corners are 10 x 10.
    CTestBitmap shadow(30, 30, 0x40000000);
    ASSERT_TRUE(shadow.IsValid());
    HBITMAP hShadow = shadow.Detach();
    ASSERT_TRUE(m_pm->AddImage(L"shadow", hShadow, 30, 30, true) != NULL);
    m_pm->SetWindowShadowImage(L"shadow");
    m_pm->SetTopleftShadowRect(0, 0, 10, 10);
    m_pm->SetToprightShadowRect(20, 0, 10, 10);
    m_pm->SetBottomleftShadowRect(0, 20, 10, 10);
    m_pm->SetBottomrightShadowRect(20, 20, 10, 10);
    m_pm->CalMiddleShadowRect();
    m_pm->SetHasWindowShadow(true);
    m_pm->SetBackgroundTransparent(true);

    // An opaque colour fills only the paint rectangle it is given.
    m_pProbe = new CPaintProbeUI;
    m_pProbe->SetBkColor(0xFFFF0000);
    ASSERT_TRUE(m_pm->AttachDialog(m_pProbe));
    Show();
    PumpFor(50);
    ASSERT_GE(m_pProbe->paints, 1);
    EXPECT_EQ(10, m_pProbe->lastPaint.left);
    EXPECT_EQ(10, m_pProbe->lastPaint.top);
    EXPECT_EQ(390, m_pProbe->lastPaint.right);
    EXPECT_EQ(290, m_pProbe->lastPaint.bottom);

    HBITMAP hBits = m_pProbe->bitmap;
    // Shadow pieces around, the content inside, nothing of the content under the shadow.
    EXPECT_TRUE(ColorNear(DibPixel(hBits, 0, 0), 0x40000000, 1));
    EXPECT_TRUE(ColorNear(DibPixel(hBits, 200, 5), 0x40000000, 1));
    EXPECT_TRUE(ColorNear(DibPixel(hBits, 9, 150), 0x40000000, 1));
    EXPECT_TRUE(ColorNear(DibPixel(hBits, 395, 295), 0x40000000, 1));
    EXPECT_TRUE(RgbNear(DibPixel(hBits, 10, 10), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(DibPixel(hBits, 389, 289), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(DibPixel(hBits, 200, 150), 0xFF0000, 0));
    EXPECT_TRUE(ColorNear(DibPixel(hBits, 390, 150), 0x40000000, 1));
    EXPECT_TRUE(ColorNear(DibPixel(hBits, 200, 290), 0x40000000, 1));
}

} // namespace VeneerTest
