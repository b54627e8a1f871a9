#include "framework/base/Path.h"

#include <windows.h>

#include <vector>

std::string GetFullPath(const std::string& path)
{
    if (path.empty()) return path;
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (length == 0) return path;
        if (length < buffer.size()) return std::string(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

std::string ResolveLinks(const std::string& path) { return GetFullPath(path); }
