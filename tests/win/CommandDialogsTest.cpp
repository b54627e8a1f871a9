// The dialogs of the Edit commands, shown by the real program and answered
// through their windows: error details, progress, and the list's sorting.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/Report.h"
#include "framework/base/Path.h"
#include "framework/base/WriterLock.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/FileDialog.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestUtil.h"
#include "tests/win/GuiTestUtil.h"
#include "ui/MainFrame.h"
#include "ui/ListSorter.h"
#include "ui/Packwright32View.h"
#include "ui/ProgressDisplay.h"

using guitest::AppSession;
using guitest::MakeArchive;
using guitest::ModalAnswerer;
using guitest::PumpIdle;
using testutil::TempDir;

namespace {

// A control's text read from another thread: the dialog's own loop answers.
std::string SentText(HWND hWnd)
{
    DWORD_PTR length = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 3000, &length);
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(hWnd, WM_GETTEXT, WPARAM(text.size()), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 3000, &copied);
    text.resize(copied);
    return text;
}

// A key pressed in the dialog: posted to the control with the focus, so it
// takes the dialog loop's way as a typed key does.
void PostKey(HWND hDlg, UINT vk)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(hDlg, nullptr), &info);
    const HWND target = info.hwndFocus ? info.hwndFocus : hDlg;
    ::PostMessageA(target, WM_KEYDOWN, vk, 1);
    ::PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
}

// The progress window of this process, if there is one.
HWND ProgressWindow()
{
    for (HWND hWnd : guitest::FindOwnWindows(guitest::kAppTitle)) {
        char cls[64] = {};
        ::GetClassNameA(hWnd, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0) return hWnd;
    }
    return nullptr;
}

std::string ItemText(HWND hDlg, int id)
{
    char text[512] = {};
    ::GetWindowTextA(::GetDlgItem(hDlg, id), text, sizeof text);
    return text;
}

// Passes every call on to the application's display and notes what the
// progress window showed right after it.
class ProgressRecorder : public CProgressDisplay {
public:
    struct Call {
        std::string what;  // "show", "set" or "hide"
        std::string text;
        int32_t done = 0, total = 0;
        bool windowBefore = false, windowAfter = false, enabled = false;
        std::string action, detail;
        int pos = -1, high = -1;
    };
    explicit ProgressRecorder(CProgressDisplay& real) : m_real(real) {}
    std::vector<Call> calls;

    void ShowProgress(const std::string& action) override
    {
        Call call = Start("show", action);
        m_real.ShowProgress(action);
        Note(call);
    }
    void SetProgress(std::string detail, int32_t nDone, int32_t nTotal) override
    {
        // Steps closer together than the display's redraw interval are
        // passed over; these are far enough apart to be drawn each.
        ::Sleep(110);
        Call call = Start("set", detail);
        call.done = nDone;
        call.total = nTotal;
        m_real.SetProgress(detail, nDone, nTotal);
        Note(call);
    }
    void HideProgress() override
    {
        Call call = Start("hide", "");
        m_real.HideProgress();
        Note(call);
    }

private:
    static Call Start(const char* what, const std::string& text)
    {
        Call call;
        call.what = what;
        call.text = text;
        call.windowBefore = ProgressWindow() != nullptr;
        return call;
    }
    void Note(Call& call)
    {
        const HWND hDlg = ProgressWindow();
        call.windowAfter = hDlg != nullptr;
        if (hDlg) {
            call.enabled = ::IsWindowEnabled(hDlg) != FALSE;
            call.action = ItemText(hDlg, IDC_PROGRESS_ACTION);
            call.detail = ItemText(hDlg, IDC_PROGRESS_DETAIL);
            const HWND bar = ::GetDlgItem(hDlg, IDC_PROGRESS_BAR);
            call.pos = int(::SendMessageA(bar, PBM_GETPOS, 0, 0));
            call.high = int(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
        }
        calls.push_back(call);
    }
    CProgressDisplay& m_real;
};

}  // namespace

TEST(ErrorDetails, ShowsBothTextsExactlyAtOneSizeAndClosesEveryWay)
{
    AppSession session;
    ASSERT_TRUE(session.started);
    const HWND main = session.MainWnd();
    const std::string summary = "At least one file was not extracted. See below for details.";
    const std::string longPath = "C:\\" + std::string(300, 'x') + "\\far away.dat";

    struct Way {
        const char* name;
        std::function<void(HWND)> close;
    };
    const Way ways[] = {
        {"button", [](HWND hDlg) { ::PostMessageA(::GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0); }},
        {"Enter", [](HWND hDlg) { PostKey(hDlg, VK_RETURN); }},
        {"Escape", [](HWND hDlg) { PostKey(hDlg, VK_ESCAPE); }},
        {"close box", [](HWND hDlg) { ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    RECT firstRect{};
    for (size_t w = 0; w < std::size(ways); ++w) {
        SCOPED_TRACE(ways[w].name);
        // One failed file, or 150 of them: the dialog keeps its size.
        std::string details;
        const int files = (w % 2 == 0) ? 1 : 150;
        for (int i = 0; i < files; ++i)
            AppendErrorDetail(details, longPath + std::to_string(i), "The entry is not yet saved in an archive.");

        struct Seen {
            std::string summary, details;
            int lines = 0;
            RECT rect{};
            bool ownerEnabled = true;
            bool readOnly = false;
            bool closed = false;
        } seen;
        std::mutex mutex;
        {
            ModalAnswerer answerer("Error details", IDCANCEL);
            answerer.onFound = [&](HWND hDlg) {
                std::lock_guard<std::mutex> lock(mutex);
                const HWND edit = ::GetDlgItem(hDlg, IDC_ERROR_DETAILS);
                seen.summary = SentText(::GetDlgItem(hDlg, IDC_ERROR_SUMMARY));
                seen.details = SentText(edit);
                DWORD_PTR lines = 0;
                ::SendMessageTimeoutA(edit, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 3000, &lines);
                seen.lines = int(lines);
                seen.readOnly = (::GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) != 0;
                ::GetWindowRect(hDlg, &seen.rect);
                seen.ownerEnabled = ::IsWindowEnabled(main) != FALSE;
                ways[w].close(hDlg);
                for (int i = 0; i < 150 && ::IsWindow(hDlg); ++i) ::Sleep(20);
                seen.closed = !::IsWindow(hDlg);
                // Not closed this way: end it anyway, so the test goes on.
                if (!seen.closed) ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            };
            AfxShowErrorDetails(summary, details);
            EXPECT_EQ(answerer.Count(), 1);
        }
        std::lock_guard<std::mutex> lock(mutex);
        EXPECT_TRUE(seen.closed);
        EXPECT_EQ(seen.summary, summary);
        EXPECT_EQ(seen.details, details);
        // Every "\r\n" starts a line and none more: long paths do not wrap.
        EXPECT_EQ(seen.lines, 3 * files + 1);
        EXPECT_TRUE(seen.readOnly);
        EXPECT_FALSE(seen.ownerEnabled);
        EXPECT_TRUE(::IsWindowEnabled(main));
        EXPECT_GT(seen.rect.bottom - seen.rect.top, 0);
        // Placed over the middle of the main window, not at its corner.
        RECT mainRect{};
        ::GetWindowRect(main, &mainRect);
        EXPECT_NEAR((seen.rect.left + seen.rect.right) / 2, (mainRect.left + mainRect.right) / 2, 1);
        EXPECT_NEAR((seen.rect.top + seen.rect.bottom) / 2, (mainRect.top + mainRect.bottom) / 2, 1);
        if (w == 0) firstRect = seen.rect;
        EXPECT_EQ(seen.rect.right - seen.rect.left, firstRect.right - firstRect.left);
        EXPECT_EQ(seen.rect.bottom - seen.rect.top, firstRect.bottom - firstRect.top);
        EXPECT_TRUE(guitest::FindOwnWindows("Error details").empty());
    }
}

TEST(FileDialog, NamesThatOverflowTheBufferAreRefusedWithAMessageNotCut)
{
    TempDir dir;
    const std::string folder = GetFullPath(dir.Path());
    for (const char* name : {"first_chosen_file.txt", "second_chosen_file.txt"})
        testutil::WriteFileText(dir / name, "x");
    for (const size_t size : {size_t(64), size_t(4096)}) {
        SCOPED_TRACE(size);
        CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT, "All files (*.*)|*.*||");
        dialog.SetFileBufferSize(size);
        dialog.m_ofn.lpstrInitialDir = folder.c_str();
        testutil::MessageRecorder messages;
        ModalAnswerer answerer("Open", IDOK);
        answerer.onFound = [](HWND hDlg) {
            ::SetDlgItemTextA(hDlg, cmb13, "\"first_chosen_file.txt\" \"second_chosen_file.txt\"");
            ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        };
        const INT_PTR result = dialog.DoModal();
        // Wine's dialog cuts the list inside a name and reports success
        // (Windows' fails with FNERR_BUFFERTOOSMALL): refused all the same.
        if (size == 64) {
            EXPECT_EQ(result, IDCANCEL);
            EXPECT_EQ(messages.texts,
                      std::vector<std::string>{"Too many files were chosen at once. Please choose fewer files at a time."});
        } else {
            EXPECT_EQ(result, IDOK);
            EXPECT_EQ(dialog.GetPathNames(), (std::vector<std::string>{folder + "\\first_chosen_file.txt",
                                                                         folder + "\\second_chosen_file.txt"}));
            EXPECT_TRUE(messages.texts.empty());
        }
    }
}

TEST(Progress, ExtractShowsEachStepInOrderAndTakesTheWindowDownBeforeItsReport)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "keys.vpp", {10, 11, 12});
    // The shell's browser selects a preset folder only on drive C: under Wine.
    const std::string folder = "C:\\pw-progress-test";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    SetSetting("LastExtractionFolder", folder);
    auto* frame = dynamic_cast<CMainFrame*>(session.app().m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    ProgressRecorder recorder(session.app());
    frame->SetProgressDisplay(&recorder);
    CPackwright32Doc* doc = session.Doc();

    // First three saved entries; then once more with an added, unsaved file
    // that cannot be extracted: the window is made afresh from its template.
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        if (run == 1) {
            const std::string added = dir / "added.dat";
            testutil::WriteFileText(added, "new");
            ASSERT_EQ(doc->AddFile(added), AddResult::added);
            doc->UpdateAllViews(nullptr);
        }
        const int rows = 3 + run;
        recorder.calls.clear();
        ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_EDIT_SELECTALLFILES, 0), 0);
        PumpIdle();
        std::vector<bool> progressAtReport;
        {
            ModalAnswerer browse("Browse for Folder", IDOK);
            ModalAnswerer report("Error details", IDCANCEL);
            report.onFound = [&](HWND hDlg) {
                progressAtReport.push_back(ProgressWindow() != nullptr);
                ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            };
            ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_EDIT_EXTRACTFILES, 0), 0);
            EXPECT_EQ(browse.Count(), 1);
            EXPECT_EQ(report.Count(), run);
            if (run == 1) {
                EXPECT_NE(report.Texts()[0].find("At least one file was not extracted."), std::string::npos);
            }
        }
        EXPECT_EQ(progressAtReport, std::vector<bool>(size_t(run), false));

        const auto& calls = recorder.calls;
        ASSERT_EQ(calls.size(), size_t(rows + 3));
        EXPECT_EQ(calls[0].what, "show");
        EXPECT_EQ(calls[0].text, "Extracting files...");
        EXPECT_FALSE(calls[0].windowBefore);
        EXPECT_TRUE(calls[0].windowAfter);
        EXPECT_FALSE(calls[0].enabled);
        EXPECT_EQ(calls[0].action, "Extracting files...");
        EXPECT_EQ(calls[0].detail, "Frame # of #");
        // (previous name, done, total) for each row, then ("", total, total).
        for (int i = 0; i <= rows; ++i) {
            SCOPED_TRACE(i);
            const auto& call = calls[size_t(i) + 1];
            const std::string expected = (i == 0 || i == rows) ? "" : doc->m_Entries[i - 1].m_strName;
            EXPECT_EQ(call.what, "set");
            EXPECT_EQ(call.text, expected);
            EXPECT_EQ(call.done, i);
            EXPECT_EQ(call.total, rows);
            EXPECT_TRUE(call.windowBefore && call.windowAfter);
            EXPECT_EQ(call.detail, expected);
            EXPECT_EQ(call.pos, i);
            EXPECT_EQ(call.high, rows);
        }
        EXPECT_EQ(calls.back().what, "hide");
        EXPECT_TRUE(calls.back().windowBefore);
        EXPECT_FALSE(calls.back().windowAfter);
    }
    frame->SetProgressDisplay(nullptr);
    for (int i = 0; i < 3; ++i) ::DeleteFileA((folder + "\\keys" + std::to_string(i) + ".dat").c_str());
    EXPECT_FALSE(testutil::PathExists(folder + "\\added.dat"));
    ::RemoveDirectoryA(folder.c_str());
}

TEST(Progress, SaveShowsTheWindowOnlyPastHalfASecondAndTakesItDownBeforeItsReport)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "keys.vpp", {10, 11, 12});
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    auto* frame = dynamic_cast<CMainFrame*>(session.app().m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    ProgressRecorder recorder(session.app());
    frame->SetProgressDisplay(&recorder);
    CPackwright32Doc* doc = session.Doc();

    // A quick save shows nothing. Then another writer holds the archive for
    // 0.7 s, so that the save runs past half a second: the window comes up
    // at the first entry written and is gone when the save is over; the
    // second time an added file is gone, and the list of failed entries
    // comes only after the window is down.
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        const std::string added = dir / "added.dat";
        if (run == 2) {
            testutil::WriteFileText(added, "new");
            ASSERT_EQ(doc->AddFile(added), AddResult::added);
            ::DeleteFileA(added.c_str());
        }
        recorder.calls.clear();
        CWriterLock other;
        std::thread release;
        if (run > 0) {
            ASSERT_EQ(other.Acquire(archive, 0), CWriterLock::locked);
            release = std::thread([&other] {
                ::Sleep(700);
                other.Release();
            });
        }
        std::vector<bool> progressAtReport;
        {
            ModalAnswerer report("Error details", IDCANCEL);
            report.onFound = [&](HWND hDlg) {
                progressAtReport.push_back(ProgressWindow() != nullptr);
                ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            };
            ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_FILE_SAVE, 0), 0);
            EXPECT_EQ(report.Count(), run == 2 ? 1 : 0);
        }
        if (release.joinable()) release.join();
        EXPECT_EQ(progressAtReport, std::vector<bool>(run == 2 ? 1 : 0, false));
        EXPECT_EQ(ProgressWindow(), nullptr);
        EXPECT_EQ(doc->IsModified() != FALSE, run == 2);

        const auto& calls = recorder.calls;
        if (run == 0) {
            EXPECT_TRUE(calls.empty());
            continue;
        }
        // show, the steps from the first entry on, hide.
        ASSERT_GE(calls.size(), 3u);
        EXPECT_EQ(calls.front().what, "show");
        EXPECT_EQ(calls.front().text, "Saving archive...");
        EXPECT_TRUE(calls.front().windowAfter);
        EXPECT_EQ(calls.front().action, "Saving archive...");
        const auto& first = calls[1];
        EXPECT_EQ(first.what, "set");
        EXPECT_EQ(first.done, 0);
        EXPECT_EQ(first.total, 3 + run / 2);
        // Drawn at once, although the window came up this late.
        EXPECT_EQ(first.detail, "keys0.dat (1 of " + std::to_string(3 + run / 2) + ")");
        EXPECT_EQ(first.pos, 0);
        EXPECT_EQ(calls.back().what, "hide");
        EXPECT_TRUE(calls.back().windowBefore);
        EXPECT_FALSE(calls.back().windowAfter);
        for (size_t i = 1; i + 1 < calls.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(calls[i].what, "set");
            EXPECT_TRUE(calls[i].windowAfter);
            EXPECT_EQ(calls[i].action, "Saving archive...");
        }
    }
    frame->SetProgressDisplay(nullptr);
}

namespace {
std::vector<std::string> Column(HWND list, int column)
{
    std::vector<std::string> texts;
    const int count = int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

std::vector<std::string> SelectedNames(HWND list)
{
    const std::vector<std::string> names = Column(list, 0);
    std::vector<std::string> selected;
    for (int i = -1; (i = int(::SendMessageA(list, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED))) != -1;)
        selected.push_back(names[size_t(i)]);
    return selected;
}

// A click on a column's header, as the mouse gives it.
void ClickHeader(HWND list, int column)
{
    const HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT rect{};
    ::SendMessageA(header, HDM_GETITEMRECT, WPARAM(column), reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageA(header, WM_LBUTTONUP, 0, point);
    PumpIdle();
}
}  // namespace

TEST(ListSort, ColumnClicksSortAscendingWithoutCaseKeepTheSelectionAndARebuildRestoresTableOrder)
{
    TempDir dir;
    const std::string archive = dir / "sort.vpp";
    {
        // Table order, sizes of different lengths; "Zeta" sorts after "beta"
        // only without regard to case, "_" before letters only after folding.
        const std::pair<const char*, size_t> files[] = {
            {"beta.txt", 20}, {"Zeta.txt", 5}, {"_under.txt", 300}, {"alpha.txt", 1000000}};
        CPackwright32Doc doc;
        doc.OnNewDocument();
        for (const auto& [name, size] : files) {
            testutil::WriteFileText(dir / name, std::string(size, 's'));
            ASSERT_TRUE(Succeeded(doc.AddFile(dir / name)));
        }
        ASSERT_TRUE(doc.OnSaveDocument(archive));
    }
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    const HWND list = ::GetDlgItem(session.MainWnd(), AFX_IDW_PANE_FIRST);
    const std::vector<std::string> tableOrder{"beta.txt", "Zeta.txt", "_under.txt", "alpha.txt"};
    const std::vector<std::string> byName{"_under.txt", "alpha.txt", "beta.txt", "Zeta.txt"};
    ASSERT_EQ(Column(list, 0), tableOrder);

    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED;
    ::SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));  // beta.txt
    ::SendMessageA(list, LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&state));  // alpha.txt

    ClickHeader(list, 0);
    EXPECT_EQ(Column(list, 0), byName);
    EXPECT_EQ(SelectedNames(list), (std::vector<std::string>{"alpha.txt", "beta.txt"}));
    // Each row's other columns moved with its name.
    EXPECT_EQ(Column(list, 1)[3], CPackwright32View::FormatGroupedNumber(5));

    ClickHeader(list, 1);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"Zeta.txt", "beta.txt", "_under.txt", "alpha.txt"}));
    ClickHeader(list, 0);
    EXPECT_EQ(Column(list, 0), byName);  // every click sorts the same way
    ClickHeader(list, 0);
    EXPECT_EQ(Column(list, 0), byName);
    EXPECT_EQ(SelectedNames(list), (std::vector<std::string>{"alpha.txt", "beta.txt"}));

    // Remove acts on the selected rows of the sorted list; the rebuild shows
    // the table's order again.
    {
        ModalAnswerer yes("Confirmation", IDYES);
        ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_EDIT_REMOVEFILES, 0), 0);
        EXPECT_EQ(yes.Count(), 1);
    }
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"Zeta.txt", "_under.txt"}));
}

TEST(ListSort, TheSorterOrdersAnyBytesAsTheRuntimeComparisonDoes)
{
    // Names of every byte but 0, in mixed case and of mixed lengths, many
    // sharing prefixes: the sorter's own keys must give the runtime's order.
    std::mt19937 random(7);
    std::vector<std::string> names(3000);
    for (std::string& name : names) {
        const size_t length = random() % 6;
        for (size_t i = 0; i < length; ++i) name += char(random() % 4 == 0 ? 1 + random() % 255 : "aAbB_z"[random() % 6]);
    }
    // Once as they are, once sharing a first part that decides nothing.
    for (const std::string shared : {"", "In VPP "}) {
        for (std::string& name : names) name.insert(0, shared);
        CListSorter sorter(int(names.size()), [&](int i) { return names[size_t(i)]; });
        sorter.Sort();
        std::vector<int> expected(names.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            return CListSorter::CompareKeys(names[size_t(a)], names[size_t(b)]) < 0;
        });
        EXPECT_EQ(sorter.GetOrder(), expected) << "shared first part: \"" << shared << "\"";
    }
}
