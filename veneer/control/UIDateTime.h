// CDateTimeUI and CDateTimeWnd: a label showing a date, picked in the system date picker placed over it.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/control/UINativeOverlay.h"

namespace Veneer {

class CDateTimeUI;

// The system date picker, superclassed, living over its owner only while a date is picked.
class CDateTimeWnd : public CNativeOverlayWnd<CDateTimeUI>
{
public:
// Construction
    // Creates the picker over the owner if needed, shows the owner's date and takes the keyboard
    // focus; false when the picker cannot be created.
    bool Init(CDateTimeUI* pOwner);

// Attributes
    LPCWSTR GetWindowClass() const override;
    LPCWSTR GetSuperClassName() const override;

// Implementation
protected:
    friend class CDateTimeUI;

    // The picked date is taken over unless the picker ended otherwise.
    void OnFocusLost() override;
    LRESULT HandleOwnedMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
};

class CDateTimeUI : public CNativeOverlayUI<CDateTimeUI, CDateTimeWnd>
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

// Attributes
    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    SYSTEMTIME& GetTime();
    // Stores the date; the text follows only when the picker next closes with a date.
    void SetTime(SYSTEMTIME* pst);
    void SetReadOnly(bool bReadOnly);
    bool IsReadOnly() const;
    int GetUpdateState() const;

// Operations
    // Shows the date (state "date"), empties the text (state "cleared"), else leaves it.
    void UpdateText();

// Overridables
    void DoEvent(TEventUI& event) override;

// Implementation
protected:
    friend class CDateTimeWnd;

    // Opens the picker again on the current date, or creates it.
    void OnNativeClick(const TEventUI& event) override;

    SYSTEMTIME m_sysTime;
    int m_nDTUpdateFlag;
    bool m_bReadOnly;
};

} // namespace Veneer
