// Dialog builder: trees from skin XML text, their layout, shared resources, window settings and failures.
#include "veneer/core/UISetup.h"
#include "BuilderTestUtil.h"

#include <algorithm>

using namespace Veneer;

namespace BuilderTest {

namespace {

std::wstring PosOf(CControlUI* pControl)
{
    return pControl != NULL ? RectText(pControl->GetPos()) : L"<none>";
}

std::wstring ChildPos(CControlUI* pRoot, int iIndex)
{
    return PosOf(ChildAt(pRoot, iIndex));
}

} // namespace

// ---- layout of built trees -------------------------------------------------------------------

TEST_F(BuilderTest, VerticalLayoutFixedMinMaxAndAdjustableChildren)
{
    CControlUI* pRoot = Build(L"<Window size=\"300,300\"><VerticalLayout>"
                              L"<Control name=\"a\" height=\"50\"/>"
                              L"<Control name=\"b\" height=\"70\" width=\"120\"/>"
                              L"<Control name=\"c\"/>"
                              L"</VerticalLayout></Window>");
    AttachAndLayOut(pRoot, CUIRect(0, 0, 300, 300));
    ASSERT_EQ(3, ChildCount(pRoot));
    EXPECT_EQ(L"0,0,300,50", ChildPos(pRoot, 0));
    EXPECT_EQ(L"0,50,120,120", ChildPos(pRoot, 1));
    EXPECT_EQ(L"0,120,300,300", ChildPos(pRoot, 2));
    EXPECT_EQ(m_pm->FindControl(L"c"), ChildAt(pRoot, 2));

    // Minimum and maximum sizes: a fixed size beyond the maximum is cut, an adjustable child with a
    // maximum gives the rest to the last adjustable one, whose minimum exceeds the space left.
    pRoot = Build(L"<Window><VerticalLayout>"
                  L"<Control height=\"100\" maxheight=\"60\" minwidth=\"400\"/>"
                  L"<Control maxheight=\"40\" maxwidth=\"100\"/>"
                  L"<Control minheight=\"250\"/>"
                  L"</VerticalLayout></Window>");
    AttachAndLayOut(pRoot, CUIRect(0, 0, 300, 300));
    EXPECT_EQ(L"0,0,400,60", ChildPos(pRoot, 0));
    EXPECT_EQ(L"0,60,100,100", ChildPos(pRoot, 1));
    EXPECT_EQ(L"0,100,300,350", ChildPos(pRoot, 2));
}

TEST_F(BuilderTest, VerticalLayoutSharesRemainderWithTheLastAdjustableChild)
{
    CControlUI* pRoot = Build(L"<Window><VerticalLayout><Control/><Control/></VerticalLayout></Window>");
    AttachAndLayOut(pRoot, CUIRect(0, 0, 80, 101));
    EXPECT_EQ(L"0,0,80,50", ChildPos(pRoot, 0));
    EXPECT_EQ(L"0,50,80,101", ChildPos(pRoot, 1));

    pRoot = Build(L"<Window><VerticalLayout><Control/><Control/><Control/></VerticalLayout></Window>");
    AttachAndLayOut(pRoot, CUIRect(0, 0, 80, 100));
    EXPECT_EQ(L"0,0,80,33", ChildPos(pRoot, 0));
    EXPECT_EQ(L"0,33,80,66", ChildPos(pRoot, 1));
    EXPECT_EQ(L"0,66,80,100", ChildPos(pRoot, 2));
}

TEST_F(BuilderTest, VerticalLayoutPaddingInsetAndChildPadding)
{
    // Inset leaves 10,20,290,280. The first child's rectangle takes in its bottom padding; the
    // adjustable child takes all that the others' heights, paddings and gaps leave.
    CControlUI* pRoot = Build(L"<Window><VerticalLayout inset=\"10,20,10,20\" childpadding=\"4\">"
                              L"<Control height=\"20\" padding=\"0,5,0,5\"/>"
                              L"<Control/>"
                              L"<Control height=\"30\" padding=\"3,0,7,0\"/>"
                              L"</VerticalLayout></Window>");
    AttachAndLayOut(pRoot, CUIRect(0, 0, 300, 300));
    EXPECT_EQ(L"10,25,290,50", ChildPos(pRoot, 0));
    EXPECT_EQ(L"10,54,290,246", ChildPos(pRoot, 1));
    EXPECT_EQ(L"13,250,283,280", ChildPos(pRoot, 2));
}

TEST_F(BuilderTest, HorizontalLayoutWidthsPaddingAndCrossSize)
{
    CControlUI* pRoot = Build(L"<Window><HorizontalLayout>"
                              L"<Control width=\"100\"/>"
                              L"<Control/>"
                              L"<Control width=\"50\" padding=\"5,10,5,10\"/>"
                              L"</HorizontalLayout></Window>");
    AttachAndLayOut(pRoot, CUIRect(0, 0, 400, 100));
    EXPECT_EQ(L"0,0,100,100", ChildPos(pRoot, 0));
    EXPECT_EQ(L"100,0,340,100", ChildPos(pRoot, 1));
    EXPECT_EQ(L"345,10,400,90", ChildPos(pRoot, 2));

    // Three adjustable children in 100 pixels, one of them capped, one with a fixed height.
    pRoot = Build(L"<Window><HorizontalLayout inset=\"2,2,2,2\">"
                  L"<Control maxwidth=\"20\"/><Control height=\"30\"/><Control minwidth=\"10\"/>"
                  L"</HorizontalLayout></Window>");
    AttachAndLayOut(pRoot, CUIRect(0, 0, 104, 50));
    EXPECT_EQ(L"2,2,22,48", ChildPos(pRoot, 0));
    EXPECT_EQ(L"22,2,55,32", ChildPos(pRoot, 1));
    EXPECT_EQ(L"55,2,102,48", ChildPos(pRoot, 2));
}

TEST_F(BuilderTest, NestedLayoutsAndFloatChildren)
{
    CControlUI* pRoot = Build(L"<Window><VerticalLayout>"
                              L"<HorizontalLayout height=\"100\"><Control/><Control width=\"60\"/></HorizontalLayout>"
                              L"<Container inset=\"5,5,5,5\">"
                              L"<Control/>"
                              L"<Control float=\"true\" pos=\"-110,-60,-10,-10\"/>"
                              L"<Control float=\"true\" pos=\"10,20,110,70\"/>"
                              L"</Container>"
                              L"</VerticalLayout></Window>");
    AttachAndLayOut(pRoot, CUIRect(0, 0, 300, 300));
    CControlUI* pRow = ChildAt(pRoot, 0);
    EXPECT_EQ(L"0,0,300,100", PosOf(pRow));
    EXPECT_EQ(L"0,0,240,100", ChildPos(pRow, 0));
    EXPECT_EQ(L"240,0,300,100", ChildPos(pRow, 1));

    // The container spans 0,100..300,300; floats measure from its edges, the others fill the inset.
    CControlUI* pBox = ChildAt(pRoot, 1);
    EXPECT_EQ(L"0,100,300,300", PosOf(pBox));
    EXPECT_EQ(L"5,105,295,295", ChildPos(pBox, 0));
    EXPECT_EQ(L"190,240,290,290", ChildPos(pBox, 1));
    EXPECT_EQ(L"10,120,110,170", ChildPos(pBox, 2));
}

// ---- attributes, defaults, order of building -------------------------------------------------

TEST_F(BuilderTest, DefaultListsStartControlsAndExplicitAttributesWin)
{
    CControlUI* pRoot = Build(L"<Window>"
                              L"<Default name=\"Control\" value=\"height=&quot;30&quot; width=&quot;40&quot;\"/>"
                              L"<Default name=\"ControlUI\" value=\"height=&quot;99&quot;\"/>"
                              L"<VerticalLayout>"
                              L"<Control/>"
                              L"<Control height=\"10\"/>"
                              L"<Container/>"
                              L"</VerticalLayout></Window>");
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_STREQ(L"height=\"30\" width=\"40\"", m_pm->GetDefaultAttributeList(L"Control"));
    EXPECT_EQ(30, ChildAt(pRoot, 0)->GetFixedHeight());
    EXPECT_EQ(40, ChildAt(pRoot, 0)->GetFixedWidth());
    EXPECT_EQ(10, ChildAt(pRoot, 1)->GetFixedHeight());
    EXPECT_EQ(40, ChildAt(pRoot, 1)->GetFixedWidth());
    // Lists go by tag: a container is no "Control", and a class name is no tag.
    EXPECT_EQ(0, ChildAt(pRoot, 2)->GetFixedHeight());
    delete pRoot;
}

TEST_F(BuilderTest, ChildrenFirstThenDefaultsThenAttributesWhileAttached)
{
    CProbeCallback callback;
    CControlUI* pRoot = Build(L"<Window><Default name=\"Probe\" value=\"name=&quot;fromdefault&quot;\"/>"
                              L"<ProbeLayout childpadding=\"3\">"
                              L"<Probe name=\"p\" text=\"t\"/>"
                              L"<Probe/>"
                              L"</ProbeLayout></Window>",
                              &callback);
    ASSERT_TRUE(pRoot != NULL);
    std::vector<std::wstring> expected = {
        L"callback:ProbeLayout",
        L"callback:Probe",
        L"attr:name=fromdefault manager=1 parent=0",
        L"attr:name=p manager=1 parent=0",
        L"attr:text=t manager=1 parent=0",
        L"callback:Probe",
        L"attr:name=fromdefault manager=1 parent=0",
        L"layout:childpadding children=2",
    };
    EXPECT_EQ(expected, g_log);

    // Detached afterwards: no manager anywhere, the children point at their container.
    EXPECT_EQ(nullptr, pRoot->GetManager());
    EXPECT_EQ(nullptr, pRoot->GetParent());
    ASSERT_EQ(2, ChildCount(pRoot));
    EXPECT_EQ(nullptr, ChildAt(pRoot, 0)->GetManager());
    EXPECT_EQ(pRoot, ChildAt(pRoot, 0)->GetParent());
    EXPECT_EQ(L"p", std::wstring(ChildAt(pRoot, 0)->GetName().GetData()));
    EXPECT_EQ(L"fromdefault", std::wstring(ChildAt(pRoot, 1)->GetName().GetData()));
    delete pRoot;
    EXPECT_EQ(0, CProbeUI::s_nLive);
}

TEST_F(BuilderTest, UnknownTagsGoToPluginsThenTheCallback)
{
    CPluginScope plugin;
    CProbeCallback callback;
    CControlUI* pRoot = Build(L"<Window><VerticalLayout>"
                              L"<control/><PluginProbe/><Probe/><TreeNode><Control/></TreeNode>"
                              L"<Nothing><Probe/></Nothing><Control/>"
                              L"</VerticalLayout></Window>",
                              &callback);
    ASSERT_TRUE(pRoot != NULL);
    std::vector<std::wstring> expected = {
        L"plugin:control", L"callback:control",
        L"plugin:PluginProbe",
        L"plugin:Probe", L"callback:Probe",
        L"plugin:TreeNode", L"callback:TreeNode",
        L"plugin:Nothing", L"callback:Nothing",
    };
    EXPECT_EQ(expected, g_log);
    // Skipped elements take their subtrees with them.
    ASSERT_EQ(3, ChildCount(pRoot));
    EXPECT_STREQ(L"ProbeUI", ChildAt(pRoot, 0)->GetClass());
    EXPECT_STREQ(L"ProbeUI", ChildAt(pRoot, 1)->GetClass());
    EXPECT_STREQ(L"ControlUI", ChildAt(pRoot, 2)->GetClass());
    delete pRoot;

    // Without a callback the plug-in alone is asked.
    g_log.clear();
    pRoot = Build(L"<Window><VerticalLayout><Probe/></VerticalLayout></Window>");
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(std::vector<std::wstring>{L"plugin:Probe"}, g_log);
    EXPECT_EQ(0, ChildCount(pRoot));
    delete pRoot;
}

TEST_F(BuilderTest, TagTableMakesEachBuiltInClass)
{
    const struct
    {
        LPCWSTR pstrTag;
        LPCWSTR pstrClass;
    } kTags[] = {
        { L"Edit", L"EditUI" },           { L"Text", L"TextUI" },
        { L"Label", L"LabelUI" },         { L"Button", L"ButtonUI" },
        { L"Option", L"OptionUI" },       { L"Slider", L"SliderUI" },
        { L"Control", L"ControlUI" },     { L"ActiveX", L"ActiveXUI" },
        { L"Progress", L"ProgressUI" },   { L"CheckBox", L"CheckBoxUI" },
        { L"DateTime", L"DateTimeUI" },   { L"Container", L"ContainerUI" },
        { L"TabLayout", L"TabLayoutUI" }, { L"ScrollBar", L"ScrollBarUI" },
        { L"TileLayout", L"TileLayoutUI" }, { L"WebBrowser", L"WebBrowserUI" },
        { L"ChildLayout", L"ChildLayoutUI" }, { L"VerticalLayout", L"VerticalLayoutUI" },
        { L"HorizontalLayout", L"HorizontalLayoutUI" },
    };
    CProbeCallback callback;
    for (const auto& tag : kTags) {
        const std::wstring xml = std::wstring(L"<Window><") + tag.pstrTag + L" name=\"n\"/></Window>";
        CControlUI* pControl = Build(xml.c_str(), &callback);
        ASSERT_TRUE(pControl != NULL) << tag.pstrTag;
        EXPECT_STREQ(tag.pstrClass, pControl->GetClass()) << tag.pstrTag;
        EXPECT_EQ(L"n", std::wstring(pControl->GetName().GetData())) << tag.pstrTag;
        delete pControl;
    }
    EXPECT_TRUE(g_log.empty());

    // The list family, combo boxes, rich edit and the tree have no class here, and near misses of
    // known tags (same length or one off) match nothing: all of them reach the callback.
    const LPCWSTR kOthers[] = {
        L"List", L"Combo", L"RichEdit", L"ComboBox", L"TreeView", L"TreeNode", L"ListHeader",
        L"ListHeaderItem", L"ListTextElement", L"ListLabelElement", L"ListContainerElement",
        L"Texts", L"Labe", L"Buttom", L"EDIT", L"TileLayouts", L"Verticallayout", L"HorizontalLayou",
    };
    for (LPCWSTR pstrTag : kOthers) {
        g_log.clear();
        const std::wstring xml = std::wstring(L"<Window><") + pstrTag + L"/></Window>";
        EXPECT_EQ(nullptr, Build(xml.c_str(), &callback)) << pstrTag;
        EXPECT_EQ(std::vector<std::wstring>{ std::wstring(L"callback:") + pstrTag }, g_log);
    }
}

TEST_F(BuilderTest, ControlsBuiltIntoALiveTreeJoinItComplete)
{
    ASSERT_TRUE(m_folder.WriteFile(L"extra.xml", "<Window><Probe name=\"included\"/></Window>"));
    CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    CVerticalLayoutUI* pRoot = new CVerticalLayoutUI;
    AttachAndLayOut(pRoot, CUIRect(0, 0, 400, 300));
    CProbeCallback callback;
    CDialogBuilder builder;
    CControlUI* pFirst = builder.Create(L"<Window><Probe name=\"a\" text=\"t\"/>"
                                        L"<HorizontalLayout name=\"row\"><Probe name=\"inner\"/></HorizontalLayout>"
                                        L"<Include source=\"extra.xml\"/></Window>",
                                        NULL, &callback, m_pm, pRoot);
    ASSERT_TRUE(pFirst != NULL);
    ASSERT_EQ(3, pRoot->GetCount());
    EXPECT_EQ(pFirst, pRoot->GetItemAt(0));

    // Each control is initialised once, after its attributes, and stays in the window: named,
    // managed and linked to its container.
    std::vector<std::wstring> expected = {
        L"callback:Probe",
        L"attr:name=a manager=1 parent=0",
        L"attr:text=t manager=1 parent=0",
        L"init:a",
        L"callback:Probe",
        L"attr:name=inner manager=1 parent=0",
        L"init:inner",
        L"callback:Probe",
        L"attr:name=included manager=1 parent=0",
        L"init:included",
    };
    EXPECT_EQ(expected, g_log);
    CControlUI* pRow = m_pm->FindControl(L"row");
    CControlUI* pInner = m_pm->FindControl(L"inner");
    CControlUI* pIncluded = m_pm->FindControl(L"included");
    ASSERT_TRUE(pRow != NULL && pInner != NULL && pIncluded != NULL);
    EXPECT_EQ(pFirst, m_pm->FindControl(L"a"));
    for (CControlUI* pControl : { pFirst, pRow, pIncluded }) {
        EXPECT_EQ(m_pm, pControl->GetManager());
        EXPECT_EQ(pRoot, pControl->GetParent());
    }
    EXPECT_EQ(m_pm, pInner->GetManager());
    EXPECT_EQ(pRow, pInner->GetParent());

    // A live container that refuses its children: nothing is initialised, nothing is left over.
    g_log.clear();
    CRefusingUI* pRefusing = new CRefusingUI;
    AttachAndLayOut(pRefusing, CUIRect(0, 0, 400, 300));
    const int nLive = CProbeUI::s_nLive;
    CDialogBuilder refused;
    EXPECT_EQ(nullptr, refused.Create(L"<Window><Probe name=\"r\"/></Window>", NULL, &callback, m_pm, pRefusing));
    EXPECT_EQ(nLive, CProbeUI::s_nLive);
    EXPECT_EQ(0, std::count(g_log.begin(), g_log.end(), std::wstring(L"init:r")));
    EXPECT_EQ(nullptr, m_pm->FindControl(L"r"));
}

TEST_F(BuilderTest, RefusedAndParentlessControlsAreDestroyed)
{
    CProbeCallback callback;
    // A refusing container: each child is destroyed and the next one taken.
    CControlUI* pRoot = Build(L"<Window><Refusing><Probe/><Probe/></Refusing></Window>", &callback);
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(0, CProbeUI::s_nLive);
    EXPECT_EQ(2, std::count(g_log.begin(), g_log.end(), std::wstring(L"callback:Probe")));
    delete pRoot;

    // A parent without the container interface stops its level at the first child.
    g_log.clear();
    pRoot = Build(L"<Window><VerticalLayout><Control><Probe/><Probe/></Control><Probe/></VerticalLayout></Window>",
                  &callback);
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(2, std::count(g_log.begin(), g_log.end(), std::wstring(L"callback:Probe")));
    ASSERT_EQ(2, ChildCount(pRoot));
    EXPECT_EQ(1, CProbeUI::s_nLive);
    delete pRoot;
    EXPECT_EQ(0, CProbeUI::s_nLive);

    // Without a parent, only the first control of the top level is kept.
    pRoot = Build(L"<Window><Probe name=\"first\"/><Probe/><Probe/></Window>", &callback);
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(L"first", std::wstring(pRoot->GetName().GetData()));
    EXPECT_EQ(1, CProbeUI::s_nLive);
    delete pRoot;
}

TEST_F(BuilderTest, BuildsIntoAGivenParentAndReturnsTheFirstControl)
{
    CVerticalLayoutUI* pParent = new CVerticalLayoutUI;
    CDialogBuilder builder;
    CControlUI* pFirst = builder.Create(L"<Window><Control name=\"x\"/><Control name=\"y\"/></Window>", NULL, NULL,
                                        m_pm, pParent);
    ASSERT_TRUE(pFirst != NULL);
    EXPECT_EQ(L"x", std::wstring(pFirst->GetName().GetData()));
    ASSERT_EQ(2, pParent->GetCount());
    EXPECT_EQ(pFirst, pParent->GetItemAt(0));
    // A parent outside any window: the new controls are detached but know their container.
    EXPECT_EQ(pParent, pFirst->GetParent());
    EXPECT_EQ(pParent, pParent->GetItemAt(1)->GetParent());
    EXPECT_EQ(nullptr, pFirst->GetManager());
    delete pParent;

    // No child elements, no control.
    CDialogBuilder empty;
    EXPECT_EQ(nullptr, empty.Create(L"<Window size=\"10,10\"></Window>", NULL, NULL, m_pm));
    CDialogBuilder resourcesOnly;
    EXPECT_EQ(nullptr, resourcesOnly.Create(L"<Window><Font name=\"Arial\"/></Window>", NULL, NULL, m_pm));
    EXPECT_EQ(1, m_pm->GetCustomFontCount());
}

// ---- shared resources and window settings ----------------------------------------------------

TEST_F(BuilderTest, WindowAttributesNeedAPaintWindow)
{
    LPCWSTR pstrXml = L"<Window size=\"686,437\" caption=\"0,0,0,98\" sizebox=\"4,5,6,7\" roundcorner=\"3,4\" "
                      L"mininfo=\"200,100\" maxinfo=\"900,800\" showdirty=\"true\" alpha=\"200\" bktrans=\"true\" "
                      L"disabledfontcolor=\"#FF112233\" defaultfontcolor=\"FF445566\" linkfontcolor=\"#00000001\" "
                      L"linkhoverfontcolor=\"#80000002\" selectedcolor=\"#FFABCDEF\" unknown=\"1\">"
                      L"<Font name=\"Arial\" size=\"15\"/>"
                      L"<Default name=\"Control\" value=\"height=&quot;7&quot;\"/>"
                      L"<Control/></Window>";
    // Only a root named Window carries window settings.
    delete Build(L"<Dialog size=\"50,60\"><Control/></Dialog>");
    EXPECT_EQ(0, m_pm->GetInitSize().cx);

    CControlUI* pRoot = Build(pstrXml);
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(7, pRoot->GetFixedHeight());
    delete pRoot;
    EXPECT_EQ(686, m_pm->GetInitSize().cx);
    EXPECT_EQ(437, m_pm->GetInitSize().cy);
    EXPECT_EQ(L"0,0,0,98", RectText(m_pm->GetCaptionRect()));
    EXPECT_EQ(L"4,5,6,7", RectText(m_pm->GetSizeBox()));
    EXPECT_EQ(3, m_pm->GetRoundCorner().cx);
    EXPECT_EQ(4, m_pm->GetRoundCorner().cy);
    EXPECT_EQ(200, m_pm->GetMinInfo().cx);
    EXPECT_EQ(800, m_pm->GetMaxInfo().cy);
    EXPECT_TRUE(m_pm->IsShowUpdateRect());
    EXPECT_EQ(200, m_pm->GetTransparent());
    EXPECT_TRUE(m_pm->IsAlphaBackground());
    EXPECT_EQ(0xFF112233u, m_pm->GetDefaultDisabledColor());
    EXPECT_EQ(0xFF445566u, m_pm->GetDefaultFontColor());
    EXPECT_EQ(0x00000001u, m_pm->GetDefaultLinkFontColor());
    EXPECT_EQ(0x80000002u, m_pm->GetDefaultLinkHoverFontColor());
    EXPECT_EQ(0xFFABCDEFu, m_pm->GetDefaultSelectedBkColor());

    // A manager without a window keeps its settings but still takes fonts and default lists.
    CPaintManagerUI windowless;
    const SIZE szInit = windowless.GetInitSize();
    const RECT rcCaption = windowless.GetCaptionRect();
    CDialogBuilder builder;
    pRoot = builder.Create(pstrXml, NULL, NULL, &windowless);
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(7, pRoot->GetFixedHeight());
    delete pRoot;
    EXPECT_EQ(szInit.cx, windowless.GetInitSize().cx);
    EXPECT_EQ(szInit.cy, windowless.GetInitSize().cy);
    EXPECT_EQ(RectText(rcCaption), RectText(windowless.GetCaptionRect()));
    EXPECT_FALSE(windowless.IsShowUpdateRect());
    EXPECT_EQ(1, windowless.GetCustomFontCount());
    EXPECT_TRUE(windowless.GetDefaultAttributeList(L"Control") != NULL);
}

TEST_F(BuilderTest, WindowShadowSettings)
{
    CControlUI* pRoot = Build(L"<Window shadow=\"true\" shadowimage=\"shadow.png\" shadowtopleft=\"0,0,10,10\" "
                              L"shadowtopright=\"20,0,10,10\" shadowbottomleft=\"0,20,10,10\" "
                              L"shadowbottomright=\"20,20,10,10\"><Control/></Window>");
    ASSERT_TRUE(pRoot != NULL);
    delete pRoot;
    EXPECT_TRUE(m_pm->HasWindowShadow());
    EXPECT_STREQ(L"shadow.png", m_pm->GetWindowShadowImage());

    CPaintManagerUI windowless;
    CDialogBuilder builder;
    delete builder.Create(L"<Window shadow=\"true\"><Control/></Window>", NULL, NULL, &windowless);
    EXPECT_FALSE(windowless.HasWindowShadow());
}

TEST_F(BuilderTest, FontsAndTheDefaultFont)
{
    CControlUI* pRoot = Build(L"<Window>"
                              L"<Font size=\"20\" default=\"true\"/>"
                              L"<Font name=\"Arial\" size=\"15\" bold=\"true\" italic=\"True\" default=\"true\"/>"
                              L"<Font name=\"Tahoma\" underline=\"true\"/>"
                              L"<Control/></Window>");
    ASSERT_TRUE(pRoot != NULL);
    delete pRoot;
    ASSERT_EQ(2, m_pm->GetCustomFontCount());
    TFontInfo* pDefault = m_pm->GetDefaultFontInfo();
    EXPECT_EQ(L"Arial", std::wstring(pDefault->sFontName.GetData()));
    EXPECT_EQ(15, pDefault->iSize);
    EXPECT_TRUE(pDefault->bBold);
    EXPECT_FALSE(pDefault->bItalic);
    TFontInfo* pTahoma = m_pm->GetFontInfo(1);
    ASSERT_TRUE(pTahoma != NULL);
    EXPECT_EQ(12, pTahoma->iSize);
    EXPECT_TRUE(pTahoma->bUnderline);
    EXPECT_TRUE(m_pm->FindFont(L"Arial", 15, true, false, false));
}

// Resource 301 of type PNG in this program: see UIDialogBuilderTest.rc.
TEST_F(BuilderTest, ImagesWithAResourceTypeAreModuleResourcesByNumber)
{
    CControlUI* pRoot = Build(L"<Window>"
                              L"<Image name=\"301\" restype=\"PNG\" mask=\"#FF0000FF\"/>"
                              L"<Image name=\"301px\" restype=\"PNG\" mask=\"FF0000FF\"/>"
                              L"<Image name=\"logo\" restype=\"PNG\"/>"
                              L"<Image name=\"302\" restype=\"PNG\"/>"
                              L"<Image restype=\"PNG\" mask=\"#FF0000FF\"/>"
                              L"<Control/></Window>");
    ASSERT_TRUE(pRoot != NULL);
    delete pRoot;
    for (LPCWSTR pstrName : { L"301", L"301px" }) {
        TImageInfo* pImage = m_pm->GetImage(pstrName);
        ASSERT_TRUE(pImage != NULL) << pstrName;
        EXPECT_EQ(3, pImage->nWidth);
        EXPECT_EQ(2, pImage->nHeight);
        EXPECT_STREQ(L"PNG", pImage->sResourceType.GetData());
        EXPECT_EQ(0xFF0000FFu, pImage->dwMaskColor);
        // The opaque blue third pixel matched the mask.
        DIBSECTION section = {};
        ASSERT_EQ(static_cast<int>(sizeof(section)), ::GetObjectW(pImage->hBmp, sizeof(section), &section));
        const DWORD* pPixels = static_cast<const DWORD*>(section.dsBm.bmBits);
        EXPECT_EQ(0xFFFF0000u, pPixels[0]);
        EXPECT_EQ(0u, pPixels[2]);
    }
    // With a type, a name that is no number loads nothing; neither does a missing resource.
    EXPECT_EQ(nullptr, m_pm->GetImage(L"logo"));
    EXPECT_EQ(nullptr, m_pm->GetImage(L"302"));
}

TEST_F(BuilderTest, ResourceElementsInsideContainersAreIgnored)
{
    CControlUI* pRoot = Build(L"<Window><VerticalLayout>"
                              L"<Font name=\"Arial\" default=\"true\"/>"
                              L"<Default name=\"Control\" value=\"height=&quot;5&quot;\"/>"
                              L"<Image name=\"missing.png\"/>"
                              L"<Control/>"
                              L"</VerticalLayout></Window>");
    ASSERT_TRUE(pRoot != NULL);
    ASSERT_EQ(1, ChildCount(pRoot));
    EXPECT_EQ(0, ChildAt(pRoot, 0)->GetFixedHeight());
    EXPECT_EQ(0, m_pm->GetCustomFontCount());
    EXPECT_EQ(nullptr, m_pm->GetDefaultAttributeList(L"Control"));
    delete pRoot;
}

TEST_F(BuilderTest, BadAttributeValues)
{
    // Short and empty numbers read as 0; the rest of the value is never read past its end.
    CControlUI* pRoot = Build(L"<Window size=\"686\" caption=\"1,2\" sizebox=\"\" mininfo=\"x,y\" "
                              L"defaultfontcolor=\"#zz\" alpha=\"abc\">"
                              L"<Font name=\"Arial\" size=\"big\"/>"
                              L"<Control height=\"tall\" width=\"-5\" visible=\"True\" bkcolor=\"#\"/>"
                              L"</Window>");
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(686, m_pm->GetInitSize().cx);
    EXPECT_EQ(0, m_pm->GetInitSize().cy);
    EXPECT_EQ(L"1,2,0,0", RectText(m_pm->GetCaptionRect()));
    EXPECT_EQ(L"0,0,0,0", RectText(m_pm->GetSizeBox()));
    EXPECT_EQ(0, m_pm->GetMinInfo().cx);
    EXPECT_EQ(0u, m_pm->GetDefaultFontColor());
    EXPECT_EQ(0, m_pm->GetTransparent());
    ASSERT_EQ(1, m_pm->GetCustomFontCount());
    EXPECT_EQ(0, m_pm->GetFontInfo(0)->iSize);
    EXPECT_EQ(0, pRoot->GetFixedHeight());
    EXPECT_EQ(0, pRoot->GetFixedWidth());
    EXPECT_FALSE(pRoot->IsVisible());
    EXPECT_EQ(0u, pRoot->GetBkColor());
    delete pRoot;
}

TEST_F(BuilderTest, MalformedXmlGivesNullAndTheParserMessage)
{
    CDialogBuilder builder;
    EXPECT_EQ(nullptr, builder.Create(L"<Window><Control></Window>", NULL, NULL, m_pm));
    WCHAR szMessage[100] = {};
    WCHAR szLocation[50] = {};
    builder.GetLastErrorMessage(szMessage, lengthof(szMessage));
    builder.GetLastErrorLocation(szLocation, lengthof(szLocation));
    EXPECT_STREQ(L"Unmatched closing tag", szMessage);
    CMarkup markup;
    EXPECT_FALSE(markup.Load(L"<Window><Control></Window>"));
    WCHAR szParserLocation[50] = {};
    markup.GetLastErrorLocation(szParserLocation, lengthof(szParserLocation));
    EXPECT_STREQ(szParserLocation, szLocation);
    EXPECT_FALSE(builder.GetMarkup()->IsValid());

    CDialogBuilder quotes;
    EXPECT_EQ(nullptr, quotes.Create(L"<Window><Control name='x'/></Window>", NULL, NULL, m_pm));
    quotes.GetLastErrorMessage(szMessage, lengthof(szMessage));
    EXPECT_STREQ(L"Expected attribute value", szMessage);

    // Building an already loaded markup; a document without a root builds nothing.
    CDialogBuilder loaded;
    ASSERT_TRUE(loaded.GetMarkup()->Load(L"<Window><Control name=\"m\"/></Window>"));
    CControlUI* pControl = loaded.Create(NULL, m_pm, NULL);
    ASSERT_TRUE(pControl != NULL);
    EXPECT_EQ(L"m", std::wstring(pControl->GetName().GetData()));
    delete pControl;
    CDialogBuilder nothing;
    EXPECT_EQ(nullptr, nothing.Create(NULL, m_pm, NULL));
}

TEST_F(BuilderTest, HostileNestingIsCut)
{
    // Far deeper than any skin: the parser takes it, the builder stops descending.
    const int nLevels = 20000;
    std::wstring xml;
    for (int i = 0; i < nLevels; ++i) xml += L"<Container>";
    for (int i = 0; i < nLevels; ++i) xml += L"</Container>";
    CControlUI* pRoot = Build(xml.c_str());
    ASSERT_TRUE(pRoot != NULL);
    int nDepth = 1;
    for (CControlUI* p = pRoot; ChildCount(p) > 0; p = ChildAt(p, 0)) ++nDepth;
    EXPECT_GT(nDepth, 50);
    EXPECT_LT(nDepth, 1000);
    delete pRoot;
}

} // namespace BuilderTest
