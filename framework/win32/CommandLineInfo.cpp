#include "framework/win32/CommandLineInfo.h"

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast)
{
    const std::string param = pszParam;
    if (bFlag) {
        if (lstrcmpiA(pszParam, "pt") == 0)
            m_nShellCommand = FilePrintTo;
        else if (lstrcmpiA(pszParam, "p") == 0)
            m_nShellCommand = FilePrint;
        else if (lstrcmpiA(pszParam, "dde") == 0)
            m_nShellCommand = FileDDE;
        else if (lstrcmpiA(pszParam, "unregister") == 0 || lstrcmpiA(pszParam, "unregserver") == 0)
            m_nShellCommand = AppUnregister;
        else if (lstrcmpiA(pszParam, "register") == 0 || lstrcmpiA(pszParam, "regserver") == 0)
            m_nShellCommand = AppRegister;
        else if (lstrcmpiA(pszParam, "embedding") == 0)
            m_bRunEmbedded = TRUE;
        else if (lstrcmpiA(pszParam, "automation") == 0)
            m_bRunAutomated = TRUE;
    } else if (m_strFileName.empty()) {
        m_strFileName = param;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.empty())
            m_strPrinterName = param;
        else if (m_strDriverName.empty())
            m_strDriverName = param;
        else if (m_strPortName.empty())
            m_strPortName = param;
    }
    if (bLast) {
        if (m_nShellCommand == FileNew && !m_strFileName.empty()) m_nShellCommand = FileOpen;
        m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
    }
}
