#pragma once
// Unbuffered binary file over the platform's file handle, with the
// framework's open flags and share modes.
//
// Share modes: on Windows they are the system's own. On POSIX they map to
// advisory flock() locks taken by this class: shareExclusive takes an
// exclusive lock, shareDenyWrite and shareDenyRead a shared one, and
// shareDenyNone none. So they only keep out other opens that also lock
// (every CFile does); programs that ignore advisory locks are not kept out.

#include <cstdint>
#include <string>
#include <utility>

#include "framework/base/Exception.h"
#include "framework/base/Types.h"

class CFolder;

// What tells one file from another and from its own earlier state: its size,
// its last write, and its number on its volume (device and inode on POSIX,
// volume serial and file index on Windows).
struct CFileStamp {
    uint64_t size = 0;
    int64_t lastWrite = 0;  // in the system's own units
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const CFileStamp&) const = default;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
        // With modeCreate: fail when the name exists, a link included, so a
        // new file is never written through anything planted in its place.
        modeCreateNew = 0x10000,
        // With shareDenyNone: others may also rename or delete the file
        // meanwhile (Windows; POSIX always lets them).
        shareDelete = 0x20000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens or throws CFileException.
    CFile(const std::string& fileName, UINT openFlags);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Hands the open handle over; the source is left closed.
    CFile(CFile&& other) noexcept { *this = std::move(other); }
    CFile& operator=(CFile&& other) noexcept
    {
        if (this != &other) {
            Abort();
            m_hFile = other.m_hFile;
            m_nLengthAtOpen = other.m_nLengthAtOpen;
            m_strFileName = std::move(other.m_strFileName);
            other.m_hFile = kInvalid;
        }
        return *this;
    }

    // Returns FALSE on failure, filling *pError when given; never throws.
    BOOL Open(const std::string& fileName, UINT openFlags, CFileException* pError = nullptr);
    // Open(folder's path + name), without walking the folder's path again.
    BOOL OpenIn(const CFolder& folder, const std::string& name, UINT openFlags, CFileException* pError = nullptr);
    // Closes, throwing CFileException when the system reports an error.
    void Close();
    // Closes, ignoring every error.
    void Abort();
    bool IsOpen() const { return m_hFile != kInvalid; }

    // Reads up to count bytes; fewer only at the end of the file. Throws on error.
    UINT Read(void* buffer, UINT count);
    // Reads up to count bytes from offset, fewer only at the end of the
    // file, with no seek first. Throws on error. Where the position is left
    // differs between systems: follow with ReadAt or Seek, not Read.
    UINT ReadAt(void* buffer, UINT count, uint64_t offset);
    // Writes all count bytes or throws (a short write counts as a full disk).
    void Write(const void* buffer, UINT count);
    uint64_t Seek(int64_t offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    uint64_t SeekToEnd() { return Seek(0, end); }
    uint64_t GetPosition() const;
    uint64_t GetLength() const;
    // The length the open found, where it looked (it does on POSIX, to
    // refuse what is not a regular file); else GetLength(). Saves a query
    // per file where thousands are opened, read once and closed.
    uint64_t GetLengthAtOpen() const { return m_nLengthAtOpen >= 0 ? uint64_t(m_nLengthAtOpen) : GetLength(); }
    // Forces written data to the disk (FlushFileBuffers / fsync).
    void Flush();
    // Lets the system start writing what was written so far, without
    // waiting for it: a Flush at the end then finds most of it on the disk
    // already. Only a hint (nothing where the system offers no such call).
    void StartWriteBack();
    // Copies up to count bytes from src at srcOffset to this file's position
    // inside the system (copy_file_range), moving this file's position.
    // Returns how many were copied (0 at src's end), or -1 when the system
    // cannot copy between these files: the caller then reads and writes
    // itself. Throws on errors.
    int64_t CopyFrom(CFile& src, uint64_t srcOffset, uint64_t count);

    // The stamp of the open file, read through its handle. Throws on errors.
    CFileStamp GetStamp() const;
    // Whether fileName leads to this open file now, and not to another put
    // in its place since it was opened; false when nothing carries the name.
    // Throws on other errors.
    bool IsNamedBy(const std::string& fileName) const;
    // Takes the lock that writers of this file hold among themselves (one
    // byte far past any data, so no reader ever meets it); FALSE while
    // another handle holds it. Throws on errors. Closing gives it up.
    BOOL LockForWriters();

    // The full path the file was opened under.
    const std::string& GetFilePath() const { return m_strFileName; }

    // Gives the file the permission bits of path (POSIX; nothing on Windows,
    // where a new file takes its folder's). Best effort.
    void CopyPermissionsFrom(const std::string& path);

    static void Remove(const std::string& fileName);
    // Removes the file that carries the name unless some handle holds it
    // (Windows: is open at all; POSIX: holds the lock of shareExclusive or
    // shareDeny*), in one step with the test, so that a file another
    // program has just taken is never removed. Returns
    // CFileException::none when removed, sharingViolation when held, else
    // why not (accessDenied for a folder).
    static int RemoveUnheld(const std::string& fileName);
    // Whether something (a link included) carries the name.
    static bool Exists(const std::string& fileName);
    // Whether Windows refuses to replace what carries the name: a file
    // marked read-only, or a folder. RenameOver refuses them too (on Windows;
    // a POSIX rename replaces any file and fails on a folder by itself).
    static bool RefusesReplacement(const std::string& fileName);
    // Whether both names lead to the same file; false when either is missing.
    static bool IsSameFile(const std::string& a, const std::string& b);
    // Moves source over target in one step: target afterwards names either
    // its old contents or all of source's, never nothing.
    static void RenameOver(const std::string& source, const std::string& target);
    // Makes the names in path's folder durable, a rename among them included.
    static void FlushFolderOf(const std::string& path);

private:
    // Opens name, relative to the folder's handle on POSIX (fullPath on
    // Windows); fullPath names the file in errors and GetFilePath.
    BOOL OpenAt(intptr_t folder, const std::string& name, std::string fullPath, UINT openFlags,
                CFileException* pError);
    // Read (offset -1: from the position) and ReadAt in one loop.
    UINT ReadFrom(void* buffer, UINT count, int64_t offset);

    static constexpr intptr_t kInvalid = -1;
    intptr_t m_hFile = kInvalid;  // HANDLE on Windows, descriptor on POSIX
    int64_t m_nLengthAtOpen = -1;
    std::string m_strFileName;
};
