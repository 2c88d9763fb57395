#pragma once
// A throw-away folder with the store's trees pointed into it through the environment.

#include "registry_enhanced.h"
#include "registry_velnora.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace velnora::test {

class TempStore : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velnora-store-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        userFile = dir / "user" / "settings.db";
        machineFile = dir / "machine" / "settings.db";
        pointUserStoreAt(userFile);
        ::setenv("VELNORA_MACHINE_STORE", machineFile.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("VELNORA_USER_STORE");
        ::unsetenv("VELNORA_MACHINE_STORE");
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    static void pointUserStoreAt(const std::filesystem::path& file) {
        ::setenv("VELNORA_USER_STORE", file.c_str(), 1);
    }

    // Fills the machine-wide tree the way an installer would: the program cannot write it.
    void writeMachine(const std::string& name, const TaggedValue& value) {
        pointUserStoreAt(machineFile);
        TRegistryEnhanced installer;
        installer.Key = kMachineSettingsKey;
        installer.WriteValue(name, value);
        pointUserStoreAt(userFile);
    }

    static void writeFile(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    static std::string readFile(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path dir;
    std::filesystem::path userFile;
    std::filesystem::path machineFile;
};

} // namespace velnora::test
