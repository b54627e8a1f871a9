#pragma once
// An open registry key, closed with its object.

#include <windows.h>

#include <string>

class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    BOOL Open(HKEY parent, const std::string& subKey, REGSAM access = KEY_READ);
    // Opens the key, creating it and its missing parents.
    BOOL Create(HKEY parent, const std::string& subKey, REGSAM access = KEY_READ | KEY_WRITE);
    void Close();
    HKEY m_hKey = nullptr;

    // Reads a text of at most maxBytes - 1 characters; the stored type is not checked.
    BOOL QueryString(const char* name, std::string& value, DWORD maxBytes = 8192) const;
    // Reads exactly 4 bytes; the stored type is not checked.
    BOOL QueryDword(const char* name, DWORD& value) const;
    BOOL SetString(const char* name, const std::string& value) const;
    BOOL SetDword(const char* name, DWORD value) const;
    BOOL DeleteValue(const char* name) const;
};
