#pragma once
// The VPP archive layout. All integers are 32-bit little-endian; every region
// and every file's data starts on a VPP_BLOCK_SIZE boundary, gaps are zeros.
//
//   offset 0     header: signature, version, file count, archive size (16 bytes),
//                zeros to 2048
//   offset 2048  directory: one 64-byte record per file (name[60], size), zeros
//                to the next block
//   D            data: each file's bytes in directory order, each padded with
//                zeros to the next block; D = 2048 + AlignToBlock(64 * count)
//
// Offsets are not stored: they follow from the order and sizes of the records.

#include <cstdint>

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
