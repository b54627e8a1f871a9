#pragma once
// The list's drop target: files dragged from the shell (the file-drop
// format) are collected while the drop is under way; the view adds them
// when WM_ADD_DROPPED_FILES, posted here, arrives after the drop returned.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/win32/OleDropTarget.h"
#include "ui/AppMessages.h"


class CFileDropTarget : public COleDropTarget {
public:
    // Names of this many characters or more are skipped: no file of such a
    // path can be opened through the ANSI file functions the archive uses.
    static constexpr size_t kMaxNameChars = MAX_PATH - 1;

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, POINT point) override;

    // The data of a drag that started from this list: dropping it back here
    // does nothing (its files are the list's own entries). Null when none.
    void SetOwnDrag(IDataObject* pData) { m_pOwnDrag = pData; }

    int GetDroppedCount() const { return m_nDropCount; }
    // Name i in the ANSI code page; none when i is out of range or the name
    // has characters the code page cannot show.
    std::optional<std::string> GetDroppedName(int i) const;

    // Reads a DROPFILES block into names; FALSE when it is not one.
    static BOOL ParseDropFiles(const std::vector<BYTE>& block, std::vector<std::wstring>& names);

private:
    BOOL IsOwnDrag(const COleDataObject* pDataObject) const
    {
        return m_pOwnDrag && pDataObject && pDataObject->GetIDataObject() == m_pOwnDrag;
    }

    IDataObject* m_pOwnDrag = nullptr;
    int m_nDropCount = 0;
    std::vector<std::wstring> m_DroppedNames;
};
