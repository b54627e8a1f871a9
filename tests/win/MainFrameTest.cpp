// The main window driven through its real controls: caption, geometry,
// toolbar, status bar, list and the enable rules of the Edit commands; the
// same at higher text scales.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "core/Packwright32Doc.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/Wnd.h"
#include "res/resource.h"
#include "tests/support/TestUtil.h"
#include "tests/win/GuiTestUtil.h"
#include "ui/MainFrame.h"
#include "ui/Packwright32View.h"

using guitest::AppSession;
using guitest::MakeArchive;
using guitest::PumpIdle;
using testutil::TempDir;

namespace {

std::string WindowText(HWND hWnd)
{
    char text[512] = {};
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

std::string PaneText(HWND statusBar, int pane)
{
    char text[512] = {};
    ::SendMessageA(statusBar, SB_GETTEXTA, WPARAM(pane), reinterpret_cast<LPARAM>(text));
    return text;
}

struct Parts {
    HWND main;
    HWND toolBar;
    HWND statusBar;
    HWND list;
};

Parts PartsOf(HWND main)
{
    return Parts{main, ::GetDlgItem(main, AFX_IDW_TOOLBAR), ::GetDlgItem(main, AFX_IDW_STATUS_BAR),
                 ::GetDlgItem(main, AFX_IDW_PANE_FIRST)};
}

bool ButtonEnabled(HWND toolBar, UINT id) { return ::SendMessageA(toolBar, TB_ISBUTTONENABLED, id, 0) != 0; }

// The Edit menu's states as the user would see them when opening it.
bool MenuItemEnabled(HWND main, UINT id)
{
    const HMENU edit = ::GetSubMenu(::GetMenu(main), 1);
    ::SendMessageA(main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(1, FALSE));
    return (::GetMenuState(edit, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

std::string ItemText(HWND list, int item, int column)
{
    char text[1024] = {};
    LVITEMA lvi{};
    lvi.iSubItem = column;
    lvi.pszText = text;
    lvi.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(item), reinterpret_cast<LPARAM>(&lvi));
    return text;
}

int ItemCount(HWND list) { return int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

void SelectRow(HWND list, int item, bool selected)
{
    LVITEMA lvi{};
    lvi.stateMask = LVIS_SELECTED;
    lvi.state = selected ? LVIS_SELECTED : 0;
    ::SendMessageA(list, LVM_SETITEMSTATE, WPARAM(item), reinterpret_cast<LPARAM>(&lvi));
}

int SelectedCount(HWND list) { return int(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

}  // namespace

TEST(MainFrame, NewArchiveWindowCaptionGeometryAndStatusBar)
{
    AppSession session;
    ASSERT_TRUE(session.started);
    const Parts parts = PartsOf(session.MainWnd());
    EXPECT_TRUE(::IsWindowVisible(parts.main));
    EXPECT_EQ(WindowText(parts.main), "Halvard Manager PACKWRIGHT32 - Untitled");
    EXPECT_EQ(DWORD(::GetWindowLongA(parts.main, GWL_STYLE)) & ~DWORD(WS_VISIBLE | WS_CLIPSIBLINGS),
              DWORD(WS_OVERLAPPEDWINDOW | 0x8000));

    // Centred, at most 780 by 500.
    RECT rect{};
    ::GetWindowRect(parts.main, &rect);
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(rect.right - rect.left, std::min(screenWidth, 780));
    EXPECT_EQ(rect.bottom - rect.top, std::min(screenHeight, 500));
    EXPECT_EQ(rect.left, (screenWidth - std::min(screenWidth, 780)) / 2);
    EXPECT_EQ(rect.top, (screenHeight - std::min(screenHeight, 500)) / 2);

    // Totals of a new archive once the command states were refreshed.
    EXPECT_EQ(PaneText(parts.statusBar, 0), "Ready");
    EXPECT_EQ(PaneText(parts.statusBar, 1), "0 files, 0 bytes");
    EXPECT_EQ(PaneText(parts.statusBar, 2), "V1.0 Beta 01c (Build 04)");

    auto* bar = dynamic_cast<CStatusBar*>(CWnd::FromHandlePermanent(parts.statusBar));
    ASSERT_NE(bar, nullptr);
    const UINT expectedIds[] = {0, 1, 2};
    const UINT expectedStyles[] = {SBPS_STRETCH, SBPS_STRETCH, SBPS_NORMAL};
    for (int i = 0; i < 3; ++i) {
        UINT id = 0, style = 0;
        int width = 0;
        bar->GetPaneInfo(i, id, style, width);
        EXPECT_EQ(id, expectedIds[i]);
        EXPECT_EQ(style, expectedStyles[i]);
        EXPECT_EQ(width, 150);
    }
    // The fixed pane keeps its width; the stretch panes share the rest.
    int edges[3] = {};
    ASSERT_EQ(::SendMessageA(parts.statusBar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[2] - edges[1], 150);
    EXPECT_LE(std::abs((edges[1] - edges[0]) - edges[0]), 1);
    EXPECT_GT(edges[0], 150);
}

TEST(MainFrame, ToolbarButtonsTextsAndSizes)
{
    AppSession session;
    const Parts parts = PartsOf(session.MainWnd());
    ASSERT_NE(parts.toolBar, nullptr);
    EXPECT_EQ(WindowText(parts.toolBar), "Main toolbar");
    ASSERT_EQ(::SendMessageA(parts.toolBar, TB_BUTTONCOUNT, 0, 0), 9);

    const UINT ids[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_ADDFILES, ID_EDIT_REMOVEFILES,
                        ID_EDIT_EXTRACTFILES, 0, ID_APP_ABOUT};
    auto* toolBar = dynamic_cast<CToolBar*>(CWnd::FromHandlePermanent(parts.toolBar));
    ASSERT_NE(toolBar, nullptr);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(toolBar->GetItemID(i), ids[i]) << i;
    EXPECT_EQ(toolBar->GetButtonText(4), "Add");
    EXPECT_EQ(toolBar->GetButtonText(5), "Remove");
    EXPECT_EQ(toolBar->GetButtonText(6), "Extract");
    EXPECT_EQ(toolBar->GetButtonText(0), "");

    const LRESULT size = ::SendMessageA(parts.toolBar, TB_GETBUTTONSIZE, 0, 0);
    EXPECT_GE(LOWORD(size), 29);
    EXPECT_GE(HIWORD(size), 28);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(::SendMessageA(parts.toolBar, TB_GETIMAGELIST, 0, 0)), &cx, &cy);
    EXPECT_EQ(cx, 22);
    EXPECT_EQ(cy, 22);

    // The bar sits at the top, the list below it, the status bar at the bottom.
    RECT bar{}, list{}, status{};
    ::GetWindowRect(parts.toolBar, &bar);
    ::GetWindowRect(parts.list, &list);
    ::GetWindowRect(parts.statusBar, &status);
    EXPECT_LE(bar.bottom, list.top);
    EXPECT_LE(list.bottom, status.top);
}

TEST(MainFrame, ToolbarTooltipsAndPromptsComeFromTheStringTable)
{
    AppSession session;
    const Parts parts = PartsOf(session.MainWnd());
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = parts.toolBar;
    info.hdr.idFrom = ID_EDIT_ADDFILES;
    info.hdr.code = TTN_GETDISPINFOA;
    ::SendMessageA(parts.main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, "Add file(s)");

    // Hovering a button shows its prompt; leaving it, "Ready" again.
    NMTBHOTITEM hot{};
    hot.hdr.hwndFrom = parts.toolBar;
    hot.hdr.code = TBN_HOTITEMCHANGE;
    hot.idNew = ID_EDIT_ADDFILES;
    ::SendMessageA(parts.main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(PaneText(parts.statusBar, 0), "Add file(s) to the current .VP");
    hot.dwFlags = HICF_LEAVING;
    ::SendMessageA(parts.main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(PaneText(parts.statusBar, 0), "Ready");

    // A menu item's prompt while it is highlighted.
    ::SendMessageA(parts.main, WM_MENUSELECT, MAKEWPARAM(ID_FILE_SAVE_AS, MF_STRING),
                   reinterpret_cast<LPARAM>(::GetMenu(parts.main)));
    EXPECT_EQ(PaneText(parts.statusBar, 0), "Save the active document with a new name");
    ::SendMessageA(parts.main, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(PaneText(parts.statusBar, 0), "Ready");
}

TEST(MainFrame, OpenedEmptyArchiveCountsItsHeaderBlock)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "empty.vpp", std::vector<size_t>{});
    AppSession session({archive});
    const Parts parts = PartsOf(session.MainWnd());
    EXPECT_EQ(PaneText(parts.statusBar, 1), "0 files, 2048 bytes");
    EXPECT_EQ(ItemCount(parts.list), 0);
}

TEST(MainFrame, EnableRulesFollowTheSelection)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "test.vpp", {100, 0, 5000});
    {
        AppSession empty;
        const Parts parts = PartsOf(empty.MainWnd());
        EXPECT_TRUE(ButtonEnabled(parts.toolBar, ID_EDIT_ADDFILES));
        EXPECT_FALSE(ButtonEnabled(parts.toolBar, ID_EDIT_REMOVEFILES));
        EXPECT_FALSE(ButtonEnabled(parts.toolBar, ID_EDIT_EXTRACTFILES));
        EXPECT_FALSE(MenuItemEnabled(parts.main, ID_EDIT_SELECTALLFILES));
        EXPECT_TRUE(MenuItemEnabled(parts.main, ID_EDIT_ADDFILES));
    }
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    const Parts parts = PartsOf(session.MainWnd());
    ASSERT_EQ(ItemCount(parts.list), 3);

    // Items but no selection: only Select all.
    PumpIdle();
    EXPECT_FALSE(ButtonEnabled(parts.toolBar, ID_EDIT_REMOVEFILES));
    EXPECT_FALSE(MenuItemEnabled(parts.main, ID_EDIT_EXTRACTFILES));
    EXPECT_TRUE(MenuItemEnabled(parts.main, ID_EDIT_SELECTALLFILES));

    SelectRow(parts.list, 1, true);
    PumpIdle();
    EXPECT_TRUE(ButtonEnabled(parts.toolBar, ID_EDIT_REMOVEFILES));
    EXPECT_TRUE(ButtonEnabled(parts.toolBar, ID_EDIT_EXTRACTFILES));
    EXPECT_TRUE(MenuItemEnabled(parts.main, ID_EDIT_REMOVEFILES));

    // A disabled command does nothing even when its accelerator arrives.
    SelectRow(parts.list, 1, false);
    PumpIdle();
    ::SendMessageA(parts.main, WM_COMMAND, MAKEWPARAM(ID_EDIT_REMOVEFILES, 1), 0);
    EXPECT_EQ(ItemCount(parts.list), 3);

    // Select all, then Remove and Extract are enabled at the next refresh.
    ::SendMessageA(parts.main, WM_COMMAND, MAKEWPARAM(ID_EDIT_SELECTALLFILES, 0), 0);
    EXPECT_EQ(SelectedCount(parts.list), 3);
    PumpIdle();
    EXPECT_TRUE(ButtonEnabled(parts.toolBar, ID_EDIT_EXTRACTFILES));
    EXPECT_EQ(PaneText(parts.statusBar, 1), "3 files, 12288 bytes");
}

TEST(MainFrame, ListShowsEntriesInArchiveOrderWithGroupedNumbers)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "test.vpp", {100, 0, 70000});
    AppSession session({archive});
    const Parts parts = PartsOf(session.MainWnd());

    auto* view = dynamic_cast<CPackwright32View*>(CWnd::FromHandlePermanent(parts.list));
    ASSERT_NE(view, nullptr);
    const CListCtrl list = view->GetListCtrl();
    ASSERT_EQ(list.GetColumnCount(), 3);
    EXPECT_EQ(list.GetColumnHeading(0), "Filename");
    EXPECT_EQ(list.GetColumnHeading(1), "Filesize");
    EXPECT_EQ(list.GetColumnHeading(2), "Location");
    EXPECT_EQ(list.GetColumnWidth(0), 160);
    EXPECT_EQ(list.GetColumnWidth(1), 100);
    EXPECT_EQ(list.GetColumnWidth(2), 480);
    EXPECT_EQ(list.GetColumnFormat(1) & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_EQ(::GetWindowLongA(parts.list, GWL_STYLE) & (LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL),
              LVS_REPORT | LVS_SHOWSELALWAYS);
    EXPECT_EQ(list.GetExtendedStyle(), DWORD(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));

    ASSERT_EQ(ItemCount(parts.list), 3);
    EXPECT_EQ(ItemText(parts.list, 0, 0), "test0.dat");
    EXPECT_EQ(ItemText(parts.list, 2, 0), "test2.dat");
    EXPECT_EQ(ItemText(parts.list, 0, 1), std::string(18, ' ') + "100");
    EXPECT_EQ(ItemText(parts.list, 1, 1), std::string(22, ' ') + "0");
    EXPECT_EQ(ItemText(parts.list, 2, 1), std::string(12, ' ') + "70.000");
    EXPECT_EQ(ItemText(parts.list, 0, 2), "In VPP at offset " + std::string(14, ' ') + "4.096");
    EXPECT_EQ(ItemText(parts.list, 2, 2), "In VPP at offset " + std::string(14, ' ') + "6.144");

    // Adding shows the outside file with its full path; the rebuild clears the selection.
    SelectRow(parts.list, 0, true);
    auto* doc = view->GetDocument();
    const std::string outside = dir / "new.bin";
    testutil::WriteFileText(outside, "abc");
    ASSERT_EQ(doc->AddFile(outside), AddResult::added);
    doc->UpdateAllViews(nullptr);
    ASSERT_EQ(ItemCount(parts.list), 4);
    EXPECT_EQ(ItemText(parts.list, 3, 2), "File at " + outside);
    EXPECT_EQ(SelectedCount(parts.list), 0);

    // Setting the columns up again changes nothing.
    view->SetupColumns();
    EXPECT_EQ(list.GetColumnCount(), 3);
}

TEST(MainFrame, GroupedNumbersSortAsText)
{
    EXPECT_EQ(CPackwright32View::FormatGroupedNumber(65536), std::string(12, ' ') + "65.536");
    EXPECT_EQ(CPackwright32View::FormatGroupedNumber(512), std::string(18, ' ') + "512");
    EXPECT_EQ(CPackwright32View::FormatGroupedNumber(0), std::string(22, ' ') + "0");
    EXPECT_EQ(CPackwright32View::FormatGroupedNumber(2147483647), "2.147.483.647");
    EXPECT_EQ(CPackwright32View::FormatGroupedNumber(1000000), std::string(6, ' ') + "1.000.000");
    EXPECT_LT(CPackwright32View::FormatGroupedNumber(999999999), CPackwright32View::FormatGroupedNumber(1000000000));
    EXPECT_LT(CPackwright32View::FormatGroupedNumber(9), CPackwright32View::FormatGroupedNumber(10));
}

// Runs for real in win_tests_small.exe, which has a 640x480 screen.
TEST(SmallScreen, FrameFillsAScreenSmallerThanItself)
{
    if (::GetSystemMetrics(SM_CXSCREEN) >= 780) GTEST_SKIP() << "needs a screen narrower than 780 pixels";
    AppSession session;
    RECT rect{};
    ::GetWindowRect(session.MainWnd(), &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right - rect.left, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom - rect.top, ::GetSystemMetrics(SM_CYSCREEN));
}

// Runs for real from tests/win/high_dpi.sh, which starts this program in a
// prefix of its own set to 144 and then 192 dots per inch, on a desktop
// enlarged by the same scale. Everything laid out in pixels grows with the
// scale: the window, the columns and panes, so that their texts (the
// largest a column is made for) are not cut, and the images.
TEST(HighDpi, WindowColumnsPanesAndImagesFollowTheTextScale)
{
    const char* wanted = std::getenv("PACKWRIGHT_TEST_DPI");
    if (!wanted) GTEST_SKIP() << "run by high_dpi.sh at 144 and 192 dpi";
    const int dpi = AfxScreenDpi();
    ASSERT_EQ(dpi, std::atoi(wanted)) << "the prefix's LogPixels did not reach the program";
    TempDir dir;
    const std::string archive = MakeArchive(dir, "a.vpp", 3);
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    const Parts parts = PartsOf(session.MainWnd());

    RECT rect{};
    ::GetWindowRect(parts.main, &rect);
    EXPECT_EQ(rect.right - rect.left, std::min(::GetSystemMetrics(SM_CXSCREEN), ::MulDiv(780, dpi, 96)));
    EXPECT_EQ(rect.bottom - rect.top, std::min(::GetSystemMetrics(SM_CYSCREEN), ::MulDiv(500, dpi, 96)));

    // The list: each column holds its header and the widest text it is made
    // for, with the control's margins of about 6 pixels a side at 100%.
    const std::string largest = CPackwright32View::FormatGroupedNumber(2147483647);
    const std::vector<std::vector<std::string>> columns = {
        {"Filename", "mission_briefing_01.txt"}, {"Filesize", largest}, {"Location", "In VPP at offset " + largest}};
    for (size_t column = 0; column < columns.size(); ++column) {
        const int width = int(::SendMessageA(parts.list, LVM_GETCOLUMNWIDTH, column, 0));
        for (const std::string& text : columns[column]) {
            const int needed = int(::SendMessageA(parts.list, LVM_GETSTRINGWIDTHA, 0,
                                                  reinterpret_cast<LPARAM>(text.c_str()))) + ::MulDiv(12, dpi, 96);
            EXPECT_LE(needed, width) << "column " << column << ": \"" << text << '"';
        }
    }

    // The status panes hold their texts, borders included.
    const HDC dc = ::GetDC(parts.statusBar);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(parts.statusBar, WM_GETFONT, 0, 0)));
    for (int pane = 0; pane < 3; ++pane) {
        const std::string text = PaneText(parts.statusBar, pane);
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
        RECT box{};
        ::SendMessageA(parts.statusBar, SB_GETRECT, WPARAM(pane), reinterpret_cast<LPARAM>(&box));
        EXPECT_LE(extent.cx + ::MulDiv(6, dpi, 96), box.right - box.left) << "pane " << pane << ": \"" << text << '"';
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(parts.statusBar, dc);

    // The images drawn for the scale, not the 100% ones: the toolbar's and
    // every popup's.
    const bool large = dpi >= 168;
    int cx = 0, cy = 0;
    const auto images = reinterpret_cast<HIMAGELIST>(::SendMessageA(parts.toolBar, TB_GETIMAGELIST, 0, 0));
    ASSERT_TRUE(images && ::ImageList_GetIconSize(images, &cx, &cy));
    EXPECT_EQ(cx, large ? 44 : 33);
    EXPECT_EQ(cy, large ? 44 : 33);
    EXPECT_GE(HIWORD(::SendMessageA(parts.toolBar, TB_GETBUTTONSIZE, 0, 0)), cy + 6);
    const auto* frame = dynamic_cast<CMainFrame*>(session.app().m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->m_menu.m_SubMenus.size(), 3u);
    for (const auto& popup : frame->m_menu.m_SubMenus) {
        EXPECT_EQ(popup->m_nImageWidth, large ? 32 : 24);
        EXPECT_EQ(popup->m_nImageHeight, large ? 30 : 22);
    }
}
