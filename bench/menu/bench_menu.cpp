// Figures for the menus under Wine: opening the File and Edit popups with
// the owner-drawn menu and with the plain menu of the same resource, from
// the keyboard command to the first idle moment of the menu loop (the
// popup is shown and painted by then); and the share of that time spent
// measuring and painting the items, which recreate the menu font and
// reload the disabled images at every call. Prints one line per figure;
// nothing here passes or fails.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/Packwright32App.h"
#include "res/resource.h"
#include "ui/MainFrame.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point g_idleAt;
bool g_idleSeen = false;
WNDPROC g_frameProc = nullptr;

// Notes the menu loop's first idle moment and closes the menu there.
LRESULT CALLBACK WatchMenuLoop(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU && !g_idleSeen) {
        g_idleAt = Clock::now();
        g_idleSeen = true;
        ::EndMenu();
    }
    return ::CallWindowProcA(g_frameProc, hWnd, message, wParam, lParam);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Opens the popup of the menu-bar key `key` `rounds` times; the median and
// the largest time in ms.
std::pair<double, double> OpenPopup(HWND main, char key, int rounds)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        g_idleSeen = false;
        const auto start = Clock::now();
        ::SendMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, key);
        if (g_idleSeen) times.push_back(Ms(g_idleAt - start));
        Pump();
    }
    if (times.empty()) return {-1, -1};
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

void PrintOpen(const char* what, std::pair<double, double> t)
{
    std::printf("%s: %.2f ms median, %.2f ms at most\n", what, t.first, t.second);
    std::fflush(stdout);
}

// Measures and paints every item of a popup as an opening does; ms per opening.
double MeasureAndPaint(CBitmapMenu& popup, UINT greyedState, int rounds)
{
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 300, 20);
    const HGDIOBJ old = ::SelectObject(dc, bitmap);
    const auto start = Clock::now();
    for (int r = 0; r < rounds; ++r) {
        for (const auto& item : popup.m_Items) {
            MEASUREITEMSTRUCT mis{ODT_MENU, 0, UINT(item->m_nID), 0, 0, reinterpret_cast<ULONG_PTR>(item.get())};
            popup.MeasureItem(&mis);
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_MENU;
            dis.itemID = UINT(item->m_nID);
            dis.itemState = item->HasImage() ? greyedState : 0;
            dis.hwndItem = reinterpret_cast<HWND>(popup.m_hMenu);
            dis.hDC = dc;
            dis.rcItem = RECT{0, 0, 300, int(mis.itemHeight)};
            dis.itemData = reinterpret_cast<ULONG_PTR>(item.get());
            popup.DrawItem(&dis);
        }
    }
    const double ms = Ms(Clock::now() - start) / rounds;
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return ms;
}

}  // namespace

int main()
{
    CPackwright32App app;
    app.m_args = std::vector<std::string>{};
    app.m_nCmdShow = SW_SHOW;
    app.m_dwSplashPause = 0;
    if (!app.InitInstance()) return 1;
    Pump();
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    const HWND main = frame->m_hWnd;
    ::SetForegroundWindow(main);
    g_frameProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchMenuLoop)));

    const int rounds = 40;
    OpenPopup(main, 'f', 3);  // warm-up: fonts and the popup window class
    PrintOpen("open File popup, owner-drawn menu", OpenPopup(main, 'f', rounds));
    PrintOpen("open Edit popup, owner-drawn menu", OpenPopup(main, 'e', rounds));

    const HMENU bitmapMenu = ::GetMenu(main);
    const HMENU plain = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ::SetMenu(main, plain);
    OpenPopup(main, 'f', 3);
    PrintOpen("open File popup, plain menu", OpenPopup(main, 'f', rounds));
    PrintOpen("open Edit popup, plain menu", OpenPopup(main, 'e', rounds));
    ::SetMenu(main, bitmapMenu);
    ::DestroyMenu(plain);

    // The items' own work, apart from the menu loop.
    auto* file = dynamic_cast<CBitmapMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(bitmapMenu, 0)));
    auto* edit = dynamic_cast<CBitmapMenu*>(CMenu::FromHandlePermanent(::GetSubMenu(bitmapMenu, 1)));
    if (file && edit) {
        std::printf("measure and paint the 8 File items: %.3f ms\n", MeasureAndPaint(*file, 0, 200));
        std::printf("measure and paint the 5 Edit items, 3 greyed images: %.3f ms\n",
                    MeasureAndPaint(*edit, ODS_GRAYED, 200));
    }

    ::SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_frameProc));
    ::DestroyWindow(main);
    Pump();
    return 0;
}
