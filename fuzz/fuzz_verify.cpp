// libFuzzer target for the verifier: any bytes must give findings or a file
// error, never a crash or a hang; and an archive the verifier calls clean
// must open without a word, with the file's own length as its total.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>


#include "cli/ArchiveVerifier.h"
#include "core/Packwright32Doc.h"
#include "fuzz/FuzzInput.h"
#include "framework/base/Report.h"

namespace {
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
    if (size > kMaxFuzzInput) return 0;
    const std::string& path = WriteFuzzInput(data, size);

    CArchiveVerifier verifier(path);
    bool clean = false;
    try {
        clean = verifier.Run().empty();
    } catch (const CFileException&) {
    }
    if (clean) {
        g_messages = 0;
        CPackwright32Doc doc;
        const BOOL opened = doc.OnOpenDocument(path);
        // An empty file is clean too: it opens as an archive without files.
        const int64_t expected = size == 0 ? VPP_BLOCK_SIZE : int64_t(size);
        if (!opened || g_messages != 0 || doc.m_nTotalSize != expected) {
            std::fprintf(stderr, "verified clean, but opened=%d messages=%d total=%d size=%zu\n", int(opened),
                         g_messages, int(doc.m_nTotalSize), size);
            std::abort();
        }
    }
    std::remove(path.c_str());
    return 0;
}
