// Show and click reports pending when the host ends survive into the next host process.

#include "ModuleHarness.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>

namespace {

class TaviHostProcess : public ModuleHarness {
protected:
    // Starts the host program on `library`, in the current folder.
    static std::FILE* StartHost(const std::string& library, const std::string& calls,
                                const std::string& before = std::string()) {
        return popen((before + TAVI_HOST_PATH + " " + library + " " + calls).c_str(), "r");
    }
    // Waits for a host to end; gives what it printed.
    static std::string FinishHost(std::FILE* pipe) {
        if (pipe == nullptr) return "<no host>";
        std::string output;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
        const int status = pclose(pipe);
        EXPECT_EQ(status, 0) << output;
        return output;
    }
    static std::string RunHost(const std::string& library, const std::string& calls) {
        return FinishHost(StartHost(library, calls));
    }
    // A program folder with the module and its files, sending shows and clicks in fives; gives
    // the module's path.
    std::string InstallProgram() {
        const std::filesystem::path program = std::filesystem::path(work.Path()) / "program";
        std::filesystem::create_directory(program);
        adserver::ModuleFilesOptions options = Options();
        options.limit = 5;
        EXPECT_TRUE(adserver::WriteModuleFiles(program.string(), options));
        std::filesystem::copy_file(TAVI_LIBRARY_PATH, program / "libtavi.so");
        return (program / "libtavi.so").string();
    }
    // The lines waiting in one of the module's queue files.
    std::vector<std::string> Waiting(const std::string& name) {
        const std::string file = work.Exists(name) ? work.Read(name) : std::string();
        if (file.size() < 32) return {};
        std::istringstream lines(file.substr(static_cast<std::size_t>(std::atoi(file.substr(0, 15).c_str()))));
        std::vector<std::string> waiting;
        for (std::string line; std::getline(lines, line);) waiting.push_back(line);
        return waiting;
    }
};

TEST_F(TaviHostProcess, PendingReportsAreSentByTheNextProcess) {
    const std::string library = InstallProgram();

    const std::string first = RunHost(library, "list 3 show 0 click 1 release");
    EXPECT_NE(first.find("list 3 0,1,2\n"), std::string::npos) << first;
    EXPECT_NE(first.find("release 1\n"), std::string::npos) << first;
    EXPECT_TRUE(Requests("statads").empty());
    EXPECT_TRUE(work.Exists("shchcache.lfq"));
    EXPECT_NE(testsupport::TempDir::ReadFile(work.File("program/config.xml"))
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
    EXPECT_NE(testsupport::TempDir::ReadFile(work.File("program/config.xml"))
                  .find("<current_report_info_to_cache_cnt>0</current_report_info_to_cache_cnt>"),
              std::string::npos);
}

// A host that ends without releasing the module (killed, say) leaves the reports saved by an
// earlier run in their file; the next run sends them.
TEST_F(TaviHostProcess, SavedReportsOutliveAHostThatNeverReleases) {
    const std::string library = InstallProgram();

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

    // Reports that a send while the server was away left behind outlive a host killed then.
    ASSERT_TRUE(server->set("mode=down"));
    RunHost(library, "show 0 show 1 show 2 show 0 show 1 show 2");  // sends at the fifth and sixth fail
    ASSERT_TRUE(server->set("mode=normal"));
    RunHost(library, "show 2 release");
    const auto after = Requests("statads");
    ASSERT_EQ(after.size(), 2u);
    std::smatch shows;
    ASSERT_TRUE(std::regex_search(after[1].text, shows, std::regex("&sh=([^&]*)&"))) << after[1].text;
    EXPECT_EQ(std::count(shows[1].first, shows[1].second, ';'), 7) << after[1].text;
    EXPECT_FALSE(work.Exists("shchcache.lfq"));
}

// A host that releases the module from its own clean-up at exit, after the library's own
// objects have ended, gets its reports kept; one that ends while another of its threads, or
// its own signal handler, is inside a call ends normally.
TEST_F(TaviHostProcess, AHostEndingWithCallsStillToComeEndsNormally) {
    const std::string library = InstallProgram();
    const std::string output = RunHost(library, "list 3 show 0 click 1 release-at-exit");
    EXPECT_NE(output.find("release at exit 1\n"), std::string::npos) << output;
    EXPECT_EQ(Waiting("shchcache.lfq").size(), 2u);

    for (int i = 0; i < 4; ++i) RunHost(library, "busy info a info b");

    ASSERT_TRUE(server->set("mode=hang"));
    EXPECT_EQ(FinishHost(StartHost(library, "exit-in-call list 3", "timeout 20 ")), "init 1\n");
}

// Two hosts at once whose module keeps its reports in the same folder, with the server away: each
// keeps every usage report and every show of its own, and a show saved by an earlier run stays
// once.
TEST_F(TaviHostProcess, TwoHostsSharingTheFolderKeepEveryReportOnce) {
    const std::string library = InstallProgram();
    ASSERT_TRUE(server->set("mode=down"));
    RunHost(library, "show 7 release");
    ASSERT_EQ(Waiting("shchcache.lfq").size(), 1u);

    constexpr int kEach = 40;
    std::string calls[2];
    for (int i = 0; i < kEach; ++i) {
        calls[0] += " info a" + std::to_string(i) + " show 1";
        calls[1] += " info b" + std::to_string(i) + " click 2";
    }
    std::FILE* first = StartHost(library, calls[0] + " release");
    std::FILE* second = StartHost(library, calls[1] + " release");
    FinishHost(first);
    FinishHost(second);

    std::map<std::string, int> usage;
    for (const std::string& line : Waiting("reportinfo.lfq")) {
        const std::size_t at = line.find("|a=");
        if (at != std::string::npos) ++usage[line.substr(at + 3, line.find('|', at + 3) - at - 3)];
    }
    EXPECT_EQ(usage.size(), 2u * kEach);
    for (const auto& [action, times] : usage) EXPECT_EQ(times, 1) << action;
    std::map<std::string, int> shown;
    for (const std::string& line : Waiting("shchcache.lfq")) ++shown[line.substr(0, 4)];
    EXPECT_EQ(shown["|sh:"], kEach + 1);
    EXPECT_EQ(shown["|ch:"], kEach);

    // A copy that does not hold the saved reports (the test holds them now) and is killed during
    // the outage leaves its own reports in the file too: the first batch, and then each report
    // as its send fails.
    adserver::ModuleFilesOptions fives = Options();
    fives.limit = 5;
    ASSERT_TRUE(adserver::WriteModuleFiles(work.File("program"), fives));  // the count starts at 0
    const int holder = open(work.File("shchcache.lfq.lock").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    RunHost(library, "show 3 show 3 show 3 show 3 show 3 show 3 show 3 show 3 show 3");  // no release
    close(holder);
    EXPECT_EQ(Waiting("shchcache.lfq").size(), 2u * kEach + 1 + 9);
}

}  // namespace
