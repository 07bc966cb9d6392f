// Tests of the attribute value syntax, the common control attributes and attribute lists.
#include "veneer/core/UISetup.h"
#include "ControlTestUtil.h"

using namespace Veneer;
using namespace ControlTest;

TEST(AttributeValue, IntegersFollowTheRuntimeConversion)
{
    EXPECT_EQ(42, CUIAttribute::ParseInt(L"42"));
    EXPECT_EQ(-7, CUIAttribute::ParseInt(L"  -7px"));
    EXPECT_EQ(0, CUIAttribute::ParseInt(L"px"));
    EXPECT_EQ(0, CUIAttribute::ParseInt(NULL));
}

TEST(AttributeValue, OnlyLowerCaseTrueIsTrue)
{
    EXPECT_TRUE(CUIAttribute::ParseBool(L"true"));
    EXPECT_FALSE(CUIAttribute::ParseBool(L"True"));
    EXPECT_FALSE(CUIAttribute::ParseBool(L"1"));
    EXPECT_FALSE(CUIAttribute::ParseBool(L"true "));
    EXPECT_FALSE(CUIAttribute::ParseBool(NULL));
}

TEST(AttributeValue, ColoursAreHexWithOptionalHashAndNoAddedAlpha)
{
    EXPECT_EQ(0xFFFF0000u, CUIAttribute::ParseColor(L"#FFFF0000"));
    EXPECT_EQ(0xFFFF0000u, CUIAttribute::ParseColor(L"FFFF0000"));
    EXPECT_EQ(0x00FF0000u, CUIAttribute::ParseColor(L"FF0000"));
    EXPECT_EQ(0x12u, CUIAttribute::ParseColor(L"#12xyz"));
    EXPECT_EQ(0u, CUIAttribute::ParseColor(L"#"));
    // Only the background colours skip leading blanks before the '#'.
    EXPECT_EQ(0xFF00FF00u, CUIAttribute::ParseColorSkipBlanks(L"  #FF00FF00"));
    EXPECT_EQ(0u, CUIAttribute::ParseColor(L"  #FF00FF00"));
}

TEST(AttributeValue, RectanglesSkipExactlyOneSeparator)
{
    EXPECT_TRUE(RectEq(CUIAttribute::ParseRect(L"1,2,3,4"), 1, 2, 3, 4));
    EXPECT_TRUE(RectEq(CUIAttribute::ParseRect(L"-110,-60,-10,-10"), -110, -60, -10, -10));
    EXPECT_TRUE(RectEq(CUIAttribute::ParseRect(L"1 2 3 4"), 1, 2, 3, 4));
    // Two separators: the second number reads from the second comma and finds no digits.
    EXPECT_TRUE(RectEq(CUIAttribute::ParseRect(L"1,,2,3"), 1, 0, 2, 3));
    // Short values stop at their end instead of reading past the terminator.
    EXPECT_TRUE(RectEq(CUIAttribute::ParseRect(L"5"), 5, 0, 0, 0));
    EXPECT_TRUE(RectEq(CUIAttribute::ParseRect(L"1,2,"), 1, 2, 0, 0));
    EXPECT_TRUE(RectEq(CUIAttribute::ParseRect(L""), 0, 0, 0, 0));
    SIZE sz = CUIAttribute::ParseSize(L"7,9");
    EXPECT_EQ(7, sz.cx);
    EXPECT_EQ(9, sz.cy);
}

TEST(AttributeValue, CoordinatesAndSizesAreHeldWithinTheLargestExtent)
{
    const int kMax = CUIAttribute::kMaxExtent;
    EXPECT_EQ(kMax, CUIAttribute::ParseExtent(L"2147483647"));
    EXPECT_EQ(-kMax, CUIAttribute::ParseExtent(L"-99999999999"));
    EXPECT_EQ(kMax, CUIAttribute::ParseExtent(L"262145"));
    EXPECT_EQ(-1234, CUIAttribute::ParseExtent(L" -1234px"));
    EXPECT_EQ(0, CUIAttribute::ParseExtent(L"x"));
    EXPECT_TRUE(RectEq(CUIAttribute::ParseRect(L"2147483647,-2147483648,5,-99999999999"), kMax, -kMax, 5, -kMax));
    SIZE sz = CUIAttribute::ParseSize(L"99999999,-7");
    EXPECT_EQ(kMax, sz.cx);
    EXPECT_EQ(-7, sz.cy);
    // Plain integers are not coordinates: they keep what the runtime conversion gives.
    EXPECT_EQ(2147483647, CUIAttribute::ParseInt(L"2147483647"));

    CControlUI control;
    control.SetAttribute(L"width", L"2147483647");
    control.SetAttribute(L"maxheight", L"99999999999");
    control.SetAttribute(L"bordersize", L"2147483647");
    EXPECT_EQ(kMax, control.GetFixedWidth());
    EXPECT_EQ(kMax, control.GetMaxHeight());
    EXPECT_EQ(kMax, control.GetBorderSize());
}

TEST(ControlAttributes, PosSetsFixedPositionAndSize)
{
    CControlUI control;
    control.SetAttribute(L"pos", L"10,20,110,70");
    EXPECT_EQ(10, control.GetFixedXY().cx);
    EXPECT_EQ(20, control.GetFixedXY().cy);
    EXPECT_EQ(100, control.GetFixedWidth());
    EXPECT_EQ(50, control.GetFixedHeight());

    // A negative left edge measures from the right: x comes from r, and the negative width is ignored.
    CControlUI other;
    other.SetAttribute(L"pos", L"-1,5,-20,30");
    EXPECT_EQ(-20, other.GetFixedXY().cx);
    EXPECT_EQ(5, other.GetFixedXY().cy);
    EXPECT_EQ(0, other.GetFixedWidth());
    EXPECT_EQ(25, other.GetFixedHeight());

    CControlUI corner;
    corner.SetAttribute(L"pos", L"-110,-60,-10,-10");
    EXPECT_EQ(-10, corner.GetFixedXY().cx);
    EXPECT_EQ(-10, corner.GetFixedXY().cy);
    EXPECT_EQ(100, corner.GetFixedWidth());
    EXPECT_EQ(50, corner.GetFixedHeight());
}

TEST(ControlAttributes, BorderSizeFormsAndSides)
{
    CControlUI control;
    control.SetAttribute(L"bordersize", L"1,0,1,0");
    EXPECT_EQ(0, control.GetBorderSize());
    EXPECT_EQ(1, control.GetLeftBorderSize());
    EXPECT_EQ(0, control.GetTopBorderSize());
    EXPECT_EQ(1, control.GetRightBorderSize());
    EXPECT_EQ(0, control.GetBottomBorderSize());

    // The plain form sets the uniform border and clears the sides.
    control.SetAttribute(L"bordersize", L"2");
    EXPECT_EQ(2, control.GetBorderSize());
    EXPECT_EQ(0, control.GetLeftBorderSize());
    EXPECT_EQ(0, control.GetRightBorderSize());

    control.SetAttribute(L"leftbordersize", L"5");
    control.SetAttribute(L"topbordersize", L"3");
    control.SetAttribute(L"rightbordersize", L"6");
    control.SetAttribute(L"bottombordersize", L"4");
    EXPECT_EQ(5, control.GetLeftBorderSize());
    EXPECT_EQ(3, control.GetTopBorderSize());
    EXPECT_EQ(6, control.GetRightBorderSize());
    EXPECT_EQ(4, control.GetBottomBorderSize());
    EXPECT_EQ(2, control.GetBorderSize());

    control.SetAttribute(L"borderround", L"6,8");
    EXPECT_EQ(6, control.GetBorderRound().cx);
    EXPECT_EQ(8, control.GetBorderRound().cy);
    control.SetAttribute(L"borderstyle", L"2");
    EXPECT_EQ(PS_DOT, control.GetBorderStyle());
}

TEST(ControlAttributes, Colours)
{
    CControlUI control;
    control.SetAttribute(L"bkcolor", L"#FFFF0000");
    EXPECT_EQ(0xFFFF0000u, control.GetBkColor());
    control.SetAttribute(L"bkcolor1", L"FF0000");
    EXPECT_EQ(0x00FF0000u, control.GetBkColor());
    control.SetAttribute(L"bkcolor2", L" #80112233");
    EXPECT_EQ(0x80112233u, control.GetBkColor2());
    control.SetAttribute(L"bkcolor3", L"#FF000001");
    EXPECT_EQ(0xFF000001u, control.GetBkColor3());
    control.SetAttribute(L"bordercolor", L"#FF00FF00");
    EXPECT_EQ(0xFF00FF00u, control.GetBorderColor());
    control.SetAttribute(L"focusbordercolor", L"FF0000FF");
    EXPECT_EQ(0xFF0000FFu, control.GetFocusBorderColor());
    control.SetAttribute(L"colorhsl", L"true");
    EXPECT_TRUE(control.IsColorHSL());
    // Without colour adjustment the colour is used as given.
    control.SetAttribute(L"colorhsl", L"false");
    EXPECT_EQ(0x80112233u, control.GetAdjustColor(0x80112233u));
}

TEST(ControlAttributes, BooleansTextsAndLayoutHints)
{
    CControlUI control;
    control.SetAttribute(L"visible", L"True");
    EXPECT_FALSE(control.IsVisible());
    control.SetAttribute(L"visible", L"true");
    EXPECT_TRUE(control.IsVisible());
    control.SetAttribute(L"enabled", L"false");
    EXPECT_FALSE(control.IsEnabled());
    control.SetAttribute(L"mouse", L"no");
    EXPECT_FALSE(control.IsMouseEnabled());
    control.SetAttribute(L"keyboard", L"0");
    EXPECT_FALSE(control.IsKeyboardEnabled());
    control.SetAttribute(L"float", L"true");
    EXPECT_TRUE(control.IsFloat());
    control.SetAttribute(L"menu", L"true");
    EXPECT_TRUE(control.IsContextMenuUsed());

    control.SetAttribute(L"name", L"okbtn");
    control.SetAttribute(L"text", L"OK");
    control.SetAttribute(L"userdata", L"42");
    control.SetAttribute(L"shortcut", L"xyz");
    control.SetAttribute(L"tooltip", L"a<n>b<n>");
    control.SetAttribute(L"bkimage", L"file='bk.png'");
    EXPECT_STREQ(L"okbtn", control.GetName());
    EXPECT_STREQ(L"OK", control.GetText());
    EXPECT_STREQ(L"42", control.GetUserData());
    EXPECT_EQ(L'x', control.GetShortcut());
    EXPECT_STREQ(L"a\r\nb\r\n", control.GetToolTip());
    EXPECT_STREQ(L"file='bk.png'", control.GetBkImage());
    EXPECT_EQ(300, control.GetToolTipWidth());

    control.SetAttribute(L"width", L"30");
    control.SetAttribute(L"height", L"-5");
    control.SetAttribute(L"minwidth", L"10");
    control.SetAttribute(L"maxwidth", L"-1");
    control.SetAttribute(L"minheight", L"12");
    control.SetAttribute(L"maxheight", L"40");
    EXPECT_EQ(30, control.GetFixedWidth());
    EXPECT_EQ(0, control.GetFixedHeight());
    EXPECT_EQ(10, control.GetMinWidth());
    EXPECT_EQ(9999, control.GetMaxWidth());
    EXPECT_EQ(12, control.GetMinHeight());
    EXPECT_EQ(40, control.GetMaxHeight());

    control.SetAttribute(L"padding", L"1,2,3,4");
    EXPECT_TRUE(RectEq(control.GetPadding(), 1, 2, 3, 4));

    control.SetAttribute(L"relativepos", L"50,25,0,100");
    TRelativePosUI relative = control.GetRelativePos();
    EXPECT_TRUE(relative.bRelative);
    EXPECT_EQ(50, relative.nMoveXPercent);
    EXPECT_EQ(25, relative.nMoveYPercent);
    EXPECT_EQ(0, relative.nZoomXPercent);
    EXPECT_EQ(100, relative.nZoomYPercent);

    control.SetAttribute(L"virtualwnd", L"page");
    EXPECT_STREQ(L"page", control.GetVirtualWnd());

    // Names are case-sensitive; unknown ones change nothing.
    control.SetAttribute(L"Text", L"changed");
    control.SetAttribute(L"nosuchattribute", L"1");
    EXPECT_STREQ(L"OK", control.GetText());
}

TEST(ControlAttributes, ContainerAndLayoutAttributes)
{
    CVerticalLayoutUI layout;
    layout.SetAttribute(L"inset", L"1,2,3,4");
    layout.SetAttribute(L"childpadding", L"6");
    layout.SetAttribute(L"mousechild", L"false");
    layout.SetAttribute(L"sepheight", L"-4");
    layout.SetAttribute(L"sepimm", L"true");
    layout.SetAttribute(L"text", L"passed on to the base");
    EXPECT_TRUE(RectEq(layout.GetInset(), 1, 2, 3, 4));
    EXPECT_EQ(6, layout.GetChildPadding());
    EXPECT_FALSE(layout.IsMouseChildEnabled());
    EXPECT_EQ(-4, layout.GetSepHeight());
    EXPECT_TRUE(layout.IsSepImmMode());
    EXPECT_STREQ(L"passed on to the base", layout.GetText());

    CHorizontalLayoutUI row;
    row.SetAttribute(L"sepwidth", L"5");
    row.SetAttribute(L"sepheight", L"7");
    EXPECT_EQ(5, row.GetSepWidth());
    EXPECT_FALSE(row.IsSepImmMode());
}

TEST(AttributeList, AppliesEntriesSeparatedByOneSpace)
{
    CControlUI control;
    control.ApplyAttributeList(L"name=\"a\" text=\"hello world\" width=\"30\"");
    EXPECT_STREQ(L"a", control.GetName());
    EXPECT_STREQ(L"hello world", control.GetText());
    EXPECT_EQ(30, control.GetFixedWidth());
}

TEST(AttributeList, TwoSpacesMakeANameThatMatchesNothing)
{
    CControlUI control;
    control.ApplyAttributeList(L"name=\"a\"  text=\"skipped\" userdata=\"kept\"");
    EXPECT_STREQ(L"a", control.GetName());
    EXPECT_STREQ(L"", control.GetText());
    EXPECT_STREQ(L"kept", control.GetUserData());
}

TEST(AttributeList, MalformedEntriesStopTheList)
{
    CControlUI unquoted;
    unquoted.ApplyAttributeList(L"name=\"a\" width=30 height=\"20\"");
    EXPECT_STREQ(L"a", unquoted.GetName());
    EXPECT_EQ(0, unquoted.GetFixedWidth());
    EXPECT_EQ(0, unquoted.GetFixedHeight());

    CControlUI unterminated;
    unterminated.ApplyAttributeList(L"name=\"a\" text=\"never closed");
    EXPECT_STREQ(L"a", unterminated.GetName());
    EXPECT_STREQ(L"", unterminated.GetText());

    CControlUI noEquals;
    noEquals.ApplyAttributeList(L"name");
    EXPECT_STREQ(L"", noEquals.GetName());

    CControlUI comma;
    comma.ApplyAttributeList(L"name=\"a\",text=\"b\"");
    EXPECT_STREQ(L"a", comma.GetName());
    EXPECT_STREQ(L"", comma.GetText());

    CControlUI empty;
    empty.ApplyAttributeList(L"");
    empty.ApplyAttributeList(NULL);
    EXPECT_STREQ(L"", empty.GetName());
}

TEST(ControlIdentity, ClassAndInterfaces)
{
    CControlUI control;
    CContainerUI container;
    CVerticalLayoutUI vertical;
    CHorizontalLayoutUI horizontal;
    EXPECT_STREQ(L"ControlUI", control.GetClass());
    EXPECT_STREQ(L"ContainerUI", container.GetClass());
    EXPECT_STREQ(L"VerticalLayoutUI", vertical.GetClass());
    EXPECT_STREQ(L"HorizontalLayoutUI", horizontal.GetClass());

    EXPECT_EQ(&control, control.GetInterface(L"Control"));
    EXPECT_EQ(nullptr, control.GetInterface(L"control"));
    EXPECT_EQ(static_cast<IContainerUI*>(&container), container.GetInterface(L"IContainer"));
    EXPECT_EQ(&container, container.GetInterface(L"Container"));
    EXPECT_EQ(static_cast<CControlUI*>(&vertical), vertical.GetInterface(L"Control"));
    EXPECT_EQ(&vertical, vertical.GetInterface(L"VerticalLayout"));
    EXPECT_EQ(nullptr, vertical.GetInterface(L"HorizontalLayout"));
    EXPECT_EQ(&horizontal, horizontal.GetInterface(L"HorizontalLayout"));
    EXPECT_EQ(static_cast<IContainerUI*>(&horizontal), horizontal.GetInterface(L"IContainer"));
    EXPECT_EQ(0u, control.GetControlFlags());
}

TEST(ControlColours, AdjustedByTheProcessHueOnlyWhenAsked)
{
    CControlUI control;
    CPaintManagerUI::SetHSL(true, 60, 100, 100);
    EXPECT_EQ(0xFFFF0000u, control.GetAdjustColor(0xFFFF0000u));
    control.SetAttribute(L"colorhsl", L"true");
    DWORD adjusted = control.GetAdjustColor(0xFFFF0000u);
    CPaintManagerUI::SetHSL(true, 180, 100, 100);
    EXPECT_EQ(CRenderEngine::AdjustColor(0xFFFF0000u, 60, 100, 100), adjusted);
    EXPECT_NE(0xFFFF0000u, adjusted);
    // At the neutral setting the colour is unchanged, alpha included.
    EXPECT_EQ(0x80FF0000u, control.GetAdjustColor(0x80FF0000u));
}
