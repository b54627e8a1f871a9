#pragma once
// Text rules of the system's ANSI code page. On Windows they are the
// system's own; on POSIX the rules of Windows-1252.

#include <string>

// Lower-cases text by the ANSI code page's rules, leaving the trail bytes of
// double-byte characters alone.
std::string AnsiToLower(const std::string& text);
void AnsiMakeLower(std::string& text);
