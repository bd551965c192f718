#pragma once
// The work behind GetAdIdList: the remembered answer or a fresh one from the server, checked
// and turned into the ad table.

#include "admodule/AdTable.h"
#include "admodule/CacheManager.h"
#include "admodule/ConfigFields.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace tavi {

class AdListService {
public:
    // The whole ad query may take at most this long: it runs on the host's thread.
    static constexpr std::chrono::milliseconds kQueryTimeLimit{1000};

    AdListService(const ConfigFields& config, CacheManager& cache, AdTable& table, std::string queueFolder);

    // Rebuilds the table and gives its ids ("0,1,2") and their number; 0 when neither the
    // remembered answer nor the server gives a good one (`ids` is then left alone).
    std::int32_t GetAdIdList(std::int32_t wanted, std::string& ids);

private:
    bool ObtainAnswer(std::int32_t wanted, std::string& answer);

    const ConfigFields& config_;
    CacheManager& cache_;
    AdTable& table_;
    std::string queueFolder_;
};

}  // namespace tavi
