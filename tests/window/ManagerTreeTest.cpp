// Paint manager: control-tree bookkeeping, name map, searches, option groups, notifications, timers, focus and Tab.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"

using namespace Veneer;

namespace VeneerTest {

namespace {

bool LogHook(void* pParam)
{
    const TNotifyUI* pMsg = static_cast<const TNotifyUI*>(pParam);
    g_log.push_back(std::wstring(L"hook:") + pMsg->sType.GetData());
    return true;
}

// root (vertical) > a, b, c, d, e, each 50 pixels high; a, c, d and e are Tab stops, d is hidden and
// e disabled.
class ManagerTreeTest : public ManagerTest
{
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        m_pRoot = new CVerticalLayoutUI;
        m_pRoot->SetName(L"root");
        m_a = AddProbe(L"a", UIFLAG_TABSTOP);
        m_b = AddProbe(L"b", 0);
        m_c = AddProbe(L"c", UIFLAG_TABSTOP);
        m_d = AddProbe(L"d", UIFLAG_TABSTOP);
        m_e = AddProbe(L"e", UIFLAG_TABSTOP);
        m_d->SetVisible(false);
        m_e->SetEnabled(false);
        ASSERT_TRUE(m_pm->AttachDialog(m_pRoot));
        m_pm->UpdateLayout();
        g_log.clear();
    }

    CProbeUI* AddProbe(LPCWSTR pstrName, UINT uFlags)
    {
        CProbeUI* pProbe = new CProbeUI(pstrName, uFlags);
        pProbe->SetFixedHeight(50);
        m_pRoot->Add(pProbe);
        return pProbe;
    }

    CVerticalLayoutUI* m_pRoot = NULL;
    CProbeUI* m_a = NULL;
    CProbeUI* m_b = NULL;
    CProbeUI* m_c = NULL;
    CProbeUI* m_d = NULL;
    CProbeUI* m_e = NULL;
};

int CountEvents(const CProbeUI* pProbe, int type)
{
    int n = 0;
    for (const TEventUI& event : pProbe->events) {
        if (event.Type == type) n++;
    }
    return n;
}

} // namespace

TEST_F(ManagerTreeTest, AttachRegistersNamesAndLaysOutOnce)
{
    EXPECT_EQ(m_pRoot, m_pm->GetRoot());
    EXPECT_EQ(m_pm, m_a->GetManager());
    EXPECT_EQ(m_pRoot, m_a->GetParent());
    EXPECT_EQ(m_c, m_pm->FindControl(L"c"));
    EXPECT_EQ(m_pRoot, m_pm->FindControl(L"root"));
    // The name map is case-sensitive; the sub-control search by name is not.
    EXPECT_EQ(nullptr, m_pm->FindControl(L"C"));
    EXPECT_EQ(m_c, m_pm->FindSubControlByName(NULL, L"C"));
    EXPECT_EQ(nullptr, m_pm->FindSubControlByName(NULL, L"zz"));

    // The first layout placed the children and sent "windowinit" once.
    RECT rcB = m_b->GetPos();
    EXPECT_EQ(50, rcB.top);
    EXPECT_EQ(100, rcB.bottom);
    EXPECT_FALSE(m_pm->IsUpdateNeeded());
    CNotifyLog log(L"n");
    m_pm->AddNotifier(&log);
    m_pm->NeedUpdate();
    m_pm->UpdateLayout();
    EXPECT_TRUE(log.received.empty());
}

TEST_F(ManagerTreeTest, WindowInitWaitsForAClientArea)
{
    HWND hEmpty = MakeWindow(0, 0);
    CPaintManagerUI pm;
    pm.Init(hEmpty);
    CNotifyLog log(L"n");
    pm.AddNotifier(&log);
    pm.AttachDialog(new CVerticalLayoutUI);
    pm.UpdateLayout();
    EXPECT_TRUE(log.received.empty());

    ::SetWindowPos(hEmpty, NULL, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    pm.NeedUpdate();
    pm.UpdateLayout();
    ASSERT_EQ(1u, log.received.size());
    EXPECT_STREQ(L"windowinit", log.received[0].sType.GetData());
    EXPECT_EQ(pm.GetRoot(), log.received[0].pSender);
}

TEST_F(ManagerTreeTest, LaterControlOfTheSameNameWinsTheNameMap)
{
    CProbeUI* pTwin = AddProbe(L"a", 0);
    m_pm->InitControls(pTwin, m_pRoot);
    EXPECT_EQ(pTwin, m_pm->FindControl(L"a"));

    // Reaping the displaced control leaves the name alone.
    m_pm->ReapObjects(m_a);
    EXPECT_EQ(pTwin, m_pm->FindControl(L"a"));
    m_pm->ReapObjects(pTwin);
    EXPECT_EQ(nullptr, m_pm->FindControl(L"a"));
    EXPECT_FALSE(m_pm->InitControls(NULL));
}

TEST_F(ManagerTreeTest, SearchesByPointAndClass)
{
    POINT pt = { 10, 75 };
    EXPECT_EQ(m_b, m_pm->FindControl(pt));
    // c lies at 100..150; the hidden d takes no space.
    pt.y = 125;
    EXPECT_EQ(m_c, m_pm->FindControl(pt));
    m_c->SetMouseEnabled(false);
    EXPECT_EQ(m_pRoot, m_pm->FindControl(pt));
    pt.y = 10;
    EXPECT_EQ(m_a, m_pm->FindSubControlByPoint(m_pRoot, pt));
    pt.x = 1000;
    EXPECT_EQ(nullptr, m_pm->FindControl(pt));

    EXPECT_EQ(m_a, m_pm->FindSubControlByClass(NULL, L"ProbeUI"));
    EXPECT_EQ(m_c, m_pm->FindSubControlByClass(NULL, L"ProbeUI", 2));
    EXPECT_EQ(nullptr, m_pm->FindSubControlByClass(NULL, L"ProbeUI", 5));
    EXPECT_EQ(nullptr, m_pm->FindSubControlByClass(NULL, L"probeui"));
    EXPECT_EQ(nullptr, m_pm->FindSubControlByClass(NULL, L"ProbeUI", -1));
    // Without self-first the walk meets the children before their container.
    EXPECT_EQ(m_b, m_pm->FindSubControlByClass(NULL, L"*", 1));

    CStdPtrArray* pFound = m_pm->FindSubControlsByClass(NULL, L"ProbeUI");
    ASSERT_EQ(5, pFound->GetSize());
    EXPECT_EQ(m_a, pFound->GetAt(0));
    EXPECT_EQ(m_e, pFound->GetAt(4));
    EXPECT_EQ(pFound, m_pm->GetSubControlsByClass());
    EXPECT_EQ(6, m_pm->FindSubControlsByClass(NULL, L"*")->GetSize());
    EXPECT_EQ(0, m_pm->FindSubControlsByClass(m_b, L"VerticalLayoutUI")->GetSize());
}

TEST_F(ManagerTreeTest, OptionGroups)
{
    EXPECT_TRUE(m_pm->AddOptionGroup(L"g", m_a));
    EXPECT_TRUE(m_pm->AddOptionGroup(L"g", m_b));
    EXPECT_FALSE(m_pm->AddOptionGroup(L"g", m_a));
    CStdPtrArray* pGroup = m_pm->GetOptionGroup(L"g");
    ASSERT_TRUE(pGroup != NULL);
    EXPECT_EQ(2, pGroup->GetSize());
    EXPECT_EQ(nullptr, m_pm->GetOptionGroup(L"G"));

    m_pm->RemoveOptionGroup(L"g", m_a);
    EXPECT_EQ(1, m_pm->GetOptionGroup(L"g")->GetSize());
    m_pm->RemoveOptionGroup(L"g", m_b);
    EXPECT_EQ(nullptr, m_pm->GetOptionGroup(L"g"));

    m_pm->AddOptionGroup(L"x", m_a);
    m_pm->AddOptionGroup(L"y", m_b);
    m_pm->RemoveAllOptionGroups();
    EXPECT_EQ(nullptr, m_pm->GetOptionGroup(L"x"));
    EXPECT_EQ(nullptr, m_pm->GetOptionGroup(L"y"));
}

TEST_F(ManagerTreeTest, SyncNotifyRunsTheHookBeforeTheNotifiersInOrder)
{
    CNotifyLog first(L"first");
    CNotifyLog second(L"second");
    EXPECT_TRUE(m_pm->AddNotifier(&first));
    EXPECT_TRUE(m_pm->AddNotifier(&second));
    m_a->NotifyHook += LogHook;

    m_pm->SendNotify(m_a, L"click", 7, 9);
    std::vector<std::wstring> expected = { L"hook:click", L"first:click", L"second:click" };
    EXPECT_EQ(expected, g_log);
    ASSERT_EQ(1u, second.received.size());
    EXPECT_EQ(m_a, second.received[0].pSender);
    EXPECT_EQ(7u, second.received[0].wParam);
    EXPECT_EQ(9, second.received[0].lParam);
    EXPECT_EQ(-1, second.received[0].ptMouse.x);
    EXPECT_NE(0u, second.received[0].dwTimestamp);
    EXPECT_TRUE(second.received[0].sVirtualWnd.IsEmpty());

    EXPECT_TRUE(m_pm->RemoveNotifier(&first));
    EXPECT_FALSE(m_pm->RemoveNotifier(&first));
    g_log.clear();
    m_pm->SendNotify(NULL, L"bare");
    expected = { L"second:bare" };
    EXPECT_EQ(expected, g_log);
}

TEST_F(ManagerTreeTest, AsyncNotifyWaitsForTheFlush)
{
    CNotifyLog log(L"n");
    m_pm->AddNotifier(&log);
    m_a->NotifyHook += LogHook;
    m_b->SetVirtualWnd(L"page");

    m_pm->SendNotify(m_a, L"one", 0, 0, true);
    m_pm->SendNotify(m_b, L"two", 3, 4, true);
    EXPECT_TRUE(g_log.empty());

    m_pm->FlushAsyncNotify();
    std::vector<std::wstring> expected = { L"hook:one", L"n:one", L"n:two" };
    EXPECT_EQ(expected, g_log);
    ASSERT_EQ(2u, log.received.size());
    EXPECT_EQ(3u, log.received[1].wParam);
    EXPECT_EQ(4, log.received[1].lParam);
    EXPECT_STREQ(L"page", log.received[1].sVirtualWnd.GetData());

    // The queue is empty after a flush.
    g_log.clear();
    m_pm->FlushAsyncNotify();
    EXPECT_TRUE(g_log.empty());
}

TEST_F(ManagerTreeTest, NotificationOfADestroyedSenderArrivesWithoutSender)
{
    CNotifyLog log(L"n");
    m_pm->AddNotifier(&log);
    m_pm->SendNotify(m_b, L"late", 0, 0, true);
    m_pRoot->Remove(m_b);
    m_b = NULL;
    m_pm->ProcessDelayedCleanup();
    m_pm->FlushAsyncNotify();
    ASSERT_EQ(1u, log.received.size());
    EXPECT_STREQ(L"late", log.received[0].sType.GetData());
    EXPECT_EQ(nullptr, log.received[0].pSender);
}

TEST_F(ManagerTreeTest, ReapObjectsForgetsEveryReference)
{
    CNotifyLog log(L"n");
    m_pm->AddNotifier(&log);
    m_pm->SetFocus(m_a);
    ASSERT_EQ(m_a, m_pm->GetFocus());
    ASSERT_TRUE(m_pm->SetTimer(m_a, 1, 10000));
    m_pm->AddPostPaint(m_a);
    m_pm->SendNotify(m_a, L"queued", 0, 0, true);

    m_pm->ReapObjects(m_a);
    EXPECT_EQ(nullptr, m_pm->GetFocus());
    EXPECT_EQ(nullptr, m_pm->FindControl(L"a"));
    EXPECT_EQ(0, m_pm->GetPostPaintCount());
    EXPECT_FALSE(m_pm->FireTimer(17));
    log.received.clear();
    m_pm->FlushAsyncNotify();
    ASSERT_EQ(1u, log.received.size());
    EXPECT_EQ(nullptr, log.received[0].pSender);
}

TEST_F(ManagerTreeTest, AttachDialogReplacesTheTreeThroughDelayedCleanup)
{
    bool bOldGone = false;
    CProbeUI* pOld = new CProbeUI(L"old", 0, &bOldGone);
    m_pRoot->Add(pOld);
    m_pm->InitControls(pOld, m_pRoot);
    m_pm->SetFocus(m_a);
    m_pm->AddPostPaint(m_c);

    CVerticalLayoutUI* pNewRoot = new CVerticalLayoutUI;
    CProbeUI* pNew = new CProbeUI(L"new");
    pNewRoot->Add(pNew);
    ASSERT_TRUE(m_pm->AttachDialog(pNewRoot));

    EXPECT_EQ(pNewRoot, m_pm->GetRoot());
    EXPECT_EQ(nullptr, m_pm->GetFocus());
    EXPECT_EQ(0, m_pm->GetPostPaintCount());
    EXPECT_EQ(pNew, m_pm->FindControl(L"new"));
    EXPECT_EQ(nullptr, m_pm->FindControl(L"old"));
    EXPECT_TRUE(m_pm->IsUpdateNeeded());
    EXPECT_FALSE(bOldGone);

    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, m_hWnd, WM_APP + 1, WM_APP + 1, PM_REMOVE));
    m_pm->ProcessDelayedCleanup();
    EXPECT_TRUE(bOldGone);
    // A second pass has nothing left to delete.
    m_pm->ProcessDelayedCleanup();

    // Attaching the current root again keeps it alive.
    EXPECT_TRUE(m_pm->AttachDialog(pNewRoot));
    m_pm->ProcessDelayedCleanup();
    EXPECT_EQ(pNew, m_pm->FindControl(L"new"));
    EXPECT_EQ(pNewRoot, pNew->GetParent());
}

TEST_F(ManagerTreeTest, DelayedCleanupDeletesOnceAndTheManagerDeletesWhatIsLeft)
{
    bool bGone = false;
    CProbeUI* pLoose = new CProbeUI(L"loose", 0, &bGone);
    m_pm->AddDelayedCleanup(pLoose);
    m_pm->AddDelayedCleanup(pLoose);
    EXPECT_EQ(m_pm, pLoose->GetManager());
    EXPECT_FALSE(bGone);
    delete m_pm;
    m_pm = NULL;
    EXPECT_TRUE(bGone);
}

TEST_F(ManagerTreeTest, TimersMapLocalIdsToCyclingNativeIds)
{
    ASSERT_TRUE(m_pm->SetTimer(m_a, 5, 10000));
    // A running timer is not started twice.
    EXPECT_FALSE(m_pm->SetTimer(m_a, 5, 10000));

    EXPECT_TRUE(m_pm->FireTimer(17));
    ASSERT_EQ(1, CountEvents(m_a, EVENT_TIMER));
    EXPECT_EQ(5u, m_a->events.back().wParam);
    EXPECT_EQ(m_a, m_a->events.back().pSender);
    EXPECT_FALSE(m_pm->FireTimer(18));

    // A killed entry stays for reuse and is restarted under its native id.
    EXPECT_TRUE(m_pm->KillTimer(m_a, 5));
    EXPECT_FALSE(m_pm->KillTimer(m_a, 5));
    EXPECT_FALSE(m_pm->FireTimer(17));
    EXPECT_TRUE(m_pm->SetTimer(m_a, 5, 10000));
    EXPECT_TRUE(m_pm->FireTimer(17));

    // Native ids run 18..254, 0..16: 255 creations in all, then the first id comes back.
    for (UINT i = 1; i < 255; i++) ASSERT_TRUE(m_pm->SetTimer(m_b, i, 10000)) << i;
    m_b->events.clear();
    EXPECT_TRUE(m_pm->FireTimer(254));
    EXPECT_TRUE(m_pm->FireTimer(0));
    EXPECT_TRUE(m_pm->FireTimer(16));
    ASSERT_EQ(3u, m_b->events.size());
    EXPECT_EQ(237u, m_b->events[0].wParam);
    EXPECT_EQ(238u, m_b->events[1].wParam);
    EXPECT_EQ(254u, m_b->events[2].wParam);

    m_pm->KillTimer(m_b);
    EXPECT_FALSE(m_pm->FireTimer(16));
    m_pm->KillTimer(m_a);
    ASSERT_TRUE(m_pm->SetTimer(m_c, 1, 10000));
    EXPECT_TRUE(m_pm->FireTimer(17));
    EXPECT_EQ(1, CountEvents(m_c, EVENT_TIMER));
}

TEST_F(ManagerTreeTest, NativeIdsStillInUseArePassedOver)
{
    ASSERT_TRUE(m_pm->SetTimer(m_a, 1, 10000));
    for (UINT i = 1; i < 255; i++) ASSERT_TRUE(m_pm->SetTimer(m_b, i, 10000));
    // Every native id is taken now.
    EXPECT_FALSE(m_pm->SetTimer(m_c, 1, 10000));
    m_pm->KillTimer(m_b);

    // 17 still belongs to a: c gets 18.
    ASSERT_TRUE(m_pm->SetTimer(m_c, 1, 10000));
    EXPECT_TRUE(m_pm->FireTimer(17));
    EXPECT_TRUE(m_pm->FireTimer(18));
    EXPECT_EQ(1, CountEvents(m_a, EVENT_TIMER));
    EXPECT_EQ(1, CountEvents(m_c, EVENT_TIMER));

    m_pm->RemoveAllTimers();
    EXPECT_FALSE(m_pm->FireTimer(17));
    EXPECT_FALSE(m_pm->FireTimer(18));
}

TEST_F(ManagerTreeTest, TimersNeedAWindow)
{
    CPaintManagerUI pm;
    EXPECT_FALSE(pm.SetTimer(m_a, 1, 100));
    EXPECT_FALSE(pm.FireTimer(17));
}

TEST_F(ManagerTreeTest, FocusMovesWithEventsAndNotifications)
{
    CNotifyLog log(L"n");
    m_pm->AddNotifier(&log);

    m_pm->SetFocus(m_a);
    std::vector<std::wstring> expected = { L"a:event21", L"n:setfocus" };
    EXPECT_EQ(expected, g_log);
    EXPECT_EQ(m_a, m_pm->GetFocus());
    EXPECT_TRUE(m_a->IsFocused());

    // Focusing the focus control again changes nothing.
    g_log.clear();
    m_pm->SetFocus(m_a);
    EXPECT_TRUE(g_log.empty());

    m_pm->SetFocus(m_c);
    expected = { L"a:event20", L"n:killfocus", L"c:event21", L"n:setfocus" };
    EXPECT_EQ(expected, g_log);
    EXPECT_EQ(m_c, m_a->events.back().pSender);
    EXPECT_EQ(m_a, log.received[log.received.size() - 2].pSender);
    EXPECT_EQ(m_c, log.received.back().pSender);

    // Hidden, disabled or foreign controls cannot take the focus; the old one loses it anyway.
    m_pm->SetFocus(m_d);
    EXPECT_EQ(nullptr, m_pm->GetFocus());
    m_pm->SetFocus(m_e);
    EXPECT_EQ(nullptr, m_pm->GetFocus());
    CProbeUI loose(L"loose");
    m_pm->SetFocus(&loose);
    EXPECT_EQ(nullptr, m_pm->GetFocus());

    // Hiding the focused control clears the focus.
    m_pm->SetFocus(m_c);
    m_c->SetVisible(false);
    EXPECT_EQ(nullptr, m_pm->GetFocus());
}

TEST_F(ManagerTreeTest, TabVisitsTabStopsInTreeOrderAndWraps)
{
    EXPECT_TRUE(m_pm->SetNextTabControl());
    EXPECT_EQ(m_a, m_pm->GetFocus());
    m_pm->SetNextTabControl();
    EXPECT_EQ(m_c, m_pm->GetFocus());
    // d is hidden, e disabled, so c is the last stop.
    m_pm->SetNextTabControl();
    EXPECT_EQ(m_a, m_pm->GetFocus());

    m_pm->SetNextTabControl(false);
    EXPECT_EQ(m_c, m_pm->GetFocus());
    m_pm->SetNextTabControl(false);
    EXPECT_EQ(m_a, m_pm->GetFocus());
}

TEST_F(ManagerTreeTest, TabWhileALayoutIsPendingWaitsForThePaint)
{
    m_pm->SetFocus(m_a);
    m_pm->NeedUpdate();
    EXPECT_TRUE(m_pm->SetNextTabControl());
    EXPECT_EQ(m_a, m_pm->GetFocus());
    // Going backwards is not deferred.
    m_pm->SetNextTabControl(false);
    EXPECT_EQ(m_c, m_pm->GetFocus());
}

TEST_F(ManagerTreeTest, FocusNeededParksOnThePreviousTabStop)
{
    m_pm->SetFocus(m_a);
    g_log.clear();
    m_pm->SetFocusNeeded(m_c);
    // a loses the focus; the focus field now holds a again without any event.
    std::vector<std::wstring> expected = { L"a:event20" };
    EXPECT_EQ(expected, g_log);
    EXPECT_EQ(m_a, m_pm->GetFocus());
    EXPECT_EQ(0, CountEvents(m_c, EVENT_SETFOCUS));

    m_pm->UpdateLayout();
    m_pm->SetNextTabControl();
    EXPECT_EQ(m_c, m_pm->GetFocus());

    // Before the first Tab stop there is none.
    m_pm->SetFocusNeeded(m_a);
    EXPECT_EQ(nullptr, m_pm->GetFocus());
    m_pm->UpdateLayout();
    m_pm->SetNextTabControl();
    EXPECT_EQ(m_a, m_pm->GetFocus());
}

TEST_F(ManagerTreeTest, FocusChosenBeforeThePaintIsKeptByIt)
{
    // c asks to be focused again after the layout (as an edit does when the window is resized); before
    // the window paints, a click gives the focus to b. The paint used to step on from b to c.
    Route(m_hWnd, m_pm);
    m_pm->SetFocus(m_c);
    m_pm->SetFocusNeeded(m_c);
    m_pm->SetFocus(m_b);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    EXPECT_EQ(m_b, m_pm->GetFocus());

    // A request that nothing overrides still lands at the paint.
    m_pm->SetFocusNeeded(m_c);
    ::InvalidateRect(m_hWnd, NULL, FALSE);
    ::UpdateWindow(m_hWnd);
    EXPECT_EQ(m_c, m_pm->GetFocus());
    ::ShowWindow(m_hWnd, SW_HIDE);
}

TEST_F(ManagerTreeTest, AcceleratorsAreAskedInOrderUntilOneConsumes)
{
    struct Accelerator : ITranslateAccelerator
    {
        LRESULT result;
        int calls = 0;
        explicit Accelerator(LRESULT r) : result(r) {}
        LRESULT TranslateAccelerator(MSG*) override
        {
            calls++;
            return result;
        }
    };
    Accelerator pass(S_FALSE);
    Accelerator take(S_OK);
    Accelerator never(S_OK);
    MSG msg = {};
    EXPECT_FALSE(m_pm->TranslateAccelerator(&msg));
    m_pm->AddTranslateAccelerator(&pass);
    m_pm->AddTranslateAccelerator(&take);
    m_pm->AddTranslateAccelerator(&never);
    EXPECT_TRUE(m_pm->TranslateAccelerator(&msg));
    EXPECT_EQ(1, pass.calls);
    EXPECT_EQ(1, take.calls);
    EXPECT_EQ(0, never.calls);
    EXPECT_TRUE(m_pm->RemoveTranslateAccelerator(&take));
    EXPECT_FALSE(m_pm->RemoveTranslateAccelerator(&take));
    EXPECT_TRUE(m_pm->TranslateAccelerator(&msg));
    EXPECT_EQ(1, never.calls);
}

} // namespace VeneerTest
