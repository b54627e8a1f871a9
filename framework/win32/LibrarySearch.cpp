#include "framework/win32/LibrarySearch.h"

#include <string>
#include <vector>

#include "framework/base/CodePage.h"
#include "framework/win32/WinApp.h"

namespace {
std::string FolderOf(const std::string& path) { return path.substr(0, AnsiFindLast(path, "\\/") + 1); }

std::string WithSeparator(std::string folder)
{
    if (!folder.empty() && !AnsiEndsWith(folder, '\\') && !AnsiEndsWith(folder, '/')) folder += '\\';
    return folder;
}

// "C:\..." or "\\server\...": a PATH entry that does not depend on the
// current folder (".", "bin" and "\bin" all do).
bool IsFullPath(const std::string& folder)
{
    if (folder.size() >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/')) return true;
    return folder.size() >= 2 && (folder[0] == '\\' || folder[0] == '/') && folder[1] == folder[0];
}

std::vector<std::string> SearchFolders()
{
    std::vector<std::string> folders{FolderOf(AfxGetModuleFileName())};
    char buffer[MAX_PATH * 2];
    UINT length = ::GetSystemDirectoryA(buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) folders.push_back(WithSeparator(buffer));
    length = ::GetWindowsDirectoryA(buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) folders.push_back(WithSeparator(buffer));

    const DWORD size = ::GetEnvironmentVariableA("PATH", nullptr, 0);
    std::string path(size, '\0');
    path.resize(size ? ::GetEnvironmentVariableA("PATH", path.data(), size) : 0);
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find(';', start);
        if (end == std::string::npos) end = path.size();
        std::string folder = path.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
            folder = folder.substr(1, folder.size() - 2);
        if (IsFullPath(folder)) folders.push_back(WithSeparator(folder));
        start = end + 1;
    }
    return folders;
}
}  // namespace

void AfxRestrictLibrarySearch()
{
    ::SetDllDirectoryA("");
    // Windows XP and Vista lack it (and Windows 7 before its update): looked
    // up, so that they still start.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    if (const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
            reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories"))))
        setDefault(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

HMODULE AfxLoadLibraryOutsideCurrentFolder(const char* name)
{
    for (const std::string& folder : SearchFolders()) {
        const std::string path = folder + name;
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        // The libraries it needs in turn are looked for beside it first.
        if (const HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH))
            return module;
    }
    return nullptr;
}
