#pragma once
// Helpers shared by the test programs: scratch folders, files of given
// bytes, and a recorder for AfxMessageBox.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/base/Report.h"

namespace testutil {

// A fresh, empty folder for one test, under TEST_TMPDIR_BASE; removed when
// the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    // Path of name inside the folder, with the platform's separator.
    std::string operator/(const std::string& name) const;

private:
    std::string m_path;
};

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteFileText(const std::string& path, const std::string& text);
std::vector<uint8_t> ReadFileBytes(const std::string& path);
bool PathExists(const std::string& path);
std::vector<std::string> ListFolder(const std::string& path);

// Records every AfxMessageBox while alive and answers with `answer`.
class MessageRecorder {
public:
    explicit MessageRecorder(int answer = afx::idOk);
    ~MessageRecorder();
    std::vector<std::string> texts;
    std::vector<UINT> types;

private:
    MessageBoxHandler m_previous;
};

}  // namespace testutil
