#pragma once
// The progress window of a long command: modeless, made when the command
// starts and destroyed when it ends. It has no buttons and takes no input.

#include "framework/win32/Controls.h"
#include "framework/win32/Dialog.h"

class CProgressDlg : public CDialog {
public:
    explicit CProgressDlg(CWnd* pParent = nullptr);

    CProgressCtrl m_ctlProgress;
    CStatic m_ctlDetail;
    CStatic m_ctlAction;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
