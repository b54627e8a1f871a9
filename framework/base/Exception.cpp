#include "framework/base/Exception.h"

#include "framework/base/Report.h"

CFileException::CFileException(int cause, long osError, std::string fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName))
{
}

std::string CFileException::GetErrorMessage() const
{
    const std::string name = m_strFileName.empty() ? std::string("an unnamed file") : m_strFileName;
    switch (m_cause) {
    case none:
        return "No error occurred.";
    case fileNotFound:
        return name + " was not found.";
    case badPath:
        return name + " contains an incorrect path.";
    case tooManyOpenFiles:
        return name + " could not be opened because there are too many open files.";
    case accessDenied:
        return "Access to " + name + " was denied.";
    case invalidFile:
        return "An incorrect file handle was associated with " + name + ".";
    case removeCurrentDir:
        return name + " could not be removed because it is the current directory.";
    case directoryFull:
        return name + " could not be created because the directory is full.";
    case badSeek:
        return "Seek failed on " + name + ".";
    case hardIO:
        return "A hardware I/O error was reported while accessing " + name + ".";
    case sharingViolation:
        return "A sharing violation occurred while accessing " + name + ".";
    case lockViolation:
        return "A locking violation occurred while accessing " + name + ".";
    case diskFull:
        return "Disk full while accessing " + name + ".";
    case endOfFile:
        return "An attempt was made to access " + name + " past its end.";
    default:
        return "An unknown error occurred while accessing " + name + ".";
    }
}

void CFileException::ReportError() const { AfxMessageBox(GetErrorMessage(), afx::mbOk | afx::mbIconError); }

const char* CFileException::what() const noexcept
{
    try {
        m_strWhat = GetErrorMessage();
        return m_strWhat.c_str();
    } catch (...) {
        return "file error";
    }
}

void CFileException::ThrowOsError(long osError, const std::string& fileName)
{
    throw CFileException(OsErrorToException(osError), osError, fileName);
}

void CFileException::Throw(int cause, long osError, const std::string& fileName)
{
    throw CFileException(cause, osError, fileName);
}
