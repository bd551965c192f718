#include "Answers.h"

#include <cstdint>

namespace adserver {
namespace {

constexpr const char* kFields[] = {"ar", "ai", "sei", "ty", "si", "pv", "url"};

std::string FieldValue(const std::string& name, int index) {
    const std::string n = std::to_string(index);
    if (name == "ar") return "\xE5\xB9\xBF\xE5\x91\x8A" + n;  // 广告
    if (name == "url") return "http://127.0.0.1/ad" + n + "?a=1&amp;b=2";
    return name + n;
}

}  // namespace

std::string GetAdsAnswer(const ServerSettings& settings) {
    std::string doc = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<GetAds>\n  <ec>" + settings.ec + "</ec>\n";
    for (int i = 0; i < settings.ads; ++i) {
        doc += "  <ad>";
        for (const char* field : kFields) {
            const std::string name(field);
            if (i == 1 && name == settings.missing) continue;
            doc += "<" + name + ">" + FieldValue(name, i) + "</" + name + ">";
        }
        doc += "</ad>\n";
    }
    doc += "</GetAds>\n";
    return doc;
}

std::string GetAdsRefusal(std::string_view ec) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<GetAds><ec>" + std::string(ec) + "</ec></GetAds>\n";
}

std::string StatAdsAnswer(std::string_view ec) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<StatAds><ec>" + std::string(ec) + "</ec></StatAds>\n";
}

std::string UsageAnswer() { return "ok\n"; }

std::string GarbageBody() {
    std::string body;
    std::uint32_t state = 0x2545F491u;
    for (int i = 0; i < 4096; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        body.push_back(static_cast<char>(state & 0xFF));
    }
    return body;
}

std::string HtmlErrorPage() {
    return "<!DOCTYPE html>\n<html><head><title>502 Bad Gateway</title></head>\n"
           "<body><h1>Bad Gateway</h1><p>The proxy received an invalid response.</p><br></body></html>\n";
}

std::string Oversized(std::string document) {
    document += "<!--";
    document.append(2u << 20, 'x');
    document += "-->\n";
    return document;
}

}  // namespace adserver
