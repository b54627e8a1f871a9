#include "settings/SettingsStore.h"

#include <vector>

#include "framework/base/File.h"
#include "framework/base/Path.h"
#include "framework/win32/RegKey.h"

const char* const kSuiteRootKey = "Software\\Halvard Network";
const char* const kSettingsKey = "Software\\Halvard Network\\Halvard Manager PACKWRIGHT32\\Settings";

namespace {
constexpr DWORD kTextBytes = 8191;

bool WriteString(HKEY root, const std::string& key, const std::string& name, const std::string& value)
{
    // Texts are staged in a buffer of 8192 bytes: longer ones are refused.
    if (value.size() > kTextBytes) return false;
    CRegKey reg;
    return reg.Create(root, key, KEY_WRITE) && reg.SetString(name.c_str(), value);
}
}  // namespace

std::string GetIniString(const std::string& section, const std::string& key, const std::string& iniPath)
{
    std::vector<char> buffer(kTextBytes + 1, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "$", buffer.data(), kTextBytes, iniPath.c_str());
    const std::string value = buffer.data();
    // "$" stands for "missing": no file, section or key.
    return value == "$" ? std::string() : value;
}

std::string AddTrailingBackslash(const std::string& folder)
{
    // Unlike the path helper, "" stays "": a folder the suite never set
    // must not become the root of the current drive.
    return folder.empty() ? folder : AddTrailingSeparator(folder);
}

bool FileExists(const std::string& path)
{
    // Shared with everyone: a file another program has open (an editor, the
    // game) is still there.
    CFile file;
    return file.Open(path, CFile::modeRead | CFile::shareDenyNone) != FALSE;
}

DWORD GetSuiteDword(const std::string& subKey, const std::string& name, DWORD defaultValue)
{
    CRegKey reg;
    DWORD value = 0;
    if (!reg.Open(HKEY_LOCAL_MACHINE, kSuiteRootKey + subKey, KEY_QUERY_VALUE) || !reg.QueryDword(name.c_str(), value))
        return defaultValue;
    return value;
}

bool SetSuiteString(const std::string& subKey, const std::string& name, const std::string& value)
{
    return WriteString(HKEY_LOCAL_MACHINE, kSuiteRootKey + subKey, name, value);
}

bool SetSuiteDword(const std::string& subKey, const std::string& name, DWORD value)
{
    CRegKey reg;
    return reg.Create(HKEY_LOCAL_MACHINE, kSuiteRootKey + subKey, KEY_WRITE) && reg.SetDword(name.c_str(), value);
}

std::string GetSetting(const std::string& name, const std::string& defaultValue)
{
    CRegKey reg;
    std::string value;
    if (!reg.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_QUERY_VALUE) || !reg.QueryString(name.c_str(), value, kTextBytes))
        return defaultValue;
    return value;
}

bool SetSetting(const std::string& name, const std::string& value)
{
    return WriteString(HKEY_CURRENT_USER, kSettingsKey, name, value);
}
