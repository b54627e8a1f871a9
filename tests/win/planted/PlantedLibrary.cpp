// A library that leaves a mark when it is loaded: the file "<its own
// path>.ran" appears beside it. Put where no program should look for one.

#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(self, path, sizeof path);
    const HANDLE mark = ::CreateFileA((std::string(path) + ".ran").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE) ::CloseHandle(mark);
    return TRUE;
}
