// The store pass and the save around it.

#include "core/Packwright32Doc.h"

#include "framework/base/Report.h"

void CPackwright32Doc::StoreArchive(CFile& file)
{
    m_bStoreStarted = TRUE;
    m_strSaveErrors.clear();
    UpdateTotalSize();

    VppHeader header;
    header.signature = m_dwSignature;
    header.version = m_dwVersion;
    header.fileCount = m_nFileCount;
    header.archiveSize = m_nTotalSize;
    VppWriteHeaderAndDirectory(file, header, [this](int32_t i) {
        return VppRecordRef{m_Entries[i].m_strName, uint32_t(m_Entries[i].m_nSize)};
    });

    for (int32_t i = 0; i < m_nFileCount; ++i) {
        const VPPEntry& entry = m_Entries[i];
        const int result = CopyFileData(entry.m_strFilePath, entry.m_nOffset, file, entry.m_nSize);
        if (result < 0) AppendErrorDetail(m_strSaveErrors, entry.m_strName, GetCopyResultText(result));
        PadToBlock(file);
    }
    m_bSaveErrors = m_strSaveErrors.empty() ? FALSE : TRUE;
}

BOOL CPackwright32Doc::OnSaveDocument(const std::string& pathName)
{
    const BOOL bWasModified = IsModified();

    // Stored entries are read from the old archive while the new one is
    // written, so an existing target is never written directly.
    std::string workPath = pathName;
    {
        CFile probe;
        if (probe.Open(pathName, CFile::modeRead | CFile::shareExclusive)) workPath = pathName + ".try";
    }

    m_bStoreStarted = FALSE;
    m_bSaveErrors = FALSE;
    m_strSaveErrors.clear();
    const BOOL bWritten = CDocument::OnSaveDocument(workPath);
    if (!bWritten || m_bSaveErrors) {
        // The store pass only runs on a file this save created.
        if (m_bStoreStarted) {
            try {
                CFile::Remove(workPath);
            } catch (const CFileException&) {
            }
        }
        if (m_bSaveErrors) AfxShowErrorDetails(GetSaveFailedText(), m_strSaveErrors);
        SetModifiedFlag(bWasModified);
        UpdateAllViews(nullptr);
        return FALSE;
    }

    if (workPath != pathName) {
        // One rename replaces the target: its name always holds either the
        // whole old archive or the whole new one.
        try {
            CFile::RenameOver(workPath, pathName);
        } catch (const CFileException& e) {
            e.ReportError();
            SetModifiedFlag(TRUE);
            UpdateAllViews(nullptr);
            return FALSE;
        }
    }

    const BOOL bReloaded = OnOpenDocument(pathName);
    UpdateAllViews(nullptr);
    return bReloaded;
}
