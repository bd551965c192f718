#include "admodule/AdListService.h"

#include "admodule/AdAnswer.h"
#include "admodule/AdQuery.h"
#include "admodule/HttpFetcher.h"

#include <cstdio>
#include <utility>

namespace tavi {

AdListService::AdListService(const ConfigFields& config, CacheManager& cache, AdTable& table, std::string queueFolder)
    : config_(config), cache_(cache), table_(table), queueFolder_(std::move(queueFolder)) {}

bool AdListService::ObtainAnswer(std::int32_t wanted, std::string& answer) {
    const std::string areas = BuildAreaList(wanted);
    if (cache_.GetAnswer(answer) && ValidateGetAdsAnswer(answer) == 1) return true;

    std::string stale = queueFolder_;
    if (!stale.empty() && stale.back() != '/') stale.push_back('/');
    stale += "adcache";
    stale += ".lfq";
    std::remove(stale.c_str());

    HttpFetcher fetcher(kQueryTimeLimit);
    // Only a server that answered well is believed: the answer is kept for the process's life.
    if (!fetcher.get(BuildGetAdsUrl(config_, areas)) || !fetcher.succeeded()) return false;
    if (ValidateGetAdsAnswer(fetcher.body()) != 1) return false;
    answer = fetcher.body();
    cache_.StoreAnswer(answer);
    return true;
}

std::int32_t AdListService::GetAdIdList(std::int32_t wanted, std::string& ids) {
    std::string answer;
    if (!ObtainAnswer(wanted, answer)) return 0;
    FillAdTable(answer, table_);
    ids = table_.idList();
    return static_cast<std::int32_t>(table_.size());
}

}  // namespace tavi
