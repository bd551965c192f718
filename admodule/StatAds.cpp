#include "admodule/StatAds.h"

#include "admodule/DecimalText.h"
#include "admodule/QuerySigner.h"
#include "admodule/XmlText.h"

#include <tinyxml.h>

namespace tavi {

std::string MakeReportItem(std::string_view ai, std::string_view sei, std::int64_t time) {
    std::string item(ai);
    item.push_back(',');
    item.append(sei);
    item.push_back(',');
    item.append(std::to_string(time));
    item.push_back(';');
    return item;
}

std::string BuildStatAdsItems(const ConfigFields& config, std::string_view showList, std::string_view clickList,
                              std::int64_t time) {
    std::string items = "sid=" + config.projectNum + "&ver=" + config.baseVersion + "&uid=" + config.userId +
                        "&lt=" + std::to_string(time) + "&sh=";
    items.append(showList).append("&ch=").append(clickList);
    return items;
}

std::string BuildStatAdsUrl(const ConfigFields& config, std::string_view showList, std::string_view clickList,
                            std::int64_t time) {
    return config.adUrlPre +
           "/statads.do?c=" + EncodeQuery(BuildStatAdsItems(config, showList, clickList, time), config.signingKey);
}

std::optional<std::int32_t> ParseStatAdsAnswer(std::string_view body) {
    TiXmlDocument doc;
    if (!ParseXmlText(doc, body)) return std::nullopt;
    const TiXmlElement* statAds = doc.FirstChildElement("StatAds");
    if (statAds == nullptr) return std::nullopt;
    const TiXmlElement* ec = statAds->FirstChildElement("ec");
    if (ec == nullptr) return std::nullopt;
    return ParseCounter(ElementText(ec)).value_or(0);
}

}  // namespace tavi
