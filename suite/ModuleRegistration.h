#pragma once
// The program's record in the suite's machine-wide registry key: where it
// lies and what "hm_modul.dat" beside it says about its version. Written at
// every start, so it describes the copy started last; never read back here.

#include <windows.h>

#include <string>

// The sub-key of the record below the suite root key.
extern const char* const kModuleRecordKey;

// Records the running executable.
void RegisterModule();
// Records the executable at exePath (its extension is taken to be ".exe").
void RegisterModule(const std::string& exePath);
// The number after the first "Build " (capital B) of a version text, read
// as strtol reads it; 0 when there is no such word or no digits follow it.
DWORD BuildNumberOf(const std::string& versionText);
