#include "framework/base/Document.h"

#include <algorithm>

#include "framework/base/Exception.h"
#include "framework/base/File.h"
#include "framework/base/Path.h"
#include "framework/base/Report.h"

const char* const AFX_TEXT_FAILED_TO_OPEN_DOC = "Failed to open document.";
const char* const AFX_TEXT_FAILED_TO_SAVE_DOC = "Failed to save document.";

CDocument::~CDocument()
{
    for (CViewBase* view : m_views) view->m_pDocument = nullptr;
}

void CDocument::SetPathName(const std::string& pathName)
{
    m_strPathName = GetFullPath(pathName);
    SetTitle(GetFileNameOf(m_strPathName));
}

void CDocument::AddView(CViewBase* pView)
{
    if (std::find(m_views.begin(), m_views.end(), pView) != m_views.end()) return;
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CViewBase* pView)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CViewBase* pSender, intptr_t lHint, void* pHint)
{
    for (CViewBase* view : m_views)
        if (view != pSender) view->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const std::string& pathName)
{
    m_bEmptiedByFailedOpen = FALSE;
    CFile file;
    CFileException error;
    if (!file.Open(pathName, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        ReportSaveLoadException(pathName, &error, FALSE, AFX_TEXT_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE);  // dirty while the contents are half read
    try {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        file.Close();
    } catch (const std::exception& e) {
        file.Abort();
        ReportSaveLoadException(pathName, &e, FALSE, AFX_TEXT_FAILED_TO_OPEN_DOC);
        // Half-read contents are gone: what is left must not pass for the
        // old file or the refused one.
        OnNewDocument();
        m_bEmptiedByFailedOpen = TRUE;
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const std::string& pathName)
{
    CFile file;
    CFileException error;
    if (!file.Open(pathName, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &error)) {
        ReportSaveLoadException(pathName, &error, TRUE, AFX_TEXT_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    return SaveToFile(file);
}

BOOL CDocument::SaveToFile(CFile& file)
{
    const std::string pathName = file.GetFilePath();
    try {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        // On the disk before anyone renames it over an old file.
        file.Flush();
        file.Close();
    } catch (const std::exception& e) {
        file.Abort();
        ReportSaveLoadException(pathName, &e, TRUE, AFX_TEXT_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(const std::string& pathName, const std::exception* e, BOOL bSaving,
                                        const char* defaultText)
{
    (void)bSaving;
    if (dynamic_cast<const CUserException*>(e)) return;  // already reported
    if (const auto* fe = dynamic_cast<const CFileException*>(e)) {
        CFileException named = *fe;
        if (named.m_strFileName.empty()) named.m_strFileName = GetFullPath(pathName);
        AfxMessageBox(named.GetErrorMessage(), afx::mbOk | afx::mbIconError);
        return;
    }
    AfxMessageBox(defaultText, afx::mbOk | afx::mbIconError);
}
