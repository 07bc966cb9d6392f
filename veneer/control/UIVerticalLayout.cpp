// CVerticalLayoutUI: the box layout along y, with its separator height.
#include "veneer/core/UISetup.h"
#include "veneer/control/UIVerticalLayout.h"
#include "veneer/control/UIAttribute.h"

namespace Veneer {

namespace {

// Both scroll positions shift the children, an empty box hands its scroll bars the inner rectangle,
// and the separator strip stays inside the box.
const TBoxAxis kVertical = { true, true, true, true };

} // namespace

CVerticalLayoutUI::CVerticalLayoutUI() : CBoxLayoutUI(kVertical)
{
}

LPCWSTR CVerticalLayoutUI::GetClass() const
{
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && ::wcscmp(name, L"VerticalLayout") == 0) return static_cast<CVerticalLayoutUI*>(this);
    return CBoxLayoutUI::GetInterface(name);
}

void CVerticalLayoutUI::SetSepHeight(int height)
{
    m_iSepSize = height;
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return m_iSepSize;
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name != NULL && ::wcscmp(name, L"sepheight") == 0) SetSepHeight(CUIAttribute::ParseExtent(value ? value : L""));
    else CBoxLayoutUI::SetAttribute(name, value);
}

} // namespace Veneer
