#include "framework/base/File.h"

// The platform parts are in File_posix.cpp and File_win.cpp.

CFile::CFile(const std::string& fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error)) throw error;
}

CFile::~CFile() { Abort(); }
