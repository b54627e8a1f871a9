// GetTickCount64 for Windows XP. The C++ runtime's thread library
// (winpthreads, linked statically) imports it, and XP's kernel32 has not got
// it, so XP would refuse to start the program. This defines the import's slot
// itself, so the linker takes it instead of kernel32's entry: the system's
// function where it has one, else GetTickCount with its wraps counted.
// Linked as an object into each shipped binary (an archive member would be
// scanned too early to stand in for the import).

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace {

using TickCount64Fn = ULONGLONG(WINAPI*)();

// Constant-initialised, so no guard of the thread library (which calls
// this function) stands in front of them. Two threads that look up the
// system's function at once find the same one.
std::atomic<bool> g_lookedUp{false};
std::atomic<TickCount64Fn> g_system{nullptr};
// The last value given out: its high half counts the wraps of GetTickCount.
std::atomic<uint64_t> g_last{0};

ULONGLONG WINAPI TickCount64()
{
    if (!g_lookedUp.load(std::memory_order_acquire)) {
        g_system.store(reinterpret_cast<TickCount64Fn>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetTickCount64"))));
        g_lookedUp.store(true, std::memory_order_release);
    }
    if (const TickCount64Fn system = g_system.load()) return system();
    uint64_t previous = g_last.load();
    for (;;) {
        const DWORD now = ::GetTickCount();
        const DWORD low = DWORD(previous);
        uint64_t value;
        if (now >= low)
            value = (previous & ~uint64_t(0xFFFFFFFF)) | now;
        else if (low - now > 0x80000000u)
            value = (((previous >> 32) + 1) << 32) | now;  // wrapped since the last call (< 24 days ago)
        else
            return previous;  // another thread read a later tick meanwhile: never go back
        if (g_last.compare_exchange_weak(previous, value)) return value;
    }
}

}  // namespace

// The import slot's name as the compilers decorate it.
#if defined(__i386__)
#define PW_IMPORT_SLOT "__imp__GetTickCount64@0"
#else
#define PW_IMPORT_SLOT "__imp_GetTickCount64"
#endif

extern "C" {
TickCount64Fn g_importGetTickCount64 __asm__(PW_IMPORT_SLOT) = TickCount64;
}
