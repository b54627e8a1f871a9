#include "tests/support/TestUtil.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "framework/base/Path.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#ifndef TEST_TMPDIR_BASE
#define TEST_TMPDIR_BASE "test-tmp"
#endif

namespace fs = std::filesystem;

namespace testutil {

namespace {
std::atomic<int> g_counter{0};

std::string Join(const std::string& folder, const std::string& name)
{
    return AddTrailingSeparator(folder) + name;
}
}  // namespace

TempDir::TempDir()
{
    // The process id keeps parallel test programs apart.
    const fs::path base = fs::absolute(fs::path(TEST_TMPDIR_BASE));
    for (;;) {
        const fs::path candidate =
            base / ("t" + std::to_string(
#ifdef _WIN32
                              _getpid()
#else
                              getpid()
#endif
                                  ) +
                    "-" + std::to_string(g_counter++));
        std::error_code ec;
        fs::create_directories(base, ec);
        if (fs::create_directory(candidate, ec)) {
            m_path = candidate.string();
#ifdef _WIN32
            for (char& c : m_path)
                if (c == '/') c = '\\';
#endif
            return;
        }
        if (ec) throw std::runtime_error("cannot create " + candidate.string() + ": " + ec.message());
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

std::string TempDir::operator/(const std::string& name) const { return Join(m_path, name); }

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void WriteFileText(const std::string& path, const std::string& text)
{
    WriteFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool PathExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

std::vector<std::string> ListFolder(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(path)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

MessageRecorder::MessageRecorder(int answer)
{
    m_previous = AfxSetMessageBoxHandler([this, answer](const std::string& text, UINT type, const std::string&) {
        texts.push_back(text);
        types.push_back(type);
        return answer;
    });
}

MessageRecorder::~MessageRecorder() { AfxSetMessageBoxHandler(m_previous); }

}  // namespace testutil
