// The document's life cycle, the format routines it shares with the reader
// and the writer, and the load pass.

#include "core/Packwright32Doc.h"

#include <algorithm>
#include <vector>

#include "framework/base/Path.h"
#include "framework/base/Report.h"

CPackwright32Doc::CPackwright32Doc() = default;

CPackwright32Doc::~CPackwright32Doc() = default;

// ---------------------------------------------------------------------------
// Format routines

int32_t CPackwright32Doc::AlignToBlock(int32_t n) { return int32_t(VppAlign(n)); }

void CPackwright32Doc::PadToBlock(CFile& file) { VppWritePadding(file); }

// ---------------------------------------------------------------------------
// Document life cycle

void CPackwright32Doc::DeleteContents()
{
    // Runs for New, before every load and after a failed one, so no path
    // (an empty file included) leaves another archive's entries in the table.
    // New leaves the total at 0; a load ends by recomputing it.
    m_Entries.clear();
    m_Entries.shrink_to_fit();
    m_nFileCount = 0;
    m_dwSignature = VPP_SIGNATURE;
    m_dwVersion = VPP_VERSION;
    m_nTotalSize = 0;
    m_nDataBytes = 0;
    m_nDroppedRecords = 0;
    m_loaded.Clear();
    m_storeSource.Abort();
    m_bStoreSourceReady = false;
    InvalidateIndexes();
}

void CPackwright32Doc::Serialize(CArchive& ar)
{
    if (ar.IsLoading())
        LoadArchive(*ar.GetFile());
    else
        StoreArchive(*ar.GetFile());
}

void CPackwright32Doc::ReportSaveLoadException(const std::string& pathName, const std::exception* e, BOOL bSaving,
                                               const char* defaultText)
{
    if (const auto* format = dynamic_cast<const CFormatException*>(e)) {
        AfxMessageBox(GetFormatErrorText(format->m_error), afx::mbOk | afx::mbIconWarning);
        return;
    }
    CDocument::ReportSaveLoadException(pathName, e, bSaving, defaultText);
}

void CPackwright32Doc::UpdateTotalSize()
{
    int64_t data = 0;
    for (int32_t i = 0; i < m_nFileCount; ++i) data += AlignToBlock(m_Entries[i].m_nSize);
    m_nDataBytes = data;
    m_nTotalSize = int32_t(VppDataStart(m_nFileCount) + data);
}

// ---------------------------------------------------------------------------
// Load pass

void CPackwright32Doc::LoadArchive(CFile& file)
{
    // An empty file opens as an archive without files, whose total is the
    // header block.
    if (file.GetLength() == 0) {
        m_loaded.Record(file, 0);
        UpdateTotalSize();
        return;
    }
    const VppHeader header = VppReadHeader(file);
    m_dwSignature = header.signature;
    m_dwVersion = header.version;
    m_nTotalSize = header.archiveSize;  // replaced by the recomputed size below

    int32_t count = std::max(header.fileCount, 0);
    if (count > VPP_MAX_FILES) {
        AfxMessageBox(GetTooManyFilesText(header.fileCount), afx::mbOk | afx::mbIconWarning);
        count = VPP_MAX_FILES;
    }

    // The table is built as the directory is read: no second copy of it.
    CArchiveIdentity::CDigest digest;
    digest.Add(header);
    const CEntryPath archivePath(file.GetFilePath());
    m_Entries.clear();
    m_Entries.reserve(size_t(count));
    const int32_t read = VppReadDirectory(file, header, count, [&](VppRecord& record) {
        digest.Add(record);
        m_Entries.push_back({std::move(record.name), int32_t(record.size), archivePath, record.offset, TRUE});
    });
    if (read < count) {
        // A damaged size puts this record's data, and all after it, out of
        // reach; the records before it are still good.
        AfxMessageBox(GetUnreachableFilesText(count - read, read), afx::mbOk | afx::mbIconWarning);
        count = read;
    }
    m_loaded.Record(file, std::min(std::max(header.fileCount, 0), VPP_MAX_FILES), &digest);
    m_nFileCount = count;
    m_nDroppedRecords = std::max(header.fileCount, 0) - count;
    InvalidateIndexes();
    UpdateTotalSize();
}

ExtractResult CPackwright32Doc::OpenLoadedArchive(CFile& file, UINT share, CFileException* pError)
{
    if (!m_loaded.IsRecorded() || !file.Open(m_loaded.GetPath(), CFile::modeRead | share, pError))
        return ExtractResult::noArchive;
    if (m_loaded.Matches(file)) return ExtractResult::ok;
    file.Abort();
    return ExtractResult::archiveChanged;
}

BOOL CPackwright32Doc::LockForWriting(const std::string& path)
{
    CFileException error;
    switch (m_writerLock.Acquire(path, CWriterLock::kWaitMs, &error)) {
    case CWriterLock::locked:
    case CWriterLock::missing: return TRUE;
    case CWriterLock::busy:
        AfxMessageBox(GetArchiveBusyText(GetFullPath(path)), afx::mbOk | afx::mbIconWarning);
        return FALSE;
    case CWriterLock::failed: break;
    }
    ReportSaveLoadException(path, &error, TRUE, AFX_TEXT_FAILED_TO_SAVE_DOC);
    return FALSE;
}
