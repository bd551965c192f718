#pragma once
// The test ad server: the service port answers the module's requests as the settings say, the
// admin port lets a test change the settings and read back what was received.
//
// Admin requests (GET): /set?ads=N&ec=T&statec=T&missing=F&mode=M&key=K  /log  /clear

#include "RequestLog.h"
#include "ServerSettings.h"
#include "SignedQuery.h"

#include <httplib.h>

#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace adserver {

class AdServer {
public:
    AdServer(std::string host, ServerSettings settings);
    ~AdServer();
    AdServer(const AdServer&) = delete;
    AdServer& operator=(const AdServer&) = delete;

    // Binds both ports (0: any free port) and starts serving. False when a port cannot be bound.
    bool start(int port, int adminPort);
    int port() const { return port_; }
    int adminPort() const { return adminPort_; }

    // Blocks while the admin port is served.
    void wait();

private:
    struct ServiceRunner;

    bool startService(Mode mode);
    void stopService();
    std::string applySettings(const httplib::Request& request);

    // Logs a service request; the decoded query of a signed one.
    SignedQuery record(const std::string& target);
    void onGetAds(const httplib::Request& request, httplib::Response& response);
    void onStatAds(const httplib::Request& request, httplib::Response& response);
    void onUsage(const httplib::Request& request, httplib::Response& response);
    void send(Mode mode, httplib::Response& response, std::string body, const char* type);
    ServerSettings snapshot() const;

    std::string host_;
    int port_ = 0;
    int adminPort_ = 0;
    mutable std::mutex mutex_;
    ServerSettings settings_;
    RequestLog log_;
    std::mutex serviceMutex_;
    std::unique_ptr<ServiceRunner> service_;
    httplib::Server admin_;
    std::thread adminThread_;
};

}  // namespace adserver
