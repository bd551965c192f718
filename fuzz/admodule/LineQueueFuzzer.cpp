// The line-queue files as a later run finds them, damaged or not: the usage queue is read,
// consumed and appended to, the saved show/click reports are restored, sent and saved again
// beside a second copy's.

#include "admodule/CacheManager.h"
#include "admodule/LineQueueFile.h"
#include "fuzz/admodule/FuzzFolder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::SilenceStandardOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    tavi::LineQueueFile usage(fuzzing::WriteFuzzFile("reportinfo.lfq", data, size));
    if (usage.read(10).size() != 10) std::abort();
    usage.consume(3);
    if (usage.readOffset() > usage.writeOffset() && !usage.isEmpty()) std::abort();
    if (usage.append("http://127.0.0.1:1/report.do?param=x")) {
        const std::vector<std::string> all = usage.readAll();
        if (all.empty() || all.back() != "http://127.0.0.1:1/report.do?param=x") std::abort();
    }
    usage.readLines(5, 64);

    fuzzing::WriteFuzzFile("shchcache.lfq", data, size);
    tavi::ModuleConfig config(fuzzing::FuzzFolder() + "none.xml", fuzzing::FuzzFolder() + "none.xml");
    std::size_t restored = 0;
    {
        tavi::CacheManager cache(config, fuzzing::FuzzFolder());
        cache.LoadPendingReports();
        restored = cache.Pending().size();
        tavi::CacheManager other(config, fuzzing::FuzzFolder());  // a second copy: restores none
        other.LoadPendingReports();
        if (!other.Pending().empty()) std::abort();
        other.AddPendingReport("", "c,d,2;");
        other.SavePendingReports();
        cache.AddPendingReport("a,b,1;", "");
        cache.DropSent(1);
        cache.SavePendingReports();
    }
    tavi::CacheManager next(config, fuzzing::FuzzFolder());
    next.LoadPendingReports();
    if (next.Pending().size() != restored + 1) std::abort();  // saving again keeps every report
    next.ClearPending();
    return 0;
}
