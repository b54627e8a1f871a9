#include "framework/base/File.h"

#include <windows.h>

#include "framework/base/Folder.h"
#include "framework/base/Path.h"

int CFileException::OsErrorToException(long osError)
{
    switch (osError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

static HANDLE H(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

BOOL CFile::Open(const std::string& fileName, UINT openFlags, CFileException* pError)
{
    return OpenAt(-1, fileName, GetFullPath(fileName), openFlags, pError);
}

BOOL CFile::OpenIn(const CFolder& folder, const std::string& name, UINT openFlags, CFileException* pError)
{
    const std::string path = folder.GetPath() + name;
    return OpenAt(-1, path, path, openFlags, pError);
}

BOOL CFile::OpenAt(intptr_t, const std::string& fileName, std::string fullPath, UINT openFlags,
                   CFileException* pError)
{
    Abort();
    DWORD access = GENERIC_READ;
    switch (openFlags & 3) {
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default: break;
    }
    DWORD share = 0;
    switch (openFlags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE | ((openFlags & shareDelete) ? FILE_SHARE_DELETE : 0);
        break;
    default: break;  // exclusive, and compatibility mode treated as exclusive
    }
    DWORD disposition = OPEN_EXISTING;
    if (openFlags & modeCreate)
        disposition = (openFlags & modeCreateNew) ? CREATE_NEW : (openFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, (openFlags & modeNoInherit) ? FALSE : TRUE};

    const HANDLE h = CreateFileA(fileName.c_str(), access, share, &sa, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        if (pError) *pError = CFileException(CFileException::OsErrorToException(long(err)), long(err), fullPath);
        return FALSE;
    }
    m_hFile = reinterpret_cast<intptr_t>(h);
    m_strFileName = std::move(fullPath);
    return TRUE;
}

void CFile::Close()
{
    if (m_hFile == kInvalid) return;
    const HANDLE h = H(m_hFile);
    m_hFile = kInvalid;
    if (!CloseHandle(h)) CFileException::ThrowOsError(long(GetLastError()), m_strFileName);
}

void CFile::Abort()
{
    if (m_hFile == kInvalid) return;
    CloseHandle(H(m_hFile));
    m_hFile = kInvalid;
}

UINT CFile::Read(void* buffer, UINT count) { return ReadFrom(buffer, count, -1); }

UINT CFile::ReadAt(void* buffer, UINT count, uint64_t offset) { return ReadFrom(buffer, count, int64_t(offset)); }

UINT CFile::ReadFrom(void* buffer, UINT count, int64_t offset)
{
    if (m_hFile == kInvalid) CFileException::Throw(CFileException::invalidFile, -1, m_strFileName);
    char* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        // On a handle opened for synchronous use an offset makes the read
        // positioned (the position moves past it).
        OVERLAPPED at{};
        at.Offset = DWORD(uint64_t(offset) + done);
        at.OffsetHigh = DWORD((uint64_t(offset) + done) >> 32);
        DWORD n = 0;
        if (!ReadFile(H(m_hFile), out + done, count - done, &n, offset < 0 ? nullptr : &at)) {
            const DWORD err = GetLastError();
            if (err == ERROR_HANDLE_EOF) break;
            CFileException::ThrowOsError(long(err), m_strFileName);
        }
        if (n == 0) break;
        done += n;
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (m_hFile == kInvalid) CFileException::Throw(CFileException::invalidFile, -1, m_strFileName);
    DWORD n = 0;
    if (!WriteFile(H(m_hFile), buffer, count, &n, nullptr))
        CFileException::ThrowOsError(long(GetLastError()), m_strFileName);
    // WriteFile can report success after a short write on a full disk.
    if (n != count) CFileException::Throw(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

uint64_t CFile::Seek(int64_t offset, UINT from)
{
    const DWORD method = from == current ? FILE_CURRENT : from == end ? FILE_END : FILE_BEGIN;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER pos;
    if (!SetFilePointerEx(H(m_hFile), distance, &pos, method))
        CFileException::Throw(CFileException::badSeek, long(GetLastError()), m_strFileName);
    return static_cast<uint64_t>(pos.QuadPart);
}

uint64_t CFile::GetPosition() const
{
    LARGE_INTEGER zero{};
    LARGE_INTEGER pos;
    if (!SetFilePointerEx(H(m_hFile), zero, &pos, FILE_CURRENT))
        CFileException::Throw(CFileException::badSeek, long(GetLastError()), m_strFileName);
    return static_cast<uint64_t>(pos.QuadPart);
}

uint64_t CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(H(m_hFile), &size)) CFileException::ThrowOsError(long(GetLastError()), m_strFileName);
    return static_cast<uint64_t>(size.QuadPart);
}

void CFile::Flush()
{
    if (m_hFile == kInvalid) return;
    if (!FlushFileBuffers(H(m_hFile))) CFileException::ThrowOsError(long(GetLastError()), m_strFileName);
}

void CFile::Remove(const std::string& fileName)
{
    if (!DeleteFileA(fileName.c_str())) CFileException::ThrowOsError(long(GetLastError()), GetFullPath(fileName));
}

void CFile::CopyPermissionsFrom(const std::string&) {}

int64_t CFile::CopyFrom(CFile&, uint64_t, uint64_t) { return -1; }

// MoveFileEx with MOVEFILE_WRITE_THROUGH has made the new name durable.
void CFile::StartWriteBack() {}

void CFile::FlushFolderOf(const std::string&) {}

bool CFile::Exists(const std::string& fileName)
{
    return GetFileAttributesA(fileName.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CFile::RefusesReplacement(const std::string& fileName)
{
    const DWORD attributes = GetFileAttributesA(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

bool CFile::IsSameFile(const std::string& a, const std::string& b)
{
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const std::string* names[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        const HANDLE h = CreateFileA(names[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        const BOOL ok = GetFileInformationByHandle(h, &info[i]);
        CloseHandle(h);
        if (!ok) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

void CFile::RenameOver(const std::string& source, const std::string& target)
{
    // Most extracted files take a new name: one move, nothing to replace.
    if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return;
    // Windows will not replace a read-only file or a folder: no use waiting.
    if (RefusesReplacement(target))
        CFileException::Throw(CFileException::accessDenied, ERROR_ACCESS_DENIED, GetFullPath(target));
    // A program that holds the target for a moment (a virus scanner, an
    // indexer) makes the replacement fail: try again for about two seconds.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
        const DWORD err = GetLastError();
        const bool held = err == ERROR_SHARING_VIOLATION || err == ERROR_LOCK_VIOLATION || err == ERROR_ACCESS_DENIED;
        if (!held || attempt == 20) CFileException::ThrowOsError(long(err), GetFullPath(source));
        Sleep(100);
    }
}


CFileStamp CFile::GetStamp() const
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(H(m_hFile), &info)) CFileException::ThrowOsError(long(GetLastError()), m_strFileName);
    return {(uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
            int64_t((uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime),
            info.dwVolumeSerialNumber, (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool CFile::IsNamedBy(const std::string& fileName) const
{
    const HANDLE h = CreateFileA(fileName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) return false;
        CFileException::ThrowOsError(long(err), GetFullPath(fileName));
    }
    BY_HANDLE_FILE_INFORMATION named;
    const BOOL ok = GetFileInformationByHandle(h, &named);
    const DWORD err = GetLastError();
    CloseHandle(h);
    if (!ok) CFileException::ThrowOsError(long(err), GetFullPath(fileName));
    const CFileStamp held = GetStamp();
    return named.dwVolumeSerialNumber == held.volume &&
           ((uint64_t(named.nFileIndexHigh) << 32) | named.nFileIndexLow) == held.index;
}

BOOL CFile::LockForWriters()
{
    // Past any data a file can hold: a byte-range lock there never stops a
    // reader, as locks inside the data would.
    OVERLAPPED at{};
    at.OffsetHigh = 0x40000000;
    if (LockFileEx(H(m_hFile), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return TRUE;
    const DWORD err = GetLastError();
    if (err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING) return FALSE;
    CFileException::ThrowOsError(long(err), m_strFileName);
}

int CFile::RemoveUnheld(const std::string& fileName)
{
    // Opened alone and removed as it closes: the system refuses the open
    // while any other handle is open on it.
    const HANDLE h = CreateFileA(fileName.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return CFileException::OsErrorToException(long(GetLastError()));
    CloseHandle(h);
    return CFileException::none;
}
