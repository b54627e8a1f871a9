#include "app/Packwright32App.h"

#include "app/SplashDlg.h"

#include <commctrl.h>

#include "core/Packwright32Doc.h"
#include "framework/base/File.h"
#include "framework/base/Path.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/FrameWnd.h"
#include "res/resource.h"
#include "suite/LegacyMigration.h"
#include "suite/ModuleRegistration.h"
#include "suite/ToolsLibrary.h"
#include "ui/ErrorDetailsDlg.h"
#include "ui/MainFrame.h"
#include "ui/Packwright32View.h"

CPackwright32App::CPackwright32App()
{
    // Always enabled, whatever the archive's state: the tools library does
    // the work, or nothing when it is missing.
    MapCommand(ID_APP_ABOUT, [] { CallToolsLibrary("DoAbout"); });
    MapCommand(ID_HELP_CHECKVERSION, [] { CallToolsLibrary("DoHMVC"); });
}

CPackwright32App::~CPackwright32App()
{
    if (m_previousDetailsHandler) AfxSetErrorDetailsHandler(std::move(*m_previousDetailsHandler));
}

BOOL CPackwright32App::InitInstance()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                       ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The shell's dialogs and drag and drop need OLE on this thread.
    AfxOleInit();

    // Per-file failures (Add, Extract, a save) are shown in the error-details dialog.
    m_previousDetailsHandler = AfxSetErrorDetailsHandler([](const std::string& summary, const std::string& details) {
        CErrorDetailsDlg dialog;
        dialog.ShowDetails(summary, details);
    });

    SetRegistryKey("Halvard Network");
    LoadStdProfileSettings(10);

    // Painted once, then left unrepainted until it goes: the start-up holds
    // the thread. On an early return it goes with the object.
    CSplashDlg splash;
    if (splash.Create()) {
        splash.ShowWindow(SW_SHOW);
        splash.UpdateWindow();
    }
    ::Sleep(m_dwSplashPause);

    // The suite learns where this copy lies at every start, and takes over
    // the legacy game folders once per machine; both are silent, and the
    // start goes on whatever they achieve.
    RegisterModule();
    MigrateLegacyGameConfig();

    AddDocTemplate(new CSingleDocTemplate(
        IDR_MAINFRAME, [] { return new CPackwright32Doc; }, [] { return new CMainFrame; },
        [] { return new CPackwright32View; }));
    // The shell hands ".vpp" files to the running program through DDE.
    EnableShellOpen();
    // Explorer's "Extract to" runs the windowed build of packwright that
    // ships beside the program; a copy without it offers no such verb. A
    // static verb cannot show the archive's own name, hence NAME.
    const std::string extractTool = GetFolderOf(AfxGetModuleFileName()) + "packwrightw.exe";
    if (CFile::Exists(extractTool))
        m_shellVerbs.push_back({"extract", "Extract to NAME\\", "\"" + extractTool + "\" extract-here \"%1\""});
    RegisterShellFileTypes(TRUE);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) return FALSE;

    // The owner-drawn menu takes the plain one's place, also as the menu
    // the frame goes back to.
    if (auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd)) {
        ::DestroyMenu(::GetMenu(frame->m_hWnd));
        const HMENU hMenu = frame->BuildMenu();
        ::SetMenu(frame->m_hWnd, hMenu);
        frame->m_hMenuDefault = hMenu;
    }

    // A /dde start waits hidden: the shell's open command that follows
    // through DDE shows the window.
    if (cmdInfo.m_nShellCommand != CCommandLineInfo::FileDDE) {
        m_pMainWnd->ShowWindow(SW_SHOW);
        m_pMainWnd->UpdateWindow();
    }
    // Archives dropped on the frame (not the list) are opened.
    m_pMainWnd->DragAcceptFiles(TRUE);
    splash.DestroyWindow();
    return TRUE;
}

void CPackwright32App::ShowProgress(const std::string& action) { m_progress.ShowProgress(action); }

void CPackwright32App::SetProgress(std::string detail, int32_t nDone, int32_t nTotal)
{
    m_progress.SetProgress(std::move(detail), nDone, nTotal);
}

void CPackwright32App::HideProgress() { m_progress.HideProgress(); }
