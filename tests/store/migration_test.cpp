// The one-time move of older versions' settings and files into the store.

#include "migration.h"
#include "temp_store.h"

namespace velnora {
namespace {

namespace fs = std::filesystem;
using test::TempStore;

class Migration : public TempStore {
protected:
    void SetUp() override {
        TempStore::SetUp();
        rf.Key = "Software\\Mirtlen BV\\Velnora";
        paths.iniDir = dir / "config";
        paths.programDir = dir / "data" / "velnora";
        paths.currentDir = dir / "cwd";
        for (const char* f :
             {"VEL640.DLL", "VEL800.DLL", "VEL1024.DLL", "VELNORA.INI", "readme.txt"})
            writeFile(paths.currentDir / f, f);
        for (const char* f : {"autosave.vel", "match.vel", "OLD.VEL", "notes.txt", "vel.txt"})
            writeFile(paths.programDir / f, f);
    }

    void writeIni(const std::string& body) {
        writeFile(paths.iniDir / "velnora.ini", "[Other]\nVersion=1\n[Velnora Settings]\n" + body);
    }
    int readInt(const std::string& name, int def = -1) {
        return taggedToInt(rf.ReadSetting(name, std::int32_t{def}), def);
    }
    bool exists(const fs::path& p) { return fs::exists(p); }
    bool savedGamesLeft() {
        return exists(paths.programDir / "autosave.vel") ||
               exists(paths.programDir / "match.vel") || exists(paths.programDir / "OLD.VEL");
    }
    bool oldLibrariesLeft() {
        return exists(paths.currentDir / "VEL640.DLL") || exists(paths.currentDir / "VEL800.DLL") ||
               exists(paths.currentDir / "VEL1024.DLL") || exists(paths.currentDir / "VELNORA.INI");
    }
    void expectUnrelatedFilesKept() {
        EXPECT_TRUE(exists(paths.currentDir / "readme.txt"));
        EXPECT_TRUE(exists(paths.programDir / "notes.txt"));
        EXPECT_TRUE(exists(paths.programDir / "vel.txt"));
    }

    TRegistryVelnora rf;
    MigrationPaths paths;
};

TEST_F(Migration, CurrentVersionTouchesNoFileAtAll) {
    rf.WriteValue("Settings\\Version", std::int32_t{41701});
    writeIni("Version=350\n");
    const std::string store = readFile(userFile);
    MigrateSettings(rf, paths);
    EXPECT_TRUE(savedGamesLeft());
    EXPECT_TRUE(exists(paths.currentDir / "VEL640.DLL"));
    EXPECT_EQ(readFile(userFile), store);
    EXPECT_FALSE(rf.ValueExists("Settings\\Background Color"));
}

TEST_F(Migration, IniVersion350DeletesOldFilesAndConvertsTheIni) {
    writeIni("Version=350\nMusic=Off\nSound=No\nAutoSave=yes\nNumber of Velnoras=Two\n"
             "Top card counts=Yes\nNatural pair=No\n");
    MigrateSettings(rf, paths);

    EXPECT_FALSE(oldLibrariesLeft());
    EXPECT_FALSE(savedGamesLeft());
    expectUnrelatedFilesKept();
    EXPECT_EQ(readInt("Settings\\Version"), 41701);
    EXPECT_EQ(readInt("Settings\\Background Color"), 128);
    EXPECT_EQ(readInt("Settings\\Music"), 0);
    EXPECT_EQ(readInt("Settings\\Sound"), 0);
    EXPECT_EQ(readInt("Settings\\AutoSave"), 0);         // "yes" is not "Yes"
    EXPECT_EQ(readInt("Settings\\Velnora Required"), 1); // missing: the INI default "Yes"
    EXPECT_EQ(readInt("Settings\\Top Card Counts"), 1);  // read in the rules loader's spelling
    EXPECT_EQ(readInt("Settings\\Natural Pair"), 0);
    EXPECT_EQ(readInt("Settings\\Number of Velnoras"), 2);
    EXPECT_EQ(readInt("Settings\\Number of Cards"), 1);
    EXPECT_TRUE(exists(paths.iniDir / "velnora.ini"));

    // Once done, a second start-up changes nothing.
    writeFile(paths.programDir / "new.vel", "x");
    MigrateSettings(rf, paths);
    EXPECT_TRUE(exists(paths.programDir / "new.vel"));
}

TEST_F(Migration, IniVersion300ConvertsWithoutCopyingTheIni) {
    writeIni("Version=300\nSound=No\nNumber of Cards=Two\n");
    MigrateSettings(rf, paths);
    EXPECT_EQ(readInt("Settings\\Sound"), 0);
    EXPECT_EQ(readInt("Settings\\Number of Cards"), 2);
    EXPECT_EQ(readInt("Settings\\Version"), 41701);
    // Only versions below 300 kept their INI file in the Windows folder and need the copy.
    EXPECT_FALSE(exists(paths.programDir / "velnora.ini"));
    EXPECT_FALSE(oldLibrariesLeft());
    EXPECT_FALSE(savedGamesLeft());
    expectUnrelatedFilesKept();
}

TEST_F(Migration, StoreVersionBelow41499OnlyDeletesSavedGames) {
    rf.WriteValue("Settings\\Version", std::int32_t{41400});
    writeIni("Version=350\n");
    MigrateSettings(rf, paths);
    EXPECT_FALSE(savedGamesLeft());
    EXPECT_TRUE(exists(paths.currentDir / "VEL640.DLL"));
    expectUnrelatedFilesKept();
    EXPECT_FALSE(rf.ValueExists("Settings\\Background Color"));
    EXPECT_EQ(readInt("Settings\\Version"), 41701);
}

TEST_F(Migration, StoreVersion41600KeepsSavedGamesAndOnlyRecordsTheVersion) {
    rf.WriteValue("Settings\\Version", std::int32_t{41600});
    MigrateSettings(rf, paths);
    EXPECT_TRUE(exists(paths.programDir / "autosave.vel"));
    EXPECT_TRUE(exists(paths.programDir / "OLD.VEL"));
    EXPECT_TRUE(exists(paths.currentDir / "VEL640.DLL"));
    expectUnrelatedFilesKept();
    EXPECT_EQ(readInt("Settings\\Version"), 41701);
}

TEST_F(Migration, StoreVersionBelow400DeletesButCannotConvertWithoutTheIni) {
    rf.WriteValue("Settings\\Version", std::int32_t{350});
    writeIni("Version=350\nMusic=Off\n");
    MigrateSettings(rf, paths);
    EXPECT_FALSE(oldLibrariesLeft());
    EXPECT_FALSE(savedGamesLeft());
    EXPECT_FALSE(rf.ValueExists("Settings\\Music"));
    EXPECT_EQ(readInt("Settings\\Version"), 41701);
}

TEST_F(Migration, VeryOldIniIsCopiedWholeIntoTheProgramFolderAndConverted) {
    std::string longBody = "Version=250\nMusic=On\n";
    for (int i = 0; i < 30; ++i)
        longBody += "; padding line " + std::to_string(i) + "\n";
    writeIni(longBody);
    MigrateSettings(rf, paths);
    EXPECT_EQ(readFile(paths.programDir / "velnora.ini"), readFile(paths.iniDir / "velnora.ini"));
    EXPECT_GT(readFile(paths.programDir / "velnora.ini").size(), 300u);
    EXPECT_EQ(readInt("Settings\\Music"), 1);
    EXPECT_FALSE(savedGamesLeft());
    EXPECT_EQ(readInt("Settings\\Version"), 41701);
}

TEST(IniFile, SectionsAndKeysFoldCaseValuesAreTrimmed) {
    const IniFile ini = IniFile::parse("\xEF\xBB\xBF; comment\r\n[velnora SETTINGS]\r\n"
                                       "  Music = Off \r\nVersion=0x1F4\nName=\"Ann Lee\"\n"
                                       "Bad=12x\nMusic=On\n");
    EXPECT_EQ(ini.ReadString("Velnora Settings", "music", "On"), "Off");
    EXPECT_EQ(ini.ReadString("Velnora Settings", "Name", ""), "Ann Lee");
    EXPECT_EQ(ini.ReadString("Other", "Music", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("Velnora Settings", "Version", 0), 500);
    EXPECT_EQ(ini.ReadInteger("Velnora Settings", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Velnora Settings", "Missing", 7), 7);
    EXPECT_FALSE(IniFile::load("/nonexistent/velnora.ini").has_value());
}

} // namespace
} // namespace velnora
