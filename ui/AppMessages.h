#pragma once
// The program's private window messages, all in one place so that no two
// ever share a number.

#include <windows.h>

enum : UINT {
    // Posted to the view after a drop that carried file names; no parameters.
    WM_ADD_DROPPED_FILES = WM_APP + 1,
    // Posted to the view when the program becomes active again: opened
    // entries whose copies changed meanwhile are offered to be put back. No
    // parameters.
    WM_CHECK_OPENED_ENTRIES = WM_APP + 2,
    // Posted to the view when the focus moved while the quick view is open:
    // it shows the focused row's entry once the moves have settled. No
    // parameters.
    WM_QUICKVIEW_FOLLOW = WM_APP + 3,
};
