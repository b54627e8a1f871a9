#include "ui/EntryDataSource.h"

#include <cstring>
#include <unordered_set>

#include "core/Packwright32Doc.h"
#include "framework/base/CodePage.h"
#include "framework/base/Path.h"
#include "framework/base/Report.h"
#include "framework/win32/PrivateTempFolder.h"
#include "framework/win32/ShellFormats.h"
#include "framework/win32/Wnd.h"
#include "res/resource.h"
#include "ui/ProgressDisplay.h"

CEntryDataSource::CEntryDataSource(CPackwright32Doc* pDoc, const std::vector<std::string>& names,
                                   CPrivateTempFolder& tempFolder, CProgressDisplay* pProgress)
    : m_pDoc(pDoc), m_pTempFolder(&tempFolder), m_pProgress(pProgress)
{
    // One file per name as the file system tells names apart.
    std::unordered_set<std::string> taken;
    for (const std::string& name : names) {
        const ExtractResult reason = pDoc ? pDoc->CheckExtractable(name) : ExtractResult::notFound;
        if (reason != ExtractResult::ok) {
            AppendErrorDetail(m_strErrors, name, CPackwright32Doc::GetExtractResultText(reason));
            continue;
        }
        if (!taken.insert(AnsiToLower(name)).second) continue;
        m_names.push_back(name);
        m_nBytes += pDoc->GetEntry(pDoc->FindEntry(name)).m_nSize;
    }
    DelayRenderData(CF_HDROP);
    DelayRenderData(AfxShellIdListFormat());
    // Copying is what the user means; the shell may still move the copies
    // out of the program's folder, which loses nothing.
    const DWORD effect = DROPEFFECT_COPY;
    std::vector<BYTE> bytes(sizeof effect);
    std::memcpy(bytes.data(), &effect, sizeof effect);
    CacheGlobalData(CLIPFORMAT(::RegisterClipboardFormatA("Preferred DropEffect")), std::move(bytes));
}

std::string CEntryDataSource::Folder()
{
    // A target may keep the object after the view and its folder are gone.
    if (m_strFolder.empty() && m_pTempFolder) m_strFolder = m_pTempFolder->MakeSubFolder("drag");
    return m_strFolder;
}

BOOL CEntryDataSource::OnRenderGlobalData(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes)
{
    const bool fileDrop = cfFormat == CF_HDROP;
    if ((!fileDrop && cfFormat != AfxShellIdListFormat()) || m_names.empty()) return FALSE;
    const std::string folder = Folder();
    if (folder.empty()) return FALSE;
    std::vector<std::string> names;
    if (IsDragPending()) {
        names = m_names;  // only a look: the names the drop will give, no file written yet
    } else {
        if (!m_bExtracted) {
            if (!m_pDoc) return FALSE;
            Extract();
        }
        names = m_extracted;
    }
    if (names.empty()) return FALSE;
    if (fileDrop) {
        std::vector<std::string> paths;
        paths.reserve(names.size());
        for (const std::string& name : names) paths.push_back(AddTrailingSeparator(folder) + name);
        bytes = AfxMakeDropFiles(paths);
    } else {
        bytes = AfxMakeShellIdList(folder, names);
    }
    return !bytes.empty();
}

void CEntryDataSource::Extract()
{
    m_bExtracted = TRUE;
    const std::string folder = Folder();
    const int32_t total = int32_t(m_names.size());
    CProgressDisplay* progress =
        (m_names.size() > kProgressEntries || m_nBytes > kProgressBytes) ? m_pProgress : nullptr;
    // Taken down also when a file error ends the extraction.
    struct Shown {
        CProgressDisplay* p;
        ~Shown()
        {
            if (p) p->HideProgress();
        }
    } shown{progress};
    if (progress) progress->ShowProgress(AfxLoadString(IDS_DRAG_EXTRACTING));
    // One run over the archive; the detail line names the entry finished last.
    const std::vector<ExtractResult> results =
        m_pDoc->ExtractFiles(m_names, folder, CFile::shareDenyWrite, [&](size_t index) {
            if (progress) progress->SetProgress(index ? m_names[index - 1] : std::string(), int32_t(index), total);
        });
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (results[i] != ExtractResult::ok)
            AppendErrorDetail(m_strErrors, m_names[i], CPackwright32Doc::GetExtractResultText(results[i]));
        else
            m_extracted.push_back(m_names[i]);
    }
    if (progress) progress->SetProgress("", total, total);
}
