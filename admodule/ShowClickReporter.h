#pragma once
// Show and click reports: each is added to the pending list, and once the configured number of
// reports is reached the list is sent from its front, in order, in requests whose URLs stay
// within HttpFetcher::kMaxUrlBytes. A report call sends a bounded number of requests within a
// bounded time, whatever the backlog; what it does not send waits for the next call.

#include "admodule/AdTable.h"
#include "admodule/CacheManager.h"
#include "admodule/Clock.h"
#include "admodule/ConfigFields.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tavi {

class ShowClickReporter {
public:
    static constexpr std::size_t kMaxRequestsPerSend = 8;
    static constexpr std::chrono::milliseconds kSendTimeLimit{3000};

    ShowClickReporter(const ConfigFields& config, CacheManager& cache, AdTable& table, const Clock& clock);

    std::int32_t ReportAdShow(std::int32_t id);
    std::int32_t ReportAdClick(std::int32_t id);

    // Sends pending reports from the front of the list. 1 when the server took those sent, or
    // when a transfer failed and they wait for the next try; 0 when the server refused them or
    // answered something else.
    std::int32_t SendPendingReports();

    // The reports from the front of the list that one request carries, and its URL. No reports
    // and an empty URL when nothing fits: `tooLong` then tells that the first report alone is
    // too long for any request.
    struct Batch {
        std::size_t reports = 0;
        std::string url;
        bool tooLong = false;
        bool addressTooLong = false;  // the configured address and fields alone pass the URL limit
    };
    Batch NextBatch() const;

private:
    std::int32_t Report(std::int32_t id, bool show);
    std::size_t UrlBytes(std::size_t itemBytes) const;
    // Drops the first `reports` waiting, with a diagnostic line; 0, the send's result.
    std::int32_t DropUnsendable(std::size_t reports);

    const ConfigFields& config_;
    CacheManager& cache_;
    AdTable& table_;
    const Clock& clock_;
};

}  // namespace tavi
