// Tests of CButtonUI: state images and text colours by state, "click" from mouse and keyboard, disabling.
#include "veneer/core/UISetup.h"
#include "control/TextPaintFixture.h"

using namespace Veneer;
using namespace VeneerTest;

namespace {

const DWORD kWhite = 0xFFFFFFFF;
const DWORD kNormal = 0xFF0000;
const DWORD kHot = 0x00FF00;
const DWORD kPushed = 0x0000FF;
const DWORD kFocused = 0xFFFF00;
const DWORD kDisabled = 0x808080;
const DWORD kFore = 0x00FFFF;
const DWORD kHotFore = 0xFF00FF;

// Records the events a container-like parent is handed by its children.
class CEventParentUI : public CControlUI
{
public:
    void DoEvent(TEventUI& event) override { types.push_back(event.Type); }
    std::vector<int> types;
};

class ButtonTest : public PaintFixture
{
protected:
    void SetUp() override
    {
        PaintFixture::SetUp();
        AddSolidImage(L"normal", 8, 8, kNormal);
        AddSolidImage(L"hot", 8, 8, kHot);
        AddSolidImage(L"pushed", 8, 8, kPushed);
        AddSolidImage(L"focused", 8, 8, kFocused);
        AddSolidImage(L"disabled", 8, 8, kDisabled);
        AddSolidImage(L"fore", 8, 8, kFore);
        AddSolidImage(L"hotfore", 8, 8, kHotFore);
    }

    // A button over the whole canvas whose images cover its left half; the fore images sit in the
    // right half so both can be seen at once.
    void SetUpImages(CButtonUI& button, bool fore)
    {
        button.SetAttribute(L"normalimage", L"file='normal' dest='0,0,100,60'");
        button.SetAttribute(L"hotimage", L"file='hot' dest='0,0,100,60'");
        button.SetAttribute(L"pushedimage", L"file='pushed' dest='0,0,100,60'");
        button.SetAttribute(L"focusedimage", L"file='focused' dest='0,0,100,60'");
        button.SetAttribute(L"disabledimage", L"file='disabled' dest='0,0,100,60'");
        if (fore) {
            button.SetAttribute(L"foreimage", L"file='fore' dest='100,0,200,60'");
            button.SetAttribute(L"hotforeimage", L"file='hotfore' dest='100,0,200,60'");
        }
        Place(button, 0, 0, kWidth, kHeight);
    }
    // Colour of the left (state image) and right (fore image) halves after a paint.
    void PaintHalves(CButtonUI& button, DWORD& left, DWORD& right)
    {
        CDibCanvas canvas(kWidth, kHeight, kWhite);
        Paint(button, canvas);
        left = canvas.Get(50, 30) & 0xFFFFFF;
        right = canvas.Get(150, 30) & 0xFFFFFF;
    }
    void Press(CButtonUI& button, int x = 50, int y = 30) { Send(button, EVENT_BUTTONDOWN, x, y); }
    void Release(CButtonUI& button, int x = 50, int y = 30) { Send(button, EVENT_BUTTONUP, x, y); }
};

TEST(ButtonAttributes, IdentityDefaultsAndFlags)
{
    CButtonUI button;
    EXPECT_STREQ(L"ButtonUI", button.GetClass());
    EXPECT_EQ(&button, button.GetInterface(L"Button"));
    EXPECT_EQ(&button, button.GetInterface(L"Label"));
    EXPECT_EQ(&button, button.GetInterface(L"Control"));
    EXPECT_EQ(NULL, button.GetInterface(L"Option"));
    EXPECT_EQ(static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_CENTER), button.GetTextStyle());

    EXPECT_EQ(static_cast<UINT>(UIFLAG_TABSTOP | UIFLAG_SETCURSOR), button.GetControlFlags());
    button.SetKeyboardEnabled(false);
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), button.GetControlFlags());
    button.SetEnabled(false);
    EXPECT_EQ(0u, button.GetControlFlags());
    button.SetKeyboardEnabled(true);
    EXPECT_EQ(static_cast<UINT>(UIFLAG_TABSTOP), button.GetControlFlags());
}

TEST(ButtonAttributes, ImagesAndColours)
{
    CButtonUI button;
    button.SetAttribute(L"hotforeimage", L"a.png");
    button.SetAttribute(L"foreimage", L"file='b.png' dest='1,1,2,2'");
    button.SetAttribute(L"hotbkcolor", L"#80102030");
    button.SetAttribute(L"hottextcolor", L"FF00FF00");
    button.SetAttribute(L"pushedtextcolor", L"#FF0000FF");
    button.SetAttribute(L"focusedtextcolor", L"#00123456");
    // Anything else reaches the label.
    button.SetAttribute(L"textcolor", L"#FF111111");
    button.SetAttribute(L"align", L"left");
    EXPECT_STREQ(L"a.png", button.GetHotForeImage());
    EXPECT_STREQ(L"file='b.png' dest='1,1,2,2'", button.GetForeImage());
    EXPECT_EQ(0x80102030u, button.GetHotBkColor());
    EXPECT_EQ(0xFF00FF00u, button.GetHotTextColor());
    EXPECT_EQ(0xFF0000FFu, button.GetPushedTextColor());
    EXPECT_EQ(0x00123456u, button.GetFocusedTextColor());
    EXPECT_EQ(0xFF111111u, button.GetTextColor());
    EXPECT_EQ(0u, button.GetTextStyle());
}

TEST_F(ButtonTest, StateImageFollowsTheState)
{
    CButtonUI button;
    SetUpImages(button, true);
    DWORD left = 0;
    DWORD right = 0;
    PaintHalves(button, left, right);
    EXPECT_EQ(kNormal, left);
    EXPECT_EQ(kFore, right);

    Send(button, EVENT_MOUSEENTER, 50, 30);
    EXPECT_EQ(static_cast<UINT>(STATE_HOT), button.GetButtonState() & STATE_HOT);
    PaintHalves(button, left, right);
    EXPECT_EQ(kHot, left);
    // The hot fore image replaces the fore image.
    EXPECT_EQ(kHotFore, right);

    Press(button);
    PaintHalves(button, left, right);
    EXPECT_EQ(kPushed, left);
    EXPECT_EQ(kFore, right);

    Release(button);
    Send(button, EVENT_MOUSELEAVE, 300, 30);
    Send(button, EVENT_SETFOCUS);
    PaintHalves(button, left, right);
    EXPECT_EQ(kFocused, left);
    EXPECT_EQ(kFore, right);
    EXPECT_NE(0u, button.GetButtonState() & STATE_FOCUSED);

    button.SetEnabled(false);
    PaintHalves(button, left, right);
    EXPECT_EQ(kDisabled, left);
    EXPECT_EQ(kFore, right);
    EXPECT_EQ(static_cast<UINT>(STATE_DISABLED | STATE_FOCUSED), button.GetButtonState());
}

TEST_F(ButtonTest, MissingStateImagesFallBackToNormal)
{
    CButtonUI button;
    button.SetAttribute(L"normalimage", L"file='normal' dest='0,0,100,60'");
    button.SetAttribute(L"foreimage", L"file='fore' dest='100,0,200,60'");
    Place(button, 0, 0, kWidth, kHeight);
    DWORD left = 0;
    DWORD right = 0;

    // Hot without hot image or hot background colour: normal and fore.
    Send(button, EVENT_MOUSEENTER, 50, 30);
    PaintHalves(button, left, right);
    EXPECT_EQ(kNormal, left);
    EXPECT_EQ(kFore, right);

    Press(button);
    PaintHalves(button, left, right);
    EXPECT_EQ(kNormal, left);
    EXPECT_EQ(kFore, right);
    Release(button, 300, 30);

    button.SetEnabled(false);
    PaintHalves(button, left, right);
    EXPECT_EQ(kNormal, left);
    EXPECT_EQ(kFore, right);
}

TEST_F(ButtonTest, HotBackgroundColourReplacesTheImages)
{
    CButtonUI button;
    button.SetAttribute(L"normalimage", L"file='normal' dest='0,0,100,60'");
    button.SetAttribute(L"foreimage", L"file='fore' dest='100,0,200,60'");
    button.SetAttribute(L"hotbkcolor", L"#FF123456");
    Place(button, 0, 0, kWidth, kHeight);
    Send(button, EVENT_MOUSEENTER, 50, 30);
    DWORD left = 0;
    DWORD right = 0;
    PaintHalves(button, left, right);
    EXPECT_EQ(0x123456u, left);
    EXPECT_EQ(0x123456u, right);

    // With a hot image the colour is not used.
    button.SetHotImage(L"file='hot' dest='0,0,100,60'");
    PaintHalves(button, left, right);
    EXPECT_EQ(kHot, left);
    EXPECT_EQ(kFore, right);
}

TEST_F(ButtonTest, ImageWithoutManagerIsDropped)
{
    CButtonUI button;
    button.SetNormalImage(L"normal");
    RECT rc = { 0, 0, 20, 20 };
    button.SetPos(rc);
    CDibCanvas canvas(20, 20, kWhite);
    button.DoPaint(canvas.GetDC(), rc);
    EXPECT_STREQ(L"", button.GetNormalImage());
}

TEST_F(ButtonTest, TextColourByState)
{
    const int font = AddLargeFont();
    CButtonUI button;
    button.SetFont(font);
    button.SetText(L"HHH");
    button.SetTextColor(0xFF000000);
    button.SetDisabledTextColor(0xFF808080);
    button.SetHotTextColor(0xFFFF0000);
    button.SetPushedTextColor(0xFF0000FF);
    button.SetFocusedTextColor(0xFF00C000);
    Place(button, 0, 0, kWidth, kHeight);

    struct Step
    {
        int event;
        DWORD expected;
    };
    // Pushed wins over hot, hot over focused.
    const Step steps[] = {
        { 0, 0x000000 },
        { EVENT_SETFOCUS, 0x00C000 },
        { EVENT_MOUSEENTER, 0xFF0000 },
        { EVENT_BUTTONDOWN, 0x0000FF },
        { EVENT_BUTTONUP, 0xFF0000 },
        { EVENT_MOUSELEAVE, 0x00C000 },
        { EVENT_KILLFOCUS, 0x000000 },
    };
    for (const Step& step : steps) {
        if (step.event != 0) Send(button, step.event, 100, 30);
        CDibCanvas canvas(kWidth, kHeight, kWhite);
        Paint(button, canvas);
        EXPECT_GT(CountNear(canvas, step.expected, 40), 40) << "after event " << step.event;
        const RECT box = InkBox(canvas, kWhite);
        // Centred both ways by default.
        EXPECT_LE(std::abs((box.left + box.right) / 2 - kWidth / 2), 3);
        EXPECT_LE(std::abs((box.top + box.bottom) / 2 - kHeight / 2), 4);
    }
    button.SetEnabled(false);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(button, canvas);
    EXPECT_GT(CountNear(canvas, 0x808080, 40), 40);
    EXPECT_EQ(0, CountNear(canvas, 0x000000, 40));
}

TEST_F(ButtonTest, TextPaddingMovesTheText)
{
    const int font = AddLargeFont();
    CButtonUI button;
    button.SetFont(font);
    button.SetText(L"HH");
    button.SetTextColor(0xFF000000);
    button.SetAttribute(L"textpadding", L"100,0,0,0");
    Place(button, 0, 0, kWidth, kHeight);
    CDibCanvas canvas(kWidth, kHeight, kWhite);
    Paint(button, canvas);
    const RECT box = InkBox(canvas, kWhite);
    EXPECT_GE(box.left, 100);
    EXPECT_LE(std::abs((box.left + box.right) / 2 - 150), 3);
}

TEST_F(ButtonTest, EstimatedSizeAddsEight)
{
    CButtonUI button;
    button.SetFixedWidth(40);
    Place(button, 0, 0, 40, 20);
    SIZE available = { 100, 100 };
    SIZE sz = button.EstimateSize(available);
    EXPECT_EQ(40, sz.cx);
    EXPECT_EQ(m_pm->GetDefaultFontInfo()->tm.tmHeight + 8, sz.cy);
    button.SetFixedHeight(25);
    EXPECT_EQ(25, button.EstimateSize(available).cy);
}

TEST_F(ButtonTest, ClickOnlyWhenReleasedInside)
{
    CButtonUI button;
    Place(button, 10, 10, 110, 40);

    Press(button, 50, 20);
    EXPECT_EQ(static_cast<UINT>(STATE_PUSHED | STATE_CAPTURED), button.GetButtonState());
    Release(button, 50, 20);
    EXPECT_EQ(1, m_notes.Count(L"click"));
    ASSERT_EQ(1u, m_notes.senders.size());
    EXPECT_EQ(&button, m_notes.senders[0]);
    EXPECT_EQ(0u, m_notes.wParams[0]);
    EXPECT_EQ(0, m_notes.lParams[0]);
    EXPECT_EQ(0u, button.GetButtonState());

    // Dragged out and released outside: no click.
    Press(button, 50, 20);
    Send(button, EVENT_MOUSEMOVE, 150, 20);
    EXPECT_EQ(static_cast<UINT>(STATE_CAPTURED), button.GetButtonState());
    Release(button, 150, 20);
    EXPECT_EQ(1, m_notes.Count(L"click"));
    EXPECT_EQ(0u, button.GetButtonState());

    // Dragged out and back in: the click counts.
    Press(button, 50, 20);
    Send(button, EVENT_MOUSEMOVE, 150, 20);
    Send(button, EVENT_MOUSEMOVE, 60, 30);
    EXPECT_EQ(static_cast<UINT>(STATE_PUSHED | STATE_CAPTURED), button.GetButtonState());
    Release(button, 60, 30);
    EXPECT_EQ(2, m_notes.Count(L"click"));

    // A release without a press on the button, or a press outside it, does nothing.
    Release(button, 50, 20);
    Press(button, 5, 5);
    EXPECT_EQ(0u, button.GetButtonState());
    Send(button, EVENT_MOUSEMOVE, 50, 20);
    Release(button, 50, 20);
    EXPECT_EQ(2, m_notes.Count(L"click"));

    // A double click presses like a button-down.
    Send(button, EVENT_DBLCLICK, 50, 20);
    Release(button, 50, 20);
    EXPECT_EQ(3, m_notes.Count(L"click"));
    EXPECT_EQ(3u, m_notes.types.size());
}

TEST_F(ButtonTest, SpaceAndReturnActivate)
{
    CButtonUI button;
    Place(button, 0, 0, 100, 30);
    Send(button, EVENT_KEYDOWN, 0, 0, VK_SPACE);
    Send(button, EVENT_KEYDOWN, 0, 0, VK_RETURN);
    Send(button, EVENT_KEYDOWN, 0, 0, L'A');
    Send(button, EVENT_KEYUP, 0, 0, VK_SPACE);
    EXPECT_EQ(2, m_notes.Count(L"click"));

    button.SetKeyboardEnabled(false);
    Send(button, EVENT_KEYDOWN, 0, 0, VK_SPACE);
    EXPECT_EQ(2, m_notes.Count(L"click"));

    EXPECT_TRUE(button.Activate());
    EXPECT_EQ(3, m_notes.Count(L"click"));
    button.SetVisible(false);
    EXPECT_FALSE(button.Activate());
    EXPECT_EQ(3, m_notes.Count(L"click"));
}

TEST_F(ButtonTest, DisabledButtonIgnoresInput)
{
    CButtonUI button;
    Place(button, 0, 0, 100, 30);
    Send(button, EVENT_MOUSEENTER, 50, 10);
    Press(button, 50, 10);
    EXPECT_EQ(static_cast<UINT>(STATE_HOT | STATE_PUSHED | STATE_CAPTURED), button.GetButtonState());
    // Disabling mid-press forgets every state: the release sends nothing.
    button.SetEnabled(false);
    EXPECT_EQ(0u, button.GetButtonState());
    Release(button, 50, 10);

    Send(button, EVENT_MOUSEENTER, 50, 10);
    Press(button, 50, 10);
    Release(button, 50, 10);
    Send(button, EVENT_KEYDOWN, 0, 0, VK_RETURN);
    EXPECT_EQ(0u, button.GetButtonState());
    EXPECT_FALSE(button.Activate());
    EXPECT_EQ(0u, m_notes.types.size());

    button.SetEnabled(true);
    Press(button, 50, 10);
    Release(button, 50, 10);
    EXPECT_EQ(1, m_notes.Count(L"click"));
}

TEST_F(ButtonTest, MouseDisabledPassesMouseEventsToTheParent)
{
    CEventParentUI parent;
    parent.SetManager(m_pm, NULL, false);
    CButtonUI button;
    button.SetManager(m_pm, &parent, false);
    RECT rc = { 0, 0, 100, 30 };
    button.SetPos(rc);
    button.SetMouseEnabled(false);

    Press(button, 50, 10);
    Release(button, 50, 10);
    Send(button, EVENT_MOUSEENTER, 50, 10);
    EXPECT_EQ(0u, button.GetButtonState());
    EXPECT_EQ(0u, m_notes.types.size());
    ASSERT_EQ(3u, parent.types.size());
    EXPECT_EQ(EVENT_BUTTONDOWN, parent.types[0]);
    EXPECT_EQ(EVENT_BUTTONUP, parent.types[1]);
    EXPECT_EQ(EVENT_MOUSEENTER, parent.types[2]);

    // The keyboard still works.
    Send(button, EVENT_KEYDOWN, 0, 0, VK_SPACE);
    EXPECT_EQ(1, m_notes.Count(L"click"));
}

TEST_F(ButtonTest, ContextMenuAndCursor)
{
    CButtonUI button;
    Place(button, 0, 0, 100, 30);
    TEventUI menu = MakeEvent(EVENT_CONTEXTMENU, &button, 10, 10);
    menu.wParam = 7;
    menu.lParam = 9;
    button.Event(menu);
    EXPECT_EQ(0u, m_notes.types.size());

    button.SetContextMenuUsed(true);
    button.Event(menu);
    ASSERT_EQ(1, m_notes.Count(L"menu"));
    EXPECT_EQ(7u, m_notes.wParams[0]);
    EXPECT_EQ(9, m_notes.lParams[0]);

    ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    Send(button, EVENT_SETCURSOR, 10, 10);
    EXPECT_EQ(::LoadCursorW(NULL, IDC_HAND), ::GetCursor());
}

TEST_F(ButtonTest, SkinTagsMakeLabelsAndButtons)
{
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(
        L"<Window><Default name=\"Button\" value=\"hottextcolor=&quot;#FFFF0000&quot;\"/>"
        L"<VerticalLayout>"
        L"<Label name=\"title\" enabledeffect=\"true\" text=\"effect\" align=\"right\"/>"
        L"<Button name=\"closebtn\" text=\"x\" hottextcolor=\"#FF00FF00\" normalimage=\"normal\"/>"
        L"<Button name=\"plain\"/>"
        L"<button name=\"lowercase\"/>"
        L"</VerticalLayout></Window>",
        NULL, NULL, m_pm);
    ASSERT_TRUE(pRoot != NULL);
    ASSERT_TRUE(m_pm->AttachDialog(pRoot));
    RECT rc = { 0, 0, kWidth, kHeight * 2 };
    pRoot->SetPos(rc);

    CLabelUI* pLabel = static_cast<CLabelUI*>(m_pm->FindControl(L"title"));
    CButtonUI* pClose = static_cast<CButtonUI*>(m_pm->FindControl(L"closebtn"));
    CButtonUI* pPlain = static_cast<CButtonUI*>(m_pm->FindControl(L"plain"));
    ASSERT_TRUE(pLabel != NULL && pClose != NULL && pPlain != NULL);
    EXPECT_STREQ(L"LabelUI", pLabel->GetClass());
    EXPECT_STREQ(L"ButtonUI", pClose->GetClass());
    // Tags are compared exactly: "button" makes nothing.
    EXPECT_TRUE(m_pm->FindControl(L"lowercase") == NULL);

    EXPECT_STREQ(L"effect", pLabel->GetText());
    EXPECT_EQ(static_cast<UINT>(DT_RIGHT), pLabel->GetTextStyle());
    EXPECT_EQ(0xFF00FF00u, pClose->GetHotTextColor());
    EXPECT_EQ(0xFFFF0000u, pPlain->GetHotTextColor());
    EXPECT_STREQ(L"normal", pClose->GetNormalImage());

    // Without a fixed height the layout asks the estimate: font height plus 4 or 8.
    const int fontHeight = m_pm->GetDefaultFontInfo()->tm.tmHeight;
    EXPECT_EQ(fontHeight + 4, pLabel->GetHeight());
    EXPECT_EQ(fontHeight + 8, pClose->GetHeight());
    EXPECT_EQ(pLabel->GetPos().bottom, pClose->GetPos().top);
}

} // namespace
