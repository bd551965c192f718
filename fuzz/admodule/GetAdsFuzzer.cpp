// The ad server's GetAds answer: checked, and when good turned into the ad table, as
// GetAdIdList does with whatever the server sent. A text the nesting check lets through is
// never nested deeper in the parser's reading than the check found.

#include "admodule/AdAnswer.h"
#include "admodule/AdTable.h"
#include "admodule/XmlText.h"
#include "fuzz/admodule/FuzzFolder.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::SilenceStandardOutput();
    return 0;
}

namespace {
int Depth(const TiXmlNode& node) {
    int below = 0;
    for (const TiXmlElement* e = node.FirstChildElement(); e != nullptr; e = e->NextSiblingElement())
        below = std::max(below, Depth(*e));
    return below + (node.ToElement() != nullptr ? 1 : 0);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int depth = tavi::XmlNestingDepth(text);
    if (depth <= tavi::kMaxXmlDepth) {
        TiXmlDocument doc;
        tavi::ParseXmlText(doc, text);
        if (Depth(doc) > depth) std::abort();
    }
    const int status = tavi::ValidateGetAdsAnswer(text);
    if (status < -2 || status > 1) std::abort();
    if (status != 1) return 0;
    tavi::AdTable table;
    tavi::FillAdTable(text, table);
    if (table.size() == 0) std::abort();  // a good answer has at least one ad
    const std::string ids = table.idList();
    for (std::size_t id = 0; id < table.size(); ++id) {
        for (const char* name : tavi::AdRecord::kFieldNames) {
            if (table.lookup(static_cast<std::int32_t>(id)).field(name) == nullptr) std::abort();
        }
    }
    return ids.empty() ? 1 : 0;
}
