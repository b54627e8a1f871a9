#pragma once
// One position of an owner-drawn menu: what the item shows and the image
// list it draws its image from.

#include <windows.h>

#include <memory>
#include <string>

#include "framework/win32/ImageList.h"

class CBitmapMenuItem {
public:
    // The text held wide; empty means none. Label, then for a shortcut a tab
    // and the shortcut ("A&dd file(s)\tIns").
    std::wstring m_szText;
    int m_nImageIndex = -1;   // in m_pImageList; -1 for none
    int m_nImageSource = -1;  // toolbar resource of the image; -1 for none
    UINT m_nFlags = 0;        // the flags the item was last appended or modified with
    UINT_PTR m_nID = 0;       // command id, or the popup's handle
    std::unique_ptr<CImageList> m_pImageList;

    bool HasImage() const { return m_nImageSource != -1; }
};
