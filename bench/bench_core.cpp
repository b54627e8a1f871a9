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

}  // namespace

int main(int argc, char** argv)
{
    // The archive always has the full 65,536 entries; the outside files can
    // be fewer (argv[1]): under Wine, creating a file costs time that grows
    // with the folder's size.
    const int count = VPP_MAX_FILES;
    const int fileCount = argc > 1 ? std::max(1, std::min(std::atoi(argv[1]), VPP_MAX_FILES)) : VPP_MAX_FILES;
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
    Print(label, start);
    if (failures) std::printf("  (%d adds failed)\n", failures);

    start = Clock::now();
    const BOOL saved = doc->OnSaveDocument(folder + "saved.vpp");
    std::snprintf(label, sizeof label, "save %d entries from outside files", fileCount);
    Print(label, start);
    if (!saved) std::printf("  (save failed)\n");

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
