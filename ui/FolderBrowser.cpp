#include "ui/FolderBrowser.h"

#include "framework/base/CodePage.h"
#include "framework/win32/Callback.h"
#include "framework/win32/Handles.h"

CFolderBrowser::CFolderBrowser(const std::string& title, const std::string& initialFolder, UINT extraFlags, HWND owner)
    : m_strTitle(title), m_strInitialFolder(initialFolder)
{
    m_info.hwndOwner = owner;
    m_info.pidlRoot = nullptr;
    m_info.pszDisplayName = m_szDisplayName;
    m_info.lpszTitle = m_strTitle.c_str();
    m_info.ulFlags = extraFlags | BIF_STATUSTEXT;
    m_info.lpfn = &CFolderBrowser::BrowseCallback;
    m_info.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CFolderBrowser::Browse()
{
    m_strSelectedFolder = m_strInitialFolder;
    const CScopedPidl pidl(::SHBrowseForFolderA(&m_info));
    if (!pidl || !::SHGetPathFromIDListA(pidl.Get(), m_szPath)) return IDCANCEL;
    m_strSelectedFolder = m_szPath;
    return IDOK;
}

std::string CFolderBrowser::ShortenPath(const std::string& path)
{
    return path.size() > 35 ? AnsiCutBytes(path, 35) + "..." : path;
}

void CFolderBrowser::OnInitialized()
{
    ::SendMessageA(m_hBrowser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(m_strInitialFolder.c_str()));
    const std::string status = ShortenPath(m_strInitialFolder);
    ::SendMessageA(m_hBrowser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
}

void CFolderBrowser::OnSelChanged(LPCITEMIDLIST pidl)
{
    m_szPath[0] = '\0';
    ::SHGetPathFromIDListA(pidl, m_szPath);
    m_strSelectedFolder = m_szPath;
    const std::string status = ShortenPath(m_strSelectedFolder);
    ::SendMessageA(m_hBrowser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(status.c_str()));
}

void CFolderBrowser::HandleCallback(HWND hWnd, UINT message, LPARAM lParam)
{
    m_hBrowser = hWnd;
    if (message == BFFM_INITIALIZED)
        OnInitialized();
    else if (message == BFFM_SELCHANGED)
        OnSelChanged(reinterpret_cast<LPCITEMIDLIST>(lParam));
}

int CALLBACK CFolderBrowser::BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM data)
{
    return AfxCallbackGuard(0, [&] {
        reinterpret_cast<CFolderBrowser*>(data)->HandleCallback(hWnd, message, lParam);
        return 0;
    });
}
