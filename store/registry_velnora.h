#pragma once
// The program's store: the component plus reads that fall back to the machine-wide tree.

#include "registry_enhanced.h"

namespace velnora {

// The machine-wide tree an installer may fill with defaults; the program never writes it.
inline constexpr const char* kMachineSettingsKey = "Software\\Tolvar Softworks\\Velnora";

// The store every setting of the program goes through: reads by ReadSetting, writes by
// WriteValue (so writes always land in the per-user tree).
class TRegistryVelnora : public TRegistryEnhanced {
public:
    // The value `name` from the current tree when it is there, else from the machine-wide tree,
    // else `defaultValue`. RootKey and Key are the same afterwards as before.
    TaggedValue ReadSetting(std::string_view name, const TaggedValue& defaultValue);
};

// Reads a tagged value as an integer: integer tags and booleans convert, anything else gives
// `defaultValue`.
int taggedToInt(const TaggedValue& value, int defaultValue);
// Reads a tagged value as a string; a value of any other tag gives `defaultValue`.
std::string taggedToString(const TaggedValue& value, std::string_view defaultValue);

} // namespace velnora
