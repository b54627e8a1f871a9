// Shell integration: the recent-file list, the command line run as a real
// process, DDE open in the running instance, the file type in the registry,
// and archives dropped on the frame.

#include <gtest/gtest.h>

#include <windows.h>
#include <ddeml.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <thread>

#include "core/Packwright32Doc.h"
#include "framework/base/Path.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/DdeServer.h"
#include "framework/win32/FrameWnd.h"
#include "framework/win32/Handles.h"
#include "framework/win32/RecentFileList.h"
#include "framework/win32/RegKey.h"
#include "tests/support/TestUtil.h"
#include "tests/support/VppBytes.h"
#include "tests/win/GuiTestUtil.h"

using guitest::kAppTitle;
using guitest::MakeArchive;
using guitest::ModalAnswerer;
using guitest::PumpIdle;
using guitest::PumpUntil;
using guitest::ChildRun;
using guitest::RunProgram;
using testutil::TempDir;

namespace {

const char* const kProfileRoot = "Software\\Halvard Network";
const char* const kRecentKey = "Software\\Halvard Network\\Halvard Manager PACKWRIGHT32\\Recent File List";
const char* const kTypeId = "Packwright32.Document";

std::string RegString(HKEY root, const std::string& key, const char* name = nullptr)
{
    CRegKey reg;
    std::string value;
    if (!reg.Open(root, key, KEY_READ) || !reg.QueryString(name, value)) return "<none>";
    return value;
}

bool KeyExists(HKEY root, const std::string& key)
{
    CRegKey reg;
    return reg.Open(root, key, KEY_READ);
}

// The program started in-process as AppSession does, but the profile is
// kept from one session to the next, the run ends through ExitInstance as
// the real one does, and the DDE service name can be made unique, so that
// test programs running side by side do not answer each other.
class Session {
public:
    explicit Session(std::vector<std::string> args = {}, const std::string& exeName = {})
    {
        m_app = std::make_unique<CPackwright32App>();
        m_app->m_args = std::move(args);
        m_app->m_nCmdShow = SW_SHOW;
        m_app->m_dwSplashPause = 0;
        if (!exeName.empty()) m_app->m_pszExeName = exeName;
        started = m_app->InitInstance();
        PumpIdle();
    }
    ~Session()
    {
        if (CDocument* doc = Doc()) doc->SetModifiedFlag(FALSE);
        if (m_app->m_pMainWnd && m_app->m_pMainWnd->m_hWnd) ::DestroyWindow(m_app->m_pMainWnd->m_hWnd);
        PumpIdle();
        m_app->ExitInstance();
        m_app.reset();
    }
    CPackwright32App& app() { return *m_app; }
    HWND MainWnd() const { return m_app->m_pMainWnd ? m_app->m_pMainWnd->m_hWnd : nullptr; }
    CPackwright32Doc* Doc() const
    {
        return m_app->GetDocTemplate() ? dynamic_cast<CPackwright32Doc*>(m_app->GetDocTemplate()->GetDocument())
                                       : nullptr;
    }
    std::string Caption() const
    {
        char text[512] = {};
        ::GetWindowTextA(MainWnd(), text, sizeof text);
        return text;
    }
    // The File menu's items after the frame has updated it for opening.
    std::vector<std::string> FileMenu() const
    {
        HMENU file = ::GetSubMenu(::GetMenu(MainWnd()), 0);
        ::SendMessageA(MainWnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        std::vector<std::string> items;
        for (int i = 0; i < ::GetMenuItemCount(file); ++i) {
            char text[512] = {};
            ::GetMenuStringA(file, UINT(i), text, sizeof text, MF_BYPOSITION);
            items.push_back(text);
        }
        return items;
    }
    BOOL started = FALSE;

private:
    std::unique_ptr<CPackwright32App> m_app;
};

class ShellIntegration : public ::testing::Test {
protected:
    // HKEY_CLASSES_ROOT is mapped to a key of this process's own, so test
    // programs running side by side do not see each other's file types.
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileRoot);
        m_classesKey = "Software\\PackwrightShellTest" + std::to_string(::GetCurrentProcessId());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, m_classesKey.c_str());
        ASSERT_TRUE(m_classes.Create(HKEY_CURRENT_USER, m_classesKey, KEY_ALL_ACCESS));
        ASSERT_EQ(::RegOverridePredefKey(HKEY_CLASSES_ROOT, m_classes.m_hKey), ERROR_SUCCESS);
    }
    void TearDown() override
    {
        ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        m_classes.Close();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, m_classesKey.c_str());
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileRoot);
    }
    std::string m_classesKey;
    CRegKey m_classes;
};

// Other test programs running beside this one share (and wipe) the
// profile, so a list read back is written again just before the next start,
// and checks within a run look at the program's own list.
void WriteRecentEntries(const std::vector<std::string>& entries)
{
    CRegKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kRecentKey));
    for (size_t i = 0; i < entries.size(); ++i) key.SetString(("File" + std::to_string(i + 1)).c_str(), entries[i]);
}

std::vector<std::string> ListOf(const CWinApp& app)
{
    std::vector<std::string> entries;
    if (const CRecentFileList* list = app.GetRecentFileList())
        for (int i = 0; i < list->GetCount(); ++i) entries.push_back((*list)[i]);
    return entries;
}

std::vector<std::string> RecentEntries(int count = 10)
{
    std::vector<std::string> entries;
    for (int i = 1; i <= count; ++i) {
        const std::string value = RegString(HKEY_CURRENT_USER, kRecentKey, ("File" + std::to_string(i)).c_str());
        if (value != "<none>") entries.push_back(value);
    }
    return entries;
}

}  // namespace

// ---------------------------------------------------------------------------
// Recent files

TEST(ShellRecentFileList, KeepsTheMostRecentFirstWithoutDuplicates)
{
    CRecentFileList list(ID_FILE_MRU_FIRST, "Recent File List", "File%d", 3);
    list.Add("C:\\a.vpp");
    list.Add("C:\\b.vpp");
    list.Add("C:\\A.VPP");  // the same file in other letter case moves up
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list[0], "C:\\A.VPP");
    EXPECT_EQ(list[1], "C:\\b.vpp");
    list.Add("C:\\c.vpp");
    list.Add("C:\\d.vpp");  // the oldest falls off
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list[0], "C:\\d.vpp");
    EXPECT_EQ(list[2], "C:\\A.VPP");
    list.Remove(1);
    EXPECT_EQ(list[1], "C:\\A.VPP");
}

TEST(ShellRecentFileList, MenuTextsAreNumberedAndShortened)
{
    CRecentFileList list(ID_FILE_MRU_FIRST, "Recent File List", "File%d", 10, 30);
    for (int i = 10; i >= 1; --i) list.Add("C:\\f" + std::to_string(i) + ".vpp");
    EXPECT_EQ(list.GetMenuText(0), "&1 C:\\f1.vpp");
    EXPECT_EQ(list.GetMenuText(9), "1&0 C:\\f10.vpp");
    list.Add("C:\\R&D\\x.vpp");
    EXPECT_EQ(list.GetMenuText(0), "&1 C:\\R&&D\\x.vpp");

    const std::string longPath = "C:\\games\\summoner\\packages\\levels\\act1\\town.vpp";
    const std::string shortened = CRecentFileList::AbbreviatePath(longPath, 30);
    EXPECT_LE(shortened.size(), 30u);
    EXPECT_EQ(shortened, "C:\\...\\levels\\act1\\town.vpp");
    EXPECT_EQ(CRecentFileList::AbbreviatePath("C:\\short.vpp", 30), "C:\\short.vpp");
    // A name too long for any folder keeps only (the end of) the name.
    EXPECT_EQ(CRecentFileList::AbbreviatePath("C:\\dir\\" + std::string(40, 'n') + ".vpp", 30).size(), 30u);
}

TEST_F(ShellIntegration, RecentFilesSurviveARestartInTheirOrder)
{
    TempDir dir;
    const std::string a = MakeArchive(dir, "a.vpp", 1);
    const std::string b = MakeArchive(dir, "b.vpp", 1);
    const std::string c = MakeArchive(dir, "c.vpp", 1);
    const std::string saved = dir / "saved.vpp";
    std::string upper = b;
    for (char& ch : upper) ch = char(::toupper(static_cast<unsigned char>(ch)));
    {
        Session session({a});
        ASSERT_TRUE(session.started);
        ASSERT_NE(session.app().OpenDocumentFile(b.c_str()), nullptr);
        ASSERT_NE(session.app().OpenDocumentFile(c.c_str()), nullptr);
        ASSERT_NE(session.app().OpenDocumentFile(upper.c_str()), nullptr);
        // A save puts its target first too.
        ASSERT_TRUE(session.app().GetDocTemplate()->DoSave(saved.c_str()));
        EXPECT_EQ(ListOf(session.app()), (std::vector<std::string>{saved, upper, c, a}));
    }
    // The profile holds the list after the run.
    const std::vector<std::string> stored = RecentEntries();
    ASSERT_EQ(stored, (std::vector<std::string>{saved, upper, c, a}));
    WriteRecentEntries(stored);
    Session session;
    ASSERT_TRUE(session.started);
    const std::vector<std::string> menu = session.FileMenu();
    std::vector<std::string> recent;
    for (const std::string& item : menu)
        if (item.size() > 3 && item[0] == '&' && isdigit(static_cast<unsigned char>(item[1])) && item[2] == ' ')
            recent.push_back(item);
    ASSERT_EQ(recent.size(), 4u);
    EXPECT_EQ(recent[0], "&1 " + CRecentFileList::AbbreviatePath(dir / "saved.vpp", 48));
    EXPECT_EQ(recent[3].substr(0, 3), "&4 ");
    EXPECT_EQ(recent[3].substr(recent[3].size() - 5), "a.vpp");
    EXPECT_EQ(std::count(menu.begin(), menu.end(), "Recent File"), 0);

    // Choosing the third entry opens it and moves it first.
    ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_FILE_MRU_FILE3, 0), 0);
    EXPECT_EQ(session.Caption(), std::string(kAppTitle) + " - c.vpp");
    EXPECT_EQ(ListOf(session.app())[0], c);
    // Updating the menu again shows the same number of entries, not more.
    EXPECT_EQ(session.FileMenu().size(), menu.size());
}

TEST_F(ShellIntegration, EmptyListKeepsTheGreyedPlaceholder)
{
    Session session;
    ASSERT_TRUE(session.started);
    const std::vector<std::string> menu = session.FileMenu();
    ASSERT_EQ(std::count(menu.begin(), menu.end(), "Recent File"), 1);
    HMENU file = ::GetSubMenu(::GetMenu(session.MainWnd()), 0);
    EXPECT_TRUE(::GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(ShellIntegration, AnEntryThatCannotBeOpenedIsReportedAndDropped)
{
    TempDir dir;
    const std::string a = MakeArchive(dir, "a.vpp", 2);
    const std::string gone = MakeArchive(dir, "gone.vpp", 1);
    {
        Session session({gone});
        ASSERT_NE(session.app().OpenDocumentFile(a.c_str()), nullptr);
    }
    ASSERT_TRUE(::DeleteFileA(gone.c_str()));
    const std::vector<std::string> stored = RecentEntries();
    ASSERT_EQ(stored, (std::vector<std::string>{a, gone}));
    WriteRecentEntries(stored);
    Session session;
    ASSERT_EQ(ListOf(session.app()), stored);
    {
        ModalAnswerer ok(kAppTitle, IDOK);
        ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_FILE_MRU_FILE2, 0), 0);
        EXPECT_EQ(ok.Count(), 1);
    }
    EXPECT_EQ(ListOf(session.app()), (std::vector<std::string>{a}));
    EXPECT_EQ(session.Caption(), std::string(kAppTitle) + " - Untitled");

    // Cancelling the prompt to save keeps the entry.
    session.Doc()->SetModifiedFlag(TRUE);
    {
        ModalAnswerer cancel(kAppTitle, IDCANCEL);
        ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_FILE_MRU_FILE1, 0), 0);
        EXPECT_EQ(cancel.Count(), 1);
    }
    EXPECT_EQ(ListOf(session.app()), (std::vector<std::string>{a}));
    EXPECT_TRUE(session.Doc()->IsModified());
}

// ---------------------------------------------------------------------------
// The command line, with the real program as a child process

TEST_F(ShellIntegration, ProgramWithAMissingFileReportsItAndEndsWithoutAWindow)
{
    TempDir dir;
    const ChildRun run = RunProgram("\"" + (dir / "missing.vpp") + "\"");
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.messagesAnswered, 1);
    EXPECT_FALSE(run.mainWindowSeen);
    EXPECT_GE(run.splashFirstMs, 0);  // up while the start failed
}

TEST_F(ShellIntegration, ProgramWithALockedFileReportsItAndEndsWithoutAWindow)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "locked.vpp", 1);
    HANDLE lock = ::CreateFileA(archive.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const ChildRun run = RunProgram("\"" + archive + "\"");
    ::CloseHandle(lock);
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.messagesAnswered, 1);
    EXPECT_FALSE(run.mainWindowSeen);
}

TEST_F(ShellIntegration, ProgramWithAValidFileShowsIt)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "good.vpp", 1);
    const ChildRun run = RunProgram("\"" + archive + "\"", 20000, 1500);
    EXPECT_TRUE(run.mainWindowSeen);
    EXPECT_EQ(run.messagesAnswered, 0);
    EXPECT_TRUE(run.exited);
    // The splash stood for two seconds at least, without a break, until the
    // main window was up, and went while the program ran on.
    EXPECT_GE(run.splashFirstMs, 0);
    EXPECT_GE(run.mainFirstMs - run.splashFirstMs, 1900);
    EXPECT_GE(run.splashLastMs, run.mainFirstMs - 100);
    EXPECT_FALSE(run.splashGapBeforeMain);
    EXPECT_TRUE(run.mainWithoutSplashSeen);
}

TEST_F(ShellIntegration, SplashStandsThroughTheStartAndGoesWithIt)
{
    const auto splashUp = [] {
        for (HWND hWnd : guitest::FindOwnWindows("")) {
            char cls[64] = {};
            ::GetClassNameA(hWnd, cls, sizeof cls);
            if (lstrcmpA(cls, "#32770") == 0) return true;
        }
        return false;
    };
    TempDir dir;
    {
        // The failure's message comes while the splash stands; the failed
        // start takes it down.
        ModalAnswerer ok(kAppTitle, IDOK);
        std::atomic<bool> upDuringMessage{false};
        ok.onFound = [&](HWND hWnd) {
            upDuringMessage = splashUp();
            ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        };
        Session session({dir / "missing.vpp"});
        EXPECT_FALSE(session.started);
        EXPECT_EQ(ok.Count(), 1);
        EXPECT_TRUE(upDuringMessage);
        EXPECT_FALSE(splashUp());
    }
    Session session;
    EXPECT_TRUE(session.started);
    EXPECT_FALSE(splashUp());
}

TEST_F(ShellIntegration, PrintSwitchOpensUnseenAndEnds)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "print.vpp", 1);
    Session session({"/p", archive});
    EXPECT_FALSE(session.started);
    EXPECT_FALSE(session.MainWnd() && ::IsWindowVisible(session.MainWnd()));
    ASSERT_NE(session.Doc(), nullptr);
    EXPECT_EQ(session.Doc()->m_nFileCount, 1);
}

TEST_F(ShellIntegration, DdeSwitchWaitsHiddenWithANewDocumentThenShowsItWhenNoOpenComes)
{
    const DWORD start = ::GetTickCount();
    Session session({"/dde"});
    ASSERT_TRUE(session.started);
    ASSERT_NE(session.Doc(), nullptr);
    EXPECT_EQ(session.Doc()->GetPathName(), "");
    ASSERT_NE(session.MainWnd(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(session.MainWnd()));

    // The shell's open never comes: the window shows, with the new archive,
    // once the wait is over and not before.
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(session.MainWnd()) != FALSE; },
                          CWinApp::kDdeOpenWaitMs + 5000));
    const DWORD shownAfter = ::GetTickCount() - start;
    EXPECT_GE(shownAfter + 50, CWinApp::kDdeOpenWaitMs);  // the tick count's grain
    EXPECT_EQ(session.Caption(), std::string(kAppTitle) + " - Untitled");
    EXPECT_EQ(session.Doc()->m_nFileCount, 0);
}

TEST_F(ShellIntegration, TooManyFilesWarningDoesNotStopTheStart)
{
    TempDir dir;
    const std::string archive = dir / "huge.vpp";
    // The directory of 65537 empty records, each of size 0.
    testutil::WriteFileBytes(archive, vppbytes::ManyRecords(65537, 0));

    ModalAnswerer ok(kAppTitle, IDOK);
    Session session({archive});
    EXPECT_TRUE(session.started);
    ASSERT_EQ(ok.Count(), 1);
    EXPECT_EQ(ok.Texts()[0].rfind("WARNING! This file has too many files (65537)", 0), 0u);
    EXPECT_TRUE(::IsWindowVisible(session.MainWnd()));
    EXPECT_EQ(session.Doc()->m_nFileCount, 65536);
}

// ---------------------------------------------------------------------------
// The file type in the registry

TEST_F(ShellIntegration, StartRegistersTheFileTypeWithDdeVerbs)
{
    {
        Session session;
        ASSERT_TRUE(session.started);
    }
    char exe[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, exe, sizeof exe);
    const std::string id = kTypeId;
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id), "VPP Archive File");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\DefaultIcon"), std::string(exe) + ",0");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\shell\\open\\command"), "\"" + std::string(exe) + "\" /dde");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\shell\\open\\ddeexec"), "[open(\"%1\")]");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\shell\\open\\ddeexec\\application"), "win_tests");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\shell\\open\\ddeexec\\topic"), "system");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\shell\\print\\command"), "\"" + std::string(exe) + "\" /dde");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\shell\\print\\ddeexec"), "[print(\"%1\")]");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\shell\\printto\\ddeexec"),
              "[printto(\"%1\",\"%2\",\"%3\",\"%4\")]");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, ".vpp"), id);
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, ".vpp\\ShellNew", "NullFile"), "");
    // packwrightw.exe lies beside the tests as it lies beside the program.
    const std::string tool = GetFolderOf(exe) + "packwrightw.exe";
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\shell\\extract"), "Extract to NAME\\");
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, id + "\\shell\\extract\\command"),
              "\"" + tool + "\" extract-here \"%1\"");
}

TEST_F(ShellIntegration, ForeignAssociationOfTheExtensionIsKept)
{
    {
        CRegKey ext;
        ASSERT_TRUE(ext.Create(HKEY_CLASSES_ROOT, ".vpp"));
        ASSERT_TRUE(ext.SetString(nullptr, "Other.Archive"));
    }
    {
        Session session;
        ASSERT_TRUE(session.started);
    }
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, ".vpp"), "Other.Archive");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".vpp\\ShellNew"));
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, kTypeId), "VPP Archive File");

    // Unregistering takes the type away and leaves the foreign association.
    {
        ModalAnswerer ok(kAppTitle, IDOK);
        Session session({"/unregister"});
        EXPECT_FALSE(session.started);
        EXPECT_EQ(ok.Count(), 1);
        EXPECT_EQ(session.MainWnd(), nullptr);
    }
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeId));
    EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, ".vpp"), "Other.Archive");
}

TEST_F(ShellIntegration, RefusedRegistryIsSkippedSilently)
{
    // Every write below a volatile key fails (lasting keys cannot live under
    // it), standing in for a user without the right to write the classes.
    CRegKey refused;
    ASSERT_NO_FATAL_FAILURE(guitest::RefuseWritesTo(HKEY_CLASSES_ROOT, m_classes.m_hKey, refused));
    ModalAnswerer any(kAppTitle, IDOK);
    Session session;
    EXPECT_TRUE(session.started);
    EXPECT_EQ(any.Count(), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeId));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".vpp"));
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, m_classes.m_hKey);
}

TEST_F(ShellIntegration, UnregisterRemovesTheTypeAndItsExtension)
{
    {
        Session session;
        ASSERT_TRUE(session.started);
    }
    ASSERT_EQ(RegString(HKEY_CLASSES_ROOT, ".vpp"), kTypeId);
    ModalAnswerer ok(kAppTitle, IDOK);
    Session session({"/unregister"});
    EXPECT_FALSE(session.started);
    ASSERT_EQ(ok.Count(), 1);
    EXPECT_EQ(ok.Texts()[0], "System registry entries have been removed and the INI file (if any) was deleted.");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeId));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".vpp"));
}

// ---------------------------------------------------------------------------
// DDE

TEST(ShellDdeCommands, ParseTheShellsCommandLists)
{
    std::vector<CDdeCommand> commands;
    ASSERT_TRUE(ParseDdeCommands("[open(\"C:\\a b\\x.vpp\")]", commands));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].m_strName, "open");
    EXPECT_EQ(commands[0].m_arrArgs, (std::vector<std::string>{"C:\\a b\\x.vpp"}));

    ASSERT_TRUE(ParseDdeCommands(" [print(\"a.vpp\")] [printto(\"a.vpp\", \"HP, 4\",drv,\"LPT1:\")]", commands));
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1].m_strName, "printto");
    EXPECT_EQ(commands[1].m_arrArgs, (std::vector<std::string>{"a.vpp", "HP, 4", "drv", "LPT1:"}));

    ASSERT_TRUE(ParseDdeCommands("[close()]", commands));
    EXPECT_TRUE(commands[0].m_arrArgs.empty());

    EXPECT_FALSE(ParseDdeCommands("", commands));
    EXPECT_FALSE(ParseDdeCommands("open(\"a\")", commands));
    EXPECT_FALSE(ParseDdeCommands("[open(\"a)]", commands));
    EXPECT_FALSE(ParseDdeCommands("[open(\"a\")", commands));
}

namespace {

HDDEDATA CALLBACK DdeClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

struct DdeClientResult {
    bool connected = false;
    bool executed = false;
};

// A DDEML client as the shell would be: connect to service/"system" and
// execute one command.
void RunDdeClient(const std::string& service, const std::string& command, DdeClientResult* result)
{
    DWORD instance = 0;
    if (::DdeInitializeA(&instance, DdeClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return;
    HSZ hszService = ::DdeCreateStringHandleA(instance, service.c_str(), CP_WINANSI);
    HSZ hszTopic = ::DdeCreateStringHandleA(instance, "system", CP_WINANSI);
    if (HCONV conv = ::DdeConnect(instance, hszService, hszTopic, nullptr)) {
        result->connected = true;
        DWORD status = 0;
        std::string data = command;
        HDDEDATA reply = ::DdeClientTransaction(reinterpret_cast<BYTE*>(data.data()), DWORD(data.size() + 1), conv,
                                                nullptr, 0, XTYP_EXECUTE, 10000, &status);
        result->executed = reply != nullptr;
        ::DdeDisconnect(conv);
    }
    ::DdeFreeStringHandle(instance, hszService);
    ::DdeFreeStringHandle(instance, hszTopic);
    ::DdeUninitialize(instance);
}

// Runs the client on its own thread while this one pumps the program's messages.
DdeClientResult SendDde(const std::string& service, const std::string& command)
{
    DdeClientResult result;
    std::atomic<bool> done{false};
    std::thread client([&] {
        RunDdeClient(service, command, &result);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 20000);
    client.join();
    PumpIdle();
    return result;
}

std::string UniqueService() { return "pw32test" + std::to_string(::GetCurrentProcessId()); }

}  // namespace

TEST_F(ShellIntegration, DdeOpenGoesToTheRunningInstance)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "dde.vpp", 3);
    Session session({"/dde"}, UniqueService());
    ASSERT_TRUE(session.started);
    // Hidden until the open arrives; the open shows it.
    EXPECT_FALSE(::IsWindowVisible(session.MainWnd()));

    const DdeClientResult result = SendDde(UniqueService(), "[open(\"" + archive + "\")]");
    EXPECT_TRUE(result.connected);
    EXPECT_TRUE(result.executed);
    EXPECT_EQ(session.Doc()->m_nFileCount, 3);
    EXPECT_EQ(session.Caption(), std::string(kAppTitle) + " - dde.vpp");
    EXPECT_TRUE(::IsWindowVisible(session.MainWnd()));

    // Print only opens (nothing here prints); an unknown text is refused.
    const std::string other = MakeArchive(dir, "other.vpp", 1);
    EXPECT_TRUE(SendDde(UniqueService(), "[print(\"" + other + "\")]").executed);
    EXPECT_EQ(session.Caption(), std::string(kAppTitle) + " - other.vpp");
    const DdeClientResult refused = SendDde(UniqueService(), "open it please");
    EXPECT_TRUE(refused.connected);
    EXPECT_FALSE(refused.executed);
    EXPECT_FALSE(SendDde("NoSuchService", "[open(\"x\")]").connected);
}

// ---------------------------------------------------------------------------
// Files dropped on the frame

namespace {

// A classic file drop: DROPFILES followed by the ANSI names, each ending in
// a zero byte, and one more zero byte at the end.
HGLOBAL MakeDrop(const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths) size += path.size() + 1;
    HGLOBAL hDrop = ::GlobalAlloc(GHND, size);
    const CScopedGlobalLock<DROPFILES> lock(hDrop);
    DROPFILES* drop = lock.Get();
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* names = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& path : paths) {
        memcpy(names, path.c_str(), path.size() + 1);
        names += path.size() + 1;
    }
    return hDrop;
}

void Drop(HWND hWnd, const std::vector<std::string>& paths)
{
    ::SendMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
}

}  // namespace

TEST_F(ShellIntegration, DroppedArchivesAreOpenedTheLastOneStays)
{
    TempDir dir;
    const std::string one = MakeArchive(dir, "one.vpp", 1);
    const std::string two = MakeArchive(dir, "two.vpp", 2);
    const std::string three = MakeArchive(dir, "three.vpp", 3);
    Session session;
    ASSERT_TRUE(session.started);

    Drop(session.MainWnd(), {two});
    EXPECT_EQ(session.Caption(), std::string(kAppTitle) + " - two.vpp");
    EXPECT_EQ(session.Doc()->m_nFileCount, 2);

    Drop(session.MainWnd(), {one, three});
    EXPECT_EQ(session.Caption(), std::string(kAppTitle) + " - three.vpp");
    EXPECT_EQ(session.Doc()->m_nFileCount, 3);
    // Each was opened in turn: both are in the recent-file list.
    EXPECT_EQ(ListOf(session.app()), (std::vector<std::string>{three, one, two}));
}

TEST_F(ShellIntegration, DropOnAModifiedArchiveAsksFirst)
{
    TempDir dir;
    const std::string one = MakeArchive(dir, "one.vpp", 1);
    const std::string two = MakeArchive(dir, "two.vpp", 2);
    Session session({one});
    ASSERT_TRUE(session.started);
    session.Doc()->SetModifiedFlag(TRUE);
    {
        ModalAnswerer cancel(kAppTitle, IDCANCEL);
        Drop(session.MainWnd(), {two});
        ASSERT_EQ(cancel.Count(), 1);
        EXPECT_EQ(cancel.Texts()[0], "Save changes to " + one + "?");
    }
    EXPECT_EQ(session.Caption(), std::string(kAppTitle) + " - one.vpp");
    EXPECT_TRUE(session.Doc()->IsModified());
    {
        ModalAnswerer no(kAppTitle, IDNO);
        Drop(session.MainWnd(), {two});
        EXPECT_EQ(no.Count(), 1);
    }
    EXPECT_EQ(session.Caption(), std::string(kAppTitle) + " - two.vpp");
    EXPECT_FALSE(session.Doc()->IsModified());
}
