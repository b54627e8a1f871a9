#include "framework/base/Folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "framework/base/Path.h"

CFolder::~CFolder()
{
    if (m_hFolder >= 0) ::close(static_cast<int>(m_hFolder));
}

BOOL CFolder::Open(const std::string& path, CFileException* pError)
{
    const std::string full = AddTrailingSeparator(GetFullPath(path));
    const int fd = ::open(full.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (pError) *pError = CFileException(CFileException::OsErrorToException(err), err, full);
        return FALSE;
    }
    if (m_hFolder >= 0) ::close(static_cast<int>(m_hFolder));
    m_hFolder = fd;
    m_strPath = full;
    m_bOpen = true;
    return TRUE;
}

BOOL CFolder::ListFiles(std::vector<CListedFile>& files, CFileException* pError) const
{
    // A second descriptor: reading a folder moves its position.
    const int fd = ::openat(static_cast<int>(m_hFolder), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        const int err = errno;
        if (fd >= 0) ::close(fd);
        if (pError) *pError = CFileException(CFileException::OsErrorToException(err), err, m_strPath);
        return FALSE;
    }
    int err = 0;
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(dir);
        if (!item) {
            err = errno;
            break;
        }
        if (item->d_type != DT_REG && item->d_type != DT_UNKNOWN) continue;
        // The size the save will check the file against; and what the folder
        // gave as a name only: no link is followed.
        struct stat st;
        if (::fstatat(static_cast<int>(m_hFolder), item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode))
            continue;
        files.push_back({item->d_name, uint64_t(st.st_size)});
    }
    ::closedir(dir);
    if (err != 0) {
        if (pError) *pError = CFileException(CFileException::OsErrorToException(err), err, m_strPath);
        return FALSE;
    }
    return TRUE;
}
