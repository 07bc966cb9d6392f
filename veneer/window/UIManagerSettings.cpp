// Process-wide resource settings of the paint manager: modules, folders and the resource archive.
#include "veneer/core/UISetup.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

namespace {

const wchar_t kMemoryArchiveName[] = L"membuffer";

} // namespace

HINSTANCE CPaintManagerUI::m_hInstance = NULL;
HINSTANCE CPaintManagerUI::m_hResourceInstance = NULL;
CUIString CPaintManagerUI::m_pStrResourcePath;
CUIString CPaintManagerUI::m_pStrResourceZip;
bool CPaintManagerUI::m_bCachedResourceZip = false;
HZIP CPaintManagerUI::m_hResourceZip = NULL;

HINSTANCE CPaintManagerUI::GetInstance()
{
    return m_hInstance;
}

void CPaintManagerUI::SetInstance(HINSTANCE hInst)
{
    m_hInstance = hInst;
}

HINSTANCE CPaintManagerUI::GetResourceDll()
{
    return m_hResourceInstance != NULL ? m_hResourceInstance : m_hInstance;
}

void CPaintManagerUI::SetResourceDll(HINSTANCE hInst)
{
    m_hResourceInstance = hInst;
}

CUIString CPaintManagerUI::GetInstancePath()
{
    if( m_hInstance == NULL ) return CUIString();
    // A module in a long path is not cut short: the buffer grows until the name fits.
    DWORD capacity = MAX_PATH;
    for( ;; ) {
        wchar_t* buffer = new (std::nothrow) wchar_t[capacity];
        if( buffer == NULL ) return CUIString();
        const DWORD length = ::GetModuleFileNameW(m_hInstance, buffer, capacity);
        if( length == 0 || (length >= capacity && capacity >= 32768) ) {
            delete[] buffer;
            return CUIString();
        }
        if( length >= capacity ) {
            delete[] buffer;
            capacity *= 2;
            continue;
        }
        wchar_t* slash = ::wcsrchr(buffer, L'\\');
        CUIString folder(buffer, slash != NULL ? (int)(slash - buffer) + 1 : 0);
        delete[] buffer;
        return folder;
    }
}

CUIString CPaintManagerUI::GetCurrentPath()
{
    const DWORD capacity = ::GetCurrentDirectoryW(0, NULL);
    if( capacity == 0 ) return CUIString();
    wchar_t* buffer = new (std::nothrow) wchar_t[capacity];
    if( buffer == NULL ) return CUIString();
    const DWORD length = ::GetCurrentDirectoryW(capacity, buffer);
    CUIString path(length > 0 && length < capacity ? buffer : L"");
    delete[] buffer;
    return path;
}

bool CPaintManagerUI::SetCurrentPath(LPCWSTR pStrPath)
{
    return pStrPath != NULL && ::SetCurrentDirectoryW(pStrPath) != FALSE;
}

const CUIString& CPaintManagerUI::GetResourcePath()
{
    return m_pStrResourcePath;
}

void CPaintManagerUI::SetResourcePath(LPCWSTR pStrPath)
{
    m_pStrResourcePath = pStrPath;
    if( m_pStrResourcePath.IsEmpty() ) return;
    const wchar_t last = m_pStrResourcePath.GetAt(m_pStrResourcePath.GetLength() - 1);
    if( last != L'\\' && last != L'/' ) m_pStrResourcePath += L'\\';
}

const CUIString& CPaintManagerUI::GetResourceZip()
{
    return m_pStrResourceZip;
}

bool CPaintManagerUI::IsCachedResourceZip()
{
    return m_bCachedResourceZip;
}

HZIP CPaintManagerUI::GetResourceZipHandle()
{
    return m_hResourceZip;
}

void CPaintManagerUI::SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip)
{
    const CUIString name(pStrZip);
    // The same setting again keeps the open archive; one that failed to open is tried anew.
    if( m_pStrResourceZip == name.GetData() && m_bCachedResourceZip == bCachedResourceZip &&
        (!bCachedResourceZip || m_hResourceZip != NULL) )
        return;
    CloseResourceZip();
    m_pStrResourceZip = name;
    m_bCachedResourceZip = bCachedResourceZip;
    if( bCachedResourceZip && !name.IsEmpty() ) {
        const CUIString path = m_pStrResourcePath + name;
        m_hResourceZip = ZipOpenFile(path.GetData());
    }
}

void CPaintManagerUI::SetResourceZip(LPVOID pVoid, unsigned int len)
{
    if( m_pStrResourceZip == kMemoryArchiveName ) return;
    if( pVoid == NULL || len == 0 ) return;
    CloseResourceZip();
    m_pStrResourceZip = kMemoryArchiveName;
    m_bCachedResourceZip = true;
    m_hResourceZip = ZipOpenMemory(pVoid, len);
}

void CPaintManagerUI::Term()
{
    CloseResourceZip();
}

void CPaintManagerUI::CloseResourceZip()
{
    if( m_bCachedResourceZip && m_hResourceZip != NULL ) ZipClose(m_hResourceZip);
    m_hResourceZip = NULL;
}

} // namespace Veneer
