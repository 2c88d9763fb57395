// The read-only data folder: environment, installed copy, then the source tree.

#include "data_folder.h"
#include "data_module.h"
#include "store_settings.h"
#include "temp_store.h"

#include <gtest/gtest.h>

namespace velnora {
namespace {

using test::TempStore;

class DataFolder : public TempStore {};

TEST_F(DataFolder, EnvironmentWinsThenTheInstalledCopyThenTheSources) {
    const std::filesystem::path bin = dir / "prefix" / "bin";
    std::filesystem::create_directories(bin);
    EXPECT_EQ(chooseDataFolder(nullptr, bin, "/src/resources/"), "/src/resources");
    EXPECT_EQ(chooseDataFolder("", bin, "/src/resources"), "/src/resources");

    std::filesystem::create_directories(dir / "prefix" / "share" / "velnora");
    EXPECT_EQ(chooseDataFolder(nullptr, bin, "/src/resources"),
              (dir / "prefix" / "share" / "velnora").string());
    EXPECT_EQ(chooseDataFolder("/opt/v/data/", bin, "/src/resources"), "/opt/v/data");
}

TEST_F(DataFolder, TheBuildTreeReadsTheSourceResources) {
    ::unsetenv("VELNORA_DATA_DIR");
    EXPECT_EQ(std::filesystem::path(readOnlyDataFolder()).filename(), "resources");
    ::setenv("VELNORA_DATA_DIR", dir.c_str(), 1);
    EXPECT_EQ(readOnlyDataFolder(), dir.string());
    ::unsetenv("VELNORA_DATA_DIR");
}

TEST_F(DataFolder, DeletingAKeyRemovesItsSubtreeAndNothingBeside) {
    TdmMain dm;
    StoreSettings store(dm.rfMain);
    MemorySettings memory;
    for (Settings* s : {static_cast<Settings*>(&store), static_cast<Settings*>(&memory)}) {
        s->writeString("Sound\\Deal1", "a.wav");
        s->writeString("Sound\\Exit2", "b.wav");
        s->writeString("Soundtrack\\Name", "kept");
        s->writeBool("Settings\\Sound", true);
        s->deleteKey("SOUND");
        EXPECT_EQ(s->readString("Sound\\Deal1", "gone"), "gone");
        EXPECT_EQ(s->readString("Sound\\Exit2", "gone"), "gone");
        EXPECT_EQ(s->readString("Soundtrack\\Name", ""), "kept");
        EXPECT_TRUE(s->readBool("Settings\\Sound", false));
    }
}

} // namespace
} // namespace velnora
