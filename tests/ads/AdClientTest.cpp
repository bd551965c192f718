// The game's advertising client over the real libtavi.so, loaded from the program folder as
// the game loads it, against the test ad server on loopback; and without a usable module.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <vector>

#include "ModuleHarness.h"
#include "ads/ZebStack.h"
#include "ads/ZebTavi.h"
#include "platform/ProgramFolder.h"

namespace fs = std::filesystem;

namespace {

class AdClient : public ModuleHarness {
protected:
    void SetUp() override {
        ModuleHarness::SetUp();
        previousProgram_ = platform::ProgramFolder();
    }
    void TearDown() override {
        platform::SetProgramFolder(previousProgram_);
        ModuleHarness::TearDown();
    }

    // A new program folder named `name` holding `library` under the file name `file`, with the
    // module's configuration (report limit 2) unless `configured` is false; the game's program
    // folder from now on.
    std::string UseProgram(const std::string& name, const std::string& library, const std::string& file,
                           bool configured = true) {
        const fs::path folder = fs::path(work.Path()) / name;
        fs::create_directory(folder);
        if (configured) {
            adserver::ModuleFilesOptions options = Options();
            options.limit = 2;
            EXPECT_TRUE(adserver::WriteModuleFiles(folder.string(), options));
        }
        fs::copy_file(library, folder / file);
        platform::SetProgramFolder(folder.string());
        return folder.string() + "/";
    }

private:
    std::string previousProgram_;
};

TEST_F(AdClient, ListsFieldsAndReportsReachTheServer) {
    const std::string program = UseProgram("program", TAVI_LIBRARY_PATH, "libtavi.so");
    {
        ZebTavi tavi;
        std::vector<int32_t> ids;
        for (int i = 0; i < 6; ++i) {
            int32_t id = -1;
            EXPECT_TRUE(tavi.GetAdInfo(id)) << i;
            ids.push_back(id);
        }
        EXPECT_EQ(ids, (std::vector<int32_t>{2, 1, 0, 2, 1, 0}));
        EXPECT_FALSE(Requests("getads").empty());

        EXPECT_EQ(tavi.GetAdInfoById(1, u"ai"), u"ai1");
        EXPECT_EQ(tavi.GetAdInfoById(0, u"ar"),
                  u"\u5E7F\u544A"
                  u"0");
        EXPECT_EQ(tavi.GetAdInfoById(1, u"AI"), u"");  // the module's "NULL" is no field

        EXPECT_TRUE(tavi.Report(u"start"));
        EXPECT_TRUE(tavi.ReportShowAd(2));
        EXPECT_TRUE(Requests("statads").empty());
        EXPECT_TRUE(tavi.ReportClickAd(0));  // the second report reaches the limit of 2
        EXPECT_TRUE(tavi.ReportShowAd(1));   // still pending when the client ends
    }
    const auto usage = Requests("usage");
    ASSERT_EQ(usage.size(), 1u);
    EXPECT_NE(usage[0].text.find("|a=start|t="), std::string::npos) << usage[0].text;
    const auto stats = Requests("statads");
    ASSERT_EQ(stats.size(), 1u);
    EXPECT_TRUE(std::regex_search(stats[0].text, std::regex("&sh=ai2,sei2,\\d+;&ch=ai0,sei0,\\d+;&c=")))
        << stats[0].text;
    // Ending the client released the module: it saved its pending report and its count.
    EXPECT_TRUE(work.Exists("shchcache.lfq"));
    EXPECT_NE(testsupport::TempDir::ReadFile(program + "config.xml")
                  .find("<current_report_info_to_cache_cnt>1</current_report_info_to_cache_cnt>"),
              std::string::npos);
}

TEST_F(AdClient, WithoutAUsableModuleEveryOperationGivesItsDefaultQuietly) {
    // Each client is made and ended in turn, so the program folder may change in between.
    const auto expectNothing = [](const char* what, bool reportsSucceed) {
        ZebTavi tavi;
        int32_t id = -7;
        EXPECT_FALSE(tavi.GetAdInfo(id)) << what;
        EXPECT_FALSE(tavi.GetAdInfo(id)) << what;  // and nothing was left on the stack
        EXPECT_EQ(id, -7) << what;
        EXPECT_EQ(tavi.GetAdInfoById(0, u"ai"), u"") << what;
        EXPECT_EQ(tavi.Report(u"start"), reportsSucceed) << what;
        EXPECT_EQ(tavi.ReportShowAd(0), reportsSucceed) << what;
        EXPECT_EQ(tavi.ReportClickAd(0), reportsSucceed) << what;
    };

    const std::string renamed = UseProgram("renamed", TAVI_LIBRARY_PATH, "libtavi.so.off");
    const std::string config = testsupport::TempDir::ReadFile(renamed + "config.xml");
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    expectNothing("no module", false);
    // Exports missing, and (after InitTavi) a listed piece that is no number.
    UseProgram("partial", PARTIAL_TAVI_PATH, "libtavi.so");
    expectNothing("partial module", false);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testsupport::TempDir::ReadFile(renamed + "config.xml"), config);

    // A module without its configuration is not ready; it takes reports as done.
    ::testing::internal::CaptureStdout();
    UseProgram("unconfigured", TAVI_LIBRARY_PATH, "libtavi.so", false);
    expectNothing("module not ready", true);
    ::testing::internal::GetCapturedStdout();  // the module names its missing file
    EXPECT_TRUE(server->log().empty());
}

TEST(ZebStackTest, PopOnAnEmptyStackGivesEmptyAndLeavesTheCountAtZero) {
    ZebStack stack;
    stack.Push(5);
    EXPECT_EQ(stack.Pop(), 5);
    EXPECT_EQ(stack.Pop(), std::nullopt);
    EXPECT_EQ(stack.Count(), 0);
    stack.Push(7);
    stack.Push(8);
    EXPECT_EQ(stack.Pop(), 8);
    EXPECT_EQ(stack.Pop(), 7);
}

}  // namespace
