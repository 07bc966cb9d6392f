// CNotifyPump: virtual-window routing and the walk along a class's message-map chain.
#include "veneer/core/UISetup.h"
#include "veneer/window/UINotifyPump.h"
#include "veneer/control/UIControl.h"

namespace Veneer {

const UI_MSGMAP_ENTRY CNotifyPump::_messageEntries[] = {{NULL, NULL, MSGSIG_END, NULL, NULL}};
const UI_MSGMAP CNotifyPump::messageMap = {&CNotifyPump::_GetBaseMessageMap, &CNotifyPump::_messageEntries[0]};

const UI_MSGMAP* CNotifyPump::_GetBaseMessageMap()
{
    return NULL;
}

const UI_MSGMAP* CNotifyPump::GetMessageMap() const
{
    return &CNotifyPump::messageMap;
}

bool CNotifyPump::AddVirtualWnd(CUIString strName, CNotifyPump* pObject)
{
    if (m_VirtualWndMap.Find(strName) != NULL) {
        return false;
    }
    m_VirtualWndMap.Insert(strName, pObject);
    return true;
}

bool CNotifyPump::RemoveVirtualWnd(CUIString strName)
{
    if (m_VirtualWndMap.Find(strName) == NULL) {
        return false;
    }
    return m_VirtualWndMap.Remove(strName);
}

void CNotifyPump::NotifyPump(TNotifyUI& msg)
{
    if (!msg.sVirtualWnd.IsEmpty()) {
        for (int i = 0; i < m_VirtualWndMap.GetSize(); i++) {
            LPCWSTR key = m_VirtualWndMap.GetAt(i);
            if (key == NULL || msg.sVirtualWnd.CompareNoCase(key) != 0) {
                continue;
            }
            CNotifyPump* pObject = static_cast<CNotifyPump*>(m_VirtualWndMap.Find(key, false));
            if (pObject != NULL && pObject->LoopDispatch(msg)) {
                return;
            }
        }
    }
    LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg)
{
    const CUIString senderName = msg.pSender != NULL ? msg.pSender->GetName() : CUIString();
    for (const UI_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap != NULL ? pMap->pfnGetBaseMap() : NULL) {
        const UI_MSGMAP_ENTRY* pFound = NULL;
        for (const UI_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry != NULL && pEntry->nSig != MSGSIG_END;
             ++pEntry) {
            if (msg.sType != pEntry->sMsgType) {
                continue;
            }
            // A row for this very control wins at once; of the rows for any control, the last counts.
            if (pEntry->sCtrlName != NULL && pEntry->sCtrlName[0] != L'\0') {
                if (senderName == pEntry->sCtrlName) {
                    pFound = pEntry;
                    break;
                }
            } else {
                pFound = pEntry;
            }
        }
        if (pFound == NULL) {
            continue;
        }
        switch (pFound->nSig) {
        case MSGSIG_PARAMS:
            if (pFound->pfnParams == NULL) {
                return false;
            }
            (this->*(pFound->pfnParams))(msg.wParam, msg.lParam);
            return true;
        case MSGSIG_NOTIFY:
            if (pFound->pfnNotify == NULL) {
                return false;
            }
            (this->*(pFound->pfnNotify))(msg);
            return true;
        default:
            return false;
        }
    }
    return false;
}

} // namespace Veneer
