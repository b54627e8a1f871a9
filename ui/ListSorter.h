#pragma once
// One sort of the file list by the text a column shows: ascending, without
// regard to case, by the C runtime's multibyte comparison (so "_" comes
// before letters, and padded sizes sort by value). The list is virtual and
// cannot reorder its rows itself: the view hands over the texts and applies
// the order given.

#include <functional>
#include <string>
#include <vector>

class CListSorter {
public:
    // The keys of rows 0 to count-1, taken once.
    CListSorter(int count, const std::function<std::string(int)>& key);

    // Sorts ascending; rows of equal keys keep their order.
    void Sort();
    // After Sort: GetOrder()[i] is the row that goes to position i.
    const std::vector<int>& GetOrder() const { return m_order; }

    // <0, 0 or >0 as a sorts before, with or after b.
    static int CompareKeys(const std::string& a, const std::string& b);

private:
    // In a single-byte code page every key is stored as the ranks of its
    // characters in CompareKeys' order, so that a plain byte comparison
    // gives the same order without a runtime call per comparison.
    bool m_bRanked = false;
    std::vector<std::string> m_keys;
    std::vector<int> m_order;
};
