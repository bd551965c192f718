#pragma once
// Writes the advertising module's two configuration files for a test or a benchmark run
// against the test ad server.

#include <string>

namespace adserver {

// The signing key the test files configure, and its crc_key text (Base64 of key + "#1").
inline constexpr const char* kTestSigningKey = "glyphor-test-key";
inline constexpr const char* kTestCrcKey = "Z2x5cGhvci10ZXN0LWtleSMx";

struct ModuleFilesOptions {
    std::string serverUrl;  // "http://127.0.0.1:PORT"
    std::string crcKey = kTestCrcKey;
    int limit = 5;    // limit_report_info_to_cache_cnt
    int pending = 0;  // current_report_info_to_cache_cnt
    std::string projectNum = "1001";
    std::string controlVersion = "2.0.1";
    std::string baseVersion = "1.0.0";
    std::string usagePath = "/report.do";
};

// "config.xml" and "manifest.xml" in `folder`; false when they cannot be written.
bool WriteModuleFiles(const std::string& folder, const ModuleFilesOptions& options);

}  // namespace adserver
