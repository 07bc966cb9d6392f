// Message maps and CNotifyPump: routing notifications to handler methods by type and control name.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"
#include "veneer/core/UIStringPtrMap.h"
#include "veneer/window/UIEvents.h"

namespace Veneer {

class CNotifyPump;

// How an entry's handler is called.
enum UI_MSGSIG
{
    MSGSIG_END = 0,    // ends a table
    MSGSIG_PARAMS = 1, // handler(WPARAM, LPARAM)
    MSGSIG_NOTIFY = 2  // handler(TNotifyUI&)
};

typedef void (CNotifyPump::*UI_PMSG_NOTIFY)(TNotifyUI& msg);
typedef void (CNotifyPump::*UI_PMSG_PARAMS)(WPARAM wParam, LPARAM lParam);

// One row of a message map: notification type, control name ("" = any control), how to call, handler.
// The texts are plain pointers so tables are constant data, built before any code runs.
struct UI_MSGMAP_ENTRY
{
    LPCWSTR sMsgType;
    LPCWSTR sCtrlName;
    UINT nSig;
    UI_PMSG_NOTIFY pfnNotify;
    UI_PMSG_PARAMS pfnParams;
};

// A class's map: its entries and a way to reach its base class's map.
struct UI_MSGMAP
{
    const UI_MSGMAP* (*pfnGetBaseMap)();
    const UI_MSGMAP_ENTRY* lpEntries;
};

#define UI_DECLARE_MESSAGE_MAP()                                                                     \
private:                                                                                             \
    static const ::Veneer::UI_MSGMAP_ENTRY _messageEntries[];                                        \
                                                                                                     \
protected:                                                                                           \
    static const ::Veneer::UI_MSGMAP messageMap;                                                     \
    static const ::Veneer::UI_MSGMAP* _GetBaseMessageMap();                                          \
    const ::Veneer::UI_MSGMAP* GetMessageMap() const override;                                       \
                                                                                                     \
private:

#define UI_BEGIN_MESSAGE_MAP(theClass, baseClass)                                                    \
    const ::Veneer::UI_MSGMAP* theClass::_GetBaseMessageMap() { return &baseClass::messageMap; }    \
    const ::Veneer::UI_MSGMAP* theClass::GetMessageMap() const { return &theClass::messageMap; }    \
    const ::Veneer::UI_MSGMAP theClass::messageMap = {&theClass::_GetBaseMessageMap,                \
                                                      &theClass::_messageEntries[0]};               \
    const ::Veneer::UI_MSGMAP_ENTRY theClass::_messageEntries[] = {

// Handlers are given as full member pointers (&CMyWnd::OnClick) of a class derived from CNotifyPump.
#define UI_ON_MSGTYPE(msgtype, memberFxn)                                                            \
    {msgtype, L"", ::Veneer::MSGSIG_NOTIFY,                                                          \
     static_cast<::Veneer::UI_PMSG_NOTIFY>(memberFxn), NULL},
#define UI_ON_MSGTYPE_CTRNAME(msgtype, ctrname, memberFxn)                                           \
    {msgtype, ctrname, ::Veneer::MSGSIG_NOTIFY,                                                      \
     static_cast<::Veneer::UI_PMSG_NOTIFY>(memberFxn), NULL},
#define UI_ON_CLICK_CTRNAME(ctrname, memberFxn) UI_ON_MSGTYPE_CTRNAME(L"click", ctrname, memberFxn)
#define UI_ON_PARAMS(msgtype, ctrname, memberFxn)                                                    \
    {msgtype, ctrname, ::Veneer::MSGSIG_PARAMS, NULL,                                                \
     static_cast<::Veneer::UI_PMSG_PARAMS>(memberFxn)},

#define UI_END_MESSAGE_MAP()                                                                         \
    {NULL, NULL, ::Veneer::MSGSIG_END, NULL, NULL}                                                   \
    }                                                                                                \
    ;

// Dispatches notifications through a class's map chain, or to a named virtual window's pump.
class CNotifyPump
{
public:
    // Construction
    CNotifyPump() {}
    virtual ~CNotifyPump() {}

    // Operations
    bool AddVirtualWnd(CUIString strName, CNotifyPump* pObject);
    bool RemoveVirtualWnd(CUIString strName);
    void NotifyPump(TNotifyUI& msg);
    bool LoopDispatch(TNotifyUI& msg);

    // Overridables
protected:
    virtual const UI_MSGMAP* GetMessageMap() const;

    // Implementation
    static const UI_MSGMAP_ENTRY _messageEntries[];
    static const UI_MSGMAP messageMap;
    static const UI_MSGMAP* _GetBaseMessageMap();

private:
    CStdStringPtrMap m_VirtualWndMap;
};

} // namespace Veneer
