#include "ads/ZebTavi.h"

#include <charconv>
#include <vector>

#include "ads/OleString.h"
#include "ads/ZebStack.h"

namespace {

// How the game asks for its list: area 1, at most 20 ads.
constexpr int32_t kListArea = 1;
constexpr int32_t kListWanted = 20;

// The comma-separated decimal ids of `text`; false when a piece is not a 32-bit number.
bool ParseIds(const std::u16string& text, std::vector<int32_t>& ids) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(u',', start);
        const std::size_t end = comma == std::u16string::npos ? text.size() : comma;
        std::string piece;
        for (std::size_t i = start; i < end; ++i) {
            if (text[i] > 0x7F) return false;
            piece.push_back(static_cast<char>(text[i]));
        }
        const auto first = piece.find_first_not_of(' ');
        const auto last = piece.find_last_not_of(' ');
        if (first == std::string::npos) return false;
        const char* begin = piece.data() + first;
        if (*begin == '+') ++begin;
        const char* stop = piece.data() + last + 1;
        int32_t id = 0;
        const auto [ptr, ec] = std::from_chars(begin, stop, id);
        if (ec != std::errc() || ptr != stop) return false;
        ids.push_back(id);
        if (comma == std::u16string::npos) return true;
        start = comma + 1;
    }
}

}  // namespace

ZebTavi::ZebTavi() {
    try {
        tavi_.InitTavi();
    } catch (...) {}
}

ZebTavi::~ZebTavi() {
    try {
        tavi_.ReleaseTavi();
    } catch (...) {}
    stack_.reset();
}

ZebStack& ZebTavi::Stack() {
    if (!stack_) stack_ = std::make_unique<ZebStack>();
    return *stack_;
}

bool ZebTavi::GetAdInfo(int32_t& adId) {
    try {
        if (Stack().IsEmpty() && (!FetchAdIds() || Stack().IsEmpty())) return false;
        const auto id = Stack().Pop();
        if (!id) return false;
        adId = *id;
        return true;
    } catch (...) {
        return false;
    }
}

bool ZebTavi::FetchAdIds() {
    OleString text;
    const auto count = tavi_.GetAdIdList(kListArea, kListWanted, text.Slot());
    const std::u16string ids = text.Text();
    if (!count || *count <= 0 || ids.empty()) return false;
    // The whole list is read before any id is pushed, so a broken list adds nothing.
    std::vector<int32_t> parsed;
    if (!ParseIds(ids, parsed)) return false;
    for (const int32_t id : parsed) Stack().Push(id);
    return true;
}

bool ZebTavi::Report(const std::u16string& actionId) {
    try {
        const OleString action(actionId);
        if (!action.Valid()) return false;
        return tavi_.ReportInfo(action.Chars()) == 1;
    } catch (...) {
        return false;
    }
}

bool ZebTavi::ReportShowAd(int32_t adId) {
    try {
        return tavi_.ReportAdShow(adId) == 1;
    } catch (...) {
        return false;
    }
}

bool ZebTavi::ReportClickAd(int32_t adId) {
    try {
        return tavi_.ReportAdClick(adId) == 1;
    } catch (...) {
        return false;
    }
}

std::u16string ZebTavi::GetAdInfoById(int32_t adId, const std::u16string& adType) {
    try {
        const OleString name(adType);
        if (!name.Valid()) return {};
        OleString text;
        if (tavi_.QueryAdInfo(adId, name.Chars(), text.Slot()) != 1) return {};
        return text.Text();
    } catch (...) {
        return {};
    }
}
