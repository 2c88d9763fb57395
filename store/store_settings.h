#pragma once
// The engine's settings interface served by the program's store.

#include "registry_velnora.h"
#include "settings.h"

namespace velnora {

// Lets the engine read its settings through ReadSetting (with the machine-wide fallback) and
// write them through WriteValue.
class StoreSettings : public Settings {
public:
    explicit StoreSettings(TRegistryVelnora& store) : store_(store) {}

    int readInt(std::string_view name, int defaultValue) override;
    std::string readString(std::string_view name, std::string_view defaultValue) override;
    void writeInt(std::string_view name, int value) override;
    void writeString(std::string_view name, std::string_view value) override;
    void deleteKey(std::string_view path) override;

private:
    TRegistryVelnora& store_;
};

} // namespace velnora
