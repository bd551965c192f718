// GetAdIdList figures: the exported call answered from the remembered answer, and the ad
// query against the test ad server on loopback. Prints figures; not a test.

#include "AdServerProcess.h"
#include "ModuleFiles.h"
#include "admodule/AdListService.h"
#include "admodule/AdTable.h"
#include "admodule/CacheManager.h"
#include "admodule/ModuleConfig.h"
#include "admodule/tavi.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

struct BenchSetup {
    fs::path folder;
    std::unique_ptr<adserver::AdServerProcess> server;

    BenchSetup() {
        setenv("no_proxy", "*", 1);
        std::string pattern = (fs::temp_directory_path() / "tavi_bench_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a folder like " + pattern);
        folder = pattern;
        server = std::make_unique<adserver::AdServerProcess>(
            ADSERVER_PATH, std::vector<std::string>{"--key", adserver::kTestSigningKey, "--ads", "5"});
        adserver::ModuleFilesOptions options;
        options.serverUrl = server->baseUrl();
        adserver::WriteModuleFiles(folder.string(), options);
        fs::copy_file(TAVI_LIBRARY_PATH, folder / "libtavi.so");
    }
    ~BenchSetup() {
        server.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

BenchSetup& Setup() {
    static BenchSetup setup;
    return setup;
}

void BM_GetAdIdList_Cached(benchmark::State& state) {
    BenchSetup& setup = Setup();
    void* library = dlopen((setup.folder / "libtavi.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        state.SkipWithError("cannot load libtavi.so");
        return;
    }
    auto getAdIdList = reinterpret_cast<GetAdIdListFn>(dlsym(library, "GetAdIdList"));
    BSTR ids = nullptr;
    if (getAdIdList(0, 5, &ids) != 5) {
        state.SkipWithError("no answer from the ad server");
        return;
    }
    SysFreeString(ids);
    for (auto _ : state) {
        ids = nullptr;
        benchmark::DoNotOptimize(getAdIdList(0, 5, &ids));
        SysFreeString(ids);
    }
}
BENCHMARK(BM_GetAdIdList_Cached);

void BM_GetAdIdList_Server(benchmark::State& state) {
    BenchSetup& setup = Setup();
    tavi::ModuleConfig config((setup.folder / "config.xml").string(), (setup.folder / "manifest.xml").string());
    if (!config.LoadConfig()) {
        state.SkipWithError("configuration not legal");
        return;
    }
    tavi::CacheManager cache(config, setup.folder.string());
    tavi::AdTable table;
    tavi::AdListService service(config.fields(), cache, table, setup.folder.string());
    std::string ids;
    for (auto _ : state) {
        cache.StoreAnswer(std::string());  // forget the answer: every call asks the server
        if (service.GetAdIdList(5, ids) != 5) {
            state.SkipWithError("no answer from the ad server");
            return;
        }
    }
}
BENCHMARK(BM_GetAdIdList_Server)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
