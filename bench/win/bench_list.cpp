// Figures for the main window at the table's full size, under Wine: opening
// an archive of 65,536 entries into the list, rebuilding the list, Select
// all, a sort by each column, the progress display of a command that steps
// through every row and Remove of every row; then the window's Extract of a
// smaller archive beside packwright.exe extracting the same entries (creating
// files under Wine slows down as a folder fills). Prints one line per figure;
// nothing here passes or fails.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
#include <string>
#include <vector>

#include "app/Packwright32App.h"
#include "core/Packwright32Doc.h"
#include "framework/base/Report.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/Wnd.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "ui/Packwright32View.h"

namespace {

using Clock = std::chrono::steady_clock;

// Wall time and this thread's CPU time: the CPU figure holds when other
// work shares the machine.
struct Stamp {
    Clock::time_point wall;
    double cpuMs;
};

Stamp Now()
{
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& t) { return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4; };
    return {Clock::now(), ms(kernel) + ms(user)};
}

// One row: the case, its wall and CPU time, and the goal where there is one.
void Print(const char* what, const Stamp& start, const char* goal = "")
{
    const Stamp end = Now();
    std::printf("%-56s %8.1f ms   CPU %5.0f ms   %s\n", what,
                std::chrono::duration<double, std::milli>(end.wall - start.wall).count(), end.cpuMs - start.cpuMs, goal);
    std::fflush(stdout);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Header and directory of count small entries; opening never reads the data.
void WriteArchive(const std::string& path, int count)
{
    std::vector<uint8_t> bytes(2048, 0);
    const uint32_t header[4] = {VPP_SIGNATURE, VPP_VERSION, uint32_t(count), 0};
    std::memcpy(bytes.data(), header, sizeof header);
    for (int i = 0; i < count; ++i) {
        uint8_t record[64] = {};
        std::snprintf(reinterpret_cast<char*>(record), 60, "file%05d.dat", i);
        const uint32_t size = uint32_t(100 + i % 5000);
        std::memcpy(record + 60, &size, 4);
        bytes.insert(bytes.end(), record, record + 64);
    }
    bytes.resize((bytes.size() + 2047) / 2048 * 2048, 0);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// count entries of 1 to 4,096 bytes with their data, for extraction.
void WriteFullArchive(const std::string& path, int count)
{
    std::vector<uint8_t> header(VppDataStart(uint32_t(count)), 0);
    const uint32_t fields[4] = {VPP_SIGNATURE, VPP_VERSION, uint32_t(count), 0};
    std::memcpy(header.data(), fields, sizeof fields);
    std::vector<uint8_t> data;
    for (int i = 0; i < count; ++i) {
        uint8_t* record = header.data() + VPP_BLOCK_SIZE + size_t(i) * VPP_RECORD_SIZE;
        std::snprintf(reinterpret_cast<char*>(record), 60, "entry%05d.bin", i);
        const uint32_t size = uint32_t(1 + (i * 7919) % 4096);
        std::memcpy(record + 60, &size, 4);
        data.resize(data.size() + VppAlign(size), uint8_t(i));
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

// Presses a button on the folder browser once it is up, from a second thread.
std::thread AnswerFolderBrowser(int button)
{
    return std::thread([button] {
        const DWORD pid = ::GetCurrentProcessId();
        for (int tries = 0; tries < 1000; ++tries) {
            HWND found = nullptr;
            for (HWND w = ::GetTopWindow(nullptr); w && !found; w = ::GetWindow(w, GW_HWNDNEXT)) {
                DWORD owner = 0;
                char caption[64] = {};
                ::GetWindowThreadProcessId(w, &owner);
                ::GetWindowTextA(w, caption, sizeof caption);
                if (owner == pid && std::strcmp(caption, "Browse for Folder") == 0 && ::IsWindowVisible(w)) found = w;
            }
            if (found) {
                ::Sleep(200);  // let the browser select the preset folder
                ::PostMessageA(found, WM_COMMAND, WPARAM(button), 0);
                return;
            }
            ::Sleep(10);
        }
    });
}

// Deletes the files in folder; returns how many there were.
int EmptyFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    const HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int files = 0;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files += ::DeleteFileA((folder + "\\" + found.cFileName).c_str()) ? 1 : 0;
    while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return files;
}

// Runs a command line to its end; returns its exit code.
DWORD RunAndWait(std::string commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return DWORD(-1);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

}  // namespace

int main(int argc, char** argv)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string archive = std::string(temp) + "bench_list.vpp";
    WriteArchive(archive, VPP_MAX_FILES);

    CPackwright32App app;
    app.m_args = std::vector<std::string>{};
    app.m_nCmdShow = SW_SHOW;
    if (!app.InitInstance()) return 1;
    Pump();
    const HWND list = ::GetDlgItem(app.m_pMainWnd->m_hWnd, AFX_IDW_PANE_FIRST);

    Stamp start = Now();
    {
        CPackwright32Doc alone;
        alone.OnOpenDocument(archive);
        Print("load 65536 entries into a document", start);
    }
    start = Now();
    app.OpenDocumentFile(archive.c_str());
    Pump();
    Print("open 65536 entries into the window", start, "(goal 100 ms)");
    std::printf("rows: %d\n", int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));

    CDocument* doc = app.GetDocTemplate()->GetDocument();
    for (int i = 0; i < 3; ++i) {
        start = Now();
        doc->UpdateAllViews(nullptr);
        ::UpdateWindow(list);
        Print("rebuild the list of 65536 rows", start, "(goal 100 ms)");
    }

    start = Now();
    ::SendMessageA(app.m_pMainWnd->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_EDIT_SELECTALLFILES, 0), 0);
    Pump();
    Print("select all 65536 rows", start, "(goal 100 ms)");

    start = Now();
    int selected = 0;
    if (auto* listView = dynamic_cast<CPackwright32View*>(CWnd::FromHandlePermanent(list)))
        selected = listView->GetSelectedCount();
    Print("count 65536 selected rows", start);
    std::printf("selected: %d\n", selected);

    start = Now();
    app.OnIdle(0);
    Print("refresh the command states with 65536 rows selected", start);

    auto* view = dynamic_cast<CPackwright32View*>(CWnd::FromHandlePermanent(list));
    const char* const columns[] = {"Filename", "Filesize", "Location"};
    for (int column = 0; column < 3; ++column) {
        NMLISTVIEW click{};
        click.iSubItem = column;
        LRESULT result = 0;
        start = Now();
        view->OnColumnClick(&click, &result);
        ::UpdateWindow(list);
        Print((std::string("sort 65536 rows (all selected) by ") + columns[column]).c_str(), start, "(goal 100 ms)");
    }
    // Every other row selected: the selection has to follow the rows.
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < VPP_MAX_FILES; i += 2) {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        ::SendMessageA(list, LVM_SETITEMSTATE, WPARAM(i), reinterpret_cast<LPARAM>(&state));
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    for (const char* what : {"sort 65536 rows (every other selected) by Filesize", "the same sort again"}) {
        NMLISTVIEW click{};
        click.iSubItem = 1;
        LRESULT result = 0;
        start = Now();
        view->OnColumnClick(&click, &result);
        ::UpdateWindow(list);
        Print(what, start, "(goal 100 ms)");
    }

    start = Now();
    app.ShowProgress("Extracting files...");
    for (int i = 0; i <= VPP_MAX_FILES; ++i)
        app.SetProgress(i == 0 || i == VPP_MAX_FILES ? std::string() : "file.dat", i, VPP_MAX_FILES);
    app.HideProgress();
    Print("progress display of 65536 steps", start);

    start = Now();
    char text[256];
    for (int i = 0; i < VPP_MAX_FILES; ++i) {
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    Print("read the names of 65536 rows", start);

    // Remove of every row, the confirmation answered Yes.
    ::SendMessageA(app.m_pMainWnd->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_EDIT_SELECTALLFILES, 0), 0);
    const MessageBoxHandler previous =
        AfxSetMessageBoxHandler([](const std::string&, UINT, const std::string&) { return int(afx::idYes); });
    start = Now();
    ::SendMessageA(app.m_pMainWnd->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_EDIT_REMOVEFILES, 0), 0);
    Pump();
    Print("remove all 65536 rows", start, "(goal 100 ms)");
    AfxSetMessageBoxHandler(previous);
    std::printf("rows: %d\n", int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));

    // The window's Extract against packwright.exe, each into an empty folder
    // on drive C: (where the shell's browser selects a preset folder).
    const int extractCount = argc > 1 ? std::atoi(argv[1]) : 4096;
    const std::string full = std::string(temp) + "bench_extract.vpp";
    WriteFullArchive(full, extractCount);
    const std::string byTool = "C:\\pw-bench-tool", byWindow = "C:\\pw-bench-window";
    for (const std::string& folder : {byTool, byWindow}) {
        ::CreateDirectoryA(folder.c_str(), nullptr);
        EmptyFolder(folder);
    }
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string tool = self;
    tool = tool.substr(0, tool.find_last_of('\\') + 1) + "packwright.exe";
    doc->SetModifiedFlag(FALSE);
    app.OpenDocumentFile(full.c_str());
    Pump();
    ::SendMessageA(app.m_pMainWnd->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_EDIT_SELECTALLFILES, 0), 0);
    SetSetting("LastExtractionFolder", byWindow);
    // Two rounds, taking turns, each into emptied folders; the faster of
    // each counts (file creation under Wine varies a lot from run to run).
    // The window's command is also cancelled in the browser, to take out
    // what the browser costs.
    const auto since = [](Clock::time_point t) {
        return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
    };
    double toolMs = 1e12, browserMs = 1e12, windowMs = 1e12;
    DWORD code = 0;
    int toolFiles = 0, windowFiles = 0;
    for (int round = 0; round < 2; ++round) {
        auto begin = Clock::now();
        code |= RunAndWait("\"" + tool + "\" extract \"" + full + "\" \"" + byTool + "\"");
        toolMs = std::min(toolMs, since(begin));
        for (const int button : {IDCANCEL, IDOK}) {
            std::thread answer = AnswerFolderBrowser(button);
            begin = Clock::now();
            ::SendMessageA(app.m_pMainWnd->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_EDIT_EXTRACTFILES, 0), 0);
            double& figure = button == IDOK ? windowMs : browserMs;
            figure = std::min(figure, since(begin));
            answer.join();
        }
        toolFiles = EmptyFolder(byTool);
        windowFiles = EmptyFolder(byWindow);
    }
    std::printf("packwright.exe extract of %d entries: %.1f ms (exit %lu)\n", extractCount, toolMs,
                static_cast<unsigned long>(code));
    std::printf("the folder browser, opened and cancelled: %.1f ms\n", browserMs);
    std::printf("the window's Extract of %d entries: %.1f ms with the browser; without it %.2fx packwright.exe (goal 1.2x)\n",
                extractCount, windowMs, (windowMs - browserMs) / toolMs);
    std::printf("files written each round: %d by packwright.exe, %d by the window\n", toolFiles, windowFiles);
    ::RemoveDirectoryA(byTool.c_str());
    ::RemoveDirectoryA(byWindow.c_str());
    ::DeleteFileA(full.c_str());

    doc->SetModifiedFlag(FALSE);
    ::DestroyWindow(app.m_pMainWnd->m_hWnd);
    Pump();
    ::DeleteFileA(archive.c_str());
    return 0;
}
