// CHorizontalLayoutUI: stacks its children left to right and can act as a splitter along its left or right edge.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIBoxLayout.h"

namespace Veneer {

class CHorizontalLayoutUI : public CBoxLayoutUI
{
public:
    // Construction
    CHorizontalLayoutUI();

    // Attributes
    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR name);

    void SetSepWidth(int width);
    int GetSepWidth() const;

    // Overridables
    virtual void SetAttribute(LPCWSTR name, LPCWSTR value);
};

} // namespace Veneer
