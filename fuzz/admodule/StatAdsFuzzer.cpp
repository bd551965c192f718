// The ad server's StatAds answer to a show/click report.

#include "admodule/StatAds.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::optional<std::int32_t> status =
        tavi::ParseStatAdsAnswer(std::string_view(reinterpret_cast<const char*>(data), size));
    if (status && (*status < 0 || *status > 999999999)) std::abort();
    return 0;
}
