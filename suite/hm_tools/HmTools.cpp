// A stand-in for the suite's tools library. Both exports find the calling
// program's record in the suite's registry (the one whose "EXE" is the
// running executable) and answer in a modal message box, returning only
// when it is closed: the caller unloads the library right after.
//
// The newest versions are listed in an INI file: section = the program's
// record name, "Build" (number) and "Version" (text). Its path is the value
// "VersionManifest" of the suite's tools key, or else "hm_versions.ini"
// beside this library. Addresses (http, https) are not fetched here.

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/base/Path.h"

extern "C" {
void DoAbout();
void DoHMVC();
}

namespace {

const char* const kToolsKey = "Software\\Halvard Network\\Halvard Manager Tools";

struct ModuleRecord {
    std::string name;  // the record's key name: the program's name for the suite
    std::string version;
    std::string date;
    std::string coder;
    DWORD build = 0;
};

// One value of key\subKey of the given type, into data (size in bytes, in
// and out). RegGetValue does this from Windows Vista on; XP has not got it.
bool RegValue(HKEY key, const char* subKey, const char* value, DWORD wantedType, void* data, DWORD& size)
{
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(key, subKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    const LONG status = ::RegQueryValueExA(opened, value, nullptr, &type, static_cast<BYTE*>(data), &size);
    ::RegCloseKey(opened);
    return status == ERROR_SUCCESS && type == wantedType;
}

std::string RegText(HKEY key, const char* subKey, const char* value)
{
    char text[8192] = {};
    DWORD size = sizeof text - 1;  // room for the end a stored text may lack
    if (!RegValue(key, subKey, value, REG_SZ, text, size)) return {};
    return std::string(text, ::strnlen(text, size));
}

std::string ModulePath(HMODULE module)
{
    char path[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(module, path, sizeof path);
    return path;
}

// The record of the running program, if it has one.
bool FindOwnRecord(ModuleRecord& record)
{
    HKEY tools = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kToolsKey, 0, KEY_READ, &tools) != ERROR_SUCCESS) return false;
    const std::string exe = ModulePath(nullptr);
    bool found = false;
    char name[256];
    for (DWORD i = 0; !found && ::RegEnumKeyA(tools, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
        if (::lstrcmpiA(RegText(tools, name, "EXE").c_str(), exe.c_str()) != 0) continue;
        record.name = name;
        record.version = RegText(tools, name, "Version");
        record.date = RegText(tools, name, "Date");
        record.coder = RegText(tools, name, "Coder");
        DWORD build = 0;
        DWORD size = sizeof build;
        if (RegValue(tools, name, "Build", REG_DWORD, &build, size) && size == sizeof build) record.build = build;
        found = true;
    }
    ::RegCloseKey(tools);
    return found;
}

void Show(const std::string& text, const std::string& caption, UINT icon)
{
    // Owned by the caller's active window, so that it is modal to it.
    ::MessageBoxA(::GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK | icon);
}

std::string ManifestPath()
{
    std::string path = RegText(HKEY_LOCAL_MACHINE, kToolsKey, "VersionManifest");
    if (!path.empty()) return path;
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ManifestPath), &self);
    path = ModulePath(self);
    return GetFolderOf(path) + "hm_versions.ini";
}

bool IsReadableFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string IniText(const std::string& file, const std::string& section, const char* key)
{
    char text[1024] = {};
    ::GetPrivateProfileStringA(section.c_str(), key, "", text, sizeof text, file.c_str());
    return text;
}

}  // namespace

void DoAbout()
{
    ModuleRecord record;
    if (!FindOwnRecord(record)) record.name = ModulePath(nullptr);
    const std::string text = record.name + "\n\nVersion: " + record.version +
                             "\nBuild: " + std::to_string(record.build) + "\nDate: " + record.date +
                             "\nAuthor: " + record.coder;
    Show(text, "About " + record.name, MB_ICONINFORMATION);
}

void DoHMVC()
{
    const char* const caption = "Check for new version";
    const std::string cannot = "The check for a new version could not be made: ";
    ModuleRecord record;
    if (!FindOwnRecord(record)) {
        Show(cannot + "this program is not registered with the suite.", caption, MB_ICONWARNING);
        return;
    }
    const std::string manifest = ManifestPath();
    if (manifest.rfind("http://", 0) == 0 || manifest.rfind("https://", 0) == 0) {
        Show(cannot + "this version of the tools library reads version lists only from files, not from " +
                 manifest + ".",
             caption, MB_ICONWARNING);
        return;
    }
    if (!IsReadableFile(manifest)) {
        Show(cannot + "the version list " + manifest + " was not found.", caption, MB_ICONWARNING);
        return;
    }
    const std::string newestBuild = IniText(manifest, record.name, "Build");
    if (newestBuild.empty()) {
        Show(cannot + "the version list " + manifest + " names no version of " + record.name + ".", caption,
             MB_ICONWARNING);
        return;
    }
    const DWORD newest = DWORD(std::strtoul(newestBuild.c_str(), nullptr, 10));
    if (newest > record.build) {
        Show("A newer version is available: " + IniText(manifest, record.name, "Version") + " (build " +
                 std::to_string(newest) + ").\nInstalled: " + record.version + " (build " +
                 std::to_string(record.build) + ").",
             caption, MB_ICONINFORMATION);
    } else {
        Show(record.name + " is up to date: " + record.version + " (build " + std::to_string(record.build) + ").",
             caption, MB_ICONINFORMATION);
    }
}
