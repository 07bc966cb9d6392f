// Paint manager invalidation: what a layout pass or an attach leaves to repaint, in and out of WM_PAINT.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"
#include "render/DibCanvas.h"

using namespace Veneer;

namespace VeneerTest {

namespace {

const DWORD kRootColor = 0xFF0000FF;
const DWORD kMoverColor = 0xFFFF0000;

// A red control that always places itself at its target, whatever rectangle its parent offers; it may
// invalidate itself from DoInit.
class CMoverUI : public CControlUI
{
public:
    explicit CMoverUI(const RECT& rcTarget) : m_rcTarget(rcTarget) { SetBkColor(kMoverColor); }

    void SetPos(RECT rc) override
    {
        (void)rc;
        CControlUI::SetPos(m_rcTarget);
    }
    void DoInit() override
    {
        if (bInvalidateOnInit) Invalidate();
    }
    void DoPaint(HDC hDC, const RECT& rcPaint) override
    {
        CControlUI::DoPaint(hDC, rcPaint);
        ++nPaints;
        if (hLastBitmap != NULL) ::DeleteObject(hLastBitmap);
        hLastBitmap = CopySelectedDib(hDC);
    }
    ~CMoverUI() override
    {
        if (hLastBitmap != NULL) ::DeleteObject(hLastBitmap);
    }
    // The next layout pass moves the control to rcTarget.
    void MoveAtNextLayout(const RECT& rcTarget)
    {
        m_rcTarget = rcTarget;
        NeedUpdate();
    }

    bool bInvalidateOnInit = false;
    int nPaints = 0;
    // What the DIB the last paint drew into held once this control had painted (null for others).
    HBITMAP hLastBitmap = NULL;

private:
    RECT m_rcTarget;
};

// What a window message sent from inside a layout found already invalidated.
HWND g_hWndProbed = NULL;
POINT g_ptProbed = {};
bool g_bProbedPending = false;
int g_nProbes = 0;

bool SendProbeFromSizeHook(void*)
{
    ::SendMessageW(g_hWndProbed, WM_APP + 7, 0, 0);
    return true;
}

class CPendingProbe : public IMessageFilterUI
{
public:
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) override
    {
        if (uMsg != WM_APP + 7) return 0;
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ::GetUpdateRgn(g_hWndProbed, hRgn, FALSE);
        g_bProbedPending = ::PtInRegion(hRgn, g_ptProbed.x, g_ptProbed.y) != FALSE;
        ::DeleteObject(hRgn);
        g_nProbes++;
        bHandled = true;
        return 0;
    }
};

RECT Rc(int left, int top, int right, int bottom)
{
    RECT rc = { left, top, right, bottom };
    return rc;
}

// A shown, routed 400 x 300 window: a blue container root whose children are movers.
class ManagerInvalidateTest : public ManagerTest
{
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        Route(m_hWnd, m_pm);
        m_pRoot = new CContainerUI;
        m_pRoot->SetBkColor(kRootColor);
    }

    CMoverUI* AddMover(const RECT& rc)
    {
        CMoverUI* pMover = new CMoverUI(rc);
        m_pRoot->Add(pMover);
        return pMover;
    }

    // Attaches the tree, shows the window and paints it once; nothing is left to repaint.
    void ShowPainted()
    {
        ASSERT_TRUE(m_pm->AttachDialog(m_pRoot));
        ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        ::UpdateWindow(m_hWnd);
        // Any message brings out what the first layout may still hold back.
        ::SendMessageW(m_hWnd, WM_NULL, 0, 0);
        Pump();
        ASSERT_FALSE(::GetUpdateRect(m_hWnd, NULL, FALSE));
    }

    // True when the point lies in the window's update region.
    bool Pending(int x, int y) const
    {
        HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
        ::GetUpdateRgn(m_hWnd, hRgn, FALSE);
        const bool bIn = ::PtInRegion(hRgn, x, y) != FALSE;
        ::DeleteObject(hRgn);
        return bIn;
    }

    // The window's pixel as 0x00RRGGBB.
    DWORD ScreenPixel(int x, int y) const
    {
        CDibCanvas canvas(1, 1, 0);
        HDC hDC = ::GetDC(m_hWnd);
        ::BitBlt(canvas.GetDC(), 0, 0, 1, 1, hDC, x, y, SRCCOPY);
        ::ReleaseDC(m_hWnd, hDC);
        return canvas.Get(0, 0) & 0xFFFFFF;
    }

    CContainerUI* m_pRoot = NULL;
};

} // namespace

TEST_F(ManagerInvalidateTest, LayoutLeavesOldAndNewPlacesOfMovedControlsToRepaint)
{
    CMoverUI* pLeft = AddMover(Rc(10, 10, 40, 40));
    CMoverUI* pRight = AddMover(Rc(300, 200, 330, 230));
    ShowPainted();

    pLeft->MoveAtNextLayout(Rc(50, 10, 80, 40));
    pRight->MoveAtNextLayout(Rc(300, 250, 330, 280));
    // Only what the layout itself invalidates counts here.
    ::ValidateRect(m_hWnd, NULL);
    m_pm->UpdateLayout();

    EXPECT_TRUE(Pending(15, 15));
    EXPECT_TRUE(Pending(79, 39));
    EXPECT_TRUE(Pending(305, 205));
    EXPECT_TRUE(Pending(329, 279));
    // Two moves far apart do not make the window repaint everything in between.
    EXPECT_FALSE(Pending(200, 120));
    EXPECT_FALSE(Pending(5, 250));
    EXPECT_FALSE(Pending(390, 20));
}

TEST_F(ManagerInvalidateTest, ManyScatteredMovesAllRepaint)
{
    // Twenty-four controls on a grid, each moving 20 pixels down inside its own cell.
    std::vector<CMoverUI*> movers;
    for (int i = 0; i < 24; i++) {
        const int x = (i % 6) * 60 + 10;
        const int y = (i / 6) * 70 + 10;
        movers.push_back(AddMover(Rc(x, y, x + 20, y + 20)));
    }
    ShowPainted();
    for (int i = 0; i < 24; i++) {
        const RECT rc = movers[i]->GetPos();
        movers[i]->MoveAtNextLayout(Rc(rc.left, rc.top + 20, rc.right, rc.bottom + 20));
    }
    ::ValidateRect(m_hWnd, NULL);
    m_pm->UpdateLayout();

    for (int i = 0; i < 24; i++) {
        const int x = (i % 6) * 60 + 10;
        const int y = (i / 6) * 70 + 10;
        EXPECT_TRUE(Pending(x, y)) << "old place of mover " << i;
        EXPECT_TRUE(Pending(x + 19, y + 39)) << "new place of mover " << i;
    }
}

TEST_F(ManagerInvalidateTest, LayoutInsideOnePaintRepaintsBothPlaces)
{
    CMoverUI* pMover = AddMover(Rc(10, 10, 40, 40));
    ShowPainted();
    ASSERT_EQ(0xFF0000u, ScreenPixel(20, 20));

    pMover->MoveAtNextLayout(Rc(200, 150, 240, 190));
    // The paint asks only for an unrelated corner; its layout must widen what it repaints.
    ::ValidateRect(m_hWnd, NULL);
    RECT rcCorner = Rc(380, 0, 400, 10);
    ::InvalidateRect(m_hWnd, &rcCorner, FALSE);
    ::UpdateWindow(m_hWnd);

    // One WM_PAINT did it all: nothing is left for a second one.
    EXPECT_FALSE(::GetUpdateRect(m_hWnd, NULL, FALSE));
    EXPECT_EQ(0x0000FFu, ScreenPixel(20, 20));
    EXPECT_EQ(0xFF0000u, ScreenPixel(220, 170));
    EXPECT_EQ(0xFF0000u, ScreenPixel(239, 189));
}

TEST_F(ManagerInvalidateTest, MessageSentDuringALayoutFindsEarlierAreasInvalidated)
{
    CMoverUI* pFirst = AddMover(Rc(10, 10, 40, 40));
    CMoverUI* pSecond = AddMover(Rc(300, 10, 330, 40));
    ShowPainted();
    CPendingProbe probe;
    m_pm->AddMessageFilter(&probe);
    g_hWndProbed = m_hWnd;
    g_ptProbed.x = 110;
    g_ptProbed.y = 120;
    g_bProbedPending = false;
    g_nProbes = 0;
    pSecond->SizeHook += SendProbeFromSizeHook;

    pFirst->MoveAtNextLayout(Rc(100, 100, 130, 130));
    pSecond->MoveAtNextLayout(Rc(300, 100, 330, 130));
    ::ValidateRect(m_hWnd, NULL);
    m_pm->UpdateLayout();

    ASSERT_EQ(1, g_nProbes);
    EXPECT_TRUE(g_bProbedPending);
    // And what came after the message is not lost either.
    EXPECT_TRUE(Pending(310, 120));
    m_pm->RemoveMessageFilter(&probe);
}

TEST_F(ManagerInvalidateTest, AttachLeavesWhatControlsInvalidateWhileInitialising)
{
    // Placed before there is a manager, so the rectangles are only stored.
    m_pRoot->SetPos(Rc(0, 0, 400, 300));
    CMoverUI* pMover = AddMover(Rc(60, 70, 90, 100));
    pMover->SetPos(Rc(60, 70, 90, 100));
    pMover->bInvalidateOnInit = true;
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    ::ValidateRect(m_hWnd, NULL);

    ASSERT_TRUE(m_pm->AttachDialog(m_pRoot));
    EXPECT_TRUE(Pending(60, 70));
    EXPECT_TRUE(Pending(89, 99));
    EXPECT_FALSE(Pending(200, 200));
}

TEST_F(ManagerInvalidateTest, LayeredWindowShowsAControlMovedByALayout)
{
    CMoverUI* pMover = AddMover(Rc(10, 10, 40, 40));
    m_pm->SetBackgroundTransparent(true);
    ShowPainted();

    pMover->MoveAtNextLayout(Rc(200, 150, 240, 190));
    ::ValidateRect(m_hWnd, NULL);
    m_pm->UpdateLayout();
    EXPECT_TRUE(::GetUpdateRect(m_hWnd, NULL, FALSE));
    ::UpdateWindow(m_hWnd);
    Pump();

    // The layered paint renders the whole window into a fresh DIB; read what it last drew.
    ASSERT_TRUE(pMover->hLastBitmap != NULL);
    CDibCanvas canvas(400, 300, 0);
    HDC hDC = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, pMover->hLastBitmap);
    ::BitBlt(canvas.GetDC(), 0, 0, 400, 300, hDC, 0, 0, SRCCOPY);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    EXPECT_TRUE(RgbNear(canvas.Get(220, 170), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(20, 20), 0x0000FF, 0));
    EXPECT_FALSE(::GetUpdateRect(m_hWnd, NULL, FALSE));
}

TEST_F(ManagerInvalidateTest, LayeredPaintThatLaysOutLeavesNothingToPaintAgain)
{
    CMoverUI* pMover = AddMover(Rc(10, 10, 40, 40));
    m_pm->SetBackgroundTransparent(true);
    ShowPainted();

    // The layout runs in the paint; what it invalidates is in the picture that paint shows.
    pMover->MoveAtNextLayout(Rc(200, 150, 240, 190));
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    pMover->nPaints = 0;
    ::UpdateWindow(m_hWnd);
    Pump();

    EXPECT_EQ(1, pMover->nPaints);
    EXPECT_FALSE(::GetUpdateRect(m_hWnd, NULL, FALSE));
    const RECT rcMoved = Rc(200, 150, 240, 190);
    EXPECT_TRUE(::EqualRect(&rcMoved, &pMover->GetPos()));
}

TEST_F(ManagerInvalidateTest, ControlsPlacedWhileHiddenShowOnceTheWindowIs)
{
    CMoverUI* pMover = AddMover(Rc(10, 10, 40, 40));
    ASSERT_TRUE(m_pm->AttachDialog(m_pRoot));
    m_pRoot->SetPos(Rc(0, 0, 400, 300));
    pMover->MoveAtNextLayout(Rc(150, 100, 190, 140));
    m_pRoot->SetPos(Rc(0, 0, 400, 300));
    EXPECT_FALSE(::GetUpdateRect(m_hWnd, NULL, FALSE));

    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    EXPECT_FALSE(::GetUpdateRect(m_hWnd, NULL, FALSE));
    EXPECT_EQ(0xFF0000u, ScreenPixel(150, 100));
    EXPECT_EQ(0xFF0000u, ScreenPixel(189, 139));
    EXPECT_EQ(0x0000FFu, ScreenPixel(20, 20));

    // Hidden again and moved back, it shows at its last place when shown once more.
    ::ShowWindow(m_hWnd, SW_HIDE);
    pMover->MoveAtNextLayout(Rc(10, 10, 40, 40));
    m_pRoot->SetPos(Rc(0, 0, 400, 300));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    EXPECT_EQ(0xFF0000u, ScreenPixel(20, 20));
    EXPECT_EQ(0x0000FFu, ScreenPixel(160, 110));
}

} // namespace VeneerTest
