#include "cliw/ExtractHere.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/CodePage.h"
#include "framework/base/Exception.h"
#include "framework/base/File.h"
#include "framework/base/Path.h"
#include "framework/base/Report.h"
#include "ui/MainFrame.h"
#include "ui/ProgressDisplay.h"

namespace {

bool IsFolder(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string CExtractHere::FolderFor(const std::string& archivePath)
{
    const std::string name = GetFileNameOf(archivePath);
    std::string base = name;
    // By characters: a trail byte is never taken for the dot.
    const size_t dot = AnsiFindLast(name, ".");
    if (dot != std::string::npos && dot > 0) base.erase(dot);
    return GetFolderOf(archivePath) + base;
}

std::string CExtractHere::GetReplaceQuestion(const std::string& folder, int count, const std::string& archive)
{
    return FormatString("%s already holds %i file(s) named like entries of %s.\n\n"
                        "Replace them with the files of the archive?",
                        folder.c_str(), count, archive.c_str());
}

int CExtractHere::Run(const std::string& archivePath)
{
    const std::string archive = GetFullPath(archivePath);
    CPackwright32Doc doc;
    // A missing, damaged or unreadable archive is reported by the load.
    if (!doc.OnOpenDocument(archive)) return 1;

    const std::vector<int32_t> entries = doc.GetEntriesByName();
    auto name = [&](size_t i) -> const std::string& { return doc.GetEntry(entries[i]).m_strName; };

    const std::string folder = FolderFor(archive);
    if (IsFolder(folder)) {
        // Asked once for all of them; No leaves the folder as it is.
        const int existing = int(std::count_if(entries.begin(), entries.end(), [&](int32_t index) {
            const std::string& entryName = doc.GetEntry(index).m_strName;
            return CPackwright32Doc::IsSafeFileName(entryName) && CFile::Exists(AddTrailingSeparator(folder) + entryName);
        }));
        if (existing > 0 &&
            AfxMessageBox(GetReplaceQuestion(folder, existing, GetFileNameOf(archive)),
                          afx::mbYesNo | afx::mbIconQuestion | afx::mbDefButton2) != afx::idYes)
            return 0;
    } else if (!::CreateDirectoryA(folder.c_str(), nullptr)) {
        const DWORD error = ::GetLastError();
        CFileException(CFileException::OsErrorToException(long(error)), long(error), folder).ReportError();
        return 1;
    }

    const auto total = static_cast<int32_t>(entries.size());
    std::vector<ExtractResult> results;
    try {
        // Taken down also when a file error ends the extraction.
        struct Shown {
            CProgressDisplay* p;
            ~Shown()
            {
                if (p) p->HideProgress();
            }
        } shown{m_pProgress};
        if (m_pProgress) m_pProgress->ShowProgress(CMainFrame::kTextExtracting);
        // The detail line names the entry finished last.
        results = doc.ExtractEntries(entries, folder, CFile::shareDenyWrite, [&](size_t index) {
            if (m_pProgress) m_pProgress->SetProgress(index ? name(index - 1) : std::string(), int32_t(index), total);
        });
        if (m_pProgress) m_pProgress->SetProgress("", total, total);
    } catch (const CFileException& e) {
        e.ReportError();  // a full disk, say: the system's reason, naming the file
        return 1;
    }

    // An archive changed or gone since the load fails every entry alike: say it once.
    for (const ExtractResult code : {ExtractResult::archiveChanged, ExtractResult::noArchive}) {
        if (std::find(results.begin(), results.end(), code) != results.end()) {
            AfxMessageBox(CPackwright32Doc::GetExtractResultText(code), afx::mbOk | afx::mbIconError);
            return 1;
        }
    }
    std::string errors;
    for (size_t i = 0; i < entries.size(); ++i)
        if (results[i] != ExtractResult::ok) AppendErrorDetail(errors, name(i), CPackwright32Doc::GetExtractResultText(results[i]));
    if (errors.empty()) return 0;
    AfxShowErrorDetails(CMainFrame::kTextExtractFailed, errors);
    return 1;
}
