// libFuzzer target for the load pass: any bytes, opened as an archive file,
// must either load into a consistent table or be refused cleanly.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>


#include "core/Packwright32Doc.h"
#include "fuzz/FuzzInput.h"
#include "framework/base/Report.h"

namespace {

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
    if (size > kMaxFuzzInput) return 0;
    const std::string& path = WriteFuzzInput(data, size);

    // One document for the whole run, as in the program: every open must
    // replace whatever the previous input left in the table, refused or not.
    static const std::unique_ptr<CPackwright32Doc> doc = std::make_unique<CPackwright32Doc>();
    const BOOL opened = doc->OnOpenDocument(path);
    std::remove(path.c_str());  // libFuzzer's exits skip atexit handlers
    if (opened)
        CheckTable(*doc);
    else if (doc->m_nFileCount != 0 || doc->m_nTotalSize != 0)  // emptied as by New
        Broken("refused file left a table", doc->m_nFileCount, doc->m_nTotalSize);
    return 0;
}
