#pragma once
// The system's open and save dialogs.

#include <windows.h>

#include <string>
#include <vector>

class CWnd;

class CFileDialog {
public:
    // filter: pairs of "name|pattern|" ending in "|", as the framework takes it.
    CFileDialog(BOOL bOpenFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // Room for the chosen names (several files need more than one path).
    void SetFileBufferSize(size_t bytes) { m_fileBuffer.resize(bytes, '\0'); }
    INT_PTR DoModal();
    std::string GetPathName() const;
    // Every file chosen (one, or several with OFN_ALLOWMULTISELECT).
    std::vector<std::string> GetPathNames() const;

    OPENFILENAMEA m_ofn{};
    std::string m_strTitle;

private:
    // Whether the names written back reach the end of the buffer (cut).
    bool FillsBuffer() const;

    BOOL m_bOpenFileDialog;
    std::string m_strFilter;
    std::string m_strDefExt;
    std::vector<char> m_fileBuffer;
};
