#include "ui/OpenedEntries.h"

#include <windows.h>

COpenedEntries::Stamp COpenedEntries::StampOf(const std::string& path)
{
    Stamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return stamp;
    stamp.bExists = true;
    stamp.nSize = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.nWritten = (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

void COpenedEntries::Add(const std::string& name, const std::string& path)
{
    const Stamp now = StampOf(path);
    m_copies.push_back(Tracked{Copy{name, path}, now, now});
}

std::string COpenedEntries::Find(const std::string& name) const
{
    for (const Tracked& tracked : m_copies)
        if (tracked.copy.name == name) return tracked.copy.path;
    return {};
}

std::vector<COpenedEntries::Copy> COpenedEntries::TakeChanged()
{
    std::vector<Copy> changed;
    for (Tracked& tracked : m_copies) {
        const Stamp now = StampOf(tracked.copy.path);
        if (!now.bExists || now == tracked.seen) continue;
        tracked.before = tracked.seen;
        tracked.seen = now;
        changed.push_back(tracked.copy);
    }
    return changed;
}

void COpenedEntries::Unsee(const std::string& path)
{
    for (Tracked& tracked : m_copies)
        if (tracked.copy.path == path) tracked.seen = tracked.before;
}
