// Tests of CEditUI: the native edit window opened over it, text and notifications coming back, the
// password, read-only, number and length rules, closing, and what the control paints itself.
#include "veneer/core/UISetup.h"
#include "control/NativeHostFixture.h"

#include <string>

using namespace Veneer;
using namespace VeneerTest;

namespace {

const wchar_t kTwoEdits[] =
    L"<Window><VerticalLayout>"
    L"<Edit name=\"edit\" text=\"hello\" height=\"30\" />"
    L"<Button name=\"other\" height=\"30\" />"
    L"<Edit name=\"second\" height=\"30\" />"
    L"</VerticalLayout></Window>";

std::wstring WindowText(HWND hWnd)
{
    wchar_t sz[256] = { 0 };
    ::GetWindowTextW(hWnd, sz, 256);
    return sz;
}

class EditWindowTest : public NativeHostTest
{
protected:
    CEditUI* BuildEdit(LPCWSTR pstrXml = kTwoEdits)
    {
        if (Build(pstrXml) == NULL) return NULL;
        return static_cast<CEditUI*>(Find(L"edit"));
    }
    // Opens the edit's native window with a click in it; null when none opened.
    HWND Open(CEditUI* edit)
    {
        const RECT rc = edit->GetPos();
        Click((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        return edit->GetNativeWindow();
    }
    bool WaitClosed(CEditUI* edit)
    {
        return PumpUntil([edit]() { return edit->GetNativeWindow() == NULL; });
    }
};

TEST_F(EditWindowTest, AClickOpensTheNativeWindowOverTheTextAreaWithTheTextSelected)
{
    CEditUI* edit = BuildEdit();
    ASSERT_TRUE(edit != NULL);
    EXPECT_TRUE(edit->GetNativeWindow() == NULL);
    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);

    wchar_t szClass[32] = { 0 };
    ::GetClassNameW(hEdit, szClass, 32);
    EXPECT_STREQ(L"EditWnd", szClass);
    EXPECT_EQ(m_hWnd, ::GetParent(hEdit));
    EXPECT_TRUE(::IsWindowVisible(hEdit));
    EXPECT_EQ(hEdit, ::GetFocus());
    EXPECT_EQ(L"hello", WindowText(hEdit));
    EXPECT_EQ(m_pm->GetFocus(), edit);

    // The text area (padding 4,3,4,3), one font line high and centred in it.
    const int fontHeight = m_pm->GetDefaultFontInfo()->tm.tmHeight;
    ASSERT_LT(fontHeight, 24);
    RECT rcWnd;
    ::GetWindowRect(hEdit, &rcWnd);
    ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<POINT*>(&rcWnd), 2);
    const int top = 3 + (24 - fontHeight) / 2;
    EXPECT_TRUE(ControlTest::RectEq(rcWnd, 4, top, kWidth - 4, top + fontHeight));

    DWORD dwStart = 0;
    DWORD dwEnd = 0;
    ::SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(5u, dwEnd);
}

TEST_F(EditWindowTest, TypedTextComesBackWithTextChangedAndEnterSendsReturn)
{
    CEditUI* edit = BuildEdit();
    ASSERT_TRUE(edit != NULL);
    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);
    ::SendMessageW(hEdit, EM_SETSEL, 0, -1);
    ::SendMessageW(hEdit, WM_CLEAR, 0, 0);
    m_notes.types.clear();

    Type(hEdit, L"ab");
    EXPECT_EQ(2, m_notes.Count(L"textchanged"));
    EXPECT_STREQ(L"ab", edit->GetText());
    EXPECT_EQ(edit, m_notes.senders.back());

    EXPECT_EQ(0, m_notes.Count(L"return"));
    PressKey(hEdit, VK_RETURN);
    EXPECT_EQ(1, m_notes.Count(L"return"));
    EXPECT_STREQ(L"ab", edit->GetText());
    EXPECT_TRUE(::IsWindow(hEdit));
}

TEST_F(EditWindowTest, ClickingElsewhereClosesTheWindowAndTheControlPaintsTheTextAgain)
{
    CEditUI* edit = BuildEdit();
    ASSERT_TRUE(edit != NULL);
    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);
    Type(hEdit, L"WWW");

    Click(200, 45);
    EXPECT_TRUE(WaitClosed(edit));
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_STREQ(L"WWW", edit->GetText());

    CDibCanvas canvas(kWidth, kHeight, 0xFFFFFFFF);
    PaintRoot(canvas);
    const RECT ink = InkBox(canvas, 0xFFFFFFFF);
    EXPECT_GE(ink.left, 4);
    EXPECT_LT(ink.left, 10);
    EXPECT_GE(ink.top, 3);
    EXPECT_LE(ink.bottom, 27);
    // Three wide letters, not the five of the old text's width or nothing.
    EXPECT_GT(ink.right - ink.left, 15);
}

TEST_F(EditWindowTest, AClickOnTheEditsMarginWhileEditingKeepsTheWindowOpen)
{
    CEditUI* edit = BuildEdit();
    ASSERT_TRUE(edit != NULL);
    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);
    // Inside the control's padding, outside the native window: the host window gets the click.
    Click(1, 1);
    Pump();
    EXPECT_TRUE(::IsWindow(hEdit));
    EXPECT_EQ(hEdit, edit->GetNativeWindow());
    EXPECT_EQ(hEdit, ::GetFocus());
}

TEST_F(EditWindowTest, TabbingInOpensTheWindowAndTabbingOnMovesToTheNextEdit)
{
    CEditUI* edit = BuildEdit();
    ASSERT_TRUE(edit != NULL);
    CEditUI* second = static_cast<CEditUI*>(Find(L"second"));
    ASSERT_TRUE(second != NULL);

    PressKey(m_hWnd, VK_TAB);
    HWND hEdit = edit->GetNativeWindow();
    ASSERT_TRUE(hEdit != NULL);
    EXPECT_EQ(hEdit, ::GetFocus());
    EXPECT_EQ(L"hello", WindowText(hEdit));

    // Tab pressed in the native window passes over the button to the second edit.
    PressKey(hEdit, VK_TAB);
    PressKey(::GetFocus(), VK_TAB);
    EXPECT_TRUE(WaitClosed(edit));
    EXPECT_TRUE(second->GetNativeWindow() != NULL);
    EXPECT_EQ(second->GetNativeWindow(), ::GetFocus());
}

TEST_F(EditWindowTest, AFocusedEditWhoseWindowClosedReopensOnAClickWithEverythingSelected)
{
    CEditUI* edit = BuildEdit();
    ASSERT_TRUE(edit != NULL);
    ASSERT_TRUE(Open(edit) != NULL);
    // The window loses the keyboard focus (as when the application is left): the control stays focused.
    ::SetFocus(m_hWnd);
    ASSERT_TRUE(WaitClosed(edit));
    EXPECT_EQ(edit, m_pm->GetFocus());
    EXPECT_TRUE(edit->IsFocused());

    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);
    DWORD dwStart = 1;
    DWORD dwEnd = 0;
    ::SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(5u, dwEnd);
}

TEST_F(EditWindowTest, PasswordModeMasksTheNativeWindowAndFollowsThePasswordChar)
{
    CEditUI* edit = BuildEdit(L"<Window><VerticalLayout><Edit name=\"edit\" password=\"true\" text=\"abc\" "
                              L"height=\"30\" /></VerticalLayout></Window>");
    ASSERT_TRUE(edit != NULL);
    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);
    EXPECT_NE(0, ::GetWindowLongW(hEdit, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(L'*', static_cast<wchar_t>(::SendMessageW(hEdit, EM_GETPASSWORDCHAR, 0, 0)));
    EXPECT_EQ(L"abc", WindowText(hEdit));
    edit->SetPasswordChar(L'#');
    EXPECT_EQ(L'#', static_cast<wchar_t>(::SendMessageW(hEdit, EM_GETPASSWORDCHAR, 0, 0)));
}

TEST_F(EditWindowTest, ReadOnlyNumberOnlyAndMaxCharRulesReachTheNativeWindow)
{
    CEditUI* edit = BuildEdit(L"<Window><VerticalLayout>"
                              L"<Edit name=\"edit\" readonly=\"true\" text=\"fixed\" height=\"30\" />"
                              L"<Edit name=\"number\" numberonly=\"true\" height=\"30\" />"
                              L"<Edit name=\"short\" maxchar=\"3\" height=\"30\" />"
                              L"</VerticalLayout></Window>");
    ASSERT_TRUE(edit != NULL);
    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);
    EXPECT_NE(0, ::GetWindowLongW(hEdit, GWL_STYLE) & ES_READONLY);
    ::SendMessageW(hEdit, EM_SETSEL, 5, 5);
    Type(hEdit, L"xy");
    EXPECT_STREQ(L"fixed", edit->GetText());
    EXPECT_EQ(0, m_notes.Count(L"textchanged"));

    CEditUI* number = static_cast<CEditUI*>(Find(L"number"));
    HWND hNumber = Open(number);
    ASSERT_TRUE(hNumber != NULL);
    EXPECT_NE(0, ::GetWindowLongW(hNumber, GWL_STYLE) & ES_NUMBER);
    Type(hNumber, L"1a2");
    EXPECT_STREQ(L"12", number->GetText());

    CEditUI* shortEdit = static_cast<CEditUI*>(Find(L"short"));
    HWND hShort = Open(shortEdit);
    ASSERT_TRUE(hShort != NULL);
    EXPECT_EQ(3, ::SendMessageW(hShort, EM_GETLIMITTEXT, 0, 0));
    Type(hShort, L"abcdef");
    EXPECT_STREQ(L"abc", shortEdit->GetText());
    // A new limit reaches the open window at once.
    shortEdit->SetMaxChar(5);
    Type(hShort, L"defgh");
    EXPECT_STREQ(L"abcde", shortEdit->GetText());
}

TEST_F(EditWindowTest, NativeBackgroundColourIsTheBrushOfTheReflectedColourMessages)
{
    CEditUI* edit = BuildEdit(L"<Window><VerticalLayout>"
                              L"<Edit name=\"edit\" nativebkcolor=\"#FFFF0000\" textcolor=\"#FF0000FF\" "
                              L"height=\"30\" />"
                              L"<Edit name=\"plain\" height=\"30\" />"
                              L"</VerticalLayout></Window>");
    ASSERT_TRUE(edit != NULL);
    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);
    HDC hDC = ::GetDC(hEdit);
    HBRUSH hBrush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hEdit)));
    ASSERT_TRUE(hBrush != NULL);
    LOGBRUSH lb = {};
    ASSERT_EQ(static_cast<int>(sizeof(lb)), ::GetObjectW(hBrush, sizeof(lb), &lb));
    EXPECT_EQ(RGB(255, 0, 0), lb.lbColor);
    EXPECT_EQ(RGB(0, 0, 255), ::GetTextColor(hDC));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(hDC));
    // The brush is made once.
    EXPECT_EQ(hBrush, reinterpret_cast<HBRUSH>(::SendMessageW(m_hWnd, WM_CTLCOLORSTATIC,
                                                              reinterpret_cast<WPARAM>(hDC),
                                                              reinterpret_cast<LPARAM>(hEdit))));
    ::ReleaseDC(hEdit, hDC);

    CEditUI* plain = static_cast<CEditUI*>(Find(L"plain"));
    HWND hPlain = Open(plain);
    ASSERT_TRUE(hPlain != NULL);
    hDC = ::GetDC(hPlain);
    EXPECT_EQ(0, ::SendMessageW(hPlain, WM_USER + 0x1C00 + WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hDC),
                                reinterpret_cast<LPARAM>(hPlain)));
    ::ReleaseDC(hPlain, hDC);
}

TEST_F(EditWindowTest, SettersReachTheOpenWindowAndLayoutMovesIt)
{
    CEditUI* edit = BuildEdit();
    ASSERT_TRUE(edit != NULL);
    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);
    m_notes.types.clear();

    edit->SetText(L"set");
    EXPECT_EQ(L"set", WindowText(hEdit));
    edit->SetReadOnly(true);
    EXPECT_NE(0, ::GetWindowLongW(hEdit, GWL_STYLE) & ES_READONLY);
    edit->SetReadOnly(false);
    EXPECT_EQ(0, ::GetWindowLongW(hEdit, GWL_STYLE) & ES_READONLY);
    edit->SetSel(1, 2);
    DWORD dwStart = 0;
    DWORD dwEnd = 0;
    ::SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(1u, dwStart);
    EXPECT_EQ(2u, dwEnd);
    edit->SetReplaceSel(L"UN");
    EXPECT_EQ(L"sUNt", WindowText(hEdit));
    EXPECT_STREQ(L"sUNt", edit->GetText());
    edit->SetSelAll();
    ::SendMessageW(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(4u, dwEnd);

    const RECT rcMoved = { 10, 100, 210, 140 };
    edit->SetPos(rcMoved);
    RECT rcWnd;
    ::GetWindowRect(hEdit, &rcWnd);
    ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<POINT*>(&rcWnd), 2);
    EXPECT_EQ(14, rcWnd.left);
    EXPECT_EQ(206, rcWnd.right);
    EXPECT_GT(rcWnd.top, 103);
    EXPECT_LT(rcWnd.bottom, 137);
}

TEST_F(EditWindowTest, HidingOrDestroyingTheEditClosesItsWindow)
{
    CEditUI* edit = BuildEdit();
    ASSERT_TRUE(edit != NULL);
    HWND hEdit = Open(edit);
    ASSERT_TRUE(hEdit != NULL);
    edit->SetVisible(false);
    EXPECT_TRUE(WaitClosed(edit));
    EXPECT_TRUE(m_pm->GetFocus() == NULL);

    // A control removed while editing takes its window with it; typing can no longer reach it.
    CEditUI* second = static_cast<CEditUI*>(Find(L"second"));
    HWND hSecond = Open(second);
    ASSERT_TRUE(hSecond != NULL);
    CContainerUI* layout = static_cast<CContainerUI*>(m_pm->GetRoot());
    layout->SetDelayedDestroy(false);
    ASSERT_TRUE(layout->Remove(second));
    EXPECT_FALSE(::IsWindow(hSecond));
    Pump();
}

// Painting and state without a native window.
class EditPaintTest : public PaintFixture
{
};

TEST_F(EditPaintTest, IdentityDefaultsFlagsAndSize)
{
    CEditUI edit;
    EXPECT_STREQ(L"EditUI", edit.GetClass());
    EXPECT_EQ(&edit, edit.GetInterface(L"Edit"));
    EXPECT_EQ(&edit, edit.GetInterface(L"Label"));
    EXPECT_EQ(255u, edit.GetMaxChar());
    EXPECT_EQ(L'*', edit.GetPasswordChar());
    EXPECT_EQ(0xFFFFFFFFu, edit.GetNativeEditBkColor());
    EXPECT_EQ(0xFFFFFFFFu, edit.GetBkColor());
    EXPECT_TRUE(ControlTest::RectEq(edit.GetTextPadding(), 4, 3, 4, 3));
    EXPECT_EQ(static_cast<UINT>(UIFLAG_TABSTOP | UIFLAG_SETCURSOR), edit.GetControlFlags());
    edit.SetEnabled(false);
    EXPECT_EQ(0u, edit.GetControlFlags());

    edit.SetAttribute(L"numberonly", L"true");
    EXPECT_TRUE(edit.IsNumberOnly());
    edit.SetAttribute(L"numberonly", L"false");
    EXPECT_EQ(0, edit.GetWindowStyls());
    edit.SetAttribute(L"maxchar", L"12");
    EXPECT_EQ(12u, edit.GetMaxChar());
    edit.SetAttribute(L"nativebkcolor", L"#FF00FF00");
    EXPECT_EQ(0xFF00FF00u, edit.GetNativeEditBkColor());
    // Selection calls without a native window do nothing (and do not crash).
    edit.SetSel(0, 3);
    edit.SetReplaceSel(L"x");
    EXPECT_STREQ(L"", edit.GetText());

    Place(edit, 0, 0, 100, 30);
    edit.SetFixedWidth(80);
    EXPECT_EQ(80, edit.EstimateSize(ControlTest::Sz(500, 500)).cx);
    EXPECT_EQ(m_pm->GetDefaultFontInfo()->tm.tmHeight + 6, edit.EstimateSize(ControlTest::Sz(500, 500)).cy);
    edit.SetFixedHeight(44);
    EXPECT_EQ(44, edit.EstimateSize(ControlTest::Sz(500, 500)).cy);
}

TEST_F(EditPaintTest, PasswordTextPaintsOneMaskCharacterPerCharacter)
{
    CEditUI masked;
    masked.SetAttribute(L"password", L"true");
    masked.SetText(L"abc");
    masked.SetAttribute(L"textcolor", L"#FF000000");
    Place(masked, 0, 0, kWidth, kHeight);
    CEditUI stars;
    stars.SetText(L"***");
    stars.SetAttribute(L"textcolor", L"#FF000000");
    Place(stars, 0, 0, kWidth, kHeight);
    CEditUI plain;
    plain.SetText(L"abc");
    plain.SetAttribute(L"textcolor", L"#FF000000");
    Place(plain, 0, 0, kWidth, kHeight);

    CDibCanvas a(kWidth, kHeight);
    CDibCanvas b(kWidth, kHeight);
    CDibCanvas c(kWidth, kHeight);
    Paint(masked, a);
    Paint(stars, b);
    Paint(plain, c);
    const RECT inkMasked = InkBox(a, 0xFFFFFFFF);
    ASSERT_FALSE(::IsRectEmpty(&inkMasked));
    EXPECT_EQ(0, CountDifferent(a, b));
    EXPECT_NE(0, CountDifferent(a, c));
}

TEST_F(EditPaintTest, StateImagesFollowFocusHotAndDisabled)
{
    AddSolidImage(L"normal", 4, 4, 0xFF0000);
    AddSolidImage(L"hot", 4, 4, 0x00FF00);
    AddSolidImage(L"focused", 4, 4, 0x0000FF);
    AddSolidImage(L"disabled", 4, 4, 0x808080);
    CEditUI edit;
    edit.SetAttribute(L"normalimage", L"normal");
    edit.SetAttribute(L"hotimage", L"hot");
    edit.SetAttribute(L"focusedimage", L"focused");
    edit.SetAttribute(L"disabledimage", L"disabled");
    Place(edit, 0, 0, kWidth, kHeight);
    auto centre = [&]() {
        CDibCanvas canvas(kWidth, kHeight);
        Paint(edit, canvas);
        return canvas.Get(kWidth / 2, kHeight / 2) & 0xFFFFFF;
    };
    EXPECT_EQ(0xFF0000u, centre());
    Send(edit, EVENT_MOUSEENTER, 5, 5);
    EXPECT_EQ(0x00FF00u, centre());
    Send(edit, EVENT_SETFOCUS);
    EXPECT_TRUE(edit.IsFocused());
    EXPECT_EQ(0x0000FFu, centre());
    Send(edit, EVENT_KILLFOCUS);
    Send(edit, EVENT_MOUSELEAVE, 500, 500);
    EXPECT_EQ(0xFF0000u, centre());
    edit.SetEnabled(false);
    EXPECT_EQ(0u, edit.GetEditState() & STATE_HOT);
    EXPECT_EQ(0x808080u, centre());
    // Without a disabled image the normal image shows.
    edit.SetDisabledImage(L"");
    EXPECT_EQ(0xFF0000u, centre());
}

TEST(EditBuilder, TheEditTagMakesAnEdit)
{
    CDialogBuilder builder;
    CControlUI* root = builder.Create(L"<Window><Edit password=\"true\" maxchar=\"7\" /></Window>");
    ASSERT_TRUE(root != NULL);
    CEditUI* edit = static_cast<CEditUI*>(root->GetInterface(L"Edit"));
    ASSERT_TRUE(edit != NULL);
    EXPECT_TRUE(edit->IsPasswordMode());
    EXPECT_EQ(7u, edit->GetMaxChar());
    delete root;
}

} // namespace
