// packwright's entry point: the tool, on the console.

#include "cli/Commands.h"

int main(int argc, char** argv) { return PackwrightMain(argc, argv); }
