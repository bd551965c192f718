#include "admodule/SigningKey.h"

#include "admodule/Base64.h"

namespace tavi {

std::string DeriveSigningKey(std::string_view crcKey) {
    std::string key = Base64Decode(crcKey);
    for (std::size_t i = key.size(); i > 1; --i) {
        if (key[i - 1] == '#') {
            key.resize(i - 1);
            break;
        }
    }
    return key;
}

}  // namespace tavi
