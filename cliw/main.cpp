// packwrightw's entry point: packwright built for the GUI subsystem, so that
// Explorer starts it without a console window. "extract-here ARCHIVE" is the
// Explorer verb's extraction, which answers in windows; every other command
// line runs the tool as packwright.exe does (its output goes where the
// caller redirected it, or nowhere).

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "cli/Commands.h"
#include "cliw/ExtractHere.h"
#include "framework/base/Report.h"
#include "framework/win32/Callback.h"
#include "framework/win32/WinApp.h"
#include "ui/ErrorDetailsDlg.h"
#include "ui/ProgressWindow.h"

namespace {

const char* const kExtractHere = "extract-here";
// Long enough that a small archive comes and goes without a window
// flashing up; short enough that a long one shows it before anyone wonders.
const DWORD kProgressDelayMs = 500;

int ExtractHere(int argc, char** argv)
{
    // Message boxes through the application: the program's title, on the desktop.
    CWinApp app;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    const ErrorDetailsHandler previous =
        AfxSetErrorDetailsHandler([](const std::string& summary, const std::string& details) {
            CErrorDetailsDlg dialog;
            dialog.ShowDetails(summary, details);
        });
    int status = kExitUsage;
    if (argc != 3 || !*argv[2]) {
        AfxMessageBox(std::string("usage: packwrightw ") + kExtractHere + " ARCHIVE", afx::mbOk | afx::mbIconError);
    } else {
        CProgressDlg dialog;
        CProgressWindow progress(dialog, nullptr, kProgressDelayMs);
        // Whatever escapes is shown like a command's unexpected error.
        status = AfxCallbackGuard(int(kExitFailed), [&] { return CExtractHere(&progress).Run(argv[2]); });
    }
    AfxSetErrorDetailsHandler(previous);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::string(argv[1]) == kExtractHere) return ExtractHere(argc, argv);
    return PackwrightMain(argc, argv);
}
