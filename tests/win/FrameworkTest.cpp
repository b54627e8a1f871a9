// The framework's own promises, on a window of its own: errors raised in a
// command never leave the window procedure, and reach the user with their
// text in a message box captioned with the application's name.

#include <gtest/gtest.h>

#include <windows.h>

#include "framework/base/Exception.h"
#include "framework/win32/WinApp.h"
#include "framework/win32/Wnd.h"
#include "tests/win/GuiTestUtil.h"

namespace {
constexpr UINT kThrowFileError = 100;
constexpr UINT kThrowOther = 101;

class CThrowingWnd : public CWnd {
public:
    CThrowingWnd()
    {
        MapCommand(kThrowFileError, [] { throw CFileException(CFileException::fileNotFound, 2, "C:\\mods\\gone.vpp"); });
        MapCommand(kThrowOther, [] { throw std::runtime_error("bad state"); });
    }
};
}  // namespace

TEST(Framework, ErrorsInCommandsAreReportedNotPropagated)
{
    CWinApp app("Framework Test App");
    CThrowingWnd wnd;
    const RECT rect{0, 0, 100, 100};
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "thrower", WS_OVERLAPPEDWINDOW, rect, nullptr, 0u));
    {
        guitest::ModalAnswerer ok("Framework Test App", IDOK);
        ::SendMessageA(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(kThrowFileError, 0), 0);
        ::SendMessageA(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(kThrowOther, 0), 0);
        ASSERT_EQ(ok.Count(), 2);
        EXPECT_EQ(ok.Texts()[0], "C:\\mods\\gone.vpp was not found.");
        EXPECT_NE(ok.Texts()[1].find("bad state"), std::string::npos);
    }
    wnd.DestroyWindow();
}
