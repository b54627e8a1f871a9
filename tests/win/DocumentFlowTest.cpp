// New, Open, Save and Save As through the real dialogs, the prompt to save a
// modified archive, and opening from the command line.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <mutex>

#include "core/Packwright32Doc.h"
#include "framework/win32/AfxRes.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestUtil.h"
#include "tests/support/VppBytes.h"
#include "tests/win/GuiTestUtil.h"

using guitest::AppSession;
using guitest::kAppTitle;
using guitest::MakeArchive;
using guitest::ModalAnswerer;
using guitest::PumpIdle;
using guitest::PumpUntil;
using testutil::TempDir;

namespace {


std::string Caption(AppSession& session)
{
    char text[512] = {};
    ::GetWindowTextA(session.MainWnd(), text, sizeof text);
    return text;
}

void Command(AppSession& session, UINT id) { ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

// Answers the next file dialog with this caption by typing path and pressing OK.
std::unique_ptr<ModalAnswerer> AnswerFileDialog(const std::string& caption, const std::string& path)
{
    auto answerer = std::make_unique<ModalAnswerer>(caption, IDOK);
    answerer->onFound = [path](HWND hDlg) {
        // The name box: a combo box in the Explorer look, an edit box otherwise.
        ::SetDlgItemTextA(hDlg, 0x47c, path.c_str());
        ::SetDlgItemTextA(hDlg, 0x480, path.c_str());
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDOK)));
    };
    return answerer;
}

}  // namespace

TEST(DocumentFlow, CommandLineOpensTheArchive)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "game.vpp", 2);
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    EXPECT_EQ(Caption(session), std::string(kAppTitle) + " - game.vpp");
    EXPECT_EQ(session.Doc()->m_nFileCount, 2);
    EXPECT_FALSE(session.Doc()->IsModified());
}

TEST(DocumentFlow, OpenThroughTheDialogAndNewArchive)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "mod.vpp", 3);
    AppSession session;
    {
        auto answer = AnswerFileDialog("Open", archive);
        Command(session, ID_FILE_OPEN);
        ASSERT_TRUE(PumpUntil([&] { return session.Doc()->m_nFileCount == 3; }));
    }
    EXPECT_EQ(Caption(session), std::string(kAppTitle) + " - mod.vpp");

    Command(session, ID_FILE_NEW);
    PumpIdle();
    EXPECT_EQ(session.Doc()->m_nFileCount, 0);
    EXPECT_EQ(Caption(session), std::string(kAppTitle) + " - Untitled");
}

TEST(DocumentFlow, ModifiedArchiveAsksBeforeItIsReplaced)
{
    TempDir dir;
    const std::string file = dir / "readme.txt";
    testutil::WriteFileText(file, "hello");
    AppSession session;
    ASSERT_EQ(session.Doc()->AddFile(file), AddResult::added);

    {
        // Cancel keeps the edits.
        ModalAnswerer cancel(kAppTitle, IDCANCEL);
        Command(session, ID_FILE_NEW);
        ASSERT_EQ(cancel.Count(), 1);
        EXPECT_EQ(cancel.Texts()[0], "Save changes to Untitled?");
    }
    EXPECT_EQ(session.Doc()->m_nFileCount, 1);
    EXPECT_TRUE(session.Doc()->IsModified());

    {
        // No drops them.
        ModalAnswerer no(kAppTitle, IDNO);
        Command(session, ID_FILE_NEW);
        EXPECT_EQ(no.Count(), 1);
    }
    EXPECT_EQ(session.Doc()->m_nFileCount, 0);
    EXPECT_FALSE(session.Doc()->IsModified());
}

TEST(DocumentFlow, SaveAsAddsTheExtensionAndSaveWritesOverTheArchive)
{
    TempDir dir;
    const std::string file = dir / "data.bin";
    testutil::WriteFileText(file, std::string(3000, 'd'));
    AppSession session;
    ASSERT_EQ(session.Doc()->AddFile(file), AddResult::added);

    {
        auto answer = AnswerFileDialog("Save As", dir / "newarchive");
        Command(session, ID_FILE_SAVE);  // untitled: Save asks for a name
    }
    const std::string saved = dir / "newarchive.vpp";
    ASSERT_TRUE(testutil::PathExists(saved));
    EXPECT_EQ(testutil::ReadFileBytes(saved).size(), 2048u + 2048u + 4096u);
    EXPECT_EQ(Caption(session), std::string(kAppTitle) + " - newarchive.vpp");
    EXPECT_FALSE(session.Doc()->IsModified());
    EXPECT_TRUE(session.Doc()->m_Entries[0].m_bInVPP);

    // Save again after a removal: no dialog, the archive shrinks in place.
    ASSERT_TRUE(session.Doc()->RemoveFile("data.bin"));
    Command(session, ID_FILE_SAVE);
    EXPECT_EQ(testutil::ReadFileBytes(saved).size(), 2048u);
    EXPECT_FALSE(testutil::PathExists(saved + ".try"));

    // A read-only archive cannot be replaced: Save asks for another name.
    ASSERT_EQ(session.Doc()->AddFile(file), AddResult::added);
    ASSERT_TRUE(::SetFileAttributesA(saved.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        auto answer = AnswerFileDialog("Save As", dir / "copy.vpp");
        ModalAnswerer refusal(kAppTitle, IDOK);
        Command(session, ID_FILE_SAVE);
        EXPECT_EQ(answer->Count(), 1);
        EXPECT_EQ(refusal.Texts(), std::vector<std::string>{});
    }
    ::SetFileAttributesA(saved.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testutil::ReadFileBytes(saved).size(), 2048u);
    EXPECT_EQ(testutil::ReadFileBytes(dir / "copy.vpp").size(), 2048u + 2048u + 4096u);
    EXPECT_EQ(Caption(session), std::string(kAppTitle) + " - copy.vpp");
}

TEST(DocumentFlow, ReopeningTheOpenArchiveKeepsUnsavedEdits)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "keep.vpp", 2);
    const std::string extra = dir / "extra.txt";
    testutil::WriteFileText(extra, "x");
    AppSession session({archive});
    ASSERT_EQ(session.Doc()->AddFile(extra), AddResult::added);

    // The same path in other letter case only brings the window forward.
    std::string other = archive;
    for (char& c : other) c = char(::toupper(static_cast<unsigned char>(c)));
    EXPECT_NE(session.app().OpenDocumentFile(other.c_str()), nullptr);
    EXPECT_EQ(session.Doc()->m_nFileCount, 3);
    EXPECT_TRUE(session.Doc()->IsModified());
}

TEST(DocumentFlow, RefusedArchiveLeavesAnUntitledEmptyDocument)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "good.vpp", 2);
    const std::string bad = dir / "bad.vpp";
    testutil::WriteFileText(bad, "not an archive at all");
    AppSession session({archive});
    {
        ModalAnswerer ok(kAppTitle, IDOK);
        EXPECT_EQ(session.app().OpenDocumentFile(bad.c_str()), nullptr);
        ASSERT_EQ(ok.Count(), 1);
        EXPECT_EQ(ok.Texts()[0], "Unsupported file format (Invalid signature)!");
    }
    EXPECT_EQ(session.Doc()->m_nFileCount, 0);
    EXPECT_EQ(session.Doc()->GetPathName(), "");
    EXPECT_EQ(Caption(session), std::string(kAppTitle) + " - Untitled");

    // A file that cannot be opened at all changes nothing.
    ASSERT_NE(session.app().OpenDocumentFile(archive.c_str()), nullptr);
    {
        ModalAnswerer ok(kAppTitle, IDOK);
        EXPECT_EQ(session.app().OpenDocumentFile((dir / "missing.vpp").c_str()), nullptr);
        EXPECT_EQ(ok.Count(), 1);
    }
    EXPECT_EQ(session.Doc()->m_nFileCount, 2);
    EXPECT_EQ(Caption(session), std::string(kAppTitle) + " - good.vpp");

    // Each kind of damage gets its message; the window stays usable.
    std::vector<uint8_t> shortDirectory = vppbytes::Header(3);
    vppbytes::Record(shortDirectory, "only", 1);
    const struct {
        std::vector<uint8_t> bytes;
        const char* message;
    } damaged[] = {
        {vppbytes::Header(0, 2048, VPP_SIGNATURE, 2), "Unsupported file format (Invalid version number)!"},
        {{0xCE, 0x0A, 0x89, 0x51, 1, 0, 0, 0, 0, 0}, "Unsupported file format (Truncated file)!"},
        {shortDirectory, "Unsupported file format (Truncated file)!"},
        {vppbytes::Header(0x7FFFFFFF), "Unsupported file format (Archive of 2 GB or more)!"},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.message);
        testutil::WriteFileBytes(bad, d.bytes);
        {
            ModalAnswerer ok(kAppTitle, IDOK);
            EXPECT_EQ(session.app().OpenDocumentFile(bad.c_str()), nullptr);
            EXPECT_EQ(ok.Texts(), std::vector<std::string>{d.message});
        }
        EXPECT_EQ(Caption(session), std::string(kAppTitle) + " - Untitled");
        ASSERT_NE(session.app().OpenDocumentFile(archive.c_str()), nullptr);
        EXPECT_EQ(session.Doc()->m_nFileCount, 2);
    }
}

namespace {
// Runs a command line in a process of its own and waits for it to end.
DWORD RunAndWait(std::string commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process)) {
        ADD_FAILURE() << "cannot start " << commandLine;
        return DWORD(-1);
    }
    ::WaitForSingleObject(process.hProcess, 30000);
    DWORD code = DWORD(-1);
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}
}  // namespace

// Another program changes the open archive: packwright.exe's add renames a
// new archive over it, a copy rewrites it in place. Extract then writes
// nothing and says why; Save and Save As write nothing and say why; the
// other program's archive stays as it left it, and the added file stays in
// the document.
TEST(DocumentFlow, AnArchiveChangedByAnotherProgramIsNeitherReadNorReplaced)
{
    // The shell's browser selects a preset folder only on drive C: under Wine.
    const std::string folder = "C:\\pw-changed-test";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "rewritten in place" : "renamed over");
        TempDir dir;
        const std::string archive = MakeArchive(dir, "game.vpp", 2);
        const std::string added = dir / "added.dat";
        testutil::WriteFileText(added, "mine");
        AppSession session({archive});
        ASSERT_TRUE(session.started);
        SetSetting("LastExtractionFolder", folder);
        ASSERT_EQ(session.Doc()->AddFile(added), AddResult::added);
        session.Doc()->UpdateAllViews(nullptr);

        if (inPlace) {
            TempDir other;
            const std::string theirs = MakeArchive(other, "theirs.vpp", 3);
            ASSERT_EQ(RunAndWait("cmd.exe /c copy /b /y \"" + guitest::WindowsPath(theirs) + "\" \"" +
                                 guitest::WindowsPath(archive) + "\""),
                      0u);
        } else {
            ASSERT_EQ(RunAndWait("\"" + guitest::WindowsPath(PACKWRIGHT_EXE) + "\" add \"" + archive + "\" \"" + added +
                                 "\""),
                      0u);
        }
        const std::vector<uint8_t> theirs = testutil::ReadFileBytes(archive);

        Command(session, ID_EDIT_SELECTALLFILES);
        PumpIdle();
        std::mutex mutex;
        std::string details;
        {
            ModalAnswerer browse("Browse for Folder", IDOK);
            ModalAnswerer report("Error details", IDCANCEL);
            report.onFound = [&](HWND hDlg) {
                char text[4096] = {};
                ::GetDlgItemTextA(hDlg, IDC_ERROR_DETAILS, text, sizeof text);
                std::lock_guard<std::mutex> lock(mutex);
                details = text;
                ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            };
            Command(session, ID_EDIT_EXTRACTFILES);
            EXPECT_EQ(report.Count(), 1);
        }
        const std::string changed = CPackwright32Doc::GetExtractResultText(ExtractResult::archiveChanged);
        {
            std::lock_guard<std::mutex> lock(mutex);
            EXPECT_EQ(details, "game0.dat\r\n" + changed + "\r\n\r\ngame1.dat\r\n" + changed +
                                   "\r\n\r\nadded.dat\r\n" +
                                   CPackwright32Doc::GetExtractResultText(ExtractResult::notSaved) + "\r\n\r\n");
        }
        for (const char* name : {"game0.dat", "game1.dat", "added.dat"})
            EXPECT_FALSE(testutil::PathExists(folder + "\\" + name)) << name;

        const std::string refusal = CPackwright32Doc::GetArchiveChangedText(archive);
        {
            ModalAnswerer message(kAppTitle, IDOK);
            Command(session, ID_FILE_SAVE);
            EXPECT_EQ(message.Texts(), std::vector<std::string>{refusal});
        }
        {
            auto answer = AnswerFileDialog("Save As", dir / "copy.vpp");
            ModalAnswerer message(kAppTitle, IDOK);
            Command(session, ID_FILE_SAVE_AS);
            EXPECT_EQ(message.Texts(), std::vector<std::string>{refusal});
        }
        EXPECT_EQ(testutil::ReadFileBytes(archive), theirs);
        EXPECT_FALSE(testutil::PathExists(dir / "copy.vpp"));
        EXPECT_FALSE(testutil::PathExists(archive + ".try"));
        EXPECT_TRUE(session.Doc()->IsModified());
        EXPECT_EQ(session.Doc()->m_nFileCount, 3);
        EXPECT_EQ(Caption(session), std::string(kAppTitle) + " - game.vpp");
    }
    ::RemoveDirectoryA(folder.c_str());
}
