#include "ui/ContextMenu.h"

#include "framework/win32/Handles.h"
#include "res/resource.h"

void TrackListContextMenu(HWND hOwner, POINT screenPoint)
{
    // Made here from the resource and nowhere else, so that the bitmap
    // menu's look can be given to it in this one place.
    const CScopedMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LISTCONTEXT)));
    const HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup) return;
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0, hOwner,
                     nullptr);
}
