#include "framework/win32/WinApp.h"

#include "framework/win32/Callback.h"
#include "framework/win32/ShellRegistration.h"
#include "framework/win32/Wnd.h"

void CWinApp::EnableShellOpen()
{
    if (!m_pDdeServer) m_pDdeServer = std::make_unique<CDdeServer>();
    m_pDdeServer->Enable(m_pszExeName, "system");
}

namespace {
CShellFileType ShellFileTypeOf(const CSingleDocTemplate& docTemplate, const std::string& ddeService,
                               const std::vector<CShellVerb>& verbs = {})
{
    CShellFileType type;
    type.m_strFileTypeId = docTemplate.GetDocString(CSingleDocTemplate::regFileTypeId);
    type.m_strFileTypeName = docTemplate.GetDocString(CSingleDocTemplate::regFileTypeName);
    type.m_strFilterExt = docTemplate.GetDocString(CSingleDocTemplate::filterExt);
    type.m_strExePath = AfxGetModuleFileName();
    type.m_strDdeService = ddeService;
    type.m_verbs = verbs;
    return type;
}
}  // namespace

void CWinApp::RegisterShellFileTypes(BOOL bCompat)
{
    if (!m_pDocTemplate) return;
    // Silent where the registry refuses: the program runs on without it.
    RegisterShellFileType(HKEY_CLASSES_ROOT,
                          ShellFileTypeOf(*m_pDocTemplate, m_pDdeServer && m_pDdeServer->IsEnabled() ? m_pszExeName : "",
                                          m_shellVerbs),
                          bCompat);
}

void CWinApp::UnregisterShellFileTypes()
{
    if (m_pDocTemplate) UnregisterShellFileType(HKEY_CLASSES_ROOT, ShellFileTypeOf(*m_pDocTemplate, ""));
}

BOOL CWinApp::OnDDECommand(const CDdeCommand& command)
{
    const bool open = lstrcmpiA(command.m_strName.c_str(), "open") == 0;
    const bool print = lstrcmpiA(command.m_strName.c_str(), "print") == 0 ||
                       lstrcmpiA(command.m_strName.c_str(), "printto") == 0;
    if ((!open && !print) || command.m_arrArgs.empty()) return FALSE;
    // Print has nothing to print here: like open, it only opens the file.
    OpenDocumentFile(command.m_arrArgs[0].c_str());
    ShowAfterDdeWait();
    return TRUE;
}

void CWinApp::ShowAfterDdeWait()
{
    if (!m_pMainWnd || !m_pMainWnd->m_hWnd) return;
    ::KillTimer(m_pMainWnd->m_hWnd, kDdeWaitTimerId);
    if (m_nDdeCmdShow == -1 || ::IsWindowVisible(m_pMainWnd->m_hWnd)) return;
    m_pMainWnd->ShowWindow(m_nDdeCmdShow == SW_HIDE ? SW_SHOW : m_nDdeCmdShow);
    m_pMainWnd->UpdateWindow();
    m_nDdeCmdShow = -1;
}

void CALLBACK CWinApp::OnDdeWaitOver(HWND hWnd, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::KillTimer(hWnd, nIDEvent);
    AfxCallbackGuard(0, [hWnd] {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd == hWnd) app->ShowAfterDdeWait();
        return 0;
    });
}
