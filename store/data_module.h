#pragma once
// The data module: owner of the program's one settings store.

#include "registry_velnora.h"

namespace velnora {

// The per-user key below which all of the program's settings live.
inline constexpr const char* kUserSettingsKey = "Software\\Mirtlen BV\\Velnora";

// Created first at start-up and freed last at shutdown; holds rfMain.
class TdmMain {
public:
    TdmMain() { rfMain.Key = kUserSettingsKey; }

    TRegistryVelnora rfMain;
};

} // namespace velnora
