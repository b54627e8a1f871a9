// The framework's own promises, on a window of its own: errors raised in a
// command or any other callback never leave it into the system, and reach
// the user with their text in a message box captioned with the
// application's name.

#include <gtest/gtest.h>

#include <windows.h>

#include "framework/base/Exception.h"
#include "framework/win32/Callback.h"
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

class CFailingCreateWnd : public CWnd {
public:
    HWND m_hWndCreating = nullptr;
    int OnCreate(CREATESTRUCTA*) override
    {
        m_hWndCreating = m_hWnd;
        throw CFileException(CFileException::fileNotFound, 2, "C:\\mods\\half.vpp");
    }
};

// A named CALLBACK: a lambda has the wrong calling convention on 32-bit Windows.
BOOL CALLBACK ThrowingEnumProc(HWND, LPARAM lParam)
{
    return AfxCallbackGuard(FALSE, [lParam]() -> BOOL {
        ++*reinterpret_cast<int*>(lParam);
        throw std::runtime_error("enumeration broke");
    });
}
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

TEST(Framework, CallbacksThatThrowReportAndAnswerTheirFailureValue)
{
    CWinApp app("Framework Test App");
    guitest::ModalAnswerer ok("Framework Test App", IDOK);

    // WM_CREATE answers -1: the window is not created and none is left over.
    CFailingCreateWnd wnd;
    const RECT rect{0, 0, 100, 100};
    EXPECT_FALSE(wnd.CreateEx(0, AfxRegisterWndClass(0), "half made", WS_OVERLAPPEDWINDOW, rect, nullptr, 0u));
    ASSERT_NE(wnd.m_hWndCreating, nullptr);
    EXPECT_FALSE(::IsWindow(wnd.m_hWndCreating));
    EXPECT_EQ(wnd.m_hWnd, nullptr);

    // A system enumeration stops at the first failed callback.
    int calls = 0;
    EXPECT_FALSE(::EnumWindows(ThrowingEnumProc, reinterpret_cast<LPARAM>(&calls)));
    EXPECT_EQ(calls, 1);

    // Already reported: silent. Not even a std::exception: a generic message.
    EXPECT_EQ(AfxCallbackGuard(7, []() -> int { throw CUserException(); }), 7);
    EXPECT_EQ(AfxCallbackGuard(LRESULT(-1), []() -> LRESULT { throw 42; }), -1);

    ASSERT_EQ(ok.Count(), 3);
    EXPECT_EQ(ok.Texts()[0], "C:\\mods\\half.vpp was not found.");
    EXPECT_NE(ok.Texts()[1].find("enumeration broke"), std::string::npos);
    EXPECT_EQ(ok.Texts()[2], "An unexpected error occurred.");
}
