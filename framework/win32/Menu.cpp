#include "framework/win32/Menu.h"

#include <unordered_map>

#include "framework/win32/Wnd.h"

namespace {
std::unordered_map<HMENU, CMenu*>& MenuMap()
{
    static std::unordered_map<HMENU, CMenu*> map;
    return map;
}

// Whether the item at nPos of hMenu carries this command id and item data.
bool HoldsItem(HMENU hMenu, int nPos, UINT nID, ULONG_PTR data)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
    return ::GetMenuItemInfoW(hMenu, UINT(nPos), TRUE, &info) && !info.hSubMenu && info.wID == nID &&
           info.dwItemData == data;
}

// The attached popup, at any depth below hMenu (hMenu included), that
// holds the item.
CMenu* FindPopupHolding(HMENU hMenu, UINT nID, ULONG_PTR data)
{
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = ::GetSubMenu(hMenu, i)) {
            if (CMenu* found = FindPopupHolding(sub, nID, data)) return found;
        } else if (HoldsItem(hMenu, i, nID, data)) {
            if (CMenu* menu = CMenu::FromHandlePermanent(hMenu)) return menu;
        }
    }
    return nullptr;
}
}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandlePermanent(HMENU hMenu)
{
    if (!hMenu) return nullptr;
    const auto it = MenuMap().find(hMenu);
    return it == MenuMap().end() ? nullptr : it->second;
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu) return FALSE;
    m_hMenu = hMenu;
    MenuMap()[hMenu] = this;
    return TRUE;
}

HMENU CMenu::Detach()
{
    const HMENU hMenu = m_hMenu;
    if (hMenu) {
        const auto it = MenuMap().find(hMenu);
        if (it != MenuMap().end() && it->second == this) MenuMap().erase(it);
    }
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    return !m_hMenu && Attach(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CMenu::DestroyMenu()
{
    if (!m_hMenu) return FALSE;
    // A popup of a window's menu bar may already have gone with the window.
    const HMENU hMenu = Detach();
    return ::IsMenu(hMenu) && ::DestroyMenu(hMenu);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const RECT* lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}

void CMenu::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) { (void)lpDrawItemStruct; }

void CMenu::MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) { (void)lpMeasureItemStruct; }

BOOL CMenu::RouteMeasureItem(HWND hWnd, MEASUREITEMSTRUCT* mis)
{
    CMenu* menu = nullptr;
    // A child window's "menu" is its id.
    if (!(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
        if (HMENU bar = ::GetMenu(hWnd)) menu = FindPopupHolding(bar, mis->itemID, mis->itemData);
    // A context menu tracked for this window is not part of its menu bar.
    for (auto it = MenuMap().begin(); !menu && it != MenuMap().end(); ++it)
        for (int i = 0, n = ::GetMenuItemCount(it->first); !menu && i < n; ++i)
            if (HoldsItem(it->first, i, mis->itemID, mis->itemData)) menu = it->second;
    if (!menu) return FALSE;
    menu->MeasureItem(mis);
    return TRUE;
}

BOOL CMenu::RouteDrawItem(DRAWITEMSTRUCT* dis)
{
    CMenu* menu = FromHandlePermanent(reinterpret_cast<HMENU>(dis->hwndItem));
    if (!menu) return FALSE;
    menu->DrawItem(dis);
    return TRUE;
}
