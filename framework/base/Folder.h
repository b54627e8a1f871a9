#pragma once
// An open folder in which many files are opened by name (CFile::OpenIn):
// its path is walked once, not once per file (openat on POSIX; Windows
// keeps the path and lets the system walk it).

#include <cstdint>
#include <string>
#include <vector>

#include "framework/base/Exception.h"
#include "framework/base/Types.h"

// A regular file found in a folder, with its size as the listing saw it.
struct CListedFile {
    std::string name;
    uint64_t size = 0;
};

class CFolder {
public:
    CFolder() = default;
    ~CFolder();
    CFolder(const CFolder&) = delete;
    CFolder& operator=(const CFolder&) = delete;

    // Returns FALSE on failure, filling *pError when given; never throws.
    BOOL Open(const std::string& path, CFileException* pError = nullptr);
    bool IsOpen() const { return m_bOpen; }
    // The folder's full path, ending in a separator: the path of a file in
    // it is GetPath() + its name.
    const std::string& GetPath() const { return m_strPath; }
    // The regular files directly in the folder (not in its subfolders, no
    // links to elsewhere), in no particular order. Names are in the ANSI
    // code page, as every other name of the program. FALSE when the folder
    // cannot be read.
    BOOL ListFiles(std::vector<CListedFile>& files, CFileException* pError = nullptr) const;
    // The descriptor on POSIX; -1 on Windows.
    intptr_t GetHandle() const { return m_hFolder; }

private:
    bool m_bOpen = false;
    intptr_t m_hFolder = -1;
    std::string m_strPath;
};
