#include "registry_enhanced.h"

#include "settings_tree.h"

#include <cstring>
#include <optional>

namespace velnora {

namespace {

// The cipher key of btEncryptString; fixed, so text enciphered by one copy reads in another.
constexpr std::string_view kCipherKey = "Velnora keeps its wild cards close";

bool mayRead(TAccess access) {
    return access != kWrite;
}
bool mayWrite(TAccess access) {
    return access == kAllAccess || access == kWrite;
}

std::optional<TreeLocation> treeFor(TRootKey root) {
    switch (root) {
    case hkCurrentUser:
        return perUserTree();
    case hkLocalMachine:
        return machineWideTree();
    case hkClassesRoot:
        return treeBesidePerUser("classesroot");
    case hkCurrentConfig:
        return treeBesidePerUser("currentconfig");
    case hkDynData:
        return treeBesidePerUser("dyndata");
    case hkPerformanceData:
        return treeBesidePerUser("performancedata");
    case hkUsers:
        return treeBesidePerUser("users");
    }
    return std::nullopt;
}

// A "\"-separated path as key names; empty pieces are dropped as the splitter does.
KeyPath keyPathFrom(std::string_view path) {
    KeyPath keys;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) keys.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return keys;
}

StoredValue integerValue(std::int64_t v) {
    StoredValue s;
    s.type = static_cast<int>(StoredType::integer);
    // Stored as a 32-bit integer: a long word keeps its bit pattern.
    s.integer = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return s;
}

template <typename T> StoredValue binaryValue(const T& v) {
    StoredValue s;
    s.type = static_cast<int>(StoredType::binary);
    s.bytes.resize(sizeof v);
    std::memcpy(s.bytes.data(), &v, sizeof v);
    return s;
}

StoredValue textValue(StoredType type, std::string text) {
    StoredValue s;
    s.type = static_cast<int>(type);
    s.text = std::move(text);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

TRegistryEnhanced::TRegistryEnhanced() {
    splitter_.BreakString = "\\";
    splitter_.AllowEmptyString = false;
}

// Name handling

std::string TRegistryEnhanced::NormaliseKey(std::string_view s) {
    if (s.empty() || s == "\\") return {};
    std::string out(s);
    if (out.back() == '\\') out.pop_back();
    if (out.empty() || out.front() != '\\') out.insert(out.begin(), '\\');
    return out;
}

std::vector<std::string> TRegistryEnhanced::piecesOf(std::string_view name) {
    splitter_.BaseString = std::string(name);
    splitter_.BreakApart();
    return splitter_.StringList;
}

std::string TRegistryEnhanced::KeyPathOf(std::string_view name) {
    std::vector<std::string> pieces = piecesOf(name);
    if (pieces.size() < 2) return {};
    pieces.pop_back();
    splitter_.StringList = pieces;
    splitter_.BuildString();
    return "\\" + splitter_.BaseString;
}

std::string TRegistryEnhanced::ValueNameOf(std::string_view name) {
    std::vector<std::string> pieces = piecesOf(name);
    if (pieces.size() < 2) return std::string(name);
    return pieces.back();
}

// The cipher

std::string TRegistryEnhanced::EncryptString(std::string_view plain) {
    static const char* const digits = "0123456789ABCDEF";
    auto put = [](std::string& out, unsigned byte) {
        out += digits[(byte >> 4) & 0xF];
        out += digits[byte & 0xF];
    };
    std::string out;
    out.reserve(2 + 2 * plain.size());
    unsigned previous = 0; // the seed byte
    put(out, previous);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const auto c = static_cast<unsigned char>(plain[i]);
        const auto k = static_cast<unsigned char>(kCipherKey[i % kCipherKey.size()]);
        const unsigned e = k ^ ((c + previous) % 255);
        put(out, e);
        previous = e;
    }
    return out;
}

bool TRegistryEnhanced::DecryptString(std::string_view cipher, std::string& plain) {
    if (cipher.size() < 2 || cipher.size() % 2 != 0) return false;
    std::vector<unsigned> bytes;
    for (std::size_t i = 0; i < cipher.size(); i += 2) {
        const int hi = hexDigit(cipher[i]);
        const int lo = hexDigit(cipher[i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes.push_back(static_cast<unsigned>(hi * 16 + lo));
    }
    std::string out;
    unsigned previous = bytes.front();
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        const unsigned e = bytes[i];
        const auto k = static_cast<unsigned char>(kCipherKey[(i - 1) % kCipherKey.size()]);
        const unsigned d = k ^ e;
        const unsigned c = previous < d ? d - previous : d + 255 - previous;
        out += static_cast<char>(static_cast<unsigned char>(c));
        previous = e;
    }
    plain = std::move(out);
    return true;
}

// Operations

void TRegistryEnhanced::raiseUnknownType() const {
    throw ERegistryEnhanced(LangType == ltFrench ? "Type de donn\xC3\xA9"
                                                   "e inconnu."
                                                 : "Unknown data type.");
}

TaggedValue TRegistryEnhanced::ReadValue(std::string_view name, const TaggedValue& defaultValue) {
    return readIfExists(name, defaultValue).value_or(defaultValue);
}

std::optional<TaggedValue> TRegistryEnhanced::readIfExists(std::string_view name,
                                                           const TaggedValue& defaultValue) {
    if (!mayRead(Access)) return std::nullopt;
    const auto where = treeFor(RootKey);
    if (!where) return std::nullopt;
    const KeyPath key = keyPathFrom(NormaliseKey(Key) + KeyPathOf(name));
    const auto stored = SettingsTree(*where).readValue(key, ValueNameOf(name));
    if (!stored) return std::nullopt;
    switch (static_cast<StoredType>(stored->type)) {
    case StoredType::string:
        if (BinaryType == btEncryptString) {
            std::string plain;
            if (!DecryptString(stored->text, plain)) return defaultValue;
            return plain;
        }
        return stored->text;
    case StoredType::expandString:
        return stored->text;
    case StoredType::integer:
        return static_cast<std::int32_t>(stored->integer);
    case StoredType::binary:
        binaryBuffer_ = stored->bytes;
        return static_cast<std::int32_t>(binaryBuffer_.size());
    }
    if (RaiseExceptions) raiseUnknownType();
    return defaultValue;
}

void TRegistryEnhanced::WriteValue(std::string_view name, const TaggedValue& value) {
    if (Key.empty() || !mayWrite(Access)) return;
    std::optional<StoredValue> stored = std::visit(
        [this](const auto& v) -> std::optional<StoredValue> {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::int32_t> || std::is_same_v<T, bool>)
                return integerValue(v);
            else if constexpr (std::is_same_v<T, SmallInt> || std::is_same_v<T, ShortInt> ||
                               std::is_same_v<T, Byte> || std::is_same_v<T, Word> ||
                               std::is_same_v<T, LongWord>)
                return integerValue(v.value);
            else if constexpr (std::is_same_v<T, double>)
                return binaryValue(v);
            else if constexpr (std::is_same_v<T, Currency> || std::is_same_v<T, DateTime>)
                return binaryValue(v.value);
            else if constexpr (std::is_same_v<T, std::string>)
                return textValue(StoredType::string,
                                 BinaryType == btEncryptString ? EncryptString(v) : v);
            else {
                switch (BinaryType) {
                case btExpandString:
                    return textValue(StoredType::expandString, v.text);
                case btBinary32BitMax: {
                    StoredValue s = binaryValue(v.raw);
                    s.bytes.resize(4);
                    return s;
                }
                case btBinary32BitMin:
                    return binaryValue(v.raw);
                case btNone:
                case btEncryptString:
                    break;
                }
                if (RaiseExceptions) raiseUnknownType();
                return std::nullopt;
            }
        },
        value);
    if (!stored) return;
    const auto where = treeFor(RootKey);
    if (!where) return;
    const KeyPath key = keyPathFrom(NormaliseKey(Key) + KeyPathOf(name));
    SettingsTree(*where).writeValue(key, ValueNameOf(name), *stored);
}

bool TRegistryEnhanced::ValueExists(std::string_view name) {
    if (!mayRead(Access)) return false;
    const auto where = treeFor(RootKey);
    if (!where) return false;
    const KeyPath key = keyPathFrom(NormaliseKey(Key) + KeyPathOf(name));
    return SettingsTree(*where).valueExists(key, ValueNameOf(name));
}

bool TRegistryEnhanced::KeyExists(std::string_view path) {
    if (!mayRead(Access)) return false;
    const auto where = treeFor(RootKey);
    if (!where) return false;
    return SettingsTree(*where).keyExists(keyPathFrom(NormaliseKey(Key) + NormaliseKey(path)));
}

bool TRegistryEnhanced::DeleteKey(std::string_view path) {
    if (Key.empty() || !mayWrite(Access)) return false;
    const auto where = treeFor(RootKey);
    if (!where) return false;
    return SettingsTree(*where).deleteKey(keyPathFrom(NormaliseKey(Key)), keyPathFrom(path));
}

void TRegistryEnhanced::GetKeyNames(std::string_view path, std::vector<std::string>& list) {
    if (!mayRead(Access)) return;
    const auto where = treeFor(RootKey);
    if (!where) return;
    auto names = SettingsTree(*where).keyNames(keyPathFrom(NormaliseKey(Key) + NormaliseKey(path)));
    if (names) list = std::move(*names);
}

} // namespace velnora
