// Test helper: the launcher started from outside (a child process), its configuration and client name.
#pragma once

#include "veneer/core/UISetup.h"
#include "app/ClientConfig.h"
#include "support/ChildProcess.h"

#include <string>

typedef CChildProcess CLauncherProcess;

// Reads the configuration packed into a launcher executable; false when it has none.
bool LoadLauncherConfig(const std::wstring& path, CMicroClientConfig& config);
// Waits until no launcher of the client name holds its single-instance mutex; false on timeout.
bool WaitForFreeClientName(LPCWSTR pstrClientName, DWORD dwMillis);
