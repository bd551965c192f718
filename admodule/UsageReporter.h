#pragma once
// Usage reports: each action is sent at once to the usage endpoint; a report that cannot be
// sent now (no answer, or an answer of status 300 or above) is kept in the queue file
// "reportinfo.lfq" and delivered after a later success. A report that can never be sent (empty,
// longer than a URL may be, malformed, naming a host that does not exist) is dropped with a
// diagnostic line instead of being kept or retried.

#include "admodule/Clock.h"
#include "admodule/ConfigFields.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

// "?param=s=" + project-num + "|v=" + control-version + "|u=" + user id + "|a=" + action +
// "|t=" + time text.
std::string BuildUsageQuery(const ConfigFields& config, std::string_view action, std::string_view timeText);

// The query with the few bytes an HTTP request line cannot carry (controls, space, DEL, and
// "#", which would end the URL) written as %XX; every other byte is sent as it is.
std::string EscapeForRequestLine(std::string_view query);

class UsageReporter {
public:
    static constexpr std::size_t kBlockLines = 10;
    static constexpr std::chrono::milliseconds kLiveTimeLimit{1000};
    // All the queued reports sent after one live report share this time.
    static constexpr std::chrono::milliseconds kQueuedTimeLimit{3000};

    UsageReporter(const ConfigFields& config, const Clock& clock, std::string queueFolder);

    // 1 when delivered now; 0 when kept in the queue file.
    std::int32_t ReportInfo(std::string_view action);

    std::string queuePath() const;

private:
    void DeliverQueued();
    // Adds a report not delivered to the queue file; says on standard output when it cannot.
    void Keep(const std::string& url) const;

    const ConfigFields& config_;
    const Clock& clock_;
    std::string queueFolder_;
};

}  // namespace tavi
