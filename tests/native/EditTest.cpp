// Editing the table: adding and replacing with the case-blind rule, removing
// and extracting by exact name, and the limits that keep archives valid.

#include <gtest/gtest.h>

#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif
#include <memory>
#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/File.h"
#include "framework/base/Path.h"
#include "tests/support/VppBytes.h"
#include "tests/support/DocFixture.h"
#include "tests/support/TestUtil.h"

using testutil::ListFolder;
using testutil::PathExists;
using testutil::ReadFileBytes;
using testutil::TempDir;
using testutil::WriteFileBytes;
using vppbytes::Pattern;

namespace {

class EditTest : public DocFixture {
protected:
    const VPPEntry& Entry(int i) const { return doc->m_Entries[size_t(i)]; }

    TempDir out;  // extraction target
};

}  // namespace

TEST_F(EditTest, AddAppendsAnOutsideEntry)
{
    const std::string path = MakeFile("one.bin", Pattern(100, 1));
    ASSERT_EQ(doc->AddFile(path), AddResult::added);
    ASSERT_EQ(doc->m_nFileCount, 1);
    EXPECT_EQ(Entry(0).m_strName, "one.bin");
    EXPECT_EQ(Entry(0).m_nSize, 100);
    EXPECT_EQ(Entry(0).m_strFilePath, path);
    EXPECT_EQ(Entry(0).m_nOffset, 0);
    EXPECT_FALSE(Entry(0).m_bInVPP);
    EXPECT_EQ(doc->m_nTotalSize, 6144);
    EXPECT_TRUE(doc->IsModified());

    // An empty file takes no data block; the same path again replaces.
    ASSERT_EQ(doc->AddFile(MakeFile("empty", {})), AddResult::added);
    EXPECT_EQ(doc->m_nTotalSize, 6144);
    WriteFileBytes(path, Pattern(3000, 1));
    ASSERT_EQ(doc->AddFile(path), AddResult::replaced);
    EXPECT_EQ(doc->m_nFileCount, 2);
    EXPECT_EQ(Entry(0).m_nSize, 3000);
    EXPECT_EQ(doc->m_nTotalSize, 8192);
}

TEST_F(EditTest, AddReplacesStoredEntriesRegardlessOfCase)
{
    OpenArchive(vppbytes::Archive({{"README.TXT", Pattern(10, 1)},
                                   {"\xC9T\xC9.WAV", Pattern(10, 2)},  // ETE with acute accents, Windows-1252
                                   {"dup", Pattern(5000, 3)},
                                   {"other", {}},
                                   {"DUP", Pattern(10, 4)}}));
    const std::string readme = MakeFile("readme.txt", Pattern(3000, 5));
    ASSERT_EQ(doc->AddFile(readme), AddResult::replaced);
    EXPECT_EQ(Entry(0).m_strName, "readme.txt");
    EXPECT_EQ(Entry(0).m_strFilePath, readme);
    EXPECT_EQ(Entry(0).m_nOffset, 0);
    EXPECT_FALSE(Entry(0).m_bInVPP);
    EXPECT_EQ(doc->m_nTotalSize, 4096 + 4096 + 2048 + 6144 + 0 + 2048);

    ASSERT_EQ(doc->AddFile(MakeFile("\xE9t\xE9.wav", {})), AddResult::replaced);
    EXPECT_EQ(Entry(1).m_strName, "\xE9t\xE9.wav");

    // With two entries of one name, the later one is replaced.
    ASSERT_EQ(doc->AddFile(MakeFile("Dup", {})), AddResult::replaced);
    EXPECT_EQ(Entry(4).m_strName, "Dup");
    EXPECT_TRUE(Entry(2).m_bInVPP);
    EXPECT_EQ(doc->m_nFileCount, 5);
}

TEST_F(EditTest, LongNamesReplaceAsTheyWillBeStored)
{
    // Only the first 59 bytes are stored: names equal there are one entry.
    const std::string stem(59, 'n');
    ASSERT_EQ(doc->AddFile(MakeFile(stem + "-first", {1})), AddResult::added);
    EXPECT_EQ(doc->AddFile(MakeFile(stem + "-first", {2})), AddResult::replaced);
    EXPECT_EQ(doc->AddFile(MakeFile(std::string(59, 'N') + "-second", {3})), AddResult::replaced);
    EXPECT_EQ(doc->AddFile(MakeFile(stem.substr(1) + "m", {4})), AddResult::added);
    EXPECT_EQ(doc->m_nFileCount, 2);
}

TEST_F(EditTest, AddLookupFollowsRemovalsNewAndOpen)
{
    for (const char* name : {"a", "b", "c"}) ASSERT_EQ(doc->AddFile(MakeFile(name, {1})), AddResult::added);
    ASSERT_TRUE(doc->RemoveFile("b"));
    // c moved down to index 1; b is gone.
    ASSERT_EQ(doc->AddFile(MakeFile("C", {})), AddResult::replaced);
    EXPECT_EQ(Entry(1).m_strName, "C");
    ASSERT_EQ(doc->AddFile(MakeFile("B", {})), AddResult::added);
    EXPECT_EQ(Entry(2).m_strName, "B");

    doc->OnNewDocument();
    EXPECT_EQ(doc->AddFile(dir / "a"), AddResult::added);
    OpenArchive(vppbytes::Archive({{"x", {}}, {"A", {}}}));
    EXPECT_EQ(doc->AddFile(dir / "a"), AddResult::replaced);
    EXPECT_EQ(Entry(1).m_strName, "a");
}

TEST_F(EditTest, AddFailsWhenTheFileCannotBeHeldAlone)
{
    const std::string path = MakeFile("held.bin", Pattern(10, 1));
    for (UINT share : {UINT(CFile::shareExclusive), UINT(CFile::shareDenyWrite)}) {
        CFile holder(path, CFile::modeRead | share);
        EXPECT_EQ(doc->AddFile(path), AddResult::noAccess) << share;
    }
    EXPECT_EQ(doc->AddFile(dir / "missing.bin"), AddResult::noAccess);
    EXPECT_EQ(doc->AddFile(out.Path()), AddResult::noAccess);  // a folder
    EXPECT_EQ(doc->m_nFileCount, 0);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->AddFile(path), AddResult::added);  // released again
}

TEST_F(EditTest, FullTableRefusesNewNamesButStillReplaces)
{
    OpenArchive(vppbytes::ManyRecords(VPP_MAX_FILES, 0));
    ASSERT_EQ(doc->m_nFileCount, VPP_MAX_FILES);
    EXPECT_EQ(doc->AddFile(MakeFile("new.bin", {1})), AddResult::tableFull);
    EXPECT_EQ(doc->m_nFileCount, VPP_MAX_FILES);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->AddFile(MakeFile("F00042", {1})), AddResult::replaced);
    EXPECT_EQ(Entry(42).m_strName, "F00042");
    EXPECT_EQ(doc->m_nFileCount, VPP_MAX_FILES);
}

TEST_F(EditTest, AddRefusesWhatWouldTakeTheArchiveToTwoGiB)
{
    // One stored entry leaves exactly one block below 2 GiB; the data is never read.
    std::vector<uint8_t> bytes = vppbytes::Header(1);
    vppbytes::Record(bytes, "big", 0x7FFFE800);
    OpenArchive(bytes);
    ASSERT_EQ(doc->m_nTotalSize, 0x7FFFF800);

    EXPECT_EQ(doc->AddFile(MakeFile("block.bin", std::vector<uint8_t>(2048))), AddResult::tooLarge);
    EXPECT_EQ(doc->m_nFileCount, 1);
    EXPECT_EQ(doc->m_nTotalSize, 0x7FFFF800);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->AddFile(MakeFile("nothing.bin", {})), AddResult::added);
    // Replacing the big entry frees its space first.
    EXPECT_EQ(doc->AddFile(MakeFile("BIG", std::vector<uint8_t>(1 << 20))), AddResult::replaced);
    EXPECT_EQ(doc->m_nTotalSize, 4096 + (1 << 20));

    const std::string text = CPackwright32Doc::GetAddResultText(AddResult::tooLarge);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, "Unknown error -3.");

#ifndef _WIN32
    // A sparse file of 2 GiB costs nothing on POSIX file systems.
    const std::string huge = dir / "huge.bin";
    WriteFileBytes(huge, {});
    std::filesystem::resize_file(huge, uint64_t(1) << 31);
    doc->OnNewDocument();
    EXPECT_EQ(doc->AddFile(huge), AddResult::tooLarge);
    EXPECT_EQ(doc->m_nFileCount, 0);
    std::filesystem::remove(huge);
#endif
}

TEST_F(EditTest, AddResultTexts)
{
    EXPECT_EQ(CPackwright32Doc::GetAddResultText(AddResult(0)), "File successfully added.");
    EXPECT_EQ(CPackwright32Doc::GetAddResultText(AddResult(1)), "File successfully replaced.");
    EXPECT_EQ(CPackwright32Doc::GetAddResultText(AddResult(-1)), "VPP exceeds 65536 files.");
    EXPECT_EQ(CPackwright32Doc::GetAddResultText(AddResult(-2)),
              "Could not access file. Please verify that it is not opened in another program.");
    EXPECT_EQ(CPackwright32Doc::GetAddResultText(AddResult(-3)),
              "File too large: a VPP archive and every file in it must stay below 2 GB.");
    EXPECT_EQ(CPackwright32Doc::GetAddResultText(AddResult(9)), "Unknown error 9.");
}

TEST_F(EditTest, RemoveIsExactTakesTheLaterDuplicateAndKeepsOrder)
{
    OpenArchive(vppbytes::Archive(
        {{"a", Pattern(1, 1)}, {"B", Pattern(2, 2)}, {"c", Pattern(3000, 3)}, {"B", Pattern(4, 4)}}));
    const int32_t offsetOfC = Entry(2).m_nOffset;
    EXPECT_FALSE(doc->RemoveFile("b"));
    EXPECT_FALSE(doc->IsModified());

    ASSERT_TRUE(doc->RemoveFile("B"));
    ASSERT_EQ(doc->m_nFileCount, 3);
    EXPECT_EQ(Entry(1).m_nSize, 2);  // the later B went
    ASSERT_TRUE(doc->RemoveFile("B"));
    ASSERT_EQ(doc->m_nFileCount, 2);
    EXPECT_EQ(Entry(1).m_strName, "c");
    EXPECT_EQ(Entry(1).m_nSize, 3000);
    EXPECT_EQ(Entry(1).m_nOffset, offsetOfC);  // still points into the file on disk
    EXPECT_TRUE(Entry(1).m_bInVPP);
    EXPECT_EQ(doc->m_nTotalSize, 4096 + 2048 + 4096);
    EXPECT_TRUE(doc->IsModified());

    doc->SetModifiedFlag(FALSE);
    EXPECT_FALSE(doc->RemoveFile("B"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->ExtractFile("B", out.Path()), ExtractResult::notFound);
}

TEST_F(EditTest, BatchRemovalMatchesRemovingOneByOne)
{
    // Duplicates, a name asked twice, one asked more often than it is there,
    // and one never there: the batch must leave what one-by-one leaves.
    const std::vector<uint8_t> bytes = vppbytes::Archive({{"x", Pattern(1, 1)},
                                                          {"y", Pattern(2, 2)},
                                                          {"x", Pattern(3, 3)},
                                                          {"z", Pattern(4, 4)},
                                                          {"x", Pattern(5, 5)},
                                                          {"y", Pattern(6, 6)}});
    const std::vector<std::string> names = {"x", "y", "x", "z", "z", "none"};
    OpenArchive(bytes);
    for (const std::string& name : names) doc->RemoveFile(name);
    std::vector<int32_t> expected;
    for (int32_t i = 0; i < doc->m_nFileCount; ++i) expected.push_back(Entry(i).m_nSize);
    const int32_t expectedTotal = doc->m_nTotalSize;

    OpenArchive(bytes);
    EXPECT_EQ(doc->RemoveFiles(names), 4);
    std::vector<int32_t> sizes;
    for (int32_t i = 0; i < doc->m_nFileCount; ++i) sizes.push_back(Entry(i).m_nSize);
    EXPECT_EQ(sizes, expected);
    EXPECT_EQ(sizes, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(doc->m_nTotalSize, expectedTotal);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(EditTest, RemovingAnOutsideEntryLeavesItsFile)
{
    const std::string path = MakeFile("keep.bin", Pattern(5, 1));
    ASSERT_EQ(doc->AddFile(path), AddResult::added);
    ASSERT_TRUE(doc->RemoveFile("keep.bin"));
    EXPECT_EQ(doc->m_nFileCount, 0);
    EXPECT_EQ(doc->m_nTotalSize, 2048);
    EXPECT_EQ(ReadFileBytes(path), Pattern(5, 1));
}

TEST_F(EditTest, ExtractWritesTheEntrysBytes)
{
    const std::vector<uint8_t> big = Pattern(5 * 1024 * 1024 + 123, 7);  // several copy chunks
    OpenArchive(vppbytes::Archive({{"readme.txt", Pattern(5000, 1)},
                                   {"zero", {}},
                                   {"dup", Pattern(10, 2)},
                                   {"dup", Pattern(20, 3)},
                                   {"big.bin", big}}));
    // An older, longer file of the same name is replaced, not overwritten in part.
    WriteFileBytes(out / "readme.txt", Pattern(9000, 9));
    ASSERT_EQ(doc->ExtractFile("readme.txt", out.Path()), ExtractResult::ok);
    EXPECT_EQ(ReadFileBytes(out / "readme.txt"), Pattern(5000, 1));
    ASSERT_EQ(doc->ExtractFile("zero", AddTrailingSeparator(out.Path())), ExtractResult::ok);
    EXPECT_EQ(ReadFileBytes(out / "zero"), std::vector<uint8_t>{});
    ASSERT_EQ(doc->ExtractFile("dup", out.Path()), ExtractResult::ok);
    EXPECT_EQ(ReadFileBytes(out / "dup"), Pattern(20, 3));
    ASSERT_EQ(doc->ExtractFile("big.bin", AddTrailingSeparator(out.Path())), ExtractResult::ok);
    EXPECT_EQ(ReadFileBytes(out / "big.bin"), big);
    EXPECT_EQ(ListFolder(out.Path()), (std::vector<std::string>{"big.bin", "dup", "readme.txt", "zero"}));
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(EditTest, BatchExtractionMatchesExtractingOneByOne)
{
    OpenArchive(vppbytes::Archive(
        {{"a", Pattern(10, 1)}, {"dup", Pattern(20, 2)}, {"dup", Pattern(30, 3)}, {"b", Pattern(3000, 4)}}));
    ASSERT_EQ(doc->AddFile(MakeFile("c", {7})), AddResult::added);
    const std::vector<std::string> names = {"a", "missing", "dup", "c", "b", "a", "B"};
    TempDir one;
    std::vector<ExtractResult> codes;
    for (const std::string& name : names) codes.push_back(doc->ExtractFile(name, one.Path()));
    EXPECT_EQ(doc->ExtractFiles(names, out.Path()), codes);
    ASSERT_EQ(ListFolder(out.Path()), ListFolder(one.Path()));
    for (const std::string& name : ListFolder(one.Path())) EXPECT_EQ(ReadFileBytes(out / name), ReadFileBytes(one / name));
    EXPECT_EQ(ReadFileBytes(out / "dup"), Pattern(30, 3));
}

TEST_F(EditTest, AShortArchiveIsReportedNotTurnedIntoZeros)
{
    std::vector<uint8_t> bytes = vppbytes::Header(2);
    vppbytes::Record(bytes, "whole", 10);
    // Large enough to be copied by the system, which then meets the end.
    vppbytes::Record(bytes, "short", 3 << 20);
    vppbytes::PadBlock(bytes);
    const std::vector<uint8_t> whole = Pattern(10, 5);
    bytes.insert(bytes.end(), whole.begin(), whole.end());
    vppbytes::PadBlock(bytes);
    const std::vector<uint8_t> present = Pattern(3 << 19, 6);
    bytes.insert(bytes.end(), present.begin(), present.end());
    const std::string archive = OpenArchive(bytes);

    EXPECT_EQ(doc->ExtractFile("short", out.Path()), ExtractResult::sourceShort);
    EXPECT_EQ(doc->ExtractFile("whole", out.Path()), ExtractResult::ok);
    EXPECT_EQ(ListFolder(out.Path()), std::vector<std::string>{"whole"});

    // Saved over itself: the save fails with that entry, the archive stays.
    testutil::MessageRecorder messages;
    EXPECT_FALSE(doc->OnSaveDocument(archive));
    EXPECT_EQ(doc->GetSaveErrorReport(),
              "short\r\nThe archive is shorter than its directory: the data of this file is cut off.\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(archive), bytes);
    EXPECT_EQ(ListFolder(dir.Path()), std::vector<std::string>{"game.vpp"});
}

TEST_F(EditTest, ExtractFailuresWriteNothing)
{
    const std::string archive = OpenArchive(vppbytes::Archive({{"Stored.txt", Pattern(10, 1)}}));
    ASSERT_EQ(doc->AddFile(MakeFile("added.txt", {1, 2})), AddResult::added);
    EXPECT_EQ(doc->ExtractFile("added.txt", out.Path()), ExtractResult::notSaved);
    EXPECT_EQ(doc->ExtractFile("stored.txt", out.Path()), ExtractResult::notFound);
    EXPECT_EQ(doc->ExtractFile("nothing", out.Path()), ExtractResult::notFound);
    {
        CFile holder(archive, CFile::modeRead | CFile::shareDenyWrite);
        EXPECT_EQ(doc->ExtractFile("Stored.txt", out.Path()), ExtractResult::noArchive);
    }
    EXPECT_EQ(ListFolder(out.Path()), std::vector<std::string>{});

    EXPECT_EQ(CPackwright32Doc::GetExtractResultText(ExtractResult(0)), "File successfully extracted.");
    EXPECT_EQ(CPackwright32Doc::GetExtractResultText(ExtractResult(-1)),
              "Internal error (file reference not found in memory).");
    EXPECT_EQ(CPackwright32Doc::GetExtractResultText(ExtractResult(-2)), "Error while trying to access the .VP file.");
    EXPECT_EQ(CPackwright32Doc::GetExtractResultText(ExtractResult(-3)),
              "Error while trying to save file (File/Directory access problem?).");
    EXPECT_EQ(CPackwright32Doc::GetExtractResultText(ExtractResult(-4)),
              "Skipped since this file is not yet saved in a .VPP.");
    EXPECT_EQ(CPackwright32Doc::GetExtractResultText(ExtractResult(-5)),
              "The archive is shorter than its directory: the data of this file is cut off.");
    EXPECT_EQ(CPackwright32Doc::GetExtractResultText(ExtractResult(-6)),
              "The archive was changed by another program after it was opened. Open it again to see what it holds "
              "now.");
    EXPECT_EQ(CPackwright32Doc::GetExtractResultText(ExtractResult(-7)), "Unknown error -7.");
}

TEST_F(EditTest, ExtractRefusesNamesThatAreNotPlainFileNames)
{
    const std::vector<std::string> unsafe = {
        "..", ".", "a\\b", "a/b", "../escaped.txt", "..\\escaped.txt", "c:x", "CON", "nul.txt", "aux",
        "PRN", "com1", "LPT9.log", "a<b", "a>b", "a|b", "a?b", "a*b", "a\"b", "tab\tname", "dot.",
        "space ", ""};
    const std::vector<std::string> safe = {"console.txt", "a..b", "\xE9t\xE9.txt", ".hidden", "a b"};
    std::vector<vppbytes::File> files;
    for (const auto& n : unsafe) files.push_back({n, {1, 2, 3}});
    for (const auto& n : safe) files.push_back({n, {4}});
    OpenArchive(vppbytes::Archive(files));
    const std::vector<std::string> archiveFolder = ListFolder(dir.Path());

    for (const auto& name : unsafe) EXPECT_EQ(doc->ExtractFile(name, out.Path()), ExtractResult::cannotCreate) << name;
    EXPECT_EQ(ListFolder(out.Path()), std::vector<std::string>{});
    EXPECT_EQ(ListFolder(dir.Path()), archiveFolder);
    EXPECT_FALSE(PathExists(AddTrailingSeparator(out.Path()) + ".." + kPathSeparator + "escaped.txt"));

    // Paths an attacker would plant: absolute, drive-relative, UNC, device.
    for (const char* name : {"C:\\x", "C:x", "\\\\server\\share\\x", "\\\\?\\C:\\x", "/etc/x"})
        EXPECT_FALSE(CPackwright32Doc::IsSafeFileName(name)) << name;

    for (const auto& name : safe) EXPECT_EQ(doc->ExtractFile(name, out.Path()), ExtractResult::ok) << name;
    EXPECT_EQ(ListFolder(out.Path()).size(), safe.size());
#ifndef _WIN32
    // A link already in the folder under an entry's name is replaced by the
    // entry, never written through.
    TempDir elsewhere;
    const std::string victim = elsewhere / "victim";
    WriteFileBytes(victim, {9, 9});
    std::filesystem::remove(out / "a b");
    std::filesystem::create_symlink(victim, out / "a b");
    EXPECT_EQ(doc->ExtractFile("a b", out.Path()), ExtractResult::ok);
    EXPECT_EQ(ReadFileBytes(victim), (std::vector<uint8_t>{9, 9}));
    EXPECT_FALSE(std::filesystem::is_symlink(out / "a b"));
    EXPECT_EQ(ReadFileBytes(out / "a b"), std::vector<uint8_t>{4});
#endif

    // Never over the archive it comes from: "game.vpp" out of game.vpp into
    // the archive's own folder would replace the archive.
    const std::string self = OpenArchive(vppbytes::Archive({{"game.vpp", Pattern(5, 7)}}));
    const std::vector<uint8_t> before = ReadFileBytes(self);
    EXPECT_EQ(doc->ExtractFile("game.vpp", dir.Path()), ExtractResult::cannotCreate);
    EXPECT_EQ(ReadFileBytes(self), before);
    EXPECT_FALSE(PathExists(self + ".try"));
}

#ifndef _WIN32
// Only regular files are files: a pipe would block the open, a device has no length.
TEST_F(EditTest, AddRefusesPipesAndDevicesWithoutBlocking)
{
    const std::string fifo = dir / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(doc->AddFile(fifo), AddResult::noAccess);
    EXPECT_EQ(doc->AddFile("/dev/null"), AddResult::noAccess);
    EXPECT_EQ(doc->m_nFileCount, 0);
}
#endif
