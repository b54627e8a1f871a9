#pragma once
// Archive bytes built by hand, so tests can feed the reader what the writer
// never produces and compare saves against an independent layout.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/VppFormat.h"
#include "tests/support/TestUtil.h"

namespace vppbytes {

inline void PadBlock(std::vector<uint8_t>& bytes)
{
    bytes.resize((bytes.size() + VPP_BLOCK_SIZE - 1) / VPP_BLOCK_SIZE * VPP_BLOCK_SIZE, 0);
}

// The header block; the count and total are written as given.
inline std::vector<uint8_t> Header(int32_t count, uint32_t total = 0, uint32_t signature = VPP_SIGNATURE,
                                   uint32_t version = VPP_VERSION)
{
    std::vector<uint8_t> bytes;
    testutil::PutLE32(bytes, signature);
    testutil::PutLE32(bytes, version);
    testutil::PutLE32(bytes, uint32_t(count));
    testutil::PutLE32(bytes, total);
    PadBlock(bytes);
    return bytes;
}

// One directory record; names longer than the field are cut at 60 bytes,
// so a 60-byte name has no terminator.
inline void Record(std::vector<uint8_t>& bytes, const std::string& name, uint32_t size)
{
    for (int i = 0; i < VPP_NAME_LENGTH; ++i)
        bytes.push_back(i < int(name.size()) ? uint8_t(name[size_t(i)]) : 0);
    testutil::PutLE32(bytes, size);
}

// Recognisable, mostly non-zero content, different for each seed.
inline std::vector<uint8_t> Pattern(size_t size, unsigned seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t((i * 31 + seed * 7) % 251 + 1);
    return bytes;
}

struct File {
    std::string name;
    std::vector<uint8_t> data;
};

// A complete archive laid out as the writer must lay it out.
inline std::vector<uint8_t> Archive(const std::vector<File>& files)
{
    uint32_t total = uint32_t(VPP_BLOCK_SIZE) + (uint32_t(files.size()) * VPP_RECORD_SIZE + 2047) / 2048 * 2048;
    for (const File& f : files) total += (uint32_t(f.data.size()) + 2047) / 2048 * 2048;
    std::vector<uint8_t> bytes = Header(int32_t(files.size()), total);
    for (const File& f : files) Record(bytes, f.name.substr(0, VPP_NAME_LENGTH - 1), uint32_t(f.data.size()));
    PadBlock(bytes);
    for (const File& f : files) {
        bytes.insert(bytes.end(), f.data.begin(), f.data.end());
        PadBlock(bytes);
    }
    return bytes;
}

// Header and directory of count records named f00000, f00001, ..., each of
// the given size; no data area.
inline std::vector<uint8_t> ManyRecords(int32_t count, uint32_t size)
{
    std::vector<uint8_t> bytes = Header(count);
    bytes.reserve(bytes.size() + size_t(count) * VPP_RECORD_SIZE + VPP_BLOCK_SIZE);
    char name[16];
    for (int32_t i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "f%05d", int(i));
        Record(bytes, name, size);
    }
    PadBlock(bytes);
    return bytes;
}

}  // namespace vppbytes
