#pragma once
// The single-document template: ties the one document, the frame and the
// view together, and carries out New, Open, Save and Save As for them.

#include <functional>
#include <memory>
#include <string>

#include "framework/base/Document.h"
#include "framework/win32/CmdTarget.h"

class CFrameWnd;
class CView;

class CSingleDocTemplate : public CCmdTarget {
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CSingleDocTemplate(UINT nIDResource, std::function<CDocument*()> newDocument,
                       std::function<CFrameWnd*()> newFrame, std::function<CView*()> newView);
    ~CSingleDocTemplate() override;

    // One of the seven newline-separated fields of string nIDResource.
    std::string GetDocString(DocStringIndex index) const;
    UINT GetResourceID() const { return m_nIDResource; }

    // Opens path into the one document (a new one when path is null),
    // creating the frame the first time. nullptr when it failed.
    CDocument* OpenDocumentFile(const char* path, BOOL bMakeVisible = TRUE);
    CDocument* GetDocument() const { return m_pOnlyDoc.get(); }
    void SetDefaultTitle(CDocument* pDocument) const;

    // Offers to save a modified document: FALSE when the user cancelled or
    // the save failed.
    BOOL SaveModified();
    // Saves to path, or asks for a path first when it is null.
    BOOL DoSave(const char* path, BOOL bReplace = TRUE);
    BOOL DoFileSave();
    // The filter string of the file dialogs: the type's own, then all files.
    std::string GetFilter() const;
    // Set by OpenDocumentFile: TRUE when it stopped because the user
    // cancelled the prompt to save.
    BOOL m_bLastOpenCancelled = FALSE;

private:
    UINT m_nIDResource;
    std::function<CDocument*()> m_newDocument;
    std::function<CFrameWnd*()> m_newFrame;
    std::function<CView*()> m_newView;
    std::unique_ptr<CDocument> m_pOnlyDoc;
};
