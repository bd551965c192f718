// tavi_host: a minimal host program for tests. Loads the advertising module from the path
// given and makes the calls listed on the command line, one output line each:
//
//   tavi_host LIBRARY [list N | show ID | click ID | info TEXT | release | release-at-exit |
//                      busy | exit-in-call]...
//
// The texts of "info" are taken as ASCII. "release-at-exit" releases the module from the
// destructor of an object made before the module was loaded, as a host that cleans up at exit
// does; "busy" starts a thread that makes usage reports until the host ends; "exit-in-call" ends
// the host from a signal handler 300 ms later, inside whatever call runs then.

#include "admodule/tavi.h"

#include <dlfcn.h>
#include <sys/time.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// Made before main, so it ends after everything the module made when it was loaded.
struct ReleaseAtExit {
    ReleaseTaviFn releaseTavi = nullptr;
    ~ReleaseAtExit() {
        if (releaseTavi != nullptr) std::printf("release at exit %d\n", releaseTavi());
    }
} g_releaseAtExit;

std::string Narrow(BSTR text) {
    std::string out;
    for (std::uint32_t i = 0; i < SysStringLen(text); ++i)
        out.push_back(text[i] < 0x80 ? static_cast<char>(text[i]) : '?');
    return out;
}

template <typename Fn>
Fn Bind(void* library, const char* name) {
    auto fn = reinterpret_cast<Fn>(dlsym(library, name));
    if (fn == nullptr) {
        std::fprintf(stderr, "tavi_host: no %s\n", name);
        std::exit(1);
    }
    return fn;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: tavi_host LIBRARY [list N | show ID | click ID | info TEXT | release | "
                     "release-at-exit | busy | exit-in-call]...\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "tavi_host: %s\n", dlerror());
        return 1;
    }
    const auto initTavi = Bind<InitTaviFn>(library, "InitTavi");
    const auto getAdIdList = Bind<GetAdIdListFn>(library, "GetAdIdList");
    const auto reportAdShow = Bind<ReportAdShowFn>(library, "ReportAdShow");
    const auto reportAdClick = Bind<ReportAdClickFn>(library, "ReportAdClick");
    const auto reportInfo = Bind<ReportInfoFn>(library, "ReportInfo");
    const auto releaseTavi = Bind<ReleaseTaviFn>(library, "ReleaseTavi");

    std::printf("init %d\n", initTavi());
    for (int i = 2; i < argc; ++i) {
        const std::string verb = argv[i];
        if (verb == "release") {
            std::printf("release %d\n", releaseTavi());
            continue;
        }
        if (verb == "release-at-exit") {
            g_releaseAtExit.releaseTavi = releaseTavi;
            continue;
        }
        if (verb == "exit-in-call") {
            std::signal(SIGALRM, [](int) { std::exit(0); });
            itimerval once{};
            once.it_value.tv_usec = 300000;
            setitimer(ITIMER_REAL, &once, nullptr);
            continue;
        }
        if (verb == "busy") {
            std::thread([reportInfo] {
                const std::u16string action = u"busy";
                for (;;) {
                    BSTR text = SysAllocString(action.c_str());
                    reportInfo(text);
                    SysFreeString(text);
                }
            }).detach();
            continue;
        }
        if (i + 1 >= argc) return 2;
        const char* arg = argv[++i];
        if (verb == "list") {
            BSTR ids = nullptr;
            const int count = getAdIdList(0, std::atoi(arg), &ids);
            std::printf("list %d %s\n", count, ids != nullptr ? Narrow(ids).c_str() : "-");
            SysFreeString(ids);
        } else if (verb == "show") {
            std::printf("show %d\n", reportAdShow(std::atoi(arg)));
        } else if (verb == "click") {
            std::printf("click %d\n", reportAdClick(std::atoi(arg)));
        } else if (verb == "info") {
            std::u16string wide(arg, arg + std::char_traits<char>::length(arg));
            BSTR text = SysAllocString(wide.c_str());
            std::printf("info %d\n", reportInfo(text));
            SysFreeString(text);
        } else {
            return 2;
        }
        std::fflush(stdout);
    }
    return 0;
}
