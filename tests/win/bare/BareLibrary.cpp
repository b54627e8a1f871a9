// A library that loads but exports neither "DoAbout" nor "DoHMVC".

#include <windows.h>

extern "C" __declspec(dllexport) int BareLibraryMarker() { return 1; }
