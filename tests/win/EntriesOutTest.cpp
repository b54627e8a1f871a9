// Entries out of the list: dragged out as files (the data object driven
// through its COM interface, as a target drives it), opened in a stand-in
// program and put back, and the rows' context menu.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/Handles.h"
#include "framework/win32/ShellFormats.h"
#include "res/resource.h"
#include "tests/support/TestUtil.h"
#include "tests/support/VppBytes.h"
#include "tests/win/GuiTestUtil.h"
#include "ui/EntryDataSource.h"
#include "ui/FileDropTarget.h"
#include "ui/Packwright32View.h"
#include "ui/ProgressDisplay.h"

using guitest::AppSession;
using guitest::PumpIdle;
using guitest::PumpUntil;
using testutil::TempDir;

namespace {

void SelectRows(HWND list, const std::vector<int>& rows)
{
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
    for (const int row : rows) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
    }
}

std::string ReadText(const std::string& path)
{
    const std::vector<uint8_t> bytes = testutil::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string TempRoot()
{
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(sizeof temp, temp);
    return std::string(temp) + "Packwright32";
}

struct ProgressCalls : CProgressDisplay {
    std::vector<std::string> calls;
    void ShowProgress(const std::string& action) override { calls.push_back("show " + action); }
    void SetProgress(std::string detail, int32_t nDone, int32_t nTotal) override
    {
        calls.push_back(FormatString("%s %d/%d", detail.c_str(), nDone, nTotal));
    }
    void HideProgress() override { calls.push_back("hide"); }
};

// The paths a data object's file-drop data names; none when it gives none.
std::vector<std::string> DroppedPaths(IDataObject* data)
{
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK) return {};
    std::vector<BYTE> block;
    {
        const CScopedGlobalLock<BYTE> lock(medium.hGlobal);
        block.assign(lock.Get(), lock.Get() + lock.Size());
    }
    ::ReleaseStgMedium(&medium);
    std::vector<std::wstring> wide;
    EXPECT_TRUE(CFileDropTarget::ParseDropFiles(block, wide));
    std::vector<std::string> paths;
    for (const std::wstring& w : wide) {
        char path[MAX_PATH * 2] = {};
        ::WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, path, sizeof path, nullptr, nullptr);
        paths.push_back(path);
    }
    return paths;
}

// A drag source that looks at the data as a target does while the drag
// goes on (the shell reads the names as a drag enters), then cancels.
struct LookingSource : COleDropSource {
    IDataObject* data = nullptr;
    std::vector<std::string> seen;
    bool anyFileThere = false;
    SCODE QueryContinueDrag(BOOL, DWORD) override
    {
        seen = DroppedPaths(data);
        for (const std::string& path : seen) anyFileThere = anyFileThere || testutil::PathExists(path);
        return DRAGDROP_S_CANCEL;
    }
};

}  // namespace

TEST(EntryDrag, TheDropExtractsTheRowsIntoAFolderOfTheirOwnLeavingOutWhatCannotBeAFile)
{
    TempDir dir;
    std::vector<vppbytes::File> files;
    for (unsigned i = 0; i < 40; ++i) files.push_back({"e" + std::to_string(i) + ".txt", vppbytes::Pattern(i + 1, i)});
    files.push_back({"..\\up.txt", vppbytes::Pattern(5, 99)});
    files.push_back({"E0.TXT", vppbytes::Pattern(7, 98)});  // the same file as e0.txt on Windows
    const std::string archive = dir / "drag.vpp";
    testutil::WriteFileBytes(archive, vppbytes::Archive(files));
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    CPackwright32View* view = session.View();
    ASSERT_NE(view, nullptr);
    CPackwright32Doc* doc = view->GetDocument();
    testutil::WriteFileText(dir / "outside.txt", "not saved");
    ASSERT_EQ(doc->AddFile(dir / "outside.txt"), AddResult::added);
    doc->UpdateAllViews(nullptr);

    std::vector<std::string> names;
    for (int32_t i = 0; i < doc->m_nFileCount; ++i) names.push_back(doc->m_Entries[i].m_strName);
    ProgressCalls progress;
    auto* source = new CEntryDataSource(doc, names, view->GetTempFolder(), &progress);
    const CScopedComPtr<IDataObject> data = CScopedComPtr<IDataObject>::AddRefOf(source);

    // Offered: the file-drop format, and copying as the effect wanted.
    CScopedComPtr<IEnumFORMATETC> formats;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, formats.Put()), S_OK);
    std::vector<CLIPFORMAT> offered;
    FORMATETC format{};
    while (formats->Next(1, &format, nullptr) == S_OK) offered.push_back(format.cfFormat);
    const CLIPFORMAT preferred = CLIPFORMAT(::RegisterClipboardFormatA("Preferred DropEffect"));
    EXPECT_EQ(offered, (std::vector<CLIPFORMAT>{CF_HDROP, AfxShellIdListFormat(), preferred}));
    FORMATETC text{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(data->QueryGetData(&text), DV_E_FORMATETC);

    // While the drag goes on a target only sees names: nothing is written.
    LookingSource looking;
    looking.data = data.Get();
    EXPECT_EQ(source->DoDragDrop(DROPEFFECT_COPY, &looking), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(looking.seen.size(), 40u);
    EXPECT_FALSE(looking.anyFileThere);
    EXPECT_FALSE(source->IsExtracted());
    EXPECT_TRUE(progress.calls.empty());

    // Dropped back on the list it came from: nothing is taken or written.
    IDropTarget* list = view->m_dropTarget.GetInterface();
    view->m_dropTarget.SetOwnDrag(data.Get());
    DWORD effect = DROPEFFECT_COPY;
    const POINTL pt{10, 10};
    list->DragEnter(data.Get(), MK_LBUTTON, pt, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    list->Drop(data.Get(), 0, pt, &effect);
    view->m_dropTarget.SetOwnDrag(nullptr);
    PumpIdle();
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    EXPECT_FALSE(source->IsExtracted());
    EXPECT_EQ(doc->m_nFileCount, 43);

    // The drop: every entry that can be a file, written whole, once per name.
    const std::vector<std::string> paths = DroppedPaths(data.Get());
    ASSERT_EQ(paths.size(), 40u);
    const std::string folder = paths[0].substr(0, paths[0].rfind('\\'));
    EXPECT_EQ(folder.rfind(view->GetTempFolder().GetPath() + "\\drag-", 0), 0u) << folder;
    for (unsigned i = 0; i < 40; ++i) {
        EXPECT_EQ(paths[i], folder + "\\e" + std::to_string(i) + ".txt");
        // E0.TXT would be the same file as e0.txt: the first row's name has it.
        EXPECT_EQ(testutil::ReadFileBytes(paths[i]), files[i].data) << paths[i];
    }
    // The same files as the shell's item ids (what Wine's folder windows read).
    FORMATETC idList{AfxShellIdListFormat(), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    ASSERT_EQ(data->GetData(&idList, &medium), S_OK);
    {
        const CScopedGlobalLock<CIDA> cida(medium.hGlobal);
        ASSERT_NE(cida.Get(), nullptr);
        EXPECT_EQ(cida.Get()->cidl, 40u);
        const auto* base = reinterpret_cast<const BYTE*>(cida.Get());
        char parent[MAX_PATH] = {};
        ::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(base + cida.Get()->aoffset[0]), parent);
        EXPECT_EQ(parent, folder);
    }
    ::ReleaseStgMedium(&medium);
    // The unsafe name reached no file outside the folder.
    EXPECT_FALSE(testutil::PathExists(folder.substr(0, folder.rfind('\\')) + "\\up.txt"));
    EXPECT_EQ(source->GetErrors(),
              "..\\up.txt\r\n" + CPackwright32Doc::GetExtractResultText(ExtractResult::cannotCreate) + "\r\n\r\n" +
                  "outside.txt\r\n" + CPackwright32Doc::GetExtractResultText(ExtractResult::notSaved) + "\r\n\r\n");
    // Forty entries: the progress window shows the extraction.
    ASSERT_GE(progress.calls.size(), 3u);
    EXPECT_EQ(progress.calls.front(), "show Extracting files...");
    EXPECT_EQ(progress.calls[progress.calls.size() - 2], " 40/40");
    EXPECT_EQ(progress.calls.back(), "hide");

    // A target asking again gets the same files; after the drag nothing
    // more is extracted, even if the document changes.
    source->Disconnect();
    EXPECT_EQ(DroppedPaths(data.Get()), paths);
}

TEST(EntryOpen, AnOpenedEntryChangedByItsProgramIsPutBackOncePerChangeAndTheFolderGoesAtExit)
{
    // The stand-in program of the test's own file type appends a line. Wine
    // 8 reads associations from the machine's classes only (the user's
    // Software\Classes is not merged in), so they go there, in the test's
    // own prefix.
    CRegKey classes;
    ASSERT_EQ(::RegOpenKeyA(HKEY_CLASSES_ROOT, nullptr, &classes.m_hKey), ERROR_SUCCESS);
    ::RegSetValueA(classes.m_hKey, ".pwtest", REG_SZ, "Packwright32Test.Edit", 0);
    const std::string command = "C:\\windows\\system32\\cmd.exe /c echo edited>>\"%1\"";
    ::RegSetValueA(classes.m_hKey, "Packwright32Test.Edit\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    struct Unregister {
        HKEY key;
        ~Unregister()
        {
            ::RegDeleteTreeA(key, ".pwtest");
            ::RegDeleteTreeA(key, "Packwright32Test.Edit");
        }
    } unregister{classes.m_hKey};

    // A folder left by a program that ended without cleaning goes at the
    // start; one whose program still runs (its lock held) stays.
    const std::string root = TempRoot();
    ::CreateDirectoryA(root.c_str(), nullptr);
    ::CreateDirectoryA((root + "\\left-0").c_str(), nullptr);
    testutil::WriteFileText(root + "\\left-0\\old.txt", "old");
    testutil::WriteFileText(root + "\\left-0\\~lock", "");
    ::CreateDirectoryA((root + "\\live-0").c_str(), nullptr);
    const CScopedHandle liveLock = FromCreateFile(::CreateFileA((root + "\\live-0\\~lock").c_str(), GENERIC_WRITE,
                                                                0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(liveLock);

    TempDir dir;
    const std::string archive = dir / "open.vpp";
    testutil::WriteFileBytes(archive, vppbytes::Archive({{"other.dat", vppbytes::Pattern(30, 1)},
                                                         {"notes.pwtest", {'o', 'n', 'e', '\r', '\n'}},
                                                         {"run.bat", {'r', 'e', 'm'}}}));
    std::string copy;
    std::string folder;
    {
        AppSession session({archive});
        ASSERT_TRUE(session.started);
        EXPECT_FALSE(testutil::PathExists(root + "\\left-0"));
        EXPECT_TRUE(testutil::PathExists(root + "\\live-0"));
        CPackwright32View* view = session.View();
        ASSERT_NE(view, nullptr);
        CPackwright32Doc* doc = view->GetDocument();
        folder = view->GetTempFolder().GetPath();

        // A program is run only when the user says so.
        SelectRows(view->m_hWnd, {2});
        {
            testutil::MessageRecorder no(afx::idNo);
            ::SendMessageA(view->m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
            ASSERT_EQ(no.texts.size(), 1u);
            EXPECT_NE(no.texts[0].find("run.bat is a program"), std::string::npos) << no.texts[0];
            EXPECT_EQ(view->GetOpenedEntries().Find("run.bat"), "");
        }

        // Enter on the row opens it.
        SelectRows(view->m_hWnd, {1});
        {
            testutil::MessageRecorder failures;  // a failed open says why, and the test goes on
            ::SendMessageA(view->m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
            EXPECT_EQ(failures.texts, std::vector<std::string>{});
        }
        copy = view->GetOpenedEntries().Find("notes.pwtest");
        ASSERT_FALSE(copy.empty());
        EXPECT_EQ(copy.rfind(folder + "\\open-", 0), 0u) << copy;
        // Changed, and closed again by the stand-in (until then the file cannot be put back).
        auto closedAfterEdit = [&] {
            if (ReadText(copy).find("edited") == std::string::npos) return false;
            return bool(FromCreateFile(::CreateFileA(copy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
        };
        ASSERT_TRUE(PumpUntil(closedAfterEdit, 10000)) << ReadText(copy);
        const int32_t changedSize = int32_t(ReadText(copy).size());

        {
            testutil::MessageRecorder yes(afx::idYes);
            ::SendMessageA(session.MainWnd(), WM_ACTIVATEAPP, TRUE, 0);
            PumpIdle();
            ASSERT_EQ(yes.texts.size(), 1u);
            EXPECT_NE(yes.texts[0].find("notes.pwtest was changed"), std::string::npos) << yes.texts[0];
            // In place of the entry, as an outside file until saved.
            const VPPEntry& entry = doc->m_Entries[1];
            EXPECT_EQ(entry.m_strName, "notes.pwtest");
            EXPECT_FALSE(entry.m_bInVPP);
            EXPECT_EQ(entry.m_strFilePath, copy);
            EXPECT_EQ(entry.m_nSize, changedSize);
            EXPECT_TRUE(doc->IsModified());
            EXPECT_EQ(doc->m_nFileCount, 3);

            // Asked once per change: coming back again asks nothing.
            ::SendMessageA(session.MainWnd(), WM_ACTIVATEAPP, TRUE, 0);
            PumpIdle();
            EXPECT_EQ(yes.texts.size(), 1u);
        }
        {
            // A further change is asked about again; No leaves the entry.
            testutil::WriteFileText(copy, "changed again, longer than before\r\n");
            testutil::MessageRecorder no(afx::idNo);
            ::SendMessageA(session.MainWnd(), WM_ACTIVATEAPP, TRUE, 0);
            PumpIdle();
            EXPECT_EQ(no.texts.size(), 1u);
            EXPECT_EQ(doc->m_Entries[1].m_nSize, changedSize);
        }
        EXPECT_TRUE(testutil::PathExists(copy));
    }
    // The program's folder goes when it ends.
    EXPECT_FALSE(testutil::PathExists(folder));
    EXPECT_TRUE(testutil::PathExists(root + "\\live-0"));
}

namespace {
struct MenuItem {
    std::string text;
    UINT id;
    bool enabled;
    bool ownerDrawn;
    bool operator==(const MenuItem&) const = default;
};

void PrintTo(const MenuItem& item, std::ostream* os)
{
    *os << "{\"" << item.text << "\", " << item.id << (item.enabled ? ", enabled" : ", grayed")
        << (item.ownerDrawn ? ", owner-drawn}" : "}");
}

std::vector<MenuItem> g_menuItems;
RECT g_menuRect;

// Runs inside the menu's own loop: reads the open pop-up and closes it.
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    // This process's open pop-up: other test programs may have menus too.
    HWND popup = nullptr;
    for (HWND h = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); h && !popup;
         h = ::FindWindowExA(nullptr, h, "#32768", nullptr)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(h, &pid);
        if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(h)) popup = h;
    }
    if (!popup) return;
    ::KillTimer(nullptr, timer);
    const HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
    ::GetWindowRect(popup, &g_menuRect);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        ::GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = ::GetMenuState(menu, UINT(i), MF_BYPOSITION);
        // A separator has no state to speak of.
        const bool enabled = (state & MF_SEPARATOR) || !(state & (MF_GRAYED | MF_DISABLED));
        // Drawn as the main menu is: the labels padded to one shortcut column.
        std::string label = text;
        const size_t tab = label.find('\t');
        if (tab != std::string::npos) {
            const size_t end = label.find_last_not_of(' ', tab - 1) + 1;
            label.erase(end, tab - end);
        }
        g_menuItems.push_back({label, ::GetMenuItemID(menu, i), enabled, (state & MF_OWNERDRAW) != 0});
    }
    ::EndMenu();
}

// The context menu as the keyboard opens it (Shift+F10, the menu key).
std::vector<MenuItem> OpenContextMenu(HWND list)
{
    g_menuItems.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, ReadOpenMenu);
    ::SendMessageA(list, WM_CONTEXTMENU, WPARAM(list), MAKELPARAM(-1, -1));
    ::KillTimer(nullptr, timer);
    PumpIdle();
    return g_menuItems;
}
}  // namespace

TEST(ListContextMenu, TheEditCommandsWithTheirShortcutsAndTheEditMenusEnableRules)
{
    TempDir dir;
    AppSession session({guitest::MakeArchive(dir, "menu.vpp", 3)});
    ASSERT_TRUE(session.started);
    const HWND list = ::GetDlgItem(session.MainWnd(), AFX_IDW_PANE_FIRST);

    auto items = [](bool open, bool selection, bool rows) {
        return std::vector<MenuItem>{{"&Open\tEnter", ID_EDIT_OPENENTRY, open, true},
                                     {"&Quick view\tF3", ID_EDIT_QUICKVIEW, true, true},
                                     {"&Extract...\tF4", ID_EDIT_EXTRACTFILES, selection, true},
                                     {"&Remove\tDel", ID_EDIT_REMOVEFILES, selection, true},
                                     {"", 0, true, true},
                                     {"Select &all\tCtrl+A", ID_EDIT_SELECTALLFILES, rows, true},
                                     {"A&dd file(s)...\tIns", ID_EDIT_ADDFILES, true, true}};
    };
    SelectRows(list, {2});
    EXPECT_EQ(OpenContextMenu(list), items(true, true, true));
    // At the focused row, inside the list.
    RECT row{};
    row.left = LVIR_LABEL;
    ::SendMessageA(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
    EXPECT_EQ(g_menuRect.top, row.bottom);

    SelectRows(list, {0, 1});
    EXPECT_EQ(OpenContextMenu(list), items(false, true, true));
    SelectRows(list, {});
    EXPECT_EQ(OpenContextMenu(list), items(false, false, true));
    // No rows at all (File New): only Add.
    ::SendMessageA(session.MainWnd(), WM_COMMAND, ID_FILE_NEW, 0);
    PumpIdle();
    EXPECT_EQ(OpenContextMenu(list), items(false, false, false));
}
