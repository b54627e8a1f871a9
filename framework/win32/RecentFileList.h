#pragma once
// The recent-file list: up to a fixed number of full paths, most recent
// first, kept in a profile section and shown in the File menu.

#include <windows.h>

#include <string>
#include <vector>

class CCmdUI;
class CWinApp;

class CRecentFileList {
public:
    // Entries are stored as "<format with %d>" (1-based) in section.
    CRecentFileList(UINT nStart, const char* section, const char* entryFormat, int nSize, int nMaxDispLen = 48);

    int GetSize() const { return m_nSize; }
    int GetCount() const { return int(m_arrNames.size()); }
    const std::string& operator[](int nIndex) const { return m_arrNames[size_t(nIndex)]; }

    // Puts path first; an entry equal to it (letter case ignored) goes.
    void Add(const std::string& path);
    void Remove(int nIndex);
    void ReadList(const CWinApp& app);
    void WriteList(const CWinApp& app) const;

    // Replaces the menu items from pCmdUI's position on with the entries;
    // with none, the first item stays as it came (greyed). Leaves
    // pCmdUI->m_nIndex on the last item it placed.
    void UpdateMenu(CCmdUI* pCmdUI);
    // "&1 C:\...\name.vpp": the menu text of entry nIndex.
    std::string GetMenuText(int nIndex) const;
    // A path cut to at most nMaxLength characters, keeping the drive or
    // share, then "...", then as many trailing folders as fit and the name.
    static std::string AbbreviatePath(const std::string& path, int nMaxLength);

private:
    std::string EntryName(int i) const;
    UINT m_nStart;
    std::string m_strSection;
    std::string m_strEntryFormat;
    int m_nSize;
    int m_nMaxDisplayLength;
    std::vector<std::string> m_arrNames;
    std::string m_strOriginal;  // the placeholder's text
};
