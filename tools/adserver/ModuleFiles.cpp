#include "ModuleFiles.h"

#include <fstream>

namespace adserver {

bool WriteModuleFiles(const std::string& folder, const ModuleFilesOptions& o) {
    std::ofstream config(folder + "/config.xml", std::ios::binary);
    config << "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
           << "<taviconfig>\n"
           << "  <version>1.0</version>\n"
           << "  <base>\n"
           << "    <type_id>7</type_id>\n"
           << "    <action_name>test</action_name>\n"
           << "    <version>" << o.baseVersion << "</version>\n"
           << "    <crc_key>" << o.crcKey << "</crc_key>\n"
           << "  </base>\n"
           << "  <url>\n"
           << "    <query_update_url>" << o.serverUrl << "/update.do</query_update_url>\n"
           << "    <ad_url_pre>" << o.serverUrl << "</ad_url_pre>\n"
           << "    <info_report_url_pre>" << o.serverUrl << o.usagePath << "</info_report_url_pre>\n"
           << "  </url>\n"
           << "  <cache>\n"
           << "    <limit_ad_cache_cnt>10</limit_ad_cache_cnt>\n"
           << "    <current_ad_cache_cnt>0</current_ad_cache_cnt>\n"
           << "    <limit_report_info_to_cache_cnt>" << o.limit << "</limit_report_info_to_cache_cnt>\n"
           << "    <current_report_info_to_cache_cnt>" << o.pending << "</current_report_info_to_cache_cnt>\n"
           << "  </cache>\n"
           << "</taviconfig>\n";
    std::ofstream manifest(folder + "/manifest.xml", std::ios::binary);
    manifest << "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
             << "<manifest>\n  <pkg-info>\n"
             << "    <project-num>" << o.projectNum << "</project-num>\n"
             << "    <control-version>" << o.controlVersion << "</control-version>\n"
             << "  </pkg-info>\n</manifest>\n";
    config.close();
    manifest.close();
    return config.good() && manifest.good();
}

}  // namespace adserver
