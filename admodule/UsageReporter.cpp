#include "admodule/UsageReporter.h"

#include "admodule/Diagnostics.h"
#include "admodule/HttpFetcher.h"
#include "admodule/LineQueueFile.h"
#include "admodule/LockFile.h"
#include "platform/FolderLock.h"

#include <algorithm>
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

namespace {

void ReportDropped(const char* reason, std::string_view url) {
    DiagPrint("dropped a usage report that can never be sent (%s): %.*s\n", reason,
              static_cast<int>(std::min<std::size_t>(url.size(), 80)), url.data());
}

// Why a report could never be sent as it is, or null.
const char* NeverSendable(std::string_view url) {
    if (url.empty()) return "empty";
    if (url.size() > HttpFetcher::kMaxUrlBytes) return "too long";
    return nullptr;
}

// Whether the server took the report: an answer of status 300 or above is no delivery.
bool Delivered(HttpFetcher& fetcher, const std::string& url) { return fetcher.get(url) && fetcher.succeeded(); }

// Why a report that was not delivered never will be as it is; empty when it may be later.
std::string Refusal(const HttpFetcher& fetcher) {
    if (fetcher.urlRejected()) return "malformed";
    if (fetcher.hostUnknown()) return "unknown host";
    if (fetcher.refusedForGood()) return "refused with status " + std::to_string(fetcher.status());
    return {};
}

}  // namespace

std::int32_t UsageReporter::ReportInfo(std::string_view action) {
    const std::string query = BuildUsageQuery(config_, action, clock_.localTimeText());
    DiagPrint("%s\n", query.c_str());
    const std::string url = config_.infoReportUrlPre + EscapeForRequestLine(query);
    if (const char* reason = NeverSendable(url)) {
        ReportDropped(reason, url);
        return 0;
    }

    HttpFetcher fetcher(kLiveTimeLimit);
    if (!Delivered(fetcher, url)) {
        // Not taken now (no answer, a failing server, a name that does not resolve yet): kept.
        // Refused as malformed or by the server's answer to the request itself: dropped.
        if (fetcher.urlRejected() || fetcher.refusedForGood()) {
            ReportDropped(Refusal(fetcher).c_str(), url);
            return 0;
        }
        Keep(url);
        return 0;
    }
    DeliverQueued();
    return 1;
}

void UsageReporter::Keep(const std::string& url) const {
    const platform::FolderLock lock(queueFolder_);
    LineQueueFile queue(queuePath());
    if ((queue.exists() || queue.create()) && queue.append(url)) return;
    if (queue.wasFull()) {
        DiagPrint("dropped a usage report: %d bytes of reports already wait in %s\n", LineQueueFile::kMaxQueueBytes,
                  queuePath().c_str());
    } else {
        DiagPrint("dropped a usage report that cannot be kept in %s: %s\n", queuePath().c_str(),
                  queue.error().empty() ? "the file cannot be read" : queue.error().c_str());
    }
}

// Sends up to one block of queued reports in order and consumes only those delivered or dropped,
// so a failure in the middle of a block loses nothing and a report that can never be sent does
// not hold up the queue. The live report just went through, so a queued one whose host does not
// resolve names a host that does not exist. One copy of the module delivers at a time: another
// that shares the folder and is delivering now is left to it.
void UsageReporter::DeliverQueued() {
    LineQueueFile queue(queuePath());
    if (!queue.exists()) return;
    const LockFile delivering(queuePath() + ".lock");
    if (!delivering.Ours()) return;
    const auto deadline = std::chrono::steady_clock::now() + kQueuedTimeLimit;
    std::size_t done = 0;
    for (const std::string& url : queue.readLines(kBlockLines)) {
        if (const char* reason = NeverSendable(url)) {
            ReportDropped(reason, url);
            ++done;
            continue;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        HttpFetcher fetcher(left);
        if (!Delivered(fetcher, url)) {
            const std::string reason = Refusal(fetcher);
            if (reason.empty()) break;
            ReportDropped(reason.c_str(), url);
        }
        ++done;
    }
    const platform::FolderLock lock(queueFolder_);
    queue.consumeThenRemoveIfEmpty(done);
}

}  // namespace tavi
