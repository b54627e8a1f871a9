// Editing the table: lookups, adding and replacing, removing.

#include "core/Packwright32Doc.h"

#include <unordered_map>
#include <vector>

#include "framework/base/CodePage.h"
#include "framework/base/Path.h"

namespace {
// Names are compared for the replace rule as they will be stored: their first
// 59 bytes, without regard to case. Otherwise a long name added twice, or two
// long names that differ only past the cut, would become duplicates. The
// cut leaves out a double-byte character it would split, as the writer does.
std::string ReplaceKey(const std::string& name) { return AnsiToLower(AnsiCutBytes(name, VPP_NAME_LENGTH - 1)); }
}  // namespace

int CPackwright32Doc::FindExact(const std::string& name)
{
    if (!m_bExactIndexValid) {
        m_exactIndex.clear();
        m_exactIndex.reserve(size_t(m_nFileCount) * 2);
        for (int32_t i = 0; i < m_nFileCount; ++i) m_exactIndex[m_Entries[i].m_strName] = i;
        m_bExactIndexValid = true;
    }
    const auto it = m_exactIndex.find(name);
    return it == m_exactIndex.end() ? -1 : it->second;
}

int CPackwright32Doc::FindNoCase(const std::string& key)
{
    if (!m_bIndexValid) {
        m_nameIndex.clear();
        m_nameIndex.reserve(size_t(m_nFileCount) * 2);
        for (int32_t i = 0; i < m_nFileCount; ++i) m_nameIndex[ReplaceKey(m_Entries[i].m_strName)] = i;
        m_bIndexValid = true;
    }
    const auto it = m_nameIndex.find(key);
    return it == m_nameIndex.end() ? -1 : it->second;
}

AddResult CPackwright32Doc::AddFile(const std::string& path)
{
    uint64_t length = 0;
    {
        CFile file;
        if (!file.Open(path, CFile::modeRead | CFile::shareExclusive)) return AddResult::noAccess;
        try {
            length = file.GetLength();
        } catch (const CFileException&) {
            return AddResult::noAccess;
        }
    }
    return AddListedFile(path, length);
}

AddResult CPackwright32Doc::AddListedFile(const std::string& path, uint64_t length)
{
    const std::string name = GetFileNameOf(path);
    const std::string key = ReplaceKey(name);
    const int match = FindNoCase(key);
    if (match < 0 && m_nFileCount >= VPP_MAX_FILES) return AddResult::tableFull;

    // Refuse what would not fit in the format's signed 32-bit offsets.
    const int32_t newCount = match < 0 ? m_nFileCount + 1 : m_nFileCount;
    const int64_t newData = m_nDataBytes - (match < 0 ? 0 : VppAlign(m_Entries[match].m_nSize)) + VppAlign(int64_t(length));
    if (length >= uint64_t(VPP_SIZE_LIMIT) || VppDataStart(newCount) + newData >= VPP_SIZE_LIMIT)
        return AddResult::tooLarge;

    const int index = match < 0 ? m_nFileCount : match;
    if (match < 0) m_Entries.emplace_back();
    VPPEntry& entry = m_Entries[size_t(index)];
    entry.m_strName = name;
    entry.m_nSize = int32_t(length);
    entry.m_bInVPP = FALSE;
    entry.m_nOffset = 0;
    entry.m_strFilePath = path;
    if (match < 0) {
        m_nFileCount = newCount;
        if (m_bIndexValid) m_nameIndex[key] = index;
        if (m_bExactIndexValid) m_exactIndex[name] = index;
    } else {
        m_bExactIndexValid = false;  // the entry's exact name may have changed
    }
    // The same sum UpdateTotalSize would make, without a pass over the table.
    m_nDataBytes = newData;
    m_nTotalSize = int32_t(VppDataStart(m_nFileCount) + m_nDataBytes);
    SetModifiedFlag(TRUE);
    return match < 0 ? AddResult::added : AddResult::replaced;
}

BOOL CPackwright32Doc::RemoveFile(const std::string& name)
{
    // A removal invalidates the indexes: building one for a single lookup
    // would make removing names one at a time cost a table pass plus a
    // rebuild each. A scan from the end finds the last match alike.
    int index = -1;
    if (m_bExactIndexValid)
        index = FindExact(name);
    else
        for (int32_t i = m_nFileCount - 1; i >= 0 && index < 0; --i)
            if (m_Entries[i].m_strName == name) index = i;
    if (index < 0) return FALSE;
    m_Entries.erase(m_Entries.begin() + index);
    --m_nFileCount;
    InvalidateIndexes();
    UpdateTotalSize();
    SetModifiedFlag(TRUE);
    return TRUE;
}

int CPackwright32Doc::RemoveFiles(const std::vector<std::string>& names)
{
    // Removing a name k times takes its last k entries: count the requests,
    // mark from the end, then close the gaps once.
    std::unordered_map<std::string, int> wanted;
    for (const std::string& name : names) ++wanted[name];
    std::vector<bool> gone(size_t(m_nFileCount), false);
    int removed = 0;
    for (int32_t i = m_nFileCount - 1; i >= 0; --i) {
        const auto it = wanted.find(m_Entries[i].m_strName);
        if (it != wanted.end() && it->second > 0) {
            --it->second;
            gone[size_t(i)] = true;
            ++removed;
        }
    }
    if (removed == 0) return 0;
    int32_t kept = 0;
    for (int32_t i = 0; i < m_nFileCount; ++i)
        if (!gone[size_t(i)]) {
            if (kept != i) m_Entries[kept] = std::move(m_Entries[i]);
            ++kept;
        }
    m_Entries.resize(size_t(kept));
    m_nFileCount = kept;
    InvalidateIndexes();
    UpdateTotalSize();
    SetModifiedFlag(TRUE);
    return removed;
}
