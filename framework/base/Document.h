#pragma once
// The document of the document/view framework: path name, title, modified
// flag, the views that show it, and the open and save flows around the
// document's Serialize.

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "framework/base/Archive.h"
#include "framework/base/Types.h"

class CDocument;

// What a document needs of a view; the windowed view derives from it.
class CViewBase {
public:
    virtual ~CViewBase() = default;
    virtual void OnUpdate(CViewBase* pSender, intptr_t lHint, void* pHint) = 0;
    CDocument* GetDocument() const { return m_pDocument; }

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};

// The framework's standard messages for failed opens and saves.
extern const char* const AFX_TEXT_FAILED_TO_OPEN_DOC;  // "Failed to open document."
extern const char* const AFX_TEXT_FAILED_TO_SAVE_DOC;  // "Failed to save document."

class CDocument {
public:
    CDocument() = default;
    virtual ~CDocument();
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path (made absolute) and the title (its file name).
    virtual void SetPathName(const std::string& pathName);
    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string& title) { m_strTitle = title; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CViewBase* pView);
    void RemoveView(CViewBase* pView);
    const std::vector<CViewBase*>& GetViews() const { return m_views; }
    void UpdateAllViews(CViewBase* pSender, intptr_t lHint = 0, void* pHint = nullptr);

    // Empties the document and clears its path and modified flag.
    virtual BOOL OnNewDocument();
    // Opens path for reading (others may not write), empties the document,
    // runs Serialize, and clears the modified
    // flag. Failures are reported and give FALSE. When the file could not be
    // opened at all the document is untouched; when its contents were
    // refused, the document is left as after New, and
    // WasEmptiedByFailedOpen() says so.
    virtual BOOL OnOpenDocument(const std::string& pathName);
    BOOL WasEmptiedByFailedOpen() const { return m_bEmptiedByFailedOpen; }
    // Creates path (replacing it) with no sharing, runs Serialize, flushes
    // the data to the disk and clears the modified flag. Failures are
    // reported and give FALSE.
    virtual BOOL OnSaveDocument(const std::string& pathName);
    // The save step on a file already open for writing: Serialize, flush,
    // close, clear the modified flag; failures are reported and give FALSE.
    BOOL SaveToFile(CFile& file);
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive& ar) { (void)ar; }

    // Shows the message for a failed open or save: a file error's own text
    // naming the file, nothing for a CUserException, else defaultText.
    virtual void ReportSaveLoadException(const std::string& pathName, const std::exception* e,
                                         BOOL bSaving, const char* defaultText);

private:
    std::string m_strPathName;
    std::string m_strTitle;
    BOOL m_bModified = FALSE;
    BOOL m_bEmptiedByFailedOpen = FALSE;
    std::vector<CViewBase*> m_views;
};
