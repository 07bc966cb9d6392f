// CDateTimeUI and CDateTimeWnd: a label showing a date, picked in the system date picker placed over it.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UILabel.h"
#include "veneer/window/UIWindowWnd.h"

namespace Veneer {

class CDateTimeUI;

// The system date picker, superclassed, living over its owner only while a date is picked.
class CDateTimeWnd : public CWindowWnd
{
public:
// Construction
    CDateTimeWnd();
    // Creates the picker over the owner if needed, shows the owner's date and takes the keyboard
    // focus; false when the picker cannot be created.
    bool Init(CDateTimeUI* pOwner);

// Attributes
    LPCWSTR GetWindowClass() const override;
    LPCWSTR GetSuperClassName() const override;

// Overridables
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

// Implementation
protected:
    friend class CDateTimeUI;

    CDateTimeUI* m_pOwner;
    HBRUSH m_hBkBrush;
    bool m_bInit;
    // The pending close comes from a focus loss, which a reopening may have undone.
    bool m_bCloseOnFocusLoss;
};

class CDateTimeUI : public CLabelUI
{
public:
    // How the picker ended.
    enum
    {
        UPDATE_NONE = 0,
        UPDATE_DATE = 1,
        UPDATE_CLEARED = 2,
        UPDATE_CANCELLED = 3
    };

// Construction
    CDateTimeUI();
    ~CDateTimeUI() override;

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;

    SYSTEMTIME& GetTime();
    // Stores the date; the text follows only when the picker next closes with a date.
    void SetTime(SYSTEMTIME* pst);
    void SetReadOnly(bool bReadOnly);
    bool IsReadOnly() const;
    int GetUpdateState() const;
    // The picker window while picking, else null.
    HWND GetNativeWindow() const;

// Operations
    // Shows the date (state "date"), empties the text (state "cleared"), else leaves it.
    void UpdateText();

// Overridables
    // The open picker follows the control, as when the window's DPI changes.
    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;

// Implementation
protected:
    friend class CDateTimeWnd;

    // Creates the picker unless it exists, then opens it on the current date; true when it exists.
    bool OpenPicker();

    SYSTEMTIME m_sysTime;
    int m_nDTUpdateFlag;
    bool m_bReadOnly;
    CDateTimeWnd* m_pWindow;
};

} // namespace Veneer
