#include "cli/Commands.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "cli/ArchiveVerifier.h"
#include "cli/NameText.h"
#include "core/Packwright32Doc.h"
#include "framework/base/CodePage.h"
#include "framework/base/Folder.h"
#include "framework/base/Path.h"
#include "framework/base/Report.h"

#ifdef _WIN32
#include <direct.h>
#endif

namespace {

std::string g_stdoutFailure;
std::string g_subject;

}  // namespace

void WriteOut(const void* data, size_t size)
{
    if (size == 0 || !g_stdoutFailure.empty()) return;
    if (std::fwrite(data, 1, size, stdout) != size) {
        const int error = errno;
        g_stdoutFailure = error != 0 ? std::strerror(error) : "write failed";
    }
}

void WriteOut(const std::string& bytes) { WriteOut(bytes.data(), bytes.size()); }

const std::string& StdoutFailure() { return g_stdoutFailure; }

void WriteErr(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stderr);
    std::fflush(stderr);
}

void ReportFailure(const std::string& what, const std::string& message)
{
    WriteErr("packwright: " + EscapeName(what) + ": " + message + "\n");
}

void ReportEntry(const std::string& archive, const std::string& name, const std::string& message)
{
    WriteErr("packwright: " + EscapeName(archive) + ": " + EscapeName(name) + ": " + message + "\n");
}

const std::string& MessageSubject() { return g_subject; }

namespace {

using DocPtr = std::unique_ptr<CPackwright32Doc>;

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder where an archive should be: opening it would only say that
// access was denied.
bool RefuseFolder(const std::string& path)
{
    if (!IsFolder(path)) return false;
    ReportFailure(path, "is a directory, not an archive");
    return true;
}

// The document reports why an open failed through the message handler, so a
// null result needs no further words. A command that saves over the archive
// holds the writers' lock from before the load until the archive is
// replaced: a second writer waits, then builds on what this one left.
DocPtr OpenArchive(const std::string& path, bool forWriting = false)
{
    g_subject = path;
    if (RefuseFolder(path)) return nullptr;
    auto doc = std::make_unique<CPackwright32Doc>();
    if (forWriting && !doc->LockForWriting(GetFullPath(path))) return nullptr;
    if (!doc->OnOpenDocument(GetFullPath(path))) return nullptr;
    return doc;
}

int SaveArchive(CPackwright32Doc& doc, const std::string& path)
{
    g_subject = path;
    // The entries a save could not copy are told below from their codes,
    // not from the window's report of them.
    const ErrorDetailsHandler window = AfxSetErrorDetailsHandler([](const std::string&, const std::string&) {});
    doc.SetReopenAfterSave(false);  // the command ends here
    const BOOL saved = doc.OnSaveDocument(GetFullPath(path));
    AfxSetErrorDetailsHandler(window);
    if (!doc.GetSaveFailures().empty()) {
        ReportFailure(path, CPackwright32Doc::GetSaveFailedText());
        for (const CPackwright32Doc::SaveFailure& failure : doc.GetSaveFailures())
            // A file that changed after it was added has no text of its own in the window.
            ReportEntry(path, failure.name,
                        failure.code == CopyResult::sizeChanged
                            ? "the file changed size after it was read; add it again"
                            : CPackwright32Doc::GetCopyResultText(failure.code));
    }
    // Whatever else failed, the document or the framework has reported it.
    // Once the new archive is in place the save has succeeded, even should
    // it then fail to open again.
    return saved || doc.IsTargetReplaced() ? kExitOk : kExitFailed;
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

// A file given to create or add, with the size its listing or stat gave.
struct InputFile {
    std::string shown;  // as the user gave it, for messages
    std::string path;   // full
    uint64_t size = 0;
};

// The FILEs of create and add, each folder replaced by the regular files in
// it (not those of its subfolders), in byte order of their names. Each is
// looked at once here; the save opens it, once. FALSE when one cannot be
// added (said on stderr).
bool ListInputs(Args::const_iterator first, Args::const_iterator last, std::vector<InputFile>& inputs)
{
    bool ok = true;
    for (auto it = first; it != last; ++it) {
        const std::string full = GetFullPath(*it);
        struct stat st {};
        if (::stat(full.c_str(), &st) != 0 || (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode))) {
            // Missing, or a device or pipe: no file to read.
            ReportFailure(*it, CPackwright32Doc::GetAddResultText(AddResult::noAccess));
            ok = false;
            continue;
        }
        if (!S_ISDIR(st.st_mode)) {
            inputs.push_back({*it, full, uint64_t(st.st_size)});
            continue;
        }
        CFolder folder;
        std::vector<CListedFile> files;
        if (!folder.Open(full) || !folder.ListFiles(files)) {
            ReportFailure(*it, "cannot list the folder");
            ok = false;
            continue;
        }
        std::sort(files.begin(), files.end(),
                  [](const CListedFile& a, const CListedFile& b) { return a.name < b.name; });
        for (const CListedFile& file : files)
            inputs.push_back({AddTrailingSeparator(*it) + file.name, folder.GetPath() + file.name, file.size});
    }
    return ok;
}

// Adds every file; prints each failure, and each name that extract could
// not write (refused with --strict). TRUE when all were added.
bool AddFiles(CPackwright32Doc& doc, Args::const_iterator first, Args::const_iterator last, const Options& options)
{
    std::vector<InputFile> inputs;
    bool ok = ListInputs(first, last, inputs);
    for (const InputFile& input : inputs) {
        // What the entry will be called once saved: the name field holds 59 bytes.
        const std::string name = AnsiCutBytes(GetFileNameOf(input.path), VPP_NAME_LENGTH - 1);
        const bool safe = CPackwright32Doc::IsSafeFileName(name);
        if (!safe && options.strict) {
            ReportFailure(input.shown, "not added: the name \"" + EscapeName(name) +
                                          "\" cannot be extracted into a folder on Windows");
            ok = false;
            continue;
        }
        const AddResult code = doc.AddListedFile(input.path, input.size);
        if (!Succeeded(code)) {
            ReportFailure(input.shown, CPackwright32Doc::GetAddResultText(code));
            ok = false;
        } else if (!safe) {
            ReportFailure(input.shown, "warning: the name \"" + EscapeName(name) +
                                          "\" cannot be extracted into a folder on Windows (--strict refuses it)");
        }
    }
    return ok;
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
    // By characters: a trail byte 0x5C is no separator.
    bool afterSeparator = true;
    for (size_t i = 0; i < path.size(); i += AnsiCharLength(path, i)) {
        const bool separator = IsSeparator(path[i]);
        if (separator && !afterSeparator) MakeFolder(path.substr(0, i));
        afterSeparator = separator;
    }
    MakeFolder(path);
    return IsFolder(path);
}

}  // namespace

int CmdList(const Args& args, const Options& options)
{
    const DocPtr doc = OpenArchive(args[0]);
    if (!doc) return kExitFailed;
    if (options.json) WriteOut("[");
    std::string line;
    for (int32_t i = 0; i < doc->GetEntryCount() && StdoutFailure().empty(); ++i) {
        const VPPEntry& e = doc->GetEntry(i);
        if (options.json)
            WriteOut(FormatString("%s\n{\"name\":%s,\"size\":%d,\"offset\":%d}", i == 0 ? "" : ",",
                                  JsonString(e.m_strName).c_str(), int(e.m_nSize), int(e.m_nOffset)));
        else {
            // One line per entry, without a format string's parse: a list of
            // 65,536 entries is mostly this loop.
            line.clear();
            char number[16];
            for (const int32_t value : {e.m_nSize, e.m_nOffset}) {
                line.append(number, std::to_chars(number, number + sizeof number, value).ptr);
                line += '\t';
            }
            if (options.null) {
                line += e.m_strName;
                line += '\0';
            } else {
                line += EscapeName(e.m_strName);
                line += '\n';
            }
            WriteOut(line);
        }
    }
    if (options.json) WriteOut("\n]\n");
    return kExitOk;
}

int CmdInfo(const Args& args, const Options& options)
{
    const DocPtr doc = OpenArchive(args[0]);
    if (!doc) return kExitFailed;
    const char* format = options.json ? "{\"files\":%i,\"bytes\":%i}\n" : "%i files, %i bytes\n";
    WriteOut(FormatString(format, int(doc->GetEntryCount()), int(doc->m_nTotalSize)));
    return kExitOk;
}

int CmdCat(const Args& args, const Options&)
{
    const DocPtr doc = OpenArchive(args[0]);
    if (!doc) return kExitFailed;
    const int32_t index = doc->FindEntry(args[1]);
    if (index < 0) {
        ReportEntry(args[0], args[1], "not found");
        return kExitFailed;
    }
    const VPPEntry& entry = doc->GetEntry(index);
    CFile archive;
    // Shared with other readers, as the load was.
    CFileException error;
    const ExtractResult opened = doc->OpenLoadedArchive(archive, CFile::shareDenyWrite, &error);
    if (opened == ExtractResult::noArchive) throw error;  // the system's reason, naming the file
    if (opened != ExtractResult::ok) {
        ReportFailure(args[0], CPackwright32Doc::GetExtractResultText(opened));
        return kExitFailed;
    }
    archive.Seek(entry.m_nOffset, CFile::begin);
    // Through a bounded buffer: an entry may be near 2 GiB.
    std::vector<char> buffer(std::min<size_t>(size_t(entry.m_nSize), size_t(1) << 20));
    uint32_t remaining = uint32_t(entry.m_nSize);
    bool shortSource = false;
    while (remaining > 0 && StdoutFailure().empty()) {
        const UINT want = UINT(std::min<size_t>(remaining, buffer.size()));
        const UINT got = shortSource ? 0 : archive.Read(buffer.data(), want);
        if (got < want) {
            // What extract writes, too: the missing bytes as zeros.
            std::fill(buffer.begin() + got, buffer.begin() + want, 0);
            shortSource = true;
        }
        WriteOut(buffer.data(), want);
        remaining -= want;
    }
    if (shortSource) {
        ReportEntry(args[0], args[1], CPackwright32Doc::GetExtractResultText(ExtractResult::sourceShort));
        return kExitFailed;
    }
    return kExitOk;
}

int CmdExtract(const Args& args, const Options&)
{
    const DocPtr doc = OpenArchive(args[0]);
    if (!doc) return kExitFailed;

    std::vector<int32_t> entries;
    int status = kExitOk;
    if (args.size() > 2) {
        // Names not in the archive are told apart before anything is
        // written, so that none of them alone creates DIR.
        for (auto it = args.begin() + 2; it != args.end(); ++it) {
            const int32_t index = doc->FindEntry(*it);
            if (index < 0) {
                ReportEntry(args[0], *it, "not found");
                status = kExitFailed;
            } else {
                entries.push_back(index);
            }
        }
        if (entries.empty()) return status;
    } else {
        entries = doc->GetEntriesByName();
    }

    const std::string folder = GetFullPath(args[1]);
    if (!MakeFolders(folder)) {
        ReportFailure(args[1], "cannot create the folder");
        return kExitFailed;
    }
    g_subject = args[0];
    const std::vector<ExtractResult> codes = doc->ExtractEntries(entries, folder);
    // A changed archive fails every entry alike: say it once.
    if (std::find(codes.begin(), codes.end(), ExtractResult::archiveChanged) != codes.end()) {
        ReportFailure(args[0], CPackwright32Doc::GetExtractResultText(ExtractResult::archiveChanged));
        return kExitFailed;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (codes[i] != ExtractResult::ok) {
            ReportEntry(args[0], doc->GetEntry(entries[i]).m_strName, CPackwright32Doc::GetExtractResultText(codes[i]));
            status = kExitFailed;
        }
    }
    return status;
}

int CmdCreate(const Args& args, const Options& options)
{
    if (RefuseFolder(args[0])) return kExitFailed;
    auto doc = std::make_unique<CPackwright32Doc>();
    g_subject = args[0];
    if (!doc->LockForWriting(GetFullPath(args[0])) || !doc->OnNewDocument()) return kExitFailed;
    if (!AddFiles(*doc, args.begin() + 1, args.end(), options)) return kExitFailed;
    return SaveArchive(*doc, args[0]);
}

int CmdAdd(const Args& args, const Options& options)
{
    const DocPtr doc = OpenArchive(args[0], true);
    if (!doc) return kExitFailed;
    if (!MaySaveOver(*doc, args[0], options)) return kExitFailed;
    if (!AddFiles(*doc, args.begin() + 1, args.end(), options)) return kExitFailed;
    return SaveArchive(*doc, args[0]);
}

int CmdRemove(const Args& args, const Options& options)
{
    const DocPtr doc = OpenArchive(args[0], true);
    if (!doc) return kExitFailed;
    if (!MaySaveOver(*doc, args[0], options)) return kExitFailed;
    // A mistyped name must not leave the archive rewritten without the rest.
    // A name given k times takes the last k entries of that name: a name
    // given more often than the archive holds it is not found.
    std::unordered_map<std::string_view, int> held;
    held.reserve(size_t(doc->GetEntryCount()));
    for (int32_t i = 0; i < doc->GetEntryCount(); ++i) ++held[doc->GetEntry(i).m_strName];
    const Args names(args.begin() + 1, args.end());
    bool ok = true;
    for (const std::string& name : names) {
        if (held[name]-- <= 0) {
            ReportEntry(args[0], name, "not found");
            ok = false;
        }
    }
    if (!ok) return kExitFailed;
    doc->RemoveFiles(names);
    return SaveArchive(*doc, args[0]);
}

int CmdVerify(const Args& args, const Options& options)
{
    g_subject = args[0];
    if (RefuseFolder(args[0])) return kExitFailed;
    CArchiveVerifier verifier(args[0]);
    std::vector<std::string> problems = verifier.Run();
    std::vector<std::string> notes = verifier.Notes();
    // For checking this program's own output, where padding is always zero.
    if (options.strict) {
        problems.insert(problems.end(), notes.begin(), notes.end());
        notes.clear();
    }
    if (options.json) {
        const auto array = [](const std::vector<std::string>& lines) {
            std::string text = "[";
            for (size_t i = 0; i < lines.size(); ++i) text += (i == 0 ? "\n" : ",\n") + JsonString(lines[i]);
            return text + (lines.empty() ? "]" : "\n]");
        };
        WriteOut(FormatString("{\"ok\":%s,\"problems\":", problems.empty() ? "true" : "false") + array(problems) +
                 ",\"notes\":" + array(notes) + "}\n");
    } else {
        for (const std::string& problem : problems) WriteOut(problem + "\n");
        for (const std::string& note : notes) WriteOut("note: " + note + "\n");
        if (problems.empty()) WriteOut("OK\n");
    }
    return problems.empty() ? kExitOk : kExitFailed;
}
