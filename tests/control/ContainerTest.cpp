// Tests of child ownership, visibility propagation, searching and event routing without a paint manager.
#include "veneer/core/UISetup.h"
#include "ControlTestUtil.h"

using namespace Veneer;
using namespace ControlTest;

namespace {

CControlUI* CALLBACK FirstHit(CControlUI* control, LPVOID)
{
    return control;
}

CControlUI* CALLBACK Collect(CControlUI* control, LPVOID data)
{
    static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
    return NULL;
}

int g_hookCalls = 0;
bool g_hookResult = true;

bool CountHook(void*)
{
    ++g_hookCalls;
    return g_hookResult;
}

// A control that answers as a list item, for the selectable search.
class CItemUI : public CControlUI
{
public:
    LPVOID GetInterface(LPCWSTR name)
    {
        if (::wcscmp(name, L"ListItem") == 0) return this;
        return CControlUI::GetInterface(name);
    }
};

CControlUI* HitAt(CControlUI& root, int x, int y, UINT flags)
{
    POINT pt = { x, y };
    return root.FindControl(FirstHit, &pt, flags);
}

} // namespace

TEST(ContainerOwnership, RemoveDestroysAtOnceWithoutAManager)
{
    int destroyed = 0;
    CContainerUI container;
    CProbeUI* a = new CProbeUI(&destroyed);
    CProbeUI* b = new CProbeUI(&destroyed);
    ASSERT_TRUE(container.Add(a));
    ASSERT_TRUE(container.Add(b));
    EXPECT_FALSE(container.Add(NULL));

    EXPECT_TRUE(container.Remove(a));
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(1, container.GetCount());
    EXPECT_EQ(b, container.GetItemAt(0));

    CProbeUI stranger;
    EXPECT_FALSE(container.Remove(&stranger));
    EXPECT_FALSE(container.Remove(NULL));
    EXPECT_FALSE(container.RemoveAt(1));
    EXPECT_FALSE(container.RemoveAt(-1));
    EXPECT_TRUE(container.RemoveAt(0));
    EXPECT_EQ(2, destroyed);
    EXPECT_EQ(0, container.GetCount());
}

TEST(ContainerOwnership, WithoutAutoDestroyRemovedChildrenSurvive)
{
    int destroyed = 0;
    CProbeUI* a = new CProbeUI(&destroyed);
    CProbeUI* b = new CProbeUI(&destroyed);
    {
        CContainerUI container;
        container.SetAutoDestroy(false);
        container.Add(a);
        container.Add(b);
        EXPECT_TRUE(container.Remove(a));
        container.RemoveAll();
        EXPECT_EQ(0, container.GetCount());
    }
    EXPECT_EQ(0, destroyed);
    delete a;
    delete b;
    EXPECT_EQ(2, destroyed);
}

TEST(ContainerOwnership, RemoveAllAndDestructionDestroyTheWholeSubtree)
{
    int destroyed = 0;
    CContainerUI* root = new CContainerUI;
    CProbeLayoutUI* sub = new CProbeLayoutUI(&destroyed);
    sub->Add(new CProbeUI(&destroyed));
    sub->Add(new CProbeUI(&destroyed));
    root->Add(sub);
    root->Add(new CProbeUI(&destroyed));

    sub->RemoveAll();
    EXPECT_EQ(2, destroyed);
    EXPECT_EQ(0, sub->GetCount());

    sub->Add(new CProbeUI(&destroyed));
    delete root;
    EXPECT_EQ(5, destroyed);
}

TEST(ContainerOwnership, InsertAndMoveChildren)
{
    CContainerUI container;
    CControlUI* a = new CControlUI;
    CControlUI* b = new CControlUI;
    CControlUI* c = new CControlUI;
    container.Add(a);
    container.Add(b);
    EXPECT_TRUE(container.AddAt(c, 0));
    EXPECT_EQ(c, container.GetItemAt(0));
    EXPECT_EQ(a, container.GetItemAt(1));
    EXPECT_EQ(b, container.GetItemAt(2));
    EXPECT_EQ(nullptr, container.GetItemAt(3));
    EXPECT_EQ(nullptr, container.GetItemAt(-1));

    CControlUI* d = new CControlUI;
    EXPECT_FALSE(container.AddAt(d, 4));
    EXPECT_FALSE(container.AddAt(d, -1));
    EXPECT_EQ(-1, container.GetItemIndex(d));
    EXPECT_TRUE(container.AddAt(d, 3));
    EXPECT_EQ(3, container.GetItemIndex(d));

    EXPECT_TRUE(container.SetItemIndex(b, 0));
    EXPECT_EQ(0, container.GetItemIndex(b));
    EXPECT_EQ(1, container.GetItemIndex(c));
    EXPECT_TRUE(container.SetItemIndex(b, 3));
    EXPECT_EQ(3, container.GetItemIndex(b));
    EXPECT_EQ(2, container.GetItemIndex(d));

    // A place beyond the end is refused and the child stays where it was.
    EXPECT_FALSE(container.SetItemIndex(b, 4));
    EXPECT_EQ(3, container.GetItemIndex(b));
    EXPECT_EQ(4, container.GetCount());
    CControlUI stranger;
    EXPECT_FALSE(container.SetItemIndex(&stranger, 0));
}

TEST(ContainerVisibility, HidingAContainerHidesItsSubtree)
{
    CContainerUI root;
    CContainerUI* sub = new CContainerUI;
    CControlUI* leaf = new CControlUI;
    CControlUI* hiddenLeaf = new CControlUI;
    hiddenLeaf->SetVisible(false);
    sub->Add(leaf);
    sub->Add(hiddenLeaf);
    root.Add(sub);

    root.SetVisible(false);
    EXPECT_FALSE(root.IsVisible());
    EXPECT_FALSE(sub->IsVisible());
    EXPECT_FALSE(leaf->IsVisible());

    // A child added to a hidden container starts hidden.
    CControlUI* late = new CControlUI;
    sub->Add(late);
    EXPECT_FALSE(late->IsVisible());

    root.SetVisible(true);
    EXPECT_TRUE(sub->IsVisible());
    EXPECT_TRUE(leaf->IsVisible());
    EXPECT_TRUE(late->IsVisible());
    // A child hidden by itself stays hidden when its container shows again.
    EXPECT_FALSE(hiddenLeaf->IsVisible());

    // Hiding the middle container leaves the root visible.
    sub->SetVisible(false);
    EXPECT_TRUE(root.IsVisible());
    EXPECT_FALSE(leaf->IsVisible());
    root.SetInternVisible(false);
    root.SetInternVisible(true);
    EXPECT_FALSE(leaf->IsVisible());
    sub->SetVisible(true);
    EXPECT_TRUE(leaf->IsVisible());
}

TEST(ContainerSearch, HitTestingOrderAndFlags)
{
    CContainerUI root;
    root.SetInset(Rc(10, 10, 10, 10));
    CControlUI* a = new CControlUI;
    CControlUI* b = new CControlUI;
    CControlUI* corner = new CControlUI;
    corner->SetFloat(true);
    corner->SetAttribute(L"pos", L"0,0,10,10");
    root.Add(a);
    root.Add(b);
    root.Add(corner);
    root.SetPos(Rc(0, 0, 100, 100));

    const UINT hit = FIND_VISIBLE | FIND_HIT_TEST;
    EXPECT_EQ(b, HitAt(root, 50, 50, hit | FIND_TOP_FIRST));
    EXPECT_EQ(a, HitAt(root, 50, 50, hit));
    EXPECT_EQ(&root, HitAt(root, 50, 50, hit | FIND_SELF_FIRST));
    // Float children can be hit over the inset, flowing ones only inside the inner area.
    EXPECT_EQ(corner, HitAt(root, 5, 5, hit | FIND_TOP_FIRST));
    EXPECT_EQ(&root, HitAt(root, 95, 50, hit | FIND_TOP_FIRST));
    EXPECT_EQ(nullptr, HitAt(root, 150, 50, hit | FIND_TOP_FIRST));

    b->SetVisible(false);
    EXPECT_EQ(a, HitAt(root, 50, 50, hit | FIND_TOP_FIRST));
    // Without the visibility test a hidden control is still found.
    EXPECT_EQ(b, HitAt(root, 50, 50, FIND_HIT_TEST | FIND_TOP_FIRST));
    b->SetVisible(true);

    b->SetEnabled(false);
    EXPECT_EQ(a, HitAt(root, 50, 50, hit | FIND_ENABLED | FIND_TOP_FIRST));
    EXPECT_EQ(b, HitAt(root, 50, 50, hit | FIND_TOP_FIRST));
    b->SetEnabled(true);

    b->SetMouseEnabled(false);
    EXPECT_EQ(a, HitAt(root, 50, 50, hit | FIND_TOP_FIRST));
    b->SetMouseEnabled(true);

    root.SetMouseChildEnabled(false);
    EXPECT_EQ(&root, HitAt(root, 50, 50, hit | FIND_TOP_FIRST));
    EXPECT_EQ(&root, HitAt(root, 5, 5, hit | FIND_TOP_FIRST));
    root.SetMouseEnabled(false);
    EXPECT_EQ(nullptr, HitAt(root, 50, 50, hit | FIND_TOP_FIRST));
    root.SetMouseEnabled(true);
    root.SetMouseChildEnabled(true);

    root.SetVisible(false);
    EXPECT_EQ(nullptr, HitAt(root, 50, 50, hit | FIND_TOP_FIRST));
}

TEST(ContainerSearch, WalkOrders)
{
    CContainerUI root;
    CControlUI* a = new CControlUI;
    CContainerUI* sub = new CContainerUI;
    CControlUI* c = new CControlUI;
    CControlUI* b = new CControlUI;
    sub->Add(c);
    root.Add(a);
    root.Add(sub);
    root.Add(b);

    std::vector<CControlUI*> seen;
    root.FindControl(Collect, &seen, 0);
    std::vector<CControlUI*> childrenFirst = { a, c, sub, b, &root };
    EXPECT_EQ(childrenFirst, seen);

    seen.clear();
    root.FindControl(Collect, &seen, FIND_SELF_FIRST);
    std::vector<CControlUI*> selfFirst = { &root, a, sub, c, b };
    EXPECT_EQ(selfFirst, seen);

    seen.clear();
    root.FindControl(Collect, &seen, FIND_TOP_FIRST);
    std::vector<CControlUI*> topFirst = { b, c, sub, a, &root };
    EXPECT_EQ(topFirst, seen);

    // Invisible and disabled subtrees are skipped whole when asked.
    sub->SetVisible(false);
    b->SetEnabled(false);
    seen.clear();
    root.FindControl(Collect, &seen, FIND_VISIBLE | FIND_ENABLED);
    std::vector<CControlUI*> filtered = { a, &root };
    EXPECT_EQ(filtered, seen);
}

TEST(ContainerSearch, FindSelectableSkipsNonItemsHiddenAndDisabled)
{
    CContainerUI list;
    EXPECT_EQ(-1, list.FindSelectable(0, true));
    CControlUI* plain = new CControlUI;
    CControlUI* hidden = new CItemUI;
    CControlUI* item = new CItemUI;
    CControlUI* disabled = new CItemUI;
    CControlUI* last = new CItemUI;
    hidden->SetVisible(false);
    disabled->SetEnabled(false);
    list.Add(plain);
    list.Add(hidden);
    list.Add(item);
    list.Add(disabled);
    list.Add(last);

    EXPECT_EQ(2, list.FindSelectable(0, true));
    EXPECT_EQ(4, list.FindSelectable(3, true));
    EXPECT_EQ(2, list.FindSelectable(3, false));
    // Indices are clamped into the list first.
    EXPECT_EQ(2, list.FindSelectable(-5, true));
    EXPECT_EQ(4, list.FindSelectable(99, false));
    // A backward search that finds nothing starts again forwards from the top.
    item->SetEnabled(false);
    EXPECT_EQ(4, list.FindSelectable(3, false));
    last->SetVisible(false);
    EXPECT_EQ(-1, list.FindSelectable(4, false));
    EXPECT_EQ(-1, list.FindSelectable(0, true));
}

TEST(ControlEvents, UnhandledEventsClimbToTheParents)
{
    CProbeLayoutUI root;
    CProbeLayoutUI* sub = new CProbeLayoutUI;
    CProbeUI* leaf = new CProbeUI;
    sub->Add(leaf);
    root.Add(sub);
    // Link the parents as the dialog builder does, without a manager.
    root.SetManager(NULL, NULL, false);
    ASSERT_EQ(sub, leaf->GetParent());

    TEventUI down = MakeEvent(EVENT_BUTTONDOWN, 5, 5);
    leaf->Event(down);
    std::vector<int> once = { EVENT_BUTTONDOWN };
    EXPECT_EQ(once, leaf->events);
    EXPECT_EQ(once, sub->events);
    EXPECT_EQ(once, root.events);

    // Focus, timer and cursor events stop at the control.
    TEventUI setFocus = MakeEvent(EVENT_SETFOCUS);
    TEventUI timer = MakeEvent(EVENT_TIMER);
    TEventUI cursor = MakeEvent(EVENT_SETCURSOR);
    leaf->Event(setFocus);
    EXPECT_TRUE(leaf->IsFocused());
    leaf->Event(timer);
    leaf->Event(cursor);
    EXPECT_EQ(once, sub->events);
    TEventUI killFocus = MakeEvent(EVENT_KILLFOCUS);
    leaf->Event(killFocus);
    EXPECT_FALSE(leaf->IsFocused());

    // A context menu stops only where it is used.
    TEventUI menu = MakeEvent(EVENT_CONTEXTMENU);
    leaf->Event(menu);
    EXPECT_EQ(EVENT_CONTEXTMENU, root.events.back());
    leaf->SetContextMenuUsed(true);
    size_t before = root.events.size();
    leaf->Event(menu);
    EXPECT_EQ(before, root.events.size());

    // Containers take focus silently and pass key events on when they have no scroll bars.
    TEventUI key = MakeEvent(EVENT_KEYDOWN);
    key.chKey = VK_DOWN;
    sub->Event(setFocus);
    EXPECT_TRUE(sub->IsFocused());
    EXPECT_EQ(EVENT_CONTEXTMENU, root.events.back());
    sub->Event(key);
    EXPECT_EQ(EVENT_KEYDOWN, root.events.back());
}

TEST(ControlEvents, MouseDisabledContainerHandsMouseEventsToItsParent)
{
    CProbeLayoutUI root;
    CProbeLayoutUI* sub = new CProbeLayoutUI;
    CProbeUI* leaf = new CProbeUI;
    sub->Add(leaf);
    root.Add(sub);
    root.SetManager(NULL, NULL, false);

    // With the context menu used the container itself would swallow the event.
    sub->SetContextMenuUsed(true);
    TEventUI menu = MakeEvent(EVENT_CONTEXTMENU);
    leaf->Event(menu);
    EXPECT_TRUE(root.events.empty());

    sub->SetMouseEnabled(false);
    leaf->Event(menu);
    ASSERT_EQ(1u, root.events.size());
    EXPECT_EQ(EVENT_CONTEXTMENU, root.events[0]);
}

TEST(ControlEvents, EventHookCanSuppressDoEvent)
{
    CProbeUI leaf;
    leaf.EventHook += CountHook;
    g_hookCalls = 0;

    g_hookResult = false;
    TEventUI down = MakeEvent(EVENT_BUTTONDOWN);
    leaf.Event(down);
    EXPECT_EQ(1, g_hookCalls);
    EXPECT_TRUE(leaf.events.empty());

    g_hookResult = true;
    leaf.Event(down);
    EXPECT_EQ(2, g_hookCalls);
    EXPECT_EQ(1u, leaf.events.size());
}

TEST(ControlHooks, InitRunsOnlyWithAParentAndDestroyFiresOnce)
{
    g_hookCalls = 0;
    g_hookResult = true;
    CContainerUI parent;
    CControlUI* child = new CControlUI;
    child->InitHook += CountHook;
    child->SetManager(NULL, NULL, true);
    EXPECT_EQ(0, g_hookCalls);
    child->SetManager(NULL, &parent, false);
    EXPECT_EQ(0, g_hookCalls);
    child->SetManager(NULL, &parent, true);
    EXPECT_EQ(1, g_hookCalls);
    EXPECT_EQ(&parent, child->GetParent());

    child->DestroyHook += CountHook;
    parent.Add(child);
    parent.Remove(child);
    EXPECT_EQ(2, g_hookCalls);
}

TEST(ControlBasics, ActivateAndSetters)
{
    CControlUI control;
    EXPECT_TRUE(control.Activate());
    control.SetEnabled(false);
    EXPECT_FALSE(control.Activate());
    control.SetEnabled(true);
    control.SetVisible(false);
    EXPECT_FALSE(control.Activate());

    control.SetTag(static_cast<UINT_PTR>(-1));
    EXPECT_EQ(static_cast<UINT_PTR>(-1), control.GetTag());
    control.SetText(NULL);
    EXPECT_STREQ(L"", control.GetText());

    control.SetPos(Rc(5, 6, 25, 46));
    EXPECT_EQ(20, control.GetWidth());
    EXPECT_EQ(40, control.GetHeight());
    EXPECT_EQ(5, control.GetX());
    EXPECT_EQ(6, control.GetY());
    EXPECT_EQ(0, control.EstimateSize(Sz(100, 100)).cx);
    control.SetFixedWidth(7);
    EXPECT_EQ(7, control.EstimateSize(Sz(100, 100)).cx);

    // The virtual window name comes from the nearest ancestor that has one.
    CContainerUI root;
    CContainerUI* sub = new CContainerUI;
    CControlUI* leaf = new CControlUI;
    sub->Add(leaf);
    root.Add(sub);
    root.SetManager(NULL, NULL, false);
    EXPECT_STREQ(L"", leaf->GetVirtualWnd());
    root.SetVirtualWnd(L"page1");
    EXPECT_STREQ(L"page1", leaf->GetVirtualWnd());
    sub->SetVirtualWnd(L"page2");
    EXPECT_STREQ(L"page2", leaf->GetVirtualWnd());
}
