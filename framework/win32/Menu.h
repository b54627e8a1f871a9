#pragma once
// A C++ object over a menu handle. Objects attached with Attach stay in a
// permanent handle map until detached, so the owner-draw messages of a
// window (WM_MEASUREITEM, WM_DRAWITEM for ODT_MENU) reach the object of the
// popup that holds the item: CWnd's default handling routes them here.

#include <windows.h>

class CWnd;

class CMenu {
public:
    CMenu() = default;
    // Destroys the menu still attached.
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // The object attached to hMenu, or nullptr.
    static CMenu* FromHandlePermanent(HMENU hMenu);

    BOOL Attach(HMENU hMenu);
    // Forgets the handle (which stays alive) and takes it out of the map.
    HMENU Detach();
    // These three fail on an object that already holds a menu.
    BOOL CreateMenu() { return !m_hMenu && Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return !m_hMenu && Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();

    // The attached object of the popup at nPos, or nullptr.
    CMenu* GetSubMenu(int nPos) const { return FromHandlePermanent(::GetSubMenu(m_hMenu, nPos)); }
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* lpRect = nullptr);

    // Owner-drawn items of this menu; the defaults do nothing.
    virtual void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct);
    virtual void MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct);
    // The frame has run the command-state handlers of this popup, which may
    // have inserted or renamed items, and is about to show it.
    virtual void OnCmdUIUpdated() {}

    // WM_MEASUREITEM of a menu item sent to hWnd: finds the attached popup
    // holding the item (id and item data), in hWnd's menu first, then in any
    // other attached menu (a tracked context menu). FALSE when none is found.
    static BOOL RouteMeasureItem(HWND hWnd, MEASUREITEMSTRUCT* lpMeasureItemStruct);
    // WM_DRAWITEM of a menu item: the message names the popup's handle.
    static BOOL RouteDrawItem(DRAWITEMSTRUCT* lpDrawItemStruct);
};
