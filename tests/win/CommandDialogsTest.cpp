// The dialogs of the Edit commands, shown by the real program and answered
// through their windows: error details, progress, and the list's sorting.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/Report.h"
#include "framework/win32/AfxRes.h"
#include "res/resource.h"
#include "tests/support/TestUtil.h"
#include "tests/win/GuiTestUtil.h"

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
        if (w == 0) firstRect = seen.rect;
        EXPECT_EQ(seen.rect.right - seen.rect.left, firstRect.right - firstRect.left);
        EXPECT_EQ(seen.rect.bottom - seen.rect.top, firstRect.bottom - firstRect.top);
        EXPECT_TRUE(guitest::FindOwnWindows("Error details").empty());
    }
}
