// CCheckBoxUI: the check-box names of an option's selection.
#include "veneer/core/UISetup.h"
#include "veneer/control/UICheckBox.h"

namespace Veneer {

LPCWSTR CCheckBoxUI::GetClass() const
{
    return L"CheckBoxUI";
}

bool CCheckBoxUI::GetCheck() const
{
    return IsSelected();
}

void CCheckBoxUI::SetCheck(bool bCheck)
{
    Selected(bCheck);
}

} // namespace Veneer
