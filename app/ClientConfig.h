// The launcher's configuration record and its loading from the embedded XML resource.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"

// Resource id of the configuration document (resource type "XML").
const WORD kClientConfigResourceId = 104;

// Settings read once at start-up; rectangles are relative to the login frame's top-left corner.
class CMicroClientConfig
{
public:
    // Construction
    CMicroClientConfig();

    // Attributes
    Veneer::CUIString m_sLoginURL;        // stored only: the login web window opens the trailer's address
    Veneer::CUIString m_sPlayGameKeyWord; // a navigation to an address holding it switches to play
    Veneer::CUIString m_sClientName;      // game name, single-instance mutex name, tray tooltip
    RECT m_rcClose;                       // login frame's close button
    RECT m_rcMini;                        // login frame's minimise button
    RECT m_rcLoginWeb;                    // login web window within the login frame
    SIZE m_szLoginFrame;                  // client size of the login frame
    DWORD m_dwBrowserMode;                // document mode for the browser control; 0 sets none
};

// The process's configuration record.
CMicroClientConfig& GetClientConfig();

// Fills the process's record from the configuration resource of CPaintManagerUI::GetResourceDll().
void LoadClientConfig();
// Fills config the same way. A missing resource or a malformed document leaves it untouched and
// returns false.
bool LoadClientConfig(CMicroClientConfig& config);
// Fills config from the bytes of a configuration document (UTF-8, with or without a byte-order mark);
// false, config untouched, when they are not well-formed XML.
bool LoadClientConfig(CMicroClientConfig& config, const BYTE* pBytes, DWORD nBytes);
