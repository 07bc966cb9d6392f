// Test helper that builds zip archives in memory, with knobs that damage chosen fields.
#pragma once

#include "veneer/core/UISetup.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

class CZipWriter
{
public:
    // One entry. The optional fields replace what the writer would store, to build damaged archives.
    struct Entry
    {
        std::string name;                          // stored bytes of the name
        std::string data;                          // uncompressed content
        bool deflate = true;
        bool dataDescriptor = false;               // flag bit 3: sizes and CRC follow the data
        bool encrypted = false;                    // flag bit 0 (the data stay in the clear)

        std::optional<std::string> payload;        // bytes stored as the entry's data
        std::optional<DWORD> localSignature;
        std::optional<WORD> localMethod;
        std::optional<DWORD> localCrc;
        std::optional<DWORD> localUncompressedSize;
        std::optional<WORD> localNameLength;
        std::string localExtra;                    // extra field of the local header only
        std::optional<DWORD> centralSignature;
        std::optional<WORD> centralMethod;
        std::optional<DWORD> centralCompressedSize;
        std::optional<DWORD> centralUncompressedSize;
        std::optional<WORD> centralNameLength;
        std::optional<DWORD> centralLocalOffset;
        std::string centralExtra;
        std::string centralComment;
    };

    // Fields of the end-of-central-directory record that a test may falsify.
    struct EndRecord
    {
        std::optional<DWORD> signature;
        std::optional<WORD> thisDisk;
        std::optional<WORD> directoryDisk;
        std::optional<WORD> entriesOnDisk;
        std::optional<WORD> totalEntries;
        std::optional<DWORD> directorySize;
        std::optional<DWORD> directoryOffset;
        std::optional<WORD> commentLength;
    };

    // Where the parts of a built archive lie (offsets into the bytes Build returned).
    struct Layout
    {
        std::vector<size_t> localHeaders;
        std::vector<size_t> entryData;
        std::vector<size_t> centralRecords;
        size_t directory = 0;
        size_t endRecord = 0;
    };

    // Construction
    CZipWriter();

    // Operations
    // Adds an entry; the reference stays valid while the writer lives.
    Entry& Add(const std::string& name, const std::string& data, bool deflate = true);
    // Same, the name converted with the ANSI code page as archivers on Windows store it.
    Entry& Add(LPCWSTR name, const std::string& data, bool deflate = true);
    Entry& GetEntry(size_t index);
    size_t GetEntryCount() const;

    // Bytes written before the archive (a program stub, say); offsets stay relative to the archive.
    void SetStub(const std::string& stub);
    void SetComment(const std::string& comment);
    EndRecord& GetEndRecord();

    std::string Build(Layout* layout = nullptr) const;
    bool WriteFile(LPCWSTR path) const;

    // Implementation
    static std::string Deflate(const std::string& data);
    static DWORD Crc32(const std::string& data);
    static std::string ToAnsi(LPCWSTR text);
    static void Patch16(std::string& bytes, size_t offset, WORD value);
    static void Patch32(std::string& bytes, size_t offset, DWORD value);

private:
    std::deque<Entry> m_entries;
    std::string m_stub;
    std::string m_comment;
    EndRecord m_end;
};

// Writes bytes to a file; false when it cannot be created or written.
bool WriteBytesToFile(LPCWSTR path, const std::string& bytes);
