#pragma once
// What tells the archive a document read from any other file that may carry
// its name later: another program, or a second copy of this one, can rewrite
// the archive in place or rename a new one over it at any moment. Recorded
// once at load and checked before every later read of stored data, so that
// no entry is ever read at an offset of the archive it came from out of
// another one.

#include <cstdint>
#include <string>

#include "core/VppFormat.h"
#include "framework/base/File.h"

class CArchiveIdentity {
public:
    // What a load read, taken in as it reads it: the header, then each record.
    class CDigest {
    public:
        void Add(const VppHeader& header) { Mix(&header, sizeof header); }
        void Add(const VppRecord& record)
        {
            Mix(record.name.data(), record.name.size() + 1);  // with its terminator, so names cannot run together
            Mix(&record.size, sizeof record.size);
        }
        uint64_t Value() const { return m_hash; }

    private:
        // FNV-1a: enough to tell a rewritten directory from the one read.
        void Mix(const void* data, size_t size)
        {
            for (size_t i = 0; i < size; ++i) m_hash = (m_hash ^ static_cast<const uint8_t*>(data)[i]) * 0x100000001b3ull;
        }
        uint64_t m_hash = 0xcbf29ce484222325ull;
    };

    // Records the archive open in file, whose header and first count records
    // (as asked for) the load read into digest; an empty file has neither.
    void Record(CFile& file, int32_t count, const CDigest* digest = nullptr);
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
    std::string m_strPath;
    CFileStamp m_stamp;
    int32_t m_nCount = 0;
    uint64_t m_nDigest = 0;
};
