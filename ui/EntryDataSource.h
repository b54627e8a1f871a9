#pragma once
// What a drag of rows out of the list carries: the entries as files, in
// the shell's file-drop format (CF_HDROP: Windows' Explorer, this program's
// list) and as the shell's item id list (some shells' folder windows take
// only that). Nothing is extracted while the
// drag goes on: targets that look at the names before the drop (the shell
// does, as the drag enters its windows) get the names the files will have;
// the drop extracts them into a folder of their own and hands those over.
// Entries that cannot be files (not yet saved, unsafe names) are left out
// and reported as the Extract command reports them.

#include <string>
#include <vector>

#include "framework/win32/OleDataSource.h"

class CPackwright32Doc;
class CPrivateTempFolder;
class CProgressDisplay;

class CEntryDataSource : public COleDataSource {
public:
    // Drags of more entries than this, or of more bytes, show the progress
    // window while the drop extracts.
    static constexpr size_t kProgressEntries = 32;
    static constexpr int64_t kProgressBytes = 32 * 1024 * 1024;

    // names: the dragged rows' names, as the list shows them. The files are
    // written to a new folder inside tempFolder.
    CEntryDataSource(CPackwright32Doc* pDoc, const std::vector<std::string>& names, CPrivateTempFolder& tempFolder,
                     CProgressDisplay* pProgress);

    // Whether any entry can be dragged at all.
    BOOL HasFiles() const { return !m_names.empty(); }
    // After the drag: the document may change and the view go from now on,
    // so nothing more is extracted (files already written are still handed
    // out).
    void Disconnect()
    {
        m_pDoc = nullptr;
        m_pTempFolder = nullptr;
        m_pProgress = nullptr;
    }
    // The entries left out or failed, one block each ("name\r\nreason\r\n\r\n").
    const std::string& GetErrors() const { return m_strErrors; }
    // Whether a drop extracted the entries.
    BOOL IsExtracted() const { return m_bExtracted; }

protected:
    BOOL OnRenderGlobalData(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes) override;

private:
    void Extract();
    // The folder the files go to, made at first need; "" when it cannot be.
    std::string Folder();

    CPackwright32Doc* m_pDoc;
    CPrivateTempFolder* m_pTempFolder;
    CProgressDisplay* m_pProgress;
    std::vector<std::string> m_names;  // entries that can be files, each name once
    int64_t m_nBytes = 0;
    std::string m_strFolder;
    std::vector<std::string> m_extracted;  // names of the files the drop wrote
    BOOL m_bExtracted = FALSE;
    std::string m_strErrors;
};
