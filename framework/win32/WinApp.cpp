#include "framework/win32/WinApp.h"

#include "framework/base/CodePage.h"

#include "framework/win32/AfxRes.h"
#include "framework/win32/FrameWnd.h"
#include "framework/win32/LibrarySearch.h"
#include "framework/win32/Wnd.h"

namespace {
CWinApp* g_pApp = nullptr;

std::string ModuleBaseName()
{
    std::string name = AfxGetModuleFileName();
    const size_t sep = AnsiFindLast(name, "\\/");
    if (sep != std::string::npos) name.erase(0, sep + 1);
    const size_t dot = AnsiFindLast(name, ".");
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
}  // namespace

CWinApp* AfxGetApp() { return g_pApp; }

std::string AfxGetModuleFileName()
{
    char path[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

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
    if (m_bOleInitialized) {
        ::OleUninitialize();
        m_bOleInitialized = FALSE;
    }
    return 0;
}

BOOL AfxOleInit()
{
    CWinApp* app = AfxGetApp();
    if (!app) return FALSE;
    if (!app->m_bOleInitialized) app->m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    return app->m_bOleInitialized;
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
            // Idle work that fails is reported and stops until the next message.
            if (!AfxCallbackGuard(FALSE, [&] { return OnIdle(lIdleCount++); })) bIdle = false;
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

int AfxWinMain(HINSTANCE hInstance, int nCmdShow)
{
    // Before anything loads a library, system code included.
    AfxRestrictLibrarySearch();
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = hInstance;
    app->m_nCmdShow = nCmdShow;
    return AfxCallbackGuard(1, [app] {
        if (!app->InitInstance()) {
            if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) ::DestroyWindow(app->m_pMainWnd->m_hWnd);
            return app->ExitInstance();
        }
        return app->Run();
    });
}
