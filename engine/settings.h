#pragma once
// The engine's narrow view of the settings store: named values ("Settings\Level") read with a
// default and written back. The store implements it; engine tests use MemorySettings.

#include <map>
#include <string>
#include <string_view>

namespace velnora {

class Settings {
public:
    virtual ~Settings() = default;
    virtual int readInt(std::string_view name, int defaultValue) = 0;
    virtual std::string readString(std::string_view name, std::string_view defaultValue) = 0;
    virtual void writeInt(std::string_view name, int value) = 0;
    virtual void writeString(std::string_view name, std::string_view value) = 0;
    // Removes the key path ("Sound") with every value and key below it.
    virtual void deleteKey(std::string_view path) = 0;

    bool readBool(std::string_view name, bool defaultValue) {
        return readInt(name, defaultValue ? 1 : 0) != 0;
    }
    void writeBool(std::string_view name, bool value) { writeInt(name, value ? 1 : 0); }
};

// An in-memory tree with the store's rules: names compare without case, a write replaces any
// earlier value of either type, and reading a value as the other type gives the default.
class MemorySettings : public Settings {
public:
    int readInt(std::string_view name, int defaultValue) override;
    std::string readString(std::string_view name, std::string_view defaultValue) override;
    void writeInt(std::string_view name, int value) override;
    void writeString(std::string_view name, std::string_view value) override;
    void deleteKey(std::string_view path) override;
    bool contains(std::string_view name) const;
    void erase(std::string_view name);

private:
    struct Value {
        bool isInt = true;
        int i = 0;
        std::string s;
    };
    std::map<std::string, Value> values_;
};

// Lower-cases ASCII letters; the store folds names this way.
std::string foldCase(std::string_view s);

} // namespace velnora
