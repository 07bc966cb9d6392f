// Reading skin files: a loose file under the resource folder, or an entry of the resource archive.
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

enum UIResourceError
{
    UIRES_OK = 0,
    UIRES_OPEN_FAILED,     // loose file cannot be opened
    UIRES_EMPTY,           // file or archive entry of size 0
    UIRES_TOO_LARGE,       // above the caller's limit
    UIRES_READ_FAILED,     // short read
    UIRES_ZIP_OPEN_FAILED, // archive cannot be opened
    UIRES_ZIP_NOT_FOUND,   // no such entry
    UIRES_UNZIP_FAILED     // extraction result other than 0 / 0x600
};

// Owned, non-copyable byte block. Two zero bytes follow the data, so text read into it is
// terminated whatever its encoding.
class CUIBuffer
{
public:
    // Construction
    CUIBuffer();
    ~CUIBuffer();
    CUIBuffer(const CUIBuffer&) = delete;
    CUIBuffer& operator=(const CUIBuffer&) = delete;

    // Attributes
    BYTE* GetData() const;
    DWORD GetSize() const;
    bool IsEmpty() const;

    // Operations
    // Replaces the contents with `size` zero bytes; false (and empty) when memory is short.
    bool Allocate(DWORD size);
    void Free();
    // Hands the block to the caller, who releases it with delete[]; the buffer is empty after.
    BYTE* Detach();

    // Implementation
private:
    BYTE* m_pData;
    DWORD m_dwSize;
};

// Skin file `name` from the resource folder, or from the resource archive when one is set.
// maxSize 0 = no limit. Checks in this order: open, size 0, too large, read.
UIResourceError ReadSkinFile(LPCWSTR name, DWORD maxSize, CUIBuffer& out);
// A file on disk by its full path (the image loader's last resort).
UIResourceError ReadDiskFile(LPCWSTR path, DWORD maxSize, CUIBuffer& out);

} // namespace Veneer
