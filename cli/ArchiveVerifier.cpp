#include "cli/ArchiveVerifier.h"

#include <algorithm>
#include <unordered_map>

#include "cli/NameText.h"
#include "core/Packwright32Doc.h"
#include "core/VppFormat.h"
#include "framework/base/CodePage.h"
#include "framework/base/Report.h"

namespace {

constexpr int64_t kChunk = 64 * 1024;
constexpr int64_t kRecordsPerChunk = kChunk / VPP_RECORD_SIZE;

std::string Num(int64_t n) { return std::to_string(n); }

}  // namespace

CArchiveVerifier::CArchiveVerifier(const std::string& path) : m_strPath(path) {}

std::vector<std::string> CArchiveVerifier::Run()
{
    m_findings.clear();
    m_notes.clear();
    m_records.clear();
    m_bPaddingInHeader = m_bPaddingInDirectory = false;
    m_nPaddingEntries = 0;
    m_nPaddingFirst = -1;
    m_strPaddingFirstWhere.clear();
    CFileException error;
    if (!m_file.Open(m_strPath, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &error)) {
        if (error.m_strFileName.empty()) error.m_strFileName = m_strPath;
        throw error;
    }
    m_nLength = int64_t(m_file.GetLength());
    // An empty file opens, and is added to, as an archive without files.
    if (m_nLength != 0 && CheckHeader()) {
        ReadDirectory();
        CheckNames();
        CheckData();
        CheckSizes();
    }
    SummarisePadding();
    m_file.Close();
    return m_findings;
}

bool CArchiveVerifier::CheckHeader()
{
    uint8_t header[VPP_HEADER_SIZE];
    if (m_nLength < VPP_HEADER_SIZE || m_file.Read(header, sizeof header) != sizeof header) {
        Report("file too short for a VPP header (" + Num(m_nLength) + " bytes)");
        return false;
    }
    if (VppGetLE32(header + VPP_HEADER_SIGNATURE) != VPP_SIGNATURE) {
        Report("not a VPP archive (invalid signature)");
        return false;
    }
    const uint32_t version = VppGetLE32(header + VPP_HEADER_VERSION);
    if (version != VPP_VERSION) {
        Report("unsupported version " + Num(version));
        return false;
    }
    m_nCount = int32_t(VppGetLE32(header + VPP_HEADER_FILE_COUNT));
    m_nSizeField = int32_t(VppGetLE32(header + VPP_HEADER_ARCHIVE_SIZE));
    if (m_nCount < 0) {
        Report("negative file count " + Num(m_nCount) + ": no files load");
        m_nCount = 0;
    } else if (m_nCount > VPP_MAX_FILES) {
        Report("too many files: the header lists " + Num(m_nCount) + ", only the first " +
               Num(VPP_MAX_FILES) + " load");
    }
    m_nDataStart = VppDataStart(m_nCount);

    const int64_t at = FindNonZero(VPP_HEADER_SIZE, VPP_BLOCK_SIZE);
    if (at >= 0) {
        m_bPaddingInHeader = true;
        NotePadding(at, "in the header");
    }
    return true;
}

void CArchiveVerifier::ReadDirectory()
{
    const int64_t available =
        m_nLength > VPP_BLOCK_SIZE ? (m_nLength - VPP_BLOCK_SIZE) / VPP_RECORD_SIZE : 0;
    const int64_t present = std::min<int64_t>(m_nCount, available);
    if (present < m_nCount) {
        m_bDirectoryWhole = false;
        Report("directory cut short: the header lists " + Num(m_nCount) + " records, the file holds " +
               Num(present));
    }

    std::vector<uint8_t> chunk(static_cast<size_t>(kChunk));
    int64_t running = m_nDataStart;
    m_file.Seek(VPP_BLOCK_SIZE, CFile::begin);
    for (int64_t first = 0; first < present; first += kRecordsPerChunk) {
        const int64_t n = std::min(kRecordsPerChunk, present - first);
        const UINT want = UINT(n * VPP_RECORD_SIZE);
        const UINT got = m_file.Read(chunk.data(), want);
        std::fill(chunk.begin() + got, chunk.begin() + want, 0);  // the file shrank meanwhile
        for (int64_t k = 0; k < n; ++k) {
            const uint8_t* rec = chunk.data() + k * VPP_RECORD_SIZE;
            const uint32_t size = VppGetLE32(rec + VPP_RECORD_FILE_SIZE);
            if (first + k < VPP_MAX_FILES) {
                const uint8_t* field = rec + VPP_RECORD_NAME;
                std::string name = VppNameFromField(field, VPP_NAME_LENGTH);
                const size_t len = name.size();
                m_records.push_back({std::move(name), size, running});
                const size_t index = m_records.size() - 1;
                if (len == size_t(VPP_NAME_LENGTH))
                    Report(Describe(index) + ": name fills all " + Num(VPP_NAME_LENGTH) +
                           " bytes; saving cuts it to " + Num(VPP_NAME_LENGTH - 1));
                else if (std::any_of(field + len, field + VPP_NAME_LENGTH, [](uint8_t c) { return c != 0; }))
                    Report(Describe(index) + ": name field holds non-zero bytes after the name");
            }
            running += VppAlign(size);
        }
    }
    m_nComputed = running;

    if (m_bDirectoryWhole) {
        const int64_t at =
            FindNonZero(VPP_BLOCK_SIZE + int64_t(VPP_RECORD_SIZE) * m_nCount, m_nDataStart);
        if (at >= 0) {
            m_bPaddingInDirectory = true;
            NotePadding(at, "in the directory");
        }
    }
}

void CArchiveVerifier::CheckNames()
{
    // Lower-cased name -> first entry with it; adding a file of that name
    // would replace only one of them.
    std::unordered_map<std::string, size_t> first;
    for (size_t i = 0; i < m_records.size(); ++i) {
        const std::string& name = m_records[i].name;
        if (!CPackwright32Doc::IsSafeFileName(name))
            Report(Describe(i) + ": unsafe name, cannot be extracted into a folder");
        const auto [it, inserted] = first.emplace(AnsiToLower(name), i);
        if (!inserted) Report(Describe(i) + ": duplicate name, same as " + Describe(it->second));
    }
}

void CArchiveVerifier::CheckData()
{
    for (size_t i = 0; i < m_records.size(); ++i) {
        const Record& r = m_records[i];
        const int64_t end = r.offset + r.size;
        if (end > m_nLength) {
            Report(Describe(i) + ": data at offset " + Num(r.offset) + " (" + Num(r.size) +
                   " bytes) runs past the end of the file");
            continue;
        }
        const int64_t at = FindNonZero(end, r.offset + VppAlign(r.size));
        if (at >= 0) {
            ++m_nPaddingEntries;
            NotePadding(at, "after the data of " + Describe(i));
        }
    }
}

void CArchiveVerifier::CheckSizes()
{
    if (!m_bDirectoryWhole) return;  // the sizes of the missing records are unknown
    if (m_nComputed >= VPP_SIZE_LIMIT)
        Report("archive size " + Num(m_nComputed) + " reaches the 2 GiB limit");
    if (m_nSizeField != m_nComputed)
        Report("header: archive size field is " + Num(m_nSizeField) + ", the directory gives " +
               Num(m_nComputed));
    if (m_nLength != m_nComputed)
        Report("file length is " + Num(m_nLength) + " bytes, the directory gives " + Num(m_nComputed));
}

void CArchiveVerifier::NotePadding(int64_t at, const std::string& where)
{
    if (m_nPaddingFirst < 0) {
        m_nPaddingFirst = at;
        m_strPaddingFirstWhere = where;
    }
}

void CArchiveVerifier::SummarisePadding()
{
    if (m_nPaddingFirst < 0) return;
    // One line however many entries: a tool that pads with stale bytes
    // would otherwise give a line for nearly every entry.
    std::vector<std::string> places;
    if (m_bPaddingInHeader) places.push_back("in the header");
    if (m_bPaddingInDirectory) places.push_back("in the directory");
    if (m_nPaddingEntries > 0)
        places.push_back("after " + Num(m_nPaddingEntries) + (m_nPaddingEntries == 1 ? " entry" : " entries"));
    std::string text = "non-zero padding ";
    for (size_t i = 0; i < places.size(); ++i)
        text += (i == 0 ? "" : i + 1 == places.size() ? " and " : ", ") + places[i];
    m_notes.push_back(text + "; the first byte at offset " + Num(m_nPaddingFirst) + ", " + m_strPaddingFirstWhere +
                      " (readers ignore padding)");
}

int64_t CArchiveVerifier::FindNonZero(int64_t from, int64_t to)
{
    to = std::min(to, m_nLength);
    if (from >= to) return -1;
    unsigned char buffer[4096];
    m_file.Seek(from, CFile::begin);
    while (from < to) {
        const UINT want = UINT(std::min<int64_t>(sizeof buffer, to - from));
        const UINT got = m_file.Read(buffer, want);
        for (UINT k = 0; k < got; ++k)
            if (buffer[k] != 0) return from + k;
        if (got < want) break;
        from += got;
    }
    return -1;
}

std::string CArchiveVerifier::Describe(size_t index) const
{
    return "entry #" + Num(int64_t(index) + 1) + " \"" + EscapeName(m_records[index].name) + "\"";
}
