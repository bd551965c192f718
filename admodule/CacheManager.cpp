#include "admodule/CacheManager.h"

#include "admodule/Diagnostics.h"
#include "admodule/LineQueueFile.h"
#include "platform/FolderLock.h"

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

namespace tavi {
namespace {

constexpr std::int32_t kMaxCounter = 999999999;  // the largest counter "config.xml" can hold

// A report text as one queue line: a line end in it (texts echo what the server sent) would
// split the report and end the reading of the file early, so it is written as a space.
std::string OnOneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n') c = ' ';
    }
    return text;
}

std::string AfterMarker(const std::string& line, std::string_view marker) {
    const std::size_t at = line.find(marker);
    return at == std::string::npos ? std::string() : line.substr(at + marker.size());
}

// A saved line is one report of the kind its first marker names, and the rest of the line is its
// text: a marker inside a server's text (or a code-page character ending in "|") is part of it.
PendingReport ReportOfLine(const std::string& line) {
    if (line.starts_with("|sh:")) return PendingReport{line.substr(4), std::string()};
    if (line.starts_with("|ch:")) return PendingReport{std::string(), line.substr(4)};
    return PendingReport{AfterMarker(line, "|sh:"), AfterMarker(line, "|ch:")};
}

}  // namespace

CacheManager::CacheManager(ModuleConfig& config, std::string queueFolder)
    : config_(config), queueFolder_(std::move(queueFolder)) {}

bool CacheManager::GetAnswer(std::string& text) const {
    if (answer_.empty()) return false;
    text = answer_;
    return true;
}

bool CacheManager::AddPendingReport(std::string show, std::string click) {
    pending_.push_back(PendingReport{std::move(show), std::move(click)});
    std::int32_t count = config_.fields().currentReportInfoToCacheCnt;
    if (count < kMaxCounter) ++count;
    config_.setPendingCount(count);
    return count < config_.fields().limitReportInfoToCacheCnt;
}

void CacheManager::ClearPending() { DropSent(pending_.size()); }

void CacheManager::DropSent(std::size_t count) {
    count = std::min(count, pending_.size());
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
    const std::int32_t counted = config_.fields().currentReportInfoToCacheCnt;
    const bool allCounted = static_cast<std::size_t>(std::max(counted, 0)) <= count || pending_.empty();
    config_.setPendingCount(allCounted ? 0 : counted - static_cast<std::int32_t>(count));
    const std::size_t fromFile = std::min(count, inFile_);
    if (fromFile == 0) return;
    inFile_ -= fromFile;
    const platform::FolderLock lock(queueFolder_);
    LineQueueFile(PendingFilePath()).consumeThenRemoveIfEmpty(fromFile);
}

std::string CacheManager::PendingFilePath() const {
    std::string path = queueFolder_;
    if (!path.empty() && path.back() != '/') path.push_back('/');
    return path + "shchcache" + ".lfq";
}

// Every line of the file is one report, so the reports restored match its lines one for one and
// can be consumed from it as they are sent.
void CacheManager::LoadPendingReports() {
    holder_ = std::make_unique<LockFile>(PendingFilePath() + ".lock");
    if (!holder_->Ours()) {
        DiagPrint(
            "the saved show/click reports of %s stay in it: another copy of the module holds them, or this "
            "one may not write its folder\n",
            PendingFilePath().c_str());
        return;
    }
    const platform::FolderLock lock(queueFolder_);
    LineQueueFile file(PendingFilePath());
    if (!file.exists()) return;
    std::size_t dropped = 0;
    const std::vector<std::string> lines = file.readLines(kMaxSavedReports, kMaxSavedBytes, &dropped);
    for (const std::string& line : lines) pending_.push_back(ReportOfLine(line));
    inFile_ = pending_.size();
    // Reports past the bound leave the file, so they are not restored behind the others later.
    if (dropped > 0) file.replace(lines);
    // The restored reports count toward the next batch whatever count config.xml carried (a
    // configuration written again by an update starts from 0), so they go out with it: a backlog
    // never waits for more reports than a batch needs.
    const auto restored = static_cast<std::int32_t>(std::min<std::size_t>(pending_.size(), kMaxCounter));
    if (config_.fields().currentReportInfoToCacheCnt < restored) config_.setPendingCount(restored);
    if (dropped > 0) {
        DiagPrint("%zu saved show/click reports dropped: at most %zu are restored\n", dropped, kMaxSavedReports);
    }
}

void CacheManager::SavePendingReports() {
    std::string why;
    if (!WritePending(&why)) {
        DiagPrint("%zu show/click reports cannot be kept in %s (%s): they are lost\n", pending_.size(),
                  PendingFilePath().c_str(), why.c_str());
    }
}

// Each save writes the whole file. A small file is written again for every report; a long
// outage's backlog only once the reports not yet saved come to an eighth of the file, or on the
// first report some seconds after the last save. The cost of a report stays bounded; a host
// killed then loses at most the reports since that save.
void CacheManager::KeepUntilSent() {
    if (pending_.size() <= inFile_) return;
    std::int64_t unsavedBytes = 0;
    for (auto report = pending_.begin() + static_cast<std::ptrdiff_t>(inFile_); report != pending_.end(); ++report) {
        unsavedBytes += static_cast<std::int64_t>(report->show.size() + report->click.size()) + 9;
    }
    const auto now = std::chrono::steady_clock::now();
    if (savedFileBytes_ > kAlwaysKeptBytes && unsavedBytes * 8 < savedFileBytes_ && now - lastKept_ < kKeepInterval)
        return;
    lastKept_ = now;
    WritePending(nullptr);
}

bool CacheManager::WritePending(std::string* why) {
    const platform::FolderLock lock(queueFolder_);
    LineQueueFile file(PendingFilePath());
    if (pending_.empty()) {
        file.consumeThenRemoveIfEmpty(0);
        inFile_ = 0;
        return true;
    }
    std::vector<std::string> lines;
    lines.reserve(pending_.size());
    for (const PendingReport& report : pending_) {
        std::string line;
        if (!report.show.empty()) line += "|sh:" + OnOneLine(report.show);
        if (!report.click.empty()) line += "|ch:" + OnOneLine(report.click);
        lines.push_back(std::move(line));
    }
    // The holder's reports go first, in place of those restored; another copy's go after every
    // report the file holds, which stay first for the holder to send.
    const bool holder = holder_ == nullptr || holder_->Ours();
    const bool saved = !file.exists() ? file.replace(lines)
                       : holder       ? file.putFirst(inFile_, lines)
                                      : file.appendAll(lines);
    if (!saved) {
        if (why != nullptr) *why = file.error();
        return false;
    }
    savedFileBytes_ = file.writeOffset();
    if (holder) {
        inFile_ = pending_.size();
    } else {
        // This copy's reports now wait in the file for the next run to send: they are no longer
        // this copy's. The count stays, so the next report tries a send and, failing, follows
        // them at once.
        inFile_ = 0;
        pending_.clear();
    }
    return true;
}

}  // namespace tavi
