// Opening archives: what the reader accepts, what it refuses, and the state
// every outcome leaves the document in.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/Path.h"
#include "tests/support/VppBytes.h"
#include "tests/support/TestUtil.h"

using testutil::MessageRecorder;
using testutil::TempDir;
using testutil::WriteFileBytes;

namespace {

const char kTooManyFiles[] =
    "WARNING! This file has too many files (%i) for PACKWRIGHT32 to handle right. PACKWRIGHT32 will "
    "only load the first %i files. If you save to the same file, all files beyond that will be lost.";

class LoadTest : public testing::Test {
protected:
    LoadTest() : doc(std::make_unique<CPackwright32Doc>()) {}

    // Opens as the framework's template does: the path is recorded only on success.
    BOOL Open(const std::string& path)
    {
        const BOOL ok = doc->OnOpenDocument(path);
        if (ok) doc->SetPathName(path);
        return ok;
    }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = dir / name;
        WriteFileBytes(path, bytes);
        return path;
    }
    // A loaded, edited document, so tests can see what a failed open keeps.
    void LoadSomethingAndEdit()
    {
        ASSERT_TRUE(Open(Write("prev.vpp", vppbytes::Archive({{"old1", {1, 2}}, {"old2", {3}}}))));
        doc->SetModifiedFlag(TRUE);
    }
    void ExpectEmptiedAsByNew()
    {
        EXPECT_EQ(doc->m_nFileCount, 0);
        EXPECT_EQ(doc->m_nTotalSize, 0);
        EXPECT_EQ(doc->GetPathName(), "");
        EXPECT_FALSE(doc->IsModified());
    }

    TempDir dir;
    std::unique_ptr<CPackwright32Doc> doc;
};

}  // namespace

TEST_F(LoadTest, EmptyArchiveOpensAsEmptyTable)
{
    ASSERT_TRUE(Open(Write("empty.vpp", vppbytes::Header(0, 2048))));
    EXPECT_EQ(doc->m_nFileCount, 0);
    EXPECT_EQ(doc->m_nTotalSize, 2048);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(LoadTest, RecordsBecomeStoredEntriesWithOffsetsFromTheDirectory)
{
    std::vector<uint8_t> bytes = vppbytes::Header(4, 1);  // a wrong size field is ignored
    vppbytes::Record(bytes, "a.tbl", 2048);
    vppbytes::Record(bytes, "B.TGA", 2049);
    vppbytes::Record(bytes, "zero", 0);
    vppbytes::Record(bytes, "last", 5);
    const std::string path = Write("four.vpp", bytes);  // data area absent: never read

    ASSERT_TRUE(Open(path));
    ASSERT_EQ(doc->m_nFileCount, 4);
    const int32_t offsets[] = {4096, 6144, 10240, 10240};
    const char* names[] = {"a.tbl", "B.TGA", "zero", "last"};
    for (int i = 0; i < 4; ++i) {
        const VPPEntry& e = doc->m_Entries[size_t(i)];
        EXPECT_EQ(e.m_strName, names[i]);
        EXPECT_EQ(e.m_nOffset, offsets[i]) << names[i];
        EXPECT_TRUE(e.m_bInVPP);
        EXPECT_EQ(e.m_strFilePath, GetFullPath(path));
    }
    EXPECT_EQ(doc->m_nTotalSize, 4096 + 2048 + 4096 + 0 + 2048);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(LoadTest, DataAreaFollowsADirectoryOfOneOrTwoBlocks)
{
    for (int32_t count : {32, 33}) {
        ASSERT_TRUE(Open(Write("n.vpp", vppbytes::ManyRecords(count, 1))));
        EXPECT_EQ(doc->m_Entries[0].m_nOffset, count == 32 ? 4096 : 6144);
        EXPECT_EQ(doc->m_Entries[size_t(count - 1)].m_nOffset, doc->m_Entries[0].m_nOffset + (count - 1) * 2048);
    }
}

TEST_F(LoadTest, DuplicatesAndFullWidthNamesAreKept)
{
    const std::string wide(60, 'W');
    std::vector<uint8_t> bytes = vppbytes::Header(3);
    vppbytes::Record(bytes, "dup", 10);
    vppbytes::Record(bytes, wide, 20);
    vppbytes::Record(bytes, "dup", 30);
    ASSERT_TRUE(Open(Write("dup.vpp", bytes)));
    ASSERT_EQ(doc->m_nFileCount, 3);
    EXPECT_EQ(doc->m_Entries[0].m_strName, "dup");
    EXPECT_EQ(doc->m_Entries[1].m_strName, wide);
    EXPECT_EQ(doc->m_Entries[2].m_strName, "dup");
    EXPECT_EQ(doc->m_Entries[2].m_nSize, 30);
    EXPECT_EQ(doc->m_Entries[2].m_nOffset, 4096 + 2048 * 2);
}

TEST_F(LoadTest, NegativeCountLoadsNothing)
{
    std::vector<uint8_t> bytes = vppbytes::Header(-5);
    vppbytes::Record(bytes, "never", 1);
    ASSERT_TRUE(Open(Write("neg.vpp", bytes)));
    EXPECT_EQ(doc->m_nFileCount, 0);
    EXPECT_EQ(doc->m_nTotalSize, 2048);
}

TEST_F(LoadTest, HeaderWithoutPaddingOpensWhenThereAreNoRecords)
{
    // The padding after the 16 header bytes is skipped, never read.
    std::vector<uint8_t> bytes = vppbytes::Header(0);
    bytes.resize(16);
    ASSERT_TRUE(Open(Write("short.vpp", bytes)));
    EXPECT_EQ(doc->m_nFileCount, 0);
}

TEST_F(LoadTest, BadSignatureShowsOnlyThatMessageAndEmptiesTheDocument)
{
    LoadSomethingAndEdit();
    MessageRecorder messages;
    // The version is wrong too, but must not be looked at.
    EXPECT_FALSE(Open(Write("sig.vpp", vppbytes::Header(1, 0, 0x51890ACF, 7))));
    ASSERT_EQ(messages.texts, std::vector<std::string>{"Unsupported file format (Invalid signature)!"});
    EXPECT_EQ(messages.types[0] & 0xF0u, UINT(afx::mbIconWarning));
    ExpectEmptiedAsByNew();
}

TEST_F(LoadTest, BadVersionShowsItsMessageAndEmptiesTheDocument)
{
    LoadSomethingAndEdit();
    MessageRecorder messages;
    EXPECT_FALSE(Open(Write("ver.vpp", vppbytes::Header(0, 2048, VPP_SIGNATURE, 2))));
    ASSERT_EQ(messages.texts, std::vector<std::string>{"Unsupported file format (Invalid version number)!"});
    ExpectEmptiedAsByNew();
}

TEST_F(LoadTest, ExactlyMaxFilesLoadsWithoutWarning)
{
    ASSERT_TRUE(Open(Write("max.vpp", vppbytes::ManyRecords(VPP_MAX_FILES, 1))));
    EXPECT_EQ(doc->m_nFileCount, VPP_MAX_FILES);
    EXPECT_EQ(doc->m_Entries[VPP_MAX_FILES - 1].m_strName, "f65535");
    EXPECT_EQ(doc->m_nTotalSize, 2048 + 64 * VPP_MAX_FILES + 2048 * VPP_MAX_FILES);
}

TEST_F(LoadTest, TooManyRecordsWarnLoadTheFirst65536AndKeepTheirOffsets)
{
    for (int32_t count : {65537, 70000}) {
        SCOPED_TRACE(count);
        MessageRecorder messages;
        ASSERT_TRUE(Open(Write("many.vpp", vppbytes::ManyRecords(count, 1))));
        ASSERT_EQ(messages.texts, std::vector<std::string>{FormatString(kTooManyFiles, count, 65536)});
        ASSERT_EQ(doc->m_nFileCount, VPP_MAX_FILES);
        // Offsets still follow the whole directory of `count` records.
        const int32_t first = 2048 + CPackwright32Doc::AlignToBlock(64 * count);
        EXPECT_EQ(doc->m_Entries[0].m_nOffset, first);
        EXPECT_EQ(doc->m_Entries[VPP_MAX_FILES - 1].m_nOffset, first + 65535 * 2048);
        // The total describes what a save would write: 65536 records.
        EXPECT_EQ(doc->m_nTotalSize, 2048 + 64 * VPP_MAX_FILES + 2048 * VPP_MAX_FILES);
    }
    EXPECT_EQ(doc->m_Entries[0].m_nOffset, 4483072);
    EXPECT_EQ(std::string(FormatString(kTooManyFiles, 70000, 65536)),
              "WARNING! This file has too many files (70000) for PACKWRIGHT32 to handle right. PACKWRIGHT32 will "
              "only load the first 65536 files. If you save to the same file, all files beyond that will be lost.");
}

TEST_F(LoadTest, TruncatedFilesAreRefusedWithoutGarbageEntries)
{
    std::vector<uint8_t> cutInRecord = vppbytes::Header(3);
    vppbytes::Record(cutInRecord, "whole", 1);
    vppbytes::Record(cutInRecord, "half", 1);
    cutInRecord.resize(2048 + 64 + 30);
    std::vector<uint8_t> cutBeforeDirectory = vppbytes::Header(2);
    cutBeforeDirectory.resize(16);
    std::vector<uint8_t> cutInHeader = vppbytes::Header(0);
    cutInHeader.resize(10);

    for (const auto& bytes : {cutInRecord, cutBeforeDirectory, cutInHeader}) {
        SCOPED_TRACE(bytes.size());
        LoadSomethingAndEdit();
        MessageRecorder messages;
        EXPECT_FALSE(Open(Write("cut.vpp", bytes)));
        EXPECT_EQ(messages.texts.size(), 1u);
        ExpectEmptiedAsByNew();
    }
}

TEST_F(LoadTest, ZeroLengthFileOpensAsEmptyArchiveAndDropsThePreviousTable)
{
    LoadSomethingAndEdit();
    const std::string path = Write("zero.vpp", {});
    ASSERT_TRUE(Open(path));
    EXPECT_EQ(doc->m_nFileCount, 0);
    EXPECT_EQ(doc->m_nTotalSize, 2048);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), GetFullPath(path));
}

TEST_F(LoadTest, MissingFileReportsItAndLeavesTheDocumentAlone)
{
    LoadSomethingAndEdit();
    const std::string before = doc->GetPathName();
    MessageRecorder messages;
    EXPECT_FALSE(Open(dir / "absent.vpp"));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("absent.vpp"), std::string::npos) << messages.texts[0];
    EXPECT_EQ(doc->m_nFileCount, 2);
    EXPECT_EQ(doc->m_Entries[1].m_strName, "old2");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), before);
}

TEST_F(LoadTest, RecordsReachingTwoGiBAreDroppedWithAWarning)
{
    // The largest archive that fits: total 2 GiB - 2048.
    std::vector<uint8_t> fits = vppbytes::Header(1);
    vppbytes::Record(fits, "big", 0x7FFFE800);
    ASSERT_TRUE(Open(Write("fits.vpp", fits)));
    EXPECT_EQ(doc->m_nTotalSize, 0x7FFFF800);
    EXPECT_EQ(doc->m_nDroppedRecords, 0);

    // A damaged size makes its record and those after it unreachable; the
    // good records before it still load.
    std::vector<uint8_t> oneByteMore = vppbytes::Header(1);
    vppbytes::Record(oneByteMore, "big", 0x7FFFE801);
    std::vector<uint8_t> sumWraps = vppbytes::Header(4);
    for (int i = 0; i < 4; ++i) vppbytes::Record(sumWraps, "q" + std::to_string(i), 0x40000000);
    std::vector<uint8_t> negativeSize = vppbytes::Header(2);
    vppbytes::Record(negativeSize, "good", 7);
    vppbytes::Record(negativeSize, "neg", 0xFFFFFFFF);

    const struct {
        std::vector<uint8_t> bytes;
        int loaded;
    } cases[] = {{oneByteMore, 0}, {sumWraps, 1}, {negativeSize, 1}};
    for (const auto& c : cases) {
        LoadSomethingAndEdit();
        MessageRecorder messages;
        ASSERT_TRUE(Open(Write("huge.vpp", c.bytes)));
        ASSERT_EQ(messages.texts.size(), 1u);
        const int32_t dropped = int32_t(vppbytes::GetLE32(c.bytes, VPP_HEADER_FILE_COUNT)) - c.loaded;
        EXPECT_EQ(messages.texts[0],
                  FormatString("WARNING! The directory of this file places %i files at 2 GB or beyond, where "
                               "PACKWRIGHT32 cannot reach them. PACKWRIGHT32 will only load the first %i files. If "
                               "you save to the same file, all files beyond that will be lost.",
                               dropped, c.loaded));
        EXPECT_EQ(doc->m_nFileCount, c.loaded);
        EXPECT_EQ(doc->m_nDroppedRecords, dropped);
        EXPECT_FALSE(doc->IsModified());
    }
}
