// The path splitter, name handling and the string cipher: pure text, no tree involved.

#include "brk_apart.h"
#include "registry_enhanced.h"

#include <gtest/gtest.h>

namespace velnora {
namespace {

using List = std::vector<std::string>;

List split(std::string base, std::string brk, bool allowEmpty = false, bool caseSensitive = false) {
    TBrkApart b;
    b.BaseString = std::move(base);
    b.BreakString = std::move(brk);
    b.AllowEmptyString = allowEmpty;
    b.CaseSensitive = caseSensitive;
    b.BreakApart();
    return b.StringList;
}

TEST(BrkApart, SplitsAndDropsEmptyPiecesUnlessAllowed) {
    EXPECT_EQ(split("a\\b\\c", "\\"), (List{"a", "b", "c"}));
    EXPECT_EQ(split("\\a\\\\b\\", "\\"), (List{"a", "b"}));
    EXPECT_EQ(split("\\a\\\\b\\", "\\", true), (List{"", "a", "", "b", ""}));
    EXPECT_EQ(split("", "\\"), List{});
    EXPECT_EQ(split("", "\\", true), List{""});
    EXPECT_EQ(split("a--b---c", "--"), (List{"a", "b", "-c"}));
}

TEST(BrkApart, BreakStringMatchesWithoutCaseUnlessCaseSensitive) {
    EXPECT_EQ(split("oneANDtwoandthree", "and"), (List{"one", "two", "three"}));
    EXPECT_EQ(split("oneANDtwoandthree", "and", false, true), (List{"oneANDtwo", "three"}));
    // The pieces keep their own spelling even though the search folds case.
    EXPECT_EQ(split("Settings\\Top Card Counts", "\\"), (List{"Settings", "Top Card Counts"}));
}

TEST(BrkApart, EmptyBreakStringGivesTheWholeTextInsteadOfLoopingForever) {
    EXPECT_EQ(split("abc", ""), List{"abc"});
    EXPECT_EQ(split("", ""), List{});
}

TEST(BrkApart, BuildStringKeepsFirstItemAndSkipsLaterEmptyOnes) {
    TBrkApart b;
    b.BreakString = "\\";
    b.BaseString = "stale";
    b.BuildString();
    EXPECT_EQ(b.BaseString, "");

    b.StringList = {"", "a", "", "b"};
    b.BuildString();
    EXPECT_EQ(b.BaseString, "\\a\\b");

    b.AllowEmptyString = true;
    b.BuildString();
    EXPECT_EQ(b.BaseString, "\\a\\\\b");
}

TEST(RegistryNames, NormaliseKey) {
    EXPECT_EQ(TRegistryEnhanced::NormaliseKey(""), "");
    EXPECT_EQ(TRegistryEnhanced::NormaliseKey("\\"), "");
    EXPECT_EQ(TRegistryEnhanced::NormaliseKey("Software\\Mirtlen BV\\Velnora"),
              "\\Software\\Mirtlen BV\\Velnora");
    EXPECT_EQ(TRegistryEnhanced::NormaliseKey("\\Software\\"), "\\Software");
    EXPECT_EQ(TRegistryEnhanced::NormaliseKey("Software\\"), "\\Software");
}

TEST(RegistryNames, KeyPathAndValueName) {
    TRegistryEnhanced reg;
    EXPECT_EQ(reg.KeyPathOf("Settings\\Level"), "\\Settings");
    EXPECT_EQ(reg.ValueNameOf("Settings\\Level"), "Level");
    EXPECT_EQ(reg.KeyPathOf("Level"), "");
    EXPECT_EQ(reg.ValueNameOf("Level"), "Level");
    EXPECT_EQ(reg.KeyPathOf("Settings\\\\Level"), "\\Settings");
    EXPECT_EQ(reg.ValueNameOf("Settings\\\\Level"), "Level");
    // One piece: the name itself, backslash and all.
    EXPECT_EQ(reg.KeyPathOf("\\Level"), "");
    EXPECT_EQ(reg.ValueNameOf("\\Level"), "\\Level");
}

TEST(RegistryCipher, ChainsEachByteOnThePreviousOne) {
    // Seed 00; 'A' (41) with key 'V' (56): 56 xor 41 = 17; 'B' (42) with key 'e' (65):
    // (42 + 17) mod 255 = 59, 65 xor 59 = 3C.
    EXPECT_EQ(TRegistryEnhanced::EncryptString(""), "00");
    EXPECT_EQ(TRegistryEnhanced::EncryptString("AB"), "00173C");
    std::string plain;
    ASSERT_TRUE(TRegistryEnhanced::DecryptString("00173C", plain));
    EXPECT_EQ(plain, "AB");
    EXPECT_FALSE(TRegistryEnhanced::DecryptString("00ZZ", plain));
}

TEST(RegistryCipher, RoundTripsEveryByteTheModulusCanCarry) {
    std::string all;
    for (int c = 1; c <= 254; ++c)
        all += static_cast<char>(c);
    all += all; // long enough to cycle the key several times
    for (const std::string& text : {all, std::string("Caf\xC3\xA9 de la Gare"), std::string("x")}) {
        std::string back;
        ASSERT_TRUE(TRegistryEnhanced::DecryptString(TRegistryEnhanced::EncryptString(text), back));
        EXPECT_EQ(back, text);
    }
}

} // namespace
} // namespace velnora
