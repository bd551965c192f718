#include "admodule/AdTable.h"

namespace tavi {

const AdRecord& AdTable::lookup(std::int32_t id) const {
    static const AdRecord kNone;
    const auto found = records_.find(id);
    return found == records_.end() ? kNone : found->second;
}

std::string AdTable::idList() const {
    std::string ids;
    for (const auto& [id, record] : records_) {
        if (!ids.empty()) ids.push_back(',');
        ids.append(std::to_string(id));
    }
    return ids;
}

}  // namespace tavi
