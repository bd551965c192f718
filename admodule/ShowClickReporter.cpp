#include "admodule/ShowClickReporter.h"

#include "admodule/Diagnostics.h"
#include "admodule/HttpFetcher.h"
#include "admodule/StatAds.h"

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
    return SendPendingReports();
}

std::int32_t ShowClickReporter::SendPendingReports() {
    std::string showList;
    std::string clickList;
    for (const PendingReport& report : cache_.pending()) {
        showList += report.show;
        clickList += report.click;
    }
    const std::string url = BuildStatAdsUrl(config_, showList, clickList, clock_.secondsSince1970());
    HttpFetcher fetcher(0);
    if (!fetcher.get(url)) return 1;
    const std::optional<std::int32_t> status = ParseStatAdsAnswer(fetcher.body());
    if (!status) return 0;  // not the server's answer: keep the reports for the next send
    if (*status == 1) {
        cache_.ClearPending();
        return 1;
    }
    if (*status == 0) cache_.ClearPending();
    return 0;
}

}  // namespace tavi
