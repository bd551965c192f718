#pragma once
// The documents the test ad server sends.

#include "ServerSettings.h"

#include <string>
#include <string_view>

namespace adserver {

// A GetAds document with `settings.ads` ads. Ad i has ai "ai<i>", sei "sei<i>", a Chinese ar
// text "广告<i>", and the other fields "<name><i>"; the second ad lacks `settings.missing`.
std::string GetAdsAnswer(const ServerSettings& settings);
std::string GetAdsRefusal(std::string_view ec);
std::string StatAdsAnswer(std::string_view ec);
std::string UsageAnswer();

// No XML at all: a fixed pseudo-random byte soup.
std::string GarbageBody();
std::string HtmlErrorPage();
// `document` followed by a comment that makes it longer than 2 MiB.
std::string Oversized(std::string document);

}  // namespace adserver
