#pragma once
// The progress display of the program: the progress dialog, created when a
// command starts showing progress and destroyed when it ends, and repainted
// only as often as the eye follows. The editor's application object and the
// Explorer verb's extractor both show their progress through it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/ProgressDisplay.h"
#include "ui/ProgressDlg.h"

class CWnd;

class CProgressWindow : public CProgressDisplay {
public:
    // dlg is the dialog shown; owner gives the window it stands over and
    // keeps painted while the command holds the thread (null: none).
    // With a show delay, the window comes up only at the first step past
    // that many milliseconds after ShowProgress: a short command shows none.
    CProgressWindow(CProgressDlg& dlg, std::function<CWnd*()> owner, DWORD dwShowDelayMs = 0);

    void ShowProgress(const std::string& action) override;
    void SetProgress(std::string detail, int32_t nDone, int32_t nTotal) override;
    void HideProgress() override;

private:
    void Create();
    // Paints what waits to be painted (the owner where a closed dialog was,
    // the progress window) and lets the system see the program alive,
    // without taking input off the queue.
    void PaintWhileBusy();

    CProgressDlg& m_dlg;
    std::function<CWnd*()> m_owner;
    DWORD m_dwShowDelay;
    // Between ShowProgress and the window's creation when it waits out the delay.
    bool m_bPending = false;
    std::string m_strAction;
    // GetTickCount, whose differences stay right across its wrap after 49.7
    // days (Windows XP has no GetTickCount64).
    DWORD m_nShowRequested = 0;
    DWORD m_nLastProgressPaint = 0;
    DWORD m_nProgressPaintCost = 0;  // ms the last paint of the progress took
};
