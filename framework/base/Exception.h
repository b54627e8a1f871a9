#pragma once
// The framework's exception types. Only file errors carry information the
// user needs; a user exception means "already reported, stop quietly".

#include <exception>
#include <string>

class CException : public std::exception {
public:
    const char* what() const noexcept override { return "framework exception"; }
};

// Thrown after the user has been told what went wrong (for instance a load
// pass that rejected a file with its own message); catchers stay silent.
class CUserException : public CException {
public:
    const char* what() const noexcept override { return "user exception"; }
};

class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    explicit CFileException(int cause = none, long osError = -1, std::string fileName = {});

    int m_cause;
    long m_lOsError;           // the platform's error code at the moment of failure
    std::string m_strFileName;  // the file the error concerns

    // The framework's standard text for the cause, naming the file.
    std::string GetErrorMessage() const;
    // Shows GetErrorMessage() through AfxMessageBox.
    void ReportError() const;
    const char* what() const noexcept override;

    // Maps a platform error code (GetLastError or errno) to a cause.
    static int OsErrorToException(long osError);
    [[noreturn]] static void ThrowOsError(long osError, const std::string& fileName = {});
    [[noreturn]] static void Throw(int cause, long osError = -1, const std::string& fileName = {});

private:
    mutable std::string m_strWhat;
};
