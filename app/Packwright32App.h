#pragma once
// The application object: start-up of the editor.

#include <optional>

#include "framework/base/Report.h"
#include "framework/win32/WinApp.h"

class CPackwright32App : public CWinApp {
public:
    CPackwright32App();
    ~CPackwright32App() override;
    BOOL InitInstance() override;

private:
    // The handler replaced at start-up, given back at the end.
    std::optional<ErrorDetailsHandler> m_previousDetailsHandler;
};
