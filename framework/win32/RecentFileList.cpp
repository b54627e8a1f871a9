#include "framework/win32/RecentFileList.h"

#include <cstdio>

#include "framework/base/CodePage.h"
#include "framework/win32/CmdTarget.h"
#include "framework/win32/PathCompare.h"
#include "framework/win32/WinApp.h"

namespace {
// '&' in a path would turn the next letter into an accelerator.
std::string EscapeAmpersands(const std::string& text)
{
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}
}  // namespace

CRecentFileList::CRecentFileList(UINT nStart, const char* section, const char* entryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart), m_strSection(section), m_strEntryFormat(entryFormat), m_nSize(nSize),
      m_nMaxDisplayLength(nMaxDispLen)
{
}

std::string CRecentFileList::EntryName(int i) const
{
    char name[64] = {};
    std::snprintf(name, sizeof name, m_strEntryFormat.c_str(), i + 1);
    return name;
}

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty() || m_nSize <= 0) return;
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        if (SamePath(m_arrNames[i], path)) {
            m_arrNames.erase(m_arrNames.begin() + long(i));
            break;
        }
    }
    m_arrNames.insert(m_arrNames.begin(), path);
    if (int(m_arrNames.size()) > m_nSize) m_arrNames.resize(size_t(m_nSize));
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetCount()) m_arrNames.erase(m_arrNames.begin() + nIndex);
}

void CRecentFileList::ReadList(const CWinApp& app)
{
    m_arrNames.clear();
    for (int i = 0; i < m_nSize; ++i) {
        const std::string path = app.GetProfileString(m_strSection.c_str(), EntryName(i).c_str(), "");
        if (path.empty()) continue;
        bool dup = false;
        for (const std::string& known : m_arrNames) dup = dup || SamePath(known, path);
        if (!dup) m_arrNames.push_back(path);
    }
}

void CRecentFileList::WriteList(const CWinApp& app) const
{
    // Every slot is written or cleared, so a shorter list leaves no old tail.
    for (int i = 0; i < m_nSize; ++i) {
        if (i < GetCount())
            app.WriteProfileString(m_strSection.c_str(), EntryName(i).c_str(), m_arrNames[size_t(i)].c_str());
        else
            app.WriteProfileString(m_strSection.c_str(), EntryName(i).c_str(), nullptr);
    }
}

std::string CRecentFileList::AbbreviatePath(const std::string& path, int nMaxLength)
{
    if (int(path.size()) <= nMaxLength) return path;
    // The name alone, cut from the left, when even that does not fit.
    const size_t lastSep = AnsiFindLast(path, "\\");
    const std::string name = lastSep == std::string::npos ? path : path.substr(lastSep + 1);
    // Root: "C:\" or "\\server\share\".
    size_t rootEnd = 0;
    if (path.size() > 2 && path[1] == ':' && path[2] == '\\') {
        rootEnd = 3;
    } else if (path.rfind("\\\\", 0) == 0) {
        const size_t server = AnsiFind(path, "\\", 2);
        const size_t share = server == std::string::npos ? std::string::npos : AnsiFind(path, "\\", server + 1);
        rootEnd = share == std::string::npos ? 0 : share + 1;
    }
    const std::string root = path.substr(0, rootEnd);
    std::string tail = "\\" + name;
    if (int(root.size() + 3 + tail.size()) > nMaxLength) {
        if (int(name.size()) <= nMaxLength) return name;
        // From the first whole character that leaves at most that many bytes.
        const size_t keep = size_t(nMaxLength > 3 ? nMaxLength - 3 : 0);
        size_t from = 0;
        while (from < name.size() && name.size() - from > keep) from += AnsiCharLength(name, from);
        return "..." + name.substr(from);
    }
    // Add whole folders from the right while they fit.
    size_t end = lastSep;
    while (end != std::string::npos && end > rootEnd) {
        const size_t start = AnsiFindLast(path.substr(0, end), "\\");
        if (start == std::string::npos || start + 1 < rootEnd) break;
        const std::string candidate = path.substr(start, end - start) + tail;
        if (int(root.size() + 3 + candidate.size()) > nMaxLength) break;
        tail = candidate;
        end = start;
    }
    return root + "..." + tail;
}

std::string CRecentFileList::GetMenuText(int nIndex) const
{
    const std::string shown = AbbreviatePath((*this)[nIndex], m_nMaxDisplayLength);
    // Entries 1 to 9 get their digit as the accelerator, 10 gets the 0 of "10".
    const int number = nIndex + 1;
    std::string prefix = number < 10 ? "&" + std::to_string(number) : "1&0";
    if (number > 10) prefix = std::to_string(number);
    return prefix + " " + EscapeAmpersands(shown);
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    HMENU hMenu = pCmdUI->m_hMenu;
    if (!hMenu) return;
    if (m_strOriginal.empty()) {
        char text[256] = {};
        ::GetMenuStringA(hMenu, m_nStart, text, sizeof text, MF_BYCOMMAND);
        m_strOriginal = text;
    }
    // Take out what an earlier update put in, keeping the first item's place.
    for (int i = 1; i < m_nSize; ++i) ::DeleteMenu(hMenu, m_nStart + UINT(i), MF_BYCOMMAND);
    if (m_arrNames.empty()) {
        if (!m_strOriginal.empty()) pCmdUI->SetText(m_strOriginal.c_str());
        pCmdUI->Enable(FALSE);
        return;
    }
    const UINT first = pCmdUI->m_nIndex;
    for (int i = 0; i < GetCount(); ++i) {
        const std::string text = GetMenuText(i);
        if (i == 0) {
            pCmdUI->SetText(text.c_str());
            pCmdUI->Enable(TRUE);
        } else {
            ::InsertMenuA(hMenu, first + UINT(i), MF_BYPOSITION | MF_STRING, m_nStart + UINT(i), text.c_str());
        }
    }
    pCmdUI->m_nIndex = first + UINT(GetCount()) - 1;
}
