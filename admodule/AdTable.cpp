#include "admodule/AdTable.h"

namespace tavi {

std::string AdTable::idList() const {
    std::string ids;
    for (const auto& [id, record] : records_) {
        if (!ids.empty()) ids.push_back(',');
        ids.append(std::to_string(id));
    }
    return ids;
}

}  // namespace tavi
