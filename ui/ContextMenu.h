#pragma once
// The list's context menu: the Edit commands on the rows. Its items carry
// the commands' own ids, so the owner's command-UI handlers set their
// states when it opens and the choice reaches the commands as a menu
// choice does.

#include <windows.h>

// The toolbar resource whose images the menus show: the 16x15 strip, or
// its larger copy at 150% and 200% text size.
UINT MenuImagesForScreen();

// Shows the menu at screenPoint, owned by hOwner (the main frame), and
// returns when it is closed; the chosen command follows as WM_COMMAND.
void TrackListContextMenu(HWND hOwner, POINT screenPoint);
