#include "framework/win32/DocTemplate.h"

#include "framework/base/CodePage.h"
#include "framework/base/File.h"
#include "framework/base/Report.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/FileDialog.h"
#include "framework/win32/FrameWnd.h"
#include "framework/win32/WinApp.h"

namespace {
const char* const kTextUntitled = "Untitled";
const char* const kTextAskToSave = "Save changes to %s?";
const char* const kTextSaveAsTitle = "Save As";
}  // namespace

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, std::function<CDocument*()> newDocument,
                                       std::function<CFrameWnd*()> newFrame, std::function<CView*()> newView)
    : m_nIDResource(nIDResource), m_newDocument(std::move(newDocument)), m_newFrame(std::move(newFrame)),
      m_newView(std::move(newView))
{
    MapCommand(ID_FILE_SAVE, [this] { DoFileSave(); });
    MapCommand(ID_FILE_SAVE_AS, [this] { DoSave(nullptr); });
}

CSingleDocTemplate::~CSingleDocTemplate() = default;

std::string CSingleDocTemplate::GetDocString(DocStringIndex index) const
{
    const std::string full = AfxLoadString(m_nIDResource);
    size_t start = 0;
    for (int i = 0; i < int(index); ++i) {
        start = full.find('\n', start);
        if (start == std::string::npos) return {};
        ++start;
    }
    const size_t end = full.find('\n', start);
    return full.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string CSingleDocTemplate::GetFilter() const
{
    std::string filter;
    const std::string name = GetDocString(filterName);
    const std::string ext = GetDocString(filterExt);
    if (!name.empty() && !ext.empty()) filter += name + "|*" + ext + "|";
    filter += "All Files (*.*)|*.*||";
    return filter;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) const
{
    const std::string name = GetDocString(docName);
    pDocument->SetTitle(name.empty() ? kTextUntitled : name);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* path, BOOL bMakeVisible)
{
    CWinApp* app = AfxGetApp();
    CDocument* pDocument = m_pOnlyDoc.get();
    CFrameWnd* pFrame = nullptr;
    bool bCreated = false;
    m_bLastOpenCancelled = FALSE;
    if (pDocument) {
        if (!SaveModified()) {
            m_bLastOpenCancelled = TRUE;
            return nullptr;
        }
        pFrame = app ? dynamic_cast<CFrameWnd*>(app->m_pMainWnd) : nullptr;
    } else {
        m_pOnlyDoc.reset(m_newDocument());
        pDocument = m_pOnlyDoc.get();
        bCreated = true;
    }

    if (!pFrame) {
        pFrame = m_newFrame();
        CCreateContext context;
        context.m_pCurrentDoc = pDocument;
        context.m_newView = m_newView;
        if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
            // A frame whose window existed has deleted itself with it.
            if (bCreated) m_pOnlyDoc.reset();
            return nullptr;
        }
        bCreated = true;
    }

    if (!path) {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument()) {
            if (bCreated) pFrame->DestroyWindow();
            return nullptr;
        }
    } else {
        const BOOL bWasModified = pDocument->IsModified();
        pDocument->SetModifiedFlag(FALSE);
        BOOL bOpened;
        {
            const CWaitCursor wait;
            bOpened = pDocument->OnOpenDocument(path);
        }
        if (!bOpened) {
            if (bCreated) {
                pFrame->DestroyWindow();
            } else if (!pDocument->WasEmptiedByFailedOpen()) {
                // The file never opened: the document is as it was.
                pDocument->SetModifiedFlag(bWasModified);
            } else {
                // The refused load left a new, empty document.
                SetDefaultTitle(pDocument);
                pFrame->InitialUpdateFrame(pDocument, FALSE);
            }
            return nullptr;
        }
        pDocument->SetPathName(path);
        if (app) app->AddToRecentFileList(path);
    }

    if (app && !app->m_pMainWnd) app->m_pMainWnd = pFrame;
    pFrame->InitialUpdateFrame(pDocument, bMakeVisible);
    return pDocument;
}

BOOL CSingleDocTemplate::SaveModified()
{
    CDocument* doc = m_pOnlyDoc.get();
    if (!doc || !doc->IsModified()) return TRUE;
    const std::string name = doc->GetPathName().empty() ? doc->GetTitle() : doc->GetPathName();
    switch (AfxMessageBox(FormatString(kTextAskToSave, name.c_str()), afx::mbYesNoCancel | afx::mbIconWarning)) {
    case afx::idCancel:
        return FALSE;
    case afx::idYes:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CSingleDocTemplate::DoFileSave()
{
    CDocument* doc = m_pOnlyDoc.get();
    if (!doc) return FALSE;
    // Untitled, or a file that cannot be replaced (marked read-only): ask
    // for a name, as Windows programs do, rather than fail.
    if (doc->GetPathName().empty() || CFile::RefusesReplacement(doc->GetPathName())) return DoSave(nullptr);
    return DoSave(doc->GetPathName().c_str());
}

BOOL CSingleDocTemplate::DoSave(const char* path, BOOL bReplace)
{
    CDocument* doc = m_pOnlyDoc.get();
    if (!doc) return FALSE;
    std::string newName = path ? path : "";
    if (newName.empty()) {
        newName = doc->GetPathName();
        if (newName.empty()) {
            // Offer the title, cut before anything that cannot be in a name.
            newName = doc->GetTitle();
            const size_t bad = AnsiFind(newName, ":/\\");
            if (bad != std::string::npos) newName.erase(bad);
            newName += GetDocString(filterExt);
        }
        std::string ext = GetDocString(filterExt);
        if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
        CFileDialog dialog(FALSE, ext.c_str(), newName.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                           GetFilter().c_str());
        dialog.m_strTitle = kTextSaveAsTitle;
        if (dialog.DoModal() != IDOK) return FALSE;
        newName = dialog.GetPathName();
    }
    // A failed save leaves every file as it was; nothing is deleted here.
    const bool bHadPath = !doc->GetPathName().empty();
    BOOL bSaved;
    {
        const CWaitCursor wait;
        CWinApp* app = AfxGetApp();
        auto* frame = app ? dynamic_cast<CFrameWnd*>(app->m_pMainWnd) : nullptr;
        bSaved = frame ? frame->SaveDocument(doc, newName) : doc->OnSaveDocument(newName);
    }
    if (!bSaved) {
        // A save that emptied the document (its file saved, but not readable
        // again) leaves it untitled, as after New.
        if (bHadPath && doc->GetPathName().empty()) {
            SetDefaultTitle(doc);
            if (CWinApp* app = AfxGetApp())
                if (auto* frame = dynamic_cast<CFrameWnd*>(app->m_pMainWnd)) frame->OnUpdateFrameTitle();
        }
        return FALSE;
    }
    if (bReplace) doc->SetPathName(newName);
    if (CWinApp* app = AfxGetApp()) {
        if (bReplace) app->AddToRecentFileList(newName.c_str());
        if (auto* frame = dynamic_cast<CFrameWnd*>(app->m_pMainWnd)) frame->OnUpdateFrameTitle();
    }
    return TRUE;
}
