// Figures for the main window at the table's full size, under Wine: opening
// an archive of 65,536 entries into the list, rebuilding the list, Select
// all, a sort by each column, and the progress display of a command that
// steps through every row. Prints one line per figure; nothing here passes
// or fails.

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/Packwright32App.h"
#include "core/Packwright32Doc.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/Wnd.h"
#include "res/resource.h"
#include "ui/Packwright32View.h"

namespace {

using Clock = std::chrono::steady_clock;

void Print(const char* what, Clock::time_point start)
{
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("%s: %.1f ms\n", what, ms);
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

}  // namespace

int main()
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

    auto start = Clock::now();
    app.OpenDocumentFile(archive.c_str());
    Pump();
    Print("open 65536 entries into the window", start);
    std::printf("rows: %d\n", int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));

    CDocument* doc = app.GetDocTemplate()->GetDocument();
    for (int i = 0; i < 3; ++i) {
        start = Clock::now();
        doc->UpdateAllViews(nullptr);
        ::UpdateWindow(list);
        Print("rebuild the list of 65536 rows", start);
    }

    start = Clock::now();
    ::SendMessageA(app.m_pMainWnd->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_EDIT_SELECTALLFILES, 0), 0);
    Pump();
    Print("select all 65536 rows", start);

    start = Clock::now();
    int selected = 0;
    if (auto* listView = dynamic_cast<CPackwright32View*>(CWnd::FromHandlePermanent(list)))
        selected = listView->GetSelectedCount();
    Print("count 65536 selected rows", start);
    std::printf("selected: %d\n", selected);

    start = Clock::now();
    app.OnIdle(0);
    Print("refresh the command states with 65536 rows selected", start);

    auto* view = dynamic_cast<CPackwright32View*>(CWnd::FromHandlePermanent(list));
    const char* const columns[] = {"Filename", "Filesize", "Location"};
    for (int column = 0; column < 3; ++column) {
        NMLISTVIEW click{};
        click.iSubItem = column;
        LRESULT result = 0;
        start = Clock::now();
        view->OnColumnClick(&click, &result);
        ::UpdateWindow(list);
        Print((std::string("sort 65536 rows (all selected) by ") + columns[column]).c_str(), start);
    }
    // Every other row selected: the selection has to follow the rows.
    ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < VPP_MAX_FILES; i += 2) {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        ::SendMessageA(list, LVM_SETITEMSTATE, WPARAM(i), reinterpret_cast<LPARAM>(&state));
    }
    ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    {
        NMLISTVIEW click{};
        click.iSubItem = 1;
        LRESULT result = 0;
        start = Clock::now();
        view->OnColumnClick(&click, &result);
        ::UpdateWindow(list);
        Print("sort 65536 rows (every other selected) by Filesize", start);
    }

    start = Clock::now();
    app.ShowProgress("Extracting files...");
    for (int i = 0; i <= VPP_MAX_FILES; ++i)
        app.SetProgress(i == 0 || i == VPP_MAX_FILES ? std::string() : "file.dat", i, VPP_MAX_FILES);
    app.HideProgress();
    Print("progress display of 65536 steps", start);

    start = Clock::now();
    char text[256];
    for (int i = 0; i < VPP_MAX_FILES; ++i) {
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    Print("read the names of 65536 rows", start);

    doc->SetModifiedFlag(FALSE);
    ::DestroyWindow(app.m_pMainWnd->m_hWnd);
    Pump();
    ::DeleteFileA(archive.c_str());
    return 0;
}
