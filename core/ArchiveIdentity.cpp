#include "core/ArchiveIdentity.h"

void CArchiveIdentity::Record(CFile& file, int32_t count, const VppHeader* header,
                              const std::vector<VppRecord>* records)
{
    m_strPath = file.GetFilePath();
    m_stamp = file.GetStamp();
    m_nCount = count;
    m_nDigest = header && records ? Digest(*header, *records) : 0;
}

bool CArchiveIdentity::Matches(CFile& file) const
{
    if (!IsRecorded() || file.GetFilePath() != m_strPath || !(file.GetStamp() == m_stamp)) return false;
    if (m_stamp.size == 0) return true;  // an empty file has no directory
    // Read again as the load read it: one read of a few MiB at most, from
    // the cache the load left warm.
    try {
        file.SeekToBegin();
        const VppHeader header = VppReadHeader(file);
        return Digest(header, VppReadDirectory(file, header, m_nCount)) == m_nDigest;
    } catch (const CFormatException&) {
        return false;
    }
}

uint64_t CArchiveIdentity::Digest(const VppHeader& header, const std::vector<VppRecord>& records)
{
    // FNV-1a: enough to tell a rewritten directory from the one read.
    uint64_t hash = 0xcbf29ce484222325ull;
    auto mix = [&hash](const void* data, size_t size) {
        for (size_t i = 0; i < size; ++i) hash = (hash ^ static_cast<const uint8_t*>(data)[i]) * 0x100000001b3ull;
    };
    mix(&header, sizeof header);
    for (const VppRecord& record : records) {
        mix(record.name.data(), record.name.size() + 1);  // with its terminator, so names cannot run together
        mix(&record.size, sizeof record.size);
    }
    return hash;
}
