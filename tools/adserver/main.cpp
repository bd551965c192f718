// adserver: a small ad server for tests and demonstrations, on loopback only.
//
//   adserver [--host 127.0.0.1] [--port N] [--admin-port N] [--key KEY] [--ads N] [--ec TEXT]
//            [--stat-ec TEXT] [--missing FIELD] [--mode MODE] [--usage-path PATH]
//
// Port 0 (the default for both) takes any free port. Once listening it prints
// "adserver listening on HOST port P admin A". MODE is normal, slow, garbage, html, gone, failing,
// huge, reset, hang or down.

#include "AdServer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: adserver [--host 127.x.x.x] [--port N] [--admin-port N] [--key KEY] [--ads N]\n"
                 "                [--ec TEXT] [--stat-ec TEXT] [--missing FIELD] [--mode MODE] [--usage-path PATH]\n");
    return 2;
}

bool ReadInt(const char* text, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 0 || parsed > 65535) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string host = "127.0.0.1";
    int port = 0;
    int adminPort = 0;
    adserver::ServerSettings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        bool ok = true;
        if (option == "--host")
            host = value;
        else if (option == "--port")
            ok = ReadInt(value, port);
        else if (option == "--admin-port")
            ok = ReadInt(value, adminPort);
        else if (option == "--key")
            settings.key = value;
        else if (option == "--ads")
            ok = ReadInt(value, settings.ads);
        else if (option == "--ec")
            settings.ec = value;
        else if (option == "--stat-ec")
            settings.statEc = value;
        else if (option == "--missing")
            settings.missing = value;
        else if (option == "--mode")
            ok = adserver::ParseMode(value, settings.mode);
        else if (option == "--usage-path")
            settings.usagePath = value;
        else
            ok = false;
        if (!ok) return Usage();
    }
    if (host.rfind("127.", 0) != 0) {
        std::fprintf(stderr, "adserver: listens on loopback only (127.0.0.0/8)\n");
        return 2;
    }
    adserver::AdServer server(host, settings);
    if (!server.start(port, adminPort)) {
        std::fprintf(stderr, "adserver: cannot listen on %s\n", host.c_str());
        return 1;
    }
    std::printf("adserver listening on %s port %d admin %d\n", host.c_str(), server.port(), server.adminPort());
    std::fflush(stdout);
    server.wait();
    return 0;
}
