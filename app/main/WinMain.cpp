// Entry point of Packwright32.exe: the one application object and the
// framework's start-up.

#include <windows.h>

#include "app/Packwright32App.h"

static CPackwright32App theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    return AfxWinMain(hInstance, nCmdShow);
}
