// Runs a command line as the shell runs a verb's command, and answers the
// dialogs that the started process shows, as a user would: tests of the
// Explorer verb use it from the Unix side, where nobody can press a button.
//   verb_run.exe "COMMAND LINE" [ANSWER...]
// Each dialog of that process (found by its process id) is printed as
//   dialog: CAPTION
//   text: TEXT           (for each control with text)
// and answered with the next ANSWER: yes, no, ok or close (the
// error-details dialog's button). A disabled one, which takes no answer
// (the progress window), is printed once as "busy: CAPTION" and its texts. Exits with the process's exit code; 124
// when it has not ended within a minute, 125 when it showed a dialog beyond
// the answers given (the process is then ended).

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    std::set<HWND>* seen;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char cls[32] = {};
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (pid != search->pid || std::strcmp(cls, "#32770") != 0 || !::IsWindowVisible(hWnd) ||
        search->seen->count(hWnd))
        return TRUE;
    search->found = hWnd;
    return FALSE;
}

std::string Text(HWND hWnd)
{
    // WM_GETTEXT, not GetWindowText: an edit control of another process. A
    // busy process answers when it next looks at its queue.
    DWORD_PTR length = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length);
    std::string text(size_t(length) + 1, '\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()), SMTO_NORMAL, 5000, &copied);
    text.resize(std::strlen(text.c_str()));
    std::string lines;
    for (char c : text)
        if (c != '\r') lines += c;
    return lines;
}

BOOL CALLBACK PrintChild(HWND hWnd, LPARAM)
{
    const std::string text = Text(hWnd);
    char cls[32] = {};
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (!text.empty() && lstrcmpiA(cls, "Button") != 0) std::printf("text: %s\n", text.c_str());
    return TRUE;
}

int ButtonOf(const std::string& answer)
{
    if (answer == "yes") return IDYES;
    if (answer == "no") return IDNO;
    if (answer == "ok") return IDOK;
    if (answer == "close") return IDCANCEL;
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: verb_run \"COMMAND LINE\" [yes|no|ok|close...]\n");
        return 2;
    }
    std::string command = argv[1];
    std::vector<std::string> answers(argv + 2, argv + argc);
    for (const std::string& answer : answers) {
        if (!ButtonOf(answer)) {
            std::fprintf(stderr, "verb_run: unknown answer %s\n", answer.c_str());
            return 2;
        }
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "verb_run: cannot start %s (error %lu)\n", command.c_str(), ::GetLastError());
        return 2;
    }
    ::CloseHandle(process.hThread);
    std::set<HWND> seen;
    size_t next = 0;
    int status = 124;
    for (int waited = 0; waited < 60000; waited += 50) {
        if (::WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(process.hProcess, &code);
            status = int(code);
            break;
        }
        Search search{process.dwProcessId, &seen, nullptr};
        ::EnumWindows(FindDialog, LPARAM(&search));
        if (!search.found) continue;
        // Give it time to fill in its texts: a question at once, the progress
        // window (disabled once its texts are in) only as long as it needs,
        // since a short extraction takes it down soon.
        for (int wait = 0; wait < 20 && ::IsWindowEnabled(search.found); ++wait) ::Sleep(10);
        seen.insert(search.found);
        const bool busy = !::IsWindowEnabled(search.found);
        std::printf("%s: %s\n", busy ? "busy" : "dialog", Text(search.found).c_str());
        ::EnumChildWindows(search.found, PrintChild, 0);
        std::fflush(stdout);
        if (busy) continue;
        if (next == answers.size()) {
            std::printf("unanswered\n");
            ::TerminateProcess(process.hProcess, 125);
            status = 125;
            break;
        }
        const int button = ButtonOf(answers[next++]);
        ::PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       LPARAM(::GetDlgItem(search.found, button)));
    }
    if (status == 124) ::TerminateProcess(process.hProcess, 124);
    ::CloseHandle(process.hProcess);
    std::printf("exit: %d\n", status);
    return status;
}
