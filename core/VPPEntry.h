#pragma once

#include <cstdint>
#include <string>

#include "core/EntryPath.h"
#include "framework/base/Types.h"

// One row of the document's table: a file of the archive and where its data
// lies right now.
struct VPPEntry {
    std::string m_strName;      // name inside the archive, letter case kept
    int32_t m_nSize = 0;        // length of the data in bytes
    CEntryPath m_strFilePath;   // the archive (stored entry) or the outside file
    int32_t m_nOffset = 0;      // data offset in m_strFilePath; 0 for an outside file
    BOOL m_bInVPP = FALSE;      // TRUE: inside a saved archive; FALSE: an outside file
};
