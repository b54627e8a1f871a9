#pragma once
// The application object. Its members are defined by subject:
//   WinApp.cpp             life cycle, message loop and idle processing
//   WinAppDocuments.cpp    the document template, File New/Open/Exit, recent files
//   WinAppCommandLine.cpp  parsing the command line, carrying out its shell command
//   WinAppShell.cpp        DDE open and the file type's shell registration
//   WinAppProfile.cpp      the profile in the registry

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/base/Report.h"
#include "framework/win32/CmdTarget.h"
#include "framework/win32/CommandLineInfo.h"
#include "framework/win32/DdeServer.h"
#include "framework/win32/DocTemplate.h"
#include "framework/win32/RecentFileList.h"
#include "framework/win32/ShellRegistration.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    // The message loop; returns ExitInstance's result.
    virtual int Run();
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // One message: FALSE at WM_QUIT.
    BOOL PumpMessage();

    void AddDocTemplate(CSingleDocTemplate* pTemplate);
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate.get(); }
    // Opens path, or only brings the window forward when it is already open.
    virtual CDocument* OpenDocumentFile(const char* path);
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();
    BOOL SaveAllModified();

    // The arguments after the program's name; the process's own command
    // line unless set before ParseCommandLine.
    std::optional<std::vector<std::string>> m_args;
    void ParseCommandLine(CCommandLineInfo& info);
    virtual BOOL ProcessShellCommand(CCommandLineInfo& info);

    // Profile: HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>.
    // Shell: DDE open in the running instance under m_pszExeName with the
    // "system" topic, and the document type's registration.
    void EnableShellOpen();
    void RegisterShellFileTypes(BOOL bCompat = FALSE);
    void UnregisterShellFileTypes();
    // Further verbs RegisterShellFileTypes gives the document type.
    std::vector<CShellVerb> m_shellVerbs;
    // The main frame's DDE server (null until EnableShellOpen).
    const CDdeServer* GetDdeServer() const { return m_pDdeServer.get(); }
    // Carries out one DDE command; FALSE when it is not known.
    virtual BOOL OnDDECommand(const CDdeCommand& command);
    // How long a /dde start waits hidden for the shell's DDE open. Then it
    // shows its window with the new archive, as a plain start does: the
    // shell's conversation may have failed, or someone started it by hand.
    static constexpr UINT kDdeOpenWaitMs = 5000;

    void SetRegistryKey(const char* key);
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    // Puts path first in the recent-file list (when there is one) and
    // stores the list.
    virtual void AddToRecentFileList(const char* path);
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    std::string GetProfileString(const char* section, const char* entry, const char* defaultValue = "") const;
    BOOL WriteProfileString(const char* section, const char* entry, const char* value) const;
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue) const;
    BOOL WriteProfileInt(const char* section, const char* entry, int value) const;
    // The profile's registry path below HKEY_CURRENT_USER ("" without a registry key).
    std::string GetProfileKeyPath() const;

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    std::string m_pszAppName;
    std::string m_pszExeName;  // the module's base name without extension
    std::string m_pszRegistryKey;
    UINT m_nMaxMRU = 0;
    UINT m_nPreviewPages = 0;

protected:
    // Opens recent-file entry nID - ID_FILE_MRU_FILE1; a failed one is dropped.
    BOOL OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

private:
    std::unique_ptr<CSingleDocTemplate> m_pDocTemplate;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    BOOL m_bOleInitialized = FALSE;  // by AfxOleInit: undone by ExitInstance
    friend BOOL AfxOleInit();
    std::unique_ptr<CDdeServer> m_pDdeServer;
    int m_nDdeCmdShow = -1;  // the show mode held back by a /dde start
    static constexpr UINT_PTR kDdeWaitTimerId = 0xDDE;  // on the main window
    // Shows the main window held back by a /dde start, once.
    void ShowAfterDdeWait();
    static void CALLBACK OnDdeWaitOver(HWND hWnd, UINT, UINT_PTR nIDEvent, DWORD);
    MessageBoxHandler m_previousMessageHandler;
};

CWinApp* AfxGetApp();
// Initialises OLE on this thread for the application (the shell's dialogs,
// drag and drop); ExitInstance uninitialises it after the message loop.
BOOL AfxOleInit();
// The full path of the program's .exe.
std::string AfxGetModuleFileName();

// The program's entry: InitInstance, then the message loop. Returns the exit code.
int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
