// Reading and writing the module's configuration files, and the user id.

#include "admodule/ModuleConfig.h"
#include "admodule/UserId.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>

namespace tavi {
namespace {

const char* kManifest =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
    "<manifest><pkg-info><project-num>1001</project-num>"
    "<control-version>2.0.1</control-version></pkg-info></manifest>\n";

std::string Config(const std::string& limit = "5", const std::string& root = "taviconfig") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<" + root +
           ">\r\n"
           "  <cache><limit_ad_cache_cnt>10</limit_ad_cache_cnt><current_ad_cache_cnt>0</current_ad_cache_cnt>"
           "<limit_report_info_to_cache_cnt>" +
           limit +
           "</limit_report_info_to_cache_cnt>"
           "<current_report_info_to_cache_cnt>2</current_report_info_to_cache_cnt></cache>\r\n"
           "  <url><ad_url_pre>http://127.0.0.1:1</ad_url_pre><query_update_url>q&amp;u</query_update_url>"
           "<info_report_url_pre>http://127.0.0.1:1/report.do</info_report_url_pre></url>\r\n"
           "  <version>1.0</version>\r\n"
           "  <base><type_id>7</type_id><action_name>test</action_name><version>1.0.0</version>"
           "<crc_key>Z2x5cGhvci10ZXN0LWtleSMx</crc_key><extra/></base>\r\n"
           "</" +
           root + ">\n";
}

class TaviConfig : public ::testing::Test {
protected:
    void WriteBoth(const std::string& config) {
        folder.Write("config.xml", config);
        folder.Write("manifest.xml", kManifest);
    }
    ModuleConfig MakeConfig() const { return ModuleConfig(folder.File("config.xml"), folder.File("manifest.xml")); }
    // Loads and gives what the module printed.
    std::string LoadPrinting(ModuleConfig& config, bool& loaded) const {
        ::testing::internal::CaptureStdout();
        loaded = config.LoadConfig();
        return ::testing::internal::GetCapturedStdout();
    }

    testsupport::TempDir folder;
};

TEST_F(TaviConfig, ReadsEveryFieldWhateverTheOrder) {
    WriteBoth(Config());
    ModuleConfig config = MakeConfig();
    bool loaded = false;
    EXPECT_EQ(LoadPrinting(config, loaded), "");
    ASSERT_TRUE(loaded);
    const ConfigFields& f = config.fields();
    EXPECT_EQ(f.projectNum, "1001");
    EXPECT_EQ(f.controlVersion, "2.0.1");
    EXPECT_EQ(f.version, "1.0");
    EXPECT_EQ(f.typeId, "7");
    EXPECT_EQ(f.actionName, "test");
    EXPECT_EQ(f.baseVersion, "1.0.0");
    EXPECT_EQ(f.crcKey, "Z2x5cGhvci10ZXN0LWtleSMx");
    EXPECT_EQ(f.signingKey, "glyphor-test-key");
    EXPECT_EQ(f.queryUpdateUrl, "q&u");
    EXPECT_EQ(f.adUrlPre, "http://127.0.0.1:1");
    EXPECT_EQ(f.infoReportUrlPre, "http://127.0.0.1:1/report.do");
    EXPECT_EQ(f.limitAdCacheCnt, 10);
    EXPECT_EQ(f.limitReportInfoToCacheCnt, 5);
    EXPECT_EQ(f.currentReportInfoToCacheCnt, 2);
    EXPECT_EQ(f.userId, MakeUserId());

    // A key wrapped over lines, as base64 tools write long ones, signs the same.
    std::string wrapped = Config();
    wrapped.replace(wrapped.find("Z2x5cGhvci10ZXN0LWtleSMx"), 24, "Z2x5cGhvci10\r\n    ZXN0LWtleSMx");
    WriteBoth(wrapped);
    ModuleConfig rewrapped = MakeConfig();
    LoadPrinting(rewrapped, loaded);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(rewrapped.fields().signingKey, "glyphor-test-key");
}

TEST_F(TaviConfig, MissingFilesAreNamedConfigurationFirst) {
    ModuleConfig config = MakeConfig();
    bool loaded = true;
    EXPECT_EQ(LoadPrinting(config, loaded), "can not find xml config file:" + folder.File("config.xml") + "\n");
    EXPECT_FALSE(loaded);

    folder.Write("config.xml", Config());
    EXPECT_EQ(LoadPrinting(config, loaded), "can not find xml config file:" + folder.File("manifest.xml") + "\n");
    EXPECT_FALSE(loaded);
}

TEST_F(TaviConfig, CounterTextsDecideLegality) {
    const std::string notLegal =
        "xml config file: " + folder.File("config.xml") + " or " + folder.File("manifest.xml") + " not legal\n";
    struct Case {
        const char* text;
        bool legal;
        int value;
    };
    // White space anywhere in a counter makes it not legal, though the XML reader trims it away.
    for (const Case& c :
         {Case{"000000001", true, 1}, Case{"0000000001", false, 0}, Case{"-1", false, 0}, Case{"1 0", false, 0},
          Case{"", true, 0}, Case{"x", false, 0}, Case{"1 ", false, 0}, Case{" 1", false, 0}, Case{"\n1\n", false, 0},
          Case{"\t", false, 0}, Case{" ", false, 0}, Case{"1<!-- -->", false, 0}}) {
        WriteBoth(Config(c.text));
        ModuleConfig config = MakeConfig();
        bool loaded = false;
        const std::string printed = LoadPrinting(config, loaded);
        EXPECT_EQ(loaded, c.legal) << "counter \"" << c.text << "\"";
        EXPECT_EQ(printed, c.legal ? "" : notLegal) << "counter \"" << c.text << "\"";
        if (c.legal) {
            EXPECT_EQ(config.fields().limitReportInfoToCacheCnt, c.value);
        }
    }
}

TEST_F(TaviConfig, CountersAreFoundAfterTabsAndWideCharactersWithOrWithoutADeclaration) {
    const std::string cache = "<cache><limit_ad_cache_cnt>10</limit_ad_cache_cnt>";
    std::string config = Config("7");
    config.replace(config.find(cache), cache.size(), "\t\xE4\xB8\xAD\t" + cache);
    for (const std::string& text : {config, config.substr(config.find("?>") + 2)}) {
        WriteBoth(text);
        ModuleConfig loaded = MakeConfig();
        bool ok = false;
        EXPECT_EQ(LoadPrinting(loaded, ok), "");
        EXPECT_TRUE(ok);
        EXPECT_EQ(loaded.fields().limitReportInfoToCacheCnt, 7);
        EXPECT_EQ(loaded.fields().limitAdCacheCnt, 10);
    }
}

TEST_F(TaviConfig, IncompleteOrBrokenFilesAreNotLegal) {
    const std::string full = Config();
    for (const char* element :
         {"<version>1.0</version>", "<crc_key>Z2x5cGhvci10ZXN0LWtleSMx</crc_key>",
          "<ad_url_pre>http://127.0.0.1:1</ad_url_pre>", "<current_ad_cache_cnt>0</current_ad_cache_cnt>"}) {
        std::string text = full;
        text.erase(text.find(element), std::string(element).size());
        WriteBoth(text);
        ModuleConfig config = MakeConfig();
        bool loaded = true;
        LoadPrinting(config, loaded);
        EXPECT_FALSE(loaded) << "without " << element;
    }
    for (const std::string& broken :
         {std::string("<taviconfig><version>"), std::string(""), std::string(100000, '<') + "a>"}) {
        WriteBoth(broken);
        ModuleConfig config = MakeConfig();
        bool loaded = true;
        LoadPrinting(config, loaded);
        EXPECT_FALSE(loaded);
    }
    folder.Write("config.xml", Config());
    folder.Write("manifest.xml", "<manifest><pkg-info><project-num>1</project-num></pkg-info></manifest>");
    ModuleConfig config = MakeConfig();
    bool loaded = true;
    LoadPrinting(config, loaded);
    EXPECT_FALSE(loaded);
}

TEST_F(TaviConfig, FieldsReadBeforeAFailureKeepTheirValues) {
    const std::string last = "<current_report_info_to_cache_cnt>2</current_report_info_to_cache_cnt>";
    std::string noLast = Config();
    noLast.erase(noLast.find(last), last.size());
    WriteBoth(noLast);
    ModuleConfig config = MakeConfig();
    bool loaded = true;
    LoadPrinting(config, loaded);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(config.fields().projectNum, "1001");
    EXPECT_EQ(config.fields().signingKey, "glyphor-test-key");
    EXPECT_EQ(config.fields().infoReportUrlPre, "http://127.0.0.1:1/report.do");
    EXPECT_EQ(config.fields().limitReportInfoToCacheCnt, 5);
    EXPECT_EQ(config.fields().userId, MakeUserId());

    // Without "base" the user id is not even computed; what came before it is read.
    std::string noBase = Config();
    noBase.erase(noBase.find("<base>"), noBase.find("</base>") + 7 - noBase.find("<base>"));
    WriteBoth(noBase);
    ModuleConfig early = MakeConfig();
    LoadPrinting(early, loaded);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(early.fields().version, "1.0");
    EXPECT_EQ(early.fields().userId, "");
    EXPECT_EQ(early.fields().adUrlPre, "");
}

// A configuration written anew while the module runs (an update) keeps its fields at release:
// only the counter goes into it, and a file that holds that counter already is left as it is.
TEST_F(TaviConfig, ReleaseWritesOnlyTheCounterIntoTheFileAsItIsNow) {
    WriteBoth(Config());
    ModuleConfig config = MakeConfig();
    bool loaded = false;
    LoadPrinting(config, loaded);
    ASSERT_TRUE(loaded);
    config.setPendingCount(3);
    std::string updated = Config("8");
    updated.replace(updated.find("127.0.0.1:1</ad_url_pre>"), 11, "127.0.0.1:2");
    folder.Write("config.xml", updated);
    config.SaveConfig();
    ModuleConfig reread = MakeConfig();
    LoadPrinting(reread, loaded);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(reread.fields().adUrlPre, "http://127.0.0.1:2");
    EXPECT_EQ(reread.fields().limitReportInfoToCacheCnt, 8);
    EXPECT_EQ(reread.fields().currentReportInfoToCacheCnt, 3);

    const std::string saved = folder.Read("config.xml");
    folder.Write("config.xml", saved + "\n");
    reread.SaveConfig();  // the counter it loaded is the file's
    EXPECT_EQ(folder.Read("config.xml"), saved + "\n");
}

TEST_F(TaviConfig, SavesTheFixedShapeUnderTheFixedRootName) {
    WriteBoth(Config("", "someroot"));
    ModuleConfig config = MakeConfig();
    bool loaded = false;
    LoadPrinting(config, loaded);
    ASSERT_TRUE(loaded);  // another root name is accepted
    config.setPendingCount(4);
    config.SaveConfig();

    const std::string saved = folder.Read("config.xml");
    EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"utf-8\" ?>", 0), 0u) << saved;
    const std::vector<std::string> order = {"<taviconfig>",
                                            "<version>1.0</version>",
                                            "<base>",
                                            "<type_id>7</type_id>",
                                            "<action_name>test</action_name>",
                                            "<version>1.0.0</version>",
                                            "<crc_key>Z2x5cGhvci10ZXN0LWtleSMx</crc_key>",
                                            "</base>",
                                            "<url>",
                                            "<query_update_url>q&amp;u</query_update_url>",
                                            "<ad_url_pre>http://127.0.0.1:1</ad_url_pre>",
                                            "<info_report_url_pre>http://127.0.0.1:1/report.do</info_report_url_pre>",
                                            "</url>",
                                            "<cache>",
                                            "<limit_ad_cache_cnt>10</limit_ad_cache_cnt>",
                                            "<current_ad_cache_cnt>0</current_ad_cache_cnt>",
                                            "<limit_report_info_to_cache_cnt>0</limit_report_info_to_cache_cnt>",
                                            "<current_report_info_to_cache_cnt>4</current_report_info_to_cache_cnt>",
                                            "</cache>",
                                            "</taviconfig>"};
    std::size_t at = 0;
    for (const std::string& piece : order) {
        const std::size_t found = saved.find(piece, at);
        ASSERT_NE(found, std::string::npos) << piece << " after offset " << at << " in\n" << saved;
        at = found + piece.size();
    }
    EXPECT_EQ(saved.find("someroot"), std::string::npos);
    EXPECT_EQ(saved.find("extra"), std::string::npos);

    ModuleConfig reread = MakeConfig();
    LoadPrinting(reread, loaded);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(reread.fields().currentReportInfoToCacheCnt, 4);
    EXPECT_EQ(reread.fields().queryUpdateUrl, "q&u");
}

TEST(TaviUserId, FormatsTheAdapterAddressAndHashesIt) {
    EXPECT_EQ(FormatNodeAddress(NodeAddress{0x00, 0x1a, 0x2b, 0x0c, 0xff, 0x05}), "00.1a.2b.0c.ff.05");
    EXPECT_EQ(FormatNodeAddress(std::nullopt), ".....");
    EXPECT_EQ(MakeUserId(std::nullopt), "31368cb092d919fecd01c8c21235db14");  // MD5 of "....."
    const std::string id = MakeUserId();
    EXPECT_TRUE(std::regex_match(id, std::regex("[0-9a-f]{32}"))) << id;
    EXPECT_EQ(MakeUserId(), id);
    EXPECT_EQ(id, MakeUserId(FindNodeAddress()));
}

}  // namespace
}  // namespace tavi
