#pragma once
// The program's main window: menu, toolbar, status bar with the archive's
// totals, the list view, and the Edit commands.

#include <cstdint>
#include <optional>
#include <string>

#include "framework/win32/ControlBar.h"
#include "framework/win32/FrameWnd.h"
#include "res/version.h"
#include "ui/CommandAvailability.h"
#include "ui/ProgressDisplay.h"
#include "ui/menu/BitmapMenu.h"

class CPackwright32Doc;
class CPackwright32View;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA* lpCreateStruct) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The archive's save, with the progress window when it runs long.
    BOOL SaveDocument(CDocument* pDoc, const std::string& pathName) override;

    // Rewrites the totals pane from the document.
    void UpdateStatusTotals();

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    // The owner-drawn menu: its popups and records live as long as the frame.
    CBitmapMenu m_menu;
    // Builds m_menu from the main menu with the small toolbar's images and
    // hands over the menu bar's handle, which the window owns from then on.
    HMENU BuildMenu();

    static constexpr const char* kVersionText = PACKWRIGHT_VERSION_TEXT;
    // Extract's progress action and failure summary; the Explorer verb's
    // extraction says the same.
    static constexpr const char* kTextExtracting = "Extracting files...";
    static constexpr const char* kTextExtractFailed = "At least one file was not extracted. See below for details.";

    // Where long commands show their progress: the application's display
    // unless another is set (tests watch the calls through one).
    CProgressDisplay* GetProgressDisplay() const;
    void SetProgressDisplay(CProgressDisplay* pDisplay) { m_pProgressDisplay = pDisplay; }

protected:
    void OnAddFiles();
    void OnRemoveFiles();
    void OnExtractFiles();
    void OnSelectAll();
    void OnUpdateSelectionCommand(CCmdUI* pCmdUI);
    void OnUpdateSelectAll(CCmdUI* pCmdUI);

    CPackwright32View* GetListView() const;
    CPackwright32Doc* GetArchive() const;

private:
    // Gathers the plain state (cheap: counts the list keeps) and, when it
    // differs from the last gathered, decides the commands anew and rewrites
    // the totals: once per refresh of the command states, however many
    // update handlers the refresh runs.
    const CommandAvailability& RefreshCommandAvailability();

    struct RefreshState {
        CommandState commands;
        bool bHasArchive = false;
        int32_t nFileCount = 0;
        int32_t nTotalSize = 0;
        bool operator==(const RefreshState&) const = default;
    };
    std::optional<RefreshState> m_lastRefresh;
    CommandAvailability m_available;
    CProgressDisplay* m_pProgressDisplay = nullptr;
};
