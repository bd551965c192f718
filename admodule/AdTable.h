#pragma once
// The advertisements of the latest good answer, by id (0, 1, 2, ... in answer order).

#include "admodule/AdRecord.h"

#include <cstdint>
#include <map>
#include <string>

namespace tavi {

class AdTable {
public:
    void clear() { records_.clear(); }
    void set(std::int32_t id, AdRecord record) { records_[id] = std::move(record); }

    // The record of `id`, or an empty one for an id not present: asking leaves the table as it
    // is, so a caller that names ever new ids does not grow it.
    const AdRecord& lookup(std::int32_t id) const;

    std::size_t size() const { return records_.size(); }

    // The ids in ascending order, as decimal numbers joined by ",".
    std::string idList() const;

private:
    std::map<std::int32_t, AdRecord> records_;
};

}  // namespace tavi
