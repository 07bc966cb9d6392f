// CPaintManagerUI: the per-window paint manager and the process-wide resource settings it keeps.
#pragma once

#include "veneer/core/UISetup.h"
#include "veneer/core/UIString.h"
#include "veneer/render/UIZip.h"

namespace Veneer {

class CPaintManagerUI
{
public:
    // Resource settings (process-wide)
    static HINSTANCE GetInstance();
    static void SetInstance(HINSTANCE hInst);
    // The resource module, or the program module when none is set.
    static HINSTANCE GetResourceDll();
    static void SetResourceDll(HINSTANCE hInst);
    // Folder of the program module's file, with a trailing backslash; empty without a module.
    static CUIString GetInstancePath();
    static CUIString GetCurrentPath();
    static bool SetCurrentPath(LPCWSTR pStrPath);
    static const CUIString& GetResourcePath();
    // Stores the folder with a trailing separator ("\\" is added unless it ends in "\\" or "/").
    static void SetResourcePath(LPCWSTR pStrPath);
    static const CUIString& GetResourceZip();
    static bool IsCachedResourceZip();
    // The open archive when it is cached, else null.
    static HZIP GetResourceZipHandle();
    // An archive file in the resource folder, kept open when cached.
    static void SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip = true);
    // An archive in memory, named "membuffer"; only the first one is taken. Not copied: the block
    // must stay valid while the archive is in use.
    static void SetResourceZip(LPVOID pVoid, unsigned int len);
    // Releases what the process-wide settings hold open.
    static void Term();

    // Implementation: process-wide resource settings
private:
    static void CloseResourceZip();

    static HINSTANCE m_hInstance;
    static HINSTANCE m_hResourceInstance;
    static CUIString m_pStrResourcePath;
    static CUIString m_pStrResourceZip;
    static bool m_bCachedResourceZip;
    static HZIP m_hResourceZip;
};

} // namespace Veneer
