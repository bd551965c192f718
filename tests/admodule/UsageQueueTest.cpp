// The usage queue file through the loaded library: what counts as a report the server took, and
// which failures keep the queued reports for a later success.

#include "ModuleHarness.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace {

class TaviUsageQueue : public ModuleHarness {
protected:
    // The queued lines, from the read offset of reportinfo.lfq.
    std::vector<std::string> Queued() {
        const std::string file = work.Read("reportinfo.lfq");
        if (file.size() < 32) return {};
        std::istringstream lines(file.substr(static_cast<std::size_t>(std::atoi(file.substr(0, 15).c_str()))));
        std::vector<std::string> queued;
        for (std::string line; std::getline(lines, line);) queued.push_back(line);
        return queued;
    }
    // How many usage requests with this action the server took while answering normally.
    std::size_t TakenTimes(const std::string& action) {
        std::size_t times = 0;
        for (const adserver::LoggedRequest& r : Requests("usage")) {
            times += r.mode == "normal" && r.text.find("|a=" + action + "|t=") != std::string::npos;
        }
        return times;
    }
};

// A server answering with an error status has taken nothing: the live report joins the queue
// and the reports already queued stay, until a healthy server takes each of them once.
TEST_F(TaviUsageQueue, AnErrorStatusIsAFailedSendAndKeepsTheQueue) {
    const TaviLibrary& tavi = Load();
    ASSERT_TRUE(server->set("mode=down"));
    EXPECT_EQ(tavi.Info(u"q1"), 0);
    EXPECT_EQ(tavi.Info(u"q2"), 0);
    ASSERT_EQ(Queued().size(), 2u);

    ASSERT_TRUE(server->set("mode=html"));  // status 502 with a web page
    EXPECT_EQ(tavi.Info(u"live"), 0);
    const std::vector<std::string> queued = Queued();
    ASSERT_EQ(queued.size(), 3u);
    EXPECT_NE(queued[0].find("|a=q1|t="), std::string::npos) << queued[0];
    EXPECT_NE(queued[1].find("|a=q2|t="), std::string::npos) << queued[1];
    EXPECT_NE(queued[2].find("|a=live|t="), std::string::npos) << queued[2];

    ASSERT_TRUE(server->set("mode=normal"));
    EXPECT_EQ(tavi.Info(u"final"), 1);
    for (const char* action : {"q1", "q2", "live", "final"}) EXPECT_EQ(TakenTimes(action), 1u) << action;
    EXPECT_FALSE(work.Exists("reportinfo.lfq"));

    // A server that refuses the request itself (404) never will take it: it is not queued to
    // hold up the reports behind it.
    ASSERT_TRUE(server->set("mode=down"));
    EXPECT_EQ(tavi.Info(u"q3"), 0);
    ASSERT_TRUE(server->set("mode=gone"));
    EXPECT_EQ(tavi.Info(u"refused"), 0);
    EXPECT_EQ(Queued().size(), 1u);
    ASSERT_TRUE(server->set("mode=normal"));
    EXPECT_EQ(tavi.Info(u"last"), 1);
    for (const char* action : {"q3", "last"}) EXPECT_EQ(TakenTimes(action), 1u) << action;
    EXPECT_FALSE(work.Exists("reportinfo.lfq"));
}

// While another copy sharing the folder delivers the queue, this one sends its live reports and
// leaves the queue to it: the two never send the same queued report, nor consume each other's.
TEST_F(TaviUsageQueue, OneCopyAtATimeDeliversTheQueue) {
    const TaviLibrary& tavi = Load();
    ASSERT_TRUE(server->set("mode=down"));
    EXPECT_EQ(tavi.Info(u"q1"), 0);
    ASSERT_TRUE(server->set("mode=normal"));
    const int other = open(work.File("reportinfo.lfq.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(tavi.Info(u"live"), 1);
    EXPECT_EQ(TakenTimes("q1"), 0u);
    EXPECT_EQ(Queued().size(), 1u);
    close(other);
    EXPECT_EQ(tavi.Info(u"next"), 1);
    EXPECT_EQ(TakenTimes("q1"), 1u);
    EXPECT_FALSE(work.Exists("reportinfo.lfq"));
}

}  // namespace
