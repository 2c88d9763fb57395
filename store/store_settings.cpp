#include "store_settings.h"

namespace velnora {

int StoreSettings::readInt(std::string_view name, int defaultValue) {
    return taggedToInt(store_.ReadSetting(name, std::int32_t{defaultValue}), defaultValue);
}

std::string StoreSettings::readString(std::string_view name, std::string_view defaultValue) {
    return taggedToString(store_.ReadSetting(name, std::string(defaultValue)), defaultValue);
}

void StoreSettings::writeInt(std::string_view name, int value) {
    store_.WriteValue(name, std::int32_t{value});
}

void StoreSettings::writeString(std::string_view name, std::string_view value) {
    store_.WriteValue(name, std::string(value));
}

void StoreSettings::deleteKey(std::string_view path) {
    store_.DeleteKey(path);
}

} // namespace velnora
