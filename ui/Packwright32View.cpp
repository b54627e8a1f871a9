#include "ui/Packwright32View.h"

#include <ole2.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "core/Packwright32Doc.h"
#include "framework/base/CodePage.h"
#include "framework/base/Report.h"
#include "res/resource.h"
#include "ui/ListSorter.h"

namespace {
const char* const kFormatInVpp = "In VPP at offset %s";
const char* const kFormatFile = "File at %s";

// format with its "%s" replaced by text: the same as FormatString without
// its cost, which counts when 65,536 rows are sorted by location.
std::string Substitute(const std::string& format, const std::string& text)
{
    std::string result = format;
    result.replace(result.find("%s"), 2, text);
    return result;
}
}  // namespace

CPackwright32Doc* CPackwright32View::GetDocument() const
{
    return dynamic_cast<CPackwright32Doc*>(CViewBase::GetDocument());
}

BOOL CPackwright32View::PreCreateWindow(CREATESTRUCTA& cs)
{
    // Rows are served on demand; a list of 65,536 real rows takes seconds to fill.
    cs.style |= LVS_OWNERDATA;
    return CListView::PreCreateWindow(cs);
}

void CPackwright32View::OnInitialUpdate()
{
    CListView::OnInitialUpdate();
    SetupColumns();
    // Files dropped on the list are added; only the first registration counts.
    if (!m_dropTarget.IsRegistered()) m_dropTarget.Register(this);
    // Copies opened from the archive shown before are not offered to this one.
    m_opened.Clear();
}

void CPackwright32View::OnDestroy()
{
    m_quickView.Close();
    // While the window still exists: the system lets go of the target.
    m_dropTarget.Revoke();
    CListView::OnDestroy();
}

LRESULT CPackwright32View::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ADD_DROPPED_FILES:
        return OnAddDroppedFiles();
    case WM_CHECK_OPENED_ENTRIES:
        CheckOpenedEntries();
        return 0;
    case WM_QUICKVIEW_FOLLOW:
        m_bQuickViewPending = false;
        if (m_quickView.IsOpen()) m_quickView.ShowEntry(GetDocument(), GetFocusedName());
        return 0;
    case WM_CONTEXTMENU:
        // The list's own; the header's clicks go their default way.
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) break;
        OnContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    default:
        break;
    }
    return CListView::WindowProc(message, wParam, lParam);
}

LRESULT CPackwright32View::OnAddDroppedFiles()
{
    CPackwright32Doc* doc = GetDocument();
    if (!doc) return 0;
    for (int i = 0; i < m_dropTarget.GetDroppedCount(); ++i)
        if (const std::optional<std::string> name = m_dropTarget.GetDroppedName(i)) doc->AddFile(*name);
    doc->UpdateAllViews(nullptr);
    return 0;
}

void CPackwright32View::SetupColumns()
{
    if (m_bColumnsReady) return;
    m_bColumnsReady = TRUE;
    ModifyStyle(0, LVS_REPORT | LVS_SHOWSELALWAYS);
    const CListCtrl list = GetListCtrl();
    ::SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, ~WPARAM(0) & 0xFFFFFFFF,
                   LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < 20; ++i) list.DeleteColumn(0);
    list.InsertColumn(0, "Filename", LVCFMT_LEFT, AfxScaleForScreen(160));
    list.InsertColumn(1, "Filesize", LVCFMT_RIGHT, AfxScaleForScreen(100));
    list.InsertColumn(2, "Location", LVCFMT_LEFT, AfxScaleForScreen(480));
}

void CPackwright32View::OnUpdate(CViewBase* pSender, intptr_t lHint, void* pHint)
{
    (void)pSender;
    (void)lHint;
    (void)pHint;
    SetupColumns();
    const CListCtrl list = GetListCtrl();
    struct Rebuilding {
        bool& b;
        ~Rebuilding() { b = false; }
    } rebuilding{m_bRebuilding = true};
    // Away with the rows, and with them the selection and any sort order.
    list.DeleteAllItems();
    m_rows.clear();
    if (const CPackwright32Doc* doc = GetDocument()) {
        m_rows.reserve(size_t(doc->GetEntryCount()));
        // Only the values: the texts are made when a row is drawn or sorted.
        for (int32_t i = 0; i < doc->GetEntryCount(); ++i) {
            const VPPEntry& entry = doc->GetEntry(i);
            m_rows.push_back(Row{entry.m_strName, entry.m_bInVPP ? std::string() : entry.m_strFilePath.str(), entry.m_nSize,
                                 entry.m_nOffset, entry.m_bInVPP != FALSE});
        }
    }
    list.SetItemCountEx(int(m_rows.size()), 0);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    // The entry shown may be removed or replaced now; another archive's
    // entry of the same name is not the one the user looked at.
    if (m_quickView.IsOpen()) {
        CPackwright32Doc* doc = GetDocument();
        const std::string archive = doc ? doc->GetPathName() : std::string();
        if (archive != m_quickViewArchive) {
            m_quickViewArchive = archive;
            m_quickView.ShowEntry(doc, {});
        } else {
            m_quickView.Refresh(doc);
        }
    }
}

std::string CPackwright32View::CellText(int nItem, int nSubItem) const
{
    if (nItem < 0 || size_t(nItem) >= m_rows.size()) return {};
    const Row& row = m_rows[size_t(nItem)];
    switch (nSubItem) {
    case 0: return row.name;
    case 1: return FormatGroupedNumber(row.size);
    case 2: return row.inVpp ? Substitute(kFormatInVpp, FormatGroupedNumber(row.offset)) : Substitute(kFormatFile, row.path);
    default: return {};
    }
}

int CPackwright32View::FindRow(const std::string& prefix, int nStart) const
{
    // Type-ahead: the next row whose name starts with what was typed.
    const std::string lowerPrefix = AnsiToLower(prefix);
    const int count = int(m_rows.size());
    for (int n = 0; n < count; ++n) {
        const int i = (nStart + n) % count;
        if (AnsiToLower(m_rows[size_t(i)].name.substr(0, prefix.size())) == lowerPrefix) return i;
    }
    return -1;
}

BOOL CPackwright32View::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_NOTIFY) return CListView::OnChildNotify(message, wParam, lParam, pResult);
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lParam)->item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
            lstrcpynA(item.pszText, CellText(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
        *pResult = 0;
        return TRUE;
    }
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
            const std::string text = CellText(item.iItem, item.iSubItem);
            if (!::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, item.pszText, item.cchTextMax))
                item.pszText[item.cchTextMax - 1] = L'\0';
        }
        *pResult = 0;
        return TRUE;
    }
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<NMLISTVIEW*>(lParam), pResult);
        return TRUE;
    case LVN_DELETEALLITEMS:
        // No notice per row: a rebuild would otherwise hear of 65,536 deletions.
        *pResult = TRUE;
        return TRUE;
    case LVN_KEYDOWN:
        // As Enter opens, F3 shows: the list's own key, no accelerator.
        if (reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_F3) OnQuickView();
        *pResult = 0;
        return TRUE;
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        // Moving through the rows sends a change per step: the quick view
        // reads only once they are done.
        if (m_quickView.IsOpen() && !m_bQuickViewPending && !m_bRebuilding && (change->uChanged & LVIF_STATE) &&
            ((change->uNewState ^ change->uOldState) & LVIS_FOCUSED)) {
            m_bQuickViewPending = true;
            PostMessage(WM_QUICKVIEW_FOLLOW);
        }
        *pResult = 0;
        return TRUE;
    }
    case LVN_BEGINDRAG:
        OnBeginDrag();
        *pResult = 0;
        return TRUE;
    case NM_DBLCLK:
        // On a row: it is the selection now; Open decides whether it opens.
        if (reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem < 0) return FALSE;
        [[fallthrough]];
    case NM_RETURN:
        ::SendMessageA(::GetAncestor(m_hWnd, GA_ROOT), WM_COMMAND, ID_EDIT_OPENENTRY, 0);
        *pResult = 0;
        return TRUE;
    case LVN_ODFINDITEMA: {
        const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(lParam);
        *pResult = (find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz
                       ? FindRow(find->lvfi.psz, find->iStart)
                       : -1;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void CPackwright32View::OnColumnClick(NMLISTVIEW* pNMListView, LRESULT* pResult)
{
    const int column = pNMListView->iSubItem;
    // The texts the rows show, taken from the rows rather than asked of the
    // control one message at a time.
    CListSorter sorter(int(m_rows.size()), [this, column](int row) { return CellText(row, column); });
    sorter.Sort();
    ReorderRows(sorter.GetOrder());
    *pResult = 0;
}

void CPackwright32View::ReorderRows(const std::vector<int>& order)
{
    if (order.size() != m_rows.size() || order.empty()) return;
    const CListCtrl list = GetListCtrl();
    const int count = int(order.size());
    // The control keeps the states of a virtual list's rows by position.
    const int selected = GetSelectedCount();
    const int focused = list.GetNextItem(-1, LVNI_FOCUSED);
    std::vector<bool> wasSelected;
    if (selected > 0 && selected < count) {  // none or all: nothing moves
        wasSelected.assign(size_t(count), false);
        for (int i = list.GetNextItem(-1, LVNI_SELECTED); i != -1; i = list.GetNextItem(i, LVNI_SELECTED))
            wasSelected[size_t(i)] = true;
    }

    std::vector<Row> rows;
    rows.reserve(m_rows.size());
    for (const int from : order) rows.push_back(std::move(m_rows[size_t(from)]));
    m_rows.swap(rows);

    SendMessage(WM_SETREDRAW, FALSE);
    // Each state set is a call with two notifications. Few changes (none
    // when the same column is sorted again) are made where they are; more
    // go faster as one clearing and the selected rows set top to bottom:
    // the list keeps them as appended ranges, where a change amid its
    // ranges moves the ranges after it (about three times the cost).
    const size_t fewChanges = size_t(selected) / 4;
    std::vector<int> changed;
    for (size_t i = 0; i < wasSelected.size() && changed.size() <= fewChanges; ++i)
        if (wasSelected[size_t(order[i])] != wasSelected[i]) changed.push_back(int(i));
    if (changed.size() <= fewChanges) {
        for (const int i : changed)
            list.SetItemState(i, wasSelected[size_t(order[size_t(i)])] ? LVIS_SELECTED : 0, LVIS_SELECTED);
    } else {
        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int i = 0; i < count; ++i)
            if (wasSelected[size_t(order[size_t(i)])]) list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focused >= 0)
        for (int i = 0; i < count; ++i)
            if (order[size_t(i)] == focused) list.SetItemState(i, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

std::string CPackwright32View::GetFocusedName() const
{
    const int focused = GetListCtrl().GetNextItem(-1, LVNI_FOCUSED);
    return focused >= 0 && size_t(focused) < m_rows.size() ? m_rows[size_t(focused)].name : std::string();
}

void CPackwright32View::OnQuickView()
{
    if (m_quickView.IsOpen()) {
        m_quickView.Close();
        return;
    }
    CWnd* frame = FromHandlePermanent(::GetAncestor(m_hWnd, GA_ROOT));
    if (!frame || !m_quickView.Open(frame)) return;
    CPackwright32Doc* doc = GetDocument();
    m_quickViewArchive = doc ? doc->GetPathName() : std::string();
    m_quickView.ShowEntry(doc, GetFocusedName());
}

std::vector<std::string> CPackwright32View::GetSelectedNames() const
{
    std::vector<std::string> names;
    const int selected = GetSelectedCount();
    names.reserve(size_t(std::max(selected, 0)));
    if (size_t(selected) == m_rows.size()) {
        // Every row: no message per row to find them.
        for (const Row& row : m_rows) names.push_back(row.name);
        return names;
    }
    const CListCtrl list = GetListCtrl();
    for (int i = list.GetNextItem(-1, LVNI_SELECTED); i != -1; i = list.GetNextItem(i, LVNI_SELECTED))
        if (size_t(i) < m_rows.size()) names.push_back(m_rows[size_t(i)].name);
    return names;
}

int CPackwright32View::GetSelectedCount() const
{
    // The list keeps the count: no walk over the rows (65,536 of them are
    // asked for at every refresh of the command states).
    return int(SendMessage(LVM_GETSELECTEDCOUNT));
}

std::string CPackwright32View::FormatGroupedNumber(int32_t value)
{
    // Digits grouped by dots and right-aligned in 12 places; each place left
    // blank becomes two spaces, about as wide as a digit in the list's font.
    // Written backwards into a fixed buffer: 65,536 rows are formatted twice
    // at every rebuild.
    char digits[16];
    int count = 0;
    auto magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
    do {
        if (count % 4 == 3) digits[count++] = '.';
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[count++] = '-';
    std::string result(size_t(2 * std::max(0, 12 - count)), ' ');
    while (count > 0) result += digits[--count];
    return result;
}
