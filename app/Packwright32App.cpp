#include "app/Packwright32App.h"

#include <commctrl.h>

#include "core/Packwright32Doc.h"
#include "framework/win32/FrameWnd.h"
#include "res/resource.h"
#include "ui/ErrorDetailsDlg.h"
#include "ui/MainFrame.h"
#include "ui/Packwright32View.h"

CPackwright32App::CPackwright32App() = default;

CPackwright32App::~CPackwright32App()
{
    if (m_previousDetailsHandler) AfxSetErrorDetailsHandler(std::move(*m_previousDetailsHandler));
}

BOOL CPackwright32App::InitInstance()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                       ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    // Per-file failures (Add, Extract, a save) are shown in the error-details dialog.
    m_previousDetailsHandler = AfxSetErrorDetailsHandler([](const std::string& summary, const std::string& details) {
        CErrorDetailsDlg dialog;
        dialog.ShowDetails(summary, details);
    });

    SetRegistryKey("Halvard Network");
    LoadStdProfileSettings(10);

    AddDocTemplate(new CSingleDocTemplate(
        IDR_MAINFRAME, [] { return new CPackwright32Doc; }, [] { return new CMainFrame; },
        [] { return new CPackwright32View; }));
    // The shell hands ".vpp" files to the running program through DDE.
    EnableShellOpen();
    RegisterShellFileTypes(TRUE);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) return FALSE;

    // A /dde start waits hidden: the shell's open command that follows
    // through DDE shows the window.
    if (cmdInfo.m_nShellCommand != CCommandLineInfo::FileDDE) {
        m_pMainWnd->ShowWindow(SW_SHOW);
        m_pMainWnd->UpdateWindow();
    }
    // Archives dropped on the frame (not the list) are opened.
    m_pMainWnd->DragAcceptFiles(TRUE);
    return TRUE;
}
