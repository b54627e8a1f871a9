#include "framework/base/Folder.h"

#include <windows.h>

#include "framework/base/Path.h"

CFolder::~CFolder() = default;

BOOL CFolder::Open(const std::string& path, CFileException* pError)
{
    const std::string full = AddTrailingSeparator(GetFullPath(path));
    const DWORD attributes = GetFileAttributesA(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        const DWORD err = attributes == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_DIRECTORY;
        if (pError) *pError = CFileException(CFileException::OsErrorToException(long(err)), long(err), full);
        return FALSE;
    }
    m_strPath = full;
    m_bOpen = true;
    return TRUE;
}

BOOL CFolder::ListFiles(std::vector<CListedFile>& files, CFileException* pError) const
{
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((m_strPath + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND) return TRUE;  // not even "." and "..": an empty drive's root
        if (pError) *pError = CFileException(CFileException::OsErrorToException(long(err)), long(err), m_strPath);
        return FALSE;
    }
    do {
        if (!(found.dwFileAttributes &
              (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT)))
            files.push_back({found.cFileName, (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return TRUE;
}
