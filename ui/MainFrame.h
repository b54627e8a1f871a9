#pragma once
// The program's main window: menu, toolbar, status bar with the archive's
// totals, the list view, and the Edit commands.

#include <string>

#include "framework/win32/ControlBar.h"
#include "framework/win32/FrameWnd.h"

class CPackwright32Doc;
class CPackwright32View;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA* lpCreateStruct) override;

    // Rewrites the totals pane from the document.
    void UpdateStatusTotals();

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;

    static constexpr const char* kVersionText = "V1.0 Beta 01c (Build 04)";

protected:
    void OnAddFiles();
    void OnRemoveFiles();
    void OnExtractFiles();
    void OnSelectAll();
    void OnUpdateSelectionCommand(CCmdUI* pCmdUI);
    void OnUpdateSelectAll(CCmdUI* pCmdUI);

    CPackwright32View* GetListView() const;
    CPackwright32Doc* GetArchive() const;
};
