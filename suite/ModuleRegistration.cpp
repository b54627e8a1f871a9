#include "suite/ModuleRegistration.h"

#include <cstdlib>

#include "framework/base/CodePage.h"
#include "framework/base/Path.h"
#include "framework/win32/WinApp.h"
#include "settings/SettingsStore.h"

const char* const kModuleRecordKey = "\\Halvard Manager Tools\\Halvard Manager PACKWRIGHT32";

namespace {
std::string WithExeExtension(std::string path)
{
    const size_t dot = AnsiFindLast(path, ".");
    const size_t sep = FindLastSeparator(path);
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep)) path.erase(dot);
    return path + ".exe";
}
}  // namespace

DWORD BuildNumberOf(const std::string& versionText)
{
    const size_t at = versionText.find("Build ");
    if (at == std::string::npos) return 0;
    return DWORD(std::strtol(versionText.c_str() + at + 6, nullptr, 10));
}

void RegisterModule() { RegisterModule(AfxGetModuleFileName()); }

void RegisterModule(const std::string& exePath)
{
    const std::string exe = WithExeExtension(exePath);
    const std::string folder = GetFolderOf(exe);
    const std::string name = GetFileNameOf(exe);

    std::string version;
    std::string date;
    std::string coder;
    const std::string description = folder + "hm_modul.dat";
    if (FileExists(description)) {
        version = GetIniString("Module", "Vers", description);
        date = GetIniString("Module", "Date", description);
        coder = GetIniString("Module", "Coder", description);
    }
    // Best effort: a refused write (no right to the machine's keys) must
    // not keep the others from being tried, nor stop the start.
    SetSuiteString(kModuleRecordKey, "Path", folder);
    SetSuiteString(kModuleRecordKey, "EXE", exe);
    SetSuiteString(kModuleRecordKey, "EXEName", name);
    SetSuiteString(kModuleRecordKey, "Version", version);
    SetSuiteDword(kModuleRecordKey, "Build", BuildNumberOf(version));
    SetSuiteString(kModuleRecordKey, "Date", date);
    SetSuiteString(kModuleRecordKey, "Coder", coder);
}
