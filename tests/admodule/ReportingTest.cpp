// Show, click and usage reports through the loaded library: batching, the server's status
// rules, the usage queue file, and the server misbehaving.

#include "ModuleHarness.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <chrono>
#include <regex>

namespace {

// The show and click lists of a decoded statads query, split into their items.
struct StatLists {
    std::vector<std::string> show;
    std::vector<std::string> click;
};

std::vector<std::string> Items(const std::string& list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = list.find(';', start);
        if (end == std::string::npos) break;
        items.push_back(list.substr(start, end - start + 1));
        start = end + 1;
    }
    return items;
}

StatLists Lists(const std::string& text) {
    const std::size_t sh = text.find("&sh=");
    const std::size_t ch = text.find("&ch=");
    const std::size_t c = text.rfind("&c=");
    StatLists lists;
    if (sh == std::string::npos || ch == std::string::npos || c == std::string::npos) return lists;
    lists.show = Items(text.substr(sh + 4, ch - sh - 4));
    lists.click = Items(text.substr(ch + 4, c - ch - 4));
    return lists;
}

// A loopback port nothing listens on.
int ClosedPort() {
    const int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length);
    close(sock);
    return ntohs(address.sin_port);
}

class TaviReports : public ModuleHarness {
protected:
    const TaviLibrary& LoadWithLimit(int limit) {
        adserver::ModuleFilesOptions options = Options();
        options.limit = limit;
        const TaviLibrary& tavi = Load(&options);
        EXPECT_NE(tavi.handle, nullptr);
        return tavi;
    }
    // Whether some usage request the server took (answered with status 200) carried this action.
    bool Delivered(const std::string& action) {
        for (const adserver::LoggedRequest& r : Requests("usage")) {
            const bool completed = r.mode == "normal" || r.mode == "garbage";
            if (completed && r.text.find("|a=" + action + "|t=") != std::string::npos) return true;
        }
        return false;
    }
};

TEST_F(TaviReports, LimitFiveSendsAllFiveInOneRequestAtTheFifth) {
    const TaviLibrary& tavi = LoadWithLimit(5);
    ASSERT_EQ(tavi.List(3), u"0,1,2");
    ::testing::internal::CaptureStdout();
    for (int id = 0; id < 4; ++id) EXPECT_EQ(tavi.ReportAdShow(id % 3), 1);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::regex_match(printed, std::regex("(\\d{10}\n){4}"))) << printed;  // each show prints its time
    EXPECT_TRUE(Requests("statads").empty());

    EXPECT_EQ(tavi.ReportAdClick(1), 1);
    const auto sent = Requests("statads");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(sent[0].signatureOk);
    EXPECT_TRUE(std::regex_match(sent[0].text, std::regex("sid=1001&ver=1\\.0\\.0&uid=[0-9a-f]{32}&lt=\\d+"
                                                          "&sh=ai0,sei0,\\d+;ai1,sei1,\\d+;ai2,sei2,\\d+;ai0,sei0,\\d+;"
                                                          "&ch=ai1,sei1,\\d+;&c=[0-9A-F]{8}")))
        << sent[0].text;

    EXPECT_EQ(tavi.ReleaseTavi(), 1);
    const std::string config = testsupport::TempDir::ReadFile(tavi.folder + "/config.xml");
    EXPECT_NE(config.find("<current_report_info_to_cache_cnt>0</current_report_info_to_cache_cnt>"), std::string::npos);
    EXPECT_FALSE(work.Exists("shchcache.lfq"));
}

TEST_F(TaviReports, UnknownIdsReportEmptyItems) {
    const TaviLibrary& tavi = LoadWithLimit(1);
    EXPECT_EQ(tavi.ReportAdClick(42), 1);
    const auto sent = Requests("statads");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(std::regex_search(sent[0].text, std::regex("&sh=&ch=,,\\d+;&c="))) << sent[0].text;
}

TEST_F(TaviReports, TheStatusDecidesWhatHappensToPendingReports) {
    const TaviLibrary& tavi = LoadWithLimit(1);
    ASSERT_EQ(tavi.List(3), u"0,1,2");
    ASSERT_TRUE(server->set("statec=2"));
    EXPECT_EQ(tavi.ReportAdShow(0), 0);  // refused: kept
    ASSERT_TRUE(server->set("statec=1&mode=html"));
    EXPECT_EQ(tavi.ReportAdShow(1), 0);  // not the server's answer: kept
    ASSERT_TRUE(server->set("mode=normal"));
    EXPECT_EQ(tavi.ReportAdShow(2), 1);  // taken: cleared
    EXPECT_EQ(Lists(Requests("statads").back().text).show.size(), 3u);

    ASSERT_TRUE(server->set("statec=-1"));
    EXPECT_EQ(tavi.ReportAdClick(0), 0);  // status 0: dropped
    ASSERT_TRUE(server->set("statec=0"));
    EXPECT_EQ(tavi.ReportAdClick(1), 0);  // dropped
    const StatLists afterMinusOne = Lists(Requests("statads").back().text);
    ASSERT_EQ(afterMinusOne.click.size(), 1u);  // the click answered with "-1" went
    EXPECT_EQ(afterMinusOne.click[0].rfind("ai1,sei1,", 0), 0u);
    ASSERT_TRUE(server->set("statec=1"));
    EXPECT_EQ(tavi.ReportAdClick(2), 1);
    const StatLists last = Lists(Requests("statads").back().text);
    EXPECT_TRUE(last.show.empty());
    ASSERT_EQ(last.click.size(), 1u);
    EXPECT_EQ(last.click[0].rfind("ai2,sei2,", 0), 0u);
}

TEST_F(TaviReports, FailedUsageReportIsQueuedAndDeliveredAfterTheNextSuccess) {
    const TaviLibrary& tavi = Load();
    ASSERT_TRUE(server->set("mode=down"));
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(tavi.Info(u"\u542F\u52A8|a&b c"), 0);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_TRUE(
        std::regex_match(printed, std::regex("\\?param=s=1001\\|v=2\\.0\\.1\\|u=[0-9a-f]{32}\\|a=\xC6\xF4\xB6\xAF"
                                             "\\|a&b c\\|t=\\d{14}\n")))
        << printed;
    EXPECT_TRUE(work.Exists("reportinfo.lfq"));
    EXPECT_EQ(tavi.Info(u"second"), 0);

    ASSERT_TRUE(server->set("mode=normal"));
    EXPECT_EQ(tavi.Info(u"third"), 1);
    const auto usage = Requests("usage");
    ASSERT_EQ(usage.size(), 3u);
    EXPECT_NE(usage[0].text.find("/report.do?param=s=1001|v=2.0.1|u="), std::string::npos) << usage[0].text;
    EXPECT_NE(usage[0].text.find("|a=third|t="), std::string::npos);
    EXPECT_NE(usage[1].text.find("|a=\xC6\xF4\xB6\xAF|a&b%20c|t="), std::string::npos) << usage[1].text;
    EXPECT_NE(usage[2].text.find("|a=second|t="), std::string::npos);
    EXPECT_FALSE(work.Exists("reportinfo.lfq"));
}

TEST_F(TaviReports, AFailureInsideAQueuedBlockLosesNothingAfterIt) {
    const TaviLibrary& tavi = Load();
    const std::string good = server->baseUrl() + "/report.do?param=";
    const std::string lines[] = {
        good + "never sendable",  // a URL the HTTP library refuses: dropped, it would block the queue
        good + "q1",
        "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/report.do?param=q2",
        good + "q3",
    };
    std::string body;
    for (const std::string& line : lines) body += line + "\n";
    char header[40];
    std::snprintf(header, sizeof header, "%015d\n%015d\n", 32, static_cast<int>(32 + body.size()));
    work.Write("reportinfo.lfq", header + body);

    EXPECT_EQ(tavi.Info(u"live"), 1);
    EXPECT_TRUE(Delivered("live"));
    std::vector<std::string> targets;
    for (const auto& r : Requests("usage")) targets.push_back(r.text);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[1], "/report.do?param=q1");
    // The block stopped at q2; q2 and q3 wait for the next success.
    const std::string after = work.Read("reportinfo.lfq");
    const int readOffset = std::atoi(after.substr(0, 15).c_str());
    EXPECT_EQ(after.substr(static_cast<std::size_t>(readOffset)), lines[2] + "\n" + lines[3] + "\n");
}

TEST_F(TaviReports, NothingIsLostWhateverTheServerDoes) {
    const TaviLibrary& tavi = LoadWithLimit(1);
    ASSERT_EQ(tavi.List(3), u"0,1,2");
    struct Case {
        const char* mode;
        int showResult;
        int infoResult;
    };
    int shows = 0;
    for (const Case& c :
         {Case{"garbage", 0, 1}, Case{"html", 0, 0}, Case{"huge", 1, 0}, Case{"reset", 1, 0}, Case{"down", 1, 0}}) {
        ASSERT_TRUE(server->set(std::string("mode=") + c.mode));
        EXPECT_EQ(tavi.ReportAdShow(shows++ % 3), c.showResult) << c.mode;
        EXPECT_EQ(tavi.Info(u"act-" + std::u16string(c.mode, c.mode + std::strlen(c.mode))), c.infoResult) << c.mode;
    }
    ASSERT_TRUE(server->set("mode=slow"));
    EXPECT_EQ(tavi.Info(u"act-slow"), 0);  // the 1-second limit of a live usage report

    ASSERT_TRUE(server->set("mode=normal"));
    EXPECT_EQ(tavi.ReportAdClick(0), 1);
    EXPECT_EQ(tavi.Info(u"act-final"), 1);

    const auto sent = Requests("statads");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().mode, "normal");
    const StatLists last = Lists(sent.back().text);
    EXPECT_EQ(last.show.size(), static_cast<std::size_t>(shows));
    EXPECT_EQ(last.click.size(), 1u);
    for (const char* action :
         {"act-garbage", "act-html", "act-huge", "act-reset", "act-down", "act-slow", "act-final"}) {
        EXPECT_TRUE(Delivered(action)) << action;
    }
    EXPECT_FALSE(work.Exists("reportinfo.lfq"));
}

// A server that takes the connection and never answers holds no export for long, and a send
// that ran out of time keeps its reports.
TEST_F(TaviReports, AServerThatNeverAnswersHoldsNoCallForLong) {
    using Clock = std::chrono::steady_clock;
    const auto seconds = [](Clock::time_point since) {
        return std::chrono::duration<double>(Clock::now() - since).count();
    };
    const TaviLibrary& tavi = LoadWithLimit(1);
    ASSERT_EQ(tavi.List(3), u"0,1,2");
    ASSERT_TRUE(server->set("mode=hang"));
    auto start = Clock::now();
    EXPECT_EQ(tavi.ReportAdShow(0), 1);
    EXPECT_LT(seconds(start), 5.0);
    start = Clock::now();
    EXPECT_EQ(tavi.Info(u"live-held"), 0);
    EXPECT_LT(seconds(start), 2.5);

    // A queued report for a server that never answers, behind a live report that goes through.
    adserver::AdServerProcess silent(ADSERVER_PATH, {"--mode", "hang"});
    ASSERT_TRUE(silent.running());
    const std::string held = silent.baseUrl() + "/report.do?param=held";
    std::string queued = work.Read("reportinfo.lfq");
    ASSERT_GE(queued.size(), 32u);
    queued += held + "\n";
    char header[40];
    std::snprintf(header, sizeof header, "%015d\n%015d\n", std::atoi(queued.substr(0, 15).c_str()),
                  static_cast<int>(queued.size()));
    work.Write("reportinfo.lfq", header + queued.substr(32));
    ASSERT_TRUE(server->set("mode=normal"));
    start = Clock::now();
    EXPECT_EQ(tavi.Info(u"live"), 1);
    EXPECT_LT(seconds(start), 6.0);
    EXPECT_TRUE(Delivered("live-held"));
    const std::string queue = work.Read("reportinfo.lfq");
    EXPECT_EQ(queue.substr(static_cast<std::size_t>(std::atoi(queue.substr(0, 15).c_str()))), held + "\n");

    EXPECT_EQ(tavi.ReportAdClick(1), 1);
    const StatLists last = Lists(Requests("statads").back().text);
    EXPECT_EQ(last.show.size(), 1u);  // the show that timed out went with the click
    EXPECT_EQ(last.click.size(), 1u);
}

// Reports piled up while the server was down go out in order, in requests of at most 4 KB, a
// bounded number of them per report call.
TEST_F(TaviReports, ABacklogGoesOutInOrderInShortRequests) {
    const TaviLibrary& tavi = LoadWithLimit(1);
    ASSERT_EQ(tavi.List(3), u"0,1,2");
    ASSERT_TRUE(server->set("mode=down"));
    constexpr int kBacklog = 1500;
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < kBacklog; ++i) ASSERT_EQ(tavi.ReportAdShow(i % 3), 1);
    ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(server->set("mode=normal"));

    std::vector<std::string> shows;
    std::size_t requests = 0;
    std::size_t calls = 0;
    for (int call = 0; call < 4 && shows.size() < kBacklog + calls; ++call, ++calls) {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(tavi.ReportAdShow(call % 3), 1);
        ::testing::internal::GetCapturedStdout();
        const auto sent = Requests("statads");
        EXPECT_LE(sent.size() - requests, 8u) << "requests of one report call";
        for (std::size_t i = requests; i < sent.size(); ++i) {
            const std::size_t urlBytes = server->baseUrl().size() + 14 + (sent[i].text.size() + 2) / 3 * 4;
            EXPECT_LE(urlBytes, 4096u);
            for (const std::string& item : Lists(sent[i].text).show) shows.push_back(item);
        }
        EXPECT_GT(sent.size(), requests);
        requests = sent.size();
    }
    EXPECT_GT(requests, 8u);  // more than one call's worth
    EXPECT_EQ(calls, 2u);
    ASSERT_EQ(shows.size(), kBacklog + calls);  // each one once
    for (int i = 0; i < kBacklog; ++i) {
        const std::string ai = "ai" + std::to_string(i % 3) + ",";
        ASSERT_EQ(shows[i].rfind(ai, 0), 0u) << "report " << i << ": " << shows[i];
    }
    tavi.ReleaseTavi();
    EXPECT_FALSE(work.Exists("shchcache.lfq"));
}

// A host with a batch every five reports goes through an outage: 600 shows reported while the
// server is down are saved at release. Each later run reports five shows: its first show sends
// the saved reports with it, its other four wait in the queue file and go out with the next
// run's first show. So all 600 are delivered within the next two runs, each exactly once, and
// the file only ever holds the last run's newest four. A config.xml written anew by an update
// (the count back at 0) holds none of the saved reports back.
TEST_F(TaviReports, ShowsSavedThroughAnOutageAllGoOutWithinTwoRunsEachOnce) {
    adserver::ModuleFilesOptions options = Options();
    options.limit = 5;
    const TaviLibrary* tavi = &Load(&options);
    ASSERT_EQ(tavi->List(3), u"0,1,2");
    ASSERT_TRUE(server->set("mode=down"));
    ::testing::internal::CaptureStdout();
    for (int i = 0; i < 600; ++i) ASSERT_EQ(tavi->ReportAdShow(0), 1);
    ::testing::internal::GetCapturedStdout();
    tavi->ReleaseTavi();
    ASSERT_TRUE(server->set("mode=normal"));
    // One later run reporting five shows of `ad`: the shows of each ad the server took in it.
    const auto run = [&](const TaviLibrary& library, int ad) {
        EXPECT_EQ(library.List(3), u"0,1,2");
        const std::size_t before = Requests("statads").size();
        ::testing::internal::CaptureStdout();
        for (int i = 0; i < 5; ++i) EXPECT_EQ(library.ReportAdShow(ad), 1);
        ::testing::internal::GetCapturedStdout();
        library.ReleaseTavi();
        std::array<std::size_t, 3> delivered{};
        const auto sent = Requests("statads");
        for (std::size_t i = before; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i].mode, "normal");
            for (const std::string& item : Lists(sent[i].text).show) ++delivered.at(item.at(2) - '0');
        }
        return delivered;
    };
    // The queue file holds the four last shows, all of `ad`.
    const auto savedFour = [&](int ad) {
        const std::string saved = work.Read("shchcache.lfq");
        std::size_t lines = 0;
        std::size_t ofAd = 0;
        for (std::size_t at = saved.find("|sh:"); at != std::string::npos; at = saved.find("|sh:", at + 1)) {
            ++lines;
            ofAd += saved.compare(at, 7, "|sh:ai" + std::to_string(ad)) == 0;
        }
        EXPECT_EQ(lines, 4u) << saved;
        EXPECT_EQ(ofAd, 4u) << saved;
    };
    tavi = &LoadAgain(*tavi);
    EXPECT_EQ(run(*tavi, 1), (std::array<std::size_t, 3>{600, 1, 0})) << "the outage's 600 and the first show";
    savedFour(1);
    tavi = &LoadAgain(*tavi);
    EXPECT_EQ(run(*tavi, 2), (std::array<std::size_t, 3>{0, 4, 1})) << "the four saved and the first show";
    savedFour(2);
    tavi = &Load(&options);  // an update wrote config.xml anew
    EXPECT_EQ(run(*tavi, 0), (std::array<std::size_t, 3>{1, 0, 4})) << "the four saved and the first show";
    savedFour(0);
}

// Queued usage reports that can never be sent are dropped with a line saying so; they neither
// hold up the queue nor are tried again.
TEST_F(TaviReports, UsageReportsThatCanNeverBeSentAreDropped) {
    const TaviLibrary& tavi = Load();
    const std::string good = server->baseUrl() + "/report.do?param=";
    std::string body;
    for (const std::string& line : {std::string(), good + "q1", good + std::string(1 << 20, 'x'), good + "q2",
                                    std::string("http://bad host/report.do"), good + "q3"}) {
        body += line + "\n";
    }
    char header[40];
    std::snprintf(header, sizeof header, "%015d\n%015d\n", 32, static_cast<int>(32 + body.size()));
    work.Write("reportinfo.lfq", header + body);

    ::testing::internal::CaptureStdout();
    EXPECT_EQ(tavi.Info(u"live"), 1);
    EXPECT_EQ(tavi.Info(std::u16string(5000, u'a')), 0);  // too long for any request: not kept
    const std::string printed = ::testing::internal::GetCapturedStdout();
    std::vector<std::string> targets;
    for (const auto& r : Requests("usage")) targets.push_back(r.text.substr(r.text.find("param=") + 6));
    ASSERT_EQ(targets.size(), 4u);
    EXPECT_EQ(targets[1], "q1");
    EXPECT_EQ(targets[2], "q2");
    EXPECT_EQ(targets[3], "q3");
    EXPECT_FALSE(work.Exists("reportinfo.lfq"));
    std::size_t dropped = 0;
    for (std::size_t at = 0;
         (at = printed.find("dropped a usage report that can never be sent", at)) != std::string::npos; ++at) {
        ++dropped;
    }
    EXPECT_EQ(dropped, 4u) << printed;
}

}  // namespace
