// The format routines shared by the reader and the writer: block arithmetic,
// padding and the fixed-width name field.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/File.h"
#include "tests/support/TestUtil.h"
#include "tests/support/VppBytes.h"

using testutil::ReadFileBytes;
using testutil::TempDir;

namespace {

using Doc = CPackwright32Doc;

// The name field as the save pass writes it: the first 60 bytes of one
// directory record written by VppWriteDirectory. The record's size must
// follow the field untouched, whatever the name's length.
std::vector<uint8_t> WrittenName(const TempDir& dir, const std::string& name)
{
    const std::string path = dir / "record.bin";
    const uint32_t size = 0x04030201;
    {
        CFile file(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
        VppWriteDirectory(file, 1, [&](int32_t) { return VppRecordRef{name, size}; });
        EXPECT_EQ(file.GetPosition(), uint64_t(VPP_RECORD_SIZE));
    }
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.size(), size_t(VPP_RECORD_SIZE));
    bytes.resize(VPP_RECORD_SIZE);
    EXPECT_EQ(vppbytes::GetLE32(bytes, VPP_RECORD_FILE_SIZE), size);
    bytes.resize(VPP_NAME_LENGTH);
    return bytes;
}

// The record the load pass reads with VppReadDirectory from bytes (the name
// field, then the start of the size; zeros make up the rest of the record),
// plus where it left the file.
VppRecord ReadRecordFrom(const TempDir& dir, std::vector<uint8_t> bytes, uint64_t& position)
{
    const std::string path = dir / "record.bin";
    bytes.resize(VPP_RECORD_SIZE, 0);
    testutil::WriteFileBytes(path, bytes);
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    VppHeader header;
    header.fileCount = 1;
    const std::vector<VppRecord> records = VppReadDirectory(file, header, 1);
    position = file.GetPosition();
    EXPECT_EQ(records.size(), 1u);
    return records.empty() ? VppRecord{} : records.front();
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

TEST(NameFieldWritten, FillsTheFieldWithZerosAfterTheName)
{
    TempDir dir;
    std::vector<uint8_t> expected(60, 0);
    expected[0] = 'a';
    expected[1] = '.';
    expected[2] = 'b';
    EXPECT_EQ(WrittenName(dir, "a.b"), expected);
    EXPECT_EQ(WrittenName(dir, ""), std::vector<uint8_t>(60, 0));
}

TEST(NameFieldWritten, CutsLongNamesTo59BytesAndKeepsATerminator)
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

TEST(NameFieldWritten, CutsBytesNotCharacters)
{
    // Bytes 0x82 0xA0 straddling byte 59 keep only the 0x82: in the
    // single-byte code page of the native tests each is a character of its
    // own (the double-byte cut is CodePageTest's, under Wine in 932).
    TempDir dir;
    std::string name(58, 'x');
    name += "\x82\xA0";
    name += "tail";
    const std::vector<uint8_t> field = WrittenName(dir, name);
    EXPECT_EQ(field[57], 'x');
    EXPECT_EQ(field[58], 0x82);
    EXPECT_EQ(field[59], 0);
}

TEST(NameFieldRead, StopsAtTheFirstZeroAndConsumesTheWholeField)
{
    TempDir dir;
    std::vector<uint8_t> bytes(60, 0);
    const std::string visible = "data.tbl";
    std::copy(visible.begin(), visible.end(), bytes.begin());
    bytes[20] = 'Z';  // garbage after the terminator is not part of the name
    bytes.push_back(0x77);
    uint64_t position = 0;
    const VppRecord record = ReadRecordFrom(dir, bytes, position);
    EXPECT_EQ(record.name, visible);
    EXPECT_EQ(record.size, 0x77u);  // the byte after the field is the size's
    EXPECT_EQ(position, uint64_t(VPP_RECORD_SIZE));
}

TEST(NameFieldRead, TakesAll60BytesWhenNoneIsZero)
{
    TempDir dir;
    std::vector<uint8_t> bytes(60);
    for (size_t i = 0; i < 60; ++i) bytes[i] = uint8_t(0x80 + i);  // high bytes stay as they are
    bytes.push_back('!');
    uint64_t position = 0;
    const VppRecord record = ReadRecordFrom(dir, bytes, position);
    EXPECT_EQ(record.name, std::string(bytes.begin(), bytes.begin() + 60));
    EXPECT_EQ(record.size, uint32_t('!'));  // the byte after the field is the size's
    EXPECT_EQ(position, uint64_t(VPP_RECORD_SIZE));
}
