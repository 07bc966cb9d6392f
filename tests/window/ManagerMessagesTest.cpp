// Paint manager message routing: button down/up order and capture, moves to the clicked control, hover order.
#include "veneer/core/UISetup.h"
#include "ManagerFixture.h"

using namespace Veneer;

namespace VeneerTest {

namespace {

// root (vertical) > a (top 100 pixels), b (the rest).
class ManagerMessagesTest : public ManagerTest
{
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
        m_a = new CProbeUI(L"a");
        m_a->SetFixedHeight(100);
        m_b = new CProbeUI(L"b");
        pRoot->Add(m_a);
        pRoot->Add(m_b);
        ASSERT_TRUE(m_pm->AttachDialog(pRoot));
        m_pm->UpdateLayout();
        g_log.clear();
    }

    LRESULT Send(UINT uMsg, WPARAM wParam, int x, int y)
    {
        LRESULT lRes = 0;
        m_pm->MessageHandler(uMsg, wParam, MAKELPARAM(x, y), lRes);
        return lRes;
    }

    static std::wstring Entry(LPCWSTR pstrName, int type)
    {
        return std::wstring(pstrName) + L":event" + std::to_wstring(type);
    }

    CProbeUI* m_a = NULL;
    CProbeUI* m_b = NULL;
};

} // namespace

TEST_F(ManagerMessagesTest, ClickCapturesAndMovesGoToTheClickedControl)
{
    Send(WM_MOUSEMOVE, 0, 10, 10);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    ASSERT_FALSE(m_a->events.empty());
    EXPECT_EQ(EVENT_BUTTONDOWN, m_a->events.back().Type);
    EXPECT_EQ(m_hWnd, ::GetCapture());

    // Dragging over b: b is hovered, but the move itself goes to a.
    g_log.clear();
    Send(WM_MOUSEMOVE, MK_LBUTTON, 10, 200);
    std::vector<std::wstring> expected = {Entry(L"a", EVENT_MOUSELEAVE), Entry(L"b", EVENT_MOUSEENTER),
                                          Entry(L"a", EVENT_MOUSEMOVE)};
    EXPECT_EQ(expected, g_log);

    // The button up goes to the clicked control too, and releases the capture.
    g_log.clear();
    Send(WM_LBUTTONUP, 0, 10, 200);
    ASSERT_EQ(1u, g_log.size());
    EXPECT_EQ(Entry(L"a", EVENT_BUTTONUP), g_log[0]);
    EXPECT_EQ(NULL, ::GetCapture());

    // With no button held, moves go to the hovered control; a second up reaches no one.
    g_log.clear();
    Send(WM_MOUSEMOVE, 0, 10, 210);
    Send(WM_LBUTTONUP, 0, 10, 210);
    ASSERT_EQ(1u, g_log.size());
    EXPECT_EQ(Entry(L"b", EVENT_MOUSEMOVE), g_log[0]);
}

TEST_F(ManagerMessagesTest, HoverEventsShareOneTimestamp)
{
    Send(WM_MOUSEMOVE, 0, 10, 10);
    m_a->events.clear();
    Send(WM_MOUSEMOVE, 0, 10, 150);
    ASSERT_EQ(1u, m_a->events.size());
    EXPECT_EQ(EVENT_MOUSELEAVE, m_a->events[0].Type);
    ASSERT_GE(m_b->events.size(), 2u);
    EXPECT_EQ(EVENT_MOUSEENTER, m_b->events[m_b->events.size() - 2].Type);
    EXPECT_EQ(EVENT_MOUSEMOVE, m_b->events.back().Type);
    EXPECT_EQ(m_a->events[0].dwTimestamp, m_b->events.back().dwTimestamp);
    EXPECT_EQ(150, m_b->events.back().ptMouse.y);
}

TEST_F(ManagerMessagesTest, KeysGoToTheFocusedControl)
{
    Send(WM_KEYDOWN, 'X', 0, 0);
    EXPECT_TRUE(g_log.empty());

    m_b->SetFocus();
    m_a->events.clear();
    m_b->events.clear();
    Send(WM_KEYDOWN, 'X', 0, 0);
    Send(WM_KEYUP, 'X', 0, 0);
    EXPECT_TRUE(m_a->events.empty());
    ASSERT_EQ(2u, m_b->events.size());
    EXPECT_EQ(EVENT_KEYDOWN, m_b->events[0].Type);
    EXPECT_EQ(L'X', m_b->events[0].chKey);
    EXPECT_EQ(EVENT_KEYUP, m_b->events[1].Type);
}

} // namespace VeneerTest
