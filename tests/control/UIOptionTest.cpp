// Tests of COptionUI and CCheckBoxUI: groups, clicks through window messages, "selectchanged", selected painting.
#include "veneer/core/UISetup.h"
#include "control/SkinWindowFixture.h"
#include "control/ControlTestUtil.h"

#include <utility>

using namespace Veneer;
using namespace VeneerTest;
using ControlTest::Rc;

namespace {

const DWORD kWhite = 0xFFFFFFFF;
const DWORD kNormal = 0xFF0000;
const DWORD kHot = 0x00FF00;
const DWORD kPushed = 0x0000FF;
const DWORD kSelected = 0xFFFF00;
const DWORD kSelectedHot = 0xFF00FF;
const DWORD kFore = 0x00FFFF;

// Three options of group "g" side by side, 100 wide each; the first starts selected.
const wchar_t kGroupSkin[] =
    L"<Window><HorizontalLayout>"
    L"<Option name=\"o1\" width=\"100\" group=\"g\" selected=\"true\"/>"
    L"<Option name=\"o2\" width=\"100\" group=\"g\"/>"
    L"<Option name=\"o3\" width=\"100\" group=\"g\"/>"
    L"</HorizontalLayout></Window>";

class OptionTest : public SkinWindowFixture
{
protected:
    void SetUp() override
    {
        SkinWindowFixture::SetUp();
        AddSolidImage(L"normal", 8, 8, kNormal);
        AddSolidImage(L"hot", 8, 8, kHot);
        AddSolidImage(L"pushed", 8, 8, kPushed);
        AddSolidImage(L"selected", 8, 8, kSelected);
        AddSolidImage(L"selhot", 8, 8, kSelectedHot);
        AddSolidImage(L"fore", 8, 8, kFore);
    }

    void ClearNotes()
    {
        m_notes.types.clear();
        m_notes.senders.clear();
        m_notes.wParams.clear();
        m_notes.lParams.clear();
    }

    // The notifications other than focus changes, with their senders.
    std::vector<std::pair<std::wstring, CControlUI*> > Actions() const
    {
        std::vector<std::pair<std::wstring, CControlUI*> > actions;
        for (size_t i = 0; i < m_notes.types.size(); ++i) {
            if (m_notes.types[i] == L"setfocus" || m_notes.types[i] == L"killfocus") continue;
            actions.push_back(std::make_pair(m_notes.types[i], m_notes.senders[i]));
        }
        return actions;
    }

    // An option over the fixture canvas: state images in the left half, the fore image in the right.
    void SetUpImages(COptionUI& option)
    {
        option.SetAttribute(L"normalimage", L"file='normal' dest='0,0,100,60'");
        option.SetAttribute(L"hotimage", L"file='hot' dest='0,0,100,60'");
        option.SetAttribute(L"pushedimage", L"file='pushed' dest='0,0,100,60'");
        option.SetAttribute(L"selectedimage", L"file='selected' dest='0,0,100,60'");
        option.SetAttribute(L"foreimage", L"file='fore' dest='100,0,200,60'");
        Place(option, 0, 0, kWidth, kHeight);
    }
    void PaintHalves(COptionUI& option, DWORD& left, DWORD& right)
    {
        CDibCanvas canvas(kWidth, kHeight, kWhite);
        Paint(option, canvas);
        left = canvas.Get(50, 30) & 0xFFFFFF;
        right = canvas.Get(150, 30) & 0xFFFFFF;
    }
};

} // namespace

TEST(OptionAttributes, IdentityAndAttributes)
{
    COptionUI option;
    EXPECT_STREQ(L"OptionUI", option.GetClass());
    EXPECT_EQ(&option, option.GetInterface(L"Option"));
    EXPECT_EQ(&option, option.GetInterface(L"Button"));
    EXPECT_EQ(NULL, option.GetInterface(L"CheckBox"));

    option.SetAttribute(L"group", L"tabs");
    option.SetAttribute(L"selectedimage", L"a.png");
    option.SetAttribute(L"selectedhotimage", L"file='b.png'");
    option.SetAttribute(L"selectedbkcolor", L"#FF102030");
    option.SetAttribute(L"selectedtextcolor", L"00ABCDEFzz");
    option.SetAttribute(L"foreimage", L"c.png");
    option.SetAttribute(L"hotimage", L"d.png");
    EXPECT_STREQ(L"tabs", option.GetGroup());
    EXPECT_STREQ(L"a.png", option.GetSelectedImage());
    EXPECT_STREQ(L"file='b.png'", option.GetSelectedHotImage());
    EXPECT_EQ(0xFF102030u, option.GetSelectedBkColor());
    EXPECT_EQ(0x00ABCDEFu, option.GetSelectedTextColor());
    EXPECT_STREQ(L"c.png", option.GetForeImage());
    EXPECT_STREQ(L"d.png", option.GetHotImage());

    option.SetAttribute(L"selected", L"TRUE");
    EXPECT_FALSE(option.IsSelected());
    option.SetAttribute(L"selected", L"true");
    EXPECT_TRUE(option.IsSelected());
    EXPECT_EQ(static_cast<UINT>(STATE_SELECTED), option.GetButtonState());
    option.SetAttribute(L"selected", L"yes");
    EXPECT_FALSE(option.IsSelected());
    EXPECT_EQ(0u, option.GetButtonState());

    CCheckBoxUI check;
    EXPECT_STREQ(L"CheckBoxUI", check.GetClass());
    EXPECT_EQ(static_cast<COptionUI*>(&check), check.GetInterface(L"Option"));
    check.SetCheck(true);
    EXPECT_TRUE(check.GetCheck());
    EXPECT_TRUE(check.IsSelected());
    check.SetCheck(false);
    EXPECT_FALSE(check.GetCheck());
}

TEST_F(OptionTest, ClickInAGroupSelectsOnlyThatOption)
{
    ASSERT_TRUE(Build(kGroupSkin) != NULL);
    COptionUI* o1 = Find<COptionUI>(L"o1");
    COptionUI* o2 = Find<COptionUI>(L"o2");
    COptionUI* o3 = Find<COptionUI>(L"o3");
    ASSERT_TRUE(o1 != NULL && o2 != NULL && o3 != NULL);
    EXPECT_TRUE(o1->IsSelected());
    CStdPtrArray* group = m_pm->GetOptionGroup(L"g");
    ASSERT_TRUE(group != NULL);
    EXPECT_EQ(3, group->GetSize());
    ClearNotes();

    Click(150, 50);
    EXPECT_FALSE(o1->IsSelected());
    EXPECT_TRUE(o2->IsSelected());
    EXPECT_FALSE(o3->IsSelected());
    std::vector<std::pair<std::wstring, CControlUI*> > actions = Actions();
    ASSERT_EQ(2u, actions.size());
    EXPECT_EQ(L"click", actions[0].first);
    EXPECT_EQ(L"selectchanged", actions[1].first);
    EXPECT_EQ(o2, actions[1].second);

    // A second click keeps it selected: "click" but no "selectchanged".
    ClearNotes();
    Click(150, 50);
    EXPECT_TRUE(o2->IsSelected());
    EXPECT_EQ(1, m_notes.Count(L"click"));
    EXPECT_EQ(0, m_notes.Count(L"selectchanged"));

    // Selecting from code deselects the others in list order and notifies only for the new one.
    ClearNotes();
    o3->Selected(true);
    EXPECT_FALSE(o2->IsSelected());
    EXPECT_TRUE(o3->IsSelected());
    ASSERT_EQ(1u, m_notes.types.size());
    EXPECT_EQ(o3, m_notes.senders[0]);
    // Deselecting a grouped option is silent.
    o3->Selected(false);
    EXPECT_EQ(1u, m_notes.types.size());

    // A press released outside is no click and selects nothing.
    ClearNotes();
    MouseDown(50, 50);
    MouseUp(350, 50);
    EXPECT_FALSE(o1->IsSelected());
    EXPECT_TRUE(Actions().empty());
}

TEST_F(OptionTest, UngroupedOptionTogglesByMouseAndKey)
{
    ASSERT_TRUE(Build(L"<Window><HorizontalLayout><CheckBox name=\"c\" width=\"100\"/>"
                      L"</HorizontalLayout></Window>") != NULL);
    CCheckBoxUI* check = Find<CCheckBoxUI>(L"c");
    ASSERT_TRUE(check != NULL);
    ClearNotes();

    Click(50, 50);
    EXPECT_TRUE(check->GetCheck());
    Click(50, 50);
    EXPECT_FALSE(check->GetCheck());
    EXPECT_EQ(2, m_notes.Count(L"selectchanged"));
    EXPECT_EQ(2, m_notes.Count(L"click"));

    // The press gave it the focus; space activates it like a click.
    ASSERT_EQ(static_cast<CControlUI*>(check), m_pm->GetFocus());
    Key(VK_SPACE);
    EXPECT_TRUE(check->GetCheck());
    EXPECT_EQ(3, m_notes.Count(L"selectchanged"));

    // Disabled, it neither toggles nor notifies.
    check->SetEnabled(false);
    ClearNotes();
    Click(50, 50);
    EXPECT_TRUE(check->GetCheck());
    EXPECT_TRUE(Actions().empty());
}

TEST_F(OptionTest, UnchangedSelectionIsSilent)
{
    ASSERT_TRUE(Build(L"<Window><HorizontalLayout><Option name=\"a\" selected=\"false\"/>"
                      L"</HorizontalLayout></Window>") != NULL);
    COptionUI* a = Find<COptionUI>(L"a");
    ASSERT_TRUE(a != NULL);
    EXPECT_TRUE(m_notes.types.empty());
    a->SetAttribute(L"selected", L"false");
    a->Selected(false);
    EXPECT_TRUE(m_notes.types.empty());
    a->Selected(true);
    a->Selected(true);
    EXPECT_EQ(1, m_notes.Count(L"selectchanged"));
}

TEST_F(OptionTest, TwoSelectedInMarkupLeaveTheLastSelected)
{
    ASSERT_TRUE(Build(L"<Window><HorizontalLayout>"
                      L"<Option name=\"a\" group=\"g\" selected=\"true\"/>"
                      L"<Option name=\"b\" group=\"g\" selected=\"true\"/>"
                      L"</HorizontalLayout></Window>") != NULL);
    EXPECT_FALSE(Find<COptionUI>(L"a")->IsSelected());
    EXPECT_TRUE(Find<COptionUI>(L"b")->IsSelected());
}

TEST_F(OptionTest, GroupListFollowsNameManagerAndLifetime)
{
    ASSERT_TRUE(Build(kGroupSkin) != NULL);
    COptionUI* o1 = Find<COptionUI>(L"o1");
    COptionUI* o3 = Find<COptionUI>(L"o3");
    ASSERT_TRUE(o1 != NULL && o3 != NULL);

    o1->SetGroup(L"h");
    EXPECT_EQ(2, m_pm->GetOptionGroup(L"g")->GetSize());
    ASSERT_TRUE(m_pm->GetOptionGroup(L"h") != NULL);
    EXPECT_EQ(1, m_pm->GetOptionGroup(L"h")->GetSize());
    // Leaving the last member's group frees the list.
    o1->SetGroup(NULL);
    EXPECT_TRUE(m_pm->GetOptionGroup(L"h") == NULL);
    EXPECT_STREQ(L"", o1->GetGroup());
    // Without a group it toggles again.
    o1->Selected(false);
    Click(50, 50);
    Click(50, 50);
    EXPECT_FALSE(o1->IsSelected());

    // A tree built with the manager but never attached, then deleted, leaves nothing in the lists.
    {
        CDialogBuilder builder;
        CControlUI* pLoose = builder.Create(
            L"<Window><HorizontalLayout><Option group=\"g\" selected=\"true\"/><Option group=\"x\"/>"
            L"</HorizontalLayout></Window>", NULL, NULL, m_pm);
        ASSERT_TRUE(pLoose != NULL);
        EXPECT_EQ(2, m_pm->GetOptionGroup(L"g")->GetSize());
        EXPECT_TRUE(m_pm->GetOptionGroup(L"x") == NULL);
        delete pLoose;
    }
    EXPECT_EQ(2, m_pm->GetOptionGroup(L"g")->GetSize());
    // Anything in a list that is not an option is passed over.
    CControlUI plain;
    ASSERT_TRUE(m_pm->AddOptionGroup(L"g", &plain));
    EXPECT_FALSE(m_pm->AddOptionGroup(L"g", &plain));
    Click(250, 50);
    EXPECT_TRUE(o3->IsSelected());
    m_pm->RemoveOptionGroup(L"g", &plain);

    // A destroyed member leaves its group.
    CContainerUI* row = static_cast<CContainerUI*>(m_pm->GetRoot());
    row->SetDelayedDestroy(false);
    ASSERT_TRUE(row->Remove(o3));
    ASSERT_TRUE(m_pm->GetOptionGroup(L"g") != NULL);
    EXPECT_EQ(1, m_pm->GetOptionGroup(L"g")->GetSize());
}

TEST_F(OptionTest, DisabledSelectedOptionKeepsItsSelectedImage)
{
    COptionUI option;
    SetUpImages(option);
    DWORD left = 0;
    DWORD right = 0;
    PaintHalves(option, left, right);
    EXPECT_EQ(kNormal, left);
    EXPECT_EQ(kFore, right);

    option.Selected(true);
    Send(option, EVENT_MOUSEENTER, 50, 30);
    EXPECT_EQ(static_cast<UINT>(STATE_SELECTED | STATE_HOT), option.GetButtonState());
    option.SetEnabled(false);
    EXPECT_EQ(static_cast<UINT>(STATE_SELECTED), option.GetButtonState());
    PaintHalves(option, left, right);
    EXPECT_EQ(kSelected, left);
    EXPECT_EQ(kFore, right);

    option.Selected(false);
    PaintHalves(option, left, right);
    EXPECT_EQ(kNormal, left);
    // The fore image shows once, from the option: the button's own pass leaves it out.
    EXPECT_EQ(kFore, right);
}

TEST_F(OptionTest, HotSelectedAndPushedImages)
{
    COptionUI option;
    SetUpImages(option);
    option.SetAttribute(L"selectedhotimage", L"file='selhot' dest='0,0,100,60'");
    DWORD left = 0;
    DWORD right = 0;

    Send(option, EVENT_MOUSEENTER, 50, 30);
    PaintHalves(option, left, right);
    EXPECT_EQ(kHot, left);

    // A press marks it pushed, but an option never paints pushed: the paint drops the flag.
    Send(option, EVENT_BUTTONDOWN, 50, 30);
    EXPECT_NE(0u, option.GetButtonState() & STATE_PUSHED);
    PaintHalves(option, left, right);
    EXPECT_EQ(kHot, left);
    EXPECT_EQ(0u, option.GetButtonState() & STATE_PUSHED);
    Send(option, EVENT_BUTTONUP, 50, 30);
    EXPECT_TRUE(option.IsSelected());

    PaintHalves(option, left, right);
    EXPECT_EQ(kSelectedHot, left);
    EXPECT_EQ(kFore, right);
    Send(option, EVENT_MOUSELEAVE, 300, 30);
    PaintHalves(option, left, right);
    EXPECT_EQ(kSelected, left);

    // Without a manager nothing draws: a failed selected hot image is dropped and the button's own
    // state painting tried in its place, not the selected image.
    COptionUI broken;
    broken.SetAttribute(L"normalimage", L"normal");
    broken.SetAttribute(L"selectedimage", L"selected");
    broken.SetAttribute(L"selectedhotimage", L"selhot");
    broken.SetAttribute(L"foreimage", L"fore");
    broken.SetPos(Rc(0, 0, 100, 60));
    broken.Selected(true);
    Send(broken, EVENT_MOUSEENTER, 50, 30);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(broken, canvas);
    EXPECT_STREQ(L"", broken.GetSelectedHotImage());
    EXPECT_STREQ(L"selected", broken.GetSelectedImage());
    EXPECT_STREQ(L"", broken.GetNormalImage());
    EXPECT_STREQ(L"", broken.GetForeImage());
}

TEST_F(OptionTest, SelectedBackgroundColourHidesTheForeImage)
{
    COptionUI option;
    option.SetAttribute(L"normalimage", L"file='normal' dest='0,0,100,60'");
    option.SetAttribute(L"foreimage", L"file='fore' dest='100,0,200,60'");
    option.SetAttribute(L"selectedbkcolor", L"#FF204060");
    Place(option, 0, 0, kWidth, kHeight);
    DWORD left = 0;
    DWORD right = 0;
    PaintHalves(option, left, right);
    EXPECT_EQ(kNormal, left);
    EXPECT_EQ(kFore, right);

    option.Selected(true);
    PaintHalves(option, left, right);
    EXPECT_EQ(0x204060u, left);
    EXPECT_EQ(0x204060u, right);
}

TEST_F(OptionTest, SelectedTextColourPaintsOnlyWhileSelected)
{
    const int font = AddLargeFont();
    COptionUI option;
    option.SetFont(font);
    option.SetText(L"MW");
    option.SetAttribute(L"textcolor", L"#FFFF0000");
    option.SetAttribute(L"selectedtextcolor", L"#FF0000FF");
    Place(option, 0, 0, kWidth, kHeight);

    CDibCanvas plain(kWidth, kHeight, kWhite);
    Paint(option, plain);
    EXPECT_GT(CountNear(plain, 0xFF0000, 8), 20);
    EXPECT_EQ(0, CountNear(plain, 0x0000FF, 8));

    option.Selected(true);
    CDibCanvas selected(kWidth, kHeight, kWhite);
    Paint(option, selected);
    EXPECT_GT(CountNear(selected, 0x0000FF, 8), 20);
    EXPECT_EQ(0, CountNear(selected, 0xFF0000, 8));
    // The selected colour is borrowed for the paint only.
    EXPECT_EQ(0xFFFF0000u, option.GetTextColor());

    // Without a text colour of its own a selected option takes the manager's default.
    COptionUI bare;
    bare.SetFont(font);
    bare.SetText(L"MW");
    bare.Selected(true);
    Place(bare, 0, 0, kWidth, kHeight);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(bare, canvas);
    EXPECT_GT(CountNear(canvas, m_pm->GetDefaultFontColor(), 8), 20);
}
