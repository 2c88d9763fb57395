#pragma once
// The game's entry in the settings of an outside instant-messaging client, so that the client
// can start a network game for two of its users: one copy as server, the other as client.

#include <string>

namespace velnora::net {

// The messaging client's key, below the same root as the program's own settings.
inline constexpr const char* kMessengerKey = "Software\\Mirabilis\\ICQ";

// When the messaging client's key exists, writes the game's values below its default
// preferences and below the preferences of every owner. Does nothing otherwise.
void registerWithMessenger(const std::string& programPath, const std::string& siteUrl);

} // namespace velnora::net
