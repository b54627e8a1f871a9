#pragma once
// The application object: start-up of the editor.

#include "framework/win32/WinApp.h"

class CPackwright32App : public CWinApp {
public:
    CPackwright32App();
    BOOL InitInstance() override;

    // How long the splash stands before the start goes on. Tests that start
    // the program inside their own process set 0.
    DWORD m_dwSplashPause = 2000;
};
