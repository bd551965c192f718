#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "ads/TaviBinding.h"

class ZebStack;

// The game's client of the advertising module. Creating one calls InitTavi and ending it calls
// ReleaseTavi, which ends the module's work for the whole process. Every operation keeps every
// failure to itself (no module, a missing export, a module that is not ready, a broken answer)
// and then gives its default result: false, or the empty text. So a missing module looks like
// having no advertisement.
class ZebTavi {
public:
    ZebTavi();
    ~ZebTavi();
    ZebTavi(const ZebTavi&) = delete;
    ZebTavi& operator=(const ZebTavi&) = delete;

    // The next ad id to show: the ids of one list from its last to its first; when they have
    // all been handed out the list is fetched again. False (and `adId` untouched) when there
    // is none.
    bool GetAdInfo(int32_t& adId);
    // A usage report of the action; true when the module delivered it.
    bool Report(const std::u16string& actionId);
    bool ReportShowAd(int32_t adId);
    bool ReportClickAd(int32_t adId);
    // The field of the ad named exactly (case matters) by `adType`: "ar", "ai", "sei", "ty",
    // "si", "pv" or "url"; the empty text for any other name.
    std::u16string GetAdInfoById(int32_t adId, const std::u16string& adType);

private:
    // Pushes the ids of a fresh list in list order; false when the module gives none.
    bool FetchAdIds();
    ZebStack& Stack();

    TaviBinding tavi_;
    std::unique_ptr<ZebStack> stack_;
};
