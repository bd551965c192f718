#pragma once
// The module's process-wide state and the behaviour of its seven exports, in terms of ANSI
// texts. The exported C functions convert the texts and call this.

#include "admodule/AdTable.h"
#include "admodule/CacheManager.h"
#include "admodule/Clock.h"
#include "admodule/ModuleConfig.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavi {

class AdModule {
public:
    // The configuration files are `configPath` and `manifestPath`; the queue files lie in
    // `queueFolder` (empty: the process's current folder).
    AdModule(std::string configPath, std::string manifestPath, std::string queueFolder = std::string(),
             Clock clock = Clock::System());
    ~AdModule();

    // Load-time start-up: reads the configuration and the pending reports. No network traffic.
    void Start();
    bool ready() const { return moduleReady_; }

    // `slot` receives the new text of the caller's slot, or stays empty when the slot is to be
    // left alone.
    std::int32_t GetAdIdList(std::int32_t wanted, std::optional<std::string>& slot);
    std::int32_t QueryAdInfo(std::int32_t id, std::string_view name, std::string& slot);
    std::int32_t ReportAdShow(std::int32_t id);
    std::int32_t ReportAdClick(std::int32_t id);
    std::int32_t ReportInfo(std::string_view action);
    std::int32_t ReleaseTavi();

private:
    std::string configPath_;
    std::string manifestPath_;
    std::string queueFolder_;
    Clock clock_;

    bool moduleReady_ = false;
    std::unique_ptr<ModuleConfig> config_;
    std::unique_ptr<CacheManager> cacheManager_;
    std::unique_ptr<AdTable> adTable_;
};

}  // namespace tavi
