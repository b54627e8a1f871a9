// The suite's side of the program: the module record written at every
// start (in-process, and by a renamed copy of the real program), the
// one-time migration of the legacy game configuration, a start without the
// right to write the machine's keys, and the Help commands through the
// tools library.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>

#include "framework/base/Path.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/Handles.h"
#include "framework/win32/RegKey.h"
#include "res/resource.h"
#include "res/version.h"
#include "settings/SettingsStore.h"
#include "suite/LegacyMigration.h"
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

// ---------------------------------------------------------------------------
// The legacy game configuration, with the earlier program's files written
// into the prefix's drive C

namespace {

const std::string kGames = std::string(kSuiteRootKey) + kGamesConfigurationKey;
const char* const kLocator = "C:\\quay.cfg";
// Game sub-keys with their "Path", by name.
using GameList = std::vector<std::pair<std::string, std::string>>;

class LegacyMigration : public testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kGames.c_str());
        ::DeleteFileA(kLocator);
    }
    // The earlier program's files: the locator naming `folder` as written,
    // quay.ini (when wanted) and halvard.ini with these lines.
    void WriteLegacy(const std::string& folderEntry, const std::string& halvardIni, bool quayIni = true)
    {
        testutil::WriteFileText(kLocator, "[Directories]\r\nQuay3=" + folderEntry + "\r\n");
        testutil::WriteFileText(m_dir / "halvard.ini", halvardIni);
        if (quayIni) testutil::WriteFileText(m_dir / "quay.ini", "[Quay]\r\n");
    }
    static DWORD Flag() { return GetSuiteDword(kGamesConfigurationKey, kMigrationFlag, 0xdead); }
    static GameList Games()
    {
        GameList games;
        CRegKey reg;
        if (!reg.Open(HKEY_LOCAL_MACHINE, kGames, KEY_READ)) return games;
        char name[256];
        for (DWORD i = 0; ::RegEnumKeyA(reg.m_hKey, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
            CRegKey game;
            std::string path = "<none>";
            if (game.Open(reg.m_hKey, name, KEY_READ)) game.QueryString("Path", path);
            games.emplace_back(name, path);
        }
        std::sort(games.begin(), games.end());
        return games;
    }
    TempDir m_dir;
};

}  // namespace

TEST_F(LegacyMigration, CopiesEveryRowOnceDemosFromTheFullVersions)
{
    // A game's old folder is overwritten; the legacy "H1Demo" key is no row.
    ASSERT_TRUE(SetSuiteString(std::string(kGamesConfigurationKey) + "\\Summoner 1", "Path", "C:\\old"));
    WriteLegacy(m_dir.Path(),  // no trailing backslash
                "[Halvard]\r\nH1Full=C:\\H1\r\nH1Demo=C:\\wrong\r\nH1OEM=C:\\H1O\r\nH2Full=C:\\H2\r\nH2OEM=C:\\H2O\r\n"
                "H3Full=C:\\H3\r\nH3OEM=$\r\n"
                "[FreeSpace]\r\nFS1Demo=C:\\F1D\r\nFS1OEM=C:\\F1O\r\nFS1Full=C:\\F1\r\nFS2Demo=C:\\F2D\r\n"
                "FS2Full=C:\\F2\r\n[Summoner]\r\nS1Demo=C:\\S1D\r\nS1Full=C:\\S1\r\n");
    MigrateLegacyGameConfig();
    const GameList all{{"FreeSpace 1", "C:\\F1"},      {"FreeSpace 1 Demo", "C:\\F1D"}, {"FreeSpace 1 OEM", "C:\\F1O"},
                    {"FreeSpace 2", "C:\\F2"},      {"FreeSpace 2 Demo", "C:\\F2D"}, {"Halvard 1", "C:\\H1"},
                    {"Halvard 1 Demo", "C:\\H1"},   {"Halvard 1 OEM", "C:\\H1O"},    {"Halvard 2", "C:\\H2"},
                    {"Halvard 2 Demo", "C:\\H2"},   {"Halvard 2 OEM", "C:\\H2O"},    {"Halvard 3", "C:\\H3"},
                    {"Halvard 3 Demo", "C:\\H3"},   {"Halvard 3 OEM", ""},           {"Summoner 1", "C:\\S1"},
                    {"Summoner 1 Demo", "C:\\S1D"}};
    EXPECT_EQ(Games(), all);
    EXPECT_EQ(Flag(), 1u);

    // Once only: later changes to the files are not looked at.
    WriteLegacy(m_dir.Path(), "[Summoner]\r\nS1Full=C:\\new\r\n");
    MigrateLegacyGameConfig();
    EXPECT_EQ(Games(), all);

    // Another machine, whose entry ends in a backslash and whose file lists
    // one edition: every row is written, the others empty.
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kGames.c_str());
    WriteLegacy(m_dir.Path() + "\\", "[FreeSpace]\r\nFS2Full=D:\\FS2\r\n");
    MigrateLegacyGameConfig();
    GameList one = all;
    for (auto& [game, path] : one) path = game == "FreeSpace 2" ? "D:\\FS2" : "";
    EXPECT_EQ(Games(), one);
}

TEST_F(LegacyMigration, SetsTheFlagFirstAndStopsQuietlyWithoutItsFiles)
{
    const std::string full = "[Summoner]\r\nS1Full=C:\\S1\r\n";
    const GameList none{};

    // No locator: the flag is set all the same, and files that appear later
    // are never migrated.
    MigrateLegacyGameConfig();
    EXPECT_EQ(Flag(), 1u);
    EXPECT_EQ(Games(), none);
    WriteLegacy(m_dir.Path(), full);
    MigrateLegacyGameConfig();
    EXPECT_EQ(Games(), none);

    // A flag set by anyone else, with any value, means done.
    ASSERT_TRUE(SetSuiteDword(kGamesConfigurationKey, kMigrationFlag, 5));
    MigrateLegacyGameConfig();
    EXPECT_EQ(Flag(), 5u);
    EXPECT_EQ(Games(), none);

    // No quay.ini beside halvard.ini; an empty folder entry.
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kGames.c_str());
    ::DeleteFileA((m_dir / "quay.ini").c_str());
    WriteLegacy(m_dir.Path(), full, false);
    MigrateLegacyGameConfig();
    EXPECT_EQ(Flag(), 1u);
    EXPECT_EQ(Games(), none);
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kGames.c_str());
    WriteLegacy("", full);
    MigrateLegacyGameConfig();
    EXPECT_EQ(Flag(), 1u);
    EXPECT_EQ(Games(), none);
}

TEST(SuiteWithoutMachineRights, StartsSilentlyAndKeepsTheUsersSettings)
{
    // Every write below a volatile key fails, standing in for a user who
    // may not write HKEY_LOCAL_MACHINE.
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRecord.c_str());
    CRegKey scratch;
    const std::string scratchKey = "Software\\PackwrightSuiteTest" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(scratch.Create(HKEY_CURRENT_USER, scratchKey, KEY_ALL_ACCESS));
    CRegKey refused;
    ASSERT_NO_FATAL_FAILURE(guitest::RefuseWritesTo(HKEY_LOCAL_MACHINE, scratch.m_hKey, refused));
    bool started = false;
    std::string kept;
    {
        guitest::AppSession session;  // any message would fail the test
        started = session.started;
        SetSetting("LastExtractionFolder", "C:\\kept");
        kept = GetSetting("LastExtractionFolder", "");
    }
    const DWORD subKeys = [&] {
        DWORD n = 99;
        ::RegQueryInfoKeyA(refused.m_hKey, nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr);
        return n;
    }();
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    refused.Close();
    scratch.Close();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, scratchKey.c_str());
    EXPECT_TRUE(started);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_TRUE(ValuesOf(HKEY_LOCAL_MACHINE, kRecord).empty());  // nor did a write pass by the refusal
    EXPECT_EQ(kept, "C:\\kept");
}

// ---------------------------------------------------------------------------
// Help, About and Help, Check for new version through hm_tools.dll

namespace {

const char* const kToolsKey = "Software\\Halvard Network\\Halvard Manager Tools";

bool IsLoaded() { return ::GetModuleHandleA("hm_tools.dll") != nullptr; }

// Runs command once, answering the tools library's box captioned caption;
// returns its text, and whether the library was loaded while it showed.
std::pair<std::string, bool> RunHelpCommand(HWND main, UINT command, const std::string& caption)
{
    guitest::ModalAnswerer box(caption, IDOK);
    std::atomic<bool> loaded{false};
    box.onFound = [&](HWND hWnd) {
        loaded = IsLoaded();
        ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    ::SendMessageA(main, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    EXPECT_EQ(box.Count(), 1) << caption;
    const std::vector<std::string> texts = box.Texts();
    return {texts.empty() ? std::string() : texts[0], loaded.load()};
}

class HelpCommands : public testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        CRegKey tools;
        if (tools.Open(HKEY_LOCAL_MACHINE, kToolsKey, KEY_WRITE)) tools.DeleteValue("VersionManifest");
    }
};

}  // namespace

TEST_F(HelpCommands, AboutShowsTheRecordWithTheLibraryLoadedForEachUseOnly)
{
    TempDir dir;
    const std::string archive = guitest::MakeArchive(dir, "open.vpp", 3);
    guitest::AppSession session({archive});
    ASSERT_TRUE(session.started);
    CDocument* doc = session.app().GetDocTemplate()->GetDocument();
    doc->SetModifiedFlag(TRUE);

    // Both always enabled.
    HMENU help = ::GetSubMenu(::GetMenu(session.MainWnd()), 2);
    ::SendMessageA(session.MainWnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), 2);
    EXPECT_FALSE(::GetMenuState(help, ID_APP_ABOUT, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(help, ID_HELP_CHECKVERSION, MF_BYCOMMAND) & MF_GRAYED);

    // The test program's own record: it lies beside the built program's
    // description file.
    const std::string shipped = guitest::WindowsPath(PACKWRIGHT32_EXE);
    const std::string description = shipped.substr(0, shipped.rfind('\\') + 1) + "hm_modul.dat";
    for (int use = 0; use < 2; ++use) {
        ASSERT_FALSE(IsLoaded());
        const auto [text, loaded] =
            RunHelpCommand(session.MainWnd(), ID_APP_ABOUT, std::string("About ") + guitest::kAppTitle);
        EXPECT_TRUE(loaded);
        EXPECT_EQ(text, std::string(guitest::kAppTitle) + "\n\nVersion: " + CMainFrame::kVersionText +
                            "\nBuild: 4\nDate: " + GetIniString("Module", "Date", description) +
                            "\nAuthor: " + GetIniString("Module", "Coder", description));
        EXPECT_FALSE(IsLoaded());
    }
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(::SendMessageA(::FindWindowExA(session.MainWnd(), nullptr, "SysListView32", nullptr), LVM_GETITEMCOUNT,
                             0, 0),
              3);
}

TEST_F(HelpCommands, VersionCheckReportsNewerUpToDateOrWhyItCouldNot)
{
    TempDir dir;
    const std::string manifest = dir / "versions.ini";
    CRegKey tools;
    ASSERT_TRUE(tools.Create(HKEY_LOCAL_MACHINE, kToolsKey));
    ASSERT_TRUE(tools.SetString("VersionManifest", manifest));
    guitest::AppSession session;
    ASSERT_TRUE(session.started);
    const std::string section = std::string("[") + guitest::kAppTitle + "]\r\n";

    // Follows a version bump: the list names the next build, then this one.
    const std::string build = std::to_string(PACKWRIGHT_VERSION_BUILD);
    const std::string next = std::to_string(PACKWRIGHT_VERSION_BUILD + 1);
    testutil::WriteFileText(manifest, section + "Version=V9.9 (Build " + next + ")\r\nBuild=" + next + "\r\n");
    auto [text, loaded] = RunHelpCommand(session.MainWnd(), ID_HELP_CHECKVERSION, "Check for new version");
    EXPECT_TRUE(loaded);
    EXPECT_EQ(text, "A newer version is available: V9.9 (Build " + next + ") (build " + next + ").\nInstalled: " +
                        CMainFrame::kVersionText + " (build " + build + ").");

    testutil::WriteFileText(manifest,
                            section + "Version=" PACKWRIGHT_VERSION_TEXT "\r\nBuild=" + build + "\r\n");
    text = RunHelpCommand(session.MainWnd(), ID_HELP_CHECKVERSION, "Check for new version").first;
    EXPECT_EQ(text, std::string(guitest::kAppTitle) + " is up to date: " + CMainFrame::kVersionText + " (build " +
                        build + ").");

    ::DeleteFileA(manifest.c_str());
    text = RunHelpCommand(session.MainWnd(), ID_HELP_CHECKVERSION, "Check for new version").first;
    EXPECT_EQ(text, "The check for a new version could not be made: the version list " + manifest +
                        " was not found.");
    EXPECT_FALSE(IsLoaded());
}

TEST_F(HelpCommands, WithoutTheLibraryOrItsExportsTheyDoNothing)
{
    for (const bool bare : {false, true}) {
        SCOPED_TRACE(bare ? "a library without the exports" : "no library");
        TempDir dir;
        const std::string folder = GetFullPath(dir.Path()) + "\\";
        ASSERT_TRUE(::CopyFileA(guitest::WindowsPath(PACKWRIGHT32_EXE).c_str(), (folder + "Packwright32.exe").c_str(),
                                FALSE));
        if (bare) {
            ASSERT_TRUE(::CopyFileA(guitest::WindowsPath(HM_TOOLS_BARE_DLL).c_str(), (folder + "hm_tools.dll").c_str(),
                                    FALSE));
        }
        int answered = 0;
        const guitest::ChildRun run =
            guitest::RunProgram("", 20000, 200, folder + "Packwright32.exe", [&](HWND main, DWORD) {
                // A box shown by either would keep the call from returning.
                for (UINT command : {ID_APP_ABOUT, ID_HELP_CHECKVERSION, ID_APP_ABOUT}) {
                    DWORD_PTR result = 0;
                    if (::SendMessageTimeoutA(main, WM_COMMAND, MAKEWPARAM(command, 0), 0, SMTO_NORMAL, 3000,
                                              &result))
                        ++answered;
                }
            });
        EXPECT_EQ(answered, 3);
        EXPECT_TRUE(run.mainWindowSeen);
        EXPECT_EQ(run.messagesAnswered, 0);
        EXPECT_TRUE(run.exited);
        EXPECT_EQ(run.exitCode, 0u);
    }
}

// A double click on an archive in a download folder makes that folder the
// current one; a hm_tools.dll lying there must not run, even with none
// beside the program.
TEST_F(HelpCommands, ALibraryPlantedInTheCurrentFolderIsNeverLoaded)
{
    TempDir dir;
    const std::string root = GetFullPath(dir.Path()) + "\\";
    const std::string program = root + "program\\";
    const std::string downloads = root + "downloads\\";
    ASSERT_TRUE(::CreateDirectoryA(program.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(downloads.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(guitest::WindowsPath(PACKWRIGHT32_EXE).c_str(), (program + "Packwright32.exe").c_str(),
                            FALSE));
    const std::string planted = downloads + "hm_tools.dll";
    ASSERT_TRUE(::CopyFileA(guitest::WindowsPath(HM_TOOLS_PLANTED_DLL).c_str(), planted.c_str(), FALSE));
    const std::string mark = planted + ".ran";
    {
        // The mark shows: the library leaves it whenever it is loaded.
        const CScopedLibrary loaded(::LoadLibraryA(planted.c_str()));
        ASSERT_TRUE(loaded);
        ASSERT_TRUE(::DeleteFileA(mark.c_str()));
    }
    guitest::MakeArchive(dir, "downloads\\map.vpp", 1);

    int answered = 0;
    const guitest::ChildRun run = guitest::RunProgram(
        "\"" + downloads + "map.vpp\"", 20000, 200, program + "Packwright32.exe",
        [&](HWND main, DWORD) {
            for (UINT command : {ID_APP_ABOUT, ID_HELP_CHECKVERSION}) {
                DWORD_PTR result = 0;
                if (::SendMessageTimeoutA(main, WM_COMMAND, MAKEWPARAM(command, 0), 0, SMTO_NORMAL, 3000, &result))
                    ++answered;
            }
        },
        downloads);
    EXPECT_TRUE(run.mainWindowSeen);
    EXPECT_EQ(answered, 2);
    EXPECT_TRUE(run.exited);
    EXPECT_FALSE(testutil::PathExists(mark));
}
