// A name server that never answers: the module's calls keep their time limits, and the lookup
// left running does no harm after the host unloads the module.

#include "ModuleHarness.h"

#include <netdb.h>

#include <chrono>
#include <cstring>
#include <thread>

// This program's own name lookup, which the HTTP library inside the module reaches: the name
// "slow.invalid" answers after 3 s, as a lost name server does; others go to the system's.
extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** found) {
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto system = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node != nullptr && std::strcmp(node, "slow.invalid") == 0) {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        return EAI_AGAIN;
    }
    return system(node, service, hints, found);
}

namespace {

class TaviNameLookup : public ModuleHarness {};

TEST_F(TaviNameLookup, ALookupThatNeverAnswersHoldsNoCallPastItsLimitNorOutlivesTheModuleBadly) {
    adserver::ModuleFilesOptions options = Options();
    const std::size_t host = options.serverUrl.find("127.0.0.1");
    ASSERT_NE(host, std::string::npos);
    options.serverUrl.replace(host, 9, "slow.invalid");
    TaviLibrary& tavi = Load(&options);
    ASSERT_NE(tavi.handle, nullptr);

    const auto start = std::chrono::steady_clock::now();
    int result = -1;
    tavi.List(3, &result);
    EXPECT_EQ(result, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));

    // The lookups still running finish after the module is gone, and the process goes on.
    dlclose(tavi.handle);
    tavi.handle = nullptr;
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    SUCCEED();
}

}  // namespace
