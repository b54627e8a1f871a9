#include "suite/LegacyMigration.h"

#include <string>

#include "settings/SettingsStore.h"

const char* const kGamesConfigurationKey = "\\Games Configuration";
const char* const kMigrationFlag = "QuayMigration";

namespace {
// Where the earlier program said its own folder was.
const char* const kLocatorFile = "c:\\quay.cfg";

struct GameRow {
    const char* section;
    const char* key;
    const char* game;  // sub-key below kGamesConfigurationKey
};

// The legacy files list no Halvard demos: each demo takes the folder of its
// full version.
constexpr GameRow kGames[] = {
    {"Halvard", "H1Full", "Halvard 1 Demo"},      {"Halvard", "H1OEM", "Halvard 1 OEM"},
    {"Halvard", "H1Full", "Halvard 1"},           {"Halvard", "H2Full", "Halvard 2 Demo"},
    {"Halvard", "H2OEM", "Halvard 2 OEM"},        {"Halvard", "H2Full", "Halvard 2"},
    {"Halvard", "H3Full", "Halvard 3 Demo"},      {"Halvard", "H3OEM", "Halvard 3 OEM"},
    {"Halvard", "H3Full", "Halvard 3"},           {"FreeSpace", "FS1Demo", "FreeSpace 1 Demo"},
    {"FreeSpace", "FS1OEM", "FreeSpace 1 OEM"},   {"FreeSpace", "FS1Full", "FreeSpace 1"},
    {"FreeSpace", "FS2Demo", "FreeSpace 2 Demo"}, {"FreeSpace", "FS2Full", "FreeSpace 2"},
    {"Summoner", "S1Demo", "Summoner 1 Demo"},    {"Summoner", "S1Full", "Summoner 1"},
};
}  // namespace

void MigrateLegacyGameConfig()
{
    if (GetSuiteDword(kGamesConfigurationKey, kMigrationFlag, 0) != 0) return;
    // Set first: a migration that stops half-way is not tried again.
    SetSuiteDword(kGamesConfigurationKey, kMigrationFlag, 1);

    if (!FileExists(kLocatorFile)) return;
    const std::string folder = GetIniString("Directories", "Quay3", kLocatorFile);
    if (folder.empty()) return;
    const std::string quayIni = AddTrailingBackslash(folder) + "quay.ini";
    const std::string halvardIni = AddTrailingBackslash(folder) + "halvard.ini";
    if (!FileExists(quayIni) || !FileExists(halvardIni)) return;

    // Every row is written, empty when the file lacks the edition, so the
    // registry lists all of them afterwards.
    for (const GameRow& row : kGames)
        SetSuiteString(std::string(kGamesConfigurationKey) + "\\" + row.game, "Path",
                       GetIniString(row.section, row.key, halvardIni));
}
