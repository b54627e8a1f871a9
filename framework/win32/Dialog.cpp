#include "framework/win32/Dialog.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "framework/win32/WinApp.h"

namespace {
// The window that owns a dialog: the one given, else the main window.
HWND OwnerWindow(CWnd* pParentWnd)
{
    if (pParentWnd) return pParentWnd->m_hWnd;
    const CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}
// Centres a dialog over its owner (over the screen's work area when the
// owner is hidden or minimised), kept inside the work area.
void CenterOverOwner(HWND hDlg)
{
    const HWND owner = ::GetWindow(hDlg, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(owner ? owner : hDlg, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT area = monitor.rcWork;
    RECT around = area;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &around);
    RECT rect{};
    ::GetWindowRect(hDlg, &rect);
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    LONG x = (around.left + around.right - width) / 2;
    LONG y = (around.top + around.bottom - height) / 2;
    x = std::max(area.left, std::min(x, area.right - width));
    y = std::max(area.top, std::min(y, area.bottom - height));
    ::SetWindowPos(hDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd) return;
    const HWND hCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (!hCtrl) throw std::runtime_error("dialog control " + std::to_string(nIDC) + " is missing");
    rControl.SubclassWindow(hCtrl);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal()
{
    HWND owner = OwnerWindow(m_pParentWnd);
    // Above whatever modal window the owner shows now; a hidden owner (a
    // start that waits for the shell) would hide the dialog with it.
    if (owner) owner = ::GetLastActivePopup(owner);
    if (owner && !::IsWindowVisible(owner)) owner = nullptr;
    const BOOL bEnableOwner = owner && ::IsWindowEnabled(owner);

    m_bModal = TRUE;
    m_bEndModal = FALSE;
    m_nModalResult = -1;
    if (!CreateFromTemplate(m_nIDTemplate, owner)) {
        m_bModal = FALSE;
        return -1;
    }
    if (bEnableOwner) ::EnableWindow(owner, FALSE);
    if (!m_bEndModal) {
        ShowWindow(SW_SHOWNORMAL);
        RunModalLoop();
    }
    // The owner is enabled before the dialog hides, so the activation
    // returns to it and not to some other program.
    if (bEnableOwner) ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
        DestroyWindow();
    }
    m_bModal = FALSE;
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    if (m_hWnd) return FALSE;
    m_nIDTemplate = nIDTemplate;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
    return CreateFromTemplate(nIDTemplate, OwnerWindow(m_pParentWnd)) != nullptr;
}

HWND CDialog::CreateFromTemplate(UINT nIDTemplate, HWND hOwner)
{
    if (m_hWnd) return nullptr;
    const HWND hDlg = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDTemplate), hOwner,
                                           &CDialog::StaticDlgProc, reinterpret_cast<LPARAM>(this));
    // A dialog whose initialisation failed was destroyed again.
    return hDlg && m_hWnd == hDlg ? hDlg : nullptr;
}

void CDialog::RunModalLoop()
{
    while (!m_bEndModal && m_hWnd) {
        MSG msg;
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The program is quitting: end the dialog, keep WM_QUIT for the main loop.
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        BOOL handled = FALSE;
        for (HWND hWnd = msg.hwnd; hWnd && !handled; hWnd = ::GetParent(hWnd)) {
            if (CWnd* wnd = FromHandlePermanent(hWnd)) handled = wnd->PreTranslateMessage(&msg);
            if (hWnd == m_hWnd) break;
        }
        // The dialog manager's keys: Tab, Enter on the default button, Escape.
        if (!handled && !(m_hWnd && ::IsDialogMessageA(m_hWnd, &msg))) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (!m_bEndModal) m_nModalResult = IDCANCEL;
}

void CDialog::EndDialog(int nResult)
{
    if (m_bModal) {
        m_nModalResult = nResult;
        m_bEndModal = TRUE;
    } else {
        DestroyWindow();
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // IDOK and IDCANCEL come from their buttons, from the dialog manager
    // (Enter, Escape) and from the close box (WM_CLOSE): all of them BN_CLICKED.
    const UINT nID = LOWORD(wParam);
    if ((nID == IDOK || nID == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
        if (nID == IDOK)
            OnOK();
        else
            OnCancel();
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

INT_PTR CALLBACK CDialog::StaticDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    // Every other message reaches the object through the framework's window
    // procedure, which the dialog gets here, before its initialisation.
    if (message != WM_INITDIALOG) return FALSE;
    auto* dlg = reinterpret_cast<CDialog*>(lParam);
    RECT before{};
    ::GetWindowRect(hDlg, &before);
    bool failed = true;
    const INT_PTR result = AfxCallbackGuard(INT_PTR(FALSE), [&]() -> INT_PTR {
        dlg->SubclassWindow(hDlg);
        const BOOL focus = dlg->OnInitDialog();
        failed = false;
        return focus;
    });
    if (failed) {
        ::DestroyWindow(hDlg);
        return result;
    }
    // A dialog its template places nowhere in particular, and that its
    // initialisation did not move, opens in the middle of its owner.
    RECT after{};
    ::GetWindowRect(hDlg, &after);
    const DWORD style = DWORD(::GetWindowLongPtrA(hDlg, GWL_STYLE));
    if (!(style & (WS_CHILD | WS_VISIBLE | DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) && ::EqualRect(&before, &after))
        CenterOverOwner(hDlg);
    return result;
}
