#pragma once
// Archive bytes built by hand, so tests can feed the reader what the writer
// never produces and compare saves against an independent layout.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/VppFormat.h"

namespace vppbytes {

// A little-endian 32-bit value appended to out.
inline void PutLE32(std::vector<uint8_t>& out, uint32_t value)
{
    out.resize(out.size() + 4);
    VppPutLE32(out.data() + out.size() - 4, value);
}

inline uint32_t GetLE32(const std::vector<uint8_t>& bytes, size_t offset)
{
    return VppGetLE32(&bytes.at(offset + 3) - 3);
}

inline void PadBlock(std::vector<uint8_t>& bytes) { bytes.resize(size_t(VppAlign(int64_t(bytes.size()))), 0); }

// The header block; the count and total are written as given.
inline std::vector<uint8_t> Header(int32_t count, uint32_t total = 0, uint32_t signature = VPP_SIGNATURE,
                                   uint32_t version = VPP_VERSION)
{
    std::vector<uint8_t> bytes;
    PutLE32(bytes, signature);
    PutLE32(bytes, version);
    PutLE32(bytes, uint32_t(count));
    PutLE32(bytes, total);
    PadBlock(bytes);
    return bytes;
}

// One directory record; names longer than the field are cut at 60 bytes,
// so a 60-byte name has no terminator.
inline void Record(std::vector<uint8_t>& bytes, const std::string& name, uint32_t size)
{
    for (int i = 0; i < VPP_NAME_LENGTH; ++i)
        bytes.push_back(i < int(name.size()) ? uint8_t(name[size_t(i)]) : 0);
    PutLE32(bytes, size);
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

// A complete archive laid out as the writer must lay it out; names are cut
// to nameBytes (the writer keeps 59, the reader takes up to 60).
inline std::vector<uint8_t> Archive(const std::vector<File>& files, size_t nameBytes = VPP_NAME_LENGTH - 1)
{
    int64_t total = VppDataStart(int64_t(files.size()));
    for (const File& f : files) total += VppAlign(int64_t(f.data.size()));
    std::vector<uint8_t> bytes = Header(int32_t(files.size()), uint32_t(total));
    for (const File& f : files) Record(bytes, f.name.substr(0, nameBytes), uint32_t(f.data.size()));
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
    const int64_t total = VppDataStart(count) + int64_t(count) * VppAlign(size);
    std::vector<uint8_t> bytes = Header(count, uint32_t(total));
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
