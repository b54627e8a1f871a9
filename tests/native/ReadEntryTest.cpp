// Reading the start of an entry for the quick view: the same entry and the
// same archive check as extraction, and never more than asked.

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/DocFixture.h"
#include "tests/support/VppBytes.h"

using vppbytes::Pattern;

namespace {

using ReadEntryTest = DocFixture;

TEST_F(ReadEntryTest, ReadsTheEntryANameReachesUpToTheLimitAndChecksTheArchive)
{
    // Two entries of one name: the last is the one the name reaches.
    const std::string path =
        OpenArchive(vppbytes::Archive({{"a.tbl", Pattern(3000, 1)}, {"b.tga", Pattern(10, 2)}, {"a.tbl", Pattern(20, 3)}}));
    const std::vector<uint8_t> outside = Pattern(5000, 4);
    ASSERT_EQ(doc->AddFile(MakeFile("new.bin", outside)), AddResult::added);
    std::vector<uint8_t> bytes;
    bool cut = true;
    EXPECT_EQ(doc->ReadEntryHead("a.tbl", 1 << 20, bytes, cut), ExtractResult::ok);
    EXPECT_EQ(bytes, Pattern(20, 3));
    EXPECT_FALSE(cut);
    EXPECT_EQ(doc->ReadEntryHead("new.bin", 4096, bytes, cut), ExtractResult::ok);
    EXPECT_EQ(bytes, std::vector<uint8_t>(outside.begin(), outside.begin() + 4096));
    EXPECT_TRUE(cut);
    EXPECT_EQ(doc->ReadEntryHead("A.TBL", 100, bytes, cut), ExtractResult::notFound);
    EXPECT_TRUE(bytes.empty());

    // Another program's archive renamed over the loaded one is never read.
    MakeFile("theirs.tmp", vppbytes::Archive({{"a.tbl", Pattern(20, 9)}}));
    CFile::RenameOver(dir / "theirs.tmp", path);
    EXPECT_EQ(doc->ReadEntryHead("b.tga", 100, bytes, cut), ExtractResult::archiveChanged);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(doc->ReadEntryHead("new.bin", 10, bytes, cut), ExtractResult::ok);  // outside files still read

    std::filesystem::remove(dir / "new.bin");
    EXPECT_EQ(doc->ReadEntryHead("new.bin", 10, bytes, cut), ExtractResult::noArchive);
}

}  // namespace
