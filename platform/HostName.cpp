#include "platform/HostName.h"

#include <unistd.h>

#include "platform/CodePage.h"

namespace platform {

std::u16string HostName() {
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0) return {};
    return FromAnsi(std::string(buffer));
}

}  // namespace platform
