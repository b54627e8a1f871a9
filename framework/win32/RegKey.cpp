#include "framework/win32/RegKey.h"

#include <vector>

BOOL CRegKey::Open(HKEY parent, const std::string& subKey, REGSAM access)
{
    Close();
    return RegOpenKeyExA(parent, subKey.c_str(), 0, access, &m_hKey) == ERROR_SUCCESS;
}

BOOL CRegKey::Create(HKEY parent, const std::string& subKey, REGSAM access)
{
    Close();
    return RegCreateKeyExA(parent, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_hKey,
                           nullptr) == ERROR_SUCCESS;
}

void CRegKey::Close()
{
    if (m_hKey) RegCloseKey(m_hKey);
    m_hKey = nullptr;
}

BOOL CRegKey::QueryString(const char* name, std::string& value, DWORD maxBytes) const
{
    std::vector<char> buffer(maxBytes + 1, '\0');
    DWORD size = maxBytes;
    if (RegQueryValueExA(m_hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return FALSE;
    value.assign(buffer.data(), strnlen(buffer.data(), size));
    return TRUE;
}

BOOL CRegKey::QueryDword(const char* name, DWORD& value) const
{
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(m_hKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return FALSE;
    value = data;
    return TRUE;
}

BOOL CRegKey::SetString(const char* name, const std::string& value) const
{
    return RegSetValueExA(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD(value.size() + 1)) == ERROR_SUCCESS;
}

BOOL CRegKey::SetDword(const char* name, DWORD value) const
{
    return RegSetValueExA(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

BOOL CRegKey::DeleteValue(const char* name) const { return RegDeleteValueA(m_hKey, name) == ERROR_SUCCESS; }
