#include "SignedQuery.h"

#include "admodule/Base64.h"
#include "admodule/QuerySigner.h"

namespace adserver {

SignedQuery ReadSignedQuery(std::string_view target, std::string_view key) {
    SignedQuery query;
    const std::size_t mark = target.find("?c=");
    if (mark == std::string_view::npos) return query;
    std::string_view encoded = target.substr(mark + 3);
    encoded = encoded.substr(0, encoded.find('&'));
    query.text = tavi::Base64Decode(encoded);
    const std::size_t sig = query.text.rfind("&c=");
    if (sig == std::string::npos) return query;
    const std::string items = query.text.substr(0, sig);
    query.signatureOk = query.text == tavi::SignedQueryText(items, key);
    return query;
}

}  // namespace adserver
