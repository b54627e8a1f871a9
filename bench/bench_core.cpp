// Figures for the archive core at the table's full size. Prints one line per
// figure; nothing here passes or fails.

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "core/Packwright32Doc.h"
#include "framework/base/File.h"
#include "framework/base/Path.h"

namespace {

using Clock = std::chrono::steady_clock;

void Print(const char* what, Clock::time_point start)
{
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("%s: %.1f ms\n", what, ms);
    std::fflush(stdout);
}

std::string EntryName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "file%05d.dat", i);
    return name;
}

// Header and directory of count small entries; the data area is not needed
// to open it.
void WriteArchive(const std::string& path, int count)
{
    VppHeader header;
    header.fileCount = count;
    std::string name;
    CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
    VppWriteHeader(file, header);
    VppWritePadding(file);
    VppWriteDirectory(file, count, [&name](int32_t i) {
        name = EntryName(i);
        return VppRecordRef{name, 16};
    });
    VppWritePadding(file);
}

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// What the folder holds now, files and folders: creating files under Wine
// slows down as their folder fills.
int CountFolder(const std::string& folder)
{
    std::error_code ec;
    int count = 0;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) ++count;
    return count;
}

// Runs the command-line tool with args (its standard output thrown away) and
// returns the milliseconds it took, start-up included; -1 when it failed.
double RunTool(const std::string& tool, const std::vector<std::string>& args)
{
    // Quoted as the runtime splits a command line: backslashes before a
    // quote (a folder's trailing one) are doubled.
    auto quote = [](const std::string& arg) {
        std::string quoted = "\"" + arg;
        for (size_t i = arg.size(); i > 0 && arg[i - 1] == '\\'; --i) quoted += '\\';
        return quoted + "\"";
    };
    std::string command = quote(tool);
    for (const std::string& arg : args) command += " " + quote(arg);
    const auto start = Clock::now();
#ifdef _WIN32
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE nul = ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                     0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = nul;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    DWORD code = 1;
    if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    if (nul != INVALID_HANDLE_VALUE) ::CloseHandle(nul);
    const bool ok = code == 0;
#else
    const bool ok = std::system((command + " >/dev/null").c_str()) == 0;
#endif
    const double ms = MsSince(start);
    return ok ? ms : -1;
}

// One case the window's way and the tool's, on one line, each with what the
// folder it writes into held before (-1: it writes no file).
void PrintBeside(const char* what, double windowMs, int windowHeld, double toolMs, int toolHeld)
{
    char held[2][32] = {};
    if (windowHeld >= 0) std::snprintf(held[0], sizeof held[0], "(held %d)", windowHeld);
    if (toolHeld >= 0) std::snprintf(held[1], sizeof held[1], "(held %d)", toolHeld);
    if (toolMs < 0)
        std::printf("%-30s window %9.1f ms %-12s packwright    failed\n", what, windowMs, held[0]);
    else
        std::printf("%-30s window %9.1f ms %-12s packwright %9.1f ms%s%s\n", what, windowMs, held[0], toolMs,
                    *held[1] ? " " : "", held[1]);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    // The archive always has the full 65,536 entries; the outside files can
    // be fewer (argv[1]): under Wine, creating a file costs time that grows
    // with the folder's size.
    const int count = VPP_MAX_FILES;
    const int fileCount = argc > 1 ? std::max(1, std::min(std::atoi(argv[1]), VPP_MAX_FILES)) : VPP_MAX_FILES;
    // The command-line tool (argv[2]), when given, runs the window's cases
    // on the same data, each figure printed beside the window's.
    const std::string tool = argc > 2 ? argv[2] : "";
    char label[128];
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path() / ("bench_core-" + std::to_string(Clock::now().time_since_epoch().count()));
    fs::create_directories(base / "files");
    const std::string folder = AddTrailingSeparator(base.string());
    const std::string files = AddTrailingSeparator(folder + "files");

    auto doc = std::make_unique<CPackwright32Doc>();

    WriteArchive(folder + "big.vpp", count);
    auto start = Clock::now();
    doc->OnOpenDocument(folder + "big.vpp");
    Print("open 65536 entries", start);

    std::vector<std::string> paths;
    paths.reserve(size_t(fileCount));
    start = Clock::now();
    const uint8_t data[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (int i = 0; i < fileCount; ++i) {
        paths.push_back(files + EntryName(i));
        CFile file(paths.back(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
        file.Write(data, sizeof data);
    }
    std::snprintf(label, sizeof label, "create %d files (setup)", fileCount);
    Print(label, start);

    // What AddFile does to each file besides the table work.
    start = Clock::now();
    for (const std::string& path : paths) {
        CFile file(path, CFile::modeRead | CFile::shareExclusive);
        (void)file.GetLength();
        file.Close();
    }
    std::snprintf(label, sizeof label, "open+close %d files with CFile", fileCount);
    Print(label, start);

    doc->OnNewDocument();
    start = Clock::now();
    int failures = 0;
    for (const std::string& path : paths) failures += !Succeeded(doc->AddFile(path));
    std::snprintf(label, sizeof label, "AddFile %d files to an empty document", fileCount);
    const double addMs = MsSince(start);
    Print(label, start);
    if (failures) std::printf("  (%d adds failed)\n", failures);

    const int heldBeforeSave = CountFolder(folder);
    start = Clock::now();
    const BOOL saved = doc->OnSaveDocument(folder + "saved.vpp");
    std::snprintf(label, sizeof label, "save %d entries from outside files", fileCount);
    const double saveMs = MsSince(start);
    Print(label, start);
    if (!saved) std::printf("  (save failed)\n");

    if (!tool.empty() && saved) {
        // The document now holds the saved archive's entries, as after the
        // window's Save. Each extraction goes into a new, empty folder of its
        // own. (Once more over the files written costs about twice as long
        // under Wine, a minute for both: left out to keep the run short.)
        std::printf("\n-- the window's cases beside %s on the same data; (held N): the folder written\n"
                    "   into held N files before. The window's create is AddFile of each file, then the\n"
                    "   save; its list the load. The tool's times include its start-up:\n",
                    tool.c_str());
        std::printf("%-30s %29s packwright %9.1f ms\n", "start-up alone (--version)", "",
                    RunTool(tool, {"--version"}));
        const int heldBeforeCreate = CountFolder(folder);
        const double createMs = RunTool(tool, {"create", folder + "created.vpp", files});
        std::snprintf(label, sizeof label, "create from %d small files", fileCount);
        PrintBeside(label, addMs + saveMs, heldBeforeSave, createMs, heldBeforeCreate);

        std::vector<std::string> names;
        for (int32_t i = 0; i < doc->GetEntryCount(); ++i) names.push_back(doc->GetEntry(i).m_strName);
        const std::string windowOut = folder + "out-window";
        const std::string toolOut = folder + "out-tool";
        fs::create_directories(windowOut);
        fs::create_directories(toolOut);
        const int windowHeld = CountFolder(windowOut);
        start = Clock::now();
        const auto results = doc->ExtractFiles(names, windowOut, CFile::shareExclusive);
        const double windowMs = MsSince(start);
        const auto failed =
            std::count_if(results.begin(), results.end(), [](ExtractResult r) { return r != ExtractResult::ok; });
        const int toolHeld = CountFolder(toolOut);
        const double toolMs = RunTool(tool, {"extract", folder + "saved.vpp", toolOut});
        std::snprintf(label, sizeof label, "extract %d entries", fileCount);
        PrintBeside(label, windowMs, windowHeld, toolMs, toolHeld);
        if (failed) std::printf("  (%d entries not extracted)\n", int(failed));

        auto listed = std::make_unique<CPackwright32Doc>();
        start = Clock::now();
        const BOOL opened = listed->OnOpenDocument(folder + "saved.vpp");
        const double openMs = MsSince(start);
        listed.reset();
        std::snprintf(label, sizeof label, "list %d entries", fileCount);
        PrintBeside(label, openMs, -1, RunTool(tool, {"list", folder + "saved.vpp"}), -1);
        if (!opened) std::printf("  (open failed)\n");
        std::printf("\n");
    }

    start = Clock::now();
    int removed = 0;
    const int removals = std::min(1000, fileCount);
    for (int i = 0; i < removals; ++i) removed += doc->RemoveFile(EntryName(i * (fileCount / removals)));
    std::snprintf(label, sizeof label, "RemoveFile %d names from %d", removals, fileCount);
    Print(label, start);
    if (removed != removals) std::printf("  (%d removed)\n", removed);

    std::vector<std::string> everything;
    for (int32_t i = 0; i < doc->m_nFileCount; ++i) everything.push_back(doc->m_Entries[i].m_strName);
    start = Clock::now();
    const int batch = doc->RemoveFiles(everything);
    std::snprintf(label, sizeof label, "RemoveFiles of all %d remaining names at once", batch);
    Print(label, start);

    doc.reset();
    std::error_code ec;
    fs::remove_all(base, ec);
    return 0;
}
