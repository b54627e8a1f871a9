#include "framework/win32/WinApp.h"

#include <shellapi.h>

#include "framework/base/Path.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/FileDialog.h"
#include "framework/win32/FrameWnd.h"
#include "framework/win32/RegKey.h"
#include "framework/win32/ShellRegistration.h"
#include "framework/win32/Wnd.h"

namespace {
CWinApp* g_pApp = nullptr;

const char* const kTextOpenTitle = "Open";
const char* const kSectionSettings = "Settings";
const char* const kSectionRecentFiles = "Recent File List";
const char* const kEntryRecentFile = "File%d";
const char* const kTextUnregistered =
    "System registry entries have been removed and the INI file (if any) was deleted.";
const char* const kTextUnregisterFailed =
    "Not all of the system registry entries (or INI file) were removed.";

std::string ModulePath()
{
    char path[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

std::string ModuleBaseName()
{
    std::string name = ModulePath();
    const size_t sep = name.find_last_of("\\/");
    if (sep != std::string::npos) name.erase(0, sep + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

// Messages that do not mean the user did something: they do not restart idle work.
bool IsIdleMessage(const MSG& msg)
{
    static POINT lastPoint{-1, -1};
    static UINT lastMessage = 0;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (lastMessage == msg.message && lastPoint.x == msg.pt.x && lastPoint.y == msg.pt.y) return false;
        lastPoint = msg.pt;
        lastMessage = msg.message;
        return true;
    }
    return msg.message != WM_PAINT && msg.message != 0x0118 /* system timer (caret blink) */;
}

// Paths are the same file when they match without regard to letter case.
bool SamePath(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(),
                          int(b.size())) == CSTR_EQUAL;
}
}  // namespace

CWinApp* AfxGetApp() { return g_pApp; }

CWinApp::CWinApp(const char* appName)
{
    g_pApp = this;
    m_hInstance = GetModuleHandleA(nullptr);
    m_pszAppName = appName ? appName : AfxLoadString(AFX_IDS_APP_TITLE);
    m_pszExeName = ModuleBaseName();
    MapCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    MapCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    MapCommand(ID_APP_EXIT, [this] { OnAppExit(); });
    for (UINT nID = ID_FILE_MRU_FIRST; nID <= ID_FILE_MRU_LAST; ++nID)
        MapCommand(nID, [this, nID] { OnOpenRecentFile(nID); });
    MapUpdate(ID_FILE_MRU_FILE1, [this](CCmdUI* pCmdUI) { OnUpdateRecentFileMenu(pCmdUI); });
    // Message boxes are owned by the main window and captioned with the
    // application's name unless the caller names another caption.
    m_previousMessageHandler =
        AfxSetMessageBoxHandler([this](const std::string& text, UINT type, const std::string& caption) {
            HWND owner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
            if (owner) owner = ::GetLastActivePopup(owner);
            if (owner && !::IsWindowVisible(owner)) owner = nullptr;
            const std::string shown = !caption.empty()        ? caption
                                      : m_pszAppName.empty() ? std::string("Error")
                                                             : m_pszAppName;
            return ::MessageBoxA(owner, text.c_str(), shown.c_str(), type | MB_TASKMODAL);
        });
}

CWinApp::~CWinApp()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd) ::DestroyWindow(m_pMainWnd->m_hWnd);
    m_pDocTemplate.reset();
    AfxSetMessageBoxHandler(std::move(m_previousMessageHandler));
    if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList) m_pRecentFileList->WriteList(*this);
    return 0;
}

void CWinApp::AddToRecentFileList(const char* path)
{
    if (!m_pRecentFileList || !path || !*path) return;
    m_pRecentFileList->Add(GetFullPath(path));
    // Stored at once as well, so a run that never reaches ExitInstance keeps it.
    m_pRecentFileList->WriteList(*this);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList) return FALSE;
    const int nIndex = int(nID - ID_FILE_MRU_FIRST);
    if (nIndex < 0 || nIndex >= m_pRecentFileList->GetCount()) return FALSE;
    const std::string path = (*m_pRecentFileList)[nIndex];
    if (OpenDocumentFile(path.c_str())) return TRUE;
    // The open has reported why; an entry that cannot be opened goes, unless
    // the user only cancelled the prompt to save.
    if (!m_pDocTemplate || !m_pDocTemplate->m_bLastOpenCancelled) {
        m_pRecentFileList->Remove(nIndex);
        m_pRecentFileList->WriteList(*this);
    }
    return FALSE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (!m_pRecentFileList) {
        pCmdUI->Enable(FALSE);
        return;
    }
    m_pRecentFileList->UpdateMenu(pCmdUI);
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    // The window under the message and its parents up to the main window.
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd))
            if (wnd->PreTranslateMessage(pMsg)) return TRUE;
        if (m_pMainWnd && hWnd == m_pMainWnd->m_hWnd) break;
    }
    return FALSE;
}

BOOL CWinApp::PumpMessage()
{
    MSG msg;
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
        ::PostQuitMessage(int(msg.wParam));  // keep WM_QUIT for the caller to see again
        return FALSE;
    }
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount == 0)
        if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd)) frame->OnIdleUpdateCmdUI();
    return FALSE;
}

int CWinApp::Run()
{
    bool bIdle = true;
    LONG lIdleCount = 0;
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            try {
                if (!OnIdle(lIdleCount++)) bIdle = false;
            } catch (const std::exception& e) {
                AfxReportException(e);
                bIdle = false;
            }
        }
        do {
            if (!PumpMessage()) {
                ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
                return ExitInstance();
            }
            if (IsIdleMessage(msg)) {
                bIdle = true;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* pTemplate) { m_pDocTemplate.reset(pTemplate); }

CDocument* CWinApp::OpenDocumentFile(const char* path)
{
    if (!m_pDocTemplate || !path) return nullptr;
    const std::string full = GetFullPath(path);
    CDocument* doc = m_pDocTemplate->GetDocument();
    if (doc && m_pMainWnd && !doc->GetPathName().empty() && SamePath(doc->GetPathName(), full)) {
        // Already open: only bring it forward, unsaved edits and all.
        ::SetForegroundWindow(::GetLastActivePopup(m_pMainWnd->m_hWnd));
        return doc;
    }
    return m_pDocTemplate->OpenDocumentFile(full.c_str());
}

void CWinApp::OnFileNew()
{
    if (m_pDocTemplate) m_pDocTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    if (!m_pDocTemplate) return;
    std::string ext = m_pDocTemplate->GetDocString(CSingleDocTemplate::filterExt);
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    CFileDialog dialog(TRUE, ext.c_str(), nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       m_pDocTemplate->GetFilter().c_str());
    dialog.m_strTitle = kTextOpenTitle;
    if (dialog.DoModal() != IDOK) return;
    OpenDocumentFile(dialog.GetPathName().c_str());
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::SaveAllModified() { return m_pDocTemplate ? m_pDocTemplate->SaveModified() : TRUE; }

// ---------------------------------------------------------------------------
// Command line

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast)
{
    const std::string param = pszParam;
    if (bFlag) {
        if (lstrcmpiA(pszParam, "pt") == 0)
            m_nShellCommand = FilePrintTo;
        else if (lstrcmpiA(pszParam, "p") == 0)
            m_nShellCommand = FilePrint;
        else if (lstrcmpiA(pszParam, "dde") == 0)
            m_nShellCommand = FileDDE;
        else if (lstrcmpiA(pszParam, "unregister") == 0 || lstrcmpiA(pszParam, "unregserver") == 0)
            m_nShellCommand = AppUnregister;
        else if (lstrcmpiA(pszParam, "register") == 0 || lstrcmpiA(pszParam, "regserver") == 0)
            m_nShellCommand = AppRegister;
        else if (lstrcmpiA(pszParam, "embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (lstrcmpiA(pszParam, "automation") == 0)
            m_bRunAutomated = TRUE;
    } else if (m_strFileName.empty()) {
        m_strFileName = param;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.empty())
            m_strPrinterName = param;
        else if (m_strDriverName.empty())
            m_strDriverName = param;
        else if (m_strPortName.empty())
            m_strPortName = param;
    }
    if (bLast) {
        if (m_nShellCommand == FileNew && !m_strFileName.empty()) m_nShellCommand = FileOpen;
        m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
    }
}

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
        return m_pMainWnd != nullptr;
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
            const LSTATUS status = ::RegDeleteTreeA(HKEY_CURRENT_USER, GetProfileKeyPath().c_str());
            ok = status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
        }
        if (!info.m_bRunEmbedded) AfxMessageBox(ok ? kTextUnregistered : kTextUnregisterFailed, afx::mbOk);
        return FALSE;
    }
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// Shell

void CWinApp::EnableShellOpen()
{
    if (!m_pDdeServer) m_pDdeServer = std::make_unique<CDdeServer>();
    m_pDdeServer->Enable(m_pszExeName, "system");
}

namespace {
CShellFileType ShellFileTypeOf(const CSingleDocTemplate& docTemplate, const std::string& ddeService)
{
    CShellFileType type;
    type.m_strFileTypeId = docTemplate.GetDocString(CSingleDocTemplate::regFileTypeId);
    type.m_strFileTypeName = docTemplate.GetDocString(CSingleDocTemplate::regFileTypeName);
    type.m_strFilterExt = docTemplate.GetDocString(CSingleDocTemplate::filterExt);
    type.m_strExePath = ModulePath();
    type.m_strDdeService = ddeService;
    return type;
}
}  // namespace

void CWinApp::RegisterShellFileTypes(BOOL bCompat)
{
    if (!m_pDocTemplate) return;
    // Silent where the registry refuses: the program runs on without it.
    RegisterShellFileType(HKEY_CLASSES_ROOT,
                          ShellFileTypeOf(*m_pDocTemplate, m_pDdeServer && m_pDdeServer->IsEnabled() ? m_pszExeName : ""),
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
    if (m_pMainWnd && m_pMainWnd->m_hWnd && !::IsWindowVisible(m_pMainWnd->m_hWnd) && m_nDdeCmdShow != -1) {
        m_pMainWnd->ShowWindow(m_nDdeCmdShow == SW_HIDE ? SW_SHOW : m_nDdeCmdShow);
        m_nDdeCmdShow = -1;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Profile

void CWinApp::SetRegistryKey(const char* key) { m_pszRegistryKey = key ? key : ""; }

std::string CWinApp::GetProfileKeyPath() const
{
    if (m_pszRegistryKey.empty()) return {};
    return "Software\\" + m_pszRegistryKey + "\\" + m_pszAppName;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_nMaxMRU = nMaxMRU;
    m_pRecentFileList.reset();
    if (nMaxMRU > 0) {
        m_pRecentFileList = std::make_unique<CRecentFileList>(
            ID_FILE_MRU_FIRST, kSectionRecentFiles, kEntryRecentFile,
            int(nMaxMRU > ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1 ? ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1 : nMaxMRU));
        m_pRecentFileList->ReadList(*this);
    }
    m_nPreviewPages = GetProfileInt(kSectionSettings, "PreviewPages", 0);
}

std::string CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) const
{
    CRegKey key;
    if (GetProfileKeyPath().empty() || !key.Open(HKEY_CURRENT_USER, GetProfileKeyPath() + "\\" + section, KEY_READ))
        return defaultValue ? defaultValue : "";
    std::string value;
    return key.QueryString(entry, value) ? value : std::string(defaultValue ? defaultValue : "");
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) const
{
    CRegKey key;
    if (GetProfileKeyPath().empty() || !key.Create(HKEY_CURRENT_USER, GetProfileKeyPath() + "\\" + section))
        return FALSE;
    if (!value) return key.DeleteValue(entry);
    return key.SetString(entry, value);
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const
{
    CRegKey key;
    if (GetProfileKeyPath().empty() || !key.Open(HKEY_CURRENT_USER, GetProfileKeyPath() + "\\" + section, KEY_READ))
        return UINT(defaultValue);
    DWORD value = 0;
    return key.QueryDword(entry, value) ? value : UINT(defaultValue);
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const
{
    CRegKey key;
    if (GetProfileKeyPath().empty() || !key.Create(HKEY_CURRENT_USER, GetProfileKeyPath() + "\\" + section))
        return FALSE;
    return key.SetDword(entry, DWORD(value));
}

// ---------------------------------------------------------------------------

int AfxWinMain(HINSTANCE hInstance, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = hInstance;
    app->m_nCmdShow = nCmdShow;
    int result = 0;
    try {
        if (!app->InitInstance()) {
            if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) ::DestroyWindow(app->m_pMainWnd->m_hWnd);
            return app->ExitInstance();
        }
        result = app->Run();
    } catch (const std::exception& e) {
        AfxReportException(e);
        result = 1;
    }
    return result;
}
