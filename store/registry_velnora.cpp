#include "registry_velnora.h"

#include <utility>

namespace velnora {

TaggedValue TRegistryVelnora::ReadSetting(std::string_view name, const TaggedValue& defaultValue) {
    // ValueExists and ReadValue in one open of the file: start-up makes hundreds of these reads.
    if (auto value = readIfExists(name, defaultValue)) return *value;
    // Restored even when the read raises: a caller left pointing at the machine-wide tree
    // would send every later write into nowhere.
    struct Restore {
        TRegistryVelnora& store;
        TRootKey rootKey;
        std::string key;
        ~Restore() {
            store.RootKey = rootKey;
            store.Key = std::move(key);
        }
    } restore{*this, RootKey, Key};
    RootKey = hkLocalMachine;
    Key = kMachineSettingsKey;
    return ReadValue(name, defaultValue);
}

int taggedToInt(const TaggedValue& value, int defaultValue) {
    return std::visit(
        [defaultValue](const auto& v) -> int {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::int32_t>)
                return v;
            else if constexpr (std::is_same_v<T, bool>)
                return v ? 1 : 0;
            else if constexpr (std::is_same_v<T, SmallInt> || std::is_same_v<T, ShortInt> ||
                               std::is_same_v<T, Byte> || std::is_same_v<T, Word> ||
                               std::is_same_v<T, LongWord>)
                return static_cast<int>(v.value);
            else
                return defaultValue;
        },
        value);
}

std::string taggedToString(const TaggedValue& value, std::string_view defaultValue) {
    if (const auto* s = std::get_if<std::string>(&value)) return *s;
    return std::string(defaultValue);
}

} // namespace velnora
