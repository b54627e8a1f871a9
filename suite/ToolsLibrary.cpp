#include "suite/ToolsLibrary.h"

#include "framework/win32/Handles.h"
#include "framework/win32/LibrarySearch.h"

void CallToolsLibrary(const char* exportName)
{
    // Beside the program first, then the system's folders and PATH; never
    // the current folder, which a double click on a downloaded archive makes
    // the download folder. Not kept loaded, so an updated library is taken
    // at the next use.
    const CScopedLibrary library(AfxLoadLibraryOutsideCurrentFolder("hm_tools.dll"));
    if (!library) return;
    // Neither export takes arguments, so the calling conventions agree.
    using ToolsExport = void (*)();
    if (const auto call = reinterpret_cast<ToolsExport>(::GetProcAddress(library.Get(), exportName))) call();
}
