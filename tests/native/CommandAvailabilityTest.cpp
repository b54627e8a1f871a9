// The Edit commands' availability, decided from the list's counts alone.

#include <gtest/gtest.h>

#include "ui/CommandAvailability.h"

TEST(CommandAvailability, SelectionDecidesRemoveAndExtractRowsDecideSelectAll)
{
    struct Case {
        CommandState state;
        CommandAvailability expected;  // remove, extract, select all, open
    };
    const Case cases[] = {
        {{0, 0}, {false, false, false, false}},       // no list or an empty one
        {{3, 0}, {false, false, true, false}},        // rows but no selection: only Select all
        {{3, 1}, {true, true, true, true}},           // one row selected: Open too
        {{3, 2}, {true, true, true, false}},          // Open takes one row only
        {{65536, 65536}, {true, true, true, false}},  // a full archive, all selected
    };
    for (const Case& c : cases) {
        const CommandAvailability got = DecideCommandAvailability(c.state);
        EXPECT_EQ(got, c.expected) << "rows " << c.state.nRows << ", selected " << c.state.nSelected << ": remove "
                                   << got.bRemove << ", extract " << got.bExtract << ", select all "
                                   << got.bSelectAll << ", open " << got.bOpen;
    }
}
