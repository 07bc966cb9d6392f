// Dialog builder: documents from skin files, zip archives (file and memory) and module resources; includes.
#include "veneer/core/UISetup.h"
#include "BuilderTestUtil.h"
#include "support/ZipWriter.h"

#include <algorithm>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

using namespace Veneer;

namespace BuilderTest {

namespace {

// A layout with an image, a default list and an include of "row.xml" three times.
const char kMainLayout[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Window size=\"320,200\" caption=\"0,0,0,30\">\n"
    "  <Image name=\"dot.png\" mask=\"#FFFF00FF\"/>\n"
    "  <Default name=\"Control\" value=\"height=&quot;20&quot;\"/>\n"
    "  <VerticalLayout name=\"main\">\n"
    "    <Control name=\"title\" text=\"\xE6\xB8\xB8\xE6\x88\x8F\"/>\n"
    "    <Include source=\"row.xml\" count=\"3\"/>\n"
    "    <Control name=\"last\"/>\n"
    "  </VerticalLayout>\n"
    "</Window>\n";

const char kRowLayout[] =
    "<Window caption=\"0,0,0,99\"><Font name=\"Arial\" size=\"13\"/>"
    "<HorizontalLayout height=\"30\"><Control/><Control width=\"40\"/></HorizontalLayout></Window>";

std::string MakePng()
{
    const unsigned char pixels[2 * 2 * 4] = {
        255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 255, 255,
    };
    std::string png;
    stbi_write_png_to_func(
        [](void* pContext, void* pData, int size) {
            static_cast<std::string*>(pContext)->append(static_cast<const char*>(pData), static_cast<size_t>(size));
        },
        &png, 2, 2, 4, pixels, 8);
    return png;
}

// Checks the tree kMainLayout builds: the title, three included rows, the last control.
void ExpectMainTree(CPaintManagerUI* pm, CControlUI* pRoot)
{
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(L"main", std::wstring(pRoot->GetName().GetData()));
    ASSERT_EQ(5, ChildCount(pRoot));
    EXPECT_EQ(L"\x6E38\x620F", std::wstring(ChildAt(pRoot, 0)->GetText().GetData()));
    for (int i = 1; i <= 3; ++i) {
        CControlUI* pRow = ChildAt(pRoot, i);
        EXPECT_STREQ(L"HorizontalLayoutUI", pRow->GetClass());
        EXPECT_EQ(2, ChildCount(pRow));
        // The including document's default list reaches the included controls.
        EXPECT_EQ(20, ChildAt(pRow, 0)->GetFixedHeight());
    }
    EXPECT_EQ(L"last", std::wstring(ChildAt(pRoot, 4)->GetName().GetData()));

    pm->AttachDialog(pRoot);
    pRoot->SetPos(CUIRect(0, 0, 320, 200));
    EXPECT_EQ(L"0,0,320,20", RectText(ChildAt(pRoot, 0)->GetPos()));
    EXPECT_EQ(L"0,20,320,50", RectText(ChildAt(pRoot, 1)->GetPos()));
    EXPECT_EQ(L"0,80,320,110", RectText(ChildAt(pRoot, 3)->GetPos()));
    EXPECT_EQ(L"280,80,320,100", RectText(ChildAt(ChildAt(pRoot, 3), 1)->GetPos()));
    EXPECT_EQ(L"0,110,320,130", RectText(ChildAt(pRoot, 4)->GetPos()));

    // Images and fonts of both documents, the font once per include; the included window settings
    // came later and won.
    ASSERT_TRUE(pm->GetImage(L"dot.png") != NULL);
    EXPECT_EQ(0xFFFF00FFu, pm->GetImage(L"dot.png")->dwMaskColor);
    EXPECT_EQ(3, pm->GetCustomFontCount());
    EXPECT_EQ(320, pm->GetInitSize().cx);
    EXPECT_EQ(99, pm->GetCaptionRect().bottom);
}

} // namespace

TEST_F(BuilderTest, SkinFilesFromTheResourceFolder)
{
    ASSERT_TRUE(m_folder.WriteFile(L"main.xml", kMainLayout));
    ASSERT_TRUE(m_folder.WriteFile(L"row.xml", kRowLayout));
    ASSERT_TRUE(m_folder.WriteFile(L"dot.png", MakePng()));
    CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    CDialogBuilder builder;
    ExpectMainTree(m_pm, builder.Create(L"main.xml", NULL, NULL, m_pm));
}

TEST_F(BuilderTest, TextNotStartingWithAnAngleBracketIsAFileName)
{
    // The file " <Window>" does not exist: leading whitespace makes the text a file name.
    CDialogBuilder builder;
    EXPECT_EQ(nullptr, builder.Create(L" <Window><Control/></Window>", NULL, NULL, m_pm));
    WCHAR szMessage[100] = {};
    builder.GetLastErrorMessage(szMessage, lengthof(szMessage));
    EXPECT_STREQ(L"Error opening file", szMessage);

    CDialogBuilder missing;
    EXPECT_EQ(nullptr, missing.Create(L"nothing.xml", NULL, NULL, m_pm));
    CDialogBuilder none;
    EXPECT_EQ(nullptr, none.Create(STRINGorID(static_cast<LPCWSTR>(NULL)), NULL, NULL, m_pm));
}

TEST_F(BuilderTest, SkinFilesFromAZipFile)
{
    CZipWriter zip;
    zip.Add("MAIN.XML", kMainLayout);
    zip.Add("row.xml", kRowLayout, false);
    zip.Add("dot.png", MakePng());
    ASSERT_TRUE(zip.WriteFile(m_folder.GetFile(L"skin.zip").c_str()));
    CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());

    // Kept open and opened per read; archive names match without regard to case.
    for (bool bCached : { true, false }) {
        CResourceScope::ClearArchive();
        CPaintManagerUI::SetResourceZip(L"skin.zip", bCached);
        CPaintManagerUI pm;
        pm.Init(m_hWnd);
        CDialogBuilder builder;
        ExpectMainTree(&pm, builder.Create(L"main.xml", NULL, NULL, &pm));
    }
}

TEST_F(BuilderTest, SkinFilesFromAZipInMemory)
{
    CZipWriter zip;
    zip.Add("main.xml", kMainLayout);
    zip.Add("row.xml", kRowLayout);
    zip.Add("dot.png", MakePng());
    std::string bytes = zip.Build();
    CPaintManagerUI::SetResourceZip(&bytes[0], static_cast<unsigned int>(bytes.size()));
    CDialogBuilder builder;
    ExpectMainTree(m_pm, builder.Create(L"main.xml", NULL, NULL, m_pm));

    // A damaged entry is a failed load with the reader's message.
    CZipWriter damaged;
    damaged.Add("main.xml", kMainLayout).payload = std::string("not deflate data at all");
    std::string bad = damaged.Build();
    CResourceScope::ClearArchive();
    CPaintManagerUI::SetResourceZip(&bad[0], static_cast<unsigned int>(bad.size()));
    CDialogBuilder broken;
    EXPECT_EQ(nullptr, broken.Create(L"main.xml", NULL, NULL, m_pm));
    WCHAR szMessage[100] = {};
    broken.GetLastErrorMessage(szMessage, lengthof(szMessage));
    EXPECT_STREQ(L"Could not unzip file", szMessage);
    CResourceScope::ClearArchive();
}

// Resources 201 (layout) and 202 (row) of type "xml" in this program: see UIDialogBuilderTest.rc.
TEST_F(BuilderTest, LayoutsFromModuleResourcesIncludeByIdOfTheSameType)
{
    CDialogBuilder builder;
    CControlUI* pRoot = builder.Create(201, L"xml", NULL, m_pm);
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(L"main", std::wstring(pRoot->GetName().GetData()));
    ASSERT_EQ(4, ChildCount(pRoot));
    EXPECT_STREQ(L"HorizontalLayoutUI", ChildAt(pRoot, 1)->GetClass());
    EXPECT_STREQ(L"HorizontalLayoutUI", ChildAt(pRoot, 3)->GetClass());
    EXPECT_EQ(640, m_pm->GetInitSize().cx);
    m_pm->AttachDialog(pRoot);
    pRoot->SetPos(CUIRect(0, 0, 640, 480));
    EXPECT_EQ(L"0,0,640,40", RectText(ChildAt(pRoot, 0)->GetPos()));
    EXPECT_EQ(L"0,40,640,65", RectText(ChildAt(pRoot, 1)->GetPos()));
    EXPECT_EQ(L"0,90,640,115", RectText(ChildAt(pRoot, 3)->GetPos()));

    // Wrong id, wrong type, no type, an id outside the resource range in an include.
    CDialogBuilder missing;
    EXPECT_EQ(nullptr, missing.Create(299, L"xml", NULL, m_pm));
    CDialogBuilder wrongType;
    EXPECT_EQ(nullptr, wrongType.Create(201, L"png", NULL, m_pm));
    CDialogBuilder noType;
    EXPECT_EQ(nullptr, noType.Create(201, NULL, NULL, m_pm));
    CDialogBuilder badIds;
    pRoot = badIds.Create(203, L"xml", NULL, m_pm);
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(1, ChildCount(pRoot));
    delete pRoot;
}

TEST_F(BuilderTest, IncludeCountsAndMissingSources)
{
    ASSERT_TRUE(m_folder.WriteFile(L"one.xml", "<Window><Control name=\"inc\"/></Window>"));
    CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());
    CControlUI* pRoot = Build(L"<Window><VerticalLayout>"
                              L"<Include source=\"one.xml\" count=\"3\"/>"
                              L"<Include source=\"one.xml\"/>"
                              L"<Include source=\"one.xml\" count=\"0\"/>"
                              L"<Include source=\"one.xml\" count=\"-2\"/>"
                              L"<Include source=\"one.xml\" count=\"x\"/>"
                              L"<Include source=\"missing.xml\" count=\"5\"/>"
                              L"<Include count=\"2\"/>"
                              L"<Include/>"
                              L"</VerticalLayout></Window>");
    ASSERT_TRUE(pRoot != NULL);
    ASSERT_EQ(4, ChildCount(pRoot));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(L"inc", std::wstring(ChildAt(pRoot, i)->GetName().GetData()));
    delete pRoot;

    // Included controls are never the first control of their level; with no parent, nobody keeps them.
    CProbeCallback callback;
    ASSERT_TRUE(m_folder.WriteFile(L"probes.xml", "<Window><Probe/><Probe/></Window>"));
    pRoot = Build(L"<Window><Include source=\"probes.xml\" count=\"2\"/><Control name=\"own\"/></Window>", &callback);
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(L"own", std::wstring(pRoot->GetName().GetData()));
    EXPECT_EQ(4, std::count(g_log.begin(), g_log.end(), std::wstring(L"callback:Probe")));
    EXPECT_EQ(0, CProbeUI::s_nLive);
    delete pRoot;
}

TEST_F(BuilderTest, IncludesThatMultiplyWithoutEndAreCut)
{
    // Two levels of a thousand includes each would be a million controls; a huge count of a document
    // without controls would read it without end.
    ASSERT_TRUE(m_folder.WriteFile(L"leaf.xml", "<Window><Control/></Window>"));
    ASSERT_TRUE(m_folder.WriteFile(L"rows.xml", "<Window><Include source=\"leaf.xml\" count=\"1000\"/></Window>"));
    ASSERT_TRUE(m_folder.WriteFile(L"bare.xml", "<Window/>"));
    CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());

    CControlUI* pRoot = Build(L"<Window><VerticalLayout><Include source=\"rows.xml\" count=\"1000\"/>"
                              L"<Control name=\"after\"/></VerticalLayout></Window>");
    ASSERT_TRUE(pRoot != NULL);
    const int nCount = ChildCount(pRoot);
    EXPECT_GE(nCount, 1000);
    EXPECT_LT(nCount, 10000);
    // The elements after the cut are still built.
    EXPECT_EQ(L"after", std::wstring(ChildAt(pRoot, nCount - 1)->GetName().GetData()));
    delete pRoot;

    pRoot = Build(L"<Window><VerticalLayout><Include source=\"bare.xml\" count=\"2000000000\"/>"
                  L"<Include source=\"leaf.xml\" count=\"2000000000\"/></VerticalLayout></Window>");
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_LT(ChildCount(pRoot), 10000);
    delete pRoot;

    // Each build has its own allowance.
    pRoot = Build(L"<Window><VerticalLayout><Include source=\"leaf.xml\" count=\"3\"/></VerticalLayout></Window>");
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(3, ChildCount(pRoot));
    delete pRoot;
}

TEST_F(BuilderTest, IncludeCyclesEnd)
{
    ASSERT_TRUE(m_folder.WriteFile(L"self.xml", "<Window><Include source=\"SELF.xml\" count=\"2\"/><Control/></Window>"));
    ASSERT_TRUE(m_folder.WriteFile(L"a.xml", "<Window><Control name=\"a\"/><Include source=\"b.xml\"/></Window>"));
    ASSERT_TRUE(m_folder.WriteFile(L"b.xml", "<Window><Control name=\"b\"/><Include source=\"a.xml\"/></Window>"));
    CPaintManagerUI::SetResourcePath(m_folder.GetPath().c_str());

    CVerticalLayoutUI* pParent = new CVerticalLayoutUI;
    CDialogBuilder self;
    EXPECT_TRUE(self.Create(L"self.xml", NULL, NULL, m_pm, pParent) != NULL);
    EXPECT_EQ(1, pParent->GetCount());
    pParent->RemoveAll();

    CDialogBuilder cycle;
    EXPECT_TRUE(cycle.Create(L"a.xml", NULL, NULL, m_pm, pParent) != NULL);
    ASSERT_EQ(2, pParent->GetCount());
    EXPECT_EQ(L"a", std::wstring(pParent->GetItemAt(0)->GetName().GetData()));
    EXPECT_EQ(L"b", std::wstring(pParent->GetItemAt(1)->GetName().GetData()));
    delete pParent;

    // The same through resources: 204 includes itself.
    CDialogBuilder resource;
    CControlUI* pRoot = resource.Create(204, L"xml", NULL, m_pm);
    ASSERT_TRUE(pRoot != NULL);
    EXPECT_EQ(1, ChildCount(pRoot));
    delete pRoot;
}

} // namespace BuilderTest
