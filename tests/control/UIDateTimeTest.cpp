// Tests of CDateTimeUI: the date text, the picker opened by Tab or a click, dates taken over when the
// picker loses the focus, Delete and Escape, SetTime, and the painted text.
#include "veneer/core/UISetup.h"
#include "control/NativeHostFixture.h"

#include <string>

using namespace Veneer;
using namespace VeneerTest;

namespace {

const wchar_t kDateForm[] =
    L"<Window><VerticalLayout>"
    L"<DateTime name=\"date\" height=\"30\" />"
    L"<Button name=\"after\" height=\"30\" />"
    L"</VerticalLayout></Window>";

std::wstring DateText(const SYSTEMTIME& st)
{
    wchar_t sz[32];
    swprintf(sz, 32, L"%04d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
    return sz;
}

SYSTEMTIME Date(WORD year, WORD month, WORD day)
{
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = 12;
    return st;
}

class DateTimeWindowTest : public NativeHostTest
{
protected:
    CDateTimeUI* BuildDate()
    {
        if (Build(kDateForm) == NULL) return NULL;
        return static_cast<CDateTimeUI*>(Find(L"date"));
    }
    bool WaitClosed(CDateTimeUI* date)
    {
        return PumpUntil([date]() { return date->GetNativeWindow() == NULL; });
    }
    // The user picks a date in the open picker.
    void Pick(HWND hPicker, const SYSTEMTIME& st)
    {
        ::SendMessageW(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }
    SYSTEMTIME Shown(HWND hPicker)
    {
        SYSTEMTIME st = {};
        ::SendMessageW(hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        return st;
    }
};

TEST_F(DateTimeWindowTest, ANewControlShowsTodayAsYearMonthDay)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    CDateTimeUI date;
    EXPECT_STREQ(DateText(now).c_str(), date.GetText());
    EXPECT_EQ(10, date.GetText().GetLength());
    EXPECT_STREQ(L"DateTimeUI", date.GetClass());
    EXPECT_EQ(&date, date.GetInterface(L"DateTime"));
    EXPECT_EQ(0, date.GetUpdateState());
    EXPECT_FALSE(date.IsReadOnly());
    date.SetReadOnly(true);
    EXPECT_TRUE(date.IsReadOnly());
}

TEST_F(DateTimeWindowTest, TabbingInOpensThePickerOnTheDateAndTabbingOutTakesThePickedDate)
{
    CDateTimeUI* date = BuildDate();
    ASSERT_TRUE(date != NULL);
    SYSTEMTIME st = Date(2019, 7, 3);
    date->SetTime(&st);
    date->SetText(L"2019-07-03");

    PressKey(m_hWnd, VK_TAB);
    HWND hPicker = date->GetNativeWindow();
    ASSERT_TRUE(hPicker != NULL);
    wchar_t szClass[32] = { 0 };
    ::GetClassNameW(hPicker, szClass, 32);
    EXPECT_STREQ(L"DateTimeWnd", szClass);
    EXPECT_EQ(hPicker, ::GetFocus());
    EXPECT_TRUE(::IsWindowVisible(hPicker));
    RECT rcPicker;
    ::GetWindowRect(hPicker, &rcPicker);
    ::MapWindowPoints(NULL, m_hWnd, reinterpret_cast<POINT*>(&rcPicker), 2);
    EXPECT_TRUE(ControlTest::RectEq(rcPicker, 0, 0, kWidth, 30));
    const SYSTEMTIME shown = Shown(hPicker);
    EXPECT_EQ(2019, shown.wYear);
    EXPECT_EQ(7, shown.wMonth);
    EXPECT_EQ(3, shown.wDay);

    Pick(hPicker, Date(2021, 3, 4));
    PressKey(hPicker, VK_TAB);
    EXPECT_TRUE(WaitClosed(date));
    EXPECT_FALSE(::IsWindow(hPicker));
    EXPECT_STREQ(L"2021-03-04", date->GetText());
    EXPECT_EQ(2021, date->GetTime().wYear);
    EXPECT_EQ(CDateTimeUI::UPDATE_DATE, date->GetUpdateState());
    EXPECT_EQ(Find(L"after"), m_pm->GetFocus());
}

TEST_F(DateTimeWindowTest, DeleteClearsTheTextAndTheNextOpeningStartsFromToday)
{
    CDateTimeUI* date = BuildDate();
    ASSERT_TRUE(date != NULL);
    SYSTEMTIME st = Date(2001, 1, 2);
    date->SetTime(&st);
    const RECT rc = date->GetPos();
    Click(20, (rc.top + rc.bottom) / 2);
    HWND hPicker = date->GetNativeWindow();
    ASSERT_TRUE(hPicker != NULL);
    EXPECT_EQ(2001, Shown(hPicker).wYear);

    PressKey(hPicker, VK_DELETE);
    EXPECT_TRUE(WaitClosed(date));
    EXPECT_STREQ(L"", date->GetText());
    EXPECT_EQ(CDateTimeUI::UPDATE_CLEARED, date->GetUpdateState());

    SYSTEMTIME now;
    ::GetLocalTime(&now);
    m_pm->SetFocus(NULL);
    Click(20, (rc.top + rc.bottom) / 2);
    hPicker = date->GetNativeWindow();
    ASSERT_TRUE(hPicker != NULL);
    EXPECT_EQ(now.wYear, Shown(hPicker).wYear);
    EXPECT_EQ(now.wDay, Shown(hPicker).wDay);
    EXPECT_EQ(now.wYear, date->GetTime().wYear);
}

TEST_F(DateTimeWindowTest, EscapeClosesThePickerAndKeepsDateAndText)
{
    CDateTimeUI* date = BuildDate();
    ASSERT_TRUE(date != NULL);
    const CUIString before = date->GetText();
    const SYSTEMTIME timeBefore = date->GetTime();
    PressKey(m_hWnd, VK_TAB);
    HWND hPicker = date->GetNativeWindow();
    ASSERT_TRUE(hPicker != NULL);
    Pick(hPicker, Date(1999, 12, 31));
    PressKey(hPicker, VK_ESCAPE);
    EXPECT_TRUE(WaitClosed(date));
    EXPECT_EQ(CDateTimeUI::UPDATE_CANCELLED, date->GetUpdateState());
    EXPECT_STREQ(before, date->GetText());
    EXPECT_EQ(timeBefore.wYear, date->GetTime().wYear);
    EXPECT_EQ(timeBefore.wDay, date->GetTime().wDay);
}

TEST_F(DateTimeWindowTest, SetTimeChangesTheDateButNotTheTextUntilThePickerCloses)
{
    CDateTimeUI* date = BuildDate();
    ASSERT_TRUE(date != NULL);
    const CUIString before = date->GetText();
    SYSTEMTIME st = Date(2030, 5, 6);
    date->SetTime(&st);
    EXPECT_EQ(2030, date->GetTime().wYear);
    EXPECT_STREQ(before, date->GetText());

    PressKey(m_hWnd, VK_TAB);
    HWND hPicker = date->GetNativeWindow();
    ASSERT_TRUE(hPicker != NULL);
    EXPECT_EQ(2030, Shown(hPicker).wYear);
    // Leaving the window altogether also takes the date over.
    ::SetFocus(m_hWnd);
    EXPECT_TRUE(WaitClosed(date));
    EXPECT_STREQ(L"2030-05-06", date->GetText());
}

TEST_F(DateTimeWindowTest, TheControlPaintsItsDateTextAndRemovingItClosesThePicker)
{
    CDateTimeUI* date = BuildDate();
    ASSERT_TRUE(date != NULL);
    date->SetText(L"2024-02-29");
    CDibCanvas painted(kWidth, kHeight);
    PaintRoot(painted);

    CLabelUI label;
    label.SetText(L"2024-02-29");
    label.SetManager(m_pm, NULL, false);
    label.SetPos(date->GetPos());
    CDibCanvas expected(kWidth, kHeight);
    const RECT rc = { 0, 0, kWidth, kHeight };
    label.DoPaint(expected.GetDC(), rc);
    const RECT ink = InkBox(expected, 0xFFFFFFFF);
    ASSERT_FALSE(::IsRectEmpty(&ink));
    int differ = 0;
    for (int y = ink.top; y < ink.bottom; ++y)
        for (int x = ink.left; x < ink.right; ++x)
            if ((painted.Get(x, y) & 0xFFFFFF) != (expected.Get(x, y) & 0xFFFFFF)) ++differ;
    EXPECT_EQ(0, differ);

    PressKey(m_hWnd, VK_TAB);
    HWND hPicker = date->GetNativeWindow();
    ASSERT_TRUE(hPicker != NULL);
    CContainerUI* layout = static_cast<CContainerUI*>(m_pm->GetRoot());
    layout->SetDelayedDestroy(false);
    ASSERT_TRUE(layout->Remove(date));
    EXPECT_FALSE(::IsWindow(hPicker));
    Pump();
}

} // namespace
