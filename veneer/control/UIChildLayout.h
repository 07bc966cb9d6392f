// CChildLayoutUI: a container that fills itself from its own skin file when it is initialised.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIContainer.h"

namespace Veneer {

class CChildLayoutUI : public CContainerUI
{
public:
// Construction
    CChildLayoutUI();

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetChildLayoutXML(LPCWSTR pstrXML);
    CUIString GetChildLayoutXML() const;

// Overridables
    // Builds the skin file and adds its root as a child; a file that cannot be built leaves no children.
    void Init() override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

// Implementation
protected:
    // Whether this file is already being built further out, or the chain of nested files is too long.
    bool IsNestedTooDeep() const;

    CUIString m_pstrXMLFile;
    // The child layout whose file was being built when this one started building its own.
    const CChildLayoutUI* m_pOuterBuild;

    static const CChildLayoutUI* s_pBuilding;
};

} // namespace Veneer
