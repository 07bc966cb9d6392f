// CHorizontalLayoutUI: the box layout along x, with its separator width.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIHorizontalLayout.h"
#include "veneer/control/UIAttribute.h"

namespace Veneer {

namespace {

// Only the horizontal scroll position shifts the children, an empty box hands its scroll bars the
// rectangle less the inset alone, and the separator strip may reach outside the box.
const TBoxAxis kHorizontal = { false, false, false, false };

} // namespace

CHorizontalLayoutUI::CHorizontalLayoutUI() : CBoxLayoutUI(kHorizontal)
{
}

LPCWSTR CHorizontalLayoutUI::GetClass() const
{
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && ::wcscmp(name, L"HorizontalLayout") == 0) return static_cast<CHorizontalLayoutUI*>(this);
    return CBoxLayoutUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetSepWidth(int width)
{
    m_iSepSize = width;
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_iSepSize;
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name != NULL && ::wcscmp(name, L"sepwidth") == 0) SetSepWidth(CUIAttribute::ParseExtent(value ? value : L""));
    else CBoxLayoutUI::SetAttribute(name, value);
}

} // namespace Veneer
