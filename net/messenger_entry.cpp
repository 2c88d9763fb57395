#include "messenger_entry.h"

#include "registry_enhanced.h"

#include <vector>

namespace velnora::net {

namespace {

// The values one external-game entry holds; the client replaces "%i" by the partner's address.
void writeEntry(TRegistryEnhanced& store, const std::string& below, const std::string& program,
                const std::string& siteUrl) {
    const std::string key = below + "\\Velnora\\";
    auto put = [&](const char* name, const std::string& value) {
        store.WriteValue(key + name, value);
    };
    put("Command Line", "/ip:%i");
    put("Path", program);
    put("Client Path", program);
    put("Client Command Line", "/ip:%i /join");
    put("Server Path", program);
    put("Server Command Line", "/ip:%i /invite");
    put("URL", siteUrl);
    put("Type", "ClientServer");
    put("Group", "Games");
}

} // namespace

void registerWithMessenger(const std::string& programPath, const std::string& siteUrl) {
    TRegistryEnhanced store;
    store.Key = kMessengerKey;
    if (!store.KeyExists("")) return;
    writeEntry(store, "DefaultPrefs\\GlobalExt", programPath, siteUrl);
    std::vector<std::string> owners;
    store.GetKeyNames("Owners", owners);
    for (const std::string& owner : owners)
        writeEntry(store, "Owners\\" + owner + "\\Prefs\\Externals", programPath, siteUrl);
}

} // namespace velnora::net
