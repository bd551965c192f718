// Show and click reports pending when the host ends survive into the next host process.

#include "ModuleHarness.h"

#include <cstdio>
#include <regex>

namespace {

class TaviHostProcess : public ModuleHarness {
protected:
    // Runs the host program on `library`, in the current folder; gives what it printed.
    std::string RunHost(const std::string& library, const std::string& calls) {
        const std::string command = std::string(TAVI_HOST_PATH) + " " + library + " " + calls;
        std::FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) return "<no host>";
        std::string output;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
        const int status = pclose(pipe);
        EXPECT_EQ(status, 0) << output;
        return output;
    }
};

TEST_F(TaviHostProcess, PendingReportsAreSentByTheNextProcess) {
    const std::filesystem::path program = std::filesystem::path(work.Path()) / "program";
    std::filesystem::create_directory(program);
    adserver::ModuleFilesOptions options = Options();
    options.limit = 5;
    ASSERT_TRUE(adserver::WriteModuleFiles(program.string(), options));
    std::filesystem::copy_file(TAVI_LIBRARY_PATH, program / "libtavi.so");
    const std::string library = (program / "libtavi.so").string();

    const std::string first = RunHost(library, "list 3 show 0 click 1 release");
    EXPECT_NE(first.find("list 3 0,1,2\n"), std::string::npos) << first;
    EXPECT_NE(first.find("release 1\n"), std::string::npos) << first;
    EXPECT_TRUE(Requests("statads").empty());
    EXPECT_TRUE(work.Exists("shchcache.lfq"));
    EXPECT_NE(testsupport::TempDir::ReadFile((program / "config.xml").string())
                  .find("<current_report_info_to_cache_cnt>2</current_report_info_to_cache_cnt>"),
              std::string::npos);

    const std::string second = RunHost(library, "list 3 show 2 show 1 click 0 release");
    EXPECT_NE(second.find("click 1\n"), std::string::npos) << second;
    const auto sent = Requests("statads");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(std::regex_search(sent[0].text, std::regex("&sh=ai0,sei0,\\d+;ai2,sei2,\\d+;ai1,sei1,\\d+;"
                                                           "&ch=ai1,sei1,\\d+;ai0,sei0,\\d+;&c=")))
        << sent[0].text;
    EXPECT_FALSE(work.Exists("shchcache.lfq"));
    EXPECT_NE(testsupport::TempDir::ReadFile((program / "config.xml").string())
                  .find("<current_report_info_to_cache_cnt>0</current_report_info_to_cache_cnt>"),
              std::string::npos);
}

// A host that ends without releasing the module (killed, say) leaves the reports saved by an
// earlier run in their file; the next run sends them.
TEST_F(TaviHostProcess, SavedReportsOutliveAHostThatNeverReleases) {
    const std::filesystem::path program = std::filesystem::path(work.Path()) / "program";
    std::filesystem::create_directory(program);
    adserver::ModuleFilesOptions options = Options();
    options.limit = 5;
    ASSERT_TRUE(adserver::WriteModuleFiles(program.string(), options));
    std::filesystem::copy_file(TAVI_LIBRARY_PATH, program / "libtavi.so");
    const std::string library = (program / "libtavi.so").string();

    RunHost(library, "list 3 show 0 click 1 release");
    const std::string saved = work.Read("shchcache.lfq");
    RunHost(library, "list 3 show 2");  // ends without ReleaseTavi
    EXPECT_EQ(work.Read("shchcache.lfq"), saved);

    RunHost(library, "list 3 show 1 show 2 click 0 release");
    const auto sent = Requests("statads");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(std::regex_search(sent[0].text, std::regex("&sh=ai0,sei0,\\d+;ai1,sei1,\\d+;ai2,sei2,\\d+;"
                                                           "&ch=ai1,sei1,\\d+;ai0,sei0,\\d+;&c=")))
        << sent[0].text;
    EXPECT_FALSE(work.Exists("shchcache.lfq"));
}

}  // namespace
