#include "app/Packwright32App.h"

#include <algorithm>

#include "app/SplashDlg.h"

#include <commctrl.h>

#include "core/Packwright32Doc.h"
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

namespace {
// Rows can go by far faster than the screen can follow: the progress is
// updated at most this often, besides its first and last step.
const DWORD kProgressPaintIntervalMs = 30;
const DWORD kProgressPaintMaxIntervalMs = 100;

void RedrawNow(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}
}  // namespace

void CPackwright32App::ShowProgress(const std::string& action)
{
    if (!m_dlgProgress.m_hWnd && !m_dlgProgress.Create(IDD_PROGRESS, m_pMainWnd)) return;
    m_dlgProgress.ShowWindow(SW_SHOWNORMAL);
    // Shown, but no input: the command runs on and cannot be stopped from here.
    ::EnableWindow(m_dlgProgress.m_hWnd, FALSE);
    m_dlgProgress.m_ctlAction.SetWindowText(action);
    RedrawNow(m_dlgProgress.m_hWnd);
    PaintWhileBusy();
    // The next step is drawn whatever it is: a command may put the window up
    // only once it has run a while, far past its first step.
    m_nLastProgressPaint = ::GetTickCount() - kProgressPaintMaxIntervalMs;
}

void CPackwright32App::SetProgress(std::string detail, int32_t nDone, int32_t nTotal)
{
    if (!m_dlgProgress.m_hWnd) return;
    // The bar redraws at every new position and the detail line at every
    // new text, which costs time at every step: steps that come faster than
    // the eye follows are passed over whole, and the next step drawn shows
    // where the command is. A slow paint spaces the next one further out,
    // up to a tenth of a second, so drawing takes a small part of the
    // command's time.
    const DWORD now = ::GetTickCount();
    const DWORD interval =
        std::clamp(20 * m_nProgressPaintCost, kProgressPaintIntervalMs, kProgressPaintMaxIntervalMs);
    if (nDone != 0 && nDone < nTotal && now - m_nLastProgressPaint < interval) return;
    m_nLastProgressPaint = now;
    m_dlgProgress.m_ctlDetail.SetWindowText(detail);
    m_dlgProgress.m_ctlProgress.SetRange32(0, nTotal);
    m_dlgProgress.m_ctlProgress.SetPos(nDone);
    RedrawNow(m_dlgProgress.m_ctlDetail.m_hWnd);
    RedrawNow(m_dlgProgress.m_ctlProgress.m_hWnd);
    PaintWhileBusy();
    m_nProgressPaintCost = ::GetTickCount() - now;
}

void CPackwright32App::HideProgress() { m_dlgProgress.DestroyWindow(); }

void CPackwright32App::PaintWhileBusy()
{
    // A thread that looks at its queue counts as responding: Windows leaves
    // its windows alone instead of replacing them by a ghost.
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD);
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        ::RedrawWindow(m_pMainWnd->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}
