#include "tests/win/GuiTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "core/Packwright32Doc.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/FrameWnd.h"
#include "ui/Packwright32View.h"

namespace guitest {

namespace {
const char* const kProfileKey = "Software\\Halvard Network";

// A window's text without sending it a message: the watcher thread must
// never wait for the user-interface thread, which may be waiting for it.
std::string TextOf(HWND hWnd)
{
    wchar_t wide[4096] = {};
    ::InternalGetWindowText(hWnd, wide, int(sizeof wide / sizeof wide[0]));
    char text[8192] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, int(sizeof text), nullptr, nullptr);
    return text;
}

bool DrainOne()
{
    MSG msg;
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) return true;  // a closed main window; nothing to end here
    CWinApp* app = AfxGetApp();
    if (!app || !app->PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}
}  // namespace

std::string MakeArchive(const testutil::TempDir& dir, const std::string& name, const std::vector<size_t>& sizes)
{
    const std::string stem = name.substr(0, name.rfind('.'));
    auto doc = std::make_unique<CPackwright32Doc>();
    doc->OnNewDocument();
    for (size_t i = 0; i < sizes.size(); ++i) {
        const std::string path = dir / (stem + std::to_string(i) + ".dat");
        testutil::WriteFileText(path, std::string(sizes[i], 'q'));
        EXPECT_TRUE(Succeeded(doc->AddFile(path)));
    }
    const std::string archive = dir / name;
    EXPECT_TRUE(doc->OnSaveDocument(archive));
    return archive;
}

std::string MakeArchive(const testutil::TempDir& dir, const std::string& name, int files)
{
    std::vector<size_t> sizes;
    for (int i = 0; i < files; ++i) sizes.push_back(size_t(10 * (i + 1)));
    return MakeArchive(dir, name, sizes);
}

void RefuseWritesTo(HKEY predefined, HKEY parent, CRegKey& refused)
{
    ASSERT_EQ(::RegCreateKeyExA(parent, "volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                &refused.m_hKey, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegOverridePredefKey(predefined, refused.m_hKey), ERROR_SUCCESS);
}

void PumpIdle()
{
    for (int i = 0; i < 10000 && DrainOne(); ++i) {
    }
    if (CWinApp* app = AfxGetApp()) app->OnIdle(0);
}

bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpIdle();
        if (cond()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(5);
    }
}

std::string DialogText(HWND hDlg)
{
    std::string text;
    for (HWND child = ::GetWindow(hDlg, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char cls[64] = {};
        ::GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) continue;
        const std::string line = TextOf(child);
        if (line.empty()) continue;
        if (!text.empty()) text += "\n";
        text += line;
    }
    return text;
}

namespace {
struct WindowSearch {
    const std::string* caption;
    std::vector<HWND> found;
};

// A named CALLBACK: a lambda has the wrong calling convention on 32-bit Windows.
BOOL CALLBACK CollectOwnWindow(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(hWnd) && *search->caption == TextOf(hWnd))
        search->found.push_back(hWnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> FindOwnWindows(const std::string& caption)
{
    WindowSearch search{&caption, {}};
    ::EnumWindows(CollectOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ModalAnswerer::ModalAnswerer(std::string caption, int buttonId)
    : m_caption(std::move(caption)), m_buttonId(buttonId), m_thread([this] { Watch(); })
{
}

ModalAnswerer::~ModalAnswerer()
{
    m_stop = true;
    m_thread.join();
}

std::vector<std::string> ModalAnswerer::Texts()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_texts;
}

int ModalAnswerer::Count()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_texts.size());
}

void ModalAnswerer::Watch()
{
    while (!m_stop) {
        for (HWND hWnd : FindOwnWindows(m_caption)) {
            char cls[64] = {};
            ::GetClassNameA(hWnd, cls, sizeof cls);
            if (lstrcmpA(cls, "#32770") != 0) continue;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                bool seen = false;
                for (HWND h : m_seen) seen = seen || h == hWnd;
                if (seen) continue;
                m_seen.push_back(hWnd);
                m_texts.push_back(DialogText(hWnd));
            }
            if (onFound)
                onFound(hWnd);
            else
                ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(m_buttonId, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(hWnd, m_buttonId)));
        }
        // Forget dialogs that are gone, so a reused handle counts again.
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            std::vector<HWND> alive;
            for (HWND h : m_seen)
                if (::IsWindow(h)) alive.push_back(h);
            m_seen.swap(alive);
        }
        ::Sleep(20);
    }
}

std::string WindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

namespace {
struct ChildWindows {
    DWORD pid;
    std::vector<HWND> messageBoxes;
    HWND mainWindow = nullptr;
    bool splashVisible = false;
};

BOOL CALLBACK InspectChildWindow(HWND hWnd, LPARAM lParam)
{
    auto* child = reinterpret_cast<ChildWindows*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != child->pid || !::IsWindowVisible(hWnd)) return TRUE;
    // Neither call sends the window a message: the program may be busy.
    const std::string caption = TextOf(hWnd);
    char cls[64] = {};
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (caption == kAppTitle) child->messageBoxes.push_back(hWnd);
    if (caption.rfind(std::string(kAppTitle) + " -", 0) == 0) child->mainWindow = hWnd;
    // The splash is the one dialog without a caption.
    if (caption.empty() && lstrcmpA(cls, "#32770") == 0) child->splashVisible = true;
    return TRUE;
}
}  // namespace

ChildRun RunProgram(const std::string& args, DWORD timeoutMs, DWORD closeAfterMs, const std::string& exe,
                    const std::function<void(HWND, DWORD)>& onMain, const std::string& currentFolder)
{
    ChildRun run;
    const std::string program = WindowsPath(exe.empty() ? PACKWRIGHT32_EXE : exe);
    std::string commandLine = "\"" + program + "\" " + args;
    // Started in its own folder: libraries it loads by name must not come
    // from the test's.
    const std::string folder =
        currentFolder.empty() ? program.substr(0, program.rfind('\\') + 1) : currentFolder;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &process)) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return run;
    }
    const DWORD start = ::GetTickCount();
    DWORD mainSince = 0;
    std::vector<HWND> answered;
    while (::WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
        if (::GetTickCount() - start > timeoutMs) {
            ::TerminateProcess(process.hProcess, 99);
            ::WaitForSingleObject(process.hProcess, 5000);
            break;
        }
        ChildWindows windows{process.dwProcessId, {}};
        ::EnumWindows(InspectChildWindow, reinterpret_cast<LPARAM>(&windows));
        const long now = long(::GetTickCount() - start);
        if (windows.splashVisible) {
            if (run.splashFirstMs < 0) run.splashFirstMs = now;
            run.splashLastMs = now;
        } else if (run.splashFirstMs >= 0 && !run.mainWindowSeen && !windows.mainWindow &&
                   windows.messageBoxes.empty()) {
            run.splashGapBeforeMain = true;
        }
        if (windows.mainWindow && !windows.splashVisible) run.mainWithoutSplashSeen = true;
        if (windows.mainWindow && !run.mainWindowSeen) {
            mainSince = ::GetTickCount();
            run.mainFirstMs = now;
            run.mainWindowSeen = true;
            if (onMain) onMain(windows.mainWindow, process.dwProcessId);
        }
        for (HWND box : windows.messageBoxes) {
            if (std::find(answered.begin(), answered.end(), box) != answered.end()) continue;
            answered.push_back(box);
            ++run.messagesAnswered;
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        if (closeAfterMs && run.mainWindowSeen && ::GetTickCount() - mainSince > closeAfterMs)
            ::PostThreadMessageA(process.dwThreadId, WM_QUIT, 0, 0);
    }
    run.exited = ::GetExitCodeProcess(process.hProcess, &run.exitCode) && run.exitCode != STILL_ACTIVE &&
                 run.exitCode != 99;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return run;
}

AppSession::AppSession(std::vector<std::string> args)
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
    m_app = std::make_unique<CPackwright32App>();
    m_app->m_args = std::move(args);  // never the test program's own arguments
    m_app->m_nCmdShow = SW_SHOW;
    m_app->m_dwSplashPause = 0;
    started = m_app->InitInstance();
    PumpIdle();
}

AppSession::~AppSession()
{
    if (m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd) {
        if (CDocument* doc = m_app->GetDocTemplate() ? m_app->GetDocTemplate()->GetDocument() : nullptr)
            doc->SetModifiedFlag(FALSE);
        ::DestroyWindow(m_app->m_pMainWnd->m_hWnd);
    }
    PumpIdle();
    m_app.reset();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
}

HWND AppSession::MainWnd() const { return m_app->m_pMainWnd ? m_app->m_pMainWnd->m_hWnd : nullptr; }

CPackwright32Doc* AppSession::Doc() const
{
    return m_app->GetDocTemplate() ? dynamic_cast<CPackwright32Doc*>(m_app->GetDocTemplate()->GetDocument()) : nullptr;
}

CPackwright32View* AppSession::View() const
{
    return dynamic_cast<CPackwright32View*>(CWnd::FromHandlePermanent(::GetDlgItem(MainWnd(), AFX_IDW_PANE_FIRST)));
}

}  // namespace guitest
