#pragma once
// The open VPP archive: a fixed table of entries in archive order, the
// header values, the totals, and the operations that change them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/ArchiveIdentity.h"
#include "core/DataCopier.h"
#include "core/EntryReader.h"
#include "core/VPPEntry.h"
#include "core/VppFormat.h"
#include "framework/base/Document.h"
#include "framework/base/Folder.h"
#include "framework/base/WriterLock.h"

// What AddFile did. The numbers are kept: unknown ones show in texts.
enum class AddResult : int {
    added = 0,
    replaced = 1,
    tableFull = -1,
    noAccess = -2,
    tooLarge = -3,
};
// Whether the file is now in the table, as a new entry or a replacement.
inline bool Succeeded(AddResult result) { return result == AddResult::added || result == AddResult::replaced; }
// What reading or extracting an entry came to. The numbers are kept.
enum class ExtractResult : int {
    ok = 0,
    notFound = -1,
    noArchive = -2,
    cannotCreate = -3,
    notSaved = -4,
    sourceShort = -5,
    archiveChanged = -6,  // the archive on disk is no longer the one loaded
};

class CPackwright32Doc : public CDocument {
public:
    CPackwright32Doc();
    ~CPackwright32Doc() override;

    // Format routines, over the same helpers as the reader and the writer.
    static int32_t AlignToBlock(int32_t n);
    static void PadToBlock(CFile& file);

    BOOL OnSaveDocument(const std::string& pathName) override;
    void DeleteContents() override;
    void Serialize(CArchive& ar) override;
    // Format errors get the load messages; the rest the framework's.
    void ReportSaveLoadException(const std::string& pathName, const std::exception* e, BOOL bSaving,
                                 const char* defaultText) override;

    // The table, for reading: entries 0 to GetEntryCount() - 1 in archive order.
    int32_t GetEntryCount() const { return m_nFileCount; }
    const VPPEntry& GetEntry(int32_t index) const { return m_Entries[index]; }
    // The entry each name of the table reaches (the last of that name),
    // once per name, in the order the names first appear: extracting them
    // all writes each name once.
    std::vector<int32_t> GetEntriesByName() const;
    // The entry a name reaches when removing, extracting or opening by name:
    // the last one named exactly name (letter case counts); -1 when none is.
    int32_t FindEntry(const std::string& name) { return FindExact(name); }
    // Whether the entry name reaches can be extracted into a folder:
    // ExtractResult::ok or why not (no such entry, not saved yet, a name
    // that cannot be a file). Reads nothing from the disk.
    ExtractResult CheckExtractable(const std::string& name);

    // Puts the file at path (a full path) into the table, replacing an entry
    // of the same name regardless of letter case (compared as stored: the
    // first 59 bytes).
    AddResult AddFile(const std::string& path);
    // AddFile for a regular file of length bytes that its caller has just
    // found by a listing or a stat: nothing is opened now. The save opens it,
    // and fails that entry if it cannot be read then or is no longer
    // length bytes long.
    AddResult AddListedFile(const std::string& path, uint64_t length);
    // Removes the last entry named exactly name; FALSE when there is none.
    BOOL RemoveFile(const std::string& name);
    // The same as RemoveFile for each name in turn, in one pass over the
    // table; returns how many entries went.
    int RemoveFiles(const std::vector<std::string>& names);
    // Writes the last entry named exactly name into folder.
    ExtractResult ExtractFile(const std::string& name, const std::string& folder);
    // ExtractFile for each name in turn, with the same results, opening the
    // archive once for the batch; by default other readers may hold it
    // meanwhile, only writers are kept out. onEntry,
    // when given, hears the index of each name before it is extracted.
    std::vector<ExtractResult> ExtractFiles(const std::vector<std::string>& names, const std::string& folder,
                                            UINT share = CFile::shareDenyWrite,
                                            const std::function<void(size_t)>& onEntry = {});
    // The same for entries given by their index (-1: not found).
    std::vector<ExtractResult> ExtractEntries(const std::vector<int32_t>& entries, const std::string& folder,
                                              UINT share = CFile::shareDenyWrite,
                                              const std::function<void(size_t)>& onEntry = {});

    // The one text of each result, as the window and the command line show
    // it; a number outside the enumeration reads "Unknown error N.".
    static std::string GetAddResultText(AddResult result);
    static std::string GetExtractResultText(ExtractResult result);
    static std::string GetCopyResultText(CopyResult result);
    static std::string GetFormatErrorText(VppError error);
    static std::string GetTooManyFilesText(int32_t count);
    static std::string GetUnreachableFilesText(int32_t dropped, int32_t loaded);
    static std::string GetSaveFailedText();
    static std::string GetReplaceFailedText(const std::string& workPath, const std::string& target,
                                            const std::string& reason);
    static std::string GetFolderNotFlushedText(const std::string& target, const std::string& reason);
    static std::string GetArchiveChangedText(const std::string& archive);
    static std::string GetArchiveBusyText(const std::string& archive);
    static std::string GetReloadFailedText(const std::string& archive);

    void UpdateTotalSize();

    // Opens the archive the stored entries were read from into file and
    // checks that it is still that archive, on the handle then read from.
    // Every read of stored data starts here. Returns ok, noArchive or
    // archiveChanged. pError, when given, hears why the archive could not
    // be opened.
    ExtractResult OpenLoadedArchive(CFile& file, UINT share, CFileException* pError = nullptr);
    // Reads the first maxBytes bytes at most of the last entry named exactly
    // name into bytes: a stored entry from the checked archive, an outside
    // one from its file. cut tells that the entry holds more. noArchive
    // also stands for an outside file gone.
    ExtractResult ReadEntryHead(const std::string& name, uint32_t maxBytes, std::vector<uint8_t>& bytes, bool& cut);
    // Takes the writers' lock of the archive at path, waiting for another
    // writer for a while, and keeps it until the next save has replaced the
    // archive: a command that loads, edits and saves holds it from before
    // the load. TRUE also when no file carries the name yet; reported.
    BOOL LockForWriting(const std::string& path);

    // Whether name is a plain file name that can be created inside a folder
    // and nowhere else: no separators, drive colons or parent parts, no
    // characters or device names that Windows forbids.
    static bool IsSafeFileName(const std::string& name);

    // The per-entry failures of the last store pass ("name\r\nmessage\r\n\r\n"
    // each); empty when every entry was copied.
    const std::string& GetSaveErrorReport() const { return m_strSaveErrors; }
    // The same failures as entry names and results, in table order.
    struct SaveFailure {
        std::string name;
        CopyResult code;
    };
    const std::vector<SaveFailure>& GetSaveFailures() const { return m_saveFailures; }
    // Whether the last save put the new archive in place, even if opening
    // it again then failed.
    BOOL IsTargetReplaced() const { return m_bTargetReplaced; }
    // A caller that ends with the save (the command line) need not have the
    // new archive read back: the document is then left empty instead.
    void SetReopenAfterSave(bool reopen) { m_bReopenAfterSave = reopen; }
    // What the store pass of every save tells while it writes: (name, done,
    // total) before entry done, or a run of entries from it, goes out, and
    // ("", total, total) when all are out. Unset, it costs the pass nothing.
    using SaveProgress = std::function<void(const std::string& name, int32_t done, int32_t total)>;
    void SetSaveProgress(SaveProgress onProgress) { m_onSaveProgress = std::move(onProgress); }

    std::vector<VPPEntry> m_Entries;  // m_nFileCount entries
    int32_t m_nFileCount = 0;
    uint32_t m_dwSignature = VPP_SIGNATURE;
    uint32_t m_dwVersion = VPP_VERSION;
    int32_t m_nTotalSize = 0;
    BOOL m_bSaveErrors = FALSE;
    // Records of the archive as opened that are not in the table (beyond
    // the table's size, or out of reach): saving over it loses them.
    int32_t m_nDroppedRecords = 0;

private:
    void LoadArchive(CFile& file);
    void StoreArchive(CFile& file);
    // Opens and checks the loaded archive for the store pass when the save
    // reads stored entries or replaces that archive; FALSE, reported, when
    // it is no longer the archive loaded.
    BOOL PrepareStoreSource(const std::string& target);
    int FindExact(const std::string& name);
    // Writes entry's data from the open archive to destPath.
    ExtractResult ExtractEntry(const VPPEntry& entry, const CFolder& folder, CFile& archive, CEntryReader& reader);
    ExtractResult CheckExtractableAt(int index) const;
    void InvalidateIndexes() { m_bIndexValid = m_bExactIndexValid = false; }
    int FindNoCase(const std::string& key);

    // Creates the file the new archive is written into before it replaces
    // target; closed, with error filled, when none can be created.
    CFile OpenWorkFile(const std::string& target, CFileException& error) const;

    std::string m_strSaveErrors;
    std::vector<SaveFailure> m_saveFailures;
    SaveProgress m_onSaveProgress;
    CArchiveIdentity m_loaded;  // the archive the stored entries were read from
    CWriterLock m_writerLock;
    CFile m_storeSource;  // the checked archive the next store pass reads
    bool m_bStoreSourceReady = false;
    BOOL m_bTargetReplaced = FALSE;
    bool m_bReopenAfterSave = true;
    int64_t m_nDataBytes = 0;  // sum of the block-aligned sizes of the entries in use
    // Replace key -> highest index with that key; rebuilt lazily after
    // anything but an append or a same-name replace changed the table.
    std::unordered_map<std::string, int32_t> m_nameIndex;
    bool m_bIndexValid = false;
    // Exact name -> highest index with that name: the entry that removing
    // and extracting by name act on. Rebuilt lazily after any change but an
    // append.
    std::unordered_map<std::string, int32_t> m_exactIndex;
    bool m_bExactIndexValid = false;
};
