#pragma once
// Path helpers with the platform's separator: the backslash on Windows,
// the slash on POSIX. They find separators by characters of the ANSI code
// page (CodePage.h): a trail byte 0x5C is no backslash.

#include <cstddef>
#include <string>

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The absolute form of path (relative to the current directory).
std::string GetFullPath(const std::string& path);
// The position of the last separator; npos when there is none.
size_t FindLastSeparator(const std::string& path);
// The part after the last separator; the whole path when there is none.
std::string GetFileNameOf(const std::string& path);
// The part up to and with the last separator; "" when there is none.
std::string GetFolderOf(const std::string& path);
// Whether path's last character is a separator.
bool EndsWithSeparator(const std::string& path);
// path with one separator at its end.
std::string AddTrailingSeparator(const std::string& path);
// The full path of the file path leads to, through symbolic links (POSIX),
// so that replacing it replaces the file and keeps the link; the full path
// when nothing exists there yet.
std::string ResolveLinks(const std::string& path);
