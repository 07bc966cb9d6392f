// Zip reader: finds the central directory, walks its records and inflates entries with raw zlib.
#include "veneer/core/UISetup.h"
#include "veneer/render/UIZip.h"

#include <zlib.h>

namespace Veneer {

namespace {

const DWORD kHandleKindArchive = 1;

const DWORD kSigEndRecord = 0x06054b50;
const DWORD kSigCentral = 0x02014b50;
const DWORD kSigLocal = 0x04034b50;

const DWORD kEndRecordSize = 22;
const DWORD kCentralSize = 46;
const DWORD kLocalSize = 30;

// The end record must start within this many bytes of the end (22 bytes plus a maximal comment).
const DWORD kEndSearchLimit = 65535;
const DWORD kEndSearchStep = 1024;
const DWORD kInputBufferSize = 16384;

const int kMaxQueryLength = 255;     // longer wide names are never found
const WORD kMaxStoredName = 256;     // stored names this long never match

const WORD kMethodStored = 0;
const WORD kMethodDeflated = 8;
const WORD kFlagEncrypted = 0x0001;
const WORD kFlagDescriptor = 0x0008;

// Deflate turns one byte into at most 1,032 (a 258-byte match costs at least two bits).
const ULONGLONG kMaxDeflateRatio = 1032;

inline WORD Get16(const BYTE* p)
{
    return (WORD)(p[0] | (p[1] << 8));
}

inline DWORD Get32(const BYTE* p)
{
    return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
}

inline DWORD MinDword(DWORD a, DWORD b)
{
    return a < b ? a : b;
}

// The archive bytes: an open file or a caller-owned memory block. Every read is bounded by its size.
class CZipSource
{
public:
    // Construction
    CZipSource() : m_hFile(INVALID_HANDLE_VALUE), m_pData(NULL), m_dwSize(0), m_ullFilePos(0) {}
    ~CZipSource()
    {
        if( m_hFile != INVALID_HANDLE_VALUE ) ::CloseHandle(m_hFile);
    }

    // Operations
    bool OpenFile(LPCWSTR path)
    {
        m_hFile = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
        if( m_hFile == INVALID_HANDLE_VALUE ) return false;
        LARGE_INTEGER size;
        // Directory offsets are 32-bit: a larger file cannot be a valid archive.
        if( !::GetFileSizeEx(m_hFile, &size) || size.QuadPart > 0xFFFFFFFFLL ) return false;
        m_dwSize = (DWORD)size.QuadPart;
        return true;
    }

    void OpenMemory(const void* data, DWORD length)
    {
        m_pData = static_cast<const BYTE*>(data);
        m_dwSize = length;
    }

    DWORD GetSize() const { return m_dwSize; }

    // Reads exactly `length` bytes at `pos`; false when any of them lies outside the archive.
    bool ReadAt(ULONGLONG pos, void* buffer, DWORD length)
    {
        if( pos > m_dwSize || length > m_dwSize - pos ) return false;
        if( length == 0 ) return true;
        if( m_pData != NULL ) {
            ::memcpy(buffer, m_pData + (size_t)pos, length);
            return true;
        }
        if( pos != m_ullFilePos ) {
            LONG high = (LONG)(pos >> 32);
            DWORD low = ::SetFilePointer(m_hFile, (LONG)(DWORD)pos, &high, FILE_BEGIN);
            if( low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR ) {
                m_ullFilePos = ~0ULL;
                return false;
            }
            m_ullFilePos = pos;
        }
        DWORD read = 0;
        BOOL ok = ::ReadFile(m_hFile, buffer, length, &read, NULL);
        m_ullFilePos = ok ? pos + read : ~0ULL;
        return ok && read == length;
    }

private:
    HANDLE m_hFile;
    const BYTE* m_pData;
    DWORD m_dwSize;
    ULONGLONG m_ullFilePos;
};

// One central-directory record, with its name when it is short enough to be matched.
struct CentralRecord
{
    WORD versionMadeBy;
    WORD flags;
    WORD method;
    WORD dosTime;
    WORD dosDate;
    DWORD crc;
    DWORD compressedSize;
    DWORD uncompressedSize;
    WORD nameLength;
    WORD extraLength;
    WORD commentLength;
    DWORD externalAttributes;
    DWORD localOffset;
    char name[kMaxStoredName];   // zero-terminated; empty when nameLength >= kMaxStoredName
};

// Case folding of ASCII letters only: every other byte, including the second byte of a
// double-byte character, must match exactly.
bool NamesMatch(const char* stored, const char* wanted, bool ignoreCase)
{
    if( !ignoreCase ) return ::strcmp(stored, wanted) == 0;
    for( ;; ) {
        BYTE a = (BYTE)*stored, b = (BYTE)*wanted;
        if( a != 0 && ::IsDBCSLeadByte(a) ) {
            if( a != b || stored[1] != wanted[1] ) return false;
            if( stored[1] == 0 ) return true;
            stored += 2;
            wanted += 2;
            continue;
        }
        if( a >= 'a' && a <= 'z' ) a = (BYTE)(a - 'a' + 'A');
        if( b >= 'a' && b <= 'z' ) b = (BYTE)(b - 'a' + 'A');
        if( a != b ) return false;
        if( a == 0 ) return true;
        ++stored;
        ++wanted;
    }
}

// Zip stores local (DOS) times; the info record carries UTC file times.
FILETIME DosToFileTime(WORD dosDate, WORD dosTime)
{
    FILETIME local = { 0, 0 }, utc = { 0, 0 };
    if( ::DosDateTimeToFileTime(dosDate, dosTime, &local) ) ::LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

DWORD AttributesOf(const CentralRecord& rec)
{
    const BYTE hostUnix = 3;
    DWORD attributes = 0;
    WORD mode = (WORD)(rec.externalAttributes >> 16);
    if( (rec.versionMadeBy >> 8) == hostUnix && mode != 0 ) {
        if( (mode & 0xF000) == 0x4000 ) attributes |= FILE_ATTRIBUTE_DIRECTORY;
        if( (mode & 0x0080) == 0 ) attributes |= FILE_ATTRIBUTE_READONLY;
    }
    else {
        attributes = rec.externalAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
    }
    if( rec.nameLength > 0 && rec.nameLength < kMaxStoredName && rec.name[rec.nameLength - 1] == '/' )
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}

void ClearInfo(ZipEntryInfo* info)
{
    if( info == NULL ) return;
    ::ZeroMemory(info, sizeof(*info));
    info->index = -1;
}

// State of one open archive: the directory walk and the entry open for extraction.
class CZipReader
{
public:
    // Construction
    CZipReader();
    ~CZipReader();

    // Operations
    bool OpenFile(LPCWSTR path);
    bool OpenMemory(const void* data, DWORD length);
    ZRESULT Find(const char* name, bool ignoreCase, int* index, ZipEntryInfo* info);
    ZRESULT Extract(int index, BYTE* buffer, DWORD length);
    int GetEntryCount() const { return m_nEntries; }

    // Implementation
private:
    bool ReadDirectory();
    bool FindEndRecord(DWORD* position);
    bool ReadCentral(ULONGLONG pos, CentralRecord* rec);
    bool GoToFirst();
    bool GoToNext();
    bool GoTo(int index);
    ZRESULT CheckLocalHeader(const CentralRecord& rec, ULONGLONG* dataPos);
    bool OpenEntry(int index);
    void CloseEntry();
    bool Refill();

    CZipSource m_source;
    int m_nEntries;
    ULONGLONG m_ullFirstPos;     // first central record
    DWORD m_dwByteBefore;        // bytes that precede the archive in its file or block

    // The walk: current entry and its record.
    int m_iCurrent;              // -1 when no record is loaded
    ULONGLONG m_ullCurrentPos;
    CentralRecord m_current;

    // The entry open for extraction.
    int m_iOpen;                 // -1 when none
    WORD m_wOpenMethod;
    ULONGLONG m_ullDataPos;      // next compressed byte to read
    DWORD m_dwCompressedLeft;    // compressed bytes not yet read into the input buffer
    DWORD m_dwUncompressedLeft;  // bytes not yet delivered
    DWORD m_dwCrc;               // CRC-32 of the bytes delivered so far
    DWORD m_dwExpectedCrc;       // the directory's CRC-32 of the whole entry
    BYTE* m_pInput;
    z_stream m_stream;
    bool m_bInflating;
};

CZipReader::CZipReader() :
    m_nEntries(0), m_ullFirstPos(0), m_dwByteBefore(0), m_iCurrent(-1), m_ullCurrentPos(0),
    m_iOpen(-1), m_wOpenMethod(0), m_ullDataPos(0), m_dwCompressedLeft(0), m_dwUncompressedLeft(0),
    m_dwCrc(0), m_dwExpectedCrc(0), m_pInput(NULL), m_bInflating(false)
{
    ::ZeroMemory(&m_current, sizeof(m_current));
    ::ZeroMemory(&m_stream, sizeof(m_stream));
}

CZipReader::~CZipReader()
{
    CloseEntry();
}

bool CZipReader::OpenFile(LPCWSTR path)
{
    return m_source.OpenFile(path) && ReadDirectory();
}

bool CZipReader::OpenMemory(const void* data, DWORD length)
{
    m_source.OpenMemory(data, length);
    return ReadDirectory();
}

// Looks backwards in overlapping windows, so a signature is never split; the match nearest
// the end wins. A candidate without room for the whole record after it cannot be the record.
bool CZipReader::FindEndRecord(DWORD* position)
{
    const DWORD size = m_source.GetSize();
    if( size < kEndRecordSize ) return false;
    const DWORD maxBack = MinDword(size, kEndSearchLimit);
    BYTE window[kEndSearchStep + 4];
    DWORD back = 4;
    while( back < maxBack ) {
        back = MinDword(back + kEndSearchStep, maxBack);
        const DWORD readPos = size - back;
        const DWORD readSize = MinDword(kEndSearchStep + 4, size - readPos);
        if( !m_source.ReadAt(readPos, window, readSize) ) return false;
        for( DWORD i = readSize - 4 + 1; i-- > 0; ) {
            if( Get32(window + i) != kSigEndRecord ) continue;
            if( size - (readPos + i) < kEndRecordSize ) continue;
            *position = readPos + i;
            return true;
        }
    }
    return false;
}

bool CZipReader::ReadDirectory()
{
    DWORD endPos = 0;
    if( !FindEndRecord(&endPos) ) return false;
    BYTE rec[kEndRecordSize];
    if( !m_source.ReadAt(endPos, rec, kEndRecordSize) ) return false;
    const WORD thisDisk = Get16(rec + 4);
    const WORD directoryDisk = Get16(rec + 6);
    const WORD entriesOnDisk = Get16(rec + 8);
    const WORD totalEntries = Get16(rec + 10);
    const DWORD directorySize = Get32(rec + 12);
    const DWORD directoryOffset = Get32(rec + 16);
    if( thisDisk != 0 || directoryDisk != 0 || entriesOnDisk != totalEntries ) return false;
    const ULONGLONG directoryEnd = (ULONGLONG)directoryOffset + directorySize;
    if( endPos < directoryEnd ) return false;
    m_dwByteBefore = (DWORD)(endPos - directoryEnd);
    m_ullFirstPos = (ULONGLONG)directoryOffset + m_dwByteBefore;
    m_nEntries = totalEntries;
    return m_nEntries == 0 || GoToFirst();
}

bool CZipReader::ReadCentral(ULONGLONG pos, CentralRecord* rec)
{
    BYTE raw[kCentralSize];
    if( !m_source.ReadAt(pos, raw, kCentralSize) || Get32(raw) != kSigCentral ) return false;
    rec->versionMadeBy = Get16(raw + 4);
    rec->flags = Get16(raw + 8);
    rec->method = Get16(raw + 10);
    rec->dosTime = Get16(raw + 12);
    rec->dosDate = Get16(raw + 14);
    rec->crc = Get32(raw + 16);
    rec->compressedSize = Get32(raw + 20);
    rec->uncompressedSize = Get32(raw + 24);
    rec->nameLength = Get16(raw + 28);
    rec->extraLength = Get16(raw + 30);
    rec->commentLength = Get16(raw + 32);
    rec->externalAttributes = Get32(raw + 38);
    rec->localOffset = Get32(raw + 42);
    rec->name[0] = 0;
    if( rec->nameLength < kMaxStoredName ) {
        if( !m_source.ReadAt(pos + kCentralSize, rec->name, rec->nameLength) ) return false;
        rec->name[rec->nameLength] = 0;
    }
    return true;
}

bool CZipReader::GoToFirst()
{
    m_iCurrent = -1;
    if( m_nEntries == 0 || !ReadCentral(m_ullFirstPos, &m_current) ) return false;
    m_iCurrent = 0;
    m_ullCurrentPos = m_ullFirstPos;
    return true;
}

bool CZipReader::GoToNext()
{
    if( m_iCurrent < 0 || m_iCurrent + 1 >= m_nEntries ) return false;
    const ULONGLONG next = m_ullCurrentPos + kCentralSize + m_current.nameLength +
                           m_current.extraLength + m_current.commentLength;
    if( !ReadCentral(next, &m_current) ) {
        m_iCurrent = -1;
        return false;
    }
    ++m_iCurrent;
    m_ullCurrentPos = next;
    return true;
}

bool CZipReader::GoTo(int index)
{
    if( index < 0 || index >= m_nEntries ) return false;
    if( (m_iCurrent < 0 || index < m_iCurrent) && !GoToFirst() ) return false;
    while( m_iCurrent < index ) {
        if( !GoToNext() ) return false;
    }
    return true;
}

ZRESULT CZipReader::CheckLocalHeader(const CentralRecord& rec, ULONGLONG* dataPos)
{
    const ULONGLONG pos = (ULONGLONG)rec.localOffset + m_dwByteBefore;
    BYTE raw[kLocalSize];
    if( !m_source.ReadAt(pos, raw, kLocalSize) ) return ZIP_READ_FAILED;
    if( Get32(raw) != kSigLocal ) return ZIP_CORRUPT;
    const WORD flags = Get16(raw + 6);
    const WORD method = Get16(raw + 8);
    if( method != rec.method || (method != kMethodStored && method != kMethodDeflated) )
        return ZIP_CORRUPT;
    // Encrypted data would be delivered as if it were the content.
    if( (flags & kFlagEncrypted) != 0 || (rec.flags & kFlagEncrypted) != 0 ) return ZIP_CORRUPT;
    if( (flags & kFlagDescriptor) == 0 ) {
        if( Get32(raw + 14) != rec.crc || Get32(raw + 18) != rec.compressedSize ||
            Get32(raw + 22) != rec.uncompressedSize )
            return ZIP_CORRUPT;
    }
    const WORD nameLength = Get16(raw + 26);
    const WORD extraLength = Get16(raw + 28);
    if( nameLength != rec.nameLength ) return ZIP_CORRUPT;
    const ULONGLONG start = pos + kLocalSize + nameLength + extraLength;
    // Sizes the archive cannot back are refused here, before a caller sizes a buffer by them: data
    // running past the archive's end, or too few bytes to expand to the stated size.
    if( start + rec.compressedSize > m_source.GetSize() ) return ZIP_CORRUPT;
    const ULONGLONG mostOut = method == kMethodStored ? (ULONGLONG)rec.compressedSize
                              : (ULONGLONG)rec.compressedSize * kMaxDeflateRatio;
    if( rec.uncompressedSize > mostOut ) return ZIP_CORRUPT;
    *dataPos = start;
    return ZIP_OK;
}

ZRESULT CZipReader::Find(const char* name, bool ignoreCase, int* index, ZipEntryInfo* info)
{
    const int savedIndex = m_iCurrent;
    const ULONGLONG savedPos = m_ullCurrentPos;
    const CentralRecord saved = m_current;

    // A walk that breaks off on a damaged record is a read failure, not a clean miss.
    ZRESULT miss = ZIP_NOT_FOUND;
    bool found = false;
    if( m_nEntries > 0 ) {
        if( !GoToFirst() ) miss = ZIP_READ_FAILED;
        while( miss == ZIP_NOT_FOUND ) {
            if( m_current.nameLength < kMaxStoredName && NamesMatch(m_current.name, name, ignoreCase) ) {
                found = true;
                break;
            }
            if( m_iCurrent + 1 >= m_nEntries ) break;
            if( !GoToNext() ) miss = ZIP_READ_FAILED;
        }
    }
    if( !found ) {
        m_iCurrent = savedIndex;
        m_ullCurrentPos = savedPos;
        m_current = saved;
        return miss;
    }

    CloseEntry();
    *index = m_iCurrent;
    ULONGLONG dataPos = 0;
    ZRESULT result = CheckLocalHeader(m_current, &dataPos);
    if( result != ZIP_OK ) return result;
    if( info != NULL ) {
        info->index = m_iCurrent;
        if( ::MultiByteToWideChar(CP_ACP, 0, m_current.name, -1, info->name, (int)lengthof(info->name)) == 0 )
            info->name[0] = 0;
        info->attributes = AttributesOf(m_current);
        info->modifyTime = DosToFileTime(m_current.dosDate, m_current.dosTime);
        info->accessTime = info->modifyTime;
        info->createTime = info->modifyTime;
        info->compressedSize = m_current.compressedSize;
        info->uncompressedSize = m_current.uncompressedSize;
    }
    return ZIP_OK;
}

bool CZipReader::OpenEntry(int index)
{
    CloseEntry();
    ULONGLONG dataPos = 0;
    if( !GoTo(index) || CheckLocalHeader(m_current, &dataPos) != ZIP_OK ) return false;
    m_pInput = new (std::nothrow) BYTE[kInputBufferSize];
    if( m_pInput == NULL ) return false;
    ::ZeroMemory(&m_stream, sizeof(m_stream));
    if( m_current.method == kMethodDeflated ) {
        if( inflateInit2(&m_stream, -MAX_WBITS) != Z_OK ) {
            CloseEntry();
            return false;
        }
        m_bInflating = true;
    }
    m_iOpen = index;
    m_wOpenMethod = m_current.method;
    m_ullDataPos = dataPos;
    m_dwCompressedLeft = m_current.compressedSize;
    m_dwUncompressedLeft = m_current.uncompressedSize;
    m_dwCrc = (DWORD)crc32(0L, Z_NULL, 0);
    m_dwExpectedCrc = m_current.crc;
    return true;
}

void CZipReader::CloseEntry()
{
    if( m_bInflating ) inflateEnd(&m_stream);
    m_bInflating = false;
    delete[] m_pInput;
    m_pInput = NULL;
    m_iOpen = -1;
}

bool CZipReader::Refill()
{
    const DWORD count = MinDword(kInputBufferSize, m_dwCompressedLeft);
    if( !m_source.ReadAt(m_ullDataPos, m_pInput, count) ) return false;
    m_ullDataPos += count;
    m_dwCompressedLeft -= count;
    m_stream.next_in = m_pInput;
    m_stream.avail_in = count;
    return true;
}

// Delivers exactly min(length, remaining) bytes or reports the entry as damaged: the caller
// cannot tell a short delivery from a full one, so a partly filled buffer must not pass as data.
// For the same reason the last bytes of an entry are only handed over when the whole entry matches
// its CRC-32.
ZRESULT CZipReader::Extract(int index, BYTE* buffer, DWORD length)
{
    if( index != m_iOpen && !OpenEntry(index) ) return ZIP_NOTHING;
    const DWORD wanted = MinDword(length, m_dwUncompressedLeft);
    DWORD done = 0;
    bool readFailed = false;
    while( done < wanted ) {
        if( m_stream.avail_in == 0 && m_dwCompressedLeft > 0 && !Refill() ) {
            readFailed = true;
            break;
        }
        if( m_wOpenMethod == kMethodStored ) {
            if( m_stream.avail_in == 0 ) break;
            const DWORD count = MinDword(m_stream.avail_in, wanted - done);
            ::memcpy(buffer + done, m_stream.next_in, count);
            m_stream.next_in += count;
            m_stream.avail_in -= count;
            done += count;
            continue;
        }
        m_stream.next_out = buffer + done;
        m_stream.avail_out = wanted - done;
        const uInt inBefore = m_stream.avail_in;
        const int status = inflate(&m_stream, Z_SYNC_FLUSH);
        const DWORD produced = (wanted - done) - m_stream.avail_out;
        done += produced;
        if( status != Z_OK ) break;  // end of stream, damaged data or no progress possible
        if( produced == 0 && m_stream.avail_in == inBefore ) break;
    }
    m_dwUncompressedLeft -= done;
    if( done > 0 ) m_dwCrc = (DWORD)crc32(m_dwCrc, buffer, (uInt)done);
    const bool corrupt = done > 0 && m_dwUncompressedLeft == 0 && m_dwCrc != m_dwExpectedCrc;
    if( readFailed || done < wanted || corrupt ) {
        CloseEntry();
        return ZIP_NOTHING;
    }
    if( done == 0 ) {
        CloseEntry();
        return ZIP_OK;
    }
    return ZIP_MORE;
}

// What an HZIP points to: a kind tag checked by every operation, then the reader.
struct ZipHandleRecord
{
    DWORD kind;
    CZipReader* reader;
};

ZRESULT CheckHandle(HZIP zip, CZipReader** reader)
{
    if( zip == NULL ) return ZIP_BAD_ARGS;
    ZipHandleRecord* record = reinterpret_cast<ZipHandleRecord*>(zip);
    if( record->kind != kHandleKindArchive ) return ZIP_WRONG_HANDLE;
    *reader = record->reader;
    return ZIP_OK;
}

HZIP MakeHandle(CZipReader* reader, bool opened)
{
    if( !opened ) {
        delete reader;
        return NULL;
    }
    ZipHandleRecord* record = new (std::nothrow) ZipHandleRecord;
    if( record == NULL ) {
        delete reader;
        return NULL;
    }
    record->kind = kHandleKindArchive;
    record->reader = reader;
    return reinterpret_cast<HZIP>(record);
}

} // namespace

HZIP ZipOpenFile(LPCWSTR path)
{
    if( path == NULL || path[0] == 0 ) return NULL;
    CZipReader* reader = new (std::nothrow) CZipReader;
    if( reader == NULL ) return NULL;
    return MakeHandle(reader, reader->OpenFile(path));
}

HZIP ZipOpenMemory(const void* data, unsigned int length)
{
    if( data == NULL || length == 0 ) return NULL;
    CZipReader* reader = new (std::nothrow) CZipReader;
    if( reader == NULL ) return NULL;
    return MakeHandle(reader, reader->OpenMemory(data, length));
}

ZRESULT ZipFindEntry(HZIP zip, LPCWSTR name, bool ignoreCase, int* index, ZipEntryInfo* info)
{
    if( index != NULL ) *index = -1;
    ClearInfo(info);
    CZipReader* reader = NULL;
    ZRESULT result = CheckHandle(zip, &reader);
    if( result != ZIP_OK ) return result;
    if( name == NULL || index == NULL ) return ZIP_BAD_ARGS;
    if( ::wcslen(name) > (size_t)kMaxQueryLength ) return ZIP_NOT_FOUND;

    // Separators are unified before the conversion: in a double-byte code page a "\\" byte
    // may be the second half of a character and must stay as it is.
    wchar_t wide[kMaxQueryLength + 1];
    size_t i = 0;
    for( ; name[i] != 0; ++i ) wide[i] = name[i] == L'\\' ? L'/' : name[i];
    wide[i] = 0;
    char narrow[260];
    if( ::WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, (int)sizeof(narrow), NULL, NULL) == 0 )
        return ZIP_NOT_FOUND;
    result = reader->Find(narrow, ignoreCase, index, info);
    if( result != ZIP_OK ) {
        *index = -1;
        ClearInfo(info);
    }
    return result;
}

ZRESULT ZipExtractToMemory(HZIP zip, int index, void* buffer, unsigned int length)
{
    CZipReader* reader = NULL;
    ZRESULT result = CheckHandle(zip, &reader);
    if( result != ZIP_OK ) return result;
    if( index < 0 || index >= reader->GetEntryCount() ) return ZIP_BAD_ARGS;
    if( buffer == NULL && length != 0 ) return ZIP_BAD_ARGS;
    return reader->Extract(index, static_cast<BYTE*>(buffer), length);
}

ZRESULT ZipClose(HZIP zip)
{
    CZipReader* reader = NULL;
    ZRESULT result = CheckHandle(zip, &reader);
    if( result != ZIP_OK ) return result;
    ZipHandleRecord* record = reinterpret_cast<ZipHandleRecord*>(zip);
    record->kind = 0;
    delete reader;
    delete record;
    return ZIP_OK;
}

} // namespace Veneer
