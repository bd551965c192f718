#pragma once
// Runs tools/adserver as a child process for tests and benchmarks, and talks to its admin
// port.

#include <sys/types.h>
#include <string>
#include <vector>

namespace adserver {

struct LoggedRequest {
    std::string mode;
    std::string kind;
    bool signatureOk = false;
    std::string text;
};

class AdServerProcess {
public:
    // Starts `executable` with `args` (port options are added: any free loopback port unless
    // `port` is given) and waits until it listens.
    AdServerProcess(const std::string& executable, std::vector<std::string> args, int port = 0);
    ~AdServerProcess();
    AdServerProcess(const AdServerProcess&) = delete;
    AdServerProcess& operator=(const AdServerProcess&) = delete;

    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    int adminPort() const { return adminPort_; }
    // "http://127.0.0.1:PORT"
    std::string baseUrl() const;

    // Changes settings, e.g. set("mode=slow&ads=2"); true when the server took them.
    bool set(const std::string& query);
    std::vector<LoggedRequest> log();
    bool clear();

    // Ends the process (it can be started again with a new object on the same port).
    void stop();

private:
    bool admin(const std::string& path, std::string& body);

    pid_t pid_ = -1;
    int port_ = 0;
    int adminPort_ = 0;
};

}  // namespace adserver
