#pragma once
// Where the program's own files live and how they are written: the per-user data folder, and
// writes that replace a file only once the new content is safely on disk.

#include <filesystem>
#include <string>
#include <string_view>

namespace velnora {

// $XDG_DATA_HOME/velnora (default ~/.local/share/velnora), created on first use.
std::filesystem::path dataFolder();
// The autosave file in the data folder.
std::filesystem::path autosavePath();

// Writes the content to a temporary file beside the target, flushes it to disk and renames it
// over the target, so a crash midway leaves the previous file readable. False on any failure.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view content);

enum class ReadStatus { ok, missing, tooLarge, failed };
// Reads a whole file of at most maxBytes.
ReadStatus readWholeFile(const std::filesystem::path& file, std::size_t maxBytes, std::string& out);

} // namespace velnora
