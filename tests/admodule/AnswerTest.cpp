// The server's answers: the GetAds check and table, the StatAds status, guarded parsing.

#include "admodule/AdAnswer.h"
#include "admodule/StatAds.h"
#include "admodule/XmlDepthScan.h"
#include "admodule/XmlText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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
    EXPECT_EQ(table.lookup(40).sei, "");  // an unknown id reads as empty and is not entered
    EXPECT_EQ(table.idList(), "0,1,2");
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
    EXPECT_EQ(XmlNestingDepth("\xEF\xBB\xBF<a/><b x='/>'><c/><!-- <d> --><![CDATA[<e>]]></b>"), 2);
    EXPECT_EQ(XmlNestingDepth("<a>\xE4\xB8\xAD</a>trailing <b><b><b>"), 1);  // the parser stops at the text
}

int ParsedDepth(const TiXmlNode& node) {
    int deepest = 0;
    for (const TiXmlElement* child = node.FirstChildElement(); child != nullptr; child = child->NextSiblingElement())
        deepest = std::max(deepest, ParsedDepth(*child));
    return node.ToElement() != nullptr ? deepest + 1 : deepest;
}

std::string Times(const std::string& part, int n) {
    std::string all;
    for (int i = 0; i < n; ++i) all += part;
    return all;
}

// Texts the parser reads as nested far deeper than a count of tags suggests: each is refused,
// never parsed as shallow.
TEST(TaviAnswer, TextsWhoseNestingCouldHideFromTheCheckAreRefused) {
    // Sixty levels at a time stay under the limit when the hidden close tags are counted.
    const std::string deep = Times("<a>", 60);
    const std::vector<std::string> texts = {
        // close tags inside a quoted value of a declaration in the middle of the text
        "<GetAds>" + Times(deep + "<?xml version=\">" + Times("</a>", 60) + "\"?>", 2),
        // a lead byte that takes the closing quote and bracket into its character
        "<?xml version=\"1.0\"?><GetAds>" + Times(deep + "<b c=\"\xE0\">" + Times("</a>", 61) + "\">", 2),
        // the same in element text, and in the legacy code page's text
        "<?xml version=\"1.0\"?><GetAds>" + deep + Times("\xE0</<a>", 10),
        // a broken reference the parser reads past, to the first ";", over the close tags
        "<GetAds>&#x</GetAds>x41;" + deep + deep,
        "<GetAds>&#</GetAds>#65;" + deep + deep,
        "<GetAds>" + deep + "<b c=\"&#x\">" + Times("</a>", 60) + "<d e=\"x41;\">" + deep,
        "<?xml version=\"1.0\" encoding=\"gb2312\"?><GetAds><ec>\xD6\xD0</ec></GetAds>",
        "<a x=/><a x=/><a x=/>",
        "<?p ><a><a>?>",
        "<!DOCTYPE a><a/>",
        "<a></b>",
        // more attributes than any document has: the parser's cost grows with their square
        "<a" + Times(" b=''", XmlDepthScan::kMaxAttributes + 1) + "/>",
    };
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = texts[i];
        TiXmlDocument doc;
        if (i < 6) {  // the first six are as deep as they are meant to be
            const std::string copy = text + std::string(4, '\0');
            doc.Parse(copy.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
            EXPECT_GT(ParsedDepth(doc), kMaxXmlDepth) << i;
        }
        EXPECT_GT(XmlNestingDepth(text), kMaxXmlDepth) << i;
        EXPECT_FALSE(ParseXmlText(doc, text)) << i;
    }
}

}  // namespace
}  // namespace tavi
