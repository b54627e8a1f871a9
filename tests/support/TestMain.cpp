// Test main: GoogleTest, plus on Windows a crash handler, because a crash of
// a GCC-built program under Wine ends it with an arbitrary exit code.

#include <gtest/gtest.h>

#include "framework/base/Report.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>

static LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info)
{
    std::fprintf(stderr, "crash: exception 0x%08lx\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    SetUnhandledExceptionFilter(CrashFilter);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
#endif
    // A message box nobody answers would hang a test: anything not recorded
    // by the test itself fails it.
    AfxSetMessageBoxHandler([](const std::string& text, UINT, const std::string&) {
        ADD_FAILURE() << "unexpected message: " << text;
        return int(afx::idOk);
    });
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
