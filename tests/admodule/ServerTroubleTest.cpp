// The ad server out of reach or turning reports down: a name server that never answers holds
// no call past its time limit, reports the server refuses are not sent again, and a report that
// cannot be kept for later says so.

#include "ModuleHarness.h"

#include <netdb.h>

#include <chrono>
#include <cstring>
#include <thread>

// This program's own name lookup, which the HTTP library inside the module reaches: the name
// "slow.invalid" answers after 3 s, as a lost name server does; others go to the system's.
extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** found) {
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto system = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node != nullptr && std::strcmp(node, "slow.invalid") == 0) {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        return EAI_AGAIN;
    }
    return system(node, service, hints, found);
}

namespace {

class TaviServerTrouble : public ModuleHarness {
protected:
    // Show reports to an address that can never be sent, of another protocol or longer than any
    // request may be, are dropped, not kept without end.
    void ExpectShowsToAddressDropped(const adserver::ModuleFilesOptions& options) {
        const TaviLibrary& tavi = Load(&options);
        ::testing::internal::CaptureStdout();
        for (int i = 0; i < 8; ++i) tavi.ReportAdShow(i % 3);
        tavi.ReleaseTavi();
        const std::string printed = ::testing::internal::GetCapturedStdout();
        EXPECT_NE(printed.find("dropped 5 show/click reports whose address cannot be sent"), std::string::npos)
            << printed;
        EXPECT_LT(work.Read("shchcache.lfq").size(), 200u) << "three shows may wait for the next send";
    }
};

TEST_F(TaviServerTrouble, ALookupThatNeverAnswersHoldsNoCallPastItsLimitNorOutlivesTheModuleBadly) {
    adserver::ModuleFilesOptions options = Options();
    const std::size_t host = options.serverUrl.find("127.0.0.1");
    ASSERT_NE(host, std::string::npos);
    options.serverUrl.replace(host, 9, "slow.invalid");
    TaviLibrary& tavi = Load(&options);
    ASSERT_NE(tavi.handle, nullptr);

    const auto start = std::chrono::steady_clock::now();
    int result = -1;
    tavi.List(3, &result);
    EXPECT_EQ(result, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));

    // The lookups still running finish after the module is gone, and the process goes on.
    dlclose(tavi.handle);
    tavi.handle = nullptr;
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    SUCCEED();
}

TEST_F(TaviServerTrouble, ShowReportsTheServerRefusesAreDroppedNotSentAgainWithEveryLaterReport) {
    adserver::ModuleFilesOptions options = Options();
    options.limit = 5;
    const TaviLibrary& tavi = Load(&options);
    ASSERT_EQ(tavi.List(3), u"0,1,2");
    ASSERT_TRUE(server->set("mode=gone"));
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(tavi.ReportAdShow(i % 3), i == 4 ? 0 : 1) << i;
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("dropped 5 show/click reports the server refused with status 404"), std::string::npos)
        << printed;
    EXPECT_EQ(Requests("statads").size(), 1u);
}

// A failing server's answer is not believed, whatever its body: no ads, and the reports wait.
TEST_F(TaviServerTrouble, AnAnswerWithAFailureStatusIsNotTakenWhateverItsBody) {
    adserver::ModuleFilesOptions options = Options();
    options.limit = 1;
    ASSERT_TRUE(server->set("mode=failing"));
    const TaviLibrary& tavi = Load(&options);
    int found = -1;
    tavi.List(3, &found);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(tavi.ReportAdShow(0), 0);
    EXPECT_EQ(Requests("statads").size(), 1u);
    ASSERT_TRUE(server->set("mode=normal"));
    EXPECT_EQ(tavi.List(3), u"0,1,2");
    EXPECT_EQ(tavi.ReportAdShow(1), 1);
    EXPECT_EQ(Requests("statads").size(), 2u);
}

TEST_F(TaviServerTrouble, ShowReportsToAnAddressOfAnotherProtocolAreDropped) {
    adserver::ModuleFilesOptions options = Options();
    options.limit = 5;
    options.serverUrl.replace(0, 4, "ftp");
    ExpectShowsToAddressDropped(options);
}

TEST_F(TaviServerTrouble, ShowReportsToAnAddressLongerThanAnyRequestAreDropped) {
    adserver::ModuleFilesOptions options = Options();
    options.limit = 5;
    options.serverUrl += "/" + std::string(5000, 'a');
    ExpectShowsToAddressDropped(options);
}

TEST_F(TaviServerTrouble, AReportThatCannotBeKeptForLaterSaysSo) {
    const TaviLibrary& tavi = Load();
    ASSERT_TRUE(server->set("mode=down"));
    // The host works in a folder that is gone, so no file can be made there.
    const std::filesystem::path gone = work.File("gone");
    std::filesystem::create_directory(gone);
    std::filesystem::current_path(gone);
    std::filesystem::remove(gone);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(tavi.Info(u"lost"), 0);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    std::filesystem::current_path(work.Path());
    EXPECT_NE(printed.find("dropped a usage report that cannot be kept in reportinfo.lfq: "), std::string::npos)
        << printed;
}

}  // namespace
