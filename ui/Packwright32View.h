#pragma once
// The list of the open archive's entries: one row per entry, in archive
// order, rebuilt whenever the document changes.
//
// The list is virtual: its rows come from a snapshot of the entries taken at
// each rebuild, so a command that changes the table row by row still reads
// the rows as they were shown.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win32/PrivateTempFolder.h"
#include "framework/win32/View.h"
#include "ui/AppMessages.h"
#include "ui/FileDropTarget.h"
#include "ui/OpenedEntries.h"
#include "ui/QuickViewWnd.h"

class CPackwright32Doc;
class CProgressDisplay;


class CPackwright32View : public CListView {
public:
    CPackwright32View();
    CPackwright32Doc* GetDocument() const;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnInitialUpdate() override;
    void OnUpdate(CViewBase* pSender, intptr_t lHint, void* pHint) override;
    void OnDraw(HDC hdc) override { (void)hdc; }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

    // Adds the files of the last drop (failures are skipped silently) and
    // rebuilds the list once.
    LRESULT OnAddDroppedFiles();

    CFileDropTarget m_dropTarget;

    // Opens the selected row's entry with the program Windows gives its
    // type: a saved entry through a copy in the program's temporary folder
    // (the same copy while it is open), an outside file itself.
    void OnOpenEntry();
    // Asks, once per change, whether each changed copy goes back into the
    // archive; Yes adds it in place of the entry.
    void CheckOpenedEntries();
    // Drags the selected rows out as files.
    void OnBeginDrag();
    // The context menu at a point of the screen; (-1, -1) from the
    // keyboard puts it at the focused row.
    void OnContextMenu(POINT screenPoint);
    // The folder of the files this view hands to other programs.
    CPrivateTempFolder& GetTempFolder() { return m_tempFolder; }
    const COpenedEntries& GetOpenedEntries() const { return m_opened; }

    // F3 and the context menu's Quick view: opens the quick view on the
    // focused row's entry, or closes it when it is open.
    void OnQuickView();
    CQuickViewWnd& GetQuickView() { return m_quickView; }
    // The focused row's entry name; empty when no row has the focus.
    std::string GetFocusedName() const;

    // A click on a column header: the rows sorted by that column.
    void OnColumnClick(NMLISTVIEW* pNMListView, LRESULT* pResult);
    // Puts the rows in the order given (order[i] is the row that goes to
    // position i); selection and focus stay with their rows.
    void ReorderRows(const std::vector<int>& order);

    // One-time set-up of the list's styles and columns; safe to call again.
    void SetupColumns();
    // The number of selected rows.
    int GetSelectedCount() const;
    // The names of the selected rows, top to bottom.
    std::vector<std::string> GetSelectedNames() const;
    // A number as the list shows it: grouped by dots, padded with spaces so
    // that text order is numeric order.
    static std::string FormatGroupedNumber(int32_t value);

private:
    // What a row shows, as values; an entry's path only for outside files.
    struct Row {
        std::string name;
        std::string path;
        int32_t size;
        int32_t offset;
        bool inVpp;
    };
    // The text of a cell, as the list shows it.
    std::string CellText(int nItem, int nSubItem) const;
    int FindRow(const std::string& prefix, int nStart) const;

    CProgressDisplay* GetProgressDisplay() const;

    BOOL m_bColumnsReady = FALSE;
    std::vector<Row> m_rows;
    CPrivateTempFolder m_tempFolder{"Packwright32"};
    COpenedEntries m_opened;
    BOOL m_bCheckingOpened = FALSE;
    CQuickViewWnd m_quickView;
    bool m_bQuickViewPending = false;  // a WM_QUICKVIEW_FOLLOW is on its way
    bool m_bRebuilding = false;        // the rows go and come back: no focus moves
    std::string m_quickViewArchive;    // the archive whose entry the quick view shows
};
