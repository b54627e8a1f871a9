#pragma once
// The file an entry's data lies in. Every entry of a loaded archive lies in
// the same file, so they share one copy of its path: 65,536 entries cost a
// pointer each for it, not a string each. Reads as a const std::string&.

#include <memory>
#include <ostream>
#include <string>

class CEntryPath {
public:
    CEntryPath() = default;
    CEntryPath(std::string path) : m_path(std::make_shared<const std::string>(std::move(path))) {}
    CEntryPath(const char* path) : CEntryPath(std::string(path)) {}

    const std::string& str() const { return m_path ? *m_path : Empty(); }
    operator const std::string&() const { return str(); }
    bool empty() const { return str().empty(); }

    bool operator==(const CEntryPath& other) const { return m_path == other.m_path || str() == other.str(); }
    bool operator==(const std::string& other) const { return str() == other; }
    friend std::ostream& operator<<(std::ostream& out, const CEntryPath& path) { return out << path.str(); }

private:
    static const std::string& Empty()
    {
        static const std::string empty;
        return empty;
    }
    std::shared_ptr<const std::string> m_path;
};
