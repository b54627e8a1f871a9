#include "app/SplashDlg.h"

#include "res/resource.h"

BOOL CSplashDlg::Create()
{
    const HWND hWnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SPLASH),
                                           m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, &CSplashDlg::DialogProc, 0);
    if (!hWnd) return FALSE;
    // Attached for its life: the object then destroys it when it goes.
    return SubclassWindow(hWnd);
}

INT_PTR CALLBACK CSplashDlg::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    return AfxCallbackGuard(INT_PTR(FALSE), [&]() -> INT_PTR {
        if (message != WM_INITDIALOG) return FALSE;
        // A hidden window without an owner stands in the middle of the
        // screen's work area.
        RECT work{};
        RECT window{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        ::GetWindowRect(hWnd, &window);
        const int cx = window.right - window.left;
        const int cy = window.bottom - window.top;
        ::SetWindowPos(hWnd, nullptr, work.left + (work.right - work.left - cx) / 2,
                       work.top + (work.bottom - work.top - cy) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    });
}
