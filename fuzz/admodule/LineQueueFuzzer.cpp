// The line-queue files as a later run finds them, damaged or not: the usage queue is read,
// consumed and appended to, the saved show/click reports are restored, sent and saved again.

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
    tavi::CacheManager cache(config, fuzzing::FuzzFolder());
    cache.LoadPendingReports();
    const std::size_t restored = cache.Pending().size();
    cache.AddPendingReport("a,b,1;", "");
    cache.DropSent(1);
    cache.SavePendingReports();
    tavi::CacheManager next(config, fuzzing::FuzzFolder());
    next.LoadPendingReports();
    if (next.Pending().size() != restored) std::abort();  // saving again keeps every report
    next.ClearPending();
    return 0;
}
