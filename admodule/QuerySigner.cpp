#include "admodule/QuerySigner.h"

#include "admodule/Base64.h"
#include "admodule/Checksums.h"
#include "admodule/CodePage.h"

namespace tavi {

std::string SignQuery(std::string_view textWithKey) { return Crc32Hex(AnsiToUtf8(textWithKey)); }

std::string SignedQueryText(std::string_view items, std::string_view signingKey) {
    std::string withKey(items);
    withKey.append("&c=").append(signingKey);
    std::string signedText(items);
    signedText.append("&c=").append(SignQuery(withKey));
    return signedText;
}

std::string EncodeQuery(std::string_view items, std::string_view signingKey) {
    return Base64Encode(SignedQueryText(items, signingKey));
}

}  // namespace tavi
