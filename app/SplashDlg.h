#pragma once
// The splash: a borderless picture window (template IDD_SPLASH) that stands
// while the program starts. Modeless, without handlers of its own; the
// start-up shows it, and it goes with DestroyWindow or with the object.

#include "framework/win32/Handles.h"
#include "framework/win32/Wnd.h"

class CSplashDlg : public CWnd {
public:
    explicit CSplashDlg(CWnd* pParent = nullptr) : m_pParentWnd(pParent) {}
    // Creates the hidden window from the template, centred in the work area.
    BOOL Create();

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // At a text scale other than 100%, the pictures enlarged by it and laid
    // out in pixels.
    void FitPicturesToScreen();
    CWnd* m_pParentWnd;
    // The enlarged pictures: the static controls show them, and do not own them.
    CScopedBitmap m_picture;
    CScopedBitmap m_label;
};
