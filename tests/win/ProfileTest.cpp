// The framework's profile: values under HKCU\Software\<key>\<application>.

#include <gtest/gtest.h>

#include <windows.h>

#include "framework/win32/RegKey.h"
#include "framework/win32/WinApp.h"

TEST(Profile, ValuesLiveUnderTheRegistryKeyAndApplicationName)
{
    const char* const root = "Software\\Packwright Profile Test";
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root);
    {
        CWinApp app("Profile App");
        // Without a registry key there is no profile.
        EXPECT_FALSE(app.WriteProfileString("Section", "Entry", "value"));
        EXPECT_EQ(app.GetProfileString("Section", "Entry", "dflt"), "dflt");

        app.SetRegistryKey("Packwright Profile Test");
        EXPECT_EQ(app.GetProfileString("Section", "Entry", "dflt"), "dflt");
        EXPECT_EQ(app.GetProfileInt("Section", "Number", 5), 5u);
        ASSERT_TRUE(app.WriteProfileString("Section", "Entry", "value"));
        ASSERT_TRUE(app.WriteProfileInt("Section", "Number", 42));
        EXPECT_EQ(app.GetProfileString("Section", "Entry", "dflt"), "value");
        EXPECT_EQ(app.GetProfileInt("Section", "Number", 5), 42u);

        CRegKey key;
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, std::string(root) + "\\Profile App\\Section"));
        std::string stored;
        EXPECT_TRUE(key.QueryString("Entry", stored));
        EXPECT_EQ(stored, "value");

        // Writing no value removes the entry.
        ASSERT_TRUE(app.WriteProfileString("Section", "Entry", nullptr));
        EXPECT_EQ(app.GetProfileString("Section", "Entry", "gone"), "gone");
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root);
}
