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

// Stores dwMode for the running executable's file name in the current user's hive, unless a value of
// that name is there already or dwMode is 0. Must run before the process makes its first browser
// object. True when a value was written.
bool SetBrowserEmulation(DWORD dwMode);
