#pragma once
// The ad server's "GetAds" answer: its check and its conversion into the ad table.

#include "admodule/AdTable.h"

#include <string_view>

namespace tavi {

// 1 for a complete answer with status 1; otherwise its status 0, -1 or -2, or 0 for anything
// else (not XML, no GetAds, ec or ad, another status, an ad missing a field). A missing field
// prints "no <name> attribute in ad".
int ValidateGetAdsAnswer(std::string_view text);

// Replaces the table with the ads of the answer, their texts converted to the ANSI code page.
void FillAdTable(std::string_view text, AdTable& table);

}  // namespace tavi
