// The program's store: the machine-wide fallback and the engine's view of it.

#include "data_module.h"
#include "store_settings.h"
#include "temp_store.h"

#include <sqlite3.h>

namespace velnora {
namespace {

using test::TempStore;

class VelnoraStore : public TempStore {
protected:
    TdmMain dm;
    TRegistryVelnora& rf = dm.rfMain;
};

TEST_F(VelnoraStore, MissingUserValueFallsBackToTheMachineTreeAndRestoresTheStore) {
    writeMachine("Settings\\Level", std::string("Expert"));
    writeMachine("Settings\\Delay", std::int32_t{900});
    rf.WriteValue("Settings\\Delay", std::int32_t{300});

    EXPECT_EQ(taggedToString(rf.ReadSetting("Settings\\Level", std::string("Beginner")), ""),
              "Expert");
    EXPECT_EQ(rf.RootKey, hkCurrentUser);
    EXPECT_EQ(rf.Key, "Software\\Mirtlen BV\\Velnora");
    EXPECT_FALSE(rf.RaiseExceptions);
    EXPECT_EQ(taggedToInt(rf.ReadSetting("Settings\\Delay", std::int32_t{0}), -1), 300);
    EXPECT_EQ(taggedToInt(rf.ReadSetting("Settings\\Aggression", std::int32_t{50}), -1), 50);
    EXPECT_EQ(rf.Key, "Software\\Mirtlen BV\\Velnora");

    // Writes after a fallback read still land in the per-user tree.
    rf.WriteValue("Settings\\Level", std::string("Advanced"));
    EXPECT_EQ(taggedToString(rf.ReadSetting("Settings\\Level", std::string()), ""), "Advanced");
}

TEST_F(VelnoraStore, FallbackRestoresTheStoreEvenWhenTheReadRaises) {
    writeMachine("Settings\\Odd", std::int32_t{1});
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(machineFile.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "UPDATE vals SET type = 9", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    rf.RaiseExceptions = true;
    EXPECT_THROW(rf.ReadSetting("Settings\\Odd", std::int32_t{0}), ERegistryEnhanced);
    EXPECT_EQ(rf.RootKey, hkCurrentUser);
    EXPECT_EQ(rf.Key, "Software\\Mirtlen BV\\Velnora");
}

TEST_F(VelnoraStore, EngineSettingsGoThroughTheFallbackAndWriteToTheUserTree) {
    StoreSettings settings(rf);
    writeMachine("Settings\\Draw Extra", false);
    EXPECT_FALSE(settings.readBool("Settings\\Draw Extra", true));
    EXPECT_EQ(settings.readInt("Settings\\CurrentHand", 0), 0);

    settings.writeBool("Settings\\Initial Block", true);
    settings.writeInt("Settings\\CurrentHand", 7);
    settings.writeString("Settings\\Level", "Expert");
    EXPECT_EQ(taggedToInt(rf.ReadValue("Settings\\initial block", std::int32_t{-1}), -1), 1);
    EXPECT_EQ(settings.readInt("settings\\currenthand", 0), 7);
    EXPECT_EQ(settings.readString("Settings\\Level", "Beginner"), "Expert");
    // Read as the other type: the caller's default, as MemorySettings does.
    EXPECT_EQ(settings.readString("Settings\\CurrentHand", "none"), "none");
    EXPECT_EQ(settings.readInt("Settings\\Level", 3), 3);
}

} // namespace
} // namespace velnora
