#pragma once
// Brings the settings of older versions of the program into the store, once per installation.

#include "ini_file.h"
#include "registry_velnora.h"

#include <filesystem>

namespace velnora {

// The version the store is at after migration.
inline constexpr int kSettingsVersion = 41701;

// The folders the migration reads and cleans up.
struct MigrationPaths {
    // Where the old "velnora.ini" is looked for: $XDG_CONFIG_HOME.
    std::filesystem::path iniDir;
    // Where the program writes its files, saved games among them: $XDG_DATA_HOME/velnora.
    std::filesystem::path programDir;
    // Where the old card-image libraries were left.
    std::filesystem::path currentDir;

    // The folders of the running program.
    static MigrationPaths fromEnvironment();
};

// Runs at every start-up before any other setting is read; does nothing once the store holds
// the current version.
void MigrateSettings(TRegistryVelnora& store, const MigrationPaths& paths);
// Writes the settings of the old INI file into the store.
void ConvertIniSettings(TRegistryVelnora& store, const IniFile& ini);

} // namespace velnora
