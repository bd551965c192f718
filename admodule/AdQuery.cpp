#include "admodule/AdQuery.h"

#include "admodule/QuerySigner.h"

namespace tavi {

std::string BuildAreaList(std::int32_t wanted) {
    if (wanted > kMaxWantedAds) wanted = kMaxWantedAds;
    std::string areas;
    for (std::int32_t i = 1; i < wanted; ++i) areas.append("1,");
    areas.push_back('1');
    return areas;
}

std::string BuildGetAdsUrl(const ConfigFields& config, const std::string& areaList) {
    const std::string items =
        "sid=" + config.projectNum + "&ver=" + config.baseVersion + "&uid=" + config.userId + "&area=" + areaList;
    return config.adUrlPre + "/getads.do?c=" + EncodeQuery(items, config.signingKey);
}

}  // namespace tavi
