#include "ads/TaviBinding.h"

#include "platform/SharedLibrary.h"

TaviBinding::TaviBinding() = default;
TaviBinding::~TaviBinding() = default;

template <typename Fn>
Fn TaviBinding::Bind(Fn& slot, const char* name) {
    if (slot != nullptr) return slot;
    if (!loadTried_) {
        // One attempt: a library that is not there stays missing for this binding.
        loadTried_ = true;
        library_ = platform::SharedLibrary::Open(kLibraryName);
    }
    if (library_) slot = library_->Function<Fn>(name);
    return slot;
}

std::optional<int32_t> TaviBinding::InitTavi() {
    const auto fn = Bind(initTavi_, "InitTavi");
    if (fn == nullptr) return std::nullopt;
    return fn();
}

std::optional<int32_t> TaviBinding::GetAdIdList(int32_t ignored, int32_t wanted, BSTR* ids) {
    const auto fn = Bind(getAdIdList_, "GetAdIdList");
    if (fn == nullptr) return std::nullopt;
    return fn(ignored, wanted, ids);
}

std::optional<int32_t> TaviBinding::QueryAdInfo(int32_t id, const OLECHAR* name, BSTR* text) {
    const auto fn = Bind(queryAdInfo_, "QueryAdInfo");
    if (fn == nullptr) return std::nullopt;
    return fn(id, name, text);
}

std::optional<int32_t> TaviBinding::ReportAdShow(int32_t id) {
    const auto fn = Bind(reportAdShow_, "ReportAdShow");
    if (fn == nullptr) return std::nullopt;
    return fn(id);
}

std::optional<int32_t> TaviBinding::ReportAdClick(int32_t id) {
    const auto fn = Bind(reportAdClick_, "ReportAdClick");
    if (fn == nullptr) return std::nullopt;
    return fn(id);
}

std::optional<int32_t> TaviBinding::ReportInfo(const OLECHAR* action) {
    const auto fn = Bind(reportInfo_, "ReportInfo");
    if (fn == nullptr) return std::nullopt;
    return fn(action);
}

std::optional<int32_t> TaviBinding::ReleaseTavi() {
    const auto fn = Bind(releaseTavi_, "ReleaseTavi");
    if (fn == nullptr) return std::nullopt;
    return fn();
}
