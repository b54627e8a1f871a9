// Extracting entries into a folder and copying entry data.

#include "core/Packwright32Doc.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/base/CodePage.h"
#include "framework/base/Path.h"
#include "framework/base/PendingFile.h"

namespace {

void RemoveQuietly(const std::string& path)
{
    try {
        CFile::Remove(path);
    } catch (const CFileException&) {
    }
}

}  // namespace

bool CPackwright32Doc::IsSafeFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..") return false;
    // By characters: the trail byte of a double-byte character may be 0x5C
    // or 0x7C, and is then no backslash and no bar.
    for (size_t pos = 0; pos < name.size(); pos += AnsiCharLength(name, pos)) {
        const unsigned char u = static_cast<unsigned char>(name[pos]);
        if (u < 0x20 || std::strchr("<>:\"/\\|?*", name[pos])) return false;
    }
    // Windows drops trailing dots and spaces, which would make another name.
    if (AnsiEndsWith(name, '.') || AnsiEndsWith(name, ' ')) return false;

    // Device names stay devices with any extension: "nul.txt" is NUL.
    std::string base = name.substr(0, AnsiFind(name, "."));
    while (AnsiEndsWith(base, ' ')) base.pop_back();
    AnsiMakeUpperAscii(base);
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : devices)
        if (base == device) return false;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0)) {
        const unsigned char digit = static_cast<unsigned char>(base[3]);
        // 1 to 9, and the superscripts 1, 2 and 3 where the ANSI code page has them.
        if ((digit >= '1' && digit <= '9') || IsAnsiSuperscriptDigit(digit)) return false;
    }
    return true;
}

ExtractResult CPackwright32Doc::CheckExtractable(const std::string& name) { return CheckExtractableAt(FindExact(name)); }

ExtractResult CPackwright32Doc::CheckExtractableAt(int index) const
{
    if (index < 0 || index >= m_nFileCount) return ExtractResult::notFound;
    if (!m_Entries[index].m_bInVPP) return ExtractResult::notSaved;
    // A name from the archive must not reach outside the chosen folder.
    if (!IsSafeFileName(m_Entries[index].m_strName)) return ExtractResult::cannotCreate;
    return ExtractResult::ok;
}

std::vector<int32_t> CPackwright32Doc::GetEntriesByName() const
{
    std::vector<int32_t> reached;
    // Each name's place in reached, which a later entry of that name takes.
    std::unordered_map<std::string_view, size_t> place;
    place.reserve(size_t(m_nFileCount));
    for (int32_t i = 0; i < m_nFileCount; ++i) {
        const auto [it, first] = place.emplace(m_Entries[i].m_strName, reached.size());
        if (first)
            reached.push_back(i);
        else
            reached[it->second] = i;
    }
    return reached;
}

ExtractResult CPackwright32Doc::ExtractFile(const std::string& name, const std::string& folder)
{
    // The window's one-entry extraction holds the archive alone while it copies.
    return ExtractFiles({name}, folder, CFile::shareExclusive)[0];
}

std::vector<ExtractResult> CPackwright32Doc::ExtractFiles(const std::vector<std::string>& names,
                                                          const std::string& folder, UINT share,
                                                          const std::function<void(size_t)>& onEntry)
{
    std::vector<int32_t> entries;
    entries.reserve(names.size());
    for (const std::string& name : names) entries.push_back(FindExact(name));
    return ExtractEntries(entries, folder, share, onEntry);
}

std::vector<ExtractResult> CPackwright32Doc::ExtractEntries(const std::vector<int32_t>& entries,
                                                            const std::string& folder, UINT share,
                                                            const std::function<void(size_t)>& onEntry)
{
    std::vector<ExtractResult> results;
    results.reserve(entries.size());
    // The archive is opened, and checked, once for the whole batch; so is
    // the folder.
    CFile archive;
    std::optional<ExtractResult> opened;  // none: not tried yet
    CFolder into;
    bool intoTried = false;
    // Its file name in lower case, for telling an entry named like it.
    const std::string archiveName = AnsiToLower(GetFileNameOf(m_loaded.GetPath()));
    CEntryReader reader;
    for (const int32_t index : entries) {
        if (onEntry) onEntry(results.size());
        // Missing and unsaved entries fail before the archive is looked at.
        const ExtractResult extractable = CheckExtractableAt(index);
        if (extractable == ExtractResult::notFound || extractable == ExtractResult::notSaved) {
            results.push_back(extractable);
            continue;
        }
        const VPPEntry& entry = m_Entries[index];
        if (!opened) opened = OpenLoadedArchive(archive, share);
        if (*opened != ExtractResult::ok || entry.m_strFilePath != m_loaded.GetPath()) {
            results.push_back(*opened != ExtractResult::ok ? *opened : ExtractResult::archiveChanged);
            continue;
        }
        if (extractable != ExtractResult::ok) {
            results.push_back(extractable);
            continue;
        }
        if (!intoTried) {
            intoTried = true;
            into.Open(folder);
        }
        if (!into.IsOpen()) {
            results.push_back(ExtractResult::cannotCreate);
            continue;
        }
        // Never over the archive it comes from ("game.vpp" out of game.vpp
        // into its own folder). The names decide first: lookups cost more.
        if (entry.m_strName.size() == archiveName.size() && AnsiToLower(entry.m_strName) == archiveName &&
            CFile::IsSameFile(into.GetPath() + entry.m_strName, entry.m_strFilePath)) {
            results.push_back(ExtractResult::cannotCreate);
            continue;
        }
        results.push_back(ExtractEntry(entry, into, archive, reader));
    }
    return results;
}

ExtractResult CPackwright32Doc::ExtractEntry(const VPPEntry& entry, const CFolder& folder, CFile& archive,
                                             CEntryReader& reader)
{
    // A name nothing carries yet is written in place, created exclusively:
    // that never follows a link, so nothing planted there is written
    // through. A name that is taken is written under a work name and then
    // moved over it, so that its old contents stay whole until the new ones
    // are, and a planted link is replaced, never written through. A file
    // that fails half-way is removed either way.
    const UINT create = CFile::modeCreate | CFile::modeCreateNew | CFile::modeWrite | CFile::shareDenyNone;
    const std::string destPath = folder.GetPath() + entry.m_strName;
    CFile dest;
    std::string written = entry.m_strName;
    for (int n = 0; !dest.OpenIn(folder, written, create); ++n) {
        if (!CFile::Exists(folder.GetPath() + written)) return ExtractResult::cannotCreate;  // not merely taken
        written = entry.m_strName + (n == 0 ? std::string() : "." + std::to_string(n)) + ".try";
    }
    const std::string writtenPath = dest.GetFilePath();
    AfxSetPendingFile(writtenPath);
    ExtractResult result = ExtractResult::ok;
    try {
        if (!reader.Copy(archive, uint32_t(entry.m_nOffset), dest, uint32_t(entry.m_nSize)))
            result = ExtractResult::sourceShort;
        dest.Close();
    } catch (const CFileException&) {
        // A write error (a full disk) ends every extraction alike: it escapes.
        dest.Abort();
        RemoveQuietly(writtenPath);
        AfxSetPendingFile({});
        throw;
    }
    if (result == ExtractResult::ok && writtenPath != destPath) {
        try {
            CFile::RenameOver(writtenPath, destPath);
        } catch (const CFileException&) {
            result = ExtractResult::cannotCreate;  // a folder of that name, say
        }
    }
    if (result != ExtractResult::ok) RemoveQuietly(writtenPath);
    AfxSetPendingFile({});
    return result;
}
