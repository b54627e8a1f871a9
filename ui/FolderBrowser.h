#pragma once
// The shell's folder-browsing dialog, opened with a folder already selected
// and the highlighted folder's path in its status line.

#include <windows.h>
#include <shlobj.h>

#include <string>

class CFolderBrowser {
public:
    CFolderBrowser(const std::string& title, const std::string& initialFolder, UINT extraFlags, HWND owner);
    virtual ~CFolderBrowser() = default;
    CFolderBrowser(const CFolderBrowser&) = delete;
    CFolderBrowser& operator=(const CFolderBrowser&) = delete;

    // IDOK when a file-system folder was chosen, else IDCANCEL.
    virtual INT_PTR Browse();
    std::string GetSelectedFolder() const { return m_strSelectedFolder; }

    // A path of more than 35 characters as its first 35 and "...".
    static std::string ShortenPath(const std::string& path);

protected:
    virtual void OnInitialized();
    virtual void OnSelChanged(LPCITEMIDLIST pidl);
    virtual void HandleCallback(HWND hWnd, UINT message, LPARAM lParam);

private:
    static int CALLBACK BrowseCallback(HWND hWnd, UINT message, LPARAM lParam, LPARAM data);

    BROWSEINFOA m_info{};
    std::string m_strTitle;
    std::string m_strInitialFolder;
    std::string m_strSelectedFolder;
    char m_szDisplayName[MAX_PATH] = {};
    char m_szPath[MAX_PATH] = {};
    HWND m_hBrowser = nullptr;
};
