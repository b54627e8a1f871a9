// Saving: the exact bytes written, the work file beside an existing target,
// and what a failed save leaves behind.

#include <gtest/gtest.h>

#include <filesystem>
#ifdef _WIN32
#include <windows.h>

#include <thread>
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

using testutil::MessageRecorder;
using testutil::PathExists;
using testutil::ReadFileBytes;
using testutil::TempDir;
using testutil::WriteFileBytes;
using vppbytes::GetLE32;
using vppbytes::Pattern;

namespace {

class SaveTest : public DocFixture {
protected:
    void Add(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        ASSERT_TRUE(Succeeded(doc->AddFile(MakeFile(name, bytes)))) << name;
    }
};

}  // namespace

TEST_F(SaveTest, WorkedLayoutOfThreeFiles)
{
    const std::vector<vppbytes::File> files = {
        {"a.bin", Pattern(100, 1)}, {"b.bin", {}}, {"c.bin", Pattern(5000, 3)}};
    for (const auto& f : files) Add(f.name, f.data);
    const std::string target = dir / "three.vpp";
    ASSERT_TRUE(Save(target));

    const std::vector<uint8_t> bytes = ReadFileBytes(target);
    ASSERT_EQ(bytes.size(), 12288u);
    EXPECT_EQ(GetLE32(bytes, 8), 3u);
    EXPECT_EQ(GetLE32(bytes, 12), 12288u);
    EXPECT_EQ(bytes, vppbytes::Archive(files));
    EXPECT_FALSE(PathExists(target + ".try"));

    // The save ends with a reload: every entry now lives in the new file.
    ASSERT_EQ(doc->m_nFileCount, 3);
    const int32_t offsets[] = {4096, 6144, 6144};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(doc->m_Entries[size_t(i)].m_bInVPP);
        EXPECT_EQ(doc->m_Entries[size_t(i)].m_nOffset, offsets[i]);
        EXPECT_EQ(doc->m_Entries[size_t(i)].m_strFilePath, GetFullPath(target));
    }
    EXPECT_EQ(doc->m_nTotalSize, 12288);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->m_bSaveErrors);
    EXPECT_EQ(doc->GetSaveErrorReport(), "");
}

TEST_F(SaveTest, EmptyDocumentWritesTheEmptyArchive)
{
    const std::string target = dir / "empty.vpp";
    ASSERT_TRUE(Save(target));
    std::vector<uint8_t> expected = {0xCE, 0x0A, 0x89, 0x51, 1, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x08, 0, 0};
    expected.resize(2048, 0);
    EXPECT_EQ(ReadFileBytes(target), expected);
    EXPECT_EQ(doc->m_nFileCount, 0);
    EXPECT_EQ(doc->m_nTotalSize, 2048);
}

TEST_F(SaveTest, LongNamesAreCutTo59BytesOnDisk)
{
    std::string longName(66, 'n');
    longName += ".dat";  // 70 bytes
    Add(longName, Pattern(10, 5));
    const std::string target = dir / "long.vpp";
    ASSERT_TRUE(Save(target));
    const std::vector<uint8_t> bytes = ReadFileBytes(target);
    EXPECT_EQ(std::string(bytes.begin() + 2048, bytes.begin() + 2048 + 59), longName.substr(0, 59));
    EXPECT_EQ(bytes[2048 + 59], 0);
    EXPECT_EQ(doc->m_Entries[0].m_strName, longName.substr(0, 59));
}

TEST_F(SaveTest, RoundTripOfStoredAndOutsideEntries)
{
    // Stored entries of every padding case, then edits that mix in outside files.
    const std::string target = MakeFile(
        "game.vpp", vppbytes::Archive({{"keep.tbl", Pattern(2048, 1)},
                                       {"REPLACE.TGA", Pattern(2049, 2)},
                                       {"gone.wav", Pattern(7, 3)},
                                       {"empty", {}},
                                       {"tail.bin", Pattern(3000, 4)}}));
    ASSERT_TRUE(Open(target));
    const std::vector<uint8_t> replacement = Pattern(4097, 9);
    const std::vector<uint8_t> added = Pattern(5 * 1024 * 1024 + 123, 10);  // several copy chunks
    ASSERT_EQ(doc->AddFile(MakeFile("replace.tga", replacement)), AddResult::replaced);
    ASSERT_TRUE(doc->RemoveFile("gone.wav"));
    ASSERT_EQ(doc->AddFile(MakeFile("big.bin", added)), AddResult::added);

    // A .try left by an earlier failed save is simply overwritten.
    WriteFileBytes(target + ".try", Pattern(99, 0));
    ASSERT_TRUE(Save(target));

    const std::vector<vppbytes::File> expected = {{"keep.tbl", Pattern(2048, 1)},
                                                  {"replace.tga", replacement},
                                                  {"empty", {}},
                                                  {"tail.bin", Pattern(3000, 4)},
                                                  {"big.bin", added}};
    EXPECT_EQ(ReadFileBytes(target), vppbytes::Archive(expected));
    EXPECT_FALSE(PathExists(target + ".try"));
    ASSERT_EQ(doc->m_nFileCount, 5);
    EXPECT_TRUE(doc->m_Entries[1].m_bInVPP);
    EXPECT_EQ(doc->m_Entries[1].m_nOffset, 6144);
    EXPECT_EQ(doc->m_Entries[1].m_strFilePath, GetFullPath(target));
    EXPECT_FALSE(doc->IsModified());

    // Stored-to-stored copies go through the same chunked path.
    const std::string copy = dir / "copy.vpp";
    ASSERT_TRUE(Save(copy));
    EXPECT_EQ(ReadFileBytes(copy), vppbytes::Archive(expected));
    EXPECT_EQ(doc->m_Entries[4].m_strFilePath, GetFullPath(copy));
}

TEST_F(SaveTest, StoredEntriesAreCopiedWithCleanPadding)
{
    // Whatever the old archive holds between entries, the new one has zeros.
    const std::vector<vppbytes::File> files = {
        {"a", Pattern(100, 1)}, {"b", {}}, {"c", Pattern(2048, 2)}, {"d", Pattern(5000, 3)}};
    std::vector<uint8_t> dirty = vppbytes::Archive(files);
    for (const size_t at : {size_t(4096 + 100), size_t(4096 + 2047), size_t(8192 + 5000), dirty.size() - 1})
        dirty[at] = 0xEE;
    ASSERT_TRUE(Open(MakeFile("dirty.vpp", dirty)));
    ASSERT_TRUE(Save(dir / "clean.vpp"));
    EXPECT_EQ(ReadFileBytes(dir / "clean.vpp"), vppbytes::Archive(files));
}

TEST_F(SaveTest, ShortStoredSourceFailsTheSave)
{
    // The directory promises 5000 bytes; the file ends 1000 bytes into them.
    std::vector<uint8_t> bytes = vppbytes::Header(1);
    vppbytes::Record(bytes, "short", 5000);
    vppbytes::PadBlock(bytes);
    const std::vector<uint8_t> present = Pattern(1000, 6);
    bytes.insert(bytes.end(), present.begin(), present.end());
    ASSERT_TRUE(Open(MakeFile("short.vpp", bytes)));

    MessageRecorder messages;
    const std::string target = dir / "fixed.vpp";
    EXPECT_FALSE(Save(target));
    EXPECT_EQ(doc->GetSaveErrorReport(),
              "short\r\nThe archive is shorter than its directory: the data of this file is cut off.\r\n\r\n");
    EXPECT_EQ(testutil::ListFolder(dir.Path()), std::vector<std::string>{"short.vpp"});
}

TEST_F(SaveTest, WorkFileIsTheTargetNameWithTry)
{
    const std::string target = MakeFile("game.vpp", vppbytes::Archive({{"x", Pattern(3, 1)}}));
    ASSERT_TRUE(Open(target));
    Add("y", Pattern(4, 2));
    // A folder in the work file's place makes creating it fail.
    std::filesystem::create_directory(target + ".try");
    const std::vector<uint8_t> before = ReadFileBytes(target);
    {
        MessageRecorder messages;
        EXPECT_FALSE(doc->OnSaveDocument(target));
        EXPECT_FALSE(messages.texts.empty());
    }
    EXPECT_EQ(ReadFileBytes(target), before);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->m_nFileCount, 2);
}

TEST_F(SaveTest, FailedSaveKeepsTheTargetAndReportsEveryFailedEntry)
{
    const std::string target = MakeFile("game.vpp", vppbytes::Archive({{"stored", Pattern(50, 1)}}));
    ASSERT_TRUE(Open(target));
    const std::string gone = MakeFile("gone.bin", Pattern(10, 2));
    const std::string grown = MakeFile("grown.bin", Pattern(10, 3));
    ASSERT_EQ(doc->AddFile(gone), AddResult::added);
    ASSERT_EQ(doc->AddFile(grown), AddResult::added);
    Add("fine.bin", Pattern(10, 4));
    std::filesystem::remove(gone);
    WriteFileBytes(grown, Pattern(11, 3));
    const std::vector<uint8_t> before = ReadFileBytes(target);

    for (const std::string& path : {target, dir / "new.vpp"}) {
        SCOPED_TRACE(path);
        MessageRecorder messages;  // how the report reaches the user is the caller's business
        EXPECT_FALSE(doc->OnSaveDocument(path));
        EXPECT_TRUE(doc->m_bSaveErrors);
        EXPECT_EQ(doc->GetSaveErrorReport(),
                  "gone.bin\r\nError while trying to access source file.\r\n\r\n"
                  "grown.bin\r\nUnknown error -2.\r\n\r\n");
        EXPECT_FALSE(PathExists(path + ".try"));
        EXPECT_TRUE(doc->IsModified());
        ASSERT_EQ(doc->m_nFileCount, 4);
        EXPECT_FALSE(doc->m_Entries[1].m_bInVPP);
        EXPECT_EQ(doc->m_Entries[1].m_strFilePath, gone);
    }
    EXPECT_EQ(ReadFileBytes(target), before);
    EXPECT_FALSE(PathExists(dir / "new.vpp"));
    EXPECT_EQ(doc->GetPathName(), GetFullPath(target));
}

// Another program rewrites the archive in place (same size, its time put
// back, so only the directory tells) or renames a new one over it while the
// document holds entries of the old one: nothing reads the new file at the
// old offsets, and nothing replaces it.
TEST_F(SaveTest, AnArchiveChangedOnDiskIsNeitherReadNorReplaced)
{
    const auto loaded = vppbytes::Archive({{"a.bin", Pattern(3000, 1)}, {"b.bin", Pattern(10, 2)}});
    const auto theirs = vppbytes::Archive({{"b.bin", Pattern(3000, 3)}, {"a.bin", Pattern(10, 4)}});
    ASSERT_EQ(loaded.size(), theirs.size());
    for (const bool renamed : {false, true}) {
        SCOPED_TRACE(renamed ? "renamed over" : "rewritten in place");
        const std::string path = OpenArchive(loaded);
        ASSERT_EQ(doc->AddFile(MakeFile("new.bin", Pattern(5, 5))), AddResult::added);
        if (renamed) {
            MakeFile("theirs.tmp", theirs);
            CFile::RenameOver(dir / "theirs.tmp", path);
        } else {
            const auto time = std::filesystem::last_write_time(path);
            WriteFileBytes(path, theirs);
            std::filesystem::last_write_time(path, time);
        }

        TempDir out;
        EXPECT_EQ(doc->ExtractFiles({"a.bin", "b.bin", "new.bin"}, out.Path()),
                  (std::vector<ExtractResult>{ExtractResult::archiveChanged, ExtractResult::archiveChanged,
                                              ExtractResult::notSaved}));
        EXPECT_TRUE(testutil::ListFolder(out.Path()).empty());
        for (const std::string& target : {path, dir / "copy.vpp"}) {
            MessageRecorder messages;
            EXPECT_FALSE(doc->OnSaveDocument(target));
            ASSERT_EQ(messages.texts.size(), 1u);
            EXPECT_EQ(messages.texts[0], CPackwright32Doc::GetArchiveChangedText(GetFullPath(path)));
        }
        EXPECT_EQ(ReadFileBytes(path), theirs);
        EXPECT_EQ(testutil::ListFolder(dir.Path()), (std::vector<std::string>{"game.vpp", "new.bin"}));
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(doc->m_nFileCount, 3);
    }
}

// Saved, but the new archive cannot be opened again: no entry may go on
// pointing into it at the old archive's offsets.
TEST_F(SaveTest, ASaveThatCannotOpenItsArchiveAgainLeavesTheDocumentEmpty)
{
    struct NoReload : CPackwright32Doc {
        bool refuse = false;
        BOOL OnOpenDocument(const std::string& path) override
        {
            return refuse ? FALSE : CPackwright32Doc::OnOpenDocument(path);
        }
    };
    auto* noReload = new NoReload;
    doc.reset(noReload);
    doc->OnNewDocument();
    const std::string path = OpenArchive(vppbytes::Archive({{"a.bin", Pattern(3000, 1)}, {"b.bin", Pattern(10, 2)}}));
    ASSERT_TRUE(doc->RemoveFile("a.bin"));
    noReload->refuse = true;
    MessageRecorder messages;
    EXPECT_FALSE(doc->OnSaveDocument(path));
    EXPECT_TRUE(doc->IsTargetReplaced());
    EXPECT_EQ(ReadFileBytes(path), vppbytes::Archive({{"b.bin", Pattern(10, 2)}}));
    EXPECT_EQ(doc->m_nFileCount, 0);
    EXPECT_EQ(doc->GetPathName(), "");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(messages.texts, std::vector<std::string>{CPackwright32Doc::GetReloadFailedText(GetFullPath(path))});
}

TEST_F(SaveTest, CopyResultCodesAndTexts)
{
    const std::string out = dir / "out.bin";
    const std::string src = MakeFile("src.bin", Pattern(100, 1));
    CFile dest(out, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
    CDataCopier copier;  // what the store pass copies each entry with
    EXPECT_EQ(copier.Copy(dir / "missing.bin", 0, dest, 100), CopyResult::noSource);
    // Offset 0 marks an outside file, whose length must match.
    EXPECT_EQ(copier.Copy(src, 0, dest, 99), CopyResult::sizeChanged);
    EXPECT_EQ(dest.GetLength(), 0u);
    // Inside an archive the bytes present are copied, the rest are zeros,
    // and the short source is reported.
    EXPECT_EQ(copier.Copy(src, 60, dest, 50), CopyResult::sourceShort);
    EXPECT_EQ(copier.Copy(src, 60, dest, 40), CopyResult::ok);
    dest.Close();
    const std::vector<uint8_t> source = Pattern(100, 1);
    std::vector<uint8_t> expected(source.begin() + 60, source.end());
    expected.resize(50, 0);
    expected.insert(expected.end(), source.begin() + 60, source.end());
    EXPECT_EQ(ReadFileBytes(out), expected);

    EXPECT_EQ(CPackwright32Doc::GetCopyResultText(CopyResult(0)), "File successfully copied.");
    EXPECT_EQ(CPackwright32Doc::GetCopyResultText(CopyResult(-1)), "Error while trying to access source file.");
    EXPECT_EQ(CPackwright32Doc::GetCopyResultText(CopyResult(-2)), "Unknown error -2.");
    EXPECT_EQ(CPackwright32Doc::GetCopyResultText(CopyResult(-3)), "Error while saving data to file (Disk full?).");
    EXPECT_EQ(CPackwright32Doc::GetCopyResultText(CopyResult(-4)),
              "The archive is shorter than its directory: the data of this file is cut off.");
    EXPECT_EQ(CPackwright32Doc::GetCopyResultText(CopyResult(7)), "Unknown error 7.");
}

TEST_F(SaveTest, TheWorkFileIsNeverASourceNorWrittenThroughALink)
{
    // An outside file that bears the work file's name is read, not emptied.
    const std::string target = MakeFile("t.vpp", vppbytes::Archive({{"x", Pattern(3, 1)}}));
    ASSERT_TRUE(Open(target));
    const std::string precious = MakeFile("t.vpp.try", Pattern(100, 7));
    ASSERT_EQ(doc->AddFile(precious), AddResult::added);
    ASSERT_TRUE(Save(target));
    EXPECT_EQ(ReadFileBytes(precious), Pattern(100, 7));
    const std::vector<uint8_t> saved = vppbytes::Archive({{"x", Pattern(3, 1)}, {"t.vpp.try", Pattern(100, 7)}});
    EXPECT_EQ(ReadFileBytes(target), saved);

    // Recovery from a work file: opened from u.vpp.try, saved as u.vpp.
    const std::string recovered = MakeFile("u.vpp.try", saved);
    ASSERT_TRUE(Open(recovered));
    ASSERT_TRUE(Save(dir / "u.vpp"));
    EXPECT_EQ(ReadFileBytes(dir / "u.vpp"), saved);
    EXPECT_EQ(ReadFileBytes(recovered), saved);
    EXPECT_EQ(testutil::ListFolder(dir.Path()), (std::vector<std::string>{"t.vpp", "t.vpp.try", "u.vpp", "u.vpp.try"}));
#ifndef _WIN32
    // A link planted as the work file is replaced, its destination untouched;
    // a save through a link replaces the archive and keeps the link and the
    // archive's permissions.
    TempDir elsewhere;
    const std::string victim = elsewhere / "victim";
    WriteFileBytes(victim, Pattern(10, 9));
    const std::string real = elsewhere / "real.vpp";
    std::filesystem::create_symlink(victim, real + ".try");
    WriteFileBytes(real, vppbytes::Archive({}));
    std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::create_symlink(real, dir / "v.vpp");
    ASSERT_TRUE(Save(dir / "v.vpp"));
    EXPECT_EQ(ReadFileBytes(victim), Pattern(10, 9));
    EXPECT_FALSE(PathExists(real + ".try"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "v.vpp"));
    EXPECT_EQ(ReadFileBytes(real), saved);
    EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
#endif
}

#ifdef _WIN32
// A program holding the archive for a moment (a scanner) delays the save;
// one holding it throughout makes it fail, saying where the new archive waits.
TEST_F(SaveTest, ATargetHeldByAnotherProgramIsRetriedThenReported)
{
    const std::string target = MakeFile("held.vpp", vppbytes::Archive({{"x", Pattern(3, 1)}}));
    ASSERT_TRUE(Open(target));
    Add("y", Pattern(4, 2));
    const std::vector<uint8_t> before = ReadFileBytes(target);
    auto hold = [&] {
        return CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    };

    HANDLE held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        MessageRecorder messages;
        EXPECT_FALSE(doc->OnSaveDocument(target));
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_NE(messages.texts[0].find("waits in \"" + GetFullPath(target) + ".try\""), std::string::npos)
            << messages.texts[0];
    }
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(target), before);
    EXPECT_TRUE(doc->IsModified());

    held = hold();
    std::thread release([held] {
        Sleep(500);
        CloseHandle(held);
    });
    EXPECT_TRUE(doc->OnSaveDocument(target));
    release.join();
    EXPECT_EQ(ReadFileBytes(target), vppbytes::Archive({{"x", Pattern(3, 1)}, {"y", Pattern(4, 2)}}));
    EXPECT_FALSE(PathExists(target + ".try"));
}

TEST_F(SaveTest, WhatWindowsWillNotReplaceIsRefusedBeforeAnythingIsWritten)
{
    const std::string target = MakeFile("locked.vpp", vppbytes::Archive({{"x", Pattern(3, 1)}, {"y", Pattern(2, 2)}}));
    ASSERT_TRUE(Open(target));
    Add("z", Pattern(4, 3));
    const std::vector<uint8_t> before = ReadFileBytes(target);
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        MessageRecorder messages;
        EXPECT_FALSE(doc->OnSaveDocument(target));
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_EQ(messages.texts[0], "Access to " + GetFullPath(target) + " was denied.");
    }
    EXPECT_EQ(ReadFileBytes(target), before);
    EXPECT_FALSE(PathExists(target + ".try"));
    EXPECT_TRUE(doc->IsModified());

    // Extraction over a read-only file or a folder fails and leaves both.
    TempDir out;
    const std::string readOnly = out / "x";
    testutil::WriteFileText(readOnly, "mine");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectoryA((out / "y").c_str(), nullptr));
    EXPECT_EQ(doc->ExtractFile("x", out.Path()), ExtractResult::cannotCreate);
    EXPECT_EQ(doc->ExtractFile("y", out.Path()), ExtractResult::cannotCreate);
    EXPECT_EQ(ReadFileBytes(readOnly), std::vector<uint8_t>({'m', 'i', 'n', 'e'}));
    EXPECT_FALSE(PathExists(readOnly + ".try"));
    EXPECT_TRUE(PathExists(out / "y"));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}
#endif
