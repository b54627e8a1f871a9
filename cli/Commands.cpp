#include "cli/Commands.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "cli/ArchiveVerifier.h"
#include "core/Packwright32Doc.h"
#include "framework/base/Path.h"
#include "framework/base/Report.h"

#ifdef _WIN32
#include <direct.h>
#endif

void WriteOut(const std::string& bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

void WriteErr(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

namespace {

using DocPtr = std::unique_ptr<CPackwright32Doc>;

void ReportFailure(const std::string& what, const std::string& message)
{
    WriteErr(what + ": " + message + "\n");
}

// The document reports why an open failed through the message handler, so a
// null result needs no further words.
DocPtr OpenArchive(const std::string& path)
{
    auto doc = std::make_unique<CPackwright32Doc>();
    if (!doc->OnOpenDocument(GetFullPath(path))) return nullptr;
    return doc;
}

int SaveArchive(CPackwright32Doc& doc, const std::string& path)
{
    // Whatever failed, the document or the framework has reported it. Once
    // the new archive is in place the save has succeeded, even should it
    // then fail to open again.
    return doc.OnSaveDocument(GetFullPath(path)) || doc.IsTargetReplaced() ? kExitOk : kExitFailed;
}

// An archive opened without some of its records must not be saved over
// unless the user said so: the window asks by its warning, a script cannot.
bool MaySaveOver(const CPackwright32Doc& doc, const std::string& path, const Options& options)
{
    if (doc.m_nDroppedRecords == 0 || options.dropExtra) return true;
    ReportFailure(path, FormatString("not saved: %i files of this archive were not loaded and would be lost "
                                     "(--drop-extra saves without them)",
                                     int(doc.m_nDroppedRecords)));
    return false;
}

// Adds every file; prints each failure. TRUE when all were added.
bool AddFiles(CPackwright32Doc& doc, Args::const_iterator first, Args::const_iterator last)
{
    bool ok = true;
    for (auto it = first; it != last; ++it) {
        const int code = doc.AddFile(GetFullPath(*it));
        if (code < 0) {
            ReportFailure(*it, CPackwright32Doc::GetAddResultText(code));
            ok = false;
        }
    }
    return ok;
}

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsSeparator(char c)
{
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

bool MakeFolder(const std::string& path)
{
#ifdef _WIN32
    return _mkdir(path.c_str()) == 0 || errno == EEXIST;
#else
    return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
#endif
}

// Creates path and any missing parents, like mkdir -p.
bool MakeFolders(const std::string& path)
{
    if (IsFolder(path)) return true;
    for (size_t i = 1; i < path.size(); ++i)
        if (IsSeparator(path[i]) && !IsSeparator(path[i - 1])) MakeFolder(path.substr(0, i));
    MakeFolder(path);
    return IsFolder(path);
}

}  // namespace

int CmdList(const Args& args, const Options&)
{
    const DocPtr doc = OpenArchive(args[0]);
    if (!doc) return kExitFailed;
    for (int32_t i = 0; i < doc->m_nFileCount; ++i) {
        const VPPEntry& e = doc->m_Entries[i];
        WriteOut(FormatString("%d\t%d\t", int(e.m_nSize), int(e.m_nOffset)) + e.m_strName + "\n");
    }
    return kExitOk;
}

int CmdInfo(const Args& args, const Options&)
{
    const DocPtr doc = OpenArchive(args[0]);
    if (!doc) return kExitFailed;
    WriteOut(FormatString("%i files, %i bytes\n", int(doc->m_nFileCount), int(doc->m_nTotalSize)));
    return kExitOk;
}

int CmdExtract(const Args& args, const Options&)
{
    const DocPtr doc = OpenArchive(args[0]);
    if (!doc) return kExitFailed;
    const std::string folder = GetFullPath(args[1]);
    if (!MakeFolders(folder)) {
        ReportFailure(args[1], "cannot create the folder");
        return kExitFailed;
    }

    Args names(args.begin() + 2, args.end());
    if (names.empty()) {
        // Entries of the same name all resolve to the last one: extract it once.
        std::unordered_set<std::string> seen;
        for (int32_t i = 0; i < doc->m_nFileCount; ++i)
            if (seen.insert(doc->m_Entries[i].m_strName).second)
                names.push_back(doc->m_Entries[i].m_strName);
    }

    int status = kExitOk;
    const std::vector<int> codes = doc->ExtractFiles(names, folder);
    for (size_t i = 0; i < names.size(); ++i) {
        if (codes[i] < 0) {
            ReportFailure(names[i], CPackwright32Doc::GetExtractResultText(codes[i]));
            status = kExitFailed;
        }
    }
    return status;
}

int CmdCreate(const Args& args, const Options&)
{
    auto doc = std::make_unique<CPackwright32Doc>();
    if (!doc->OnNewDocument()) return kExitFailed;
    if (!AddFiles(*doc, args.begin() + 1, args.end())) return kExitFailed;
    return SaveArchive(*doc, args[0]);
}

int CmdAdd(const Args& args, const Options& options)
{
    const DocPtr doc = OpenArchive(args[0]);
    if (!doc) return kExitFailed;
    if (!MaySaveOver(*doc, args[0], options)) return kExitFailed;
    if (!AddFiles(*doc, args.begin() + 1, args.end())) return kExitFailed;
    return SaveArchive(*doc, args[0]);
}

int CmdRemove(const Args& args, const Options& options)
{
    const DocPtr doc = OpenArchive(args[0]);
    if (!doc) return kExitFailed;
    if (!MaySaveOver(*doc, args[0], options)) return kExitFailed;
    // A mistyped name must not leave the archive rewritten without the rest.
    // A name given k times takes the last k entries of that name: a name
    // given more often than the archive holds it is not found.
    std::unordered_map<std::string, int> held;
    for (int32_t i = 0; i < doc->m_nFileCount; ++i) ++held[doc->m_Entries[i].m_strName];
    const Args names(args.begin() + 1, args.end());
    bool ok = true;
    for (const std::string& name : names) {
        if (held[name]-- <= 0) {
            ReportFailure(name, "not found");
            ok = false;
        }
    }
    if (!ok) return kExitFailed;
    doc->RemoveFiles(names);
    return SaveArchive(*doc, args[0]);
}

int CmdVerify(const Args& args, const Options&)
{
    CArchiveVerifier verifier(args[0]);
    const std::vector<std::string> findings = verifier.Run();
    for (const std::string& finding : findings) WriteOut(finding + "\n");
    if (!findings.empty()) return kExitFailed;
    WriteOut("OK\n");
    return kExitOk;
}
