#include "admodule/CacheManager.h"

#include "admodule/LineQueueFile.h"

#include <utility>

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

}  // namespace

CacheManager::CacheManager(ModuleConfig& config, std::string queueFolder)
    : config_(config), queueFolder_(std::move(queueFolder)) {}

bool CacheManager::getAnswer(std::string& text) const {
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

void CacheManager::ClearPending() {
    pending_.clear();
    config_.setPendingCount(0);
}

std::string CacheManager::pendingFilePath() const {
    std::string path = queueFolder_;
    if (!path.empty() && path.back() != '/') path.push_back('/');
    return path + "shchcache" + ".lfq";
}

void CacheManager::LoadPendingReports() {
    LineQueueFile file(pendingFilePath());
    if (!file.exists()) return;
    for (const std::string& line : file.readAll()) {
        if (line.empty()) break;
        pending_.push_back(PendingReport{AfterMarker(line, "|sh:"), AfterMarker(line, "|ch:")});
    }
    file.remove();
}

void CacheManager::SavePendingReports() const {
    if (config_.fields().currentReportInfoToCacheCnt < 1) return;
    LineQueueFile file(pendingFilePath());
    if (!file.exists() && !file.create()) return;
    for (const PendingReport& report : pending_) {
        std::string line;
        if (!report.show.empty()) line += "|sh:" + OnOneLine(report.show);
        if (!report.click.empty()) line += "|ch:" + OnOneLine(report.click);
        file.append(line);
    }
}

}  // namespace tavi
