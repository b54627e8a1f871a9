#pragma once
// The lock that writers of one file hold from reading it to replacing it, so
// that two writers never both build on the same old file: the second waits,
// then reads what the first left. It is held through a handle to the file
// the name leads to; a writer that replaces the file lets the waiting ones
// find that the name now leads elsewhere, and they lock the new file.

#include <string>

#include "framework/base/File.h"

class CWriterLock {
public:
    enum Result {
        locked,   // held now
        missing,  // nothing carries the name: there is nothing to lock
        busy,     // another writer kept it for the whole wait
        failed,   // the file could not be opened or locked: *pError says why
    };
    // Waits up to waitMs for the writers' lock of the file path leads to.
    Result Acquire(const std::string& path, unsigned waitMs, CFileException* pError = nullptr);
    void Release() { m_file.Abort(); }
    // Called just before the holder replaces the file. Windows replaces no
    // file that is open, this lock's handle included, so there the lock is
    // given up now: waiting writers look again only every few milliseconds,
    // far too late to build on the old file. POSIX keeps it until Release.
    void BeforeReplace();
    bool IsHeld() const { return m_file.IsOpen(); }
    // Whether the lock is held on the file path leads to now.
    bool Covers(const std::string& path) const;

    // How long a writer waits for another before it gives up.
    static constexpr unsigned kWaitMs = 10000;

private:
    CFile m_file;
};
