#pragma once
// A temporary folder of this process's own, %TEMP%\<program>\<pid>-<n>,
// for files it hands to other programs (dragged out, opened). Made at first
// use and removed with its contents when the object goes; what a process
// that ended without that (a crash, a file still in use) left behind is
// removed when the next object is made. A lock file held open inside tells
// a live folder from a left one.

#include <string>

#include "framework/win32/Handles.h"

class CPrivateTempFolder {
public:
    explicit CPrivateTempFolder(std::string programName);
    ~CPrivateTempFolder();
    CPrivateTempFolder(const CPrivateTempFolder&) = delete;
    CPrivateTempFolder& operator=(const CPrivateTempFolder&) = delete;

    // The folder, made now when needed; "" when it cannot be made.
    std::string GetPath();
    // A new, empty folder inside it for one use, "prefix-<n>"; "" on failure.
    std::string MakeSubFolder(const std::string& prefix);
    // The folder of every program of this name: where the left folders lie.
    const std::string& GetRoot() const { return m_strRoot; }

    // Removes folder and everything below it, as far as it can (files in
    // use stay); never follows a link out of it. FALSE when anything stayed.
    static BOOL RemoveTree(const std::string& folder);

private:
    void RemoveLeftFolders();

    std::string m_strRoot;
    std::string m_strPath;
    CScopedHandle m_lock;
    int m_nNextSub = 0;
};
