#pragma once
// Show and click reports on the wire: the report item, the "/statads.do" URL and the server's
// "StatAds" answer.

#include "admodule/ConfigFields.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavi {

// "ai,sei,time;" with the time in whole seconds since 1970.
std::string MakeReportItem(std::string_view ai, std::string_view sei, std::int64_t time);

// The query items before signing: sid, ver, uid, lt, sh and ch.
std::string BuildStatAdsItems(const ConfigFields& config, std::string_view showList, std::string_view clickList,
                              std::int64_t time);

// ad_url_pre + "/statads.do?c=" + the encoded query of sid, ver, uid, lt, sh, ch and signature.
std::string BuildStatAdsUrl(const ConfigFields& config, std::string_view showList, std::string_view clickList,
                            std::int64_t time);

// The status in the answer's StatAds/ec: its value when it is at most 9 digits, 0 for any
// other text. None when the body is not a StatAds document with an ec (an error page from
// somewhere on the way, a cut answer).
std::optional<std::int32_t> ParseStatAdsAnswer(std::string_view body);

}  // namespace tavi
