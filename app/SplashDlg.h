#pragma once
// The splash: a borderless picture window (template IDD_SPLASH) that stands
// while the program starts. Modeless, without handlers of its own; the
// start-up shows it, and it goes with DestroyWindow or with the object.

#include "framework/win32/Wnd.h"

class CSplashDlg : public CWnd {
public:
    explicit CSplashDlg(CWnd* pParent = nullptr) : m_pParentWnd(pParent) {}
    // Creates the hidden window from the template, centred in the work area.
    BOOL Create();

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    CWnd* m_pParentWnd;
};
