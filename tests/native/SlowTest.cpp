// Saves at the format's 2 GiB limit, with sparse outside files. Slow (it
// writes 2 GiB): skipped unless PACKWRIGHT_SLOW=1; `make test-slow` runs it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/File.h"
#include "tests/support/DocFixture.h"
#include "tests/support/VppBytes.h"

namespace {

class SlowTest : public DocFixture {
protected:
    void SetUp() override
    {
        const char* slow = std::getenv("PACKWRIGHT_SLOW");
        if (!slow || std::string(slow) != "1") GTEST_SKIP() << "set PACKWRIGHT_SLOW=1 (make test-slow)";
        if (std::filesystem::space(dir.Path()).available < (uint64_t(5) << 30))
            GTEST_SKIP() << "needs 5 GiB of free disk space";
    }
};

}  // namespace

TEST_F(SlowTest, ArchiveJustBelowTwoGiBSavesAndReopensByteExact)
{
    // Two files that make the largest archive there is: 2 GiB - 2048.
    const uint32_t bigSize = 0x7FFFF800u - 4096 - 2048;
    const std::string big = dir / "big.bin";
    testutil::WriteFileBytes(big, {});
    std::filesystem::resize_file(big, bigSize);  // sparse: all zeros
    const std::vector<uint8_t> small = vppbytes::Pattern(100, 3);
    ASSERT_EQ(doc->AddFile(big), AddResult::added);
    ASSERT_EQ(doc->AddFile(MakeFile("small.bin", small)), AddResult::added);
    ASSERT_EQ(doc->m_nTotalSize, 0x7FFFF800);

    // One block more is refused before anything is written.
    EXPECT_EQ(doc->AddFile(MakeFile("more.bin", {1})), AddResult::tooLarge);
    EXPECT_EQ(doc->m_nTotalSize, 0x7FFFF800);

    const std::string target = dir / "limit.vpp";
    ASSERT_TRUE(Save(target));
    ASSERT_EQ(doc->m_nFileCount, 2);
    EXPECT_EQ(doc->m_Entries[1].m_nOffset, 4096 + int32_t(bigSize));

    // Byte for byte, streamed: header and directory, the zeros of big.bin,
    // small.bin and its padding.
    std::vector<uint8_t> head = vppbytes::Header(2, 0x7FFFF800u);
    vppbytes::Record(head, "big.bin", bigSize);
    vppbytes::Record(head, "small.bin", uint32_t(small.size()));
    vppbytes::PadBlock(head);
    CFile file(target, CFile::modeRead | CFile::shareDenyWrite);
    ASSERT_EQ(file.GetLength(), 0x7FFFF800u);
    std::vector<uint8_t> chunk(head.size());
    ASSERT_EQ(file.Read(chunk.data(), UINT(chunk.size())), chunk.size());
    EXPECT_EQ(chunk, head);
    chunk.assign(1 << 20, 0);
    for (uint32_t left = bigSize; left > 0;) {
        const UINT n = UINT(std::min<uint32_t>(left, uint32_t(chunk.size())));
        ASSERT_EQ(file.Read(chunk.data(), n), n);
        for (UINT k = 0; k < n; ++k) ASSERT_EQ(chunk[k], 0) << "at " << (bigSize - left + k);
        left -= n;
    }
    std::vector<uint8_t> tail(2048);
    ASSERT_EQ(file.Read(tail.data(), 2048), 2048u);
    std::vector<uint8_t> expected = small;
    expected.resize(2048, 0);
    EXPECT_EQ(tail, expected);
}
