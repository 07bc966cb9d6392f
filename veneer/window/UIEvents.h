// Events, notifications, search flags and listener interfaces shared by the paint manager and controls.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"

namespace Veneer {

class CControlUI;

// Event types; controls test 2 < type < 7 for keyboard and 8 < type < 19 for mouse events.
enum UIEventType
{
    EVENT_FIRST = 1,
    EVENT_KEYBEGIN,
    EVENT_KEYDOWN,
    EVENT_KEYUP,
    EVENT_CHAR,
    EVENT_SYSKEY,
    EVENT_KEYEND,
    EVENT_MOUSEBEGIN,
    EVENT_MOUSEMOVE,
    EVENT_MOUSELEAVE,
    EVENT_MOUSEENTER,
    EVENT_MOUSEHOVER,
    EVENT_BUTTONDOWN,
    EVENT_BUTTONUP,
    EVENT_RBUTTONDOWN,
    EVENT_DBLCLICK,
    EVENT_CONTEXTMENU,
    EVENT_SCROLLWHEEL,
    EVENT_MOUSEEND,
    EVENT_KILLFOCUS,
    EVENT_SETFOCUS,
    EVENT_WINDOWSIZE,
    EVENT_SETCURSOR,
    EVENT_TIMER,
    EVENT_NOTIFY,
    EVENT_COMMAND,
    EVENT_LAST
};

// Search flags of CControlUI::FindControl.
enum
{
    FIND_ALL = 0x00000000,
    FIND_VISIBLE = 0x00000001,
    FIND_ENABLED = 0x00000002,
    FIND_HIT_TEST = 0x00000004,
    FIND_TOP_FIRST = 0x00000008,
    FIND_SELF_FIRST = 0x80000000
};

// Bits of CControlUI::GetControlFlags read by the paint manager.
enum
{
    UIFLAG_TABSTOP = 0x00000001,
    UIFLAG_SETCURSOR = 0x00000002,
    UIFLAG_WANTRETURN = 0x00000004
};

// Modifier and button bits of TEventUI::wKeyState besides the MK_ ones Windows defines.
enum
{
    UIKEYSTATE_ALT = 0x20
};

// One input event addressed to a control.
typedef struct tagTEventUI
{
    int Type;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    wchar_t chKey;
    WORD wKeyState;
    WPARAM wParam;
    LPARAM lParam;
} TEventUI;

// One notification from a control to the window's listeners.
typedef struct tagTNotifyUI
{
    CUIString sType;
    CUIString sVirtualWnd;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    WPARAM wParam;
    LPARAM lParam;
} TNotifyUI;

// Search callback of CControlUI::FindControl.
typedef CControlUI*(CALLBACK* FINDCONTROLPROC)(CControlUI*, LPVOID);

// Receives every notification of the paint manager it is registered with.
class INotifyUI
{
public:
    virtual ~INotifyUI() {}
    virtual void Notify(TNotifyUI& msg) = 0;
};

// May consume a window message before the paint manager routes it.
class IMessageFilterUI
{
public:
    virtual ~IMessageFilterUI() {}
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

// Hears of each attribute that a control attached to the manager does not know. The builder attaches
// every control while it applies the control's attributes, so skin checkers and previews learn of
// misspelt or misplaced attributes, which the controls themselves ignore. The builder reports the
// unknown attributes of a Window element too, with a null control.
class IUnknownAttributeUI
{
public:
    virtual ~IUnknownAttributeUI() {}
    virtual void UnknownAttribute(CControlUI* pControl, LPCWSTR pstrName, LPCWSTR pstrValue) = 0;
};

// Keyboard accelerator hook; S_OK means the message was consumed.
class ITranslateAccelerator
{
public:
    virtual ~ITranslateAccelerator() {}
    virtual LRESULT TranslateAccelerator(MSG* pMsg) = 0;
};

} // namespace Veneer
