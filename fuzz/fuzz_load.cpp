// libFuzzer target for the load pass: any bytes, opened as an archive file,
// must either load into a consistent table or be refused cleanly.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "core/Packwright32Doc.h"
#include "framework/base/Report.h"

namespace {

// Larger inputs only slow the fuzzer down: the reader never looks past the
// directory, and 1 MiB holds more than 16,000 records.
constexpr size_t kMaxInput = 1 << 20;

const std::string& InputPath()
{
    static const std::string path = [] {
        const char* base = std::getenv("TMPDIR");
        std::string p = (base && *base) ? base : "/tmp";
        p += "/fuzz_load-" + std::to_string(getpid()) + ".vpp";
        return p;
    }();
    return path;
}

[[noreturn]] void Broken(const char* what, int64_t a = 0, int64_t b = 0)
{
    std::fprintf(stderr, "invariant broken: %s (%lld, %lld)\n", what, static_cast<long long>(a),
                 static_cast<long long>(b));
    std::abort();
}

void CheckTable(const CPackwright32Doc& doc)
{
    const int32_t count = doc.m_nFileCount;
    if (count < 0 || count > VPP_MAX_FILES) Broken("file count", count);
    int64_t total = VppDataStart(count);
    for (int32_t i = 0; i < count; ++i) {
        const VPPEntry& e = doc.m_Entries[size_t(i)];
        if (!e.m_bInVPP) Broken("loaded entry not stored", i);
        if (e.m_nSize < 0) Broken("negative size", i, e.m_nSize);
        if (e.m_nOffset < VPP_BLOCK_SIZE) Broken("offset inside the header", i, e.m_nOffset);
        if (int64_t(e.m_nOffset) + e.m_nSize > INT32_MAX) Broken("data past 2 GiB", i, e.m_nOffset);
        if (e.m_strName.size() > size_t(VPP_NAME_LENGTH)) Broken("name longer than its field", i);
        total += VppAlign(e.m_nSize);
    }
    if (total != doc.m_nTotalSize) Broken("total size", total, doc.m_nTotalSize);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The load pass reports through message boxes: answer them all.
    AfxSetMessageBoxHandler([](const std::string&, UINT, const std::string&) { return int(afx::idOk); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxInput) return 0;
    FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    // One document for the whole run, as in the program: every open must
    // replace whatever the previous input left in the table, refused or not.
    static const std::unique_ptr<CPackwright32Doc> doc = std::make_unique<CPackwright32Doc>();
    const BOOL opened = doc->OnOpenDocument(InputPath());
    std::remove(InputPath().c_str());  // libFuzzer's exits skip atexit handlers
    if (opened)
        CheckTable(*doc);
    else if (doc->m_nFileCount != 0 || doc->m_nTotalSize != 0)  // emptied as by New
        Broken("refused file left a table", doc->m_nFileCount, doc->m_nTotalSize);
    return 0;
}
