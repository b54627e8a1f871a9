// The quick view beside the main window: what it shows of each kind of
// entry, following the list's focus, and what it shows when the entry or
// the archive changes under it.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/File.h"
#include "framework/win32/AfxRes.h"
#include "res/resource.h"
#include "tests/support/TestUtil.h"
#include "tests/support/VppBytes.h"
#include "tests/win/GuiTestUtil.h"
#include "ui/Packwright32View.h"

using guitest::AppSession;
using guitest::PumpIdle;
using testutil::TempDir;

namespace {

void FocusRow(HWND list, int row)
{
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
    PumpIdle();
}

// A key as the message loop hands it over: the windows' own translation first.
void TypeKey(AppSession& session, HWND target, UINT vk)
{
    MSG msg{target, WM_KEYDOWN, vk, 1, DWORD(::GetMessageTime()), {0, 0}};
    if (!session.app().PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    PumpIdle();
}

std::string Text(HWND hWnd)
{
    char text[4096] = {};
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

struct Shown {
    std::string title, info, body;
    bool bodyVisible, playVisible;
};
Shown ShownBy(HWND quick)
{
    const HWND body = ::GetDlgItem(quick, IDC_QUICKVIEW_TEXT);
    return {Text(quick), Text(::GetDlgItem(quick, IDC_QUICKVIEW_INFO)), Text(body), ::IsWindowVisible(body) != FALSE,
            ::IsWindowVisible(::GetDlgItem(quick, IDC_QUICKVIEW_PLAY)) != FALSE};
}

// A 3x2 true-colour TGA, top row first.
std::vector<uint8_t> Tga3x2()
{
    std::vector<uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 24, 0x20};
    for (int i = 0; i < 6; ++i) tga.insert(tga.end(), {uint8_t(40 * i), 0, 255});
    return tga;
}

std::vector<uint8_t> Wav()
{
    std::vector<uint8_t> wav = {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                                1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0,
                                'd', 'a', 't', 'a', 4, 0, 0, 0, 0x80, 0xFF, 0x80, 0};
    return wav;
}

}  // namespace

TEST(QuickView, F3ShowsEachKindOfEntryFollowsTheFocusAndKeepsItsPlace)
{
    TempDir dir;
    const std::string archive = dir / "look.vpp";
    const std::string table = "#Weapons\r\nsword = 4\r\naxe = 6";
    const std::vector<uint8_t> binary = {0x00, 0x01, 'A', 'B', 0xFF};
    testutil::WriteFileBytes(archive, vppbytes::Archive({{"weapons.tbl", {table.begin(), table.end()}},
                                                         {"wall.tga", Tga3x2()},
                                                         {"blob.bin", binary},
                                                         {"broken.tga", {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40}},
                                                         {"hit.wav", Wav()}}));
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    CPackwright32View* view = session.View();
    ASSERT_NE(view, nullptr);
    const HWND list = view->m_hWnd;

    FocusRow(list, 0);
    ::SendMessageA(list, WM_KEYDOWN, VK_F3, 0);  // the list's own key
    PumpIdle();
    const HWND quick = view->GetQuickView().m_hWnd;
    ASSERT_TRUE(quick && ::IsWindowVisible(quick));
    EXPECT_EQ(::GetWindow(quick, GW_OWNER), session.MainWnd());
    EXPECT_EQ(::GetFocus(), list);  // the list keeps the keys for moving on
    Shown shown = ShownBy(quick);
    EXPECT_EQ(shown.title, "weapons.tbl, 28 bytes - Quick view");
    EXPECT_EQ(shown.info, "Text, 3 lines");
    EXPECT_EQ(shown.body, table);
    EXPECT_TRUE(shown.bodyVisible);
    EXPECT_EQ(::GetWindowLongA(::GetDlgItem(quick, IDC_QUICKVIEW_TEXT), GWL_STYLE) & ES_READONLY, ES_READONLY);

    // The focus moves: the view follows.
    FocusRow(list, 1);
    shown = ShownBy(quick);
    EXPECT_EQ(shown.title, "wall.tga, 36 bytes - Quick view");
    EXPECT_EQ(shown.info, "Image, 3 x 2 pixels");
    EXPECT_FALSE(shown.bodyVisible);
    // Drawn scaled to fit: the picture's red fills the middle of the window.
    RECT client{};
    ::GetClientRect(quick, &client);
    ::RedrawWindow(quick, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    {
        const HDC dc = ::GetDC(quick);
        const COLORREF middle = ::GetPixel(dc, client.right / 2, (client.bottom + 30) / 2);
        ::ReleaseDC(quick, dc);
        EXPECT_EQ(GetRValue(middle), 255) << std::hex << middle;
        EXPECT_EQ(GetGValue(middle), 0) << std::hex << middle;
    }

    FocusRow(list, 2);
    shown = ShownBy(quick);
    EXPECT_EQ(shown.info, "Hex dump of the first 5 bytes");
    EXPECT_EQ(shown.body, "00000000  00 01 41 42 FF" + std::string(36, ' ') + "..AB\xFF");

    FocusRow(list, 3);
    EXPECT_EQ(ShownBy(quick).info, "This image cannot be shown.");

    FocusRow(list, 4);
    shown = ShownBy(quick);
    EXPECT_EQ(shown.info, "Sound, 1 channel(s), 8000 Hz, 8 bits");
    EXPECT_TRUE(shown.playVisible);

    // Escape in the view closes it; F3 in the list opens it where it was.
    RECT moved{50, 60, 450, 400};
    ::MoveWindow(quick, moved.left, moved.top, moved.right - moved.left, moved.bottom - moved.top, TRUE);
    TypeKey(session, ::GetDlgItem(quick, IDC_QUICKVIEW_PLAY), VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(quick));
    EXPECT_FALSE(view->GetQuickView().IsOpen());
    FocusRow(list, 0);
    ::SendMessageA(list, WM_KEYDOWN, VK_F3, 0);
    PumpIdle();
    ASSERT_TRUE(view->GetQuickView().IsOpen());
    RECT place{};
    ::GetWindowRect(view->GetQuickView().m_hWnd, &place);
    EXPECT_TRUE(::EqualRect(&place, &moved));
    EXPECT_EQ(ShownBy(view->GetQuickView().m_hWnd).info, "Text, 3 lines");
    // F3 in it closes it too.
    TypeKey(session, view->GetQuickView().m_hWnd, VK_F3);
    EXPECT_FALSE(view->GetQuickView().IsOpen());
}

TEST(QuickView, FollowsReplacedAndRemovedEntriesAChangedArchiveAndClosing)
{
    TempDir dir;
    const std::string archive = dir / "game.vpp";
    testutil::WriteFileBytes(archive, vppbytes::Archive({{"a.txt", {'o', 'l', 'd'}}, {"b.txt", {'b'}}}));
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    CPackwright32View* view = session.View();
    ASSERT_NE(view, nullptr);
    CPackwright32Doc* doc = view->GetDocument();
    FocusRow(view->m_hWnd, 0);
    ::SendMessageA(session.MainWnd(), WM_COMMAND, ID_EDIT_QUICKVIEW, 0);  // as the context menu sends it
    PumpIdle();
    const HWND quick = view->GetQuickView().m_hWnd;
    ASSERT_NE(quick, nullptr);
    EXPECT_EQ(ShownBy(quick).body, "old");

    // Replaced by an outside file: shown from that file.
    TempDir outside;
    testutil::WriteFileText(outside / "a.txt", "new\nlines\n");
    ASSERT_EQ(doc->AddFile(outside / "a.txt"), AddResult::replaced);
    doc->UpdateAllViews(nullptr);
    PumpIdle();
    EXPECT_EQ(ShownBy(quick).body, "new\r\nlines\r\n");
    EXPECT_EQ(ShownBy(quick).info, "Text, 2 lines");
    // Removed: nothing shown.
    ASSERT_TRUE(doc->RemoveFile("a.txt"));
    doc->UpdateAllViews(nullptr);
    PumpIdle();
    EXPECT_EQ(ShownBy(quick).title, "Quick view");
    EXPECT_EQ(ShownBy(quick).info, "No file is focused in the list.");

    // Another program puts a different archive in place: its bytes are not shown.
    testutil::WriteFileBytes(dir / "theirs.tmp", vppbytes::Archive({{"b.txt", {'X'}}, {"c", {'c'}}}));
    CFile::RenameOver(dir / "theirs.tmp", archive);
    FocusRow(view->m_hWnd, 0);
    EXPECT_EQ(ShownBy(quick).info, CPackwright32Doc::GetExtractResultText(ExtractResult::archiveChanged));
    EXPECT_FALSE(ShownBy(quick).bodyVisible);

    // Closing the archive (File New) empties it.
    testutil::MessageRecorder dontSave(afx::idNo);
    ::SendMessageA(session.MainWnd(), WM_COMMAND, ID_FILE_NEW, 0);
    PumpIdle();
    EXPECT_EQ(ShownBy(quick).info, "No file is focused in the list.");
    EXPECT_EQ(ShownBy(quick).title, "Quick view");
}
