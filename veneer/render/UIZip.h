// Handle-based reader for zip archives in a file or a memory block (stored and deflated entries).
#pragma once

#include "veneer/core/UISetup.h"

namespace Veneer {

// Opaque archive handle, valid from ZipOpenFile/ZipOpenMemory until ZipClose.
DECLARE_HANDLE(HZIP);

typedef DWORD ZRESULT;

// Result codes of ZipFindEntry, ZipExtractToMemory and ZipClose.
const ZRESULT ZIP_OK           = 0x00000000;  // success
const ZRESULT ZIP_NOT_FOUND    = 0x00000500;  // no entry of that name
const ZRESULT ZIP_MORE         = 0x00000600;  // bytes were delivered; callers treat it as success
const ZRESULT ZIP_CORRUPT      = 0x00000700;  // headers disagree, or sizes the archive cannot hold
const ZRESULT ZIP_READ_FAILED  = 0x00000800;  // reading the archive failed
const ZRESULT ZIP_BAD_ARGS     = 0x00010000;  // null handle, index out of range, null buffer
const ZRESULT ZIP_WRONG_HANDLE = 0x00080000;  // the handle is not an open archive
const ZRESULT ZIP_NOTHING      = 0x05000000;  // extraction produced nothing usable

// What ZipFindEntry reports about an entry.
struct ZipEntryInfo
{
    int index;                 // position in the central directory, -1 when not found
    wchar_t name[260];         // stored name, converted with the ANSI code page
    DWORD attributes;          // FILE_ATTRIBUTE_* bits
    FILETIME accessTime;
    FILETIME createTime;
    FILETIME modifyTime;
    DWORD compressedSize;
    DWORD uncompressedSize;
};

// Opens an archive file; null when it cannot be opened or holds no valid zip directory.
HZIP ZipOpenFile(LPCWSTR path);
// Opens an archive held in memory. The block is not copied: it must outlive the handle.
HZIP ZipOpenMemory(const void* data, unsigned int length);
// Finds an entry by name ("\\" matches "/"; ignoreCase folds ASCII letters only). An entry whose
// local header disagrees with the directory, or whose sizes cannot be right, gives ZIP_CORRUPT.
ZRESULT ZipFindEntry(HZIP zip, LPCWSTR name, bool ignoreCase, int* index, ZipEntryInfo* info);
// Delivers the next min(length, remaining) bytes of entry `index`: ZIP_MORE while bytes come,
// ZIP_OK once the entry is exhausted, ZIP_NOTHING when its data are unreadable, end early, do not
// inflate or do not match the entry's CRC-32.
ZRESULT ZipExtractToMemory(HZIP zip, int index, void* buffer, unsigned int length);
// Frees the reader and closes its file; a memory block stays the caller's.
ZRESULT ZipClose(HZIP zip);

} // namespace Veneer
