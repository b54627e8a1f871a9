#include "ui/CommandAvailability.h"

CommandAvailability DecideCommandAvailability(const CommandState& state)
{
    CommandAvailability available;
    // Remove and Extract work on the selected rows; Select all needs a row to select.
    available.bRemove = state.nSelected > 0;
    available.bExtract = state.nSelected > 0;
    available.bSelectAll = state.nRows > 0;
    // Open starts a program for one entry: a selection of hundreds must not
    // start hundreds of programs.
    available.bOpen = state.nSelected == 1;
    return available;
}
