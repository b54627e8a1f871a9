#pragma once
// Owner-drawn menus: a menu resource rebuilt as items that show the images
// of a toolbar beside their commands, drawn check boxes, embossed disabled
// images and a shortcut column. One object per menu handle: the root (the
// menu bar, or a context menu's container) owns the objects of all its
// popups; the menu bar's own items stay the system's.
//
// A context menu gets the same look with
//     CBitmapMenu menu;
//     menu.LoadWithImages(IDR_SOMEMENU, IDR_MENUIMAGES);
//     menu.GetSubMenu(0)->TrackPopupMenu(TPM_RIGHTBUTTON, x, y, pWnd);
// while menu lives; any window of the framework routes the owner-draw
// messages to it.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/win32/Handles.h"
#include "framework/win32/ImageList.h"
#include "framework/win32/Menu.h"
#include "ui/menu/BitmapMenuItem.h"

// How the system draws, from its version: 0 old 16-bit shells, 1 the
// Windows 95 family, 2 old NT, 3 NT 4 and later.
int GetPlatformCode();

class CBitmapMenu : public CMenu {
public:
    CBitmapMenu();
    ~CBitmapMenu() override;

    void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) override;
    void MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) override;
    void OnCmdUIUpdated() override;

    // Builds the owner-drawn tree from a menu resource of the program. Once,
    // on an object that holds no menu yet.
    virtual BOOL LoadMenu(UINT nIDResource);
    virtual BOOL LoadMenu(const char* lpszResourceName);
    // Frees the popup objects, the records and the handle still held.
    virtual BOOL DestroyMenu();
    // LoadMenu, then the toolbar's images.
    BOOL LoadWithImages(UINT nIDMenu, UINT nIDToolBar);

    BOOL AppendOwnerDrawItem(const wchar_t* lpszText, UINT nFlags, UINT_PTR nID, int nImageSource);
    // Pads the labels that have a shortcut to one width, so the shortcuts
    // start in one column.
    void AlignShortcutColumn();

    // Gives every command of the toolbar resource that this menu holds its
    // image. FALSE when the toolbar resource cannot be read.
    BOOL AttachToolbarImages(UINT nIDToolBar);
    // Gives the item of one command the image of the toolbar nImageSource
    // (and a new text, when one is given).
    void SetItemImage(const wchar_t* lpszText, UINT nID, int nImageSource);
    // The object (this one or a popup at any depth) holding the command and
    // its position there; nullptr and -1 when none does.
    CBitmapMenu* FindItemByCommand(UINT nID, int& nPosition);
    // The command's image index on the toolbar, stored when above 0.
    static BOOL FindToolbarImageIndex(UINT nID, UINT nIDToolBar, int& nImageIndex);
    // Appends all images of a toolbar bitmap; the first index, or -1.
    static int AddToolbarImages(CImageList& list, UINT nIDBitmap);
    // The bitmap with black, the greys and white in the current button colours.
    // For the disabled look, light inks also become the highlight colour, so
    // that only lines and dark fills are embossed, not whole coloured areas.
    static CScopedBitmap LoadMenuBitmap(UINT nIDBitmap, bool bDisabledLook = false);
    // One image of source in the disabled (embossed) look.
    void DrawDisabledImage(HDC hDC, int x, int y, int cx, int cy, HBITMAP hSource, int sx, int sy) const;

    void DrawCheckBox(HDC hDC, const RECT& box, BOOL bSelected, BOOL bRadio) const;
    // nUnit: the size of one of the drawing's pixels on the screen.
    static void DrawCheckMark(HDC hDC, int x, int y, COLORREF color, int nUnit = 1);
    static void DrawRadioDot(HDC hDC, int x, int y, COLORREF color, int nUnit = 1);

    std::vector<std::unique_ptr<CBitmapMenuItem>> m_Items;  // one per position
    std::vector<std::unique_ptr<CBitmapMenu>> m_SubMenus;   // every popup, in the root only
    // The image cell of every item: the attached toolbar's image size (the
    // 16x15 strip at 100%, larger ones at higher text scales).
    int m_nImageWidth = 16;
    int m_nImageHeight = 15;
    // The look the items are measured and drawn in, a GetPlatformCode()
    // value: the system's unless set. Popups that LoadMenu builds take the
    // root's.
    int m_nPlatformCode = GetPlatformCode();
    // Raised frames and the three-dimensional look (codes 1 and 3).
    BOOL IsNewShell() const { return m_nPlatformCode == 1 || m_nPlatformCode == 3; }

private:
    // Puts the item at nPos into the owner-drawn form: its text kept as the
    // item's string too, the record as its data.
    void SetOwnerDraw(int nPos, const CBitmapMenuItem& item, bool bResetState);
};
