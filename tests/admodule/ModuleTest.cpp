// The loaded library: start-up, readiness, the ad list and fields, the remembered answer, the
// time limit of the ad query, calls from two threads at once and the export table.

#include "ModuleHarness.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <regex>
#include <set>
#include <thread>

namespace {

class TaviModule : public ModuleHarness {};

TEST_F(TaviModule, NotReadyLibraryAnswersAsItsTableSays) {
    std::string printed;
    const TaviLibrary& tavi = Load(nullptr, &printed);
    ASSERT_NE(tavi.handle, nullptr);
    EXPECT_EQ(printed, "can not find xml config file:" + tavi.folder + "/config.xml\n");

    EXPECT_EQ(tavi.InitTavi(), 1);
    BSTR before = SysAllocString(u"old");
    BSTR slot = before;
    EXPECT_EQ(tavi.GetAdIdList(0, 3, &slot), 0);
    EXPECT_NE(slot, before);  // a new empty text, the old one not freed
    EXPECT_EQ(TakeOle(slot), u"");
    EXPECT_EQ(TakeOle(before), u"old");
    int found = -1;
    EXPECT_EQ(tavi.Query(0, u"ai", &found), u"");
    EXPECT_EQ(found, 0);
    EXPECT_EQ(tavi.ReportAdShow(0), 1);
    EXPECT_EQ(tavi.ReportAdClick(0), 1);
    EXPECT_EQ(tavi.Info(u"start"), 1);
    EXPECT_EQ(tavi.ReleaseTavi(), 1);
    EXPECT_TRUE(server->log().empty());  // no traffic
    EXPECT_FALSE(work.Exists("reportinfo.lfq"));
    EXPECT_FALSE(std::filesystem::exists(tavi.folder + "/config.xml"));
}

TEST_F(TaviModule, BrokenOrHalfConfigurationIsNamed) {
    adserver::ModuleFilesOptions options = Options();
    options.limit = -1;  // a minus sign: not legal
    std::string printed;
    const TaviLibrary& bad = Load(&options, &printed);
    EXPECT_EQ(printed, "xml config file: " + bad.folder + "/config.xml or " + bad.folder + "/manifest.xml not legal\n");
    EXPECT_EQ(bad.List(3), u"");

    const TaviLibrary& half = Load(nullptr);
    std::filesystem::copy_file(bad.folder + "/config.xml", half.folder + "/config.xml");
    std::filesystem::copy_file(TAVI_LIBRARY_PATH, half.folder + "/again.so");
    ::testing::internal::CaptureStdout();
    void* handle = dlopen((half.folder + "/again.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "can not find xml config file:" + half.folder + "/manifest.xml\n");
    ASSERT_NE(handle, nullptr);
    dlclose(handle);
}

TEST_F(TaviModule, ThreeAdsGiveTheirIdsAndFields) {
    const TaviLibrary& tavi = Load();
    ASSERT_NE(tavi.handle, nullptr);
    EXPECT_EQ(tavi.InitTavi(), 1);
    int count = 0;
    EXPECT_EQ(tavi.List(3, &count), u"0,1,2");
    EXPECT_EQ(count, 3);

    int found = -1;
    EXPECT_EQ(tavi.Query(1, u"ai", &found), u"ai1");
    EXPECT_EQ(found, 1);
    EXPECT_EQ(tavi.Query(0, u"ar"),
              u"\u5E7F\u544A"
              u"0");  // Chinese text survives both conversions
    EXPECT_EQ(tavi.Query(2, u"url"), u"http://127.0.0.1/ad2?a=1&b=2");
    EXPECT_EQ(tavi.Query(2, u"sei"), u"sei2");
    EXPECT_EQ(tavi.Query(2, u"URL", &found), u"NULL");
    EXPECT_EQ(found, 0);
    EXPECT_EQ(tavi.Query(7, u"pv", &found), u"");  // never listed: an empty record
    EXPECT_EQ(found, 1);
    const BSTR nullName = nullptr;
    BSTR slot = nullptr;
    EXPECT_EQ(tavi.QueryAdInfo(0, nullName, &slot), 0);
    EXPECT_EQ(TakeOle(slot), u"NULL");

    const auto queries = Requests("getads");
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_TRUE(queries[0].signatureOk);
    EXPECT_TRUE(std::regex_match(queries[0].text,
                                 std::regex("sid=1001&ver=1\\.0\\.0&uid=[0-9a-f]{32}&area=1,1,1&c=[0-9A-F]{8}")))
        << queries[0].text;
}

TEST_F(TaviModule, WantedCountOnlyShapesTheQuery) {
    ASSERT_TRUE(server->set("ads=2"));
    const TaviLibrary& tavi = Load();
    int count = 0;
    EXPECT_EQ(tavi.List(0, &count), u"0,1");
    EXPECT_EQ(count, 2);
    EXPECT_NE(Requests("getads").at(0).text.find("&area=1&c="), std::string::npos);
}

TEST_F(TaviModule, IncompleteAdIsRejectedByName) {
    ASSERT_TRUE(server->set("missing=pv"));
    const TaviLibrary& tavi = Load();
    BSTR before = SysAllocString(u"kept");
    BSTR slot = before;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(tavi.GetAdIdList(0, 3, &slot), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "no pv attribute in ad\n");
    EXPECT_EQ(slot, before);  // untouched
    SysFreeString(before);
}

TEST_F(TaviModule, OtherStatusesAreRejectedSilently) {
    const TaviLibrary& tavi = Load();
    for (const char* ec : {"-1", "2", "0", "-2"}) {
        ASSERT_TRUE(server->set(std::string("ec=") + ec));
        ::testing::internal::CaptureStdout();
        int count = -1;
        EXPECT_EQ(tavi.List(3, &count), u"<untouched>") << ec;
        EXPECT_EQ(count, 0);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "") << ec;
    }
    EXPECT_EQ(Requests("getads").size(), 4u);  // nothing remembered: each call asks again
}

TEST_F(TaviModule, RememberedAnswerOutlivesTheServer) {
    const TaviLibrary& tavi = Load();
    work.Write("adcache.lfq", "stale");
    EXPECT_EQ(tavi.List(3), u"0,1,2");
    EXPECT_FALSE(work.Exists("adcache.lfq"));
    ASSERT_TRUE(server->set("mode=down"));
    int count = 0;
    EXPECT_EQ(tavi.List(5, &count), u"0,1,2");
    EXPECT_EQ(count, 3);
    ASSERT_TRUE(server->set("mode=normal&ads=1"));
    EXPECT_EQ(tavi.List(1), u"0,1,2");
    EXPECT_EQ(Requests("getads").size(), 1u);
}

TEST_F(TaviModule, FailuresLeaveTheSlotAndCacheNothing) {
    const TaviLibrary& tavi = Load();
    for (const char* mode : {"down", "garbage", "html", "huge", "reset"}) {
        ASSERT_TRUE(server->set(std::string("mode=") + mode));
        int count = -1;
        EXPECT_EQ(tavi.List(3, &count), u"<untouched>") << mode;
        EXPECT_EQ(count, 0) << mode;
    }
    ASSERT_TRUE(server->set("mode=normal"));
    EXPECT_EQ(tavi.List(3), u"0,1,2");
}

TEST_F(TaviModule, SlowServerIsGivenUpAfterAboutOneSecond) {
    ASSERT_TRUE(server->set("mode=slow"));
    const TaviLibrary& tavi = Load();
    const auto start = std::chrono::steady_clock::now();
    int count = -1;
    EXPECT_EQ(tavi.List(3, &count), u"<untouched>");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(count, 0);
    EXPECT_GE(seconds, 0.9);
    EXPECT_LT(seconds, 1.9);  // the server would answer after 2 s
}

// A host calling from two threads at once: each list fills the ad table anew while the other
// thread reads fields and reports shows and clicks of the same ads. Every answer stays right
// and every show and click reaches the server exactly once.
TEST_F(TaviModule, CallsFromTwoThreadsAtOnceAreSafe) {
    adserver::ModuleFilesOptions options = Options();
    options.limit = 1;  // each report goes out at once
    const TaviLibrary& tavi = Load(&options);
    ASSERT_EQ(tavi.List(3), u"0,1,2");
    constexpr int kRounds = 150;
    std::atomic<int> wrong{0};
    const auto work = [&](int first) {
        for (int i = 0; i < kRounds; ++i) {
            const int id = (first + i) % 3;
            if (tavi.List(3) != u"0,1,2") ++wrong;
            if (tavi.Query(id, u"sei") != u"sei" + std::u16string(1, static_cast<char16_t>(u'0' + id))) ++wrong;
            if (tavi.ReportAdShow(id) != 1 || tavi.ReportAdClick(id) != 1) ++wrong;
        }
    };
    std::thread other(work, 1);
    work(0);
    other.join();
    EXPECT_EQ(wrong, 0);
    std::size_t items = 0;  // each show or click item ends with ";"
    for (const adserver::LoggedRequest& sent : Requests("statads")) {
        items += static_cast<std::size_t>(std::count(sent.text.begin(), sent.text.end(), ';'));
    }
    EXPECT_EQ(items, 4u * kRounds);
}

TEST_F(TaviModule, ExportsExactlyTheSevenFunctions) {
    std::FILE* pipe = popen("nm -D --defined-only " TAVI_LIBRARY_PATH, "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        char address[64], type[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3) names.insert(name);
    }
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(names, (std::set<std::string>{"InitTavi", "GetAdIdList", "QueryAdInfo", "ReportAdShow", "ReportAdClick",
                                            "ReportInfo", "ReleaseTavi"}));
}

}  // namespace
