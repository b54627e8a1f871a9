#include "framework/win32/WinApp.h"

#include "framework/win32/AfxRes.h"
#include "framework/win32/RegKey.h"

namespace {
const char* const kSectionSettings = "Settings";
const char* const kSectionRecentFiles = "Recent File List";
const char* const kEntryRecentFile = "File%d";
}  // namespace

void CWinApp::SetRegistryKey(const char* key) { m_pszRegistryKey = key ? key : ""; }

std::string CWinApp::GetProfileKeyPath() const
{
    if (m_pszRegistryKey.empty()) return {};
    return "Software\\" + m_pszRegistryKey + "\\" + m_pszAppName;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_nMaxMRU = nMaxMRU;
    m_pRecentFileList.reset();
    if (nMaxMRU > 0) {
        m_pRecentFileList = std::make_unique<CRecentFileList>(
            ID_FILE_MRU_FIRST, kSectionRecentFiles, kEntryRecentFile,
            int(nMaxMRU > ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1 ? ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1 : nMaxMRU));
        m_pRecentFileList->ReadList(*this);
    }
    m_nPreviewPages = GetProfileInt(kSectionSettings, "PreviewPages", 0);
}

std::string CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) const
{
    CRegKey key;
    if (GetProfileKeyPath().empty() || !key.Open(HKEY_CURRENT_USER, GetProfileKeyPath() + "\\" + section, KEY_READ))
        return defaultValue ? defaultValue : "";
    std::string value;
    return key.QueryString(entry, value) ? value : std::string(defaultValue ? defaultValue : "");
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) const
{
    CRegKey key;
    if (GetProfileKeyPath().empty() || !key.Create(HKEY_CURRENT_USER, GetProfileKeyPath() + "\\" + section))
        return FALSE;
    if (!value) return key.DeleteValue(entry);
    return key.SetString(entry, value);
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const
{
    CRegKey key;
    if (GetProfileKeyPath().empty() || !key.Open(HKEY_CURRENT_USER, GetProfileKeyPath() + "\\" + section, KEY_READ))
        return UINT(defaultValue);
    DWORD value = 0;
    return key.QueryDword(entry, value) ? value : UINT(defaultValue);
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const
{
    CRegKey key;
    if (GetProfileKeyPath().empty() || !key.Create(HKEY_CURRENT_USER, GetProfileKeyPath() + "\\" + section))
        return FALSE;
    return key.SetDword(entry, DWORD(value));
}
