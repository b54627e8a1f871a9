#pragma once
// The document type's registration with the shell under
// HKEY_CLASSES_ROOT: description, icon, and the open, print and print-to
// verbs carried out through DDE.

#include <windows.h>

#include <string>
#include <vector>

// A verb of the type's own beyond open and print: its menu text and the
// command line the shell runs ("%1" stands for the file).
struct CShellVerb {
    std::string m_strName;
    std::string m_strText;
    std::string m_strCommand;
};

struct CShellFileType {
    std::string m_strFileTypeId;    // "Packwright32.Document"
    std::string m_strFileTypeName;  // "VPP Archive File"
    std::string m_strFilterExt;     // ".vpp"
    std::string m_strExePath;       // full path of the program
    std::string m_strDdeService;    // the DDE application name; empty: no DDE
    int m_nIconIndex = 0;
    std::vector<CShellVerb> m_verbs;
};

// Writes the type; the extension is pointed at it only when it has no
// association yet or already this one, and then gets ShellNew too (with
// bCompat). Where the registry refuses, what fails is skipped: FALSE then.
BOOL RegisterShellFileType(HKEY hRoot, const CShellFileType& type, BOOL bCompat);
// Removes the type, and the extension's association when it is this type.
BOOL UnregisterShellFileType(HKEY hRoot, const CShellFileType& type);
