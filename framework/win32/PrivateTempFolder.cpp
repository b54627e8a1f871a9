#include "framework/win32/PrivateTempFolder.h"

#include <atomic>

#include "framework/base/Path.h"

namespace {
const char* const kLockName = "\\~lock";

std::string TempRoot(const std::string& programName)
{
    char temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathA(sizeof temp, temp);
    if (length == 0 || length > MAX_PATH) return {};
    return AddTrailingSeparator(std::string(temp, length)) + programName;
}
}  // namespace

CPrivateTempFolder::CPrivateTempFolder(std::string programName) : m_strRoot(TempRoot(programName))
{
    RemoveLeftFolders();
}

CPrivateTempFolder::~CPrivateTempFolder()
{
    if (m_strPath.empty()) return;
    m_lock.Reset();  // the lock file goes with its handle
    RemoveTree(m_strPath);
}

void CPrivateTempFolder::RemoveLeftFolders()
{
    if (m_strRoot.empty()) return;
    WIN32_FIND_DATAA data{};
    const CScopedFind find = FromFindFirstFile(::FindFirstFileA((m_strRoot + "\\*").c_str(), &data));
    if (!find) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == ".." || !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        const std::string folder = m_strRoot + "\\" + name;
        // A live process holds its lock open with no sharing: deleting it fails.
        const std::string lock = folder + kLockName;
        if (::GetFileAttributesA(lock.c_str()) != INVALID_FILE_ATTRIBUTES && !::DeleteFileA(lock.c_str())) continue;
        RemoveTree(folder);
    } while (::FindNextFileA(find.Get(), &data));
}

std::string CPrivateTempFolder::GetPath()
{
    if (!m_strPath.empty() || m_strRoot.empty()) return m_strPath;
    ::CreateDirectoryA(m_strRoot.c_str(), nullptr);
    // Unique in the process too: tests make one program after another.
    static std::atomic<int> s_nNext{0};
    const std::string base = m_strRoot + "\\" + std::to_string(::GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = base + std::to_string(s_nNext++);
        if (!::CreateDirectoryA(path.c_str(), nullptr)) {
            if (::GetLastError() == ERROR_ALREADY_EXISTS) continue;
            return {};
        }
        m_lock = FromCreateFile(::CreateFileA((path + kLockName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        m_strPath = path;
        return m_strPath;
    }
    return {};
}

std::string CPrivateTempFolder::MakeSubFolder(const std::string& prefix)
{
    const std::string path = GetPath();
    if (path.empty()) return {};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string sub = path + "\\" + prefix + "-" + std::to_string(m_nNextSub++);
        if (::CreateDirectoryA(sub.c_str(), nullptr)) return sub;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

BOOL CPrivateTempFolder::RemoveTree(const std::string& folder)
{
    BOOL all = TRUE;
    WIN32_FIND_DATAA data{};
    if (const CScopedFind find = FromFindFirstFile(::FindFirstFileA((folder + "\\*").c_str(), &data))) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                ::SetFileAttributesA(path.c_str(), data.dwFileAttributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                // A link to a folder goes itself; what it points to stays.
                const BOOL removed = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                                         ? ::RemoveDirectoryA(path.c_str())
                                         : RemoveTree(path);
                if (!removed) all = FALSE;
            } else if (!::DeleteFileA(path.c_str())) {
                all = FALSE;
            }
        } while (::FindNextFileA(find.Get(), &data));
    }
    if (!::RemoveDirectoryA(folder.c_str())) all = FALSE;
    return all;
}
