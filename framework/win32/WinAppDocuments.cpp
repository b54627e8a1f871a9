#include "framework/win32/WinApp.h"

#include "framework/base/Path.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/FileDialog.h"
#include "framework/win32/PathCompare.h"
#include "framework/win32/Wnd.h"

namespace {
const char* const kTextOpenTitle = "Open";
}  // namespace

void CWinApp::AddDocTemplate(CSingleDocTemplate* pTemplate) { m_pDocTemplate.reset(pTemplate); }

CDocument* CWinApp::OpenDocumentFile(const char* path)
{
    if (!m_pDocTemplate || !path) return nullptr;
    const std::string full = GetFullPath(path);
    CDocument* doc = m_pDocTemplate->GetDocument();
    if (doc && m_pMainWnd && !doc->GetPathName().empty() && SamePath(doc->GetPathName(), full)) {
        // Already open: only bring it forward, unsaved edits and all.
        ::SetForegroundWindow(::GetLastActivePopup(m_pMainWnd->m_hWnd));
        return doc;
    }
    return m_pDocTemplate->OpenDocumentFile(full.c_str());
}

void CWinApp::OnFileNew()
{
    if (m_pDocTemplate) m_pDocTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    if (!m_pDocTemplate) return;
    std::string ext = m_pDocTemplate->GetDocString(CSingleDocTemplate::filterExt);
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    CFileDialog dialog(TRUE, ext.c_str(), nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       m_pDocTemplate->GetFilter().c_str());
    dialog.m_strTitle = kTextOpenTitle;
    if (dialog.DoModal() != IDOK) return;
    OpenDocumentFile(dialog.GetPathName().c_str());
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::SaveAllModified() { return m_pDocTemplate ? m_pDocTemplate->SaveModified() : TRUE; }

void CWinApp::AddToRecentFileList(const char* path)
{
    if (!m_pRecentFileList || !path || !*path) return;
    m_pRecentFileList->Add(GetFullPath(path));
    // Stored at once as well, so a run that never reaches ExitInstance keeps it.
    m_pRecentFileList->WriteList(*this);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList) return FALSE;
    const int nIndex = int(nID - ID_FILE_MRU_FIRST);
    if (nIndex < 0 || nIndex >= m_pRecentFileList->GetCount()) return FALSE;
    const std::string path = (*m_pRecentFileList)[nIndex];
    if (OpenDocumentFile(path.c_str())) return TRUE;
    // The open has reported why; an entry that cannot be opened goes, unless
    // the user only cancelled the prompt to save.
    if (!m_pDocTemplate || !m_pDocTemplate->m_bLastOpenCancelled) {
        m_pRecentFileList->Remove(nIndex);
        m_pRecentFileList->WriteList(*this);
    }
    return FALSE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (!m_pRecentFileList) {
        pCmdUI->Enable(FALSE);
        return;
    }
    m_pRecentFileList->UpdateMenu(pCmdUI);
}
