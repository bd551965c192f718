#pragma once
// The service port while the server resets its connections: every request is read, reported,
// given the first bytes of an answer and then reset (a close with a zero linger time). When
// hanging instead, every request is read and reported and its connection is held open without a
// byte of answer until the listener stops.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace adserver {

class ResetListener {
public:
    // Called with the request target of every request read.
    using OnRequest = std::function<void(const std::string& target)>;

    explicit ResetListener(OnRequest onRequest, bool hang = false);
    ~ResetListener();
    ResetListener(const ResetListener&) = delete;
    ResetListener& operator=(const ResetListener&) = delete;

    // Binds and listens on `host`:`port` (0: any free port); the port taken, or 0.
    int bind(const std::string& host, int port);
    // Serves until stop().
    void run();
    void stop() { stopping_ = true; }

private:
    void serve(int connection);

    OnRequest onRequest_;
    bool hang_;
    std::vector<int> held_;
    int fd_ = -1;
    std::atomic<bool> stopping_{false};
};

}  // namespace adserver
