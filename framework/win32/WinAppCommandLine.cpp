#include "framework/win32/WinApp.h"

#include <shlwapi.h>

#include "framework/base/Report.h"
#include "framework/win32/Wnd.h"

namespace {
const char* const kTextUnregistered =
    "System registry entries have been removed and the INI file (if any) was deleted.";
const char* const kTextUnregisterFailed =
    "Not all of the system registry entries (or INI file) were removed.";
}  // namespace

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    if (!m_args) {
        m_args.emplace();
        for (int i = 1; i < __argc; ++i) m_args->push_back(__argv[i]);
    }
    const std::vector<std::string>& args = *m_args;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool flag = !arg.empty() && (arg[0] == '/' || arg[0] == '-');
        info.ParseParam(flag ? arg.c_str() + 1 : arg.c_str(), flag, i + 1 == args.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName.c_str()) != nullptr;
    case CCommandLineInfo::FileDDE:
        // The shell sends the command through DDE: wait hidden with a new
        // document; the first DDE open shows the window as it was asked to.
        m_nDdeCmdShow = m_nCmdShow;
        m_nCmdShow = SW_HIDE;
        OnFileNew();
        if (!m_pMainWnd) return FALSE;
        // Bound to the window, so that the timer goes with it.
        ::SetTimer(m_pMainWnd->m_hWnd, kDdeWaitTimerId, kDdeOpenWaitMs, OnDdeWaitOver);
        return TRUE;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        // Nothing here prints: the file is opened, unseen, and the program ends.
        m_nCmdShow = SW_HIDE;
        OpenDocumentFile(info.m_strFileName.c_str());
        return FALSE;
    case CCommandLineInfo::AppRegister:
        RegisterShellFileTypes(TRUE);
        return FALSE;
    case CCommandLineInfo::AppUnregister: {
        UnregisterShellFileTypes();
        // The profile goes too, as the message says.
        BOOL ok = TRUE;
        if (!GetProfileKeyPath().empty()) {
            const LSTATUS status = ::SHDeleteKeyA(HKEY_CURRENT_USER, GetProfileKeyPath().c_str());
            ok = status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
        }
        if (!info.m_bRunEmbedded) AfxMessageBox(ok ? kTextUnregistered : kTextUnregisterFailed, afx::mbOk);
        return FALSE;
    }
    default:
        return FALSE;
    }
}
