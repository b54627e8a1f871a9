#pragma once
// Entries opened in other programs: the copy each was extracted to, and how
// that copy looked when last seen, so that each change to it is noticed
// once.

#include <cstdint>
#include <string>
#include <vector>

class COpenedEntries {
public:
    struct Copy {
        std::string name;  // the entry's name
        std::string path;  // the copy handed to the program
    };

    // Records path, opened for the entry name, as it is now.
    void Add(const std::string& name, const std::string& path);
    // The copy opened for name; "" when there is none.
    std::string Find(const std::string& name) const;
    // The copies changed since they were last seen; each change is told
    // once. A copy that is gone (a program saving through a new file) is
    // not a change.
    std::vector<Copy> TakeChanged();
    // Takes back the last TakeChanged of path: its change is told again.
    void Unsee(const std::string& path);
    void Clear() { m_copies.clear(); }

private:
    struct Stamp {
        bool bExists = false;
        uint64_t nSize = 0;
        uint64_t nWritten = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp StampOf(const std::string& path);

    struct Tracked {
        Copy copy;
        Stamp seen;
        Stamp before;  // what seen was before the last change was told
    };
    std::vector<Tracked> m_copies;
};
