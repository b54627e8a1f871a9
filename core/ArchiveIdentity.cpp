#include "core/ArchiveIdentity.h"

void CArchiveIdentity::Record(CFile& file, int32_t count, const CDigest* digest)
{
    m_strPath = file.GetFilePath();
    m_stamp = file.GetStamp();
    m_nCount = count;
    m_nDigest = digest ? digest->Value() : 0;
}

bool CArchiveIdentity::Matches(CFile& file) const
{
    if (!IsRecorded() || file.GetFilePath() != m_strPath || !(file.GetStamp() == m_stamp)) return false;
    if (m_stamp.size == 0) return true;  // an empty file has no directory
    // Read again as the load read it, from the cache the load left warm.
    try {
        file.SeekToBegin();
        const VppHeader header = VppReadHeader(file);
        CDigest digest;
        digest.Add(header);
        VppReadDirectory(file, header, m_nCount, [&digest](VppRecord& record) { digest.Add(record); });
        return digest.Value() == m_nDigest;
    } catch (const CFormatException&) {
        return false;
    }
}
