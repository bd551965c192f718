#pragma once
// What the module remembers between calls: the last good ad answer (in memory only) and the
// show/click reports not yet sent, which are saved to a queue file when a send fails and at
// release, and restored at the next load. The file stays until its reports have gone to the
// server or have been saved again, so a host that ends without releasing the module loses none
// of them. Copies of the module may share the folder: the first to load the file restores its
// reports and holds them until it releases; the others leave them alone and add their own after
// them.

#include "admodule/LockFile.h"
#include "admodule/ModuleConfig.h"
#include "admodule/PendingReport.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

namespace tavi {

class CacheManager {
public:
    // Bounds on the reports restored from the file; the rest are dropped with a diagnostic line.
    static constexpr std::size_t kMaxSavedReports = 500000;
    static constexpr std::size_t kMaxSavedBytes = 64u << 20;
    // During an outage, reports a send left behind are saved at once while the file is at most
    // this size; when it is larger, with the first report kKeepInterval after the last save.
    static constexpr std::int64_t kAlwaysKeptBytes = 64 << 10;
    static constexpr std::chrono::seconds kKeepInterval{5};

    // The counter of pending reports lives in `config`; the queue file lies in `queueFolder`
    // (empty: the current folder).
    CacheManager(ModuleConfig& config, std::string queueFolder);

    // The remembered ad answer, if any.
    bool GetAnswer(std::string& text) const;
    void StoreAnswer(std::string text) { answer_ = std::move(text); }

    // Appends a report and counts it; true while the count stays below the configured limit.
    bool AddPendingReport(std::string show, std::string click);
    // Empties the list and resets the counter.
    void ClearPending();
    // Takes the first `count` reports off the list once the server has had them, and off the
    // saved-report file when they came from it.
    void DropSent(std::size_t count);
    const std::deque<PendingReport>& Pending() const { return pending_; }

    // Restores the reports of the queue file left by an earlier run, unless another copy holds
    // them; the file stays.
    void LoadPendingReports();
    // Writes the pending reports to the queue file, in place of those it restored from it.
    void SavePendingReports();
    // Writes them there when some are not there yet: called when a send fails, so a host killed
    // while the server is away loses none. A copy that does not hold the file leaves the reports
    // it writes there to the next run.
    void KeepUntilSent();

    std::string PendingFilePath() const;

private:
    // Saves as above; false with the system's reason in `why` when the file cannot be written.
    bool WritePending(std::string* why);

    ModuleConfig& config_;
    std::string queueFolder_;
    std::string answer_;
    std::deque<PendingReport> pending_;
    // The first `inFile_` pending reports are the first unconsumed lines of the saved-report file.
    std::size_t inFile_ = 0;
    // Held from the load on: the file's reports are this copy's to restore and send.
    std::unique_ptr<LockFile> holder_;
    // The size of the file at the last save, and when KeepUntilSent last saved.
    std::int64_t savedFileBytes_ = 0;
    std::chrono::steady_clock::time_point lastKept_{};
};

}  // namespace tavi
