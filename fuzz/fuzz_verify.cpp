// libFuzzer target for the verifier: any bytes must give findings or a file
// error, never a crash or a hang; and an archive the verifier calls clean
// must open without a word, with the file's own length as its total.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "cli/ArchiveVerifier.h"
#include "core/Packwright32Doc.h"
#include "framework/base/Report.h"

namespace {

constexpr size_t kMaxInput = 1 << 20;

const std::string& InputPath()
{
    static const std::string path = [] {
        const char* base = std::getenv("TMPDIR");
        std::string p = (base && *base) ? base : "/tmp";
        p += "/fuzz_verify-" + std::to_string(getpid()) + ".vpp";
        return p;
    }();
    return path;
}

int g_messages = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    AfxSetMessageBoxHandler([](const std::string&, UINT, const std::string&) {
        ++g_messages;
        return int(afx::idOk);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxInput) return 0;
    FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    CArchiveVerifier verifier(InputPath());
    bool clean = false;
    try {
        clean = verifier.Run().empty();
    } catch (const CFileException&) {
    }
    if (clean) {
        g_messages = 0;
        CPackwright32Doc doc;
        const BOOL opened = doc.OnOpenDocument(InputPath());
        // An empty file is clean too: it opens as an archive without files.
        const int64_t expected = size == 0 ? VPP_BLOCK_SIZE : int64_t(size);
        if (!opened || g_messages != 0 || doc.m_nTotalSize != expected) {
            std::fprintf(stderr, "verified clean, but opened=%d messages=%d total=%d size=%zu\n", int(opened),
                         g_messages, int(doc.m_nTotalSize), size);
            std::abort();
        }
    }
    std::remove(InputPath().c_str());
    return 0;
}
