#include "framework/base/File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "framework/base/Folder.h"
#include "framework/base/Path.h"

int CFileException::OsErrorToException(long osError)
{
    switch (osError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY: return accessDenied;
    case EBADF: return invalidFile;
    case ESPIPE:
    case EINVAL: return badSeek;
    case EIO: return hardIO;
    case EWOULDBLOCK: return sharingViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return diskFull;
    default: return genericException;
    }
}

BOOL CFile::Open(const std::string& fileName, UINT openFlags, CFileException* pError)
{
    return OpenAt(AT_FDCWD, fileName, GetFullPath(fileName), openFlags, pError);
}

BOOL CFile::OpenIn(const CFolder& folder, const std::string& name, UINT openFlags, CFileException* pError)
{
    return OpenAt(folder.GetHandle(), name, folder.GetPath() + name, openFlags, pError);
}

BOOL CFile::OpenAt(intptr_t folder, const std::string& name, std::string fullPath, UINT openFlags,
                   CFileException* pError)
{
    Abort();
    const int dir = static_cast<int>(folder);
    // A file this open makes (O_EXCL never follows a link) is a new regular
    // file: it needs none of the checks below, nor truncating.
    const bool createNew = (openFlags & modeCreate) && (openFlags & modeCreateNew);
    // Non-blocking, so that a FIFO in a file's place cannot hold the open
    // waiting for a writer. Regular files, the only kind kept open, read and
    // write the same either way.
    int flags = O_CLOEXEC | (createNew ? O_NOFOLLOW : O_NONBLOCK);
    switch (openFlags & 3) {
    case modeWrite: flags |= O_WRONLY; break;
    case modeReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
    }
    if (openFlags & modeCreate) flags |= O_CREAT;
    if (createNew) flags |= O_EXCL;

    const int fd = ::openat(dir, name.c_str(), flags, 0666);
    int err = fd < 0 ? errno : 0;
    struct stat st = {};
    if (fd >= 0 && !createNew) {
        if (fstat(fd, &st) != 0)
            err = errno;
        else if (S_ISDIR(st.st_mode))
            err = EISDIR;  // a folder is never a file to read or write
        else if (!S_ISREG(st.st_mode))
            err = EACCES;  // nor is a device, pipe or socket
    }
    // Share modes become advisory locks, taken before truncation so that a
    // refused open leaves the other holder's file alone.
    if (fd >= 0 && err == 0) {
        int lock = 0;
        switch (openFlags & 0x70) {
        case shareCompat:
        case shareExclusive: lock = LOCK_EX; break;
        case shareDenyWrite:
        case shareDenyRead: lock = LOCK_SH; break;
        default: break;
        }
        if (lock != 0 && flock(fd, lock | LOCK_NB) != 0) err = errno;
    }
    if (fd >= 0 && err == 0 && (openFlags & modeCreate) && !(openFlags & modeNoTruncate) && !createNew &&
        ftruncate(fd, 0) != 0)
        err = errno;
    if (err != 0) {
        if (fd >= 0) ::close(fd);
        // A file this open created must not stay behind as an empty one.
        if (fd >= 0 && createNew) ::unlinkat(dir, name.c_str(), 0);
        if (pError) *pError = CFileException(CFileException::OsErrorToException(err), err, fullPath);
        return FALSE;
    }
    m_hFile = fd;
    // Truncated, or made new by this open: empty either way.
    m_nLengthAtOpen = (openFlags & modeCreate) && !(openFlags & modeNoTruncate) ? 0 : int64_t(st.st_size);
    m_strFileName = std::move(fullPath);
    return TRUE;
}

void CFile::Close()
{
    if (m_hFile == kInvalid) return;
    const int fd = static_cast<int>(m_hFile);
    m_hFile = kInvalid;
    if (::close(fd) != 0) CFileException::ThrowOsError(errno, m_strFileName);
}

void CFile::Abort()
{
    if (m_hFile == kInvalid) return;
    ::close(static_cast<int>(m_hFile));
    m_hFile = kInvalid;
}

UINT CFile::Read(void* buffer, UINT count) { return ReadFrom(buffer, count, -1); }

UINT CFile::ReadAt(void* buffer, UINT count, uint64_t offset) { return ReadFrom(buffer, count, int64_t(offset)); }

UINT CFile::ReadFrom(void* buffer, UINT count, int64_t offset)
{
    if (m_hFile == kInvalid) CFileException::Throw(CFileException::invalidFile, -1, m_strFileName);
    const int fd = static_cast<int>(m_hFile);
    char* out = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = offset < 0 ? ::read(fd, out + done, count - done)
                                     : ::pread(fd, out + done, count - done, off_t(offset) + done);
        if (n < 0) {
            if (errno == EINTR) continue;
            CFileException::ThrowOsError(errno, m_strFileName);
        }
        if (n == 0) break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (m_hFile == kInvalid) CFileException::Throw(CFileException::invalidFile, -1, m_strFileName);
    const char* in = static_cast<const char*>(buffer);
    UINT done = 0;
    while (done < count) {
        const ssize_t n = ::write(static_cast<int>(m_hFile), in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            CFileException::ThrowOsError(errno, m_strFileName);
        }
        // A write that moves nothing would loop forever: the disk is full.
        if (n == 0) CFileException::Throw(CFileException::diskFull, ENOSPC, m_strFileName);
        done += static_cast<UINT>(n);
    }
}

uint64_t CFile::Seek(int64_t offset, UINT from)
{
    const int whence = from == current ? SEEK_CUR : from == end ? SEEK_END : SEEK_SET;
    const off_t pos = ::lseek(static_cast<int>(m_hFile), static_cast<off_t>(offset), whence);
    if (pos < 0) CFileException::Throw(CFileException::badSeek, errno, m_strFileName);
    return static_cast<uint64_t>(pos);
}

uint64_t CFile::GetPosition() const
{
    const off_t pos = ::lseek(static_cast<int>(m_hFile), 0, SEEK_CUR);
    if (pos < 0) CFileException::Throw(CFileException::badSeek, errno, m_strFileName);
    return static_cast<uint64_t>(pos);
}

uint64_t CFile::GetLength() const
{
    struct stat st;
    if (fstat(static_cast<int>(m_hFile), &st) != 0) CFileException::ThrowOsError(errno, m_strFileName);
    return static_cast<uint64_t>(st.st_size);
}

int64_t CFile::CopyFrom(CFile& src, uint64_t srcOffset, uint64_t count)
{
    for (;;) {
        off_t from = off_t(srcOffset);
        const ssize_t n =
            ::copy_file_range(static_cast<int>(src.m_hFile), &from, static_cast<int>(m_hFile), nullptr, size_t(count), 0);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) return -1;
        if (errno == ENOSPC) CFileException::Throw(CFileException::diskFull, ENOSPC, m_strFileName);
        // A read error and a write error look alike here: name the file written.
        CFileException::ThrowOsError(errno, m_strFileName);
    }
}

void CFile::Flush()
{
    if (m_hFile == kInvalid) return;
    if (fsync(static_cast<int>(m_hFile)) != 0) CFileException::ThrowOsError(errno, m_strFileName);
}

void CFile::StartWriteBack()
{
#ifdef __linux__
    if (m_hFile != kInvalid) sync_file_range(static_cast<int>(m_hFile), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

void CFile::CopyPermissionsFrom(const std::string& path)
{
    struct stat st;
    if (m_hFile != kInvalid && ::stat(path.c_str(), &st) == 0) fchmod(static_cast<int>(m_hFile), st.st_mode & 07777);
}

bool CFile::Exists(const std::string& fileName)
{
    struct stat st;
    return ::lstat(fileName.c_str(), &st) == 0;
}

bool CFile::RefusesReplacement(const std::string&) { return false; }

bool CFile::IsSameFile(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

void CFile::Remove(const std::string& fileName)
{
    if (::unlink(fileName.c_str()) != 0) CFileException::ThrowOsError(errno, GetFullPath(fileName));
}

void CFile::RenameOver(const std::string& source, const std::string& target)
{
    if (::rename(source.c_str(), target.c_str()) != 0) CFileException::ThrowOsError(errno, GetFullPath(source));
}

void CFile::FlushFolderOf(const std::string& path)
{
    const std::string folder = GetFolderOf(GetFullPath(path));
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) CFileException::ThrowOsError(errno, folder);
    const int err = fsync(dir) == 0 ? 0 : errno;
    ::close(dir);
    if (err != 0) CFileException::ThrowOsError(err, folder);
}


CFileStamp CFile::GetStamp() const
{
    struct stat st;
    if (fstat(static_cast<int>(m_hFile), &st) != 0) CFileException::ThrowOsError(errno, m_strFileName);
    return {uint64_t(st.st_size), int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, uint64_t(st.st_dev),
            uint64_t(st.st_ino)};
}

bool CFile::IsNamedBy(const std::string& fileName) const
{
    struct stat named, held;
    if (::stat(fileName.c_str(), &named) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return false;
        CFileException::ThrowOsError(errno, GetFullPath(fileName));
    }
    if (fstat(static_cast<int>(m_hFile), &held) != 0) CFileException::ThrowOsError(errno, m_strFileName);
    return named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

BOOL CFile::LockForWriters()
{
    // An open-file-description lock: it belongs to this handle alone (a
    // process's other handles to the file do not drop it when they close)
    // and never meets the flock() locks of the share modes. Exclusive needs
    // a handle open for writing; through a read-only one (a file that may
    // not be written) it is shared, which still keeps out every exclusive
    // holder.
    const int mode = fcntl(static_cast<int>(m_hFile), F_GETFL);
    struct flock lock {};
    lock.l_type = (mode & O_ACCMODE) == O_RDONLY ? F_RDLCK : F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = off_t(1) << 62;
    lock.l_len = 1;
    if (fcntl(static_cast<int>(m_hFile), F_OFD_SETLK, &lock) == 0) return TRUE;
    if (errno == EAGAIN || errno == EACCES) return FALSE;
    CFileException::ThrowOsError(errno, m_strFileName);
}

int CFile::RemoveUnheld(const std::string& fileName)
{
    // Holding the lock while the name is removed: any other remover must
    // take the same lock first, and so cannot have replaced the file meanwhile.
    CFile held;
    CFileException error;
    if (!held.Open(fileName, modeRead | shareExclusive, &error)) return error.m_cause;
    try {
        if (!held.IsNamedBy(fileName)) return CFileException::sharingViolation;  // replaced meanwhile
    } catch (const CFileException& e) {
        return e.m_cause;
    }
    return ::unlink(fileName.c_str()) == 0 ? int(CFileException::none) : CFileException::OsErrorToException(errno);
}
