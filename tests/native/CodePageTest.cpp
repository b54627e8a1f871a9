// The code page's character rules, by table: the single-byte rules natively
// and under Wine in code page 1252; the double-byte rules under Wine in code
// page 932 (tests/win/code_page_932.sh), where 0x95 0x5C is 表 and 0x81 0x7C
// is −, trail bytes equal to the backslash and the bar.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "core/Packwright32Doc.h"
#include "framework/base/CodePage.h"
#include "framework/base/Path.h"

namespace {
const std::string kSep(1, kPathSeparator);
constexpr size_t npos = std::string::npos;
std::string Bool(bool b) { return b ? "true" : "false"; }
std::string Pos(size_t p) { return p == npos ? "npos" : std::to_string(p); }
}  // namespace

TEST(CodePage, SeparatorsDotsCaseAndCutsGoByCharacters)
{
    const bool dbcs = IsAnsiLeadByte(0x95);
    if (std::getenv("PACKWRIGHT_EXPECT_CP932")) {
        ASSERT_TRUE(dbcs) << "not a double-byte code page";
    }
    struct Case {
        const char* what;
        std::function<std::string()> run;
        std::string single, dbcs;
    };
    const std::string hyo = "\x95\\";
    const Case cases[] = {
        {"last backslash", [] { return Pos(AnsiFindLast("a\\b", "\\")); }, "1", "1"},
        {"last backslash, trail byte", [&] { return Pos(AnsiFindLast(hyo + ".txt", "\\")); }, "1", "npos"},
        {"last backslash after trail byte", [&] { return Pos(AnsiFindLast("d\\" + hyo + "\\x", "\\")); }, "4", "4"},
        {"first bar or dot", [] { return Pos(AnsiFind("\x81|a.b", "|.")); }, "1", "3"},
        {"first dot from", [&] { return Pos(AnsiFind(hyo + "a.b." + hyo, ".", 3)); }, "3", "3"},
        {"ends with backslash", [&] { return Bool(AnsiEndsWith("c:\\" + hyo, '\\')); }, "true", "false"},
        {"ends with real backslash", [&] { return Bool(AnsiEndsWith("c:\\" + hyo + "\\", '\\')); }, "true", "true"},
        {"name after last separator", [&] { return GetFileNameOf("d" + kSep + "\x95" + kSep + ".txt"); }, ".txt",
         "\x95" + kSep + ".txt"},
        {"folder of", [&] { return GetFolderOf("d" + kSep + "\x95" + kSep + "x"); }, "d" + kSep + "\x95" + kSep,
         "d" + kSep},
        {"trailing separator", [&] { return AddTrailingSeparator("d" + kSep + "\x95" + kSep); },
         "d" + kSep + "\x95" + kSep, "d" + kSep + "\x95" + kSep + kSep},
        {"cut inside a character", [&] { return AnsiCutBytes("ab" + hyo, 3); }, "ab\x95", "ab"},
        {"cut after a character", [&] { return AnsiCutBytes("a" + hyo + "b", 3); }, "a" + hyo, "a" + hyo},
        {"lone lead byte at the end", [] { return AnsiCutBytes("ab\x95", 10); }, "ab\x95", "ab"},
        {"lower case", [] { return AnsiToLower("AB\x83\x41"); }, "ab\x83" "a", "ab\x83\x41"},
        {"safe: trail byte 0x5C", [&] { return Bool(CPackwright32Doc::IsSafeFileName(hyo + ".txt")); }, "false",
         "true"},
        {"safe: trail byte 0x7C", [] { return Bool(CPackwright32Doc::IsSafeFileName("\x81|.txt")); }, "false", "true"},
        {"safe: backslash after trail byte", [&] { return Bool(CPackwright32Doc::IsSafeFileName(hyo + "\\x")); },
         "false", "false"},
        {"safe: dot after trail byte", [&] { return Bool(CPackwright32Doc::IsSafeFileName(hyo + ".")); }, "false",
         "false"},
        // COM² is a device; COMｲ, the same bytes in 932, is a name.
        {"safe: COM and 0xB2", [] { return Bool(CPackwright32Doc::IsSafeFileName("COM\xB2.txt")); }, "false", "true"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.run(), dbcs ? c.dbcs : c.single) << c.what;
}
