#include "ui/ContextMenu.h"

#include "framework/win32/Wnd.h"
#include "res/resource.h"
#include "ui/menu/BitmapMenu.h"

UINT MenuImagesForScreen() { return AfxChooseForScreen(IDR_MENUIMAGES, IDR_MENUIMAGES150, IDR_MENUIMAGES200); }

void TrackListContextMenu(HWND hOwner, POINT screenPoint)
{
    // Owner-drawn like the main menu, with the small toolbar's images; it
    // lives until the menu is closed, while the owner's drawing reaches it.
    CBitmapMenu menu;
    if (!menu.LoadWithImages(IDR_LISTCONTEXT, MenuImagesForScreen())) return;
    const CMenu* popup = menu.GetSubMenu(0);
    if (!popup) return;
    ::TrackPopupMenu(popup->GetSafeHmenu(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPoint.x,
                     screenPoint.y, 0, hOwner, nullptr);
}
