#include "admodule/AdAnswer.h"

#include "admodule/CodePage.h"
#include "admodule/DecimalText.h"
#include "admodule/Diagnostics.h"
#include "admodule/XmlText.h"

#include <tinyxml.h>

namespace tavi {

int ValidateGetAdsAnswer(std::string_view text) {
    if (text.empty()) return 0;
    TiXmlDocument doc;
    if (!ParseXmlText(doc, text)) return 0;
    const TiXmlElement* getAds = doc.FirstChildElement("GetAds");
    if (getAds == nullptr) return 0;
    const TiXmlElement* ec = getAds->FirstChildElement("ec");
    const TiXmlElement* firstAd = getAds->FirstChildElement("ad");
    if (ec == nullptr || firstAd == nullptr) return 0;

    const std::int32_t code = ParseLooseInt(ElementText(ec));
    const int status = (code >= -2 && code <= 1) ? static_cast<int>(code) : 0;

    for (const TiXmlElement* ad = firstAd; ad != nullptr; ad = ad->NextSiblingElement("ad")) {
        for (const char* name : AdRecord::kFieldNames) {
            if (ad->FirstChildElement(name) == nullptr) {
                DiagPrint("no %s attribute in ad\n", name);
                return 0;
            }
        }
    }
    return status;
}

void FillAdTable(std::string_view text, AdTable& table) {
    table.clear();
    TiXmlDocument doc;
    if (!ParseXmlText(doc, text)) return;
    const TiXmlElement* getAds = doc.FirstChildElement("GetAds");
    if (getAds == nullptr) return;
    CodeConverter toAnsi = MakeConverter(CodeConverter::Direction::Utf8ToAnsi);
    std::int32_t id = 0;
    for (const TiXmlElement* ad = getAds->FirstChildElement("ad"); ad != nullptr; ad = ad->NextSiblingElement("ad")) {
        AdRecord record;
        for (const char* name : AdRecord::kFieldNames) {
            *record.field(name) = toAnsi.Convert(ElementText(ad->FirstChildElement(name)));
        }
        table.set(id++, std::move(record));
    }
}

}  // namespace tavi
