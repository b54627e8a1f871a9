#include "core/EntryReader.h"

bool CEntryReader::Copy(CFile& archive, uint64_t offset, CFile& dest, uint32_t size)
{
    if (size == 0) return true;
    if (size > kSmall) return m_copier.CopyBytes(archive, offset, dest, size);
    if (offset < m_windowStart || offset + size > m_windowStart + m_windowLength) {
        m_window.resize(kWindow);
        m_windowStart = offset;
        m_windowLength = archive.ReadAt(m_window.data(), kWindow, offset);
        // Short of the entry: the copier writes what there is and the zeros.
        if (size > m_windowLength) return m_copier.CopyBytes(archive, offset, dest, size);
    }
    dest.Write(m_window.data() + (offset - m_windowStart), size);
    return true;
}
