#pragma once
// What tells the archive a document read from any other file that may carry
// its name later: another program, or a second copy of this one, can rewrite
// the archive in place or rename a new one over it at any moment. Recorded
// once at load and checked before every later read of stored data, so that
// no entry is ever read at an offset of the archive it came from out of
// another one.

#include <cstdint>
#include <string>
#include <vector>

#include "core/VppFormat.h"
#include "framework/base/File.h"

class CArchiveIdentity {
public:
    // Records the archive open in file, read as header and records (the
    // first count records asked for); an empty file has neither.
    void Record(CFile& file, int32_t count, const VppHeader* header = nullptr,
                const std::vector<VppRecord>* records = nullptr);
    void Clear() { *this = CArchiveIdentity(); }
    bool IsRecorded() const { return !m_strPath.empty(); }
    // The full path the archive was read from.
    const std::string& GetPath() const { return m_strPath; }
    // Whether file, open on the recorded path, is still that archive: the
    // same file, size and last write, and the same header and directory
    // (a rewrite within the clock's resolution keeps the time). Moves the
    // file's position; throws CFileException on read errors.
    bool Matches(CFile& file) const;

private:
    static uint64_t Digest(const VppHeader& header, const std::vector<VppRecord>& records);

    std::string m_strPath;
    CFileStamp m_stamp;
    int32_t m_nCount = 0;
    uint64_t m_nDigest = 0;
};
