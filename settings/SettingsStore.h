#pragma once
// The program's settings and the data it shares with the suite: the
// per-user Settings key, the suite's machine-wide key, and INI files.
// Nothing here reports an error: reads give the caller's default, writes
// give false.

#include <windows.h>

#include <string>

// HKEY_CURRENT_USER\<kSettingsKey>: the program's own settings.
extern const char* const kSettingsKey;
// HKEY_LOCAL_MACHINE\<kSuiteRootKey>: followed by a sub-key starting with a backslash.
extern const char* const kSuiteRootKey;

std::string GetIniString(const std::string& section, const std::string& key, const std::string& iniPath);
std::string AddTrailingBackslash(const std::string& folder);
bool FileExists(const std::string& path);
DWORD GetSuiteDword(const std::string& subKey, const std::string& name, DWORD defaultValue);
bool SetSuiteString(const std::string& subKey, const std::string& name, const std::string& value);
bool SetSuiteDword(const std::string& subKey, const std::string& name, DWORD value);
std::string GetSetting(const std::string& name, const std::string& defaultValue);
bool SetSetting(const std::string& name, const std::string& value);
