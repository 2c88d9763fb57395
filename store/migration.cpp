#include "migration.h"

#include "game_files.h"
#include "settings.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace velnora {

namespace fs = std::filesystem;

namespace {

constexpr const char* kIniName = "velnora.ini";
constexpr const char* kIniSection = "Velnora Settings";

fs::path homeBased(const char* variable, const char* belowHome) {
    if (const char* value = std::getenv(variable); value && *value && fs::path(value).is_absolute())
        return value;
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "") / belowHome;
}

// The old file is copied the way older versions did, in small blocks; a file that cannot be
// opened is simply not copied.
void copyIni(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::exists(to, ec) && fs::equivalent(from, to, ec)) return;
    std::ifstream in(from, std::ios::binary);
    if (!in) return;
    fs::create_directories(to.parent_path(), ec);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!out) return;
    char block[100];
    while (in) {
        in.read(block, sizeof block);
        out.write(block, in.gcount());
    }
}

void removeQuietly(const fs::path& file) {
    std::error_code ec;
    fs::remove(file, ec);
}

// Saved games of older versions cannot be loaded any more.
void deleteSavedGames(const fs::path& dir) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) return;
        const fs::path& file = it->path();
        // The wildcard matched without regard to case where these files were made.
        if (foldCase(file.extension().string()) == ".vel" && it->is_regular_file(ec))
            removeQuietly(file);
    }
}

bool iniFlag(const IniFile& ini, const char* key, const char* defaultText, const char* word) {
    return ini.ReadString(kIniSection, key, defaultText) == word;
}

} // namespace

MigrationPaths MigrationPaths::fromEnvironment() {
    MigrationPaths paths;
    paths.iniDir = homeBased("XDG_CONFIG_HOME", ".config");
    // The same folder the saved games are written to.
    paths.programDir = dataFolder();
    std::error_code ec;
    paths.currentDir = fs::current_path(ec);
    return paths;
}

void ConvertIniSettings(TRegistryVelnora& store, const IniFile& ini) {
    store.WriteValue("Settings\\Background Color", std::int32_t{128});
    static const char* const yesFlags[] = {"Sound",           "AutoSave",      "Velnora Required",
                                           "Draw Extra",      "Three Block",   "Add to Velnora",
                                           "Top card counts", "Initial block", "Natural pair"};
    store.WriteValue("Settings\\Music", iniFlag(ini, "Music", "On", "On"));
    for (const char* key : yesFlags)
        store.WriteValue(std::string("Settings\\") + key, iniFlag(ini, key, "Yes", "Yes"));
    for (const char* key : {"Number of Velnoras", "Number of Cards"})
        store.WriteValue(std::string("Settings\\") + key,
                         std::int32_t{ini.ReadString(kIniSection, key, "One") == "One" ? 1 : 2});
}

void MigrateSettings(TRegistryVelnora& store, const MigrationPaths& paths) {
    int version = taggedToInt(store.ReadSetting("Settings\\Version", std::int32_t{0}), 0);
    if (version == kSettingsVersion) return;
    // Only a version found in the old file brings that file's settings along.
    std::optional<IniFile> ini;
    if (version == 0) {
        ini = IniFile::load(paths.iniDir / kIniName);
        if (ini) version = ini->ReadInteger(kIniSection, "Version", 0);
    }
    if (version > 0) {
        if (version < 300) {
            copyIni(paths.iniDir / kIniName, paths.programDir / kIniName);
            if (ini) ConvertIniSettings(store, *ini);
        }
        if (version == 300 && ini) ConvertIniSettings(store, *ini);
        if (version < 400) {
            for (const char* old : {"VEL640.DLL", "VEL800.DLL", "VEL1024.DLL", "VELNORA.INI"})
                removeQuietly(paths.currentDir / old);
            deleteSavedGames(paths.programDir);
            if (ini) ConvertIniSettings(store, *ini);
        }
        if (version < 41499) deleteSavedGames(paths.programDir);
    }
    store.WriteValue("Settings\\Version", std::int32_t{kSettingsVersion});
}

} // namespace velnora
