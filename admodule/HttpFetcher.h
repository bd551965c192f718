#pragma once
// Plain HTTP GET transfers with libcurl. One fetcher lives for one export call. Every transfer
// is bounded in time, the name lookup and connecting included: the module runs on the host's
// thread.

#include <chrono>
#include <cstddef>
#include <string>

namespace tavi {

class HttpFetcher {
public:
    // An answer longer than this is a failed transfer: answers are kept in memory.
    static constexpr std::size_t kMaxBodyBytes = 1u << 20;
    // The longest URL sent: request lines much longer are refused by common servers.
    static constexpr std::size_t kMaxUrlBytes = 4096;
    // Connecting may take at most this long, within the time limit of the transfer.
    static constexpr std::chrono::milliseconds kConnectTimeLimit{1000};

    // `timeLimit` bounds the whole transfer (at least 1 ms is used).
    explicit HttpFetcher(std::chrono::milliseconds timeLimit);
    ~HttpFetcher();
    HttpFetcher(const HttpFetcher&) = delete;
    HttpFetcher& operator=(const HttpFetcher&) = delete;

    // True when the transfer completed, whatever the HTTP status; the body is what the server
    // sent.
    bool get(const std::string& url);

    const std::string& body() const { return body_; }
    // The HTTP status of the last get's answer; 0 when it did not complete.
    long status() const { return status_; }
    // Whether the last get completed with a success status (2xx): only then is its body the
    // server's answer.
    bool succeeded() const { return status_ >= 200 && status_ < 300; }
    // Whether the server turned the last request down for good: a refusal of the request itself
    // (4xx). A redirect (3xx: a network's login page answers so), a proxy that wants a login
    // (407), a timeout (408), "too many" (429) and a failure of the server (5xx) pass.
    bool refusedForGood() const {
        return status_ >= 400 && status_ < 500 && status_ != 407 && status_ != 408 && status_ != 429;
    }

    // True when the last get failed because the URL itself can never be sent: malformed, of a
    // protocol other than the web's, or longer than kMaxUrlBytes.
    bool urlRejected() const { return urlRejected_; }
    // True when the last get failed because the server's name did not resolve.
    bool hostUnknown() const { return hostUnknown_; }

private:
    static std::size_t OnData(char* data, std::size_t size, std::size_t count, void* self);

    std::string body_;
    std::chrono::milliseconds timeLimit_;
    long status_ = 0;
    bool urlRejected_ = false;
    bool hostUnknown_ = false;
};

}  // namespace tavi
