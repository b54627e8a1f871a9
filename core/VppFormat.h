#pragma once
// The VPP archive layout, its reader and its writer. All integers are 32-bit
// little-endian; every region and every file's data starts on a
// VPP_BLOCK_SIZE boundary, gaps are zeros.
//
//   offset 0     header (16 bytes), zeros to 2048:
//                  +0  signature     unsigned, VPP_SIGNATURE
//                  +4  version       unsigned, VPP_VERSION
//                  +8  file count    signed
//                  +12 archive size  signed; the reader recomputes it
//   offset 2048  directory: one 64-byte record per file, zeros to the next block:
//                  +0  name          60 bytes, zero-filled; up to 60 bytes read
//                  +60 size          unsigned
//   D            data: each file's bytes in directory order, each padded with
//                zeros to the next block; D = VppDataStart(file count)
//
// Offsets are not stored: they follow from the order and sizes of the records.
// Nothing here shows anything to the user: the reader returns typed errors.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/base/Exception.h"

class CFile;

constexpr uint32_t VPP_SIGNATURE = 0x51890ACE;
constexpr uint32_t VPP_VERSION = 1;
constexpr int32_t VPP_BLOCK_SIZE = 2048;
constexpr int VPP_HEADER_SIZE = 16;
constexpr int VPP_NAME_LENGTH = 60;
constexpr int VPP_RECORD_SIZE = 64;
constexpr int VPP_MAX_FILES = 0x10000;
// Offsets and sizes are signed 32-bit: an archive and every file in it must
// stay below 2 GiB.
constexpr int64_t VPP_SIZE_LIMIT = int64_t(1) << 31;

// Field offsets in the header and in a directory record.
constexpr int VPP_HEADER_SIGNATURE = 0;
constexpr int VPP_HEADER_VERSION = 4;
constexpr int VPP_HEADER_FILE_COUNT = 8;
constexpr int VPP_HEADER_ARCHIVE_SIZE = 12;
constexpr int VPP_RECORD_NAME = 0;
constexpr int VPP_RECORD_FILE_SIZE = VPP_NAME_LENGTH;

// n rounded up to whole blocks; 64-bit, so no count read from a file can wrap it.
constexpr int64_t VppAlign(int64_t n) { return (n + VPP_BLOCK_SIZE - 1) / VPP_BLOCK_SIZE * VPP_BLOCK_SIZE; }
// Where the data area of an archive of count records starts.
constexpr int64_t VppDataStart(int64_t count) { return VPP_BLOCK_SIZE + VppAlign(int64_t(VPP_RECORD_SIZE) * count); }

uint32_t VppGetLE32(const uint8_t* p);
void VppPutLE32(uint8_t* p, uint32_t value);
// The bytes of a name field before its first zero; all of them when none is.
std::string VppNameFromField(const uint8_t* field, int width);
// The name cut to width - 1 bytes, zero-filled to width.
void VppNameToField(uint8_t* field, int width, const std::string& name);
// Zero bytes from position to the next block boundary.
void VppWritePadding(CFile& file);

struct VppHeader {
    uint32_t signature = VPP_SIGNATURE;
    uint32_t version = VPP_VERSION;
    int32_t fileCount = 0;    // as stored: may be negative or above VPP_MAX_FILES
    int32_t archiveSize = 0;  // as stored
};

struct VppRecord {
    std::string name;
    uint32_t size = 0;
    int32_t offset = 0;  // where the data lies, from the order and sizes before it
};

// Why a file is not a readable archive.
enum class VppError {
    invalidSignature,
    invalidVersion,
    truncated,  // the header or the directory is cut short
    tooLarge,   // the directory itself reaches 2 GiB
};

class CFormatException : public CException {
public:
    explicit CFormatException(VppError error) : m_error(error) {}
    VppError m_error;
    const char* what() const noexcept override { return "VPP format error"; }
};

// Reads the header from the file's start and leaves the file at the
// directory. Throws CFormatException when the signature, then the version,
// is wrong, the header is cut short, or the directory it announces would
// reach 2 GiB; file errors escape as CFileException.
VppHeader VppReadHeader(CFile& file);

// Reads the first count records of the directory (count at most the header's
// file count, which fixes where the data area starts), giving each to each
// in order (it may take the record's name away). Throws CFormatException
// when the directory is cut short, before any record is given. Stops before
// the first record whose data would reach 2 GiB: it and the records after it
// cannot be reached. Returns how many records were given.
int32_t VppReadDirectory(CFile& file, const VppHeader& header, int32_t count,
                         const std::function<void(VppRecord&)>& each);
// The same, as a list.
std::vector<VppRecord> VppReadDirectory(CFile& file, const VppHeader& header, int32_t count);

// The writer: the header's 16 bytes, then (after padding to the block) the
// directory of count records in one write, record(i) giving the i-th. The
// caller pads each region to its block.
struct VppRecordRef {
    const std::string& name;
    uint32_t size;
};
void VppWriteHeader(CFile& file, const VppHeader& header);
void VppWriteDirectory(CFile& file, int32_t count, const std::function<VppRecordRef(int32_t)>& record);
