#include "ui/ErrorDetailsDlg.h"

#include "res/resource.h"

CErrorDetailsDlg::CErrorDetailsDlg(CWnd* pParent) : CDialog(IDD_ERROR_DETAILS, pParent) {}

void CErrorDetailsDlg::ShowDetails(std::string summary, std::string details)
{
    m_strMessage = std::move(summary);
    m_strDetails = std::move(details);
    DoModal();
}

void CErrorDetailsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ERROR_SUMMARY, m_ctlMessage);
    DDX_Control(pDX, IDC_ERROR_DETAILS, m_ctlDetails);
}

BOOL CErrorDetailsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_ctlMessage.SetWindowText(m_strMessage);
    // Many long paths exceed the control's default limit.
    m_ctlDetails.SetLimitText(0);
    m_ctlDetails.SetWindowText(m_strDetails);
    return TRUE;  // the focus goes to the close button, the first tab stop
}
