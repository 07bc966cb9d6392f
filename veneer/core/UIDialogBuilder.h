// CDialogBuilder: turns a skin XML document into a detached control tree; IDialogBuilderCallback makes custom controls.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIMarkup.h"
#include "veneer/core/UIString.h"
#include "veneer/core/UIStringOrId.h"

namespace Veneer {

class CControlUI;
class CPaintManagerUI;

// Asked for every tag that neither the built-in classes nor the plug-ins know.
class IDialogBuilderCallback
{
public:
    // Overridables
    // A new control for the class name, or null to skip the element and its subtree.
    virtual CControlUI* CreateControl(LPCWSTR pstrClass) = 0;

protected:
    ~IDialogBuilderCallback() {}
};

// One builder per document: construct, Create, discard (the markup goes with the builder).
class CDialogBuilder
{
public:
    // Construction
    CDialogBuilder();

    // Operations
    // Loads the document (a resource id of the given type in the resource module, XML text starting
    // with '<', or a skin file name) and builds it; null when it cannot be loaded or yields no control.
    CControlUI* Create(STRINGorID xml, LPCWSTR type = NULL, IDialogBuilderCallback* pCallback = NULL,
                       CPaintManagerUI* pManager = NULL, CControlUI* pParent = NULL);
    // Builds the loaded document: registers its images, fonts, default lists and window settings with
    // the manager, adds the controls to pParent and returns the first control made under the root.
    CControlUI* Create(IDialogBuilderCallback* pCallback = NULL, CPaintManagerUI* pManager = NULL,
                       CControlUI* pParent = NULL);

    // Attributes
    CMarkup* GetMarkup();
    void GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const;
    void GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const;

    // Implementation
private:
    CDialogBuilder(const CDialogBuilder&);
    CDialogBuilder& operator=(const CDialogBuilder&);

    bool _IsIncludeCycle(const CUIString& sSource) const;
    void _RegisterResources(const CMarkupNode& root, CPaintManagerUI* pManager);
    void _ApplyWindowAttributes(const CMarkupNode& root, CPaintManagerUI* pManager);
    CControlUI* _Parse(const CMarkupNode& parent, CControlUI* pParent, CPaintManagerUI* pManager, int nDepth);
    void _Include(const CMarkupNode& node, CControlUI* pParent, CPaintManagerUI* pManager, int nDepth);
    CControlUI* _CreateControl(LPCWSTR pstrClass) const;

    CMarkup m_xml;
    IDialogBuilderCallback* m_pCallback;
    // Type of the resource the document came from; null unless it came from one. Includes reuse it.
    LPCWSTR m_pstrtype;

    // The include chain: the builder whose Include made this one, what this one loaded (a file name
    // or "#id"; empty for XML text) and the element depth its root's children sit at.
    CDialogBuilder* m_pIncluder;
    CUIString m_sSource;
    int m_nDepth;
    // Documents built through includes so far; kept by the builder at the top of the chain.
    int m_nIncluded;
};

} // namespace Veneer
