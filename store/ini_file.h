#pragma once
// Read-only access to an old-style INI file: [sections] of key=value lines.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace velnora {

// An INI file read whole into memory; section and key names compare without case, as on the
// system that wrote these files.
class IniFile {
public:
    // The file's contents, or nothing when it cannot be read.
    static std::optional<IniFile> load(const std::filesystem::path& file);
    // Parses INI text.
    static IniFile parse(std::string_view text);

    // The text of `key` in `section`, without surrounding blanks or one pair of quotes.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The value of `key` as a decimal (or "0x"/"$" hexadecimal) integer; `defaultValue` when it
    // is missing or not a number.
    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

private:
    // Folded "section" + '\n' + "key" to the value text; the first of duplicates wins.
    std::map<std::string, std::string> values_;
};

} // namespace velnora
