// config.xml and manifest.xml as the module reads them at load. The input is the configuration
// file; when it holds a NUL byte, what follows the first one is the manifest instead of a good
// one. A configuration that loads is saved and read back, and must give the same counters, and
// the same signing key when its key text is well-formed UTF-8 (the XML library reads a broken
// sequence together with the byte after it, so "\xCA>" written as "\xCA&gt;" does not come
// back as it was).

#include "admodule/ModuleConfig.h"
#include "fuzz/admodule/FuzzFolder.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kManifest[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
    "<manifest><pkg-info><project-num>1001</project-num><control-version>2.0.1</control-version></pkg-info>"
    "</manifest>\n";

bool WellFormedUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80         ? 1
                                   : (lead >> 5) == 6  ? 2
                                   : (lead >> 4) == 14 ? 3
                                   : (lead >> 3) == 30 ? 4
                                                       : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::SilenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const auto* split = static_cast<const unsigned char*>(std::memchr(data, 0, size));
    const std::size_t configSize = split != nullptr ? static_cast<std::size_t>(split - data) : size;
    const std::string configPath = fuzzing::WriteFuzzFile("config.xml", data, configSize);
    const std::string manifestPath =
        split != nullptr ? fuzzing::WriteFuzzFile("manifest.xml", split + 1, size - configSize - 1)
                         : fuzzing::WriteFuzzFile("manifest.xml", reinterpret_cast<const unsigned char*>(kManifest),
                                                  sizeof kManifest - 1);
    tavi::ModuleConfig config(configPath, manifestPath);
    if (!config.LoadConfig()) return 0;

    config.SaveConfig();
    tavi::ModuleConfig again(configPath, manifestPath);
    if (!again.LoadConfig()) std::abort();  // what the module wrote it must read
    const tavi::ConfigFields& a = config.fields();
    const tavi::ConfigFields& b = again.fields();
    if (a.limitReportInfoToCacheCnt != b.limitReportInfoToCacheCnt ||
        a.currentReportInfoToCacheCnt != b.currentReportInfoToCacheCnt ||
        (WellFormedUtf8(a.crcKey) && a.signingKey != b.signingKey)) {
        std::abort();
    }
    return 0;
}
