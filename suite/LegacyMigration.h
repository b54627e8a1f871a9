#pragma once
// Once per machine, the game folders the suite's earlier program kept in
// its INI files move into the suite's registry. The machine-wide flag is
// set before anything is read, so no later start migrates again, even when
// the legacy files appear afterwards.

// The flag's sub-key below the suite root key, and the flag.
extern const char* const kGamesConfigurationKey;
extern const char* const kMigrationFlag;

void MigrateLegacyGameConfig();
