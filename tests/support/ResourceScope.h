// Test helper: isolates a test from the paint manager's process-wide resource settings.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"

// Made: no resource folder and no archive. Destroyed: no archive again, and the folder and
// modules that were set before are put back.
class CResourceScope
{
public:
    // Construction
    CResourceScope();
    ~CResourceScope();
    CResourceScope(const CResourceScope&) = delete;
    CResourceScope& operator=(const CResourceScope&) = delete;

    // Operations
    // Closes and forgets any resource archive.
    static void ClearArchive();

private:
    HINSTANCE m_hInstance;
    HINSTANCE m_hResourceInstance;
    Veneer::CUIString m_sResourcePath;
};
