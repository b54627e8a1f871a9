#include "framework/win32/View.h"

#include <vector>

#include "framework/win32/Handles.h"

BOOL CView::Create(CWnd* pParent, UINT nID)
{
    const RECT rect{0, 0, 0, 0};
    return CreateEx(WS_EX_CLIENTEDGE, GetClassName(), nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, rect, pParent, nID);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CWnd::PreCreateWindow(cs);
}

const char* CView::GetClassName()
{
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CViewBase* pSender, intptr_t lHint, void* pHint)
{
    (void)pSender;
    (void)lHint;
    (void)pHint;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY && GetDocument()) GetDocument()->RemoveView(this);
    if (message == WM_PAINT && !m_pfnSuper) {
        const CScopedPaintDC dc(m_hWnd);
        OnDraw(dc.Get());
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

int CListCtrl::InsertColumn(int nCol, const char* heading, int nFormat, int nWidth) const
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = nFormat;
    column.cx = nWidth;
    column.pszText = const_cast<char*>(heading);
    column.iSubItem = nCol;
    return int(::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, WPARAM(nCol), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::GetColumnCount() const
{
    const HWND header = ListView_GetHeader(m_hWnd);
    return header ? Header_GetItemCount(header) : 0;
}

std::string CListCtrl::GetColumnHeading(int nCol) const
{
    char buffer[256] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = sizeof buffer;
    if (!::SendMessageA(m_hWnd, LVM_GETCOLUMNA, WPARAM(nCol), reinterpret_cast<LPARAM>(&column))) return {};
    return buffer;
}

int CListCtrl::GetColumnFormat(int nCol) const
{
    LVCOLUMNA column{};
    column.mask = LVCF_FMT;
    if (!::SendMessageA(m_hWnd, LVM_GETCOLUMNA, WPARAM(nCol), reinterpret_cast<LPARAM>(&column))) return -1;
    return column.fmt;
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // Grow the buffer until the text fits: paths can be long.
    std::vector<char> buffer(256);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = nSubItem;
        item.pszText = buffer.data();
        item.cchTextMax = int(buffer.size());
        const LRESULT length = ::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, WPARAM(nItem), reinterpret_cast<LPARAM>(&item));
        if (size_t(length) + 1 < buffer.size()) return std::string(buffer.data(), size_t(length));
        if (buffer.size() >= 65536) return std::string(buffer.data(), size_t(length));
        buffer.resize(buffer.size() * 4);
    }
}

void CListCtrl::SetItemCountEx(int nItems, DWORD dwFlags) const
{
    ::SendMessageA(m_hWnd, LVM_SETITEMCOUNT, WPARAM(nItems), LPARAM(dwFlags));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) const
{
    LVITEMA item{};
    item.state = nState;
    item.stateMask = nMask;
    return BOOL(::SendMessageA(m_hWnd, LVM_SETITEMSTATE, WPARAM(nItem), reinterpret_cast<LPARAM>(&item)));
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) const
{
    return DWORD(::SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LPARAM(dwNewStyle)));
}
