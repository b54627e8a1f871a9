#include "framework/base/Path.h"

#include "framework/base/CodePage.h"

namespace {
// Only the platform's separator: on Windows the backslash, which is what
// the dialogs and GetFullPathNameA give.
const char kSeparators[] = {kPathSeparator, '\0'};
}  // namespace

size_t FindLastSeparator(const std::string& path) { return AnsiFindLast(path, kSeparators); }

std::string GetFileNameOf(const std::string& path)
{
    const size_t slash = FindLastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetFolderOf(const std::string& path)
{
    const size_t slash = FindLastSeparator(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool EndsWithSeparator(const std::string& path) { return AnsiEndsWith(path, kPathSeparator); }

std::string AddTrailingSeparator(const std::string& path)
{
    return EndsWithSeparator(path) ? path : path + kPathSeparator;
}
