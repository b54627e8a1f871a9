#pragma once
// Which Edit commands are available, decided from plain numbers in one
// place: the frame gathers them from the list, the update handlers only
// apply the answer, and tests check it without a window. No Win32 here.

// What the decision rests on; no list gives zeros.
struct CommandState {
    int nRows = 0;      // rows in the list
    int nSelected = 0;  // of them selected

    bool operator==(const CommandState&) const = default;
};

// The answer per command. Add is not here: it has no rule of its own and is
// available whenever its handler is, which the framework decides.
struct CommandAvailability {
    bool bRemove = false;
    bool bExtract = false;
    bool bSelectAll = false;
    bool bOpen = false;

    bool operator==(const CommandAvailability&) const = default;
};

CommandAvailability DecideCommandAvailability(const CommandState& state);
