#pragma once
// Moves entry data between files through one reusable buffer, keeping the
// last source open for the next copy from it: a save reads thousands of
// stored entries from one archive, and opening it for each one costs more
// than copying a small entry.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/base/File.h"

// What copying an entry's data came to. The numbers are kept.
enum class CopyResult : int {
    ok = 0,
    noSource = -1,
    sizeChanged = -2,
    writeFailed = -3,  // has a text, but write errors escape as CFileException
    sourceShort = -4,
};

class CDataCopier {
public:
    // Copies size bytes at offset of path to dest's position, then pad zero
    // bytes. Offset 0 marks an outside file, whose length must still be
    // size. What a short source lacks is written as zeros and reported.
    // Write errors escape as CFileException.
    CopyResult Copy(const std::string& path, int32_t offset, CFile& dest, int32_t size, uint32_t pad = 0);
    // Copies size bytes at offset of src to dest's position, then pad zero
    // bytes; false when src ended early (the rest is written as zeros).
    bool CopyBytes(CFile& src, uint64_t offset, CFile& dest, uint32_t size, uint32_t pad = 0);
    // Copies entries stored one after another from offset of path, each
    // padded to its block with zeros (whatever the source holds there), in
    // one read and one write. Writes nothing and returns false when the
    // source cannot be opened or is short: copy them one by one then.
    bool CopyRun(const std::string& path, int32_t offset, CFile& dest, const std::vector<uint32_t>& sizes);
    // Takes file, open, as the source of the copies from its path.
    void UseSource(CFile&& file) { m_source = std::move(file); }
    // From now on what goes to dest is gathered and written a megabyte at a
    // time, until Flush: a save of thousands of small entries then makes a
    // write per megabyte, not per entry. Nothing else may write to dest
    // meanwhile. Write errors escape from whichever call writes.
    void GatherWritesTo(CFile& dest);
    // Writes what was gathered.
    void Flush();
    // Most bytes CopyRun takes at once.
    static constexpr int64_t kRunBytes = int64_t(1) << 20;

private:
    bool OpenSource(const std::string& path);
    // Room for the next n bytes for dest (n at most kChunk or kRunBytes),
    // and handing them over once filled.
    uint8_t* Room(CFile& dest, size_t n);
    void Put(CFile& dest, size_t n);

    CFile m_source;
    std::vector<uint8_t> m_buffer;
    CFile* m_gatherTo = nullptr;
    std::vector<uint8_t> m_gathered;
    size_t m_gatheredUsed = 0;
};
