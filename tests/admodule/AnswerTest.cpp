// The server's answers: the GetAds check and table, the StatAds status, guarded parsing.

#include "admodule/AdAnswer.h"
#include "admodule/StatAds.h"
#include "admodule/XmlText.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

std::string Ad(int i, const std::string& skip = "") {
    std::string ad = "<ad>";
    for (const char* name : AdRecord::kFieldNames) {
        if (name == skip) continue;
        ad += std::string("<") + name + ">" + name + std::to_string(i) + "</" + name + ">";
    }
    return ad + "</ad>";
}

std::string Answer(const std::string& ec, const std::string& ads) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><GetAds><ec>" + ec + "</ec>" + ads + "</GetAds>";
}

// Validates and gives what was printed.
std::pair<int, std::string> Validate(const std::string& text) {
    ::testing::internal::CaptureStdout();
    const int status = ValidateGetAdsAnswer(text);
    return {status, ::testing::internal::GetCapturedStdout()};
}

TEST(TaviAnswer, StatusOfGetAdsAnswers) {
    const std::string three = Ad(0) + Ad(1) + Ad(2);
    EXPECT_EQ(Validate(Answer("1", three)), std::make_pair(1, std::string()));
    EXPECT_EQ(Validate(Answer("0", three)).first, 0);
    EXPECT_EQ(Validate(Answer("-1", three)), std::make_pair(-1, std::string()));
    EXPECT_EQ(Validate(Answer("-2", three)).first, -2);
    EXPECT_EQ(Validate(Answer("2", three)), std::make_pair(0, std::string()));
    EXPECT_EQ(Validate(Answer("x", three)).first, 0);
    EXPECT_EQ(Validate(Answer("1", "")).first, 0);                   // no ad
    EXPECT_EQ(Validate("<GetAds>" + three + "</GetAds>").first, 0);  // no ec
    EXPECT_EQ(Validate("").first, 0);
    EXPECT_EQ(Validate("<html><body>502</body></html>").first, 0);
    EXPECT_EQ(Validate(std::string("\x00\x01<<>>&&\xFF", 9)).first, 0);
}

TEST(TaviAnswer, AnAdMissingAFieldRejectsTheWholeAnswerByName) {
    EXPECT_EQ(Validate(Answer("1", Ad(0) + Ad(1, "pv") + Ad(2))),
              std::make_pair(0, std::string("no pv attribute in ad\n")));
    EXPECT_EQ(Validate(Answer("1", Ad(0, "ar") + Ad(1, "url"))),
              std::make_pair(0, std::string("no ar attribute in ad\n")));
    // Fields are required to exist, not to hold text.
    EXPECT_EQ(Validate(Answer("1", "<ad><ar/><ai/><sei/><ty/><si/><pv/><url/></ad>")).first, 1);
}

TEST(TaviAnswer, FillsTheTableInAnswerOrderInTheAnsiCodePage) {
    AdTable table;
    table.set(9, AdRecord{});
    FillAdTable(Answer("1",
                       "<ad><ar>\xE5\xB9\xBF\xE5\x91\x8A</ar><ai>a</ai><sei>s</sei><ty/><si>i</si><pv>p</pv>"
                       "<url>http://x/?a=1&amp;b=2</url></ad>" +
                           Ad(1) + Ad(2)),
                table);
    EXPECT_EQ(table.idList(), "0,1,2");
    const AdRecord& first = table.lookup(0);
    EXPECT_EQ(first.ar, "\xB9\xE3\xB8\xE6");  // 广告 in CP936
    EXPECT_EQ(first.ty, "");
    EXPECT_EQ(first.url, "http://x/?a=1&b=2");
    EXPECT_EQ(table.lookup(2).sei, "sei2");
    EXPECT_EQ(*table.lookup(1).field("pv"), "pv1");
    EXPECT_EQ(table.lookup(1).field("PV"), nullptr);
    table.lookup(40);  // an unknown id is entered empty
    EXPECT_EQ(table.idList(), "0,1,2,40");
}

TEST(TaviAnswer, StatAdsStatus) {
    const auto stat = [](const std::string& ec) {
        return ParseStatAdsAnswer("<?xml version=\"1.0\"?><StatAds><ec>" + ec + "</ec></StatAds>");
    };
    EXPECT_EQ(stat("1"), 1);
    EXPECT_EQ(stat("0"), 0);
    EXPECT_EQ(stat("2"), 2);
    EXPECT_EQ(stat(""), 0);
    EXPECT_EQ(stat("-1"), 0);  // not a counter: status 0
    EXPECT_EQ(stat("0000000001"), 0);
    EXPECT_EQ(stat("1 "), 1);  // the XML library trims white space
    // Anything that is not a StatAds document with an ec has no status at all.
    EXPECT_EQ(ParseStatAdsAnswer("<StatAds></StatAds>"), std::nullopt);
    EXPECT_EQ(ParseStatAdsAnswer("<GetAds><ec>1</ec></GetAds>"), std::nullopt);
    EXPECT_EQ(ParseStatAdsAnswer("<!DOCTYPE html><html><body>Bad Gateway<br></body></html>"), std::nullopt);
    EXPECT_EQ(ParseStatAdsAnswer("<StatAds><ec>1</e"), std::nullopt);
    EXPECT_EQ(ParseStatAdsAnswer(""), std::nullopt);
}

TEST(TaviAnswer, DeepOrHugeDocumentsAreRefusedWithoutParsing) {
    std::string deep;
    for (int i = 0; i < 200000; ++i) deep += "<a>";
    EXPECT_EQ(Validate(deep).first, 0);
    EXPECT_EQ(ParseStatAdsAnswer("<StatAds><ec>1</ec>" + deep + "</StatAds>"), std::nullopt);
    AdTable table;
    FillAdTable(Answer("1", deep), table);
    EXPECT_EQ(table.size(), 0u);
    EXPECT_EQ(Validate(Answer("1", Ad(0)) + std::string(kMaxXmlBytes, ' ')).first, 0);

    EXPECT_EQ(XmlNestingDepth(Answer("1", Ad(0) + Ad(1))), 3);
    EXPECT_EQ(XmlNestingDepth("<a/><b x='/>'><c/></b>"), 2);
    // Forms that could hide nesting from a careless count are counted deep.
    EXPECT_EQ(XmlNestingDepth("<a x=/><a x=/><a x=/>"), 3);
    EXPECT_EQ(XmlNestingDepth("<?p ><a><a>?>"), 2);
    EXPECT_EQ(XmlNestingDepth("<!-- <a><a> --><b/>"), 1);
}

}  // namespace
}  // namespace tavi
