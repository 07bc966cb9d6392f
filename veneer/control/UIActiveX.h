// CActiveXUI: a control that hosts an in-place OLE control object, windowless or in a child window.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UIControl.h"

namespace Veneer {

class CActiveXCtrl;
class CActiveXWnd;

class CActiveXUI : public CControlUI, public IMessageFilterUI
{
    friend class CActiveXCtrl;
    friend class CActiveXWnd;

public:
// Construction
    CActiveXUI();
    ~CActiveXUI() override;

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    HWND GetHostWindow() const;

    bool IsDelayCreate() const;
    void SetDelayCreate(bool bDelayCreate = true);

    CLSID GetClisd() const;
    CUIString GetModuleName() const;
    void SetModuleName(LPCWSTR pstrText);

// Operations
    // A class id in braces or a programmatic id; false when the text does not resolve.
    bool CreateControl(LPCWSTR pstrCLSID);
    bool CreateControl(const CLSID clsid);
    // The hosted object's interface: E_POINTER for a null out, E_PENDING while nothing is created.
    HRESULT GetControl(const IID iid, LPVOID* ppRet);

// Overridables
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetPos(RECT rc) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // Window messages for a windowless object (registered as a message filter while it is active).
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

protected:
    virtual void ReleaseControl();
    virtual bool DoCreateControl();

// Implementation
    // Shows or hides a windowed object's child window after the control's visibility.
    void SyncHostWindowVisibility();

    CLSID m_clsid;
    CUIString m_sModuleName;
    bool m_bCreated;
    bool m_bDelayCreate;
    IOleObject* m_pUnk;
    CActiveXCtrl* m_pControl;
    HWND m_hwndHost;
};

} // namespace Veneer
