#pragma once
// One sort of the file list by the text a column shows: ascending, without
// regard to case, by the C runtime's multibyte comparison (so "_" comes
// before letters, and padded sizes sort by value). The list is virtual and
// cannot reorder its rows itself: the sorter reads the keys through the
// control and gives the new order, which the view applies to its rows.

#include <string>
#include <vector>

#include "framework/win32/View.h"

class CListSorter {
public:
    CListSorter(const CListCtrl& list, int nColumn);

    // Sorts ascending; rows of equal keys keep their order.
    void Sort();
    // After Sort: GetOrder()[i] is the row that goes to position i.
    const std::vector<int>& GetOrder() const { return m_order; }

    // <0, 0 or >0 as a sorts before, with or after b.
    static int CompareKeys(const std::string& a, const std::string& b);

private:
    std::vector<std::string> m_keys;
    std::vector<int> m_order;
};
