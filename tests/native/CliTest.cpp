// The packwright tool end to end: the built program run as a child process,
// its output, exit status and the files it leaves. POSIX only: the Windows
// test run under Wine spawns no processes.

#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <string>
#include <thread>
#include <vector>

#include "tests/support/TestUtil.h"
#include "tests/support/VppBytes.h"

extern char** environ;

namespace {

using testutil::PathExists;
using testutil::ReadFileBytes;
using testutil::TempDir;
using testutil::WriteFileBytes;
using Bytes = std::vector<uint8_t>;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs packwright with args, in cwd when given, collecting both streams;
// under wrapper (a program and its arguments) when given.
Result Packwright(const std::vector<std::string>& args, const std::string& cwd = {},
                  const std::vector<std::string>& wrapper = {})
{
    std::vector<std::string> all = wrapper;
    all.push_back(PACKWRIGHT_EXE);
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);

    Result r;
    if (spawned == 0) {
        pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
        std::string* sinks[2] = {&r.out, &r.err};
        int open = 2;
        while (open > 0 && poll(fds, 2, -1) > 0) {
            for (int k = 0; k < 2; ++k) {
                if (fds[k].fd < 0 || !fds[k].revents) continue;
                char buf[4096];
                const ssize_t n = read(fds[k].fd, buf, sizeof buf);
                if (n > 0) {
                    sinks[k]->append(buf, size_t(n));
                } else {
                    fds[k].fd = -1;
                    --open;
                }
            }
        }
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    } else {
        ADD_FAILURE() << "cannot start " << argv[0];
    }
    close(outPipe[0]);
    close(errPipe[0]);
    return r;
}

Bytes Pattern(size_t n, uint8_t seed)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t(seed + i * 7 + (i >> 8));
    return b;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

struct Rec {
    std::string name;
    Bytes data;
};

// An archive laid out as the format's writer lays it out, but with names of
// up to 60 bytes, as the reader takes them.
Bytes BuildArchive(const std::vector<Rec>& recs)
{
    std::vector<vppbytes::File> files;
    for (const Rec& r : recs) files.push_back({r.name, r.data});
    return vppbytes::Archive(files, VPP_NAME_LENGTH);
}

class CliTest : public testing::Test {
protected:
    // Writes files into the scratch folder and returns their paths.
    std::string File(const std::string& name, const Bytes& data)
    {
        const std::string path = dir / name;
        WriteFileBytes(path, data);
        return path;
    }
    std::string Archive(const std::vector<Rec>& recs, const std::string& name = "t.vpp")
    {
        return File(name, BuildArchive(recs));
    }

    TempDir dir;
};

// --- create, list, info ------------------------------------------------------

TEST_F(CliTest, CreateWritesTheExactLayoutAndListShowsIt)
{
    const Bytes a = Pattern(100, 1), big = Pattern(5000, 9);
    const std::string vpp = dir / "new.vpp";
    const Result r = Packwright({"create", vpp, File("a.bin", a), File("empty.txt", {}), File("big.dat", big)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");

    const Bytes bytes = ReadFileBytes(vpp);
    ASSERT_EQ(bytes.size(), 12288u);
    const Bytes header{0xCE, 0x0A, 0x89, 0x51, 1, 0, 0, 0, 3, 0, 0, 0, 0x00, 0x30, 0, 0};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 16), header);
    EXPECT_EQ(bytes, BuildArchive({{"a.bin", a}, {"empty.txt", {}}, {"big.dat", big}}));
    EXPECT_FALSE(PathExists(vpp + ".try"));

    const Result list = Packwright({"list", vpp});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "100\t4096\ta.bin\n0\t6144\tempty.txt\n5000\t6144\tbig.dat\n");
    EXPECT_EQ(list.err, "");

    const Result info = Packwright({"info", vpp});
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "3 files, 12288 bytes\n");

    const Result verify = Packwright({"verify", vpp});
    EXPECT_EQ(verify.status, 0);
    EXPECT_EQ(verify.out, "OK\n");
}

TEST_F(CliTest, ListWritesNameBytesUntranslated)
{
    const std::string vpp = Archive({{"caf\xE9.txt", Text("x")}, {"\x81\xFF\x7F", {}}});
    const Result r = Packwright({"list", vpp});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1\t4096\tcaf\xE9.txt\n0\t6144\t\x81\xFF\\x7F\n");  // DEL is escaped
}

TEST_F(CliTest, CreateTakesPathsRelativeToTheWorkingDirectory)
{
    File("a.txt", Text("alpha"));
    mkdir((dir / "sub").c_str(), 0777);
    File("sub/b.txt", Text("beta!!"));
    const Result r = Packwright({"create", "rel.vpp", "a.txt", "sub/b.txt"}, dir.Path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Packwright({"list", "rel.vpp"}, dir.Path()).out, "5\t4096\ta.txt\n6\t6144\tb.txt\n");
}

TEST_F(CliTest, CreateLetsALaterFileReplaceOneOfTheSameNameInAnyCase)
{
    mkdir((dir / "one").c_str(), 0777);
    mkdir((dir / "two").c_str(), 0777);
    const std::string vpp = dir / "c.vpp";
    const Result r = Packwright({"create", vpp, File("one/x.txt", Text("first")), File("z", Text("z")),
                          File("two/X.TXT", Text("second!"))});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Packwright({"list", vpp}).out, "7\t4096\tX.TXT\n1\t6144\tz\n");
}

TEST_F(CliTest, CreateWithUnreadableFilesListsEachAndWritesNothing)
{
    const std::string vpp = dir / "never.vpp";
    const std::string missing1 = dir / "missing1", missing2 = dir / "missing2";
    const Result r = Packwright({"create", vpp, missing1, File("ok.txt", Text("ok")), missing2});
    EXPECT_EQ(r.status, 1);
    const std::string text = ": Could not access file. Please verify that it is not opened in another program.\n";
    EXPECT_EQ(r.err, "packwright: " + missing1 + text + "packwright: " + missing2 + text);
    EXPECT_FALSE(PathExists(vpp));
    EXPECT_FALSE(PathExists(vpp + ".try"));
}

// Undoes the escaping of names in list and in messages.
std::string Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\x") == 0 && i + 3 < text.size() && isxdigit(text[i + 2]) && isxdigit(text[i + 3])) {
            out += char(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Names no line-based listing survives, from a folder through create, back
// out through list (escaped and NUL-ended) and cat, while another reader
// holds the archive; cat gives every entry as extract writes it.
TEST_F(CliTest, AwkwardNamesRoundTripThroughCreateListAndCat)
{
    mkdir((dir / "src").c_str(), 0777);
    mkdir((dir / "src/sub").c_str(), 0777);
    const std::vector<Rec> files = {{"a\nb", Text("newline")}, {"plain.txt", Pattern(5000, 3)},
                                    {"t\tab \\x41 \\y", Text("tab")}, {"Zed", {}}, {"tail.", Text("dot")}};
    for (const Rec& f : files) File("src/" + f.name, f.data);
    File("src/sub/skipped", Text("not taken"));
    const std::string vpp = dir / "n.vpp";

    const Result strict = Packwright({"create", vpp, "--strict", dir / "src"});
    EXPECT_EQ(strict.status, 1);
    EXPECT_FALSE(PathExists(vpp));
    const Result r = Packwright({"create", vpp, dir / "src"});
    ASSERT_EQ(r.status, 0) << r.err;
    // Byte order of the names; each unsafe one warned about on one line.
    const std::vector<std::string> order = {"Zed", "a\nb", "plain.txt", "t\tab \\x41 \\y", "tail."};
    EXPECT_EQ(r.err, "packwright: " + dir / "src/a\\x0Ab" +
                         ": warning: the name \"a\\x0Ab\" cannot be extracted into a folder on Windows "
                         "(--strict refuses it)\n"
                         "packwright: " + dir / "src/t\\x09ab \\x5Cx41 \\y" +
                         ": warning: the name \"t\\x09ab \\x5Cx41 \\y\" cannot be extracted into a folder on Windows "
                         "(--strict refuses it)\n"
                         "packwright: " + dir / "src/tail." +
                         ": warning: the name \"tail.\" cannot be extracted into a folder on Windows "
                         "(--strict refuses it)\n");
    for (const char* name : {"a\\x0Ab", "t\\x09ab \\x5Cx41 \\y", "tail."})
        EXPECT_NE(strict.err.find("not added: the name \"" + std::string(name) + "\""), std::string::npos) << strict.err;

    // Held by a reader the whole time: reading commands share it.
    const int held = open(vpp.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_SH | LOCK_NB), 0);

    const Result lines = Packwright({"list", vpp});
    const Result nul = Packwright({"list", "--null", vpp});
    ASSERT_EQ(lines.status, 0);
    ASSERT_EQ(nul.status, 0);
    std::vector<std::string> fromLines, fromNul;
    for (size_t at = 0, end; (end = lines.out.find('\n', at)) != std::string::npos; at = end + 1)
        fromLines.push_back(Unescape(lines.out.substr(lines.out.rfind('\t', end) + 1, end - lines.out.rfind('\t', end) - 1)));
    for (size_t at = 0, end; (end = nul.out.find('\0', at)) != std::string::npos; at = end + 1) {
        const std::string record = nul.out.substr(at, end - at);
        const size_t tab = record.find('\t', record.find('\t') + 1);
        fromNul.push_back(record.substr(tab + 1));
    }
    EXPECT_EQ(fromLines, order);
    EXPECT_EQ(fromNul, order);

    const std::string out = dir / "out";
    const Result extract = Packwright({"extract", vpp, out});
    EXPECT_EQ(extract.status, 1);  // the unsafe names
    EXPECT_EQ(testutil::ListFolder(out), (std::vector<std::string>{"Zed", "plain.txt"}));
    for (const std::string& name : fromNul) {
        SCOPED_TRACE(name);
        const Result cat = Packwright({"cat", vpp, name});
        EXPECT_EQ(cat.status, 0) << cat.err;
        const Bytes data(cat.out.begin(), cat.out.end());
        EXPECT_EQ(data, ReadFileBytes(dir / ("src/" + name)));
        if (PathExists(out + "/" + name)) {
            EXPECT_EQ(data, ReadFileBytes(out + "/" + name));
        }
    }
    close(held);
}

// --- extract -----------------------------------------------------------------

TEST_F(CliTest, ExtractAllCreatesTheFolderAndWritesEveryEntry)
{
    const Bytes a = Pattern(3000, 4);
    const std::string vpp = Archive({{"a.bin", a}, {"empty", {}}, {"b.txt", Text("bee")}});
    const std::string out = dir / "out/deeper";
    const Result r = Packwright({"extract", vpp, out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(testutil::ListFolder(out), (std::vector<std::string>{"a.bin", "b.txt", "empty"}));
    EXPECT_EQ(ReadFileBytes(out + "/a.bin"), a);
    EXPECT_EQ(ReadFileBytes(out + "/empty"), Bytes{});
    EXPECT_EQ(ReadFileBytes(out + "/b.txt"), Text("bee"));
}

TEST_F(CliTest, ExtractNamedWritesOnlyThoseAndReportsNamesNotFound)
{
    const std::string vpp = Archive({{"a.txt", Text("aa")}, {"b.txt", Text("bb")}, {"c.txt", Text("cc")}});
    const std::string out = dir / "out";
    const Result r = Packwright({"extract", vpp, out, "c.txt", "nope", "B.TXT", "a.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "packwright: " + vpp + ": nope: not found\npackwright: " + vpp + ": B.TXT: not found\n");
    EXPECT_EQ(testutil::ListFolder(out), (std::vector<std::string>{"a.txt", "c.txt"}));
}

TEST_F(CliTest, ExtractOfDuplicateNamesWritesTheLaterEntry)
{
    const std::string vpp = Archive({{"dup", Text("first")}, {"dup", Text("second")}});
    const std::string out = dir / "out";
    ASSERT_EQ(Packwright({"extract", vpp, out}).status, 0);
    EXPECT_EQ(ReadFileBytes(out + "/dup"), Text("second"));
}

TEST_F(CliTest, ExtractRefusesUnsafeNamesButWritesTheRest)
{
    const std::string vpp =
        Archive({{"../evil", Text("x")}, {"..\\evil2", Text("y")}, {"ok.txt", Text("ok")}, {"a/b", Text("z")}});
    mkdir((dir / "out").c_str(), 0777);
    const Result r = Packwright({"extract", vpp, dir / "out"});
    EXPECT_EQ(r.status, 1);
    const std::string text = ": Error while trying to save file (File/Directory access problem?).\n";
    const std::string at = "packwright: " + vpp + ": ";
    EXPECT_EQ(r.err, at + "../evil" + text + at + "..\\evil2" + text + at + "a/b" + text);
    EXPECT_EQ(testutil::ListFolder(dir / "out"), std::vector<std::string>{"ok.txt"});
    EXPECT_FALSE(PathExists(dir / "evil"));
}

// --- add and remove ----------------------------------------------------------

TEST_F(CliTest, AddReplacesCaseInsensitivelyInPlaceAndAppendsNewNames)
{
    const std::string vpp = Archive({{"README.TXT", Text("old")}, {"other.bin", Pattern(3000, 2)}});
    mkdir((dir / "new").c_str(), 0777);
    const Bytes fresh = Pattern(20, 5);
    const Result r = Packwright({"add", vpp, File("new/readme.txt", fresh), File("new/extra.dat", Text("e"))});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(PathExists(vpp + ".try"));
    EXPECT_EQ(Packwright({"list", vpp}).out, "20\t4096\treadme.txt\n3000\t6144\tother.bin\n1\t10240\textra.dat\n");
    EXPECT_EQ(ReadFileBytes(vpp),
              BuildArchive({{"readme.txt", fresh}, {"other.bin", Pattern(3000, 2)}, {"extra.dat", Text("e")}}));
}

TEST_F(CliTest, AddWithAnUnreadableFileLeavesTheArchiveAlone)
{
    const std::string vpp = Archive({{"a", Text("a")}});
    const Bytes before = ReadFileBytes(vpp);
    const std::string missing = dir / "gone.txt";
    const Result r = Packwright({"add", vpp, File("b", Text("b")), missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "packwright: " + missing + ": Could not access file. Please verify that it is not opened in another program.\n");
    EXPECT_EQ(ReadFileBytes(vpp), before);
    EXPECT_FALSE(PathExists(vpp + ".try"));
}

TEST_F(CliTest, RemoveTakesOutExactNamesAndRewritesTheArchive)
{
    const std::string vpp = Archive({{"a", Text("a")}, {"b", Pattern(2049, 1)}, {"c", Text("c")}});
    const Result r = Packwright({"remove", vpp, "b"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(vpp), BuildArchive({{"a", Text("a")}, {"c", Text("c")}}));
    EXPECT_FALSE(PathExists(vpp + ".try"));
}

TEST_F(CliTest, RemoveOfANameNotPresentSavesNothing)
{
    const std::string vpp = Archive({{"a.txt", Text("a")}, {"b.txt", Text("b")}});
    const Bytes before = ReadFileBytes(vpp);
    const Result r = Packwright({"remove", vpp, "a.txt", "B.TXT", "nope"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "packwright: " + vpp + ": B.TXT: not found\npackwright: " + vpp + ": nope: not found\n");
    EXPECT_EQ(ReadFileBytes(vpp), before);
}

// Writers of one archive at once (a build script run in parallel): each add
// that reports success is in the final archive byte for byte, and every
// other one fails with a message; no entry holds another's bytes and no
// work file is left.
TEST_F(CliTest, ParallelAddsToOneArchiveLoseNothing)
{
    const std::string vpp = Archive({{"base", Pattern(100, 9)}});
    constexpr int kWriters = 30;
    std::vector<std::string> files;
    for (int i = 0; i < kWriters; ++i) files.push_back(File("f" + std::to_string(i), Pattern(1000 + 37 * i, uint8_t(i))));
    std::vector<Result> results(kWriters);
    std::vector<std::thread> writers;
    for (int i = 0; i < kWriters; ++i) writers.emplace_back([&, i] { results[size_t(i)] = Packwright({"add", vpp, files[size_t(i)]}); });
    for (std::thread& t : writers) t.join();

    const std::string out = dir / "out";
    ASSERT_EQ(Packwright({"extract", vpp, out}).status, 0);
    size_t landed = 1;
    for (int i = 0; i < kWriters; ++i) {
        SCOPED_TRACE(i);
        const std::string name = "f" + std::to_string(i);
        if (results[size_t(i)].status == 0) {
            ++landed;
            EXPECT_EQ(ReadFileBytes(out + "/" + name), Pattern(1000 + 37 * i, uint8_t(i)));
        } else {
            EXPECT_EQ(results[size_t(i)].status, 1);
            EXPECT_EQ(results[size_t(i)].err.rfind("packwright: ", 0), 0u) << results[size_t(i)].err;
            EXPECT_FALSE(PathExists(out + "/" + name));
        }
    }
    EXPECT_EQ(ReadFileBytes(out + "/base"), Pattern(100, 9));
    EXPECT_EQ(testutil::ListFolder(out).size(), landed);
    EXPECT_EQ(Packwright({"verify", vpp}).status, 0);
    for (const std::string& name : testutil::ListFolder(dir.Path())) EXPECT_EQ(name.find(".try"), std::string::npos);
}

TEST_F(CliTest, FailedSaveLeavesTheArchiveAndReportsIt)
{
    const std::string vpp = Archive({{"a", Text("a")}});
    const Bytes before = ReadFileBytes(vpp);
    // A folder where the work file must go: creating it fails, even for root.
    mkdir((vpp + ".try").c_str(), 0777);
    const Result r = Packwright({"add", vpp, File("b", Text("b"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(vpp + ".try"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFileBytes(vpp), before);
}

// --- opening failures --------------------------------------------------------

TEST_F(CliTest, BadSignatureIsReportedOnStandardError)
{
    Bytes bad = BuildArchive({{"a", Text("a")}});
    bad[0] = 'X';
    const std::string vpp = File("bad.vpp", bad);
    for (const char* command : {"list", "info"}) {
        SCOPED_TRACE(command);
        const Result r = Packwright({command, vpp});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "packwright: " + vpp + ": Unsupported file format (Invalid signature)!\n");
    }
    const Result r = Packwright({"extract", vpp, dir / "out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "packwright: " + vpp + ": Unsupported file format (Invalid signature)!\n");
}

TEST_F(CliTest, MissingArchiveFailsWithAMessage)
{
    for (const char* command : {"list", "info", "verify"}) {
        SCOPED_TRACE(command);
        const Result r = Packwright({command, dir / "absent.vpp"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("absent.vpp"), std::string::npos) << r.err;
    }
}

TEST_F(CliTest, TooManyFilesWarnsThenLoadsTheFirst65536)
{
    const Bytes b = vppbytes::ManyRecords(65537, 0);  // every file is empty
    ASSERT_EQ(b.size(), 4198400u);
    const std::string vpp = File("many.vpp", b);

    const Result info = Packwright({"info", vpp});
    EXPECT_EQ(info.status, 0);
    EXPECT_EQ(info.out, "65536 files, 4196352 bytes\n");
    EXPECT_EQ(info.err,
              "packwright: " + vpp + ": WARNING! This file has too many files (65537) for PACKWRIGHT32 to handle right. "
              "PACKWRIGHT32 will only load the first 65536 files. If you save to the same file, "
              "all files beyond that will be lost.\n");

    const Result verify = Packwright({"verify", vpp});
    EXPECT_EQ(verify.status, 1);
    EXPECT_EQ(verify.out, "too many files: the header lists 65537, only the first 65536 load\n");

    // Saving over it would lose the last record: refused unless asked for.
    const std::string extra = File("extra.txt", Text("x"));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"add", vpp, extra}, std::vector<std::string>{"remove", vpp, "f00001"}}) {
        const Result refused = Packwright(args);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("1 files of this archive were not loaded"), std::string::npos) << refused.err;
        EXPECT_EQ(ReadFileBytes(vpp), b);
    }
    const Result dropped = Packwright({"remove", "--drop-extra", vpp, "f00001"});
    EXPECT_EQ(dropped.status, 0) << dropped.err;
    EXPECT_EQ(Packwright({"info", vpp}).out, "65535 files, 4196352 bytes\n");
}

// A save killed at any step leaves the target whole: the old archive or the
// new one, never a mix, and the next save cleans up and succeeds.
TEST_F(CliTest, SavesKilledAtEveryStepLeaveAWholeArchive)
{
    if (system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    const std::string a = File("a.bin", Pattern(3000, 1));
    const std::string b = File("b.bin", Pattern(10, 2));
    const Bytes newArchive = BuildArchive({{"a.bin", Pattern(3000, 1)}, {"b.bin", Pattern(10, 2)}});
    const std::string vpp = dir / "k.vpp";
    const struct {
        std::vector<std::string> args;
        Bytes old;  // empty: no archive before
    } cases[] = {
        {{"create", vpp, a, b}, {}},
        {{"add", vpp, a, b}, BuildArchive({{"a.bin", Text("old")}})},  // replaces a.bin, appends b.bin
        {{"remove", vpp, "c"}, BuildArchive({{"a.bin", Pattern(3000, 1)}, {"b.bin", Pattern(10, 2)}, {"c", Text("c")}})},
    };
    auto reset = [&](const Bytes& old) {
        std::filesystem::remove(vpp);
        if (!old.empty()) File("k.vpp", old);
    };
    int points = 0;
    for (const auto& c : cases) {
        for (const char* call : {"openat", "flock", "read", "lseek", "write", "fsync", "close", "rename", "unlink"}) {
            for (int k = 1;; ++k) {
                SCOPED_TRACE(c.args[0] + ": " + call + " #" + std::to_string(k));
                ASSERT_LT(k, 200);
                reset(c.old);
                const std::string inject = std::string("inject=") + call + ":signal=KILL:when=" + std::to_string(k);
                // The leak checker cannot run under ptrace.
                const Result r = Packwright(c.args, {},
                                            {"strace", "-f", "-o", "/dev/null", "-E", "ASAN_OPTIONS=detect_leaks=0",
                                             "-P", vpp, "-P", vpp + ".try", "-P", a, "-P", b, "-e", inject});
                if (PathExists(vpp)) {
                    const Bytes now = ReadFileBytes(vpp);
                    EXPECT_TRUE(now == newArchive || now == c.old);
                }
                EXPECT_EQ(ReadFileBytes(a), Pattern(3000, 1));
                if (r.status == 0) break;
                ASSERT_EQ(r.status, 128 + SIGKILL) << r.err;
                ++points;
                // The next save replaces whatever the killed one left.
                reset(c.old);
                ASSERT_EQ(Packwright(c.args).status, 0);
                EXPECT_EQ(ReadFileBytes(vpp), newArchive);
                EXPECT_EQ(testutil::ListFolder(dir.Path()), (std::vector<std::string>{"a.bin", "b.bin", "k.vpp"}));
            }
        }
    }
    EXPECT_GT(points, 80);  // every step of the three commands: the count falls as they make fewer

    // Stopped by a signal it can catch, the save removes its work file.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        std::filesystem::remove(vpp);
        const std::string inject = "inject=write:signal=" + std::to_string(signal) + ":when=3";
        const Result r = Packwright({"create", vpp, a, b}, {},
                                    {"strace", "-f", "-o", "/dev/null", "-E", "ASAN_OPTIONS=detect_leaks=0", "-P",
                                     vpp + ".try", "-e", inject});
        EXPECT_EQ(r.status, 128 + signal);
        EXPECT_EQ(testutil::ListFolder(dir.Path()), (std::vector<std::string>{"a.bin", "b.bin"}));
    }
}

// An I/O error at any step of an add, once or from then on: the archive and
// the inputs stay as they were unless the add reports success, the failure
// is reported, and nothing is left beside the archive (but a complete new
// archive when only its move into place failed, which the message names).
TEST_F(CliTest, IoErrorsAtEveryStepOfAnAddAreReportedAndHarmless)
{
    if (system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    const Bytes added = Pattern(3000, 1);
    const std::string a = File("a.bin", added);
    const Bytes oldArchive = BuildArchive({{"old", Pattern(5000, 2)}});
    const Bytes newArchive = BuildArchive({{"old", Pattern(5000, 2)}, {"a.bin", added}});
    const std::string vpp = dir / "f.vpp";
    int faults = 0;
    for (const char* call :
         {"openat", "newfstatat", "fcntl", "flock", "read", "lseek", "write", "fsync", "close", "rename", "unlink"}) {
        for (const char* from : {"", "+"}) {
            for (int k = 1;; ++k) {
                SCOPED_TRACE(std::string(call) + " #" + std::to_string(k) + from);
                ASSERT_LT(k, 100);
                File("f.vpp", oldArchive);
                const std::string error = std::string(call) == "write" ? "ENOSPC" : "EIO";
                const std::string inject =
                    std::string("inject=") + call + ":error=" + error + ":when=" + std::to_string(k) + from;
                // Only the calls on the archive, its work file and the input:
                // the loader's and the runtime's are not the program's steps.
                const Result r = Packwright({"add", vpp, a}, {},
                                            {"strace", "-f", "-o", "/dev/null", "-E", "ASAN_OPTIONS=detect_leaks=0",
                                             "-P", vpp, "-P", vpp + ".try", "-P", a, "-P", dir.Path(), "-e", inject});
                EXPECT_EQ(ReadFileBytes(a), added);
                const Bytes now = ReadFileBytes(vpp);
                if (r.status == 0) {
                    EXPECT_EQ(now, newArchive);
                    // Past the end of this call's uses: the next kind.
                    if (testutil::ListFolder(dir.Path()) == std::vector<std::string>{"a.bin", "f.vpp"}) break;
                }
                ++faults;
                EXPECT_TRUE(now == oldArchive || now == newArchive);
                if (r.status != 0) {
                    EXPECT_EQ(r.status, 1);
                    EXPECT_FALSE(r.err.empty());
                }
                std::vector<std::string> left = testutil::ListFolder(dir.Path());
                if (std::string(call) == "rename" && r.status != 0) {
                    EXPECT_NE(r.err.find("waits in"), std::string::npos) << r.err;
                    EXPECT_EQ(ReadFileBytes(vpp + ".try"), newArchive);
                    std::filesystem::remove(vpp + ".try");
                    left = testutil::ListFolder(dir.Path());
                }
                EXPECT_EQ(left, (std::vector<std::string>{"a.bin", "f.vpp"}));
                if (r.status == 0 && k > 50) break;
            }
        }
    }
    EXPECT_GT(faults, 60);
}

// An extraction killed, or failing, at any step: the archive, a file a
// planted link points to, and an existing file of an entry's name stay
// whole (old or new contents, never a mix); an error leaves no new file
// behind; the archive's own name is never written; and the next extraction
// writes every entry whole.
TEST_F(CliTest, ExtractionsKilledOrFailingAtEveryStepLoseNothing)
{
    if (system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    const Bytes fresh = Pattern(300000, 1), replaced = Pattern(20, 2), linked = Pattern(30, 3);
    const Bytes archive = BuildArchive(
        {{"fresh.bin", fresh}, {"old.txt", replaced}, {"link", linked}, {"x.vpp", Pattern(5, 4)}});
    const std::string vpp = File("x.vpp", archive);
    const Bytes oldText = Pattern(5000, 5), victimBytes = Pattern(7, 6);
    TempDir elsewhere;
    const std::string victim = elsewhere / "victim";
    auto reset = [&] {
        std::filesystem::remove(dir / "fresh.bin");
        WriteFileBytes(dir / "old.txt", oldText);
        WriteFileBytes(victim, victimBytes);
        std::filesystem::remove(dir / "link");
        std::filesystem::create_symlink(victim, dir / "link");
    };
    auto wholeOrMissing = [](const std::string& path, const Bytes& bytes) {
        return !PathExists(path) || ReadFileBytes(path) == bytes;
    };
    // Untouched, the extraction refuses only the entry named like the archive.
    reset();
    const Result normal = Packwright({"extract", vpp, dir.Path()});
    ASSERT_EQ(normal.status, 1);
    ASSERT_EQ(normal.err, "packwright: " + vpp + ": x.vpp: Error while trying to save file (File/Directory access problem?).\n");
    int points = 0;
    for (const char* fault : {"signal=KILL", "error=EIO"}) {
        for (const char* call : {"openat", "pread64", "write", "close", "rename", "unlink"}) {
            for (int k = 1;; ++k) {
                SCOPED_TRACE(std::string(fault) + " at " + call + " #" + std::to_string(k));
                ASSERT_LT(k, 60);
                reset();
                const std::string inject = std::string("inject=") + call + ":" + fault + ":when=" + std::to_string(k);
                // Only the calls on the archive, the folder and the files in
                // it count: the loader's and the runtime's are not its steps.
                std::vector<std::string> strace = {"strace", "-f", "-o", "/dev/null", "-E",
                                                   "ASAN_OPTIONS=detect_leaks=0", "-e", inject, "-P", vpp, "-P",
                                                   dir.Path()};
                for (const char* name : {"fresh.bin", "old.txt", "old.txt.try", "link.try"})
                    strace.insert(strace.end(), {"-P", dir / name});
                const Result r = Packwright({"extract", vpp, dir.Path()}, {}, strace);
                EXPECT_EQ(ReadFileBytes(vpp), archive);
                EXPECT_EQ(ReadFileBytes(victim), victimBytes);
                const Bytes old = ReadFileBytes(dir / "old.txt");
                EXPECT_TRUE(old == oldText || old == replaced);
                // Only a kill can leave a new name short of its data: an error removes it.
                if (std::string(fault) != "signal=KILL") {
                    EXPECT_TRUE(wholeOrMissing(dir / "fresh.bin", fresh));
                }
                if (r.status == normal.status && r.err == normal.err) break;  // past this call's uses
                ++points;
                EXPECT_EQ(r.status, std::string(fault) == "signal=KILL" ? 128 + SIGKILL : 1) << r.err;
                // The next extraction puts everything right.
                ASSERT_EQ(Packwright({"extract", vpp, dir.Path(), "fresh.bin", "old.txt", "link"}).status, 0);
                EXPECT_EQ(ReadFileBytes(dir / "fresh.bin"), fresh);
                EXPECT_EQ(ReadFileBytes(dir / "old.txt"), replaced);
                EXPECT_FALSE(std::filesystem::is_symlink(dir / "link"));
                EXPECT_EQ(ReadFileBytes(dir / "link"), linked);
                EXPECT_EQ(ReadFileBytes(victim), victimBytes);
            }
        }
    }
    EXPECT_GT(points, 20);
}

// A real full disk (a small tmpfs; needs root): the message says so and
// nothing is left on the disk, neither under the archive's name nor beside it.
TEST_F(CliTest, AFullDiskIsReportedAndLeavesNothing)
{
    const std::string mount = dir / "small";
    std::filesystem::create_directory(mount);
    if (system(("mount -t tmpfs -o size=256k tmpfs '" + mount + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        std::string path;
        ~Unmount() { EXPECT_EQ(system(("umount '" + path + "'").c_str()), 0); }
    } unmount{mount};
    const std::string big = File("big.bin", Pattern(1 << 20, 4));
    const std::string vpp = mount + "/full.vpp";
    for (const bool existing : {false, true}) {
        SCOPED_TRACE(existing ? "add" : "create");
        const Bytes old = BuildArchive({{"old", Pattern(1000, 5)}});
        if (existing) WriteFileBytes(vpp, old);
        const Result r = Packwright({existing ? "add" : "create", vpp, big});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("Disk full while accessing " + vpp + ".try."), std::string::npos) << r.err;
        EXPECT_EQ(testutil::ListFolder(mount), existing ? std::vector<std::string>{"full.vpp"}
                                                         : std::vector<std::string>{});
        if (existing) {
            EXPECT_EQ(ReadFileBytes(vpp), old);
        }
    }
}

// --- verify ------------------------------------------------------------------

TEST_F(CliTest, VerifyReportsEachProblem)
{
    const std::vector<Rec> good = {{"a.txt", Pattern(100, 1)}, {"b.txt", Pattern(10, 2)}};
    struct Case {
        const char* what;
        std::vector<Rec> recs;
        void (*damage)(Bytes&);
        std::string expected;
    };
    const Case cases[] = {
        {"size field", good, [](Bytes& b) { b[13] += 8; },
         "header: archive size field is 10240, the directory gives 8192\n"},
        {"name field tail", good, [](Bytes& b) { b[2048 + 40] = 'x'; },
         "entry #1 \"a.txt\": name field holds non-zero bytes after the name\n"},
        {"trailing bytes", good, [](Bytes& b) { b.resize(b.size() + 2048, 0); },
         "file length is 10240 bytes, the directory gives 8192\n"},
        {"data beyond the end", good, [](Bytes& b) { b.resize(6150); },
         "entry #2 \"b.txt\": data at offset 6144 (10 bytes) runs past the end of the file\n"
         "file length is 6150 bytes, the directory gives 8192\n"},
        {"cut directory", good, [](Bytes& b) { b.resize(2048 + 64 + 10); },
         "directory cut short: the header lists 2 records, the file holds 1\n"
         "entry #1 \"a.txt\": data at offset 4096 (100 bytes) runs past the end of the file\n"},
        {"duplicates", {{"Read.me", {}}, {"x", {}}, {"READ.ME", {}}, {"read.me", {}}}, [](Bytes&) {},
         "entry #3 \"READ.ME\": duplicate name, same as entry #1 \"Read.me\"\n"
         "entry #4 \"read.me\": duplicate name, same as entry #1 \"Read.me\"\n"},
        {"unsafe names", {{"..\\evil", {}}, {"a/b", {}}, {"ok", {}}, {"..", {}}}, [](Bytes&) {},
         "entry #1 \"..\\evil\": unsafe name, cannot be extracted into a folder\n"
         "entry #2 \"a/b\": unsafe name, cannot be extracted into a folder\n"
         "entry #4 \"..\": unsafe name, cannot be extracted into a folder\n"},
        {"60-byte name", {{std::string(60, 'n'), {}}}, [](Bytes&) {},
         "entry #1 \"" + std::string(60, 'n') + "\": name fills all 60 bytes; saving cuts it to 59\n"},
        {"control bytes", {{"a\nb", {}}}, [](Bytes&) {},
         "entry #1 \"a\\x0Ab\": unsafe name, cannot be extracted into a folder\n"},
        {"negative count", {}, [](Bytes& b) { b[8] = b[9] = b[10] = b[11] = 0xFF; },
         "negative file count -1: no files load\n"},
        {"bad version", good, [](Bytes& b) { b[4] = 2; }, "unsupported version 2\n"},
        {"bad signature", good, [](Bytes& b) { b[3] = 0; }, "not a VPP archive (invalid signature)\n"},
        {"short header", good, [](Bytes& b) { b.resize(10); }, "file too short for a VPP header (10 bytes)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = BuildArchive(c.recs);
        c.damage(bytes);
        const Result r = Packwright({"verify", File("v.vpp", bytes)});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, c.expected);
    }
}

// Other tools leave stale bytes in padding, which every reader ignores: one
// note per archive, the exit status 0; --strict holds archives to this
// program's own output, where padding is zero.
TEST_F(CliTest, VerifyNotesNonZeroPaddingOnceAndFailsItOnlyUnderStrict)
{
    const std::vector<Rec> recs = {{"a.txt", Pattern(100, 1)}, {"b.txt", Pattern(10, 2)}, {"c.txt", Pattern(30, 3)}};
    const std::string ignored = " (readers ignore padding)";
    struct Case {
        const char* what;
        void (*stale)(Bytes&);
        std::string problems;
        std::string note;
    };
    const Case cases[] = {
        {"after entries", [](Bytes& b) { b[4096 + 100 + 7] = 3; b[6144 + 10] = 0xCD; b[8192 + 30 + 2000] = 1; }, "",
         "non-zero padding after 3 entries; the first byte at offset 4203, after the data of entry #1 \"a.txt\"" +
             ignored},
        {"everywhere", [](Bytes& b) { b[100] = 1; b[2048 + 3 * 64 + 5] = 0xFF; b[6144 + 10] = 1; }, "",
         "non-zero padding in the header, in the directory and after 1 entry; the first byte at offset 100, in the "
         "header" + ignored},
        {"beside damage", [](Bytes& b) { b[2048 + 3 * 64] = 7; b[13] += 8; },
         "header: archive size field is 12288, the directory gives 10240\n",
         "non-zero padding in the directory; the first byte at offset 2240, in the directory" + ignored},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = BuildArchive(recs);
        c.stale(bytes);
        const std::string vpp = File("stale.vpp", bytes);
        const Result plain = Packwright({"verify", vpp});
        EXPECT_EQ(plain.status, c.problems.empty() ? 0 : 1);
        EXPECT_EQ(plain.out, c.problems + "note: " + c.note + "\n" + (c.problems.empty() ? "OK\n" : ""));
        const Result strict = Packwright({"verify", "--strict", vpp});
        EXPECT_EQ(strict.status, 1);
        EXPECT_EQ(strict.out, c.problems + c.note + "\n");
        EXPECT_EQ(plain.err + strict.err, "");
    }
    Bytes bytes = BuildArchive(recs);
    bytes[6144 + 10] = 1;
    const Result json = Packwright({"verify", "--json", File("stale.vpp", bytes)});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out, "{\"ok\":true,\"problems\":[],\"notes\":[\n\"non-zero padding after 1 entry; the first byte at "
                        "offset 6154, after the data of entry #2 \\\"b.txt\\\"" + ignored + "\"\n]}\n");
}

// --- usage -------------------------------------------------------------------

TEST_F(CliTest, UsageErrorsExitWith2)
{
    const std::vector<std::vector<std::string>> calls = {
        {},
        {"frobnicate", "x"},
        {"list"},
        {"list", "a.vpp", "b.vpp"},
        {"info"},
        {"extract", "a.vpp"},
        {"create"},
        {"add", "a.vpp"},
        {"remove", "a.vpp"},
        {"verify"},
        {"list", "--bogus", "a.vpp"},
        {"list", "a.vpp", "--bogus"},
        {"--bogus"},
        {"help", "bogus"},
        {"bogus", "--help"},
        {"list", "--strict", "a.vpp"},
        {"create", "--drop-extra", "a.vpp"},
        {"list", "-0", "--json", "a.vpp"},
        {"list", ""},
        {"extract", "a.vpp", ""},
        {"cat", "a.vpp"},
    };
    for (const auto& args : calls) {
        SCOPED_TRACE(testing::PrintToString(args));
        const Result r = Packwright(args, dir.Path());
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: packwright"), std::string::npos) << r.err;
        // One line saying what is wrong, one hint.
        EXPECT_EQ(r.err.rfind("packwright: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
    }
    EXPECT_EQ(testutil::ListFolder(dir.Path()), std::vector<std::string>{});
}

// Options stand anywhere before "--", which ends them wherever it stands;
// help and the version need nothing else to be right.
TEST_F(CliTest, OptionsGoAnywhereBeforeADoubleDash)
{
    const std::string vpp = Archive({{"-x", Text("dash")}});
    EXPECT_EQ(Packwright({"list", vpp, "-0"}).out, std::string("4\t4096\t-x") + '\0');
    EXPECT_EQ(Packwright({"--json", "info", vpp}).out, "{\"files\":1,\"bytes\":6144}\n");
    const Result help = Packwright({"list", "a.vpp", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: packwright list", 0), 0u) << help.out;
    EXPECT_EQ(Packwright({"help", "cat"}).out, Packwright({"cat", "-h"}).out);
    const Result version = Packwright({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("packwright ", 0), 0u);

    File("-y", Text("why"));
    const Result created = Packwright({"create", "out.vpp", "--", "-x", "-y"}, dir.Path());
    EXPECT_EQ(created.status, 1);  // "-x" is a file name, and there is none
    EXPECT_EQ(created.err, "packwright: -x: Could not access file. Please verify that it is not opened in another program.\n");
    ASSERT_EQ(Packwright({"create", "out.vpp", "--", "-y", "--strict"}, dir.Path()).status, 1);
    ASSERT_EQ(Packwright({"create", "out.vpp", "--", "-y"}, dir.Path()).status, 0);
    EXPECT_EQ(Packwright({"list", "--", "out.vpp"}, dir.Path()).out, "3\t4096\t-y\n");

    // With no FILE, an empty archive: the same that an empty file opens as.
    ASSERT_EQ(Packwright({"create", "empty.vpp"}, dir.Path()).status, 0);
    File("zero.vpp", {});
    for (const char* name : {"empty.vpp", "zero.vpp"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Packwright({"info", name}, dir.Path()).out, "0 files, 2048 bytes\n");
        EXPECT_EQ(Packwright({"list", name}, dir.Path()).out, "");
        EXPECT_EQ(Packwright({"verify", "--json", name}, dir.Path()).out,
                  "{\"ok\":true,\"problems\":[],\"notes\":[]}\n");
    }
    EXPECT_EQ(ReadFileBytes(dir / "empty.vpp"), BuildArchive({}));
}

// Every failure names what it concerns, after "packwright:", in one line.
TEST_F(CliTest, MessagesStartWithPackwrightAndNameTheirFile)
{
    const std::string vpp = Archive({{"a", Text("a")}});
    const std::string folder = dir / "folder";
    mkdir(folder.c_str(), 0777);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"list", folder}, {"info", folder}, {"verify", folder}, {"cat", folder, "a"},
          {"extract", folder, dir / "out"}, {"add", folder, vpp}, {"remove", folder, "a"}, {"create", folder}}) {
        SCOPED_TRACE(args[0]);
        const Result r = Packwright(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "packwright: " + folder + ": is a directory, not an archive\n");
    }

    Bytes bad = BuildArchive({});
    bad[4] = 9;
    const std::string other = File("other.vpp", bad);
    const Result format = Packwright({"info", other});
    EXPECT_EQ(format.err, "packwright: " + other + ": Unsupported file format (Invalid version number)!\n");

    // Names not in the archive: said plainly, and no DIR made for nothing.
    const Result missing = Packwright({"extract", vpp, dir / "out", "b", "c\nd"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "packwright: " + vpp + ": b: not found\npackwright: " + vpp + ": c\\x0Ad: not found\n");
    EXPECT_FALSE(PathExists(dir / "out"));
    const Result cat = Packwright({"cat", vpp, "A"});
    EXPECT_EQ(cat.status, 1);
    EXPECT_EQ(cat.err, "packwright: " + vpp + ": A: not found\n");

    // A failed write to standard output fails the command, with the reason.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"list", vpp}, {"cat", vpp, "a"}}) {
        SCOPED_TRACE(args[0]);
        const Result full = Packwright(args, {}, {"sh", "-c", "exec \"$@\" >/dev/full", "sh"});
        EXPECT_EQ(full.status, 1);
        EXPECT_EQ(full.err, "packwright: standard output: " + std::string(std::strerror(ENOSPC)) + "\n");
    }
}

TEST_F(CliTest, HelpExplainsAndExitsWith0)
{
    const Result main = Packwright({"--help"});
    EXPECT_EQ(main.status, 0);
    for (const char* command : {"list", "info", "extract", "create", "add", "remove", "verify"})
        EXPECT_NE(main.out.find(std::string("  ") + command + " "), std::string::npos) << command;

    const Result one = Packwright({"extract", "--help"});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out.rfind("usage: packwright extract ARCHIVE DIR [NAME...]\n", 0), 0u) << one.out;
    EXPECT_EQ(one.err, "");
}

TEST_F(CliTest, DoubleDashLetsArgumentsStartWithADash)
{
    const std::string vpp = Archive({{"-x", Text("dash")}}, "-t.vpp");
    const Result r = Packwright({"list", "--", "-t.vpp"}, dir.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "4\t4096\t-x\n");
}

}  // namespace

#endif  // _WIN32
