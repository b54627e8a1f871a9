// The owner-drawn menus: the tree built from the main menu and its images,
// the routing of the owner-draw messages, item sizes, and items painted into
// a DIB section, checked pixel by pixel against the drawing rules. Positions
// come from the rules and the metrics read at run time; the system colours
// are set to a palette of distinct values for the pixel tests.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/win32/AfxRes.h"
#include "res/resource.h"
#include "tests/support/TestUtil.h"
#include "tests/win/GuiTestUtil.h"
#include "ui/MainFrame.h"
#include "ui/menu/BitmapMenu.h"

using guitest::AppSession;
using guitest::MakeArchive;
using testutil::TempDir;

namespace {

constexpr int W = 16;  // the menu's image size
constexpr int H = 15;

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int cx, int cy, COLORREF fill) : m_cx(cx), m_cy(cy)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        for (int i = 0; i < cx * cy; ++i) m_bits[i] = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    }
    ~Canvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    int cx() const { return m_cx; }
    int cy() const { return m_cy; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        const DWORD p = m_bits[y * m_cx + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of the rectangle with exactly this colour.
    int Count(const RECT& r, COLORREF color) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == color;
        return n;
    }
    // The columns holding any pixel other than background, within rows of r.
    std::pair<int, int> InkColumns(const RECT& r, COLORREF background) const
    {
        int first = -1, last = -1;
        for (int x = r.left; x < r.right; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                if (At(x, y) != background) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
        return {first, last};
    }

private:
    int m_cx, m_cy;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
};

CBitmapMenuItem* ItemOf(CBitmapMenu& menu, UINT nID, CBitmapMenu** holder = nullptr)
{
    int position = -1;
    CBitmapMenu* found = menu.FindItemByCommand(nID, position);
    if (!found || position < 0) return nullptr;
    if (holder) *holder = found;
    return found->m_Items[size_t(position)].get();
}

UINT Measure(CBitmapMenu& menu, CBitmapMenuItem* item, UINT* height = nullptr)
{
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = UINT(item->m_nID);
    mis.itemData = reinterpret_cast<ULONG_PTR>(item);
    menu.MeasureItem(&mis);
    if (height) *height = mis.itemHeight;
    return mis.itemWidth;
}

// Paints one item at the canvas's top left, cx wide and cy high.
void Paint(CBitmapMenu& popup, CBitmapMenuItem* item, UINT state, Canvas& canvas)
{
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = UINT(item->m_nID);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(popup.m_hMenu);
    dis.hDC = canvas.dc();
    dis.rcItem = RECT{0, 0, canvas.cx(), canvas.cy()};
    dis.itemData = reinterpret_cast<ULONG_PTR>(item);
    popup.DrawItem(&dis);
}

// The width of text in the menu font (or the DC's own font).
int TextWidth(const std::wstring& text, bool menuFont = true)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0);
    HFONT font = ::CreateFontIndirectA(&metrics.lfMenuFont);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = menuFont ? ::SelectObject(dc, font) : nullptr;
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    if (old) ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    return size.cx;
}

std::wstring MenuString(HMENU menu, int position)
{
    wchar_t text[512] = {};
    ::GetMenuStringW(menu, UINT(position), text, 512, MF_BYPOSITION);
    return text;
}

// What the menu loop showed when driven from the keyboard.
struct MenuDrive {
    HWND main = nullptr;
    char key = 0;  // typed into the open popup
    RECT popupClient{};
    bool typed = false;
    int ticks = 0;
};
MenuDrive* g_drive = nullptr;

BOOL CALLBACK FindPopupWindow(HWND hWnd, LPARAM lParam)
{
    char name[32] = {};
    ::GetClassNameA(hWnd, name, sizeof name);
    if (std::string(name) != "#32768" || !::IsWindowVisible(hWnd)) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// A thread timer runs inside the menu loop: once the popup is up, it notes
// its size and types the key; a menu still open two seconds on is closed.
VOID CALLBACK DriveMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND popup = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindPopupWindow, reinterpret_cast<LPARAM>(&popup));
    if (popup && !g_drive->typed) {
        ::GetClientRect(popup, &g_drive->popupClient);
        ::PostMessageA(g_drive->main, WM_CHAR, WPARAM(g_drive->key), 1);
        g_drive->typed = true;
    } else if (++g_drive->ticks == 40) {
        ::EndMenu();
    }
}

}  // namespace

// The main menu after start-up: the same items as the resource, every popup
// item owner-drawn with its record, the shortcut labels padded to one
// column, the images of the small toolbar on the seven toolbar commands,
// and the recent-file entries the framework writes in turned owner-drawn.
TEST(BitmapMenu, MainMenuIsRebuiltOwnerDrawnWithImagesAndKeepsTheRecentFiles)
{
    TempDir dir;
    const std::string a = MakeArchive(dir, "a.vpp", 1);
    const std::string b = MakeArchive(dir, "b.vpp", 2);
    AppSession session;
    ASSERT_TRUE(session.started);
    auto* frame = dynamic_cast<CMainFrame*>(session.app().m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    const HMENU bar = ::GetMenu(session.MainWnd());
    EXPECT_EQ(frame->m_hMenuDefault, bar);
    EXPECT_EQ(frame->m_menu.m_hMenu, nullptr);  // the window owns the bar
    ASSERT_EQ(frame->m_menu.m_SubMenus.size(), 3u);
    ASSERT_EQ(::GetMenuItemCount(bar), 3);

    struct Expected {
        UINT id;
        std::wstring label, shortcut;
        int image;
        bool greyed;
    };
    const std::vector<std::vector<Expected>> popups = {
        {{ID_FILE_NEW, L"&New", L"Ctrl+N", 0, false},
         {ID_FILE_OPEN, L"&Open...", L"Ctrl+O", 1, false},
         {ID_FILE_SAVE, L"&Save", L"Ctrl+S", 2, false},
         {ID_FILE_SAVE_AS, L"Save &As...", L"", -1, false},
         {0, L"", L"", -1, false},
         {ID_FILE_MRU_FILE1, L"Recent File", L"", -1, true},
         {0, L"", L"", -1, false},
         {ID_APP_EXIT, L"E&xit", L"", -1, false}},
        {{ID_EDIT_ADDFILES, L"A&dd file(s)", L"Ins", 3, false},
         {ID_EDIT_REMOVEFILES, L"Remove selected file(s)", L"Del", 4, false},
         {ID_EDIT_EXTRACTFILES, L"&Extract selected file(s)", L"F4", 5, false},
         {0, L"", L"", -1, false},
         {ID_EDIT_SELECTALLFILES, L"Select &all", L"Ctrl+A", -1, false}},
        {{ID_HELP_CHECKVERSION, L"&Check for new version", L"", -1, false},
         {ID_APP_ABOUT, L"&About Packwright32...", L"", 6, false}}};
    const wchar_t* const titles[] = {L"&File", L"&Edit", L"&Help"};

    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        // The bar's items are the system's own text items.
        MENUITEMINFOW barItem{};
        barItem.cbSize = sizeof barItem;
        barItem.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        ASSERT_TRUE(::GetMenuItemInfoW(bar, UINT(p), TRUE, &barItem));
        EXPECT_EQ(barItem.fType & MFT_OWNERDRAW, 0u);
        EXPECT_EQ(MenuString(bar, p), titles[p]);
        EXPECT_EQ(frame->m_menu.m_Items[size_t(p)]->m_nFlags, UINT(MF_BYPOSITION | MF_POPUP));

        const HMENU popupHandle = barItem.hSubMenu;
        auto* popup = dynamic_cast<CBitmapMenu*>(CMenu::FromHandlePermanent(popupHandle));
        ASSERT_NE(popup, nullptr);
        const std::vector<Expected>& expected = popups[size_t(p)];
        ASSERT_EQ(::GetMenuItemCount(popupHandle), int(expected.size()));
        ASSERT_EQ(popup->m_Items.size(), expected.size());

        int widest = -1;
        for (const Expected& e : expected) widest = std::max(widest, TextWidth(e.label + L" "));
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            const Expected& e = expected[i];
            const CBitmapMenuItem& item = *popup->m_Items[i];
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
            ASSERT_TRUE(::GetMenuItemInfoW(popupHandle, UINT(i), TRUE, &info));
            EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
            EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(&item));
            EXPECT_EQ(info.wID, e.id);
            if (e.id == 0) {
                EXPECT_EQ(item.m_nFlags, UINT(MF_SEPARATOR | MF_OWNERDRAW));
                continue;
            }
            EXPECT_EQ((info.fState & MFS_GRAYED) != 0, e.greyed);
            if (e.shortcut.empty()) {
                EXPECT_EQ(item.m_szText, e.label);
            } else {
                // Padded with spaces to the widest label plus one space, no further.
                const size_t tab = item.m_szText.find(L'\t');
                ASSERT_NE(tab, std::wstring::npos);
                const std::wstring padded = item.m_szText.substr(0, tab);
                EXPECT_EQ(item.m_szText.substr(tab + 1), e.shortcut);
                EXPECT_EQ(padded.substr(0, e.label.size()), e.label);
                EXPECT_EQ(padded.find_first_not_of(L' ', e.label.size()), std::wstring::npos);
                EXPECT_GE(TextWidth(padded), widest);
                if (padded.size() > e.label.size()) {
                    EXPECT_LT(TextWidth(padded.substr(0, padded.size() - 1)), widest);
                }
            }
            // The system holds the same text: keyboard mnemonics and
            // GetMenuString see it.
            EXPECT_EQ(MenuString(popupHandle, int(i)), item.m_szText);
            EXPECT_EQ(item.m_nImageIndex, e.image);
            EXPECT_EQ(item.m_nImageSource, e.image >= 0 ? IDR_MENUIMAGES : -1);
            EXPECT_EQ(item.m_pImageList ? item.m_pImageList->GetImageCount() : 0, e.image >= 0 ? 7 : 0);
        }
    }

    // The recent-file list renames the placeholder and inserts plain items;
    // opening the popup makes them owner-drawn records like the rest.
    ASSERT_NE(session.app().OpenDocumentFile(a.c_str()), nullptr);
    ASSERT_NE(session.app().OpenDocumentFile(b.c_str()), nullptr);
    const HMENU file = ::GetSubMenu(bar, 0);
    for (int round = 0; round < 2; ++round) {
        ::SendMessageA(session.MainWnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        auto* popup = dynamic_cast<CBitmapMenu*>(CMenu::FromHandlePermanent(file));
        ASSERT_EQ(::GetMenuItemCount(file), 9);
        ASSERT_EQ(popup->m_Items.size(), 9u);
        for (int i = 0; i < 9; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_DATA;
            ::GetMenuItemInfoW(file, UINT(i), TRUE, &info);
            EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << i;
            EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(popup->m_Items[size_t(i)].get())) << i;
        }
        EXPECT_EQ(popup->m_Items[5]->m_szText.substr(0, 3), L"&1 ");
        EXPECT_EQ(popup->m_Items[5]->m_szText, MenuString(file, 5));
        EXPECT_EQ(popup->m_Items[6]->m_szText.substr(0, 3), L"&2 ");
        EXPECT_EQ(popup->m_Items[6]->m_szText.substr(popup->m_Items[6]->m_szText.size() - 5), L"a.vpp");
        EXPECT_EQ(popup->m_Items[6]->m_nID, UINT_PTR(ID_FILE_MRU_FILE2));
    }
}

// WM_MEASUREITEM and WM_DRAWITEM sent to a framework window reach the popup
// object that holds the item, whether the popup is in the window's menu or
// a context menu built apart; the sizes follow the measuring rule in every
// platform look. Opened for real from the keyboard, the Edit popup is sized
// from the measured items and its mnemonics choose commands.
TEST(BitmapMenu, OwnerDrawMessagesReachThePopupAndSizesFollowTheText)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "menu.vpp", 3);
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    const HWND main = session.MainWnd();
    const HWND list = ::GetDlgItem(main, AFX_IDW_PANE_FIRST);

    MenuDrive drive;
    drive.main = main;
    drive.key = 'a';  // Select &all
    g_drive = &drive;
    ::SetForegroundWindow(main);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, DriveMenu);
    ::SendMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, 'e');
    ::KillTimer(nullptr, timer);
    g_drive = nullptr;
    guitest::PumpIdle();
    EXPECT_EQ(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 3);
    auto* edit = dynamic_cast<CBitmapMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(::GetMenu(main), 1)));
    ASSERT_NE(edit, nullptr);
    int widest = 0, total = 0;
    for (const auto& item : edit->m_Items) {
        UINT height = 0;
        widest = std::max(widest, int(Measure(*edit, item.get(), &height)));
        total += int(height);
    }
    EXPECT_GE(drive.popupClient.right, widest);
    EXPECT_GE(drive.popupClient.bottom, total);
    EXPECT_LT(drive.popupClient.bottom, total + 2 * ::GetSystemMetrics(SM_CYMENU));

    // A context menu built apart is found through the handle map.
    CBitmapMenu context;
    ASSERT_TRUE(context.LoadWithImages(IDR_MAINFRAME, IDR_MENUIMAGES));
    ASSERT_NE(context.GetSubMenu(1), nullptr);

    const int menuHeight = ::GetSystemMetrics(SM_CYMENU);
    for (CBitmapMenu* popup : {static_cast<CBitmapMenu*>(context.GetSubMenu(0)),
                               static_cast<CBitmapMenu*>(context.GetSubMenu(1))}) {
        for (const auto& owned : popup->m_Items) {
            CBitmapMenuItem* item = owned.get();
            SCOPED_TRACE(std::string(item->m_szText.begin(), item->m_szText.end()));
            MEASUREITEMSTRUCT mis{};
            mis.CtlType = ODT_MENU;
            mis.itemID = UINT(item->m_nID);
            mis.itemData = reinterpret_cast<ULONG_PTR>(item);
            ASSERT_TRUE(::SendMessageA(main, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
            if (item->m_nFlags & MF_SEPARATOR) {
                EXPECT_EQ(mis.itemWidth, 0u);
                EXPECT_EQ(int(mis.itemHeight), menuHeight / 2);
                continue;
            }
            EXPECT_EQ(int(mis.itemWidth), TextWidth(item->m_szText) + 2 * W + 1);
            EXPECT_EQ(int(mis.itemHeight), std::max(menuHeight, H + 4));

            // Old shells measure with the DC's own font.
            const int platform = popup->m_nPlatformCode;
            popup->m_nPlatformCode = 2;
            EXPECT_EQ(int(Measure(*popup, item)), TextWidth(item->m_szText, false) + 2 * W + 1);
            popup->m_nPlatformCode = platform;
        }
    }

    // Painting goes to the object named by the message's menu handle.
    auto* file = dynamic_cast<CBitmapMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(::GetMenu(main), 0)));
    ASSERT_NE(file, nullptr);
    Canvas canvas(200, 19, RGB(1, 2, 3));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = ID_FILE_NEW;
    dis.itemState = ODS_SELECTED;
    dis.hwndItem = reinterpret_cast<HWND>(file->m_hMenu);
    dis.hDC = canvas.dc();
    dis.rcItem = RECT{0, 0, 200, 19};
    dis.itemData = reinterpret_cast<ULONG_PTR>(file->m_Items[0].get());
    ASSERT_TRUE(::SendMessageA(main, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
    EXPECT_EQ(canvas.At(190, 10), ::GetSysColor(COLOR_HIGHLIGHT));
}

namespace {
// System colours set to distinct values, so that every pixel tells which
// rule painted it; restored afterwards.
class MenuPixels : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (size_t i = 0; i < std::size(kIndices); ++i) m_saved[i] = ::GetSysColor(kIndices[i]);
        ASSERT_TRUE(::SetSysColors(int(std::size(kIndices)), kIndices, kPalette));
        // The new shells' look; its popups take it when they are built.
        m_menu.m_nPlatformCode = 3;
        // Built after the colours changed: the images take them on.
        ASSERT_TRUE(m_menu.LoadWithImages(IDR_MAINFRAME, IDR_MENUIMAGES));
        m_strip = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MENUIMAGES),
                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(m_strip, nullptr);
        m_stripDC = ::CreateCompatibleDC(nullptr);
        m_oldStrip = ::SelectObject(m_stripDC, m_strip);
    }
    void TearDown() override
    {
        ::SetSysColors(int(std::size(kIndices)), kIndices, m_saved);
        if (m_stripDC) {
            ::SelectObject(m_stripDC, m_oldStrip);
            ::DeleteDC(m_stripDC);
        }
        if (m_strip) ::DeleteObject(m_strip);
    }
    static COLORREF Sys(int index) { return ::GetSysColor(index); }

    // Pixel (x, y) of image `index` as stored in the resource.
    COLORREF Source(int index, int x, int y) const { return ::GetPixel(m_stripDC, index * W + x, y); }
    // The image's pixel as the menu shows it over `under`: light grey is
    // transparent, black, dark grey and white are the button colours.
    COLORREF Shown(int index, int x, int y, COLORREF under) const
    {
        const COLORREF c = Source(index, x, y);
        if (c == RGB(192, 192, 192)) return under;
        if (c == RGB(0, 0, 0)) return Sys(COLOR_BTNTEXT);
        if (c == RGB(128, 128, 128)) return Sys(COLOR_BTNSHADOW);
        if (c == RGB(255, 255, 255)) return Sys(COLOR_BTNHIGHLIGHT);
        return c;
    }
    // Whether the disabled look draws this pixel: neither face nor highlight,
    // nor a light ink (the folder's yellow and gold), which counts as highlight.
    bool Drawn(int index, int x, int y) const
    {
        if (x < 0 || y < 0 || x >= W || y >= H) return false;
        const COLORREF c = Source(index, x, y);
        const int lightness = 299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c);
        return c != RGB(192, 192, 192) && c != RGB(255, 255, 255) && lightness < 140 * 1000;
    }
    // Checks the image cell at (x, y) against the image over `under`.
    void ExpectImage(const Canvas& canvas, int index, int x, int y, COLORREF under) const
    {
        int wrong = 0;
        for (int j = 0; j < H; ++j)
            for (int i = 0; i < W; ++i) wrong += canvas.At(x + i, y + j) != Shown(index, i, j, under);
        EXPECT_EQ(wrong, 0) << "pixels of image " << index << " differ";
    }

    static constexpr int kIndices[] = {COLOR_MENU,      COLOR_MENUTEXT,    COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                       COLOR_BTNFACE,   COLOR_BTNSHADOW,   COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT,
                                       COLOR_GRAYTEXT,  COLOR_BTNTEXT};
    static constexpr COLORREF kPalette[] = {RGB(250, 240, 210), RGB(20, 30, 90),   RGB(40, 90, 160),
                                            RGB(255, 250, 230), RGB(10, 120, 200), RGB(70, 70, 110),
                                            RGB(230, 255, 240), RGB(200, 230, 170), RGB(150, 140, 130),
                                            RGB(60, 0, 60)};
    static constexpr COLORREF kUntouched = RGB(1, 2, 3);
    COLORREF m_saved[std::size(kIndices)] = {};
    CBitmapMenu m_menu;
    HBITMAP m_strip = nullptr;
    HDC m_stripDC = nullptr;
    HGDIOBJ m_oldStrip = nullptr;
};
}  // namespace

// An item with an image in every state and both looks: where the highlight
// bar starts, the frames, the transparent image on the menu colour whatever
// the face colour, and the embossed disabled image.
TEST_F(MenuPixels, ImageItemsInEveryStateAndLook)
{
    CBitmapMenu* popup = nullptr;
    CBitmapMenuItem* item = ItemOf(m_menu, ID_FILE_OPEN, &popup);
    ASSERT_NE(item, nullptr);
    const int index = item->m_nImageIndex;
    ASSERT_EQ(index, 1);
    const COLORREF menu = Sys(COLOR_MENU), light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);

    for (int height : {19, 24, 26}) {
        SCOPED_TRACE(height);
        const int dy = std::max(0, (height - H - 4) / 2);
        const RECT frame{0, dy, W + 4, dy + H + 4};
        auto expectOutline = [&](const Canvas& c, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
            EXPECT_EQ(c.At(r.left, r.top), topLeft);
            EXPECT_EQ(c.At(r.left, r.bottom - 2), topLeft);
            EXPECT_EQ(c.At(r.right - 2, r.top), topLeft);
            EXPECT_EQ(c.At(r.right - 1, r.top), bottomRight);  // the corners are the second colour's
            EXPECT_EQ(c.At(r.left, r.bottom - 1), bottomRight);
            EXPECT_EQ(c.At(r.right - 1, r.bottom - 1), bottomRight);
        };

        // Plain: all menu colour around the transparent image.
        Canvas plain(220, height, kUntouched);
        Paint(*popup, item, 0, plain);
        expectOutline(plain, frame, menu, menu);
        EXPECT_EQ(plain.At(1, dy + 1), menu);
        EXPECT_EQ(plain.Count(RECT{0, 0, W + 6, height}, kUntouched), 0);
        ExpectImage(plain, index, 2, dy + 2, menu);

        // Selected: the bar from W + 5 on, the column left of it untouched,
        // a raised frame on new shells, none on old ones.
        Canvas selected(220, height, kUntouched);
        Paint(*popup, item, ODS_SELECTED, selected);
        for (int y = 0; y < height; ++y) {
            EXPECT_EQ(selected.At(W + 4, y), kUntouched);
            EXPECT_EQ(selected.At(W + 5, y), Sys(COLOR_HIGHLIGHT));
        }
        expectOutline(selected, frame, light, shadow);
        ExpectImage(selected, index, 2, dy + 2, menu);
        Canvas oldLook(220, height, kUntouched);
        popup->m_nPlatformCode = 2;
        Paint(*popup, item, ODS_SELECTED, oldLook);
        popup->m_nPlatformCode = 3;
        expectOutline(oldLook, frame, kUntouched, kUntouched);
        EXPECT_EQ(oldLook.At(1, dy + 1), menu);

        // Checked: sunken frame, the ring on the light 3-D colour, which also
        // shows through the image; selected, the menu colour instead.
        Canvas checked(220, height, kUntouched);
        Paint(*popup, item, ODS_CHECKED, checked);
        expectOutline(checked, frame, shadow, light);
        EXPECT_EQ(checked.At(1, dy + 1), Sys(COLOR_3DLIGHT));
        ExpectImage(checked, index, 2, dy + 2, Sys(COLOR_3DLIGHT));
        Canvas checkedSelected(220, height, kUntouched);
        Paint(*popup, item, ODS_CHECKED | ODS_SELECTED, checkedSelected);
        expectOutline(checkedSelected, frame, shadow, light);
        ExpectImage(checkedSelected, index, 2, dy + 2, menu);

        // Greyed: the drawing in the shadow colour, a highlight copy one
        // pixel right and down (reaching one pixel past the cell), on the
        // face colour; never the image's own colours.
        Canvas greyed(220, height, kUntouched);
        Paint(*popup, item, ODS_GRAYED, greyed);
        expectOutline(greyed, frame, menu, menu);
        int wrong = 0;
        for (int j = 0; j <= H; ++j) {
            for (int i = 0; i <= W; ++i) {
                if (i == W && j == H) continue;
                // The highlight copy's cell starts one pixel right and down.
                const bool outside = (i == W && j == 0) || (j == H && i == 0);
                COLORREF expected = outside ? menu : Drawn(index, i - 1, j - 1) ? light : Sys(COLOR_3DFACE);
                if (i < W && j < H && Drawn(index, i, j)) expected = shadow;
                wrong += greyed.At(2 + i, dy + 2 + j) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << "embossed pixels differ";
        EXPECT_GT(greyed.Count(RECT{2, dy + 2, 2 + W, dy + 2 + H}, shadow), 10);
    }
}

// Items without image: the check box with its 21-pixel tick, the radio dot
// for items with their own checked bitmap, a separator's etched line, the
// full-width highlight, empty text, and where the label and the shortcut
// stand, greyed text embossed.
TEST_F(MenuPixels, CheckBoxRadioSeparatorAndText)
{
    CBitmapMenu* popup = nullptr;
    CBitmapMenuItem* item = ItemOf(m_menu, ID_EDIT_SELECTALLFILES, &popup);
    ASSERT_NE(item, nullptr);
    const COLORREF menu = Sys(COLOR_MENU), light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW);
    const COLORREF text = Sys(COLOR_MENUTEXT);
    const int height = 19;
    const RECT box{1, 2, W + 1, H + 2};  // dy is 0 at this height

    // The tick: rows r..r+2 of each of its seven columns.
    const int tops[7] = {2, 3, 4, 3, 2, 1, 0};
    auto onTick = [&](int x, int y) {
        const int c = x - (box.left + 4), r = y - (box.top + 4);
        return c >= 0 && c < 7 && r >= tops[c] && r < tops[c] + 3;
    };
    Canvas checked(220, height, kUntouched);
    Paint(*popup, item, ODS_CHECKED, checked);
    int tick = 0, wrong = 0;
    for (int y = box.top + 1; y < box.bottom - 1; ++y) {
        for (int x = box.left + 1; x < box.right - 1; ++x) {
            const COLORREF expected = onTick(x, y) ? text : Sys(COLOR_3DLIGHT);
            tick += onTick(x, y);
            wrong += checked.At(x, y) != expected;
        }
    }
    EXPECT_EQ(tick, 21);
    EXPECT_EQ(wrong, 0) << "check box pixels differ";
    EXPECT_EQ(checked.At(box.left, box.top), shadow);  // sunken border
    EXPECT_EQ(checked.At(box.right - 1, box.bottom - 1), light);

    // Selected, the box is on the menu colour; on old shells always, and
    // without a border.
    Canvas checkedSelected(220, height, kUntouched);
    Paint(*popup, item, ODS_CHECKED | ODS_SELECTED, checkedSelected);
    EXPECT_EQ(checkedSelected.At(box.left + 1, box.top + 1), menu);
    EXPECT_EQ(checkedSelected.At(W + 5, 5), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(checkedSelected.At(W + 4, 5), kUntouched);
    popup->m_nPlatformCode = 2;
    Canvas oldLook(220, height, kUntouched);
    Paint(*popup, item, ODS_CHECKED, oldLook);
    popup->m_nPlatformCode = 3;
    EXPECT_EQ(oldLook.At(box.left, box.top), menu);
    EXPECT_EQ(oldLook.At(box.left + 4, box.top + 6), text);

    // An item with its own checked bitmap shows the 6x6 dot instead.
    HBITMAP mark = ::CreateBitmap(8, 8, 1, 1, nullptr);
    ASSERT_TRUE(::SetMenuItemBitmaps(popup->m_hMenu, ID_EDIT_SELECTALLFILES, MF_BYCOMMAND, nullptr, mark));
    Canvas radio(220, height, kUntouched);
    Paint(*popup, item, ODS_CHECKED, radio);
    ::SetMenuItemBitmaps(popup->m_hMenu, ID_EDIT_SELECTALLFILES, MF_BYCOMMAND, nullptr, nullptr);
    ::DeleteObject(mark);
    const int dotX = box.left + 5, dotY = box.top + 4;
    EXPECT_EQ(radio.At(dotX + 2, dotY + 2), text);
    EXPECT_EQ(radio.At(dotX + 3, dotY + 3), text);
    EXPECT_EQ(radio.Count(RECT{dotX, dotY, dotX + 6, dotY + 6}, text), radio.Count(RECT{box.left, box.top, box.right, box.bottom}, text));
    EXPECT_GE(radio.Count(RECT{dotX, dotY, dotX + 6, dotY + 6}, text), 16);
    EXPECT_EQ(radio.At(box.left + 4, box.top + 6), Sys(COLOR_3DLIGHT));  // no tick

    // Selected without image or check: the bar covers the whole item.
    Canvas bar(220, height, kUntouched);
    Paint(*popup, item, ODS_SELECTED, bar);
    EXPECT_EQ(bar.At(0, 0), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(bar.At(219, height - 1), Sys(COLOR_HIGHLIGHT));
    EXPECT_GT(bar.Count(RECT{0, 0, 220, height}, Sys(COLOR_HIGHLIGHTTEXT)), 20);
    EXPECT_EQ(bar.Count(RECT{0, 0, 220, height}, text), 0);

    // The label starts right of the image column, the shortcut ends W
    // before the right edge.
    CBitmapMenuItem* add = ItemOf(m_menu, ID_EDIT_ADDFILES);
    Canvas plain(220, height, kUntouched);
    Paint(*popup, add, 0, plain);
    const auto [firstInk, lastInk] = plain.InkColumns(RECT{W + 6, 0, 220, height}, menu);
    EXPECT_GE(firstInk, W + 9);
    EXPECT_LE(firstInk, W + 9 + 2);
    EXPECT_LE(lastInk, 220 - W - 1);
    EXPECT_GE(lastInk, 220 - W - 3);

    // Greyed: embossed text, a highlight copy one pixel right and down under
    // the grey; greyed and selected, the menu colour on the bar.
    Canvas greyed(220, height, kUntouched);
    Paint(*popup, item, ODS_GRAYED, greyed);
    const RECT textArea{W + 9, 0, 220, height};
    EXPECT_EQ(greyed.Count(textArea, text), 0);
    EXPECT_GT(greyed.Count(textArea, Sys(COLOR_GRAYTEXT)), 20);
    EXPECT_GT(greyed.Count(textArea, light), 10);
    const int greyLast = greyed.InkColumns(textArea, menu).second;
    int lastGrey = -1, lastLight = -1;
    for (int x = textArea.left; x < textArea.right; ++x)
        for (int y = 0; y < height; ++y) {
            if (greyed.At(x, y) == Sys(COLOR_GRAYTEXT)) lastGrey = x;
            if (greyed.At(x, y) == light) lastLight = x;
        }
    EXPECT_EQ(lastLight, lastGrey + 1);
    EXPECT_EQ(greyLast, lastLight);
    Canvas greyedSelected(220, height, kUntouched);
    Paint(*popup, item, ODS_GRAYED | ODS_SELECTED, greyedSelected);
    EXPECT_GT(greyedSelected.Count(textArea, menu), 20);
    EXPECT_EQ(greyedSelected.Count(textArea, Sys(COLOR_GRAYTEXT)), 0);

    // A separator: half a line high, only the etched line through its middle.
    CBitmapMenuItem* separator = popup->m_Items[3].get();
    ASSERT_TRUE(separator->m_nFlags & MF_SEPARATOR);
    UINT separatorHeight = 0;
    Measure(*popup, separator, &separatorHeight);
    Canvas line(220, int(separatorHeight), kUntouched);
    Paint(*popup, separator, ODS_SELECTED, line);
    const int middle = int(separatorHeight) >> 1;
    for (int y = 0; y < int(separatorHeight); ++y) {
        const COLORREF expected = y == middle ? shadow : y == middle + 1 ? light : kUntouched;
        EXPECT_EQ(line.Count(RECT{0, y, 220, y + 1}, expected), 220) << "row " << y;
    }

    // Empty text: background and image cell only.
    CBitmapMenu loose;
    ASSERT_TRUE(loose.CreatePopupMenu());
    ASSERT_TRUE(loose.AppendOwnerDrawItem(L"", 0, 999, -1));
    Canvas empty(220, height, kUntouched);
    Paint(loose, loose.m_Items[0].get(), ODS_SELECTED, empty);
    EXPECT_EQ(empty.Count(RECT{0, 0, 220, height}, Sys(COLOR_HIGHLIGHT)), 220 * height);
}
