#pragma once
// Finding libraries without the current folder. A double click on a file
// makes the file's folder the current one; a library planted there under a
// name the program asks for would run inside it.

#include <windows.h>

// Takes the current folder out of the library search of the whole process,
// and, where the system offers it, keeps that search to the program's own
// folder and the system's. Call once, before anything loads a library.
void AfxRestrictLibrarySearch();

// Loads the library `name` (a file name without a folder) by its full path:
// from the program's own folder, then the system folder, the Windows folder
// and the folders of PATH that are given as full paths; never from the
// current folder. Null when none of them holds a library that loads.
HMODULE AfxLoadLibraryOutsideCurrentFolder(const char* name);
