#pragma once

namespace platform::net {

// Starts the network library once, its packets timed by the monotonic clock; false when it
// cannot start.
bool StartEnet();

}  // namespace platform::net
