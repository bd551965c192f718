#pragma once
// What the module remembers between calls: the last good ad answer (in memory only) and the
// show/click reports not yet sent, which are saved to a queue file at release and restored at
// the next load.

#include "admodule/ModuleConfig.h"
#include "admodule/PendingReport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class CacheManager {
public:
    // The counter of pending reports lives in `config`; the queue file lies in `queueFolder`
    // (empty: the current folder).
    CacheManager(ModuleConfig& config, std::string queueFolder);

    // The remembered ad answer, if any.
    bool getAnswer(std::string& text) const;
    void storeAnswer(std::string text) { answer_ = std::move(text); }

    // Appends a report and counts it; true while the count stays below the configured limit.
    bool AddPendingReport(std::string show, std::string click);
    // Empties the list and resets the counter.
    void ClearPending();
    const std::vector<PendingReport>& pending() const { return pending_; }

    // Restores the reports of the queue file left by an earlier run, then deletes the file.
    void LoadPendingReports();
    // Writes the pending reports to the queue file.
    void SavePendingReports() const;

    std::string pendingFilePath() const;

private:
    ModuleConfig& config_;
    std::string queueFolder_;
    std::string answer_;
    std::vector<PendingReport> pending_;
};

}  // namespace tavi
