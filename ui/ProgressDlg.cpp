#include "ui/ProgressDlg.h"

#include "res/resource.h"

CProgressDlg::CProgressDlg(CWnd* pParent) : CDialog(IDD_PROGRESS, pParent) {}

void CProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_ctlProgress);
    DDX_Control(pDX, IDC_PROGRESS_DETAIL, m_ctlDetail);
    DDX_Control(pDX, IDC_PROGRESS_ACTION, m_ctlAction);
}
