#pragma once
// Copies entries out of one open archive into files of their own. Small
// entries lie one after another in the archive, so one read of a window
// serves many of them: an extraction of thousands of small entries then
// costs one read per window, not one per entry.

#include <cstdint>
#include <vector>

#include "core/DataCopier.h"
#include "framework/base/File.h"

class CEntryReader {
public:
    // Copies size bytes at offset of archive to dest's position; false when
    // the archive ends early (the rest is written as zeros). Every call on
    // one reader must pass the same archive. Write errors escape as
    // CFileException.
    bool Copy(CFile& archive, uint64_t offset, CFile& dest, uint32_t size);

    // Entries up to this size are served from the window.
    static constexpr uint32_t kSmall = 64 * 1024;
    static constexpr uint32_t kWindow = 1024 * 1024;

private:
    CDataCopier m_copier;
    std::vector<uint8_t> m_window;
    uint64_t m_windowStart = 0;
    uint64_t m_windowLength = 0;
};
