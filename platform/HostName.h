#pragma once
#include <string>

namespace platform {

// The computer's network host name (read into a 256-byte buffer), as text; empty when the
// system gives none.
std::u16string HostName();

}  // namespace platform
