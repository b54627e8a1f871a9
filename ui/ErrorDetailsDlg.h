#pragma once
// The report of a command that failed for some of its files: a summary line
// above a read-only text with one block per failed file. The text scrolls
// sideways instead of wrapping, and the dialog keeps its size however many
// files failed.

#include <string>

#include "framework/win32/Controls.h"
#include "framework/win32/Dialog.h"

class CErrorDetailsDlg : public CDialog {
public:
    explicit CErrorDetailsDlg(CWnd* pParent = nullptr);

    // Shows summary and details modally, exactly as given.
    void ShowDetails(std::string summary, std::string details);

    CStatic m_ctlMessage;
    CEdit m_ctlDetails;
    std::string m_strMessage;
    std::string m_strDetails;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
