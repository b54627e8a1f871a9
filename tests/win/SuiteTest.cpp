// The suite's side of start-up: the module record written at every start
// (in-process, and by renamed copies of the real program).

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "framework/base/Path.h"
#include "framework/win32/RegKey.h"
#include "settings/SettingsStore.h"
#include "suite/ModuleRegistration.h"
#include "tests/support/TestUtil.h"
#include "tests/win/GuiTestUtil.h"
#include "ui/MainFrame.h"

using testutil::TempDir;

namespace {

const std::string kRecord = std::string(kSuiteRootKey) + kModuleRecordKey;

// One registry value as stored: its type and its data as text or number.
struct Value {
    std::string name;
    DWORD type = 0;
    std::string text;
    DWORD number = 0;
    bool operator==(const Value&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Value& v)
{
    return os << v.name << " (type " << v.type << ") \"" << v.text << "\" " << v.number;
}

std::vector<Value> Sorted(std::vector<Value> values)
{
    std::sort(values.begin(), values.end(), [](const Value& a, const Value& b) { return a.name < b.name; });
    return values;
}

Value Sz(const std::string& name, const std::string& text) { return {name, REG_SZ, text, 0}; }
Value Dword(const std::string& name, DWORD number) { return {name, REG_DWORD, {}, number}; }

// The values of a key, by name (Wine's registry lists them sorted, so the
// order of writing cannot be seen here).
std::vector<Value> ValuesOf(HKEY root, const std::string& key)
{
    std::vector<Value> values;
    CRegKey reg;
    if (!reg.Open(root, key, KEY_READ)) return values;
    for (DWORD i = 0;; ++i) {
        char name[256] = {};
        DWORD nameSize = sizeof name;
        BYTE data[1024] = {};
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (::RegEnumValueA(reg.m_hKey, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        Value v{name, type, {}, 0};
        if (type == REG_DWORD && dataSize == 4)
            memcpy(&v.number, data, 4);
        else
            v.text = std::string(reinterpret_cast<char*>(data), dataSize ? dataSize - 1 : 0);
        values.push_back(v);
    }
    return Sorted(values);
}

class ModuleRecord : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRecord.c_str()); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRecord.c_str()); }
};

}  // namespace

TEST(ModuleRecordBuild, TakesTheNumberAfterTheFirstCapitalisedWord)
{
    EXPECT_EQ(BuildNumberOf("V1.0 Beta 01c (Build 12)"), 12u);
    EXPECT_EQ(BuildNumberOf("Build   7 then Build 9"), 7u);
    EXPECT_EQ(BuildNumberOf("Build +5x"), 5u);
    EXPECT_EQ(BuildNumberOf("Build x"), 0u);
    EXPECT_EQ(BuildNumberOf("Build7"), 0u);  // the blank belongs to the word
    EXPECT_EQ(BuildNumberOf("V2 build 7"), 0u);
    EXPECT_EQ(BuildNumberOf(""), 0u);
}

TEST_F(ModuleRecord, SevenValuesFromTheExecutableAndItsDescriptionFile)
{
    TempDir dir;
    const std::string folder = dir.Path() + "\\";
    const std::string description = dir / "hm_modul.dat";
    testutil::WriteFileText(description,
                            "[Other]\r\nVers=no\r\n[Module]\r\nVers=V2.1 (Build 7)\r\nDate=1 May 2001\r\nCoder=$\r\n");
    // The module's extension does not matter: the record names the .exe.
    RegisterModule(folder + "Tool.bin");
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, kRecord),
              Sorted({Sz("Path", folder), Sz("EXE", folder + "Tool.exe"), Sz("EXEName", "Tool.exe"),
                                  Sz("Version", "V2.1 (Build 7)"), Dword("Build", 7), Sz("Date", "1 May 2001"),
                                  Sz("Coder", "")}));

    // Lower case is not the word; every value is written again.
    testutil::WriteFileText(description, "[Module]\nVers=V2.2 build 7\n");
    RegisterModule(folder + "Renamed.exe");
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, kRecord),
              Sorted({Sz("Path", folder), Sz("EXE", folder + "Renamed.exe"),
                                  Sz("EXEName", "Renamed.exe"), Sz("Version", "V2.2 build 7"), Dword("Build", 0),
                                  Sz("Date", ""), Sz("Coder", "")}));

    // Without the file, and without a folder at all.
    ::DeleteFileA(description.c_str());
    RegisterModule(folder + "Tool.exe");
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, kRecord),
              Sorted({Sz("Path", folder), Sz("EXE", folder + "Tool.exe"), Sz("EXEName", "Tool.exe"),
                                  Sz("Version", ""), Dword("Build", 0), Sz("Date", ""), Sz("Coder", "")}));
    RegisterModule("Bare");
    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, kRecord),
              Sorted({Sz("Path", ""), Sz("EXE", "Bare.exe"), Sz("EXEName", "Bare.exe"), Sz("Version", ""),
                      Dword("Build", 0), Sz("Date", ""), Sz("Coder", "")}));
}

TEST_F(ModuleRecord, ARenamedCopyOfTheProgramRecordsItselfAtStart)
{
    // The description file shipped beside the built program carries the
    // version the status bar shows.
    const std::string built = guitest::WindowsPath(PACKWRIGHT32_EXE);
    const std::string shipped = built.substr(0, built.rfind('\\') + 1) + "hm_modul.dat";
    ASSERT_EQ(GetIniString("Module", "Vers", shipped), CMainFrame::kVersionText);

    TempDir dir;
    const std::string folder = GetFullPath(dir.Path()) + "\\";  // with its drive, as the program sees it
    ASSERT_TRUE(::CopyFileA(built.c_str(), (folder + "Other Name.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(shipped.c_str(), (folder + "hm_modul.dat").c_str(), FALSE));
    const guitest::ChildRun run = guitest::RunProgram("", 20000, 100, folder + "Other Name.exe");
    ASSERT_TRUE(run.mainWindowSeen);
    EXPECT_TRUE(run.exited);

    EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, kRecord),
              Sorted({Sz("Path", folder), Sz("EXE", folder + "Other Name.exe"), Sz("EXEName", "Other Name.exe"),
                      Sz("Version", CMainFrame::kVersionText), Dword("Build", 4),
                      Sz("Date", GetIniString("Module", "Date", shipped)),
                      Sz("Coder", GetIniString("Module", "Coder", shipped))}));
}
