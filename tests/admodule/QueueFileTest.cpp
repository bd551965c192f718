// The line queue files and the pending show/click reports kept in them.

#include "admodule/CacheManager.h"
#include "admodule/LineQueueFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

namespace tavi {
namespace {

std::string Header(int readOffset, int writeOffset) {
    char text[40];
    std::snprintf(text, sizeof text, "%015d\n%015d\n", readOffset, writeOffset);
    return text;
}

TEST(TaviQueue, ByteLayoutOfCreateAppendAndConsume) {
    testsupport::TempDir folder;
    LineQueueFile queue(folder.File("q.lfq"));
    EXPECT_FALSE(queue.exists());
    ASSERT_TRUE(queue.create());
    EXPECT_EQ(folder.Read("q.lfq"), Header(32, 32));
    EXPECT_TRUE(queue.isEmpty());

    ASSERT_TRUE(queue.append("abc"));
    EXPECT_EQ(folder.Read("q.lfq"), Header(32, 36) + "abc\n");
    ASSERT_TRUE(queue.append(""));
    ASSERT_TRUE(queue.append("de f"));
    EXPECT_EQ(folder.Read("q.lfq"), Header(32, 42) + "abc\n\nde f\n");
    EXPECT_FALSE(queue.isEmpty());

    EXPECT_EQ(queue.read(4), (std::vector<std::string>{"abc", "", "de f", ""}));
    EXPECT_EQ(queue.readOffset(), 32);  // reading leaves the offsets alone

    ASSERT_TRUE(queue.consume(1));
    EXPECT_EQ(folder.Read("q.lfq"), Header(36, 42) + "abc\n\nde f\n");  // consumed lines stay
    EXPECT_EQ(queue.read(2), (std::vector<std::string>{"", "de f"}));
    ASSERT_TRUE(queue.consume(10));  // past the end
    EXPECT_EQ(queue.readOffset(), 42);
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_EQ(queue.read(2), (std::vector<std::string>{"", ""}));

    // A second object sees the same state from the file; appending leaves consumed lines behind.
    LineQueueFile again(folder.File("q.lfq"));
    ASSERT_TRUE(again.append("g"));
    EXPECT_EQ(folder.Read("q.lfq"), Header(32, 34) + "g\n");
    EXPECT_EQ(again.read(1), std::vector<std::string>{"g"});
    EXPECT_TRUE(again.remove());
    EXPECT_FALSE(again.exists());
}

TEST(TaviQueue, AMissingFileGivesEmptyTextsAndNothingToConsume) {
    testsupport::TempDir folder;
    LineQueueFile queue(folder.File("none.lfq"));
    EXPECT_EQ(queue.read(3), (std::vector<std::string>{"", "", ""}));
    EXPECT_FALSE(queue.append("x"));
    EXPECT_FALSE(queue.consume(1));
    EXPECT_FALSE(queue.exists());
    EXPECT_TRUE(queue.readAll().empty());
}

TEST(TaviQueue, DamagedHeadersAreSurvived) {
    testsupport::TempDir folder;
    LineQueueFile queue(folder.File("bad.lfq"));
    // Offsets outside the file are kept within it.
    folder.Write("bad.lfq", Header(-5, 999999) + "one\ntwo\n");
    EXPECT_EQ(queue.read(3), (std::vector<std::string>{"one", "two", ""}));
    EXPECT_EQ(queue.writeOffset(), 40);
    // A file too short for a header reads as empty; appending starts it afresh.
    folder.Write("bad.lfq", "garbage");
    EXPECT_EQ(queue.read(1), std::vector<std::string>{""});
    EXPECT_FALSE(queue.consume(1));
    ASSERT_TRUE(queue.append("fresh"));
    EXPECT_EQ(folder.Read("bad.lfq"), Header(32, 38) + "fresh\n");
    // A write offset short of the end, or none at all: appending keeps every line in the file.
    folder.Write("bad.lfq", Header(32, 42) + "one\ntwo\nthree\n");
    ASSERT_TRUE(queue.append("four"));
    EXPECT_EQ(queue.read(5), (std::vector<std::string>{"one", "two", "three", "four", ""}));
    folder.Write("bad.lfq", "XXXXXXXXXXXXXXX\nXXXXXXXXXXXXXXX\none\ntw");
    ASSERT_TRUE(queue.append("three"));
    EXPECT_EQ(queue.read(4), (std::vector<std::string>{"one", "tw", "three", ""}));
    // A queue holding its most waiting bytes takes no more.
    folder.Write("bad.lfq", Header(32, 32) + std::string(LineQueueFile::kMaxQueueBytes, '\n'));
    EXPECT_FALSE(queue.append("over"));
    EXPECT_TRUE(queue.wasFull());
    // An overlong line is cut, and the next line still reads.
    folder.Write("bad.lfq", Header(32, 32) + std::string(LineQueueFile::kMaxLineBytes + 10, 'x') + "\nnext\n");
    const std::vector<std::string> lines = queue.read(2);
    EXPECT_EQ(lines[0].size(), LineQueueFile::kMaxLineBytes);
    EXPECT_EQ(lines[1], "next");
}

class TaviPending : public ::testing::Test {
protected:
    void SetUp() override {
        folder.Write("config.xml",
                     "<c><version/><base><type_id/><action_name/><version/><crc_key/></base>"
                     "<url><query_update_url/><ad_url_pre/><info_report_url_pre/></url>"
                     "<cache><limit_ad_cache_cnt/><current_ad_cache_cnt/><limit_report_info_to_cache_cnt>3"
                     "</limit_report_info_to_cache_cnt><current_report_info_to_cache_cnt/></cache></c>");
        folder.Write("manifest.xml", "<manifest><pkg-info><project-num/><control-version/></pkg-info></manifest>");
        ASSERT_TRUE(config.LoadConfig());
    }

    testsupport::TempDir folder;
    ModuleConfig config{folder.File("config.xml"), folder.File("manifest.xml")};
};

TEST_F(TaviPending, CountsAgainstTheLimit) {
    CacheManager cache(config, folder.Path());
    EXPECT_TRUE(cache.AddPendingReport("a,b,1;", ""));
    EXPECT_TRUE(cache.AddPendingReport("", "c,d,2;"));
    EXPECT_FALSE(cache.AddPendingReport("e,f,3;", ""));  // the third reaches the limit of 3
    EXPECT_FALSE(cache.AddPendingReport("g,h,4;", ""));
    EXPECT_EQ(config.fields().currentReportInfoToCacheCnt, 4);
    EXPECT_EQ(cache.Pending().size(), 4u);
    cache.ClearPending();
    EXPECT_EQ(config.fields().currentReportInfoToCacheCnt, 0);
    EXPECT_TRUE(cache.Pending().empty());
}

TEST_F(TaviPending, SavedReportsComeBackInTheNextRunAndTheFileStaysUntilSent) {
    {
        CacheManager cache(config, folder.Path());
        cache.SavePendingReports();  // count 0: nothing written
        EXPECT_FALSE(folder.Exists("shchcache.lfq"));
        cache.AddPendingReport("a,b,1;", "");
        cache.AddPendingReport("", "c,d,2;");
        cache.SavePendingReports();
    }
    EXPECT_EQ(folder.Read("shchcache.lfq"), Header(32, 54) + "|sh:a,b,1;\n|ch:c,d,2;\n");
    CacheManager next(config, folder.Path());
    next.LoadPendingReports();
    ASSERT_EQ(next.Pending().size(), 2u);
    EXPECT_EQ(next.Pending()[0].show, "a,b,1;");
    EXPECT_EQ(next.Pending()[0].click, "");
    EXPECT_EQ(next.Pending()[1].click, "c,d,2;");
    EXPECT_EQ(config.fields().currentReportInfoToCacheCnt, 2);  // loading does not count

    // A host that ends without releasing loses nothing; sent reports leave the file one by one.
    EXPECT_TRUE(folder.Exists("shchcache.lfq"));
    next.AddPendingReport("e,f,3;", "");
    next.DropSent(1);
    EXPECT_EQ(LineQueueFile(folder.File("shchcache.lfq")).read(2), (std::vector<std::string>{"|ch:c,d,2;", ""}));
    next.DropSent(1);
    EXPECT_FALSE(folder.Exists("shchcache.lfq"));
    ASSERT_EQ(next.Pending().size(), 1u);
    next.SavePendingReports();  // saved again: the file holds exactly what is pending
    EXPECT_EQ(folder.Read("shchcache.lfq"), Header(32, 43) + "|sh:e,f,3;\n");
}

// A second copy sharing the folder restores none of the first copy's reports and saves its own
// after them; the first sends from the front of the file meanwhile and saves in place of what it
// restored. The next run has each report once, even from a file whose header says it is empty.
TEST_F(TaviPending, TwoCopiesSharingTheFolderKeepEachReportOnce) {
    folder.Write("shchcache.lfq", Header(32, 32) + "|sh:r1;\n|sh:r2;\n");
    LineQueueFile file(folder.File("shchcache.lfq"));
    {
        CacheManager holder(config, folder.Path());
        holder.LoadPendingReports();
        CacheManager other(config, folder.Path());
        ::testing::internal::CaptureStdout();
        other.LoadPendingReports();
        EXPECT_NE(::testing::internal::GetCapturedStdout().find("another copy"), std::string::npos);
        EXPECT_TRUE(other.Pending().empty());

        ASSERT_EQ(holder.Pending().size(), 2u);
        holder.AddPendingReport("a3;", "");
        holder.DropSent(1);  // r1 went to the server
        other.AddPendingReport("b1;", "");
        other.AddPendingReport("", "b2;");
        other.SavePendingReports();
        holder.SavePendingReports();
    }
    EXPECT_EQ(file.readAll(), (std::vector<std::string>{"|sh:r2;", "|sh:a3;", "|sh:b1;", "|ch:b2;"}));
    CacheManager next(config, folder.Path());
    next.LoadPendingReports();
    EXPECT_EQ(next.Pending().size(), 4u);
}

TEST_F(TaviPending, AServerTextCannotCutOrChangeTheSavedReports) {
    {
        CacheManager cache(config, folder.Path());
        cache.AddPendingReport("x\n\ny,s,1;", "");  // an ai the server sent as "x&#10;&#10;y"
        cache.AddPendingReport("", "c,d,2;");
        cache.AddPendingReport("e|ch:X,s,3;", "");  // a show whose ai holds the other marker
        cache.AddPendingReport("", "f|sh:Y,s,4;");
        cache.SavePendingReports();
    }
    CacheManager next(config, folder.Path());
    next.LoadPendingReports();
    ASSERT_EQ(next.Pending().size(), 4u);
    EXPECT_EQ(next.Pending()[0].show, "x  y,s,1;");
    EXPECT_EQ(next.Pending()[1].click, "c,d,2;");
    EXPECT_EQ(next.Pending()[2].show, "e|ch:X,s,3;");
    EXPECT_EQ(next.Pending()[2].click, "");
    EXPECT_EQ(next.Pending()[3].show, "");
    EXPECT_EQ(next.Pending()[3].click, "f|sh:Y,s,4;");
}

TEST_F(TaviPending, EverySavedReportIsRestoredNotJustTheFirst255) {
    LineQueueFile file(folder.File("shchcache.lfq"));
    ASSERT_TRUE(file.create());
    for (int i = 0; i < 300; ++i) file.append("|sh:ai" + std::to_string(i) + ",s,1;");
    CacheManager cache(config, folder.Path());
    cache.LoadPendingReports();
    ASSERT_EQ(cache.Pending().size(), 300u);
    EXPECT_EQ(cache.Pending()[299].show, "ai299,s,1;");
}

TEST_F(TaviPending, TwoHundredThousandSavedReportsAllComeBackAndOnlyABoundIsDropped) {
    const auto write = [this](std::size_t count) {
        std::string body;
        for (std::size_t i = 0; i < count; ++i) body += "|sh:ai" + std::to_string(i) + ",s,1;\n";
        folder.Write("shchcache.lfq", Header(32, static_cast<int>(32 + body.size())) + body);
    };
    write(200000);
    {
        CacheManager cache(config, folder.Path());
        ::testing::internal::CaptureStdout();
        cache.LoadPendingReports();
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        ASSERT_EQ(cache.Pending().size(), 200000u);
        EXPECT_EQ(cache.Pending().back().show, "ai199999,s,1;");
    }

    write(CacheManager::kMaxSavedReports + 3);
    CacheManager bounded(config, folder.Path());
    ::testing::internal::CaptureStdout();
    bounded.LoadPendingReports();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "3 saved show/click reports dropped: at most " +
                                                            std::to_string(CacheManager::kMaxSavedReports) +
                                                            " are restored\n");
    EXPECT_EQ(bounded.Pending().size(), CacheManager::kMaxSavedReports);
}

// While it lives, no file of this process may grow beyond `bytes`: a nearly full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(TaviPending, AWriteThatFailsKeepsTheOldFilesWhole) {
    CacheManager cache(config, folder.Path());
    cache.AddPendingReport("a,b,1;", "");
    cache.SavePendingReports();
    LineQueueFile usage(folder.File("reportinfo.lfq"));
    ASSERT_TRUE(usage.create());
    ASSERT_TRUE(usage.append("http://127.0.0.1:1/report.do?param=x"));
    const std::string oldConfig = folder.Read("config.xml");
    const std::string oldSaved = folder.Read("shchcache.lfq");
    const std::string oldUsage = folder.Read("reportinfo.lfq");

    for (int i = 0; i < 5; ++i) cache.AddPendingReport("c,d,2;", "");
    {
        const FileSizeLimit nearlyFull(40);
        config.SaveConfig();
        cache.SavePendingReports();
        EXPECT_FALSE(usage.append("http://127.0.0.1:1/report.do?param=y"));
    }
    EXPECT_EQ(folder.Read("config.xml"), oldConfig);
    EXPECT_EQ(folder.Read("shchcache.lfq"), oldSaved);
    EXPECT_EQ(folder.Read("reportinfo.lfq"), oldUsage);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) ++files;
    EXPECT_EQ(files, 4u);  // no temporary file left behind

    config.SaveConfig();  // with room again, the counter is saved
    ModuleConfig reread(folder.File("config.xml"), folder.File("manifest.xml"));
    ASSERT_TRUE(reread.LoadConfig());
    EXPECT_EQ(reread.fields().currentReportInfoToCacheCnt, 6);
}

}  // namespace
}  // namespace tavi
