#include "AdServer.h"

#include "Answers.h"
#include "ResetListener.h"
#include "SignedQuery.h"

#include <sys/socket.h>

#include <chrono>
#include <thread>

namespace adserver {

// One run of the service listener; replaced when the server goes down and comes back, or
// changes to and from resetting its connections.
struct AdServer::ServiceRunner {
    std::unique_ptr<httplib::Server> server;
    std::unique_ptr<ResetListener> resetter;
    std::thread thread;
};

namespace {

constexpr auto kSlowDelay = std::chrono::seconds(2);

void SocketOptions(int sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

// A stop that comes before the listening thread has started running is lost, and the thread
// then listens for good: the server is only handed on once it runs.
void WaitUntilRunning(const httplib::Server& server) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!server.is_running() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

AdServer::AdServer(std::string host, ServerSettings settings) : host_(std::move(host)), settings_(std::move(settings)) {
    admin_.Get("/set", [this](const httplib::Request& request, httplib::Response& response) {
        const std::string error = applySettings(request);
        response.status = error.empty() ? 200 : 400;
        response.set_content(error.empty() ? "ok\n" : error + "\n", "text/plain");
    });
    admin_.Get("/log", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(log_.dump(), "text/plain");
    });
    admin_.Get("/clear", [this](const httplib::Request&, httplib::Response& response) {
        log_.clear();
        response.set_content("ok\n", "text/plain");
    });
}

AdServer::~AdServer() {
    stopService();
    admin_.stop();
    if (adminThread_.joinable()) adminThread_.join();
}

bool AdServer::start(int port, int adminPort) {
    port_ = port;
    // A server that starts down still takes its port first, so it can come up on it later.
    const Mode mode = snapshot().mode;
    if (!startService(mode == Mode::Down ? Mode::Normal : mode)) return false;
    if (mode == Mode::Down) stopService();
    adminPort_ =
        adminPort == 0 ? admin_.bind_to_any_port(host_) : (admin_.bind_to_port(host_, adminPort) ? adminPort : -1);
    if (adminPort_ <= 0) return false;
    adminThread_ = std::thread([this] { admin_.listen_after_bind(); });
    WaitUntilRunning(admin_);
    return true;
}

void AdServer::wait() {
    if (adminThread_.joinable()) adminThread_.join();
}

bool AdServer::startService(Mode mode) {
    const std::lock_guard<std::mutex> lock(serviceMutex_);
    if (mode == Mode::Down) return true;
    auto runner = std::make_unique<ServiceRunner>();
    int bound = 0;
    if (mode == Mode::Reset || mode == Mode::Hang) {
        runner->resetter =
            std::make_unique<ResetListener>([this](const std::string& target) { record(target); }, mode == Mode::Hang);
        bound = runner->resetter->bind(host_, port_);
        if (bound > 0) runner->thread = std::thread([resetter = runner->resetter.get()] { resetter->run(); });
    } else {
        runner->server = std::make_unique<httplib::Server>();
        httplib::Server& server = *runner->server;
        server.set_socket_options(SocketOptions);
        server.Get("/getads.do", [this](const httplib::Request& q, httplib::Response& r) { onGetAds(q, r); });
        server.Get("/statads.do", [this](const httplib::Request& q, httplib::Response& r) { onStatAds(q, r); });
        server.Get(snapshot().usagePath, [this](const httplib::Request& q, httplib::Response& r) { onUsage(q, r); });
        bound = port_ == 0 ? server.bind_to_any_port(host_) : (server.bind_to_port(host_, port_) ? port_ : 0);
        if (bound > 0) {
            runner->thread = std::thread([&server] { server.listen_after_bind(); });
            WaitUntilRunning(server);
        }
    }
    if (bound <= 0) return false;
    port_ = bound;
    service_ = std::move(runner);
    return true;
}

void AdServer::stopService() {
    const std::lock_guard<std::mutex> lock(serviceMutex_);
    if (!service_) return;
    if (service_->server) service_->server->stop();
    if (service_->resetter) service_->resetter->stop();
    if (service_->thread.joinable()) service_->thread.join();
    service_.reset();
}

ServerSettings AdServer::snapshot() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return settings_;
}

std::string AdServer::applySettings(const httplib::Request& request) {
    ServerSettings next = snapshot();
    const Mode before = next.mode;
    if (request.has_param("ads")) {
        try {
            next.ads = std::stoi(request.get_param_value("ads"));
        } catch (const std::exception&) {
            return "bad ads";
        }
    }
    if (request.has_param("ec")) next.ec = request.get_param_value("ec");
    if (request.has_param("statec")) next.statEc = request.get_param_value("statec");
    if (request.has_param("missing")) next.missing = request.get_param_value("missing");
    if (request.has_param("key")) next.key = request.get_param_value("key");
    if (request.has_param("mode") && !ParseMode(request.get_param_value("mode"), next.mode)) return "unknown mode";
    if (next.ads < 0 || next.ads > 10000) return "bad ads";
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        settings_ = next;
    }
    // The raw listeners of the resetting and hanging modes replace the HTTP server, and each other.
    const auto rawListener = [](Mode mode) { return mode == Mode::Reset || mode == Mode::Hang; };
    const bool downChanges = (before == Mode::Down) != (next.mode == Mode::Down);
    const bool rawChanges = before != next.mode && (rawListener(before) || rawListener(next.mode));
    const bool listenerChanges = downChanges || rawChanges;
    if (listenerChanges) {
        stopService();
        if (!startService(next.mode)) return "cannot listen again";
    }
    return std::string();
}

void AdServer::send(Mode mode, httplib::Response& response, std::string body, const char* type) {
    switch (mode) {
    case Mode::Normal:
    case Mode::Down:
        response.set_content(body, type);
        return;
    case Mode::Slow:
        std::this_thread::sleep_for(kSlowDelay);
        response.set_content(body, type);
        return;
    case Mode::Garbage:
        response.set_content(GarbageBody(), "application/octet-stream");
        return;
    case Mode::Html:
        response.status = 502;
        response.set_content(HtmlErrorPage(), "text/html");
        return;
    case Mode::Failing:
        response.status = 503;
        response.set_content(body, type);
        return;
    case Mode::Gone:
        response.status = 404;
        response.set_content("not found\n", "text/plain");
        return;
    case Mode::Huge:
        response.set_content(Oversized(std::move(body)), type);
        return;
    case Mode::Hang:  // answered by the ResetListener; a request already under way ends cut
    case Mode::Reset:
        response.set_content_provider(body.size() + 4096, type,
                                      [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
        return;
    }
}

SignedQuery AdServer::record(const std::string& target) {
    const ServerSettings settings = snapshot();
    const std::string path = target.substr(0, target.find('?'));
    SignedQuery query;
    if (path == "/getads.do" || path == "/statads.do") {
        query = ReadSignedQuery(target, settings.key);
        log_.add({ModeName(settings.mode), path == "/getads.do" ? "getads" : "statads", query.signatureOk, query.text});
    } else if (path == settings.usagePath) {
        log_.add({ModeName(settings.mode), "usage", true, target});
    }
    return query;
}

void AdServer::onGetAds(const httplib::Request& request, httplib::Response& response) {
    const ServerSettings settings = snapshot();
    const SignedQuery query = record(request.target);
    // A query with a wrong signature is refused with status -2.
    send(settings.mode, response, query.signatureOk ? GetAdsAnswer(settings) : GetAdsRefusal("-2"), "text/xml");
}

void AdServer::onStatAds(const httplib::Request& request, httplib::Response& response) {
    const ServerSettings settings = snapshot();
    const SignedQuery query = record(request.target);
    // A wrong signature gets status 2: refused, and the module keeps its reports.
    send(settings.mode, response, StatAdsAnswer(query.signatureOk ? settings.statEc : "2"), "text/xml");
}

void AdServer::onUsage(const httplib::Request& request, httplib::Response& response) {
    const ServerSettings settings = snapshot();
    record(request.target);
    send(settings.mode, response, UsageAnswer(), "text/plain");
}

}  // namespace adserver
