#include "admodule/UsageReporter.h"

#include "admodule/Diagnostics.h"
#include "admodule/HttpFetcher.h"
#include "admodule/LineQueueFile.h"

#include <utility>

namespace tavi {

std::string BuildUsageQuery(const ConfigFields& config, std::string_view action, std::string_view timeText) {
    std::string query = "?param=s=" + config.projectNum + "|v=" + config.controlVersion + "|u=" + config.userId + "|a=";
    query.append(action).append("|t=").append(timeText);
    return query;
}

std::string EscapeForRequestLine(std::string_view query) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(query.size());
    for (const char c : query) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F || byte == '#') {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 15]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

UsageReporter::UsageReporter(const ConfigFields& config, const Clock& clock, std::string queueFolder)
    : config_(config), clock_(clock), queueFolder_(std::move(queueFolder)) {}

std::string UsageReporter::queuePath() const {
    std::string path = queueFolder_;
    if (!path.empty() && path.back() != '/') path.push_back('/');
    return path + "reportinfo.lfq";
}

std::int32_t UsageReporter::ReportInfo(std::string_view action) {
    const std::string query = BuildUsageQuery(config_, action, clock_.localTimeText());
    DiagPrint("%s\n", query.c_str());
    const std::string url = config_.infoReportUrlPre + EscapeForRequestLine(query);

    bool sent = false;
    {
        HttpFetcher fetcher(1);
        sent = fetcher.get(url);
    }
    if (!sent) {
        LineQueueFile queue(queuePath());
        if (!queue.exists()) queue.create();
        queue.append(url);
        return 0;
    }
    DeliverQueued();
    return 1;
}

// Sends up to one block of queued reports in order and consumes only those delivered, so a
// failure in the middle of a block loses nothing. A line that can never be sent (a URL the
// HTTP library refuses) is consumed too, or it would hold up the queue for good.
void UsageReporter::DeliverQueued() {
    LineQueueFile queue(queuePath());
    if (!queue.exists()) return;
    std::size_t delivered = 0;
    for (const std::string& url : queue.read(kBlockLines)) {
        if (url.empty()) break;
        HttpFetcher fetcher(0);
        if (!fetcher.get(url) && !fetcher.urlRejected()) break;
        ++delivered;
    }
    if (delivered > 0) queue.consume(delivered);
    if (queue.isEmpty()) queue.remove();
}

}  // namespace tavi
