#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include "admodule/tavi.h"

namespace platform {
class SharedLibrary;
}

// The seven exports of the advertising module "libtavi.so", bound by name: the library is
// loaded at the first call of any of them (from the program folder first), and each export is
// looked up at its own first call. A call gives no result when the library cannot be loaded
// or lacks the export; the library stays loaded until the binding ends.
class TaviBinding {
public:
    static constexpr const char* kLibraryName = "libtavi.so";

    TaviBinding();
    ~TaviBinding();
    TaviBinding(const TaviBinding&) = delete;
    TaviBinding& operator=(const TaviBinding&) = delete;

    std::optional<int32_t> InitTavi();
    std::optional<int32_t> GetAdIdList(int32_t ignored, int32_t wanted, BSTR* ids);
    std::optional<int32_t> QueryAdInfo(int32_t id, const OLECHAR* name, BSTR* text);
    std::optional<int32_t> ReportAdShow(int32_t id);
    std::optional<int32_t> ReportAdClick(int32_t id);
    std::optional<int32_t> ReportInfo(const OLECHAR* action);
    std::optional<int32_t> ReleaseTavi();

private:
    // The export in `slot`, looked up by `name` when it is not bound yet; null when missing.
    template <typename Fn>
    Fn Bind(Fn& slot, const char* name);

    bool loadTried_ = false;
    std::unique_ptr<platform::SharedLibrary> library_;
    InitTaviFn initTavi_ = nullptr;
    GetAdIdListFn getAdIdList_ = nullptr;
    QueryAdInfoFn queryAdInfo_ = nullptr;
    ReportAdShowFn reportAdShow_ = nullptr;
    ReportAdClickFn reportAdClick_ = nullptr;
    ReportInfoFn reportInfo_ = nullptr;
    ReleaseTaviFn releaseTavi_ = nullptr;
};
