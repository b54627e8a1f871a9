#pragma once
// An image list of the common controls, destroyed with its object.

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    // Replaces a list already held.
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL DeleteImageList();
    // Every cell of the bitmap as one image; pixels of crMask are transparent.
    // The index of the first image added, or -1.
    int Add(HBITMAP hbmImage, COLORREF crMask);
    // Image nImage, or all of them with -1.
    BOOL Remove(int nImage);
    int GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }
    BOOL Draw(HDC hDC, int nImage, POINT pt, UINT nStyle) const;
};
