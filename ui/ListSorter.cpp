#include "ui/ListSorter.h"

#include <mbstring.h>

#include <algorithm>
#include <numeric>

CListSorter::CListSorter(const CListCtrl& list, int nColumn)
{
    const int count = list.GetItemCount();
    m_keys.reserve(size_t(count));
    for (int i = 0; i < count; ++i) m_keys.push_back(list.GetItemText(i, nColumn));
    m_order.resize(m_keys.size());
    std::iota(m_order.begin(), m_order.end(), 0);
}

void CListSorter::Sort()
{
    std::stable_sort(m_order.begin(), m_order.end(),
                     [this](int a, int b) { return CompareKeys(m_keys[size_t(a)], m_keys[size_t(b)]) < 0; });
}

int CListSorter::CompareKeys(const std::string& a, const std::string& b)
{
    return ::_mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                      reinterpret_cast<const unsigned char*>(b.c_str()));
}
