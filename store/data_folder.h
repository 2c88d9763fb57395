#pragma once
// Where the program finds the files it only reads: sounds, music, about.wav and help pages.

#include <filesystem>
#include <string>

namespace velnora {

// The read-only data folder, without a trailing slash: $VELNORA_DATA_DIR when set; else the
// installed copy <executable dir>/../share/velnora when it exists; else the source tree's
// resources/ folder, so a program run from the build tree finds its files.
std::string readOnlyDataFolder();

// The choice behind readOnlyDataFolder(), with its inputs given: envValue is $VELNORA_DATA_DIR or
// null, executableDir the folder of the running program.
std::string chooseDataFolder(const char* envValue, const std::filesystem::path& executableDir,
                             const std::string& sourceResources);

} // namespace velnora
