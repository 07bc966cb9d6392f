// CCheckBoxUI: an option under its own class name, with check-box accessors.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIOption.h"

namespace Veneer {

class CCheckBoxUI : public COptionUI
{
public:
// Attributes
    LPCWSTR GetClass() const override;
    bool GetCheck() const;
    void SetCheck(bool bCheck);
};

} // namespace Veneer
