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
    UpdateTotalSize();

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

    // Each entry's data goes out with its padding. Stored entries that lie
    // one after another in the same archive go out in runs of one read and
    // one write; the source archive stays open from one entry to the next.
    CDataCopier copier;
    std::vector<uint32_t> run;
    for (int32_t i = 0; i < m_nFileCount;) {
        const VPPEntry& first = m_Entries[i];
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
        if (end - i > 1 && copier.CopyRun(first.m_strFilePath, first.m_nOffset, file, run)) {
            i = end;
            continue;
        }
        const uint32_t pad = uint32_t(AlignToBlock(first.m_nSize) - first.m_nSize);
        const int result = copier.Copy(first.m_strFilePath, first.m_nOffset, file, first.m_nSize, pad);
        // A failed entry fails the save, but every entry is still tried.
        if (result < 0) AppendErrorDetail(m_strSaveErrors, first.m_strName, GetCopyResultText(result));
        ++i;
    }
    m_bSaveErrors = m_strSaveErrors.empty() ? FALSE : TRUE;
}

std::string CPackwright32Doc::ChooseWorkPath(const std::string& target) const
{
    // "game.vpp.try", unless that file is one this save reads from (an
    // outside file of that name, or the archive opened from it): then
    // "game.vpp.1.try" and so on.
    for (int n = 0;; ++n) {
        const std::string candidate = n == 0 ? target + ".try" : target + "." + std::to_string(n) + ".try";
        if (!CFile::Exists(candidate)) return candidate;
        std::unordered_set<std::string> checked;
        bool isSource = false;
        for (int32_t i = 0; i < m_nFileCount && !isSource; ++i)
            if (checked.insert(m_Entries[i].m_strFilePath).second)
                isSource = CFile::IsSameFile(m_Entries[i].m_strFilePath, candidate);
        if (!isSource) return candidate;
    }
}

BOOL CPackwright32Doc::OnSaveDocument(const std::string& pathName)
{
    const BOOL bWasModified = IsModified();
    auto fail = [&] {
        SetModifiedFlag(bWasModified);
        UpdateAllViews(nullptr);
        return FALSE;
    };
    m_bSaveErrors = FALSE;
    m_bTargetReplaced = FALSE;
    m_strSaveErrors.clear();

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
    const std::string workPath = ChooseWorkPath(target);
    // One left by an earlier save is removed, never written through (it may
    // be a link); when none is there, the removal fails quietly.
    try {
        CFile::Remove(workPath);
    } catch (const CFileException&) {
    }
    CFile work;
    CFileException error;
    if (!work.Open(workPath, CFile::modeCreate | CFile::modeCreateNew | CFile::modeReadWrite | CFile::shareExclusive,
                   &error)) {
        ReportSaveLoadException(workPath, &error, TRUE, AFX_TEXT_FAILED_TO_SAVE_DOC);
        return fail();
    }
    AfxSetPendingFile(workPath);
    work.CopyPermissionsFrom(target);
    const BOOL bWritten = SaveToFile(work);
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
    try {
        CFile::FlushFolderOf(target);
    } catch (const CFileException& e) {
        // The archive is in place; only its surviving a power cut is in doubt.
        AfxMessageBox(GetFolderNotFlushedText(target, e.GetErrorMessage()), afx::mbOk | afx::mbIconWarning);
    }

    // The table now follows the new file; should it not open again, the
    // document is left empty (as after New), never pointing into the old one.
    const BOOL bReloaded = OnOpenDocument(pathName);
    UpdateAllViews(nullptr);
    return bReloaded;
}
