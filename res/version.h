// The release, in one place. The resources (VERSIONINFO), the status bar,
// packwright --version, hm_modul.dat, the splash artwork (res/art/make_art.py)
// and the release file names (zips, installers) all read it; CMake checks
// that the manifest's assembly version agrees. Plain defines only: windres,
// CMake and Python parse this file.
#ifndef PACKWRIGHT_VERSION_H
#define PACKWRIGHT_VERSION_H

#define PACKWRIGHT_VERSION_MAJOR 1
#define PACKWRIGHT_VERSION_MINOR 0
#define PACKWRIGHT_VERSION_PATCH 0
#define PACKWRIGHT_VERSION_BUILD 4

// MAJOR.MINOR.PATCH.BUILD: file names and the numeric fields.
#define PACKWRIGHT_VERSION_DOTTED "1.0.0.4"
// What the user reads: the splash, the product version.
#define PACKWRIGHT_VERSION_NAME "V1.0 Beta 01c"
// The suite's version text: its "Build " number is the BUILD above.
#define PACKWRIGHT_VERSION_TEXT "V1.0 Beta 01c (Build 04)"
#define PACKWRIGHT_VERSION_DATE "2024-05-17"

#endif
