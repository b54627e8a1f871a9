#pragma once
// Thin objects over system controls, for binding a dialog's controls to
// members (DDX_Control). They add nothing but the operations used.

#include <windows.h>
#include <commctrl.h>

#include "framework/win32/Wnd.h"

class CStatic : public CWnd {};

class CEdit : public CWnd {
public:
    int GetLineCount() const { return int(SendMessage(EM_GETLINECOUNT)); }
    void SetSel(int nStart, int nEnd) const { SendMessage(EM_SETSEL, WPARAM(nStart), LPARAM(nEnd)); }
    // 0: as much as the control can hold.
    void SetLimitText(UINT nMax) const { SendMessage(EM_SETLIMITTEXT, WPARAM(nMax)); }
};

class CProgressCtrl : public CWnd {
public:
    void SetRange32(int nLower, int nUpper) const { SendMessage(PBM_SETRANGE32, WPARAM(nLower), LPARAM(nUpper)); }
    int SetPos(int nPos) const { return int(SendMessage(PBM_SETPOS, WPARAM(nPos))); }
    int GetPos() const { return int(SendMessage(PBM_GETPOS)); }
};
