#include "ui/ProgressWindow.h"

#include <algorithm>

#include "framework/win32/Wnd.h"
#include "res/resource.h"

namespace {
// Rows can go by far faster than the screen can follow: the progress is
// updated at most this often, besides its first and last step.
const DWORD kProgressPaintIntervalMs = 30;
const DWORD kProgressPaintMaxIntervalMs = 100;

void RedrawNow(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}
}  // namespace

CProgressWindow::CProgressWindow(CProgressDlg& dlg, std::function<CWnd*()> owner, DWORD dwShowDelayMs)
    : m_dlg(dlg), m_owner(std::move(owner)), m_dwShowDelay(dwShowDelayMs)
{
}

void CProgressWindow::ShowProgress(const std::string& action)
{
    m_strAction = action;
    m_nShowRequested = ::GetTickCount();
    m_bPending = true;
    if (m_dwShowDelay == 0) Create();
}

void CProgressWindow::Create()
{
    m_bPending = false;
    if (!m_dlg.m_hWnd && !m_dlg.Create(IDD_PROGRESS, m_owner ? m_owner() : nullptr)) return;
    // Its text first: never shown with the template's placeholder.
    m_dlg.m_ctlAction.SetWindowText(m_strAction);
    m_dlg.ShowWindow(SW_SHOWNORMAL);
    // Shown, but no input: the command runs on and cannot be stopped from here.
    ::EnableWindow(m_dlg.m_hWnd, FALSE);
    RedrawNow(m_dlg.m_hWnd);
    PaintWhileBusy();
    // The next step is drawn whatever it is: a window that comes up late
    // would otherwise show the dialog's placeholder text until the one after.
    m_nLastProgressPaint = ::GetTickCount() - kProgressPaintMaxIntervalMs;
}

void CProgressWindow::SetProgress(std::string detail, int32_t nDone, int32_t nTotal)
{
    if (m_bPending && ::GetTickCount() - m_nShowRequested >= m_dwShowDelay) Create();
    if (!m_dlg.m_hWnd) return;
    // The bar redraws at every new position and the detail line at every
    // new text, which costs time at every step: steps that come faster than
    // the eye follows are passed over whole, and the next step drawn shows
    // where the command is. A slow paint spaces the next one further out,
    // up to a tenth of a second, so drawing takes a small part of the
    // command's time.
    const DWORD now = ::GetTickCount();
    const DWORD interval =
        std::clamp(20 * m_nProgressPaintCost, kProgressPaintIntervalMs, kProgressPaintMaxIntervalMs);
    if (nDone != 0 && nDone < nTotal && now - m_nLastProgressPaint < interval) return;
    m_nLastProgressPaint = now;
    m_dlg.m_ctlDetail.SetWindowText(detail);
    m_dlg.m_ctlProgress.SetRange32(0, nTotal);
    m_dlg.m_ctlProgress.SetPos(nDone);
    RedrawNow(m_dlg.m_ctlDetail.m_hWnd);
    RedrawNow(m_dlg.m_ctlProgress.m_hWnd);
    PaintWhileBusy();
    m_nProgressPaintCost = ::GetTickCount() - now;
}

void CProgressWindow::HideProgress()
{
    m_bPending = false;
    m_dlg.DestroyWindow();
}

void CProgressWindow::PaintWhileBusy()
{
    // A thread that looks at its queue counts as responding: Windows leaves
    // its windows alone instead of replacing them by a ghost.
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD);
    CWnd* owner = m_owner ? m_owner() : nullptr;
    if (owner && owner->m_hWnd) ::RedrawWindow(owner->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}
