// Fuzz target: image description strings (and their modifiers) drawn through a paint manager.
#include "veneer/core/UISetup.h"
#include "fuzz/FuzzTargets.h"

#include "support/GuardedBlock.h"

using namespace Veneer;

namespace Fuzz {

namespace {

// The values of the image attributes in the skins: the text after each "image=\"" up to its quote.
void SkinImageValues(Inputs& seeds)
{
    Inputs skins;
    AddFiles(skins, "skin", L"*.xml");
    for (const std::string& skin : skins) {
        for (size_t at = skin.find("image=\""); at != std::string::npos; at = skin.find("image=\"", at + 1)) {
            const size_t begin = at + 7;
            const size_t end = skin.find('"', begin);
            if (end != std::string::npos) seeds.push_back(skin.substr(begin, end - begin));
        }
    }
}

void Seeds(Inputs& seeds)
{
    SkinImageValues(seeds);
    AddTestLiterals(seeds, "tests/render", { "file=", "source=", "dest=", "corner=", ".png" });
    // An image with a modifier behind a NUL, as controls pass the two.
    seeds.push_back(std::string("file='close_n.png' corner='4,4,4,4'\0dest='0,0,20,20' fade='128'", 63));
}

// Drawn into a canvas through one manager for the whole run: its cache holds the skin's images once.
bool Run(const BYTE* data, size_t size)
{
    static CHostWindow* s_pWindow = NULL;
    static CPaintManagerUI* s_pManager = NULL;
    if (s_pWindow == NULL) {
        s_pWindow = new CHostWindow;
        s_pWindow->Open(400, 300);
        s_pManager = new CPaintManagerUI;
        s_pManager->Init(s_pWindow->GetHWND());
    }
    CPaintManagerUI::SetResourcePath(SourcePath("skin").c_str());
    const BYTE* nul = static_cast<const BYTE*>(memchr(data, 0, size));
    const size_t imageSize = nul != NULL ? static_cast<size_t>(nul - data) : size;
    CGuardedText image(Widen(data, imageSize));
    CGuardedText modify(nul != NULL ? Widen(nul + 1, size - imageSize - 1) : std::wstring());
    s_pWindow->ClearCanvas();
    const RECT rects[] = { { 0, 0, 400, 300 }, { 10, 10, 11, 11 }, { 300, 200, 10, 10 } };
    for (const RECT& rc : rects) {
        CRenderEngine::DrawImageString(s_pWindow->GetCanvas(), s_pManager, rc, rects[0], image.Get(),
                                       nul != NULL ? modify.Get() : NULL);
    }
    CHostWindow::Pump();
    return s_pWindow->CanvasChanged();
}

} // namespace

TTarget ImageStringTarget()
{
    return { "imagestring", Seeds,
             { "file='", "close_n.png", "loginBg.png", "' ", "res='", "restype='", "source='", "dest='", "corner='",
               "mask='#", "fade='", "hole='true'", "xtiled='true'", "ytiled='true'", "0,0,2147483647,2147483647",
               "-2147483648,-5,5,5", std::string(1, '\0') },
             8 * 1024, Run };
}

} // namespace Fuzz
