#include "framework/base/Path.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

#include <vector>

std::string GetFullPath(const std::string& path)
{
    if (!path.empty() && path[0] == '/') return path;
    std::vector<char> buffer(4096);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (buffer.size() > (1u << 20)) return path;
        buffer.resize(buffer.size() * 2);
    }
    std::string full = buffer.data();
    if (path.empty()) return full;
    std::string rest = path;
    while (rest.rfind("./", 0) == 0) rest.erase(0, 2);
    return AddTrailingSeparator(full) + rest;
}

std::string ResolveLinks(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return GetFullPath(path);
    std::string result = real;
    std::free(real);
    return result;
}
