// Keyboard shortcuts and the Edit commands, through the real message path:
// keys go through the application's message translation like typed keys.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/win32/AfxRes.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestUtil.h"
#include "tests/win/GuiTestUtil.h"
#include "ui/FolderBrowser.h"

using guitest::AppSession;
using guitest::MakeArchive;
using guitest::ModalAnswerer;
using guitest::PumpIdle;
using testutil::TempDir;

namespace {

// A key as typed into the list, with Ctrl held or not.
void TypeKey(AppSession& session, HWND target, UINT vk, bool ctrl)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(keys);
    MSG msg{target, WM_KEYDOWN, vk, 1, DWORD(::GetMessageTime()), {0, 0}};
    if (!session.app().PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    PumpIdle();
}

int Rows(HWND list) { return int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
int Selected(HWND list) { return int(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

}  // namespace

TEST(Commands, AcceleratorTableHasEveryShortcut)
{
    const HACCEL table = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL entries[16];
    const int count = ::CopyAcceleratorTableA(table, entries, 16);
    struct Expected {
        WORD key;
        BYTE flags;
        WORD cmd;
    };
    const Expected expected[] = {
        {'N', FVIRTKEY | FCONTROL, ID_FILE_NEW},         {'O', FVIRTKEY | FCONTROL, ID_FILE_OPEN},
        {'S', FVIRTKEY | FCONTROL, ID_FILE_SAVE},        {VK_INSERT, FVIRTKEY, ID_EDIT_ADDFILES},
        {VK_DELETE, FVIRTKEY, ID_EDIT_REMOVEFILES},      {VK_F4, FVIRTKEY, ID_EDIT_EXTRACTFILES},
        {'A', FVIRTKEY | FCONTROL, ID_EDIT_SELECTALLFILES},
    };
    ASSERT_EQ(count, 7);
    for (const Expected& e : expected) {
        bool found = false;
        for (int i = 0; i < count; ++i)
            found = found || (entries[i].key == e.key && (entries[i].fVirt & ~FNOINVERT) == e.flags && entries[i].cmd == e.cmd);
        EXPECT_TRUE(found) << "command " << e.cmd;
    }
    ::DestroyAcceleratorTable(table);
}

TEST(Commands, CtrlASelectsAllAndDeleteRemovesAfterConfirmation)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "keys.vpp", {10, 11, 12, 13});
    AppSession session({archive});
    const HWND list = ::GetDlgItem(session.MainWnd(), AFX_IDW_PANE_FIRST);
    ASSERT_EQ(Rows(list), 4);

    // Delete with nothing selected: the command is unavailable, nothing asks.
    {
        ModalAnswerer confirm("Confirmation", IDYES);
        TypeKey(session, list, VK_DELETE, false);
        EXPECT_EQ(confirm.Count(), 0);
    }
    TypeKey(session, list, 'A', true);
    EXPECT_EQ(Selected(list), 4);

    {
        // No: nothing changes, the selection stays.
        ModalAnswerer no("Confirmation", IDNO);
        TypeKey(session, list, VK_DELETE, false);
        ASSERT_EQ(no.Count(), 1);
        EXPECT_NE(no.Texts()[0].find("Are you sure you want to delete these files?"), std::string::npos);
    }
    EXPECT_EQ(Rows(list), 4);
    EXPECT_EQ(Selected(list), 4);
    EXPECT_FALSE(session.Doc()->IsModified());

    {
        ModalAnswerer yes("Confirmation", IDYES);
        TypeKey(session, list, VK_DELETE, false);
        EXPECT_EQ(yes.Count(), 1);
    }
    EXPECT_EQ(Rows(list), 0);
    EXPECT_EQ(session.Doc()->m_nFileCount, 0);
    EXPECT_TRUE(session.Doc()->IsModified());
    // The files on disk stay where they are.
    EXPECT_TRUE(testutil::PathExists(dir / "keys0.dat"));
    EXPECT_EQ(testutil::ReadFileBytes(archive).size(), 4u * 2048u + 2048u + 2048u);
}

TEST(Commands, RemoveTakesBothEntriesOfADuplicatedName)
{
    // Two records of one name: both rows selected, both entries go.
    TempDir dir;
    std::vector<uint8_t> bytes(2048, 0);
    const uint32_t header[4] = {0x51890ACE, 1, 3, 0};
    std::memcpy(bytes.data(), header, sizeof header);
    const char* names[] = {"same.txt", "other.txt", "same.txt"};
    for (const char* name : names) {
        uint8_t record[64] = {};
        std::memcpy(record, name, std::strlen(name));
        bytes.insert(bytes.end(), record, record + 64);
    }
    bytes.resize(4096, 0);
    const std::string archive = dir / "dups.vpp";
    testutil::WriteFileBytes(archive, bytes);

    AppSession session({archive});
    const HWND list = ::GetDlgItem(session.MainWnd(), AFX_IDW_PANE_FIRST);
    ASSERT_EQ(Rows(list), 3);
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED;
    ::SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    ::SendMessageA(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
    PumpIdle();
    {
        ModalAnswerer yes("Confirmation", IDYES);
        ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_EDIT_REMOVEFILES, 0), 0);
    }
    ASSERT_EQ(session.Doc()->m_nFileCount, 1);
    EXPECT_EQ(session.Doc()->m_Entries[0].m_strName, "other.txt");
    EXPECT_EQ(Rows(list), 1);
}

TEST(Commands, ExtractWritesTheSelectedEntriesIntoTheChosenFolderAndRemembersIt)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "keys.vpp", {10, 11, 12});
    // The shell's browser selects a preset folder only on drive C: under Wine.
    const std::string folder = "C:\\pw-extract-test";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    AppSession session({archive});
    ASSERT_TRUE(SetSetting("LastExtractionFolder", folder));
    const HWND list = ::GetDlgItem(session.MainWnd(), AFX_IDW_PANE_FIRST);
    TypeKey(session, list, 'A', true);
    {
        ModalAnswerer ok("Browse for Folder", IDOK);
        TypeKey(session, list, VK_F4, false);
        EXPECT_EQ(ok.Count(), 1);
    }
    for (int i = 0; i < 3; ++i) {
        const std::string path = folder + "\\keys" + std::to_string(i) + ".dat";
        EXPECT_EQ(testutil::ReadFileBytes(path).size(), size_t(10 + i)) << path;
        ::DeleteFileA(path.c_str());
    }
    EXPECT_EQ(GetSetting("LastExtractionFolder", ""), folder);

    // Cancel writes nothing and keeps the stored folder.
    SetSetting("LastExtractionFolder", folder);
    {
        ModalAnswerer cancel("Browse for Folder", IDCANCEL);
        TypeKey(session, list, VK_F4, false);
        EXPECT_EQ(cancel.Count(), 1);
    }
    EXPECT_FALSE(testutil::PathExists(folder + "\\keys0.dat"));
    ::RemoveDirectoryA(folder.c_str());
}

TEST(Commands, FolderBrowserShortensLongPathsInItsStatusLine)
{
    const std::string path35(35, 'p');
    EXPECT_EQ(CFolderBrowser::ShortenPath(path35), path35);
    EXPECT_EQ(CFolderBrowser::ShortenPath(path35 + "q"), path35 + "...");
    EXPECT_EQ(CFolderBrowser::ShortenPath(""), "");
}
