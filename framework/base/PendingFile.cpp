#include "framework/base/PendingFile.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace {
// Two buffers, so the name a signal handler reads is never one being written.
char g_names[2][4096];
std::atomic<int> g_current{-1};
}  // namespace

void AfxSetPendingFile(const std::string& path)
{
    if (path.empty() || path.size() >= sizeof g_names[0]) {
        g_current.store(-1);
        return;
    }
    const int next = g_current.load() == 0 ? 1 : 0;
    std::memcpy(g_names[next], path.c_str(), path.size() + 1);
    g_current.store(next);
}

void AfxRemovePendingFile() noexcept
{
    const int current = g_current.exchange(-1);
    if (current < 0) return;
#ifdef _WIN32
    std::remove(g_names[current]);
#else
    ::unlink(g_names[current]);
#endif
}
