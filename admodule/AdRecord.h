#pragma once
// One advertisement as the server described it: seven texts in the ANSI code page.

#include <array>
#include <string>
#include <string_view>

namespace tavi {

struct AdRecord {
    std::string ar;
    std::string ai;
    std::string sei;
    std::string ty;
    std::string si;
    std::string pv;
    std::string url;

    // The field names, in the order of the record and of the server's answer.
    static constexpr std::array<const char*, 7> kFieldNames = {"ar", "ai", "sei", "ty", "si", "pv", "url"};

    // The field selected by its exact, case-sensitive name; null for any other name.
    const std::string* field(std::string_view name) const;
    std::string* field(std::string_view name);
};

}  // namespace tavi
