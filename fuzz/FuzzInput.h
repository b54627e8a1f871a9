#pragma once
// The fuzzers hand their input to code that reads files: each input is
// written to one scratch file of the process first.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

// Larger inputs only slow the fuzzers down: the readers never look past the
// directory, and 1 MiB holds more than 16,000 records.
constexpr size_t kMaxFuzzInput = 1 << 20;

// Writes the input to the process's scratch file and returns its path.
inline const std::string& WriteFuzzInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        const char* base = std::getenv("TMPDIR");
        std::string p = (base && *base) ? base : "/tmp";
        return p + "/packwright-fuzz-" + std::to_string(getpid()) + ".vpp";
    }();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    return path;
}
