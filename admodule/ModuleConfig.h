#pragma once
// The module's configuration: read from the two files beside the library at load; its
// pending-report counter is written back to "config.xml" at release so it survives between runs.

#include "admodule/ConfigFields.h"

#include <string>

namespace tavi {

class ModuleConfig {
public:
    ModuleConfig(std::string configPath, std::string manifestPath);

    // Checks that both files exist and parses them; prints the diagnostic line and fails when a
    // file is missing or not legal.
    bool LoadConfig();

    // Writes the pending-report counter into "config.xml" as the file is now (the fields as
    // loaded where it no longer reads); a failed write is silent and keeps the old file.
    void SaveConfig() const;

    const ConfigFields& fields() const { return fields_; }
    void setPendingCount(std::int32_t count) { fields_.currentReportInfoToCacheCnt = count; }

    const std::string& configPath() const { return configPath_; }
    const std::string& manifestPath() const { return manifestPath_; }

private:
    bool ParseConfig();
    bool ParseConfigText(const std::string& text);
    bool ParseManifest();
    // Rewrites "config.xml" from the fields.
    void WriteConfig() const;

    ConfigFields fields_;
    std::string configPath_;
    std::string manifestPath_;
};

}  // namespace tavi
