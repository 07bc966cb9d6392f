// Tests of the skin render tool: generated skins rendered to PNG and read back, and its failure paths.
#include "veneer/core/UISetup.h"
#include "SkinRender.h"

#include "support/PngFiles.h"
#include "support/ResourceScope.h"
#include "support/TempFolder.h"
#include "support/ZipWriter.h"
#include "veneer/window/UIManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Veneer::CPaintManagerUI;

namespace {

bool Near(const TPixel& p, int r, int g, int b, int a, int tolerance = 3)
{
    return abs(p.r - r) <= tolerance && abs(p.g - g) <= tolerance && abs(p.b - b) <= tolerance &&
           abs(p.a - a) <= tolerance;
}

// A band of image at the top (10 pixels high) over a red rest, on a dark background.
const char kPanelXml[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<Window size=\"40,30\">"
    "<VerticalLayout bkcolor=\"#FF102030\">"
    "<Control height=\"10\" bkimage=\"img\\green.png\"/>"
    "<Control bkcolor=\"#FFFF0000\"/>"
    "</VerticalLayout></Window>";

class SkinRenderTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_temp.IsValid()); }

    int Run(std::vector<std::wstring> args)
    {
        args.insert(args.begin(), L"skin_render");
        m_message.clear();
        return RunSkinRender(args, m_message);
    }

    bool HasMessage(const std::wstring& part) const { return m_message.find(part) != std::wstring::npos; }

    CResourceScope m_scope;
    CTempFolder m_temp;
    std::wstring m_message;
};

TEST_F(SkinRenderTest, LayoutFileRendersAtItsWindowSizeWithItsImages)
{
    ASSERT_TRUE(m_temp.WriteFile(L"skin\\panel.xml", kPanelXml));
    ASSERT_TRUE(m_temp.WriteFile(L"skin\\img\\green.png", SolidPng(0, 255, 0, 255)));
    const std::wstring out = m_temp.GetFile(L"panel.png");

    ASSERT_EQ(0, Run({m_temp.GetFile(L"skin\\panel.xml"), L"-o", out})) << m_message;
    TDecoded png = DecodePng(out);
    ASSERT_EQ(40, png.width);
    ASSERT_EQ(30, png.height);
    EXPECT_TRUE(Near(png.At(0, 0), 0, 255, 0, 255));
    EXPECT_TRUE(Near(png.At(39, 9), 0, 255, 0, 255));
    EXPECT_TRUE(Near(png.At(0, 10), 255, 0, 0, 255));
    EXPECT_TRUE(Near(png.At(39, 29), 255, 0, 0, 255));
    EXPECT_TRUE(HasMessage(L"40x30"));
}

TEST_F(SkinRenderTest, SizeOptionLaysTheTreeOutAtThatSize)
{
    ASSERT_TRUE(m_temp.WriteFile(L"panel.xml", kPanelXml));
    ASSERT_TRUE(m_temp.WriteFile(L"img\\green.png", SolidPng(0, 255, 0, 255)));
    const std::wstring out = m_temp.GetFile(L"wide.png");

    // Only a layout at the new size fills the far corners of a larger picture.
    ASSERT_EQ(0, Run({L"--size", L"90x50", m_temp.GetFile(L"panel.xml"), L"--output=" + out})) << m_message;
    TDecoded png = DecodePng(out);
    ASSERT_EQ(90, png.width);
    ASSERT_EQ(50, png.height);
    EXPECT_TRUE(Near(png.At(89, 5), 0, 255, 0, 255));
    EXPECT_TRUE(Near(png.At(89, 49), 255, 0, 0, 255));

    // A skin whose Window has no size renders once a size is given.
    ASSERT_TRUE(m_temp.WriteFile(L"nosize.xml", "<Window><Control bkcolor=\"#FF0000FF\"/></Window>"));
    ASSERT_EQ(0, Run({m_temp.GetFile(L"nosize.xml"), L"-s", L"7X3", L"-o", out})) << m_message;
    png = DecodePng(out);
    ASSERT_EQ(7, png.width);
    ASSERT_EQ(3, png.height);
    EXPECT_TRUE(Near(png.At(6, 2), 0, 0, 255, 255));
}

TEST_F(SkinRenderTest, ScaleOptionPaintsTheLayoutAsADisplayOfThatScaleShowsIt)
{
    ASSERT_TRUE(m_temp.WriteFile(L"panel.xml", kPanelXml));
    ASSERT_TRUE(m_temp.WriteFile(L"img\\green.png", SolidPng(0, 255, 0, 255)));
    const std::wstring out = m_temp.GetFile(L"scaled.png");
    const struct
    {
        const wchar_t* scale;
        const wchar_t* size;
        int cx, cy, band;
    } cases[] = {{L"2", NULL, 80, 60, 20}, {L"150%", NULL, 60, 45, 15}, {L"1.25", L"40x20", 50, 25, 13}};
    for (const auto& c : cases) {
        std::vector<std::wstring> args = {m_temp.GetFile(L"panel.xml"), L"--scale", c.scale, L"-o", out};
        if (c.size != NULL) args.insert(args.end(), {L"-s", c.size});
        ASSERT_EQ(0, Run(args)) << m_message;
        // The Window size (or the one given) is skin units: the picture has its pixels at the scale, and
        // the 10-unit band of image keeps its share of it.
        TDecoded png = DecodePng(out);
        ASSERT_EQ(c.cx, png.width) << c.scale;
        ASSERT_EQ(c.cy, png.height) << c.scale;
        EXPECT_TRUE(Near(png.At(c.cx - 1, c.band - 1), 0, 255, 0, 255)) << c.scale;
        EXPECT_TRUE(Near(png.At(c.cx - 1, c.band), 255, 0, 0, 255)) << c.scale;
        EXPECT_TRUE(Near(png.At(0, c.cy - 1), 255, 0, 0, 255)) << c.scale;
    }
    // A scale that takes the picture past the limits is refused, not cut.
    EXPECT_EQ(1, Run({m_temp.GetFile(L"panel.xml"), L"--scale", L"10", L"-s", L"2000x1000", L"-o", out}));
    EXPECT_TRUE(HasMessage(L"beyond the limits")) << m_message;
}

TEST_F(SkinRenderTest, FolderAndLayoutNameWriteNextToTheCurrentFolderByDefault)
{
    ASSERT_TRUE(m_temp.WriteFile(L"skin\\panel.xml", kPanelXml));
    ASSERT_TRUE(m_temp.WriteFile(L"skin\\img\\green.png", SolidPng(0, 255, 0, 255)));
    ASSERT_TRUE(m_temp.WriteFile(L"out\\keep.txt", "x"));
    const std::wstring before = CPaintManagerUI::GetCurrentPath().GetData();
    ASSERT_TRUE(CPaintManagerUI::SetCurrentPath(m_temp.GetFile(L"out").c_str()));
    const int code = Run({m_temp.GetFile(L"skin"), L"panel.xml"});
    CPaintManagerUI::SetCurrentPath(before.c_str());

    ASSERT_EQ(0, code) << m_message;
    TDecoded png = DecodePng(m_temp.GetFile(L"out\\panel.png"));
    ASSERT_EQ(40, png.width);
    EXPECT_TRUE(Near(png.At(20, 5), 0, 255, 0, 255));
    EXPECT_TRUE(Near(png.At(20, 20), 255, 0, 0, 255));
}

TEST_F(SkinRenderTest, ArchiveAndLayoutNameReadImagesFromTheArchive)
{
    CZipWriter zip;
    zip.Add("skins/panel.xml", kPanelXml);
    zip.Add("img/green.png", SolidPng(0, 255, 0, 255), false);
    ASSERT_TRUE(zip.WriteFile(m_temp.GetFile(L"skin.zip").c_str()));
    const std::wstring out = m_temp.GetFile(L"zip.png");
    const std::wstring path = CPaintManagerUI::GetResourcePath().GetData();

    ASSERT_EQ(0, Run({m_temp.GetFile(L"skin.zip"), L"Skins\\Panel.XML", L"-o", out})) << m_message;
    TDecoded png = DecodePng(out);
    ASSERT_EQ(30, png.height);
    EXPECT_TRUE(Near(png.At(5, 5), 0, 255, 0, 255));
    EXPECT_TRUE(Near(png.At(5, 25), 255, 0, 0, 255));

    // Afterwards the archive is closed and the resource folder is what it was.
    EXPECT_TRUE(CPaintManagerUI::GetResourceZip().IsEmpty());
    EXPECT_TRUE(CPaintManagerUI::GetResourceZipHandle() == NULL);
    EXPECT_EQ(path, CPaintManagerUI::GetResourcePath().GetData());
}

TEST_F(SkinRenderTest, AlphaBackgroundKeepsStraightColoursAndTransparency)
{
    // Half-transparent red over the top band; nothing is painted below it.
    ASSERT_TRUE(m_temp.WriteFile(L"glass.xml", "<Window size=\"20,20\" bktrans=\"true\"><VerticalLayout>"
                                               "<Control height=\"8\" bkimage=\"glass.png\"/><Control/>"
                                               "</VerticalLayout></Window>"));
    ASSERT_TRUE(m_temp.WriteFile(L"glass.png", SolidPng(255, 0, 0, 128)));
    const std::wstring out = m_temp.GetFile(L"glass-out.png");

    ASSERT_EQ(0, Run({m_temp.GetFile(L"glass.xml"), L"-o", out})) << m_message;
    TDecoded png = DecodePng(out);
    ASSERT_EQ(20, png.width);
    const TPixel top = png.At(10, 4);
    EXPECT_TRUE(Near(top, 255, 0, 0, 128)) << top.r << "," << top.g << "," << top.b << "," << top.a;
    EXPECT_EQ(0, png.At(10, 15).a);
    EXPECT_TRUE(HasMessage(L"alpha"));
}

TEST_F(SkinRenderTest, BadCommandLinesExitWithUsage)
{
    ASSERT_TRUE(m_temp.WriteFile(L"panel.xml", kPanelXml));
    const std::wstring xml = m_temp.GetFile(L"panel.xml");
    struct Case
    {
        std::vector<std::wstring> args;
        const wchar_t* part;
    };
    const Case cases[] = {
        {{}, L"no layout given"},
        {{L"-x", xml}, L"unknown option -x"},
        {{xml, L"a", L"b"}, L"too many arguments"},
        {{xml, L"-o"}, L"-o needs a value"},
        {{xml, L"--output="}, L"output file name is empty"},
        {{xml, L"-s", L"0x10"}, L"bad size '0x10'"},
        {{xml, L"-s", L"10"}, L"bad size"},
        {{xml, L"-s", L"10x"}, L"bad size"},
        {{xml, L"-s", L"x10"}, L"bad size"},
        {{xml, L"-s", L"-5x5"}, L"bad size"},
        {{xml, L"-s", L"5x+5"}, L"bad size"},
        {{xml, L"-s", L"5x5 "}, L"bad size"},
        {{xml, L"-s", L"16385x1"}, L"bad size"},
        {{xml, L"-s", L"8192x8193"}, L"bad size"},
        {{xml, L"-s", L"99999999999999999999x1"}, L"bad size"},
        {{xml, L"--scale"}, L"--scale needs a value"},
        {{xml, L"--scale", L"0.49"}, L"bad scale '0.49'"},
        {{xml, L"--scale=10.01"}, L"bad scale"},
        {{xml, L"--scale", L"1.5.2"}, L"bad scale"},
        {{xml, L"--scale", L"1,5"}, L"bad scale"},
        {{xml, L"--scale", L"-1.5"}, L"bad scale"},
        {{xml, L"--scale", L"150.5%"}, L"bad scale"},
        {{xml, L"--scale", L"%"}, L"bad scale"},
        {{xml, L"--scale", L"."}, L"bad scale"},
        {{xml, L"--scale", L"99999999999999999999"}, L"bad scale"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(2, Run(c.args)) << c.part;
        EXPECT_TRUE(HasMessage(c.part)) << m_message;
        EXPECT_TRUE(HasMessage(L"Usage: skin_render")) << c.part;
    }
    EXPECT_EQ(0, Run({L"--help"}));
    EXPECT_TRUE(HasMessage(L"--size WxH"));

    int cx = 0;
    int cy = 0;
    EXPECT_TRUE(ParseSkinSize(L"16384x1", cx, cy));
    EXPECT_EQ(16384, cx);
    EXPECT_TRUE(ParseSkinSize(L"8192x8192", cx, cy));
    EXPECT_EQ(8192, cy);
    EXPECT_FALSE(ParseSkinSize(L"", cx, cy));

    const struct
    {
        const wchar_t* text;
        int dpi;
    } scales[] = {{L"1", 96}, {L"1.25", 120}, {L"1.5", 144}, {L"2", 192}, {L"150%", 144}, {L"175%", 168},
                  {L"0.5", 48}, {L"10", 960}, {L"1.0", 96}, {L"1.333", 128}, {L"2.", 192}, {L".75", 72}};
    for (const auto& scale : scales) {
        int dpi = 0;
        EXPECT_TRUE(ParseSkinScale(scale.text, dpi)) << scale.text;
        EXPECT_EQ(scale.dpi, dpi) << scale.text;
    }
}

TEST_F(SkinRenderTest, BadInputFailsWithAMessageAndNoPicture)
{
    ASSERT_TRUE(m_temp.WriteFile(L"broken.xml", "<Window size=\"10,10\"><Control bkcolor=\"#FF000000\"></Window>"));
    ASSERT_TRUE(m_temp.WriteFile(L"empty.xml", "<Window size=\"10,10\"></Window>"));
    ASSERT_TRUE(m_temp.WriteFile(L"nosize.xml", "<Window><Control/></Window>"));
    ASSERT_TRUE(m_temp.WriteFile(L"huge.xml", "<Window size=\"40000,10\"><Control/></Window>"));
    ASSERT_TRUE(m_temp.WriteFile(L"junk.zip", std::string(300, 'Z')));
    ASSERT_TRUE(m_temp.WriteFile(L"skin\\panel.xml", kPanelXml));
    CZipWriter good;
    good.Add("panel.xml", kPanelXml);
    ASSERT_TRUE(good.WriteFile(m_temp.GetFile(L"good.zip").c_str()));
    // The same archive without its last bytes loses its directory.
    const std::string bytes = good.Build();
    ASSERT_TRUE(m_temp.WriteFile(L"cut.zip", bytes.substr(0, bytes.size() - 10)));
    CZipWriter damaged;
    damaged.Add("panel.xml", kPanelXml).payload = std::string(64, '\xFF');
    ASSERT_TRUE(damaged.WriteFile(m_temp.GetFile(L"damaged.zip").c_str()));

    const std::wstring out = m_temp.GetFile(L"never.png");
    struct Case
    {
        std::vector<std::wstring> args;
        const wchar_t* part;
    };
    const Case cases[] = {
        {{m_temp.GetFile(L"missing.xml")}, L"no such layout file"},
        {{m_temp.GetFile(L"skin")}, L"is a folder"},
        {{m_temp.GetFile(L"broken.xml")}, L"cannot build broken.xml: "},
        {{m_temp.GetFile(L"empty.xml")}, L"holds no control"},
        {{m_temp.GetFile(L"nosize.xml")}, L"sets no Window size"},
        {{m_temp.GetFile(L"huge.xml")}, L"beyond the limits"},
        {{m_temp.GetFile(L"skin"), L"other.xml"}, L"no layout 'other.xml' in folder"},
        {{m_temp.GetFile(L"nowhere"), L"panel.xml"}, L"no such folder or archive"},
        {{m_temp.GetFile(L"junk.zip"), L"panel.xml"}, L"not a readable zip archive"},
        {{m_temp.GetFile(L"cut.zip"), L"panel.xml"}, L"not a readable zip archive"},
        {{m_temp.GetFile(L"good.zip"), L"other.xml"}, L"no layout 'other.xml' in archive"},
        {{m_temp.GetFile(L"good.zip"), L"<Window/>"}, L"no layout"},
        {{m_temp.GetFile(L"damaged.zip"), L"panel.xml"}, L"cannot build panel.xml"},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> args = c.args;
        args.push_back(L"-o");
        args.push_back(out);
        EXPECT_EQ(1, Run(args)) << c.part;
        EXPECT_TRUE(HasMessage(c.part)) << m_message;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(out.c_str())) << c.part;
        EXPECT_TRUE(CPaintManagerUI::GetResourceZipHandle() == NULL) << c.part;
    }

    // A picture that cannot be stored is a failure too.
    EXPECT_EQ(1, Run({m_temp.GetFile(L"skin\\panel.xml"), L"-o", m_temp.GetFile(L"no\\such\\folder.png")}));
    EXPECT_TRUE(HasMessage(L"cannot create"));
}

} // namespace
