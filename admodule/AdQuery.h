#pragma once
// The ad query URL of the ad server's "/getads.do" endpoint.

#include "admodule/ConfigFields.h"

#include <cstdint>
#include <string>

namespace tavi {

// Areas asked for at most: a bigger wanted count is asked as this many.
inline constexpr std::int32_t kMaxWantedAds = 1000;

// One "1" per wanted advertisement joined by ","; a count of 1 or less gives "1".
std::string BuildAreaList(std::int32_t wanted);

// ad_url_pre + "/getads.do?c=" + the encoded query of sid, ver, uid, area and signature.
std::string BuildGetAdsUrl(const ConfigFields& config, const std::string& areaList);

}  // namespace tavi
