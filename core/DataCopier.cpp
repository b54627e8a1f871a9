#include "core/DataCopier.h"

#include <algorithm>
#include <cstring>

#include "core/VppFormat.h"

namespace {
// Data moves in pieces of at most this size, so no entry needs memory of its
// own size (which a 32-bit process may not have for 2 GiB).
constexpr uint32_t kChunk = 1u << 20;
// How much a save copies inside the system before it lets the system start
// writing it out.
constexpr uint32_t kWriteBackStep = 16u << 20;
}  // namespace

bool CDataCopier::OpenSource(const std::string& path)
{
    if (m_source.IsOpen() && m_source.GetFilePath() == path) return true;
    m_source.Abort();
    return m_source.Open(path, CFile::modeRead | CFile::shareDenyNone) != FALSE;
}

void CDataCopier::GatherWritesTo(CFile& dest)
{
    Flush();
    m_gatherTo = &dest;
    m_gathered.resize(size_t(kRunBytes));
}

void CDataCopier::Flush()
{
    if (!m_gatherTo || m_gatheredUsed == 0) return;
    const size_t n = m_gatheredUsed;
    m_gatheredUsed = 0;
    m_gatherTo->Write(m_gathered.data(), UINT(n));
    m_gatherTo->StartWriteBack();
}

uint8_t* CDataCopier::Room(CFile& dest, size_t n)
{
    if (&dest != m_gatherTo) {
        if (m_buffer.size() < n) m_buffer.resize(n);
        return m_buffer.data();
    }
    if (m_gathered.size() - m_gatheredUsed < n) Flush();
    if (m_gathered.size() < n) m_gathered.resize(n);
    return m_gathered.data() + m_gatheredUsed;
}

void CDataCopier::Put(CFile& dest, size_t n)
{
    if (&dest == m_gatherTo)
        m_gatheredUsed += n;
    else
        dest.Write(m_buffer.data(), UINT(n));
}

CopyResult CDataCopier::Copy(const std::string& path, int32_t offset, CFile& dest, int32_t size, uint32_t pad)
{
    if (!OpenSource(path)) return CopyResult::noSource;
    if (offset == 0 && m_source.GetLengthAtOpen() != uint64_t(uint32_t(size))) return CopyResult::sizeChanged;
    return CopyBytes(m_source, uint32_t(offset), dest, uint32_t(size), pad) ? CopyResult::ok : CopyResult::sourceShort;
}

bool CDataCopier::CopyBytes(CFile& src, uint64_t offset, CFile& dest, uint32_t size, uint32_t pad)
{
    // Large data is copied inside the system where it can be: no trip
    // through this process's memory. The padding is written as zeros.
    // A save flushes its archive at the end: its pieces go to the disk
    // while the next ones are copied.
    const bool saving = &dest == m_gatherTo;
    if (size >= kChunk && saving) Flush();
    while (size >= kChunk) {
        const int64_t n = dest.CopyFrom(src, offset, saving ? std::min(size, kWriteBackStep) : size);
        if (n < 0) break;  // not between these files: read and write below
        if (n == 0) {  // src ended early
            CopyBytes(src, offset, dest, 0, size + pad);
            return false;
        }
        size -= uint32_t(n);
        offset += uint64_t(n);
        if (saving) dest.StartWriteBack();
    }
    // The padding goes out with the last piece of data: one write, not two.
    uint64_t remaining = uint64_t(size) + pad;
    uint32_t dataLeft = size;
    bool atEnd = false;
    while (remaining > 0) {
        const uint32_t n = uint32_t(std::min<uint64_t>(remaining, kChunk));
        const uint32_t want = std::min(n, dataLeft);
        uint8_t* room = Room(dest, n);
        const UINT got = (atEnd || want == 0) ? 0 : src.ReadAt(room, want, offset);
        offset += got;
        if (got < want) atEnd = true;
        std::memset(room + got, 0, n - got);
        Put(dest, n);
        dataLeft -= want;
        remaining -= n;
    }
    return !atEnd;
}

bool CDataCopier::CopyRun(const std::string& path, int32_t offset, CFile& dest, const std::vector<uint32_t>& sizes)
{
    int64_t total = 0;
    for (const uint32_t size : sizes) total += VppAlign(size);
    if (total > kRunBytes || !OpenSource(path)) return false;
    if (total == 0) return true;  // empty entries: nothing to read or write
    uint8_t* room = Room(dest, size_t(total));
    if (m_source.ReadAt(room, UINT(total), uint32_t(offset)) < total) return false;
    size_t at = 0;
    for (const uint32_t size : sizes) {
        const size_t aligned = size_t(VppAlign(size));
        std::memset(room + at + size, 0, aligned - size);
        at += aligned;
    }
    Put(dest, size_t(total));
    return true;
}
