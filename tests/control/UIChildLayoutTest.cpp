// Tests of CChildLayoutUI: the skin file built into it at initialisation, a file that cannot be built,
// and a file that holds a child layout of itself.
#include "veneer/core/UISetup.h"
#include "control/NativeHostFixture.h"
#include "support/TempFolder.h"

using namespace Veneer;
using namespace VeneerTest;

namespace {

class ChildLayoutTest : public NativeHostTest
{
protected:
    void SetUp() override
    {
        NativeHostTest::SetUp();
        ASSERT_TRUE(m_folder.IsValid());
        m_sOldPath = CPaintManagerUI::GetResourcePath();
        CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    }
    void TearDown() override
    {
        NativeHostTest::TearDown();
        CPaintManagerUI::SetResourcePath(m_sOldPath);
    }

    CTempFolder m_folder;
    CUIString m_sOldPath;
};

TEST_F(ChildLayoutTest, TheSkinFileBecomesTheOnlyChildAndIsLaidOut)
{
    ASSERT_TRUE(m_folder.WriteFile(L"child.xml", "<Window><HorizontalLayout name=\"inner\">"
                                                 "<Button name=\"deep\" text=\"x\" /></HorizontalLayout></Window>"));
    CControlUI* root = Build(L"<Window><VerticalLayout><Control height=\"50\" />"
                             L"<ChildLayout name=\"host\" xmlfile=\"child.xml\" /></VerticalLayout></Window>");
    ASSERT_TRUE(root != NULL);
    CChildLayoutUI* host = static_cast<CChildLayoutUI*>(Find(L"host"));
    ASSERT_TRUE(host != NULL);
    EXPECT_STREQ(L"ChildLayoutUI", host->GetClass());
    EXPECT_EQ(host, host->GetInterface(L"ChildLayout"));
    EXPECT_STREQ(L"child.xml", host->GetChildLayoutXML());
    ASSERT_EQ(1, host->GetCount());
    CControlUI* inner = host->GetItemAt(0);
    EXPECT_STREQ(L"inner", inner->GetName());
    EXPECT_EQ(host, inner->GetParent());
    EXPECT_EQ(m_pm, inner->GetManager());
    // The adopted tree is known by name and placed inside the host.
    CControlUI* deep = Find(L"deep");
    ASSERT_TRUE(deep != NULL);
    EXPECT_TRUE(ControlTest::RectEq(inner->GetPos(), 0, 50, kWidth, kHeight));
    EXPECT_EQ(50, deep->GetPos().top);
}

TEST_F(ChildLayoutTest, AFileThatCannotBeBuiltLeavesNoChildren)
{
    ASSERT_TRUE(m_folder.WriteFile(L"broken.xml", "<Window <<>"));
    CControlUI* root = Build(L"<Window><VerticalLayout>"
                             L"<ChildLayout name=\"missing\" xmlfile=\"nowhere.xml\"><Control /></ChildLayout>"
                             L"<ChildLayout name=\"broken\" xmlfile=\"broken.xml\" />"
                             L"<ChildLayout name=\"none\"><Control name=\"kept\" /></ChildLayout>"
                             L"</VerticalLayout></Window>");
    ASSERT_TRUE(root != NULL);
    EXPECT_EQ(0, static_cast<CChildLayoutUI*>(Find(L"missing"))->GetCount());
    EXPECT_EQ(0, static_cast<CChildLayoutUI*>(Find(L"broken"))->GetCount());
    // Without a file the markup's own children stay.
    EXPECT_EQ(1, static_cast<CChildLayoutUI*>(Find(L"none"))->GetCount());
    EXPECT_TRUE(Find(L"kept") != NULL);
}

TEST_F(ChildLayoutTest, AFileHoldingAChildLayoutOfItselfIsBuiltOnce)
{
    ASSERT_TRUE(m_folder.WriteFile(L"self.xml", "<Window><VerticalLayout name=\"level\">"
                                                "<ChildLayout xmlfile=\"self.xml\" /></VerticalLayout></Window>"));
    CControlUI* root = Build(L"<Window><ChildLayout name=\"host\" xmlfile=\"self.xml\" /></Window>");
    ASSERT_TRUE(root != NULL);
    CChildLayoutUI* host = static_cast<CChildLayoutUI*>(root);
    ASSERT_EQ(0, host->GetCount());

    // As the root it has no parent and is not initialised; inside a layout it is.
    root = Build(L"<Window><VerticalLayout><ChildLayout name=\"host\" xmlfile=\"self.xml\" />"
                 L"</VerticalLayout></Window>");
    ASSERT_TRUE(root != NULL);
    host = static_cast<CChildLayoutUI*>(Find(L"host"));
    ASSERT_EQ(1, host->GetCount());
    CContainerUI* level = static_cast<CContainerUI*>(host->GetItemAt(0));
    ASSERT_EQ(1, level->GetCount());
    CChildLayoutUI* nested = static_cast<CChildLayoutUI*>(level->GetItemAt(0)->GetInterface(L"ChildLayout"));
    ASSERT_TRUE(nested != NULL);
    EXPECT_EQ(0, nested->GetCount());
}

} // namespace
