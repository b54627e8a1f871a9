#pragma once
// The application object: start-up of the editor, and the progress display
// of long commands.

#include <cstdint>
#include <optional>
#include <string>

#include "framework/base/Report.h"
#include "framework/win32/WinApp.h"
#include "ui/ProgressDisplay.h"
#include "ui/ProgressDlg.h"
#include "ui/ProgressWindow.h"

class CPackwright32App : public CWinApp, public CProgressDisplay {
public:
    CPackwright32App();
    ~CPackwright32App() override;
    BOOL InitInstance() override;

    // How long the splash stands before the start goes on. Tests that start
    // the program inside their own process set 0.
    DWORD m_dwSplashPause = 2000;

    void ShowProgress(const std::string& action) override;
    void SetProgress(std::string detail, int32_t nDone, int32_t nTotal) override;
    void HideProgress() override;

    CProgressDlg m_dlgProgress;

private:
    // Shows m_dlgProgress over the main window, at once.
    CProgressWindow m_progress{m_dlgProgress, [this] { return m_pMainWnd; }};

    // The handler replaced at start-up, given back at the end.
    std::optional<ErrorDetailsHandler> m_previousDetailsHandler;
};
