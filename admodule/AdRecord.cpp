#include "admodule/AdRecord.h"

namespace tavi {

const std::string* AdRecord::field(std::string_view name) const {
    if (name == "ar") return &ar;
    if (name == "ai") return &ai;
    if (name == "sei") return &sei;
    if (name == "ty") return &ty;
    if (name == "si") return &si;
    if (name == "pv") return &pv;
    if (name == "url") return &url;
    return nullptr;
}

std::string* AdRecord::field(std::string_view name) {
    return const_cast<std::string*>(static_cast<const AdRecord&>(*this).field(name));
}

}  // namespace tavi
