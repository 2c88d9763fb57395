#include "settings.h"

namespace velnora {

std::string foldCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

int MemorySettings::readInt(std::string_view name, int defaultValue) {
    auto it = values_.find(foldCase(name));
    return (it != values_.end() && it->second.isInt) ? it->second.i : defaultValue;
}

std::string MemorySettings::readString(std::string_view name, std::string_view defaultValue) {
    auto it = values_.find(foldCase(name));
    return (it != values_.end() && !it->second.isInt) ? it->second.s : std::string(defaultValue);
}

void MemorySettings::writeInt(std::string_view name, int value) {
    values_[foldCase(name)] = Value{true, value, {}};
}

void MemorySettings::writeString(std::string_view name, std::string_view value) {
    values_[foldCase(name)] = Value{false, 0, std::string(value)};
}

void MemorySettings::deleteKey(std::string_view path) {
    const std::string prefix = foldCase(path) + "\\";
    auto it = values_.lower_bound(prefix);
    while (it != values_.end() && it->first.compare(0, prefix.size(), prefix) == 0)
        it = values_.erase(it);
}

bool MemorySettings::contains(std::string_view name) const {
    return values_.count(foldCase(name)) != 0;
}

void MemorySettings::erase(std::string_view name) {
    values_.erase(foldCase(name));
}

} // namespace velnora
