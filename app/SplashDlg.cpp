#include "app/SplashDlg.h"

#include <utility>

#include "res/resource.h"

namespace {
// A hidden window without an owner stands in the middle of the screen's
// work area.
void CentreInWorkArea(HWND hWnd)
{
    RECT work{};
    RECT window{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(hWnd, &window);
    const int cx = window.right - window.left;
    const int cy = window.bottom - window.top;
    ::SetWindowPos(hWnd, nullptr, work.left + (work.right - work.left - cx) / 2,
                   work.top + (work.bottom - work.top - cy) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A bitmap resource enlarged to the screen's text scale.
CScopedBitmap LoadScaledBitmap(UINT nID, SIZE& size)
{
    const CScopedBitmap source(static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nID), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP bm{};
    if (!source || !::GetObjectA(source.Get(), sizeof bm, &bm)) return {};
    size = SIZE{AfxScaleForScreen(bm.bmWidth), AfxScaleForScreen(bm.bmHeight)};
    const CScopedClientDC screen(nullptr);
    CScopedBitmap scaled(::CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    const HDC from = ::CreateCompatibleDC(screen.Get());
    const HDC to = ::CreateCompatibleDC(screen.Get());
    if (scaled && from && to) {
        const HGDIOBJ oldFrom = ::SelectObject(from, source.Get());
        const HGDIOBJ oldTo = ::SelectObject(to, scaled.Get());
        ::SetStretchBltMode(to, HALFTONE);
        ::SetBrushOrgEx(to, 0, 0, nullptr);
        ::StretchBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
        ::SelectObject(from, oldFrom);
        ::SelectObject(to, oldTo);
    }
    if (from) ::DeleteDC(from);
    if (to) ::DeleteDC(to);
    return scaled;
}
}  // namespace

BOOL CSplashDlg::Create()
{
    const HWND hWnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SPLASH),
                                           m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, &CSplashDlg::DialogProc, 0);
    if (!hWnd) return FALSE;
    // Attached for its life: the object then destroys it when it goes.
    if (!SubclassWindow(hWnd)) return FALSE;
    if (AfxScreenDpi() != 96) FitPicturesToScreen();
    return TRUE;
}

void CSplashDlg::FitPicturesToScreen()
{
    // The template's dialog units grow with the text, but its pictures are
    // pixels: they would stand small in the corner of a larger window, the
    // version label off its ribbon.
    const HWND picture = ::GetWindow(m_hWnd, GW_CHILD);
    const HWND label = picture ? ::GetWindow(picture, GW_HWNDNEXT) : nullptr;
    SIZE pictureSize{}, labelSize{};
    m_picture = LoadScaledBitmap(IDB_SPLASH, pictureSize);
    m_label = LoadScaledBitmap(IDB_SPLASH_VERSION, labelSize);
    if (!picture || !label || !m_picture || !m_label) return;
    for (const auto& [control, bitmap] : {std::pair{picture, m_picture.Get()}, std::pair{label, m_label.Get()}}) {
        const auto old = reinterpret_cast<HBITMAP>(
            ::SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
        if (old && old != bitmap) ::DeleteObject(old);
    }
    // Where the artwork's ribbon waits for the label (279,40 at 100%).
    ::SetWindowPos(picture, nullptr, 0, 0, pictureSize.cx, pictureSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(label, nullptr, AfxScaleForScreen(279), AfxScaleForScreen(40), labelSize.cx, labelSize.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, pictureSize.cx, pictureSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CentreInWorkArea(m_hWnd);
}

INT_PTR CALLBACK CSplashDlg::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    return AfxCallbackGuard(INT_PTR(FALSE), [&]() -> INT_PTR {
        if (message != WM_INITDIALOG) return FALSE;
        CentreInWorkArea(hWnd);
        return TRUE;
    });
}
