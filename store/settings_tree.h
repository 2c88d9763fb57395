#pragma once
// One tree of the settings store as an SQLite database file: keys that may exist without values,
// typed values, names compared without case. Every call opens its own connection and closes it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velnora {

// Stored value types; the numbers are those of the native registry, so a dump reads familiar.
enum class StoredType : int { string = 1, expandString = 2, binary = 3, integer = 4 };

// A value as it lies in a tree: its stored type code and the data that goes with it.
struct StoredValue {
    int type = 0;
    std::int64_t integer = 0;
    std::string text;
    std::vector<std::uint8_t> bytes;
};

// Where a tree lives and whether the program may write it (the machine-wide one never).
struct TreeLocation {
    std::filesystem::path file;
    bool writable = false;
};

// The per-user tree: $VELNORA_USER_STORE, else $XDG_CONFIG_HOME/velnora/settings.db.
std::optional<TreeLocation> perUserTree();
// The machine-wide tree: $VELNORA_MACHINE_STORE, else the first velnora/settings.db found in
// $XDG_CONFIG_DIRS; read only.
std::optional<TreeLocation> machineWideTree();
// A tree of its own beside the per-user one, for the other root keys ("settings-users.db").
std::optional<TreeLocation> treeBesidePerUser(std::string_view rootName);

// Key paths are lists of key names below the tree's root.
using KeyPath = std::vector<std::string>;

// Operations on one tree. Failures never escape: a key that cannot be opened, a busy or
// unreadable file, all come back as "nothing there" or "not done". A file that is not a
// database of ours is renamed aside with a ".corrupt" suffix and a fresh tree takes its place.
class SettingsTree {
public:
    explicit SettingsTree(TreeLocation where) : where_(std::move(where)) {}

    // The value `name` of the key `key`; empty when the key or the value is missing.
    std::optional<StoredValue> readValue(const KeyPath& key, std::string_view name) const;
    // Whether the key exists and holds a value `name`.
    bool valueExists(const KeyPath& key, std::string_view name) const;
    // Stores `value` as `name` in `key`, creating the missing keys; false when not done.
    bool writeValue(const KeyPath& key, std::string_view name, const StoredValue& value) const;
    // Whether the key exists.
    bool keyExists(const KeyPath& key) const;
    // Deletes the subkey `sub` of the existing key `base` with everything below it.
    bool deleteKey(const KeyPath& base, const KeyPath& sub) const;
    // The names of the subkeys of `key`, in name order; empty optional when it cannot be opened.
    std::optional<std::vector<std::string>> keyNames(const KeyPath& key) const;

private:
    TreeLocation where_;
};

} // namespace velnora
