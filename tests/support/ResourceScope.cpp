// Test helper: isolates a test from the paint manager's process-wide resource settings.
#include "veneer/core/UISetup.h"
#include "ResourceScope.h"

#include "veneer/window/UIManager.h"

using Veneer::CPaintManagerUI;

CResourceScope::CResourceScope() :
    m_hInstance(CPaintManagerUI::GetInstance()),
    m_sResourcePath(CPaintManagerUI::GetResourcePath())
{
    // GetResourceDll falls back to the instance; only a module of its own is worth restoring.
    HINSTANCE resource = CPaintManagerUI::GetResourceDll();
    m_hResourceInstance = resource != m_hInstance ? resource : NULL;
    ClearArchive();
    CPaintManagerUI::SetResourcePath(L"");
}

CResourceScope::~CResourceScope()
{
    ClearArchive();
    CPaintManagerUI::SetResourcePath(m_sResourcePath.GetData());
    CPaintManagerUI::SetInstance(m_hInstance);
    CPaintManagerUI::SetResourceDll(m_hResourceInstance);
}

void CResourceScope::ClearArchive()
{
    // A different setting closes a cached archive; the empty name means none.
    CPaintManagerUI::SetResourceZip(L"", false);
}
