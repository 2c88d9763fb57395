// Measures what reading settings costs: the median time of one ReadSetting and of reading the
// whole list of names the program reads at start-up, on a store that holds typical values.
// Usage: settings-timing [rounds]   (a temporary store is used unless VELNORA_USER_STORE is set)

#include "data_module.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace velnora;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::string> startUpNames() {
    std::vector<std::string> names = {"Settings\\Version", "Settings\\Background Color",
                                      "Settings\\Mouse options",
                                      "Settings\\Select Player on startup"};
    for (int n = 1; n <= 4; ++n)
        names.push_back("Player Names\\PlayerName" + std::to_string(n));
    for (const char* rule :
         {"Velnora required", "Number of Velnoras", "Number of Cards", "Add to Velnora",
          "Top Card Counts", "Initial Block", "Natural Pair", "Add Existing Meld", "Draw Extra",
          "Three Block", "Bonus Counts", "Initial Block for Both", "Wildcard Velnora"})
        names.push_back(std::string("Settings\\") + rule);
    for (const char* n :
         {"Settings\\Sound", "Settings\\Delay", "Settings\\AutoSave", "Music\\File", "Music\\Dir",
          "Settings\\Music Type", "Settings\\Music", "Settings\\Show Statusbar", "Settings\\Level",
          "Settings\\Aggression", "Settings\\Card Movement", "Settings\\Card Speed",
          "Cardback\\Color0", "Cardback\\Color1"})
        names.push_back(n);
    for (const char* d : {"0", "1"})
        for (const char* n : {"Cardback\\Pattern", "Cardback\\Filename", "Cardback\\Type"})
            names.push_back(std::string(n) + d);
    names.push_back("Settings\\Show Highscores");
    names.push_back("Settings\\Show Turns");
    for (const char* event :
         {"Deal", "Exit", "Help (1st)", "Help (2nd)", "Help (3rd)", "Highscore", "Lose Hand",
          "Lose Match", "Mixed Velnora", "Natural Velnora", "Start", "Take Huge Pile", "Win Match",
          "Win Hand", "End Turn (network games)"})
        for (int n = 1; n <= 3; ++n)
            names.push_back(std::string("Sound\\") + event + std::to_string(n));
    for (const char* level : {"Beginner", "Advanced", "Expert", "NetworkGame"})
        for (int n = 1; n <= 10; ++n) {
            const std::string i = std::to_string(n);
            for (const char* part :
                 {"\\Score", "\\Name", "\\Date", "Match\\Score", "Match\\Name", "Match\\Date"})
                names.push_back(level + std::string(part) + i);
        }
    names.push_back("Settings\\Resolution");
    names.push_back("Network\\Chat on Top");
    names.push_back("Settings\\CurrentHand");
    return names;
}

double medianMicroseconds(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::filesystem::path temp;
    if (!std::getenv("VELNORA_USER_STORE")) {
        temp = std::filesystem::temp_directory_path() /
               ("velnora-timing-" + std::to_string(::getpid()) + ".db");
        ::setenv("VELNORA_USER_STORE", temp.c_str(), 1);
        ::setenv("VELNORA_MACHINE_STORE", (temp.string() + ".machine").c_str(), 1);
    }
    TdmMain dm;
    TRegistryVelnora& rf = dm.rfMain;
    const std::vector<std::string> names = startUpNames();
    // A store in use holds most of these; write every other one so reads meet both cases.
    for (std::size_t i = 0; i < names.size(); i += 2)
        rf.WriteValue(names[i], std::int32_t(i));

    std::vector<double> single, whole;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = Clock::now();
        rf.ReadSetting("Settings\\Level", std::string("Beginner"));
        auto t1 = Clock::now();
        for (const std::string& n : names)
            rf.ReadSetting(n, std::int32_t{0});
        auto t2 = Clock::now();
        single.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        whole.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
    }
    std::printf("one ReadSetting: median %.0f us over %d rounds\n", medianMicroseconds(single),
                rounds);
    std::printf("start-up list (%zu names): median %.1f ms over %d rounds\n", names.size(),
                medianMicroseconds(whole) / 1000.0, rounds);
    if (!temp.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp, ec);
    }
    return 0;
}
