// Tests of controls attached to a real paint manager on an off-screen window: invalidation, focus,
// delayed destruction, notifications, hooks and post-painting.
#include "veneer/core/UISetup.h"
#include "ControlTestUtil.h"
#include "render/DibCanvas.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace Veneer;
using namespace ControlTest;

namespace {

// Records the notifications of a manager.
class CNotifyLog : public INotifyUI
{
public:
    void Notify(TNotifyUI& msg)
    {
        types.push_back(std::wstring(msg.sType.GetData()));
        senders.push_back(msg.pSender);
        wParams.push_back(msg.wParam);
        virtualWnds.push_back(std::wstring(msg.sVirtualWnd.GetData()));
    }

    void Clear()
    {
        types.clear();
        senders.clear();
        wParams.clear();
        virtualWnds.clear();
    }

    std::vector<std::wstring> types;
    std::vector<CControlUI*> senders;
    std::vector<WPARAM> wParams;
    std::vector<std::wstring> virtualWnds;
};

int g_sizeHookCalls = 0;

std::vector<std::wstring> g_initOrder;

// Controls that record their initialisation by name.
class CInitProbeUI : public CControlUI
{
public:
    void DoInit() override { g_initOrder.push_back(GetName().GetData()); }
};

class CInitProbeLayoutUI : public CVerticalLayoutUI
{
public:
    void DoInit() override { g_initOrder.push_back(GetName().GetData()); }
};

CControlUI* Named(CControlUI* control, LPCWSTR name)
{
    control->SetName(name);
    return control;
}

bool ResizeAgainHook(void* param)
{
    ++g_sizeHookCalls;
    // Moving the control from inside its own size hook must not call the hook again; that placement
    // stands.
    CControlUI* control = static_cast<CControlUI*>(param);
    control->SetPos(Rc(1, 1, 11, 11));
    return true;
}

// A paint manager on a window that is shown but off the screen: Windows keeps update regions only
// for visible windows, and the invalidation tests read them back.
class ManagedTree : public ::testing::Test
{
protected:
    void SetUp()
    {
        WNDCLASSW wc;
        ::ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"VeneerControlTestWindow";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP, -3000, -3000,
                                   400, 300, NULL, NULL, wc.hInstance, NULL);
        ASSERT_TRUE(m_hwnd != NULL);
        ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
        m_manager = new CPaintManagerUI;
        m_manager->Init(m_hwnd);
        m_manager->AddNotifier(&m_log);
    }

    void TearDown()
    {
        delete m_manager;
        ::DestroyWindow(m_hwnd);
    }

    // Installs root at rc and forgets every invalidation made so far.
    void Attach(CControlUI* root, const RECT& rc)
    {
        m_manager->AttachDialog(root);
        root->SetPos(rc);
        ::ValidateRect(m_hwnd, NULL);
    }

    bool Dirty(RECT& rc)
    {
        return ::GetUpdateRect(m_hwnd, &rc, FALSE) != FALSE;
    }

    HWND m_hwnd = NULL;
    CPaintManagerUI* m_manager = NULL;
    CNotifyLog m_log;
};

} // namespace

TEST_F(ManagedTree, MovingAControlRepaintsOldAndNewPlaceClippedByItsAncestors)
{
    CContainerUI* root = new CContainerUI;
    CContainerUI* box = new CContainerUI;
    CControlUI* inside = new CControlUI;
    CControlUI* outside = new CControlUI;
    box->Add(inside);
    box->Add(outside);
    root->Add(box);
    Attach(root, Rc(0, 0, 200, 200));
    box->SetPos(Rc(50, 50, 150, 150));
    inside->SetPos(Rc(60, 60, 70, 70));
    outside->SetPos(Rc(300, 300, 320, 320));
    ::ValidateRect(m_hwnd, NULL);

    RECT dirty;
    inside->SetPos(Rc(100, 100, 160, 160));
    ASSERT_TRUE(Dirty(dirty));
    EXPECT_TRUE(RectEq(dirty, 60, 60, 150, 150));

    // A control entirely outside its parent invalidates nothing when it moves or changes.
    ::ValidateRect(m_hwnd, NULL);
    outside->SetPos(Rc(310, 300, 330, 320));
    outside->SetBkColor(0xFFFF0000);
    outside->Invalidate();
    EXPECT_FALSE(Dirty(dirty));

    // Hidden controls do not invalidate; visible ones invalidate their clipped rectangle.
    inside->SetVisible(false);
    ::ValidateRect(m_hwnd, NULL);
    inside->Invalidate();
    EXPECT_FALSE(Dirty(dirty));
    inside->SetVisible(true);
    ::ValidateRect(m_hwnd, NULL);
    inside->Invalidate();
    ASSERT_TRUE(Dirty(dirty));
    EXPECT_TRUE(RectEq(dirty, 100, 100, 150, 150));
}

TEST_F(ManagedTree, LayoutWithAManagerClearsUpdateFlagsAndFollowsFloats)
{
    CContainerUI* root = new CContainerUI;
    CControlUI* corner = new CControlUI;
    corner->SetFloat(true);
    corner->SetAttribute(L"pos", L"-110,-60,-10,-10");
    root->Add(corner);
    Attach(root, Rc(0, 0, 300, 200));
    EXPECT_FALSE(root->IsUpdateNeeded());
    EXPECT_TRUE(RectEq(corner->GetPos(), 190, 140, 290, 190));

    // Placing a float control recomputes its fixed position against the edge it measures from.
    corner->SetPos(Rc(100, 100, 150, 150));
    EXPECT_EQ(-150, corner->GetFixedXY().cx);
    EXPECT_EQ(-50, corner->GetFixedXY().cy);
    EXPECT_EQ(50, corner->GetFixedWidth());
    EXPECT_EQ(50, corner->GetFixedHeight());
    root->SetPos(Rc(0, 0, 400, 300));
    EXPECT_TRUE(RectEq(corner->GetPos(), 200, 200, 250, 250));

    corner->NeedUpdate();
    EXPECT_TRUE(corner->IsUpdateNeeded());
}

TEST_F(ManagedTree, RelativeFloatsStayPutAcrossRepeatedLayouts)
{
    CContainerUI* root = new CContainerUI;
    CControlUI* mover = new CControlUI;
    mover->SetFloat(true);
    mover->SetAttribute(L"pos", L"10,10,60,40");
    mover->SetAttribute(L"relativepos", L"50,50,0,0");
    root->Add(mover);
    Attach(root, Rc(0, 0, 300, 200));
    root->SetPos(Rc(0, 0, 400, 300));
    EXPECT_TRUE(RectEq(mover->GetPos(), 60, 60, 110, 90));
    root->SetPos(Rc(0, 0, 400, 300));
    EXPECT_TRUE(RectEq(mover->GetPos(), 60, 60, 110, 90));
    root->SetPos(Rc(0, 0, 500, 300));
    EXPECT_TRUE(RectEq(mover->GetPos(), 110, 60, 160, 90));
}

TEST_F(ManagedTree, HidingTheFocusedControlOrItsContainerClearsTheFocus)
{
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    CContainerUI* box = new CContainerUI;
    CControlUI* a = new CControlUI;
    CControlUI* b = new CControlUI;
    box->Add(a);
    root->Add(box);
    root->Add(b);
    Attach(root, Rc(0, 0, 200, 200));

    m_manager->SetFocus(b);
    ASSERT_EQ(b, m_manager->GetFocus());
    EXPECT_TRUE(b->IsFocused());
    b->SetVisible(false);
    EXPECT_EQ(nullptr, m_manager->GetFocus());
    EXPECT_FALSE(b->IsFocused());

    a->SetFocus();
    ASSERT_EQ(a, m_manager->GetFocus());
    box->SetVisible(false);
    EXPECT_EQ(nullptr, m_manager->GetFocus());

    // Hiding a control that does not hold the focus leaves the focus alone.
    b->SetVisible(true);
    box->SetVisible(true);
    b->SetFocus();
    a->SetVisible(false);
    EXPECT_EQ(b, m_manager->GetFocus());
}

TEST_F(ManagedTree, RemovedChildrenWaitForTheManagerUnlessTheirContainerGoes)
{
    int destroyed = 0;
    CContainerUI* root = new CContainerUI;
    CProbeLayoutUI* sub = new CProbeLayoutUI(&destroyed);
    CProbeUI* leaf = new CProbeUI(&destroyed);
    CProbeUI* single = new CProbeUI(&destroyed);
    sub->Add(leaf);
    root->Add(sub);
    root->Add(single);
    Attach(root, Rc(0, 0, 100, 100));

    EXPECT_TRUE(root->Remove(single));
    EXPECT_EQ(0, destroyed);
    EXPECT_EQ(nullptr, single->GetParent());

    EXPECT_TRUE(root->Remove(sub));
    EXPECT_EQ(0, destroyed);

    // The manager deletes its delayed controls when it goes; the container then destroys its
    // children at once.
    delete m_manager;
    m_manager = NULL;
    EXPECT_EQ(3, destroyed);
}

TEST_F(ManagedTree, DestroyingAnAttachedContainerDestroysItsChildrenAtOnce)
{
    int destroyed = 0;
    CContainerUI* root = new CContainerUI;
    CProbeLayoutUI* sub = new CProbeLayoutUI(&destroyed);
    sub->Add(new CProbeUI(&destroyed));
    sub->Add(new CProbeUI(&destroyed));
    root->Add(sub);
    Attach(root, Rc(0, 0, 100, 100));

    root->SetAutoDestroy(false);
    root->Remove(sub);
    delete sub;
    EXPECT_EQ(3, destroyed);
}

TEST_F(ManagedTree, AddingToAnAttachedContainerInitialisesTheChild)
{
    CContainerUI* root = new CContainerUI;
    Attach(root, Rc(0, 0, 100, 100));

    CContainerUI* box = new CContainerUI;
    CControlUI* leaf = new CControlUI;
    leaf->SetName(L"leaf");
    box->Add(leaf);
    EXPECT_EQ(nullptr, leaf->GetManager());
    root->Add(box);
    EXPECT_EQ(m_manager, box->GetManager());
    EXPECT_EQ(m_manager, leaf->GetManager());
    EXPECT_EQ(root, box->GetParent());
    EXPECT_EQ(box, leaf->GetParent());

    EXPECT_EQ(leaf, root->FindSubControl(L"LEAF"));
    EXPECT_TRUE(root->SetSubControlText(L"leaf", L"hello"));
    EXPECT_STREQ(L"hello", root->GetSubControlText(L"leaf"));
    EXPECT_TRUE(root->SetSubControlFixedHeight(L"leaf", 12));
    EXPECT_EQ(12, root->GetSubControlFixedHeight(L"leaf"));
    EXPECT_TRUE(root->SetSubControlFixedWdith(L"leaf", 34));
    EXPECT_EQ(34, root->GetSubControlFixedWdith(L"leaf"));
    EXPECT_TRUE(root->SetSubControlUserData(L"leaf", L"data"));
    EXPECT_STREQ(L"data", root->GetSubControlUserData(L"leaf"));
    EXPECT_FALSE(root->SetSubControlText(L"missing", L"x"));
    EXPECT_EQ(-1, root->GetSubControlFixedHeight(L"missing"));
    EXPECT_EQ(-1, root->GetSubControlFixedWdith(L"missing"));
    EXPECT_STREQ(L"", root->GetSubControlText(L"missing"));
    EXPECT_STREQ(L"", root->GetSubControlUserData(L"missing"));
}

TEST_F(ManagedTree, TimerAndMenuEventsBecomeNotifications)
{
    CContainerUI* root = new CContainerUI;
    CControlUI* leaf = new CControlUI;
    root->Add(leaf);
    Attach(root, Rc(0, 0, 100, 100));
    m_log.Clear();

    TEventUI timer = MakeEvent(EVENT_TIMER);
    timer.pSender = leaf;
    timer.wParam = 7;
    leaf->Event(timer);
    ASSERT_EQ(1u, m_log.types.size());
    EXPECT_EQ(L"timer", m_log.types[0]);
    EXPECT_EQ(leaf, m_log.senders[0]);
    EXPECT_EQ(7u, m_log.wParams[0]);

    // Without the context menu switched on, the event climbs to the container, which ignores it.
    TEventUI menu = MakeEvent(EVENT_CONTEXTMENU);
    leaf->Event(menu);
    EXPECT_EQ(1u, m_log.types.size());
    leaf->SetContextMenuUsed(true);
    leaf->Event(menu);
    ASSERT_EQ(2u, m_log.types.size());
    EXPECT_EQ(L"menu", m_log.types[1]);

    // Once a virtual window is named, notifications carry the nearest one.
    root->SetVirtualWnd(L"page");
    leaf->Event(timer);
    ASSERT_EQ(3u, m_log.types.size());
    EXPECT_EQ(L"page", m_log.virtualWnds[2]);
}

TEST_F(ManagedTree, SizeHookRunsOncePerPlacementEvenWhenItMovesTheControl)
{
    CContainerUI* root = new CContainerUI;
    CControlUI* leaf = new CControlUI;
    root->Add(leaf);
    Attach(root, Rc(0, 0, 100, 100));

    leaf->SizeHook += ResizeAgainHook;
    g_sizeHookCalls = 0;
    leaf->SetPos(Rc(20, 20, 40, 40));
    EXPECT_EQ(1, g_sizeHookCalls);
    EXPECT_TRUE(RectEq(leaf->GetPos(), 1, 1, 11, 11));
}

TEST_F(ManagedTree, ShadowDragRegistersForPostPaintWhileCaptured)
{
    CVerticalLayoutUI* root = new CVerticalLayoutUI;
    CVerticalLayoutUI* box = new CVerticalLayoutUI;
    box->SetFixedHeight(100);
    box->SetSepHeight(4);
    root->Add(box);
    root->Add(new CControlUI);
    Attach(root, Rc(0, 0, 200, 300));

    TEventUI down = MakeEvent(EVENT_BUTTONDOWN, 10, 98);
    box->Event(down);
    EXPECT_EQ(1, m_manager->GetPostPaintCount());

    // The moving strip repaints where it was and where it goes.
    ::ValidateRect(m_hwnd, NULL);
    TEventUI move = MakeEvent(EVENT_MOUSEMOVE, 10, 150);
    box->Event(move);
    RECT dirty;
    ASSERT_TRUE(Dirty(dirty));
    EXPECT_TRUE(RectEq(dirty, 0, 96, 200, 152));
    EXPECT_TRUE(RectEq(box->GetPos(), 0, 0, 200, 100));

    // Switching to immediate mode mid-drag drops the post-paint registration.
    box->SetSepImmMode(true);
    EXPECT_EQ(0, m_manager->GetPostPaintCount());
    box->SetSepImmMode(false);

    TEventUI up = MakeEvent(EVENT_BUTTONUP, 10, 150);
    box->Event(up);
    EXPECT_TRUE(RectEq(box->GetPos(), 0, 0, 200, 152));
    EXPECT_TRUE(root->IsUpdateNeeded());
}

TEST_F(ManagedTree, BackgroundImagesComeFromTheManagersCache)
{
    CTestBitmap red(10, 10, 0xFFFF0000);
    ASSERT_TRUE(m_manager->AddImage(L"red", red.Detach(), 10, 10, false) != NULL);

    CContainerUI* root = new CContainerUI;
    CControlUI* leaf = new CControlUI;
    leaf->SetBkImage(L"red");
    root->Add(leaf);
    Attach(root, Rc(0, 0, 50, 50));

    CDibCanvas canvas(100, 100);
    root->DoPaint(canvas.GetDC(), Rc(0, 0, 100, 100));
    EXPECT_TRUE(RgbNear(canvas.Get(25, 25), 0xFF0000, 0));
    EXPECT_TRUE(RgbNear(canvas.Get(75, 75), 0xFFFFFF, 0));
    EXPECT_STREQ(L"red", leaf->GetBkImage());
}

TEST_F(ManagedTree, SettersRepaintOnlyWhenTheLookChanges)
{
    CContainerUI* root = new CContainerUI;
    CControlUI* leaf = new CControlUI;
    root->Add(leaf);
    Attach(root, Rc(0, 0, 200, 200));
    leaf->SetPos(Rc(10, 10, 50, 50));
    ::ValidateRect(m_hwnd, NULL);

    RECT dirty;
    // Unchanged looks and plain data repaint nothing.
    leaf->SetText(L"");
    leaf->SetBkImage(L"");
    leaf->SetBkColor(0);
    leaf->SetBkColor2(0);
    leaf->SetBkColor3(0);
    leaf->SetBorderColor(0);
    leaf->SetFocusBorderColor(0);
    leaf->SetBorderSize(0);
    leaf->SetColorHSL(false);
    leaf->SetEnabled(true);
    leaf->SetName(L"leaf");
    leaf->SetUserData(L"data");
    leaf->SetTag(3);
    leaf->SetShortcut(L'k');
    leaf->SetToolTip(L"tip");
    leaf->SetToolTipWidth(120);
    leaf->SetKeyboardEnabled(false);
    leaf->SetMouseEnabled(false);
    leaf->SetContextMenuUsed(true);
    EXPECT_FALSE(Dirty(dirty));

    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        { "text", [leaf]() { leaf->SetText(L"a"); } },
        { "bkimage", [leaf]() { leaf->SetBkImage(L"x.png"); } },
        { "bkcolor", [leaf]() { leaf->SetBkColor(0xFF000001); } },
        { "bkcolor2", [leaf]() { leaf->SetBkColor2(0xFF000002); } },
        { "bkcolor3", [leaf]() { leaf->SetBkColor3(0xFF000003); } },
        { "bordercolor", [leaf]() { leaf->SetBorderColor(0xFF000004); } },
        { "focusbordercolor", [leaf]() { leaf->SetFocusBorderColor(0xFF000005); } },
        { "bordersize", [leaf]() { leaf->SetBorderSize(1); } },
        { "colorhsl", [leaf]() { leaf->SetColorHSL(true); } },
        { "enabled", [leaf]() { leaf->SetEnabled(false); } },
        // The side, style and round setters repaint even when the value stays.
        { "sides", [leaf]() { leaf->SetBorderSize(Rc(0, 0, 0, 0)); } },
        { "left", [leaf]() { leaf->SetLeftBorderSize(leaf->GetLeftBorderSize()); } },
        { "top", [leaf]() { leaf->SetTopBorderSize(leaf->GetTopBorderSize()); } },
        { "right", [leaf]() { leaf->SetRightBorderSize(leaf->GetRightBorderSize()); } },
        { "bottom", [leaf]() { leaf->SetBottomBorderSize(leaf->GetBottomBorderSize()); } },
        { "borderstyle", [leaf]() { leaf->SetBorderStyle(leaf->GetBorderStyle()); } },
        { "borderround", [leaf]() { leaf->SetBorderRound(leaf->GetBorderRound()); } },
    };
    for (const auto& change : changes) {
        ::ValidateRect(m_hwnd, NULL);
        change.second();
        ASSERT_TRUE(Dirty(dirty)) << change.first;
        EXPECT_TRUE(RectEq(dirty, 10, 10, 50, 50)) << change.first;
    }

    // A hidden control repaints nothing whatever changes.
    leaf->SetVisible(false);
    ::ValidateRect(m_hwnd, NULL);
    leaf->SetText(L"b");
    leaf->SetBkColor(0xFF0000FF);
    leaf->SetBorderStyle(PS_DOT);
    EXPECT_FALSE(Dirty(dirty));
}

TEST_F(ManagedTree, ChildrenAreInitialisedBeforeTheirContainer)
{
    g_initOrder.clear();
    CContainerUI* root = new CContainerUI;
    CInitProbeLayoutUI* sub = new CInitProbeLayoutUI;
    sub->SetName(L"sub");
    sub->Add(Named(new CInitProbeUI, L"leaf"));
    root->Add(sub);
    root->Add(Named(new CInitProbeUI, L"sibling"));
    EXPECT_TRUE(g_initOrder.empty());

    Attach(root, Rc(0, 0, 100, 100));
    std::vector<std::wstring> attached = { L"leaf", L"sub", L"sibling" };
    EXPECT_EQ(attached, g_initOrder);

    // A subtree added to an attached container is initialised the same way, once.
    g_initOrder.clear();
    CInitProbeLayoutUI* box = new CInitProbeLayoutUI;
    box->SetName(L"box");
    box->Add(Named(new CInitProbeUI, L"inner"));
    root->Add(box);
    std::vector<std::wstring> added = { L"inner", L"box" };
    EXPECT_EQ(added, g_initOrder);
}

TEST_F(ManagedTree, LayoutHintSettersAskTheRightControlForANewLayout)
{
    CVerticalLayoutUI* layout = new CVerticalLayoutUI;
    CControlUI* child = Fixed(0, 0);
    CControlUI* floater = new CControlUI;
    floater->SetFloat(true);
    layout->Add(child);
    layout->Add(floater);
    Attach(layout, Rc(0, 0, 100, 100));
    // A layout pass clears every flag of the tree.
    auto settle = [layout]() {
        layout->SetPos(Rc(0, 0, 100, 100));
        return !layout->IsUpdateNeeded();
    };
    ASSERT_TRUE(settle());
    EXPECT_FALSE(child->IsUpdateNeeded());

    // A flowing child's hints are the parent's business.
    child->SetFixedWidth(10);
    EXPECT_TRUE(layout->IsUpdateNeeded());
    EXPECT_FALSE(child->IsUpdateNeeded());
    ASSERT_TRUE(settle());
    child->SetPadding(child->GetPadding());
    EXPECT_TRUE(layout->IsUpdateNeeded());
    ASSERT_TRUE(settle());
    child->SetFixedXY(child->GetFixedXY());
    EXPECT_TRUE(layout->IsUpdateNeeded());
    ASSERT_TRUE(settle());
    child->SetMinHeight(5);
    EXPECT_TRUE(layout->IsUpdateNeeded());

    // Refused and unchanged values ask for nothing.
    ASSERT_TRUE(settle());
    child->SetFixedWidth(-1);
    child->SetFixedHeight(-3);
    child->SetMinHeight(5);
    child->SetMinWidth(-2);
    child->SetMaxWidth(9999);
    child->SetMaxHeight(-1);
    child->SetFloat(false);
    child->SetRelativePos(Sz(50, 50), Sz(0, 0));
    child->SetRelativeParentSize(Sz(300, 200));
    EXPECT_FALSE(layout->IsUpdateNeeded());
    EXPECT_EQ(10, child->GetFixedWidth());
    EXPECT_EQ(9999, child->GetMaxHeight());

    // A float child places itself.
    floater->SetFixedWidth(20);
    EXPECT_TRUE(floater->IsUpdateNeeded());
    EXPECT_FALSE(layout->IsUpdateNeeded());
    ASSERT_TRUE(settle());
    floater->SetMaxWidth(30);
    EXPECT_TRUE(floater->IsUpdateNeeded());
    EXPECT_FALSE(layout->IsUpdateNeeded());

    // Turning float on or off, and the container's own inset and gap, re-lay the container.
    ASSERT_TRUE(settle());
    floater->SetFloat(false);
    EXPECT_TRUE(layout->IsUpdateNeeded());
    ASSERT_TRUE(settle());
    layout->SetInset(Rc(1, 1, 1, 1));
    EXPECT_TRUE(layout->IsUpdateNeeded());
    ASSERT_TRUE(settle());
    layout->SetChildPadding(2);
    EXPECT_TRUE(layout->IsUpdateNeeded());
}
