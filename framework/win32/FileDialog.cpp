#include "framework/win32/FileDialog.h"

#include <commdlg.h>

#include "framework/base/Path.h"
#include "framework/base/Report.h"
#include "framework/win32/Wnd.h"
#include "framework/win32/WinApp.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* defExt, const char* fileName, DWORD dwFlags,
                         const char* filter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_fileBuffer(65536, '\0')
{
    if (filter) {
        m_strFilter = filter;
        for (char& c : m_strFilter)
            if (c == '|') c = '\0';
    }
    if (defExt) m_strDefExt = defExt;
    if (fileName) m_fileBuffer.assign(fileName, fileName + strnlen(fileName, m_fileBuffer.size() - 1));
    m_fileBuffer.resize(65536, '\0');

    CWnd* parent = pParentWnd ? pParentWnd : (AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    m_ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = DWORD(m_fileBuffer.size());
    m_ofn.lpstrTitle = m_strTitle.empty() ? nullptr : m_strTitle.c_str();
    const BOOL ok = m_bOpenFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    // Names that overflow the buffer: the dialog gives nothing back, or
    // (some versions) cuts the list inside a name and reports success.
    // Either way, say so rather than take some files, or none, without a
    // word.
    if (ok ? FillsBuffer() : CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) {
        AfxMessageBox("Too many files were chosen at once. Please choose fewer files at a time.",
                      afx::mbOk | afx::mbIconWarning);
        return IDCANCEL;
    }
    return ok ? IDOK : IDCANCEL;
}

bool CFileDialog::FillsBuffer() const
{
    // A list ends with an empty name; one that reaches the buffer's last
    // bytes may have been cut.
    const size_t size = m_fileBuffer.size();
    if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT)) return strnlen(m_fileBuffer.data(), size) + 1 >= size;
    for (size_t i = 0; i + 1 < size; ++i)
        if (m_fileBuffer[i] == '\0' && m_fileBuffer[i + 1] == '\0') return i + 2 >= size;
    return true;
}

std::string CFileDialog::GetPathName() const
{
    const std::vector<std::string> names = GetPathNames();
    return names.empty() ? std::string() : names.front();
}

std::vector<std::string> CFileDialog::GetPathNames() const
{
    // Several files come as the folder, then each name, zero-separated.
    std::vector<std::string> names;
    const char* p = m_fileBuffer.data();
    const std::string first = p;
    if (first.empty()) return names;
    p += first.size() + 1;
    if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || *p == '\0') {
        names.push_back(first);
        return names;
    }
    const std::string folder = AddTrailingSeparator(first);
    while (*p) {
        const std::string name = p;
        names.push_back(folder + name);
        p += name.size() + 1;
    }
    return names;
}
