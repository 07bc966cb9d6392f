// CVerticalLayoutUI: stacks its children top to bottom and can act as a splitter along its top or bottom edge.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIBoxLayout.h"

namespace Veneer {

class CVerticalLayoutUI : public CBoxLayoutUI
{
public:
    // Construction
    CVerticalLayoutUI();

    // Attributes
    virtual LPCWSTR GetClass() const;
    virtual LPVOID GetInterface(LPCWSTR name);

    void SetSepHeight(int height);
    int GetSepHeight() const;

    // Overridables
    virtual void SetAttribute(LPCWSTR name, LPCWSTR value);
};

} // namespace Veneer
