// Browser emulation: the document mode the system browser control uses for this program's pages.
#pragma once

#include "veneer/core/UISetup.h"

// The newest document mode: pages render with today's standards whatever their doctype says.
const DWORD kBrowserModeNewest = 11001;
// A mode of 0 leaves the registry alone; the browser control then renders in its legacy mode.
const DWORD kBrowserModeNone = 0;

// The per-user key under HKEY_CURRENT_USER whose values name programs and hold their modes.
extern const wchar_t kBrowserEmulationKey[];

// Reads the configuration's browser mode: one of the browser's document modes as a decimal number, or
// "none" or "0" for none (white space around it is allowed). False for anything else.
bool ParseBrowserMode(LPCWSTR pstrValue, DWORD& dwMode);

// What SetBrowserEmulation did.
enum EBrowserEmulation
{
    BROWSER_EMULATION_WRITTEN,  // the mode is now stored for the program
    BROWSER_EMULATION_KEPT,     // a value for the program was there already and is left as it is
    BROWSER_EMULATION_NONE,     // mode 0: nothing to write
    BROWSER_EMULATION_FAILED,   // the key could not be opened or the value not written
};

// Stores dwMode for the program file name pstrExeName in the current user's hive, unless the program
// has a value there already. Must run before the process creates its first browser object.
EBrowserEmulation SetBrowserEmulation(LPCWSTR pstrExeName, DWORD dwMode);
// The same for the running executable's file name.
EBrowserEmulation SetBrowserEmulation(DWORD dwMode);
