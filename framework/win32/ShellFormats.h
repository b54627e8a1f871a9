#pragma once
// The shell's formats for files handed over by drag and drop: the file-drop
// block (CF_HDROP), which Windows' Explorer and this program's own list read,
// and the item id list array ("Shell IDList Array"), which some shells'
// folder windows require.

#include <windows.h>

#include <string>
#include <vector>

// A DROPFILES block in the wide form naming paths (ANSI).
std::vector<BYTE> AfxMakeDropFiles(const std::vector<std::string>& paths);
// A CIDA block: folder's id list, then one id per name inside it. A name
// whose file does not exist yet gets a simple id made from the name alone.
// Empty when the folder has no id list.
std::vector<BYTE> AfxMakeShellIdList(const std::string& folder, const std::vector<std::string>& names);
// The clipboard format of the CIDA block.
CLIPFORMAT AfxShellIdListFormat();
