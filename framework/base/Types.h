#pragma once
// Basic types shared by the portable layers. Kept free of Win32 headers; the
// definitions match <windows.h> exactly so both may be included together.

#include <cstdint>

typedef int BOOL;
typedef unsigned int UINT;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
