// Applying the partner's moves to the opponent seat.

#include "remote_driver.h"

namespace velnora::net {

ApplyResult RemoteDriver::apply(Game&, Token, std::string&, std::string& why) {
    why = "not applied yet";
    return ApplyResult::outOfStep;
}

} // namespace velnora::net
