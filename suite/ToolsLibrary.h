#pragma once
// Calls into the suite's tools library, hm_tools.dll, which lies outside
// the program: the About box and the check for a newer version are its.

// Loads the library for this one call (never from the current folder),
// calls its export `exportName` (no arguments, no result) and waits for it,
// then releases the library.
// Without the library or the export it does nothing and says nothing.
void CallToolsLibrary(const char* exportName);
