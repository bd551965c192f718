#include "admodule/ShowClickReporter.h"

#include "admodule/Diagnostics.h"
#include "admodule/HttpFetcher.h"
#include "admodule/StatAds.h"

#include <string_view>

namespace tavi {

ShowClickReporter::ShowClickReporter(const ConfigFields& config, CacheManager& cache, AdTable& table,
                                     const Clock& clock)
    : config_(config), cache_(cache), table_(table), clock_(clock) {}

std::int32_t ShowClickReporter::ReportAdShow(std::int32_t id) { return Report(id, true); }

std::int32_t ShowClickReporter::ReportAdClick(std::int32_t id) { return Report(id, false); }

std::int32_t ShowClickReporter::Report(std::int32_t id, bool show) {
    const std::int64_t now = clock_.secondsSince1970();
    if (show) DiagPrint("%lld\n", static_cast<long long>(now));
    const AdRecord& record = table_.lookup(id);
    std::string item = MakeReportItem(record.ai, record.sei, now);
    const bool waits = show ? cache_.AddPendingReport(std::move(item), std::string())
                            : cache_.AddPendingReport(std::string(), std::move(item));
    if (waits) return 1;
    const std::int32_t result = SendPendingReports();
    if (!cache_.Pending().empty()) cache_.KeepUntilSent();
    return result;
}

// The length of the URL for signed items of `itemBytes` bytes: the signature item adds 11 bytes,
// Base64 four characters for every three bytes begun.
std::size_t ShowClickReporter::UrlBytes(std::size_t itemBytes) const {
    return config_.adUrlPre.size() + std::string_view("/statads.do?c=").size() + (itemBytes + 11 + 2) / 3 * 4;
}

// The configured address can never be sent (another protocol, malformed, or longer than any
// request may be): kept, the reports would wait for it without end.
std::int32_t ShowClickReporter::DropUnsendable(std::size_t reports) {
    DiagPrint("dropped %zu show/click reports whose address cannot be sent\n", reports);
    cache_.DropSent(reports);
    return 0;
}

ShowClickReporter::Batch ShowClickReporter::NextBatch() const {
    const std::int64_t now = clock_.secondsSince1970();
    const std::size_t fixedBytes = BuildStatAdsItems(config_, "", "", now).size();
    Batch batch;
    std::size_t itemBytes = fixedBytes;
    for (const PendingReport& report : cache_.Pending()) {
        const std::size_t more = report.show.size() + report.click.size();
        if (UrlBytes(itemBytes + more) > HttpFetcher::kMaxUrlBytes) break;
        itemBytes += more;
        ++batch.reports;
    }
    if (batch.reports == 0) {
        batch.addressTooLong = UrlBytes(fixedBytes) > HttpFetcher::kMaxUrlBytes;
        batch.tooLong = !cache_.Pending().empty() && !batch.addressTooLong;
        return batch;
    }
    std::string showList;
    std::string clickList;
    for (std::size_t i = 0; i < batch.reports; ++i) {
        showList += cache_.Pending()[i].show;
        clickList += cache_.Pending()[i].click;
    }
    batch.url = BuildStatAdsUrl(config_, showList, clickList, now);
    return batch;
}

std::int32_t ShowClickReporter::SendPendingReports() {
    const auto deadline = std::chrono::steady_clock::now() + kSendTimeLimit;
    std::size_t requests = 0;
    while (!cache_.Pending().empty() && requests < kMaxRequestsPerSend) {
        const Batch batch = NextBatch();
        if (batch.tooLong) {
            DiagPrint("dropped a show/click report too long for any request\n");
            cache_.DropSent(1);
            continue;
        }
        if (batch.addressTooLong) return DropUnsendable(cache_.Pending().size());
        if (batch.reports == 0) return 1;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        HttpFetcher fetcher(left);
        ++requests;
        if (!fetcher.get(batch.url)) return fetcher.urlRejected() ? DropUnsendable(batch.reports) : 1;
        if (fetcher.refusedForGood()) {
            // Sent again they would be refused again, each time with every report after them.
            DiagPrint("dropped %zu show/click reports the server refused with status %ld\n", batch.reports,
                      fetcher.status());
            cache_.DropSent(batch.reports);
            return 0;
        }
        // A redirect or a failing server delivered nothing, whatever its body says.
        if (!fetcher.succeeded()) return 0;
        const std::optional<std::int32_t> status = ParseStatAdsAnswer(fetcher.body());
        if (!status) return 0;  // not the server's answer: keep the reports for the next send
        if (*status != 0 && *status != 1) return 0;
        cache_.DropSent(batch.reports);
        if (*status == 0) return 0;
    }
    return 1;
}

}  // namespace tavi
