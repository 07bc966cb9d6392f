// Reading skin files: a loose file under the resource folder, or an entry of the resource archive.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIResourceFile.h"
#include "veneer/render/UIZip.h"
#include "veneer/window/UIManager.h"

namespace Veneer {

CUIBuffer::CUIBuffer() : m_pData(NULL), m_dwSize(0)
{
}

CUIBuffer::~CUIBuffer()
{
    Free();
}

BYTE* CUIBuffer::GetData() const
{
    return m_pData;
}

DWORD CUIBuffer::GetSize() const
{
    return m_dwSize;
}

bool CUIBuffer::IsEmpty() const
{
    return m_dwSize == 0;
}

bool CUIBuffer::Allocate(DWORD size)
{
    Free();
    const DWORD terminator = 2;
    if( size > MAXDWORD - terminator ) return false;
    m_pData = new (std::nothrow) BYTE[(size_t)size + terminator]();
    if( m_pData == NULL ) return false;
    m_dwSize = size;
    return true;
}

void CUIBuffer::Free()
{
    delete[] m_pData;
    m_pData = NULL;
    m_dwSize = 0;
}

BYTE* CUIBuffer::Detach()
{
    BYTE* data = m_pData;
    m_pData = NULL;
    m_dwSize = 0;
    return data;
}

UIResourceError ReadDiskFile(LPCWSTR path, DWORD maxSize, CUIBuffer& out)
{
    out.Free();
    if( path == NULL || path[0] == 0 ) return UIRES_OPEN_FAILED;
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if( file == INVALID_HANDLE_VALUE ) return UIRES_OPEN_FAILED;
    UIResourceError result = UIRES_OK;
    LARGE_INTEGER size;
    if( !::GetFileSizeEx(file, &size) ) result = UIRES_READ_FAILED;
    else if( size.QuadPart == 0 ) result = UIRES_EMPTY;
    else if( size.QuadPart > MAXDWORD || (maxSize != 0 && size.QuadPart > maxSize) ) result = UIRES_TOO_LARGE;
    else if( !out.Allocate((DWORD)size.QuadPart) ) result = UIRES_TOO_LARGE;
    else {
        DWORD read = 0;
        if( !::ReadFile(file, out.GetData(), out.GetSize(), &read, NULL) || read != out.GetSize() )
            result = UIRES_READ_FAILED;
    }
    ::CloseHandle(file);
    if( result != UIRES_OK ) out.Free();
    return result;
}

namespace {

UIResourceError ReadArchiveEntry(HZIP zip, LPCWSTR name, DWORD maxSize, CUIBuffer& out)
{
    int index = -1;
    ZipEntryInfo info;
    if( ZipFindEntry(zip, name, true, &index, &info) != ZIP_OK ) return UIRES_ZIP_NOT_FOUND;
    if( info.uncompressedSize == 0 ) return UIRES_EMPTY;
    if( maxSize != 0 && info.uncompressedSize > maxSize ) return UIRES_TOO_LARGE;
    if( !out.Allocate(info.uncompressedSize) ) return UIRES_TOO_LARGE;
    const ZRESULT result = ZipExtractToMemory(zip, index, out.GetData(), out.GetSize());
    if( result != ZIP_OK && result != ZIP_MORE ) {
        out.Free();
        return UIRES_UNZIP_FAILED;
    }
    return UIRES_OK;
}

} // namespace

UIResourceError ReadSkinFile(LPCWSTR name, DWORD maxSize, CUIBuffer& out)
{
    out.Free();
    if( name == NULL || name[0] == 0 ) return UIRES_OPEN_FAILED;
    const CUIString& archive = CPaintManagerUI::GetResourceZip();
    if( archive.IsEmpty() ) {
        const CUIString path = CPaintManagerUI::GetResourcePath() + name;
        return ReadDiskFile(path.GetData(), maxSize, out);
    }
    if( CPaintManagerUI::IsCachedResourceZip() ) {
        HZIP zip = CPaintManagerUI::GetResourceZipHandle();
        if( zip == NULL ) return UIRES_ZIP_OPEN_FAILED;
        return ReadArchiveEntry(zip, name, maxSize, out);
    }
    const CUIString path = CPaintManagerUI::GetResourcePath() + archive;
    HZIP zip = ZipOpenFile(path.GetData());
    if( zip == NULL ) return UIRES_ZIP_OPEN_FAILED;
    const UIResourceError result = ReadArchiveEntry(zip, name, maxSize, out);
    ZipClose(zip);
    return result;
}

} // namespace Veneer
