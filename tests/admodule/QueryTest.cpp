// The URLs the module sends: ad queries, show/click reports and usage reports.

#include "admodule/AdQuery.h"
#include "admodule/QuerySigner.h"
#include "admodule/StatAds.h"
#include "admodule/UsageReporter.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

ConfigFields FixedConfig() {
    ConfigFields config;
    config.projectNum = "1001";
    config.controlVersion = "2.0.1";
    config.baseVersion = "1.0.0";
    config.userId = "0123456789abcdef0123456789abcdef";
    config.signingKey = "glyphor-test-key";
    config.adUrlPre = "http://127.0.0.1:18080";
    config.infoReportUrlPre = "http://127.0.0.1:18080/report.do";
    return config;
}

TEST(TaviQuery, AreaListHasOneItemPerWantedAd) {
    EXPECT_EQ(BuildAreaList(3), "1,1,1");
    EXPECT_EQ(BuildAreaList(1), "1");
    EXPECT_EQ(BuildAreaList(0), "1");
    EXPECT_EQ(BuildAreaList(-5), "1");
    const std::string twenty = BuildAreaList(20);
    EXPECT_EQ(twenty.size(), 39u);
    EXPECT_EQ(std::count(twenty.begin(), twenty.end(), '1'), 20);
    EXPECT_EQ(BuildAreaList(2147483647).size(), static_cast<std::size_t>(kMaxWantedAds) * 2 - 1);
}

TEST(TaviQuery, SignsTheTextWithTheKeyAndSendsItWithTheSignature) {
    EXPECT_EQ(SignQuery("123456789"), "CBF43926");
    EXPECT_EQ(SignedQueryText("a=1", "k"), "a=1&c=" + SignQuery("a=1&c=k"));
    // The signature is taken over UTF-8: CP936 bytes are converted before the CRC.
    EXPECT_EQ(SignQuery("sid=\xB9\xE3\xB8\xE6&ver=1&uid=u&area=1&c=k"), "75197ABD");
}

TEST(TaviQuery, ExactAdQueryUrl) {
    EXPECT_EQ(
        BuildGetAdsUrl(FixedConfig(), "1,1,1"),
        "http://127.0.0.1:18080/getads.do?c="
        "c2lkPTEwMDEmdmVyPTEuMC4wJnVpZD0wMTIzNDU2Nzg5YWJjZGVmMDEyMzQ1Njc4OWFiY2RlZiZhcmVhPTEsMSwxJmM9NDVBNkFENzE=");
}

TEST(TaviQuery, ExactShowClickUrlForAFixedTime) {
    const std::string show = MakeReportItem("ai0", "sei0", 1699999990) + MakeReportItem("ai1", "sei1", 1699999995);
    const std::string click = MakeReportItem("ai2", "sei2", 1699999999);
    EXPECT_EQ(
        BuildStatAdsUrl(FixedConfig(), show, click, 1700000000),
        "http://127.0.0.1:18080/statads.do?c="
        "c2lkPTEwMDEmdmVyPTEuMC4wJnVpZD0wMTIzNDU2Nzg5YWJjZGVmMDEyMzQ1Njc4OWFiY2RlZiZsdD0xNzAwMDAwMDAwJnNoPWFpMCxzZW"
        "kwLDE2OTk5OTk5OTA7YWkxLHNlaTEsMTY5OTk5OTk5NTsmY2g9YWkyLHNlaTIsMTY5OTk5OTk5OTsmYz00RjcxRjlFMw==");
    EXPECT_EQ(MakeReportItem("", "", 5), ",,5;");
}

TEST(TaviQuery, UsageQueryIsSentUnencoded) {
    const std::string query = BuildUsageQuery(FixedConfig(), "start|x&y=1", "20240102030405");
    EXPECT_EQ(query, "?param=s=1001|v=2.0.1|u=0123456789abcdef0123456789abcdef|a=start|x&y=1|t=20240102030405");
    EXPECT_EQ(EscapeForRequestLine(query), query);
    // Only what a request line cannot carry is escaped; CP936 bytes go as they are.
    EXPECT_EQ(EscapeForRequestLine("a b\n#c\x7F\xB9\xE3"), "a%20b%0A%23c%7F\xB9\xE3");
}

}  // namespace
}  // namespace tavi
