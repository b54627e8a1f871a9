// What Explorer's properties show of each shipped binary: its version
// resource names the product and this release, and it carries the icon.

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "res/version.h"
#include "tests/win/GuiTestUtil.h"

namespace {

std::string StringValue(const std::vector<char>& info, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!::VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
    return std::string(value, length && value[length - 1] == '\0' ? length - 1 : length);
}

}  // namespace

TEST(VersionResource, EveryShippedBinaryNamesTheReleaseAndCarriesTheIcon)
{
    const struct {
        const char* path;
        const char* fileName;
        DWORD fileType;
    } binaries[] = {
        {PACKWRIGHT32_EXE, "Packwright32.exe", VFT_APP},
        {PACKWRIGHT_EXE, "packwright.exe", VFT_APP},
        {HM_TOOLS_DLL, "hm_tools.dll", VFT_DLL},
    };
    for (const auto& binary : binaries) {
        SCOPED_TRACE(binary.fileName);
        const std::string path = guitest::WindowsPath(binary.path);
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), nullptr);
        ASSERT_GT(size, 0u) << "no version resource";
        std::vector<char> info(size);
        ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, info.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwFileVersionMS, DWORD(MAKELONG(PACKWRIGHT_VERSION_MINOR, PACKWRIGHT_VERSION_MAJOR)));
        EXPECT_EQ(fixed->dwFileVersionLS, DWORD(MAKELONG(PACKWRIGHT_VERSION_BUILD, PACKWRIGHT_VERSION_PATCH)));
        EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
        EXPECT_EQ(fixed->dwFileType, binary.fileType);

        EXPECT_EQ(StringValue(info, "ProductName"), "Halvard Manager PACKWRIGHT32");
        EXPECT_EQ(StringValue(info, "ProductVersion"), PACKWRIGHT_VERSION_NAME);
        EXPECT_EQ(StringValue(info, "FileVersion"), PACKWRIGHT_VERSION_TEXT);
        EXPECT_EQ(StringValue(info, "OriginalFilename"), binary.fileName);
        EXPECT_FALSE(StringValue(info, "FileDescription").empty());

        EXPECT_GE(::ExtractIconExA(path.c_str(), -1, nullptr, nullptr, 0), 1u) << "no icon";
    }
}
