// The format routines shared by the reader and the writer: block arithmetic,
// padding and the fixed-width name field.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/File.h"
#include "tests/support/TestUtil.h"

using testutil::ReadFileBytes;
using testutil::TempDir;

namespace {

using Doc = CPackwright32Doc;

// Bytes WriteName puts into a fresh file.
std::vector<uint8_t> WrittenName(const TempDir& dir, const std::string& name)
{
    const std::string path = dir / "name.bin";
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
        Doc::WriteName(file, VPP_NAME_LENGTH, name);
        EXPECT_EQ(file.GetPosition(), uint64_t(VPP_NAME_LENGTH));
    }
    return ReadFileBytes(path);
}

// ReadName over bytes, plus where it left the file.
std::string ReadNameFrom(const TempDir& dir, const std::vector<uint8_t>& bytes, uint64_t* position = nullptr)
{
    const std::string path = dir / "field.bin";
    testutil::WriteFileBytes(path, bytes);
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    std::string name = Doc::ReadName(file, VPP_NAME_LENGTH);
    if (position) *position = file.GetPosition();
    return name;
}

}  // namespace

TEST(AlignToBlock, RoundsUpToWholeBlocks)
{
    EXPECT_EQ(Doc::AlignToBlock(0), 0);
    EXPECT_EQ(Doc::AlignToBlock(1), 2048);
    EXPECT_EQ(Doc::AlignToBlock(2047), 2048);
    EXPECT_EQ(Doc::AlignToBlock(2048), 2048);
    EXPECT_EQ(Doc::AlignToBlock(2049), 4096);
    // Directory sizes: 32 records fill one block, 33 need two.
    EXPECT_EQ(Doc::AlignToBlock(64 * 32), 2048);
    EXPECT_EQ(Doc::AlignToBlock(64 * 33), 4096);
    EXPECT_EQ(Doc::AlignToBlock(64 * 70000), 4481024);
    // The last block below 2 GiB must not overflow.
    EXPECT_EQ(Doc::AlignToBlock(0x7FFFF800), 0x7FFFF800);
    EXPECT_EQ(Doc::AlignToBlock(0x7FFFF001), 0x7FFFF800);
}

TEST(PadToBlock, WritesZerosUpToTheNextBoundaryOnly)
{
    TempDir dir;
    const std::string path = dir / "pad.bin";
    CFile file(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
    Doc::PadToBlock(file);  // at 0: nothing
    EXPECT_EQ(file.GetLength(), 0u);

    const uint8_t byte = 0xAB;
    file.Write(&byte, 1);
    Doc::PadToBlock(file);
    EXPECT_EQ(file.GetPosition(), 2048u);
    Doc::PadToBlock(file);  // on a boundary: nothing
    EXPECT_EQ(file.GetLength(), 2048u);

    // Padding continues from the current position, not from the end.
    std::vector<uint8_t> more(3000, 0xCD);
    file.Write(more.data(), UINT(more.size()));
    Doc::PadToBlock(file);
    EXPECT_EQ(file.GetLength(), 6144u);
    file.Close();

    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 6144u);
    EXPECT_EQ(bytes[0], 0xAB);
    for (size_t i = 1; i < 2048; ++i) ASSERT_EQ(bytes[i], 0) << "at " << i;
    for (size_t i = 2048 + 3000; i < 6144; ++i) ASSERT_EQ(bytes[i], 0) << "at " << i;
}

TEST(WriteName, FillsTheFieldWithZerosAfterTheName)
{
    TempDir dir;
    std::vector<uint8_t> expected(60, 0);
    expected[0] = 'a';
    expected[1] = '.';
    expected[2] = 'b';
    EXPECT_EQ(WrittenName(dir, "a.b"), expected);
    EXPECT_EQ(WrittenName(dir, ""), std::vector<uint8_t>(60, 0));
}

TEST(WriteName, CutsLongNamesTo59BytesAndKeepsATerminator)
{
    TempDir dir;
    for (size_t length : {59u, 60u, 70u}) {
        std::string name;
        for (size_t i = 0; i < length; ++i) name += char('A' + i % 26);
        const std::vector<uint8_t> field = WrittenName(dir, name);
        ASSERT_EQ(field.size(), 60u);
        EXPECT_EQ(std::string(field.begin(), field.begin() + 59), name.substr(0, 59)) << length;
        EXPECT_EQ(field[59], 0) << length;
    }
}

TEST(WriteName, CutsBytesNotCharacters)
{
    // A double-byte character (Shift-JIS lead 0x82, trail 0xA0) straddling
    // byte 59 keeps only its lead byte: the cut knows nothing of code pages.
    TempDir dir;
    std::string name(58, 'x');
    name += "\x82\xA0";
    name += "tail";
    const std::vector<uint8_t> field = WrittenName(dir, name);
    EXPECT_EQ(field[57], 'x');
    EXPECT_EQ(field[58], 0x82);
    EXPECT_EQ(field[59], 0);
}

TEST(ReadName, StopsAtTheFirstZeroAndConsumesTheWholeField)
{
    TempDir dir;
    std::vector<uint8_t> bytes(60, 0);
    const std::string visible = "data.tbl";
    std::copy(visible.begin(), visible.end(), bytes.begin());
    bytes[20] = 'Z';  // garbage after the terminator is not part of the name
    bytes.push_back(0x77);
    uint64_t position = 0;
    EXPECT_EQ(ReadNameFrom(dir, bytes, &position), visible);
    EXPECT_EQ(position, 60u);
}

TEST(ReadName, TakesAll60BytesWhenNoneIsZero)
{
    TempDir dir;
    std::vector<uint8_t> bytes(60);
    for (size_t i = 0; i < 60; ++i) bytes[i] = uint8_t(0x80 + i);  // high bytes stay as they are
    bytes.push_back('!');
    uint64_t position = 0;
    const std::string name = ReadNameFrom(dir, bytes, &position);
    EXPECT_EQ(name, std::string(bytes.begin(), bytes.begin() + 60));
    EXPECT_EQ(position, 60u);
}
