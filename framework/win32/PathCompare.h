#pragma once
// Whether two paths name the same file as far as their text tells: Windows
// file names match without regard to letter case, by the user's locale.

#include <windows.h>

#include <string>

inline bool SamePath(const std::string& a, const std::string& b)
{
    return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(),
                            int(b.size())) == CSTR_EQUAL;
}
