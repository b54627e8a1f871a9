#pragma once
// A fresh document and a scratch folder for each test, with the open and
// save steps as the framework's commands run them.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "tests/support/TestUtil.h"

// Results print as their numbers in failures, as they did while they were ints.
inline void PrintTo(AddResult result, std::ostream* os) { *os << int(result); }
inline void PrintTo(ExtractResult result, std::ostream* os) { *os << int(result); }
inline void PrintTo(CopyResult result, std::ostream* os) { *os << int(result); }

class DocFixture : public testing::Test {
protected:
    DocFixture() : doc(std::make_unique<CPackwright32Doc>()) { doc->OnNewDocument(); }

    std::string MakeFile(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = dir / name;
        testutil::WriteFileBytes(path, bytes);
        return path;
    }
    // The path is recorded only on success, as the framework does.
    BOOL Open(const std::string& path)
    {
        const BOOL ok = doc->OnOpenDocument(path);
        if (ok) doc->SetPathName(path);
        return ok;
    }
    BOOL Save(const std::string& path)
    {
        const BOOL ok = doc->OnSaveDocument(path);
        if (ok) doc->SetPathName(path);
        return ok;
    }
    // Writes the archive as game.vpp and opens it.
    std::string OpenArchive(const std::vector<uint8_t>& bytes)
    {
        const std::string path = MakeFile("game.vpp", bytes);
        EXPECT_TRUE(Open(path));
        return path;
    }

    testutil::TempDir dir;
    std::unique_ptr<CPackwright32Doc> doc;
};
