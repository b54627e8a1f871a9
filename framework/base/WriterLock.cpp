#include "framework/base/WriterLock.h"

#include <chrono>
#include <thread>

CWriterLock::Result CWriterLock::Acquire(const std::string& path, unsigned waitMs, CFileException* pError)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        Release();
        CFileException error;
        // Others still read, write, rename and delete it meanwhile: the lock
        // only keeps out other writers that take it too.
        const UINT share = CFile::shareDenyNone | CFile::shareDelete;
#ifdef _WIN32
        const UINT access = CFile::modeRead;
#else
        // POSIX grants the exclusive lock only through a handle open for
        // writing, where that is allowed. Nothing is written through it.
        const UINT access = CFile::modeReadWrite;
#endif
        if (!m_file.Open(path, access | share, &error) &&
            (error.m_cause != CFileException::accessDenied || !m_file.Open(path, CFile::modeRead | share, &error))) {
            if (pError) *pError = error;
            return error.m_cause == CFileException::fileNotFound ? missing : failed;
        }
        try {
            // Locked and still under the name: a file that was replaced while
            // this one waited is no longer the one to write.
            if (m_file.LockForWriters() && m_file.IsNamedBy(path)) return locked;
        } catch (const CFileException& e) {
            Release();
            if (pError) *pError = e;
            return failed;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            Release();
            return busy;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void CWriterLock::BeforeReplace()
{
#ifdef _WIN32
    Release();
#endif
}

bool CWriterLock::Covers(const std::string& path) const
{
    try {
        return IsHeld() && m_file.IsNamedBy(path);
    } catch (const CFileException&) {
        return false;
    }
}
