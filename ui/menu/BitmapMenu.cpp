// The owner-drawn tree: building it from a menu resource, the shortcut
// column, adopting items other code puts in, and freeing it.

#include "ui/menu/BitmapMenu.h"

#include <algorithm>
#include <utility>

#include "ui/menu/MenuMetrics.h"


int GetPlatformCode()
{
    const DWORD version = ::GetVersion();
    if (version & 0x80000000u) return LOBYTE(LOWORD(version)) < 4 ? 0 : 1;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // the 148-byte form
    if (!::GetVersionExA(&info) || info.dwMajorVersion < 4) return 2;
    return 3;
}

CBitmapMenu::CBitmapMenu() = default;

CBitmapMenu::~CBitmapMenu() { DestroyMenu(); }

BOOL CBitmapMenu::DestroyMenu()
{
    while (!m_SubMenus.empty()) m_SubMenus.pop_back();  // last first, each with its own handle
    m_Items.clear();
    return CMenu::DestroyMenu();
}

BOOL CBitmapMenu::LoadWithImages(UINT nIDMenu, UINT nIDToolBar)
{
    if (!LoadMenu(nIDMenu)) return FALSE;
    AttachToolbarImages(nIDToolBar);
    return TRUE;
}

void CBitmapMenu::SetOwnerDraw(int nPos, const CBitmapMenuItem& item, bool bResetState)
{
    // The text stays the item's string as well: GetMenuString, keyboard
    // mnemonics and accessibility read it there.
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | (item.m_szText.empty() ? 0 : MIIM_STRING) | (bResetState ? MIIM_STATE : 0);
    info.fType = MFT_OWNERDRAW | ((item.m_nFlags & MF_SEPARATOR) ? MFT_SEPARATOR : 0);
    info.fState = MFS_ENABLED | MFS_UNCHECKED;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    info.dwTypeData = const_cast<wchar_t*>(item.m_szText.c_str());
    ::SetMenuItemInfoW(m_hMenu, UINT(nPos), TRUE, &info);
}

BOOL CBitmapMenu::AppendOwnerDrawItem(const wchar_t* lpszText, UINT nFlags, UINT_PTR nID, int nImageSource)
{
    if (nID == 0)
        nFlags = MF_SEPARATOR | MF_OWNERDRAW;
    else
        nFlags |= MF_OWNERDRAW;
    auto& item = *m_Items.emplace_back(std::make_unique<CBitmapMenuItem>());
    if (lpszText) item.m_szText = lpszText;
    item.m_nImageSource = nImageSource;
    item.m_nImageIndex = -1;
    item.m_nFlags = nFlags;
    item.m_nID = nID;
    if (!::AppendMenuW(m_hMenu, nFlags, nID, reinterpret_cast<const wchar_t*>(&item))) {
        m_Items.pop_back();
        return FALSE;
    }
    if (!item.m_szText.empty()) SetOwnerDraw(::GetMenuItemCount(m_hMenu) - 1, item, false);
    return TRUE;
}

BOOL CBitmapMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource & 0xFFFF)); }

BOOL CBitmapMenu::LoadMenu(const char* lpszResourceName)
{
    const HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    const HRSRC hRes = ::FindResourceA(hInst, lpszResourceName, MAKEINTRESOURCEA(4) /* RT_MENU */);
    const HGLOBAL hGlobal = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const auto* data = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    if (!data || !CreateMenu()) return FALSE;
    const size_t size = ::SizeofResource(hInst, hRes);

    // Every read is checked against the resource's size: a cut template
    // ends the tree where it ends.
    size_t pos = 0;
    auto readWord = [&](WORD& w) {
        if (pos + 2 > size) return false;
        w = WORD(data[pos] | (data[pos + 1] << 8));
        pos += 2;
        return true;
    };
    auto readText = [&](std::wstring& text) {
        text.clear();
        for (WORD c; readWord(c);) {
            if (c == 0) return true;
            text += wchar_t(c);
        }
        return false;
    };
    WORD version = 0, offset = 0;
    if (!readWord(version) || !readWord(offset)) return TRUE;
    pos += offset;

    // The menus being filled, innermost last, each with its finished mark.
    std::vector<std::pair<CBitmapMenu*, bool>> levels{{this, false}};
    while (!levels.empty()) {
        WORD flags = 0, id = 0;
        std::wstring text;
        if (!readWord(flags) || (!(flags & MF_POPUP) && !readWord(id)) || !readText(text)) break;
        const UINT itemFlags = flags & ~UINT(MF_END);
        if (flags & MF_POPUP) {
            if (flags & MF_END) levels.back().second = true;
            auto popup = std::make_unique<CBitmapMenu>();
            popup->m_nPlatformCode = m_nPlatformCode;
            if (!popup->CreatePopupMenu()) break;
            levels.back().first->AppendOwnerDrawItem(text.c_str(), itemFlags,
                                                     reinterpret_cast<UINT_PTR>(popup->m_hMenu), -1);
            levels.emplace_back(popup.get(), false);
            m_SubMenus.push_back(std::move(popup));
        } else {
            levels.back().first->AppendOwnerDrawItem(text.c_str(), itemFlags, id, -1);
            if (flags & MF_END) levels.back().second = true;
            while (!levels.empty() && levels.back().second) {
                levels.back().first->AlignShortcutColumn();
                levels.pop_back();
            }
        }
    }

    // The menu bar's own items are drawn by the system.
    for (int i = 0; i < int(m_Items.size()) && i < ::GetMenuItemCount(m_hMenu); ++i) {
        CBitmapMenuItem& item = *m_Items[size_t(i)];
        if (const HMENU popup = ::GetSubMenu(m_hMenu, i)) {
            item.m_nFlags = MF_BYPOSITION | MF_POPUP;
            ::ModifyMenuW(m_hMenu, UINT(i), MF_BYPOSITION | MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                          item.m_szText.c_str());
        } else {
            item.m_nFlags = MF_BYPOSITION | MF_STRING;
            ::ModifyMenuW(m_hMenu, UINT(i), MF_BYPOSITION | MF_STRING, item.m_nID, item.m_szText.c_str());
        }
    }
    return TRUE;
}

void CBitmapMenu::AlignShortcutColumn()
{
    const CScopedFont font = CreateMenuFont();
    const CScopedClientDC dc(MeasuringWindow());
    const CScopedSelectObject selected(dc.Get(), font.Get());
    auto widthOf = [&](const std::wstring& text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &size);
        return size.cx;
    };

    LONG widest = -1;
    for (const auto& item : m_Items)
        widest = std::max(widest, widthOf(item->m_szText.substr(0, item->m_szText.find(L'\t')) + L' '));
    for (size_t i = 0; i < m_Items.size(); ++i) {
        CBitmapMenuItem& item = *m_Items[i];
        const size_t tab = item.m_szText.find(L'\t');
        if (tab == std::wstring::npos) continue;
        std::wstring label = item.m_szText.substr(0, tab);
        while (widthOf(label) < widest) label += L' ';
        item.m_szText = label + item.m_szText.substr(tab);
        SetOwnerDraw(int(i), item, false);
    }
}

void CBitmapMenu::OnCmdUIUpdated()
{
    // Items that other code inserted (plain strings) or renamed (the
    // recent-file list does both) become owner-drawn records again; records
    // of items that went are freed. The state (greyed) stays the item's.
    std::vector<std::unique_ptr<CBitmapMenuItem>> items;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
        if (!::GetMenuItemInfoW(m_hMenu, UINT(i), TRUE, &info)) return;
        std::wstring text(info.cch, L'\0');
        if (info.cch) {
            info.cch += 1;
            std::wstring buffer(info.cch, L'\0');
            info.dwTypeData = buffer.data();
            ::GetMenuItemInfoW(m_hMenu, UINT(i), TRUE, &info);
            text = buffer.c_str();
        }
        const auto own = std::find_if(m_Items.begin(), m_Items.end(), [&](const auto& item) {
            return item && (info.fType & MFT_OWNERDRAW) && reinterpret_cast<ULONG_PTR>(item.get()) == info.dwItemData;
        });
        if (own != m_Items.end()) {
            CBitmapMenuItem& item = **own;
            // A system that kept no string for an owner-drawn item answers
            // with none: the record's text stands then.
            if (!(item.m_nFlags & MF_SEPARATOR) && !text.empty() && text != item.m_szText) item.m_szText = text;
            items.push_back(std::move(*own));
            continue;
        }
        auto& item = *items.emplace_back(std::make_unique<CBitmapMenuItem>());
        item.m_szText = text;
        item.m_nFlags = MF_OWNERDRAW | ((info.fType & MFT_SEPARATOR) ? MF_SEPARATOR : 0) | (info.hSubMenu ? MF_POPUP : 0);
        item.m_nID = info.hSubMenu ? reinterpret_cast<UINT_PTR>(info.hSubMenu) : info.wID;
        SetOwnerDraw(i, item, false);
    }
    m_Items = std::move(items);
}
