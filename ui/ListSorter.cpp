#include "ui/ListSorter.h"

#include <windows.h>

#include <mbctype.h>
#include <mbstring.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>

namespace {

// Rank of each byte in CompareKeys' order of one-character strings, with
// byte 0 standing for the end of a key (equal characters, such as a letter
// and its capital, share a rank). Not every runtime puts the end of a key
// before every character: some compare bytes as signed. Not made when the
// multibyte code page has characters of more than one byte: there the
// runtime compares by characters, not bytes.
std::array<unsigned char, 256> CharacterRanks(bool& ranked)
{
    std::array<unsigned char, 256> rank{};
    CPINFO info{};
    const int codePage = _getmbcp();
    ranked = codePage == 0 || (::GetCPInfo(UINT(codePage), &info) && info.MaxCharSize == 1);
    if (!ranked) return rank;
    std::array<std::string, 256> chars;
    for (int c = 1; c < 256; ++c) chars[size_t(c)] = std::string(1, char(c));
    std::stable_sort(chars.begin(), chars.end(),
                     [](const std::string& a, const std::string& b) { return CListSorter::CompareKeys(a, b) < 0; });
    unsigned char next = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (i > 0 && CListSorter::CompareKeys(chars[i - 1], chars[i]) != 0) ++next;
        rank[chars[i].empty() ? 0 : static_cast<unsigned char>(chars[i][0])] = next;
    }
    return rank;
}

}  // namespace

CListSorter::CListSorter(int count, const std::function<std::string(int)>& key)
{
    std::array<unsigned char, 256> rank = CharacterRanks(m_bRanked);
    m_keys.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        m_keys.push_back(key(i));
        if (m_bRanked) {
            std::string& ranks = m_keys.back();
            for (char& c : ranks) c = char(rank[static_cast<unsigned char>(c)]);
            ranks += char(rank[0]);  // the end takes part like a character
        }
    }
    m_order.resize(m_keys.size());
    std::iota(m_order.begin(), m_order.end(), 0);
}

void CListSorter::Sort()
{
    if (!m_bRanked) {
        std::stable_sort(m_order.begin(), m_order.end(),
                         [this](int a, int b) { return CompareKeys(m_keys[size_t(a)], m_keys[size_t(b)]) < 0; });
        return;
    }
    // Ranked keys compare as plain bytes (every one ends in the end's rank,
    // so none is a prefix of another unequal one). What all keys share
    // first decides nothing: the sizes' padding, "In VPP at offset ".
    // The next eight bytes as one number decide most comparisons.
    size_t shared = m_keys.empty() ? 0 : m_keys[0].size();
    for (size_t i = 1; i < m_keys.size() && shared > 0; ++i) {
        const std::string& a = m_keys[i - 1];
        const std::string& b = m_keys[i];
        size_t n = 0;
        while (n < shared && n < a.size() && n < b.size() && a[n] == b[n]) ++n;
        shared = n;
    }
    struct Key {
        uint64_t head;
        int row;
    };
    std::vector<Key> keys(m_keys.size());
    for (size_t i = 0; i < m_keys.size(); ++i) {
        uint64_t head = 0;
        for (size_t n = shared; n < shared + 8; ++n)
            head = head << 8 | (n < m_keys[i].size() ? static_cast<unsigned char>(m_keys[i][n]) : 0);
        keys[i] = {head, int(i)};
    }
    // Equal keys in row order: the same order as a stable sort.
    std::sort(keys.begin(), keys.end(), [this, shared](const Key& a, const Key& b) {
        if (a.head != b.head) return a.head < b.head;
        const int order = m_keys[size_t(a.row)].compare(shared, std::string::npos, m_keys[size_t(b.row)], shared);
        return order != 0 ? order < 0 : a.row < b.row;
    });
    for (size_t i = 0; i < keys.size(); ++i) m_order[i] = keys[i].row;
}

int CListSorter::CompareKeys(const std::string& a, const std::string& b)
{
    return ::_mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                      reinterpret_cast<const unsigned char*>(b.c_str()));
}
