// Fuzz target: the dialog builder with every tag, the tree laid out at several sizes and scales and painted.
#include "veneer/core/UISetup.h"
#include "fuzz/FuzzTargets.h"

using namespace Veneer;

namespace Fuzz {

namespace {

const int kCanvasWidth = 1034;
const int kCanvasHeight = 680;

const char* const kTags[] = { "Control", "Label", "Text", "Button", "Option", "CheckBox", "Progress", "Slider", "Edit",
                              "ScrollBar", "DateTime", "Container", "VerticalLayout", "HorizontalLayout", "TabLayout",
                              "TileLayout", "ChildLayout", "ActiveX", "WebBrowser", "List", "Combo", "RichEdit",
                              "ComboBox", "TreeView", "TreeNode", "ListHeader", "ListHeaderItem", "ListTextElement",
                              "ListLabelElement", "ListContainerElement", "Include", "Image", "Font", "Default" };

const char* const kAttributes[] = {
    "pos", "relativepos", "float", "padding", "width", "height", "minwidth", "maxwidth", "minheight", "maxheight",
    "bkcolor", "bkcolor2", "bordercolor", "bordersize", "borderround", "bkimage", "name", "text", "tooltip",
    "visible", "enabled", "mouse", "keyboard", "shortcut", "inset", "childpadding", "vscrollbar", "hscrollbar",
    "sepwidth", "sepheight", "selectedid", "columns", "itemsize", "xmlfile", "align", "font", "textcolor",
    "textpadding", "showhtml", "endellipsis", "normalimage", "hotimage", "pushedimage", "foreimage", "selected",
    "group", "selectedimage", "hor", "min", "max", "value", "step", "thumbsize", "thumbimage", "maxchar", "password",
    "readonly", "numberonly", "range", "linesize", "showbutton1", "clsid", "delaycreate", "modulename", "homepage",
    "autonavi", "source", "count", "size", "caption", "sizebox", "roundcorner", "mininfo", "maxinfo", "shadow",
    "bktrans", "alpha", "default", "bold", "restype", "mask", "corner", "dest", "fade", "hole", "xtiled" };

// One skin holding every tag of the builder's table, nested where they take children.
std::string EveryTag()
{
    std::string skin = "<Window size=\"400,300\" caption=\"0,0,0,30\"><Font name=\"Arial\" size=\"14\"/>"
                       "<Default name=\"Button\" value=\"textcolor=&quot;#FF0000FF&quot;\"/><VerticalLayout>";
    for (const char* tag : kTags) {
        skin += std::string("<") + tag + " name=\"" + tag + "\" text=\"{b}" + tag + "{/b}\" showhtml=\"true\" "
                "bkimage=\"file='close_n.png' corner='2,2,2,2'\" width=\"40\" height=\"20\" source=\"login.xml\"><Label "
                "text=\"in\"/></" + tag + ">";
    }
    return skin + "<ActiveX clsid=\"{not a class}\"/><TabLayout selectedid=\"1\"><Edit/><Slider/></TabLayout>"
                  "</VerticalLayout></Window>";
}

void Seeds(Inputs& seeds)
{
    seeds.push_back(EveryTag());
    AddFiles(seeds, "skin", L"*.xml");
    std::vector<std::string> marks;
    for (const char* tag : kTags) marks.push_back(std::string("<") + tag);
    AddTestLiterals(seeds, "tests/control", marks, "<Window><VerticalLayout>", "</VerticalLayout></Window>");
    AddTestLiterals(seeds, "tests/core", { "<Window" });
}

std::vector<std::string> Tokens()
{
    std::vector<std::string> tokens;
    for (const char* tag : kTags) {
        tokens.push_back(std::string("<") + tag + ">");
        tokens.push_back(std::string("<") + tag + " ");
        tokens.push_back(std::string("</") + tag + ">");
    }
    for (const char* attribute : kAttributes) tokens.push_back(std::string(" ") + attribute + "=\"");
    return tokens;
}

bool Run(const BYTE* data, size_t size)
{
    static CHostWindow* s_pWindow = NULL;
    if (s_pWindow == NULL) {
        s_pWindow = new CHostWindow;
        s_pWindow->Open(kCanvasWidth, kCanvasHeight);
    }
    // A manager of its own for each input, so a saved input fails the same way when replayed alone.
    CPaintManagerUI::SetResourcePath(SourcePath("skin").c_str());
    CPaintManagerUI* pManager = new CPaintManagerUI;
    pManager->Init(s_pWindow->GetHWND());
    s_pWindow->SetManager(pManager);
    CDialogBuilder builder;
    bool accepted = false;
    if (builder.GetMarkup()->LoadFromMem(data, static_cast<DWORD>(size))) {
        CControlUI* pRoot = builder.Create(static_cast<IDialogBuilderCallback*>(NULL), pManager);
        if (pRoot != NULL) {
            pManager->AttachDialog(pRoot);
            s_pWindow->LayoutAndPrint(kCanvasWidth, kCanvasHeight);
            s_pWindow->LayoutAndPrint(400, 300);
            s_pWindow->LayoutAndPrint(1, 1);
            // Again at a display scale: lengths, fonts and pictures made for 175 %.
            pManager->SetDPI(168);
            s_pWindow->LayoutAndPrint(kCanvasWidth, kCanvasHeight);
            accepted = true;
        }
    }
    CHostWindow::Pump();
    s_pWindow->SetManager(NULL);
    delete pManager;
    return accepted;
}

} // namespace

TTarget BuilderTarget()
{
    return { "builder", Seeds, Tokens(), 64 * 1024, Run };
}

} // namespace Fuzz
