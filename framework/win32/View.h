#pragma once
// Views: windows that show a document. CListView's window is the system's
// list control, whose notifications come back to it reflected.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/base/Document.h"
#include "framework/win32/Wnd.h"

class CView : public CWnd, public CViewBase {
public:
    // Creates the view as the frame's client with the framework's default style.
    virtual BOOL Create(CWnd* pParent, UINT nID);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // After a document was created or opened: the first refresh.
    virtual void OnInitialUpdate();
    void OnUpdate(CViewBase* pSender, intptr_t lHint, void* pHint) override;
    virtual void OnDraw(HDC hdc) { (void)hdc; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override { delete this; }

protected:
    // The window class; the list view replaces it by the list control's.
    virtual const char* GetClassName();
};

// A non-owning handle to a list control with the framework's operations.
class CListCtrl {
public:
    explicit CListCtrl(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    HWND m_hWnd;

    int InsertColumn(int nCol, const char* heading, int nFormat, int nWidth) const;
    BOOL DeleteColumn(int nCol) const { return BOOL(ListView_DeleteColumn(m_hWnd, nCol)); }
    int GetColumnCount() const;
    std::string GetColumnHeading(int nCol) const;
    int GetColumnWidth(int nCol) const { return ListView_GetColumnWidth(m_hWnd, nCol); }
    int GetColumnFormat(int nCol) const;
    std::string GetItemText(int nItem, int nSubItem) const;
    BOOL DeleteAllItems() const { return BOOL(ListView_DeleteAllItems(m_hWnd)); }
    int GetItemCount() const { return ListView_GetItemCount(m_hWnd); }
    // For a virtual list: how many rows it shows.
    void SetItemCountEx(int nItems, DWORD dwFlags = LVSICF_NOINVALIDATEALL) const;
    int GetNextItem(int nItem, int nFlags) const { return ListView_GetNextItem(m_hWnd, nItem, nFlags); }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask) const;
    UINT GetItemState(int nItem, UINT nMask) const { return ListView_GetItemState(m_hWnd, nItem, nMask); }
    DWORD SetExtendedStyle(DWORD dwNewStyle) const;
    DWORD GetExtendedStyle() const { return ListView_GetExtendedListViewStyle(m_hWnd); }
};

class CListView : public CView {
public:
    CListCtrl GetListCtrl() const { return CListCtrl(m_hWnd); }

protected:
    const char* GetClassName() override { return WC_LISTVIEWA; }
};
