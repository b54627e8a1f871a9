#include "core/VppFormat.h"

#include <algorithm>
#include <cstring>

#include "framework/base/CodePage.h"
#include "framework/base/File.h"

uint32_t VppGetLE32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void VppPutLE32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(value >> (8 * i));
}

std::string VppNameFromField(const uint8_t* field, int width)
{
    const void* zero = std::memchr(field, 0, size_t(width));
    const size_t length = zero ? size_t(static_cast<const uint8_t*>(zero) - field) : size_t(width);
    return std::string(reinterpret_cast<const char*>(field), length);
}

void VppNameToField(uint8_t* field, int width, const std::string& name)
{
    std::memset(field, 0, size_t(width));
    // A longer name is cut by bytes, but never inside a double-byte
    // character: one that the cut would split is left out whole.
    const std::string stored = name.size() < size_t(width) ? name : AnsiCutBytes(name, size_t(width - 1));
    std::memcpy(field, stored.data(), stored.size());
}

void VppWritePadding(CFile& file)
{
    static const uint8_t zeros[VPP_BLOCK_SIZE] = {};
    const uint64_t position = file.GetPosition();
    const uint64_t pad = uint64_t(VppAlign(int64_t(position))) - position;
    if (pad > 0) file.Write(zeros, UINT(pad));
}

VppHeader VppReadHeader(CFile& file)
{
    uint8_t bytes[VPP_HEADER_SIZE] = {};
    const UINT got = file.Read(bytes, sizeof bytes);

    // The signature decides first: a file that fails both checks is "not an
    // archive", not "an archive of another version".
    VppHeader header;
    header.signature = VppGetLE32(bytes + VPP_HEADER_SIGNATURE);
    if (header.signature != VPP_SIGNATURE) throw CFormatException(VppError::invalidSignature);
    header.version = VppGetLE32(bytes + VPP_HEADER_VERSION);
    if (header.version != VPP_VERSION) throw CFormatException(VppError::invalidVersion);
    if (got < sizeof bytes) throw CFormatException(VppError::truncated);
    header.fileCount = int32_t(VppGetLE32(bytes + VPP_HEADER_FILE_COUNT));
    header.archiveSize = int32_t(VppGetLE32(bytes + VPP_HEADER_ARCHIVE_SIZE));

    if (VppDataStart(std::max(header.fileCount, 0)) >= VPP_SIZE_LIMIT) throw CFormatException(VppError::tooLarge);
    file.Seek(VppAlign(int64_t(file.GetPosition())), CFile::begin);
    return header;
}

int32_t VppReadDirectory(CFile& file, const VppHeader& header, int32_t count,
                         const std::function<void(VppRecord&)>& each)
{
    count = std::clamp(count, 0, std::max(header.fileCount, 0));
    if (count == 0) return 0;
    // A directory cut short fails before any record is given.
    const uint64_t position = file.GetPosition();
    const uint64_t length = file.GetLength();
    if (length < position || length - position < uint64_t(count) * VPP_RECORD_SIZE)
        throw CFormatException(VppError::truncated);

    // Read a piece at a time: record-sized reads are slow on some systems,
    // and the whole directory at once is 4 MiB at 65,536 records.
    constexpr int32_t kPiece = 1024;
    std::vector<uint8_t> bytes(size_t(std::min(count, kPiece)) * VPP_RECORD_SIZE);
    // Offsets follow the directory as stored, even when not all of it is read.
    int64_t offset = VppDataStart(header.fileCount);
    VppRecord record;
    for (int32_t first = 0; first < count; first += kPiece) {
        const int32_t n = std::min(kPiece, count - first);
        const UINT want = UINT(n) * VPP_RECORD_SIZE;
        if (file.Read(bytes.data(), want) < want) throw CFormatException(VppError::truncated);
        for (int32_t i = 0; i < n; ++i) {
            const uint8_t* field = bytes.data() + size_t(i) * VPP_RECORD_SIZE;
            const uint32_t size = VppGetLE32(field + VPP_RECORD_FILE_SIZE);
            if (offset + VppAlign(size) >= VPP_SIZE_LIMIT) return first + i;
            record.name = VppNameFromField(field + VPP_RECORD_NAME, VPP_NAME_LENGTH);
            record.size = size;
            record.offset = int32_t(offset);
            each(record);
            offset += VppAlign(size);
        }
    }
    return count;
}

std::vector<VppRecord> VppReadDirectory(CFile& file, const VppHeader& header, int32_t count)
{
    std::vector<VppRecord> records;
    VppReadDirectory(file, header, count, [&records](VppRecord& record) { records.push_back(std::move(record)); });
    return records;
}

void VppWriteHeader(CFile& file, const VppHeader& header)
{
    uint8_t fields[VPP_HEADER_SIZE];
    VppPutLE32(fields + VPP_HEADER_SIGNATURE, header.signature);
    VppPutLE32(fields + VPP_HEADER_VERSION, header.version);
    VppPutLE32(fields + VPP_HEADER_FILE_COUNT, uint32_t(header.fileCount));
    VppPutLE32(fields + VPP_HEADER_ARCHIVE_SIZE, uint32_t(header.archiveSize));
    file.Write(fields, sizeof fields);
}

void VppWriteDirectory(CFile& file, int32_t count, const std::function<VppRecordRef(int32_t)>& record)
{
    count = std::max(count, 0);
    std::vector<uint8_t> bytes(size_t(count) * VPP_RECORD_SIZE);
    for (int32_t i = 0; i < count; ++i) {
        uint8_t* field = bytes.data() + size_t(i) * VPP_RECORD_SIZE;
        const VppRecordRef r = record(i);
        VppNameToField(field + VPP_RECORD_NAME, VPP_NAME_LENGTH, r.name);
        VppPutLE32(field + VPP_RECORD_FILE_SIZE, r.size);
    }
    if (!bytes.empty()) file.Write(bytes.data(), UINT(bytes.size()));
}
