// The settings functions against the real registry and INI files.

#include <gtest/gtest.h>

#include <windows.h>

#include "framework/base/File.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestUtil.h"

using testutil::TempDir;

namespace {
const char* const kTestSubKey = "\\Packwright Tests";

class SettingsStoreTest : public testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kSuiteRootKey) + kTestSubKey).c_str());
    }
};
}  // namespace

TEST_F(SettingsStoreTest, SettingsKeepTextsAndGiveDefaultsWhenMissing)
{
    EXPECT_EQ(GetSetting("LastExtractionFolder", ""), "");
    EXPECT_EQ(GetSetting("LastExtractionFolder", "dflt"), "dflt");
    ASSERT_TRUE(SetSetting("LastExtractionFolder", "C:\\out"));
    EXPECT_EQ(GetSetting("LastExtractionFolder", ""), "C:\\out");
    ASSERT_TRUE(SetSetting("LastExtractionFolder", ""));
    EXPECT_EQ(GetSetting("LastExtractionFolder", "dflt"), "");

    // Longer than the buffer: refused on writing.
    EXPECT_FALSE(SetSetting("Long", std::string(9000, 'a')));
    EXPECT_EQ(GetSetting("Long", "none"), "none");
}

TEST_F(SettingsStoreTest, SuiteValuesRoundTripAndCheckTheirSize)
{
    const std::string sub = kTestSubKey;
    EXPECT_EQ(GetSuiteDword(sub, "Count", 7u), 7u);
    ASSERT_TRUE(SetSuiteDword(sub, "Count", 42));
    EXPECT_EQ(GetSuiteDword(sub, "Count", 7u), 42u);
    // A value of more than four bytes is not a number: the default.
    ASSERT_TRUE(SetSuiteString(sub, "Name", "longer text"));
    EXPECT_EQ(GetSuiteDword(sub, "Name", 9u), 9u);
}

TEST_F(SettingsStoreTest, IniStringsAndTheDollarRule)
{
    TempDir dir;
    const std::string ini = dir / "suite.ini";
    testutil::WriteFileText(ini, "[Game]\r\nPath=C:\\Games\\Summoner\r\nOdd=$\r\nEmpty=\r\n");
    EXPECT_EQ(GetIniString("Game", "Path", ini), "C:\\Games\\Summoner");
    EXPECT_EQ(GetIniString("Game", "Odd", ini), "");
    EXPECT_EQ(GetIniString("Game", "Empty", ini), "");
    EXPECT_EQ(GetIniString("Game", "Missing", ini), "");
    EXPECT_EQ(GetIniString("Nope", "Path", ini), "");
    EXPECT_EQ(GetIniString("Game", "Path", dir / "absent.ini"), "");
}

TEST_F(SettingsStoreTest, PathHelpers)
{
    EXPECT_EQ(AddTrailingBackslash(""), "");
    EXPECT_EQ(AddTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(AddTrailingBackslash("C:"), "C:\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\Games"), "C:\\Games\\");

    TempDir dir;
    const std::string file = dir / "here.txt";
    testutil::WriteFileText(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir / "gone.txt"));
    EXPECT_FALSE(FileExists(dir.Path()));  // a folder is not a file
    CFile holder(file, CFile::modeRead | CFile::shareDenyNone);
    EXPECT_TRUE(FileExists(file));  // held open by another program, still there
}
