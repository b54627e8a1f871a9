// Reading the start of one entry's data into memory, for showing it.

#include "core/Packwright32Doc.h"

ExtractResult CPackwright32Doc::ReadEntryHead(const std::string& name, uint32_t maxBytes, std::vector<uint8_t>& bytes,
                                              bool& cut)
{
    bytes.clear();
    cut = false;
    const int index = FindExact(name);
    if (index < 0) return ExtractResult::notFound;
    const VPPEntry& entry = m_Entries[index];
    const uint32_t size = uint32_t(entry.m_nSize);
    const uint32_t wanted = size < maxBytes ? size : maxBytes;

    CFile file;
    uint64_t offset = 0;
    if (entry.m_bInVPP) {
        const ExtractResult opened = OpenLoadedArchive(file, CFile::shareDenyWrite);
        if (opened != ExtractResult::ok) return opened;
        if (entry.m_strFilePath != m_loaded.GetPath()) return ExtractResult::archiveChanged;
        offset = uint64_t(uint32_t(entry.m_nOffset));
    } else if (!file.Open(entry.m_strFilePath, CFile::modeRead | CFile::shareDenyWrite)) {
        return ExtractResult::noArchive;
    }
    try {
        file.Seek(int64_t(offset), CFile::begin);
        bytes.resize(wanted);
        const UINT got = wanted ? file.Read(bytes.data(), wanted) : 0;
        if (got < wanted) {
            bytes.clear();
            return ExtractResult::sourceShort;
        }
    } catch (const CFileException&) {
        bytes.clear();
        return ExtractResult::sourceShort;
    }
    cut = wanted < size;
    return ExtractResult::ok;
}
