#pragma once
// Show and click reports: each is added to the pending list, and the whole list is sent in one
// request once the configured number of reports is reached.

#include "admodule/AdTable.h"
#include "admodule/CacheManager.h"
#include "admodule/Clock.h"
#include "admodule/ConfigFields.h"

#include <cstdint>

namespace tavi {

class ShowClickReporter {
public:
    ShowClickReporter(const ConfigFields& config, CacheManager& cache, AdTable& table, const Clock& clock);

    std::int32_t ReportAdShow(std::int32_t id);
    std::int32_t ReportAdClick(std::int32_t id);

    // Sends every pending report. 1 when the server took them, or when the transfer failed and
    // they wait for the next try; 0 when the server refused them or answered something else.
    std::int32_t SendPendingReports();

private:
    std::int32_t Report(std::int32_t id, bool show);

    const ConfigFields& config_;
    CacheManager& cache_;
    AdTable& table_;
    const Clock& clock_;
};

}  // namespace tavi
