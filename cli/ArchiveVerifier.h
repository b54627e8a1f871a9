#pragma once
// Checks a VPP archive for what the reader lets pass: data outside the file,
// a header size field that disagrees with the directory or the file length,
// duplicate and unsafe names, too many files. Non-zero padding is only noted:
// every reader ignores it, and other tools leave stale bytes there. Reads the
// file itself in bounded chunks, so archives near 2 GiB cost little memory.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/base/File.h"

class CArchiveVerifier {
public:
    explicit CArchiveVerifier(const std::string& path);

    // One line per problem found; empty when the archive is clean. File
    // errors escape as CFileException.
    std::vector<std::string> Run();
    // What the last Run saw that does no harm: at most one line, on
    // non-zero padding (where, and how much of it).
    const std::vector<std::string>& Notes() const { return m_notes; }

private:
    struct Record {
        std::string name;
        uint32_t size = 0;
        int64_t offset = 0;
    };

    bool CheckHeader();
    void ReadDirectory();
    void CheckNames();
    void CheckData();
    void CheckSizes();
    // Records non-zero padding first seen at offset `at`, in `where`.
    void NotePadding(int64_t at, const std::string& where);
    void SummarisePadding();

    // Offset of the first non-zero byte in [from, to) clipped to the file,
    // or -1 when all are zero.
    int64_t FindNonZero(int64_t from, int64_t to);
    std::string Describe(size_t index) const;
    void Report(std::string text) { m_findings.push_back(std::move(text)); }

    std::string m_strPath;
    CFile m_file;
    int64_t m_nLength = 0;
    int32_t m_nCount = 0;       // the header's file count
    int32_t m_nSizeField = 0;   // the header's archive size
    int64_t m_nDataStart = 0;   // where the data area starts by the count
    int64_t m_nComputed = 0;    // archive size the directory gives
    bool m_bDirectoryWhole = true;
    // The records the reader loads (at most VPP_MAX_FILES); records beyond
    // them only add their sizes to m_nComputed.
    std::vector<Record> m_records;
    std::vector<std::string> m_findings;
    std::vector<std::string> m_notes;
    // Non-zero padding: where it lies, and the first offset and place.
    bool m_bPaddingInHeader = false;
    bool m_bPaddingInDirectory = false;
    int m_nPaddingEntries = 0;
    int64_t m_nPaddingFirst = -1;
    std::string m_strPaddingFirstWhere;
};
