#include "ui/CommandAvailability.h"

CommandAvailability DecideCommandAvailability(const CommandState& state)
{
    CommandAvailability available;
    // Remove and Extract work on the selected rows; Select all needs a row to select.
    available.bRemove = state.nSelected > 0;
    available.bExtract = state.nSelected > 0;
    available.bSelectAll = state.nRows > 0;
    return available;
}
