// Fuzz target: formatted text drawn and measured, in every layout style a control asks for.
#include "veneer/core/UISetup.h"
#include "fuzz/FuzzTargets.h"

#include "support/GuardedBlock.h"

using namespace Veneer;

namespace Fuzz {

namespace {

// Fonts the manager starts with; those a text adds ({f Name size}) are dropped after each input.
const int kBaseFonts = 3;

void Seeds(Inputs& seeds)
{
    AddTestLiterals(seeds, "tests/render", { "{", "<" });
    AddTestLiterals(seeds, "tests/control", { "{b}", "{a", "{c", "{f", "{i", "{x", "{p", "<b>", "<a" });
}

bool Run(const BYTE* data, size_t size)
{
    static CHostWindow* s_pWindow = NULL;
    static CPaintManagerUI* s_pManager = NULL;
    if (s_pWindow == NULL) {
        s_pWindow = new CHostWindow;
        s_pWindow->Open(400, 300);
        s_pManager = new CPaintManagerUI;
        s_pManager->Init(s_pWindow->GetHWND());
        s_pManager->AddFont(L"Arial", 14, false, false, false);
        s_pManager->AddFont(L"Tahoma", 9, true, true, true);
        s_pManager->AddFont(L"Courier New", 30, false, false, true);
    }
    CPaintManagerUI::SetResourcePath(SourcePath("skin").c_str());
    CGuardedText text(Widen(data, size));
    s_pWindow->ClearCanvas();
    const UINT styles[] = { DT_SINGLELINE | DT_VCENTER, DT_WORDBREAK, DT_CALCRECT | DT_WORDBREAK,
                            DT_SINGLELINE | DT_END_ELLIPSIS | DT_RIGHT, DT_CALCRECT | DT_SINGLELINE,
                            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX };
    RECT links[4];
    CUIString linkTexts[4];
    for (UINT style : styles) {
        for (RECT rc : { RECT{ 0, 0, 400, 300 }, RECT{ 5, 5, 6, 40 }, RECT{ 100, 100, 0, 0 } }) {
            int linkCount = lengthof(links);
            CRenderEngine::DrawHtmlText(s_pWindow->GetCanvas(), s_pManager, rc, text.Get(), 0xFF102030, links,
                                        linkTexts, linkCount, style);
        }
        RECT rc = { 0, 0, 200, 100 };
        const int font = size > 0 ? static_cast<int>(data[0] % 6) - 1 : -1;
        CRenderEngine::DrawText(s_pWindow->GetCanvas(), s_pManager, rc, text.Get(), 0xFF000000, font, style);
        CRenderEngine::GetTextSize(s_pWindow->GetCanvas(), s_pManager, text.Get(), font, style);
    }
    while (s_pManager->GetCustomFontCount() > kBaseFonts) s_pManager->RemoveFontAt(kBaseFonts);
    CHostWindow::Pump();
    return s_pWindow->CanvasChanged();
}

} // namespace

TTarget FormattedTextTarget()
{
    return { "text", Seeds,
             { "{b}", "{/b}", "{i}", "{/i}", "{u}", "{/u}", "{s}", "{/s}", "{n}", "{r}", "{/r}", "{a ", "{a}", "{/a}",
               "{c #FF00FF00}", "{/c}", "{f 1}", "{f Arial 20 bold italic underline}", "{/f}", "{i close_n.png}",
               "{i close_n.png 2 1}", "{/i}", "{x 10}", "{y 20}", "{p}", "{p 5}", "{/p}", "<b>", "</b>", "<a x>",
               "</a>", "<c #GG>", "<f 2>", "<i loginBg.png>", "<x -5>", "<p>", "&", "\\{" },
             16 * 1024, Run };
}

} // namespace Fuzz
