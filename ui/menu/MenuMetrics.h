#pragma once
// What measuring and drawing menu items share: the menu font and the window
// whose DC measures text.

#include <windows.h>

#include "framework/win32/Handles.h"

// The font of the system's menus (the non-client metrics' menu font), made
// for one call; a null owner when it cannot be made.
CScopedFont CreateMenuFont();
// The program's main window, or none (the screen) before there is one.
HWND MeasuringWindow();
