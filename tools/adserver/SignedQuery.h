#pragma once
// Reading a signed query as the ad server sees it: "...?c=" + Base64 of the query text whose
// last item is "&c=" + signature.

#include <string>
#include <string_view>

namespace adserver {

struct SignedQuery {
    std::string text;          // the decoded query text
    bool signatureOk = false;  // its signature matches the key
};

// `target` is the raw request target (path and query, not URL-decoded).
SignedQuery ReadSignedQuery(std::string_view target, std::string_view key);

}  // namespace adserver
