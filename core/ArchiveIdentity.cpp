#include "core/ArchiveIdentity.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/VppFormat.h"

void CArchiveIdentity::Record(CFile& file, int32_t count)
{
    m_strPath = file.GetFilePath();
    m_stamp = file.GetStamp();
    m_nCount = count;
    m_nDigest = Digest(file, count);
}

bool CArchiveIdentity::Matches(CFile& file) const
{
    return IsRecorded() && file.GetFilePath() == m_strPath && file.GetStamp() == m_stamp &&
           Digest(file, m_nCount) == m_nDigest;
}

uint64_t CArchiveIdentity::Digest(CFile& file, int32_t count)
{
    // The header and the directory, as far as the file holds them: one read
    // each, a few MiB at most, from the cache the load left warm.
    std::vector<uint8_t> bytes(size_t(VPP_HEADER_SIZE) + size_t(VPP_RECORD_SIZE) * size_t(std::max(count, 0)));
    file.SeekToBegin();
    size_t got = file.Read(bytes.data(), VPP_HEADER_SIZE);
    if (got == size_t(VPP_HEADER_SIZE) && bytes.size() > got) {
        file.Seek(VPP_BLOCK_SIZE, CFile::begin);
        got += file.Read(bytes.data() + got, UINT(bytes.size() - got));
    }
    // FNV-1a over 8-byte words: enough to tell a rewritten directory from
    // the one read, at memory speed.
    uint64_t hash = 0xcbf29ce484222325ull ^ got;
    size_t i = 0;
    for (; i + 8 <= got; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = (hash ^ word) * 0x100000001b3ull;
    }
    for (; i < got; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ull;
    return hash;
}
