#pragma once
// What the program's command line asks for: the shell command (new, open,
// print, DDE, register, unregister), the file and the printer, parsed one
// argument at a time.

#include <windows.h>

#include <string>

class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };
    virtual ~CCommandLineInfo() = default;
    // One argument; bFlag when it started with '/' or '-' (which is then dropped).
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    int m_nShellCommand = FileNew;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
};
