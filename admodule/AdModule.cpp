#include "admodule/AdModule.h"

#include "admodule/AdListService.h"
#include "admodule/ShowClickReporter.h"
#include "admodule/UsageReporter.h"

#include <utility>

namespace tavi {

AdModule::AdModule(std::string configPath, std::string manifestPath, std::string queueFolder, Clock clock)
    : configPath_(std::move(configPath)),
      manifestPath_(std::move(manifestPath)),
      queueFolder_(std::move(queueFolder)),
      clock_(std::move(clock)) {}

AdModule::~AdModule() = default;

void AdModule::Start() {
    moduleReady_ = false;
    config_ = std::make_unique<ModuleConfig>(configPath_, manifestPath_);
    if (!config_->LoadConfig()) return;
    cacheManager_ = std::make_unique<CacheManager>(*config_, queueFolder_);
    cacheManager_->LoadPendingReports();
    adTable_ = std::make_unique<AdTable>();
    moduleReady_ = true;
}

std::int32_t AdModule::GetAdIdList(std::int32_t wanted, std::optional<std::string>& slot) {
    slot.reset();
    if (!moduleReady_) {
        slot = std::string();
        return 0;
    }
    std::string ids;
    AdListService service(config_->fields(), *cacheManager_, *adTable_, queueFolder_);
    const std::int32_t count = service.GetAdIdList(wanted, ids);
    if (count > 0) slot = std::move(ids);
    return count;
}

std::int32_t AdModule::QueryAdInfo(std::int32_t id, std::string_view name, std::string& slot) {
    slot.clear();
    if (!moduleReady_) return 0;
    const AdRecord& record = adTable_->lookup(id);
    const std::string* field = record.field(name);
    if (field == nullptr) {
        slot = "NULL";
        return 0;
    }
    slot = *field;
    return 1;
}

std::int32_t AdModule::ReportAdShow(std::int32_t id) {
    if (!moduleReady_) return 1;
    return ShowClickReporter(config_->fields(), *cacheManager_, *adTable_, clock_).ReportAdShow(id);
}

std::int32_t AdModule::ReportAdClick(std::int32_t id) {
    if (!moduleReady_) return 1;
    return ShowClickReporter(config_->fields(), *cacheManager_, *adTable_, clock_).ReportAdClick(id);
}

std::int32_t AdModule::ReportInfo(std::string_view action) {
    if (!moduleReady_) return 1;
    return UsageReporter(config_->fields(), clock_, queueFolder_).ReportInfo(action);
}

std::int32_t AdModule::ReleaseTavi() {
    if (!moduleReady_) return 1;
    config_->SaveConfig();
    cacheManager_->SavePendingReports();
    moduleReady_ = false;
    adTable_.reset();
    cacheManager_.reset();
    config_.reset();
    return 1;
}

}  // namespace tavi
