#pragma once
// The application object: start-up of the editor.

#include "framework/win32/WinApp.h"

class CPackwright32App : public CWinApp {
public:
    CPackwright32App();
    BOOL InitInstance() override;
};
