#pragma once
// The settings store component: typed values addressed by "key path\value name" below a key of
// one of several roots, each root a tree of its own (see settings_tree.h).

#include "brk_apart.h"

#include <array>
#include <cstdint>
#include <optional>

#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velnora {

// Access rights requested when a key is opened.
enum TAccess { kAllAccess, kExecute, kRead, kWrite };
// Storage mode for strings and for values of tags the store does not map itself.
enum TBinaryType { btNone, btEncryptString, btExpandString, btBinary32BitMax, btBinary32BitMin };
// Language of the store's error message.
enum TLangType { ltFrench, ltEnglish };
// The root a key is resolved under.
enum TRootKey {
    hkClassesRoot,
    hkCurrentConfig,
    hkCurrentUser,
    hkDynData,
    hkLocalMachine,
    hkPerformanceData,
    hkUsers
};

// Tags of the tagged value besides integer (std::int32_t), boolean, double and string.
struct SmallInt {
    std::int16_t value = 0;
};
struct ShortInt {
    std::int8_t value = 0;
};
struct Byte {
    std::uint8_t value = 0;
};
struct Word {
    std::uint16_t value = 0;
};
struct LongWord {
    std::uint32_t value = 0;
};
// Money as a count of ten-thousandths.
struct Currency {
    std::int64_t value = 0;
};
// Days since 30 December 1899, the time of day as the fraction.
struct DateTime {
    double value = 0;
};
// A value of any tag the store does not map: its 16-byte raw record and its text.
struct OtherValue {
    std::array<std::uint8_t, 16> raw{};
    std::string text;
};

// The value exchanged with the store. A default-constructed one holds the "other" tag.
using TaggedValue = std::variant<OtherValue, std::int32_t, SmallInt, ShortInt, Byte, Word, LongWord,
                                 bool, double, Currency, DateTime, std::string>;

// Raised for a value whose tag the store cannot map, when the store is told to raise.
class ERegistryEnhanced : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The store component; nothing is cached between calls, each operation opens and closes the
// tree by itself.
class TRegistryEnhanced {
public:
    TRegistryEnhanced();
    virtual ~TRegistryEnhanced() = default;

    // Published properties.
    TAccess Access = kAllAccess;
    TBinaryType BinaryType = btNone;
    std::string Key;
    TLangType LangType = ltEnglish;
    bool RaiseExceptions = false;
    TRootKey RootKey = hkCurrentUser;

    // Reads the value `name` by its stored type; `defaultValue` when missing or unreadable.
    TaggedValue ReadValue(std::string_view name, const TaggedValue& defaultValue);
    // Stores `value` as `name`, creating the keys on its path; silently does nothing on failure.
    void WriteValue(std::string_view name, const TaggedValue& value);
    // Whether the value `name` exists.
    bool ValueExists(std::string_view name);
    // Whether the key `path` below Key exists.
    bool KeyExists(std::string_view path);
    // Deletes the subkey `path` of Key with everything below it.
    bool DeleteKey(std::string_view path);
    // Fills `list` with the subkey names of `path`; leaves it alone when the key is missing.
    void GetKeyNames(std::string_view path, std::vector<std::string>& list);

    // The bytes of the last binary value read.
    const std::vector<std::uint8_t>& BinaryBuffer() const { return binaryBuffer_; }

    // "" and "\" give ""; otherwise one trailing "\" is dropped and a leading one ensured.
    static std::string NormaliseKey(std::string_view s);
    // The key path part of a name ("Settings\Level" gives "\Settings"), "" without one.
    std::string KeyPathOf(std::string_view name);
    // The value name part of a name ("Settings\Level" gives "Level").
    std::string ValueNameOf(std::string_view name);

    // The store's string cipher used under btEncryptString.
    static std::string EncryptString(std::string_view plain);
    // Reverses EncryptString; false when the text is not an enciphered string.
    static bool DecryptString(std::string_view cipher, std::string& plain);

protected:
    // What ReadValue gives when the value exists; nothing when it does not (or the tree cannot be
    // read), so a caller can tell "missing" from "holds the default" with a single open.
    std::optional<TaggedValue> readIfExists(std::string_view name, const TaggedValue& defaultValue);

private:
    std::vector<std::string> piecesOf(std::string_view name);
    [[noreturn]] void raiseUnknownType() const;

    TBrkApart splitter_;
    std::vector<std::uint8_t> binaryBuffer_;
};

} // namespace velnora
