#pragma once
// The values the module reads from "config.xml" and "manifest.xml", plus the user id and the
// signing key derived at load. Texts are the bytes read from the files (UTF-8).

#include <cstdint>
#include <string>

namespace tavi {

struct ConfigFields {
    std::string version;
    std::string userId;
    std::string controlVersion;
    std::string projectNum;
    std::string typeId;
    std::string actionName;
    std::string baseVersion;
    std::string signingKey;
    std::string crcKey;
    std::string queryUpdateUrl;
    std::string adUrlPre;
    std::string infoReportUrlPre;
    std::int32_t limitAdCacheCnt = 0;
    std::int32_t currentAdCacheCnt = 0;
    std::int32_t limitReportInfoToCacheCnt = 0;
    std::int32_t currentReportInfoToCacheCnt = 0;
};

}  // namespace tavi
