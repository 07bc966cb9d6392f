// Test helper that builds zip archives in memory: stored and raw-deflated entries, stub, comment.
#include "veneer/core/UISetup.h"
#include "ZipWriter.h"

#include <zlib.h>

namespace {

// 2020-06-15 12:30:00 in DOS form; a fixed time keeps archives byte-identical between runs.
const WORD kDosTime = (12 << 11) | (30 << 5);
const WORD kDosDate = ((2020 - 1980) << 9) | (6 << 5) | 15;

void Put16(std::string& out, WORD value)
{
    out.push_back((char)(value & 0xFF));
    out.push_back((char)(value >> 8));
}

void Put32(std::string& out, DWORD value)
{
    Put16(out, (WORD)(value & 0xFFFF));
    Put16(out, (WORD)(value >> 16));
}

template <class T>
T Pick(const std::optional<T>& replacement, T value)
{
    return replacement ? *replacement : value;
}

} // namespace

CZipWriter::CZipWriter()
{
}

CZipWriter::Entry& CZipWriter::Add(const std::string& name, const std::string& data, bool deflate)
{
    Entry entry;
    entry.name = name;
    entry.data = data;
    entry.deflate = deflate;
    m_entries.push_back(entry);
    return m_entries.back();
}

CZipWriter::Entry& CZipWriter::Add(LPCWSTR name, const std::string& data, bool deflate)
{
    return Add(ToAnsi(name), data, deflate);
}

CZipWriter::Entry& CZipWriter::GetEntry(size_t index)
{
    return m_entries.at(index);
}

size_t CZipWriter::GetEntryCount() const
{
    return m_entries.size();
}

void CZipWriter::SetStub(const std::string& stub)
{
    m_stub = stub;
}

void CZipWriter::SetComment(const std::string& comment)
{
    m_comment = comment;
}

CZipWriter::EndRecord& CZipWriter::GetEndRecord()
{
    return m_end;
}

std::string CZipWriter::Build(Layout* layout) const
{
    Layout where;
    std::string archive;
    std::string directory;
    for( const Entry& entry : m_entries ) {
        const std::string stored = entry.payload ? *entry.payload
                                   : (entry.deflate ? Deflate(entry.data) : entry.data);
        const DWORD crc = Crc32(entry.data);
        const WORD method = entry.deflate ? 8 : 0;
        const WORD flags = (WORD)((entry.dataDescriptor ? 0x0008 : 0) | (entry.encrypted ? 0x0001 : 0));
        const DWORD localOffset = (DWORD)archive.size();
        const WORD nameLength = (WORD)entry.name.size();

        where.localHeaders.push_back(m_stub.size() + archive.size());
        Put32(archive, Pick(entry.localSignature, (DWORD)0x04034b50));
        Put16(archive, 20);
        Put16(archive, flags);
        Put16(archive, Pick(entry.localMethod, method));
        Put16(archive, kDosTime);
        Put16(archive, kDosDate);
        Put32(archive, Pick(entry.localCrc, entry.dataDescriptor ? 0 : crc));
        Put32(archive, entry.dataDescriptor ? 0 : (DWORD)stored.size());
        Put32(archive, Pick(entry.localUncompressedSize, entry.dataDescriptor ? 0 : (DWORD)entry.data.size()));
        Put16(archive, Pick(entry.localNameLength, nameLength));
        Put16(archive, (WORD)entry.localExtra.size());
        archive += entry.name;
        archive += entry.localExtra;
        where.entryData.push_back(m_stub.size() + archive.size());
        archive += stored;
        if( entry.dataDescriptor ) {
            Put32(archive, 0x08074b50);
            Put32(archive, crc);
            Put32(archive, (DWORD)stored.size());
            Put32(archive, (DWORD)entry.data.size());
        }

        where.centralRecords.push_back(directory.size());
        Put32(directory, Pick(entry.centralSignature, (DWORD)0x02014b50));
        Put16(directory, 20);       // made by: FAT host, version 2.0
        Put16(directory, 20);
        Put16(directory, flags);
        Put16(directory, Pick(entry.centralMethod, method));
        Put16(directory, kDosTime);
        Put16(directory, kDosDate);
        Put32(directory, crc);
        Put32(directory, Pick(entry.centralCompressedSize, (DWORD)stored.size()));
        Put32(directory, Pick(entry.centralUncompressedSize, (DWORD)entry.data.size()));
        Put16(directory, Pick(entry.centralNameLength, nameLength));
        Put16(directory, (WORD)entry.centralExtra.size());
        Put16(directory, (WORD)entry.centralComment.size());
        Put16(directory, 0);        // disk number start
        Put16(directory, 0);        // internal attributes
        Put32(directory, FILE_ATTRIBUTE_ARCHIVE);
        Put32(directory, Pick(entry.centralLocalOffset, localOffset));
        directory += entry.name;
        directory += entry.centralExtra;
        directory += entry.centralComment;
    }

    const DWORD directoryOffset = (DWORD)archive.size();
    where.directory = m_stub.size() + archive.size();
    for( size_t& offset : where.centralRecords ) offset += where.directory;
    archive += directory;

    where.endRecord = m_stub.size() + archive.size();
    const WORD count = (WORD)m_entries.size();
    Put32(archive, Pick(m_end.signature, (DWORD)0x06054b50));
    Put16(archive, Pick(m_end.thisDisk, (WORD)0));
    Put16(archive, Pick(m_end.directoryDisk, (WORD)0));
    Put16(archive, Pick(m_end.entriesOnDisk, count));
    Put16(archive, Pick(m_end.totalEntries, count));
    Put32(archive, Pick(m_end.directorySize, (DWORD)directory.size()));
    Put32(archive, Pick(m_end.directoryOffset, directoryOffset));
    Put16(archive, Pick(m_end.commentLength, (WORD)m_comment.size()));
    archive += m_comment;

    if( layout != nullptr ) *layout = where;
    return m_stub + archive;
}

bool CZipWriter::WriteFile(LPCWSTR path) const
{
    return WriteBytesToFile(path, Build());
}

std::string CZipWriter::Deflate(const std::string& data)
{
    z_stream stream = {};
    if( deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK )
        return std::string();
    std::string out(deflateBound(&stream, (uLong)data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = (uInt)data.size();
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = (uInt)out.size();
    const int status = deflate(&stream, Z_FINISH);
    out.resize(status == Z_STREAM_END ? stream.total_out : 0);
    deflateEnd(&stream);
    return out;
}

DWORD CZipWriter::Crc32(const std::string& data)
{
    return (DWORD)crc32(crc32(0, Z_NULL, 0), reinterpret_cast<const Bytef*>(data.data()), (uInt)data.size());
}

std::string CZipWriter::ToAnsi(LPCWSTR text)
{
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, NULL, 0, NULL, NULL);
    if( size <= 1 ) return std::string();
    std::string out((size_t)size, '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, NULL, NULL);
    out.resize((size_t)size - 1);
    return out;
}

void CZipWriter::Patch16(std::string& bytes, size_t offset, WORD value)
{
    bytes.at(offset) = (char)(value & 0xFF);
    bytes.at(offset + 1) = (char)(value >> 8);
}

void CZipWriter::Patch32(std::string& bytes, size_t offset, DWORD value)
{
    Patch16(bytes, offset, (WORD)(value & 0xFFFF));
    Patch16(bytes, offset + 2, (WORD)(value >> 16));
}

bool WriteBytesToFile(LPCWSTR path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if( file == INVALID_HANDLE_VALUE ) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}
