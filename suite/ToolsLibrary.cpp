#include "suite/ToolsLibrary.h"

#include "framework/win32/Handles.h"

void CallToolsLibrary(const char* exportName)
{
    // The plain name: the program's own folder is searched first. Not kept
    // loaded, so an updated library is taken at the next use.
    const CScopedLibrary library(::LoadLibraryA("hm_tools.dll"));
    if (!library) return;
    // Neither export takes arguments, so the calling conventions agree.
    using ToolsExport = void (*)();
    if (const auto call = reinterpret_cast<ToolsExport>(::GetProcAddress(library.Get(), exportName))) call();
}
