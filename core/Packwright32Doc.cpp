#include "core/Packwright32Doc.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/base/CodePage.h"
#include "framework/base/Path.h"
#include "framework/base/Report.h"

namespace {

// Entry data moves through a buffer of at most this size, so no entry needs
// memory of its own size (which a 32-bit process may not have for 2 GiB).
constexpr uint32_t kCopyChunk = 1u << 20;

const char* const kTextInvalidSignature = "Unsupported file format (Invalid signature)!";
const char* const kTextInvalidVersion = "Unsupported file format (Invalid version number)!";
const char* const kTextTooManyFiles =
    "WARNING! This file has too many files (%i) for PACKWRIGHT32 to handle right. PACKWRIGHT32 will only "
    "load the first %i files. If you save to the same file, all files beyond that will be lost.";
const char* const kTextTruncated = "Unsupported file format (Truncated file)!";
const char* const kTextTooLarge = "Unsupported file format (Archive of 2 GB or more)!";
const char* const kTextSaveFailed = "The archive was not saved, because these files could not be copied:";

int64_t AlignUp(int64_t n) { return (n + VPP_BLOCK_SIZE - 1) / VPP_BLOCK_SIZE * VPP_BLOCK_SIZE; }

// Header block plus directory for count records.
int64_t DirectoryEnd(int64_t count) { return AlignUp(int64_t(VPP_RECORD_SIZE) * (count + 32)); }

uint32_t GetLE32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void PutLE32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// The bytes of a name field before its first zero; all of them when none is.
std::string NameFromField(const uint8_t* field, int width)
{
    const void* zero = std::memchr(field, 0, size_t(width));
    const size_t length = zero ? size_t(static_cast<const uint8_t*>(zero) - field) : size_t(width);
    return std::string(reinterpret_cast<const char*>(field), length);
}

// The name cut to width - 1 bytes, zero-filled to width.
void NameToField(uint8_t* field, int width, const std::string& name)
{
    std::memset(field, 0, size_t(width));
    std::memcpy(field, name.data(), std::min(name.size(), size_t(width - 1)));
}

[[noreturn]] void Reject(const char* text)
{
    AfxMessageBox(text, afx::mbOk | afx::mbIconWarning);
    throw CUserException();
}

// Copies size bytes from src's position to dest's; what src does not
// deliver becomes zeros.
void CopyBytes(CFile& src, CFile& dest, int32_t size)
{
    std::vector<uint8_t> buffer(std::min<uint32_t>(uint32_t(size), kCopyChunk));
    uint32_t remaining = uint32_t(size);
    bool atEnd = false;
    while (remaining > 0) {
        const uint32_t n = std::min(remaining, kCopyChunk);
        const UINT got = atEnd ? 0 : src.Read(buffer.data(), n);
        if (got < n) {
            std::memset(buffer.data() + got, 0, n - got);
            atEnd = true;
        }
        dest.Write(buffer.data(), n);
        remaining -= n;
    }
}

}  // namespace

CPackwright32Doc::CPackwright32Doc() : m_Entries(new VPPEntry[VPP_MAX_FILES]) {}

CPackwright32Doc::~CPackwright32Doc() = default;

// ---------------------------------------------------------------------------
// Format routines

int32_t CPackwright32Doc::AlignToBlock(int32_t n)
{
    const int32_t r = n % VPP_BLOCK_SIZE;
    return r == 0 ? n : n - r + VPP_BLOCK_SIZE;
}

void CPackwright32Doc::PadToBlock(CFile& file)
{
    static const uint8_t zeros[VPP_BLOCK_SIZE] = {};
    const uint64_t pos = file.GetPosition();
    const uint64_t pad = uint64_t(AlignUp(int64_t(pos))) - pos;
    if (pad > 0) file.Write(zeros, UINT(pad));
}

std::string CPackwright32Doc::ReadName(CFile& file, int width)
{
    std::vector<uint8_t> field(size_t(width), 0);
    if (file.Read(field.data(), UINT(width)) < UINT(width))
        CFileException::Throw(CFileException::endOfFile, -1, file.GetFilePath());
    return NameFromField(field.data(), width);
}

void CPackwright32Doc::WriteName(CFile& file, int width, const std::string& name)
{
    std::vector<uint8_t> field(static_cast<size_t>(width));
    NameToField(field.data(), width, name);
    file.Write(field.data(), UINT(width));
}

// ---------------------------------------------------------------------------
// Document life cycle

void CPackwright32Doc::DeleteContents()
{
    // Runs for New, before every load and after a failed one, so no path
    // (an empty file included) leaves another archive's entries in the table.
    // New leaves the total at 0; a load ends by recomputing it.
    m_nFileCount = 0;
    m_dwSignature = VPP_SIGNATURE;
    m_dwVersion = VPP_VERSION;
    m_nTotalSize = 0;
    m_nDataBytes = 0;
    m_bIndexValid = false;
}

BOOL CPackwright32Doc::OnOpenDocument(const std::string& pathName)
{
    if (!CDocument::OnOpenDocument(pathName)) return FALSE;
    // An empty file skips the load pass (which ends with the totals): it
    // opens as an archive without files, whose total is the header block.
    if (m_nTotalSize == 0) UpdateTotalSize();
    return TRUE;
}

void CPackwright32Doc::Serialize(CArchive& ar)
{
    if (ar.IsLoading())
        LoadArchive(*ar.GetFile());
    else
        StoreArchive(*ar.GetFile());
}

void CPackwright32Doc::UpdateTotalSize()
{
    int64_t data = 0;
    for (int32_t i = 0; i < m_nFileCount; ++i) data += AlignUp(m_Entries[i].m_nSize);
    m_nDataBytes = data;
    m_nTotalSize = int32_t(DirectoryEnd(m_nFileCount) + data);
}

// ---------------------------------------------------------------------------
// Load pass

void CPackwright32Doc::LoadArchive(CFile& file)
{
    uint8_t header[VPP_HEADER_SIZE] = {};
    const UINT headerBytes = file.Read(header, sizeof header);

    m_dwSignature = GetLE32(header);
    if (m_dwSignature != VPP_SIGNATURE) Reject(kTextInvalidSignature);
    m_dwVersion = GetLE32(header + 4);
    if (m_dwVersion != VPP_VERSION) Reject(kTextInvalidVersion);
    if (headerBytes < sizeof header) Reject(kTextTruncated);
    const int32_t countRead = int32_t(GetLE32(header + 8));
    m_nTotalSize = int32_t(GetLE32(header + 12));  // replaced by the recomputed size below

    file.Seek(AlignUp(int64_t(file.GetPosition())), CFile::begin);

    // Offsets follow the directory as stored, even when not all of it loads.
    int64_t offset = DirectoryEnd(std::max(countRead, 0));
    if (offset >= VPP_SIZE_LIMIT) Reject(kTextTooLarge);

    int32_t count = countRead;
    if (count > VPP_MAX_FILES) {
        AfxMessageBox(FormatString(kTextTooManyFiles, countRead, VPP_MAX_FILES), afx::mbOk | afx::mbIconWarning);
        count = VPP_MAX_FILES;
    }
    if (count < 0) count = 0;

    // One read for the whole directory: record-sized reads are slow on some systems.
    std::vector<uint8_t> directory(size_t(count) * VPP_RECORD_SIZE);
    if (count > 0 && file.Read(directory.data(), UINT(directory.size())) < directory.size())
        Reject(kTextTruncated);

    const std::string& archivePath = file.GetFilePath();
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* record = directory.data() + size_t(i) * VPP_RECORD_SIZE;
        const uint32_t size = GetLE32(record + VPP_NAME_LENGTH);
        const int64_t next = offset + AlignUp(size);
        if (next >= VPP_SIZE_LIMIT) Reject(kTextTooLarge);
        VPPEntry& entry = m_Entries[i];
        entry.m_strName = NameFromField(record, VPP_NAME_LENGTH);
        entry.m_nSize = int32_t(size);
        entry.m_bInVPP = TRUE;
        entry.m_strFilePath = archivePath;
        entry.m_nOffset = int32_t(offset);
        offset = next;
        m_nFileCount = i + 1;
    }
    m_bIndexValid = false;
    UpdateTotalSize();
}

// ---------------------------------------------------------------------------
// Store pass and save

void CPackwright32Doc::StoreArchive(CFile& file)
{
    m_bStoreStarted = TRUE;
    m_strSaveErrors.clear();
    UpdateTotalSize();

    uint8_t header[VPP_HEADER_SIZE];
    PutLE32(header, m_dwSignature);
    PutLE32(header + 4, m_dwVersion);
    PutLE32(header + 8, uint32_t(m_nFileCount));
    PutLE32(header + 12, uint32_t(m_nTotalSize));
    file.Write(header, sizeof header);
    PadToBlock(file);

    std::vector<uint8_t> directory(size_t(m_nFileCount) * VPP_RECORD_SIZE);
    for (int32_t i = 0; i < m_nFileCount; ++i) {
        uint8_t* record = directory.data() + size_t(i) * VPP_RECORD_SIZE;
        NameToField(record, VPP_NAME_LENGTH, m_Entries[i].m_strName);
        PutLE32(record + VPP_NAME_LENGTH, uint32_t(m_Entries[i].m_nSize));
    }
    if (!directory.empty()) file.Write(directory.data(), UINT(directory.size()));
    PadToBlock(file);

    for (int32_t i = 0; i < m_nFileCount; ++i) {
        const VPPEntry& entry = m_Entries[i];
        const int result = CopyFileData(entry.m_strFilePath, entry.m_nOffset, file, entry.m_nSize);
        if (result < 0) m_strSaveErrors += entry.m_strName + "\r\n" + GetCopyResultText(result) + "\r\n\r\n";
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
        if (m_bSaveErrors) AfxShowErrorDetails(kTextSaveFailed, m_strSaveErrors);
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

// ---------------------------------------------------------------------------
// Lookups

int CPackwright32Doc::FindExact(const std::string& name) const
{
    for (int32_t i = m_nFileCount - 1; i >= 0; --i)
        if (m_Entries[i].m_strName == name) return i;
    return -1;
}

int CPackwright32Doc::FindNoCase(const std::string& lowerName)
{
    if (!m_bIndexValid) {
        m_nameIndex.clear();
        m_nameIndex.reserve(size_t(m_nFileCount) * 2);
        for (int32_t i = 0; i < m_nFileCount; ++i) m_nameIndex[AnsiToLower(m_Entries[i].m_strName)] = i;
        m_bIndexValid = true;
    }
    const auto it = m_nameIndex.find(lowerName);
    return it == m_nameIndex.end() ? -1 : it->second;
}

// ---------------------------------------------------------------------------
// Editing

int CPackwright32Doc::AddFile(const std::string& path)
{
    uint64_t length = 0;
    {
        CFile file;
        if (!file.Open(path, CFile::modeRead | CFile::shareExclusive)) return ADD_NO_ACCESS;
        try {
            length = file.GetLength();
        } catch (const CFileException&) {
            return ADD_NO_ACCESS;
        }
    }

    const size_t slash = path.rfind(kPathSeparator);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string lowerName = AnsiToLower(name);
    const int match = FindNoCase(lowerName);
    if (match < 0 && m_nFileCount >= VPP_MAX_FILES) return ADD_TABLE_FULL;

    // Refuse what would not fit in the format's signed 32-bit offsets.
    const int32_t newCount = match < 0 ? m_nFileCount + 1 : m_nFileCount;
    const int64_t newData = m_nDataBytes - (match < 0 ? 0 : AlignUp(m_Entries[match].m_nSize)) + AlignUp(int64_t(length));
    if (length >= uint64_t(VPP_SIZE_LIMIT) || DirectoryEnd(newCount) + newData >= VPP_SIZE_LIMIT) return ADD_TOO_LARGE;

    const int index = match < 0 ? m_nFileCount : match;
    VPPEntry& entry = m_Entries[index];
    entry.m_strName = name;
    entry.m_nSize = int32_t(length);
    entry.m_bInVPP = FALSE;
    entry.m_nOffset = 0;
    entry.m_strFilePath = path;
    if (match < 0) {
        m_nFileCount = newCount;
        if (m_bIndexValid) m_nameIndex[lowerName] = index;
    }
    // The same sum UpdateTotalSize would make, without a pass over the table.
    m_nDataBytes = newData;
    m_nTotalSize = int32_t(DirectoryEnd(m_nFileCount) + m_nDataBytes);
    SetModifiedFlag(TRUE);
    return match < 0 ? ADD_ADDED : ADD_REPLACED;
}

BOOL CPackwright32Doc::RemoveFile(const std::string& name)
{
    const int index = FindExact(name);
    if (index < 0) return FALSE;
    for (int32_t i = index; i + 1 < m_nFileCount; ++i) m_Entries[i] = std::move(m_Entries[i + 1]);
    --m_nFileCount;
    m_bIndexValid = false;
    UpdateTotalSize();
    SetModifiedFlag(TRUE);
    return TRUE;
}

int CPackwright32Doc::RemoveFiles(const std::vector<std::string>& names)
{
    // Removing a name k times takes its last k entries: count the requests,
    // mark from the end, then close the gaps once.
    std::unordered_map<std::string, int> wanted;
    for (const std::string& name : names) ++wanted[name];
    std::vector<bool> gone(size_t(m_nFileCount), false);
    int removed = 0;
    for (int32_t i = m_nFileCount - 1; i >= 0; --i) {
        const auto it = wanted.find(m_Entries[i].m_strName);
        if (it != wanted.end() && it->second > 0) {
            --it->second;
            gone[size_t(i)] = true;
            ++removed;
        }
    }
    if (removed == 0) return 0;
    int32_t kept = 0;
    for (int32_t i = 0; i < m_nFileCount; ++i)
        if (!gone[size_t(i)]) {
            if (kept != i) m_Entries[kept] = std::move(m_Entries[i]);
            ++kept;
        }
    m_nFileCount = kept;
    m_bIndexValid = false;
    UpdateTotalSize();
    SetModifiedFlag(TRUE);
    return removed;
}

// ---------------------------------------------------------------------------
// Extracting and copying

bool CPackwright32Doc::IsSafeFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..") return false;
    for (const char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || std::strchr("<>:\"/\\|?*", c)) return false;
    }
    // Windows drops trailing dots and spaces, which would make another name.
    if (name.back() == '.' || name.back() == ' ') return false;

    // Device names stay devices with any extension: "nul.txt" is NUL.
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : devices)
        if (base == device) return false;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0)) {
        const unsigned char digit = static_cast<unsigned char>(base[3]);
        // 1 to 9, and the superscripts 1, 2 and 3 of the ANSI code page.
        if ((digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3) return false;
    }
    return true;
}

int CPackwright32Doc::ExtractFile(const std::string& name, const std::string& folder)
{
    const int index = FindExact(name);
    if (index < 0) return EXTRACT_NOT_FOUND;
    const VPPEntry& entry = m_Entries[index];
    if (!entry.m_bInVPP) return EXTRACT_NOT_SAVED;

    const std::string destPath = AddTrailingSeparator(folder) + entry.m_strName;
    CFile archive;
    if (!archive.Open(entry.m_strFilePath, CFile::modeRead | CFile::shareExclusive)) return EXTRACT_NO_ARCHIVE;
    // A name from the archive must not reach outside the chosen folder.
    if (!IsSafeFileName(entry.m_strName)) return EXTRACT_CANNOT_CREATE;
    CFile dest;
    if (!dest.Open(destPath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) return EXTRACT_CANNOT_CREATE;
    try {
        archive.Seek(entry.m_nOffset, CFile::begin);
        CopyBytes(archive, dest, entry.m_nSize);
        dest.Close();
    } catch (...) {
        // No half-written file stays behind.
        dest.Abort();
        try {
            CFile::Remove(destPath);
        } catch (const CFileException&) {
        }
        throw;
    }
    return EXTRACT_OK;
}

int CPackwright32Doc::CopyFileData(const std::string& path, int32_t offset, CFile& dest, int32_t size)
{
    CFile source;
    if (!source.Open(path, CFile::modeRead | CFile::shareDenyNone)) return COPY_NO_SOURCE;
    // Offset 0 marks an outside file: stored data always lies at 2048 or beyond.
    if (offset == 0 && source.GetLength() != uint64_t(uint32_t(size))) return COPY_SIZE_CHANGED;
    source.Seek(offset, CFile::begin);
    CopyBytes(source, dest, size);
    return COPY_OK;
}

// ---------------------------------------------------------------------------
// Result texts

std::string CPackwright32Doc::GetAddResultText(int code)
{
    switch (code) {
    case ADD_ADDED: return "File successfully added.";
    case ADD_REPLACED: return "File successfully replaced.";
    case ADD_TABLE_FULL: return FormatString("VPP exceeds %i files.", VPP_MAX_FILES);
    case ADD_NO_ACCESS: return "Could not access file. Please verify that it is not opened in another program.";
    case ADD_TOO_LARGE: return "File too large: a VPP archive and every file in it must stay below 2 GB.";
    default: return FormatString("Unknown error %i.", code);
    }
}

std::string CPackwright32Doc::GetExtractResultText(int code)
{
    switch (code) {
    case EXTRACT_OK: return "File successfully extracted.";
    case EXTRACT_NOT_FOUND: return "Internal error (file reference not found in memory).";
    case EXTRACT_NO_ARCHIVE: return "Error while trying to access the .VP file.";
    case EXTRACT_CANNOT_CREATE: return "Error while trying to save file (File/Directory access problem?).";
    case EXTRACT_NOT_SAVED: return "Skipped since this file is not yet saved in a .VPP.";
    default: return FormatString("Unknown error %i.", code);
    }
}

std::string CPackwright32Doc::GetCopyResultText(int code)
{
    switch (code) {
    case COPY_OK: return "File successfully copied.";
    case COPY_NO_SOURCE: return "Error while trying to access source file.";
    case -3: return "Error while saving data to file (Disk full?).";
    default: return FormatString("Unknown error %i.", code);
    }
}
