#include "game_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace velnora;
namespace fs = std::filesystem;

namespace {
struct TempDir {
    fs::path path;
    TempDir() {
        path = fs::temp_directory_path() /
               ("velnora-files-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, ec);
        fs::remove_all(path, ec);
    }
    static inline int counter = 0;
};
std::string slurp(const fs::path& p) {
    std::string s;
    readWholeFile(p, 1 << 20, s);
    return s;
}
} // namespace

TEST(GameFiles, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
    TempDir dir;
    fs::path target = dir.path / "autosave.vel";
    ASSERT_TRUE(writeFileAtomically(target, "first"));
    ASSERT_TRUE(writeFileAtomically(target, "second"));
    EXPECT_EQ(slurp(target), "second");
    int files = 0;
    for (auto& e : fs::directory_iterator(dir.path)) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(GameFiles, FailedRenameIsReportedAndLeavesNoTemporary) {
    // A non-empty folder in the target's place makes the final rename fail even for root.
    TempDir dir;
    fs::path target = dir.path / "blocked.vel";
    fs::create_directories(target / "inside");
    EXPECT_FALSE(writeFileAtomically(target, "new"));
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    int files = 0;
    for (auto& e : fs::directory_iterator(dir.path)) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(GameFiles, WriteIntoAMissingFolderFails) {
    TempDir dir;
    EXPECT_FALSE(writeFileAtomically(dir.path / "no" / "such" / "x.vel", "x"));
}

TEST(GameFiles, ReadRefusesFilesLargerThanTheLimit) {
    TempDir dir;
    fs::path p = dir.path / "big.vel";
    std::ofstream(p) << std::string(100, 'x');
    std::string out;
    EXPECT_EQ(readWholeFile(p, 99, out), ReadStatus::tooLarge);
    EXPECT_EQ(readWholeFile(p, 100, out), ReadStatus::ok);
    EXPECT_EQ(out.size(), 100u);
    EXPECT_EQ(readWholeFile(dir.path / "none.vel", 100, out), ReadStatus::missing);
    EXPECT_EQ(readWholeFile(dir.path, 100, out), ReadStatus::missing);
}

TEST(GameFiles, DataFolderFollowsXdgDataHome) {
    TempDir dir;
    const char* old = std::getenv("XDG_DATA_HOME");
    std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", dir.path.c_str(), 1);
    EXPECT_EQ(dataFolder(), dir.path / "velnora");
    EXPECT_TRUE(fs::is_directory(dir.path / "velnora"));
    EXPECT_EQ(autosavePath(), dir.path / "velnora" / "autosave.vel");
    if (old)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}
