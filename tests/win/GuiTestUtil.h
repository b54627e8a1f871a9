#pragma once
// Helpers for driving the real program's windows inside the test process.

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Packwright32App.h"
#include "framework/win32/RegKey.h"
#include "tests/support/TestUtil.h"

class CPackwright32Doc;
class CPackwright32View;

namespace guitest {

// The application's name: the caption of its main window and message boxes.
constexpr const char* kAppTitle = "Halvard Manager PACKWRIGHT32";

// The archive dir/name holding one file per size, named after the archive:
// game.vpp holds game0.dat, game1.dat, ... (written beside it).
std::string MakeArchive(const testutil::TempDir& dir, const std::string& name, const std::vector<size_t>& sizes);
// The same with files of 10, 20, 30, ... bytes.
std::string MakeArchive(const testutil::TempDir& dir, const std::string& name, int files);

// Runs the message loop until cond holds or timeoutMs passes; returns cond().
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000);
// Makes every write below the predefined key fail: it is overridden by a
// volatile key made in `refused` under parent (nothing lasting can live below
// a volatile key). The caller restores the override and closes `refused`.
void RefuseWritesTo(HKEY predefined, HKEY parent, CRegKey& refused);
// Runs the message loop until it has nothing left to do (idle work included).
void PumpIdle();

// Answers modal windows of this process: every dialog whose caption is
// `caption` gets button `buttonId` pressed, from a watcher thread. The
// texts of the answered windows are recorded.
class ModalAnswerer {
public:
    ModalAnswerer(std::string caption, int buttonId);
    ~ModalAnswerer();
    std::vector<std::string> Texts();
    int Count();

    // Called by the watcher with a found dialog; default presses the button.
    std::function<void(HWND)> onFound;

private:
    void Watch();
    std::string m_caption;
    int m_buttonId;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<std::string> m_texts;
    std::vector<HWND> m_seen;
    std::thread m_thread;
};

// The static texts of a dialog, joined by newlines.
std::string DialogText(HWND hDlg);
// Top-level windows of this process with the given caption.
std::vector<HWND> FindOwnWindows(const std::string& caption);

// The Windows form of a path the build hands over (Unix paths lie on Z:).
std::string WindowsPath(std::string path);

// What was seen of the real program run as a child process.
struct ChildRun {
    bool exited = false;
    DWORD exitCode = 0;
    int messagesAnswered = 0;
    bool mainWindowSeen = false;
    // Milliseconds after the start at which the splash was first and last
    // seen, and the main window first; -1 for never.
    long splashFirstMs = -1;
    long splashLastMs = -1;
    long mainFirstMs = -1;
    // Once the splash was up, a look found neither it nor the main window.
    bool splashGapBeforeMain = false;
    // A look found the main window up and the splash gone, the program running.
    bool mainWithoutSplashSeen = false;
};

// Starts exe (the built Packwright32.exe when empty) with args, presses OK
// on its message boxes and watches its windows until it ends; once its main
// window is up, calls onMain with it, then closes the program closeAfterMs
// later (when that is not 0). It runs in its own folder unless currentFolder
// names another.
ChildRun RunProgram(const std::string& args, DWORD timeoutMs = 20000, DWORD closeAfterMs = 0,
                    const std::string& exe = {}, const std::function<void(HWND, DWORD pid)>& onMain = {},
                    const std::string& currentFolder = {});

// The application started as the program starts, with these arguments;
// torn down again (windows destroyed, registry root set aside) at the end.
class AppSession {
public:
    explicit AppSession(std::vector<std::string> args = {});
    ~AppSession();
    BOOL started = FALSE;
    CPackwright32App& app() { return *m_app; }
    HWND MainWnd() const;
    // The list view in the main window's pane; null without one.
    CPackwright32View* View() const;
    // The open document; null without one.
    CPackwright32Doc* Doc() const;

private:
    std::unique_ptr<CPackwright32App> m_app;
};

}  // namespace guitest
