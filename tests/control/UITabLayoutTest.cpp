// Tests of CTabLayoutUI: one visible child, selection by index and control, "tabselect", layout of the shown child.
#include "veneer/core/UISetup.h"
#include "control/SkinWindowFixture.h"
#include "control/ControlTestUtil.h"

using namespace Veneer;
using namespace VeneerTest;
using ControlTest::RectEq;

namespace {

const DWORD kWhite = 0xFFFFFFFF;

// Three pages in a tab with a 10-pixel inset; each page has its own background colour.
const wchar_t kTabSkin[] =
    L"<Window><TabLayout name=\"tabs\" inset=\"10,10,10,10\">"
    L"<Control name=\"p0\" bkcolor=\"#FFFF0000\"/>"
    L"<VerticalLayout name=\"p1\" bkcolor=\"#FF00FF00\" maxwidth=\"100\" minheight=\"400\"/>"
    L"<Control name=\"p2\" bkcolor=\"#FF0000FF\" width=\"50\" height=\"40\" padding=\"5,6,0,0\"/>"
    L"</TabLayout></Window>";

class TabLayoutTest : public SkinWindowFixture
{
protected:
    CTabLayoutUI* BuildTabs(const wchar_t* xml = kTabSkin)
    {
        CControlUI* root = Build(xml);
        return root == NULL ? NULL : dynamic_cast<CTabLayoutUI*>(root);
    }
    // The colour at a point of the painted window.
    DWORD PaintedAt(int x, int y)
    {
        CDibCanvas canvas(kWindowWidth, kWindowHeight, kWhite);
        PaintRoot(canvas);
        return canvas.Get(x, y) & 0xFFFFFF;
    }
    void Relayout()
    {
        RECT rc = { 0, 0, kWindowWidth, kWindowHeight };
        m_pm->GetRoot()->SetPos(rc);
    }
};

} // namespace

TEST(TabLayoutAttributes, Identity)
{
    CTabLayoutUI tab;
    EXPECT_STREQ(L"TabLayoutUI", tab.GetClass());
    EXPECT_EQ(&tab, tab.GetInterface(L"TabLayout"));
    EXPECT_EQ(static_cast<CContainerUI*>(&tab), tab.GetInterface(L"Container"));
    EXPECT_EQ(-1, tab.GetCurSel());
    EXPECT_FALSE(tab.SelectItem(0));
    EXPECT_FALSE(tab.Remove(NULL));
}

TEST_F(TabLayoutTest, ShowsOnlyTheSelectedChildLaidOutInTheInset)
{
    CTabLayoutUI* tab = BuildTabs();
    ASSERT_TRUE(tab != NULL);
    CControlUI* p0 = m_pm->FindControl(L"p0");
    CControlUI* p1 = m_pm->FindControl(L"p1");
    CControlUI* p2 = m_pm->FindControl(L"p2");
    ASSERT_TRUE(p0 != NULL && p1 != NULL && p2 != NULL);

    EXPECT_EQ(0, tab->GetCurSel());
    EXPECT_TRUE(p0->IsVisible());
    EXPECT_FALSE(p1->IsVisible());
    EXPECT_FALSE(p2->IsVisible());
    EXPECT_TRUE(RectEq(p0->GetPos(), 10, 10, 390, 290));
    EXPECT_EQ(0xFF0000u, PaintedAt(200, 150));
    EXPECT_EQ(0xFFFFFFu, PaintedAt(5, 5));

    // The third page: fixed size placed after its padding, with "tabselect" new and old index.
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_EQ(2, tab->GetCurSel());
    EXPECT_FALSE(p0->IsVisible());
    EXPECT_TRUE(p2->IsVisible());
    EXPECT_TRUE(RectEq(p2->GetPos(), 15, 16, 65, 56));
    ASSERT_EQ(1, m_notes.Count(L"tabselect"));
    EXPECT_EQ(2u, m_notes.wParams.back());
    EXPECT_EQ(0, m_notes.lParams.back());
    EXPECT_EQ(static_cast<CControlUI*>(tab), m_notes.senders.back());
    EXPECT_EQ(0x0000FFu, PaintedAt(20, 20));
    EXPECT_EQ(0xFFFFFFu, PaintedAt(200, 150));

    // Reselecting is accepted silently; out-of-range indexes and strangers are refused.
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_FALSE(tab->SelectItem(3));
    EXPECT_FALSE(tab->SelectItem(-1));
    CControlUI stranger;
    EXPECT_FALSE(tab->SelectItem(&stranger));
    EXPECT_EQ(1, m_notes.Count(L"tabselect"));

    // The second page by control: stretched, then held by its maximum width and minimum height.
    EXPECT_TRUE(tab->SelectItem(p1));
    EXPECT_EQ(1, tab->GetCurSel());
    // The shown page takes the focus (the move to the next Tab stop waits for the pending layout).
    EXPECT_EQ(p1, m_pm->GetFocus());
    EXPECT_TRUE(RectEq(p1->GetPos(), 10, 10, 110, 410));
    EXPECT_EQ(1u, m_notes.wParams.back());
    EXPECT_EQ(2, m_notes.lParams.back());
    EXPECT_EQ(0x00FF00u, PaintedAt(50, 200));
    EXPECT_EQ(0xFFFFFFu, PaintedAt(200, 200));
}

TEST_F(TabLayoutTest, RemovingKeepsASelection)
{
    CTabLayoutUI* tab = BuildTabs();
    ASSERT_TRUE(tab != NULL);
    tab->SetDelayedDestroy(false);
    CControlUI* p0 = m_pm->FindControl(L"p0");
    CControlUI* p1 = m_pm->FindControl(L"p1");

    // Removing a page before the selection keeps the same page selected.
    ASSERT_TRUE(tab->SelectItem(2));
    ASSERT_TRUE(tab->Remove(p1));
    EXPECT_EQ(1, tab->GetCurSel());
    EXPECT_STREQ(L"p2", tab->GetItemAt(1)->GetName().GetData());

    // Removing the selected page shows the first one.
    ASSERT_TRUE(tab->RemoveAt(1));
    EXPECT_EQ(0, tab->GetCurSel());
    EXPECT_TRUE(p0->IsVisible());
    Relayout();
    EXPECT_EQ(0xFF0000u, PaintedAt(200, 150));

    CControlUI outsider;
    EXPECT_FALSE(tab->Remove(&outsider));
    ASSERT_TRUE(tab->Remove(p0));
    EXPECT_EQ(-1, tab->GetCurSel());
    EXPECT_EQ(0, tab->GetCount());
}

TEST_F(TabLayoutTest, AddingKeepsOneChildVisible)
{
    CTabLayoutUI* tab = BuildTabs(L"<Window><TabLayout/></Window>");
    ASSERT_TRUE(tab != NULL);

    // Hidden children do not become the selection; the first visible one does.
    CControlUI* hidden = new CControlUI;
    hidden->SetVisible(false);
    ASSERT_TRUE(tab->Add(hidden));
    EXPECT_EQ(-1, tab->GetCurSel());
    CControlUI* first = new CControlUI;
    ASSERT_TRUE(tab->Add(first));
    EXPECT_EQ(1, tab->GetCurSel());
    CControlUI* later = new CControlUI;
    ASSERT_TRUE(tab->Add(later));
    EXPECT_FALSE(later->IsVisible());
    EXPECT_EQ(1, tab->GetCurSel());

    // Inserted before the selection: the selection moves with its page and the newcomer stays hidden.
    CControlUI* front = new CControlUI;
    ASSERT_TRUE(tab->AddAt(front, 0));
    EXPECT_EQ(2, tab->GetCurSel());
    EXPECT_EQ(first, tab->GetItemAt(tab->GetCurSel()));
    EXPECT_FALSE(front->IsVisible());
    CControlUI* back = new CControlUI;
    ASSERT_TRUE(tab->AddAt(back, 4));
    EXPECT_FALSE(back->IsVisible());
    EXPECT_EQ(2, tab->GetCurSel());
    int visible = 0;
    for (int i = 0; i < tab->GetCount(); ++i)
        if (tab->GetItemAt(i)->IsVisible()) ++visible;
    EXPECT_EQ(1, visible);

    // Reordering keeps the shown page selected.
    ASSERT_TRUE(tab->SetItemIndex(first, 0));
    EXPECT_EQ(0, tab->GetCurSel());
    EXPECT_EQ(first, tab->GetItemAt(0));
    ASSERT_TRUE(tab->SetItemIndex(front, 0));
    EXPECT_EQ(1, tab->GetCurSel());
    EXPECT_FALSE(tab->SetItemIndex(first, 7));
    EXPECT_EQ(1, tab->GetCurSel());

    CControlUI* refused = new CControlUI;
    EXPECT_FALSE(tab->AddAt(refused, 9));
    EXPECT_EQ(1, tab->GetCurSel());
    delete refused;

    tab->RemoveAll();
    EXPECT_EQ(-1, tab->GetCurSel());
    EXPECT_EQ(0, tab->GetCount());
    CControlUI* again = new CControlUI;
    ASSERT_TRUE(tab->Add(again));
    EXPECT_EQ(0, tab->GetCurSel());

    // A tab on a hidden page still takes its first page as the selection.
    CTabLayoutUI* inner = new CTabLayoutUI;
    ASSERT_TRUE(tab->Add(inner));
    ASSERT_FALSE(inner->IsVisible());
    CControlUI* page = new CControlUI;
    ASSERT_TRUE(inner->Add(page));
    EXPECT_EQ(0, inner->GetCurSel());
}

TEST_F(TabLayoutTest, SelectedIdAndFloatingChildren)
{
    CTabLayoutUI* tab = BuildTabs(
        L"<Window><TabLayout selectedid=\"1\">"
        L"<Control name=\"a\"/><Control name=\"b\" bkcolor=\"#FF00FF00\"/>"
        L"<Control name=\"f\" float=\"true\" pos=\"300,20,350,60\"/>"
        L"</TabLayout></Window>");
    ASSERT_TRUE(tab != NULL);
    EXPECT_EQ(1, tab->GetCurSel());
    EXPECT_FALSE(m_pm->FindControl(L"a")->IsVisible());
    EXPECT_TRUE(m_pm->FindControl(L"b")->IsVisible());
    EXPECT_EQ(0x00FF00u, PaintedAt(200, 150));

    // Selecting while the builder holds the tab leaves no focus behind in a tree that is then dropped.
    {
        CDialogBuilder builder;
        CControlUI* loose = builder.Create(
            L"<Window><TabLayout selectedid=\"1\"><Button/><Button/></TabLayout></Window>", NULL, NULL, m_pm);
        ASSERT_TRUE(loose != NULL);
        delete loose;
    }
    EXPECT_TRUE(m_pm->GetFocus() == NULL);

    // A floating child that is shown is placed by its own position, whichever page is selected.
    CControlUI* f = m_pm->FindControl(L"f");
    ASSERT_TRUE(f != NULL);
    f->SetVisible(true);
    Relayout();
    EXPECT_TRUE(RectEq(f->GetPos(), 300, 20, 350, 60));
    EXPECT_TRUE(RectEq(m_pm->FindControl(L"b")->GetPos(), 0, 0, 400, 300));
}
