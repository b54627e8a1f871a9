// The store pass and the save around it.

#include "core/Packwright32Doc.h"

#include <unordered_set>
#include <vector>

#include "framework/base/Path.h"
#include "framework/base/PendingFile.h"
#include "framework/base/Report.h"

void CPackwright32Doc::StoreArchive(CFile& file)
{
    m_strSaveErrors.clear();
    m_saveFailures.clear();
    UpdateTotalSize();
    // Stored entries are read only from the archive that was loaded, and only
    // once it proved to be still that archive.
    if (!m_bStoreSourceReady && !PrepareStoreSource({})) throw CUserException();
    m_bStoreSourceReady = false;
    CDataCopier copier;
    const bool haveSource = m_storeSource.IsOpen();
    if (haveSource) copier.UseSource(std::move(m_storeSource));

    VppHeader header;
    header.signature = m_dwSignature;
    header.version = m_dwVersion;
    header.fileCount = m_nFileCount;
    header.archiveSize = m_nTotalSize;
    VppWriteHeader(file, header);
    PadToBlock(file);
    VppWriteDirectory(file, m_nFileCount, [this](int32_t i) {
        return VppRecordRef{m_Entries[i].m_strName, uint32_t(m_Entries[i].m_nSize)};
    });
    PadToBlock(file);
    copier.GatherWritesTo(file);

    // Each entry's data goes out with its padding. Stored entries that lie
    // one after another in the same archive go out in runs of one read and
    // one write; the source archive stays open from one entry to the next.
    std::vector<uint32_t> run;
    for (int32_t i = 0; i < m_nFileCount;) {
        const VPPEntry& first = m_Entries[i];
        if (m_onSaveProgress) m_onSaveProgress(first.m_strName, i, m_nFileCount);
        int32_t end = i;
        int64_t runBytes = 0;
        run.clear();
        while (end < m_nFileCount && first.m_bInVPP && m_Entries[end].m_bInVPP &&
               m_Entries[end].m_strFilePath == first.m_strFilePath &&
               m_Entries[end].m_nOffset == first.m_nOffset + runBytes &&
               runBytes + VppAlign(m_Entries[end].m_nSize) <= CDataCopier::kRunBytes) {
            run.push_back(uint32_t(m_Entries[end].m_nSize));
            runBytes += VppAlign(m_Entries[end].m_nSize);
            ++end;
        }
        if (end - i > 1 && haveSource && copier.CopyRun(first.m_strFilePath, first.m_nOffset, file, run)) {
            i = end;
            continue;
        }
        const uint32_t pad = uint32_t(AlignToBlock(first.m_nSize) - first.m_nSize);
        // Stored entries come from the checked archive or from nowhere: an
        // archive that could not be opened is not tried again unchecked.
        const CopyResult result = first.m_bInVPP && (!haveSource || first.m_strFilePath != m_loaded.GetPath())
                               ? CopyResult::noSource
                               : copier.Copy(first.m_strFilePath, first.m_nOffset, file, first.m_nSize, pad);
        // A failed entry fails the save, but every entry is still tried.
        if (result != CopyResult::ok) {
            AppendErrorDetail(m_strSaveErrors, first.m_strName, GetCopyResultText(result));
            m_saveFailures.push_back({first.m_strName, result});
        }
        ++i;
    }
    copier.Flush();
    if (m_onSaveProgress) m_onSaveProgress(std::string(), m_nFileCount, m_nFileCount);
    m_bSaveErrors = m_strSaveErrors.empty() ? FALSE : TRUE;
}

BOOL CPackwright32Doc::PrepareStoreSource(const std::string& target)
{
    m_storeSource.Abort();
    m_bStoreSourceReady = true;
    if (!m_loaded.IsRecorded()) return TRUE;
    bool readsStored = false;
    for (int32_t i = 0; i < m_nFileCount && !readsStored; ++i) readsStored = m_Entries[i].m_bInVPP != FALSE;
    // Replacing the archive that was loaded is a write built on it, even
    // when no stored entry is left.
    const bool replacesLoaded =
        !target.empty() && (GetFullPath(target) == m_loaded.GetPath() || CFile::IsSameFile(target, m_loaded.GetPath()));
    if (!readsStored && !replacesLoaded) return TRUE;
    // Shared with readers, as the load was. An archive that cannot be opened
    // fails each stored entry in the store pass, as before.
    if (OpenLoadedArchive(m_storeSource, CFile::shareDenyWrite) != ExtractResult::archiveChanged) return TRUE;
    m_bStoreSourceReady = false;
    AfxMessageBox(GetArchiveChangedText(m_loaded.GetPath()), afx::mbOk | afx::mbIconWarning);
    return FALSE;
}

CFile CPackwright32Doc::OpenWorkFile(const std::string& target, CFileException& error) const
{
    // "game.vpp.try" when it is free; else the next free "game.vpp.N.try",
    // created exclusively, so that no other writer's work file is ever
    // taken over. One that no writer holds any more (left by a writer that
    // was killed) is removed and its name taken.
    std::unordered_set<std::string> sources;
    for (int32_t i = 0; i < m_nFileCount; ++i) sources.insert(m_Entries[i].m_strFilePath);
    CFile work;
    for (int n = 0; n < 1000; ++n) {
        const std::string candidate = n == 0 ? target + ".try" : target + "." + std::to_string(n) + ".try";
        const UINT create = CFile::modeCreate | CFile::modeCreateNew | CFile::modeReadWrite | CFile::shareExclusive;
        if (work.Open(candidate, create, &error)) return work;
        if (!CFile::Exists(candidate)) return work;  // a real failure: error says why
        bool isSource = false;
        for (const std::string& source : sources)
            if ((isSource = CFile::IsSameFile(source, candidate))) break;
        if (isSource) continue;
        const int removed = CFile::RemoveUnheld(candidate);
        // A folder or a device is nobody's work file: say that it is in the
        // way (the create only said that the name exists).
        if (removed == CFileException::accessDenied) {
            error.m_cause = CFileException::accessDenied;
            return work;
        }
        if (removed == CFileException::none && work.Open(candidate, create, &error)) return work;
    }
    return work;
}

BOOL CPackwright32Doc::OnSaveDocument(const std::string& pathName)
{
    const BOOL bWasModified = IsModified();
    // A lock this save took is given up when it ends; one taken for a whole
    // command (LockForWriting) once the archive is replaced.
    struct ReleaseLock {
        CWriterLock& lock;
        ~ReleaseLock() { lock.Release(); }
    } releaseLock{m_writerLock};
    auto fail = [&] {
        m_storeSource.Abort();
        m_bStoreSourceReady = false;
        SetModifiedFlag(bWasModified);
        UpdateAllViews(nullptr);
        return FALSE;
    };
    m_bSaveErrors = FALSE;
    m_bTargetReplaced = FALSE;
    m_strSaveErrors.clear();
    m_saveFailures.clear();

    // The new archive is always written under another name and then moved
    // over the target in one step, so the target's name only ever holds a
    // whole archive, and no file this save reads from is ever truncated.
    // Through links: the link stays, the archive it leads to is replaced.
    const std::string target = ResolveLinks(pathName);
    // Windows will not replace a read-only file: say so before writing a
    // whole new archive that could not take its place.
    if (CFile::RefusesReplacement(target)) {
        const CFileException denied(CFileException::accessDenied, -1, GetFullPath(target));
        ReportSaveLoadException(target, &denied, TRUE, AFX_TEXT_FAILED_TO_SAVE_DOC);
        return fail();
    }
    // Another writer of the same archive finishes first; then this save
    // finds whether what it would replace is still what it read.
    if (!m_writerLock.Covers(target) && !LockForWriting(target)) return fail();
    if (!PrepareStoreSource(target)) return fail();

    CFileException error;
    CFile work = OpenWorkFile(target, error);
    if (!work.IsOpen()) {
        ReportSaveLoadException(error.m_strFileName, &error, TRUE, AFX_TEXT_FAILED_TO_SAVE_DOC);
        return fail();
    }
    const std::string workPath = work.GetFilePath();
    AfxSetPendingFile(workPath);
    work.CopyPermissionsFrom(target);
    const BOOL bWritten = SaveToFile(work);
    m_storeSource.Abort();
    m_bStoreSourceReady = false;
    if (!bWritten || m_bSaveErrors) {
        work.Abort();
        try {
            CFile::Remove(workPath);
        } catch (const CFileException&) {
        }
        AfxSetPendingFile({});
        if (m_bSaveErrors) AfxShowErrorDetails(GetSaveFailedText(), m_strSaveErrors);
        return fail();
    }

    // One rename replaces the target: its name always holds either the
    // whole old archive or the whole new one.
    m_writerLock.BeforeReplace();
    try {
        CFile::RenameOver(workPath, target);
    } catch (const CFileException& e) {
        // The new archive stays: it is complete, and the message names it.
        AfxSetPendingFile({});
        AfxMessageBox(GetReplaceFailedText(workPath, target, e.GetErrorMessage()), afx::mbOk | afx::mbIconError);
        SetModifiedFlag(TRUE);
        UpdateAllViews(nullptr);
        return FALSE;
    }
    AfxSetPendingFile({});
    m_bTargetReplaced = TRUE;
    m_writerLock.Release();
    try {
        CFile::FlushFolderOf(target);
    } catch (const CFileException& e) {
        // The archive is in place; only its surviving a power cut is in doubt.
        AfxMessageBox(GetFolderNotFlushedText(target, e.GetErrorMessage()), afx::mbOk | afx::mbIconWarning);
    }

    if (!m_bReopenAfterSave) {
        // No entry may go on pointing where its data lay before the save.
        OnNewDocument();
        return TRUE;
    }
    // The table now follows the new file. Should it not open again, no entry
    // may go on pointing into a file it was not read from: the document is
    // left empty and without a path, as after New, and says so.
    const BOOL bReloaded = OnOpenDocument(pathName);
    if (!bReloaded) {
        OnNewDocument();
        AfxMessageBox(GetReloadFailedText(GetFullPath(pathName)), afx::mbOk | afx::mbIconWarning);
    }
    UpdateAllViews(nullptr);
    return bReloaded;
}
