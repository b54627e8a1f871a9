#include "framework/win32/ImageList.h"

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList) return FALSE;
    ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return TRUE;
}

int CImageList::Add(HBITMAP hbmImage, COLORREF crMask)
{
    return m_hImageList ? ImageList_AddMasked(m_hImageList, hbmImage, crMask) : -1;
}

BOOL CImageList::Remove(int nImage) { return m_hImageList && ImageList_Remove(m_hImageList, nImage); }

BOOL CImageList::Draw(HDC hDC, int nImage, POINT pt, UINT nStyle) const
{
    return m_hImageList && ImageList_Draw(m_hImageList, nImage, hDC, pt.x, pt.y, nStyle);
}
