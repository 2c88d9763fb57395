// The store component over its trees: typed values, names without case, keys and subtrees,
// damaged and unreachable files, two copies writing at once.

#include "data_module.h"
#include "temp_store.h"

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace velnora {
namespace {

using test::TempStore;

class Registry : public TempStore {
protected:
    void SetUp() override {
        TempStore::SetUp();
        reg.Key = kUserSettingsKey;
    }

    int readInt(const std::string& name, int def = -999) {
        return taggedToInt(reg.ReadValue(name, std::int32_t{def}), def);
    }
    std::string readString(const std::string& name, const std::string& def = "<default>") {
        return taggedToString(reg.ReadValue(name, def), def);
    }

    // Runs one SQL statement on a tree file directly; returns the first column of the first row.
    static std::string sql(const std::filesystem::path& file, const std::string& statement) {
        sqlite3* db = nullptr;
        std::string result;
        if (sqlite3_open(file.c_str(), &db) == SQLITE_OK) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(db, statement.c_str(), -1, &st, nullptr) == SQLITE_OK &&
                sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
                result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            sqlite3_finalize(st);
        }
        sqlite3_close(db);
        return result;
    }

    TRegistryEnhanced reg;
};

TEST_F(Registry, IntegerTagsComeBackAsIntegersAndBooleansAsZeroOrOne) {
    reg.WriteValue("Settings\\Delay", std::int32_t{300});
    reg.WriteValue("Settings\\Sound", true);
    reg.WriteValue("Settings\\Music", false);
    reg.WriteValue("Tags\\Small", SmallInt{-5});
    reg.WriteValue("Tags\\Byte", Byte{200});
    reg.WriteValue("Tags\\LongWord", LongWord{0xFFFFFFFFu});

    const TaggedValue sound = reg.ReadValue("Settings\\Sound", false);
    ASSERT_TRUE(std::holds_alternative<std::int32_t>(sound));
    EXPECT_EQ(std::get<std::int32_t>(sound), 1);
    EXPECT_EQ(readInt("Settings\\Music"), 0);
    EXPECT_EQ(readInt("Settings\\Delay"), 300);
    EXPECT_EQ(readInt("Tags\\Small"), -5);
    EXPECT_EQ(readInt("Tags\\Byte"), 200);
    // A 32-bit integer keeps the long word's bits.
    EXPECT_EQ(readInt("Tags\\LongWord"), -1);
}

TEST_F(Registry, EightByteTagsReadBackAsTheirByteCountWithTheBytesInTheBuffer) {
    reg.WriteValue("Tags\\Double", 1.5);
    reg.WriteValue("Tags\\Money", Currency{123456});

    EXPECT_EQ(readInt("Tags\\Money"), 8);
    std::int64_t money = 0;
    ASSERT_EQ(reg.BinaryBuffer().size(), 8u);
    std::memcpy(&money, reg.BinaryBuffer().data(), 8);
    EXPECT_EQ(money, 123456);

    EXPECT_EQ(readInt("Tags\\Double"), 8);
    double d = 0;
    std::memcpy(&d, reg.BinaryBuffer().data(), 8);
    EXPECT_EQ(d, 1.5);
}

TEST_F(Registry, NamesFoldCaseAndALaterWriteReplacesAnyType) {
    reg.WriteValue("Settings\\Level", std::string("Expert"));
    EXPECT_EQ(readString("SETTINGS\\level"), "Expert");
    EXPECT_EQ(readString("settings\\LEVEL"), "Expert");

    reg.WriteValue("settings\\\\LEVEL", std::int32_t{2});
    EXPECT_EQ(readInt("Settings\\Level"), 2);
    // The string is gone, not kept beside the integer.
    EXPECT_EQ(readString("Settings\\Level"), "<default>");

    std::vector<std::string> keys;
    reg.GetKeyNames("", keys);
    EXPECT_EQ(keys, std::vector<std::string>{"Settings"});
    EXPECT_EQ(sql(userFile, "SELECT count(*) FROM vals"), "1");
}

TEST_F(Registry, WritesNeedAKeyAndWriteAccessAndMissingValuesCreateNothing) {
    EXPECT_EQ(readInt("Settings\\Delay", 300), 300);
    EXPECT_FALSE(reg.KeyExists("Settings"));
    reg.Key.clear();
    reg.WriteValue("Settings\\Delay", std::int32_t{1});
    EXPECT_FALSE(reg.DeleteKey("Settings"));
    EXPECT_FALSE(std::filesystem::exists(userFile));

    reg.Key = kUserSettingsKey;
    reg.Access = kRead;
    reg.WriteValue("Settings\\Delay", std::int32_t{1});
    EXPECT_FALSE(reg.ValueExists("Settings\\Delay"));

    reg.Access = kWrite;
    reg.WriteValue("Settings\\Delay", std::int32_t{2});
    EXPECT_EQ(readInt("Settings\\Delay", 7), 7); // write-only access cannot read
    reg.Access = kAllAccess;
    EXPECT_EQ(readInt("Settings\\Delay"), 2);
}

TEST_F(Registry, KeysExistWithoutValuesAndListTheirSubkeysInNameOrder) {
    reg.WriteValue("Beginner\\Score1", std::int32_t{10});
    reg.WriteValue("advanced\\Score1", std::int32_t{20});
    reg.WriteValue("Expert\\Deep\\Name1", std::string("Ann"));
    reg.WriteValue("Version", std::int32_t{1});

    EXPECT_TRUE(reg.KeyExists("Expert"));
    EXPECT_TRUE(reg.KeyExists("expert\\deep\\"));
    EXPECT_FALSE(reg.KeyExists("Expert\\Name1"));

    std::vector<std::string> names{"stale"};
    reg.GetKeyNames("", names);
    EXPECT_EQ(names, (std::vector<std::string>{"advanced", "Beginner", "Expert"}));
    reg.GetKeyNames("Beginner", names);
    EXPECT_TRUE(names.empty());
    names = {"kept"};
    reg.GetKeyNames("NoSuchKey", names);
    EXPECT_EQ(names, std::vector<std::string>{"kept"});
}

TEST_F(Registry, DeleteKeyRemovesTheWholeSubtreeAndNothingElse) {
    reg.WriteValue("Player Names\\PlayerName1", std::string("Ann,1,2"));
    reg.WriteValue("Player Names\\PlayerName2", std::string("Bob,0,0"));
    reg.WriteValue("Player Names\\Old\\Deeper\\X", std::int32_t{1});
    reg.WriteValue("Settings\\Level", std::string("Expert"));

    EXPECT_TRUE(reg.DeleteKey("player names"));
    EXPECT_FALSE(reg.KeyExists("Player Names"));
    EXPECT_FALSE(reg.ValueExists("Player Names\\PlayerName1"));
    EXPECT_EQ(readString("Settings\\Level"), "Expert");
    // Nothing orphaned below the deleted key is left in the file.
    EXPECT_EQ(sql(userFile, "SELECT count(*) FROM vals"), "1");
    EXPECT_EQ(sql(userFile, "SELECT count(*) FROM keys WHERE name IN ('Old', 'Deeper')"), "0");

    EXPECT_FALSE(reg.DeleteKey("Player Names"));
    EXPECT_FALSE(reg.DeleteKey(""));
    reg.Key = "Software\\Nobody";
    EXPECT_FALSE(reg.DeleteKey("Settings"));
    EXPECT_FALSE(reg.KeyExists(""));
}

TEST_F(Registry, UnmappableTagFollowsBinaryType) {
    OtherValue other;
    for (std::size_t i = 0; i < other.raw.size(); ++i)
        other.raw[i] = static_cast<std::uint8_t>(i + 1);
    other.text = "%HOME%\\cards";

    reg.WriteValue("Tags\\None", other);
    EXPECT_FALSE(reg.ValueExists("Tags\\None"));

    reg.RaiseExceptions = true;
    auto message = [&] {
        try {
            reg.WriteValue("Tags\\None", other);
        } catch (const ERegistryEnhanced& e) {
            return std::string(e.what());
        }
        return std::string("no exception");
    };
    EXPECT_EQ(message(), "Unknown data type.");
    reg.LangType = ltFrench;
    EXPECT_EQ(message(), "Type de donn\xC3\xA9"
                         "e inconnu.");
    EXPECT_FALSE(reg.ValueExists("Tags\\None"));

    reg.BinaryType = btExpandString;
    reg.WriteValue("Tags\\Expand", other);
    EXPECT_EQ(readString("Tags\\Expand"), "%HOME%\\cards");

    reg.BinaryType = btBinary32BitMax;
    reg.WriteValue("Tags\\Max", other);
    EXPECT_EQ(readInt("Tags\\Max"), 4);
    EXPECT_EQ(reg.BinaryBuffer(), (std::vector<std::uint8_t>{1, 2, 3, 4}));

    reg.BinaryType = btBinary32BitMin;
    reg.WriteValue("Tags\\Min", other);
    EXPECT_EQ(readInt("Tags\\Min"), 16);
    EXPECT_EQ(reg.BinaryBuffer(), std::vector<std::uint8_t>(other.raw.begin(), other.raw.end()));
}

TEST_F(Registry, EncryptedStringsAreStoredAsCipherTextAndReadBackPlain) {
    reg.BinaryType = btEncryptString;
    reg.WriteValue("Network\\Secret", std::string("Expert"));
    EXPECT_EQ(readString("Network\\Secret"), "Expert");

    reg.BinaryType = btNone;
    EXPECT_EQ(readString("Network\\Secret"), TRegistryEnhanced::EncryptString("Expert"));
    reg.WriteValue("Network\\Plain", std::string("not hex"));
    reg.BinaryType = btEncryptString;
    EXPECT_EQ(readString("Network\\Plain"), "<default>");
}

TEST_F(Registry, OtherRootsAreTreesOfTheirOwnAndTheMachineTreeIsNeverWritten) {
    reg.RootKey = hkUsers;
    reg.WriteValue("Settings\\Level", std::string("Users"));
    EXPECT_EQ(readString("Settings\\Level"), "Users");
    EXPECT_TRUE(std::filesystem::exists(userFile.parent_path() / "settings-users.db"));
    reg.RootKey = hkCurrentUser;
    EXPECT_FALSE(reg.ValueExists("Settings\\Level"));

    writeMachine("Settings\\Level", std::string("Machine"));
    const std::string before = readFile(machineFile);
    reg.RootKey = hkLocalMachine;
    reg.Key = kMachineSettingsKey;
    reg.WriteValue("Settings\\Level", std::string("Overwritten"));
    reg.WriteValue("Settings\\New", std::int32_t{1});
    EXPECT_FALSE(reg.DeleteKey("Settings"));
    EXPECT_EQ(readString("Settings\\Level"), "Machine");
    EXPECT_EQ(readFile(machineFile), before);
}

TEST_F(Registry, FileThatIsNotADatabaseIsMovedAsideAndAFreshTreeStarted) {
    const std::string junk(4096, 'x');
    writeFile(userFile, junk);
    EXPECT_EQ(readInt("Settings\\Delay", 300), 300);

    writeFile(userFile, junk + "again");
    reg.WriteValue("Settings\\Delay", std::int32_t{500});
    EXPECT_EQ(readInt("Settings\\Delay"), 500);
    // Neither bad file is lost, and the second did not overwrite the first.
    EXPECT_EQ(readFile(userFile.string() + ".corrupt"), junk);
    EXPECT_EQ(readFile(userFile.string() + ".corrupt2"), junk + "again");
}

TEST_F(Registry, UnwritableLocationGivesDefaultsAndIgnoresWrites) {
    // A regular file where the folder should be: not even root can create the tree there.
    writeFile(dir / "blocker", "file");
    pointUserStoreAt(dir / "blocker" / "settings.db");
    reg.WriteValue("Settings\\Delay", std::int32_t{500});
    EXPECT_EQ(readInt("Settings\\Delay", 300), 300);
    EXPECT_FALSE(reg.ValueExists("Settings\\Delay"));
    EXPECT_FALSE(reg.DeleteKey("Settings"));
    std::vector<std::string> names{"kept"};
    reg.GetKeyNames("", names);
    EXPECT_EQ(names, std::vector<std::string>{"kept"});
    EXPECT_EQ(readFile(dir / "blocker"), "file");
}

TEST_F(Registry, WriteCutShortByACrashIsRolledBackOnTheNextRead) {
    reg.WriteValue("Settings\\Level", std::string("Expert"));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Enough changed pages to spill into the file before the commit, then die.
        sqlite3* db = nullptr;
        sqlite3_open(userFile.c_str(), &db);
        sqlite3_exec(db,
                     "PRAGMA cache_size = 10; BEGIN; UPDATE vals SET data = 'Crashed';"
                     "CREATE TABLE filler(x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                     "SELECT i + 1 FROM n WHERE i < 2000) INSERT INTO filler SELECT "
                     "randomblob(1000) FROM n;",
                     nullptr, nullptr, nullptr);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(std::filesystem::exists(userFile.string() + "-journal"));
    EXPECT_EQ(readString("Settings\\Level"), "Expert");
}

TEST_F(Registry, TwoProcessesWritingAtOnceLoseNothingAndLastWriteWins) {
    constexpr int kWrites = 150;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            TRegistryEnhanced writer;
            writer.Key = kUserSettingsKey;
            const std::string own = c == 0 ? "First\\Value" : "Second\\Value";
            for (int i = 0; i < kWrites; ++i) {
                writer.WriteValue(own + std::to_string(i), std::int32_t{i});
                writer.WriteValue("Shared\\Last", std::int32_t{c * 1000 + i});
            }
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(readInt("First\\Value" + std::to_string(i)), i);
        EXPECT_EQ(readInt("Second\\Value" + std::to_string(i)), i);
    }
    const int last = readInt("Shared\\Last");
    EXPECT_TRUE(last == kWrites - 1 || last == 1000 + kWrites - 1) << last;
    EXPECT_EQ(sql(userFile, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(sql(userFile, "PRAGMA journal_mode"), "delete");
    EXPECT_FALSE(std::filesystem::exists(userFile.string() + ".corrupt"));
}

} // namespace
} // namespace velnora
